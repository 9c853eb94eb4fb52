#include "platform/win/win_keyboard.h"

#include <cstring>

#include "platform/win/win_internal.h"

struct WinInput {
  bool live;
};

struct WinInputDevice {
  bool live;
  bool format_set;
  bool cooperative_set;
  bool acquired;
};

namespace {

constexpr int max_hooks = 4;
constexpr int max_objects = 8;

struct KeyboardState {
  bool vk_down[256];
  uint8_t scan_state[256];
  WinHookProc hooks[max_hooks];  // slot i is hook handle i + 1
  int32_t fail_stage;
  int32_t lost_acquires;  // acquires still to answer WIN_INPUT_LOST
  bool input_lost;        // the next state read fails
  int32_t acquire_count;
  WinInput inputs[max_objects];
  WinInputDevice devices[max_objects];
};

KeyboardState kb{};

constexpr uint8_t letter_scan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                                     0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

// The generic Shift, Ctrl and Alt codes stand for their left key (right with
// `extended` for Ctrl and Alt).
int32_t sided_vk(int32_t vk, bool extended) {
  switch (vk) {
    case WIN_VK_SHIFT: return WIN_VK_LSHIFT;
    case WIN_VK_CONTROL: return extended ? WIN_VK_RCONTROL : WIN_VK_LCONTROL;
    case WIN_VK_MENU: return extended ? WIN_VK_RMENU : WIN_VK_LMENU;
    default: return vk;
  }
}

WinInputDevice* live_device(WinInputDevice* d) { return (d && d->live) ? d : nullptr; }

}  // namespace

uint8_t win_scan_code(int32_t vk, bool extended) {
  vk = sided_vk(vk, extended);
  if (vk >= 'A' && vk <= 'Z') return letter_scan[vk - 'A'];
  if (vk >= '1' && vk <= '9') return static_cast<uint8_t>(0x02 + (vk - '1'));
  switch (vk) {
    case '0': return 0x0B;
    case ' ': return 0x39;
    case WIN_VK_BACK: return 0x0E;
    case WIN_VK_RETURN: return extended ? 0x9C : 0x1C;
    case WIN_VK_UP: return 0xC8;
    case WIN_VK_DOWN: return 0xD0;
    case WIN_VK_PRIOR: return 0xC9;
    case WIN_VK_NEXT: return 0xD1;
    case WIN_VK_LSHIFT: return 0x2A;
    case WIN_VK_RSHIFT: return 0x36;
    case WIN_VK_LCONTROL: return 0x1D;
    case WIN_VK_RCONTROL: return 0x9D;
    case WIN_VK_LMENU: return 0x38;
    case WIN_VK_RMENU: return 0xB8;
    default: return 0;
  }
}

uint8_t win_get_key_state(int32_t vk) {
  if (vk < 0 || vk > 255) return 0;
  bool down;
  switch (vk) {
    case WIN_VK_SHIFT: down = kb.vk_down[WIN_VK_LSHIFT] || kb.vk_down[WIN_VK_RSHIFT]; break;
    case WIN_VK_CONTROL: down = kb.vk_down[WIN_VK_LCONTROL] || kb.vk_down[WIN_VK_RCONTROL]; break;
    case WIN_VK_MENU: down = kb.vk_down[WIN_VK_LMENU] || kb.vk_down[WIN_VK_RMENU]; break;
    default: down = kb.vk_down[vk]; break;
  }
  return down ? 0x80 : 0x00;
}

WinHook win_set_windows_hook(int32_t kind, WinHookProc proc, uint32_t thread_id) {
  if (kind != WIN_WH_KEYBOARD || !proc || thread_id == 0) return 0;
  for (int i = 0; i < max_hooks; ++i) {
    if (!kb.hooks[i]) {
      kb.hooks[i] = proc;
      return static_cast<WinHook>(i + 1);
    }
  }
  return 0;
}

bool win_unhook_windows_hook(WinHook hook) {
  if (hook == 0 || hook > max_hooks || !kb.hooks[hook - 1]) return false;
  kb.hooks[hook - 1] = nullptr;
  return true;
}

// Hooks run newest first; the next one after `hook` gets the message, nobody
// swallowing it gives 0.
intptr_t win_call_next_hook(WinHook hook, int32_t code, uintptr_t wparam, intptr_t lparam) {
  int from = (hook >= 1 && hook <= max_hooks) ? static_cast<int>(hook) - 2 : -1;
  for (int i = from; i >= 0; --i)
    if (kb.hooks[i]) return kb.hooks[i](code, wparam, lparam);
  return 0;
}

bool win_keyboard_hook_installed() {
  for (WinHookProc p : kb.hooks)
    if (p) return true;
  return false;
}

bool win_key_event(int32_t vk, bool down, bool extended) {
  if (vk <= 0 || vk > 255) return false;
  int32_t key = sided_vk(vk, extended);
  kb.vk_down[key] = down;
  uint8_t scan = win_scan_code(vk, extended);
  if (scan != 0) kb.scan_state[scan] = down ? 0x80 : 0x00;
  intptr_t bits = 1 | (static_cast<intptr_t>(scan & 0x7F) << 16) | (static_cast<intptr_t>(extended || scan >= 0x80) << 24);
  if (!down) bits |= (static_cast<intptr_t>(1) << 30) | (static_cast<intptr_t>(1) << 31);
  for (int i = max_hooks - 1; i >= 0; --i)
    if (kb.hooks[i]) return kb.hooks[i](0, static_cast<uintptr_t>(vk), bits) != 0;
  return false;
}

int32_t win_vk_from_name(const char* name, bool* extended) {
  if (extended) *extended = false;
  if (!name || !*name) return 0;
  char upper[16] = {};
  for (int i = 0; name[i]; ++i) {
    if (i >= 15) return 0;
    char ch = name[i];
    upper[i] = (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
  }
  if (upper[1] == '\0' && ((upper[0] >= 'A' && upper[0] <= 'Z') || (upper[0] >= '0' && upper[0] <= '9'))) return upper[0];
  static const struct {
    const char* name;
    int32_t vk;
    bool extended;
  } names[] = {{"BACK", WIN_VK_BACK, false},   {"ENTER", WIN_VK_RETURN, false}, {"KPENTER", WIN_VK_RETURN, true},
               {"UP", WIN_VK_UP, false},       {"DOWN", WIN_VK_DOWN, false},    {"PGUP", WIN_VK_PRIOR, false},
               {"PGDN", WIN_VK_NEXT, false},   {"SHIFT", WIN_VK_LSHIFT, false}, {"RSHIFT", WIN_VK_RSHIFT, false},
               {"CTRL", WIN_VK_LCONTROL, false}, {"RCTRL", WIN_VK_RCONTROL, true}, {"ALT", WIN_VK_LMENU, false},
               {"SPACE", ' ', false}};
  for (const auto& n : names) {
    if (std::strcmp(n.name, upper) == 0) {
      if (extended) *extended = n.extended;
      return n.vk;
    }
  }
  return 0;
}

void win_release_all_keys() {
  std::memset(kb.vk_down, 0, sizeof kb.vk_down);
  std::memset(kb.scan_state, 0, sizeof kb.scan_state);
}

int32_t win_input_create(WinInput** out) {
  if (!out) return WIN_INPUT_FAIL;
  *out = nullptr;
  if (kb.fail_stage == 1) return WIN_INPUT_FAIL;
  for (WinInput& in : kb.inputs) {
    if (!in.live) {
      in.live = true;
      *out = &in;
      return WIN_INPUT_OK;
    }
  }
  return WIN_INPUT_FAIL;
}

int32_t win_input_create_keyboard(WinInput* input, WinInputDevice** out) {
  if (!out) return WIN_INPUT_FAIL;
  *out = nullptr;
  if (!input || !input->live || kb.fail_stage == 2) return WIN_INPUT_FAIL;
  for (WinInputDevice& d : kb.devices) {
    if (!d.live) {
      d = WinInputDevice{true, false, false, false};
      *out = &d;
      return WIN_INPUT_OK;
    }
  }
  return WIN_INPUT_FAIL;
}

int32_t win_input_set_keyboard_format(WinInputDevice* device) {
  WinInputDevice* d = live_device(device);
  if (!d || kb.fail_stage == 3) return WIN_INPUT_FAIL;
  d->format_set = true;
  return WIN_INPUT_OK;
}

int32_t win_input_set_cooperative_level(WinInputDevice* device, WinHandle window, uint32_t flags) {
  WinInputDevice* d = live_device(device);
  if (!d || kb.fail_stage == 4 || win_window_thread_id(window) == 0) return WIN_INPUT_FAIL;
  if ((flags & (WIN_INPUT_NONEXCLUSIVE | WIN_INPUT_FOREGROUND)) == 0) return WIN_INPUT_FAIL;
  d->cooperative_set = true;
  return WIN_INPUT_OK;
}

int32_t win_input_acquire(WinInputDevice* device) {
  WinInputDevice* d = live_device(device);
  if (!d || !d->format_set) return WIN_INPUT_FAIL;
  ++kb.acquire_count;
  if (kb.fail_stage == 5) return WIN_INPUT_FAIL;
  if (kb.lost_acquires > 0) {
    --kb.lost_acquires;
    return WIN_INPUT_LOST;
  }
  d->acquired = true;
  return WIN_INPUT_OK;
}

int32_t win_input_unacquire(WinInputDevice* device) {
  WinInputDevice* d = live_device(device);
  if (!d) return WIN_INPUT_FAIL;
  d->acquired = false;
  return WIN_INPUT_OK;
}

int32_t win_input_get_state(WinInputDevice* device, uint8_t* state, uint32_t size) {
  WinInputDevice* d = live_device(device);
  if (!d || !state || size != WIN_INPUT_STATE_SIZE) return WIN_INPUT_FAIL;
  if (kb.input_lost) {
    kb.input_lost = false;
    d->acquired = false;
    return WIN_INPUT_LOST;
  }
  if (!d->acquired) return WIN_INPUT_NOT_ACQUIRED;
  std::memcpy(state, kb.scan_state, WIN_INPUT_STATE_SIZE);
  return WIN_INPUT_OK;
}

void win_input_release_device(WinInputDevice* device) {
  if (WinInputDevice* d = live_device(device)) *d = WinInputDevice{};
}

void win_input_release(WinInput* input) {
  if (input) input->live = false;
}

void win_input_fail_stage(int32_t stage) { kb.fail_stage = stage; }

void win_input_lose(int32_t failed_acquires) {
  kb.input_lost = true;
  kb.lost_acquires = failed_acquires > 0 ? failed_acquires : 0;
}

int32_t win_input_acquire_count() { return kb.acquire_count; }

int32_t win_input_live_objects() {
  int32_t n = 0;
  for (const WinInput& in : kb.inputs) n += in.live ? 1 : 0;
  for (const WinInputDevice& d : kb.devices) n += d.live ? 1 : 0;
  return n;
}

void win_keyboard_reset() { kb = KeyboardState{}; }
