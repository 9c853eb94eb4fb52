// APPROACH REF page: gross weight, the three approach flap settings with their
// reference speeds, and the landing flaps and VREF picked from them.
#include "cdu/smiths/field_readers.h"
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/smiths_cdu.h"
#include "guidance/flight_log.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"

namespace {

struct ApproachRow {
  std::string* flaps;
  int32_t* vref;
};

bool all_digits(const std::string& w) { return !w.empty() && w.find_first_not_of("0123456789") == std::string::npos; }

const ApproachRow ROWS[3] = {
    {.flaps = &APPRFLAPSMIN, .vref = &VREFMIN},
    {.flaps = &APPRFLAPSMID, .vref = &VREFMID},
    {.flaps = &APPRFLAPSMAX, .vref = &VREFMAX},
};

}  // namespace

void cdu_approach_speed_entry(int32_t& vref, CduLines io) {
  std::string& s = io.pad;
  if (s.empty()) {
    s = cdu_format("%d", int(vref));
    return;
  }
  int32_t kt = 0;
  if (!read_speed_kt(s, cdu_least_reference_speed_kt(), CDU_MAX_SPEED_KT, kt)) {
    io.msg = "INVALID ENTRY";
    return;
  }
  vref = kt;
  s.clear();
}

void cdu_approach_landing_entry(CduLines io) {
  const std::string& s = io.pad;
  if (s.empty()) return;
  const std::size_t slash = s.find('/');
  const std::string flaps = s.substr(0, slash), speed = slash == std::string::npos ? "" : s.substr(slash + 1);
  for (const ApproachRow& r : ROWS) {
    // Both words whole: "30/145X" is no row's pair.
    if (flaps == *r.flaps && all_digits(flaps) && speed == cdu_format("%d", int(*r.vref))) {
      LDGFLAPS = cdu_leading_int(flaps);
      VREF = *r.vref;
      io.pad.clear();
      return;
    }
  }
  io.msg = "INVALID ENTRY";
}

namespace {

void handle_key() {
  int k = smiths_pending_lsk;
  if (k >= 6 && k <= 8) cdu_approach_speed_entry(*ROWS[k - 6].vref, {smiths_scratchpad, smiths_scratchpad_msg});
  else if (k == 9) cdu_approach_landing_entry({smiths_scratchpad, smiths_scratchpad_msg});
  else if (k == LSK_L6) smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
}

}  // namespace

void approach_ref_body(const CduPage& p, double weight) {
  cdu_large(p, 63, 0, "APPROACH REF");
  cdu_small(p, 12, 22, "G R O S S   W T");
  cdu_largef(p, 0, 33, "%3.1f", weight / 1000.0);
  cdu_small(p, 150, 22, "F L A P S");
  cdu_small(p, 230, 22, "V R E F");
  for (int i = 0; i < 3; ++i) {
    cdu_largef(p, 160, 33 + 33 * i, "%3s\xB0", ROWS[i].flaps->c_str());
    cdu_smallf(p, 223, 38 + 33 * i, "%3d K T", int(*ROWS[i].vref));
  }
  cdu_small(p, 190, 121, "F L A P / S P D");
  if (LDGFLAPS != 0 && VREF != 0) {
    cdu_text_within(p, CDU_LARGE_PX, 210, 133, cdu_format("%2d\xB0/%3d", int(LDGFLAPS), int(VREF)), 150);
  } else {
    cdu_large(p, 215, 133, "- -  - - -");
    cdu_small(p, 235, 138, "/");
  }
  cdu_small(p, 170, 151, "W I N D    C O R R");
  cdu_large(p, 0, 184, "- - - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_large(p, 0, 198, "< INDEX");
}

void smiths_fms_approach_ref_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  handle_key();
  double weight = read_fuel_on_board() + zero_fuel_weight;
  if (WeightUnit == "KGS") weight *= 0.45359237;
  approach_ref_body(p, weight);
  cdu_bottom_line(p);
  cdu_page_end(p);
}
