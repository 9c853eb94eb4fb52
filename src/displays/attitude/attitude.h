// Attitude displays: the EFS 50 EADI (gauges EFS50_EADI and EFS50_EADI_NB), the
// A320 EADI (A320_EADI_NB) and the B777 PFD (B777_PFD_NB). Each draws on a fixed
// design canvas scaled to the gauge image, in one pass per frame, from the values
// the per-frame update samples; the only state kept between frames is the
// flight-director cue pair (fd_bars.h) and `V1`, which the tapes set to `VR` while
// it is 0.
//
// Design units: x right, y down, offsets from the display's attitude centre.
// Attitude inputs: `adi_token77` pitch in degrees (positive moves the horizon up),
// `adi_token80` bank in degrees (the rotation of horizon and ladder, clockwise).
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"
#include "platform/host/gauge_host.h"

// ---- gauge entry points (draw functions of the gauge table) ----

void efs50_eadi_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
void a320_eadi_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
void b777_pfd_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);

// ---- dispatchers ----

// EFS 50 EADI, canvas 266 x 230: drawn with display power outside draw mode 2,
// else the image is cleared to transparent.
void efs50_eadi_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
// A320 EADI, canvas 318 x 310: drawn with display power in every draw mode.
void a320_eadi_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
// B777 PFD, canvas 260 x 260 (background to x 285): as the EFS 50.
void b777_pfd_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);

// ---- renderers ----

void draw_efs50_eadi(const GaugeSurface* ctx, GfxGraphics* g);
void draw_a320_pfd(const GaugeSurface* ctx, GfxGraphics* g);
void draw_b777_pfd(const GaugeSurface* ctx, GfxGraphics* g);

// ---- shared values ----

// Maximum and stall speeds of a tape, knots: Vmax from the barber pole (the airspeed
// less 70 when it is over Vmax + 120), Vs clean or with flaps.
struct TapeSpeeds {
  double vmax;
  double vs;
};
TapeSpeeds tape_speeds();

// The take-off speed rule of the tapes: with `VR` set and `V1` not, `V1` := `VR`.
void take_off_speeds_settle();

// Where the flight-path vector sits, in design units from the centre of the attitude
// frame turned with the bank: y from the horizon line by the path angle (0.6 V / GS
// degrees, V ft/min, GS knots; up for a climb), x toward the track (heading less
// `drift_angle`), both at the ladder's `units_per_degree`. At the centre without
// ground speed.
struct FpvPlace {
  double x, y;
};
FpvPlace fpv_place(double units_per_degree);
