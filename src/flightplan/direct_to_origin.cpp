// Where a direct-to course begins: the end of the turn from the present heading toward
// the fix, so that the line drawn from it to the fix is the one flown after the turn.
#include <cmath>

#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "module/sim_vars.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kD2r = kPi / 180.0;
// Turn radius at 25 degrees of bank: NM per knot squared (v^2 / (g tan 25)).
constexpr double kRadiusPerKt2 = 0.514444 * 0.514444 / (9.80665 * 0.466307658 * 1852.0);
// Seconds flown on the present heading while the bank builds up.
constexpr double kRollInSeconds = 2.5;

struct Xy {
  double x, y;  // NM east and north of the aircraft
};

Xy polar(double dist, double course_deg) {
  return {dist * std::sin(course_deg * kD2r), dist * std::cos(course_deg * kD2r)};
}

}  // namespace

double direct_turn_radius(double ground_speed_kt) {
  return ground_speed_kt > 50.0 && std::isfinite(ground_speed_kt) ? kRadiusPerKt2 * ground_speed_kt * ground_speed_kt
                                                                    : 0.0;
}

void direct_to_origin(double fix_lat, double fix_lon, int turn, double& lat, double& lon) {
  lat = present_lat;
  lon = present_lon;
  // The heading variable reads magnetic.
  double hdg = get_heading_deg() + magvar;
  double r = direct_turn_radius(ground_speed);
  if (!(r > 0.0) || !std::isfinite(hdg)) return;
  double dist = 0.0, course = 0.0;
  compute_gc_distance_course(present_lat, present_lon, fix_lat, fix_lon, dist, course);
  if (!std::isfinite(dist) || !std::isfinite(course)) return;
  Xy p = polar(ground_speed * kRollInSeconds / 3600.0, hdg);
  Xy f = polar(dist, course);
  Xy t = polar(1.0, hdg);
  // Turn toward the side of the fix unless a side is asked (1 left, 2 right).
  bool right = turn == 2 || (turn != 1 && t.x * (f.y - p.y) - t.y * (f.x - p.x) < 0.0);
  double s = right ? 1.0 : -1.0;
  Xy c{p.x + s * r * t.y, p.y - s * r * t.x};
  double dx = f.x - c.x, dy = f.y - c.y, d = std::hypot(dx, dy);
  // A fix inside the turn circle: the course begins at the aircraft.
  if (!(d > r * 1.05)) return;
  double phi = std::atan2(dy, dx), alpha = std::acos(r / d);
  for (double theta : {phi + alpha, phi - alpha}) {
    Xy q{c.x + r * std::cos(theta), c.y + r * std::sin(theta)};
    // Velocity along the circle: clockwise for a right turn.
    Xy v = right ? Xy{std::sin(theta), -std::cos(theta)} : Xy{-std::sin(theta), std::cos(theta)};
    if (v.x * (f.x - q.x) + v.y * (f.y - q.y) <= 0.0) continue;
    double qd = std::hypot(q.x, q.y);
    if (qd > 0.0) compute_dest_point(present_lat, present_lon, std::atan2(q.x, q.y) / kD2r, qd, lat, lon);
    return;
  }
}

void start_direct_to(double fix_lat, double fix_lon, int turn) {
  direct_to_origin(fix_lat, fix_lon, turn, dto_origin_lat, dto_origin_lon);
  dto_active = 1;
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(dto_origin_lat, dto_origin_lon, fix_lat, fix_lon, d, c);
  double m = (std::isfinite(c) ? c : 360.0) - magvar;
  dto_course = m < 0.5 ? m + 360.0 : m;
}
