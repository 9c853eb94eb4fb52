// ECON PATH DES page: end-of-descent altitude, time and distance to the top of descent
// or the next constraint, descent targets and restriction, deviation from the path,
// flight-path angle and required vertical speed, the pause before the destination.
// DES FORECASTS: a fixed form.
#include <algorithm>
#include <cmath>

#include "cdu/smiths/econ_pages.h"
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/perf_entries.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_commands.h"
#include "guidance/settings.h"
#include "module/sim_vars.h"

namespace {

const SpeedTarget DESCENT_TARGET = {
    .ias = &DescentIas,
    .mach = &DescentMach,
    .ias_prev = &descent_ias_prev,
    .mach_prev = &descent_mach_prev,
    .phase = ENVELOPE_NOT_CLIMB};

void des_key() {
  switch (smiths_pending_lsk) {
    case 2: cdu_enter_target_speed(DESCENT_TARGET); break;
    case 3: cdu_enter_speed_restriction(DescSpdRest, DescAltRest, ENVELOPE_NOT_CLIMB); break;
    case 5:
      if (ArmPauseAtDistFromDest != 1) break;
      if (PauseAtDistFromDest == 0) {
        PauseAtDistFromDest = 1;
        pause_at_dist_done = 0;
      } else if (PauseAtDistFromDest == 1) {
        PauseAtDistFromDest = 0;
      }
      break;
    case LSK_L6: econ_erase_key(); break;
    case LSK_R6: econ_rta_key(); break;
    default: break;
  }
}

// Ending at x 265 as measured, smaller when that would run into the left column.
void right_aligned(const CduPage& p, double y, const std::string& text) {
  constexpr double RIGHT = 265.0, MIN_X = 120.0;
  const double width = cdu_text_width(text, CDU_LARGE_PX);
  cdu_text_within(p, CDU_LARGE_PX, std::max(RIGHT - width, MIN_X), y, text, MIN_X);
}

// Time and distance to the top of descent, or once past it to the constraint waypoint.
void draw_time_row(const CduPage& p, const FlightPlanWpt* wpt) {
  if (!(ground_speed > 60.0)) return;
  if (toc_reached == 1 && tod_reached == 0) {
    cdu_small(p, 200, 55, "T O   T / D");
    right_aligned(p, 66, econ_time_text(tod_route_dist) + cdu_format("/%-.0f NM", tod_route_dist));
  } else if (tod_reached == 1 && wpt) {
    cdu_smallf(p, 190, 55, "T O  %6s", wpt->ident);
    right_aligned(p, 66, econ_time_text(vdev_gate_dist_2) + cdu_format("/%.0f NM", vdev_gate_dist_2));
  }
}

// Feet off the path, rounded down to 50 ft above 1000, to 10 ft from 200, else to 5 ft.
double deviation_step(double x) {
  const double step = x > 1000.0 ? 50.0 : (x >= 200.0 ? 10.0 : 5.0);
  return std::floor(x / step) * step;
}

void draw_vertical_deviation(const CduPage& p) {
  if (tod_reached != 1) return;
  const double h = indicated_altitude, path = vnav_path_altitude;
  const bool past_tod = vdev_gate_dist_1 > vdev_gate_dist_2;
  if (past_tod && h > path) cdu_largef(p, 5, 133, "%5.0f HI", deviation_step(h - path));
  else if (past_tod && path > h) cdu_largef(p, 5, 133, "%5.0f LO", deviation_step(path - h));
  else cdu_large(p, 5, 133, "----  --");
}

void draw_path_angles(const CduPage& p) {
  if (!(vertical_speed < 200.0) || fpl_active_index == FPL_NO_PLAN || toc_reached != 1 || tod_reached != 1 ||
      !(ground_speed > 50.0))
    return;
  const double nm_per_min = ground_speed / 60.0;
  // A long V/S moves the row left to end on the screen.
  cdu_large_fit(p, 130, 133,
                cdu_format("%2.1f   %2.1f     %4.0f", std::fabs(vertical_speed) / nm_per_min / 100.0,
                           std::fabs(vnav_vs_required) / nm_per_min / 100.0, vnav_vs_required));
}

}  // namespace

void smiths_fms_econ_path_des_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_large(p, 63, 0, "ECON  PATH  DES");
  cdu_small(p, 230, 5, "1 / 1");
  des_key();
  const FlightPlanWpt* wpt = econ_vnav_wpt();
  cdu_small(p, 12, 22, "E / D    A L T");
  if (wpt) {
    cdu_smallf(p, 190, 22, "A T  %6s", wpt->ident);
    if (wpt->alt_constraint != FPL_NO_CONSTRAINT) {
      cdu_largef(p, 0, 33, "%5.0f", wpt->alt_constraint);
      cdu_largef(p, 200, 33, "%5.0f", wpt->alt_constraint);
    }
  }
  draw_time_row(p, wpt);
  econ_draw_target_speed(p, DescentIas, DescentMach);
  econ_draw_speed_restriction(p, DescSpdRest, DescAltRest);
  cdu_small(p, 180, 88, "W P T / A L T");
  if (wpt && wpt->alt_constraint != FPL_NO_CONSTRAINT)
    right_aligned(p, 99, cdu_format("%6s/%5.0f", wpt->ident, wpt->alt_constraint));
  else
    cdu_small(p, 160, 99, "- - - - - - / - - - - - -");
  cdu_small(p, 12, 121, "V E R T  D E V");
  draw_vertical_deviation(p);
  cdu_small(p, 130, 121, "F P A  V / B        V / S");
  draw_path_angles(p);
  cdu_small(p, 0, 151, "- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -");
  if (fpl_active_index != FPL_NO_PLAN && fpl_active_last >= 0 && ArmPauseAtDistFromDest == 1)
    cdu_large_fit(p, 0, 165,
                  cdu_format("PAUSE %d NM From (%s)(%s)", int(pause_dist_from_dest), fpl_active[fpl_active_last].ident,
                             PauseAtDistFromDest == 1 ? "ON" : "OFF"));
  if (fpl_changed_state == 4) cdu_large(p, 0, 198, "< ERASE");
  cdu_large(p, 220, 198, "RTA >");
  cdu_bottom_line(p);
  cdu_page_end(p);
}

void smiths_fms_des_forecasts_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_large(p, 63, 0, "DES  FORECASTS");
  cdu_small(p, 230, 0, "1 / 1");
  cdu_small(p, 12, 22, "T R A N S    L V L               T A I    O N / O F F");
  cdu_large(p, 150, 33, "- - - - - / - - - - -");
  cdu_small(p, 12, 55, "C A B I N    R A T E          I S A   D E V / Q N H");
  cdu_large(p, 135, 77, "- - - \xB0   / - - - - - -");
  cdu_small(p, 177, 81, "C");
  cdu_small(p, 12, 99, "A L T");
  cdu_large(p, 45, 93, "- - - - -");
  cdu_small(p, 100, 99, "W I N D");
  cdu_large(p, 145, 93, "- - - -");
  cdu_small(p, 195, 99, "D I R / S P D");
  for (double y : {111.0, 133.0, 155.0}) {
    cdu_large(p, 0, y, "- - - - -                      - - - \xB0 / - - -");
    cdu_small(p, 245, y + 5, "K T");
  }
  cdu_page_end(p);
}
