// Primus 1000 MFD draw dispatcher: power, the full or partial background, the map
// geometry of the two views, the clip outlines and the order of the map layers.
#include <algorithm>
#include <array>
#include <iterator>

#include "displays/nd_corporate/p1000_common.h"
#include "module/load_state.h"
#include "draw/altitude_range_arc.h"
#include "draw/atc_boundary_layer.h"
#include "draw/fix_info_overlay.h"
#include "draw/holding_pattern_layer.h"
#include "draw/navaid_layer.h"
#include "draw/nearby_airport_layer.h"
#include "draw/runway_layer.h"
#include "draw/toc_tod_layer.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "navdb/navdb.h"

namespace {

GaugeSurface p1000_mfd_surface{0, 0};

// Black masks of a partial frame (even-odd fill): the map area and the lower box.
constexpr DrawPoint MASK_A[] = {{0, 85},    {14, 85},   {50, 30},   {115, 12},  {115, 0},   {155, 0},
                                {155, 12},  {220, 39},  {270, 100}, {210, 120}, {210, 175}, {135, 225},
                                {65, 180},  {55, 120},  {50, 105},  {50, 105},  {50, 105},  {0, 85}};
constexpr DrawPoint MASK_B[] = {{0, 125},   {23, 95},   {50, 105},  {55, 120},  {65, 180},  {135, 225},
                                {210, 175}, {210, 120}, {250, 90},  {268, 98},  {268, 185}, {220, 185},
                                {220, 270}, {41, 270},  {41, 185},  {0, 185},   {0, 125}};

bool tcas_window() { return tcas_shown == 1 && DrawTcasWindowOnP1000MFD == 1; }

// What only a full frame draws or wipes: the soft-key legends with the controller's
// VNAV values, the lower box the TCAS window takes, the active waypoint's block, and
// the map outside the masks (range labels, the view, its centre). A change shows at
// once as a full frame rather than waiting for the heading timer's next one.
struct FullFrameState {
  int32_t open, menu, dist_sel, elev_sel, vang_sel, window;
  double distance, elevation, vs, fpa;
  int32_t plan_view, cx, cy, radius;
  double range;
  int32_t active;
  std::array<char, sizeof(FlightPlanWpt::ident)> ident;
  bool operator==(const FullFrameState&) const = default;
};

FullFrameState full_frame_state() {
  FullFrameState s{p1000_cntr_open,      p1000_cntr_menu,      p1000_vnav_dist_sel, p1000_vnav_elev_sel,
                   p1000_vnav_vang_sel,  tcas_window() ? 1 : 0, p1000_vnav_distance, p1000_vnav_elevation,
                   p1000_vnav_vs,        FPA,                   p1000_plan_view,     p1000_map_cx,
                   p1000_map_cy,         p1000_map_radius,      p1000_mfd_range,     fpl_active_index,
                   {}};
  if (fpl_valid_index(fpl_active_index, fpl_active_last))
    std::copy(std::begin(fpl_active[fpl_active_index].ident), std::end(fpl_active[fpl_active_index].ident),
              s.ident.begin());
  return s;
}

// Images drawn since they were last cleared, with what their last full frame showed:
// a partial frame keeps the previous frame's pixels, so an image that has none (new or
// cleared) or shows other legends gets a full frame.
struct Painted {
  DeviceContext dc;
  FullFrameState state;
};
std::array<Painted, 4> painted{};

}  // namespace

void keep_p1000_mfd_frame_state(LoadState& state) { state.keep(painted); }

namespace {

Painted* painted_slot(DeviceContext dc) {
  for (Painted& p : painted)
    if (p.dc == dc) return &p;
  return nullptr;
}

void forget(DeviceContext dc) {
  if (Painted* p = painted_slot(dc)) p->dc = nullptr;
}

void remember(DeviceContext dc, const FullFrameState& state) {
  Painted* p = painted_slot(dc);
  if (!p) p = painted_slot(nullptr);
  if (!p) p = &painted[0];  // more images than slots: the first one repaints in full
  *p = {dc, state};
}

// Outline 2 of the normal view: the compass top as a curve.
constexpr GfxPointF COMPASS_TOP[] = {{27, 90},  {41, 70},  {56, 56},  {83, 38},  {103, 31}, {134, 27},
                                     {165, 31}, {185, 38}, {212, 56}, {227, 70}, {240, 90}};

// Joins consecutive points with lines into the path's figure.
template <int32_t N>
void add_lines(GfxGraphics* g, GfxPath* path, const GfxPoint (&pts)[N]) {
  for (int32_t i = 0; i + 1 < N; ++i) gfx_path_add_line(g, path, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y);
}

void outline_1(GfxGraphics* g, GfxPath* path) {
  const GfxPoint head[] = {{0, 0}, {267, 0}, {267, 90}, {267, 98}, {243, 90}, {205, 112}, {205, 172}};
  add_lines(g, path, head);
  if (tcas_window()) {
    const GfxPoint tail[] = {{205, 172}, {73, 172}, {65, 109}, {26, 85}, {0, 85}, {0, 0}};
    add_lines(g, path, tail);
  } else {
    const GfxPoint tail[] = {{205, 172}, {135, 215}, {73, 172}, {65, 109}, {26, 85}, {0, 85}, {0, 0}};
    add_lines(g, path, tail);
  }
}

void outline_2_normal(GfxGraphics* g, GfxPath* path) {
  gfx_path_add_curve(g, path, COMPASS_TOP, int32_t(std::size(COMPASS_TOP)));
  const int32_t bottom = tcas_window() ? 171 : 271;
  const GfxPoint rest[] = {{240, 90},    {268, 130}, {268, 185}, {222, 185}, {220, 185}, {220, bottom},
                           {41, bottom}, {41, 185},  {0, 185},   {0, 130},   {27, 90}};
  add_lines(g, path, rest);
}

// The plan view's map area: the FMS block's corner left out, above the TCAS window.
struct PlanArea {
  GfxPoint pts[7];
};
PlanArea plan_area() {
  const int32_t bottom = tcas_window() ? 171 : 185;
  return {{{0, 10}, {210, 10}, {210, 60}, {268, 60}, {268, bottom}, {0, bottom}, {0, 10}}};
}

void outline_2_plan(GfxGraphics* g, GfxPath* path) { add_lines(g, path, plan_area().pts); }

void map_layers(const P1000Frame& f, GfxGraphics* g, int32_t draw_mode) {
  const GaugeSurface* ctx = f.ctx;
  const int32_t radius = p1000_map_radius, cx = p1000_map_cx, cy = p1000_map_cy;
  const double range = p1000_mfd_range;
  if (p1000_show_navaids == 1) {
    nd_trace("navaids");
    draw_p1000_mfd_navaids_layer(ctx, g);
  }
  if (p1000_show_airports == 1 && range <= 80) {
    nd_trace("airports");
    draw_p1000_mfd_airports_layer(ctx, g);
  }
  if (p1000_cntr_open == 0) {
    if (atc_bdry_on == 1 && draw_mode != 3) {
      nd_trace("boundaries");
      draw_atc_boundaries(g, radius, cx, cy, range, f.map_up, f.ref_lat, f.ref_lon);
    }
    if (loaded_rwy_index > 0) {
      nd_trace("centerline");
      draw_runway_centerline_layer(g, radius, cx, cy, range, 1.0, 1.0, f.map_up, f.ref_lat, f.ref_lon);
    }
    if (loaded_rwy_count > 0 && range <= 2.5) {
      nd_trace("runways");
      draw_runway_layer(g, radius, cx, cy, range, f.map_up, f.ref_lat, f.ref_lon);
    }
  }
  // The plan view shows the aircraft also without a plan.
  if (fpl_active_index != FPL_NO_PLAN || p1000_plan_view != 0) {
    nd_trace("route");
    p1000_mfd_route_draw(f, g);
  }
  if (fix_info_in_use()) {
    nd_trace("fix_info");
    draw_p1000_mfd_fix_info_layer(ctx, g);
  }
}

void overlays(const P1000Frame& f, GfxGraphics* g) {
  const int32_t radius = p1000_map_radius, cx = p1000_map_cx, cy = p1000_map_cy;
  const double range = p1000_mfd_range;
  const bool normal = p1000_plan_view == 0;
  if (hold_fpl_index >= 1) {
    nd_trace("hold");
    draw_p1000_mfd_hold_layer(f.ctx, g, radius, cx, cy, range);
  }
  if (DrawBodArcOnP1000MFD == 1 && altitude_arc_gate() && normal) {
    nd_trace("altitude_arc");
    draw_p1000_mfd_altitude_arc(f.ctx, g);
  }
  if (route_distance_to_go > 8.0 && fpl_active_index != FPL_NO_PLAN) {
    nd_trace("toc_tod");
    draw_tod_toc_markers(g, radius, range, cx, cy, TOC_TOD_STYLE_P1000, 1.0, 1.0, f.ref_lat, f.ref_lon, f.map_up);
  }
}

}  // namespace

void p1000_mfd_set_clip(const P1000Frame& f, GfxGraphics* g, int32_t outline) {
  (void)f;
  if (outline != 1 && outline != 2) return;
  GfxPath* path = gfx_path_create(g);
  if (!path) return;
  if (outline == 1)
    outline_1(g, path);
  else if (p1000_plan_view == 0)
    outline_2_normal(g, path);
  else
    outline_2_plan(g, path);
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

void p1000_mfd_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  (void)gauge;
  p1000_mfd_draw(&p1000_mfd_surface, dc, width, height, draw_mode);
}

void p1000_mfd_service_hook(GaugeHeader* gauge, int32_t service_id) {
  (void)gauge;
  if (service_id != PANEL_SERVICE_INITIALIZE) return;
  hdg_change_timer = 999;
  update_warmup = 999;
}

void p1000_mfd_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  bool cleared = false;
  GfxGraphics* g = nd_open_draw(ctx, dc, width, height, draw_mode, P1000, cleared);
  if (!g) {
    if (cleared) forget(dc);
    return;
  }
  // The view's geometry first: the full-frame state compares it.
  if (p1000_plan_view == 1) {
    p1000_map_cy = 116;
    p1000_map_radius = 75;
  }
  const FullFrameState state = full_frame_state();
  const Painted* shown = painted_slot(dc);
  P1000Frame f{ctx, hdg_change_timer < 2 || !shown || !(shown->state == state),
               p1000_map_heading(),
               nd_background_colour(P1000MFDBkgrdColorRed, P1000MFDBkgrdColorGreen, P1000MFDBkgrdColorBlue),
               0, 0};
  active_or_present_point(p1000_plan_view != 0, f.ref_lat, f.ref_lon);
  {
    LayerObjects o(g);
    if (f.full) {
      gfx_fill_rect(g, o.brush(f.background), 0, 0, int32_t(P1000.width), int32_t(P1000.height));
    } else if (p1000_plan_view == 0) {
      GfxBrush* black = o.brush(COLOUR_BLACK);
      nd_fill(g, black, MASK_A);
      nd_fill(g, black, MASK_B);
    } else {
      // The plan view's symbols stand anywhere in its area: a partial frame wipes it all.
      const PlanArea a = plan_area();
      DrawPoint pts[std::size(a.pts)];
      for (size_t i = 0; i < std::size(a.pts); ++i) pts[i] = {double(a.pts[i].x), double(a.pts[i].y)};
      nd_fill(g, o.brush(COLOUR_BLACK), pts);
    }
  }
  p1000_mfd_set_clip(f, g, p1000_plan_view == 0 ? 1 : 2);
  nd_trace("compass");
  p1000_mfd_compass_draw(f, g);
  if (p1000_plan_view == 0) {
    nd_trace("heading_marker");
    p1000_mfd_heading_marker_draw(f, g);
    gfx_reset_clip(g);
    p1000_mfd_set_clip(f, g, 2);
  }
  map_layers(f, g, draw_mode);
  gfx_reset_clip(g);
  p1000_mfd_set_clip(f, g, 2);
  if (fpl_active_index != FPL_NO_PLAN) {
    nd_trace("waypoint_data");
    p1000_mfd_waypoint_data_draw(f, g);
  }
  p1000_mfd_range_boxes_draw(f, g);
  p1000_canvas(g, f);
  p1000_mfd_set_clip(f, g, 2);
  overlays(f, g);
  gfx_reset_clip(g);
  p1000_canvas(g, f);
  nd_trace("status");
  p1000_mfd_status_draw(f, g);
  gfx_reset_clip(g);
  if (tcas_window()) {
    nd_trace("tcas_window");
    p1000_mfd_tcas_window_draw(f, g);
  }
  gfx_delete(g);
  if (f.full) remember(dc, state);
}
