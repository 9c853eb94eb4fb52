// The further PFD: attitude sphere with ladder and bank scale, speed and altitude
// tapes, vertical-speed dial, heading rose or arc with course and bearing pointers,
// flight-director cues and the mode and data fields, on a 272 x 314 design canvas
// (attitude centre (134, 86), rose centre (134, 246)).
//
// No gauge of the gauge table draws it: `pfd_draw` has the dispatcher shape of the
// other displays, ready for a gauge whose draw service calls it.
//
// The image persists between frames. A frame in which `hdg_change_timer` is 0 is a
// full-redraw frame: the image is cleared and everything drawn. Other frames draw
// over what is there, erasing only the values that changed with black boxes; static
// frames, scales and annunciations keep what the last full frame drew.
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "platform/host/gauge_host.h"

// Display settings: start values held for the whole run; nothing in the module
// changes them.
extern int32_t pfd_symbol_style;       // 1 chevron symbol and cue, 2 bar symbol and cross bars; other: none
extern int32_t pfd_course_source_nav;  // 1: course pointer, deviation and fields show NAV 1
extern int32_t pfd_course_source_fms;  // 1: they show the FMS leg (NAV 1 wins when both are 1)
extern int32_t pfd_bearing1_source;    // 0 off, 1 VOR 1, 2 ADF 1, 3 FMS; other values: pointer straight up
extern int32_t pfd_bearing2_source;    // 0 off, 1 VOR 2, 2 ADF 2; other values: pointer straight up
extern int32_t pfd_hsi_arc_format;     // 0 full rose, 1 arc; other values: no heading display
extern int32_t pfd_et_field;           // 1: the lower-right field shows the elapsed time
extern int32_t pfd_data_field;         // otherwise 0 ground speed, 1 time to go

// Draws one frame into the image; the size goes into `rec`. Nothing without a context.
void pfd_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height);
