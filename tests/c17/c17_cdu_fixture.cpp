#include "tests/c17/c17_cdu_fixture.h"

#include <stdlib.h>

#include <cmath>
#include <filesystem>

#include "c17/c17_cdu.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "flightplan/procedures.h"
#include "guidance/flight_log.h"
#include "guidance/lnav_vnav_state.h"
#include "module/display_state.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "module/module_paths.h"
#include "navdb/navdb.h"
#include "tests/c17/c17_cdu_harness.h"
#include "tests/common/sample_flight.h"
#include "tests/common/text_layout.h"

namespace {

// The mission CDU, the route and the fix-info entries as a freshly loaded module has them.
void reset_cdu_and_route() {
  c17_cdu_page = C17_CDU_MSN_INDEX;
  c17_cdu_pending_lsk = 0;
  c17_cdu_prev_page = c17_cdu_prev_page_alt = c17_cdu_next_page = c17_cdu_next_page_alt = 0;
  c17_cdu_scratchpad.clear();
  c17_cdu_scratchpad_msg.clear();
  c17_cdu_fpl_page = c17_cdu_fpl_page_count = 1;
  c17_dup_first_row = 1;
  c17_dup_scroll_up = c17_dup_scroll_down = c17_hold_row = 0;
  c17_hold_index = 1;
  c17_dup_return_page = 0;
  smiths_rte_page_no = 1;
  smiths_perf_page_no = 1;
  fix_match_count = 0;
  clear_fpl_active();
  clear_fpl_edit();
  fpl_changed_state = 0;
  hold_count = 0;
  clear_fix_info(0);
  for (std::string* t : {&route_origin, &route_origin_mod, &route_dest, &route_dest_mod, &route_runway,
                         &route_runway_mod, &route_sid, &route_sid_trans})
    *t = FPL_NONE_TEXT;
  smiths_reset_dep_selection();
  smiths_reset_arr_selection();
  smiths_legs_mode = 0;
  smiths_legs_page_no = 1;
  smiths_dir_intc_index = smiths_hold_at_index = 0;
  intc_target_wpt = intc_crs_pending = 0;
  plan_center_index = 0;
}

// The aircraft-file settings the pages change, read once per process: put back after
// each test.
struct PageSettings {
  int32_t toflaps, ldgflaps, v1, vr, v2, vref, vref_min, vref_mid, vref_max;
  std::string range, flaps_min, flaps_mid, flaps_max;
  // The performance values of PERF INIT and PERF LIMITS.
  int32_t cost_index, cost_prev, crz_alt, crz_alt_prev, wind_dir, wind_speed, trans_alt;
  double zfw, reserves, isa, oat;
  double limits[12];
  static double* limit(int i) {
    static double* const all[12] = {&ClimbIasMin,     &ClimbIasMax,     &CruiseIasMin,    &CruiseIasMax,
                                    &descent_ias_min, &descent_ias_max, &climb_mach_min,  &climb_mach_max,
                                    &cruise_mach_min, &cruise_mach_max, &descent_mach_min, &descent_mach_max};
    return all[i];
  }
  static PageSettings now() {
    PageSettings s{TOFLAPS,      LDGFLAPS,     V1,         VR,       V2, VREF, VREFMIN, VREFMID, VREFMAX, TOFLAPSRANGE,
                   APPRFLAPSMIN, APPRFLAPSMID, APPRFLAPSMAX, CostIndex, cost_index_prev, cruise_alt, cruise_alt_prev,
                   crz_wind_dir, crz_wind_speed, TransAlt, zero_fuel_weight, reserve_fuel, isa_deviation, toc_oat, {}};
    for (int i = 0; i < 12; ++i) s.limits[i] = *limit(i);
    return s;
  }
  void restore() const {
    CostIndex = cost_index;
    cost_index_prev = cost_prev;
    cruise_alt = crz_alt;
    cruise_alt_prev = crz_alt_prev;
    crz_wind_dir = wind_dir;
    crz_wind_speed = wind_speed;
    TransAlt = trans_alt;
    zero_fuel_weight = zfw;
    reserve_fuel = reserves;
    isa_deviation = isa;
    toc_oat = oat;
    for (int i = 0; i < 12; ++i) *limit(i) = limits[i];
    TOFLAPS = toflaps;
    LDGFLAPS = ldgflaps;
    V1 = v1;
    VR = vr;
    V2 = v2;
    VREF = vref;
    VREFMIN = vref_min;
    VREFMID = vref_mid;
    VREFMAX = vref_max;
    TOFLAPSRANGE = range;
    APPRFLAPSMIN = flaps_min;
    APPRFLAPSMID = flaps_mid;
    APPRFLAPSMAX = flaps_max;
  }
};
PageSettings settings_at_start;

}  // namespace

void C17CduTest::SetUp() {
  char tmpl[] = "/tmp/vek-c17cdu-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  folder_ = tmpl;
  std::filesystem::copy(VEK_C17_SAMPLE_ROOT, folder_, std::filesystem::copy_options::recursive);
  std::filesystem::create_directories(folder_ + "/vek/FlightLog");
  ASSERT_TRUE(host_.attach_module(c17_cdu_harness_linkage(), &ImportTable));
  host_.set_sim_folder(folder_);
  // This test's folder, not the one an earlier test of the process fixed and removed.
  sim_root_path = folder_;
  reset_cdu_and_route();
  simhost::PanelConfig panel;
  simhost::PanelWindow main = sample_flight::server_window();
  main.gauges[0].parameters = "Airlifter";
  simhost::Placement p;
  p.module = "vek1";
  p.gauge = "C17_CDU_HARNESS";
  p.width = 365;
  p.height = 289;
  main.gauges.push_back(p);
  add_gauges(main);
  panel.windows.push_back(main);
  host_.set_panel(panel);
  host_.set_draw_recording(true);
  // Parked at the sample plan's origin.
  simhost::AircraftState& s = host_.aircraft().state();
  s.lat = 47.449;
  s.lon = -122.309;
  s.ground_elevation_ft = s.altitude_ft = 433.0;
  s.on_ground = true;
  s.heading_true = 160.0;
  host_.receive_sim_folder_stations();
  std::string error;
  ASSERT_TRUE(host_.start(&error)) << error;
  list_plan_files();
  settings_at_start = PageSettings::now();
  sequence_at_start_ = SequenceFPlanWpts;
  display_power = 1;  // sampled from the avionics switch only every few frames
  frames(1);
}

void C17CduTest::TearDown() {
  host_.stop();
  reset_cdu_and_route();
  settings_at_start.restore();
  SequenceFPlanWpts = sequence_at_start_;
  toc_reached = 0;
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

void C17CduTest::press(const std::string& key) {
  ASSERT_TRUE(c17_cdu_harness_key(key)) << key;
  frames(1);
}

void C17CduTest::enter(const std::string& text, const std::string& key) {
  c17_cdu_scratchpad.clear();
  c17_cdu_scratchpad_msg.clear();
  type(text);
  press(key);
}

void C17CduTest::type(const std::string& text) { c17_cdu_harness_type(text); }

const GfxRecording* C17CduTest::screen() const {
  const simhost::PlacedGauge* g = host_.find_gauge("C17_CDU_HARNESS");
  if (!g || !g->drawn_image()) return nullptr;
  return gfx_recording_of(g->drawn_image());
}

std::string C17CduTest::at(double x, double y) const {
  const GfxRecording* r = screen();
  if (!r) return "";
  for (const GfxTextItem& t : r->text_items())
    if (std::fabs(t.world.x - x) < 0.01 && std::fabs(t.world.y - y) < 0.01) return t.text;
  return "";
}

uint32_t C17CduTest::colour_at(double x, double y) const {
  const GfxRecording* r = screen();
  if (!r) return 0;
  for (const GfxTextItem& t : r->text_items())
    if (std::fabs(t.world.x - x) < 0.01 && std::fabs(t.world.y - y) < 0.01) return t.argb;
  return 0;
}

bool C17CduTest::has(const std::string& text) const {
  const GfxRecording* r = screen();
  return r && r->has_text(text);
}

bool C17CduTest::blank() const {
  const simhost::PlacedGauge* g = host_.find_gauge("C17_CDU_HARNESS");
  const GaugeImage* img = g ? g->drawn_image() : nullptr;
  if (!img) return false;
  for (int32_t y = 0; y < img->height; ++y)
    for (int32_t x = 0; x < img->width; ++x)
      if (img->pixels[y * (img->stride / 4) + x] != 0) return false;
  return true;
}

void C17CduTest::picture(const std::string& name, const std::string& gauge) const {
  const simhost::PlacedGauge* g = host_.find_gauge(gauge);
  ASSERT_TRUE(g && g->drawn_image());
  std::filesystem::create_directories(std::string(VEK_C17_OUT_DIR) + "/c17");
  std::string error;
  EXPECT_TRUE(simhost::write_image_png(*g->drawn_image(), std::string(VEK_C17_OUT_DIR) + "/c17/" + name + ".png", &error))
      << error;
}

namespace {

// The unit clips its pages to its screen. Listed: the slash of MSN INIT's "GMT/DDMMYY"
// reaches down toward the time under it (its letters stand clear), and PROGRESS's course
// labels stand close over their idents (that page's rows are left to its own rework).
text_layout::Allowed screen_texts(const std::string& picture) {
  text_layout::Allowed a;
  a.clip_is_screen = true;
  a.pairs = {{"GMT/DDMMYY", "*"}};
  // Labels 19 under the line above and 14 over their own, where their pages place them: a
  // hair nearer the line above; left for those pages' own rework.
  a.labels_close_under = {"T R A N S",   "C O S T   I N D E X", "T R A N S   A L T", "V R", "V 2", "W I N D    C O R R",
                          "D I R E C T    T O                    I N T C    L E G",
                          ". . . . . . . . . . . . . . . . . . . . . . . I N T C    C R S",
                          ". . . . . . . . . . . . . . . . . . . . . . . .",
                          // the title in the HOLD AT rule's gap: a part of the rule, not a heading
                          "H O L D  A T"};
  a.lines_may_touch = picture.rfind("cdu_progress", 0) == 0;
  return a;
}

}  // namespace

void C17CduTest::shot(const std::string& name) {
  frames(1);
  picture(name);
  // Every text of the page reads where it stands.
  if (const GfxRecording* rec = screen())
    for (const std::string& f : text_layout::faults(*rec, screen_texts(name))) ADD_FAILURE() << name << ": " << f;
  EXPECT_TRUE(std::filesystem::exists(std::string(VEK_C17_OUT_DIR) + "/c17/" + name + ".png")) << name;
}

void C17CduTest::load_sample_plan() {
  press("PLANS");
  press("L1");
  ASSERT_STREQ(fpl_active[1].ident, "ALKIS");
}

void C17CduTest::fly_past_alkis() {
  SequenceFPlanWpts = 1;
  sample_flight::set_airborne_on_autopilot(host_.aircraft().state(), 47.60, -122.40, 433.0, 5000.0, 250.0, 200.0);
  host_.aircraft().refresh();
  ASSERT_TRUE(sample_flight::fly_until(host_, [] { return fpl_active_index == 2; }, 120));
  // A few more steps: the clock and the other slow values are sampled once a cycle.
  for (int i = 0; i < 40; ++i) sample_flight::frame(host_);
  ASSERT_EQ(fpl_active_index, 2);
}

void C17CduTest::enter_airway_route() {
  press("RTE");
  enter("KSEA", "L1");
  enter("KPDX", "R1");
  press("NEXT");
  enter("OLM", "R1");
  enter("V23", "L2");
  enter("BTG", "R2");
  ASSERT_EQ(fpl_edit_last, 4);
  c17_cdu_scratchpad.clear();
}

void C17CduTest::open_arrivals() {
  smiths_reset_arr_selection();
  set_dest_proc_entry(FPL_NONE_TEXT, FPL_NONE_TEXT);
  fill_dest_proc_entry(FPL_NONE_TEXT);
  list_approaches(FPL_NONE_TEXT, FPL_NONE_TEXT);
  press("ARR");
}

void C17CduMfdTest::add_gauges(simhost::PanelWindow& main) {
  main.gauges.push_back({"vek1", "C17_MFD", 0, 0, 246, 241, "2"});
  main.gauges.push_back({"vek1", "LNAV", 0, 0, 40, 40, ""});
  main.gauges.push_back({"vek1", "VNAV", 0, 0, 40, 40, ""});
}

const GfxRecording& C17CduMfdTest::map_shot(const std::string& name, int32_t format, double range) {
  c17_mfd_instances[2].format = format;
  c17_mfd_range = range;
  frames(2);  // the unit's pages see the format from the second frame on
  picture(name, "C17_MFD:2");
  const simhost::PlacedGauge* g = host_.find_gauge("C17_MFD:2");
  static const GfxRecording none;
  const GfxRecording* r = g && g->drawn_image() ? gfx_recording_of(g->drawn_image()) : nullptr;
  EXPECT_TRUE(r) << name;
  return r ? *r : none;
}

void C17CduMfdTest::engage_lnav_vnav() {
  std::string error;
  for (const char* button : {"LNAV", "VNAV"}) EXPECT_TRUE(host_.click_index(button, 0, &error)) << error;
  frames(1);
  EXPECT_EQ(lnav_on, 1);
  EXPECT_EQ(vnav_on, 1);
}
