// Keyboard stand-ins: per-key states, the thread keyboard hook and the keyboard
// input device with its 256-byte state. The host injects key presses with
// win_key_event; they update the key states and the device state and pass through
// an installed hook.
#pragma once

#include <cstdint>

#include "platform/win/win_windows.h"

// Virtual-key codes. Letters and digits are their capital ASCII codes.
constexpr int32_t WIN_VK_BACK = 0x08;
constexpr int32_t WIN_VK_RETURN = 0x0D;
constexpr int32_t WIN_VK_SHIFT = 0x10;
constexpr int32_t WIN_VK_CONTROL = 0x11;
constexpr int32_t WIN_VK_MENU = 0x12;  // Alt
constexpr int32_t WIN_VK_PRIOR = 0x21; // Page Up
constexpr int32_t WIN_VK_NEXT = 0x22;  // Page Down
constexpr int32_t WIN_VK_UP = 0x26;
constexpr int32_t WIN_VK_DOWN = 0x28;
constexpr int32_t WIN_VK_LSHIFT = 0xA0;
constexpr int32_t WIN_VK_RSHIFT = 0xA1;
constexpr int32_t WIN_VK_LCONTROL = 0xA2;
constexpr int32_t WIN_VK_RCONTROL = 0xA3;
constexpr int32_t WIN_VK_LMENU = 0xA4;
constexpr int32_t WIN_VK_RMENU = 0xA5;

// Key state: bit 7 (0x80) while the key is down, else 0. The generic Shift, Ctrl
// and Alt codes are down while either side is.
uint8_t win_get_key_state(int32_t vk);

// Thread keyboard hook. The procedure gets (0, virtual key, message bits: repeat
// count 1, scan code << 16, extended << 24, 1 << 31 on release) and answers
// non-zero to swallow the message, or passes it on with win_call_next_hook.
constexpr int32_t WIN_WH_KEYBOARD = 2;
using WinHook = uintptr_t;  // 0: none
using WinHookProc = intptr_t (*)(int32_t code, uintptr_t wparam, intptr_t lparam);
// 0 when the kind is not the keyboard, the procedure is null or the thread is 0.
WinHook win_set_windows_hook(int32_t kind, WinHookProc proc, uint32_t thread_id);
bool win_unhook_windows_hook(WinHook hook);
intptr_t win_call_next_hook(WinHook hook, int32_t code, uintptr_t wparam, intptr_t lparam);

// Keyboard input device. Results are 0 or a failure code.
constexpr int32_t WIN_INPUT_OK = 0;
constexpr int32_t WIN_INPUT_LOST = static_cast<int32_t>(0x8007001E);
constexpr int32_t WIN_INPUT_NOT_ACQUIRED = static_cast<int32_t>(0x8007000C);
constexpr int32_t WIN_INPUT_FAIL = static_cast<int32_t>(0x80004005);
constexpr uint32_t WIN_INPUT_NONEXCLUSIVE = 0x2;
constexpr uint32_t WIN_INPUT_FOREGROUND = 0x4;
constexpr uint32_t WIN_INPUT_STATE_SIZE = 256;

struct WinInput;
struct WinInputDevice;
int32_t win_input_create(WinInput** out);
int32_t win_input_create_keyboard(WinInput* input, WinInputDevice** out);
int32_t win_input_set_keyboard_format(WinInputDevice* device);
int32_t win_input_set_cooperative_level(WinInputDevice* device, WinHandle window, uint32_t flags);
int32_t win_input_acquire(WinInputDevice* device);
int32_t win_input_unacquire(WinInputDevice* device);
// Fills `size` (256) bytes indexed by scan code, 0x80 for a key down. Fails while
// the device is not acquired or has lost its input.
int32_t win_input_get_state(WinInputDevice* device, uint8_t* state, uint32_t size);
void win_input_release_device(WinInputDevice* device);
void win_input_release(WinInput* input);

// Host side. A key press or release; true when an installed hook swallowed it.
// The key states already hold the event when the hook procedure runs.
// `extended` marks the keypad Enter and the right Ctrl.
bool win_key_event(int32_t vk, bool down, bool extended = false);
// Virtual key of a key name, for scripts: "A".."Z", "0".."9", "BACK", "ENTER",
// "KPENTER" (extended), "UP", "DOWN", "PGUP", "PGDN", "SHIFT", "RSHIFT", "CTRL",
// "RCTRL" (extended), "ALT", "SPACE"; case does not matter. 0 for an unknown name.
int32_t win_vk_from_name(const char* name, bool* extended);
// Releases every key.
void win_release_all_keys();
// Scan code of a virtual key (set 1; extended keys 0x80 up), 0 for none.
uint8_t win_scan_code(int32_t vk, bool extended);
// Creation of the input device fails at `stage`: 1 interface, 2 keyboard device,
// 3 data format, 4 cooperative level, 5 acquire; 0 for none.
void win_input_fail_stage(int32_t stage);
// The device loses its input: the next state read fails and the next
// `failed_acquires` acquires answer WIN_INPUT_LOST.
void win_input_lose(int32_t failed_acquires);
int32_t win_input_acquire_count();   // acquires since the reset
int32_t win_input_live_objects();    // interfaces and devices not released
bool win_keyboard_hook_installed();
