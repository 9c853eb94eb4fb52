// The PFD drawn by its dispatcher into a recorded image of the design canvas' size
// (so image pixels are design units), with the module attached to the simulated host
// for its simulator variables (flight director, NAV 1 flags) and the sampled values
// set by hand as the update would leave them.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "displays/attitude/pfd.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "host/sim_host.h"
#include "platform/gfx/gfx_recording.h"
#include "platform/host/sim_token_ids.h"

namespace pfd_test {

inline std::map<int32_t, double> tokens;
inline simhost::SimHost* current_host = nullptr;

inline void read_token(TokenVar* var) {
  auto it = tokens.find(var->id);
  if (it != tokens.end()) var->value = it->second;
  else current_host->service_read_token(var);
}

struct Scene {
  simhost::SimHost host;
  PanelServiceTable services{};
  GaugeImage image{nullptr, 272, 314, 272 * 4, nullptr};
  GaugeSurface surface{};
  uintptr_t token = 0;

  Scene() {
    host.attach_module(&Linkage, &ImportTable);
    services = *ImportTable.panel_services;
    services.read_token_var = read_token;
    ImportTable.panel_services = &services;
    current_host = &host;
    tokens = {{TOK_FD_ACTIVE, 0}, {TOK_NAV1_FLAGS, 0}};
    token = gdiplus_start();
    gfx_recording_enable(&image);
    level_flight();
  }
  ~Scene() {
    gfx_recording_disable(&image);
    gdiplus_stop(token);
    ImportTable.panel_services = nullptr;
    current_host = nullptr;
  }
  // Level at 5000 ft and 150 kt heading north, every sample as its previous one,
  // no plan, the start settings.
  static void level_flight() {
    adi_token77 = adi_token80 = 0;
    indicated_airspeed = 150;
    ap_airspeed = ap_airspeed_prev = 150;
    indicated_altitude = indicated_altitude_prev = 5000;
    ap_altitude = ap_altitude_prev = 5000;
    radio_altitude = 3000;
    vertical_speed = vertical_speed_prev = ap_vs_hold = ap_vs_hold_prev = 0;
    heading = ap_heading = ap_heading_prev = wind_direction = 0;
    nav1_course = nav_token40 = nav_token41 = nav_token41_prev = 0;
    ground_speed = ground_speed_copy = 150;
    mach = 0.3;
    baro_hpa = baro_hpa_prev = 1013;
    dme1_distance = 0;
    desired_track = desired_track_prev = dist_to_active_wpt = dist_to_active_wpt_prev = 0;
    fpl_active_index = FPL_NO_PLAN;
    token106_int = 0;
    lnav_on = 0;
    token112 = token113 = nav_gps_switch = ap_airspeed_hold = ap_mach_hold = ap_token108 = ap_token103 = 0;
    pfd_symbol_style = pfd_course_source_nav = 1;
    pfd_course_source_fms = pfd_bearing1_source = pfd_bearing2_source = pfd_hsi_arc_format = 0;
    pfd_et_field = 2;
    pfd_data_field = 0;
  }
  // One frame: a full-redraw frame, or one that keeps the image.
  GfxRecording& frame(bool full = true) {
    hdg_change_timer = full ? 0 : 5;
    rec().clear();
    pfd_draw(&surface, &image, image.width, image.height);
    return rec();
  }
  GfxRecording& rec() { return *gfx_recording_of(&image); }

  // Whether text `t` was drawn with its top left within `tol` of (x, y).
  bool text_at(const std::string& t, double x, double y, double tol = 0.6) {
    for (const GfxTextItem& it : rec().text_items())
      if (it.text == t && std::fabs(it.device.x - x) <= tol && std::fabs(it.device.y - y) <= tol) return true;
    return false;
  }
  int texts(const std::string& t) {
    int n = 0;
    for (const std::string& s : rec().texts()) n += s == t;
    return n;
  }
  // Records of kind `op` in colour `argb` whose first point lies within 0.6 of (x, y).
  int shapes_at(GfxOp op, uint32_t argb, double x, double y) {
    int n = 0;
    for (const GfxRecord* r : rec().of(op)) {
      const uint32_t c = op == GfxOp::FillPolygon || op == GfxOp::FillRect || op == GfxOp::FillEllipse ? r->brush_argb
                                                                                                     : r->pen_argb;
      if (c != argb || r->status != GFX_OK) continue;
      GfxPointF p = r->points.empty() ? GfxRecording::to_device(*r, r->args[0], r->args[1])
                                      : GfxRecording::device_points(*r)[0];
      n += std::fabs(p.x - x) <= 0.6 && std::fabs(p.y - y) <= 0.6;
    }
    return n;
  }
};

}  // namespace pfd_test
