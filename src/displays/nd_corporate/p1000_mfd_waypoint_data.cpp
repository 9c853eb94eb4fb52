// Primus 1000 MFD waypoint data layer: a star and the ident at each waypoint the
// route layer placed, and the active-waypoint block (ident, distance, time to go).
#include <algorithm>
#include <cmath>
#include <string>

#include "displays/nd_corporate/p1000_common.h"
#include "draw/map_symbols.h"
#include "draw/route_common.h"
#include "flightplan/fpl_ops.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

// The first word of a formatted value (leading blanks dropped).
CorpText first_word(const CorpText& t) {
  const size_t end = t.s.find(' ');
  return end == std::string::npos ? t : CorpText{t.s.substr(0, end)};
}

// x of a right-aligned field: a table for lengths from `first`, then 8 units further
// left per character beyond the table.
template <int32_t N>
double field_x(const double (&xs)[N], int32_t first, int32_t n) {
  const int32_t over = n - (first + N - 1);
  return over > 0 ? xs[N - 1] - 8.0 * over : corp_x_by_length(xs, first, n);
}

struct Units {
  double sx, sy;
  double x(double v) const { return v * sx; }
  double y(double v) const { return v * sy; }
  // A font size: by the smaller scale, so that a text keeps within its box and its line
  // on a gauge of another shape than the canvas.
  double font(double v) const { return v * std::min(sx, sy); }
};

// Where an ident of `width` (route units) stands beside its star at (x, y): right of it,
// else left, else above or below the range boxes' row, the nearer: the boxes, drawn over
// the map so that the range reads, would cut it.
DrawPoint ident_place(const Units& u, double x, double y, double width) {
  const double em = u.font(12);
  auto clear = [&](const DrawPoint& p) {
    for (const DrawPoint& b : p1000_range_boxes().at)
      if (p.x < u.x(b.x + RANGE_BOX_WIDTH) && p.x + width > u.x(b.x) && p.y < u.y(b.y + RANGE_BOX_HEIGHT) &&
          p.y + em > u.y(b.y))
        return false;
    return true;
  };
  const DrawPoint right{x + u.x(7), y - u.y(6)}, left{x - u.x(7) - width, right.y};
  if (clear(right)) return right;
  if (clear(left)) return left;
  const double row = u.y(p1000_range_boxes().at[0].y), above = row - em, below = row + u.y(RANGE_BOX_HEIGHT);
  return {right.x, std::fabs(above - right.y) <= std::fabs(below - right.y) ? above : below};
}

// A star and its ident at (x, y).
void point(GfxGraphics* g, const Units& u, const GfxFont* font, const GfxBrush* brush, double x, double y,
           const std::string& ident, int32_t i, int32_t flag) {
  if (!ident.empty()) {
    const DrawPoint at = ident_place(u, x, y, text_width(g, font, ND_TEXT_CAPACITY, ident.c_str()));
    draw_text(g, font, brush, at.x, at.y, ND_TEXT_CAPACITY, ident.c_str());
  }
  draw_map_symbol(g, x, y - u.y(5), SYMBOL_STAR, i, u.sx, u.sy, flag, p1000_mfd_range);
}

void waypoint(GfxGraphics* g, const Units& u, const GfxFont* font, const GfxBrush* brush, int32_t i, int32_t flag) {
  const FlightPlanWpt& w = fpl_active[i];
  if (p1000_placed(w)) point(g, u, font, brush, w.screen_x, w.screen_y, corp_format(false, "%.9s", w.ident).s, i, flag);
}

void active_block(const P1000Frame& f, GfxGraphics* g, const Units& u, LayerObjects& o) {
  GfxFont* f14 = o.font(FONT_ZUDUZ, u.font(14), GFX_FONT_BOLD);
  GfxBrush* magenta = o.brush(P1000_MAGENTA);
  GfxBrush* white = o.brush(P1000_WHITE);
  GfxBrush* background = o.brush(f.background);
  auto text = [&](const GfxBrush* b, double x, double y, const std::string& t) {
    if (!t.empty()) draw_text(g, f14, b, u.x(x), u.y(y), ND_TEXT_CAPACITY, t.c_str());
  };
  // A field's wipe spans the cell of its row's font, whatever the gauge's shape: the old
  // value's whole ink, and none of the rows above and below or of the unit beside it.
  const double em = u.font(14);
  auto wipe = [&](double x0, double x1, double y) {
    fill_rect_d(g, background, x0, u.y(y) + 0.15 * em, x1 - x0, 0.9 * em);
  };
  if (f.full) {
    text(magenta, 220, 0, "FMS");
    text(white, 241, 13, "NM");
    // A wide ident moves left to end inside the screen.
    const std::string ident = corp_format(false, "%.5s", fpl_active[fpl_active_index].ident).s;
    const double room = u.x(P1000.width) - text_width(g, f14, ND_TEXT_CAPACITY, ident.c_str());
    const double x = std::min(u.x(220), room);
    wipe(x, u.x(P1000.width), 26);
    if (!ident.empty()) draw_text(g, f14, magenta, x, u.y(26), ND_TEXT_CAPACITY, ident.c_str());
  }
  if (f.full || dist_to_active_wpt_prev != dist_to_active_wpt) {
    static constexpr double XS[] = {218, 210, 202, 194, 187};  // 3..7 characters
    const CorpText d = first_word(corp_format(true, "%5.1f", dist_to_active_wpt));
    wipe(u.x(187), u.x(241), 13);
    if (!d.s.empty()) text(magenta, field_x(XS, 3, d.n()), 13, d.s);
  }
  if (f.full || ete_active_min_prev != ete_active_min) {
    static constexpr double XS[] = {229, 222, 214, 206};  // 1..4 characters
    const double t = ground_speed > 25 ? dist_to_active_wpt / ground_speed * 60 : 0;
    const CorpText m = first_word(corp_format(true, "%4.0f", t));
    wipe(u.x(206), u.x(238) + 0.12 * em, 39);  // a digit's ink reaches past 238, "MIN"'s not before
    if (!m.s.empty()) text(magenta, field_x(XS, 1, m.n()), 39, m.s);
  }
  if (f.full) text(white, 238, 39, "MIN");
}

}  // namespace

void p1000_mfd_waypoint_data_draw(const P1000Frame& f, GfxGraphics* g) {
  Units u{};
  if (!corp_plan_active() || !p1000_route_units(g, f, u.sx, u.sy)) return;
  LayerObjects o(g);
  GfxFont* f12 = o.font(FONT_ZUDUZ, u.font(12), GFX_FONT_BOLD);
  const int32_t active = fpl_active_index;
  // After a direct-to the previous point is where the direct-to began, not the record before.
  int32_t dx = 0, dy = 0;
  if (DispPrevWpt == 1 && p1000_mfd_range >= 5.0 && active >= 1) {
    if (dto_active == 0) waypoint(g, u, f12, o.brush(P1000_YELLOW), active - 1, 0);
    else if (p1000_direct_origin_point(f, u.sx, u.sy, dx, dy)) point(g, u, f12, o.brush(P1000_YELLOW), dx, dy, "DCT", active - 1, 0);
  }
  GfxBrush* magenta = o.brush(P1000_MAGENTA);
  GfxBrush* white = o.brush(P1000_WHITE);
  for (int32_t i = p1000_plan_view != 0 ? 0 : active; i <= fpl_active_last; ++i) {
    // Another record at the active fix would cover the active ident and star.
    if (repeats_active_fix(i)) continue;
    waypoint(g, u, f12, i == active ? magenta : white, i, i == active ? 4 : 0);
  }
  gfx_reset_clip(g);
  active_block(f, g, u, o);
}
