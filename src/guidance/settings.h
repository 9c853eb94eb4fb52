// Settings globals: what "\vek\vek.cfg" and the aircraft file set, with their start
// values. Names follow the file keys. The display start modes live with the display
// state (module/display_state.h); the aircraft file validates them.
#pragma once

#include <cstdint>
#include <string>

#include "flightplan/plan_files.h"  // FlightPlansFolder, SaveFPLCruiseAlt, LoadFuelonFlightPlanLoad

// Simulator version: 9, or 10 when the simulator folder holds the newer simulator.
extern int32_t sim_version;

// Load guards: set once the file has been read (or found missing).
extern int32_t settings_loaded;
extern int32_t aircraft_config_loaded;

// --- Keys of "\vek\vek.cfg" (most may be set again by the aircraft file) ---------------

extern int32_t ArmPauseAtTod;                // CDU pages show the pause-at-TOD prompt
extern int32_t PauseAtTod;                   // 1: pause once at top of descent (cleared when it fires)
extern int32_t ArmPauseAtDistFromDest;       // CDU pages show the distance-pause prompt
extern int32_t PauseAtDistFromDest;          // 1: pause at `pause_dist_from_dest` (cleared when it fires)
extern int32_t pause_dist_from_dest;         // nm, 20; also "pause_at_dist_nm"
extern int32_t DispAppPtrnAlts;
extern int32_t DispETALocalTime;             // 1: ETAs in local time
extern int32_t DispPrevWpt;
extern int32_t DrawBodArcOnP1000MFD;
extern int32_t DrawBodArcOnEFS50EHSI;
extern int32_t DrawTcasWindowOnP1000MFD;     // 1
extern int32_t EadiDualCue;
extern int32_t EADIHdgTape;
extern int32_t EhsiStaticHdgPointer;         // 1
extern int32_t ExpandEADI;
extern int32_t ExpandEADILnav;
extern double FlyoverWptChgDist;             // nm, 1.5
extern int32_t Lnav1xAtTod;
extern int32_t LnavOffAtLastWpt;
extern int32_t LnavSetEnRouteFreqs;
extern int32_t MFDTextAntiAlias;             // 1
extern std::string ParkingFile;              // file under "\vek\Aircraft\"
extern int32_t SetDestLoadTowerViewDist;
extern int32_t SetSpdOffwhenAPMasterSetOff;
extern int32_t SetUTCTimeOnFPLoad;
extern int32_t ShowTodBodIndicators;         // 1
extern int32_t SetWptBaro;
extern int32_t TcasVertRange;                // hundreds of feet, 140
extern int32_t VnavOffAtLastWpt;
extern int32_t VnavOffOnManAltChg;
extern int32_t VnavSetAlts;                  // 1
extern int32_t VnavSetSpd;                   // 1; 2 while a manual speed change suspends it
extern int32_t VnavSetSpdOffOnManSpdChg;
extern std::string WeightUnit;               // upper-cased; "KGS" shows fuel in kilograms
extern double WptChgDist;                    // nm, 3.0; replaced at run time from WptChgSecs
extern double WptChgSecs;                    // s, 0
extern double WptProcChgDist;                // nm, 3.0; replaced at run time from WptProcChgSecs
extern double WptProcChgSecs;                // s, 0
extern int32_t TransAlt;                     // ft, 18000
extern double MinMapRange;                   // nm, 10.0
extern int32_t McuShowActiveRwys;
extern int32_t SequenceFPlanWpts;
extern int32_t SetMCPCrzAltOnFlightPlanLoad;
extern int32_t SetMCPSpdOnFlightPlanLoad;
extern int32_t HdgHoldOnLnavOn;
extern int32_t DispC17SpdTrend;
extern int32_t AdjustTurnDistforAngle;
extern double ClimbMach;
extern double CruiseMach;                    // reset to 0 by the aircraft-file load
extern double DescentMach;                   // reset to 0 by the aircraft-file load
extern int32_t DisplayMagVarOnGnsxlsNavPage;
extern int32_t DecLatLonDisp;

constexpr double kg_per_lb = 0.45359237;

// --- Keys of the aircraft file only ------------------------------------------------------

extern std::string aircraft_flight_plans_folder;  // the aircraft file's FlightPlansFolder

extern std::string APPRFLAPSMIN, APPRFLAPSMID, APPRFLAPSMAX;  // "15", "30", "40"
extern int32_t BestHoldIas;
extern double ClbAltRest, ClbSpdRest;        // climb speed restriction below an altitude
extern double DescAltRest, DescSpdRest;      // descent speed restriction below an altitude

// Speed targets (knots IAS). `CruiseTas` holds the cruise IAS target, the value the
// CDU pages show and edit as the cruise speed.
extern int32_t ClimbIas;                     // 0 until set
extern int32_t CruiseTas;                    // 250; also "CruiseIas"
extern int32_t DescentIas;                   // 220
// True airspeeds at 15000 ft derived from the climb and descent targets.
extern double ClimbTas;
extern double DescentTas;
// Speed limits (knots IAS) and their Mach equivalents at 15000 ft.
extern double ClimbIasMin, ClimbIasMax;      // 180, 250
extern double CruiseIasMin, CruiseIasMax;    // 230, 280
extern double descent_ias_min, descent_ias_max;  // 180, 250; also "des_ias_min", "des_ias_max"
extern double climb_mach_min, climb_mach_max;      // also "clb_mach_min", "clb_mach_max"
extern double cruise_mach_min, cruise_mach_max;    // also "crz_mach_min", "crz_mach_max"
extern double descent_mach_min, descent_mach_max;  // also "des_mach_min", "des_mach_max"
// The targets as the aircraft file last stored them (start values when it set none).
extern int32_t climb_ias_file, cruise_ias_file, descent_ias_file;

extern int32_t ClimbRate;                    // ft/min, 1800
extern double DescentRate;                   // ft/min, 1800
// Cost index from before the first change since EXEC; -1 = none. ERASE restores it.
extern int32_t cost_index_prev;
extern int32_t CostIndex;                    // -1 not set, else 0..200
// Speed targets from before the first change since EXEC (knots, Mach); -1 = none (a
// Mach target of 0, no Mach, is a value to return to). ERASE restores each target whose
// slot holds a value; ERASE and EXEC empty them.
extern double climb_ias_prev, climb_mach_prev;
extern double cruise_ias_prev, cruise_mach_prev;
extern double descent_ias_prev, descent_mach_prev;
extern int32_t EngThrust;                    // thousands of pounds
extern double FPA;                           // 0: use the rates
extern double HoldLegMins;                   // 1.0
extern int32_t LDGFLAPS, TOFLAPS;
extern std::string TOFLAPSRANGE;             // ",1,5,10,15,25,"
extern int32_t V1, VR, V2, VREF;
extern int32_t VREFMIN, VREFMID, VREFMAX;    // 150, 145, 135
extern int32_t MaxCruise;                    // ft, 35000
extern double MaxVnavClimbRate, MinVnavClimbRate;  // 2500, 1500
extern double MaxVnavDescRate, MinVnavDescRate;    // 3000, 1500
extern double MinVnavClimbIas, MinVnavIas;   // 180, 155
extern double MinVnavRadioAlt;               // 1000
extern std::string ModelId, EngId;
extern std::string PerformanceData;          // performance tables file
extern int32_t ShowFloatingTodBodIndicators;
extern int32_t VnavSetMachCruiseSpd;
extern int32_t VnavSetSpdRestDist;           // nm, 25
extern int32_t ResetApHdg;
extern std::string DU1000Style;              // "AIRBUS"
extern int32_t DispFPV;

// Display colour components, 0..255.
extern int32_t A320EADIBkgrdColorRed, A320EADIBkgrdColorGreen, A320EADIBkgrdColorBlue;
extern int32_t A320EADITapeColorRed, A320EADITapeColorGreen, A320EADITapeColorBlue;
extern int32_t A320EADISkyColorRed, A320EADISkyColorGreen, A320EADISkyColorBlue;
extern int32_t A320EADIGrndColorRed, A320EADIGrndColorGreen, A320EADIGrndColorBlue;
extern int32_t B777PFDBkgrdColorRed, B777PFDBkgrdColorGreen, B777PFDBkgrdColorBlue;
extern int32_t B777PFDTapeColorRed, B777PFDTapeColorGreen, B777PFDTapeColorBlue;
extern int32_t B777PFDSkyColorRed, B777PFDSkyColorGreen, B777PFDSkyColorBlue;
extern int32_t B777PFDGrndColorRed, B777PFDGrndColorGreen, B777PFDGrndColorBlue;
extern int32_t C17MfdBkgrdColorRed, C17MfdBkgrdColorGreen, C17MfdBkgrdColorBlue;
extern int32_t C17MfdSkyColorRed, C17MfdSkyColorGreen, C17MfdSkyColorBlue;
extern int32_t C17MfdGrndColorRed, C17MfdGrndColorGreen, C17MfdGrndColorBlue;
extern int32_t HWB737NDBkgrdColorRed, HWB737NDBkgrdColorGreen, HWB737NDBkgrdColorBlue;
extern int32_t HWMD11NDBkgrdColorRed, HWMD11NDBkgrdColorGreen, HWMD11NDBkgrdColorBlue;
extern int32_t P1000MFDBkgrdColorRed, P1000MFDBkgrdColorGreen, P1000MFDBkgrdColorBlue;
extern int32_t EFS50EHSIBkgrdColorRed, EFS50EHSIBkgrdColorGreen, EFS50EHSIBkgrdColorBlue;
extern int32_t DU1000EHSIBkgrdColorRed, DU1000EHSIBkgrdColorGreen, DU1000EHSIBkgrdColorBlue;
extern int32_t PROLINE4MFDBkgrdColorRed, PROLINE4MFDBkgrdColorGreen, PROLINE4MFDBkgrdColorBlue;
extern int32_t MD80EHSIBkgrdColorRed, MD80EHSIBkgrdColorGreen, MD80EHSIBkgrdColorBlue;

// Navigation data cycle texts for the IDENT pages: "AIRAC " + cycle, and the
// validity period; empty when "navs.txt" has no ";AIRAC" line.
extern std::string nav_data_cycle;   // also "nav_db_cycle_text"
extern std::string nav_data_active;  // also "nav_db_valid_text"

// Parking position found by `read_parking_position` (0 when not found).
extern double parking_lat, parking_lon, parking_heading;
