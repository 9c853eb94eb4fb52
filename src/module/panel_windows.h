// Panel window idents: the host's windows of the CDUs and the C-17 MFD, and the
// displays' own pop-up windows (this module's numbering).
#pragma once

#include <cstdint>

constexpr int32_t WINDOW_MAIN_PANEL = 0;
constexpr int32_t WINDOW_MCU = 4001;
constexpr int32_t WINDOW_GNSXLS = 4004;
constexpr int32_t WINDOW_SMITHS_FMS = 4012;
constexpr int32_t WINDOW_C17_MFD = 4025;
constexpr int32_t WINDOW_B737_ND = 4101;
constexpr int32_t WINDOW_MD11_ND = 4102;
constexpr int32_t WINDOW_MD80_EHSI = 4103;
constexpr int32_t WINDOW_EFS50_EHSI = 4104;
constexpr int32_t WINDOW_EFS50_TCAS = 4105;
constexpr int32_t WINDOW_DU1000_EHSI = 4106;
constexpr int32_t WINDOW_PROLINE4_MFD = 4107;
constexpr int32_t WINDOW_P1000_MFD = 4108;
constexpr int32_t WINDOW_EFS50_EADI = 4109;
constexpr int32_t WINDOW_A320_EADI = 4110;
constexpr int32_t WINDOW_B777_PFD = 4111;
