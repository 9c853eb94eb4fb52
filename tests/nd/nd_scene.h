// A recorded display image with the graphics library started, a stand-in for the
// host's numbered variables, and a trace of the layers the dispatcher calls.
#pragma once

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "displays/nd_transport/nd_transport.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "platform/gfx/gfx_recording.h"
#include "platform/host/sim_token_ids.h"

namespace nd_test {

inline std::map<int32_t, double> token_values;
inline std::map<int32_t, const char*> token_texts;
inline std::vector<std::string> layers;

inline void fake_read_token(TokenVar* var) {
  auto t = token_texts.find(var->id);
  if (t != token_texts.end()) {
    var->text = t->second;
    return;
  }
  auto v = token_values.find(var->id);
  var->value = v == token_values.end() ? 0.0 : v->second;
}

inline PanelServiceTable fake_services{};

inline void trace_layer(const char* name) { layers.push_back(name); }

using Dispatcher = void (*)(GaugeSurface*, DeviceContext, int32_t, int32_t, int32_t);

struct NdScene {
  GaugeImage image;
  GaugeSurface surface{0, 0};
  uintptr_t token = 0;
  double canvas_w, canvas_h;
  Dispatcher dispatch;

  NdScene(DesignCanvas canvas, Dispatcher d, int32_t w = 0, int32_t h = 0)
      : image{nullptr, w ? w : int32_t(canvas.width), h ? h : int32_t(canvas.height),
              (w ? w : int32_t(canvas.width)) * 4, nullptr},
        canvas_w(canvas.width),
        canvas_h(canvas.height),
        dispatch(d) {
    token = gdiplus_start();
    gfx_recording_enable(&image);
    fake_services.read_token_var = fake_read_token;
    ImportTable.panel_services = &fake_services;
    nd_layer_trace = trace_layer;
    display_power = 1;
  }
  ~NdScene() {
    nd_layer_trace = nullptr;
    ImportTable.panel_services = nullptr;
    gfx_recording_disable(&image);
    gdiplus_stop(token);
  }
  // One frame in draw mode `draw_mode`, the recording and the trace started afresh.
  void draw(int32_t draw_mode = 1) {
    rec().clear();
    layers.clear();
    dispatch(&surface, &image, image.width, image.height, draw_mode);
  }
  GfxRecording& rec() { return *gfx_recording_of(&image); }
  GfxPointF design(GfxPointF device) { return rec().to_design(device, canvas_w, canvas_h); }
  // Design position of the first text `t`, or (-1e9, -1e9) when it was not drawn.
  GfxPointF text_at(const std::string& t) {
    for (const GfxTextItem& it : rec().text_items())
      if (it.text == t) return design(it.device);
    return {-1e9, -1e9};
  }
  // The layout point the renderer asked for of the first text `t` (world units).
  GfxPointF world(const std::string& t) {
    for (const GfxTextItem& it : rec().text_items())
      if (it.text == t) return it.world;
    return {-1e9, -1e9};
  }
  uint32_t text_colour(const std::string& t) {
    for (const GfxTextItem& it : rec().text_items())
      if (it.text == t) return it.argb;
    return 0;
  }
  bool has(const std::string& t) { return rec().has_text(t); }
  // Design position of a point in a record's world units.
  GfxPointF design_of(const GfxRecord& r, double x, double y) { return design(GfxRecording::to_device(r, x, y)); }
};

inline bool near(GfxPointF p, double x, double y, double tol = 1.01) {
  return std::fabs(p.x - x) <= tol && std::fabs(p.y - y) <= tol;
}

// The point `dist` NM from (lat, lon) along the true course.
inline void point_from(double lat, double lon, double course, double dist, double& plat, double& plon) {
  compute_dest_point(lat, lon, course, dist, plat, plon);
}

inline void place_aircraft(double lat, double lon, double hdg = 0.0) {
  present_lat = lat;
  present_lon = lon;
  heading = hdg;
  map_heading = hdg;
}

// An active plan of idents along a line north of (lat, lon), 10 NM apart.
inline void set_plan(FlightPlanWpt* table, int32_t& last, const std::vector<std::string>& idents, double lat,
                     double lon) {
  for (int32_t i = 0; i <= int32_t(idents.size()); ++i) clear_fpl_record(table[i]);
  for (size_t i = 0; i < idents.size(); ++i) {
    fpl_set_text(table[i].ident, idents[i]);
    point_from(lat, lon, 0, 10.0 * double(i), table[i].lat, table[i].lon);
  }
  set_end_record(table[idents.size()]);
  last = int32_t(idents.size()) - 1;
}

inline void set_active_plan(const std::vector<std::string>& idents, int32_t active, double lat, double lon) {
  set_plan(fpl_active, fpl_active_last, idents, lat, lon);
  fpl_active_index = active;
}

}  // namespace nd_test
