// MCU text unit, as the MCU and MCU_LM gauges use it: the draw dispatcher, the
// per-service hook and the shared mouse-rectangle table of the keypad. The unit's
// state is in mcu_state.h.
//
// Face 464 x 360 design pixels: element 0 the face, 1 the screen (the 239 x 78 design
// canvas scaled into the screen area's width), 2 the LNAV lamp, 3 the HOLD lamp.
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "platform/host/gauge_host.h"

constexpr int32_t MCU_FACE_W = 464, MCU_FACE_H = 360;
constexpr int32_t MCU_ELEMENT_SCREEN = 1;
constexpr int32_t MCU_ELEMENT_LNAV_LAMP = 2;
constexpr int32_t MCU_ELEMENT_HOLD_LAMP = 3;
constexpr int32_t MCU_WINDOW = 4001;  // panel window of the unit; the screen area toggles it

// Keys in the order of the mouse table (child 0 is the screen area, key k is child k).
enum McuKey : int32_t {
  MCU_KEY_NAV = 1, MCU_KEY_FPLN, MCU_KEY_LNAV, MCU_KEY_DIRTO, MCU_KEY_HOLD, MCU_KEY_LEGS_ALT,
  MCU_KEY_LEGS, MCU_KEY_PREV, MCU_KEY_ALT, MCU_KEY_APTINFO, MCU_KEY_NEXT, MCU_KEY_KBD,
  MCU_KEY_UP, MCU_KEY_LEFT, MCU_KEY_DOWN, MCU_KEY_RIGHT, MCU_KEY_ENTER,
};
constexpr int32_t MCU_KEY_COUNT = 17;

// The outer rectangle over the face, the screen area, then the 17 keys.
extern MouseRect mcu_mouse_rects[];
// Runs the click effect of key `key` (McuKey).
void mcu_key(int32_t key);

// Draws the unit into the image (persistent: pages repaint only on request or when
// hdg_change_timer is 0); the image size goes into `rec`.
void mcu_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height);
// Draw function of both gauges.
void mcu_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
// Per-service work of both gauges: the plan-load hand-over at install, the redraw
// request at initialise, the keyboard poll before the update, the lamps at pre-update,
// keyboard entry off at graphics stop.
void mcu_service_hook(GaugeHeader* gauge, int32_t service_id);
