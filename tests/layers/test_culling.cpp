// Items that leave no ink are not drawn: a layer drawn on an image that ends at the
// surface's right and bottom edges (or at a clip) gives, pixel for pixel, what it gives
// on a larger image cut back to that size, while the smaller image records fewer items.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "draw/atc_boundary_layer.h"
#include "draw/intersection_layer.h"
#include "draw/navaid_layer.h"
#include "draw/nearby_airport_layer.h"
#include "layer_scene.h"

namespace {

constexpr double LAT = 47.0, LON = -122.0;
constexpr int32_t W = 244, H = 302, MORE = 160;  // the B737 ND canvas, drawn 1:1

// A raster image with a recording, on a surface of W x H.
struct RasterScene {
  std::vector<uint32_t> px;
  GaugeImage image;
  GaugeSurface surface{W, H};
  uintptr_t token = 0;
  GfxGraphics* g = nullptr;
  RasterScene(int32_t w, int32_t h) : px(size_t(w) * h, 0), image{px.data(), w, h, w * 4, nullptr} {
    token = gdiplus_start();
    gfx_recording_enable(&image);
    gfx_create(&image, &g);
    gfx_set_smoothing(g, GFX_SMOOTHING_ANTIALIAS);
  }
  ~RasterScene() {
    gfx_delete(g);
    gfx_recording_disable(&image);
    gdiplus_stop(token);
  }
  GfxRecording& rec() { return *gfx_recording_of(&image); }
  uint32_t at(int32_t x, int32_t y) const { return px[size_t(y) * size_t(image.width) + size_t(x)]; }
};

// An ellipse clip about the map centre, as the displays set one before their layers.
// `widened`: with a figure of no area from corner to corner of the larger image, so that
// its bounding box takes in the whole image while its inside is the same.
void clip_to_ellipse(GfxGraphics* g, bool widened) {
  GfxPath* path = gfx_path_create(g);
  gfx_path_add_ellipse(g, path, 40, 120, 150, 160);
  if (widened) {
    gfx_path_add_line(g, path, 0, 0, W + MORE, H + MORE);
    gfx_path_close_figure(g, path);
  }
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

void set_table(NavRecord* table, int32_t& count, const std::vector<NavRecord>& recs) {
  count = 0;
  for (const NavRecord& r : recs) table[++count] = r;
}

// Records every `step` NM from `from` to `to` along a course.
std::vector<NavRecord> sweep(const char* type, double course, double from, double to, double step) {
  std::vector<NavRecord> out;
  int32_t k = 0;
  for (double d = from; d <= to; d += step) {
    char ident[16];
    std::snprintf(ident, sizeof ident, "P%d", k++ % 1000);
    out.push_back(nav_record(ident, point_from(LAT, LON, course, d), type));
  }
  return out;
}

// One boundary through the points.
void set_boundary(const char* label, const std::vector<NavPoint>& pts, NavPoint label_at) {
  atc_boundary_count = 1;
  atc_boundary_point_count = 0;
  AtcBoundary& bd = atc_boundaries[1];
  bd = AtcBoundary{};
  nav_copy_text(bd.ident, sizeof bd.ident, "KZZZ001");
  nav_copy_text(bd.label, sizeof bd.label, label);
  bd.first_point = 1;
  bd.count = int32_t(pts.size());
  for (const NavPoint& p : pts) atc_boundary_points[++atc_boundary_point_count] = p;
  bd.label_lat = label_at.lat;
  bd.label_lon = label_at.lon;
  atc_boundaries_loaded = 1;
  atc_bdry_on = 1;
}

struct Case {
  const char* name;
  std::function<void()> setup;
  std::function<void(const GaugeSurface*, GfxGraphics*)> draw;
  bool clip;
  int32_t culled_at_least;  // primitives and texts the larger image (or clip) records beyond the smaller's
};

// The B737 expanded map at 40 NM: 5.375 units a NM about (122, 249); the right edge
// lies 22.7 NM east, the bottom edge 9.7 NM south.
void b737_40() {
  place_aircraft(LAT, LON, 0);
  b737_map_on(5, 40);
  for (NavPoint* centre : {&near_airports_wide_centre, &near_airports_centre, &near_navaids_wide_centre,
                           &near_navaids_centre, &near_airway_fixes_wide_centre, &near_airway_fixes_centre})
    centre->lat = centre->lon = -999;  // the lists are built again from the tables set
}

const Case CASES[] = {
    {"navaids across the right edge",
     [] {
       b737_40();
       std::vector<NavRecord> v = sweep("V", 90, 20, 30, 0.07), n = sweep("N", 85, 20, 30, 0.07);
       v.insert(v.end(), n.begin(), n.end());
       set_table(nav_navaids, nav_navaid_count, v);
     },
     [](const GaugeSurface* s, GfxGraphics* g) { draw_b737_nd_navaids_layer(s, g); }, false, 40},
    {"fixes across the bottom edge",
     [] {
       b737_40();
       set_table(nav_airway_fixes, nav_airway_fix_count, sweep("I", 180, 7, 14, 0.05));
     },
     [](const GaugeSurface* s, GfxGraphics* g) { draw_b737_nd_fixes_layer(s, g); }, false, 40},
    {"airport labels sticking up from below the bottom edge",
     [] {
       b737_40();
       set_table(nav_airports, nav_airport_count, sweep("", 170, 8, 14, 0.05));
     },
     [](const GaugeSurface* s, GfxGraphics* g) { draw_b737_nd_airports_layer(s, g); }, false, 10},
    {"navaids and fixes just inside and outside an ellipse clip",
     [] {
       b737_40();
       set_table(nav_navaids, nav_navaid_count, sweep("V", 60, 0, 30, 0.1));
       set_table(nav_airway_fixes, nav_airway_fix_count, sweep("I", 200, 0, 20, 0.1));
     },
     [](const GaugeSurface* s, GfxGraphics* g) {
       draw_b737_nd_navaids_layer(s, g);
       draw_b737_nd_fixes_layer(s, g);
     },
     true, 40},
    {"a boundary crossing the whole map with no point on it",
     [] {
       b737_40();
       // 280 to 80 degrees 200 NM out passes 187 units north of the centre; then two
       // segments right of the image.
       set_boundary("XMP",
                    {point_from(LAT, LON, 280, 200), point_from(LAT, LON, 80, 200), point_from(LAT, LON, 100, 30),
                     point_from(LAT, LON, 120, 35)},
                    point_from(LAT, LON, 80, 200));
     },
     [](const GaugeSurface* s, GfxGraphics* g) { draw_b737_nd_boundaries(s, g); }, false, 1},
    {"a ring of 72 points about the right edge, its west chunks wholly on the map",
     [] {
       b737_40();
       NavPoint c = point_from(LAT, LON, 90, 21);
       std::vector<NavPoint> pts;
       for (int32_t k = 0; k <= 72; ++k) pts.push_back(point_from(c.lat, c.lon, k * 5.0, 8));
       set_boundary("RNG", pts, c);
     },
     [](const GaugeSurface* s, GfxGraphics* g) { draw_b737_nd_boundaries(s, g); }, false, 10},
    {"a boundary across the date line",
     [] {
       place_aircraft(LAT, 179.95, 0);
       b737_map_on(5, 40);
       // Across the line and back, on the map.
       set_boundary("DLN", {{LAT + 0.1, 179.6}, {LAT + 0.1, -179.6}, {LAT - 0.2, -179.7}, {LAT - 0.2, 179.7}},
                    {LAT + 0.1, 179.9});
     },
     [](const GaugeSurface* s, GfxGraphics* g) { draw_b737_nd_boundaries(s, g); }, false, 0},
};

TEST(Culling, ALayerOnTheImageDrawsWhatALargerImageShowsThereAndRecordsLess) {
  for (const Case& c : CASES) {
    SCOPED_TRACE(c.name);
    c.setup();
    RasterScene small(W, H), large(W + MORE, H + MORE);
    // Drawn twice: the second draw finds every repeated symbol kept from the first, in
    // both images alike.
    for (int32_t pass = 0; pass < 2; ++pass)
      for (RasterScene* s : {&small, &large}) {
        s->rec().clear();
        gfx_reset_transform(s->g);
        gfx_reset_clip(s->g);
        gfx_clear(s->g, COLOUR_BLACK);
        if (c.clip) clip_to_ellipse(s->g, s == &large);
        c.draw(&s->surface, s->g);
      }
    int32_t differ = 0, inked = 0;
    for (int32_t y = 0; y < H; ++y)
      for (int32_t x = 0; x < W; ++x) {
        differ += small.at(x, y) != large.at(x, y);
        inked += small.at(x, y) != COLOUR_BLACK;
      }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(inked, 0);
    EXPECT_GE(large.rec().primitive_count() - small.rec().primitive_count(), c.culled_at_least);
  }
}

TEST(Culling, LabelsOfSymbolsPastTheEdgeAndCrossingBoundariesAreStillDrawn) {
  b737_40();
  // Airports 12 to 12.5 NM south: their circles lie below the image, their labels
  // (20 units above) on it.
  set_table(nav_airports, nav_airport_count, sweep("", 180, 12, 12.5, 0.25));
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_airports_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().count(GfxOp::Ellipse), 0);
  EXPECT_EQ(s.rec().texts(), (std::vector<std::string>{"P0", "P1", "P2"}));

  // A boundary whose two points lie 200 NM either side: its one segment crosses the map.
  s.rec().clear();
  set_boundary("XMP", {point_from(LAT, LON, 270, 200), point_from(LAT, LON, 90, 200)}, point_from(LAT, LON, 90, 200));
  draw_b737_nd_boundaries(s.ctx(), s.g);
  EXPECT_EQ(s.rec().count(GfxOp::Line), 1);
  EXPECT_TRUE(s.rec().texts().empty());  // its label lies 200 NM east
}

// A boundary is judged by how far its outline reaches from its first point: a wide ring
// whose first point lies far north still draws where its south side crosses the map; a
// small ring as far away draws nothing.
TEST(Culling, BoundariesAreJudgedByTheirWholeOutline) {
  struct Ring {
    const char* what;
    double centre_nm, radius_nm;  // north of the aircraft
    bool drawn;
  };
  const Ring rings[] = {{"wide, its south side 20 NM north", 120, 100, true},
                        {"wide, its south side 10 NM south", 110, 120, true},
                        {"small, 300 NM north", 300, 30, false}};
  for (const Ring& r : rings) {
    SCOPED_TRACE(r.what);
    b737_40();
    NavPoint c = point_from(LAT, LON, 360, r.centre_nm);
    std::vector<NavPoint> pts;
    for (int32_t k = 0; k <= 36; ++k) pts.push_back(point_from(c.lat, c.lon, k * 10.0, r.radius_nm));
    set_boundary("RNG", pts, c);
    LayerScene s(CANVAS_B737_ND);
    draw_b737_nd_boundaries(s.ctx(), s.g);
    EXPECT_EQ(s.rec().count(GfxOp::Line) > 0, r.drawn);
  }
}

}  // namespace
