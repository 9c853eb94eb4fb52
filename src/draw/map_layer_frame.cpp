// What the map layers share.
#include "draw/map_layer_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "flightplan/flight_plan.h"
#include "draw/ink_reach.h"
#include "draw/map_symbols.h"
#include "guidance/fms_state.h"


const NearListPair NEAR_AIRPORT_LISTS{&near_airports_wide_centre, &near_airports_centre, build_near_airports,
                                      build_near_airports_close};
const NearListPair NEAR_NAVAID_LISTS{&near_navaids_wide_centre, &near_navaids_centre, build_near_navaids,
                                     build_near_navaids_close};
const NearListPair NEAR_AIRWAY_FIX_LISTS{&near_airway_fixes_wide_centre, &near_airway_fixes_centre,
                                         build_near_airway_fixes, build_near_airway_fixes_close};

namespace {

bool usable_position(double lat, double lon) {
  return std::isfinite(lat) && std::isfinite(lon) && std::fabs(lat) <= 90.0 && std::fabs(lon) <= 180.0;
}

// Whether a list built around `centre` is older than `limit` NM from the point.
bool list_stale(const NavPoint& centre, double lat, double lon, double limit) {
  if (!usable_position(centre.lat, centre.lon)) return true;
  compute_gc_distance_course(lat, lon, centre.lat, centre.lon, map_distance_px, gc_course_deg);
  return !(map_distance_px <= limit);
}

}  // namespace

bool plan_centre_point(bool plan_mode, double& lat, double& lon) {
  lat = present_lat;
  lon = present_lon;
  if (!plan_mode || !fpl_valid_index(fpl_active_index, fpl_active_last)) return false;
  int32_t k = fpl_active_index;
  if (plan_center_index >= 1 && fpl_valid_index(plan_center_index, fpl_active_last)) k = plan_center_index;
  k = fpl_placed_from(fpl_active, fpl_active_last, k);
  if (k < 0) return false;
  lat = fpl_active[k].lat;
  lon = fpl_active[k].lon;
  return true;
}

void active_or_present_point(bool use_active, double& lat, double& lon) {
  lat = present_lat;
  lon = present_lon;
  if (!use_active || !fpl_valid_index(fpl_active_index, fpl_active_last)) return;
  const int32_t k = fpl_placed_from(fpl_active, fpl_active_last, fpl_active_index);
  if (k < 0) return;
  lat = fpl_active[k].lat;
  lon = fpl_active[k].lon;
}

void refresh_near_lists(const NearListPair& lists, double refresh_lat, double refresh_lon, double close_lat,
                        double close_lon, double build_lat, double build_lon) {
  if (list_stale(*lists.wide_centre, refresh_lat, refresh_lon, NEAR_WIDE_REFRESH_NM))
    lists.build_wide(build_lat, build_lon);
  if (list_stale(*lists.close_centre, close_lat, close_lon, NEAR_CLOSE_REFRESH_NM))
    lists.build_close(build_lat, build_lon);
}

LayerFrame scaled_layer_frame(GfxGraphics* g, const GaugeSurface* ctx, DesignCanvas canvas, double cx, double cy) {
  LayerFrame f;
  if (!ctx) {
    gfx_reset_transform(g);
    return f;
  }
  f.ok = set_scaled_frame(g, ctx->width, ctx->height, canvas, cx, cy, f.kx, f.ky);
  return f;
}

LayerFrame half_layer_frame(GfxGraphics* g, const GaugeSurface* ctx, double cx, double cy, double radius,
                            double range) {
  LayerFrame f;
  gfx_reset_transform(g);
  if (!ctx || ctx->width <= 0 || ctx->height <= 0) return f;
  gfx_scale(g, 0.5, 0.5, GFX_PREPEND);
  f.kx = 2.0 * ctx->width / CANVAS_P1000_MFD.width;
  f.ky = 2.0 * ctx->height / CANVAS_P1000_MFD.height;
  // Labels by the smaller scale, as the display's own texts: one height on any gauge's shape.
  f.klabel = f.kx < f.ky ? f.kx : f.ky;
  f.x0 = cx;
  f.y0 = cy;
  map_px_per_nm = radius / range;
  f.ok = true;
  return f;
}

LayerFrame image_size_frame(const GaugeSurface* size, DesignCanvas canvas) {
  LayerFrame f;
  if (!size || size->width <= 0 || size->height <= 0) return f;
  double sum = double(size->width) + double(size->height);
  f.kx = sum / canvas.width;
  f.ky = sum / canvas.height;
  f.ok = true;
  return f;
}

void restore_p1000_scale(GfxGraphics* g, const GaugeSurface* ctx) {
  if (ctx)
    set_canvas_scale(g, ctx->width, ctx->height, CANVAS_P1000_MFD);
  else
    gfx_reset_transform(g);
}

double p1000_map_heading() { return p1000_plan_view == 1 ? 0.0 : map_heading; }

void draw_map_label(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y,
                    const char* ident, bool cut_to_5) {
  char text[nav_ident_size + 1];
  size_t n = strnlen(ident, nav_ident_size);
  if (cut_to_5 && n > 5) n = 5;
  std::memcpy(text, ident, n);
  text[n] = '\0';
  draw_text(g, font, brush, x, y, MAP_LABEL_CAPACITY, text);
}

bool range_within(double range, double limit) { return std::isfinite(range) && range > 0.0 && range <= limit; }

namespace {

// Measurements kept by the four values they were measured from: every map display of a
// frame measures the same points from the same reference. One entry a slot.
struct KeptMeasure {
  uint64_t from[4];  // the bits of ref_lat, ref_lon, lat, lon (NaN bits: none yet)
  double nm, course;
};
constexpr size_t MEASURE_SLOTS = size_t(1) << 14;
std::vector<KeptMeasure> kept_measures;

// The slot of the measurement from these values, their bits into `from`.
KeptMeasure& measure_slot(double ref_lat, double ref_lon, double lat, double lon, uint64_t (&from)[4]) {
  const double values[4] = {ref_lat, ref_lon, lat, lon};
  std::memcpy(from, values, sizeof from);
  if (kept_measures.empty()) kept_measures.assign(MEASURE_SLOTS, KeptMeasure{{~0ull, ~0ull, ~0ull, ~0ull}, NAN, NAN});
  return kept_measures[values_hash(values, 4, 0) & (MEASURE_SLOTS - 1)];
}

}  // namespace

uint64_t values_hash(const double* values, size_t n, uint64_t seed) {
  uint64_t h = 0x9E3779B97F4A7C15ull;
  auto mix = [&h](uint64_t w) { h = (h ^ w) * 0xBF58476D1CE4E5B9ull, h ^= h >> 31; };
  mix(seed);
  for (size_t i = 0; i < n; ++i) {
    uint64_t w;
    std::memcpy(&w, &values[i], sizeof w);
    mix(w);
  }
  h *= 0x94D049BB133111EBull;
  return h ^ (h >> 29);
}

void measure_ahead(double ref_lat, double ref_lon, double lat, double lon) {
  uint64_t from[4];
  const KeptMeasure& k = measure_slot(ref_lat, ref_lon, lat, lon, from);
  __builtin_prefetch(&k);
  __builtin_prefetch(reinterpret_cast<const char*>(&k) + sizeof k - 1);
}

namespace {

// The distance routine would measure a position that is not finite as 0 NM.
bool measurable(double ref_lat, double ref_lon, double lat, double lon) {
  return std::isfinite(ref_lat) && std::isfinite(ref_lon) && std::isfinite(lat) && std::isfinite(lon);
}

}  // namespace

bool measure_afresh(double ref_lat, double ref_lon, double lat, double lon) {
  if (!measurable(ref_lat, ref_lon, lat, lon)) return false;
  compute_gc_distance_course(ref_lat, ref_lon, lat, lon, gc_distance_nm, gc_course_deg);
  return std::isfinite(gc_distance_nm) && std::isfinite(gc_course_deg);
}

bool measure_from(double ref_lat, double ref_lon, double lat, double lon) {
  if (!measurable(ref_lat, ref_lon, lat, lon)) return false;
  uint64_t from[4];
  KeptMeasure& k = measure_slot(ref_lat, ref_lon, lat, lon, from);
  if (std::memcmp(k.from, from, sizeof from) != 0) {
    compute_gc_distance_course(ref_lat, ref_lon, lat, lon, k.nm, k.course);
    std::memcpy(k.from, from, sizeof from);
  }
  gc_distance_nm = k.nm;
  gc_course_deg = k.course;
  return std::isfinite(gc_distance_nm) && std::isfinite(gc_course_deg);
}

LayerObjects::~LayerObjects() {
  for (int32_t i = 0; i < npens; ++i) gfx_pen_delete(pens[i]);
  for (int32_t i = 0; i < nbrushes; ++i) gfx_brush_delete(brushes[i]);
  for (int32_t i = 0; i < nfonts; ++i) gfx_font_delete(fonts[i]);
  for (int32_t i = 0; i < nfamilies; ++i) gfx_family_delete(families[i]);
  gfx_arrow_cap_delete(cap);
}

GfxPen* LayerObjects::pen(uint32_t argb, double width, int32_t dash) {
  if (npens >= CAPACITY) return nullptr;
  GfxPen* p = gfx_pen_create(g, argb, width);
  if (p && dash != GFX_DASH_SOLID) gfx_pen_set_dash(g, p, dash);
  pens[npens++] = p;
  return p;
}

GfxBrush* LayerObjects::brush(uint32_t argb) {
  if (nbrushes >= CAPACITY) return nullptr;
  GfxBrush* b = gfx_brush_create(g, argb);
  brushes[nbrushes++] = b;
  return b;
}

GfxFont* LayerObjects::font(const char* family, double size_px, int32_t style) {
  if (nfonts >= CAPACITY || nfamilies >= CAPACITY) return nullptr;
  GfxFontFamily* fam = gfx_family_create(g, family);
  families[nfamilies++] = fam;
  GfxFont* f = gfx_font_create(g, fam, size_px, style);
  fonts[nfonts++] = f;
  return f;
}

GfxPen* LayerObjects::arrow_pen(uint32_t argb, double width) {
  GfxPen* p = pen(argb, width);
  if (!p) return p;
  if (!cap) cap = gfx_arrow_cap_create(g, 3, 3, true);
  gfx_pen_set_end_cap(g, p, cap);
  return p;
}

PointLayerView self_framed_view(GfxGraphics* g, const GaugeSurface* ctx, DesignCanvas canvas, double cx, double cy,
                                double range, bool plan_mode, bool north_up) {
  PointLayerView v;
  v.f = scaled_layer_frame(g, ctx, canvas, cx, cy);
  plan_centre_point(plan_mode, v.ref_lat, v.ref_lon);
  v.heading = north_up ? 0.0 : map_heading;
  v.range = range;
  return v;
}

PointLayerView caller_framed_view(double kx, double ky, double ref_lat, double ref_lon, double heading_deg,
                                  double range) {
  PointLayerView v;
  v.f.kx = kx;
  v.f.ky = ky;
  v.f.ok = true;
  v.ref_lat = ref_lat;
  v.ref_lon = ref_lon;
  v.heading = heading_deg;
  v.range = range;
  return v;
}

bool on_active_plan(const NavRecord& r, int32_t from) {
  if (!fpl_valid_index(fpl_active_index, fpl_active_last)) return false;
  const int32_t last = std::min(fpl_active_last, FPL_MAX_LAST);
  for (int32_t i = std::max(from, 0); i <= last; ++i) {
    const FlightPlanWpt& w = fpl_active[i];
    // An airport's record stands on its reference point, a little off the list's.
    if (std::fabs(w.lat - r.lat) < 0.02 && std::fabs(w.lon - r.lon) < 0.02 &&
        std::strncmp(w.ident, r.ident, std::min(sizeof w.ident, sizeof r.ident)) == 0)
      return true;
  }
  return false;
}

void draw_point_layer(GfxGraphics* g, const PointLayerStyle& style, const PointLayerView& view,
                      const NavRecord* list, int32_t count) {
  const LayerFrame& f = view.f;
  LayerObjects obj(g);
  GfxFont* font = obj.font(FONT_ARIAL, style.label_size * f.label_scale(), GFX_FONT_BOLD);
  GfxBrush* brush = obj.brush(style.label_colour);
  bool rings = style.vor.code == SYMBOL_TWO_CIRCLES || style.other.code == SYMBOL_TWO_CIRCLES;
  GfxPen* ring_pen = rings ? obj.pen(style.ring_colour, f.kx) : nullptr;
  if (!f.ok) return;

  double limit = 2.0 * view.range + view.margin;
  double label_px = style.label_size * f.label_scale();
  bool half_offset_set = false;  // the hex-lobe symbol sets the half pixel offset
  for (int32_t i = 1; i <= count; ++i) {
    if (i + MEASURE_AHEAD <= count)
      measure_ahead(view.ref_lat, view.ref_lon, list[i + MEASURE_AHEAD].lat, list[i + MEASURE_AHEAD].lon);
    const NavRecord& r = list[i];
    bool vor = std::strcmp(r.type, "V") == 0;
    if (style.switched) {
      bool ndb = std::strcmp(r.type, "N") == 0;
      if (!(vor && view.vor_on == 1) && !(ndb && view.ndb_on == 1)) continue;
    }
    if (!measure_from(view.ref_lat, view.ref_lon, r.lat, r.lon)) continue;
    if (!(gc_distance_nm <= limit)) continue;
    map_distance_px = gc_distance_nm * map_px_per_nm;
    double x, y;
    polar_to_screen(view.heading, gc_course_deg, f.x0, f.y0, map_distance_px, x, y);
    // Symbol point in world units.
    double px = (x + style.sx) * f.kx;
    double py = (y + style.sy) * f.ky;
    const PointSymbol& sym = vor ? style.vor : style.other;
    if (sym.code == SYMBOL_TWO_CIRCLES) {
      if (ellipse_reaches_image(g, f.kx, px, py, 10 * f.kx, 10 * f.ky)) {
        draw_ellipse_d(g, ring_pen, px, py, 10 * f.kx, 10 * f.ky);
        draw_ellipse_d(g, ring_pen, px + 2 * f.kx, py + 2 * f.ky, 6 * f.kx, 6 * f.ky);
      }
    } else if (map_symbol_reaches_image(g, px, py, sym.code, f.kx, f.ky)) {
      draw_map_symbol(g, px, py, sym.code, -99, f.kx, f.ky, sym.colour, view.range);
    } else if (sym.code == SYMBOL_HEX_LOBES && !half_offset_set) {
      gfx_set_pixel_offset(g, GFX_PIXEL_OFFSET_HALF);  // what the symbol not drawn would have left
    }
    if (sym.code == SYMBOL_HEX_LOBES) half_offset_set = true;
    size_t chars = strnlen(r.ident, nav_ident_size);
    double lx = style.lx + style.lx_per_char * double(chars);
    double ax = px, ay = py;
    if (style.label_from_point) {
      ax -= style.sx * f.kx;
      ay -= style.sy * f.ky;
    }
    double tx = ax + lx * f.kx, ty = ay + style.ly * f.ky;
    if (view.route_labelled_from >= 0 && on_active_plan(r, view.route_labelled_from)) continue;
    if (text_reaches_image(g, label_px, tx, ty, int32_t(chars))) draw_map_label(g, font, brush, tx, ty, r.ident, false);
  }
}
