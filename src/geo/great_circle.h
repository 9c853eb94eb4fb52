// Geodesy helpers: great circle, turn side, radix, position text, dates.
// Units: positions in degrees (north and east positive), distances in NM, courses in degrees true.
#pragma once

#include <string>

// Earth radius in NM per radian (= 10800 / pi, one NM per arc-minute).
inline constexpr double kGcEarthRadiusNm = 3437.7467707849396;

// Shared scratch outputs (owned here). Any caller may overwrite them; read them right after
// the call that filled them. Map layers pass gc_distance_nm / gc_course_deg (or
// map_distance_px as the distance) as the out-parameters of compute_gc_distance_course.
extern double gc_distance_nm;   // NM
extern double gc_course_deg;    // degrees true
extern double map_distance_px;  // design pixels (= gc_distance_nm * map_px_per_nm, set by the map layers)

// Great-circle distance (spherical law of cosines, central angle * kGcEarthRadiusNm) and initial
// true course from point 1 to point 2. The course is reduced into [0, 360) as
// x - 360 floor(x / 360); a course whose whole-degree part is 0 (0 <= c < 1) is written as
// exactly 360.0. Never fails and never writes NaN for finite input: the cosine is clamped to
// [-1, 1], so coincident points give 0 NM and course 360 (also on a pole), and nearly
// coincident points a small finite distance (0 when the cosine rounds to 1, then course 360).
// Otherwise a start on a pole gives course 180 (north pole) or 360 (south pole). The
// out-parameters may alias the shared scratch globals above.
void compute_gc_distance_course(double lat1, double lon1, double lat2, double lon2,
                                double& dist_nm, double& course_deg);

// The distance of compute_gc_distance_course alone, the same to the bit, for callers that
// keep no course. A list measured from one point takes its GcOrigin once.
double compute_gc_distance(double lat1, double lon1, double lat2, double lon2);
struct GcOrigin {
  double lat, lon;          // degrees
  double sin_lat, cos_lat;  // of the latitude
};
GcOrigin gc_origin(double lat, double lon);
double compute_gc_distance(const GcOrigin& origin, double lat2, double lon2);
// Between two points whose sines and cosines are taken (gc_origin), for tables measured often.
double compute_gc_distance(const GcOrigin& origin, const GcOrigin& point);

// The point reached from (lat, lon) along a great circle with the given initial true course
// (degrees; 360 is taken as 0) after dist_nm NM. lon_out is normalised into [-180, 180).
// Never returns NaN for finite input (poles, antimeridian): a longitude that would come out
// NaN falls back to the start longitude. lat_out/lon_out may alias lat/lon.
void compute_dest_point(double lat, double lon, double course_deg, double dist_nm,
                        double& lat_out, double& lon_out);

// Turn side from angle a (course) to angle b (heading), raw values in degrees (no wrapping):
// 1 = turn left, 2 = turn right.
//   b > a : 1 if b - a <= 180, else 2.
//   a >= b: 2 if a - b <= 180, else 1.   (equal angles give 2)
int turn_side(double a, double b);

// Side and whole-degree difference between angles a and b (degrees, raw values).
//   a <= b: side 2 if b - a <= 180, else 1.
//   a >  b: side 2 if a - b >  180, else 1.
// Equal angles give 2; for all other inputs side == 3 - turn_side(a, b).
// diff = the angle between a and b (0..180, taking the 360 wrap into account), truncated
// toward zero to an integer. Writes side and diff and returns side.
int heading_diff_side(double a, double b, int& side, int& diff);

// Returns the number whose digits in radix to_radix are the digits of value in radix
// from_radix, as a whole number held in a double: convert_radix(0x1090, 16, 10) == 1090.0
// (packed-decimal NAV frequency; shown as result / 100 + 100 MHz = 110.90), and
// convert_radix(350, 10, 16) == 0x350 (BCD for a radio key event). value is truncated toward
// zero first; a negative value converts its magnitude and keeps the sign. A digit that is not
// below to_radix is still weighted by powers of to_radix. Radices outside 2..36 return the
// truncated value unchanged.
double convert_radix(double value, int from_radix, int to_radix);

// Writes lat_text and lon_text as "%s%s%d:%s%d:%s%d": hemisphere letter, "0" when the
// degrees are below 10 (else ""), degrees, "0" when minutes < 10, minutes, "0" when
// seconds < 10, seconds. mode 1: inputs in degrees; any other mode: radians (* 180 / pi).
// Degrees, minutes, seconds are the whole degrees, whole minutes of the fraction and whole
// seconds of the rest, of the absolute value (truncation; a margin of 1e-6 second absorbs
// binary rounding so that 10.1 gives 10:06:00, not 10:05:59).
// Latitude letter: "S" when lat < 0, else "N". Longitude letter: "E" when lon < 0, else "W"
// -- callers that keep east-positive longitudes pass the negated longitude.
// Examples: (47.5, 122.25) -> "N47:30:00", "W122:15:00"; (-5.0, -8.5) -> "S05:00:00", "E08:30:00".
void format_dms_position(double lat, double lon, std::string& lat_text, std::string& lon_text,
                         int mode);

// Date outputs of day_of_year_to_month (one date, several names used by the pieces):
extern int zulu_day_of_month;        // 1..31           (P3 name)
extern std::string zulu_month_name;  // "JAN".."DEC"    (P3 name)
extern int date_month_number;        // 1..12           (P4 name; P2 "month number")
extern int date_day_of_month;        // 1..31           (P4 name; P2 "day of the month")
extern std::string date_month_name;  // "JAN".."DEC"    (P4's unnamed month text; same as zulu_month_name)

// Sets the five date globals above for day_of_year of the given year. day_of_year is 1-based,
// as the simulator's zulu day of year: 1 = 1 JAN, 60 = 1 MAR (29 FEB in a leap year),
// 365 = 31 DEC (30 DEC in a leap year), 366 = 31 DEC of a leap year. Leap years follow the
// Gregorian rule (divisible by 4, except centuries not divisible by 400). Days below 1 are
// taken as 1; days past the end of the year as the year's last day. Callers pass the
// simulator's zulu year (get_zulu_year) as year.
void day_of_year_to_month(int day_of_year, int year);
