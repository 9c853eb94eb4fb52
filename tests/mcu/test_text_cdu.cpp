// The text CDU drawn by its dispatcher beside the MCU on the simulated host: plan
// loads for this unit, the one-frame airport page, runway selection with the approach
// message, flight time and messages. Pictures of the four pages go under out/textcdu/.
#include <filesystem>
#include <vector>

#include "cdu/mcu/text_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "guidance/fms_state.h"
#include "module/keyboard_input.h"
#include "module/module_messages.h"
#include "tests/mcu/mcu_fixture.h"

namespace {

class TextCduTest : public McuTest {
 protected:
  // The sample flight starts with its plan active: the automatic airport step is
  // switched on only where it is tested.
  void start() {
    McuTest::start();
    text_cdu_auto_apt = 0;
    mcu_fpln_row = mcu_fpln_top = 1;
  }
  void TearDown() override {
    gfx_recording_disable(&image_);
    text_cdu_page = 0;
    McuTest::TearDown();
  }
  // One frame of the unit; with a name, its picture is written as out/textcdu/NAME.png.
  const GfxRecording& draw(const std::string& picture = "") {
    if (!image_.recorder) gfx_recording_enable(&image_);
    gfx_recording_of(&image_)->clear();
    text_cdu_draw(&surface_, &image_, image_.width, image_.height);
    if (!picture.empty()) {
      const std::string dir = std::string(VEK_MCU_OUT_DIR) + "/../textcdu";
      std::filesystem::create_directories(dir);
      std::string error;
      EXPECT_TRUE(simhost::write_image_png(image_, dir + "/" + picture + ".png", &error)) << error;
    }
    return *gfx_recording_of(&image_);
  }
  bool cdu_shows(const std::string& text) const { return shows_in(gfx_recording_of(&image_), text); }

  std::vector<uint32_t> pixels_ = std::vector<uint32_t>(420 * 216);
  GaugeImage image_{pixels_.data(), 420, 216, 420 * 4, nullptr};
  GaugeSurface surface_{};
};

TEST_F(TextCduTest, ItsPlanLoadShowsTheAirportForOneFrameAndAnMcuLoadDoesNot) {
  start();
  text_cdu_page = TEXT_CDU_PAGE_FPLN;
  text_cdu_enter = 1;
  draw("fpln");
  EXPECT_TRUE(cdu_shows("KSEAKPDX.RTE"));
  EXPECT_EQ(plan_load_request, 3);
  EXPECT_EQ(plan_load_name, "KSEAKPDX.RTE");
  EXPECT_EQ(stored_plan_sel, 1);
  frames(1);  // the update loads the plan and hands its airport to this unit
  EXPECT_EQ(mcu_plan_loaded, 3);
  EXPECT_EQ(text_cdu_scratchpad, "KPDX");
  text_cdu_auto_apt = 0;
  draw();
  EXPECT_TRUE(cdu_shows("APT: KPDX - Elev:"));
  EXPECT_EQ(text_cdu_page, TEXT_CDU_PAGE_FPLN);
  EXPECT_EQ(mcu_plan_loaded, 0);
  EXPECT_EQ(mcu_page, MCU_PAGE_NAV) << "the MCU stays where it was";
  draw();
  EXPECT_TRUE(cdu_shows("FPLN:"));

  // A load the MCU asked for is the MCU's: this unit's APT page only looks up.
  load_sample_plan();
  text_cdu_page = TEXT_CDU_PAGE_APT;
  mcu_plan_loaded = 1;
  text_cdu_scratchpad = "KSEA";
  text_cdu_enter = 1;
  EXPECT_EQ(draw().primitive_count(), 0);
  EXPECT_EQ(plan_apt_ident, "KSEA");
  EXPECT_EQ(mcu_plan_loaded, 1);
  mcu_plan_loaded = 0;
}

TEST_F(TextCduTest, KeyboardEntryLooksUpAnAirportAndEnterSelectsOnlyAListedRunway) {
  start();
  press(MCU_KEY_APTINFO);
  press(MCU_KEY_KBD);
  kbd_entry_target = 1;
  type("KPDX");
  EXPECT_EQ(draw().count(GfxOp::FillPolygon, 0xFF800080), 1) << "the entry bar";
  script("key ENTER\n");
  EXPECT_EQ(text_cdu_enter, 1);
  EXPECT_EQ(kbd_entry_target, 0);
  text_cdu_page = TEXT_CDU_PAGE_APT;
  draw();
  ASSERT_TRUE(cdu_shows("APT: KPDX - Elev:"));
  ASSERT_GE(loaded_rwy_count, 2);
  EXPECT_EQ(loaded_rwy_index, MCU_NO_SELECTION);

  module_message_count = 0;
  text_cdu_down = 1;
  draw();
  text_cdu_enter = 1;
  draw();
  EXPECT_EQ(loaded_rwy_index, 2);
  EXPECT_EQ(loaded_rwy_base, 1);
  EXPECT_EQ(mcu_aptinfo_sel_row, 2);
  ASSERT_EQ(module_message_count, 1);
  EXPECT_EQ(module_messages[1],
            std::string("APP") + loaded_rwy_table[2].ident + "-" + loaded_rwy_table[2].app + " Set");
  draw("apt");
  text_cdu_enter = 1;
  draw();
  EXPECT_EQ(loaded_rwy_index, MCU_NO_SELECTION);
  EXPECT_EQ(mcu_aptinfo_sel_row, MCU_NO_SELECTION);

  // No selection stays none while the list scrolls.
  loaded_rwy_base = 2;
  sel_rwy_row_cdu = 1;
  text_cdu_up = 1;
  draw();
  EXPECT_EQ(loaded_rwy_base, 1);
  EXPECT_EQ(loaded_rwy_index, MCU_NO_SELECTION);

  // A full message list keeps its newest rows; the runway is still selected.
  module_message_count = module_message_limit;
  text_cdu_enter = 1;
  draw();
  EXPECT_EQ(loaded_rwy_index, 1);
  EXPECT_EQ(module_message_count, module_message_limit);

  // An airport without runways: ENTER selects nothing.
  text_cdu_scratchpad = "ZZZZ";
  text_cdu_enter = 1;
  draw();
  module_message_count = 0;
  text_cdu_enter = 1;
  draw();
  EXPECT_TRUE(cdu_shows("APT:"));
  EXPECT_EQ(loaded_rwy_index, MCU_NO_SELECTION);
  EXPECT_EQ(module_message_count, 0);
}

TEST_F(TextCduTest, AutomaticAirportPageNeedsAPlanAndTheFirstWaypointBehind) {
  start();
  clear_fpl_active();
  text_cdu_page = TEXT_CDU_PAGE_PERF;
  text_cdu_auto_apt = 1;
  draw();
  EXPECT_EQ(text_cdu_auto_apt, 1) << "no plan, no step";
  EXPECT_TRUE(cdu_shows("PERF:"));
  load_sample_plan();
  ASSERT_EQ(text_cdu_auto_apt, 1);
  present_lat = fpl_active[0].lat + 0.2;  // 12 nm
  present_lon = fpl_active[0].lon;
  draw();
  EXPECT_TRUE(cdu_shows("APT: KPDX"));
  EXPECT_EQ(text_cdu_auto_apt, 2);
  EXPECT_EQ(text_cdu_page, TEXT_CDU_PAGE_PERF);
  EXPECT_TRUE(text_cdu_scratchpad.empty());
}

TEST_F(TextCduTest, PlanListPagesByEightAndWraps) {
  start();
  stored_plan_count = 21;  // 20 plans and the new-plan entry
  for (int i = 1; i <= 20; ++i) std::snprintf(stored_plans[i].name, sizeof stored_plans[i].name, "P%02d.RTE", i);
  text_cdu_page = TEXT_CDU_PAGE_FPLN;
  struct Row { int32_t* key; int32_t top, row; const char* first; } rows[] = {
      {&text_cdu_page_down, 9, 1, "P09.RTE"}, {&text_cdu_page_down, 17, 1, "P17.RTE"},
      {&text_cdu_page_down, 1, 1, "P01.RTE"}, {&text_cdu_page_up, 13, 1, "P13.RTE"}};
  for (const Row& r : rows) {
    *r.key = 1;
    draw();
    EXPECT_EQ(text_cdu_fpln_top, r.top);
    EXPECT_EQ(text_cdu_fpln_row, r.row);
    EXPECT_TRUE(cdu_shows(r.first)) << r.first;
  }
}

TEST_F(TextCduTest, FlightTimeAndMessages) {
  start();
  text_cdu_page = TEXT_CDU_PAGE_PERF;
  struct Row { double seconds; const char* shown; } rows[] = {
      {-99, "Flt Time: 00:00:00 (     0)"}, {3725.4, "Flt Time: 01:02:05 (  3725)"}};
  for (const Row& r : rows) {
    elapsed_seconds = r.seconds;
    draw("perf");
    EXPECT_TRUE(cdu_shows(r.shown)) << r.seconds;
  }
  module_message_count = 0;
  add_module_message("Apts '9000' approaching struct_limit");
  add_module_message(std::string(60, 'X'));
  text_cdu_page = TEXT_CDU_PAGE_MSG;
  text_cdu_down = 1;
  draw("msg");
  EXPECT_TRUE(cdu_shows("MSG: (2)"));
  EXPECT_TRUE(cdu_shows(" 1 Apts '9000' approaching struct_limit"));
  EXPECT_TRUE(cdu_shows(" 2 " + std::string(50, 'X')) && !cdu_shows(std::string(51, 'X')));
  EXPECT_EQ(text_cdu_msg_sel, 1);
}

}  // namespace
