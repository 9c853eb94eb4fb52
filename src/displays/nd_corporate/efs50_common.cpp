// Pieces the EFS 50 EHSI renderers share.
#include "displays/nd_corporate/efs50_common.h"

#include <cmath>

#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

bool efs50_map_format(int32_t mode) { return mode == 2 || mode == 3 || mode == 5 || mode == 6; }

double efs50_centre_y(int32_t mode) { return mode >= 1 && mode <= 3 ? EFS50_ROSE_CY : EFS50_ARC_CY; }

bool efs50_range_usable() { return std::isfinite(efs50_ehsi_range) && efs50_ehsi_range > 0; }

bool efs50_course_valid() { return EFS50NavMode == 1 || (EFS50NavMode == 2 && corp_plan_active()); }

double efs50_course() { return EFS50NavMode == 1 ? nav1_course : desired_track; }

uint32_t efs50_source_colour() { return EFS50NavMode == 2 ? CORP_CYAN : EFS50_GREEN; }

bool efs50_to_from(bool& to) {
  if (EFS50NavMode == 1) {
    if (!nav1_received()) return false;
    to = nav_shows_to(station_bearing(nav_rel_bearing, heading), nav1_course);
    return true;
  }
  if (!corp_plan_active()) return false;
  to = nav_shows_to(desired_track, heading);
  return true;
}

Efs50Pointer efs50_pointer(int32_t pointer, int32_t source) {
  switch (source) {
    case 1:
      if (pointer == 1) return {get_nav1_signal() > 0, station_bearing(nav_rel_bearing, heading) - heading};
      return {get_nav2_signal() > 0, station_bearing(nav_token59, heading) - heading};
    case 2:
      return {corp_plan_active(), bearing_to_active_wpt - heading};
    case 3:
      return {adf1_bearing > 1.0, nav_token39 + 360};
    default:
      return {false, 0};
  }
}

void efs50_aircraft(GfxGraphics* g, const GfxPen* pen) {
  const DrawPoint p[] = {{0, -12}, {2, -8},  {2, -3},  {12, 3},   {12, 5},   {5, 3},    {2, 3},   {2, -3},
                         {2, 13},  {2, 13},  {5, 16},  {5, 18},   {1, 16},   {2, 13},   {1, 16},  {0, 17},
                         {-1, 16}, {-2, 13}, {-1, 16}, {-5, 18},  {-5, 16},  {-2, 13},  {-2, -3}, {-2, 3},
                         {-5, 3},  {-12, 5}, {-12, 3}, {-2, -3},  {-2, -8},  {0, -12}};
  nd_polyline(g, pen, p);
}

void efs50_clip_rose(GfxGraphics* g) {
  GfxPath* path = gfx_path_create(g);
  gfx_path_add_ellipse(g, path, 29, 14, 200, 200);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}
