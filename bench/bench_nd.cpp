// Full frames of the transport navigation displays, FMS update plus draw into a raster
// image the size of the sample panel's, over the synthetic database at the dense point
// with every map switch on and a plan ahead: each mode at each range of its ladder.
// B737 ND modes 1..7 (488 x 604), MD-11 ND PLAN, MAP, VOR and APPR (modes 2..5,
// 480 x 516), MD-80 EHSI modes 0..3 (399 x 348).
#include "bench/nd_frame_bench.h"
#include "displays/nd_transport/nd_transport.h"

namespace {

using nd_frame_bench::ladder;
using nd_frame_bench::register_formats;

const bool registered = [] {
  register_formats("BM_B737NdFrame", "mode", {1, 2, 3, 4, 5, 6, 7}, ladder(b737_nd_range, nd_range_down, nd_range_up),
                   488, 604, nd_frame_bench::choose::b737,
                   [](GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) { hw_b737_nd_draw(s, dc, w, h, 1); });
  register_formats("BM_Md11NdFrame", "mode", {2, 3, 4, 5}, ladder(md11_nd_range, nd_range_down, nd_range_up), 480,
                   516, nd_frame_bench::choose::md11,
                   [](GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) { hw_md11_nd_draw(s, dc, w, h, 1); });
  register_formats("BM_Md80EhsiFrame", "mode", {0, 1, 2, 3}, ladder(md80_ehsi_range, nd_range_down, nd_range_up), 399,
                   348, nd_frame_bench::choose::md80,
                   [](GaugeSurface* s, DeviceContext dc, int32_t w, int32_t h) { md80_ehsi_draw(s, dc, w, h, 1); });
  return true;
}();

}  // namespace
