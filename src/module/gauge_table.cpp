#include "module/gauge_table.h"

#include "module/gauge_frame.h"
#include "module/host_services.h"

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

}  // namespace

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
VEK_GAUGE(b737_nd, "HW_B737_ND", hw_b737_ehsi_callback, R::Display, WINDOW_B737_ND, 0, nullptr, nullptr, nullptr, drawn(244, 302))
VEK_GAUGE(b737_nd_br, "HW_B737_ND_BR", hw_b737_ehsi_br_callback, R::Display, WINDOW_B737_ND, 0, nullptr, nullptr, nullptr, drawn(244, 302))
VEK_GAUGE(b737_nd_nb, "HW_B737_ND_NB", hw_b737_ehsi_nb_callback, R::Display, WINDOW_B737_ND, 0, nullptr, nullptr, nullptr, drawn(244, 302))
VEK_GAUGE(md11_nd, "HW_MD11_ND", hw_md11_nd_callback, R::Display, WINDOW_MD11_ND, 0, nullptr, nullptr, nullptr, drawn(240, 258))
VEK_GAUGE(md11_nd_nb, "HW_MD11_ND_NB", hw_md11_nd_nb_callback, R::Display, WINDOW_MD11_ND, 0, nullptr, nullptr, nullptr, drawn(240, 258))
VEK_GAUGE(md80_ehsi, "MD80_EHSI_NB", md80_ehsi_callback, R::Display, WINDOW_MD80_EHSI, 0, nullptr, nullptr, nullptr, drawn(266, 232))
VEK_GAUGE(efs50_ehsi, "EFS50_EHSI", efs50_ehsi_callback, R::Display, WINDOW_EFS50_EHSI, 0, nullptr, nullptr, nullptr, drawn(266, 230))
VEK_GAUGE(efs50_ehsi_nb, "EFS50_EHSI_NB", efs50_ehsi_nb_callback, R::Display, WINDOW_EFS50_EHSI, 0, nullptr, nullptr, nullptr, drawn(266, 230))
VEK_GAUGE(efs50_tcas, "EFS50_TCAS", efs50_tcas_callback, R::Display, WINDOW_EFS50_TCAS, 0, nullptr, nullptr, nullptr, drawn(266, 230))
VEK_GAUGE(du1000_ehsi, "DU_1000_EHSI", du_1000_ehsi_callback, R::Display, WINDOW_DU1000_EHSI, 0, nullptr, nullptr, nullptr, drawn(318, 310))
VEK_GAUGE(du1000_ehsi_nb, "DU_1000_EHSI_NB", du_1000_ehsi_nb_callback, R::Display, WINDOW_DU1000_EHSI, 0, nullptr, nullptr, nullptr, drawn(318, 310))
VEK_GAUGE(proline4_mfd, "PROLINE4_MFD", proline4_mfd_callback, R::Display, WINDOW_PROLINE4_MFD, 0, nullptr, nullptr, nullptr, drawn(247, 285))
VEK_GAUGE(proline4_mfd_nb, "PROLINE4_MFD_NB", proline4_mfd_nb_callback, R::Display, WINDOW_PROLINE4_MFD, 0, nullptr, nullptr, nullptr, drawn(247, 285))
VEK_GAUGE(p1000_mfd, "P1000_MFD", p1000_mfd_callback, R::Display, WINDOW_P1000_MFD, 0, nullptr, nullptr, nullptr, drawn(272, 314))
VEK_GAUGE(p1000_mfd_nb, "P1000_MFD_NB", p1000_mfd_nb_callback, R::Display, WINDOW_P1000_MFD, 0, nullptr, nullptr, nullptr, drawn(272, 314))
VEK_GAUGE(efs50_eadi, "EFS50_EADI", efs50_eadi_callback, R::Display, WINDOW_EFS50_EADI, 0, nullptr, nullptr, nullptr, drawn(266, 230))
VEK_GAUGE(efs50_eadi_nb, "EFS50_EADI_NB", efs50_eadi_nb_callback, R::Display, WINDOW_EFS50_EADI, 0, nullptr, nullptr, nullptr, drawn(266, 230))
VEK_GAUGE(a320_eadi, "A320_EADI_NB", a320_eadi_callback, R::Display, WINDOW_A320_EADI, 0, nullptr, nullptr, nullptr, drawn(318, 310))
VEK_GAUGE(b777_pfd, "B777_PFD_NB", d100_callback, R::Display, WINDOW_B777_PFD, 0, nullptr, nullptr, nullptr, drawn(260, 260))
VEK_GAUGE(c17_mfd, "C17_MFD", c17_mfd_callback, R::C17Mfd, WINDOW_C17_MFD, 0, nullptr, nullptr, nullptr, drawn(246, 241))

// Flight-management units.
VEK_GAUGE(smiths_fms, "SMITHS_FMS", smiths_fms_callback, R::Cdu, WINDOW_SMITHS_FMS, 1, nullptr, nullptr, nullptr,
          bitmap(314, 0, 0, 415, 640), drawn_at(310, 66, 40, 284, 233), bitmap(316, 314, 336, 50, 36),
          bitmap(328, 376, 434, 15, 97))
VEK_GAUGE(smiths_fms_br, "SMITHS_FMS_BR", smiths_fms_br_callback, R::Cdu, WINDOW_SMITHS_FMS, 1, nullptr, nullptr, nullptr,
          bitmap(312, 0, 0, 415, 640), drawn_at(310, 66, 40, 284, 233), bitmap(316, 314, 336, 50, 36),
          bitmap(328, 376, 434, 15, 97))
VEK_GAUGE(gnsxls, "GNSXLS", gnsxls_callback, R::Cdu, WINDOW_GNSXLS, 0, nullptr, nullptr, nullptr, drawn(495, 400))
VEK_GAUGE(gnsxls_lm, "GNSXLS_LM", gnsxls_lm_callback, R::Cdu, WINDOW_GNSXLS, 0, nullptr, nullptr, nullptr, drawn(495, 400))
VEK_GAUGE(mcu, "MCU", mcu_callback, R::Cdu, WINDOW_MCU, 0, nullptr, nullptr, nullptr, drawn(464, 214), bitmap(0, 0, 0, 0, 0),
          bitmap(0, 0, 0, 0, 0), bitmap(0, 0, 0, 0, 0))
VEK_GAUGE(mcu_lm, "MCU_LM", mcu_lm_callback, R::Cdu, WINDOW_MCU, 0, nullptr, nullptr, nullptr, drawn(464, 214), bitmap(0, 0, 0, 0, 0),
          bitmap(0, 0, 0, 0, 0), bitmap(0, 0, 0, 0, 0))

// Control panels.
VEK_GAUGE(b737_efis, "HW_B737_EFIS_CNTR", hw_b737_efis_cntr_callback, R::Panel, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(b737_efis_br, "HW_B737_EFIS_CNTR_BR", hw_b737_efis_cntr_br_callback, R::Panel, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(md11_efis, "MD11_EFIS_CTRL", md11_efis_ctrl_callback, R::Panel, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(md80_ctrl, "MD80_EHSI_CTRL", md80_ehsi_ctrl_callback, R::Panel, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(efs50_cntr, "EFS50_EHSI_CNTR", efs50_ehsi_cntr_callback, R::Panel, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(efs50_cntr_lm, "EFS50_EHSI_CNTR_LM", efs50_ehsi_cntr_lm_callback, R::Panel, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(proline4_ctrl, "PROLINE4_MFD_CTRL", proline4_mfd_ctrl_callback, R::Panel, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(proline4_aux, "PROLINE4_AUX_CTRL", proline4_aux_ctrl_callback, R::Panel, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(a300_efis, "A300_EFIS_CTRL", a300_efis_ctrl_callback, R::Panel, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(p1000_cntr, "P1000_MFD_CNTR", p1000_mfd_cntr_callback, R::Panel, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(p1000_cntr_nb, "P1000_MFD_NB_CNTR", p1000_mfd_nb_cntr_callback, R::Panel, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 300, 100))
VEK_GAUGE(c17_mfcp, "C17_MFCP", c17_mfcp_callback, R::C17Panel, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 440, 520))

// Special gauges.
VEK_GAUGE(server, "SERVER", server_callback, R::Server, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 1, 1))
VEK_GAUGE(debug, "DEBUG", debug_callback, R::Debug, 0, 0, nullptr, nullptr, nullptr, drawn(300, 120))
VEK_GAUGE(lnav, "LNAV", lnav_callback, R::Button, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 40, 40))
VEK_GAUGE(vnav, "VNAV", vnav_callback, R::Button, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 40, 40))
VEK_GAUGE(bdry, "BDRY", bdry_callback, R::Button, 0, -1, nullptr, nullptr, nullptr, bitmap(0, 0, 0, 40, 40))

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
void module_init() {}
void module_deinit() {}
}  // namespace

extern "C" {
__attribute__((visibility("default"))) ModuleLinkage Linkage = {0x0000, module_init, module_deinit, 0, 0x0900, gauge_table};
__attribute__((visibility("default"))) ModuleImports ImportTable = {0, nullptr};
}
