// Gauge entry points of the three displays and the traffic copy of HW_B737_ND_NB.
#include <cstring>

#include "displays/nd_transport/nd_transport.h"
#include "module/host_services.h"

namespace {

GaugeSurface b737_nd_surface{0, 0};
GaugeSurface md11_nd_surface{0, 0};
GaugeSurface md80_ehsi_surface{0, 0};

}  // namespace

TcasTarget tcas_targets[TCAS_TARGET_CAPACITY];
int32_t tcas_target_cnt = 0;
int32_t tcas_targets_found = 0;

void hw_b737_nd_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  (void)gauge;
  hw_b737_nd_draw(&b737_nd_surface, dc, width, height, draw_mode);
}

void hw_md11_nd_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  (void)gauge;
  hw_md11_nd_draw(&md11_nd_surface, dc, width, height, draw_mode);
}

void md80_ehsi_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  (void)gauge;
  md80_ehsi_draw(&md80_ehsi_surface, dc, width, height, draw_mode);
}

void hw_b737_nd_nb_service_hook(GaugeHeader* gauge, int32_t service_id) {
  (void)gauge;
  if (service_id != PANEL_SERVICE_PRE_UPDATE) return;
  int32_t kind = 0;
  uint32_t size = 0;
  const void* array = host_lookup_shared_var("tcas_targets", &kind, &size);
  if (!array) {
    tcas_targets_found = 0;
    return;
  }
  uint32_t n = size < sizeof tcas_targets ? size : uint32_t(sizeof tcas_targets);
  std::memset(tcas_targets, 0, sizeof tcas_targets);
  std::memcpy(tcas_targets, array, n);
  for (TcasTarget& t : tcas_targets) t.ident[TCAS_IDENT_SIZE - 1] = '\0';
  tcas_targets_found = 1;

  const void* count = host_lookup_shared_var("tcas_target_cnt", &kind, &size);
  tcas_target_cnt = 0;
  if (count && kind == SHARED_INT32 && size >= sizeof(int32_t)) {
    std::memcpy(&tcas_target_cnt, count, sizeof(int32_t));
  } else if (count && kind == SHARED_FLOAT64 && size >= sizeof(double)) {
    double v = 0;
    std::memcpy(&v, count, sizeof v);
    if (v >= 0 && v <= 1e6) tcas_target_cnt = int32_t(v);
  }
}
