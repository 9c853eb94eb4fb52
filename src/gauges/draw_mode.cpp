#include "gauges/gauge_frame.h"
#include "module/host_services.h"

int32_t compute_draw_mode(std::string_view parameter, int32_t own_window) {
  if (parameter == "VC" && host_is_window_visible(0)) return 0;
  if (own_window != 0 && host_is_window_visible(own_window)) {
    if (parameter == "VC2") return 3;
    if (parameter != "WN") return 2;
  }
  return 1;
}
