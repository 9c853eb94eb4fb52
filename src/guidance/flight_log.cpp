#include "guidance/flight_log.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/speed_conversions.h"
#include "module/ipc_client.h"
#include "module/load_state.h"
#include "module/module_files.h"
#include "module/module_messages.h"
#include "module/module_paths.h"
#include "module/sim_vars.h"

int32_t flight_phase = 999;
double log_last_row_time = 0.0, log_last_row_alt = 0.0, log_last_row_vs = 0.0;
std::string takeoff_time_text = "-----", takeoff_time_copy, landing_time_text;
double takeoff_hour = 0.0, takeoff_minute = 0.0;
double zero_fuel_weight = 0.0, payload_weight = 0.0;
double log_start_fuel = 0.0;
int32_t log_initial_load_done = 0;
int32_t log_settings_loaded = 0;
double phase10_entry_time = 0.0;

namespace {

const char* const phase_texts[] = {"InitLoad", "PushBack", "Taxi",    "Takeoff",  "Climb",     "Cruise",
                                   "Descent",  "Approach", "Landing", "Arr_Taxi", "",          "End_Flight"};

constexpr const char* kRule = ";--------------------------------------------------------------------------\n";

void read_weights() {
  if (ipc_open() != 1) return;
  int32_t count = 0;
  uint32_t zfw_raw = 0;
  ipc_read(IPC_OFFSET_PAYLOAD_COUNT, 4, &count);
  ipc_read(IPC_OFFSET_ZFW, 4, &zfw_raw);
  if (ipc_process() != 1) {
    ipc_close();
    return;
  }
  double stations[IPC_MAX_STATIONS + 1] = {};
  int n = count < 0 ? 0 : (count > IPC_MAX_STATIONS ? IPC_MAX_STATIONS : count);
  for (int i = 1; i <= n; ++i)
    ipc_read(IPC_OFFSET_STATION_WEIGHTS + IPC_STATION_STRIDE * static_cast<uint32_t>(i - 1), 8, &stations[i]);
  if (n > 0) ipc_process();
  ipc_close();
  zero_fuel_weight = zfw_raw * 0.00390625;
  if (count >= 1) {
    double sum = 0.0;
    for (int i = 1; i <= n; ++i)
      if (std::isfinite(stations[i])) sum += stations[i];
    payload_weight = sum;
  }
}

void format_elapsed(char* out, size_t size) {
  double s = elapsed_seconds;
  if (!std::isfinite(s) || s < 0.0) s = 0.0;
  if (s > 3599999.0) s = 3599999.0;
  // At most 999:59:59, so each field has a known width.
  unsigned whole = static_cast<unsigned>(s);
  unsigned hours = whole / 3600u % 1000u;
  std::snprintf(out, size, "%02u:%02u:%02u", hours, whole / 60u % 60u, whole % 60u);
}

void write_row(int mode) {
  char time_text[16];
  format_elapsed(time_text, sizeof time_text);
  const char* wpt = "---";
  if (mode == 1 && active_record(fpl_active_index)) wpt = fpl_active[fpl_active_index].ident;
  char row[256];
  std::snprintf(row, sizeof row, "%s %-10s %6s %5.0f  %5.0f   %5.0f  %6.0f  %5.0f %7.0f  %7.0f %7.0f %-3.0f\n",
                time_text, flight_phase_text(flight_phase), wpt, finite_or(ground_speed, 0.0),
                finite_or(true_airspeed, 0.0), finite_or(vertical_speed, 0.0), finite_or(indicated_altitude, 0.0),
                finite_or(get_total_fuel_flow(), 0.0), finite_or(read_fuel_on_board(), 0.0),
                finite_or(zero_fuel_weight, 0.0), finite_or(payload_weight, 0.0), finite_or(indicated_airspeed, 0.0));
  std::string path = vek_path("\\vek\\FlightLog\\fpl.log");
  std::FILE* f = open_regular_file_for_write(path, flight_phase != 0);
  if (!f) return;
  if (flight_phase == 0) {
    const char* first = fpl_active_last >= 0 ? fpl_active[0].ident : "";
    const char* last = fpl_active_last >= 0 && fpl_active_last <= FPL_MAX_LAST ? fpl_active[fpl_active_last].ident : "";
    std::fprintf(f, "FlightPlan=%s-%s\n", first, last);
    std::fprintf(f, "Aircraft=%s\n", aircraft_name.c_str());
    std::fputs(kRule, f);
    std::fputs(kRule, f);
    std::fputs("; TIME   Segment  Waypoint   GSP   TAS       V/S    ALT    FF     FOB       ZFW     PLD  IAS\n", f);
    std::fputs(kRule, f);
  }
  add_routine_module_message(row);
  std::fputs(row, f);
  close_written_file(f, path);
}

std::string zulu_text() {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02.0f:%02.0f", std::floor(zulu_hour), std::floor(zulu_minute));
  return buf;
}

// --- Summary -------------------------------------------------------------------------------

constexpr int kBands = 40;

struct AltBand {
  double alt;
  double tas_sum, vs_sum, ff_sum;
  int n;
  double pair_ff[kBands];  // per weight band
  int pair_n[kBands];
};

struct PhaseBands {
  AltBand alt[kBands];
  int alt_count;
  double weight[kBands];
  int weight_count;
};

int find_or_add(double* values, int& count, double v) {
  for (int i = 0; i < count; ++i)
    if (values[i] == v) return i;
  if (count >= kBands) return -1;
  values[count] = v;
  return count++;
}

void add_row(PhaseBands& p, double alt, double tas, double vs, double ff, double weight) {
  if (!(std::fabs(alt) < 1.0e7) || !(std::fabs(weight) < 1.0e9)) return;
  double band = static_cast<int>(static_cast<int>(alt / 5000.0 + 0.5) * 5000.0);
  if (band < 5000.0) band = 5000.0;
  int a = -1;
  for (int i = 0; i < p.alt_count; ++i)
    if (p.alt[i].alt == band) a = i;
  if (a < 0) {
    if (p.alt_count >= kBands) return;
    a = p.alt_count++;
    p.alt[a] = AltBand{};
    p.alt[a].alt = band;
  }
  AltBand& b = p.alt[a];
  b.tas_sum += tas;
  b.vs_sum += vs;
  b.ff_sum += ff;
  ++b.n;
  double wb = weight >= 95500.0 ? static_cast<int>(weight / 10000.0 + 0.5) * 10000.0
                                : static_cast<int>(weight / 5000.0 + 0.5) * 5000.0;
  int w = find_or_add(p.weight, p.weight_count, wb);
  if (w < 0) return;
  b.pair_ff[w] += ff;
  ++b.pair_n[w];
}

double number(const char* s) {
  double v = std::strtod(s, nullptr);
  return std::isfinite(v) ? v : 0.0;
}

PhaseBands climb_bands, cruise_bands, descent_bands;

}  // namespace

const char* flight_phase_text(int32_t phase) {
  if (phase < 0 || phase > 11) return "";
  return phase_texts[phase];
}

void update_flight_phase_log(int mode) {
  if (log_initial_load_done == 0) {
    read_fuel_on_board();
    get_total_fuel_flow();
    read_weights();
    if (mode == 3) {
      log_settings_loaded = 1;
      return;
    }
    log_initial_load_done = 1;
  }
  if (flight_phase == 999 || flight_phase < -1) return;

  int32_t p = flight_phase;
  double gs = ground_speed, vs = vertical_speed;
  if (p == -1) {
    p = 0;
    elapsed_seconds = 0.0;
    log_start_fuel = read_fuel_on_board();
  }
  if (p == 0 && gs > 2.0) p = 1;
  if ((p == 0 || p == 1) && gs > 10.0) p = 2;
  if (p == 2 && gs > 60.0 && radio_altitude > 50.0) {
    p = 3;
    takeoff_hour = zulu_hour;
    takeoff_minute = zulu_minute;
    takeoff_time_text = zulu_text();
    takeoff_time_copy = takeoff_time_text;
  }
  if (p == 3 && vs > 400.0) p = 4;
  // VNAV levelling at a constraint below the cruise level is still the climb.
  bool vnav_climbing = vnav_on == 1 && toc_reached == 0 && cruise_alt > 0;
  if (p == 4 && vs > -50.0 && vs < 50.0 && !vnav_climbing) p = 5;
  // A level-off on the way up is no cruise: climbing again before the top of climb.
  else if (p == 5 && vs > 400.0 && toc_reached == 0) p = 4;
  if (p == 5 && vs < -400.0 && log_last_row_vs < -400.0 && elapsed_seconds - log_last_row_time > 20.0) p = 6;
  if (p == 6 && fpl_active_last >= 0 && fpl_active_last <= FPL_MAX_LAST) {
    double d = 0.0, c = 0.0;
    compute_gc_distance_course(present_lat, present_lon, fpl_active[fpl_active_last].lat,
                               fpl_active[fpl_active_last].lon, d, c);
    if (d < 20.0) p = 7;
  }
  if (p == 7 && gs < 60.0) {
    p = 8;
    landing_time_text = zulu_text();
  }
  if (p == 8 && gs < 40.0) p = 9;
  if (p == 10 && gs > 10.0) p = 9;
  if (p == 9 && gs < 5.0) {
    p = 10;
    phase10_entry_time = elapsed_seconds;
  }
  if (p == 10 && ((elapsed_seconds - phase10_entry_time > 120.0 && gs <= 10.0) || get_flight_log_active() == 0.0))
    p = 11;

  bool row = p != flight_phase;
  flight_phase = p;
  double since = elapsed_seconds - log_last_row_time;
  if (((p == 4 && vs > 400.0) || (p == 6 && vs < -400.0) || p == 7) && since > 5.0) row = true;
  if (p == 5 && since > 60.0) row = true;

  if (row || mode == 1) {
    write_row(mode);
    log_last_row_time = elapsed_seconds;
    log_last_row_alt = indicated_altitude;
    log_last_row_vs = vs;
    if (flight_phase == 11) write_flight_log();
  }
}

void write_flight_log() {
  climb_bands = PhaseBands{};
  cruise_bands = PhaseBands{};
  descent_bands = PhaseBands{};
  double start_fob = 0.0, zero_row_fob = 0.0, end_fob = 0.0;
  bool have_start = false, have_zero = false;
  std::string flight_time;
  std::string path = vek_path("\\vek\\FlightLog\\fpl.log");
  if (std::FILE* f = open_regular_file(path, text_file_max_bytes)) {
    char line[300];
    while (std::fgets(line, sizeof line, f)) {
      if (line[0] == ';') continue;
      char w[11][64] = {};
      int n = std::sscanf(line, " %63s %63s %63s %63s %63s %63s %63s %63s %63s %63s %63s", w[0], w[1], w[2], w[3], w[4],
                          w[5], w[6], w[7], w[8], w[9], w[10]);
      if (n < 11) continue;
      double tas = number(w[4]), vs = number(w[5]), alt = number(w[6]), ff = number(w[7]);
      double fob = number(w[8]), weight = fob + number(w[9]) + number(w[10]);
      // The flight starts with its InitLoad row (stamped 00:00:00).
      if (!have_start && std::strcmp(w[1], "InitLoad") == 0) {
        start_fob = fob;
        have_start = true;
      }
      if (!have_zero && std::strcmp(w[0], "00:00:00") == 0) {
        zero_row_fob = fob;
        have_zero = true;
      }
      if (std::strcmp(w[1], "Climb") == 0) add_row(climb_bands, alt, tas, vs, ff, weight);
      else if (std::strcmp(w[1], "Cruise") == 0) add_row(cruise_bands, alt, tas, vs, ff, weight);
      else if (std::strcmp(w[1], "Descent") == 0) add_row(descent_bands, alt, tas, vs, ff, weight);
      else if (std::strcmp(w[1], "End_Flight") == 0) {
        flight_time.assign(w[0], std::strlen(w[0]) < 5 ? std::strlen(w[0]) : 5);
        end_fob = fob;
      }
    }
    std::fclose(f);
  }
  if (!have_start && have_zero) start_fob = zero_row_fob;
  double fuel_used = (have_start || have_zero) ? start_fob - end_fob : 0.0;
  if (aircraft_name.empty()) return;

  std::string out_path = vek_path("\\vek\\FlightLog\\Flight.log");
  std::FILE* out = open_regular_file_for_write(out_path, true);
  if (!out) return;
  const char* origin = fpl_active_last >= 0 ? fpl_active[0].ident : "";
  const char* dest = fpl_active_last >= 0 && fpl_active_last <= FPL_MAX_LAST ? fpl_active[fpl_active_last].ident : "";
  std::fprintf(out, "[%s-%s]\n", origin, dest);
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::fprintf(out, "Date=%d/%02d/%02d\n", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  std::fprintf(out, "FlightTime=%s\n", flight_time.c_str());
  std::fprintf(out, "Aircraft=%s\n", aircraft_name.c_str());
  std::fprintf(out, "FuelUsed=%.0f\n", fuel_used);
  // Band pairs without rows have no average and are left out.
  if (climb_bands.alt_count > 0) {
    std::fputs("Climb=", out);
    for (int a = 0; a < climb_bands.alt_count; ++a) {
      const AltBand& b = climb_bands.alt[a];
      for (int w = 0; w < climb_bands.weight_count; ++w) {
        if (b.pair_n[w] == 0) continue;
        std::fprintf(out, "%.0f_%.0f_%.0f_%.0f_%.0f ", b.alt, b.tas_sum / b.n, b.vs_sum / b.n, climb_bands.weight[w],
                     b.pair_ff[w] / b.pair_n[w]);
      }
    }
    std::fputs("\n", out);
  }
  if (cruise_bands.alt_count > 0) {
    std::fputs("Cruise=", out);
    for (int a = 0; a < cruise_bands.alt_count; ++a) {
      const AltBand& b = cruise_bands.alt[a];
      for (int w = 0; w < cruise_bands.weight_count; ++w) {
        if (b.pair_n[w] == 0) continue;
        std::fprintf(out, "%.0f_%.0f_%.0f_%.0f ", b.alt, b.tas_sum / b.n, cruise_bands.weight[w],
                     b.pair_ff[w] / b.pair_n[w]);
      }
    }
    std::fputs("\n", out);
  }
  if (descent_bands.alt_count > 0) {
    std::fputs("Descent=", out);
    for (int a = 0; a < descent_bands.alt_count; ++a) {
      const AltBand& b = descent_bands.alt[a];
      double avg_vs = b.vs_sum / b.n;
      int vs_int = std::fabs(avg_vs) < 2.0e9 ? static_cast<int>(avg_vs) : 0;
      std::fprintf(out, "%.0f_%.0f_%d_%.0f ", b.alt, b.tas_sum / b.n, vs_int < 0 ? -vs_int : vs_int,
                   b.ff_sum / b.n);
    }
    std::fputs("\n", out);
  }
  std::fputs("\n", out);
  close_written_file(out, out_path);
}

void keep_flight_log_state(LoadState& state) { state.keep(climb_bands, cruise_bands, descent_bands); }
