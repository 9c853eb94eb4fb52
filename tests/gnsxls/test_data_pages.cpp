// NAVIGATION, PLAN, HOLDING PATTERN, VNAV, VNAV DATA and the waypoint pages as a pilot
// drives them: page keys, line keys and digits typed a key a frame.
#include "gnsxls_fixture.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"

namespace {

class GnsxlsDataPagesTest : public GnsxlsTest {
 protected:
  // Types each character in a frame of its own, as the page consumes one key per draw.
  void key_by_key(const std::string& keys) {
    for (char c : keys) {
      if (c == '!') press("CLR");
      else {
        type(std::string(1, c));
        frames(1);
      }
    }
  }
};

TEST_F(GnsxlsDataPagesTest, VariationLetterIsEastWhereTheVariationIsEast) {
  start_unit();
  const struct {
    double lat, lon;
    const char* letter;
  } rows[] = {{47.44, -122.31, "E"}, {40.64, -73.78, "W"}};  // Seattle east, New York west
  for (const auto& row : rows) {
    simhost::AircraftState& s = host_.aircraft().state();
    s.lat = row.lat;
    s.lon = row.lon;
    host_.run_seconds(2);
    press("NAV");
    while (line(0) != "NAVIGATION   3/4") press("NEXT");
    const int degrees = int(std::fabs(host_.aircraft().magnetic_variation()));
    EXPECT_TRUE(has(std::string(row.letter) + " " + (degrees < 10 ? "  " : " ") + std::to_string(degrees))) << row.letter;
  }
}

TEST_F(GnsxlsDataPagesTest, PageKeysWalkTheSubPages) {
  start_unit();
  build_route();
  struct Step {
    const char* key;
    const char* title;
  };
  const Step steps[] = {{"NAV", "NAVIGATION   1/4"}, {"NAV", "NAVIGATION   2/4"}, {"PREV", "NAVIGATION   1/4"},
                        {"PREV", "NAVIGATION   4/4"}, {"NEXT", "NAVIGATION   1/4"}, {"PLAN", "PLAN 1/6"},
                        {"PREV", "PLAN 6/6"},          {"PLAN", "PLAN 1/6"},          {"NEXT", "PLAN 2/6"},
                        {"VNAV", "VNAV   1/3"},        {"NEXT", "VNAV   2/3"},        {"VNAV", "VNAV   3/3"}};
  for (const Step& s : steps) {
    press(s.key);
    EXPECT_EQ(line(0), s.title) << s.key;
  }
  // Sub-page 4 has no leg header; sub-page 1 shows the leg to the active record.
  press("NAV");
  EXPECT_EQ(line(80), "TO | " + std::string(fpl_active[fpl_active_index].ident) + " | -----");
  EXPECT_EQ(colour_at(30, 80), MAGENTA);
  press("PREV");
  EXPECT_EQ(line(80), "IDENT    ------");
  EXPECT_EQ(at(30, 40), "");
  // VNAV lists from record 1 on its first list page; L5 twice withdraws DATA?.
  press("VNAV");
  press("NEXT");
  EXPECT_EQ(at(30, 80), std::string(fpl_active[1].ident));
  press("L5");
  EXPECT_TRUE(has("DATA?"));
  press("L5");
  EXPECT_TRUE(has("DATA"));
  EXPECT_FALSE(has("DATA?"));
}

TEST_F(GnsxlsDataPagesTest, HoldFieldsFillFromTheRightAndEnterStoresThem) {
  start_unit();
  build_route();
  press("L2");  // SEA
  press("HOLD");
  ASSERT_EQ(hold_count, 1);
  press("R2");
  EXPECT_EQ(gnsxls_prompt_open, 1);  // the keypad reaches the field
  const struct {
    const char* keys;
    const char* shown;
  } course[] = {{"2", "  2"}, {"7", " 27"}, {"0", "270"}, {"4", "270"}, {"!", " 27"}, {"0", "270"}};
  for (const auto& c : course) {
    key_by_key(c.keys);
    EXPECT_EQ(at(360, 120), c.shown) << c.keys;
  }
  press("ENTER");
  EXPECT_EQ(hold_list[1].inbound_course, 270.0);
  press("R4");
  key_by_key("15");
  EXPECT_EQ(at(360, 240), "1.5");
  press("ENTER");
  press("R4");
  press("R4");
  key_by_key("x125");
  EXPECT_EQ(at(360, 280), "12.5");
  press("ENTER");
  EXPECT_EQ(hold_list[1].leg_time, 1.5);
  EXPECT_EQ(hold_list[1].leg_dist, 12.5);
  EXPECT_EQ(at(340, 240), "");
  EXPECT_EQ(at(350, 240), "(1.5)");
  EXPECT_EQ(at(360, 280), "12.5");
}

TEST_F(GnsxlsDataPagesTest, WaypointFieldsTakeOnlyTheirCharacters) {
  start_unit();
  build_route();
  gnsxls_page = GNSXLS_PAGE_PILOT_WPT;
  gnsxls_lsk_state[8] = 1;
  gnsxls_prompt_open = 1;
  gnsxls_pos_lat_text = "short";  // not ten characters: starts again empty
  key_by_key("N4530127W");
  EXPECT_EQ(gnsxls_pos_lat_text, "N 45 30.12");
  EXPECT_EQ(gnsxls_pos_lon_text, "----------");
  key_by_key("!");
  EXPECT_EQ(gnsxls_pos_lat_text, "N  4 53.01");
  press("R3");  // closing discards the position
  EXPECT_EQ(gnsxls_pos_lat_text, "----------");

  gnsxls_page = GNSXLS_PAGE_OFFSET_WPT;
  press("R3");
  key_by_key("0905A6");
  EXPECT_EQ(at(360, 160), "090.5");
  press("R3");
  key_by_key("125");
  EXPECT_EQ(at(340, 200), "  12.5");
  gnsxls_offset_radial = "090.5";
  press("R3");
  press("R3");
  key_by_key("!");
  EXPECT_EQ(at(360, 160), " 09.0");
}

TEST_F(GnsxlsDataPagesTest, VnavDataAndPlanOfferTheirValuesForEntry) {
  start_unit();
  gnsxls_page = GNSXLS_PAGE_VNAV_DATA;
  FPA = 3.0;
  cruise_alt = 0;
  frames(1);
  EXPECT_EQ(at(340, 80), "------");
  press("R2");
  EXPECT_EQ(gnsxls_scratchpad, "     0");
  press("R2");
  EXPECT_EQ(gnsxls_scratchpad, " 18000");
  press("R2");
  EXPECT_EQ(boxes(), 0);
  press("R3");
  EXPECT_EQ(at(400, 160), "3.0");
  type("7");
  frames(1);
  EXPECT_EQ(at(400, 160), "7. ");
  type("5");
  frames(1);
  press("ENTER");
  EXPECT_EQ(FPA, 6.0);

  // In kilograms the reserve is offered in kilograms, so confirming keeps it.
  gnsxls_page = GNSXLS_PAGE_PLAN;
  gnsxls_plan_subpage = 1;
  WeightUnit = "KGS";
  reserve_fuel = 1000.0;
  press("R2");
  EXPECT_EQ(gnsxls_scratchpad, "   454");
  press("ENTER");
  EXPECT_EQ(reserve_fuel, 1000.0);
  EXPECT_EQ(line(40), "FUEL STATUS | KG") << gnsxls_page;
}

}  // namespace
