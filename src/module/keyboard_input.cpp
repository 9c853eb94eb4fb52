#include "module/keyboard_input.h"
#include "module/load_state.h"

WinInputDevice* dinput_keyboard = nullptr;
int32_t mcu_kbd_on = 0;
std::string text_cdu_scratchpad;

namespace {

WinInput* dinput_interface = nullptr;
WinHook keyboard_hook = 0;

bool key_down(int32_t vk) { return win_get_key_state(vk) != 0; }

}  // namespace

intptr_t keyboard_hook_proc(int32_t code, uintptr_t wparam, intptr_t lparam) {
  if (code >= 0 && !key_down(WIN_VK_SHIFT) && !key_down(WIN_VK_CONTROL) && !key_down(WIN_VK_MENU) &&
      (key_down('S') || key_down('G') || key_down('Z'))) {
    return 1;
  }
  return win_call_next_hook(keyboard_hook, code, wparam, lparam);
}

void set_keyboard_hook(int32_t on) {
  if (on == 1) {
    if (keyboard_hook != 0) return;
    uint32_t thread = win_window_thread_id(win_find_window(WIN_MAIN_WINDOW_CLASS));
    keyboard_hook = win_set_windows_hook(WIN_WH_KEYBOARD, keyboard_hook_proc, thread);
  } else if (on == 0 && keyboard_hook != 0) {
    win_unhook_windows_hook(keyboard_hook);
    keyboard_hook = 0;
  }
}

bool init_direct_input_keyboard() {
  if (dinput_keyboard) return true;
  if (win_input_create(&dinput_interface) != WIN_INPUT_OK) {
    dinput_interface = nullptr;
    text_cdu_scratchpad = "DirectInput failed";
    return false;
  }
  const char* failure = nullptr;
  WinInputDevice* device = nullptr;
  if (win_input_create_keyboard(dinput_interface, &device) != WIN_INPUT_OK) {
    failure = "CreateDevice failed";
  } else if (win_input_set_keyboard_format(device) != WIN_INPUT_OK) {
    failure = "SetDataFormat failed";
  } else if (win_input_set_cooperative_level(device, win_find_window(WIN_MAIN_WINDOW_CLASS),
                                             WIN_INPUT_NONEXCLUSIVE | WIN_INPUT_FOREGROUND) != WIN_INPUT_OK) {
    failure = "SetCooperativeLevel failed";
  }
  if (failure) {
    if (device) win_input_release_device(device);
    win_input_release(dinput_interface);
    dinput_interface = nullptr;
    text_cdu_scratchpad = failure;
    return false;
  }
  dinput_keyboard = device;
  win_input_acquire(dinput_keyboard);
  return true;
}

void release_direct_input() {
  if (dinput_keyboard) {
    win_input_unacquire(dinput_keyboard);
    win_input_release_device(dinput_keyboard);
    dinput_keyboard = nullptr;
  }
  if (dinput_interface) {
    win_input_release(dinput_interface);
    dinput_interface = nullptr;
  }
}

void stop_key_capture_2() {
  mcu_kbd_on = 0;
  set_keyboard_hook(0);
  release_direct_input();
}

bool read_keyboard_state(uint8_t state[WIN_INPUT_STATE_SIZE]) {
  if (!dinput_keyboard) return false;
  if (win_input_get_state(dinput_keyboard, state, WIN_INPUT_STATE_SIZE) == WIN_INPUT_OK) return true;
  for (int attempt = 0; attempt < kbd_reacquire_attempts; ++attempt) {
    if (win_input_acquire(dinput_keyboard) != WIN_INPUT_LOST) break;
  }
  return false;
}

void keep_keyboard_input_state(LoadState& state) { state.keep(dinput_interface, keyboard_hook); }
