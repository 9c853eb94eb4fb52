// Full frames of the corporate navigation displays and the C-17 MFD's maps, FMS update
// plus draw into a raster image, over the synthetic database at the dense point with
// every map switch on and a plan ahead: each format at each range of its ladder.
// Pro Line 4 MFD formats 0..3 (494 x 570), EFS 50 EHSI formats 1..7 with the FMS source
// (532 x 460), DU-1000 EHSI modes 0..3 (477 x 465), Primus 1000 MFD map and plan view
// (408 x 471, full frames twice in 92 updates, the masks in between), C-17 MFD map
// formats 3..6 (492 x 482).
#include "bench/nd_frame_bench.h"
#include "c17/c17_mfd.h"
#include "displays/nd_corporate/nd_corporate.h"

namespace {

using nd_frame_bench::ladder;
using nd_frame_bench::register_formats;

// Instance 5 draws the working state.
void draw_c17(GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) { c17_mfd_draw(s, dc, w, h, 5); }

const bool registered = [] {
  register_formats("BM_Proline4MfdFrame", "format", {0, 1, 2, 3},
                   ladder(proline4_mfd_range, nd_range_down, nd_range_up), 494, 570, nd_frame_bench::choose::proline4,
                   [](GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) { proline4_mfd_draw(s, dc, w, h, 1); });
  register_formats("BM_Efs50EhsiFrame", "format", {1, 2, 3, 4, 5, 6, 7},
                   ladder(efs50_ehsi_range, efs50_range_down, efs50_range_up), 532, 460, nd_frame_bench::choose::efs50,
                   [](GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) { efs50_ehsi_draw(s, dc, w, h, 1); });
  register_formats("BM_Du1000EhsiFrame", "mode", {0, 1, 2, 3}, ladder(du1000_ehsi_range, nd_range_down, nd_range_up),
                   477, 465, nd_frame_bench::choose::du1000,
                   [](GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) { du1000_ehsi_draw(s, dc, w, h, 1); });
  register_formats("BM_P1000MfdFrame", "plan", {0, 1}, ladder(p1000_mfd_range, nd_range_down, nd_range_up), 408, 471,
                   nd_frame_bench::choose::p1000,
                   [](GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) { p1000_mfd_draw(s, dc, w, h, 1); });
  register_formats("BM_C17MfdFrame", "format", {3, 4, 5, 6}, ladder(c17_mfd_range, nd_range_down, nd_range_up), 492,
                   482, nd_frame_bench::choose::c17, draw_c17);
  return true;
}();

}  // namespace
