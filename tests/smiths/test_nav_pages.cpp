// REF NAV DATA, NAV STATUS, NAV OPTIONS, TEMP NAV SUMMARY and the N1 LIMIT and LATERAL
// OFFSET forms: lookups by table and type, the selected fix's own position, the tuned
// radios and the nearest VORs, and the pages no key reaches.
#include <cctype>

#include "cdu/smiths/refnav_select.h"
#include "geo/great_circle.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"
#include "page_draw.h"

namespace {

class NavPagesTest : public PageDrawTest {
 protected:
  void open_refnav() {
    start();
    smiths_refnav_mode = 1;
    smiths_page = SMITHS_PAGE_REF_NAV_DATA;
    clear_pad();
    frames(1);
  }
  void to_blank_form() {
    press("L6");
    EXPECT_EQ(smiths_page, SMITHS_PAGE_INIT_REF_INDEX);
    press("R1");
    EXPECT_EQ(title(), "REF  NAV  DATA");
  }
  void fly_to(double lat, double lon) {
    host_.aircraft().state().lat = lat;
    host_.aircraft().state().lon = lon;
    frames(2);
  }
  static bool blank(const std::string& s) {
    for (char c : s)
      if (!std::isspace(static_cast<unsigned char>(c))) return false;
    return true;
  }
};

}  // namespace

TEST_F(NavPagesTest, RefNavDataShowsEachKindOfFixAtItsOwnPosition) {
  open_refnav();
  EXPECT_EQ(title(), "REF  NAV  DATA");
  EXPECT_EQ(at(0, 33), "- - - - -");
  EXPECT_EQ(at(120, 198), "NAV    OPTIONS>");
  // KTIW is an intersection and an airport: L1 takes the intersection.
  put("KTIW", "L1");
  EXPECT_EQ(smiths_refnav_mode, 2);
  EXPECT_EQ(at(0, 33), "KTIW");
  EXPECT_EQ(at(0, 99), "N47\xC2\xB0" "18.0");
  EXPECT_EQ(at(145, 99), "W122\xC2\xB0" "30.0");
  EXPECT_EQ(at(140, 155), "R A D I A L / D I S T");
  // The radial less a variation just past the course reads 360, never 000 or below.
  double dist = 0, course = 0;
  compute_gc_distance_course(present_lat, present_lon, 47.3, -122.5, dist, course);
  magvar = course + 0.2;
  draw_now();
  EXPECT_EQ(at(165, 166).substr(0, 6), "360\xC2\xB0/");
  magvar = 0;
  to_blank_form();
  put("KTIW", "L2");
  EXPECT_EQ(smiths_refnav_mode, 4);
  EXPECT_EQ(at(0, 66), "KTIW");
  EXPECT_EQ(at(0, 33), "- - -");
  EXPECT_EQ(at(0, 133), "294 FT");
  EXPECT_EQ(at(0, 99), "N47\xC2\xB0" "16.0");
  put("16L", "L1");  // not in the airport list for KTIW
  EXPECT_EQ(bottom(), "NOT FOUND IN DATABASE");
  EXPECT_EQ(smiths_scratchpad, "16L");
  put("KSEA", "L2");
  put("16L", "L1");
  EXPECT_EQ(at(0, 33), "16L");
  EXPECT_TRUE(has("11901FT 3627 M"));
  EXPECT_EQ(bottom(), "");
  to_blank_form();
  put("SEA", "R1");  // a VOR: the navaid form, here
  EXPECT_EQ(smiths_page, SMITHS_PAGE_REF_NAV_DATA);
  EXPECT_EQ(smiths_refnav_mode, 3);
  EXPECT_EQ(at(0, 133), "116.80");
  EXPECT_EQ(at(12, 122), "F R E Q");
}

TEST_F(NavPagesTest, RefNavDataLookupsRefusedAndSeveralMatches) {
  open_refnav();
  const struct {
    const char* entry;
    const char* key;
    const char* message;
    const char* pad;
  } refused[] = {{"ZZZZZ", "L1", "NOT IN DATABASE", "ZZZZZ"},
                 {"OLM", "L2", "NOT IN DATABASE", "OLM"},
                 {"KSEA", "R1", "NOT IN DATABASE", "KSEA"}};
  for (const auto& r : refused) {
    put(r.entry, r.key);
    EXPECT_EQ(bottom(), r.message) << r.entry;
    EXPECT_EQ(smiths_scratchpad, r.pad) << r.entry;
    EXPECT_EQ(smiths_refnav_mode, 1) << r.entry;
  }
  put("", "L1");
  EXPECT_EQ(bottom(), "");
  put("PAMMS", "L1");
  EXPECT_EQ(at(40, 0), "SELECT WAYPOINT");
  EXPECT_EQ(smiths_scratchpad, "");
  press("L1");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_REF_NAV_DATA);
  EXPECT_EQ(at(0, 33), "PAMMS");
  EXPECT_EQ(at(0, 99), "N47\xC2\xB0" "54.0");
  to_blank_form();
  press("R6");
  EXPECT_EQ(title(), "NAV  OPTIONS");
}

TEST_F(NavPagesTest, NavStatusRadiosAndTheNearestVors) {
  start();
  ASSERT_GT(host_.receive_sim_folder_stations(), 0);
  fly_to(47.44, -122.31);
  host_.aircraft().state().nav1_mhz = 116.80;
  host_.aircraft().state().nav2_mhz = 111.30;  // no station there
  smiths_page = SMITHS_PAGE_PROGRESS;
  smiths_progress_page_no = 1;
  frames(2);
  press("R6");
  EXPECT_EQ(title(), "NAV  STATUS");
  EXPECT_EQ(at(220, 5), "1 / 2");
  EXPECT_EQ(at(0, 44), "SEA   116.80             111.30");
  // Ten VORs within reach: eight shown, the ninth kept.
  EXPECT_EQ(line(80).substr(0, 12), "SEA   116.80");
  EXPECT_STRNE(nav_lists_21b[9].ident, "");
  for (double y : {80.0, 100.0, 120.0, 140.0}) EXPECT_EQ(line(y).find(nav_lists_21b[9].ident), std::string::npos);
  press("NEXT");
  EXPECT_EQ(title(), "NAV  OPTIONS");
  fly_to(45.82, -122.53);  // over BTG
  press("PREV");  // no refresh
  EXPECT_EQ(line(80).substr(0, 3), "SEA");
  press("NEXT");
  press("NEXT");  // wraps: refreshed
  EXPECT_EQ(title(), "NAV  STATUS");
  EXPECT_EQ(line(80).substr(0, 3), "BTG");
  fly_to(47.5, -114.0);  // few VORs within reach
  press("NEXT");
  press("NEXT");
  EXPECT_EQ(nav_lists_21b[9].dist_nm, nearest_vor_empty);
  EXPECT_TRUE(blank(line(140)));
  type("AB");
  EXPECT_EQ(bottom(), "");  // no entry line on these pages
  press("R6");
  EXPECT_EQ(title(), "POS  SHIFT");
}

TEST_F(NavPagesTest, PagesNoKeyReachesAndTheFormsWithoutId) {
  start();
  smiths_page = SMITHS_PAGE_TEMP_NAV;
  put("AB", "L1");
  EXPECT_EQ(at(12, 0), "TEMP  NAV  SUMMARY");
  EXPECT_EQ(bottom(), "");
  press("L6");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_INIT_REF_INDEX);
  draw_now(smiths_fms_n1_limit_page_draw);
  EXPECT_EQ(title(), "N1 LIMIT");
  EXPECT_EQ(boxes(), 4);
  EXPECT_EQ(at(200, 33), "94.9/94.9");
  smiths_pending_lsk = LSK_R6;
  draw_now(smiths_fms_n1_limit_page_draw);
  EXPECT_EQ(smiths_page, SMITHS_PAGE_TAKEOFF_REF);
  smiths_pending_lsk = LSK_L6;
  draw_now(smiths_fms_lateral_offset_page_draw);
  EXPECT_EQ(title(), "LATERAL  OFFSET");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_TAKEOFF_REF);
  EXPECT_EQ(smiths_pending_lsk, 0);
}
