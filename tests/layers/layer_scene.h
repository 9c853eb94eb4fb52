// A recorded gauge image with its drawing record, the graphics library started,
// and helpers to seed the navigation tables, the plan and the aircraft.
#pragma once

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "draw/draw_toolkit.h"
#include "draw/gauge_surface.h"
#include "draw/map_layer_frame.h"
#include "flightplan/flight_plan.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "navdb/navdb.h"
#include "platform/gfx/gfx_recording.h"
#include "tests/common/nav_records.h"

struct LayerScene {
  GaugeImage image;
  GaugeSurface surface;
  uintptr_t token = 0;
  GfxGraphics* g = nullptr;
  double canvas_w, canvas_h;

  // A surface of w x h on an image of image_w x image_h (the same by default): a larger
  // image keeps what lies past the surface's right and bottom edges, which the layers
  // do not draw on an image that ends there.
  LayerScene(DesignCanvas canvas, int32_t w, int32_t h, int32_t image_w = 0, int32_t image_h = 0)
      : image{nullptr, image_w > 0 ? image_w : w, image_h > 0 ? image_h : h, (image_w > 0 ? image_w : w) * 4, nullptr},
        surface{w, h},
        canvas_w(canvas.width),
        canvas_h(canvas.height) {
    token = gdiplus_start();
    gfx_recording_enable(&image);
    gfx_create(&image, &g);
  }
  explicit LayerScene(DesignCanvas canvas) : LayerScene(canvas, int32_t(canvas.width), int32_t(canvas.height)) {}
  ~LayerScene() {
    gfx_delete(g);
    gfx_recording_disable(&image);
    gdiplus_stop(token);
  }
  const GaugeSurface* ctx() const { return &surface; }
  GfxRecording& rec() { return *gfx_recording_of(&image); }

  // Design position of the first text `t`, or (-1e9, -1e9) when it was not drawn.
  GfxPointF text_at(const std::string& t) {
    for (const GfxTextItem& it : rec().text_items())
      if (it.text == t) return rec().to_design(it.device, canvas_w, canvas_h);
    return {-1e9, -1e9};
  }
  uint32_t text_colour(const std::string& t) {
    for (const GfxTextItem& it : rec().text_items())
      if (it.text == t) return it.argb;
    return 0;
  }
  // Design position of a point given in a record's world units.
  GfxPointF design_of(const GfxRecord& r, double x, double y) {
    return rec().to_design(GfxRecording::to_device(r, x, y), canvas_w, canvas_h);
  }
};

// The point `dist` NM from (lat, lon) along the true course.
inline NavPoint point_from(double lat, double lon, double course, double dist) {
  NavPoint p;
  compute_dest_point(lat, lon, course, dist, p.lat, p.lon);
  return p;
}

// Places the aircraft.
inline void place_aircraft(double lat, double lon, double hdg = 0.0) {
  present_lat = lat;
  present_lon = lon;
  heading = hdg;
  map_heading = hdg;
}

// An active plan of the given points, active record 1.
inline void set_active_plan(const std::vector<NavPoint>& pts, int32_t active = 1) {
  clear_fpl_active();
  int32_t n = int32_t(pts.size());
  for (int32_t i = 0; i < n; ++i) {
    clear_fpl_record(fpl_active[i]);
    std::snprintf(fpl_active[i].ident, sizeof fpl_active[i].ident, "WP%d", i);
    fpl_active[i].lat = pts[size_t(i)].lat;
    fpl_active[i].lon = pts[size_t(i)].lon;
  }
  set_end_record(fpl_active[n]);
  fpl_active_last = n - 1;
  fpl_active_index = active;
}

// B737 ND map geometry of a mode and range.
inline void b737_map(int32_t mode, double range) {
  b737_nd_mode = mode;
  b737_nd_range = range;
  b737_nd_map_radius = mode >= 6 ? 110 : 215;
  b737_nd_center_y = mode >= 6 ? 171 : 249;
}
// The same with the airport, navaid and intersection switches on.
inline void b737_map_on(int32_t mode, double range) {
  b737_map(mode, range);
  nd_apt_on = nd_nav_on = nd_int_on = 1;
}

inline bool near(GfxPointF p, double x, double y, double tol = 1.01) {
  return std::fabs(p.x - x) <= tol && std::fabs(p.y - y) <= tol;
}
