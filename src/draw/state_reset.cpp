// Puts the drawing toolkit's globals back to their load-time values.
#include "draw/state_reset.h"

#include "draw/altitude_range_arc.h"
#include "draw/atc_boundary_layer.h"
#include "draw/draw_toolkit.h"
#include "draw/fix_info_overlay.h"
#include "draw/fuel_on_board_page.h"
#include "draw/gauge_surface.h"
#include "draw/holding_pattern_layer.h"
#include "draw/intersection_layer.h"
#include "draw/map_layer_frame.h"
#include "draw/map_symbols.h"
#include "draw/navaid_layer.h"
#include "draw/nd_common.h"
#include "draw/nearby_airport_layer.h"
#include "draw/route_common.h"
#include "draw/runway_layer.h"
#include "draw/tcas_range_ring.h"
#include "draw/toc_tod_layer.h"
#include "module/load_state.h"

void reset_draw_state() {
  static LoadState state;
  state.restore([](LoadState& s) {
    // draw_toolkit.cpp
    s.keep(gdiplus_token, map_px_per_nm);
    // navaid_layer.cpp
    s.keep(du1000_vor_symbol_code);
    // nd_common.cpp
    s.keep(nd_layer_trace);
    keep_draw_toolkit_state(s);
  });
  gfx_forget_frames();  // a module loaded afresh knows no image's last frame
}

