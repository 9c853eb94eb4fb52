// Top-level windows by class name. The simulator's main window "FS98MAIN" exists
// from the start; another add-on's window (such as the IPC server's "UIPCMAIN")
// exists while the host has created it.
#pragma once

#include <cstdint>

using WinHandle = uintptr_t;  // 0: no window

constexpr const char* WIN_MAIN_WINDOW_CLASS = "FS98MAIN";

// The window of that class, or 0.
WinHandle win_find_window(const char* class_name);
// Id of the thread that owns the window; 0 for no window. Every window here belongs
// to the one gauge thread.
uint32_t win_window_thread_id(WinHandle window);
uint32_t win_current_thread_id();

// Host side.
WinHandle win_create_window(const char* class_name);  // existing handle when present
void win_destroy_window(const char* class_name);
// Back to the start state: only the main window, no hook, no keys down, no IPC
// server, no device faults.
void win_reset();
