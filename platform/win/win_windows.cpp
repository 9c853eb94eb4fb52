#include "platform/win/win_windows.h"

#include <cstring>
#include <string>

#include "platform/win/win_internal.h"

namespace {

constexpr int max_windows = 16;
constexpr uint32_t gauge_thread_id = 1;

struct WindowSlot {
  std::string class_name;  // empty: free
};

WindowSlot& slot(int i) {
  static WindowSlot slots[max_windows] = {{WIN_MAIN_WINDOW_CLASS}};
  return slots[i];
}

}  // namespace

WinHandle win_find_window(const char* class_name) {
  if (!class_name || !*class_name) return 0;
  for (int i = 0; i < max_windows; ++i)
    if (slot(i).class_name == class_name) return static_cast<WinHandle>(i + 1);
  return 0;
}

uint32_t win_window_thread_id(WinHandle window) {
  if (window == 0 || window > max_windows || slot(static_cast<int>(window) - 1).class_name.empty()) return 0;
  return gauge_thread_id;
}

uint32_t win_current_thread_id() { return gauge_thread_id; }

WinHandle win_create_window(const char* class_name) {
  if (!class_name || !*class_name) return 0;
  if (WinHandle h = win_find_window(class_name)) return h;
  for (int i = 0; i < max_windows; ++i) {
    if (slot(i).class_name.empty()) {
      slot(i).class_name = class_name;
      return static_cast<WinHandle>(i + 1);
    }
  }
  return 0;
}

void win_destroy_window(const char* class_name) {
  if (WinHandle h = win_find_window(class_name)) slot(static_cast<int>(h) - 1).class_name.clear();
}

void win_reset() {
  for (int i = 0; i < max_windows; ++i) slot(i).class_name.clear();
  slot(0).class_name = WIN_MAIN_WINDOW_CLASS;
  win_keyboard_reset();
  win_ipc_reset();
}
