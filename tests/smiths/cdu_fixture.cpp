#include "cdu_fixture.h"

#include <algorithm>

#include "gauges/gauge_table.h"

namespace {

const std::map<std::string, int>& key_index() {
  static const std::map<std::string, int> keys = [] {
    std::map<std::string, int> m;
    const char* fn[] = {"INIT REF", "RTE", "CLB", "CRZ", "DES", "LEGS", "DIR INTC", "DEP ARR", "HOLD", "PROG", "FIX",
                        "PREV", "NEXT"};
    for (int i = 0; i < 13; ++i) m[fn[i]] = i;
    for (int r = 1; r <= 6; ++r) {
      m["L" + std::to_string(r)] = 13 + 2 * (r - 1);
      m["R" + std::to_string(r)] = 14 + 2 * (r - 1);
    }
    m["+/-"] = 64;
    m["DEL"] = 65;
    m["CLR"] = 66;
    m["SP"] = 67;
    m["EXEC"] = 68;
    m["SCREEN"] = 69;
    return m;
  }();
  return keys;
}

}  // namespace

void CduTest::start(bool with_br) {
  ASSERT_TRUE(host_.attach_module(&Linkage, &ImportTable));
  host_.set_sim_folder(folder_);
  simhost::PanelConfig panel;
  simhost::PanelWindow main;
  main.ident = 0;
  main.visible = true;
  panel.windows.push_back(main);
  simhost::PanelWindow cdu;
  cdu.number = 1;
  cdu.ident = WINDOW_SMITHS_FMS;
  cdu.visible = true;
  simhost::Placement p;
  p.module = "vek1";
  p.gauge = "SMITHS_FMS";
  p.width = 415;
  p.height = 640;
  p.parameters = "Twinjet";
  cdu.gauges.push_back(p);
  if (with_br) {
    p.gauge = "SMITHS_FMS_BR";
    p.x = 420;
    cdu.gauges.push_back(p);
  }
  panel.windows.push_back(cdu);
  host_.set_panel(panel);
  host_.set_draw_recording(true);
  std::string error;
  ASSERT_TRUE(host_.start(&error)) << error;
  frames(1);
}

void CduTest::press(const std::string& key, const std::string& gauge) {
  auto it = key_index().find(key);
  ASSERT_NE(it, key_index().end()) << key;
  std::string error;
  ASSERT_TRUE(host_.click_index(gauge, it->second, &error)) << error;
  frames(2);
}

void CduTest::type(const std::string& text, const std::string& gauge) {
  std::string error;
  ASSERT_TRUE(host_.type_text(gauge, text, &error)) << error;
}

const GfxRecording* CduTest::screen(const std::string& gauge) const {
  const simhost::PlacedGauge* g = host_.find_gauge(gauge);
  if (!g || !g->drawn_image()) return nullptr;
  return gfx_recording_of(g->drawn_image());
}

std::vector<GfxTextItem> CduTest::items(const std::string& gauge) const {
  const GfxRecording* r = screen(gauge);
  return r ? r->text_items() : std::vector<GfxTextItem>{};
}

bool CduTest::has(const std::string& text, const std::string& gauge) const {
  const GfxRecording* r = screen(gauge);
  return r && r->has_text(text);
}

std::string CduTest::at(double x, double y, const std::string& gauge) const {
  for (const GfxTextItem& t : items(gauge))
    if (std::fabs(t.world.x - x) < 0.01 && std::fabs(t.world.y - y) < 0.01) return t.text;
  return "";
}

std::string CduTest::line(double y, const std::string& gauge) const {
  std::vector<GfxTextItem> row;
  for (const GfxTextItem& t : items(gauge))
    if (std::fabs(t.world.y - y) < 0.01) row.push_back(t);
  std::stable_sort(row.begin(), row.end(), [](const GfxTextItem& a, const GfxTextItem& b) { return a.world.x < b.world.x; });
  std::string s;
  for (const GfxTextItem& t : row) s += (s.empty() ? "" : " | ") + t.text;
  return s;
}

int CduTest::boxes() const {
  const GfxRecording* r = screen();
  return r ? r->count(GfxOp::Rect) : 0;
}

bool CduTest::light_on(int element, const std::string& gauge) const {
  const simhost::PlacedGauge* g = host_.find_gauge(gauge);
  if (!g || element >= int(g->elements.size())) return false;
  return (g->elements[element].image_flags & IMAGE_HIDDEN) == 0;
}

SampleScenario::SampleScenario() {
  char tmpl[] = "/tmp/vek-scenario-XXXXXX";
  if (mkdtemp(tmpl) == nullptr) return;
  sim_ = tmpl;
  std::filesystem::copy(SAMPLE_SIM_DIR, sim_, std::filesystem::copy_options::recursive);
  std::filesystem::create_directories(out());
}

SampleScenario::~SampleScenario() {
  host.stop();
  std::error_code ec;
  if (!sim_.empty()) std::filesystem::remove_all(sim_, ec);
}

bool SampleScenario::open(const std::string& name, std::string* error) {
  if (sim_.empty() || !host.attach_module(&Linkage, &ImportTable, "vek1")) {
    *error = "no simulator folder or module";
    return false;
  }
  host.set_sim_folder(sim_);
  host.receive_sim_folder_stations();
  // The scenario's panel as the demo picks it: panel_NAME.cfg, else panel_PREFIX.cfg for a
  // scenario "PREFIX_...", else panel.cfg.
  const std::string stem = name.substr(0, name.rfind('.'));
  std::string panel = sim_ + "/panel_" + stem + ".cfg";
  if (!std::filesystem::exists(panel)) panel = sim_ + "/panel_" + stem.substr(0, stem.find('_')) + ".cfg";
  if (!std::filesystem::exists(panel)) panel = sim_ + "/panel.cfg";
  if (!host.load_panel(panel, error)) return false;
  host.set_draw_recording(true);
  if (!host.start(error)) return false;
  // Fewer frames a second keep the tests quick: several ticks a frame.
  host.set_frame_rate(4);
  return simhost::read_scenario(sim_ + "/scenarios/" + name, &script, error) &&
         simhost::check_scenario(script, host, error);
}

bool SampleScenario::run(std::size_t from, std::ptrdiff_t to, simhost::ScenarioResult* result, std::string* error) {
  simhost::Scenario part = script;
  auto end = to < 0 ? script.steps.end() : script.steps.begin() + to;
  part.steps.assign(script.steps.begin() + static_cast<std::ptrdiff_t>(from), end);
  return simhost::run_scenario(part, host, out(), result, error);
}
