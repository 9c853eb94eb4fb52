// An attitude display drawn into a recorded image on the simulated host: the module
// attached, its numbered variables served by the host's aircraft (or overridden per
// test), the per-frame values set as the update would sample them.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "displays/attitude/attitude.h"
#include "displays/attitude/fd_bars.h"
#include "draw/draw_toolkit.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "host/sim_host.h"
#include "platform/gfx/gfx_recording.h"
#include "platform/host/sim_token_ids.h"

namespace attitude_test {

using Dispatcher = void (*)(GaugeSurface*, DeviceContext, int32_t, int32_t, int32_t);

struct Display {
  const char* name;
  Dispatcher draw;
  DesignCanvas canvas;
  double cx, cy;  // attitude centre
};

inline const Display EFS50{"EFS 50", efs50_eadi_draw, CANVAS_EFS50, 129, 114};
inline const Display A320{"A320", a320_eadi_draw, CANVAS_A320_EADI, 149, 155};
inline const Display B777{"B777", b777_pfd_draw, CANVAS_B777_PFD, 115, 130};

inline std::map<int32_t, double> overrides;
inline simhost::SimHost* current_host = nullptr;

inline void read_token(TokenVar* var) {
  auto it = overrides.find(var->id);
  if (it != overrides.end()) {
    var->value = it->second;
    return;
  }
  current_host->service_read_token(var);
}

struct Scene {
  simhost::SimHost host;
  PanelServiceTable services{};
  GaugeImage image{};
  GaugeSurface surface{0, 0};
  uintptr_t token = 0;

  Scene() {
    host.attach_module(&Linkage, &ImportTable);
    services = *ImportTable.panel_services;
    services.read_token_var = read_token;
    ImportTable.panel_services = &services;
    current_host = &host;
    overrides.clear();
    token = gdiplus_start();
    display_power = 1;
  }
  ~Scene() {
    if (image.width) gfx_recording_disable(&image);
    gdiplus_stop(token);
    ImportTable.panel_services = nullptr;
    current_host = nullptr;
  }
  // One frame of `d` on an image of its canvas size.
  GfxRecording& draw(const Display& d, int32_t draw_mode = 1) {
    if (image.width != int32_t(d.canvas.width)) {
      if (image.width) gfx_recording_disable(&image);
      image = GaugeImage{nullptr, int32_t(d.canvas.width), int32_t(d.canvas.height), int32_t(d.canvas.width) * 4,
                         nullptr};
      gfx_recording_enable(&image);
    }
    rec().clear();
    host.aircraft().refresh();
    d.draw(&surface, &image, image.width, image.height, draw_mode);
    return rec();
  }
  GfxRecording& rec() { return *gfx_recording_of(&image); }
  simhost::AircraftState& ac() { return host.aircraft().state(); }
  // Design offset from the attitude centre of each drawing of text `t`, in order.
  std::vector<GfxPointF> at(const Display& d, const std::string& t) {
    std::vector<GfxPointF> out;
    for (const GfxTextItem& it : rec().text_items()) {
      if (it.text != t) continue;
      GfxPointF p = rec().to_design(it.device, d.canvas.width, d.canvas.height);
      out.push_back({p.x - d.cx, p.y - d.cy});
    }
    return out;
  }
  bool has(const std::string& t) { return rec().has_text(t); }
  // Whether text `t` was drawn within `tol` design units of (x, y) from the centre.
  bool shown_at(const Display& d, const std::string& t, double x, double y, double tol = 0.3) {
    for (GfxPointF p : at(d, t))
      if (std::fabs(p.x - x) <= tol && std::fabs(p.y - y) <= tol) return true;
    return false;
  }
};

inline bool near(GfxPointF p, double x, double y, double tol = 1.01) {
  return std::fabs(p.x - x) <= tol && std::fabs(p.y - y) <= tol;
}

}  // namespace attitude_test
