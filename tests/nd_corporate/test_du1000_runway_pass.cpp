// DU-1000 EHSI map: the selected origin runway stands at its airport block's own
// threshold, whatever airport's runway list was loaded last.
#include <gtest/gtest.h>

#include "displays/nd_corporate/nd_corporate.h"
#include "navdb/navdb.h"
#include "tests/nd/nd_scene.h"

using namespace nd_test;

namespace {

TEST(Du1000RunwayPass, OriginRunwayAtItsBlockThresholdNotTheLastLoadedList) {
  NdScene s{CANVAS_DU1000_EHSI, du1000_ehsi_draw};
  constexpr double LAT = 47.0, LON = -122.0;
  place_aircraft(LAT, LON, 0);
  du1000_ehsi_mode = 3;
  du1000_ehsi_range = 60;
  tcas_shown = 1;  // opens the map overlay without a plan
  fpl_active_index = FPL_NO_PLAN;
  const AptBlock saved = apt_blocks[1];
  apt_blocks[1].rwy_count = 1;
  fpl_set_text(apt_blocks[1].rwys[1].ident, "34L");
  point_from(LAT, LON, 0, 20, apt_blocks[1].rwys[1].lat, apt_blocks[1].rwys[1].lon);
  apt_blocks[1].rwys[1].heading = 340;
  origin_runway_index = 1;
  // The runway list loaded last is another airport's, far away.
  loaded_rwy_count = 1;
  loaded_rwy_table[1].lat = 10;
  loaded_rwy_table[1].lon = 10;
  s.draw();
  // 20 NM dead ahead of the aircraft (159, 272): the ident right of the threshold.
  const GfxPointF at = s.text_at("34L");
  EXPECT_NEAR(at.x, 159 + 8, 3);
  EXPECT_LT(at.y, 272 - 20 * 234 / 60.0 * 0.8);
  EXPECT_GT(at.y, 0);
  origin_runway_index = 0;
  loaded_rwy_count = 0;
  tcas_shown = 0;
  du1000_ehsi_mode = 0;
  apt_blocks[1] = saved;
}

}  // namespace
