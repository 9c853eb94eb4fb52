// Frames of the displays and units that draw no map, FMS update plus draw into a raster
// image the size of the sample panels' (their target is 1 ms, so no "Frame" in their
// names): EFS 50 TCAS at each range (399 x 345), EFS 50 EADI (399 x 345), A320 EADI
// (477 x 465), B777 PFD (520 x 520), the C-17 MFD's other formats (HSI, PFD, the engine
// pages, configuration; 492 x 482), the Smiths CDU's IDENT and LEGS pages (its screen,
// 284 x 233), the GNS-XLS (495 x 400) on its start page and the MCU (its screen at twice
// the face, 400 x 130) repainting its start page.
#include "bench/nd_frame_bench.h"
#include "c17/c17_mfd.h"
#include "cdu/gnsxls/gnsxls.h"
#include "cdu/mcu/mcu.h"
#include "cdu/smiths/smiths_cdu.h"
#include "displays/attitude/attitude.h"
#include "displays/nd_corporate/nd_corporate.h"
#include "gauges/panel_steppers.h"

namespace {

using nd_frame_bench::ladder;
using nd_frame_bench::register_formats;

void set_nothing(int, double) {}

// The EFS 50 range keys step the TCAS range while the EHSI shows its TCAS format.
std::vector<double> efs50_tcas_ladder() {
  const int32_t kept = efs50_ehsi_mode;
  efs50_ehsi_mode = 8;
  std::vector<double> out = ladder(efs50_tcas_range, efs50_range_down, efs50_range_up);
  efs50_ehsi_mode = kept;
  return out;
}

void set_efs50_tcas(int, double range) { efs50_tcas_range = range; }

void set_c17(int format, double) { c17_mfd_mode = format; }

void set_smiths_page(int page, double) { smiths_page = page; }

const bool registered = [] {
  register_formats("BM_Efs50TcasDraw", "", {}, efs50_tcas_ladder(), 399, 345, set_efs50_tcas,
                   [](GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) { efs50_tcas_draw(s, dc, w, h, 1); });
  register_formats("BM_Efs50EadiDraw", "", {}, {}, 399, 345, set_nothing,
                   [](GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) { efs50_eadi_draw(s, dc, w, h, 1); });
  register_formats("BM_A320EadiDraw", "", {}, {}, 477, 465, set_nothing,
                   [](GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) { a320_eadi_draw(s, dc, w, h, 1); });
  register_formats("BM_B777PfdDraw", "", {}, {}, 520, 520, set_nothing,
                   [](GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) { b777_pfd_draw(s, dc, w, h, 1); });
  // Instance 5 draws the working state.
  register_formats("BM_C17MfdDraw", "format", {0, 1, 9, 10, 11, 12}, {}, 492, 482, set_c17,
                   [](GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) { c17_mfd_draw(s, dc, w, h, 5); });
  register_formats("BM_SmithsCduDraw", "page", {SMITHS_PAGE_IDENT, SMITHS_PAGE_LEGS}, {}, 284, 233, set_smiths_page,
                   smiths_fms_draw);
  register_formats("BM_GnsxlsDraw", "", {}, {}, 495, 400, set_nothing, gnsxls_draw);
  // The MCU repaints its page when asked; here every frame.
  register_formats("BM_McuDraw", "", {}, {}, 400, 130, set_nothing,
                   [](GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) {
                     mcu_redraw = 1;
                     mcu_draw(s, dc, w, h);
                   });
  return true;
}();

}  // namespace
