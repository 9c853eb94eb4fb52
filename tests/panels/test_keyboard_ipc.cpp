// Keyboard hook, keyboard device and IPC client against the desktop stand-ins.
#include <cstring>
#include <sstream>

#include "module/ipc_client.h"
#include "module/keyboard_input.h"
#include "platform/win/win_ipc.h"
#include "platform/win/win_keyboard.h"
#include "host/scenario.h"
#include "tests/panels/panel_fixture.h"

namespace {

class Keyboard : public PanelTest {};

TEST_F(Keyboard, HookSwallowsWhileSGOrZIsDownWithoutModifiers) {
  EXPECT_FALSE(win_key_event('S', true));  // no hook yet
  win_key_event('S', false);
  set_keyboard_hook(1);
  set_keyboard_hook(1);
  EXPECT_TRUE(win_keyboard_hook_installed());

  EXPECT_FALSE(win_key_event('A', true));
  EXPECT_FALSE(win_key_event('A', false));
  EXPECT_TRUE(win_key_event('S', true));
  EXPECT_TRUE(win_key_event('A', true));  // the rule tests S, G and Z, not the key itself
  EXPECT_TRUE(win_key_event('A', false));
  EXPECT_FALSE(win_key_event('S', false));  // S is up once released
  EXPECT_TRUE(win_key_event('G', true));
  EXPECT_FALSE(win_key_event(WIN_VK_SHIFT, true));
  EXPECT_FALSE(win_key_event('Z', true));
  win_key_event(WIN_VK_SHIFT, false);
  EXPECT_FALSE(win_key_event(WIN_VK_CONTROL, true, true));  // right Ctrl
  win_key_event(WIN_VK_CONTROL, false, true);
  EXPECT_FALSE(win_key_event(WIN_VK_MENU, true));
  win_key_event(WIN_VK_MENU, false);
  EXPECT_TRUE(win_key_event('1', true));

  set_keyboard_hook(0);
  EXPECT_FALSE(win_keyboard_hook_installed());
  EXPECT_FALSE(win_key_event('Z', true));
}

TEST_F(Keyboard, DeviceStateHasBit7ForKeysDownByScanCode) {
  ASSERT_TRUE(init_direct_input_keyboard());
  ASSERT_NE(dinput_keyboard, nullptr);
  win_key_event('A', true);
  win_key_event(WIN_VK_RETURN, true, true);
  uint8_t state[256];
  ASSERT_TRUE(read_keyboard_state(state));
  EXPECT_EQ(state[0x1E], 0x80);  // A
  EXPECT_EQ(state[0x9C], 0x80);  // keypad Enter
  EXPECT_EQ(state[0x1C], 0x00);
  win_key_event('A', false);
  ASSERT_TRUE(read_keyboard_state(state));
  EXPECT_EQ(state[0x1E], 0x00);
  EXPECT_TRUE(init_direct_input_keyboard());  // a second switch-on keeps the one device
  EXPECT_EQ(win_input_live_objects(), 2);
}

TEST_F(Keyboard, ScriptKeyNamesReachTheirScanCodes) {
  ASSERT_TRUE(init_direct_input_keyboard());
  const struct {
    const char* name;
    uint8_t scan;
  } keys[] = {{"q", 0x10}, {"0", 0x0B}, {"9", 0x0A}, {"BACK", 0x0E}, {"kpenter", 0x9C}, {"ENTER", 0x1C},
              {"PgUp", 0xC9}, {"PGDN", 0xD1}, {"UP", 0xC8}, {"DOWN", 0xD0}, {"RSHIFT", 0x36}, {"RCTRL", 0x9D},
              {"ALT", 0x38}};
  uint8_t state[256];
  for (const auto& k : keys) {
    bool extended = false;
    int32_t vk = win_vk_from_name(k.name, &extended);
    ASSERT_NE(vk, 0) << k.name;
    win_key_event(vk, true, extended);
    ASSERT_TRUE(read_keyboard_state(state));
    EXPECT_EQ(state[k.scan], 0x80) << k.name;
    win_key_event(vk, false, extended);
  }
  bool extended = true;
  EXPECT_EQ(win_vk_from_name("F13", &extended), 0);
  EXPECT_FALSE(extended);
  EXPECT_EQ(win_vk_from_name("AVERYLONGKEYNAMEINDEED", nullptr), 0);
  EXPECT_EQ(win_vk_from_name("", nullptr), 0);
}

TEST_F(Keyboard, CreationFailuresReportTheirStageAndLeaveNoDevice) {
  const char* texts[] = {"DirectInput failed", "CreateDevice failed", "SetDataFormat failed",
                         "SetCooperativeLevel failed"};
  for (int stage = 1; stage <= 4; ++stage) {
    text_cdu_scratchpad.clear();
    win_input_fail_stage(stage);
    EXPECT_FALSE(init_direct_input_keyboard());
    EXPECT_EQ(text_cdu_scratchpad, texts[stage - 1]);
    EXPECT_EQ(dinput_keyboard, nullptr);
    EXPECT_EQ(win_input_live_objects(), 0) << "stage " << stage;
  }
  // Without the simulator's main window there is no window to cooperate with.
  win_input_fail_stage(0);
  win_destroy_window(WIN_MAIN_WINDOW_CLASS);
  EXPECT_FALSE(init_direct_input_keyboard());
  EXPECT_EQ(text_cdu_scratchpad, "SetCooperativeLevel failed");
  set_keyboard_hook(1);
  EXPECT_FALSE(win_keyboard_hook_installed());
}

TEST_F(Keyboard, FailedAcquireLeavesTheDeviceForTheNextPoll) {
  win_input_fail_stage(5);
  text_cdu_scratchpad = "KEEP";
  ASSERT_TRUE(init_direct_input_keyboard());
  EXPECT_NE(dinput_keyboard, nullptr);
  EXPECT_EQ(text_cdu_scratchpad, "KEEP");
  win_input_fail_stage(0);
  uint8_t state[256];
  EXPECT_FALSE(read_keyboard_state(state));  // not acquired: acquire again
  EXPECT_TRUE(read_keyboard_state(state));
}

TEST_F(Keyboard, LostInputIsReacquiredAFewTimesPerPollAtMost) {
  ASSERT_TRUE(init_direct_input_keyboard());
  uint8_t state[256];
  int before = win_input_acquire_count();
  win_input_lose(1000000);  // a device that never comes back
  EXPECT_FALSE(read_keyboard_state(state));
  EXPECT_EQ(win_input_acquire_count() - before, kbd_reacquire_attempts);
  EXPECT_FALSE(read_keyboard_state(state));
  EXPECT_EQ(win_input_acquire_count() - before, 2 * kbd_reacquire_attempts);

  win_input_lose(1);  // lost once, back on the second acquire
  EXPECT_FALSE(read_keyboard_state(state));
  EXPECT_TRUE(read_keyboard_state(state));
}

TEST_F(Keyboard, StopKeyCaptureReleasesEverything) {
  mcu_kbd_on = 1;
  set_keyboard_hook(1);
  ASSERT_TRUE(init_direct_input_keyboard());
  stop_key_capture_2();
  EXPECT_EQ(mcu_kbd_on, 0);
  EXPECT_FALSE(win_keyboard_hook_installed());
  EXPECT_EQ(dinput_keyboard, nullptr);
  EXPECT_EQ(win_input_live_objects(), 0);
  uint8_t state[256];
  EXPECT_FALSE(read_keyboard_state(state));
  stop_key_capture_2();
}

class Ipc : public PanelTest {};

TEST_F(Ipc, WithoutTheServerNothingOpens) {
  EXPECT_EQ(ipc_open(), 0);
  int32_t count = 7;
  EXPECT_FALSE(ipc_read(IPC_OFFSET_PAYLOAD_COUNT, 4, &count));
  EXPECT_EQ(ipc_process(), 0);
  EXPECT_EQ(count, 7);
  ipc_close();
  active_rwy_lines[0] = "stale";
  request_active_runways_ipc("KSEA");
  EXPECT_EQ(active_rwy_lines[0], "");
  EXPECT_EQ(mcu_aptinfo_subpage_count, 1);
  send_fplan_ipc("16L");
}

TEST_F(Ipc, ReadsByOffsetFromTheServerBlock) {
  ASSERT_TRUE(win_ipc_server_start());
  int32_t stations = 3, zfw = 120000 * 256;
  double weight2 = 180.5;
  ASSERT_TRUE(win_ipc_server_write(IPC_OFFSET_PAYLOAD_COUNT, &stations, 4));
  ASSERT_TRUE(win_ipc_server_write(IPC_OFFSET_ZFW, &zfw, 4));
  ASSERT_TRUE(win_ipc_server_write(IPC_OFFSET_STATION_WEIGHTS + IPC_STATION_STRIDE, &weight2, 8));

  ASSERT_EQ(ipc_open(), 1);
  int32_t got_stations = 0, got_zfw = 0;
  double got_weight = 0;
  ASSERT_TRUE(ipc_read(IPC_OFFSET_PAYLOAD_COUNT, 4, &got_stations));
  ASSERT_TRUE(ipc_read(IPC_OFFSET_ZFW, 4, &got_zfw));
  ASSERT_TRUE(ipc_read(IPC_OFFSET_STATION_WEIGHTS + IPC_STATION_STRIDE, 8, &got_weight));
  EXPECT_EQ(ipc_process(), 1);
  ipc_close();
  EXPECT_EQ(got_stations, 3);
  EXPECT_EQ(got_zfw, 120000 * 256);
  EXPECT_EQ(got_weight, 180.5);
}

TEST_F(Ipc, ARequestOutsideTheBlockIsRefusedWhole) {
  ASSERT_TRUE(win_ipc_server_start());
  int32_t stations = 4;
  win_ipc_server_write(IPC_OFFSET_PAYLOAD_COUNT, &stations, 4);
  ASSERT_EQ(ipc_open(), 1);
  int32_t a = -1, b = -1;
  ASSERT_TRUE(ipc_read(IPC_OFFSET_PAYLOAD_COUNT, 4, &a));
  ASSERT_TRUE(ipc_read(WIN_IPC_BLOCK_SIZE - 2, 4, &b));
  EXPECT_EQ(ipc_process(), 0);
  EXPECT_EQ(a, -1);
  EXPECT_EQ(b, -1);
  // The queue is bounded: a read larger than it is dropped.
  static uint8_t big[IPC_QUEUE_BYTES];
  EXPECT_FALSE(ipc_read(0, IPC_QUEUE_BYTES, big));
  ipc_close();
  EXPECT_EQ(win_ipc_server_message_count(), 0);
}

TEST_F(Ipc, RunwayRequestAndPlanTextGoThroughTheServer) {
  ASSERT_TRUE(win_ipc_server_start());
  const uint8_t answer[8] = {16, 1, 34, 2, 9, 0, 0, 0};  // 16L, 34R, 09; no fourth
  ASSERT_TRUE(win_ipc_server_write(IPC_OFFSET_RUNWAY_ANSWER, answer, sizeof answer));
  request_active_runways_ipc("KSEA");
  char ident[8] = {};
  ASSERT_TRUE(win_ipc_server_read(IPC_OFFSET_RUNWAY_AIRPORT, ident, sizeof ident));
  EXPECT_STREQ(ident, "KSEA");
  EXPECT_EQ(active_rwy_lines[0], "16L\n");
  EXPECT_EQ(active_rwy_lines[1], "34R\n");
  EXPECT_EQ(active_rwy_lines[2], "09\n");
  EXPECT_EQ(active_rwy_lines[3], "");
  EXPECT_EQ(mcu_aptinfo_subpage_count, 2);

  std::string long_text(300, 'X');
  send_fplan_ipc(long_text.c_str());
  char text[IPC_FPLAN_TEXT_SIZE];
  ASSERT_TRUE(win_ipc_server_read(IPC_OFFSET_FPLAN_TEXT, text, sizeof text));
  EXPECT_EQ(std::strlen(text), IPC_FPLAN_TEXT_SIZE - 1);
  send_fplan_ipc("RWY 16L");
  ASSERT_TRUE(win_ipc_server_read(IPC_OFFSET_FPLAN_TEXT, text, sizeof text));
  EXPECT_STREQ(text, "RWY 16L");

  win_ipc_server_stop();
  EXPECT_EQ(ipc_open(), 0);
}

// Scenario lines reach the module as the simulator would: panel clicks, key presses,
// other modules' named variables and the IPC server's block.
class ScenarioInput : public PanelTest {
 protected:
  simhost::ScenarioResult run(const std::string& text) {
    std::istringstream in(text);
    simhost::Scenario sc;
    std::string error;
    simhost::ScenarioResult result;
    EXPECT_TRUE(simhost::parse_scenario(in, "script", &sc, &error)) << error;
    EXPECT_TRUE(simhost::check_scenario(sc, host_, &error)) << error;
    EXPECT_TRUE(simhost::run_scenario(sc, host_, folder_, &result, &error)) << error;
    for (const std::string& f : result.failures) ADD_FAILURE() << f;
    return result;
  }
};

TEST_F(ScenarioInput, KeysReachTheHookAndTheKeyboardDevice) {
  start({{"SERVER", ""}});
  set_keyboard_hook(1);
  ASSERT_TRUE(init_direct_input_keyboard());
  uint8_t state[256];
  run("key G down\n");
  ASSERT_TRUE(read_keyboard_state(state));
  EXPECT_EQ(state[0x22], 0x80);  // G
  EXPECT_TRUE(win_key_event('A', true));  // swallowed while G is down
  win_key_event('A', false);
  run("key G up\nkey KPENTER\n");
  ASSERT_TRUE(read_keyboard_state(state));
  EXPECT_EQ(state[0x22], 0x00);
  EXPECT_EQ(state[0x9C], 0x00);  // pressed and released
  EXPECT_FALSE(win_key_event('A', true));
  win_key_event('A', false);
  stop_key_capture_2();
}

TEST_F(ScenarioInput, PanelClicksAndAnotherModulesCommandsArePublishedOnce) {
  start({{"SERVER", ""}, {"HW_B737_EFIS_CNTR", ""}, {"VNAV", ""}});
  make_active_plan();
  simhost::ScenarioResult r = run(
      "var vek_nd_apt_clicked 1\nrun 2f\nexpect_var vek_nd_apt 1\nexpect_var vek_nd_apt_clicked 0\n"
      "run 2f\nexpect_var vek_nd_apt 1\n"  // acted on once
      "click HW_B737_EFIS_CNTR 5\nrun 1f\nexpect_var vek_nd_nav 1\n"  // the NAV key
      "click VNAV 0\nrun 1f\nexpect_var vek_vnav 1\n"
      "var vek_vnav_clicked 1\nrun 2f\nexpect_var vek_vnav 0\nexpect_var vek_vnav_clicked 0\n");
  EXPECT_EQ(r.expectations, 7);
  EXPECT_EQ(r.failed_expectations, 0);
}

TEST_F(ScenarioInput, TheIpcServerStartsAndStopsFromTheScript) {
  start({{"SERVER", ""}});
  run("ipc start\nipc i32 5116 3\n");
  ASSERT_EQ(ipc_open(), 1);
  int32_t stations = 0;
  ASSERT_TRUE(ipc_read(IPC_OFFSET_PAYLOAD_COUNT, 4, &stations));
  EXPECT_EQ(ipc_process(), 1);
  ipc_close();
  EXPECT_EQ(stations, 3);
  run("ipc stop\n");
  EXPECT_EQ(ipc_open(), 0);
  // Without the server a write to its block stops the script with a reason.
  std::istringstream in("ipc i32 5116 3\n");
  simhost::Scenario sc;
  simhost::ScenarioResult result;
  std::string error;
  ASSERT_TRUE(simhost::parse_scenario(in, "script", &sc, &error)) << error;
  EXPECT_FALSE(simhost::run_scenario(sc, host_, folder_, &result, &error));
  EXPECT_NE(error.find("script:1:"), std::string::npos) << error;
}

}  // namespace
