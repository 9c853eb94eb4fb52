// Pieces the Pro Line 4 MFD and EFS 50 renderers share.
#pragma once

#include <cstdint>
#include <string>

#include "displays/nd_corporate/nd_corporate.h"
#include "draw/nd_common.h"

// Colours of these displays beside the toolkit palette.
constexpr uint32_t CORP_CYAN = 0xFF02A7EB;
constexpr uint32_t EFS50_GREEN = 0xFF25C817;
constexpr uint32_t EFS50_RED = 0xFFFF0000;

// A plan with its active index on one of its records.
bool corp_plan_active();

// Signed cross-track distance of the active leg from the guidance's last update
// (left of the leg negative), limited to +-limit NM; 0 without a leg. Read, not
// recomputed: recomputing would write the guidance's desired track.
double corp_cross_track_nm(double limit = 5.0);

// Trunc of a design offset brought within +-1000 (0 when not finite).
double corp_offset(double v);

// Time to go of `distance` NM at `speed` kt as whole hours and remaining minutes.
void corp_time_to_go(double distance, double speed, double& hours, double& minutes);

// A printf text bounded to the display text buffer; empty when it does not fit.
// Leading and trailing blanks are dropped when `trim` holds.
struct CorpText {
  std::string s;
  int32_t n() const { return int32_t(s.size()); }
};
CorpText corp_format(bool trim, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Draws `t` with its right edge at `right`, one `advance` per character after the
// first (x = right - (n - 1) advance).
void corp_draw_right(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double right, double y,
                     double advance, const CorpText& t);

// x of a field by its length from a table starting at length `first`; lengths
// beyond the table take its nearest row.
template <int32_t N>
double corp_x_by_length(const double (&xs)[N], int32_t first, int32_t length) {
  int32_t i = length - first;
  if (i < 0) i = 0;
  if (i >= N) i = N - 1;
  return xs[i];
}
