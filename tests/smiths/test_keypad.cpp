// Keypad, scratchpad and message line, one-shot keys, lights, both gauges.
#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"
#include "gauges/gauge_table.h"

TEST_F(CduTest, StartsOnIdentWithSeventyKeysThatNameTheirCharacters) {
  start();
  EXPECT_EQ(title(), "IDENT");
  EXPECT_EQ(at(220, 3), "1 / 1");
  EXPECT_EQ(at(0, 33), "TWINJET-800");
  const simhost::PlacedGauge* g = host_.find_gauge("SMITHS_FMS");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(host_.child_rect_count(*g), 70);
  // Every child takes the left single click with the hand cursor.
  int children = 0;
  for (const MouseRect* r = smiths_fms_mouse_rects; r->type != MOUSE_RECT_EOL; ++r) {
    if (r->type != MOUSE_RECT_CHILD) continue;
    ++children;
    EXPECT_EQ(r->cursor, CURSOR_HAND);
    EXPECT_EQ(r->event_flags, MOUSE_LEFT_SINGLE);
    MouseClickFn fn = r->click;
    EXPECT_TRUE(fn != nullptr);
  }
  EXPECT_EQ(children, 70);
  for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789./ -")) EXPECT_GE(host_.key_for_char(*g, c), 0) << c;
  // Clicking on the face reaches the key under the point: A at (172, 381).
  std::string error;
  ASSERT_TRUE(host_.click_at("SMITHS_FMS", 180, 390, &error)) << error;
  frames();
  EXPECT_EQ(bottom(), "A");
}

TEST_F(CduTest, TypingFillsTheScratchpadUpToTwentyFourCharacters) {
  start();
  type("KSEA KPDX/1.5");
  EXPECT_EQ(bottom(), "KSEA KPDX/1.5");
  type("ABCDEFGHIJKLM");
  EXPECT_EQ(smiths_scratchpad.size(), 24u);
  EXPECT_EQ(bottom(), "KSEA KPDX/1.5ABCDEFGHIJK");
  press("+/-");
  EXPECT_EQ(smiths_scratchpad.size(), 24u);
}

TEST_F(CduTest, PlusMinusCyclesTheSign) {
  start();
  press("+/-");
  EXPECT_EQ(bottom(), "-");
  press("CLR");
  type("12");
  press("+/-");
  EXPECT_EQ(bottom(), "12-");
  press("+/-");
  EXPECT_EQ(bottom(), "12+");
  press("+/-");
  EXPECT_EQ(bottom(), "12-");
}

TEST_F(CduTest, ClearRemovesTheMessageFirstThenCharacters) {
  start();
  type("AB");
  press("DEL");
  EXPECT_EQ(bottom(), "DELETE");
  EXPECT_TRUE(light_on(SMITHS_ELEMENT_MSG_LIGHT));
  type("C");  // a key never clears the message
  EXPECT_EQ(bottom(), "DELETE");
  press("CLR");
  EXPECT_EQ(bottom(), "ABC");
  EXPECT_FALSE(light_on(SMITHS_ELEMENT_MSG_LIGHT));
  press("CLR");
  EXPECT_EQ(bottom(), "AB");
  press("CLR");
  press("CLR");
  EXPECT_EQ(bottom(), "");
  press("CLR");
  EXPECT_EQ(bottom(), "");
}

TEST_F(CduTest, BlankKeyAfterDeleteEmptiesBothElseTypesABlank) {
  start();
  type("AB");
  press("DEL");
  press("SP");
  EXPECT_TRUE(smiths_scratchpad.empty());
  EXPECT_TRUE(smiths_scratchpad_msg.empty());
  type("A");
  smiths_scratchpad_msg = "NOT IN DATABASE";
  press("SP");
  EXPECT_EQ(smiths_scratchpad, "A ");
}

TEST_F(CduTest, FunctionKeysOpenTheirPages) {
  start();
  press("INIT REF");  // no flight plan: POS INIT
  EXPECT_EQ(smiths_page, SMITHS_PAGE_POS_INIT);
  press("RTE");
  EXPECT_EQ(title(), "RTE");
  press("DEP ARR");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_DEP_ARR_INDEX);
  press("LEGS");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_LEGS);
  EXPECT_EQ(smiths_legs_mode, 0);
  press("HOLD");  // no holds: LEGS in hold mode
  EXPECT_EQ(smiths_legs_mode, 2);
  press("PROG");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_PROGRESS);
  press("FIX");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_FIX_INFO);
  press("CLB");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_ECON_CLB);
  smiths_page = 2;
  press("DIR INTC");  // no route
  EXPECT_EQ(smiths_page, 2);
  EXPECT_EQ(bottom(), "");  // the page without a renderer draws nothing
  EXPECT_EQ(smiths_scratchpad_msg, "NO ACTIVE ROUTE");
  // With a plan INIT REF opens PERF INIT.
  fpl_active_index = 1;
  press("INIT REF");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_PERF_INIT);
}

TEST_F(CduTest, OneShotFlagsLastOneDrawAndAKeyOnABlankPageIsDropped) {
  start();
  press("CRZ");
  press("L1");
  EXPECT_EQ(smiths_pending_lsk, 0);
  smiths_fms_key(13);  // NEXT PAGE without a draw
  EXPECT_EQ(smiths_next_page_key, 1);
  frames();
  EXPECT_EQ(smiths_next_page_key, 0);
}

TEST_F(CduTest, ExecOnlyActsWaitingForIt) {
  start();
  press("EXEC");
  EXPECT_EQ(fpl_changed_state, 0);
  EXPECT_FALSE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
}

TEST_F(CduTest, ScreenCentreTogglesTheCduWindow) {
  start();
  ASSERT_TRUE(host_.window_visible(WINDOW_SMITHS_FMS));
  press("SCREEN");
  EXPECT_FALSE(host_.window_visible(WINDOW_SMITHS_FMS));
}

TEST_F(CduTest, BothGaugesShareOneCdu) {
  start(true);
  type("KS", "SMITHS_FMS_BR");
  press("RTE", "SMITHS_FMS");
  EXPECT_EQ(at(63, 0, "SMITHS_FMS_BR"), "RTE");
  EXPECT_EQ(at(0, 227, "SMITHS_FMS_BR"), "KS");
  EXPECT_EQ(at(0, 227, "SMITHS_FMS"), "KS");
}

TEST_F(CduTest, LettersGToZAlsoReachTheOpenGnsxlsField) {
  start();
  gnsxls_prompt_open = 1;
  gnsxls_clear_on_key = 0;
  gnsxls_scratchpad = "------";
  type("AK7Z");
  EXPECT_EQ(gnsxls_scratchpad, "KZ    ");
  EXPECT_EQ(smiths_scratchpad, "AK7Z");
}

// The shared editor, called as the GNS-XLS keys call it.
TEST(ScratchpadEditor, FixedWidthFieldWithPlaceholdersAndDelete) {
  gnsxls_prompt_open = 1;
  gnsxls_clear_on_key = 0;
  gnsxls_page = 3;
  gnsxls_scratchpad = "------";
  scratchpad_add_key("K", 0);
  EXPECT_EQ(gnsxls_scratchpad, "K     ");
  gnsxls_scratchpad = "KSEA12";
  scratchpad_add_key("X", 0);
  EXPECT_EQ(gnsxls_scratchpad, "KSEA12");
  scratchpad_add_key("*1", 0);
  EXPECT_EQ(gnsxls_scratchpad, "KSEA1 ");
  gnsxls_clear_on_key = 1;
  scratchpad_add_key("7", 0);
  scratchpad_add_key("3", 0);
  EXPECT_EQ(gnsxls_scratchpad, "73    ");
  gnsxls_page = 14;
  gnsxls_scratchpad = "******";
  for (char c : std::string("ABCDEFGHIJK")) scratchpad_add_key(std::string(1, c), 0);
  EXPECT_EQ(gnsxls_scratchpad, "ABCDEFGHIJ");
  gnsxls_page = 1;
  gnsxls_scratchpad = "  AB";
  scratchpad_add_key("", 1);
  EXPECT_EQ(gnsxls_scratchpad, "  AB  ");
  gnsxls_scratchpad = "";
  scratchpad_add_key("*1", 0);
  EXPECT_EQ(gnsxls_scratchpad, "      ");
  smiths_hold_at_index = 4;
  gnsxls_prompt_open = 0;
  scratchpad_add_key("Q", 0);
  EXPECT_EQ(gnsxls_scratchpad, "      ");
  EXPECT_EQ(smiths_hold_at_index, 0);
}
