// Geodesy helpers. Contract in great_circle.h.
#include "geo/great_circle.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>

double gc_distance_nm = 0.0;
double gc_course_deg = 0.0;
double map_distance_px = 0.0;

int zulu_day_of_month = 0;
std::string zulu_month_name;
int date_month_number = 0;
int date_day_of_month = 0;
std::string date_month_name;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;
constexpr double kRadToDeg = 180.0 / kPi;

double clamp_unit(double x) {
  if (!(x < 1.0)) return 1.0;  // also catches NaN
  if (x < -1.0) return -1.0;
  return x;
}

}  // namespace

GcOrigin gc_origin(double lat, double lon) {
  const double p = lat * kDegToRad;
  return {lat, lon, std::sin(p), std::cos(p)};
}

namespace {

// The terms of the distance from `o` to (lat2, lon2), kept for the course.
struct GcTerms {
  double sp2, cp2, dl, cdl;
  double dist;  // NM
};

inline GcTerms gc_terms(const GcOrigin& o, const GcOrigin& p) {
  GcTerms t;
  t.dl = (p.lon - o.lon) * kDegToRad;
  t.sp2 = p.sin_lat;
  t.cp2 = p.cos_lat;
  t.cdl = std::cos(t.dl);
  // Spherical law of cosines, the cosine clamped (fault F9: acos of a value past 1).
  const double central = std::acos(clamp_unit(o.sin_lat * t.sp2 + o.cos_lat * t.cp2 * t.cdl));
  t.dist = central * kGcEarthRadiusNm;
  if (o.lat == p.lat && o.lon == p.lon) t.dist = 0.0;  // exactly coincident: no rounding residue
  if (!std::isfinite(t.dist)) t.dist = 0.0;
  return t;
}

inline GcTerms gc_terms(const GcOrigin& o, double lat2, double lon2) { return gc_terms(o, gc_origin(lat2, lon2)); }

// gc_origin of a measure's first point, the sine and cosine of its latitude kept (by each
// thread) while it stays: a map measures thousands of points from one position.
// Initial-exec: the copy lives in each thread's static block, reached without a lookup
// and without a block allocated on first use (which the leak checker may misread at exit).
GcOrigin first_point(double lat, double lon) {
  [[gnu::tls_model("initial-exec")]] thread_local GcOrigin last{0.0, 0.0, 0.0, 1.0};  // gc_origin(0, 0)
  if (std::bit_cast<uint64_t>(lat) != std::bit_cast<uint64_t>(last.lat)) return last = gc_origin(lat, lon);
  return {lat, lon, last.sin_lat, last.cos_lat};
}

}  // namespace

double compute_gc_distance(const GcOrigin& o, double lat2, double lon2) { return gc_terms(o, lat2, lon2).dist; }

double compute_gc_distance(const GcOrigin& o, const GcOrigin& p) { return gc_terms(o, p).dist; }

double compute_gc_distance(double lat1, double lon1, double lat2, double lon2) {
  return compute_gc_distance(first_point(lat1, lon1), lat2, lon2);
}

void compute_gc_distance_course(double lat1, double lon1, double lat2, double lon2,
                                double& dist_nm, double& course_deg) {
  const GcOrigin o = first_point(lat1, lon1);
  const GcTerms t = gc_terms(o, lat2, lon2);
  const double sp1 = o.sin_lat, cp1 = o.cos_lat;
  const double sp2 = t.sp2, cp2 = t.cp2, dl = t.dl, cdl = t.cdl;
  const double dist = t.dist;

  double crs;
  if (dist == 0.0) {
    crs = 0.0;  // coincident points: no direction, the 360 rule below applies
  } else if (cp1 < 1e-12) {
    // Start on a pole: every direction is south from the north pole, north from the south pole.
    crs = (lat1 > 0.0) ? 180.0 : 0.0;
  } else {
    crs = std::atan2(std::sin(dl) * cp2, cp1 * sp2 - sp1 * cp2 * cdl) * kRadToDeg;
  }
  if (!std::isfinite(crs)) crs = 0.0;
  crs = crs - 360.0 * std::floor(crs / 360.0);
  if (crs >= 360.0) crs = 0.0;  // floor rounding at -tiny values
  if (crs < 1.0) crs = 360.0;   // whole-degree part 0 -> exactly 360

  dist_nm = dist;
  course_deg = crs;
}

void compute_dest_point(double lat, double lon, double course_deg, double dist_nm,
                        double& lat_out, double& lon_out) {
  const double lat0 = lat, lon0 = lon;
  if (course_deg == 360.0) course_deg = 0.0;
  const double p1 = lat * kDegToRad;
  const double tc = course_deg * kDegToRad;
  const double d = dist_nm / kGcEarthRadiusNm;

  const double sp1 = std::sin(p1), cp1 = std::cos(p1);
  const double sd = std::sin(d), cd = std::cos(d);
  const double stc = std::sin(tc), ctc = std::cos(tc);

  const double sp2 = clamp_unit(sp1 * cd + cp1 * sd * ctc);
  double p2 = std::asin(sp2);
  double dl = std::atan2(stc * sd * cp1, cd - sp1 * sp2);

  double lat2 = p2 * kRadToDeg;
  double lon2 = lon0 + dl * kRadToDeg;
  if (std::isfinite(lon2)) {
    lon2 = lon2 - 360.0 * std::floor((lon2 + 180.0) / 360.0);
    if (lon2 >= 180.0) lon2 -= 360.0;
  } else {
    lon2 = lon0;
  }
  if (!std::isfinite(lat2)) lat2 = lat0;
  lat_out = lat2;
  lon_out = lon2;
}

int turn_side(double a, double b) {
  if (b > a) return (b - a <= 180.0) ? 1 : 2;
  return (a - b <= 180.0) ? 2 : 1;
}

int heading_diff_side(double a, double b, int& side, int& diff) {
  int s;
  if (a <= b) {
    s = (b - a <= 180.0) ? 2 : 1;
  } else {
    s = (a - b > 180.0) ? 2 : 1;
  }
  double d = std::fabs(a - b);
  if (std::isfinite(d)) {
    d = std::fmod(d, 360.0);
    if (d > 180.0) d = 360.0 - d;
  } else {
    d = 0.0;
  }
  side = s;
  diff = static_cast<int>(d);  // truncation toward zero
  return s;
}

double convert_radix(double value, int from_radix, int to_radix) {
  if (!std::isfinite(value)) return 0.0;
  const double whole = std::trunc(value);
  if (from_radix < 2 || from_radix > 36 || to_radix < 2 || to_radix > 36) return whole;
  const bool negative = whole < 0.0;
  double mag = std::fabs(whole);
  if (mag >= 9007199254740992.0) return whole;  // beyond exact whole numbers in a double
  auto m = static_cast<std::uint64_t>(mag);
  double result = 0.0, weight = 1.0;
  while (m > 0) {
    const auto digit = static_cast<double>(m % static_cast<std::uint64_t>(from_radix));
    result += digit * weight;
    weight *= to_radix;
    m /= static_cast<std::uint64_t>(from_radix);
  }
  return negative ? -result : result;
}

void format_dms_position(double lat, double lon, std::string& lat_text, std::string& lon_text,
                         int mode) {
  if (mode != 1) {
    lat *= kRadToDeg;
    lon *= kRadToDeg;
  }
  auto one = [](double v, const char* letter) {
    double a = std::fabs(v);
    if (!std::isfinite(a)) a = 0.0;
    // Whole seconds of the absolute value; the 1e-6 s margin absorbs binary rounding.
    double total = std::floor(a * 3600.0 + 1e-6);
    if (total > 2147483647.0) total = 2147483647.0;
    const long long t = static_cast<long long>(total);
    const int deg = static_cast<int>(t / 3600);
    const int min = static_cast<int>((t / 60) % 60);
    const int sec = static_cast<int>(t % 60);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s%s%d:%s%d:%s%d", letter, deg < 10 ? "0" : "", deg,
                  min < 10 ? "0" : "", min, sec < 10 ? "0" : "", sec);
    return std::string(buf);
  };
  lat_text = one(lat, lat < 0.0 ? "S" : "N");
  lon_text = one(lon, lon < 0.0 ? "E" : "W");
}

void day_of_year_to_month(int day_of_year, int year) {
  static const char* const kNames[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int year_days = leap ? 366 : 365;
  int day = day_of_year;
  if (day < 1) day = 1;
  if (day > year_days) day = year_days;
  int month = 0;
  for (; month < 11; ++month) {
    const int len = kDays[month] + ((month == 1 && leap) ? 1 : 0);
    if (day <= len) break;
    day -= len;
  }
  zulu_day_of_month = day;
  date_day_of_month = day;
  date_month_number = month + 1;
  zulu_month_name = kNames[month];
  date_month_name = kNames[month];
}
