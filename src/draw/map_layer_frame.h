// What the map layers share: the display geometry they read, the plan-centre
// reference point, the refresh of a pair of nearby lists, the scaled and half
// frames of self-framed members and the ident labels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "draw/draw_toolkit.h"
#include "module/display_state.h"
#include "navdb/navdb.h"

// The display geometry the layers read (centres, radii, plan centre) is display
// state (module/display_state.h).

// ---- reference points ----

// The plan-centre waypoint while `plan_mode` holds and a plan is active: record
// `plan_center_index` of the active plan when it is 1 or more and within the plan,
// else the active waypoint; a route break there gives the next placed record (else the
// placed one before). Otherwise, or when the active index is not a record of the plan
// or none is placed, the present position. Returns true when a plan record was used.
bool plan_centre_point(bool plan_mode, double& lat, double& lon);

// The active waypoint when `use_active` holds and it is a record of the plan (a route
// break there gives the next placed record, else the placed one before), else the
// present position.
void active_or_present_point(bool use_active, double& lat, double& lon);

// ---- nearby lists ----

struct NearListPair {
  NavPoint* wide_centre;
  NavPoint* close_centre;
  void (*build_wide)(double lat, double lon);
  void (*build_close)(double lat, double lon);
};

extern const NearListPair NEAR_AIRPORT_LISTS;
extern const NearListPair NEAR_NAVAID_LISTS;
extern const NearListPair NEAR_AIRWAY_FIX_LISTS;

// Distance above which a wide list, and a close list, is built again.
constexpr double NEAR_WIDE_REFRESH_NM = 200.0;
constexpr double NEAR_CLOSE_REFRESH_NM = 50.0;

// Builds the wide list around the build point when the refresh point lies more
// than 200 NM from its centre, then the close list when the close-refresh point
// lies more than 50 NM from its centre. A centre that was never set (-999) or
// is not a position always builds. The distances pass through map_distance_px.
void refresh_near_lists(const NearListPair& lists, double refresh_lat, double refresh_lon, double close_lat,
                        double close_lon, double build_lat, double build_lon);

// ---- frames ----

// Design-unit multipliers and projection centre of a layer's frame.
struct LayerFrame {
  double kx = 0, ky = 0;  // design length to world length
  double x0 = 0, y0 = 0;  // projection centre in world units (0, 0 but in the half frame)
  bool ok = false;
  double klabel = 0;      // label size scale when not kx (0: kx)
  double label_scale() const { return klabel > 0 ? klabel : kx; }
};

// Scaled frame of a self-framed member (map centre in design units).
LayerFrame scaled_layer_frame(GfxGraphics* g, const GaugeSurface* ctx, DesignCanvas canvas, double cx, double cy);
// Half frame of the Primus 1000 MFD: scale 0.5, kx = 2 w / 272, ky = 2 h / 314; the
// projection about the centre in design units, then x times kx and y times ky (one
// scale on each axis, as the display's canvas). Sets map_px_per_nm = radius / range.
LayerFrame half_layer_frame(GfxGraphics* g, const GaugeSurface* ctx, double cx, double cy, double radius,
                            double range);
// Multipliers of a caller-framed member that is given only the image size.
LayerFrame image_size_frame(const GaugeSurface* size, DesignCanvas canvas);
// Restores the Primus 1000 MFD's design scale.
void restore_p1000_scale(GfxGraphics* g, const GaugeSurface* ctx);
// Up direction of the Primus 1000 MFD's map: north (0) in its plan view
// (`p1000_plan_view` 1), else `map_heading`. The display never writes `map_heading`.
double p1000_map_heading();

// ---- drawing objects ----

// Pens, brushes and fonts made for one layer draw and released together when it
// ends. Past the fixed capacity nothing more is made (null: that item draws nothing).
struct LayerObjects {
  static constexpr int32_t CAPACITY = 16;
  GfxGraphics* g;
  GfxPen* pens[CAPACITY] = {};
  GfxBrush* brushes[CAPACITY] = {};
  GfxFontFamily* families[CAPACITY] = {};
  GfxFont* fonts[CAPACITY] = {};
  GfxArrowCap* cap = nullptr;
  int32_t npens = 0, nbrushes = 0, nfamilies = 0, nfonts = 0;

  explicit LayerObjects(GfxGraphics* graphics) : g(graphics) {}
  ~LayerObjects();
  LayerObjects(const LayerObjects&) = delete;
  LayerObjects& operator=(const LayerObjects&) = delete;

  GfxPen* pen(uint32_t argb, double width, int32_t dash = GFX_DASH_SOLID);
  GfxBrush* brush(uint32_t argb);
  GfxFont* font(const char* family, double size_px, int32_t style);
  // A pen with a filled arrowhead end cap (height and width 3).
  GfxPen* arrow_pen(uint32_t argb, double width);
};

// ---- labels ----

// Wide capacity of a map label: an ident longer than 6 characters draws none.
constexpr int32_t MAP_LABEL_CAPACITY = 7;

// Draws `ident` at (x, y) through the 7-unit label buffer, first cut to 5
// characters when `cut_to_5` holds.
void draw_map_label(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y,
                    const char* ident, bool cut_to_5);

// ---- navaid and fix symbols ----

constexpr int32_t SYMBOL_TWO_CIRCLES = 0;  // the NDB symbol a member draws itself

struct PointSymbol {
  int32_t code;    // draw_map_symbol code, or SYMBOL_TWO_CIRCLES
  int32_t colour;  // colour selector of the code
};

// Constants of one navaid or fix member (design units).
struct PointLayerStyle {
  PointSymbol vor;           // records of type "V"
  PointSymbol other;         // every other record (only "N" when switched)
  bool switched;             // "V" only while vor_on, "N" only while ndb_on, others never
  double sx, sy;             // symbol offset from the projected point
  double label_size;         // "Arial" bold, times kx
  uint32_t label_colour;
  double lx, ly;             // label offset from the symbol point
  double lx_per_char;        // added times the ident's length
  bool label_from_point;     // offset from the projected point instead
  uint32_t ring_colour;      // pen of the two-circle symbol (width kx)
};

// A record of the active plan from record `from` on (while a plan is active) with the
// navigation record's ident, at its point.
bool on_active_plan(const NavRecord& r, int32_t from = 0);

struct PointLayerView {
  LayerFrame f;
  double ref_lat = 0, ref_lon = 0, heading = 0, range = 0;
  double margin = 50;        // records beyond 2 x range + margin are skipped
  int32_t vor_on = 1, ndb_on = 1;
  // The first record of the active plan the display's route labels (-1 none): a record
  // from there on is not labelled again by this layer.
  int32_t route_labelled_from = -1;
};

// View of a self-framed member in its scaled frame: the plan-centre reference in
// plan mode, north up when `north_up` holds, else the map heading.
PointLayerView self_framed_view(GfxGraphics* g, const GaugeSurface* ctx, DesignCanvas canvas, double cx, double cy,
                                double range, bool plan_mode, bool north_up);
// View of a caller-framed member: the caller's multipliers (frame usable) and reference.
PointLayerView caller_framed_view(double kx, double ky, double ref_lat, double ref_lon, double heading_deg,
                                  double range);

// Plots records 1..count of a nearby list with `style`; map_px_per_nm is set.
void draw_point_layer(GfxGraphics* g, const PointLayerStyle& style, const PointLayerView& view,
                      const NavRecord* list, int32_t count);

// Range gate: a positive, finite range no larger than the limit.
bool range_within(double range, double limit);

// A hash of the bits of `n` values (positions and the like) and a seed, every bit of it
// stirred: kept measurements are filed and marked by it.
uint64_t values_hash(const double* values, size_t n, uint64_t seed);
// The distance from a reference point to a position, into the great-circle
// scratch values; false when it is not finite.
bool measure_from(double ref_lat, double ref_lon, double lat, double lon);
// measure_from without its table of measurements kept, for a caller that keeps its own.
bool measure_afresh(double ref_lat, double ref_lon, double lat, double lon);
// Asks the processor for what measure_from keeps of these values, for a loop that
// measures them MEASURE_AHEAD points later (a table of thousands is read at random).
void measure_ahead(double ref_lat, double ref_lon, double lat, double lon);
constexpr int32_t MEASURE_AHEAD = 4;
