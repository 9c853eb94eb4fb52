#include "gauges/gauge_table.h"

#include "c17/c17_mfd.h"
#include "cdu/gnsxls/gnsxls.h"
#include "cdu/mcu/mcu.h"
#include "cdu/mcu/mcu_state.h"
#include "cdu/smiths/smiths_cdu.h"
#include "displays/attitude/attitude.h"
#include "displays/nd_corporate/nd_corporate.h"
#include "displays/nd_transport/nd_transport.h"

#include "module/c17_mfd_commands.h"
#include "gauges/control_panels.h"
#include "gauges/debug_gauge.h"
#include "gauges/gauge_frame.h"
#include "module/host_services.h"
#include "module/module_messages.h"
#include "gauges/server_gauge.h"
#include "gauges/state_reset.h"

namespace {

constexpr GaugeElement drawn(int32_t w, int32_t h) { return {ELEMENT_DRAWN, 0, 0, 0, w, h, 0, nullptr}; }
constexpr GaugeElement drawn_at(int32_t bitmap, int32_t x, int32_t y, int32_t w, int32_t h) {
  return {ELEMENT_DRAWN, bitmap, x, y, w, h, 0, nullptr};
}
constexpr GaugeElement bitmap(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h) {
  return {ELEMENT_BITMAP, id, x, y, w, h, 0, nullptr};
}

// Window openers: one click rectangle over the whole 40 x 40 gauge.
#define VEK_WINDOW_OPENER_RECTS(var, ident)                                                           \
  int32_t var##_click(MouseRect*, uint32_t) {                                                         \
    host_toggle_window(ident);                                                                        \
    return 0;                                                                                         \
  }                                                                                                   \
  MouseRect var##_rects[] = {                                                                         \
      {MOUSE_RECT_PARENT, 0, 0, 40, 40, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},                      \
      {MOUSE_RECT_CHILD, 0, 0, 40, 40, CURSOR_HAND, 0, MOUSE_LEFT_SINGLE, 0, var##_click, nullptr},   \
      {MOUSE_RECT_END_PARENT, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},                    \
      {MOUSE_RECT_EOL, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},                           \
  };

VEK_WINDOW_OPENER_RECTS(window_mcu, WINDOW_MCU)
VEK_WINDOW_OPENER_RECTS(window_gnsxls, WINDOW_GNSXLS)
VEK_WINDOW_OPENER_RECTS(window_smiths_fms, WINDOW_SMITHS_FMS)
VEK_WINDOW_OPENER_RECTS(window_c17_mfd, WINDOW_C17_MFD)

// Mouse rectangles of the panels and buttons. Each table: an outer parent over the
// whole face, then per key a parent at the key's box, one child at (0, 0) of the
// same size taking a left single click, and an end-of-parent; then the outer end
// and the end of the list. Boxes in face pixels; where no layout is given the boxes
// are ours:
//
//   gauge (face)                 child: key (x, y, w, h)
//   HW_B737_EFIS_CNTR(_BR)       0 mode down (10,10,35,35)  1 mode up (45,10,35,35)
//     300 x 100                  2 range down (220,10,35,35)  3 range up (255,10,35,35)
//                                4 ARPT (90,60,36,30)  5 NAV (130,60,36,30)  6 WPT (170,60,36,30)
//                                7 TFC (210,60,36,30)  8 range arcs (110,15,40,30)
//                                9 VOR/ADF left (10,60,36,30)  10 VOR/ADF right (254,60,36,30)
//   MD11_EFIS_CTRL 300 x 100     0 MAP (10,10,40,30)  1 PLAN (55,10,40,30)  2 VOR (100,10,40,30)
//                                3 APPR (145,10,40,30)  4 range down (210,10,40,40)  5 range up (250,10,40,40)
//                                6 VOR 1 (10,60,40,30)  7 ADF 1 (55,60,40,30)  8 VOR 2 (100,60,40,30)
//   MD80_EHSI_CTRL 300 x 100     0 mode down (10,10,40,40)  1 mode up (50,10,40,40)
//                                2 range down (210,10,40,40)  3 range up (250,10,40,40)  4 ADF (130,60,40,30)
//   EFS50_EHSI_CNTR(_LM)         0 format down (10,10,40,40)  1 format up (50,10,40,40)
//     300 x 100                  2 range down (210,10,40,40)  3 range up (250,10,40,40)
//                                4 NAV/FMS (130,10,40,30)  5 BRG 1 (10,60,40,30)  6 BRG 2 (250,60,40,30)
//   PROLINE4_MFD_CTRL 300 x 100  0 range down (10,10,40,40)  1 range up (50,10,40,40)
//                                2 format down (110,10,40,40)  3 format up (150,10,40,40)
//                                4 TCAS (210,10,40,30)  5 BRG 1 (10,60,40,30)  6 BRG 2 (250,60,40,30)
//   PROLINE4_AUX_CTRL 300 x 100  0 TCAS (10,30,40,30)  1 WPT (58,30,40,30)  2 NAV (106,30,40,30)
//                                3 NDB (154,30,40,30)  4 APT (202,30,40,30)  5 BDRY (250,30,40,30)
//   A300_EFIS_CTRL 300 x 100     0 mode down (10,10,40,40)  1 mode up (50,10,40,40)
//                                2 range down (210,10,40,40)  3 range up (250,10,40,40)
//                                4 VOR (10,60,40,30)  5 NDB (58,60,40,30)  6 ARPT (106,60,40,30)  7 WPT (154,60,40,30)
//   P1000_MFD_CNTR(_NB_) 300x100 0 range down (10,10,40,40)  1 range up (50,10,40,40)
//                                2 plan view (110,10,40,30)  3 navaids (155,10,40,30)  4 airports (200,10,40,30)
//                                5 value down (250,10,20,40)  6 value up (270,10,20,40)
//                                7..12 soft keys 1..6 (10 + 48 (n - 1), 60, 40, 30)
//   C17_MFCP 440 x 520           0 navaid (94,198,50,50)  1 airport (162,198,50,50)  2 route (344,130,48,48)
//                                3 lateral scale (35,131,48,48)  4, 5 range knob (66,426,82,82): left half
//                                (0,0,41,82) down, right half (42,0,41,82) up  6, 7 format down (84,291,42,38)
//                                and (356,291,42,38)  8, 9 format up (84,332,42,38) and (356,332,42,38)
//   C17_MFD 246 x 310 (bezel)    0 PFD (58,267,29,32)  1 NAV (85,267,36,32)  2 third (121,267,37,32)
//                                3 ENG (157,267,36,32)  4 CFG (192,267,40,32)  5 screen (72,75,70,70)
//   LNAV, VNAV, BDRY 40 x 40     0 the button (0,0,40,40)
#define RECT_PARENT(x, y, w, h) {MOUSE_RECT_PARENT, x, y, w, h, CURSOR_NONE, 0, 0, 0, nullptr, nullptr}
#define RECT_CHILD(x, y, w, h, cursor, fn) {MOUSE_RECT_CHILD, x, y, w, h, cursor, 0, MOUSE_LEFT_SINGLE, 0, fn, nullptr}
#define RECT_END {MOUSE_RECT_END_PARENT, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, nullptr, nullptr}
#define RECT_EOL {MOUSE_RECT_EOL, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, nullptr, nullptr}
#define KEY_C(x, y, w, h, cursor, fn) RECT_PARENT(x, y, w, h), RECT_CHILD(0, 0, w, h, cursor, fn), RECT_END
#define KEY(x, y, w, h, fn) KEY_C(x, y, w, h, CURSOR_HAND, fn)

MouseRect b737_efis_rects[] = {
    RECT_PARENT(0, 0, 300, 100),
    KEY_C(10, 10, 35, 35, CURSOR_DOWN_ARROW, b737_efis_mode_down_click),
    KEY_C(45, 10, 35, 35, CURSOR_UP_ARROW, b737_efis_mode_up_click),
    KEY_C(220, 10, 35, 35, CURSOR_DOWN_ARROW, b737_efis_range_down_click),
    KEY_C(255, 10, 35, 35, CURSOR_UP_ARROW, b737_efis_range_up_click),
    KEY(90, 60, 36, 30, b737_efis_apt_click),
    KEY(130, 60, 36, 30, b737_efis_nav_click),
    KEY(170, 60, 36, 30, b737_efis_int_click),
    KEY(210, 60, 36, 30, b737_efis_tcas_click),
    KEY(110, 15, 40, 30, b737_efis_range_arcs_click),
    KEY(10, 60, 36, 30, b737_efis_vor_adf_left_click),
    KEY(254, 60, 36, 30, b737_efis_vor_adf_right_click),
    RECT_END,
    RECT_EOL,
};

MouseRect md11_efis_rects[] = {
    RECT_PARENT(0, 0, 300, 100),
    KEY(10, 10, 40, 30, md11_efis_map_click),
    KEY(55, 10, 40, 30, md11_efis_plan_click),
    KEY(100, 10, 40, 30, md11_efis_vor_click),
    KEY(145, 10, 40, 30, md11_efis_appr_click),
    KEY_C(210, 10, 40, 40, CURSOR_DOWN_ARROW, md11_efis_range_down_click),
    KEY_C(250, 10, 40, 40, CURSOR_UP_ARROW, md11_efis_range_up_click),
    KEY(10, 60, 40, 30, md11_efis_vor1_click),
    KEY(55, 60, 40, 30, md11_efis_adf1_click),
    KEY(100, 60, 40, 30, md11_efis_vor2_click),
    RECT_END,
    RECT_EOL,
};

MouseRect md80_ctrl_rects[] = {
    RECT_PARENT(0, 0, 300, 100),
    KEY_C(10, 10, 40, 40, CURSOR_DOWN_ARROW, md80_ctrl_mode_down_click),
    KEY_C(50, 10, 40, 40, CURSOR_UP_ARROW, md80_ctrl_mode_up_click),
    KEY_C(210, 10, 40, 40, CURSOR_DOWN_ARROW, md80_ctrl_range_down_click),
    KEY_C(250, 10, 40, 40, CURSOR_UP_ARROW, md80_ctrl_range_up_click),
    KEY(130, 60, 40, 30, md80_ctrl_adf_click),
    RECT_END,
    RECT_EOL,
};

MouseRect efs50_cntr_rects[] = {
    RECT_PARENT(0, 0, 300, 100),
    KEY_C(10, 10, 40, 40, CURSOR_DOWN_ARROW, efs50_cntr_format_down_click),
    KEY_C(50, 10, 40, 40, CURSOR_UP_ARROW, efs50_cntr_format_up_click),
    KEY_C(210, 10, 40, 40, CURSOR_DOWN_ARROW, efs50_cntr_range_down_click),
    KEY_C(250, 10, 40, 40, CURSOR_UP_ARROW, efs50_cntr_range_up_click),
    KEY(130, 10, 40, 30, efs50_cntr_nav_fms_click),
    KEY(10, 60, 40, 30, efs50_cntr_brg1_click),
    KEY(250, 60, 40, 30, efs50_cntr_brg2_click),
    RECT_END,
    RECT_EOL,
};

MouseRect proline4_ctrl_rects[] = {
    RECT_PARENT(0, 0, 300, 100),
    KEY_C(10, 10, 40, 40, CURSOR_DOWN_ARROW, proline4_ctrl_range_down_click),
    KEY_C(50, 10, 40, 40, CURSOR_UP_ARROW, proline4_ctrl_range_up_click),
    KEY_C(110, 10, 40, 40, CURSOR_DOWN_ARROW, proline4_ctrl_format_down_click),
    KEY_C(150, 10, 40, 40, CURSOR_UP_ARROW, proline4_ctrl_format_up_click),
    KEY(210, 10, 40, 30, proline4_ctrl_tcas_click),
    KEY(10, 60, 40, 30, proline4_ctrl_brg1_click),
    KEY(250, 60, 40, 30, proline4_ctrl_brg2_click),
    RECT_END,
    RECT_EOL,
};

MouseRect proline4_aux_rects[] = {
    RECT_PARENT(0, 0, 300, 100),
    KEY(10, 30, 40, 30, proline4_aux_tcas_click),
    KEY(58, 30, 40, 30, proline4_aux_int_click),
    KEY(106, 30, 40, 30, proline4_aux_nav_click),
    KEY(154, 30, 40, 30, proline4_aux_ndb_click),
    KEY(202, 30, 40, 30, proline4_aux_apt_click),
    KEY(250, 30, 40, 30, proline4_aux_bdry_click),
    RECT_END,
    RECT_EOL,
};

MouseRect a300_efis_rects[] = {
    RECT_PARENT(0, 0, 300, 100),
    KEY_C(10, 10, 40, 40, CURSOR_DOWN_ARROW, a300_efis_mode_down_click),
    KEY_C(50, 10, 40, 40, CURSOR_UP_ARROW, a300_efis_mode_up_click),
    KEY_C(210, 10, 40, 40, CURSOR_DOWN_ARROW, a300_efis_range_down_click),
    KEY_C(250, 10, 40, 40, CURSOR_UP_ARROW, a300_efis_range_up_click),
    KEY(10, 60, 40, 30, a300_efis_nav_click),
    KEY(58, 60, 40, 30, a300_efis_ndb_click),
    KEY(106, 60, 40, 30, a300_efis_apt_click),
    KEY(154, 60, 40, 30, a300_efis_int_click),
    RECT_END,
    RECT_EOL,
};

MouseRect p1000_cntr_rects[] = {
    RECT_PARENT(0, 0, 300, 100),
    KEY_C(10, 10, 40, 40, CURSOR_DOWN_ARROW, p1000_cntr_range_down_click),
    KEY_C(50, 10, 40, 40, CURSOR_UP_ARROW, p1000_cntr_range_up_click),
    KEY(110, 10, 40, 30, p1000_cntr_plan_click),
    KEY(155, 10, 40, 30, p1000_cntr_navaids_click),
    KEY(200, 10, 40, 30, p1000_cntr_airports_click),
    KEY_C(250, 10, 20, 40, CURSOR_DOWN_ARROW, p1000_cntr_value_down_click),
    KEY_C(270, 10, 20, 40, CURSOR_UP_ARROW, p1000_cntr_value_up_click),
    KEY(10, 60, 40, 30, p1000_cntr_soft1_click),
    KEY(58, 60, 40, 30, p1000_cntr_soft2_click),
    KEY(106, 60, 40, 30, p1000_cntr_soft3_click),
    KEY(154, 60, 40, 30, p1000_cntr_soft4_click),
    KEY(202, 60, 40, 30, p1000_cntr_soft5_click),
    KEY(250, 60, 40, 30, p1000_cntr_soft6_click),
    RECT_END,
    RECT_EOL,
};

MouseRect c17_mfcp_rects[] = {
    RECT_PARENT(0, 0, 440, 520),
    KEY(94, 198, 50, 50, c17_mfcp_nav_click),
    KEY(162, 198, 50, 50, c17_mfcp_apt_click),
    KEY(344, 130, 48, 48, c17_mfcp_route_click),
    KEY(35, 131, 48, 48, c17_mfcp_scale_click),
    RECT_PARENT(66, 426, 82, 82),
    RECT_CHILD(0, 0, 41, 82, CURSOR_DOWN_ARROW, c17_mfcp_range_down_click),
    RECT_CHILD(42, 0, 41, 82, CURSOR_UP_ARROW, c17_mfcp_range_up_click),
    RECT_END,
    KEY(84, 291, 42, 38, c17_mfcp_format_down_click),
    KEY(356, 291, 42, 38, c17_mfcp_format_down_click),
    KEY(84, 332, 42, 38, c17_mfcp_format_up_click),
    KEY(356, 332, 42, 38, c17_mfcp_format_up_click),
    RECT_END,
    RECT_EOL,
};

#define C17_MFD_KEYS                                 \
  RECT_PARENT(0, 0, 246, 310),                       \
      KEY(58, 267, 29, 32, c17_mfd_pfd_click),       \
      KEY(85, 267, 36, 32, c17_mfd_nav_click),       \
      KEY(121, 267, 37, 32, c17_mfd_third_click),    \
      KEY(157, 267, 36, 32, c17_mfd_eng_click),      \
      KEY(192, 267, 40, 32, c17_mfd_cfg_click),      \
      KEY(72, 75, 70, 70, c17_mfd_screen_click), RECT_END, RECT_EOL

#define BUTTON_RECTS(var, fn)                                                 \
  MouseRect var[] = {RECT_PARENT(0, 0, 40, 40), KEY(0, 0, 40, 40, fn), RECT_END, RECT_EOL};
BUTTON_RECTS(lnav_rects, lnav_button_click)
BUTTON_RECTS(vnav_rects, vnav_button_click)
BUTTON_RECTS(bdry_rects, bdry_button_click)

}  // namespace

MouseRect c17_mfd_rects[C17_MFD_INSTANCES][C17_MFD_RECT_COUNT] = {
    {C17_MFD_KEYS}, {C17_MFD_KEYS}, {C17_MFD_KEYS}, {C17_MFD_KEYS}, {C17_MFD_KEYS},
    {C17_MFD_KEYS}, {C17_MFD_KEYS}, {C17_MFD_KEYS}, {C17_MFD_KEYS}, {C17_MFD_KEYS},
};

// One gauge: its elements, descriptor, callback and header.
#define VEK_GAUGE(var, NAME, callback, role, own_window, draw_element, draw_fn, hook, rects, ...)          \
  namespace {                                                                                               \
  GaugeElement var##_elements[] = {__VA_ARGS__};                                                            \
  const GaugeDescriptor var##_desc = {#callback, role, own_window, draw_element, draw_fn, hook};            \
  GaugeHeader var##_header = {GAUGE_HEADER_VERSION,                                                         \
                              NAME,                                                                         \
                              var##_elements,                                                               \
                              static_cast<int32_t>(sizeof(var##_elements) / sizeof(GaugeElement)),          \
                              rects,                                                                        \
                              callback,                                                                     \
                              0,                                                                            \
                              nullptr,                                                                      \
                              0, 0, 0, 0, 0,                                                                \
                              nullptr};                                                                     \
  }                                                                                                         \
  VEK_GAUGE_CALLBACK(callback) {                                                                            \
    (void)extra;                                                                                            \
    run_gauge_service(gauge, service_id, var##_desc);                                                       \
  }

using R = GaugeRole;

// Navigation and attitude displays: one drawn element of the design canvas.
VEK_GAUGE(b737_nd, "HW_B737_ND", hw_b737_ehsi_callback, R::Display, WINDOW_B737_ND, 0, hw_b737_nd_draw_gauge, nullptr, nullptr, drawn(244, 302))
VEK_GAUGE(b737_nd_br, "HW_B737_ND_BR", hw_b737_ehsi_br_callback, R::Display, WINDOW_B737_ND, 0, hw_b737_nd_draw_gauge, nullptr, nullptr, drawn(244, 302))
VEK_GAUGE(b737_nd_nb, "HW_B737_ND_NB", hw_b737_ehsi_nb_callback, R::Display, WINDOW_B737_ND, 0, hw_b737_nd_draw_gauge, hw_b737_nd_nb_service_hook, nullptr, drawn(244, 302))
VEK_GAUGE(md11_nd, "HW_MD11_ND", hw_md11_nd_callback, R::Display, WINDOW_MD11_ND, 0, hw_md11_nd_draw_gauge, nullptr, nullptr, drawn(240, 258))
VEK_GAUGE(md11_nd_nb, "HW_MD11_ND_NB", hw_md11_nd_nb_callback, R::Display, WINDOW_MD11_ND, 0, hw_md11_nd_draw_gauge, nullptr, nullptr, drawn(240, 258))
VEK_GAUGE(md80_ehsi, "MD80_EHSI_NB", md80_ehsi_callback, R::Display, WINDOW_MD80_EHSI, 0, md80_ehsi_draw_gauge, nullptr, nullptr, drawn(266, 232))
VEK_GAUGE(efs50_ehsi, "EFS50_EHSI", efs50_ehsi_callback, R::Display, WINDOW_EFS50_EHSI, 0, efs50_ehsi_draw_gauge, nullptr, nullptr, drawn(266, 230))
VEK_GAUGE(efs50_ehsi_nb, "EFS50_EHSI_NB", efs50_ehsi_nb_callback, R::Display, WINDOW_EFS50_EHSI, 0, efs50_ehsi_draw_gauge, nullptr, nullptr, drawn(266, 230))
VEK_GAUGE(efs50_tcas, "EFS50_TCAS", efs50_tcas_callback, R::Display, WINDOW_EFS50_TCAS, 0, efs50_tcas_draw_gauge, nullptr, nullptr, drawn(266, 230))
VEK_GAUGE(du1000_ehsi, "DU_1000_EHSI", du_1000_ehsi_callback, R::Display, WINDOW_DU1000_EHSI, 0, du1000_ehsi_draw_gauge, nullptr, nullptr, drawn(318, 310))
VEK_GAUGE(du1000_ehsi_nb, "DU_1000_EHSI_NB", du_1000_ehsi_nb_callback, R::Display, WINDOW_DU1000_EHSI, 0, du1000_ehsi_draw_gauge, nullptr, nullptr, drawn(318, 310))
VEK_GAUGE(proline4_mfd, "PROLINE4_MFD", proline4_mfd_callback, R::Display, WINDOW_PROLINE4_MFD, 0, proline4_mfd_draw_gauge, nullptr, nullptr, drawn(247, 285))
VEK_GAUGE(proline4_mfd_nb, "PROLINE4_MFD_NB", proline4_mfd_nb_callback, R::Display, WINDOW_PROLINE4_MFD, 0, proline4_mfd_draw_gauge, nullptr, nullptr, drawn(247, 285))
VEK_GAUGE(p1000_mfd, "P1000_MFD", p1000_mfd_callback, R::Display, WINDOW_P1000_MFD, 0, p1000_mfd_draw_gauge, p1000_mfd_service_hook, nullptr, drawn(272, 314))
VEK_GAUGE(p1000_mfd_nb, "P1000_MFD_NB", p1000_mfd_nb_callback, R::Display, WINDOW_P1000_MFD, 0, p1000_mfd_draw_gauge, p1000_mfd_service_hook, nullptr, drawn(272, 314))
VEK_GAUGE(efs50_eadi, "EFS50_EADI", efs50_eadi_callback, R::Display, WINDOW_EFS50_EADI, 0, efs50_eadi_draw_gauge, nullptr, nullptr, drawn(266, 230))
VEK_GAUGE(efs50_eadi_nb, "EFS50_EADI_NB", efs50_eadi_nb_callback, R::Display, WINDOW_EFS50_EADI, 0, efs50_eadi_draw_gauge, nullptr, nullptr, drawn(266, 230))
VEK_GAUGE(a320_eadi, "A320_EADI_NB", a320_eadi_callback, R::Display, WINDOW_A320_EADI, 0, a320_eadi_draw_gauge, nullptr, nullptr, drawn(318, 310))
VEK_GAUGE(b777_pfd, "B777_PFD_NB", d100_callback, R::Display, WINDOW_B777_PFD, 0, b777_pfd_draw_gauge, nullptr, nullptr, drawn(260, 260))
VEK_GAUGE(c17_mfd, "C17_MFD", c17_mfd_callback, R::C17Mfd, WINDOW_C17_MFD, 0, c17_mfd_draw_gauge, c17_mfd_panel_hook, c17_mfd_rects[0], drawn(246, 241))

// Flight-management units.
VEK_GAUGE(smiths_fms, "SMITHS_FMS", smiths_fms_callback, R::Cdu, WINDOW_SMITHS_FMS, 1, smiths_fms_draw_gauge,
          smiths_fms_service_hook, smiths_fms_mouse_rects,
          bitmap(314, 0, 0, 415, 640), drawn_at(310, 66, 40, 284, 233), bitmap(316, 314, 336, 50, 36),
          bitmap(328, 376, 434, 15, 97))
VEK_GAUGE(smiths_fms_br, "SMITHS_FMS_BR", smiths_fms_br_callback, R::Cdu, WINDOW_SMITHS_FMS, 1, smiths_fms_draw_gauge,
          smiths_fms_service_hook, smiths_fms_mouse_rects,
          bitmap(312, 0, 0, 415, 640), drawn_at(310, 66, 40, 284, 233), bitmap(316, 314, 336, 50, 36),
          bitmap(328, 376, 434, 15, 97))
VEK_GAUGE(gnsxls, "GNSXLS", gnsxls_callback, R::Cdu, WINDOW_GNSXLS, 0, gnsxls_draw_gauge, gnsxls_service_hook,
          gnsxls_mouse_rects, drawn(495, 400))
VEK_GAUGE(gnsxls_lm, "GNSXLS_LM", gnsxls_lm_callback, R::Cdu, WINDOW_GNSXLS, 0, gnsxls_draw_gauge,
          gnsxls_lm_service_hook, gnsxls_lm_mouse_rects, drawn(495, 400))
// MCU: face, screen (the 239 x 78 canvas across the screen area's width), LNAV and HOLD lamps.
#define MCU_ELEMENTS                                                                                  \
  bitmap(0, 0, 0, MCU_FACE_W, MCU_FACE_H), drawn_at(0, 132, 47, 200, 65), bitmap(0, 268, 226, 12, 6), \
      bitmap(0, 182, 262, 12, 6)
VEK_GAUGE(mcu, "MCU", mcu_callback, R::Cdu, WINDOW_MCU, MCU_ELEMENT_SCREEN, mcu_draw_gauge, mcu_service_hook,
          mcu_mouse_rects, MCU_ELEMENTS)
VEK_GAUGE(mcu_lm, "MCU_LM", mcu_lm_callback, R::Cdu, WINDOW_MCU, MCU_ELEMENT_SCREEN, mcu_draw_gauge, mcu_service_hook,
          mcu_mouse_rects, MCU_ELEMENTS)

// Control panels. The B737 EFIS panels carry their knob images: mode knob in its
// seven positions (bitmaps 401..407) over the mode keys, range knob in its ten
// (411..420) over the range keys; the pre-update hook shows the current ones.
#define B737_EFIS_KNOBS                                                                                   \
  bitmap(401, 10, 10, 70, 35), bitmap(402, 10, 10, 70, 35), bitmap(403, 10, 10, 70, 35),                  \
      bitmap(404, 10, 10, 70, 35), bitmap(405, 10, 10, 70, 35), bitmap(406, 10, 10, 70, 35),              \
      bitmap(407, 10, 10, 70, 35), bitmap(411, 220, 10, 70, 35), bitmap(412, 220, 10, 70, 35),            \
      bitmap(413, 220, 10, 70, 35), bitmap(414, 220, 10, 70, 35), bitmap(415, 220, 10, 70, 35),           \
      bitmap(416, 220, 10, 70, 35), bitmap(417, 220, 10, 70, 35), bitmap(418, 220, 10, 70, 35),           \
      bitmap(419, 220, 10, 70, 35), bitmap(420, 220, 10, 70, 35)
VEK_GAUGE(b737_efis, "HW_B737_EFIS_CNTR", hw_b737_efis_cntr_callback, R::Panel, 0, -1, nullptr, b737_efis_hook, b737_efis_rects,
          bitmap(400, 0, 0, 300, 100), B737_EFIS_KNOBS)
VEK_GAUGE(b737_efis_br, "HW_B737_EFIS_CNTR_BR", hw_b737_efis_cntr_br_callback, R::Panel, 0, -1, nullptr, b737_efis_hook,
          b737_efis_rects, bitmap(400, 0, 0, 300, 100), B737_EFIS_KNOBS)
VEK_GAUGE(md11_efis, "MD11_EFIS_CTRL", md11_efis_ctrl_callback, R::Panel, 0, -1, nullptr, nullptr, md11_efis_rects, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(md80_ctrl, "MD80_EHSI_CTRL", md80_ehsi_ctrl_callback, R::Panel, 0, -1, nullptr, nullptr, md80_ctrl_rects, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(efs50_cntr, "EFS50_EHSI_CNTR", efs50_ehsi_cntr_callback, R::Panel, 0, -1, nullptr, nullptr, efs50_cntr_rects, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(efs50_cntr_lm, "EFS50_EHSI_CNTR_LM", efs50_ehsi_cntr_lm_callback, R::Panel, 0, -1, nullptr, nullptr, efs50_cntr_rects, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(proline4_ctrl, "PROLINE4_MFD_CTRL", proline4_mfd_ctrl_callback, R::Panel, 0, -1, nullptr, nullptr, proline4_ctrl_rects, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(proline4_aux, "PROLINE4_AUX_CTRL", proline4_aux_ctrl_callback, R::Panel, 0, -1, nullptr, nullptr, proline4_aux_rects, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(a300_efis, "A300_EFIS_CTRL", a300_efis_ctrl_callback, R::Panel, 0, -1, nullptr, nullptr, a300_efis_rects, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(p1000_cntr, "P1000_MFD_CNTR", p1000_mfd_cntr_callback, R::Panel, 0, -1, nullptr, p1000_cntr_hook, p1000_cntr_rects, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(p1000_cntr_nb, "P1000_MFD_NB_CNTR", p1000_mfd_nb_cntr_callback, R::Panel, 0, -1, nullptr, p1000_cntr_hook, p1000_cntr_rects, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(c17_mfcp, "C17_MFCP", c17_mfcp_callback, R::C17Panel, 0, -1, nullptr, nullptr, c17_mfcp_rects, bitmap(0, 0, 0, 440, 520))

// Special gauges.
VEK_GAUGE(server, "SERVER", server_callback, R::Server, 0, -1, nullptr, server_hook, nullptr, bitmap(0, 0, 0, 1, 1))
VEK_GAUGE(debug, "DEBUG", debug_callback, R::Debug, 0, 0, debug_gauge_draw, nullptr, nullptr, drawn(300, 120))
VEK_GAUGE(lnav, "LNAV", lnav_callback, R::Button, 0, -1, nullptr, nullptr, lnav_rects, bitmap(0, 0, 0, 40, 40))
VEK_GAUGE(vnav, "VNAV", vnav_callback, R::Button, 0, -1, nullptr, nullptr, vnav_rects, bitmap(0, 0, 0, 40, 40))
VEK_GAUGE(bdry, "BDRY", bdry_callback, R::Button, 0, -1, nullptr, nullptr, bdry_rects, bitmap(0, 0, 0, 40, 40))

// Window openers.
VEK_GAUGE(win_mcu, "WINDOW_MCU", window_mcu_callback, R::WindowOpener, 0, -1, nullptr, nullptr, window_mcu_rects, bitmap(0, 0, 0, 40, 40))
VEK_GAUGE(win_gnsxls, "WINDOW_GNSXLS", window_gnsxls_callback, R::WindowOpener, 0, -1, nullptr, nullptr, window_gnsxls_rects, bitmap(0, 0, 0, 40, 40))
VEK_GAUGE(win_smiths, "WINDOW_SMITHS_FMS", window_smiths_fms_callback, R::WindowOpener, 0, -1, nullptr, nullptr, window_smiths_fms_rects, bitmap(0, 0, 0, 40, 40))
VEK_GAUGE(win_c17, "WINDOW_C17_MFD", window_c17_mfd_callback, R::WindowOpener, 0, -1, nullptr, nullptr, window_c17_mfd_rects, bitmap(0, 0, 0, 40, 40))

GaugeHeader* gauge_table[gauge_table_size + 1] = {
    &b737_nd_header,      &b737_nd_br_header,    &b737_nd_nb_header,  &md11_nd_header,      &md11_nd_nb_header,
    &md80_ehsi_header,    &efs50_ehsi_header,    &efs50_ehsi_nb_header, &efs50_tcas_header, &du1000_ehsi_header,
    &du1000_ehsi_nb_header, &proline4_mfd_header, &proline4_mfd_nb_header, &p1000_mfd_header, &p1000_mfd_nb_header,
    &efs50_eadi_header,   &efs50_eadi_nb_header, &a320_eadi_header,   &b777_pfd_header,     &c17_mfd_header,
    &smiths_fms_header,   &smiths_fms_br_header, &gnsxls_header,      &gnsxls_lm_header,    &mcu_header,
    &mcu_lm_header,       &b737_efis_header,     &b737_efis_br_header, &md11_efis_header,   &md80_ctrl_header,
    &efs50_cntr_header,   &efs50_cntr_lm_header, &proline4_ctrl_header, &proline4_aux_header, &a300_efis_header,
    &p1000_cntr_header,   &p1000_cntr_nb_header, &c17_mfcp_header,    &server_header,       &debug_header,
    &lnav_header,         &vnav_header,          &bdry_header,        &win_mcu_header,      &win_gnsxls_header,
    &win_smiths_header,   &win_c17_header,       nullptr,
};

namespace {
void module_init() {
  reset_module_state();
  // A plan the GNS-XLS activates empties the MCU's entry.
  gnsxls_plan_activated_hook = [] { mcu_scratchpad.clear(); };
}
void module_deinit() {}
}  // namespace

extern "C" {
__attribute__((visibility("default"))) ModuleLinkage Linkage = {0x0000, module_init, module_deinit, 0, 0x0900, gauge_table};

// Message number `serial` (1 = the first posted since the load), for a host that shows
// them: "" when the full list dropped it, null past the last posted.
__attribute__((visibility("default"))) const char* ModuleMessage(int32_t serial) {
  return module_message_by_serial(serial);
}
}
