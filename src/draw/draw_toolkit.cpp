// Drawing frame and toolkit shared by every display.
#include "draw/draw_toolkit.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>
#include "module/load_state.h"

uintptr_t gdiplus_token = 0;
double map_px_per_nm = 0.0;

namespace {

// Drawing gauges whose graphics are started.
int32_t graphics_gauges = 0;

// Sine and cosine of degrees, exact at multiples of 90.
void sin_cos_deg(double deg, double& s, double& c) {
  double q = deg / 90.0;
  if (q == std::floor(q) && std::fabs(q) < 1e15) {
    static const double S[4] = {0, 1, 0, -1};
    int i = int(std::fmod(q, 4.0));
    if (i < 0) i += 4;
    s = S[i];
    c = S[(i + 1) % 4];
    return;
  }
  double r = deg * (3.14159265358979323846 / 180.0);
  s = std::sin(r);
  c = std::cos(r);
}

double wrap360(double a) {
  if (a >= 0.0 && a < 360.0) return a;  // as fmod leaves it, without its cost
  double w = std::fmod(a, 360.0);
  return w < 0 ? w + 360.0 : w;
}

bool usable_size(int32_t image_w, int32_t image_h, DesignCanvas canvas) {
  return image_w > 0 && image_h > 0 && canvas.width > 0 && canvas.height > 0;
}

// Truncated copy of a point list, on the stack for the usual short lists.
struct PointBuffer {
  GfxPoint small[32];
  std::vector<GfxPoint> large;
  GfxPoint* data = small;

  // False when any coordinate is unusable.
  bool fill(const DrawPoint* pts, int32_t n) {
    if (!pts || n <= 0) return false;
    if (n > 32) {
      large.resize(size_t(n));
      data = large.data();
    }
    for (int32_t i = 0; i < n; ++i)
      if (!trunc_coord(pts[i].x, data[i].x) || !trunc_coord(pts[i].y, data[i].y)) return false;
    return true;
  }
};

bool trunc_box(double x, double y, double w, double h, int32_t out[4]) {
  return trunc_coord(x, out[0]) && trunc_coord(y, out[1]) && trunc_coord(w, out[2]) && trunc_coord(h, out[3]);
}

void fill_field_box(GfxGraphics* g, double x, double y, int32_t n, double k, double h, uint32_t argb) {
  GfxBrush* brush = gfx_brush_create(g, argb);
  double right = x + k * n;
  DrawPoint box[5] = {{x, y}, {right, y}, {right, y + h}, {x, y + h}, {x, y}};
  fill_polygon_d(g, brush, box, 5);
  gfx_brush_delete(brush);
}

}  // namespace

// ---- graphics library ----

uintptr_t gdiplus_start() {
  uintptr_t token = 0;
  gfx_startup(&token);
  return token;
}

int32_t gdiplus_stop(uintptr_t token) {
  gfx_shutdown(token);
  return 0;
}

void graphics_gauge_start() {
  gfx_forget_frames();  // the gauge's images are new, perhaps where another's were
  ++graphics_gauges;
  if (gdiplus_token == 0) gdiplus_token = gdiplus_start();
}

void graphics_gauge_stop() {
  gfx_forget_frames();
  if (graphics_gauges > 0) --graphics_gauges;
  if (graphics_gauges == 0 && gdiplus_token != 0) gdiplus_token = uintptr_t(gdiplus_stop(gdiplus_token));
}

// ---- frames ----

bool set_canvas_scale(GfxGraphics* g, int32_t image_w, int32_t image_h, DesignCanvas canvas) {
  gfx_reset_transform(g);
  if (!usable_size(image_w, image_h, canvas)) return false;
  gfx_scale(g, image_w / canvas.width, image_h / canvas.height, GFX_PREPEND);
  return true;
}

bool set_scaled_frame(GfxGraphics* g, int32_t image_w, int32_t image_h, DesignCanvas canvas, double cx, double cy,
                      double& kx, double& ky) {
  gfx_reset_transform(g);
  kx = ky = 0.0;
  if (!usable_size(image_w, image_h, canvas)) return false;
  double sum = double(image_w) + double(image_h);
  kx = sum / canvas.width;
  ky = sum / canvas.height;
  gfx_scale(g, image_w / sum, image_h / sum, GFX_PREPEND);
  gfx_translate(g, cx * kx, cy * ky, GFX_PREPEND);
  return true;
}

// ---- projection ----

void polar_to_screen(double map_heading, double bearing, double x0, double y0, double distance_px, double& x,
                     double& y) {
  double h = wrap360(map_heading), b = wrap360(bearing);
  double rel;
  bool right;
  if (h > b) {
    double d = h - b;
    if (d > 180) {
      rel = 360 - h + b;
      right = true;
    } else {
      rel = d;
      right = false;
    }
  } else {
    double d = b - h;
    if (d > 180) {
      rel = 360 - b + h;
      right = false;
    } else {
      rel = d;
      right = true;
    }
  }
  double a = rel < 91 ? rel : 180 - rel;
  double s, c;
  sin_cos_deg(a, s, c);
  double dx = std::fabs(distance_px * s), dy = std::fabs(distance_px * c);
  y = rel <= 90 ? y0 - dy : y0 + dy;
  x = right ? x0 + dx : x0 - dx;
}

bool polar_to_screen_int(double map_heading, double bearing, int32_t x0, int32_t y0, double distance_px, int32_t& x,
                         int32_t& y) {
  double fx, fy;
  polar_to_screen(map_heading, bearing, x0, y0, distance_px, fx, fy);
  if (trunc_coord(fx, x) && trunc_coord(fy, y)) return true;
  x = y = DRAW_COORD_OFF;
  return false;
}

// ---- guarded integer drawing ----

bool trunc_coord(double v, int32_t& out) {
  if (!std::isfinite(v) || std::fabs(v) > DRAW_COORD_LIMIT) {
    out = 0;
    return false;
  }
  out = int32_t(v);
  return true;
}

bool draw_line_d(GfxGraphics* g, const GfxPen* pen, double x1, double y1, double x2, double y2) {
  int32_t v[4];
  if (!trunc_box(x1, y1, x2, y2, v)) return false;
  gfx_draw_line(g, pen, v[0], v[1], v[2], v[3]);
  return true;
}

bool draw_lines_d(GfxGraphics* g, const GfxPen* pen, const DrawPoint* pts, int32_t n) {
  PointBuffer p;
  if (!p.fill(pts, n)) return false;
  gfx_draw_lines(g, pen, p.data, n);
  return true;
}

bool fill_polygon_d(GfxGraphics* g, const GfxBrush* brush, const DrawPoint* pts, int32_t n) {
  PointBuffer p;
  if (!p.fill(pts, n)) return false;
  gfx_fill_polygon(g, brush, p.data, n);
  return true;
}

bool draw_arc_d(GfxGraphics* g, const GfxPen* pen, double x, double y, double w, double h, double start_deg,
                double sweep_deg) {
  int32_t v[4];
  if (!trunc_box(x, y, w, h, v) || !std::isfinite(start_deg) || !std::isfinite(sweep_deg)) return false;
  gfx_draw_arc(g, pen, v[0], v[1], v[2], v[3], start_deg, sweep_deg);
  return true;
}

bool draw_ellipse_d(GfxGraphics* g, const GfxPen* pen, double x, double y, double w, double h) {
  int32_t v[4];
  if (!trunc_box(x, y, w, h, v)) return false;
  gfx_draw_ellipse(g, pen, v[0], v[1], v[2], v[3]);
  return true;
}

bool fill_ellipse_d(GfxGraphics* g, const GfxBrush* brush, double x, double y, double w, double h) {
  int32_t v[4];
  if (!trunc_box(x, y, w, h, v)) return false;
  gfx_fill_ellipse(g, brush, v[0], v[1], v[2], v[3]);
  return true;
}

bool draw_rect_d(GfxGraphics* g, const GfxPen* pen, double x, double y, double w, double h) {
  int32_t v[4];
  if (!trunc_box(x, y, w, h, v)) return false;
  gfx_draw_rect(g, pen, v[0], v[1], v[2], v[3]);
  return true;
}

bool fill_rect_d(GfxGraphics* g, const GfxBrush* brush, double x, double y, double w, double h) {
  int32_t v[4];
  if (!trunc_box(x, y, w, h, v)) return false;
  gfx_fill_rect(g, brush, v[0], v[1], v[2], v[3]);
  return true;
}

// ---- text ----

void draw_text(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y,
               int32_t wide_capacity, const char* bytes) {
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  if (wide_capacity > DRAW_TEXT_MAX) wide_capacity = DRAW_TEXT_MAX;
  char16_t wide[DRAW_TEXT_MAX];
  if (gfx_widen(bytes, wide, wide_capacity) == 0) return;
  gfx_draw_string(g, wide, -1, font, {float(x), float(y), 0.0f, 0.0f}, brush);
}

double text_width(GfxGraphics* g, const GfxFont* font, int32_t wide_capacity, const char* bytes) {
  if (wide_capacity > DRAW_TEXT_MAX) wide_capacity = DRAW_TEXT_MAX;
  char16_t wide[DRAW_TEXT_MAX];
  GfxRectF box{};
  if (gfx_widen(bytes, wide, wide_capacity) == 0 || gfx_measure_string(g, wide, -1, font, &box) != GFX_OK) return 0;
  return box.width;
}

void draw_textf(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y,
                int32_t wide_capacity, const char* format, ...) {
  char bytes[DRAW_TEXT_MAX];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(bytes, sizeof bytes, format, args);
  va_end(args);
  if (n < 0 || n >= int(sizeof bytes)) return;  // cut short: too long for any text item
  draw_text(g, font, brush, x, y, wide_capacity, bytes);
}

// ---- clips ----

bool set_clip_rect_d(GfxGraphics* g, double x, double y, double w, double h) {
  int32_t v[4];
  if (!trunc_box(x, y, w, h, v)) return false;
  GfxPath* path = gfx_path_create(g);
  if (!path) return false;
  const GfxPoint c[4] = {{v[0], v[1]}, {v[0] + v[2], v[1]}, {v[0] + v[2], v[1] + v[3]}, {v[0], v[1] + v[3]}};
  for (int32_t i = 0; i < 4; ++i) gfx_path_add_line(g, path, c[i].x, c[i].y, c[(i + 1) % 4].x, c[(i + 1) % 4].y);
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
  return true;
}

bool set_clip_rounded_rect_d(GfxGraphics* g, double x, double y, double w, double h, double r) {
  int32_t v[4], d[2];
  if (!trunc_box(x, y, w, h, v) || !trunc_coord(2 * r, d[0]) || d[0] <= 0) return false;
  d[1] = d[0];
  GfxPath* path = gfx_path_create(g);
  if (!path) return false;
  // Four quarter arcs clockwise from the top left; the path joins them with the edges.
  const int32_t right = v[0] + v[2] - d[0], bottom = v[1] + v[3] - d[1];
  gfx_path_add_arc(g, path, v[0], v[1], d[0], d[1], 180, 90);
  gfx_path_add_arc(g, path, right, v[1], d[0], d[1], 270, 90);
  gfx_path_add_arc(g, path, right, bottom, d[0], d[1], 0, 90);
  gfx_path_add_arc(g, path, v[0], bottom, d[0], d[1], 90, 90);
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
  return true;
}

// ---- CDU field boxes ----

void fill_field_box_smiths(const GaugeSurface*, double x, double y, GfxGraphics* g, int32_t n) {
  fill_field_box(g, x, y, n, 14, 20, COLOUR_GREEN);
}

void fill_field_box_c17_cdu(const GaugeSurface*, double x, double y, GfxGraphics* g, int32_t n) {
  fill_field_box(g, x, y, n, 14, 20, COLOUR_GREEN);
}

void fill_field_box_yellow(const GaugeSurface*, double x, double y, GfxGraphics* g, int32_t n) {
  fill_field_box(g, x, y, n, 21, 35, COLOUR_YELLOW);
}

void keep_draw_toolkit_state(LoadState& state) { state.keep(graphics_gauges); }
