// POS INIT, POS REF and POS SHIFT: paging, the position texts in degrees, minutes and
// tenths of a minute, the reference airport, the zulu date and the NAV 1 station.
#include "flightplan/flight_plan.h"
#include "page_draw.h"

namespace {

class PosPagesTest : public PageDrawTest {
 protected:
  void at_position(double lat, double lon) {
    host_.aircraft().state().lat = lat;
    host_.aircraft().state().lon = lon;
    frames(2);
  }
};

}  // namespace

TEST_F(PosPagesTest, PagingPositionTextsAndTheReferenceAirport) {
  start();
  host_.aircraft().set_date(2007, 160);
  host_.aircraft().set_zulu_time(15, 30);
  press("INIT REF");  // no plan: POS INIT
  EXPECT_EQ(title(), "POS   INIT");
  EXPECT_EQ(at(220, 5), "1 / 3");
  EXPECT_EQ(at(0, 66), "- - - -");
  EXPECT_EQ(at(0, 166).substr(0, 5), "1530.");
  EXPECT_EQ(at(0, 166).substr(6), " z  06/09");
  const struct {
    double lat, lon;
    const char* lat_text;
    const char* lon_text;
  } places[] = {{33.6229, -111.9104, "N33\xC2\xB0" "37.3", "W111\xC2\xB0" "54.6"},
                {-5.0, 9.0833, "S05\xC2\xB0" "00.0", "E009\xC2\xB0" "04.9"},
                {47.9999, -122.0, "N47\xC2\xB0" "59.9", "W122\xC2\xB0" "00.0"}};
  for (const auto& pl : places) {
    at_position(pl.lat, pl.lon);
    EXPECT_EQ(at(70, 33), pl.lat_text) << pl.lat;
    EXPECT_EQ(at(160, 33), pl.lon_text) << pl.lon;
  }
  press("PREV");
  EXPECT_EQ(title(), "POS  SHIFT");
  EXPECT_EQ(at(220, 5), "3 / 3");
  press("NEXT");
  EXPECT_EQ(title(), "POS   INIT");
  press("NEXT");
  EXPECT_EQ(title(), "POS  REF");
  EXPECT_EQ(at(0, 33), "N47\xC2\xB0" "59.9");
  // No entries: a line key other than L6 or R6 leaves the scratchpad.
  type("ABC");
  press("L1");
  EXPECT_EQ(smiths_scratchpad, "ABC");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_POS_INIT);
  press("R6");
  EXPECT_EQ(title(), "RTE");
  clear_pad();
  company_route();
  smiths_page = SMITHS_PAGE_POS_INIT;
  smiths_pos_page_no = 1;
  frames(1);
  EXPECT_EQ(at(0, 66), "KSEA");
  press("L6");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_INIT_REF_INDEX);
}

TEST_F(PosPagesTest, RadioShowsTheNavOneStationWhileReceived) {
  start();
  ASSERT_GT(host_.receive_sim_folder_stations(), 0);
  at_position(47.44, -122.31);
  smiths_page = SMITHS_PAGE_POS_INIT;
  smiths_pos_page_no = 2;
  host_.aircraft().state().nav1_mhz = 116.80;
  frames(2);
  EXPECT_EQ(at(12, 167), "SEA");
  smiths_pos_page_no = 3;
  frames(1);
  EXPECT_EQ(at(200, 133), "SEA");
  host_.aircraft().state().nav1_mhz = 108.00;  // nothing on that frequency
  frames(2);
  EXPECT_EQ(at(200, 133), "");
  EXPECT_EQ(at(0, 198), "<INDEX");
}
