// Texts of the Pro Line 4 MFD, EFS 50 EHSI and DU-1000 EHSI measured by their ink in
// the recording: inside the screen and their boxes, clear of their neighbours, and the
// range marks printing the ring distances they stand for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "displays/nd_corporate/nd_corporate.h"
#include "flightplan/route_progress.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/sim_vars.h"
#include "tests/nd/nd_scene.h"

using namespace nd_test;

namespace {

constexpr double LAT = 47.0, LON = -122.0;
constexpr double MIN_GAP = 2.0;  // design units between two texts' ink

bool inside(const GfxRectF& r, const GfxRectF& b) {
  return r.x >= b.x && r.y >= b.y && r.x + r.width <= b.x + b.width && r.y + r.height <= b.y + b.height;
}
// Ink boxes closer than `gap` on both axes.
bool touch(const GfxRectF& a, const GfxRectF& b, double gap = MIN_GAP) {
  return a.x < b.x + b.width + gap && b.x < a.x + a.width + gap && a.y < b.y + b.height + gap &&
         b.y < a.y + a.height + gap;
}
std::string box(const GfxRectF& r) {
  char s[96];
  std::snprintf(s, sizeof s, "(%.1f, %.1f)-(%.1f, %.1f)", r.x, r.y, r.x + r.width, r.y + r.height);
  return s;
}

// The display at the worst case of each text: the widest values, a plan, the heading
// being changed.
void busy_state() {
  place_aircraft(LAT, LON, 177);
  set_active_plan({"KSEA", "ALKIS", "CARRO", "OLM", "KPDX"}, 2, LAT, LON);
  dist_to_active_wpt = 27.2;
  ground_speed = 252;
  true_airspeed = 266;
  zulu_hour = 11;
  zulu_minute = 53;
  token341 = -40;
  lnav_on = 1;
  hdg_change_countdown = 5;
  ap_heading = 178;
  wind_direction = 233;
  wind_speed = 25;
}

struct Scene {
  NdScene s;
  explicit Scene(DesignCanvas c, Dispatcher d) : s(c, d) { s.draw(); }
  // Ink of the first (or last) text `t` that has ink; nullptr when there is none.
  const GfxTextItem* find(const std::string& t, bool last = false) {
    items = s.rec().text_items();
    const GfxTextItem* found = nullptr;
    for (const GfxTextItem& it : items)
      if (it.text == t && it.ink.width > 0 && (!found || last)) found = &it;
    return found;
  }
  std::vector<GfxTextItem> items;
};

// ---- Pro Line 4 MFD ----

// Two texts that must not touch, or (b null) one that must lie inside the screen.
struct Pair {
  int32_t format;
  double range;
  const char* a;
  const char* b;
};

TEST(CorporateTextFit, Proline4NeighboursApartAndInsideTheScreen) {
  busy_state();
  const Pair pairs[] = {
      {0, 40, "WX", "UTC"},       {1, 40, "WX", "UTC"},        {2, 40, "WX", "UTC"},          {3, 40, "WX", "UTC"},
      {0, 40, "UTC", "11:53"},    {1, 40, "UTC", "11:53"},     {2, 40, "UTC", "11:53"},       {3, 40, "UTC", "11:53"},
      {0, 40, "SAT", "-40"},      {1, 40, "SAT", "-40"},       {2, 40, "SAT", "-40"},         {3, 40, "SAT", "-40"},
      {0, 40, "TAT", "-40"},      {1, 40, "TAT", "-40"},       {2, 40, "TAT", "  0"},         {3, 40, "TAT", "  0"},
      {0, 40, "TAS", "266"},      {3, 40, "GS", "252"},        {0, 40, "HDG 178", "TTG 00:06"},
      {1, 40, "HDG 178", "TTG 00:06"}, {1, 40, "HDG 178", "CARRO           27NM"},
      {3, 40, "HDG 178", "---LB"}, {3, 40, "HDG 178", "KPDX  "}, {0, 40, "-40", nullptr},     {1, 40, "40.0", nullptr},
      {1, 320, "320.0", nullptr}, {3, 40, "40 ", nullptr},     {3, 320, "320", nullptr},      {3, 40, "HDG 178", nullptr},
  };
  for (const Pair& p : pairs) {
    proline4_mfd_format = p.format;
    proline4_mfd_range = p.range;
    Scene sc{CANVAS_PROLINE4_MFD, proline4_mfd_draw};
    const std::string where = "format " + std::to_string(p.format) + " \"" + p.a + "\" ";
    const GfxTextItem* a = sc.find(p.a, !p.b);  // the last "-40" is TAT's, at the right edge
    ASSERT_NE(a, nullptr) << where;
    const GfxRectF ia = a->ink;
    if (!p.b) {
      EXPECT_TRUE(inside(ia, {0, 0, 247, 285})) << where << box(ia);
      continue;
    }
    const GfxTextItem* b = sc.find(p.b);
    ASSERT_NE(b, nullptr) << where << p.b;
    EXPECT_FALSE(touch(ia, b->ink)) << where << box(ia) << " and \"" << p.b << "\" " << box(b->ink);
  }
}

// Through every heading: the "HDG" read-out clear of the turning scale labels, and no
// label in part under the heading box (a label is shown whole or not at all).
TEST(CorporateTextFit, Proline4HeadingReadoutAndBoxClearOfTheScaleLabels) {
  busy_state();
  fpl_active_index = FPL_NO_PLAN;  // no map labels
  struct Format {
    int32_t format;
    GfxRectF heading_box;  // box and pointer below it
  };
  for (const Format& f : {Format{1, {107, 42, 32, 17}}, Format{3, {107, 62, 32, 17}}}) {
    proline4_mfd_format = f.format;
    for (int32_t hdg = 0; hdg < 360; ++hdg) {
      place_aircraft(LAT, LON, hdg);
      ap_heading = hdg;
      Scene sc{CANVAS_PROLINE4_MFD, proline4_mfd_draw};
      char readout[16];
      std::snprintf(readout, sizeof readout, "%03d", hdg);
      const GfxTextItem* h = sc.find(std::string("HDG ") + readout);
      ASSERT_NE(h, nullptr) << hdg;
      const GfxRectF hdg_ink = h->ink;
      EXPECT_TRUE(inside(hdg_ink, {0, 0, 247, 285})) << hdg;
      for (const GfxTextItem& t : sc.items) {
        // The scale's labels: one or two digits at or below the box's height.
        const bool label = t.text.size() <= 2 && t.text.find_first_not_of("0123456789") == std::string::npos &&
                           t.ink.y >= f.heading_box.y - 4;
        if (!label || t.ink.width <= 0) continue;
        EXPECT_FALSE(touch(t.ink, hdg_ink, 1)) << "format " << f.format << " heading " << hdg << " label " << t.text;
        EXPECT_FALSE(touch(t.ink, f.heading_box, 0))
            << "format " << f.format << " heading " << hdg << " label " << t.text << " " << box(t.ink);
      }
    }
  }
}

// ---- EFS 50 EHSI ----

// The bearing legends' labels, values and "NM" and "WX OFF" above them: clear of each
// other, left of the lateral scale's box on the rose formats and inside the screen on all.
TEST(CorporateTextFit, Efs50BearingLegendsClearOfTheDeviationBoxAndInsideTheScreen) {
  busy_state();
  EFS50NavMode = 2;
  efs50_ehsi_range = 10;
  efs50_brg1_source = efs50_brg2_source = 2;  // FMS: the distance to the active waypoint
  struct Case {
    double distance;
    const char* value;
  };
  for (const Case& c : {Case{7.3, " 7.3"}, Case{27.2, "27.2"}, Case{127.2, "127.2"}, Case{1234.5, "1234.5"}}) {
    dist_to_active_wpt = c.distance;
    for (int32_t mode = 1; mode <= 7; ++mode) {
      efs50_ehsi_mode = mode;
      Scene sc{CANVAS_EFS50, efs50_ehsi_draw};
      sc.find("");
      std::vector<GfxRectF> labels, values, units, weather;
      for (const GfxTextItem& t : sc.items) {
        if (t.text == "FMS" && t.device.y > 195) labels.push_back(t.ink);
        if (t.text == c.value && t.device.y > 205) values.push_back(t.ink);
        if (t.text == "NM" && t.device.y > 205) units.push_back(t.ink);
        if (t.text == "WX OFF") weather.push_back(t.ink);
      }
      ASSERT_EQ(labels.size(), 2u) << mode;
      ASSERT_EQ(weather.size(), mode == 2 || mode == 6 || mode == 7 ? 1u : 0u) << mode;
      // Rows 10 units apart: "WX OFF", the labels, their values.
      for (const GfxRectF& w : weather) EXPECT_FALSE(touch(w, labels[0])) << mode << box(w) << box(labels[0]);
      ASSERT_EQ(values.size(), 2u) << mode << " " << c.value;
      ASSERT_EQ(units.size(), 2u) << mode << " " << c.value;
      for (int32_t p = 0; p < 2; ++p) {
        const std::string where = "format " + std::to_string(mode) + " pointer " + std::to_string(p + 1) + " " + c.value;
        // The lateral scale fills from x 73 on the rose formats.
        const float right = p == 0 && mode <= 3 ? 73.0f : float(CANVAS_EFS50.width);
        EXPECT_TRUE(inside(values[p], {0, 0, right, CANVAS_EFS50.height})) << where << box(values[p]);
        EXPECT_TRUE(inside(units[p], {0, 0, right, CANVAS_EFS50.height})) << where << box(units[p]);
        EXPECT_FALSE(touch(values[p], units[p], 1)) << where;
        EXPECT_FALSE(touch(labels[p], values[p])) << where << box(labels[p]) << box(values[p]);
        EXPECT_FALSE(touch(labels[p], units[p])) << where << box(labels[p]) << box(units[p]);
      }
    }
  }
}

// The arc formats' map layers run unclipped: the static heading read-out is drawn over
// them, its box and heading the last things drawn.
TEST(CorporateTextFit, Efs50StaticHeadingReadoutOverTheRoute) {
  busy_state();
  EFS50NavMode = 2;
  EhsiStaticHdgPointer = 1;
  efs50_ehsi_range = 5;  // the route runs off the top of the screen
  for (int32_t mode : {5, 6}) {
    efs50_ehsi_mode = mode;
    Scene sc{CANVAS_EFS50, efs50_ehsi_draw};
    const std::vector<GfxRecord>& r = sc.s.rec().records;
    int32_t last_text = -1, last_line = -1, last_fill = -1;
    for (int32_t i = 0; i < int32_t(r.size()); ++i) {
      if (r[i].op == GfxOp::Text) last_text = i;
      if (r[i].op == GfxOp::Line || r[i].op == GfxOp::Lines) last_line = i;
      if (r[i].op == GfxOp::FillRect && r[i].brush_argb == COLOUR_BLACK) last_fill = i;
    }
    ASSERT_GE(last_text, 0);
    EXPECT_EQ(r[last_text].text, "177") << mode;
    EXPECT_GT(last_fill, last_line) << mode;
    EXPECT_GT(last_text, last_fill) << mode;
  }
}

// ---- DU-1000 EHSI ----

// The range marks of modes 1 and 3 and the plan rings of mode 2 print their ring's
// distance, with decimals below 10 NM, ending where the whole-number field ends.
TEST(CorporateTextFit, Du1000RingDistancesWithTheirDecimals) {
  busy_state();
  struct Case {
    int32_t mode;
    double range;
    const char* outer;
    const char* inner;
  };
  const Case cases[] = {
      {1, 60, " 40", " 20"},   {3, 60, " 40", " 20"},    {3, 2.5, "1.7", "0.83"}, {1, 10, "6.7", "3.3"},
      {3, 15, " 10", "  5"},   {3, 0.05, "0.033", "0.017"}, {2, 60, " 36", " 18"},   {2, 2.5, "1.5", "0.75"},
      {2, 240, "144", " 72"},  {2, 0.5, "0.3", "0.15"},
  };
  for (const Case& c : cases) {
    du1000_ehsi_mode = c.mode;
    du1000_ehsi_range = c.range;
    Scene sc{CANVAS_DU1000_EHSI, du1000_ehsi_draw};
    const std::string where = "mode " + std::to_string(c.mode) + " range " + std::to_string(c.range);
    const GfxTextItem* outer = sc.find(c.outer);
    ASSERT_NE(outer, nullptr) << where << " " << c.outer;
    const GfxRectF o = outer->ink;
    const GfxTextItem* inner = sc.find(c.inner);
    ASSERT_NE(inner, nullptr) << where << " " << c.inner;
    const GfxRectF i = inner->ink;
    EXPECT_TRUE(inside(o, {0, 0, CANVAS_DU1000_EHSI.width, CANVAS_DU1000_EHSI.height})) << where << box(o);
    EXPECT_FALSE(touch(o, i)) << where;
    // Left of where the ring the mark stands for ends (arc modes) or crosses 220 degrees (plan).
    const double outer_end = c.mode == 2 ? 48 : 39, inner_end = c.mode == 2 ? 101 : 95;
    EXPECT_LE(o.x + o.width, outer_end) << where << box(o);
    EXPECT_LE(i.x + i.width, inner_end) << where << box(i);
  }
}

// ---- active-waypoint fields ----

// The DU-1000's active-waypoint field and the Primus 1000's FMS block keep their texts
// inside the screen and apart: with a wide ident, and the block on gauges of other
// shapes than its canvas.
TEST(CorporateTextFit, ActiveWaypointFieldsInsideTheScreenAndApart) {
  struct Case {
    const char* name;
    DesignCanvas canvas;
    Dispatcher draw;
    int32_t w, h;
    const char* ident;
    std::vector<std::string> texts;  // the field's texts, the last drawn of each
  };
  const std::vector<std::string> block{"FMS", "27.2", "NM", "CARRO", "6", "MIN"};
  const Case cases[] = {
      {"DU-1000", CANVAS_DU1000_EHSI, du1000_ehsi_draw, 318, 310, "HOLD PPOS", {"HOLD PPOS", "27NM"}},
      {"DU-1000 on the sample panel", CANVAS_DU1000_EHSI, du1000_ehsi_draw, 477, 465, "HOLD PPOS",
       {"HOLD PPOS", "27NM"}},
      {"Primus 1000", CANVAS_P1000_MFD, p1000_mfd_draw, 272, 314, "CARRO", block},
      {"Primus 1000 wide", CANVAS_P1000_MFD, p1000_mfd_draw, 408, 314, "CARRO", block},
      {"Primus 1000 tall", CANVAS_P1000_MFD, p1000_mfd_draw, 272, 471, "CARRO", block},
  };
  for (const Case& c : cases) {
    busy_state();
    fpl_set_text(fpl_active[2].ident, c.ident);
    du1000_ehsi_mode = 3;
    NdScene s{c.canvas, c.draw, c.w, c.h};
    s.draw();
    std::vector<GfxRectF> inks;
    for (const std::string& t : c.texts) {
      GfxRectF ink{};
      for (const GfxTextItem& it : s.rec().text_items())
        if (it.text == t && it.ink.width > 0) ink = it.ink;
      ASSERT_GT(ink.width, 0) << c.name << " " << t;
      EXPECT_TRUE(inside(ink, {0, 0, float(c.w), float(c.h)})) << c.name << " " << t << box(ink);
      for (size_t i = 0; i < inks.size(); ++i)
        EXPECT_FALSE(touch(ink, inks[i], 1)) << c.name << " " << t << box(ink) << " and " << c.texts[i] << box(inks[i]);
      inks.push_back(ink);
    }
  }
}

}  // namespace
