// Pieces the Pro Line 4 MFD and EFS 50 renderers share.
#include "displays/nd_corporate/corporate_common.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"

bool corp_plan_active() { return fpl_valid_index(fpl_active_index, fpl_active_last); }

double corp_cross_track_nm(double limit) {
  if (!corp_plan_active() || !(xtk_nm >= 0)) return 0;
  double x = std::min(xtk_nm, limit);
  return xtk_side == 1 ? -x : x;
}

double corp_offset(double v) {
  if (!std::isfinite(v)) return 0;
  return std::trunc(std::clamp(v, -1000.0, 1000.0));
}

void corp_time_to_go(double distance, double speed, double& hours, double& minutes) {
  hours = minutes = 0;
  if (!(speed > 0) || !std::isfinite(distance)) return;
  double m = distance / speed * 60;
  if (!std::isfinite(m) || std::fabs(m) > 1e7) return;
  if (m / 60 >= 1) hours = std::trunc(m / 60);
  minutes = m - 60 * hours;
  // Printed "%02.0f": a remainder that rounds to 60 carries into the hour.
  if (std::round(minutes) >= 60) {
    hours += 1;
    minutes = 0;
  }
}

CorpText corp_format(bool trim, const char* format, ...) {
  char bytes[ND_TEXT_CAPACITY];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(bytes, sizeof bytes, format, args);
  va_end(args);
  if (n < 0 || n >= int(sizeof bytes)) return {};
  CorpText t{bytes};
  if (trim) {
    size_t b = t.s.find_first_not_of(' ');
    t.s = b == std::string::npos ? std::string() : t.s.substr(b, t.s.find_last_not_of(' ') - b + 1);
  }
  return t;
}

void corp_draw_right(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double right, double y,
                     double advance, const CorpText& t) {
  if (t.s.empty()) return;
  draw_text(g, font, brush, right - (t.n() - 1) * advance, y, ND_TEXT_CAPACITY, t.s.c_str());
}
