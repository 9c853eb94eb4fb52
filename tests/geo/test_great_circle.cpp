// Tests of the geodesy helpers. Expected values are published examples or worked
// by hand / by a different formulation (unit vectors, Napier's rules), never by the code
// under test.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

#include "geo/great_circle.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kR = 10800.0 / kPi;  // NM per radian, 1 NM per arc-minute

double dms(double d, double m) { return d + m / 60.0; }

// Longitude difference folded into [-180, 180].
double lon_diff(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d < -180.0) d += 360.0;
  return d;
}

}  // namespace

// --- compute_gc_distance_course -----------------------------------------------------------

// Ed Williams, Aviation Formulary: LAX (33 57'N, 118 24'W) to JFK (40 38'N, 73 47'W):
// d = 0.623585 rad (2144 NM), initial true course tc1 = 1.150035 rad (66 degrees).
TEST(GcDistanceCourse, PublishedLaxToJfk) {
  double d = -1, c = -1;
  compute_gc_distance_course(dms(33, 57), -dms(118, 24), dms(40, 38), -dms(73, 47), d, c);
  EXPECT_NEAR(d, 0.623585 * kR, 0.005);
  EXPECT_NEAR(d, 2144.0, 0.5);
  EXPECT_NEAR(c, 1.150035 * 180.0 / kPi, 0.0005);
}

TEST(GcDistanceCourse, UsesTheSpecifiedEarthRadius) {
  EXPECT_DOUBLE_EQ(kGcEarthRadiusNm, 3437.7467707849396);
  double d, c;
  compute_gc_distance_course(0, 0, 0, 1, d, c);  // one degree of the equator = 60 NM
  EXPECT_NEAR(d, 60.0, 1e-9);
  EXPECT_NEAR(c, 90.0, 1e-9);
}

TEST(GcDistanceCourse, Equator) {
  double d, c;
  compute_gc_distance_course(0, 0, 0, 90, d, c);
  EXPECT_NEAR(d, 5400.0, 1e-7);
  EXPECT_NEAR(c, 90.0, 1e-9);
  compute_gc_distance_course(0, 0, 0, -90, d, c);
  EXPECT_NEAR(d, 5400.0, 1e-7);
  EXPECT_NEAR(c, 270.0, 1e-9);
  compute_gc_distance_course(0, 10, 0, 9.5, d, c);
  EXPECT_NEAR(d, 30.0, 1e-7);
  EXPECT_NEAR(c, 270.0, 1e-9);
}

TEST(GcDistanceCourse, AlongAMeridian) {
  double d, c;
  compute_gc_distance_course(0, 0, -10, 0, d, c);
  EXPECT_NEAR(d, 600.0, 1e-7);
  EXPECT_NEAR(c, 180.0, 1e-9);
  compute_gc_distance_course(-10, 25, 10, 25, d, c);  // due north: course 0 comes back 360
  EXPECT_NEAR(d, 1200.0, 1e-7);
  EXPECT_EQ(c, 360.0);
}

TEST(GcDistanceCourse, AcrossTheAntimeridian) {
  double d, c;
  compute_gc_distance_course(0, 179.5, 0, -179.5, d, c);
  EXPECT_NEAR(d, 60.0, 1e-7);
  EXPECT_NEAR(c, 90.0, 1e-9);
  compute_gc_distance_course(0, -179.5, 0, 179.5, d, c);
  EXPECT_NEAR(d, 60.0, 1e-7);
  EXPECT_NEAR(c, 270.0, 1e-9);
  compute_gc_distance_course(-5, 180, 5, -180, d, c);  // 180 and -180 are one meridian
  EXPECT_NEAR(d, 600.0, 1e-7);
  EXPECT_EQ(c, 360.0);
  // Two points on the 60th parallel 2 degrees apart across the antimeridian. Napier's rules on
  // the right triangle (pole, start, midpoint): sin(d/2) = cos(60) sin(1 deg) and
  // tan(course) = 1 / (tan(1 deg) sin(60)).
  const double r1 = kPi / 180.0;
  const double d_exp = 2.0 * std::asin(0.5 * std::sin(r1)) * kR;
  const double c_exp = std::atan(1.0 / (std::tan(r1) * std::sin(60.0 * r1))) / r1;
  compute_gc_distance_course(60, 179, 60, -179, d, c);
  EXPECT_NEAR(d, d_exp, 1e-6);
  EXPECT_NEAR(c, c_exp, 1e-7);  // 89.134 degrees
  compute_gc_distance_course(60, -179, 60, 179, d, c);
  EXPECT_NEAR(d, d_exp, 1e-6);
  EXPECT_NEAR(c, 360.0 - c_exp, 1e-7);
}

TEST(GcDistanceCourse, Poles) {
  double d, c;
  compute_gc_distance_course(0, 0, 90, 0, d, c);
  EXPECT_NEAR(d, 5400.0, 1e-7);
  EXPECT_EQ(c, 360.0);
  compute_gc_distance_course(45, 10, 90, 123, d, c);  // towards the north pole: due north
  EXPECT_NEAR(d, 2700.0, 1e-6);
  EXPECT_EQ(c, 360.0);
  compute_gc_distance_course(45, 10, -90, 0, d, c);
  EXPECT_NEAR(d, 8100.0, 1e-6);
  EXPECT_NEAR(c, 180.0, 1e-9);
  compute_gc_distance_course(90, 0, 0, 45, d, c);  // from the north pole everything is south
  EXPECT_NEAR(d, 5400.0, 1e-6);
  EXPECT_NEAR(c, 180.0, 1e-9);
  compute_gc_distance_course(-90, 0, 0, 45, d, c);  // from the south pole everything is north
  EXPECT_NEAR(d, 5400.0, 1e-6);
  EXPECT_EQ(c, 360.0);
  compute_gc_distance_course(90, 0, -90, 0, d, c);
  EXPECT_NEAR(d, 10800.0, 1e-6);
  EXPECT_FALSE(std::isnan(c));
}

TEST(GcDistanceCourse, CoincidentPointsGiveZeroAndCourse360) {
  const double pts[][2] = {{0, 0},       {47.4502, -122.3088}, {-33.9461, 151.1772},
                           {89.9, 17.3}, {-90, 0},             {90, 0},
                           {0.1, 0.1},   {51.4775, -0.4614},   {1e-9, 179.9999999}};
  for (const auto& p : pts) {
    double d = -1, c = -1;
    compute_gc_distance_course(p[0], p[1], p[0], p[1], d, c);
    EXPECT_EQ(d, 0.0) << p[0] << " " << p[1];
    EXPECT_EQ(c, 360.0) << p[0] << " " << p[1];
  }
}

TEST(GcDistanceCourse, NearlyCoincidentPointsNeverNaN) {
  for (double lat = -89.5; lat <= 89.5; lat += 0.37) {
    for (double eps : {1e-15, 1e-12, 1e-10, 1e-8}) {
      double d = -1, c = -1;
      compute_gc_distance_course(lat, 12.345, lat + eps, 12.345 + eps, d, c);
      EXPECT_TRUE(std::isfinite(d));
      EXPECT_GE(d, 0.0);
      EXPECT_LT(d, 0.01);
      EXPECT_TRUE(std::isfinite(c));
      EXPECT_GE(c, 1.0);
      EXPECT_LE(c, 360.0);
    }
  }
}

TEST(GcDistanceCourse, CourseWhoseWholeDegreePartIsZeroIs360) {
  double d, c;
  compute_gc_distance_course(0, 0, 10, 0.1, d, c);  // about 0.57 degrees
  EXPECT_EQ(c, 360.0);
  compute_gc_distance_course(0, 0, 10, 0.17, d, c);  // just under 1 degree
  EXPECT_EQ(c, 360.0);
  compute_gc_distance_course(0, 0, 10, 0.2, d, c);  // about 1.13 degrees: unchanged
  EXPECT_GT(c, 1.0);
  EXPECT_LT(c, 2.0);
  compute_gc_distance_course(0, 0, 10, -0.1, d, c);  // about 359.43: unchanged
  EXPECT_GT(c, 359.0);
  EXPECT_LT(c, 360.0);
}

// A measure from a position is the same to the bit whatever was measured before: from
// nowhere (NaN), from the same position, or from its opposite latitude.
TEST(GcDistanceCourse, TheSameWhateverWasMeasuredBefore) {
  struct Case {
    double lat1, lon1, lat2, lon2;
  };
  const Case cases[] = {{45.59, -122.60, 47.45, -122.31}, {45.59, -122.55, 40.0, -120.0},
                        {45.59, -122.55, 45.59, -122.55}, {-0.0, 10.0, 1.0, 11.0},
                        {0.0, 10.0, -0.0, 10.0},          {-33.9, 151.2, 51.5, -0.1}};
  auto bits = [](double v) { return std::bit_cast<uint64_t>(v); };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lat1 << " " << c.lon1 << " to " << c.lat2 << " " << c.lon2);
    double d0 = 0, c0 = 0, ignored = 0;
    compute_gc_distance_course(NAN, 0.0, 0.0, 0.0, ignored, ignored);
    compute_gc_distance_course(c.lat1, c.lon1, c.lat2, c.lon2, d0, c0);
    EXPECT_EQ(bits(d0), bits(compute_gc_distance(gc_origin(c.lat1, c.lon1), c.lat2, c.lon2)));
    for (double before : {c.lat1, -c.lat1}) {
      double d = 0, course = 0;
      compute_gc_distance_course(before, 0.0, 0.0, 0.0, ignored, ignored);
      compute_gc_distance_course(c.lat1, c.lon1, c.lat2, c.lon2, d, course);
      EXPECT_EQ(bits(d0), bits(d)) << "after " << before;
      EXPECT_EQ(bits(c0), bits(course)) << "after " << before;
      EXPECT_EQ(bits(d0), bits(compute_gc_distance(c.lat1, c.lon1, c.lat2, c.lon2))) << "after " << before;
    }
  }
}

TEST(GcDistanceCourse, OutputsMayBeTheSharedScratch) {
  compute_gc_distance_course(0, 0, 0, 90, gc_distance_nm, gc_course_deg);
  EXPECT_NEAR(gc_distance_nm, 5400.0, 1e-7);
  EXPECT_NEAR(gc_course_deg, 90.0, 1e-9);
  compute_gc_distance_course(0, 0, 0, 1, map_distance_px, gc_course_deg);
  EXPECT_NEAR(map_distance_px, 60.0, 1e-9);
}

// --- compute_dest_point ---------------------------------------------------------------------

// Aviation Formulary: 100 NM from LAX on the 66 degree radial is 34 37'N, 116 33'W.
TEST(DestPoint, PublishedFromLax) {
  double lat, lon;
  compute_dest_point(dms(33, 57), -dms(118, 24), 66.0, 100.0, lat, lon);
  EXPECT_NEAR(lat, dms(34, 37), 0.5 / 60.0);
  EXPECT_NEAR(lon, -dms(116, 33), 0.5 / 60.0);
}

TEST(DestPoint, HandWorked) {
  double lat, lon;
  compute_dest_point(0, 0, 90, 5400, lat, lon);
  EXPECT_NEAR(lat, 0.0, 1e-9);
  EXPECT_NEAR(lon, 90.0, 1e-9);
  compute_dest_point(0, 0, 360, 600, lat, lon);
  EXPECT_NEAR(lat, 10.0, 1e-9);
  EXPECT_NEAR(lon, 0.0, 1e-9);
  compute_dest_point(0, 179.5, 90, 60, lat, lon);  // across the antimeridian
  EXPECT_NEAR(lat, 0.0, 1e-9);
  EXPECT_NEAR(lon, -179.5, 1e-9);
  compute_dest_point(0, -179.5, 270, 60, lat, lon);
  EXPECT_NEAR(lat, 0.0, 1e-9);
  EXPECT_NEAR(lon, 179.5, 1e-9);
  compute_dest_point(89, 0, 0, 120, lat, lon);  // over the north pole
  EXPECT_NEAR(lat, 89.0, 1e-9);
  EXPECT_NEAR(std::fabs(lon), 180.0, 1e-9);
  compute_dest_point(-30, 40, 180, 3600, lat, lon);  // onto the south pole
  EXPECT_NEAR(lat, -90.0, 1e-9);
  EXPECT_TRUE(std::isfinite(lon));
  compute_dest_point(12, 34, 77, 0, lat, lon);  // zero distance
  EXPECT_NEAR(lat, 12.0, 1e-12);
  EXPECT_NEAR(lon, 34.0, 1e-12);
}

TEST(DestPoint, Course360IsTakenAs0) {
  double lat0, lon0, lat1, lon1;
  compute_dest_point(47.45, -122.31, 0.0, 250.0, lat0, lon0);
  compute_dest_point(47.45, -122.31, 360.0, 250.0, lat1, lon1);
  EXPECT_EQ(lat0, lat1);
  EXPECT_EQ(lon0, lon1);
}

TEST(DestPoint, InvertsDistanceAndCourse) {
  const double pairs[][4] = {
      {dms(33, 57), -dms(118, 24), dms(40, 38), -dms(73, 47)},
      {51.4775, -0.4614, 40.6413, -73.7781},
      {-33.9461, 151.1772, -37.0082, 174.7850},
      {60, 179, 60, -179},
      {-10, -179.9, 12, 179.8},
      {0, 0, 0, 90},
      {1, 1, -1, -1},
      {45, 10, 89.5, -170},
      {-80, 30, -85, -150},
      {35.5, 139.8, 21.3, -157.9},
      {10, 20, 10.0001, 20.0001},
  };
  for (const auto& p : pairs) {
    double d, c, lat, lon;
    compute_gc_distance_course(p[0], p[1], p[2], p[3], d, c);
    compute_dest_point(p[0], p[1], c, d, lat, lon);
    EXPECT_NEAR(lat, p[2], 1e-7) << p[0] << "," << p[1] << " -> " << p[2] << "," << p[3];
    EXPECT_NEAR(lon_diff(lon, p[3]), 0.0, 1e-7)
        << p[0] << "," << p[1] << " -> " << p[2] << "," << p[3];
    EXPECT_GE(lon, -180.0);
    EXPECT_LT(lon, 180.0);
  }
}

TEST(DestPoint, NeverNaNForFiniteInput) {
  const double lats[] = {-1000, -90, -89.9999999, -45, 0, 45, 89.9999999, 90, 1000};
  const double lons[] = {-1e6, -180, -179.9999, 0, 179.9999, 180, 540, 1e6};
  const double crss[] = {-720, -1, 0, 45, 90, 180, 270, 359.9999, 360, 1e9};
  const double dists[] = {-5000, 0, 1e-9, 60, 5400, 10800, 21600, 1e7, 1e12};
  for (double la : lats)
    for (double lo : lons)
      for (double cr : crss)
        for (double di : dists) {
          double lat = 0, lon = 0;
          compute_dest_point(la, lo, cr, di, lat, lon);
          ASSERT_TRUE(std::isfinite(lat)) << la << " " << lo << " " << cr << " " << di;
          ASSERT_TRUE(std::isfinite(lon)) << la << " " << lo << " " << cr << " " << di;
        }
}

// --- turn_side and heading_diff_side --------------------------------------------------------

TEST(TurnSide, Rules) {
  EXPECT_EQ(turn_side(10, 20), 1);    // b above a by <= 180
  EXPECT_EQ(turn_side(20, 10), 2);    // a above b by <= 180
  EXPECT_EQ(turn_side(90, 90), 2);    // equal
  EXPECT_EQ(turn_side(0, 0), 2);
  EXPECT_EQ(turn_side(0, 180), 1);    // 180 apart, b above
  EXPECT_EQ(turn_side(180, 0), 2);    // 180 apart, a above
  EXPECT_EQ(turn_side(10, 350), 2);   // wrapped: b - a = 340
  EXPECT_EQ(turn_side(350, 10), 1);   // wrapped: a - b = 340
  EXPECT_EQ(turn_side(0, 180.5), 2);
  EXPECT_EQ(turn_side(180.5, 0), 1);
  EXPECT_EQ(turn_side(359, 360), 1);
}

TEST(HeadingDiffSide, Rules) {
  struct Case {
    double a, b;
    int side, diff;
  };
  const Case cases[] = {
      {10, 10, 2, 0},      // equal
      {0, 0, 2, 0},        {360, 360, 2, 0},
      {10, 20, 2, 10},     // a <= b, b - a <= 180
      {20, 10, 1, 10},     // a > b, a - b <= 180
      {0, 180, 2, 180},    // 180 apart, a below
      {180, 0, 1, 180},    // 180 apart, a above
      {350, 10, 2, 20},    // wrapped, a - b = 340 > 180
      {10, 350, 1, 20},    // wrapped, b - a = 340 > 180
      {0, 10.9, 2, 10},    // truncation
      {359.5, 0.2, 2, 0},  // wrapped 0.7 truncates to 0
      {90.2, 270.9, 1, 179},
      {0, 360, 1, 0},      // the same direction written two ways
  };
  for (const Case& k : cases) {
    int side = -1, diff = -1;
    const int r = heading_diff_side(k.a, k.b, side, diff);
    EXPECT_EQ(side, k.side) << k.a << " " << k.b;
    EXPECT_EQ(r, side) << k.a << " " << k.b;
    EXPECT_EQ(diff, k.diff) << k.a << " " << k.b;
  }
}

TEST(HeadingDiffSide, OppositeOfTurnSideExceptEqual) {
  for (double a = 0; a < 360; a += 7.5) {
    for (double b = 0; b < 360; b += 5.25) {
      int side, diff;
      heading_diff_side(a, b, side, diff);
      if (a == b) {
        EXPECT_EQ(side, 2);
      } else {
        EXPECT_EQ(side, 3 - turn_side(a, b)) << a << " " << b;
      }
      EXPECT_GE(diff, 0);
      EXPECT_LE(diff, 180);
    }
  }
}

// --- convert_radix --------------------------------------------------------------------------

TEST(ConvertRadix, BcdFrequenciesToDecimal) {
  // NAV frequency token: BCD without the leading 1; shown as value / 100 + 100 MHz.
  EXPECT_EQ(convert_radix(0x1090, 16, 10), 1090.0);
  EXPECT_NEAR(convert_radix(0x1090, 16, 10) / 100 + 100, 110.90, 1e-9);
  EXPECT_EQ(convert_radix(0x1390, 16, 10), 1390.0);  // 113.90
  EXPECT_EQ(convert_radix(0x1030, 16, 10), 1030.0);  // 110.30
  EXPECT_EQ(convert_radix(0x1130, 16, 10), 1130.0);  // 111.30
  EXPECT_EQ(convert_radix(0x0815, 16, 10), 815.0);
  EXPECT_EQ(convert_radix(0, 16, 10), 0.0);
}

TEST(ConvertRadix, DecimalToBcd) {
  EXPECT_EQ(convert_radix(1090, 10, 16), static_cast<double>(0x1090));
  EXPECT_EQ(convert_radix(350, 10, 16), static_cast<double>(0x350));  // NDB 350 kHz
  EXPECT_EQ(convert_radix(1750, 10, 16), static_cast<double>(0x1750));
  EXPECT_EQ(convert_radix(9, 10, 16), 9.0);
  EXPECT_EQ(convert_radix(10, 10, 16), 16.0);
}

TEST(ConvertRadix, RoundTripAndEdges) {
  for (int v = 0; v <= 9999; v += 7) {
    EXPECT_EQ(convert_radix(convert_radix(v, 10, 16), 16, 10), static_cast<double>(v));
  }
  EXPECT_EQ(convert_radix(1090.9, 10, 16), static_cast<double>(0x1090));  // truncated first
  EXPECT_EQ(convert_radix(-0x25, 16, 10), -25.0);
  EXPECT_EQ(convert_radix(7, 2, 10), 111.0);
  EXPECT_EQ(convert_radix(123, 1, 10), 123.0);  // invalid radix: unchanged
}

// --- format_dms_position --------------------------------------------------------------------

TEST(FormatDms, Zero) {
  std::string la = "x", lo = "x";
  format_dms_position(0, 0, la, lo, 1);
  EXPECT_EQ(la, "N00:00:00");
  EXPECT_EQ(lo, "W00:00:00");
}

TEST(FormatDms, PositiveAndNegativeWithNegatedLongitude) {
  std::string la, lo;
  // Seattle-Tacoma 47 27'00.72"N 122 18'31.68"W, east-positive lon -122.3088 passed negated.
  format_dms_position(47.4502, 122.3088, la, lo, 1);
  EXPECT_EQ(la, "N47:27:00");
  EXPECT_EQ(lo, "W122:18:31");
  // Sydney 33 56'45.96"S 151 10'37.92"E: lon +151.1772 passed as -151.1772.
  format_dms_position(-33.9461, -151.1772, la, lo, 1);
  EXPECT_EQ(la, "S33:56:45");
  EXPECT_EQ(lo, "E151:10:37");
  format_dms_position(47.5, 122.25, la, lo, 1);
  EXPECT_EQ(la, "N47:30:00");
  EXPECT_EQ(lo, "W122:15:00");
}

TEST(FormatDms, UnderTenValuesGetALeadingZero) {
  std::string la, lo;
  format_dms_position(5.1, -8.25, la, lo, 1);  // 5 06'00", 8 15'00"
  EXPECT_EQ(la, "N05:06:00");
  EXPECT_EQ(lo, "E08:15:00");
  format_dms_position(-1.0025, 0.0175, la, lo, 1);  // 1 00'09", 0 01'03"
  EXPECT_EQ(la, "S01:00:09");
  EXPECT_EQ(lo, "W00:01:03");
  format_dms_position(-0.5, -0.0001, la, lo, 1);  // below 0 by less than a degree
  EXPECT_EQ(la, "S00:30:00");
  EXPECT_EQ(lo, "E00:00:00");
  format_dms_position(10.1, 100.0, la, lo, 1);  // decimal fractions: no 05:59 artefact
  EXPECT_EQ(la, "N10:06:00");
  EXPECT_EQ(lo, "W100:00:00");
}

TEST(FormatDms, SecondsAreTruncated) {
  std::string la, lo;
  format_dms_position(dms(12, 34) + 56.9 / 3600.0, 0, la, lo, 1);
  EXPECT_EQ(la, "N12:34:56");
}

TEST(FormatDms, RadiansMode) {
  std::string la, lo;
  format_dms_position(kPi / 4, -kPi / 2, la, lo, 0);
  EXPECT_EQ(la, "N45:00:00");
  EXPECT_EQ(lo, "E90:00:00");
  format_dms_position(-kPi / 6, kPi, la, lo, 2);
  EXPECT_EQ(la, "S30:00:00");
  EXPECT_EQ(lo, "W180:00:00");
}

// --- day_of_year_to_month --------------------------------------------------------------------

namespace {
void expect_date(int doy, int year, int month, const char* name, int day) {
  zulu_day_of_month = date_day_of_month = date_month_number = -1;
  zulu_month_name = date_month_name = "?";
  day_of_year_to_month(doy, year);
  EXPECT_EQ(date_month_number, month) << doy << "/" << year;
  EXPECT_EQ(date_day_of_month, day) << doy << "/" << year;
  EXPECT_EQ(zulu_day_of_month, day) << doy << "/" << year;
  EXPECT_EQ(zulu_month_name, name) << doy << "/" << year;
  EXPECT_EQ(date_month_name, name) << doy << "/" << year;
}
}  // namespace

TEST(DayOfYear, CommonYear) {
  expect_date(1, 2023, 1, "JAN", 1);
  expect_date(31, 2023, 1, "JAN", 31);
  expect_date(32, 2023, 2, "FEB", 1);
  expect_date(59, 2023, 2, "FEB", 28);
  expect_date(60, 2023, 3, "MAR", 1);
  expect_date(365, 2023, 12, "DEC", 31);
  expect_date(366, 2023, 12, "DEC", 31);  // past the end: the year's last day
}

TEST(DayOfYear, LeapYear) {
  expect_date(1, 2024, 1, "JAN", 1);
  expect_date(59, 2024, 2, "FEB", 28);
  expect_date(60, 2024, 2, "FEB", 29);
  expect_date(61, 2024, 3, "MAR", 1);
  expect_date(365, 2024, 12, "DEC", 30);
  expect_date(366, 2024, 12, "DEC", 31);
}

TEST(DayOfYear, GregorianRuleBeyond2000To2024) {
  expect_date(60, 2000, 2, "FEB", 29);   // divisible by 400
  expect_date(60, 1900, 3, "MAR", 1);    // century, not by 400
  expect_date(60, 2100, 3, "MAR", 1);
  expect_date(60, 2028, 2, "FEB", 29);   // past 2024 (fault F8)
  expect_date(366, 2028, 12, "DEC", 31);
  expect_date(60, 1996, 2, "FEB", 29);
  expect_date(60, 2026, 3, "MAR", 1);
}

TEST(DayOfYear, EveryMonthNameAndBounds) {
  const char* names[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  const int firsts[] = {1, 32, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};  // common year
  for (int i = 0; i < 12; ++i) {
    expect_date(firsts[i], 2023, i + 1, names[i], 1);
    expect_date(firsts[i] + 1, 2024, i + 1, names[i], (i < 2) ? 2 : 1);  // leap year shifts MAR..DEC
  }
  expect_date(0, 2023, 1, "JAN", 1);  // below 1: taken as 1
  expect_date(-40, 2023, 1, "JAN", 1);
}
