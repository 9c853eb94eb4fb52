#include "guidance/settings_file.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "flightplan/fpl_ops.h"
#include "guidance/flight_log.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "module/load_state.h"
#include "module/module_files.h"
#include "module/module_messages.h"
#include "module/module_paths.h"

namespace {

void set_pause_at_tod(std::string_view value) {
  PauseAtTod = config_int_of_float(value);
  if (PauseAtTod == 1) ArmPauseAtTod = 1;
}

void set_pause_at_dist_from_dest(std::string_view value) {
  int32_t v = config_int_of_float(value);
  if (v > 0) {
    pause_dist_from_dest = v;
    PauseAtDistFromDest = 1;
    ArmPauseAtDistFromDest = 1;
  } else {
    PauseAtDistFromDest = v;
  }
}

// Written in feet; kept in hundreds of feet.
void set_tcas_vert_range(std::string_view value) {
  int32_t v = config_int_of_float(value);
  if (v >= 1000) TcasVertRange = v / 100;
}

}  // namespace

const ConfigKey vek_cfg_keys[] = {
    {"ArmPauseAtTod", CFG_INT, &ArmPauseAtTod, GUARD_NONE, nullptr},
    {"PauseAtTod", CFG_CUSTOM, nullptr, GUARD_NONE, set_pause_at_tod},
    {"DispETALocalTime", CFG_INT, &DispETALocalTime, GUARD_NONE, nullptr},
    {"FlightPlansFolder", CFG_TEXT, &FlightPlansFolder, GUARD_NONE, nullptr},
    {"LoadFuelonFlightPlanLoad", CFG_INT, &LoadFuelonFlightPlanLoad, GUARD_NONE, nullptr},
    {"Lnav1xAtTod", CFG_INT, &Lnav1xAtTod, GUARD_NONE, nullptr},
    {"SetDestLoadTowerViewDist", CFG_INT, &SetDestLoadTowerViewDist, GUARD_NONE, nullptr},
    {"SetUTCTimeOnFPLoad", CFG_INT, &SetUTCTimeOnFPLoad, GUARD_NONE, nullptr},
    {"WptChgDist", CFG_FLOAT, &WptChgDist, GUARD_ABOVE_ZERO, nullptr},
    {"McuShowActiveRwys", CFG_INT, &McuShowActiveRwys, GUARD_NONE, nullptr},
    {"SaveFPLCruiseAlt", CFG_INT, &SaveFPLCruiseAlt, GUARD_NONE, nullptr},
    {"DispC17SpdTrend", CFG_INT, &DispC17SpdTrend, GUARD_NONE, nullptr},
    {"ArmPauseAtDistFromDest", CFG_INT, &ArmPauseAtDistFromDest, GUARD_NONE, nullptr},
    {"PauseAtDistFromDest", CFG_CUSTOM, nullptr, GUARD_NONE, set_pause_at_dist_from_dest},
    {"SetMCPSpdOnFlightPlanLoad", CFG_INT, &SetMCPSpdOnFlightPlanLoad, GUARD_NONE, nullptr},
    {"DisplayMagVarOnGnsxlsNavPage", CFG_INT, &DisplayMagVarOnGnsxlsNavPage, GUARD_NONE, nullptr},
    {"DecLatLonDisp", CFG_INT_OF_FLOAT, &DecLatLonDisp, GUARD_NONE, nullptr},
};
const size_t vek_cfg_key_count = sizeof(vek_cfg_keys) / sizeof(vek_cfg_keys[0]);

namespace {

bool is_sim_marker(std::string_view name) {
  return equal_ignoring_case(name, "fsx.exe") || equal_ignoring_case(name, "ace.exe") ||
         equal_ignoring_case(name, "simobjects") || equal_ignoring_case(name, "Missions");
}

}  // namespace

const ConfigKey shared_setting_keys[] = {
    {"DispAppPtrnAlts", CFG_INT, &DispAppPtrnAlts, GUARD_NONE, nullptr},
    {"DispPrevWpt", CFG_INT, &DispPrevWpt, GUARD_NONE, nullptr},
    {"DrawBodArcOnP1000MFD", CFG_INT, &DrawBodArcOnP1000MFD, GUARD_NONE, nullptr},
    {"EadiDualCue", CFG_INT, &EadiDualCue, GUARD_NONE, nullptr},
    {"EADIHdgTape", CFG_INT, &EADIHdgTape, GUARD_NONE, nullptr},
    {"EhsiStaticHdgPointer", CFG_INT, &EhsiStaticHdgPointer, GUARD_NONE, nullptr},
    {"ExpandEADI", CFG_INT, &ExpandEADI, GUARD_NONE, nullptr},
    {"ExpandEADILnav", CFG_INT, &ExpandEADILnav, GUARD_NONE, nullptr},
    {"FlyoverWptChgDist", CFG_FLOAT, &FlyoverWptChgDist, GUARD_INT_PART_ABOVE_ZERO, nullptr},
    {"LnavOffAtLastWpt", CFG_INT, &LnavOffAtLastWpt, GUARD_NONE, nullptr},
    {"LnavSetEnRouteFreqs", CFG_INT, &LnavSetEnRouteFreqs, GUARD_NONE, nullptr},
    {"MFDTextAntiAlias", CFG_INT, &MFDTextAntiAlias, GUARD_NONE, nullptr},
    {"ParkingFile", CFG_TEXT, &ParkingFile, GUARD_NONE, nullptr},
    {"SetSpdOffwhenAPMasterSetOff", CFG_INT, &SetSpdOffwhenAPMasterSetOff, GUARD_NONE, nullptr},
    {"SetWptBaro", CFG_INT, &SetWptBaro, GUARD_NONE, nullptr},
    {"ShowTodBodIndicators", CFG_INT, &ShowTodBodIndicators, GUARD_NONE, nullptr},
    {"TcasVertRange", CFG_CUSTOM, nullptr, GUARD_NONE, set_tcas_vert_range},
    {"VnavOffAtLastWpt", CFG_INT, &VnavOffAtLastWpt, GUARD_NONE, nullptr},
    {"VnavOffOnManAltChg", CFG_INT, &VnavOffOnManAltChg, GUARD_NONE, nullptr},
    {"VnavSetAlts", CFG_INT, &VnavSetAlts, GUARD_NONE, nullptr},
    {"VnavSetSpd", CFG_INT, &VnavSetSpd, GUARD_NONE, nullptr},
    {"VnavSetSpdOffOnManSpdChg", CFG_INT, &VnavSetSpdOffOnManSpdChg, GUARD_NONE, nullptr},
    {"WeightUnit", CFG_UPPER_TEXT, &WeightUnit, GUARD_NONE, nullptr},
    {"WptChgSecs", CFG_FLOAT, &WptChgSecs, GUARD_ABOVE_ZERO, nullptr},
    {"WptProcChgDist", CFG_FLOAT, &WptProcChgDist, GUARD_ABOVE_ZERO, nullptr},
    {"WptProcChgSecs", CFG_FLOAT, &WptProcChgSecs, GUARD_ABOVE_ZERO, nullptr},
    {"TransAlt", CFG_INT, &TransAlt, GUARD_NONE, nullptr},
    {"MinMapRange", CFG_FLOAT, &MinMapRange, GUARD_NONE, nullptr},
    {"DrawBodArcOnEFS50EHSI", CFG_INT, &DrawBodArcOnEFS50EHSI, GUARD_NONE, nullptr},
    {"SequenceFPlanWpts", CFG_INT, &SequenceFPlanWpts, GUARD_NONE, nullptr},
    {"DrawTcasWindowOnP1000MFD", CFG_INT, &DrawTcasWindowOnP1000MFD, GUARD_NONE, nullptr},
    {"SetMCPCrzAltOnFlightPlanLoad", CFG_INT, &SetMCPCrzAltOnFlightPlanLoad, GUARD_NONE, nullptr},
    {"HdgHoldOnLnavOn", CFG_INT, &HdgHoldOnLnavOn, GUARD_NONE, nullptr},
    {"AdjustTurnDistforAngle", CFG_INT, &AdjustTurnDistforAngle, GUARD_NONE, nullptr},
    {"ClimbMach", CFG_FLOAT, &ClimbMach, GUARD_NONE, nullptr},
    {"CruiseMach", CFG_FLOAT, &CruiseMach, GUARD_NONE, nullptr},
    {"DescentMach", CFG_FLOAT, &DescentMach, GUARD_NONE, nullptr},
};
const size_t shared_setting_key_count = sizeof(shared_setting_keys) / sizeof(shared_setting_keys[0]);

void apply_vek_cfg_line(std::string_view line) {
  std::string key, value;
  if (!split_config_line(line, key, value)) return;
  if (apply_config_key(shared_setting_keys, shared_setting_key_count, key, value)) return;
  apply_config_key(vek_cfg_keys, vek_cfg_key_count, key, value);
}

void detect_sim_version() {
  std::error_code ec;
  std::filesystem::path root(sim_root_path.empty() ? "." : sim_root_path);
  int32_t count = 0;
  for (std::filesystem::directory_iterator it(root, ec), end; !ec && it != end && count < 4; it.increment(ec)) {
    if (is_sim_marker(it->path().filename().string())) ++count;
  }
  if (count >= 3) sim_version = 10;
}

namespace {

constexpr int kMaxTextResets = 8;
void (*text_resets[kMaxTextResets])() = {};

void reset_entry_texts() {
  for (std::string* text : {&route_origin_text, &route_dest_text, &route_sid_text, &route_sid_trans_text,
                            &route_dep_runway_text, &route_star_text, &route_star_trans_text, &route_arr_runway_text,
                            &route_appr_type_text, &route_appr_trans_text, &edit_origin_text, &edit_dest_text,
                            &edit_sid_text, &edit_sid_trans_text, &edit_dep_runway_text, &edit_star_text,
                            &edit_star_trans_text, &edit_arr_runway_text, &edit_appr_type_text, &edit_appr_trans_text})
    *text = FPL_NONE_TEXT;
  turn_dir_text = "DEFAULT";
  for (auto reset : text_resets)
    if (reset) reset();
}

}  // namespace

void on_settings_loaded(void (*reset)()) {
  for (auto& slot : text_resets) {
    if (slot == reset) return;
    if (!slot) {
      slot = reset;
      return;
    }
  }
}

void read_vek_cfg() {
  if (settings_loaded) return;
  ClimbTas = ias_to_tas(ClimbIas, 15000.0);
  DescentTas = ias_to_tas(DescentIas, 15000.0);

  std::string path = vek_path("\\vek\\vek.cfg");
  if (std::FILE* file = open_regular_file(path, text_file_max_bytes)) {
    std::string line;
    begin_file_messages("vek.cfg");
    bool lines = false, reads = false;
    while (read_limited_line(file, vek_cfg_line_limit, line)) {
      lines = true;
      reads = reads || config_line_reads(line);
      apply_vek_cfg_line(line);
    }
    end_file_messages();
    std::fclose(file);
    // Every setting back at its default without a word would pass for a file read.
    if (lines && !reads) post_unread_file(path);
  }
  settings_loaded = 1;
  reset_entry_texts();
  detect_sim_version();
  update_flight_phase_log(3);
  hdg_change_timer = 999;
}

void keep_settings_file_state(LoadState& state) { state.keep(text_resets); }
