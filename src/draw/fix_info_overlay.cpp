// Fix-info overlay.
#include "draw/fix_info_overlay.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "draw/draw_toolkit.h"
#include "draw/map_layer_frame.h"
#include "draw/map_symbols.h"
#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

constexpr int32_t FIX_TEXT_CAPACITY = 16;
constexpr int32_t STATION_IDENT_SIZE = 64;

enum class SideRule { TurnSide, HeadingDiff };

struct FixInfoMember {
  DesignCanvas canvas;
  double cx, cy;
  bool plan_mode;
  double range;
  uint32_t colour;            // pens and label brush
  int32_t symbol_colour_vn;   // code 1 for "V" and "N"
  int32_t symbol_colour;      // code 3 otherwise
  SideRule side_rule;
  bool md11;
  bool north_up = false;  // map and radials north up without plan mode's reference
  bool own_centre = false;  // the caller gives the map centre
  double centre_lat = 0, centre_lon = 0;
  bool about_active = false;  // measured from the active waypoint (Primus 1000 plan view)
};

struct FixInfoObjects {
  LayerObjects obj;
  GfxFont* font8;
  GfxFont* font10;
  GfxPen* ring;
  GfxPen* dashed;
  GfxBrush* brush;
  GfxPen* white_pen2;
  GfxPen* white_pen1;
  GfxPen* white_dashed2;
  GfxPen* magenta_dashed2;
  GfxBrush* white;
  GfxBrush* magenta;

  FixInfoObjects(GfxGraphics* g, const FixInfoMember& m) : obj(g) {
    font8 = obj.font(FONT_ARIAL, 8, GFX_FONT_BOLD);
    ring = obj.pen(m.colour, 1);
    dashed = obj.pen(m.colour, 1, GFX_DASH_DASH);
    brush = obj.brush(m.colour);
    font10 = m.md11 ? obj.font(FONT_ARIAL, 10, GFX_FONT_BOLD) : nullptr;
    white_pen2 = m.md11 ? obj.pen(COLOUR_WHITE, 2) : nullptr;
    white_pen1 = m.md11 ? obj.pen(COLOUR_WHITE, 1) : nullptr;
    white_dashed2 = m.md11 ? obj.pen(COLOUR_WHITE, 2, GFX_DASH_DASH) : nullptr;
    magenta_dashed2 = m.md11 ? obj.pen(COLOUR_MAGENTA, 2, GFX_DASH_DASH) : nullptr;
    white = m.md11 ? obj.brush(COLOUR_WHITE) : nullptr;
    magenta = m.md11 ? obj.brush(COLOUR_MAGENTA) : nullptr;
  }
};

bool frame_at(const GaugeSurface* ctx, GfxGraphics* g, const FixInfoMember& m, double x, double y) {
  if (!set_canvas_scale(g, ctx->width, ctx->height, m.canvas)) return false;
  gfx_translate(g, m.cx + x, m.cy + y, GFX_PREPEND);
  return true;
}

// The NAV 1 station ident while a VOR signal is received, else empty.
void tuned_station(char (&ident)[STATION_IDENT_SIZE]) {
  ident[0] = '\0';
  if (get_nav1_signal() > 0 && is_nav1_localizer() == 0) {
    const char* text = get_nav1_ident();
    std::snprintf(ident, sizeof ident, "%s", text ? text : "");
  }
}

void draw_symbol(GfxGraphics* g, const FixInfoMember& m, FixInfoObjects& o, const FixInfoRecord& f, int32_t X,
                 int32_t Y) {
  bool vor = std::strcmp(f.type, "V") == 0, ndb = std::strcmp(f.type, "N") == 0;
  if (!m.md11) {
    if (vor || ndb)
      draw_map_symbol(g, X - 2, Y - 4, SYMBOL_HEX_LOBES, -99, 1, 1, m.symbol_colour_vn, m.range);
    else
      draw_map_symbol(g, X, Y - 3, SYMBOL_TRIANGLE, -99, 1, 1, m.symbol_colour, m.range);
    return;
  }
  if (std::strcmp(f.type, "A") == 0) {
    gfx_draw_ellipse(g, o.white_pen2, X - 4, Y - 4, 8, 8);
  } else if (vor) {
    draw_map_symbol(g, X - 2, Y - 3, SYMBOL_HEX_LOBES, -99, 1, 1, 0, m.range);
  } else if (ndb) {
    gfx_draw_ellipse(g, o.white_pen1, X - 5, Y - 5, 10, 10);
    gfx_draw_ellipse(g, o.white_pen1, X - 3, Y - 3, 6, 6);
  } else {
    draw_map_symbol(g, X, Y - 3, SYMBOL_TRIANGLE, -99, 1, 1, 0, m.range);
  }
  char ident[sizeof f.ident + 1];
  std::snprintf(ident, sizeof ident, "%.*s", int(sizeof f.ident), f.ident);
  draw_text(g, o.font10, o.white, X + 8, Y - 7, FIX_TEXT_CAPACITY, ident);
}

void draw_radial(const GaugeSurface* ctx, GfxGraphics* g, const FixInfoMember& m, FixInfoObjects& o, double v,
                 double hs, double d, int32_t X, int32_t Y, bool tuned) {
  if (!frame_at(ctx, g, m, X, Y)) return;
  int32_t side;
  if (m.side_rule == SideRule::HeadingDiff) {
    int32_t s = 0, diff = 0;
    side = heading_diff_side(v, hs, s, diff);
  } else {
    side = turn_side(v, hs);
  }
  int32_t L = 0;
  trunc_coord(map_px_per_nm * 360.0, L);
  double a = 25.0;
  if (d > m.range) a = std::fmax(25.0, ((d - m.range) * 0.5 + m.range) * map_px_per_nm);
  double rotation = side == 1 ? (v - hs) + 90.0 : (v - hs) - 90.0;
  if (!std::isfinite(rotation)) return;
  gfx_rotate(g, rotation, GFX_PREPEND);
  if (!m.md11) {
    if (side == 1) {
      gfx_draw_line(g, o.dashed, 0, 0, -L, 0);
      draw_textf(g, o.font8, o.brush, -a - 10, 0, FIX_TEXT_CAPACITY, "%03.0f", v);
    } else {
      gfx_draw_line(g, o.dashed, 0, 0, L, 0);
      draw_textf(g, o.font8, o.brush, a, 0, FIX_TEXT_CAPACITY, "%03.0f", v);
    }
    return;
  }
  double recip = v + 180.0;
  if (recip >= 360.0) recip -= 360.0;
  const GfxPen* pen = tuned ? o.magenta_dashed2 : (side == 1 ? o.white_dashed2 : o.dashed);
  const GfxBrush* brush = tuned ? o.magenta : o.white;
  gfx_draw_line(g, pen, 0, 0, -L, 0);
  gfx_draw_line(g, pen, 0, 0, L, 0);
  if (side == 1) {
    draw_textf(g, o.font8, brush, -a - 10, 0, FIX_TEXT_CAPACITY, "%03.0fR", v);
    draw_textf(g, o.font8, brush, a - 10, 0, FIX_TEXT_CAPACITY, "%03.0f", recip);
  } else {
    draw_textf(g, o.font8, brush, -a - 10, 0, FIX_TEXT_CAPACITY, "%03.0f", recip);
    draw_textf(g, o.font8, brush, a - 10, 0, FIX_TEXT_CAPACITY, "%03.0fR", v);
  }
}

void draw_fix_info(const GaugeSurface* ctx, GfxGraphics* g, const FixInfoMember& m) {
  if (!ctx || ctx->width <= 0 || ctx->height <= 0) return;
  FixInfoObjects o(g, m);
  char station[STATION_IDENT_SIZE] = "";
  if (m.md11) tuned_station(station);

  double ref_lat = m.centre_lat, ref_lon = m.centre_lon;
  if (m.about_active)
    active_or_present_point(true, ref_lat, ref_lon);
  else if (!m.own_centre)
    plan_centre_point(m.plan_mode, ref_lat, ref_lon);
  const bool north_up = m.plan_mode || m.north_up;
  double hp = north_up ? 0.0 : map_heading;
  // Radials are magnetic: north-up maps are drawn true.
  double hs = north_up ? -magvar : heading;

  for (int32_t s = 1; s <= 2; ++s) {
    const FixInfoRecord& f = fix_info[s];
    if (f.ident[0] == '\0') continue;
    for (int32_t p = 0; p < 3; ++p) {
      if (!frame_at(ctx, g, m, 0, 0)) return;
      if (!measure_from(ref_lat, ref_lon, f.lat, f.lon)) continue;
      double d = gc_distance_nm;
      if (!(d <= FIX_INFO_RANGE_NM)) continue;
      map_distance_px = d * map_px_per_nm;
      int32_t X, Y;
      if (!polar_to_screen_int(hp, gc_course_deg, 0, 0, map_distance_px, X, Y)) continue;
      char ident[sizeof f.ident + 1];
      std::snprintf(ident, sizeof ident, "%.*s", int(sizeof f.ident), f.ident);
      bool tuned = m.md11 && station[0] != '\0' && std::fabs(d - dme1_distance) < 5.0 && std::strcmp(ident, station) == 0;
      if (!tuned) {
        draw_symbol(g, m, o, f, X, Y);
        gfx_draw_ellipse(g, o.ring, X - 8, Y - 8, 16, 16);
      }

      double dist = f.dist[p];
      double r = dist * map_px_per_nm;
      int32_t R = 0, D = 0;
      bool circle = trunc_coord(r, R) && trunc_coord(2 * r, D);
      if (circle && (!m.md11 || dist > 0)) gfx_draw_ellipse(g, o.dashed, X - R, Y - R, D, D);
      if (circle && !m.md11 && dist > 0) {
        char text[FIX_TEXT_CAPACITY * 2];
        int32_t n = std::snprintf(text, sizeof text, "%03.1f", dist);
        if (n > 0 && n < int32_t(sizeof text)) {
          double lx, ly;
          fix_info_distance_label_at(X, Y, R, n, lx, ly);
          draw_text(g, o.font8, o.brush, lx, ly, FIX_TEXT_CAPACITY, text);
        }
      }

      double v = f.radial[p];
      if (!std::isfinite(v)) continue;
      v = std::fmod(v, 360.0);
      if (v < 0) v += 360.0;
      if (v != 0.0) draw_radial(ctx, g, m, o, v, hs, d, X, Y, tuned);
    }
  }
}

}  // namespace

void fix_info_distance_label_at(int32_t X, int32_t Y, int32_t R, int32_t n, double& x, double& y) {
  if (Y + R > -10 && X + R >= 110 && Y - R < -199) {
    x = X - R - 4.5 * n;
    y = Y - 7;
  } else if (Y + R > -10 && X + R >= 110) {
    x = X - 2.0 * n;
    y = Y - R - 9;
  } else if (Y + R > -10) {
    x = X + R + 3;
    y = Y - 7;
  } else {
    x = X - 2.0 * n;
    y = Y + R + 1;
  }
}

void draw_b737_nd_fix_info_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  map_px_per_nm = b737_nd_map_radius / b737_nd_range;
  FixInfoMember m{CANVAS_B737_ND, 122, double(b737_nd_center_y), b737_nd_mode >= 7, b737_nd_range, COLOUR_GREEN, 1,
                  1, SideRule::TurnSide, false};
  draw_fix_info(ctx, g, m);
}

void draw_md11_nd_fix_info_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  map_px_per_nm = md11_nd_map_radius / md11_nd_range;
  FixInfoMember m{CANVAS_MD11_ND, double(md11_nd_center_x), double(md11_nd_center_y), md11_nd_mode == 2,
                  md11_nd_range, COLOUR_GREEN, 0, 0, SideRule::TurnSide, true};
  draw_fix_info(ctx, g, m);
}

void draw_du1000_ehsi_fix_info_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  if (du1000_ehsi_mode != 3) return;
  map_px_per_nm = du1000_map_radius / du1000_ehsi_range;
  FixInfoMember m{CANVAS_DU1000_EHSI, 159, 272, false, du1000_ehsi_range, COLOUR_GREEN, 1, 1, SideRule::TurnSide,
                  false};
  draw_fix_info(ctx, g, m);
}

void draw_p1000_mfd_fix_info_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  map_px_per_nm = p1000_map_radius / p1000_mfd_range;
  FixInfoMember m{CANVAS_P1000_MFD, double(p1000_map_cx), double(p1000_map_cy), false, p1000_mfd_range,
                  COLOUR_LIGHT_GREEN, 3, 0, SideRule::TurnSide, false, p1000_plan_view == 1};
  m.about_active = p1000_plan_view != 0;
  draw_fix_info(ctx, g, m);
  restore_p1000_scale(g, ctx);
}

void draw_c17_mfd_fix_info_layer(const GaugeSurface* ctx, GfxGraphics* g, double centre_lat, double centre_lon) {
  FixInfoMember m{CANVAS_C17_MFD, 122, double(c17_mfd_rose_cy), false, c17_mfd_range, COLOUR_GREEN, 1,
                  1, SideRule::HeadingDiff, false, c17_mfd_mode == 6};
  m.own_centre = true;
  m.centre_lat = centre_lat;
  m.centre_lon = centre_lon;
  draw_fix_info(ctx, g, m);
}
