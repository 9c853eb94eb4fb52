// C-17 MFD map formats: the arc navigation formats 3-5, the north-up map (format 6) and
// the route overlay drawn over them, the aircraft flying north over Seattle.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "c17_fixture.h"
#include "c17_page_probe.h"
#include "flightplan/flight_plan.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "navdb/navdb.h"
#include "platform/host/sim_token_ids.h"

namespace c17_test {
namespace {

constexpr uint32_t WHITE = 0xFFDEE6E9, MAGENTA = 0xFFFF13D5;

std::string heading_readout(double deg) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%03.0f", deg);
  return buf;
}

class C17MapTest : public C17Test {
 protected:
  void SetUp() override {
    C17Test::SetUp();
    saved_centre_ = plan_center_index;
  }
  // The plan and the map settings as the module starts with them.
  void TearDown() override {
    clear_fpl_active();
    plan_center_index = saved_centre_;
    c17_mfd_range = 80;
    c17_mfd_route_on = 1;
    c17_arc_loc_scale_on = 1;
    C17Test::TearDown();
  }
  // The second placement at `format`; the aircraft flies north at 200 kt.
  void map_at(int format, const std::string& where = "") {
    place({"2"});
    c17_mfd_instances[2].format = format;
    script(where + "run 18f");
  }
  void frame() { script("run 18f"); }
  const GfxRecording& r() { return rec("2"); }

  // A right-turn hold of 4 NM legs at record 1 of the active plan (its second).
  void hold_at_second_record(double inbound_course) {
    HoldRecord& h = hold_list[1];
    h = HoldRecord{};
    fpl_set_text(h.ident, fpl_active[1].ident);
    h.active_wpt = h.edit_wpt = 1;
    h.turn = 1;
    h.leg_mode = 2;
    h.leg_dist = 4;
    h.inbound_course = inbound_course;
    h.lat = fpl_active[1].lat;
    h.lon = fpl_active[1].lon;
    hold_count = 1;
  }

  // An active plan of idents north of the aircraft, 10 NM apart from `first_nm` on;
  // "DISCO" lies at 0N 0E.
  void plan(const std::vector<std::string>& idents, int32_t active, double first_nm = 0) {
    for (size_t i = 0; i <= idents.size(); ++i) clear_fpl_record(fpl_active[i]);
    for (size_t i = 0; i < idents.size(); ++i) {
      fpl_set_text(fpl_active[i].ident, idents[i]);
      if (idents[i] == "DISCO") continue;
      compute_dest_point(present_lat, present_lon, 0, first_nm + 10.0 * double(i), fpl_active[i].lat,
                         fpl_active[i].lon);
    }
    set_end_record(fpl_active[idents.size()]);
    fpl_active_last = int32_t(idents.size()) - 1;
    fpl_active_index = active;
  }
  // Route legs: magenta lines of the overlay's pen (2 ky wide).
  int legs() {
    int n = 0;
    for (const GfxRecord* l : r().of(GfxOp::Line))
      n += l->pen_argb == MAGENTA && std::fabs(l->pen_width - 2 * 487.0 / 241) < 1e-6;
    return n;
  }
  // Compass ticks: white 2 px radial lines ending at radius `r` above the centre.
  int ticks(double radius) {
    int n = 0;
    for (const GfxRecord* l : r().of(GfxOp::Line))
      n += l->pen_argb == WHITE && l->pen_width == 2 && l->args[0] == 0 && l->args[2] == 0 && l->args[3] == -radius;
    return n;
  }
  int32_t saved_centre_ = 0;
};

TEST_F(C17MapTest, CompassWindowsAtHeading350AndRangeLabels) {
  token_overrides[TOK_HEADING] = 350;
  token_overrides[TOK_MAP_HEADING] = 350;
  map_at(4);
  c17_mfd_range = 40;
  frame();
  // 295..355 and 0..45; 290 and 50 lie on the open window ends.
  EXPECT_EQ(ticks(124), 23);
  for (const char* label : {"30", "33", "N", "03"}) EXPECT_TRUE(r().has_text(label)) << label;
  for (const char* label : {"W", "06"}) EXPECT_FALSE(r().has_text(label)) << label;
  EXPECT_EQ(text_at(r(), 122 - 66, 132 - 22), "20");
  EXPECT_EQ(text_at(r(), 122 - 120, 132 - 42), "40");

  c17_mfd_instances[2].format = 3;
  frame();
  EXPECT_EQ(ticks(172), 21);  // within 55 degrees: 300..355 and 0..40
  EXPECT_EQ(text_at(r(), 122 - 50, 200), "10");
  EXPECT_EQ(text_at(r(), 122 - 92, 200), "20");
  EXPECT_EQ(text_at(r(), 122 - 105, 200 - 83), "30");
  EXPECT_EQ(text_at(r(), 122 - 14, 5), "350");
}

TEST_F(C17MapTest, DeviationScalesAndPointersBySignalAndTheScaleKey) {
  struct Row {
    int format;
    double signal;
    int scale_key;
    double ly;  // lateral scale centre below the rose centre
    double cy;
    bool scale, pointer;
  };
  const Row rows[] = {{3, 1, 1, 33, 200, true, true},   {3, 1, 0, 33, 200, false, false},
                      {3, 0, 1, 33, 200, false, false}, {4, 0, 1, 101, 132, true, false},
                      {5, 0, 0, 195, 35, true, false},  {5, 1, 0, 195, 35, true, true}};
  map_at(3);
  token_overrides[TOK_NAV1_DEVIATION] = -127;
  token_overrides[TOK_GLIDESLOPE_DEVIATION] = 127;
  token_overrides[TOK_NAV1_FLAGS] = 0x40;
  for (const Row& row : rows) {
    token_overrides[TOK_NAV1_SIGNAL] = row.signal;
    c17_arc_loc_scale_on = row.scale_key;
    c17_mfd_instances[2].format = row.format;
    frame();
    bool scale = false, pointer = false;
    for (const GfxRecord* e : r().of(GfxOp::Ellipse))
      scale |= near_point(GfxRecording::to_device(*e, e->args[0], e->args[1]), 122 - 52, row.cy + row.ly - 2);
    for (const GfxRecord* l : r().of(GfxOp::Lines)) {
      const auto p = GfxRecording::device_points(*l);
      pointer |= l->pen_argb == MAGENTA && near_point(p[0], 122 - 50, row.cy + row.ly - 5);
    }
    EXPECT_EQ(scale, row.scale) << row.format << " signal " << row.signal << " key " << row.scale_key;
    EXPECT_EQ(pointer, row.pointer) << row.format << " signal " << row.signal << " key " << row.scale_key;
  }
}

TEST_F(C17MapTest, GlideslopePointerOnlyWithAGlideslope) {
  map_at(5);
  token_overrides[TOK_NAV1_SIGNAL] = 1;
  token_overrides[TOK_GLIDESLOPE_DEVIATION] = 127;  // 40 below the scale centre
  for (int flags : {0x40, 0x80}) {
    token_overrides[TOK_NAV1_FLAGS] = flags;
    frame();
    bool pointer = false;
    for (const GfxRecord* l : r().of(GfxOp::Lines))
      pointer |= l->pen_argb == MAGENTA && near_point(GfxRecording::device_points(*l)[0], 122 + 115, 35 + 80 + 40 - 5);
    EXPECT_EQ(pointer, flags == 0x40) << flags;
  }
}

TEST_F(C17MapTest, RouteLegsIdentsAndBreaksAtDiscontinuities) {
  map_at(5);
  c17_mfd_range = 40;
  plan({"WPA", "WPB", "DISCO", "WPC", "WPD"}, 0);
  frame();
  EXPECT_EQ(legs(), 2);  // WPA-WPB and WPC-WPD: none into the first record or through DISCO
  EXPECT_EQ(text_colour(r(), "WPA"), MAGENTA);
  EXPECT_EQ(text_colour(r(), "WPB"), WHITE);
  EXPECT_FALSE(r().has_text("DISCO"));
  fpl_active_index = 1;
  frame();
  EXPECT_EQ(text_colour(r(), "WPA"), WHITE);
  EXPECT_EQ(text_colour(r(), "WPB"), MAGENTA);
  // 10 NM at 40 NM range on the radius 172: the ident 43 above and 7 right of WPA.
  EXPECT_TRUE(text_near(r(), "WPB", 122 + 7, 35 - 43 - 7, 1.1));
}

// Each arc format places the route at the scale its range labels give: the full range
// at the compass of format 4 (124), at the outer arc of formats 3 and 5 (172).
TEST_F(C17MapTest, RouteScaleOfEachArcFormatMatchesItsRangeLabels) {
  struct Row {
    int format;
    double full_range_px, centre_y;
  };
  map_at(3);
  c17_mfd_range = 40;
  plan({"WPA", "WPB"}, 1, 0);
  for (const Row& row : {Row{3, 172, 200}, Row{4, 124, 132}, Row{5, 172, 35}}) {
    c17_mfd_instances[2].format = row.format;
    frame();
    // WPB 10 NM ahead: a quarter of the full range above the aircraft, ident 7 up and right.
    EXPECT_TRUE(text_near(r(), "WPB", 122 + 7, row.centre_y - row.full_range_px / 4 - 7, 1.1)) << row.format;
  }
}

TEST_F(C17MapTest, LayersByRangeAndWithTheRouteSwitchedOff) {
  map_at(3);
  mfd_apt_on = 1;
  plan({"WPA", "WPB"}, 1);
  struct Row {
    double range;
    int route_on;
    bool airports, route;
  };
  for (const Row& row : {Row{160, 1, true, true}, Row{161, 1, false, true}, Row{40, 0, true, false}}) {
    c17_mfd_range = row.range;
    c17_mfd_route_on = row.route_on;
    frame();
    // KPAE lies ahead on the map at both ranges (KSEA, 9 NM behind, is off the image at 40 NM).
    EXPECT_EQ(r().has_text("KPAE"), row.airports) << row.range;
    EXPECT_EQ(r().has_text("WPB"), row.route) << row.range;
  }
  // No plan: the layers alone.
  fpl_active_index = 999;
  c17_mfd_route_on = 1;
  frame();
  EXPECT_TRUE(r().has_text("KPAE"));
  EXPECT_FALSE(r().has_text("WPB"));
}

TEST_F(C17MapTest, NorthUpMapCentresOnAPlanRecordOnlyWhenOneIsSet) {
  map_at(6);
  c17_mfd_range = 40;
  plan({"WPA", "WPB", "WPC"}, 1, 10);
  struct Row {
    int32_t centre;
    double wpb_y;  // where WPB's ident lands: 20 NM (50) above the centre on the aircraft
  };
  // 0 is "not set" (the legs pages' value), not the first record.
  for (const Row& row : {Row{0, 120 - 50 - 7}, Row{-1, 120 - 50 - 7}, Row{3, 120 - 50 - 7}, Row{999, 120 - 50 - 7},
                         Row{1, 120 - 7}, Row{2, 120 + 25 - 7}}) {
    plan_center_index = row.centre;
    frame();
    EXPECT_TRUE(text_near(r(), "WPB", 122 + 7, row.wpb_y, 1.1)) << "centre index " << row.centre;
  }
  EXPECT_EQ(text_at(r(), 122 + 65, 5), "40 NM");
  c17_mfd_route_on = 0;
  frame();
  EXPECT_FALSE(r().has_text("WPB"));
}

// The hold of WPB stands at its fix whether the map is centred on the aircraft or on
// a record: the racetrack's arcs are drawn about the fix.
TEST_F(C17MapTest, NorthUpHoldStaysAtItsFixWhateverTheCentre) {
  map_at(6);
  c17_mfd_range = 40;
  plan({"WPA", "WPB", "WPC"}, 1, 10);
  hold_at_second_record(360);
  struct Row {
    int32_t centre;
    double fix_y;  // WPB 20 NM north of the aircraft, 10 NM south of WPC; 2.5 px a NM
  };
  for (const Row& row : {Row{0, 120 - 50}, Row{2, 120 + 25}}) {
    plan_center_index = row.centre;
    frame();
    int arcs = 0;
    for (const GfxRecord* a : r().of(GfxOp::Arc)) {
      if (a->pen_argb != MAGENTA) continue;
      ++arcs;
      const GfxPointF p = GfxRecording::to_device(*a, 0, 0);
      EXPECT_TRUE(near_point(p, 122, row.fix_y, 1.5)) << "centre " << row.centre << " at " << p.x << "," << p.y;
    }
    EXPECT_GT(arcs, 0) << "centre " << row.centre;
  }
  hold_count = 0;
}

// On the north-up map the racetrack lies along its true inbound course whatever the
// aircraft's heading; on the heading-up map it turns with the heading.
TEST_F(C17MapTest, HoldTurnsByItsTrueInboundCourseOnTheNorthUpMap) {
  struct Row {
    int32_t format;
    double heading, magvar, rotation;  // expected turn of the pattern, degrees
  };
  for (const Row& row : {Row{6, 90, -16, 14}, Row{6, 200, 10, 40}, Row{3, 90, -16, 300}}) {
    map_at(row.format);
    c17_mfd_range = 40;
    plan({"WPA", "WPB", "WPC"}, 1, 10);
    hold_at_second_record(30);
    token_overrides[TOK_HEADING] = row.heading;
    token_overrides[TOK_MAP_HEADING] = row.heading + row.magvar;
    token_overrides[TOK_MAGVAR] = row.magvar;
    frame();
    int arcs = 0;
    for (const GfxRecord* a : r().of(GfxOp::Arc)) {
      if (a->pen_argb != MAGENTA) continue;
      ++arcs;
      double turn = std::atan2(a->transform.m12, a->transform.m11) * 180.0 / M_PI;
      EXPECT_NEAR(std::remainder(turn - row.rotation, 360.0), 0.0, 1.0) << row.format << " " << row.heading;
    }
    EXPECT_GT(arcs, 0) << row.format << " " << row.heading;
  }
  hold_count = 0;
}

// The north-up map is drawn to true north: the aircraft symbol points along the true
// heading, not the magnetic one of the readout.
TEST_F(C17MapTest, NorthUpAircraftSymbolPointsAlongTheTrueHeading) {
  struct Row {
    double magnetic, true_heading;
  };
  map_at(6);
  for (const Row& row : {Row{350, 10}, Row{90, 106}}) {
    token_overrides[TOK_HEADING] = row.magnetic;
    token_overrides[TOK_MAP_HEADING] = row.true_heading;
    frame();
    EXPECT_EQ(text_at(r(), 122 - 14, 5), heading_readout(row.magnetic));
    bool found = false;
    for (const GfxRecord* l : r().of(GfxOp::Line)) {
      if (l->pen_argb != WHITE || l->args[0] != 0 || l->args[2] != 0 || l->args[1] >= 0 || l->args[3] <= 0) continue;
      const GfxPointF nose = GfxRecording::to_device(*l, l->args[0], l->args[1]);
      const GfxPointF tail = GfxRecording::to_device(*l, l->args[2], l->args[3]);
      const double track = std::fmod(std::atan2(nose.x - tail.x, tail.y - nose.y) * 180 / M_PI + 360, 360);
      found |= std::fabs(track - row.true_heading) < 0.5;
    }
    EXPECT_TRUE(found) << row.true_heading;
  }
}

// FIX INFO's fix and rings stand where the map puts the fix: about the map's own
// centre, the aircraft or a plan record on the north-up map.
TEST_F(C17MapTest, FixInfoStandsAboutTheMapsOwnCentre) {
  struct Row {
    int32_t format, centre;
    double x, y;  // the fix 10 NM east of the aircraft; 2.5 px a NM at 40 NM (format 6)
  };
  const Row rows[] = {{6, 0, 122 + 25, 120}, {6, 3, 122 + 25, 120 + 75}, {3, 0, 122 + 43, 200}};
  for (const Row& row : rows) {
    map_at(row.format);
    c17_mfd_range = 40;
    plan({"WPA", "WPB", "WPC", "WPD"}, 2, 0);
    FixInfoRecord& f = fix_info[1];
    f = FixInfoRecord{};
    fpl_set_text(f.ident, "FIX");
    fpl_set_text(f.type, "I");
    compute_dest_point(present_lat, present_lon, 90, 10, f.lat, f.lon);
    f.dist[0] = 5;
    plan_center_index = row.centre;
    frame();
    int rings = 0;
    for (const GfxRecord* e : r().of(GfxOp::Ellipse)) {
      if (e->pen_argb != 0xFF00FA00 || e->args[2] != 16) continue;
      ++rings;
      const GfxPointF p = GfxRecording::to_device(*e, e->args[0] + 8, e->args[1] + 8);
      EXPECT_TRUE(near_point(p, row.x, row.y, 1.5)) << row.format << " centre " << row.centre << ": " << p.x << ","
                                                      << p.y;
    }
    EXPECT_GT(rings, 0) << row.format << " centre " << row.centre;
    fix_info[1] = FixInfoRecord{};
  }
}

// The altitude range arc lies ahead of the aircraft along its track: the true track on
// the north-up map, the track's angle off the heading on the heading-up formats, with
// and without a crosswind.
TEST_F(C17MapTest, AltitudeRangeArcLiesAheadAlongTheTrack) {
  struct Row {
    int32_t format;
    double heading;  // true heading flown
    double wind;     // kt from the west
  };
  for (const Row& row : {Row{6, 220, 0}, Row{6, 40, 0}, Row{3, 220, 0}, Row{6, 40, 60}, Row{3, 0, 60},
                         Row{4, 0, 60}, Row{5, 180, 60}}) {
    map_at(row.format, "set heading " + std::to_string(row.heading) + "\nset wind_dir 270\nset wind_speed " +
                           std::to_string(row.wind) +
                           "\nset ap_heading_hold 0\nset ap_master 1\nset ap_altitude 3000\nset vs -1500\n");
    c17_mfd_range = 40;
    frame();
    const double track = host_.aircraft().ground_track_true();
    const double bearing_wanted = row.format == 6 ? track : track - row.heading;
    const double cy = row.format == 6 ? 120 : row.format == 4 ? 132 : row.format == 5 ? 35 : 200;
    int arcs = 0;
    for (const GfxRecord* a : r().of(GfxOp::Arc)) {
      if (a->pen_argb != 0xFF00FA00 || a->args[2] != 150) continue;
      ++arcs;
      const GfxPointF apex = GfxRecording::to_device(*a, a->args[0] + 75, a->args[1]);
      const double bearing = std::atan2(apex.x - 122, cy - apex.y) * 180 / M_PI;
      // The guidance's drift (one in sixty) is within a few degrees of the host's.
      EXPECT_NEAR(std::remainder(bearing - bearing_wanted, 360.0), 0.0, 3.0)
          << row.format << " " << row.heading << " " << row.wind;
    }
    EXPECT_EQ(arcs, 1) << row.format << " " << row.heading << " " << row.wind;
  }
}

// Range labels print the rings' real distances, and the north-up map's readout its range.
TEST_F(C17MapTest, RangeLabelsPrintTheRingsRealDistances) {
  struct Row {
    int format;
    double range;
    std::vector<std::pair<const char*, GfxPointF>> labels;
  };
  const Row rows[] = {
      {3, 5, {{"1.25", {122 - 50, 200}}, {"2.5", {122 - 92, 200}}, {"3.75", {122 - 105, 200 - 83}}}},
      {3, 10, {{"2.5", {122 - 50, 200}}, {" 5", {122 - 92, 200}}, {"7.5", {122 - 105, 200 - 83}}}},
      {3, 1, {{"0.25", {122 - 50, 200}}, {"0.5", {122 - 92, 200}}, {"0.75", {122 - 105, 200 - 83}}}},
      {4, 5, {{"2.5", {122 - 66, 132 - 22}}, {" 5", {122 - 120, 132 - 42}}}},
      {4, 40, {{"20", {122 - 66, 132 - 22}}, {"40", {122 - 120, 132 - 42}}}},
      {6, 2.5, {{"2.5 NM", {122 + 65, 5}}}},
      {6, 0.5, {{"0.5 NM", {122 + 65, 5}}}},
      {6, 5, {{" 5 NM", {122 + 65, 5}}}},
      {6, 160, {{"160 NM", {122 + 65, 5}}}},
  };
  map_at(3);
  for (const Row& row : rows) {
    c17_mfd_instances[2].format = row.format;
    c17_mfd_range = row.range;
    frame();
    for (const auto& [text, at] : row.labels)
      EXPECT_EQ(text_at(r(), at.x, at.y), text) << row.format << " at " << row.range << " NM";
  }
}

TEST_F(C17MapTest, NorthUpGridLabelsWrapTheDatelineAndStopAtThePole) {
  map_at(6, "set lat -0.4\nset lon -179.5\n");
  std::vector<std::string> columns, rows;
  for (const GfxTextItem& t : r().text_items()) {
    if (std::fabs(t.device.y - 30) < 0.6 && (t.text[0] == 'E' || t.text[0] == 'W')) columns.push_back(t.text);
    if (std::fabs(t.device.x) < 0.6 && (t.text[0] == 'N' || t.text[0] == 'S')) rows.push_back(t.text);
  }
  EXPECT_EQ(columns, (std::vector<std::string>{"E176", "E177", "E178", "E179", "E180", "W179", "W178", "W177",
                                                "W176", "W175", "W174"}));
  EXPECT_EQ(rows,
            (std::vector<std::string>{"S05", "S04", "S03", "S02", "S01", "N00", "N01", "N02", "N03", "N04"}));
  c17_mfd_range = 320;
  frame();
  EXPECT_FALSE(r().has_text("E176"));
  EXPECT_TRUE(r().has_text("320 NM"));

  c17_mfd_range = 80;
  script("set lat 89.5\nset lon 10\nrun 18f");
  EXPECT_TRUE(r().has_text("N90"));
  EXPECT_FALSE(r().has_text("N91"));
}

}  // namespace
}  // namespace c17_test
