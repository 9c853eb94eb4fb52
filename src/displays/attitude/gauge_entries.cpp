// Gauge entry points of the three attitude displays: each keeps its display's
// drawing record and calls the dispatcher.
#include "displays/attitude/attitude.h"

namespace {

GaugeSurface efs50_eadi_surface{0, 0};
GaugeSurface a320_eadi_surface{0, 0};
GaugeSurface b777_pfd_surface{0, 0};

}  // namespace

void efs50_eadi_draw_gauge(GaugeHeader*, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  efs50_eadi_draw(&efs50_eadi_surface, dc, width, height, draw_mode);
}

void a320_eadi_draw_gauge(GaugeHeader*, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  a320_eadi_draw(&a320_eadi_surface, dc, width, height, draw_mode);
}

void b777_pfd_draw_gauge(GaugeHeader*, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  b777_pfd_draw(&b777_pfd_surface, dc, width, height, draw_mode);
}
