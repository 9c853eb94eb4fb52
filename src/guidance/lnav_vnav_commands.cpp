#include "guidance/lnav_vnav_commands.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/aircraft_file.h"
#include "guidance/flight_envelope.h"
#include "guidance/fms_state.h"
#include "guidance/hold_legs.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "guidance/toc_tod.h"
#include "guidance/waypoint_sequencing.h"
#include "module/host_services.h"
#include "module/sim_vars.h"
#include "platform/host/sim_token_ids.h"

double vnav_vs_required = 0.0;
int32_t vnav_vs_cmd = 0;
int32_t vnav_vs_sent = -999;
int32_t vnav_alt_sent = -999;
int32_t vnav_slow_protect = 0;
double climb_restriction_applied = 0.0;
int32_t desc_restriction_applied = 0;
int32_t constraint_speed_done = 0;
double vnav_hold_alt = FPL_NO_CONSTRAINT;
double vnav_held_alt = FPL_NO_CONSTRAINT;
double vnav_limit_alt = FPL_NO_CONSTRAINT;
int32_t abeam_fix_index = -1;
double abeam_fix_lat = 0.0, abeam_fix_lon = 0.0;
double vnav_pilot_alt = FPL_NO_CONSTRAINT;

namespace {

int32_t tick_now() { return key_param(sim_tick, -999); }

// Whole hundreds toward zero of a rate kept within +-100000 ft/min.
int32_t hundreds(double rate) {
  if (rate > 100000.0) rate = 100000.0;
  if (rate < -100000.0) rate = -100000.0;
  return static_cast<int32_t>(rate / 100.0) * 100;
}

// Minutes to fly `nm` at the present ground speed; 0 when there is no time to it.
double minutes_for(double nm) {
  double t = nm / (ground_speed / 60.0);
  return std::isfinite(t) && t > 0.0 ? t : 0.0;
}

// NM to a record `nm` ahead as far as the turn onto its next leg, where it is passed;
// the route's end is flown to.
double to_turn(double nm, bool route_end) {
  if (route_end) return nm;
  return std::max(nm - wpt_change_dist, std::min(nm, 0.5));
}

// Minutes to the VNAV target; 0 when there is none. A waypoint is aimed at where it is
// passed.
double minutes_to_target() {
  double d = dist_to_vnav_target;
  if (vnav_target_kind == 0 && d > 0.0) d = to_turn(d, vnav_wpt_index >= route_end_index());
  return minutes_for(d);
}

double climb_speed_below_restriction(double speed) {
  if (ClbSpdRest > 0.0 && indicated_altitude < ClbAltRest && speed > ClbSpdRest) {
    climb_restriction_applied = 1.0;
    return ClbSpdRest;
  }
  return speed;
}

void descent_required_rate() {
  double t = minutes_to_target();
  if (t > 0.0) vnav_vs_required = (indicated_altitude - vnav_target_alt) / t;
}

double present_level() { return std::round(indicated_altitude / 100.0) * 100.0; }

// The autopilot altitude the pilot set since VNAV's own was read back, steady over two
// samples; -999 none.
double pilot_set_altitude() {
  if (fms_set_alt_pending != 0 || fms_set_alt == -999 || ap_altitude != ap_altitude_prev ||
      tick_now() == fms_set_alt_tick)
    return FPL_NO_CONSTRAINT;
  int32_t a = key_param(ap_altitude, -999);
  return a != -999 && a != fms_set_alt ? ap_altitude : FPL_NO_CONSTRAINT;
}

// After the TOD an altitude the pilot sets above the aircraft (a go-around) is kept until
// VNAV is engaged again or the pilot sets one below the aircraft: VNAV sends no altitude
// and no vertical speed over it.
bool pilot_altitude_kept() {
  double a = pilot_set_altitude();
  if (a > indicated_altitude + 100.0) vnav_pilot_alt = a;
  else if (a > FPL_NO_CONSTRAINT && a < indicated_altitude - 100.0) vnav_pilot_alt = FPL_NO_CONSTRAINT;
  return vnav_pilot_alt > FPL_NO_CONSTRAINT;
}

// LNAV off in the climb at a route break ahead (its last fix active, or the break itself):
// nothing beyond the break is flown to, so the climb stops where it is.
bool climb_stopped_at_break() {
  int end = profile_end_index();
  return toc_reached == 0 && lnav_on != 1 && end < route_end_index() && fpl_active_index >= end;
}

// The level of a hold being flown, and the one VNAV keeps in the descent, or in the climb
// at a route break, while LNAV is off: taken when they begin, dropped when they end; each
// change goes to the autopilot.
void track_held_levels() {
  bool holding = hold_being_flown();
  if (holding && !(vnav_hold_alt > FPL_NO_CONSTRAINT)) {
    double alt = present_level();
    int fix = hold_list[1].active_wpt;
    if (has_alt_constraint(fix)) alt = std::min(alt, fpl_active[fix].alt_constraint);
    vnav_hold_alt = alt;
    vnav_alt_state = 0;
  } else if (!holding && vnav_hold_alt > FPL_NO_CONSTRAINT) {
    vnav_hold_alt = FPL_NO_CONSTRAINT;
    vnav_alt_state = 0;
  }
  bool lnav_lost = lnav_on != 1 && (tod_reached == 1 || climb_stopped_at_break());
  if (lnav_lost && !(vnav_held_alt > FPL_NO_CONSTRAINT)) {
    vnav_held_alt = present_level();
    vnav_alt_state = 0;
  } else if (!lnav_lost && vnav_held_alt > FPL_NO_CONSTRAINT) {
    vnav_held_alt = FPL_NO_CONSTRAINT;
    vnav_alt_state = 0;
  }
}

// NM still to fly until the fix of the record sequenced last is abeam on the path flown
// (at right angles to the ground track): its constraints hold until then, wherever the
// aircraft turns. 0 once abeam (for good), after a direct-to or across a route break.
double nm_to_abeam_of_passed() {
  int a = fpl_active_index, p = a - 1;
  if (p < 1 || dto_active == 1 || !active_record(a) || fpl_route_break(fpl_active[a]) ||
      fpl_route_break(fpl_active[p - 1]) || fpl_route_break(fpl_active[p]))
    return 0.0;
  const FlightPlanWpt& fix = fpl_active[p];
  if (p == abeam_fix_index && fix.lat == abeam_fix_lat && fix.lon == abeam_fix_lon) return 0.0;
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(present_lat, present_lon, fix.lat, fix.lon, d, c);
  constexpr double kRad = 3.14159265358979323846 / 180.0;
  double along = d * std::cos((c - ground_track - magvar) * kRad);
  if (!std::isfinite(along)) return 0.0;
  if (along > 0.0) return along;
  abeam_fix_index = p;
  abeam_fix_lat = fix.lat;
  abeam_fix_lon = fix.lon;
  return 0.0;
}

// The same for a record sequenced last that carries an altitude constraint.
double dist_to_abeam_passed() { return has_alt_constraint(fpl_active_index - 1) ? nm_to_abeam_of_passed() : 0.0; }

// The speed constraint of the record sequenced last holds until its fix is abeam; a lower
// one at the active fix is slowed for before then only as the deceleration needs.
bool passed_speed_holds() {
  int a = fpl_active_index, p = a - 1;
  if (!active_record(p) || !fpl_has_constraint(fpl_active[p]) || !(fpl_active[p].spd_constraint > 0.0) ||
      !(nm_to_abeam_of_passed() > 0.0))
    return false;
  constexpr double kDecelKtPerS = 1.0, kMarginNm = 1.0;
  double slower = fpl_active[p].spd_constraint - fpl_active[a].spd_constraint;
  if (!(fpl_active[a].spd_constraint > 0.0) || !(slower > 0.0)) return true;
  return dist_to_active_wpt > slower / kDecelKtPerS * ground_speed / 3600.0 + kMarginNm;
}

// The aircraft flies the missed approach: a record after the approach's runway is
// active, or, the runway left out by a direct-to, a record after the final approach fix
// with a constraint above the fix's is active or behind.
bool missed_approach_flown() {
  int a = fpl_active_index;
  if (!active_record(a)) return false;
  double faf_alt = FPL_NO_CONSTRAINT;
  for (int i = 1; i <= a && i <= fpl_active_last; ++i) {
    const FlightPlanWpt& r = fpl_active[i];
    if (!fpl_procedure_segment(r.segment)) continue;
    if (std::strcmp(r.role, "MAP") == 0 && i < a) return true;
    if (faf_alt > FPL_NO_CONSTRAINT && has_alt_constraint(i) && r.alt_constraint > faf_alt) return true;
    if (std::strcmp(r.role, "FAF") == 0 && has_alt_constraint(i)) faf_alt = r.alt_constraint;
  }
  return false;
}

// On the approach before its runway: the active record belongs to the approach and the
// missed approach has not begun.
bool on_approach_before_runway() {
  int a = fpl_active_index;
  return active_record(a) && std::strcmp(fpl_active[a].segment, "APCH") == 0 && !missed_approach_flown() &&
         a <= route_end_index();
}

// The lowest altitude a VNAV descent may reach away from the runway: the aircraft's least
// height above the ground (MinVnavRadioAlt) over the ground below, in whole hundreds;
// -999 on the approach before the runway or without a radio altitude.
double radio_floor() {
  if (on_approach_before_runway() || !(MinVnavRadioAlt > 0.0) || !std::isfinite(radio_altitude) ||
      !(radio_altitude > 0.0) || radio_altitude > 20000.0)
    return FPL_NO_CONSTRAINT;
  return std::ceil((indicated_altitude - radio_altitude + MinVnavRadioAlt) / 100.0) * 100.0;
}

// The lowest altitude the descent may aim at now: the level kept since LNAV went off,
// the hold's level, the constraint of the fix just sequenced until abeam it, else the
// next altitude constraint ahead; -999 none.
double descent_floor() {
  if (vnav_held_alt > FPL_NO_CONSTRAINT) return vnav_held_alt;
  if (vnav_hold_alt > FPL_NO_CONSTRAINT) return vnav_hold_alt;
  if (dist_to_abeam_passed() > 0.0) return fpl_active[fpl_active_index - 1].alt_constraint;
  int end = profile_end_index();
  for (int i = fpl_active_index; active_record(i) && i <= end; ++i)
    if (has_alt_constraint(i)) return fpl_active[i].alt_constraint;
  return FPL_NO_CONSTRAINT;
}


// The altitude the climb stops at for now: the constraint of the fix just sequenced until
// abeam it, else the next constraint ahead on the climb: not below the aircraft (one below
// is met by the descent), reached before the level at the least VNAV climb rate and before
// the profile's TOD (one after either is met by the descent); never below the aircraft.
// -999 none.
double climb_cap() {
  constexpr double kMargin = 300.0;
  int a = fpl_active_index, end = profile_end_index();
  bool pending = dist_to_abeam_passed() > 0.0;
  int i = pending ? a - 1 : a;
  while (active_record(i) && i <= end && !has_alt_constraint(i)) ++i;
  if (!active_record(i) || i > end || fpl_active[i].alt_constraint < indicated_altitude - kMargin)
    return FPL_NO_CONSTRAINT;
  if (!pending || i >= a) {
    double rate = MinVnavClimbRate > 0.0 ? MinVnavClimbRate : 1000.0;
    double ahead = dist_to_active_wpt + fpl_active[i].route_dist - fpl_active[a].route_dist;
    if (vnav_level_alt() > 0.0 && indicated_altitude + minutes_for(ahead) * rate >= vnav_level_alt())
      return FPL_NO_CONSTRAINT;
    if (tod_valid == 1 && tod_reached == 0 && tod_route_dist > 0.0 && ahead > tod_route_dist) return FPL_NO_CONSTRAINT;
  }
  return std::max(fpl_active[i].alt_constraint, present_level());
}

// Feet a minute to meet each altitude constraint ahead below the aircraft, the steepest
// of them, so that a steep one after the next is met too; 0 while a level is held.
double steepest_constraint_descent() {
  if (vnav_hold_alt > FPL_NO_CONSTRAINT || vnav_held_alt > FPL_NO_CONSTRAINT) return 0.0;
  int a = fpl_active_index;
  double rate = 0.0;
  if (double abeam = dist_to_abeam_passed(); abeam > 0.0) {
    double t = minutes_for(abeam);
    double above = indicated_altitude - fpl_active[a - 1].alt_constraint;
    if (t > 0.0 && above > 0.0) rate = above / t;
  }
  for (int i = a, end = profile_end_index(); active_record(i) && i <= end; ++i) {
    const FlightPlanWpt& r = fpl_active[i];
    if (!has_alt_constraint(i) || r.alt_constraint >= indicated_altitude) continue;
    double t = minutes_for(to_turn(dist_to_active_wpt + r.route_dist - fpl_active[a].route_dist, i >= end));
    if (t > 0.0) rate = std::max(rate, (indicated_altitude - r.alt_constraint) / t);
  }
  return rate;
}

// Feet a minute that hold the aircraft on the path flown after a direct-to: the path's
// gradient at the ground speed, and a correction toward it that takes the deviation out in
// half a minute, at most kCorrection; -1 off such a path.
double direct_path_rate() {
  constexpr double kCorrection = 500.0;
  if (dto_active != 1 || !(vnav_path_gradient > 0.0) || !(ground_speed > 0.0)) return -1.0;
  double off = std::clamp(2.0 * (indicated_altitude - vnav_path_altitude), -kCorrection, kCorrection);
  double rate = vnav_path_gradient * ground_speed / 60.0 + off;
  return std::isfinite(rate) ? std::max(rate, 0.0) : -1.0;
}

// The altitude the descent aims at: the target, never below the floor, and never above
// the aircraft (it levels rather than climbs back).
double descent_target() {
  double alt = std::max(vnav_target_alt, descent_floor());
  return alt > indicated_altitude ? std::min(alt, present_level()) : alt;
}

// Knots a second the aircraft is taken to slow by in the descent: less than it can, so
// that the limit speed is reached by the limit altitude.
constexpr double kDescentSlowingKtPerS = 1.0;

// The descent speed limit holds below its altitude, and where the descent aims below it
// from where slowing to it must begin: its altitude raised by the feet descended while the
// descent speed falls to it, at the steepest VNAV rate.
bool within_descent_speed_limit() {
  if (!(DescSpdRest > 0.0)) return false;
  if (indicated_altitude < DescAltRest) return true;
  if (!(descent_target() < DescAltRest)) return false;
  double above = std::max(double(DescentIas), indicated_airspeed) - DescSpdRest;
  double slowing_s = std::max(above, 0.0) / kDescentSlowingKtPerS;
  double rate = std::max(MaxVnavDescRate, std::isfinite(vertical_speed) ? -vertical_speed : 0.0);
  return indicated_altitude < DescAltRest + std::clamp(rate / 60.0 * slowing_s, 0.0, 10000.0);
}

double descent_speed_below_restriction(double speed) {
  if (within_descent_speed_limit() && speed > DescSpdRest) return DescSpdRest;
  return speed;
}

// The altitude the descent stops at: its target, never below the least height above the
// ground away from the runway (the path itself is left as it is).
double descent_stop() {
  double alt = descent_target(), floor = radio_floor();
  if (floor > alt) alt = std::max(alt, std::min(floor, present_level()));
  return alt;
}

// The missed approach climbs to its next altitude constraint above the aircraft, else
// keeps the present level: it never descends toward the airport.
void missed_approach_climb() {
  double level = present_level(), target = level;
  for (int i = fpl_active_index; active_record(i) && i <= fpl_active_last; ++i)
    if (has_alt_constraint(i) && std::strcmp(fpl_active[i].type, "APT") != 0) {
      target = std::max(fpl_active[i].alt_constraint, level);
      break;
    }
  if (target != vnav_limit_alt) {
    vnav_limit_alt = target;
    vnav_alt_state = 0;
  }
  if (vnav_alt_state != 1) {
    if (VnavSetAlts != 1) note_fms_alt_set();
    else if (send_vnav_altitude(target)) vnav_vs_sent = -999;
    vnav_alt_state = 1;
  }
  if (!(target - indicated_altitude > 100.0)) return;
  double t = minutes_for(dist_to_active_wpt);
  double r = t > 0.0 ? (target - indicated_altitude) / t : MaxVnavClimbRate;
  int32_t v = std::clamp(hundreds(r), static_cast<int32_t>(MinVnavClimbRate), static_cast<int32_t>(MaxVnavClimbRate));
  if (v <= 0) v = 1000;
  vnav_vs_cmd = v;
  if (vnav_vs_cmd != vnav_vs_sent) {
    send_key(KEY_AP_VS_SET, vnav_vs_cmd);
    vnav_vs_sent = vnav_vs_cmd;
  }
}

}  // namespace

void note_fms_alt_set() {
  fms_set_alt_tick = tick_now();
  fms_set_alt_pending = 1;
}

void note_fms_spd_set() {
  fms_set_spd_tick = tick_now();
  fms_set_spd_pending = 1;
}

namespace {

// The holding speed while a hold is flown or asked for before its fix (BestHoldIas, never
// above the speed published at the fix); 0 otherwise.
double holding_speed() {
  if (BestHoldIas <= 0 || !(hold_being_flown() || hold_speed_due()) || hold_count < 1) return 0.0;
  double kt = BestHoldIas;
  const int fix = hold_list[1].active_wpt;
  if (active_record(fix) && fpl_active[fix].spd_constraint > 0.0) kt = std::min(kt, fpl_active[fix].spd_constraint);
  return kt;
}

// The speed to send now for VNAV's own: the holding speed over it, inside the envelope.
double speed_to_send() {
  const double hold = holding_speed();
  return envelope_bound_ias(hold > 0.0 ? hold : vnav_speed_asked, toc_reached == 0);
}

}  // namespace

bool send_vnav_altitude(double feet) {
  if (!std::isfinite(feet) || !(feet > -2000.0) || !(feet < 100000.0)) return false;
  int32_t a = key_param(feet);
  if (a == vnav_alt_sent) return false;
  send_key(KEY_AP_ALTITUDE_SET, feet);
  vnav_alt_sent = a;
  note_fms_alt_set();
  return true;
}

bool send_vnav_speed(double knots) {
  if (!std::isfinite(knots) || knots < 1.0 || knots > 1000.0) return false;
  // Never outside the aircraft's envelope; the speed held is read back after the command.
  vnav_speed_asked = knots;
  vnav_speed_sent = speed_to_send();
  send_key(KEY_AP_AIRSPEED_SET, vnav_speed_sent);
  note_fms_spd_set();
  return true;
}

bool send_vnav_mach100(double mach100) {
  if (!std::isfinite(mach100) || mach100 < 1.0 || mach100 > 500.0) return false;
  mach100 = envelope_bound_mach100(mach100);
  send_key(KEY_AP_MACH_SET, mach100);
  note_fms_spd_set();
  return true;
}

double vnav_required_fpm() {
  double t = minutes_for(dist_to_vnav_target);
  if (!(t > 0.0) || !std::isfinite(indicated_altitude) || !std::isfinite(vnav_target_alt)) return -1.0;
  double feet = toc_reached == 0 ? vnav_target_alt - indicated_altitude : indicated_altitude - vnav_target_alt;
  return std::clamp(feet / t, 0.0, 9999.0);
}

void vnav_vs_update() {
  if (vnav_on != 1) {
    if (tod_reached == 1 && indicated_altitude >= vnav_target_alt) descent_required_rate();
    vnav_alt_sent = -999;  // engaged again, VNAV sends its altitude
    vnav_pilot_alt = FPL_NO_CONSTRAINT;
    return;
  }
  // Just engaged, or a change executed: the altitude goes to the autopilot again.
  if (vnav_cmd_pending == 1) vnav_alt_sent = -999;
  bool descending = toc_reached == 1 && tod_reached == 1;
  bool kept_by_pilot = descending && VnavOffOnManAltChg != 1 && pilot_altitude_kept();
  if (!descending) vnav_pilot_alt = FPL_NO_CONSTRAINT;
  if (kept_by_pilot) return;
  if (missed_approach_flown()) {
    missed_approach_climb();
    return;
  }
  if (descending || climb_stopped_at_break() || vnav_held_alt > FPL_NO_CONSTRAINT) track_held_levels();
  bool stopped = !descending && vnav_held_alt > FPL_NO_CONSTRAINT;
  // A lower altitude the pilot set never takes the descent past VNAV's level: it is sent again.
  if (descending && VnavSetAlts == 1 && VnavOffOnManAltChg != 1) {
    double pilot = pilot_set_altitude();
    if (pilot > FPL_NO_CONSTRAINT && pilot < descent_stop() - 50.0) {
      vnav_alt_sent = -999;
      vnav_alt_state = 0;
    }
  }
  // A new floor or cap (a fix passed abeam, a level taken or left) goes to the autopilot.
  double limit = descending  ? std::max(descent_floor(), radio_floor())
                 : stopped   ? vnav_held_alt
                 : toc_reached == 0 ? climb_cap()
                                    : FPL_NO_CONSTRAINT;
  if (limit != vnav_limit_alt) {
    vnav_limit_alt = limit;
    vnav_alt_state = 0;
  }
  if (vnav_alt_state == 1) {
    if (VnavOffOnManAltChg == 1 && pilot_set_altitude() > FPL_NO_CONSTRAINT) {
      vnav_on = 0;
      host_set_named_var_by_name("vek_vnav", vnav_on);
      return;
    }
  } else {
    if (VnavSetAlts == 1) {
      double alt = vnav_target_alt;
      if (stopped) alt = vnav_held_alt;
      else if (toc_reached == 1 && tod_reached == 0) alt = vnav_level_alt();
      else if (descending) alt = descent_stop();
      else if (limit > FPL_NO_CONSTRAINT) alt = std::min(std::max(alt, vnav_level_alt()), limit);
      // The same altitude again is not sent: a pilot's change stands until VNAV's changes.
      if (send_vnav_altitude(alt)) vnav_vs_sent = -999;
    } else {
      note_fms_alt_set();
    }
    vnav_alt_state = 1;
  }

  // Held at a route break: the autopilot keeps the altitude set.
  if (stopped) return;
  if (toc_reached == 1 && tod_reached == 0) {
    // A lower cruise level is descended to at the least descent rate, once the autopilot's
    // altitude is below the aircraft too: a V/S never points away from it.
    if (indicated_altitude - vnav_level_alt() >= 150.0 && ap_altitude < indicated_altitude) {
      vnav_vs_cmd = -static_cast<int32_t>(hundreds(MinVnavDescRate));
      if (vnav_vs_cmd != vnav_vs_sent && vnav_vs_cmd < 0) {
        send_key(KEY_AP_VS_SET, vnav_vs_cmd);
        vnav_vs_sent = vnav_vs_cmd;
      }
    }
    return;
  }

  if (descending) {
    // Level with LNAV off: the autopilot holds the altitude set.
    if (vnav_held_alt > FPL_NO_CONSTRAINT) return;
    double target = descent_target();
    if (!(indicated_altitude >= target) || !(indicated_altitude > descent_stop())) return;
    double t = minutes_to_target();
    if (t <= 0.0) return;  // no time to the target: the last command stands
    vnav_vs_required = std::max((indicated_altitude - target) / t, steepest_constraint_descent());
    if (double path = direct_path_rate(); path >= 0.0) vnav_vs_required = path;
    int32_t v = hundreds(vnav_vs_required);
    if (v > MaxVnavDescRate) v = static_cast<int32_t>(MaxVnavDescRate);
    if (v < MinVnavDescRate) v = static_cast<int32_t>(MinVnavDescRate);
    if (indicated_airspeed < MinVnavIas) v = 0;
    vnav_vs_cmd = -v;
    // A rate wavering by one step of 100 ft/min is not sent back and forth.
    if (vnav_vs_sent == -999 || std::abs(vnav_vs_cmd - vnav_vs_sent) >= 200 || (vnav_vs_cmd < 0) != (vnav_vs_sent < 0)) {
      send_key(KEY_AP_VS_SET, vnav_vs_cmd);
      vnav_vs_sent = vnav_vs_cmd;
    }
    return;
  }

  double r = 0.0;
  if (vnav_slow_protect == 0 && speed_trend < 0.005 && indicated_airspeed < MinVnavClimbIas + 5.0 &&
      ap_airspeed > MinVnavClimbIas) {
    r = vertical_speed;
    if (speed_trend < 0.0) r -= 100.0;
  } else {
    double t = minutes_to_target();
    if (t <= 0.0) return;  // no time to the target: the last command stands
    // A constraint is climbed to with a fifth of the time in hand: the ground speed grows
    // with the altitude and the rate is raised step by step.
    if (vnav_target_kind == 0) t *= 0.8;
    r = (vnav_target_alt - indicated_altitude) / t;
    if (r - 200.0 > vertical_speed) r = vertical_speed + 100.0;
  }
  if (!std::isfinite(r)) return;
  vnav_vs_required = r;
  int32_t v = hundreds(r);
  if (v > MaxVnavClimbRate) v = static_cast<int32_t>(MaxVnavClimbRate);
  else if (v < MinVnavClimbRate) v = static_cast<int32_t>(MinVnavClimbRate);
  // Below the least VNAV speed the climb goes on, shallow enough for the speed to build.
  constexpr int32_t kSlowClimbRate = 1000;
  if (vnav_slow_protect == 1) {
    if (indicated_airspeed > MinVnavIas + 10.0) vnav_slow_protect = 0;
    else v = std::min(v, kSlowClimbRate);
  } else if (indicated_airspeed < MinVnavIas) {
    vnav_slow_protect = 1;
    v = std::min(v, kSlowClimbRate);
  }
  vnav_vs_cmd = v;
  if (vnav_vs_cmd != vnav_vs_sent && fms_frame == 0) {
    send_key(KEY_AP_VS_SET, vnav_vs_cmd);
    vnav_vs_sent = vnav_vs_cmd;
  }
}

void vnav_level_off() {
  if (vnav_on != 1 || toc_reached != 1 || tod_reached != 1 || vnav_pilot_alt > FPL_NO_CONSTRAINT) return;
  vnav_held_alt = present_level();
  if (VnavSetAlts != 1 || !send_vnav_altitude(vnav_held_alt)) note_fms_alt_set();
  vnav_alt_state = 1;
}

namespace {

// The speed last asked for, sent again whenever the envelope moves it (the maximum falls
// and rises with altitude, the least speed changes with the phase), and the holding speed
// over it while a hold is flown, whichever unit placed the hold.
void resend_within_envelope() {
  envelope_sample();
  const bool holding = holding_speed() > 0.0;
  if (!(vnav_speed_asked >= 1.0 || holding) || vnav_on != 1 || VnavSetSpd != 1 || fpl_changed_state < 3 ||
      fms_set_spd_pending == 1)
    return;
  if (ap_mach_hold > 0.0) {
    if (!holding) return;
    send_key(KEY_AP_SPEED_HOLD_A, 0);
    send_key(KEY_AP_SPEED_HOLD_B, 0);
  }
  const double bounded = speed_to_send();
  if (ap_mach_hold <= 0.0 && std::fabs(bounded - vnav_speed_sent) < 1.0) return;
  vnav_speed_sent = bounded;
  send_key(KEY_AP_AIRSPEED_SET, bounded);
  note_fms_spd_set();
}

}  // namespace

void vnav_route_end() {
  if (vnav_on != 1) return;
  // An altitude the pilot set since the FMS last sent one stays as set.
  if (vnav_pilot_alt > FPL_NO_CONSTRAINT ||
      (fms_set_alt_pending == 0 && fms_set_alt != -999 && key_param(ap_altitude, -999) != fms_set_alt)) {
    vnav_held_alt = present_level();
    vnav_alt_state = 1;
    return;
  }
  vnav_level_off();
}

void vnav_speed_update() {
  if (VnavSetSpd == 1 && vnav_spd_state == 1 && VnavSetSpdOffOnManSpdChg == 1 && fms_set_spd_pending == 0 &&
      tick_now() != fms_set_spd_tick) {
    bool manual = false;
    if (ap_mach_hold > 0.0) manual = fms_set_mach100 != -999 && key_param(token118 * 100.0, -999) != fms_set_mach100;
    else manual = fms_set_spd != -999 && ap_airspeed == ap_airspeed_prev && key_param(ap_airspeed, -999) != fms_set_spd;
    if (manual) VnavSetSpd = 2;
  }
  resend_within_envelope();
  if (!(dist_to_active_wpt < VnavSetSpdRestDist || vnav_cmd_pending == 1)) return;
  int i = fpl_active_index;
  if (!active_record(i) || vnav_spd_state != 0 || vnav_on != 1 || fpl_changed_state < 3 || VnavSetSpd != 1) return;
  if (passed_speed_holds()) return;  // sent once abeam the fix passed
  const FlightPlanWpt& r = fpl_active[i];
  if (!(r.alt_constraint > FPL_NO_CONSTRAINT) || !(r.spd_constraint > FPL_NO_CONSTRAINT)) {
    vnav_spd_state = 1;
    note_fms_spd_set();
    return;
  }
  double speed = -1.0;
  if (vnav_descent_started == 0) {
    if (toc_reached == 0) {
      if (fpl_has_constraint(r) && dist_to_active_wpt >= 0.0) {
        speed = climb_speed_below_restriction(r.spd_constraint);
      } else {
        int n = next_constrained_index(i + 1);
        const double lookahead = 0.0;
        double to_next = dist_to_active_wpt + (fpl_active[n].route_dist - r.route_dist);
        if (n != profile_end_index() && fpl_active[n].spd_constraint > 50.0 && to_next <= lookahead)
          speed = climb_speed_below_restriction(fpl_active[n].spd_constraint);
        else
          speed = climb_speed_below_restriction(ClimbIas);
      }
      if (send_vnav_speed(speed)) fms_set_spd = static_cast<int32_t>(speed);
    } else {
      if (fpl_has_constraint(r) && dist_to_active_wpt < VnavSetSpdRestDist) {
        send_vnav_speed(r.spd_constraint);
      } else if (VnavSetMachCruiseSpd == 1 && CruiseMach > 0.0) {
        if (send_vnav_mach100(CruiseMach * 100.0)) fms_set_mach100 = key_param(CruiseMach * 100.0, -999);
      } else {
        send_vnav_speed(CruiseTas);
      }
    }
  } else {
    if (fpl_has_constraint(r) && dist_to_active_wpt > 0.0) {
      double c = r.spd_constraint;
      speed = descent_speed_below_restriction(c);
      if (c > 0.0 && c < DescentIas) {
        DescentIas = static_cast<int32_t>(c);
        CruiseTas = static_cast<int32_t>(c);
      }
    } else {
      speed = descent_speed_below_restriction(DescentIas);
    }
    send_vnav_speed(speed);
  }
  vnav_spd_state = 1;
  note_fms_spd_set();
}

void vnav_restriction_steps() {
  int i = fpl_active_index;
  if (vnav_on == 1 && vnav_descent_started == 1 && within_descent_speed_limit() && ap_airspeed > DescSpdRest &&
      fpl_changed_state >= 3 && desc_restriction_applied == 0 && VnavSetSpd == 1) {
    if (send_vnav_speed(DescSpdRest)) fms_set_spd = static_cast<int32_t>(DescSpdRest);
    desc_restriction_applied = 1;
  }
  if (toc_reached == 0 && climb_restriction_applied == 1.0 && vnav_on == 1 && fpl_changed_state >= 3 &&
      VnavSetSpd == 1 && indicated_altitude > ClbAltRest) {
    double speed = ClimbIas;
    if (active_record(i) && fpl_has_constraint(fpl_active[i]) && fpl_active[i].spd_constraint > 0.0)
      speed = fpl_active[i].spd_constraint;
    if (send_vnav_speed(speed)) fms_set_spd = static_cast<int32_t>(speed);
    climb_restriction_applied = 0.0;
  }
  if (vnav_on == 1 && vnav_descent_started == 1 && active_record(i) && fpl_has_constraint(fpl_active[i]) &&
      dist_to_active_wpt < VnavSetSpdRestDist && constraint_speed_done == 0) {
    vnav_spd_state = 0;
    constraint_speed_done = 1;
  }
}
