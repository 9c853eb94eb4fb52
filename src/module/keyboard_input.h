// Keyboard entry for the MCU and the text CDU: the thread keyboard hook and the
// keyboard input device bound to the simulator's main window.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win/win_keyboard.h"

extern WinInputDevice* dinput_keyboard;  // null while entry is off
extern int32_t mcu_kbd_on;               // 1 while the MCU takes its entries from the keyboard
extern std::string text_cdu_scratchpad;  // the text CDU's entry; device failures are reported here

// Re-acquire attempts per poll while the device answers that input was lost.
constexpr int kbd_reacquire_attempts = 3;

// 1 installs the keyboard hook for the thread of the main window (once), 0 removes it.
void set_keyboard_hook(int32_t on);
// The hook procedure: swallows a key message while none of Shift, Ctrl and Alt is
// down and any of S, G or Z is down; passes every other message on.
intptr_t keyboard_hook_proc(int32_t code, uintptr_t wparam, intptr_t lparam);

// Creates and acquires the keyboard device. A failed stage writes its text into
// `text_cdu_scratchpad` and leaves no device; a failed acquire leaves the device
// unacquired for the next poll. True while a device exists.
bool init_direct_input_keyboard();
void release_direct_input();
// Entry off: `mcu_kbd_on` := 0, hook removed, device released.
void stop_key_capture_2();

// Reads the device's 256-byte state (bit 7: key down). When the read fails the
// device is acquired again, at most `kbd_reacquire_attempts` times while input is
// lost, and false is returned; the keys of that poll are lost.
bool read_keyboard_state(uint8_t state[WIN_INPUT_STATE_SIZE]);
