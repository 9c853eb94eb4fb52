// IDENT and INIT/REF INDEX pages, with the save of the active plan.
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_import.h"
#include "flightplan/plan_files.h"
#include "guidance/settings.h"

void smiths_fms_ident_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_large(p, 63, 0, "IDENT");
  if (smiths_pending_lsk == LSK_L6) {
    smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  } else if (smiths_pending_lsk == LSK_R6) {
    smiths_page = SMITHS_PAGE_POS_INIT;
    smiths_pos_page_no = 1;
  }
  cdu_small(p, 220, 3, "1 / 1");
  cdu_small(p, 12, 22, "M O D E L");
  cdu_largef(p, 0, 33, "%s", ModelId.c_str());
  cdu_small_right(p, 22, "E N G   R A T I N G");
  if (EngThrust >= 1) cdu_large_fit(p, 240, 33, cdu_format("%2d K", int(EngThrust)));
  cdu_small(p, 12, 55, "N A V   D A T A");
  cdu_largef(p, 0, 66, "%s", nav_data_cycle.c_str());
  cdu_small_right(p, 55, "A C T I V E");
  cdu_large_fit(p, 130, 66, nav_data_active);
  cdu_small(p, 12, 121, "O P   P R O G R A M");
  cdu_large(p, 0, 136, "296485 - 07 - 11      (V01.8.5)");
  cdu_small_right(p, 155, "S U P P  D A T A");
  cdu_large(p, 0, 198, "<INDEX");
  cdu_large_right(p, 198, "POS  INIT>");
  cdu_bottom_line(p);
  cdu_page_end(p);
}

namespace {

// A plan name must stay one file name inside the plans folder.
bool plan_name_ok(const std::string& name) {
  if (name.empty() || name[0] == '.') return false;
  if (name.find_first_of("/\\:") != std::string::npos) return false;
  return name.find("..") == std::string::npos;
}

std::string trimmed(const std::string& s) {
  std::size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return std::string();
  std::size_t b = s.find_last_not_of(' ');
  return s.substr(a, b - a + 1);
}

void save_active_plan() {
  if (fpl_changed_state < 3 || fpl_active_last < 1) {
    smiths_scratchpad_msg = "NO ACTIVE FLIGHT PLAN";
    return;
  }
  std::string name = trimmed(smiths_scratchpad);
  if (name.empty()) name = std::string(fpl_active[0].ident) + fpl_active[fpl_active_last].ident;
  if (name.find('.') == std::string::npos) name += ".RTE";
  if (!plan_name_ok(name)) {
    smiths_scratchpad_msg = "INVALID ENTRY";
    return;
  }
  smiths_scratchpad_msg = name + (write_plan_file(name) ? " Saved" : " Unable to Save");
  smiths_scratchpad.clear();
}

}  // namespace

void smiths_fms_init_ref_index_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_large(p, 63, 0, "INIT/REF   INDEX");
  switch (smiths_pending_lsk) {
    case 1: smiths_page = SMITHS_PAGE_IDENT; break;
    case 2:
      smiths_page = SMITHS_PAGE_POS_INIT;
      smiths_pos_page_no = 1;
      break;
    case 3:
      smiths_page = SMITHS_PAGE_PERF_INIT;
      smiths_perf_page_no = 1;
      break;
    case 4: smiths_page = SMITHS_PAGE_TAKEOFF_REF; break;
    case 5: smiths_page = SMITHS_PAGE_APPROACH_REF; break;
    case 6: smiths_page = SMITHS_PAGE_REF_NAV_DATA; break;
    case 7: smiths_page = SMITHS_PAGE_STORED_PLANS; break;
    case 8:
      fpl_message.clear();
      import_sim_gps_route(0);
      if (!fpl_message.empty()) smiths_scratchpad_msg = fpl_message;
      // The imported route's airports open DEP/ARR afresh, as a stored-plan load does.
      if (fpl_message != "NO ACTIVE GPS RTE") {
        smiths_reset_dep_selection();
        smiths_reset_arr_selection();
      }
      break;
    case LSK_R6: save_active_plan(); break;
    default: break;
  }
  cdu_large(p, 0, 33, "<IDENT");
  cdu_large(p, 175, 33, "NAV DATA>");
  cdu_large(p, 0, 66, "<POS");
  cdu_large_fit(p, 137, 66, "FLIGHT PLANS>");
  cdu_large(p, 0, 99, "<PERF");
  cdu_large_fit(p, 137, 99, "LOAD ATC RTE>");
  cdu_large(p, 0, 132, "<TAKEOFF");
  cdu_large(p, 0, 165, "<APPROACH");
  cdu_large(p, 180, 198, "SAVE FPL>");
  cdu_bottom_line(p);
  cdu_page_end(p);
}
