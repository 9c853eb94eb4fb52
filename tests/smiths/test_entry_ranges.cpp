// Entries of PERF INIT, PERF LIMITS, APPROACH REF and RTE HOLD read as the page shows
// them: numbers with digits and a point only, values within what their fields print,
// refused entries kept in the scratchpad with nothing stored; and the texts of these
// pages inside the screen.
#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/flight_log.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "tests/common/sample_flight.h"

namespace {

constexpr double SCREEN_W = 284, SCREEN_H = 233;

class EntryRanges : public CduTest {
 protected:
  void open_perf(int sub_page) {
    start();
    smiths_page = SMITHS_PAGE_PERF_INIT;
    smiths_perf_page_no = sub_page;
    frames(1);
  }
  // Sets the scratchpad as typed (signs included) and presses `key`.
  void put(const std::string& text, const std::string& key) {
    smiths_scratchpad = text;
    smiths_scratchpad_msg.clear();
    press(key);
  }
  // Taken: the scratchpad emptied, no message. Refused: INVALID ENTRY, the entry kept.
  void expect_answer(const std::string& entry, bool taken) {
    if (taken) {
      EXPECT_EQ(bottom(), "") << entry;
      EXPECT_EQ(smiths_scratchpad, "") << entry;
    } else {
      EXPECT_EQ(bottom(), "INVALID ENTRY") << entry;
      EXPECT_EQ(smiths_scratchpad, entry) << entry;
    }
  }
  // Every text of the last draw has its ink inside the screen.
  void expect_texts_inside(const std::string& where) {
    for (const GfxTextItem& t : items()) {
      if (t.ink.width <= 0) continue;
      EXPECT_TRUE(t.ink.x >= 0 && t.ink.y >= 0 && t.ink.x + t.ink.width <= SCREEN_W && t.ink.y + t.ink.height <= SCREEN_H)
          << where << ": \"" << t.text << "\" ink " << t.ink.x << ".." << t.ink.x + t.ink.width;
    }
  }
};

struct NumberCase {
  const char* entry;
  const char* key;
  bool taken;
  double* value;  // what is stored afterwards (unchanged when refused)
  double expected;
  const char* shown;  // the value's text afterwards at `shown_x`, `shown_y`
  double shown_x, shown_y;
};

double cruise_alt_ft, crz_wind_kt, trans_alt_ft, cost_index_v;

// Every word of an entry is read: digits and one point, nothing after the number; a value
// outside its field's range (a cruise altitude truncated to 0, a transition altitude below
// 1000 ft, a gross weight past its three digits) is refused with the entry kept.
TEST_F(EntryRanges, PerfInitStoresTheNumberItShows) {
  open_perf(1);
  TransAlt = 18000;
  host_.aircraft().set_fuel_gallons(5994.0);  // 40,159.8 lb: the gross weight is ZFW + 40.16
  frames(1);
  ASSERT_GT(read_fuel_on_board(), 1000.0);
  const NumberCase cases[] = {
      {"350.5", "R1", false, &cruise_alt_ft, 0, "", 222, 33},
      {"350", "R1", true, &cruise_alt_ft, 35000, "FL350", 222, 33},
      {"3E4", "R1", false, &cruise_alt_ft, 35000, "FL350", 222, 33},
      {"0X1F", "R1", false, &cruise_alt_ft, 35000, "FL350", 222, 33},
      {"0.5", "R1", false, &cruise_alt_ft, 35000, "FL350", 222, 33},
      {"FL 2 50", "R1", false, &cruise_alt_ft, 35000, "FL350", 222, 33},
      {"FL0", "R1", false, &cruise_alt_ft, 35000, "FL350", 222, 33},
      {"FL1000", "R1", false, &cruise_alt_ft, 35000, "FL350", 222, 33},
      {"FL370.9", "R1", false, &cruise_alt_ft, 35000, "FL350", 222, 33},
      {"FL370", "R1", true, &cruise_alt_ft, 37000, "FL370", 222, 33},
      {"120.5", "L3", true, &zero_fuel_weight, 120500, "120.5", 0, 99},
      {"1E2", "L3", false, &zero_fuel_weight, 120500, "120.5", 0, 99},
      {"120.5KG", "L3", false, &zero_fuel_weight, 120500, "120.5", 0, 99},
      {"1 00", "L3", false, &zero_fuel_weight, 120500, "120.5", 0, 99},
      {"999.9", "L3", false, &zero_fuel_weight, 120500, "120.5", 0, 99},
      {"959.8", "L3", false, &zero_fuel_weight, 120500, "120.5", 0, 99},  // gross weight 999.96 prints 1000.0
      {"959.7", "L3", true, &zero_fuel_weight, 959700, "959.7", 0, 99},
      {".5", "L3", true, &zero_fuel_weight, 500, "0.5", 0, 99},
      {"0.04", "L3", false, &zero_fuel_weight, 500, "0.5", 0, 99},
      {"0.55", "L3", false, &zero_fuel_weight, 500, "0.5", 0, 99},
      {".", "L3", false, &zero_fuel_weight, 500, "0.5", 0, 99},
      {"-5", "L3", false, &zero_fuel_weight, 500, "0.5", 0, 99},
      {"5.0", "L4", true, &reserve_fuel, 5000, "5.0", 0, 133},
      {"5E3", "L4", false, &reserve_fuel, 5000, "5.0", 0, 133},
      {"120", "L5", true, &cost_index_v, 120, "120", 0, 165},
      {"1.5", "L5", false, &cost_index_v, 120, "120", 0, 165},
      {"20X", "L5", false, &cost_index_v, 120, "120", 0, 165},
      {"6E3", "R5", false, &trans_alt_ft, 18000, "18000", 210, 165},
      {"1E5", "R5", false, &trans_alt_ft, 18000, "18000", 210, 165},
      {"5", "R5", false, &trans_alt_ft, 18000, "18000", 210, 165},
      {"999", "R5", false, &trans_alt_ft, 18000, "18000", 210, 165},
      {"5000", "R5", true, &trans_alt_ft, 5000, " 5000", 210, 165},
      {"270/35", "R2", true, &crz_wind_kt, 35, "270\xC2\xB0/ 35", 200, 66},
      {"270/-5", "R2", false, &crz_wind_kt, 35, "270\xC2\xB0/ 35", 200, 66},
      {"270/1E3", "R2", false, &crz_wind_kt, 35, "270\xC2\xB0/ 35", 200, 66},
      {"270/3 5", "R2", false, &crz_wind_kt, 35, "270\xC2\xB0/ 35", 200, 66},
      {"270/999", "R2", true, &crz_wind_kt, 999, "270\xC2\xB0/999", 200, 66},
      {"270/1000", "R2", false, &crz_wind_kt, 999, "270\xC2\xB0/999", 200, 66},
      {"361/10", "R2", false, &crz_wind_kt, 999, "270\xC2\xB0/999", 200, 66},
      {"ABC/10", "R2", false, &crz_wind_kt, 999, "270\xC2\xB0/999", 200, 66},
      {"090/0", "R2", true, &crz_wind_kt, 0, "- - - \xC2\xB0 / - - -", 190, 66},
  };
  for (const NumberCase& c : cases) {
    put(c.entry, c.key);
    cruise_alt_ft = cruise_alt;
    crz_wind_kt = crz_wind_speed;
    trans_alt_ft = TransAlt;
    cost_index_v = CostIndex;
    expect_answer(c.entry, c.taken);
    EXPECT_DOUBLE_EQ(*c.value, c.expected) << c.entry << " on " << c.key;
    EXPECT_EQ(at(c.shown_x, c.shown_y), c.shown) << c.entry << " on " << c.key;
  }
}

struct TemperatureCase {
  const char* entry;
  const char* key;  // R3 ISA DEV, R4 T/C OAT
  bool taken;
  double isa, oat;  // afterwards
};

// At FL350 the standard T/C OAT is 15 - 1.98 x 35 = -54.3 C: both temperatures stay within
// -99..99 C, and the widest of them fits the screen.
TEST_F(EntryRanges, TemperaturesWithinTheirRange) {
  open_perf(1);
  put("FL350", "R1");
  const double std_oat = 15.0 - 1.98 * 35;
  const TemperatureCase cases[] = {
      {"0", "R3", true, 0, std_oat},
      {"-999", "R4", false, 0, std_oat},
      {"-999", "R3", false, 0, std_oat},
      {"-99", "R4", true, -99 - std_oat, -99},
      {"-100", "R4", false, -99 - std_oat, -99},
      {"99", "R3", true, 99, 99 + std_oat},
      {"-45", "R3", false, 99, 99 + std_oat},  // T/C OAT -99.3
      {"+20", "R3", true, 20, 20 + std_oat},
      {"1E2", "R4", false, 20, 20 + std_oat},
      {"-5X", "R3", false, 20, 20 + std_oat},
      {"- 5", "R3", false, 20, 20 + std_oat},
      {"-5.5", "R3", true, -5.5, -5.5 + std_oat},
      {"-0.4", "R3", true, -0.4, -0.4 + std_oat},  // shown as 0, no "-0"
  };
  for (const TemperatureCase& c : cases) {
    put(c.entry, c.key);
    expect_answer(c.entry, c.taken);
    EXPECT_NEAR(isa_deviation, c.isa, 1e-9) << c.entry << " on " << c.key;
    EXPECT_NEAR(toc_oat, c.oat, 1e-9) << c.entry << " on " << c.key;
  }
  EXPECT_NE(line(103).find("/ 0  \xC2\xB0" "C"), std::string::npos) << line(103);
  put("-99", "R4");
  EXPECT_NE(line(132).find("-146\xC2\xB0" "F / -99\xC2\xB0" "C"), std::string::npos) << line(132);
  expect_texts_inside("T/C OAT -99 C");
  isa_deviation = toc_oat = -999;  // not entered: dashes
  frames(1);
  EXPECT_EQ(line(103), "- - - \xC2\xB0 F / - - - \xC2\xB0 C");
  expect_texts_inside("dashes");
}

struct LimitCase {
  const char* entry;
  const char* key;  // L2 climb min, R1 climb max, L3/R2 cruise, L4/R3 descent
  bool taken;
  double ias, mach;  // the climb row's minimum afterwards
};

// The limits entered in flight on the active route: speeds of three digits above 0, Mach
// .100 to .990, the minimum not above the maximum; refused ones leave every limit.
TEST_F(EntryRanges, PerfLimitsInFlight) {
  host_.set_frame_rate(2);
  sample_flight::set_airborne_on_autopilot(host_.aircraft().state(), 47.47, -122.33, 433.0, 12000.0, 280.0, 320.0);
  start();
  execute_company_route();
  ASSERT_EQ(fpl_changed_state, 3);
  smiths_page = SMITHS_PAGE_PERF_INIT;
  smiths_perf_page_no = 2;
  ClimbIasMin = 180, ClimbIasMax = 300, climb_mach_min = 0.6, climb_mach_max = 0.8;
  frames(1);
  const LimitCase cases[] = {
      {"250/.78", "L2", true, 250, 0.78},   {"-50/.78", "L2", false, 250, 0.78},
      {"250/.7X", "L2", false, 250, 0.78},  {"250/.099", "L2", false, 250, 0.78},
      {"250/.995", "L2", false, 250, 0.78}, {"310/.700", "L2", false, 250, 0.78},
      {"250/.810", "L2", false, 250, 0.78}, {"000/.700", "L2", false, 250, 0.78},
      // The least climb speed (210 kt in the sample aircraft file) and its Mach at FL170.
      {"050/.1", "L2", false, 250, 0.78},   {"209/.700", "L2", false, 250, 0.78},
      {"210/.300", "L2", false, 250, 0.78}, {"210/.5", "L2", true, 210, 0.5},
      {"200/.050", "R1", false, 210, 0.5},  {"040/.700", "R1", false, 210, 0.5},
      {"321/.790", "R1", false, 210, 0.5},  {"999/.790", "R1", false, 210, 0.5},
      {"260/.79", "R1", true, 210, 0.5},
  };
  for (const LimitCase& c : cases) {
    put(c.entry, c.key);
    EXPECT_EQ(smiths_scratchpad, c.taken ? "" : c.entry) << c.entry;
    EXPECT_EQ(bottom(), c.taken ? "" : "INVALID ENTRY") << c.entry;
    EXPECT_DOUBLE_EQ(ClimbIasMin, c.ias) << c.entry << " on " << c.key;
    EXPECT_DOUBLE_EQ(climb_mach_min, c.mach) << c.entry << " on " << c.key;
  }
  EXPECT_DOUBLE_EQ(ClimbIasMax, 260);
  EXPECT_DOUBLE_EQ(climb_mach_max, 0.79);
  // The maximum column stands in its place whatever the minimum's digits.
  EXPECT_EQ(line(71), "210 /.500 | 260 / .790");
  double x_short = -1, x_long = -1;
  for (const GfxTextItem& t : items())
    if (t.world.y == 71 && t.world.x > 0) x_short = t.world.x;
  put("250/.600", "L2");
  for (const GfxTextItem& t : items())
    if (t.world.y == 71 && t.world.x > 0) x_long = t.world.x;
  EXPECT_GT(x_short, 150);
  EXPECT_DOUBLE_EQ(x_short, x_long);
  expect_texts_inside("PERF LIMITS");
}

// APPROACH REF speeds print in three digits; the widest that can be stored fits.
TEST_F(EntryRanges, ApproachRefSpeeds) {
  start();
  smiths_page = SMITHS_PAGE_APPROACH_REF;
  frames(1);
  struct Case {
    const char* entry;
    bool taken;
    int32_t vref;
  };
  const Case cases[] = {{"999999", false, 145}, {"1000", false, 145}, {"999", false, 145}, {"321", false, 145},
                        {"150KT", false, 145},  {"150", true, 150},   {"3E4", false, 150}, {"0", false, 150},
                        {"00", false, 150},     {"-5", false, 150},   {"49", false, 150},  {"320", true, 320},
                        // Not below the stall speed VS0 (110 kt in the host).
                        {"50", false, 320},     {"109", false, 320},  {"110", true, 110},  {"320", true, 320}};
  VREFMID = 145;
  for (const Case& c : cases) {
    put(c.entry, "R2");
    expect_answer(c.entry, c.taken);
    EXPECT_EQ(VREFMID, c.vref) << c.entry;
  }
  put("320", "R1");
  put("320", "R3");
  EXPECT_EQ(at(223, 71), "320 K T");
  expect_texts_inside("APPROACH REF");
}

struct HoldCase {
  const char* entry;
  const char* key;  // L3 course/turn, L4 leg time, L5 leg distance
  bool taken;
  const char* shown;  // the row afterwards when taken (else unchanged)
  double shown_y;
};

// RTE HOLD on a hold placed at CARRO of the active route: the course 0-360, leg time and
// distance in tenths that print in their fields.
TEST_F(EntryRanges, RteHoldEntries) {
  start();
  execute_company_route();
  press("HOLD");
  press("L2");  // CARRO
  press("L6");
  ASSERT_EQ(smiths_page, SMITHS_PAGE_RTE_HOLD);
  ASSERT_EQ(hold_count, 1);
  const HoldCase cases[] = {
      {"270/L", "L3", true, "270 /  L  T U R N", 99},    {"360.9/R", "L3", false, "", 99},
      {"270/R/L", "L3", false, "", 99},
      {"361/R", "L3", false, "", 99},                    {"3E2/R", "L3", false, "", 99},
      {"360/R", "L3", true, "360 /  R  T U R N", 99},    {"0/L", "L3", true, "000 /  L  T U R N", 99},
      {"99999", "L4", false, "", 133},                   {"10", "L4", false, "", 133},
      {"0.04", "L4", false, "", 133},         {"9.9", "L4", true, "9.9   M I N", 133},
      {"1.5", "L4", true, "1.5   M I N", 133},          {"99999.9", "L5", false, "", 166},
      {"100", "L5", false, "", 166},                     {"1E1", "L5", false, "", 166},
      {"99.9", "L5", true, "99.9 - N M", 166},
  };
  for (const HoldCase& c : cases) {
    const std::string before = at(0, c.shown_y);
    put(c.entry, c.key);
    expect_answer(c.entry, c.taken);
    EXPECT_EQ(at(0, c.shown_y), c.taken ? std::string(c.shown) : before) << c.entry << " on " << c.key;
  }
  EXPECT_DOUBLE_EQ(hold_list[1].leg_dist, 99.9);
  EXPECT_DOUBLE_EQ(hold_list[1].leg_time, 1.5);
  EXPECT_EQ(hold_list[1].leg_mode, 2);
  EXPECT_DOUBLE_EQ(hold_list[1].inbound_course, 0);
  expect_texts_inside("RTE HOLD");
}

// "MOD" of a modified route: 2 px further right on PERF INIT than on RTE, over its box,
// and a space clear of the title.
TEST_F(EntryRanges, ModTagPositions) {
  start();
  execute_company_route();
  smiths_page = SMITHS_PAGE_PERF_INIT;
  smiths_perf_page_no = 1;
  frames(1);
  EXPECT_EQ(at(18, 0), "ACT");
  put("FL350", "R1");
  ASSERT_EQ(fpl_changed_state, 4);
  EXPECT_EQ(at(16, 0), "MOD");
  EXPECT_EQ(at(18, 0), "");
  expect_texts_inside("PERF INIT MOD");
  press("RTE");
  EXPECT_EQ(at(14, 0), "MOD");
  double mod_right = 0, title_left = 0;
  for (const GfxTextItem& t : items()) {
    if (t.text == "MOD") mod_right = t.ink.x + t.ink.width;
    if (t.text == "RTE") title_left = t.ink.x;
  }
  EXPECT_GE(title_left - mod_right, 4.0);
}

}  // namespace
