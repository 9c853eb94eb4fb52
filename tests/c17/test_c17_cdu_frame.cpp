// Mission CDU dispatchers and the MSN INDEX and MSN INITIALIZE pages, driven through
// the harness keypad on the simulated host.
#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "tests/c17/c17_cdu_fixture.h"
#include "tests/c17/c17_cdu_harness.h"

namespace {

using C17Cdu = C17CduTest;

TEST_F(C17Cdu, PagesOutsideTheTableAreBlankAndStillConsumeTheKey) {
  for (int32_t id : {2, 49, 9, 24}) {
    c17_cdu_page = id;
    press("L1");
    EXPECT_TRUE(blank()) << id;
    EXPECT_EQ(c17_cdu_pending_lsk, 0) << id;
    EXPECT_EQ(c17_cdu_page, id);
  }
}

TEST_F(C17Cdu, AKeyPressedWhileUnpoweredActsOnTheFirstPoweredDraw) {
  display_power = 0;
  c17_cdu_pending_lsk = 1;
  c17_cdu_harness_key("NEXT");
  c17_cdu_draw(&c17_cdu_surface, host_.find_gauge("C17_CDU_HARNESS")->drawn_image(), 365, 289, 1);
  EXPECT_TRUE(blank());
  EXPECT_EQ(c17_cdu_pending_lsk, 1);
  EXPECT_EQ(c17_cdu_next_page, 1);
  display_power = 1;
  frames(1);
  EXPECT_EQ(c17_cdu_page, C17_CDU_MSN_INIT);
  EXPECT_EQ(c17_cdu_pending_lsk, 0);
  EXPECT_EQ(c17_cdu_next_page, 0);
}

TEST_F(C17Cdu, UpdateDispatcherClearsOnlyPositiveKeysAndPlainFlags) {
  GaugeImage* image = host_.find_gauge("C17_CDU_HARNESS")->drawn_image();
  GfxGraphics* g = nullptr;
  ASSERT_EQ(gfx_create(image, &g), GFX_OK);
  c17_cdu_pending_lsk = -3;
  c17_cdu_prev_page = c17_cdu_prev_page_alt = c17_cdu_next_page = c17_cdu_next_page_alt = 1;
  c17_cdu_update_draw(&c17_cdu_surface, g);
  EXPECT_EQ(c17_cdu_pending_lsk, -3);
  EXPECT_EQ(c17_cdu_prev_page + c17_cdu_next_page, 0);
  EXPECT_EQ(c17_cdu_prev_page_alt + c17_cdu_next_page_alt, 2);
  c17_cdu_pending_lsk = 7;
  c17_cdu_update_draw(&c17_cdu_surface, g);
  EXPECT_EQ(c17_cdu_pending_lsk, 0);
  EXPECT_EQ(c17_cdu_page, C17_CDU_APPROACH_REF) << "the page acts on the key";
  gfx_delete(g);
  c17_cdu_prev_page_alt = c17_cdu_next_page_alt = 0;
}

TEST_F(C17Cdu, MsnIndexKeysOpenTheirPages) {
  struct Case {
    const char* key;
    int32_t page;
  };
  const Case cases[] = {{"L1", C17_CDU_MSN_INIT},     {"L2", C17_CDU_NAV_SENSORS},  {"L3", C17_CDU_RTE},
                        {"L4", C17_CDU_PERF_INIT},    {"R1", C17_CDU_TAKEOFF_REF},  {"R2", C17_CDU_APPROACH_REF},
                        {"R3", C17_CDU_STORED_PLANS}, {"L5", C17_CDU_MSN_INDEX},    {"R4", C17_CDU_MSN_INDEX},
                        {"R5", C17_CDU_MSN_INDEX},    {"L6", C17_CDU_MSN_INDEX},    {"R6", C17_CDU_MSN_INDEX}};
  ASSERT_GT(stored_plan_count, 1) << "the sample folder stores plans";
  for (const Case& c : cases) {
    c17_cdu_page = C17_CDU_MSN_INDEX;
    press(c.key);
    EXPECT_EQ(c17_cdu_page, c.page) << c.key;
  }
}

TEST_F(C17Cdu, MsnIndexShowsUnavailableChoicesInReverseVideo) {
  fpl_active_index = FPL_NO_PLAN;
  stored_plan_count = 1;  // only the "NEW FPL" entry
  frames(1);
  picture("msn_index");
  EXPECT_EQ(at(110, 0), "MSN INDEX");
  EXPECT_EQ(colour_at(218, 212), COLOUR_BLACK) << "SAVE ACT FPL> without an active plan";
  EXPECT_EQ(colour_at(217, 130), COLOUR_BLACK) << "FLIGHT PLANS> with no plan stored";
  EXPECT_EQ(colour_at(0, 171), COLOUR_BLACK);
  EXPECT_EQ(colour_at(0, 48), COLOUR_GREEN);
  press("R3");
  EXPECT_EQ(c17_cdu_page, C17_CDU_MSN_INDEX) << "no plans: the page stays";

  c17_cdu_scratchpad = "KSEA";
  c17_cdu_scratchpad_msg = "INVALID ENTRY";
  frames(1);
  EXPECT_EQ(at(0, 267), "INVALID ENTRY") << "the message line hides the scratchpad";
  c17_cdu_scratchpad_msg.clear();
  frames(1);
  EXPECT_EQ(at(0, 267), "KSEA");
}

TEST_F(C17Cdu, MsnInitializeShowsTimeDateAndPosition) {
  press("INIT");
  picture("msn_initialize");
  EXPECT_EQ(at(80, 0), "MSN INITIALIZE");
  const std::string when = at(220, 165);
  ASSERT_EQ(when.size(), 14u) << when;
  EXPECT_EQ(when.substr(6, 2), "z/");
  EXPECT_LT(std::stoi(when.substr(0, 2)), 24);
  EXPECT_LT(std::stoi(when.substr(2, 2)), 60);
  EXPECT_FALSE(at(0, 206).empty());
  press("R6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_MSN_INDEX);
}

TEST(C17CduPosition, DegreesMinutesSecondsWithTheDegreeSign) {
  struct Case {
    double lat, lon;
    const char* lat_text;
    const char* lon_text;
  };
  const Case cases[] = {{34.0858, -5.5, "N34\xB0" "05'08", "W005\xB0" "30'00"},
                        {-5.0, 120.0, "S05\xB0" "00'00", "E120\xB0" "00'00"},
                        {47.5, -122.25, "N47\xB0" "30'00", "W122\xB0" "15'00"}};
  for (const Case& c : cases) {
    std::string lat, lon;
    c17_cdu_position_texts(c.lat, c.lon, lat, lon);
    EXPECT_EQ(lat, c.lat_text);
    EXPECT_EQ(lon, c.lon_text);
  }
}

}  // namespace
