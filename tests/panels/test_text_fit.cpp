// Every sample scenario flown on its sample panel: at each picture it takes, every text
// of the pictured gauge has its ink inside the gauge's image. Map labels are exempt: a
// text under a clip smaller than the image, or drawn turned.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/draw_recording.h"
#include "host/scenario.h"
#include "host/sim_host.h"
#include "platform/gfx/gfx_recording.h"
#include "platform/win/win_windows.h"
#include "tests/common/sample_flight.h"

namespace fs = std::filesystem;

namespace {

using GaugeText = std::pair<std::string, std::string>;

// Map labels of the EFS 50 and DU-1000 maps, which draw without a clip: a map item beyond
// the screen's edge runs off it, as on every map; they are no data fields.
const std::set<GaugeText> kUnclippedMapLabels = {
    {"EFS50_EHSI", "ALKIS"},   {"EFS50_EHSI", "BTG"},   {"EFS50_EHSI", "CARRO"},   {"EFS50_EHSI", "DUBYA"},
    {"EFS50_EHSI", "KPDX"},    {"EFS50_EHSI", "OLM"},   {"EFS50_EHSI", "[10000]"}, {"EFS50_EHSI", "[TOC]"},
    {"EFS50_EHSI", "[TOD]"},   {"DU_1000_EHSI", "*"},   {"DU_1000_EHSI", "BLI"},   {"DU_1000_EHSI", "BTG"},
    {"DU_1000_EHSI", "CYVR"},  {"DU_1000_EHSI", "ELN"}, {"DU_1000_EHSI", "HQM"},   {"DU_1000_EHSI", "KPAE"},
    {"DU_1000_EHSI", "KPDX"},  {"DU_1000_EHSI", "KTTD"}, {"DU_1000_EHSI", "LA"},   {"DU_1000_EHSI", "PAE"},
    {"DU_1000_EHSI", "UBG"},   {"DU_1000_EHSI", "YKM"},
};

// The scenario's panel as the demo script picks it: panel_NAME.cfg, else the panel of the
// name's first word, else panel.cfg.
std::string panel_for(const std::string& sim, const std::string& scenario) {
  const std::string name = fs::path(scenario).stem().string();
  for (const std::string& p : {"panel_" + name + ".cfg", "panel_" + name.substr(0, name.find('_')) + ".cfg"})
    if (fs::exists(sim + "/" + p)) return p;
  return "panel.cfg";
}

std::vector<std::string> sample_scenarios() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(std::string(SAMPLE_SIM_DIR) + "/scenarios"))
    if (e.path().extension() == ".txt") names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A text under a clip that leaves out part of the image, or turned: a map label.
bool map_label(const GfxRecording& rec, const GfxRecord& r) {
  const GfxMatrix& m = r.transform;
  if (std::fabs(m.m12) + std::fabs(m.m21) > 1e-9 * (std::fabs(m.m11) + std::fabs(m.m22))) return true;
  if (r.clip < 0) return false;
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (const auto& poly : rec.records[static_cast<size_t>(r.clip)].clip_device)
    for (const GfxPointF& p : poly) {
      x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
      x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
  return x0 > 0.5 || y0 > 0.5 || x1 < rec.image_width - 0.5 || y1 < rec.image_height - 0.5;
}

// How far the ink lies outside the image, in pixels (0 inside).
float overhang(const GfxRectF& ink, int32_t w, int32_t h) {
  return std::max({0.0f, -ink.x, -ink.y, ink.x + ink.width - static_cast<float>(w),
                   ink.y + ink.height - static_cast<float>(h)});
}

// The text units' screens: a line of text ends clear of the right edge, as the right-aligned
// lines do; one that touches the edge is cut by a longer value.
const std::set<std::string> kTextUnits = {"SMITHS_FMS", "SMITHS_FMS_BR", "GNSXLS", "GNSXLS_LM", "MCU", "MCU_LM"};
constexpr float kTextUnitRightMargin = 2.5f;

// The overhang of a text of gauge `gauge`, on a text unit's screen measured from its right
// margin.
float text_overhang(const std::string& gauge, const GfxRectF& ink, int32_t w, int32_t h) {
  const float out = overhang(ink, w, h);
  if (!kTextUnits.count(gauge) || ink.width <= 0) return out;
  return std::max(out, ink.x + ink.width - (static_cast<float>(w) - kTextUnitRightMargin));
}

class SampleTextFit : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    win_reset();
    ASSERT_TRUE(sample_flight::copy_sample_sim(SAMPLE_SIM_DIR, "vek_text_fit_", sim_));
    ASSERT_TRUE(host_.attach_module(&Linkage, &ImportTable, "vek1"));
    host_.set_sim_folder(sim_);
    host_.receive_sim_folder_stations();
    std::string error;
    ASSERT_TRUE(host_.load_panel(sim_ + "/" + panel_for(sim_, GetParam()), &error)) << error;
    host_.set_draw_recording(true);
    ASSERT_TRUE(host_.start(&error)) << error;
    host_.set_frame_rate(2);  // several ticks a frame keep the flights quick
  }
  void TearDown() override {
    sample_flight::stop_and_remove(host_, sim_);
    win_reset();  // keys and the IPC server a scenario left
  }

  // Every text of the gauge's last picture that leaves the image, as a failure.
  void check_picture(const simhost::ScenarioStep& shot) {
    const simhost::PlacedGauge* g = host_.find_gauge(shot.gauge);
    const GfxRecording* rec = g && g->drawn_image() ? gfx_recording_of(g->drawn_image()) : nullptr;
    ASSERT_NE(rec, nullptr) << shot.gauge << " is not recorded";
    for (const GfxTextItem& t : rec->text_items()) {
      const float out = text_overhang(g->name, t.ink, rec->image_width, rec->image_height);
      const GaugeText key{g->name, t.text};
      if (out <= 0.01f || map_label(*rec, rec->records[t.record]) || kUnclippedMapLabels.count(key)) continue;
      char where[96];
      std::snprintf(where, sizeof where, "ink x %.1f..%.1f y %.1f..%.1f of %dx%d, %.1f px outside", t.ink.x,
                    t.ink.x + t.ink.width, t.ink.y, t.ink.y + t.ink.height, rec->image_width, rec->image_height, out);
      ADD_FAILURE() << g->name << " \"" << t.text << "\" in " << shot.text << " (" << GetParam() << ":" << shot.line
                    << "): " << where;
    }
  }

  std::string sim_;
  simhost::SimHost host_;
};

TEST_P(SampleTextFit, EveryTextOfEveryPictureLiesInsideItsImage) {
  simhost::Scenario sc;
  std::string error;
  ASSERT_TRUE(simhost::read_scenario(sim_ + "/scenarios/" + GetParam(), &sc, &error)) << error;
  ASSERT_TRUE(simhost::check_scenario(sc, host_, &error)) << error;
  // Only the pictured gauges are recorded: recording every draw is slow.
  std::set<const simhost::PlacedGauge*> pictured;
  for (const simhost::ScenarioStep& st : sc.steps)
    if (st.op == simhost::ScenarioOp::Shot) pictured.insert(host_.find_gauge(st.gauge));
  for (const auto& g : host_.gauges())
    if (!pictured.count(g.get()))
      for (const auto& img : g->images) simhost::draw_recording_disable(img.get());
  int pictures = 0;
  for (const simhost::ScenarioStep& st : sc.steps) {
    if (st.op == simhost::ScenarioOp::Shot) {
      ++pictures;
      check_picture(st);
      continue;
    }
    simhost::Scenario step{sc.file, {st}};
    simhost::ScenarioResult result;
    ASSERT_TRUE(simhost::run_scenario(step, host_, sim_, &result, &error)) << error;
  }
  EXPECT_GT(pictures, 0);
}

INSTANTIATE_TEST_SUITE_P(Sample, SampleTextFit, ::testing::ValuesIn(sample_scenarios()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return fs::path(info.param).stem().string();
                         });

}  // namespace

// The rule itself: what counts as a map label, and how far a text's ink leaves the image.
TEST(TextFitRule, ClippedOrTurnedTextsAreMapLabelsAndOverhangIsMeasuredOnEverySide) {
  GfxRecording rec;
  rec.image_width = 100;
  rec.image_height = 80;
  auto clip = [](std::vector<GfxPointF> outline) {
    GfxRecord r{};
    r.op = GfxOp::SetClip;
    r.clip_device = {std::move(outline)};
    return r;
  };
  rec.records = {clip({{10, 10}, {60, 10}, {60, 50}, {10, 50}}), clip({{0, 0}, {100, 0}, {100, 80}, {0, 80}})};
  GfxRecord text{};
  text.op = GfxOp::Text;
  struct Case {
    int32_t clip;
    GfxMatrix transform;
    bool label;
  };
  for (const Case& c : {Case{-1, {2, 0, 0, 2, 5, 5}, false}, Case{0, {2, 0, 0, 2, 5, 5}, true},
                        Case{1, {2, 0, 0, 2, 5, 5}, false}, Case{-1, {0, 1, -1, 0, 5, 5}, true},
                        Case{-1, {2, 1e-15, -1e-15, 2, 5, 5}, false}}) {
    text.clip = c.clip;
    text.transform = c.transform;
    EXPECT_EQ(map_label(rec, text), c.label) << c.clip << " " << c.transform.m12;
  }
  EXPECT_EQ(overhang({0, 0, 100, 80}, 100, 80), 0.0f);
  EXPECT_EQ(overhang({-3, 10, 20, 10}, 100, 80), 3.0f);
  EXPECT_EQ(overhang({90, 10, 14.5f, 10}, 100, 80), 4.5f);
  EXPECT_EQ(overhang({10, -1, 20, 10}, 100, 80), 1.0f);
  EXPECT_EQ(overhang({10, 75, 20, 10}, 100, 80), 5.0f);
  // A text unit's line touching the right edge leaves its margin.
  EXPECT_EQ(text_overhang("SMITHS_FMS", {4.5f, 160, 279.5f, 16}, 284, 233), 2.5f);
  EXPECT_EQ(text_overhang("SMITHS_FMS", {4.5f, 160, 270, 16}, 284, 233), 0.0f);
  EXPECT_EQ(text_overhang("HW_B737_ND", {4.5f, 160, 279.5f, 16}, 284, 233), 0.0f);
}
