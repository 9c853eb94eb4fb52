// Map-symbol painter. Vertices are offsets from the anchor, scaled by (w, s) for
// the scalable codes and in plain pixels for the fixed ones; every vertex is
// computed in doubles and truncated toward zero.
#include "draw/map_symbols.h"

#include <cmath>

#include "draw/draw_toolkit.h"
#include "draw/ink_reach.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"

namespace {

struct Offset {
  double a, b;
};

// Pens, brushes and fonts made for one symbol, released when it is done.
struct SymbolObjects {
  GfxGraphics* g;
  GfxPen* pens[4] = {};
  GfxBrush* brushes[4] = {};
  GfxFontFamily* family = nullptr;
  GfxFont* font = nullptr;
  int32_t npens = 0, nbrushes = 0;

  explicit SymbolObjects(GfxGraphics* graphics) : g(graphics) {}
  ~SymbolObjects() {
    for (int32_t i = 0; i < npens; ++i) gfx_pen_delete(pens[i]);
    for (int32_t i = 0; i < nbrushes; ++i) gfx_brush_delete(brushes[i]);
    gfx_font_delete(font);
    gfx_family_delete(family);
  }
  GfxPen* pen(uint32_t argb, double width) {
    GfxPen* p = gfx_pen_create(g, argb, width);
    if (npens < 4) pens[npens++] = p;
    return p;
  }
  GfxBrush* brush(uint32_t argb) {
    GfxBrush* b = gfx_brush_create(g, argb);
    if (nbrushes < 4) brushes[nbrushes++] = b;
    return b;
  }
  GfxFont* make_font(const char* name, double size, int32_t style) {
    family = gfx_family_create(g, name);
    font = gfx_font_create(g, family, size, style);
    return font;
  }
};

constexpr int32_t LABEL_CAPACITY = 6;  // wide units, terminator included
constexpr int32_t MAX_VERTICES = 24;

// Vertices (x + a sx, y + b sy) of a table.
template <int32_t N>
void place(const Offset (&v)[N], double x, double y, double sx, double sy, DrawPoint (&out)[N]) {
  for (int32_t i = 0; i < N; ++i) out[i] = {x + v[i].a * sx, y + v[i].b * sy};
}

template <int32_t N>
void polyline(GfxGraphics* g, const GfxPen* pen, const Offset (&v)[N], double x, double y, double sx, double sy) {
  static_assert(N <= MAX_VERTICES);
  DrawPoint pts[N];
  place(v, x, y, sx, sy, pts);
  draw_lines_d(g, pen, pts, N);
}

template <int32_t N>
void polygon(GfxGraphics* g, const GfxBrush* brush, const Offset (&v)[N], double x, double y, double sx, double sy) {
  DrawPoint pts[N];
  place(v, x, y, sx, sy, pts);
  fill_polygon_d(g, brush, pts, N);
}

// Value label: too long for its 6-unit buffer, or not a number, draws nothing.
void label(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y, const char* format,
           double value) {
  if (!std::isfinite(value)) return;
  draw_textf(g, font, brush, x, y, LABEL_CAPACITY, format, value);
}

// ---- vertex tables ----

const Offset HEX_LOBES[] = {{0, 0}, {4, 0}, {6, 4},  {8, 2},  {6, -2}, {4, 0},  {6, 4},  {4, 8},   {0, 8}, {0, 10},
                            {4, 10}, {4, 8}, {0, 8}, {-2, 4}, {0, 0},  {-2, -2}, {-4, 2}, {-2, 4}, {0, 0}};
const Offset HEXAGON[] = {{0, 0}, {4, 0}, {6, 4}, {4, 8}, {0, 8}, {-2, 4}, {0, 0}};
const Offset TRIANGLE[] = {{0, 0}, {3, 5}, {-3, 5}, {0, 0}};
const Offset LOBE_RIGHT[] = {{0, 0}, {3, -3}, {5, 0}, {2, 2}, {0, 0}};
const Offset LOBE_BELOW[] = {{-2, 5}, {1, 5}, {1, 8}, {-2, 8}, {-2, 5}};
const Offset LOBE_LEFT[] = {{-1, 0}, {-4, -3}, {-6, 0}, {-3, 2}, {-1, 0}};
const Offset TAB_TOP[] = {{0, 0}, {2, 0}, {2, -4}, {-2, -4}, {-2, 0}, {0, 0}};
const Offset TAB_RIGHT[] = {{2, 1}, {6, 1}, {6, 5}, {2, 5}, {2, 1}, {0, 0}};
const Offset TAB_BOTTOM[] = {{0, 5}, {2, 5}, {2, 9}, {-2, 9}, {-2, 5}, {0, 5}};
const Offset TAB_LEFT[] = {{-2, 1}, {-6, 1}, {-6, 5}, {-2, 5}, {-2, 1}, {0, 0}};
const Offset AIRCRAFT_FILLED[] = {{0, 0},   {1, 0},  {1, 4},  {5, 4},   {5, 6},  {1, 6},
                                  {1, 9},   {3, 9},  {3, 11}, {-3, 11}, {-3, 9}, {-1, 9},
                                  {-1, 6},  {-5, 6}, {-5, 4}, {-1, 4},  {-1, 0}, {0, 0}};
const Offset AIRCRAFT_OUTLINE[] = {{0, 0},   {1, 1},   {1, 4},  {6, 6},  {6, 7},  {1, 7},
                                   {1, 9},   {3, 10},  {3, 11}, {-3, 11}, {-3, 10}, {-1, 9},
                                   {-1, 7},  {-6, 7},  {-6, 6}, {-1, 4},  {-1, 1}, {0, 0}};
const Offset STAR[] = {{0, 0}, {1, 5}, {5, 6}, {1, 7}, {0, 11}, {-1, 7}, {-5, 6}, {-1, 5}, {0, 0}};
const Offset DIAMOND[] = {{0, 0}, {4, 4}, {0, 8}, {-4, 4}, {0, 0}};
const Offset RANGE_BOX[] = {
    {0, 0}, {RANGE_BOX_WIDTH, 0}, {RANGE_BOX_WIDTH, RANGE_BOX_HEIGHT}, {0, RANGE_BOX_HEIGHT}, {0, 0}};
const Offset TCAS_RANGE_BOX[] = {{0, 0}, {15, 0}, {15, 10}, {0, 10}, {0, 0}};
const Offset HEADING_BOX[] = {{30, 0}, {30, 15}, {22.5, 15}, {15, 20}, {7.5, 15}, {0, 15}, {0, 0}};
const Offset OWN_AIRCRAFT[] = {{0, 0},   {2, 2},    {2, 9},    {11, 14},  {11, 16}, {2, 14},   {1, 15},
                               {1, 22},  {4, 24},   {3, 26},   {0, 25},   {-3, 26}, {-4, 24},  {-1, 22},
                               {-1, 15}, {-1.5, 14}, {-11, 16}, {-11, 14}, {-2, 9},  {-2, 2},   {0, 0}};
// Traffic diamond with half size 1 (scaled by h).
const Offset TRAFFIC_DIAMOND[] = {{0, 0}, {1, 1}, {0, 2}, {-1, 1}, {0, 0}};

uint32_t colour_of_hex_lobes(int32_t c) { return c == 1 ? COLOUR_BLUE : c == 0 ? COLOUR_WHITE : COLOUR_GREEN; }
uint32_t colour_of_hexagon(int32_t c) { return c == 1 ? COLOUR_BLUE : COLOUR_GREEN; }
uint32_t colour_of_triangle(int32_t c) { return c == 4 ? COLOUR_MAGENTA : c == 1 ? COLOUR_BLUE : COLOUR_SILVER; }
uint32_t colour_of_circle(int32_t c) { return c == 1 ? COLOUR_BLUE : c == 5 ? COLOUR_YELLOW : COLOUR_WHITE; }
uint32_t colour_of_star(int32_t c) {
  switch (c) {
    case 1: return COLOUR_BLUE;
    case 3: return COLOUR_GREEN;
    case 4: return COLOUR_MAGENTA;
    case 5: return COLOUR_YELLOW;
    default: return COLOUR_WHITE;
  }
}

// Codes 60..63 and 70..73.
void draw_traffic(SymbolObjects& o, double x, double y, int32_t code, int32_t arrow, double w, int32_t colour) {
  GfxGraphics* g = o.g;
  bool large = code >= 70;
  double h = large ? 6 : 4;
  int32_t kind = code % 10;
  GfxPen* arrow_pen = nullptr;
  GfxBrush* arrow_brush = nullptr;
  switch (kind) {
    case 0:
    case 1: {
      bool cyan = colour != 0;
      if (kind == 0)
        polyline(g, o.pen(cyan ? COLOUR_CYAN : COLOUR_WHITE, 1.5), TRAFFIC_DIAMOND, x, y, h, h);
      else
        polygon(g, o.brush(cyan ? COLOUR_CYAN : COLOUR_WHITE), TRAFFIC_DIAMOND, x, y, h, h);
      if (arrow == 1 || arrow == 2) {
        arrow_pen = cyan ? o.pen(COLOUR_CYAN, 1) : o.pen(COLOUR_WHITE, w);
        arrow_brush = o.brush(cyan ? COLOUR_CYAN : COLOUR_WHITE);
      }
      break;
    }
    case 2:
    case 3: {
      uint32_t c = kind == 2 ? COLOUR_YELLOW : COLOUR_RED;
      GfxBrush* disc = o.brush(c);
      fill_ellipse_d(g, disc, x - h, y, 2 * h, 2 * h);
      if (arrow == 1 || arrow == 2) {
        arrow_pen = kind == 2 ? o.pen(COLOUR_YELLOW, w) : o.pen(COLOUR_RED, 1);
        arrow_brush = disc;
      }
      break;
    }
  }
  if (!arrow_pen && !arrow_brush) return;
  // Tip, two base corners, then the stem from the tip to its far end.
  static const Offset SMALL_UP[] = {{8, 0}, {12, 4}, {4, 4}, {8, 8}};
  static const Offset SMALL_DOWN[] = {{8, 8}, {12, 4}, {4, 4}, {8, 0}};
  static const Offset LARGE_UP[] = {{12, 0}, {17, 5}, {7, 5}, {12, 10}};
  static const Offset LARGE_DOWN[] = {{12, 8}, {17, 3}, {7, 3}, {12, -2}};
  const Offset* a = large ? (arrow == 1 ? LARGE_UP : LARGE_DOWN) : (arrow == 1 ? SMALL_UP : SMALL_DOWN);
  DrawPoint tri[3] = {{x + a[0].a, y + a[0].b}, {x + a[1].a, y + a[1].b}, {x + a[2].a, y + a[2].b}};
  fill_polygon_d(g, arrow_brush, tri, 3);
  draw_line_d(g, arrow_pen, x + a[0].a, y + a[0].b, x + a[3].a, y + a[3].b);
}

}  // namespace

void draw_map_symbol(GfxGraphics* graphics, double x, double y, int32_t code, int32_t arrow, double w, double s,
                     int32_t colour, double value) {
  GfxGraphics* g = graphics;
  SymbolObjects o(g);
  switch (code) {
    case 1:
      gfx_set_pixel_offset(g, GFX_PIXEL_OFFSET_HALF);
      polyline(g, o.pen(colour_of_hex_lobes(colour), w), HEX_LOBES, x, y, w, s);
      break;
    case 2:
      polyline(g, o.pen(colour_of_hexagon(colour), w), HEXAGON, x, y, w, s);
      break;
    case 3:
      polyline(g, o.pen(colour_of_triangle(colour), w), TRIANGLE, x, y, w, s);
      break;
    case 4: {
      GfxPen* pen = o.pen(colour_of_circle(colour), w);
      draw_ellipse_d(g, pen, x - 3 * w, y, 5 * w, 5 * s);
      polyline(g, pen, LOBE_RIGHT, x, y, w, s);
      polyline(g, pen, LOBE_BELOW, x, y, w, s);
      polyline(g, pen, LOBE_LEFT, x, y, w, s);
      break;
    }
    case 5: {
      GfxPen* pen = o.pen(colour_of_circle(colour), w);
      draw_ellipse_d(g, pen, x - 3 * w, y, 5 * w, 5 * s);
      polyline(g, pen, TAB_TOP, x, y, w, s);
      polyline(g, pen, TAB_RIGHT, x, y, w, s);
      polyline(g, pen, TAB_BOTTOM, x, y, w, s);
      polyline(g, pen, TAB_LEFT, x, y, w, s);
      break;
    }
    case 11:
      polygon(g, o.brush(COLOUR_WHITE), AIRCRAFT_FILLED, x, y, 1, 1);
      polyline(g, o.pen(COLOUR_WHITE, w), AIRCRAFT_FILLED, x, y, 1, 1);
      break;
    case 12:
      polyline(g, o.pen(COLOUR_WHITE, 2 * w), AIRCRAFT_OUTLINE, x, y, 1, 1);
      break;
    case 20:
      polyline(g, o.pen(colour_of_star(colour), w), STAR, x, y, w, s);
      break;
    case 21:
      polyline(g, o.pen(colour == 4 ? COLOUR_MAGENTA : COLOUR_WHITE, w), DIAMOND, x, y, w, s);
      break;
    case 30: {
      polygon(g, o.brush(COLOUR_BLACK), RANGE_BOX, x, y, 1, 1);
      bool tenths = value == 12.5 || value == 2.5 || value == 0.5;
      label(g, o.make_font(FONT_ZUDUZ, 13, GFX_FONT_BOLD), o.brush(COLOUR_WHITE), x - 2, y + 2,
            tenths ? "%2.1f" : "%3.0f", value);
      break;
    }
    case 31: {
      polygon(g, o.brush(COLOUR_BLACK), TCAS_RANGE_BOX, x, y, 1, 1);
      double range = p1000_mfd_tcas_range;
      label(g, o.make_font(FONT_ZUDUZ, 12, GFX_FONT_BOLD), o.brush(COLOUR_WHITE), x - 1, y + 1,
            range == 12.5 ? "%2.1f" : "%3.0f", range);
      break;
    }
    case 40: {
      polyline(g, o.pen(COLOUR_WHITE, 2 * w), HEADING_BOX, x, y, 1, 1);
      double shown = heading == 0.0 ? 360.0 : heading;
      label(g, o.make_font(FONT_ARIAL, 17, GFX_FONT_REGULAR), o.brush(COLOUR_GREEN), x - 2, y - 2, "%03.0f", shown);
      break;
    }
    case 50:
      polyline(g, o.pen(p1000_plan_view ? COLOUR_YELLOW : COLOUR_WHITE, 2 * w), OWN_AIRCRAFT, x, y, 1, 1);
      break;
    case 60: case 61: case 62: case 63:
    case 70: case 71: case 72: case 73:
      draw_traffic(o, x, y, code, arrow, w, colour);
      break;
    case 74:
      draw_ellipse_d(g, o.pen(colour == 3 ? COLOUR_GREEN : COLOUR_WHITE, 2 * w), x - 4 * w, y + 2 * s, 8 * w, 8 * w);
      break;
    case 75: {
      GfxPen* pen = o.pen(COLOUR_BLUE, 2 * w);
      draw_ellipse_d(g, pen, x - 4 * w, y + 2 * s, 8 * w, 8 * w);
      draw_line_d(g, pen, x - 4 * w, y + 6 * w, x - 8 * w, y + 6 * w);
      draw_line_d(g, pen, x + 4 * w, y + 6 * w, x + 8 * w, y + 6 * w);
      break;
    }
    case 76: {
      GfxPen* pen = o.pen(COLOUR_MAGENTA, 2 * w);
      draw_ellipse_d(g, pen, x - 4 * w, y + 2 * s, 8 * w, 8 * w);
      draw_line_d(g, pen, x - 4 * w, y + 6 * w, x - 8 * w, y + 6 * w);
      draw_line_d(g, pen, x + 4 * w, y + 6 * w, x + 8 * w, y + 6 * w);
      draw_line_d(g, pen, x, y + 8 * s, x, y + 12 * s);
      draw_line_d(g, pen, x, y + 2 * s, x, y - 2 * s);
      break;
    }
    default:
      break;  // unknown code: nothing
  }
}

namespace {

// Offsets spanned by vertex tables: a0..a1 across, b0..b1 down.
struct Span {
  double a0, b0, a1, b1;
};

template <int32_t N>
constexpr Span span_of(const Offset (&v)[N], Span s) {
  for (int32_t i = 0; i < N; ++i) {
    s.a0 = v[i].a < s.a0 ? v[i].a : s.a0;
    s.a1 = v[i].a > s.a1 ? v[i].a : s.a1;
    s.b0 = v[i].b < s.b0 ? v[i].b : s.b0;
    s.b1 = v[i].b > s.b1 ? v[i].b : s.b1;
  }
  return s;
}

template <int32_t N>
Span span_of(const Offset (&v)[N]) {
  return span_of(v, {v[0].a, v[0].b, v[0].a, v[0].b});
}

// The circle of codes 4 and 5: x - 3 w .. x + 2 w, y .. y + 5 s.
constexpr Span LOBED_CIRCLE = {-3, 0, 2, 5};

}  // namespace

bool map_symbol_reaches_image(GfxGraphics* graphics, double x, double y, int32_t code, double w, double s) {
  Span sp;
  double pen = w;
  switch (code) {
    case 1: sp = span_of(HEX_LOBES); break;
    case 2: sp = span_of(HEXAGON); break;
    case 3: sp = span_of(TRIANGLE); break;
    case 4: sp = span_of(LOBE_LEFT, span_of(LOBE_BELOW, span_of(LOBE_RIGHT, LOBED_CIRCLE))); break;
    case 5:
      sp = span_of(TAB_LEFT, span_of(TAB_BOTTOM, span_of(TAB_RIGHT, span_of(TAB_TOP, LOBED_CIRCLE))));
      break;
    case 20: sp = span_of(STAR); break;
    case 21: sp = span_of(DIAMOND); break;
    case 74:
    case 75:
    case 76: {
      // Circle x - 4 w .. x + 4 w, y + 2 s .. y + 2 s + 8 w; stubs to 8 w aside, y - 2 s and y + 12 s.
      pen = 2 * w;
      double half = code == 74 ? 4 * w : 8 * w;
      double top = code == 76 ? std::fmin(y - 2 * s, y + 2 * s) : y + 2 * s;
      double bottom = std::fmax(y + 2 * s + 8 * w, code == 76 ? y + 12 * s : y);
      return box_reaches_image(graphics, x - half, top, x + half, bottom, stroke_reach(pen));
    }
    default:
      return true;
  }
  return box_reaches_image(graphics, x + sp.a0 * w, y + sp.b0 * s, x + sp.a1 * w, y + sp.b1 * s, stroke_reach(pen));
}
