// PC-keyboard entry of the MCU and the text CDU: one poll of the keyboard device a draw.
#include <cstring>

#include "cdu/mcu/mcu_state.h"
#include "module/display_state.h"

namespace {

// Scan codes of the device state.
struct CharKey {
  uint8_t scan;
  char c;
};
// Letters A to Z, then the digits 0 to 9 of the main row: the order characters are taken in.
constexpr CharKey char_keys[] = {
    {0x1E, 'A'}, {0x30, 'B'}, {0x2E, 'C'}, {0x20, 'D'}, {0x12, 'E'}, {0x21, 'F'}, {0x22, 'G'}, {0x23, 'H'},
    {0x17, 'I'}, {0x24, 'J'}, {0x25, 'K'}, {0x26, 'L'}, {0x32, 'M'}, {0x31, 'N'}, {0x18, 'O'}, {0x19, 'P'},
    {0x10, 'Q'}, {0x13, 'R'}, {0x1F, 'S'}, {0x14, 'T'}, {0x16, 'U'}, {0x2F, 'V'}, {0x11, 'W'}, {0x2D, 'X'},
    {0x15, 'Y'}, {0x2C, 'Z'}, {0x0B, '0'}, {0x02, '1'}, {0x03, '2'}, {0x04, '3'}, {0x05, '4'}, {0x06, '5'},
    {0x07, '6'}, {0x08, '7'}, {0x09, '8'}, {0x0A, '9'},
};
constexpr uint8_t SCAN_BACK = 0x0E, SCAN_ENTER = 0x1C, SCAN_KP_ENTER = 0x9C;
constexpr uint8_t SCAN_UP = 0xC8, SCAN_DOWN = 0xD0, SCAN_PAGE_UP = 0xC9, SCAN_PAGE_DOWN = 0xD1;
// Left and right Shift and Ctrl, left Alt.
constexpr uint8_t modifier_keys[] = {0x2A, 0x36, 0x1D, 0x9D, 0x38};

}  // namespace

void process_mcu_keys() {
  uint8_t state[WIN_INPUT_STATE_SIZE];
  if (!dinput_keyboard || !read_keyboard_state(state)) return;
  auto down = [&](uint8_t scan) { return (state[scan] & 0x80) != 0; };
  auto pressed = [&](uint8_t scan) { return down(scan) && (kbd_prev_state[scan] & 0x80) == 0; };

  std::string work;
  if (kbd_entry_target == 1) work = text_cdu_scratchpad;
  if (mcu_kbd_on == 1)
    work = mcu_legs_alt_mode == 1 && mcu_page == MCU_PAGE_LEGS ? mcu_legs_entry : mcu_scratchpad;

  bool modifier = false;
  for (uint8_t scan : modifier_keys) modifier = modifier || down(scan);
  if (!modifier) {
    // An MCU entry ends where its line does.
    const size_t limit = mcu_kbd_on == 1 ? MCU_ENTRY_MAX_CHARS : std::string::npos;
    for (const CharKey& k : char_keys)
      if (pressed(k.scan) && work.size() < limit) work.push_back(k.c);
    // One character a press, however long the key is held or however many units poll.
    if (pressed(SCAN_BACK)) {
      if (!work.empty()) work.pop_back();
      mcu_redraw = 1;
    }
    if (kbd_entry_target == 1) {
      text_cdu_scratchpad = work;
      if (pressed(SCAN_UP)) text_cdu_up = 1;
      if (pressed(SCAN_DOWN)) text_cdu_down = 1;
      if (pressed(SCAN_PAGE_UP)) text_cdu_page_up = 1;
      if (pressed(SCAN_PAGE_DOWN)) text_cdu_page_down = 1;
    }
    if (mcu_kbd_on == 1) {
      if (mcu_page == MCU_PAGE_APT || mcu_page == MCU_PAGE_DIRTO) mcu_scratchpad = work;
      else if (mcu_page == MCU_PAGE_LEGS) mcu_legs_entry = work;
      if (pressed(SCAN_UP)) mcu_prev = 1;
      if (pressed(SCAN_DOWN)) mcu_next = 1;
      if (pressed(SCAN_PAGE_UP)) mcu_page_up = 1;
      if (pressed(SCAN_PAGE_DOWN)) mcu_page_down = 1;
      mcu_redraw = 1;
    }
    if (down(SCAN_ENTER) || down(SCAN_KP_ENTER)) {
      if (kbd_entry_target == 1) {
        text_cdu_enter = 1;
        kbd_entry_target = 0;
      }
      if (mcu_kbd_on == 1) {
        mcu_enter = 1;
        mcu_kbd_on = 0;
      }
      set_keyboard_hook(0);
      release_direct_input();
    }
  }
  std::memcpy(kbd_prev_state, state, sizeof kbd_prev_state);
}

void start_mcu_key_capture() {
  mcu_kbd_on = 1;
  set_keyboard_hook(1);
  // Without a device no key would ever arrive: entry goes off again, the failure text
  // stays in text_cdu_scratchpad.
  if (!init_direct_input_keyboard()) stop_key_capture_2();
}
