// Numbered simulator variables the host serves through read_token_var, with the
// raw unit the host gives each in. Ids from 1000 up are this host's own numbering
// for variables that have no established number.
#pragma once

#include <cstdint>

enum SimToken : int32_t {
  TOK_TICK_COUNTER = 1,        // 18 per second
  TOK_LOCAL_HOUR = 3,
  TOK_LOCAL_MINUTE = 4,
  TOK_LOCAL_SECOND = 5,
  TOK_ZULU_HOUR = 6,
  TOK_ZULU_MINUTE = 7,
  TOK_ADF_FREQ = 16,           // BCD: hex digits are the decimal kHz digits
  TOK_ADF_IDENT = 19,          // text
  TOK_ADF_SIGNAL = 20,         // above 0 while receiving; also the ADF bearing
  TOK_ADF_BEARING = 22,        // relative bearing, degrees
  TOK_NAV1_FREQ = 24,          // BCD hundredths above 100 MHz (0x1030 = 110.30)
  TOK_VOR1_BEARING = 25,       // raw: degrees = v * 360 / 16384 + 180 (less 360 at 360+)
  TOK_NAV2_FREQ = 27,
  TOK_VOR2_BEARING = 28,
  TOK_DME1_DISTANCE = 31,      // NM
  TOK_DME2_DISTANCE = 32,      // NM; used as the DME ground speed
  TOK_NAV35 = 35,              // NAV 2 DME distance, NM
  TOK_ADF_NEEDLE = 39,
  TOK_NAV1_DEVIATION = 40,     // -127..127
  TOK_GLIDESLOPE_DEVIATION = 41,
  TOK_NAV1_COURSE = 45,        // OBS, degrees
  TOK_NAV1_FLAGS = 46,         // 0x08 TO/FROM, 0x20 back course, 0x40 glideslope, 0x80 localizer
  TOK_NAV1_IDENT = 47,         // text
  TOK_NAV1_SIGNAL = 49,
  TOK_NAV2_IDENT = 56,         // text
  TOK_NAV2_SIGNAL = 58,
  TOK_NAV59 = 59,              // NAV 2 relative bearing, degrees
  TOK_ON_GROUND = 60,
  TOK_INDICATED_AIRSPEED = 61, // knots
  TOK_BARBER_POLE = 63,        // knots * 128
  TOK_MACH = 64,               // raw: Mach = v / 65536 * 3.2
  TOK_VERTICAL_SPEED = 65,     // raw: ft/min = v / 1.30048
  TOK_SIDESLIP = 69,
  TOK_LATITUDE = 71,           // metres north of the equator: deg = v / 111130.555557
  TOK_LONGITUDE = 72,          // raw: deg = v / 781874935307.4, wrapped to -180..180
  TOK_ALTIMETER_HPA = 75,
  TOK_PITCH = 77,              // degrees
  TOK_BANK = 79,               // degrees
  TOK_BANK_V9 = 80,            // degrees, read when sim_version is 9
  TOK_HEADING = 81,            // degrees true
  TOK_MAGVAR = 82,             // degrees, east positive
  TOK_MAP_HEADING = 86,        // degrees
  TOK_AP_MASTER = 103,
  TOK_NAV_GPS_SWITCH = 105,
  TOK_AP_HEADING_HOLD = 106,
  TOK_AP_HEADING = 107,        // degrees
  TOK_AP_VS_HOLD = 108,
  TOK_AP_112 = 112,
  TOK_AP_ALTITUDE_HOLD = 113,
  TOK_AP_114 = 114,
  TOK_AP_AIRSPEED_HOLD = 115,
  TOK_AP_AIRSPEED = 116,       // knots
  TOK_AP_MACH_HOLD = 117,
  TOK_AP_MACH = 118,           // Mach
  TOK_AP_VERTICAL_SPEED = 120, // ft/min
  TOK_AUTOTHROTTLE_ARM = 123,
  TOK_ENG1_THROTTLE = 128,     // 0..16383
  TOK_ENG1_OIL_QUANTITY = 149, // quarts = v * 30 / 16384
  TOK_ENG2_THROTTLE = 163,
  TOK_ENG2_OIL_QUANTITY = 184,
  TOK_ENG3_THROTTLE = 198,
  TOK_ENG3_OIL_QUANTITY = 219,
  TOK_ENG4_THROTTLE = 233,
  TOK_ENG4_OIL_QUANTITY = 254,
  TOK_FUEL_WEIGHT_PER_GALLON = 306,  // pounds
  TOK_FLIGHT_LOG_ACTIVE = 323,       // 0 ends the flight log
  TOK_SIM_RATE = 336,                // rate; * 256 when sim_version is 10
  TOK_SAT = 341,                     // degrees C
  TOK_342 = 342,
  TOK_WIND_SPEED = 343,              // knots
  TOK_WIND_DIRECTION = 344,          // degrees true, from
  TOK_349 = 349,
  TOK_MARKER_BEACON = 354,           // 0 none, 1 outer, 2 middle, 3 inner
  TOK_TOTAL_FUEL = 386,              // gallons
  TOK_ENG1_FUEL_FLOW = 421,          // pounds per hour
  TOK_ENG2_FUEL_FLOW = 460,
  TOK_ENG3_FUEL_FLOW = 499,
  TOK_ENG4_FUEL_FLOW = 538,
  TOK_NAV_REL_BEARING = 550,
  TOK_GROUND_SPEED = 551,            // feet per second
  TOK_ENG1_OIL_TEMP = 561,           // Rankine
  TOK_ENG1_OIL_PRESSURE = 562,       // psf
  TOK_ENG1_EGT = 567,                // Rankine
  TOK_ENG2_OIL_TEMP = 571,
  TOK_ENG2_OIL_PRESSURE = 572,
  TOK_ENG2_EGT = 577,
  TOK_ENG3_OIL_TEMP = 581,
  TOK_ENG3_OIL_PRESSURE = 582,
  TOK_ENG3_EGT = 587,
  TOK_ENG4_OIL_TEMP = 591,
  TOK_ENG4_OIL_PRESSURE = 592,
  TOK_ENG4_EGT = 597,
  TOK_RADIO_ALTITUDE = 614,          // metres
  TOK_ENG1_N1 = 625,                 // percent
  TOK_ENG1_N2 = 626,
  TOK_ENG1_PRESSURE_RATIO = 633,
  TOK_ENG1_FUEL_FLOW_ALT = 638,      // pounds per hour, read when the main value is not above 0
  TOK_ENG2_N1 = 644,
  TOK_ENG2_N2 = 645,
  TOK_ENG2_PRESSURE_RATIO = 652,
  TOK_ENG2_FUEL_FLOW_ALT = 657,
  TOK_ENG3_N1 = 663,
  TOK_ENG3_N2 = 664,
  TOK_ENG3_PRESSURE_RATIO = 671,
  TOK_ENG3_FUEL_FLOW_ALT = 676,
  TOK_ENG4_N1 = 682,
  TOK_ENG4_N2 = 683,
  TOK_ENG4_PRESSURE_RATIO = 690,
  TOK_ENG4_FUEL_FLOW_ALT = 695,
  TOK_AVIONICS_POWER = 773,
  TOK_FD_ACTIVE = 792,
  TOK_FD_BANK = 793,                 // degrees
  TOK_FD_PITCH = 794,                // degrees
  TOK_GLIDESLOPE_GATE = 852,
  TOK_FLAPS_POSITION = 907,          // 0 = up

  // This host's own numbering.
  TOK_ZULU_DAY_OF_YEAR = 1001,       // 1..366
  TOK_ZULU_YEAR = 1002,
  TOK_TOTAL_AIR_TEMP = 1003,         // degrees C * 256
  TOK_AP_ATTITUDE_HOLD = 1004,
  TOK_G_FORCE = 1005,
  TOK_GEAR_NOSE = 1006,              // 0 up .. 16383 down
  TOK_GEAR_LEFT = 1007,
  TOK_GEAR_RIGHT = 1008,
  TOK_STALL_WARNING = 1009,
  TOK_OVERSPEED_WARNING = 1010,
  TOK_AP_GLIDESLOPE_HOLD = 1011,
  TOK_AP_LOC_HOLD = 1012,
  TOK_AP_APPROACH_HOLD = 1013,
  TOK_FLAPS_HANDLE = 1014,           // detent index
  TOK_RUDDER_POSITION = 1015,        // -16383..16383
  TOK_RUDDER_TRIM = 1016,
  TOK_ELEVATOR_POSITION = 1017,
  TOK_ELEVATOR_TRIM = 1018,
  TOK_AILERON_POSITION = 1019,
  TOK_AILERON_TRIM = 1020,
  TOK_SPOILERS_ARMED = 1021,
  TOK_SPOILERS_POSITION = 1022,      // 0..16383
  TOK_FLAPS_LEFT_PERCENT = 1023,
  TOK_FLAPS_RIGHT_PERCENT = 1024,
  TOK_LE_FLAPS_LEFT_ANGLE = 1025,    // degrees
  TOK_SLATS_PERCENT = 1026,
  TOK_ZULU_SECOND = 1027,
  TOK_LOCAL_DAY_OF_YEAR = 1028,
};

// Key events the module sends, with one integer parameter.
enum SimKeyEvent : int32_t {
  KEY_AP_HEADING_SET = 0x101FA,      // degrees 0..360
  KEY_AP_ALTITUDE_SET = 0x1024C,     // feet
  KEY_AP_VS_SET = 0x101F4,           // ft/min
  KEY_AP_AIRSPEED_SET = 0x101F5,     // knots
  KEY_AP_MACH_SET = 0x101F6,         // Mach * 100
  KEY_AP_MACH_HOLD_A = 0x1022E,      // to Mach hold at top of climb
  KEY_AP_MACH_HOLD_B = 0x1017B,
  KEY_AP_SPEED_HOLD_A = 0x1023E,     // leave Mach hold at top of descent
  KEY_AP_SPEED_HOLD_B = 0x10163,
  KEY_AP_AIRSPEED_HOLD_OFF = 0x10143,
  KEY_AP_HEADING_HOLD_ON = 0x1010F,
  KEY_PAUSE_TOGGLE = 0x10019,
  KEY_SIM_RATE_DECREASE = 0x100FE,   // towards 1x
  KEY_BAROMETRIC = 0x10030,
  KEY_NAV1_RADIO_SET = 0x100AC,      // BCD
  KEY_ADF_SET = 0x100B2,             // BCD
  KEY_VOR1_OBS_SET = 0x100B4,        // course, degrees
  KEY_VNAV_TOGGLE_EVENT = 0x10338,   // received by the SERVER gauge
};
