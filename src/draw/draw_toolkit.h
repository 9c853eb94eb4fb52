// Drawing frame and toolkit shared by every display: graphics start and stop,
// design canvases, the palette and font names, the canvas scale and the scaled
// map frame, polar-to-screen projection, guarded integer drawing, the text idiom
// and the CDU field boxes.
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "geo/great_circle.h"
#include "platform/gfx/gfx.h"

// ---- graphics library ----

// Start-up token of the graphics library; 0 while it is not started.
extern uintptr_t gdiplus_token;

// Starts the graphics library and returns its token (0 when it failed).
uintptr_t gdiplus_start();
// Shuts the library down for `token`; returns 0.
int32_t gdiplus_stop(uintptr_t token);

// Drawing gauges call these on their graphics start and stop services. Starts
// are counted: the first starts the library into `gdiplus_token`, the last stop
// shuts it down, so one gauge going away does not stop drawing for the others.
void graphics_gauge_start();
void graphics_gauge_stop();

// ---- palette (ARGB) ----

constexpr uint32_t COLOUR_WHITE = 0xFFDEE6E9;
constexpr uint32_t COLOUR_GREEN = 0xFF00FA00;
constexpr uint32_t COLOUR_CYAN = 0xFF00E6E9;
constexpr uint32_t COLOUR_MAGENTA = 0xFFFF13D5;
constexpr uint32_t COLOUR_YELLOW = 0xFFFFFF00;
constexpr uint32_t COLOUR_BLUE = 0xFF02A7EB;
constexpr uint32_t COLOUR_SILVER = 0xFFC0C0C0;
constexpr uint32_t COLOUR_RED = 0xFFC90101;
constexpr uint32_t COLOUR_AMBER = 0xFFE9B73E;
constexpr uint32_t COLOUR_LIGHT_GREEN = 0xFF5BE5A7;
constexpr uint32_t COLOUR_BLACK = 0xFF000000;
constexpr uint32_t COLOUR_TRANSPARENT = 0x00000000;

// ---- font families ----

constexpr const char* FONT_ARIAL = "Arial";
constexpr const char* FONT_ZUDUZ = "ZO Zuduz";
constexpr const char* FONT_COURIER_NEW = "Courier New";
constexpr const char* FONT_TAHOMA = "Tahoma";
constexpr const char* FONT_TERMINUS = "Terminus";

// ---- design canvases (design units, x right, y down) ----

struct DesignCanvas {
  double width;
  double height;
};

constexpr DesignCanvas CANVAS_B737_ND{244, 302};
constexpr DesignCanvas CANVAS_MD11_ND{240, 258};
constexpr DesignCanvas CANVAS_MD80_EHSI{266, 232};
constexpr DesignCanvas CANVAS_DU1000_EHSI{318, 310};
constexpr DesignCanvas CANVAS_EFS50{266, 230};  // EHSI, EADI and TCAS
constexpr DesignCanvas CANVAS_A320_EADI{318, 310};
constexpr DesignCanvas CANVAS_B777_PFD{260, 260};
constexpr DesignCanvas CANVAS_C17_MFD{246, 241};
constexpr DesignCanvas CANVAS_P1000_MFD{272, 314};
constexpr DesignCanvas CANVAS_PROLINE4_MFD{247, 285};
constexpr DesignCanvas CANVAS_GNSXLS{495, 400};
constexpr DesignCanvas CANVAS_FUEL_PAGE{386, 429};
constexpr DesignCanvas CANVAS_WIDE_MAP{365, 289};  // a hold-layer member no display draws

// Resets the world transform and scales the canvas onto an image of w x h pixels
// (prepend order). False, with the transform only reset, when a size is not usable.
bool set_canvas_scale(GfxGraphics* g, int32_t image_w, int32_t image_h, DesignCanvas canvas);

// Scaled map frame: reset, scale by (w / (w + h), h / (w + h)), translate by
// (cx kx, cy ky) with kx = (w + h) / W and ky = (w + h) / H. Design lengths are
// then multiplied by kx (horizontal) or ky (vertical) and font sizes by kx, so that
// a design point (X, Y) about the centre lands on pixel ((cx + X) w / W, (cy + Y) h / H).
// False, with kx = ky = 0 and the transform only reset, when a size is not usable.
bool set_scaled_frame(GfxGraphics* g, int32_t image_w, int32_t image_h, DesignCanvas canvas, double cx, double cy,
                      double& kx, double& ky);

// ---- map scratch values ----

// Design units per NM of the map being drawn (radius / range). The great-circle
// outputs and map_distance_px live with the geodesy helpers.
extern double map_px_per_nm;

// ---- projection ----

// The point at true `bearing` and `distance_px` design units from (x0, y0) on a
// map whose up direction is `map_heading` (degrees; taken modulo 360).
void polar_to_screen(double map_heading, double bearing, double x0, double y0, double distance_px, double& x,
                     double& y);
// The same from an integer centre, truncated toward zero. Returns false, with x
// and y set off every canvas (DRAW_COORD_OFF), when the point is not a finite
// integer coordinate.
bool polar_to_screen_int(double map_heading, double bearing, int32_t x0, int32_t y0, double distance_px, int32_t& x,
                         int32_t& y);

// ---- guarded integer drawing ----

// Coordinates beyond this (or not finite) cannot reach an integer drawing call.
constexpr double DRAW_COORD_LIMIT = 1.0e9;
constexpr int32_t DRAW_COORD_OFF = -1000000;

// Truncates toward zero. False (out = 0) for a non-finite value or one beyond the limit.
bool trunc_coord(double v, int32_t& out);

struct DrawPoint {
  double x, y;
};

// Integer drawing from doubles, each coordinate truncated toward zero. A
// primitive with any unusable coordinate is skipped; the result tells whether it
// was drawn.
bool draw_line_d(GfxGraphics* g, const GfxPen* pen, double x1, double y1, double x2, double y2);
bool draw_lines_d(GfxGraphics* g, const GfxPen* pen, const DrawPoint* pts, int32_t n);
bool fill_polygon_d(GfxGraphics* g, const GfxBrush* brush, const DrawPoint* pts, int32_t n);
bool draw_arc_d(GfxGraphics* g, const GfxPen* pen, double x, double y, double w, double h, double start_deg,
                double sweep_deg);
bool draw_ellipse_d(GfxGraphics* g, const GfxPen* pen, double x, double y, double w, double h);
bool fill_ellipse_d(GfxGraphics* g, const GfxBrush* brush, double x, double y, double w, double h);
bool draw_rect_d(GfxGraphics* g, const GfxPen* pen, double x, double y, double w, double h);
bool fill_rect_d(GfxGraphics* g, const GfxBrush* brush, double x, double y, double w, double h);

// ---- clips ----

// Clips to the rectangle (x, y, w, h), or to that rectangle with corners rounded to
// radius r, under the current world transform (coordinates truncated toward zero).
// False, with the clip left as it was, when a value is unusable.
bool set_clip_rect_d(GfxGraphics* g, double x, double y, double w, double h);
bool set_clip_rounded_rect_d(GfxGraphics* g, double x, double y, double w, double h, double r);

// ---- text ----

// Largest wide buffer a text item may ask for.
constexpr int32_t DRAW_TEXT_MAX = 256;

// Widens Windows-1252 bytes into a buffer of `wide_capacity` units (terminator
// included) and draws them with the top-left of a zero-size layout box at (x, y).
// A text that does not fit its buffer draws nothing.
void draw_text(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y,
               int32_t wide_capacity, const char* bytes);
// The same with a printf pattern formatted into a byte buffer first.
// Width in world units of the layout box `bytes` takes in `font` (0 when it cannot be
// measured), for a text that must end before an edge.
double text_width(GfxGraphics* g, const GfxFont* font, int32_t wide_capacity, const char* bytes);
void draw_textf(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y,
                int32_t wide_capacity, const char* format, ...) __attribute__((format(printf, 7, 8)));

// ---- CDU field boxes ----

// Fill the highlight box behind an n-character field whose top-left is (x, y):
// 14 x 20 units a character in green (Smiths FMS CDU, C-17 mission CDU), 21 x 35
// in yellow (GNS-XLS). The context is not used.
void fill_field_box_smiths(const GaugeSurface* context, double x, double y, GfxGraphics* g, int32_t n);
void fill_field_box_c17_cdu(const GaugeSurface* context, double x, double y, GfxGraphics* g, int32_t n);
void fill_field_box_yellow(const GaugeSurface* context, double x, double y, GfxGraphics* g, int32_t n);
