// Every sample scenario flown on its sample panel: at each picture it takes, every text
// of the pictured gauge has its ink inside the gauge's image. Map labels are exempt: a
// text under a clip smaller than the image, or drawn turned.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
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
#include "tests/common/text_layout.h"

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

// Every sample scenario, and the corporate displays' scenario again on a tall and on a
// wide gauge ("NAME.txt@WxH": the maps sized W x H on its panel).
std::vector<std::string> sample_scenarios() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(std::string(SAMPLE_SIM_DIR) + "/scenarios"))
    if (e.path().extension() == ".txt") names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  for (const char* size : {"272x600", "600x314"}) names.push_back(std::string("du1000_p1000.txt@") + size);
  return names;
}

// The gauges a sized run resizes.
const std::set<std::string> kSizedGauges = {"DU_1000_EHSI", "P1000_MFD"};

// The panel `file` with the sized gauges drawn at `size` ("WxH").
void resize_gauges(const std::string& file, const std::string& size) {
  std::ifstream in(file);
  std::ostringstream out;
  const std::string wh = size.substr(0, size.find('x')) + ", " + size.substr(size.find('x') + 1);
  for (std::string line; std::getline(in, line);) {
    const size_t bang = line.find("vek1!");
    const size_t comma = line.find(',');
    if (bang != std::string::npos && comma != std::string::npos &&
        kSizedGauges.count(line.substr(bang + 5, comma - bang - 5))) {
      // NAME, x, y, w, h[, parameter]: keep the name and place, replace the size.
      size_t c = comma;
      for (int i = 0; i < 2 && c != std::string::npos; ++i) c = line.find(',', c + 1);
      const size_t tail = line.find(',', line.find(',', c + 1) + 1);
      line = line.substr(0, c + 1) + " " + wh + (tail == std::string::npos ? "" : line.substr(tail));
    }
    out << line << "\n";
  }
  in.close();
  std::ofstream(file) << out.str();
}

using text_layout::map_label;

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

// Idents the DU-1000 map draws without a clip (as kUnclippedMapLabels): map labels, which
// may stand on one another and on the rose's letters.
const std::set<GaugeText> kUnclippedMapIdents = {
    {"DU_1000_EHSI", "OLM"},  {"DU_1000_EHSI", "KOLM"},  {"DU_1000_EHSI", "SEA"}, {"DU_1000_EHSI", "KSEA"},
    {"DU_1000_EHSI", "DUBYA"}, {"DU_1000_EHSI", "CARRO"}, {"DU_1000_EHSI", "KRNT"}, {"DU_1000_EHSI", "BF"},
    {"DU_1000_EHSI", "KBFI"}, {"DU_1000_EHSI", "ALKIS"},
};

// Unit suffixes set against their value by design: the preselected altitude's hundreds.
const std::set<GaugeText> kSuffixes = {{"P1000_MFD", "oo"}};

// Texts of units this check found on each other that are not yet moved: each stays listed
// until its unit's layout is mended (the MCU NAV page's lines, the MCU's spelled letters one
// per cell, the A320 EADI's A/THR beside the altitude target, the B777 heading's H, the EFS 50
// EADI's marker beacon over the slip letter, the GNS-XLS's entry dashes drawn as two texts,
// the DU-1000 rose's NAV frequency over its "18").
const std::set<std::pair<std::string, GaugeText>> kNotYetMoved = {
    {"MCU", {"*", "*"}},
    {"A320_EADI_NB", {"A/THR", "*"}},
    {"B777_PFD_NB", {"H", "*"}},
    {"EFS50_EADI", {"OM", "S"}},
    {"GNSXLS", {"-----", "-----/"}},
    {"DU_1000_EHSI", {"111.30", "18"}},
};

// What a gauge's pictures show by design.
text_layout::Allowed allowed_on(const std::string& gauge) {
  text_layout::Allowed a;
  // Spacing is the text units' rule; a display's labels and values stand as close as its
  // design puts them (the CDU layout tests hold the text units' lines apart).
  a.words_may_touch = !kTextUnits.count(gauge);
  a.check_strokes = !a.words_may_touch;
  a.lines_may_touch = true;
  for (const GaugeText& k : kUnclippedMapLabels)
    if (k.first == gauge) a.map_texts.insert(k.second);
  for (const GaugeText& k : kUnclippedMapIdents)
    if (k.first == gauge) a.map_texts.insert(k.second);
  for (const GaugeText& k : kSuffixes)
    if (k.first == gauge) a.suffixes.insert(k.second);
  for (const auto& [g, pair] : kNotYetMoved)
    if (g == gauge) a.pairs.insert(pair);
  return a;
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
    const std::string panel = sim_ + "/" + panel_for(sim_, scenario());
    if (GetParam().find('@') != std::string::npos) resize_gauges(panel, GetParam().substr(GetParam().find('@') + 1));
    ASSERT_TRUE(host_.load_panel(panel, &error)) << error;
    host_.set_draw_recording(true);
    ASSERT_TRUE(host_.start(&error)) << error;
    host_.set_frame_rate(2);  // several ticks a frame keep the flights quick
  }
  void TearDown() override {
    sample_flight::stop_and_remove(host_, sim_);
    win_reset();  // keys and the IPC server a scenario left
  }

  // Every text of the gauge's last picture that leaves the image, stands on or against
  // another text or is cut by a later fill, as a failure.
  std::string scenario() const { return GetParam().substr(0, GetParam().find('@')); }

  void check_picture(const simhost::ScenarioStep& shot) {
    const simhost::PlacedGauge* g = host_.find_gauge(shot.gauge);
    const GfxRecording* rec = g && g->drawn_image() ? gfx_recording_of(g->drawn_image()) : nullptr;
    ASSERT_NE(rec, nullptr) << shot.gauge << " is not recorded";
    const std::string where = shot.text + " (" + GetParam() + ":" + std::to_string(shot.line) + ")";
    for (const GfxTextItem& t : rec->text_items()) {
      const float out = text_overhang(g->name, t.ink, rec->image_width, rec->image_height);
      const GaugeText key{g->name, t.text};
      if (out <= 0.01f || map_label(*rec, rec->records[t.record]) || kUnclippedMapLabels.count(key)) continue;
      char ink[96];
      std::snprintf(ink, sizeof ink, "ink x %.1f..%.1f y %.1f..%.1f of %dx%d, %.1f px outside", t.ink.x,
                    t.ink.x + t.ink.width, t.ink.y, t.ink.y + t.ink.height, rec->image_width, rec->image_height, out);
      ADD_FAILURE() << g->name << " \"" << t.text << "\" in " << where << ": " << ink;
    }
    for (const std::string& f : text_layout::faults(*rec, allowed_on(g->name)))
      if (f.find(" outside the ") == std::string::npos) ADD_FAILURE() << g->name << " in " << where << ": " << f;
  }

  std::string sim_;
  simhost::SimHost host_;
};

TEST_P(SampleTextFit, EveryTextOfEveryPictureLiesInsideItsImage) {
  simhost::Scenario sc;
  std::string error;
  ASSERT_TRUE(simhost::read_scenario(sim_ + "/scenarios/" + scenario(), &sc, &error)) << error;
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
                           std::string name = fs::path(info.param.substr(0, info.param.find('@'))).stem().string();
                           if (info.param.find('@') != std::string::npos)
                             name += "_" + info.param.substr(info.param.find('@') + 1);
                           return name;
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

// The layout rule on frames made by hand: what a frame's own design may do (a highlight
// drawn behind its text, a field wiped whole for its new value, a box framing a text) and
// what it may not (texts on each other or butting, a text cut by a later fill or crossed by
// an entry box, ink off the image).
TEST(TextFitRule, TextsOnTextsFillsAndBoxes) {
  const GfxMatrix unit{1, 0, 0, 1, 0, 0};
  // A text of `n` glyphs 8 wide and 10 high, 2 apart, from (x, y); font size 14.
  auto text = [&](const char* t, double x, double y, int n) {
    GfxRecord r{};
    r.op = GfxOp::Text;
    r.status = GFX_OK;
    r.transform = unit;
    r.clip = -1;
    r.font_size = 14;
    r.text = t;
    r.args = {x, y};
    for (int i = 0; i < n; ++i) r.glyph_ink.push_back({float(x + 10 * i), float(y + 2), 8, 10});
    return r;
  };
  auto rect = [&](GfxOp op, double x, double y, double w, double h) {
    GfxRecord r{};
    r.op = op;
    r.status = GFX_OK;
    r.transform = unit;
    r.clip = -1;
    r.brush_argb = 0xFF000000;
    r.args = {x, y, w, h};
    return r;
  };
  struct Case {
    const char* what;
    std::vector<GfxRecord> records;
    const char* fault;  // "" none
  };
  const Case cases[] = {
      {"highlight behind", {rect(GfxOp::FillRect, 8, 8, 40, 16), text("ABC", 10, 10, 3)}, ""},
      {"field wiped whole, then redrawn",
       {text("12", 10, 10, 2), rect(GfxOp::FillRect, 8, 10, 30, 14), text("13", 10, 10, 2)},
       ""},
      {"wipe short of the top row", {text("12", 10, 10, 2), rect(GfxOp::FillRect, 8, 14, 30, 14)}, "cut by"},
      {"texts on each other", {text("ABC", 10, 10, 3), text("XY", 30, 12, 2)}, "over"},
      {"texts butting", {text("ABC", 10, 10, 3), text("KT", 40.5, 10, 2)}, "butting"},
      {"texts a space apart", {text("ABC", 10, 10, 3), text("KT", 45, 10, 2)}, ""},
      {"box framing a text", {text("ABC", 10, 10, 3), rect(GfxOp::Rect, 8, 10, 32, 14)}, ""},
      {"entry box on a text", {rect(GfxOp::Rect, 12, 4, 5, 10), text("ABC", 10, 10, 3)}, "crossed by"},
      {"off the image", {text("ABCDEFGHIJ", 10, 10, 10)}, "outside"},
  };
  for (const Case& c : cases) {
    GfxRecording rec;
    rec.image_width = 100;
    rec.image_height = 60;
    rec.records = c.records;
    const std::vector<std::string> found = text_layout::faults(rec);
    if (!*c.fault) {
      EXPECT_TRUE(found.empty()) << c.what << ": " << (found.empty() ? "" : found[0]);
    } else {
      ASSERT_EQ(found.size(), 1u) << c.what;
      EXPECT_NE(found[0].find(c.fault), std::string::npos) << c.what << ": " << found[0];
    }
  }
}
