// ECON CLB and ECON CRZ pages: cruise altitude and the climb and cruise speed targets,
// the next climb target with its time and distance, the climb speed restriction, the
// actual wind, the fuel expected at the destination and the pause at the top of descent.
#include "cdu/smiths/econ_pages.h"

#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/perf_entries.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "guidance/toc_tod.h"
#include "module/sim_vars.h"

namespace {

const SpeedTarget CLIMB_TARGET = {
    .ias = &ClimbIas,
    .mach = &ClimbMach,
    .ias_prev = &climb_ias_prev,
    .mach_prev = &climb_mach_prev,
    .phase = ENVELOPE_CLIMB};
const SpeedTarget CRUISE_TARGET = {
    .ias = &CruiseTas,
    .mach = &CruiseMach,
    .ias_prev = &cruise_ias_prev,
    .mach_prev = &cruise_mach_prev,
    .phase = ENVELOPE_NOT_CLIMB};

void clb_key() {
  switch (smiths_pending_lsk) {
    case 1: econ_cruise_alt_key(); break;
    case 2: cdu_enter_target_speed(CLIMB_TARGET); break;
    case 3: cdu_enter_speed_restriction(ClbSpdRest, ClbAltRest, ENVELOPE_CLIMB); break;
    case LSK_L6: econ_erase_key(); break;
    case LSK_R6: econ_rta_key(); break;
    default: break;
  }
}

void crz_key() {
  switch (smiths_pending_lsk) {
    case 1: econ_cruise_alt_key(); break;
    case 2: cdu_enter_target_speed(CRUISE_TARGET); break;
    case LSK_L6: econ_erase_key(); break;
    case LSK_R6:
      if (ArmPauseAtTod != 1) break;
      if (PauseAtTod == 0) {
        PauseAtTod = 1;
        pause_at_tod_done = 0;
      } else if (PauseAtTod == 1) {
        PauseAtTod = 0;
      }
      break;
    default: break;
  }
}

// The next climb target: the constraint waypoint unless the top of climb comes first.
void draw_climb_target(const CduPage& p) {
  if (toc_reached != 0 || !(ground_speed > 60.0) || fpl_active_index == FPL_NO_PLAN) return;
  double d_toc = 0, d_wpt = 0, course = 0;
  compute_gc_distance_course(present_lat, present_lon, toc_lat, toc_lon, d_toc, course);
  const FlightPlanWpt* wpt = econ_vnav_wpt();
  if (wpt) compute_gc_distance_course(present_lat, present_lon, wpt->lat, wpt->lon, d_wpt, course);
  if (wpt && d_toc > d_wpt) {
    cdu_smallf(p, 200, 22, "A T  %6s", wpt->ident);
    if (wpt->alt_constraint != FPL_NO_CONSTRAINT) cdu_large_fit(p, 200, 33, cdu_format("%-5.2f", wpt->alt_constraint));
    cdu_smallf(p, 200, 55, "T O   %6s", wpt->ident);
    cdu_large_fit(p, 150, 66, econ_time_text(d_wpt) + cdu_format("/%.0f NM", d_wpt));
  } else {
    cdu_small(p, 200, 55, "T O   T / C");
    cdu_large_fit(p, 160, 66, econ_time_text(d_toc) + cdu_format(" / %.1f", d_toc));
  }
}

void draw_fuel_at_destination(const CduPage& p) {
  if (fpl_active_index == FPL_NO_PLAN || !(ground_speed > 60.0) || fpl_active_last < 0) return;
  const FlightPlanWpt& dest = fpl_active[fpl_active_last];
  compute_gc_distance_course(present_lat, present_lon, dest.lat, dest.lon, gc_distance_nm, gc_course_deg);
  const double d = gc_distance_nm;
  cdu_smallf(p, 12, 121, "F U E L    A T %s", dest.ident);
  // In the weight unit of every other page.
  cdu_largef(p, 0, 133, "%3.1f", cdu_shown_weight(cdu_fuel_at(d, cdu_mean_speed(d, 0.85))));
}

}  // namespace

void econ_cruise_alt_key() {
  if (!smiths_scratchpad.empty()) cdu_enter_cruise_alt();
}

void econ_erase_key() {
  if (fpl_changed_state == 4) erase_route_mods();
}

void econ_rta_key() {
  smiths_page = SMITHS_PAGE_PROGRESS;
  smiths_progress_page_no = 2;
}

const FlightPlanWpt* econ_vnav_wpt() {
  // Only a record of the active plan: the index may be left over from another plan.
  if (fpl_active_index == FPL_NO_PLAN || !active_record(vnav_wpt_index)) return nullptr;
  return &fpl_active[vnav_wpt_index];
}

std::string econ_time_text(double dist) {
  if (!(ground_speed > 0)) return "";
  return cdu_eta_hhmm(dist / ground_speed * 60.0) + cdu_format(".%1.0f%s", 5.5, cdu_eta_zone());
}

void econ_draw_cruise_alt(const CduPage& p) {
  if (cruise_alt > TransAlt) cdu_largef(p, 5, 33, "FL%03d", int(cruise_alt / 100));
  else if (cruise_alt != 0) cdu_largef(p, 5, 33, "%5d", int(cruise_alt));
  else cdu_five_boxes(p, 5, 10, 38);
}

void econ_draw_target_speed(const CduPage& p, int32_t ias, double mach) {
  cdu_small(p, 12, 55, "T G T    S P D");
  if (mach > 0.0) cdu_largef(p, 5, 66, "%3d / %.2f", ias, mach);
  else cdu_largef(p, 5, 66, "%3d / - - - -", ias);
}

void econ_draw_speed_restriction(const CduPage& p, double speed, double alt) {
  cdu_small(p, 12, 88, "S P D / R E S T");
  if (alt >= 1000 && speed > 50) cdu_largef(p, 5, 99, "%3.0f / %-5.0f", speed, alt);
}

void smiths_fms_econ_clb_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_large(p, 63, 0, "ECON  CLB");
  cdu_small(p, 220, 5, "1 / 1");
  clb_key();
  cdu_small(p, 12, 22, "C R Z    A L T");
  econ_draw_cruise_alt(p);
  draw_climb_target(p);
  econ_draw_target_speed(p, ClimbIas, ClimbMach);
  econ_draw_speed_restriction(p, ClbSpdRest, ClbAltRest);
  cdu_large(p, 12, 121, "- - - - - - - - - - - - - - - -");
  cdu_large_fit(p, 140, 151, "- - - - - - - - - - - - - - - -");
  if (fpl_changed_state != 4) cdu_large(p, 0, 165, "< MAX   RATE");
  cdu_large(p, 0, 198, fpl_changed_state == 4 ? "< ERASE" : "< MAX   ANGLE");
  cdu_large(p, 220, 198, "RTA >");
  cdu_bottom_line(p);
  cdu_page_end(p);
}

void smiths_fms_econ_crz_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_large(p, 63, 0, "ECON  CRZ");
  cdu_small(p, 230, 0, "1 / 1");
  crz_key();
  cdu_small(p, 12, 22, "C R Z    A L T    O P T / M A X");
  econ_draw_cruise_alt(p);
  econ_draw_target_speed(p, CruiseTas, CruiseMach);
  cdu_small(p, 12, 88, "T U R B    N 1                  A C T U A L    W I N D");
  if (wind_speed > 0) cdu_largef(p, 180, 99, "%03.0f\xB0 / %3.0f", wind_direction, wind_speed);
  else cdu_large(p, 180, 99, "---\xB0 / ---");
  draw_fuel_at_destination(p);
  cdu_small(p, 0, 165, "- - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_large(p, 0, 198, fpl_changed_state == 4 ? "< ERASE" : "< LRC");
  if (ArmPauseAtTod == 1)
    cdu_large_fit(p, 95, 198, PauseAtTod == 1 ? "Pause at TOD (ON) >" : "Pause at TOD (OFF)  >");
  cdu_bottom_line(p);
  cdu_page_end(p);
}
