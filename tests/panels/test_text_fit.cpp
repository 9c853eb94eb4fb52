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

#include "flightplan/flight_plan.h"
#include "host/draw_recording.h"
#include "host/scenario.h"
#include "host/sim_host.h"
#include "platform/gfx/gfx_recording.h"
#include "platform/win/win_windows.h"
#include "tests/common/sample_flight.h"
#include "tests/common/map_label_layout.h"
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

// The map displays whose labels are checked against each other and against their scales.
const std::set<std::string> kMapGauges = {"HW_B737_ND", "P1000_MFD", "DU_1000_EHSI", "C17_MFD", "PROLINE4_MFD"};
// Map displays whose pages draw figures under clips beside the map (the C-17's PFD tapes)
// or whose scales are not yet held clear of the idents: only their markers are held off the
// scale texts.
const std::set<std::string> kMarkersOnlyOnScales = {"C17_MFD", "PROLINE4_MFD"};

// The scales' texts of a map display: its compass figures and its range figures.
std::set<std::string> scale_texts_of(const std::string& gauge) {
  // The P1000 and the C-17 draw their compass under the map: the map's labels pass over
  // its letters (not over the range figures).
  std::set<std::string> out;
  if (gauge != "P1000_MFD" && gauge != "C17_MFD")
    for (int d = 0; d < 36; d += 3) out.insert(std::to_string(d));
  for (const char* r : {"0.025", "0.05", "0.1", "0.125", "0.25", "0.5", "1", "1.25", "2", "2.5", "5", "6.25", "10",
                        "12.5", "20", "25", "40", "50", "60", "80", "100", "120", "160", "240", "320"})
    out.insert(r);
  return out;
}

// What a gauge's map draws without a clip, its scales and the sample routes' idents.
map_label_layout::Rules map_rules_on(const std::string& gauge) {
  map_label_layout::Rules r;
  r.scale_texts = scale_texts_of(gauge);
  // The sample routes' records (KSEA-KPDX, its SID and the KPDX arrival).
  r.route_idents = {"KSEA", "ALKIS", "CARRO", "OLM", "DUBYA", "BTG", "KPDX", "FOURT", "HELNS", "RIVER", "TOWNI",
                    "MARTY", "OIMIC", "RW10R", "DCT"};
  r.unclipped_map_texts = allowed_on(gauge).map_texts;
  r.idents_on_scales = !kMarkersOnlyOnScales.count(gauge);
  // The active waypoint as the module flies it when the picture is taken.
  if (fpl_valid_index(fpl_active_index, fpl_active_last))
    r.active_ident = map_label_layout::trimmed(fpl_active[fpl_active_index].ident);
  return r;
}

// Pictures where map labels stood on each other or on a scale, or texts on each other: both
// texts must be drawn there, so the check looks at that spot (scenario as a row's
// parameter, picture).
struct MapLabelSpot {
  const char* param;
  const char* picture;
  const char* gauge;
  const char* a;
  const char* b;
};
const MapLabelSpot kMapLabelSpots[] = {
    // A climb target's label on its record's ident (the label stood right, over the ident).
    {"du1000_p1000.txt", "p1000_plan_40nm.png", "P1000_MFD", "[10000]", "CARRO"},
    {"du1000_p1000.txt", "p1000_map_80nm.png", "P1000_MFD", "[10000]", "CARRO"},
    {"du1000_p1000.txt@272x600", "p1000_plan_80nm.png", "P1000_MFD", "[10000]", "OLM"},
    {"du1000_p1000.txt@600x314", "p1000_cntr_closed.png", "P1000_MFD", "[10000]", "CARRO"},
    {"du1000_p1000.txt", "du1000_m3.png", "DU_1000_EHSI", "[10000]", "CARRO"},
    {"road_of_one_request.txt", "nd_route.png", "HW_B737_ND", "[4000]", "ALKIS"},
    // Two markers' labels: the TOC's beside the climb target's, both left of their points.
    {"du1000_p1000.txt", "p1000_plan_80nm.png", "P1000_MFD", "[TOC]", "[10000]"},
    // An ident under a scale's figure drawn later.
    {"road_of_one_request.txt", "nd_enroute.png", "HW_B737_ND", "18", "FOURT"},
    {"du1000_p1000.txt", "du1000_m3_240nm.png", "DU_1000_EHSI", "80", "YKM"},
    // The heading bug's readout at the scale's left end, on the NAV ident's row.
    {"c17_mission.txt", "pfd_bug_left.png", "C17_MFD", "ISEA", "000"},
};

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
    if (kMapGauges.count(g->name))
      for (const std::string& f : map_label_layout::faults(*rec, map_rules_on(g->name)))
        ADD_FAILURE() << g->name << " in " << where << ": " << f;
    std::set<std::string> drawn;
    for (const GfxTextItem& t : rec->text_items()) drawn.insert(map_label_layout::trimmed(t.text));
    for (const MapLabelSpot& spot : kMapLabelSpots) {
      if (GetParam() == spot.param && shot.text == spot.picture && g->name == spot.gauge) {
        EXPECT_TRUE(drawn.count(spot.a) && drawn.count(spot.b))
            << where << ": \"" << spot.a << "\" and \"" << spot.b << "\" are not both drawn";
      }
    }
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

// A record of a hand-made frame: drawn, unclipped, under `m`.
GfxRecord drawn_record(GfxOp op, const GfxMatrix& m) {
  GfxRecord r{};
  r.op = op;
  r.status = GFX_OK;
  r.transform = m;
  r.clip = -1;
  return r;
}

// A hand-made frame's faults: none when `fault` is empty, else one line holding it.
void expect_fault(const std::vector<std::string>& found, const char* what, const char* fault) {
  if (!*fault) {
    EXPECT_TRUE(found.empty()) << what << ": " << (found.empty() ? "" : found[0]);
  } else {
    ASSERT_EQ(found.size(), 1u) << what << ": " << (found.empty() ? "" : found[0]);
    EXPECT_NE(found[0].find(fault), std::string::npos) << what << ": " << found[0];
  }
}

// The layout rule on frames made by hand: what a frame's own design may do (a highlight
// drawn behind its text, a field wiped whole for its new value, a box framing a text) and
// what it may not (texts on each other or butting, a text cut by a later fill or crossed by
// an entry box, ink off the image); a fill draws only inside its clip.
TEST(TextFitRule, TextsOnTextsFillsAndBoxes) {
  const GfxMatrix unit{1, 0, 0, 1, 0, 0};
  // A text of `n` glyphs 8 wide and 10 high, 2 apart, from (x, y); font size 14.
  auto text = [&](const char* t, double x, double y, int n) {
    GfxRecord r = drawn_record(GfxOp::Text, unit);
    r.font_size = 14;
    r.text = t;
    r.args = {x, y};
    for (int i = 0; i < n; ++i) r.glyph_ink.push_back({float(x + 10 * i), float(y + 2), 8, 10});
    return r;
  };
  auto rect = [&](GfxOp op, double x, double y, double w, double h) {
    GfxRecord r = drawn_record(op, unit);
    r.brush_argb = 0xFF000000;
    r.args = {x, y, w, h};
    return r;
  };
  // Under the clip of record 0, the image's right half.
  auto clipped = [](GfxRecord r) {
    r.clip = 0;
    return r;
  };
  GfxRecord clip{};
  clip.op = GfxOp::SetClip;
  clip.clip_device = {{{50, 0}, {100, 0}, {100, 60}, {50, 60}}};
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
      {"a fill clipped away from a text leaves it shown",
       {text("ABC", 10, 10, 3), clipped(rect(GfxOp::FillRect, 0, 0, 100, 60)), text("XY", 30, 12, 2)},
       "over"},
  };
  for (const Case& c : cases) {
    GfxRecording rec;
    rec.image_width = 100;
    rec.image_height = 60;
    rec.records = {clip};
    rec.records.insert(rec.records.end(), c.records.begin(), c.records.end());
    const std::vector<std::string> found = text_layout::faults(rec);
    expect_fault(found, c.what, c.fault);
  }
}

// The map-label rule on frames made by hand: a marker's label on a route ident or on another
// marker's label, and a map label on a scale's figure, are found; idents on idents, a label
// redrawn on itself, a figure whose cell wipes the map first (upright or turned) and a fixed
// text of no scale pass; the active ident cut by a later box is found, unless drawn again.
TEST(MapLabelRule, MarkersOnIdentsOrEachOtherAndLabelsOnScales) {
  const GfxMatrix unit{1, 0, 0, 1, 0, 0};
  const GfxMatrix turned{0.9659f, 0.2588f, -0.2588f, 0.9659f, 0, 0};  // 15 degrees
  // A text of `n` glyphs 8 wide and 10 high, 2 apart, from (x, y); under the map's clip
  // (record 0) or none.
  auto text = [&](const char* t, double x, double y, int n, bool map, const GfxMatrix& m) {
    GfxRecord r = drawn_record(GfxOp::Text, m);
    r.clip = map ? 0 : -1;
    r.font_size = 14;
    r.text = t;
    for (int i = 0; i < n; ++i) r.glyph_ink.push_back({float(x + 10 * i), float(y + 2), 8, 10});
    return r;
  };
  auto label = [&](const char* t, double x, double y, int n) { return text(t, x, y, n, true, unit); };
  auto wipe = [&](const GfxMatrix& m) {
    GfxRecord r = drawn_record(GfxOp::FillRect, m);
    r.brush_argb = 0xFF000000;
    r.args = {109, 23, 20, 12};
    return r;
  };
  auto box = [&](double x, double y, double w, double h) {
    GfxRecord r = drawn_record(GfxOp::FillRect, unit);
    r.brush_argb = 0xFF000000;
    r.args = {x, y, w, h};
    return r;
  };
  GfxRecord clip{};
  clip.op = GfxOp::SetClip;
  clip.clip_device = {{{10, 10}, {190, 10}, {190, 110}, {10, 110}}};
  struct Case {
    const char* what;
    std::vector<GfxRecord> records;
    const char* fault;  // "" none
  };
  const Case cases[] = {
      {"marker label on a route ident", {label("CARRO", 60, 40, 5), label("[10000]", 64, 44, 7)},
       "marker label \"[10000]\""},
      {"marker label beside the ident", {label("CARRO", 60, 40, 5), label("[10000]", 12, 44, 4)}, ""},
      {"marker label on another's", {label("[TOC]", 30, 60, 5), label("[TOD]", 34, 62, 5)},
       "over marker label \"[TOC]\""},
      {"marker label on a navaid ident", {label("HQM", 30, 60, 3), label("[TOC]", 32, 62, 5)}, ""},
      {"idents on each other", {label("OLM", 30, 60, 3), label("CARRO", 34, 62, 5)}, ""},
      {"a label redrawn on itself", {label("[TOD]", 30, 60, 5), label("[TOD]", 31, 61, 5)}, ""},
      {"scale figure drawn on an ident", {label("FOURT", 100, 20, 5), text("18", 110, 22, 2, false, unit)},
       "scale text \"18\""},
      {"ident drawn on a scale figure", {text("18", 110, 22, 2, false, unit), label("FOURT", 100, 20, 5)},
       "ident \"FOURT\""},
      {"scale figure wiping its cell first",
       {label("FOURT", 100, 20, 5), wipe(unit), text("18", 110, 22, 2, false, unit)},
       ""},
      {"turned figure wiping its turned cell",
       {label("FOURT", 100, 20, 5), wipe(turned), text("18", 110, 22, 2, false, turned)},
       ""},
      {"a fixed text of no scale", {label("FOURT", 100, 20, 5), text("GS", 110, 22, 2, false, unit)}, ""},
      {"one fix labelled twice a few pixels apart", {label("CARRO", 60, 40, 5), label("CARRO", 64, 43, 5)},
       "labelled twice"},
      {"DCT on a route ident", {label("CARRO", 60, 40, 5), label("DCT", 62, 41, 3)}, "marker label \"DCT\""},
      {"labels wholly off the image", {label("CARRO", 260, 40, 5), label("CARRO", 264, 43, 5)}, ""},
      {"active ident's end under a box drawn after it", {label("OLM", 60, 40, 3), box(84, 40, 16, 16)},
       "active ident \"OLM\""},
      {"active ident wiped and drawn again", {label("OLM", 60, 40, 3), box(84, 40, 16, 16), label("OLM", 60, 40, 3)},
       ""},
  };
  for (const Case& c : cases) {
    GfxRecording rec;
    rec.image_width = 200;
    rec.image_height = 120;
    rec.records = {clip};
    rec.records.insert(rec.records.end(), c.records.begin(), c.records.end());
    map_label_layout::Rules rules;
    rules.scale_texts = {"18"};
    rules.route_idents = {"CARRO", "FOURT", "OLM"};
    rules.active_ident = "OLM";
    const std::vector<std::string> found = map_label_layout::faults(rec, rules);
    expect_fault(found, c.what, c.fault);
  }
}
