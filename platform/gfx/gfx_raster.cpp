// Raster back end: cairo on the gauge image's pixels.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/gfx_internal.h"

namespace {

constexpr double PI = 3.14159265358979323846;

// World transform plus the pixel offset: by default integer coordinates are
// pixel centres, which in cairo lie at half coordinates.
void set_world(GfxGraphics* g, const GfxMatrix& w) {
  double off = gfx_pixel_offset_half(g) ? 0.0 : 0.5;
  cairo_matrix_t m;
  cairo_matrix_init(&m, w.m11, w.m12, w.m21, w.m22, w.dx + off, w.dy + off);
  cairo_set_matrix(g->cr, &m);
  cairo_set_antialias(g->cr, gfx_antialiased(g) ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void apply_world(GfxGraphics* g) { set_world(g, g->m); }

bool same_figures(const std::vector<std::vector<GfxPointF>>& a, const std::vector<std::vector<GfxPointF>>& b) {
  auto same = [](const std::vector<GfxPointF>& p, const std::vector<GfxPointF>& q) {
    return std::equal(p.begin(), p.end(), q.begin(), q.end(),
                      [](GfxPointF u, GfxPointF v) { return u.x == v.x && u.y == v.y; });
  };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), same);
}

// Strokes the current path with the pen.
void stroke(GfxGraphics* g, const GfxPen* pen) {
  cairo_t* cr = g->cr;
  raster_stroke_style(cr, pen);
  raster_set_source(cr, pen->argb);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
}

// Arrowhead at `tip`, pointing from `from`, sized by the pen width.
void arrow_cap(GfxGraphics* g, const GfxPen* pen, GfxPointF from, GfxPointF tip) {
  double dx = tip.x - from.x, dy = tip.y - from.y;
  double len = std::hypot(dx, dy);
  if (len <= 0) return;
  double ux = dx / len, uy = dy / len;
  double pw = pen->width > 0 ? pen->width : 1.0;
  double h = pen->cap.height * pw, half = pen->cap.width * pw / 2;
  apply_world(g);
  cairo_t* cr = g->cr;
  cairo_move_to(cr, tip.x, tip.y);
  cairo_line_to(cr, tip.x - ux * h - uy * half, tip.y - uy * h + ux * half);
  cairo_line_to(cr, tip.x - ux * h + uy * half, tip.y - uy * h - ux * half);
  cairo_close_path(cr);
  if (pen->cap.filled) {
    raster_set_source(cr, pen->argb);
    cairo_fill(cr);
  } else {
    GfxPen plain = *pen;
    plain.dash = GFX_DASH_SOLID;
    stroke(g, &plain);
  }
}

// cairo keeps device coordinates in 24.8 fixed point: beyond about 8e6 pixels
// they wrap. Geometry reaching past SAFE is first cut to a box around the image.
constexpr double SAFE = 1.0e6;
constexpr double MARGIN = 1.0e4;

bool beyond(GfxGraphics* g, double x, double y) {
  GfxPointF d = gfx_apply(g->m, x, y);
  return !(std::fabs(d.x) < SAFE && std::fabs(d.y) < SAFE);
}

template <typename P>
bool any_beyond(GfxGraphics* g, const P* pts, int32_t n) {
  for (int32_t i = 0; i < n; ++i)
    if (beyond(g, pts[i].x, pts[i].y)) return true;
  return false;
}

GfxPointF to_world(const GfxMatrix& m, GfxPointF d) {
  double det = m.m11 * m.m22 - m.m12 * m.m21;
  double x = d.x - m.dx, y = d.y - m.dy;
  return {(x * m.m22 - y * m.m21) / det, (y * m.m11 - x * m.m12) / det};
}

struct Box {
  double x0, y0, x1, y1;
};

Box cut_box(GfxGraphics* g) {
  return {-MARGIN, -MARGIN, g->image->width + MARGIN, g->image->height + MARGIN};
}

// Liang-Barsky: cuts segment a-b (device) to the box; false when nothing is left.
bool cut_segment(const Box& box, GfxPointF& a, GfxPointF& b) {
  double t0 = 0, t1 = 1, dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - box.x0, box.x1 - a.x, a.y - box.y0, box.y1 - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  GfxPointF na = {a.x + t0 * dx, a.y + t0 * dy}, nb = {a.x + t1 * dx, a.y + t1 * dy};
  a = na;
  b = nb;
  return true;
}

// Sutherland-Hodgman against one edge of the box.
template <typename Inside, typename Cross>
std::vector<GfxPointF> cut_polygon_edge(const std::vector<GfxPointF>& in, Inside inside, Cross cross) {
  std::vector<GfxPointF> out;
  for (size_t i = 0; i < in.size(); ++i) {
    GfxPointF a = in[i], b = in[(i + 1) % in.size()];
    bool ia = inside(a), ib = inside(b);
    if (ia) out.push_back(a);
    if (ia != ib) out.push_back(cross(a, b));
  }
  return out;
}

std::vector<GfxPointF> cut_polygon(const Box& box, std::vector<GfxPointF> poly) {
  auto at_x = [](GfxPointF a, GfxPointF b, double x) {
    return GfxPointF{x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)};
  };
  auto at_y = [](GfxPointF a, GfxPointF b, double y) {
    return GfxPointF{a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y};
  };
  poly = cut_polygon_edge(poly, [&](GfxPointF p) { return p.x >= box.x0; },
                          [&](GfxPointF a, GfxPointF b) { return at_x(a, b, box.x0); });
  poly = cut_polygon_edge(poly, [&](GfxPointF p) { return p.x <= box.x1; },
                          [&](GfxPointF a, GfxPointF b) { return at_x(a, b, box.x1); });
  poly = cut_polygon_edge(poly, [&](GfxPointF p) { return p.y >= box.y0; },
                          [&](GfxPointF a, GfxPointF b) { return at_y(a, b, box.y0); });
  poly = cut_polygon_edge(poly, [&](GfxPointF p) { return p.y <= box.y1; },
                          [&](GfxPointF a, GfxPointF b) { return at_y(a, b, box.y1); });
  return poly;
}

// The polyline's segments cut to the box (device points, without the pixel offset): a
// figure begins at `move` where a cut parts it, each segment ends at `line`.
template <typename P, typename Move, typename Line>
void cut_polyline(GfxGraphics* g, const P* pts, int32_t n, Move move, Line line) {
  Box box = cut_box(g);
  bool joined = false;
  for (int32_t i = 1; i < n; ++i) {
    GfxPointF a = gfx_apply(g->m, pts[i - 1].x, pts[i - 1].y), b = gfx_apply(g->m, pts[i].x, pts[i].y);
    bool a_kept = !(std::fabs(a.x) >= SAFE || std::fabs(a.y) >= SAFE);
    if (!cut_segment(box, a, b)) {
      joined = false;
      continue;
    }
    if (!joined || !a_kept) move(a);
    line(b);
    joined = true;
  }
}

// Adds the points to the path of `cr` (the graphics' context where not given) as they
// stand where none reaches too far; false otherwise.
template <typename P>
bool path_points(GfxGraphics* g, const P* pts, int32_t n, cairo_t* cr = nullptr) {
  if (any_beyond(g, pts, n)) return false;
  if (!cr) cr = g->cr;
  cairo_move_to(cr, pts[0].x, pts[0].y);
  for (int32_t i = 1; i < n; ++i) cairo_line_to(cr, pts[i].x, pts[i].y);
  return true;
}

// Adds a polyline to the path, cut to the box where it reaches too far.
template <typename P>
void path_polyline(GfxGraphics* g, const P* pts, int32_t n) {
  cairo_t* cr = g->cr;
  if (path_points(g, pts, n)) return;
  cut_polyline(
      g, pts, n,
      [&](GfxPointF a) {
        GfxPointF w = to_world(g->m, a);
        cairo_move_to(cr, w.x, w.y);
      },
      [&](GfxPointF b) {
        GfxPointF w = to_world(g->m, b);
        cairo_line_to(cr, w.x, w.y);
      });
}

double pixel_offset(const GfxGraphics* g) { return gfx_pixel_offset_half(g) ? 0.0 : 0.5; }

// The polyline's stroke begun in device points, cut as path_polyline cuts it.
template <typename P>
void coverage_polyline(GfxGraphics* g, const GfxPen* pen, const P* pts, int32_t n) {
  gfx_coverage_begin(g->m, pen->width);
  const double off = pixel_offset(g);
  std::vector<GfxPointF>& d = g->scratch;
  d.clear();
  if (!any_beyond(g, pts, n)) {
    for (int32_t i = 0; i < n; ++i) {
      GfxPointF p = gfx_apply(g->m, pts[i].x, pts[i].y);
      d.push_back({p.x + off, p.y + off});
    }
    gfx_coverage_polyline(d.data(), n);
    return;
  }
  auto figure = [&] {
    gfx_coverage_polyline(d.data(), int32_t(d.size()));
    d.clear();
  };
  cut_polyline(
      g, pts, n,
      [&](GfxPointF a) {
        figure();
        d.push_back({a.x + off, a.y + off});
      },
      [&](GfxPointF b) { d.push_back({b.x + off, b.y + off}); });
  figure();
}

// Everything a stroke's coverage is made from besides its figure and its box: the
// transform, the pixel offset, the pen's width and the image's size (where figures are
// cut). Reused: a look-up allocates nothing.
struct StrokeKey {
  std::vector<double> words;
};
std::vector<double>& stroke_key(GfxGraphics* g, const GfxPen* pen, double kind) {
  std::vector<double>& key = gfx_per_thread<StrokeKey>().words;
  const GfxMatrix& m = g->m;
  key.assign({kind, m.m11, m.m12, m.m21, m.m22, m.dx, m.dy, pixel_offset(g), pen->width, double(g->image->width),
              double(g->image->height)});
  return key;
}

// Fills the stroke that `begin` begins (false: it cannot) and blends it in the pen's
// colour over the image, through the clip's coverage where `part` (a clip edge crosses
// it); false when cairo is to stroke it. `key` (stroke_key and the figure) names the
// coverage with the box it is filled over: a stroke met before is kept as the runs of
// its coverage, and blended from them when met again.
template <typename Begin>
bool blend_stroke(GfxGraphics* g, const GfxPen* pen, bool part, std::vector<double>& key, Begin begin) {
  GfxClipCoverage clip{nullptr, 0, 0};
  if (part && !(clip = raster_clip_coverage(g, false)).image) return false;
  int32_t x0 = 0, y0 = 0, x1 = g->image->width, y1 = g->image->height;
  if (clip.image) {
    x0 = std::max(x0, clip.x), y0 = std::max(y0, clip.y);
    x1 = std::min(x1, clip.x + pixman_image_get_width(clip.image));
    y1 = std::min(y1, clip.y + pixman_image_get_height(clip.image));
  }
  key.insert(key.end(), {double(x0), double(y0), double(x1), double(y1)});
  const GfxClipCoverage* through = clip.image ? &clip : nullptr;
  if (const GfxKeptStroke* kept = raster_find_stroke(key))
    if (raster_blend_kept_stroke(g, pen->argb, *kept, through)) return true;
  if (!begin()) return false;
  GfxCoverage c;
  const bool inks = gfx_coverage_fill(x0, y0, x1, y1, c);
  if (raster_stroke_met_before(key)) raster_keep_stroke(key, inks ? &c : nullptr);
  return !inks || raster_blend_coverage(g, pen->argb, c, through);
}

// A stroke cairo makes (a dashed pen, unsmoothed drawing) met again: kept as the runs of
// the A8 coverage cairo strokes into at the same place without the clip, and blended from
// them as cairo blends its own coverage, through the clip's coverage where `part` (a clip
// edge crosses it). `key` (stroke_key and the figure) names it; `path` adds the figure to
// a context in the graphics' world. False when cairo is to stroke it.
template <typename Path>
bool blend_cairo_stroke(GfxGraphics* g, const GfxPen* pen, bool part, std::vector<double>& key, Path path) {
  if (pen->has_cap) return false;
  GfxClipCoverage clip{nullptr, 0, 0};
  if (part && !(clip = raster_clip_coverage(g, false)).image) return false;
  const GfxClipCoverage* through = clip.image ? &clip : nullptr;
  key.insert(key.end(), {double(pen->dash), double(gfx_antialiased(g))});
  if (const GfxKeptStroke* kept = raster_find_stroke(key)) return raster_blend_kept_stroke(g, pen->argb, *kept, through);
  if (!raster_stroke_met_before(key)) return false;
  const double off = pixel_offset(g);
  const GfxMatrix world{g->m.m11, g->m.m12, g->m.m21, g->m.m22, g->m.dx + off, g->m.dy + off};
  const int32_t limit[2] = {g->image->width, g->image->height};
  int32_t x0 = 0, y0 = 0;
  cairo_surface_t* a8 = raster_stroke_mask(world, gfx_antialiased(g), pen, path, limit, x0, y0);
  if (!a8) return false;
  const int32_t w = cairo_image_surface_get_width(a8), h = cairo_image_surface_get_height(a8);
  const GfxKeptStroke* kept = nullptr;
  if (cairo_surface_status(a8) == CAIRO_STATUS_SUCCESS) {
    // Each row's inked stretches, split where a dozen pixels or more are bare.
    constexpr int32_t GAP = 12;
    auto* bits = cairo_image_surface_get_data(a8);
    const int32_t stride = cairo_image_surface_get_stride(a8);
    std::vector<GfxCoverageRun> runs;
    for (int32_t row = 0; row < h; ++row) {
      const uint8_t* r = bits + size_t(row) * size_t(stride);
      for (int32_t x = 0; x < w;) {
        if (!r[x]) {
          ++x;
          continue;
        }
        int32_t end = x + 1, bare = 0;
        for (int32_t i = end; i < w && bare < GAP; ++i) {
          bare = r[i] ? 0 : bare + 1;
          if (r[i]) end = i + 1;
        }
        runs.push_back({row, x, end});
        x = end;
      }
    }
    GfxCoverage c{x0, y0, w, h, bits, stride, runs.data(), int32_t(runs.size())};
    kept = raster_keep_stroke(key, &c);
  }
  cairo_surface_destroy(a8);
  return kept && raster_blend_kept_stroke(g, pen->argb, *kept, through);
}

// Strokes rasterised without cairo: solid, without arrowheads, anti-aliased, and not so
// wide that their outline leaves the range of cairo's fixed point beside the cut box.
bool own_coverage(const GfxGraphics* g, const GfxPen* pen) {
  return !pen->has_cap && pen->dash == GFX_DASH_SOLID && gfx_antialiased(g) &&
         pen->width * gfx_scale_bound(g->m) < MARGIN;
}

// Adds a closed polygon to the path, cut to the box where it reaches too far.
template <typename P>
void path_polygon(GfxGraphics* g, const P* pts, int32_t n) {
  cairo_t* cr = g->cr;
  if (path_points(g, pts, n)) {
    cairo_close_path(cr);
    return;
  }
  std::vector<GfxPointF> dev;
  for (int32_t i = 0; i < n; ++i) dev.push_back(gfx_apply(g->m, pts[i].x, pts[i].y));
  dev = cut_polygon(cut_box(g), dev);
  if (dev.size() < 3) return;
  for (size_t i = 0; i < dev.size(); ++i) {
    GfxPointF w = to_world(g->m, dev[i]);
    if (i == 0)
      cairo_move_to(cr, w.x, w.y);
    else
      cairo_line_to(cr, w.x, w.y);
  }
  cairo_close_path(cr);
}

// True when an ellipse's bounding box stays within cairo's range.
bool box_safe(GfxGraphics* g, double x, double y, double w, double h) {
  return !beyond(g, x, y) && !beyond(g, x + w, y) && !beyond(g, x, y + h) && !beyond(g, x + w, y + h);
}

// While alive, a drawing whose device box the clip covers wholly goes to the context
// without the clip (the same pixels; the clip's cut costs more than most drawings);
// `hidden` when the clip covers none of the box.
class ClipBypass {
 public:
  // A device box; not `allowed`: drawn under the clip.
  ClipBypass(GfxGraphics* g, double x0, double y0, double x1, double y1, bool allowed) : g_(g) {
    if (allowed) choose(x0, y0, x1, y1);
  }
  // The device box of world points, widened by `reach`; not `allowed` (an arrowhead
  // reaching past the box): drawn under the clip.
  template <typename P>
  ClipBypass(GfxGraphics* g, const P* pts, int32_t n, double reach, bool allowed = true) : g_(g) {
    if (!allowed) return;
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    for (int32_t i = 0; i < n; ++i) {
      GfxPointF d = gfx_apply(g->m, pts[i].x, pts[i].y);
      x0 = gfx_fmin(x0, d.x), x1 = gfx_fmax(x1, d.x);
      y0 = gfx_fmin(y0, d.y), y1 = gfx_fmax(y1, d.y);
    }
    choose(x0 - reach + 0.5, y0 - reach + 0.5, x1 + reach + 0.5, y1 + reach + 0.5);
  }
  // A stroke along the polyline of world points, inking no further than `reach` from it
  // (device pixels): judged by its segments, not its box.
  struct Stroke {};
  template <typename P>
  ClipBypass(GfxGraphics* g, const P* pts, int32_t n, double reach, bool allowed, Stroke) : g_(g) {
    if (!allowed || !g->clip_on) return;
    std::vector<GfxPointF>& d = g->scratch;
    d.clear();
    for (int32_t i = 0; i < n; ++i) {
      GfxPointF p = gfx_apply(g->m, pts[i].x, pts[i].y);
      d.push_back({p.x + 0.5, p.y + 0.5});
    }
    apply(gfx_clip_cover_path(g, d.data(), n, reach));
  }
  ~ClipBypass() {
    if (saved_) g_->cr = saved_;
  }
  // The drawing crosses a clip edge: it goes under the clip.
  bool part() const { return g_->clip_on && !hidden && !saved_ && judged_; }
  // No clip cuts the drawing: none is set, or it covers the box wholly.
  bool unclipped() const { return !g_->clip_on || saved_; }
  ClipBypass(const ClipBypass&) = delete;
  ClipBypass& operator=(const ClipBypass&) = delete;
  bool hidden = false;

 private:
  void choose(double x0, double y0, double x1, double y1) {
    if (g_->clip_on) apply(gfx_clip_cover(g_, x0, y0, x1, y1));
  }
  void apply(GfxCover cover) {
    judged_ = true;
    hidden = cover == GfxCover::NONE;
    if (cover == GfxCover::ALL) {
      saved_ = g_->cr;
      g_->cr = raster_bare(g_);
    }
  }
  GfxGraphics* g_;
  cairo_t* saved_ = nullptr;
  bool judged_ = false;  // the clip's cover was taken
};

}  // namespace

double gfx_stroke_reach(const GfxGraphics* g, const GfxPen* pen, bool joins) {
  double half = pen->width > 0 ? pen->width * gfx_scale_bound(g->m) / 2 : 0.5;
  return (joins ? 10 * half : half) + 2;
}

void raster_set_source(cairo_t* cr, uint32_t argb) {
  cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                        ((argb >> 24) & 0xFF) / 255.0);
}

// Width in world units (0 is one pixel: the matrix becomes the identity).
void raster_stroke_style(cairo_t* cr, const GfxPen* pen) {
  double unit = pen->width;
  if (unit <= 0) {
    cairo_identity_matrix(cr);
    unit = 1.0;
  }
  cairo_set_line_width(cr, unit);
  if (pen->dash == GFX_DASH_DASH) {
    double d[2] = {3 * unit, unit};
    cairo_set_dash(cr, d, 2, 0);
  } else if (pen->dash == GFX_DASH_DOT) {
    double d[2] = {unit, unit};
    cairo_set_dash(cr, d, 2, 0);
  } else {
    cairo_set_dash(cr, nullptr, 0, 0);
  }
}

// Adds an elliptical arc to the current path (start and sweep in degrees).
void raster_path_arc(cairo_t* cr, double x, double y, double w, double h, double start, double sweep, bool join) {
  double a = w / 2, b = h / 2;
  if (a <= 0 || b <= 0) return;
  if (sweep > 360) sweep = 360;
  if (sweep < -360) sweep = -360;
  double t0 = gfx_ellipse_param(a, b, start);
  double t1 = std::fabs(sweep) >= 360 ? t0 + (sweep > 0 ? 2 * PI : -2 * PI) : gfx_ellipse_param(a, b, start + sweep);
  if (!join) cairo_new_sub_path(cr);
  cairo_matrix_t saved;
  cairo_get_matrix(cr, &saved);
  cairo_translate(cr, x + a, y + b);
  cairo_scale(cr, a, b);
  if (sweep >= 0)
    cairo_arc(cr, 0, 0, 1, t0, t1);
  else
    cairo_arc_negative(cr, 0, 0, 1, t0, t1);
  cairo_set_matrix(cr, &saved);
}

void raster_open(GfxGraphics* g) {
  GaugeImage* img = g->image;
  g->surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(img->pixels),
                                                   CAIRO_FORMAT_ARGB32, img->width, img->height, img->stride);
  if (cairo_surface_status(g->surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(g->surface);
    g->surface = nullptr;
    return;
  }
  g->cr = cairo_create(g->surface);
  if (cairo_status(g->cr) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(g->cr);
    cairo_surface_destroy(g->surface);
    g->cr = nullptr;
    g->surface = nullptr;
  }
}

void raster_device_box(const cairo_matrix_t& m, double x0, double y0, double x1, double y1, double out[4]) {
  double xs[4] = {x0, x1, x0, x1}, ys[4] = {y0, y0, y1, y1};
  out[0] = out[1] = INFINITY;
  out[2] = out[3] = -INFINITY;
  for (int32_t i = 0; i < 4; ++i) {
    cairo_matrix_transform_point(&m, &xs[i], &ys[i]);
    out[0] = gfx_fmin(out[0], xs[i]), out[2] = gfx_fmax(out[2], xs[i]);
    out[1] = gfx_fmin(out[1], ys[i]), out[3] = gfx_fmax(out[3], ys[i]);
  }
}

void raster_device_box(cairo_t* cr, double x0, double y0, double x1, double y1, double out[4]) {
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  raster_device_box(m, x0, y0, x1, y1, out);
}

cairo_surface_t* raster_stroke_mask(const GfxMatrix& world, bool antialias, const GfxPen* pen,
                                    const std::function<void(cairo_t*)>& path, const int32_t* limit, int32_t& x0,
                                    int32_t& y0) {
  auto set_world = [&](cairo_t* cr, double dx, double dy) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, world.m11, world.m12, world.m21, world.m22, world.dx + dx, world.dy + dy);
    cairo_set_matrix(cr, &m);
  };
  cairo_t* measure = raster_measuring_context();
  cairo_save(measure);
  set_world(measure, 0, 0);
  path(measure);
  raster_stroke_style(measure, pen);
  double e[4], box[4];
  cairo_stroke_extents(measure, &e[0], &e[1], &e[2], &e[3]);
  raster_device_box(measure, e[0], e[1], e[2], e[3], box);
  cairo_new_path(measure);
  cairo_restore(measure);
  if (!(box[2] > box[0] && box[3] > box[1])) return nullptr;
  x0 = int32_t(std::floor(box[0])) - 1, y0 = int32_t(std::floor(box[1])) - 1;
  int32_t x1 = int32_t(std::ceil(box[2])) + 1, y1 = int32_t(std::ceil(box[3])) + 1;
  if (limit) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, limit[0]), y1 = std::min(y1, limit[1]);
    if (!(x1 > x0 && y1 > y0)) return nullptr;
  }
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, x1 - x0, y1 - y0);
  cairo_t* cr = cairo_create(mask);
  cairo_set_antialias(cr, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
  set_world(cr, -x0, -y0);
  path(cr);
  raster_stroke_style(cr, pen);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  cairo_stroke(cr);
  cairo_destroy(cr);
  cairo_surface_flush(mask);
  return mask;
}

cairo_t* raster_bare(GfxGraphics* g) {
  if (!g->bare) g->bare = cairo_create(g->surface);
  return g->bare;
}

void raster_close(GfxGraphics* g) {
  if (g->surface) raster_settle(g);
  if (g->bare) cairo_destroy(g->bare);
  g->bare = nullptr;
  if (g->pixels) pixman_image_unref(g->pixels);
  g->pixels = nullptr;
  if (g->cr) cairo_destroy(g->cr);
  if (g->surface) {
    cairo_surface_flush(g->surface);
    cairo_surface_destroy(g->surface);
  }
  g->cr = nullptr;
  g->surface = nullptr;
}

void raster_clear(GfxGraphics* g, uint32_t argb) {
  g->clear_pending = true;
  g->clear_argb = argb;
}

void raster_settle(GfxGraphics* g, const int32_t* keep) {
  if (!g->clear_pending) return;
  g->clear_pending = false;
  GaugeImage* img = g->image;
  const uint32_t pixel = gfx_solid_pixel(g->clear_argb);
  cairo_surface_flush(g->surface);
  auto fill = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1) { gfx_fill_pixels(img, x0, y0, x1, y1, pixel); };
  if (!keep) {
    fill(0, 0, img->width, img->height);
  } else {
    fill(0, 0, img->width, keep[1]);
    fill(0, keep[1], keep[0], keep[3]);
    fill(keep[2], keep[1], img->width, keep[3]);
    fill(0, keep[3], img->width, img->height);
  }
  cairo_surface_mark_dirty(g->surface);
}

void raster_stroke_line(GfxGraphics* g, const GfxPen* pen, const GfxPoint* pts, int32_t n) {
  raster_settle(g);
  if (n == 2 && pts[0].x == pts[1].x && pts[0].y == pts[1].y) return;  // a zero-length line shows nothing
  if (n >= 2 && n - 1 <= GfxStampShape::MAX_POINTS) {
    GfxStampShape shape{};
    shape.kind = GfxStampShape::POLYLINE;
    shape.n = n - 1;
    bool small = true;  // every step from the first point fits the shape
    for (int32_t i = 1; i < n && small; ++i) {
      const int64_t dx = int64_t(pts[i].x) - pts[0].x, dy = int64_t(pts[i].y) - pts[0].y;
      small = dx >= INT16_MIN && dx <= INT16_MAX && dy >= INT16_MIN && dy <= INT16_MAX;
      shape.xy[2 * i - 2] = int16_t(small ? dx : 0);
      shape.xy[2 * i - 1] = int16_t(small ? dy : 0);
    }
    if (small && raster_stamp_stroke(g, pen, pts[0].x, pts[0].y, shape)) return;
  }
  ClipBypass bypass(g, pts, n, gfx_stroke_reach(g, pen, n > 2), !pen->has_cap, ClipBypass::Stroke{});
  if (bypass.hidden) return;
  auto line_key = [&]() -> std::vector<double>& {
    std::vector<double>& key = stroke_key(g, pen, n);
    for (int32_t i = 0; i < n; ++i) key.insert(key.end(), {double(pts[i].x), double(pts[i].y)});
    return key;
  };
  if (own_coverage(g, pen)) {
    if (blend_stroke(g, pen, bypass.part(), line_key(), [&] {
          coverage_polyline(g, pen, pts, n);
          return true;
        }))
      return;
  }
  if (blend_cairo_stroke(g, pen, bypass.part(), line_key(), [&](cairo_t* cr) {
        cairo_t* drawing = g->cr;
        g->cr = cr;  // the polyline added, and cut, as to the graphics' own context
        path_polyline(g, pts, n);
        g->cr = drawing;
      }))
    return;
  apply_world(g);
  cairo_t* cr = g->cr;
  cairo_new_path(cr);
  path_polyline(g, pts, n);
  stroke(g, pen);
  if (pen->has_cap && !beyond(g, pts[n - 1].x, pts[n - 1].y)) {
    // Direction of the last segment of non-zero length.
    for (int32_t i = n - 1; i > 0; --i) {
      if (pts[i - 1].x != pts[n - 1].x || pts[i - 1].y != pts[n - 1].y) {
        arrow_cap(g, pen, {double(pts[i - 1].x), double(pts[i - 1].y)}, {double(pts[n - 1].x), double(pts[n - 1].y)});
        break;
      }
    }
  }
}

void raster_stroke_arc(GfxGraphics* g, const GfxPen* pen, double x, double y, double w, double h, double start,
                       double sweep) {
  raster_settle(g);
  if (w <= 0 || h <= 0 || sweep == 0 || !box_safe(g, x, y, w, h)) return;
  GfxStampShape shape{};
  shape.kind = GfxStampShape::ARC;
  shape.arc[0] = w, shape.arc[1] = h, shape.arc[2] = start, shape.arc[3] = sweep;
  if (raster_stamp_stroke(g, pen, x, y, shape)) return;
  const GfxPointF corners[] = {{x, y}, {x + w, y}, {x, y + h}, {x + w, y + h}};
  ClipBypass bypass(g, corners, 4, gfx_stroke_reach(g, pen, false), !pen->has_cap);
  if (bypass.hidden) return;
  auto arc_key = [&]() -> std::vector<double>& {
    std::vector<double>& key = stroke_key(g, pen, -1);  // a polyline's kind is its point count
    key.insert(key.end(), {x, y, w, h, start, sweep});
    return key;
  };
  if (own_coverage(g, pen)) {
    if (blend_stroke(g, pen, bypass.part(), arc_key(), [&] {
          const double off = pixel_offset(g);
          gfx_coverage_begin(g->m, pen->width);
          return gfx_coverage_arc({g->m.m11, g->m.m12, g->m.m21, g->m.m22, g->m.dx + off, g->m.dy + off}, x, y, w, h,
                                  start, sweep);
        }))
      return;
  }
  if (blend_cairo_stroke(g, pen, bypass.part(), arc_key(), [&](cairo_t* cr) {
        raster_path_arc(cr, x, y, w, h, start, sweep, false);
        if (std::fabs(sweep) >= 360) cairo_close_path(cr);
      }))
    return;
  apply_world(g);
  cairo_new_path(g->cr);
  raster_path_arc(g->cr, x, y, w, h, start, sweep, false);
  if (std::fabs(sweep) >= 360) cairo_close_path(g->cr);
  stroke(g, pen);
  if (pen->has_cap && std::fabs(sweep) < 360) {
    // The arrowhead points along the arc's tangent at its end.
    double a = w / 2, b = h / 2;
    double t = gfx_ellipse_param(a, b, start + sweep);
    GfxPointF tip{x + a + a * std::cos(t), y + b + b * std::sin(t)};
    double dir = sweep > 0 ? 1.0 : -1.0;
    GfxPointF from{tip.x + dir * a * std::sin(t), tip.y - dir * b * std::cos(t)};
    arrow_cap(g, pen, from, tip);
  }
}

namespace {

// The runs of the A8 coverage cairo fills the figure `path` adds into, in the context's
// world, fill rule and tolerance: filled over a surface of the image's size, so that the
// figure's points are the ones cairo takes for the image. Full pixels in stretches of
// eight or more are kept as solid runs, without bytes. False when it cannot be made.
template <typename Path>
bool fill_runs(GfxGraphics* g, const cairo_matrix_t& m, Path path, GfxKeptStroke& out) {
  const int32_t w = g->image->width, h = g->image->height;
  cairo_surface_t* a8 = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
  cairo_t* cr = cairo_create(a8);
  cairo_set_matrix(cr, &m);
  cairo_set_tolerance(cr, cairo_get_tolerance(g->cr));
  cairo_set_fill_rule(cr, cairo_get_fill_rule(g->cr));
  path(cr);
  double box[4];
  cairo_fill_extents(cr, &box[0], &box[1], &box[2], &box[3]);
  raster_device_box(m, box[0], box[1], box[2], box[3], box);
  cairo_fill(cr);
  bool made = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  cairo_surface_flush(a8);
  for (const double v : box)
    if (!std::isfinite(v)) made = false;
  const uint8_t* bits = made ? cairo_image_surface_get_data(a8) : nullptr;
  const int32_t stride = cairo_image_surface_get_stride(a8);
  constexpr int32_t SOLID = 8;
  auto full = [](const uint8_t* r, int32_t from, int32_t end) {  // the end of the full pixels from `from`
    while (from < end && r[from] == 255) ++from;
    return from;
  };
  // The pixels the box reaches, a pixel around (its limits finite: the figure's points are).
  auto at = [&](double v, int32_t size) { return bits ? int32_t(std::clamp(v, 0.0, double(size))) : 0; };
  const int32_t x0 = at(std::floor(box[0]) - 1, w), x1 = at(std::ceil(box[2]) + 1, w);
  const int32_t y0 = at(std::floor(box[1]) - 1, h), y1 = at(std::ceil(box[3]) + 1, h);
  for (int32_t row = y0; bits && row < y1; ++row) {
    const uint8_t* r = bits + size_t(row) * size_t(stride);
    for (int32_t x = x0; x < x1;) {
      if (!r[x]) {
        ++x;
        continue;
      }
      int32_t end = x;
      while (end < x1 && r[end]) ++end;
      while (x < end) {
        if (const int32_t k = full(r, x, end); k - x >= SOLID) {
          out.runs.push_back({row, x, k, GFX_SOLID_RUN});
          x = k;
          continue;
        }
        int32_t j = x;  // bytes up to the next stretch of full pixels, or the end
        while (j < end) {
          while (j < end && r[j] != 255) ++j;
          const int32_t k = full(r, j, end);
          if (k - j >= SOLID) break;
          j = k;
        }
        out.runs.push_back({row, x, j, out.bits.size()});
        out.bits.insert(out.bits.end(), r + x, r + j);
        x = j;
      }
    }
  }
  cairo_surface_destroy(a8);
  return bits != nullptr;
}

// The words a fill's kept runs are found by, and a polygon's figure among them.
struct FillKey {
  std::vector<double> words, figure;
};

// A fill in an opaque colour that no clip cuts, met again: kept as the runs of its coverage
// (fill_runs) and drawn from them as cairo's span fill draws an opaque colour. `key` holds
// the figure; the context's world, fill rule and tolerance and the image's size are added
// to it. False when cairo is to fill it.
template <typename Path>
bool kept_fill(GfxGraphics* g, const GfxBrush* brush, const ClipBypass& bypass, std::span<const double> figure,
               Path path) {
  if ((brush->argb >> 24) != 0xFF || !bypass.unclipped() || !gfx_antialiased(g) ||
      cairo_status(g->cr) != CAIRO_STATUS_SUCCESS)
    return false;
  std::vector<double>& key = gfx_per_thread<FillKey>().words;
  cairo_matrix_t m;
  cairo_get_matrix(g->cr, &m);
  key.assign(figure.begin(), figure.end());
  key.insert(key.end(), {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0, cairo_get_tolerance(g->cr),
                         double(cairo_get_fill_rule(g->cr)), double(g->image->width), double(g->image->height)});
  const GfxKeptStroke* kept = raster_find_stroke(key);
  if (!kept) {
    GfxKeptStroke runs;
    if (!raster_stroke_met_before(key) || !fill_runs(g, m, path, runs)) return false;
    kept = raster_keep_runs(key, std::move(runs));
  }
  const uint32_t pixel = gfx_solid_pixel(brush->argb);
  const size_t stride = size_t(g->image->stride / 4);
  int32_t x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
  cairo_surface_flush(g->surface);
  for (const GfxKeptStroke::Run& run : kept->runs) {
    uint32_t* row = g->image->pixels + size_t(run.row) * stride;
    if (run.at == GFX_SOLID_RUN)
      std::fill(row + run.x0, row + run.x1, pixel);
    else
      gfx_mix_opaque(row + run.x0, kept->bits.data() + run.at, run.x1 - run.x0, pixel);
    x0 = std::min(x0, run.x0), x1 = std::max(x1, run.x1), y0 = std::min(y0, run.row), y1 = std::max(y1, run.row + 1);
  }
  if (x0 < x1) cairo_surface_mark_dirty_rectangle(g->surface, x0, y0, x1 - x0, y1 - y0);
  return true;
}

// The tags of kept fills' keys (a stroke's begins with its point count, or -1).
constexpr double ELLIPSE_FILL = -2, POLYGON_FILL = -3;

}  // namespace

void raster_fill_ellipse(GfxGraphics* g, const GfxBrush* brush, double x, double y, double w, double h) {
  raster_settle(g);
  if (w <= 0 || h <= 0 || !box_safe(g, x, y, w, h)) return;
  const GfxPointF corners[] = {{x, y}, {x + w, y}, {x, y + h}, {x + w, y + h}};
  ClipBypass bypass(g, corners, 4, 1);
  if (bypass.hidden) return;
  apply_world(g);
  auto path = [&](cairo_t* cr) {
    cairo_new_path(cr);
    raster_path_arc(cr, x, y, w, h, 0, 360, false);
    cairo_close_path(cr);
  };
  const double figure[] = {ELLIPSE_FILL, x, y, w, h};
  if (kept_fill(g, brush, bypass, figure, path)) return;
  path(g->cr);
  raster_set_source(g->cr, brush->argb);
  cairo_fill(g->cr);
}

void raster_fill_polygon(GfxGraphics* g, const GfxBrush* brush, const GfxPoint* pts, int32_t n) {
  raster_settle(g);
  ClipBypass bypass(g, pts, n, 1);
  if (bypass.hidden) return;
  apply_world(g);
  cairo_t* cr = g->cr;
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  if (n >= 3 && !any_beyond(g, pts, n)) {
    std::vector<double>& figure = gfx_per_thread<FillKey>().figure;
    figure.assign({POLYGON_FILL});
    for (int32_t i = 0; i < n; ++i) figure.insert(figure.end(), {double(pts[i].x), double(pts[i].y)});
    auto path = [&](cairo_t* c) {
      cairo_new_path(c);
      path_points(g, pts, n, c);
      cairo_close_path(c);
    };
    if (kept_fill(g, brush, bypass, figure, path)) return;
  }
  cairo_new_path(cr);
  path_polygon(g, pts, n);
  raster_set_source(cr, brush->argb);
  cairo_fill(cr);
}

void raster_stroke_rect(GfxGraphics* g, const GfxPen* pen, double x, double y, double w, double h) {
  raster_settle(g);
  GfxPointF r[5] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}, {x, y}};
  ClipBypass bypass(g, r, 5, gfx_stroke_reach(g, pen, true), true, ClipBypass::Stroke{});
  if (bypass.hidden) return;
  apply_world(g);
  cairo_new_path(g->cr);
  path_polyline(g, r, 5);
  if (!any_beyond(g, r, 5)) cairo_close_path(g->cr);
  stroke(g, pen);
}

namespace {

// An opaque, unturned rectangle no clip cuts: the pixels it covers wholly are set to its
// colour directly (a pending clear written around them only), and cairo fills the strips
// of pixels its edges cross, each alone: it covers their pixels as within the whole box.
// False where it covers no pixel wholly.
bool fill_box_directly(GfxGraphics* g, uint32_t argb, double x, double y, double w, double h) {
  double box[4];
  raster_device_box(g->cr, x, y, x + w, y + h, box);
  constexpr double FAR = 1e6;
  if (!(box[0] > -FAR && box[1] > -FAR && box[2] < FAR && box[3] < FAR)) return false;
  const double inner[4] = {std::ceil(box[0]), std::ceil(box[1]), std::floor(box[2]), std::floor(box[3])};
  const int32_t keep[4] = {int32_t(std::clamp(inner[0], 0.0, double(g->image->width))),
                           int32_t(std::clamp(inner[1], 0.0, double(g->image->height))),
                           int32_t(std::clamp(inner[2], 0.0, double(g->image->width))),
                           int32_t(std::clamp(inner[3], 0.0, double(g->image->height)))};
  if (!(keep[2] > keep[0] && keep[3] > keep[1])) return false;
  raster_settle(g, keep);
  cairo_surface_flush(g->surface);
  gfx_fill_pixels(g->image, keep[0], keep[1], keep[2], keep[3], gfx_solid_pixel(argb));
  cairo_surface_mark_dirty_rectangle(g->surface, keep[0], keep[1], keep[2] - keep[0], keep[3] - keep[1]);
  const double strips[4][4] = {{box[0], box[1], box[2], inner[1]},
                               {box[0], inner[3], box[2], box[3]},
                               {box[0], inner[1], inner[0], inner[3]},
                               {inner[2], inner[1], box[2], inner[3]}};
  cairo_t* cr = g->cr;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  raster_set_source(cr, argb);
  for (const double* s : strips) {
    if (!(s[2] > s[0] && s[3] > s[1])) continue;
    cairo_new_path(cr);
    cairo_rectangle(cr, s[0], s[1], s[2] - s[0], s[3] - s[1]);
    cairo_fill(cr);
  }
  cairo_restore(cr);
  return true;
}

// A fill that sets the pixels it covers wholly, whatever lay there: opaque, not turned.
bool opaque_upright(const GfxGraphics* g, uint32_t argb) {
  return (argb >> 24) == 0xFF && g->m.m12 == 0 && g->m.m21 == 0;
}

}  // namespace

bool raster_fill_covers_image(GfxGraphics* g, uint32_t argb, double x, double y, double w, double h,
                              int32_t edge) {
  if (!opaque_upright(g, argb) || g->clip_on || !(w > 0 && h > 0)) return false;
  apply_world(g);
  double box[4];
  raster_device_box(g->cr, x, y, x + w, y + h, box);
  return box[0] <= edge && box[1] <= edge && box[2] >= g->image->width - edge && box[3] >= g->image->height - edge;
}

void raster_fill_rect(GfxGraphics* g, const GfxBrush* brush, double x, double y, double w, double h) {
  if (w <= 0 || h <= 0) return;
  GfxPointF r[4] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
  ClipBypass bypass(g, r, 4, 1);
  if (bypass.hidden) return;
  apply_world(g);
  if (bypass.unclipped() && opaque_upright(g, brush->argb) && fill_box_directly(g, brush->argb, x, y, w, h))
    return;
  raster_settle(g);
  cairo_new_path(g->cr);
  path_polygon(g, r, 4);
  raster_set_source(g->cr, brush->argb);
  cairo_fill(g->cr);
}

namespace {

double text_width(cairo_t* cr, const std::string& s) {
  cairo_text_extents_t te;
  cairo_text_extents(cr, s.c_str(), &te);
  return te.x_advance;
}

// Length of the longest prefix of `s` (whole UTF-8 characters, at least one) that
// fits `width`.
size_t fitting_prefix(cairo_t* cr, const std::string& s, double width) {
  size_t fit = 0;
  for (size_t i = 1; i <= s.size(); ++i) {
    if (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
    if (fit > 0 && text_width(cr, s.substr(0, i)) > width) break;
    fit = i;
  }
  return fit;
}

// The lines of `utf8`: split at line feeds and, when `width` is above 0, wrapped
// at spaces so that each fits the width; a word wider than the box is broken.
std::vector<std::string> layout_lines(cairo_t* cr, const std::string& utf8, double width) {
  std::vector<std::string> out;
  size_t begin = 0;
  while (begin <= utf8.size()) {
    size_t end = utf8.find('\n', begin);
    if (end == std::string::npos) end = utf8.size();
    std::string rest = utf8.substr(begin, end - begin);
    begin = end + 1;
    if (width <= 0) {
      out.push_back(rest);
      continue;
    }
    do {
      std::string line;
      size_t pos = 0;
      while (pos < rest.size()) {
        size_t word_end = rest.find(' ', pos + 1);
        if (word_end == std::string::npos) word_end = rest.size();
        std::string candidate = rest.substr(0, word_end);
        if (!line.empty() && text_width(cr, candidate) > width) break;
        line = candidate;
        pos = word_end;
      }
      if (line.empty() || text_width(cr, line) > width) line = rest.substr(0, fitting_prefix(cr, rest, width));
      out.push_back(line);
      rest = rest.substr(line.size());
      size_t keep = rest.find_first_not_of(' ');
      rest = keep == std::string::npos ? std::string() : rest.substr(keep);
    } while (!rest.empty());
  }
  return out;
}

// Shows a glyph run; a run the clip wholly covers is shown without it (its cut costs
// more than the glyphs), one it leaves out is not shown. A boxed text keeps its box.
// A `tall` run, whose ink cairo would cut where an edge crosses it (show_other_text), is
// shown through masks from its first draw, in pieces they hold.
void show_glyphs(GfxGraphics* g, bool boxed, uint32_t argb, std::span<const cairo_glyph_t> glyphs, bool tall = false) {
  cairo_t* cr = g->cr;
  const bool measured = !boxed && g->clip_on;
  double box[4] = {0, 0, 0, 0};
  if (measured) {
    cairo_text_extents_t te;
    cairo_glyph_extents(cr, glyphs.data(), int(glyphs.size()), &te);
    // The ink box from the first glyph's origin.
    double left = glyphs[0].x + te.x_bearing, top = glyphs[0].y + te.y_bearing;
    raster_device_box(cr, left, top, left + te.width, top + te.height, box);
    // Anti-aliased ink reaches past the outlines' box.
    box[0] -= 2, box[1] -= 2, box[2] += 2, box[3] += 2;
  }
  ClipBypass bypass(g, box[0], box[1], box[2], box[3], measured);
  if (bypass.hidden) return;
  // Through the clip's coverage: cairo would cut the clip out again for each run.
  GfxClipCoverage clip{};
  if (bypass.part()) clip = raster_clip_coverage(g, true);
  const bool kept = bypass.part() ? clip.image != nullptr : !boxed;
  const size_t piece = tall ? size_t(GFX_KEPT_RUN_GLYPHS) : glyphs.size();
  for (size_t at = 0; at < glyphs.size(); at += piece) {
    const std::span<const cairo_glyph_t> run = glyphs.subspan(at, std::min(piece, glyphs.size() - at));
    if (kept && raster_kept_glyphs(g, cr, argb, run, bypass.part() ? &clip : nullptr, tall)) continue;
    if (g->cr != cr) raster_take_matrix_and_font(g->cr, cr);
    raster_set_source(g->cr, argb);
    cairo_show_glyphs(g->cr, run.data(), int(run.size()));
  }
}

// Shows a line holding characters the glyph tables do not, from the current point, as
// cairo lays it out. Where an edge crosses a line, a band's among them, cairo cuts its ink
// at the font's ascent, which hinting lifts the marks of accented capitals past from a
// pixel below: such a line is shown as a tall run.
void show_other_text(GfxGraphics* g, bool boxed, uint32_t argb, const std::string& line,
                     const cairo_font_extents_t& fe) {
  cairo_t* cr = g->cr;
  double x = 0, y = 0;
  cairo_get_current_point(cr, &x, &y);
  // Converted once, as cairo_show_text converts it, then measured and shown.
  cairo_glyph_t* glyphs = nullptr;
  int n = 0;
  if (cairo_scaled_font_text_to_glyphs(cairo_get_scaled_font(cr), x, y, line.c_str(), int(line.size()), &glyphs, &n,
                                       nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS) {
    cairo_show_text(cr, line.c_str());  // refused as cairo would refuse it
  } else if (n > 0) {
    cairo_text_extents_t te;
    cairo_glyph_extents(cr, glyphs, n, &te);
    double pixel_x = 0, pixel_y = 1;
    cairo_device_to_user_distance(cr, &pixel_x, &pixel_y);
    if (te.height > 0 && te.y_bearing < -fe.ascent + std::hypot(pixel_x, pixel_y))
      show_glyphs(g, boxed, argb, {glyphs, size_t(n)}, true);
    else
      cairo_show_glyphs(cr, glyphs, n);
  }
  cairo_glyph_free(glyphs);
}

// Longest text blended by kept_text and turned_text.
constexpr size_t KEPT_TEXT_CHARS = 12;

// A text they take: at most KEPT_TEXT_CHARS outside a box (a line break has no glyph in
// the table, so text_pixels refuses it).
bool short_line(const std::string& utf8, GfxRectF layout) {
  return !(layout.width > 0 || utf8.empty() || utf8.size() > KEPT_TEXT_CHARS);
}

// The glyphs of a one-line text of at most KEPT_TEXT_CHARS outside a box, from table `t`,
// the pixels raster_text shows them at through `steady` (its current point on cairo's
// grid of 1/256 pixel included) and the device box of their outlines' ink there; false
// for any other text.
bool text_pixels(const GfxGraphics* g, const std::string& utf8, const GfxFont* font, GfxRectF layout,
                 GfxGlyphTable* t, const GfxMatrix& steady, uint32_t* index, int32_t* pixel, double ink[4]) {
  if (!short_line(utf8, layout)) return false;
  const double off = gfx_pixel_offset_half(g) ? 0.0 : 0.5;
  cairo_matrix_t ctm, inverse;
  cairo_matrix_init(&ctm, steady.m11, steady.m12, steady.m21, steady.m22, steady.dx + off, steady.dy + off);
  inverse = ctm;
  if (cairo_matrix_invert(&inverse) != CAIRO_STATUS_SUCCESS) return false;
  double x = layout.x + font->size / 6.0, y = layout.y + gfx_text_font_ascent(t);
  cairo_matrix_transform_point(&ctm, &x, &y);
  if (!(std::fabs(x) < 1e6 && std::fabs(y) < 1e6)) return false;
  x = std::nearbyint(x * 256) / 256, y = std::nearbyint(y * 256) / 256;
  cairo_matrix_transform_point(&inverse, &x, &y);
  double user[4] = {INFINITY, INFINITY, -INFINITY, -INFINITY};
  for (size_t i = 0; i < utf8.size(); ++i) {
    GfxTextGlyph glyph;
    double dx = x, dy = y;
    if (!gfx_text_glyph(t, utf8[i], &glyph)) return false;
    index[i] = glyph.index;
    cairo_matrix_transform_point(&ctm, &dx, &dy);
    if (!(std::fabs(dx) < 1e6 && std::fabs(dy) < 1e6)) return false;
    pixel[2 * i] = int32_t(std::floor(dx + 0.5)), pixel[2 * i + 1] = int32_t(std::floor(dy + 0.5));
    user[0] = gfx_fmin(user[0], x + glyph.ink[0]), user[1] = gfx_fmin(user[1], y + glyph.ink[1]);
    user[2] = gfx_fmax(user[2], x + glyph.ink[2]), user[3] = gfx_fmax(user[3], y + glyph.ink[3]);
    x += glyph.x_advance, y += glyph.y_advance;
  }
  raster_device_box(ctm, user[0], user[1], user[2], user[3], ink);
  return true;
}

// Whether a text of that ink box shows nothing: wholly beyond the image or outside the
// clip, by more than its glyphs' moves to whole pixels, anti-aliasing's reach and `slack`.
bool ink_hidden(const GfxGraphics* g, const double ink[4], double slack = 0) {
  const double reach = 4 + slack;
  const double x0 = ink[0] - reach, y0 = ink[1] - reach, x1 = ink[2] + reach, y1 = ink[3] + reach;
  if (!(x1 > 0 && y1 > 0 && x0 < g->image->width && y0 < g->image->height)) return true;
  return g->clip_on && gfx_clip_cover(g, x0, y0, x1, y1) == GfxCover::NONE;
}

// A one-line text outside a box, its glyph run kept, blended without cairo. False for any
// other text (nothing drawn): raster_text shows it.
bool kept_text(GfxGraphics* g, const std::string& utf8, const GfxFont* font, GfxRectF layout, uint32_t argb,
               const GfxMatrix& steady, bool antialias) {
  const double linear[4] = {steady.m11, steady.m12, steady.m21, steady.m22};
  GfxGlyphTable* t = gfx_find_text_font(font, antialias, linear);
  uint32_t index[KEPT_TEXT_CHARS];
  int32_t pixel[2 * KEPT_TEXT_CHARS];
  double ink[4];
  if (!t || !text_pixels(g, utf8, font, layout, t, steady, index, pixel, ink)) return false;
  // A run not kept yet that shows nothing is not laid out through cairo to find so.
  return raster_blend_kept_run(g, gfx_text_font_scaled(t), index, pixel, int32_t(utf8.size()), argb) ||
         ink_hidden(g, ink);
}

// Turned glyphs take their shapes from a turn on a grid of TURN_STEP_DEG: in a turn a
// text's font, its glyphs and its kept run serve the frames of a step, not one frame
// each. Each glyph stays at the pixel the text's own turn places it at; its outline moves
// by at most an eighth of a pixel (half a step across 14 pixels). Each text's grid is
// shifted by a part of a step drawn from its characters, so that the texts of a turning
// scale do not all step (and make their glyphs again) on one frame.
constexpr double TURN_STEP_DEG = 1.0;

// A scale without the last bits a product of transforms leaves on it.
double settled(double v) {
  int e = 0;
  const double f = std::frexp(v, &e);
  return std::ldexp(std::round(std::ldexp(f, 30)), e - 30);
}

// The linear part of `m`, a turn between two scales along the device's axes (or its
// mirror), with the turn on the grid shifted by `shift` steps (0 to 1); false for a
// transform of another kind.
bool turn_on_grid(const GfxMatrix& m, double shift, GfxMatrix& out) {
  const double sx = std::hypot(m.m11, m.m21), sy = std::hypot(m.m12, m.m22);
  if (!(sx > 1e-6 && sx < 1e6 && sy > 1e-6 && sy < 1e6)) return false;
  const double c = m.m11 / sx, n = m.m12 / sy;
  const double sign = m.m11 * m.m22 - m.m12 * m.m21 < 0 ? -1 : 1;
  if (!(std::fabs(m.m21 + sign * sx * n) <= 1e-9 * sx && std::fabs(m.m22 - sign * sy * c) <= 1e-9 * sy))
    return false;
  const double step = TURN_STEP_DEG * PI / 180;
  const double turn = (std::round(std::atan2(n, c) / step - shift) + shift) * step;
  const double x = settled(sx), y = settled(sy), cq = std::cos(turn), nq = std::sin(turn);
  out = {x * cq, y * nq, -sign * x * nq, sign * y * cq, 0, 0};
  return true;
}

// A turned one-line text outside a box: its glyphs, shaped through the turn on the grid,
// blended from their kept run or shown through cairo at the pixels of the text's own
// turn. False for any other text (nothing drawn).
bool turned_text(GfxGraphics* g, const std::string& utf8, const GfxFont* font, GfxRectF layout, uint32_t argb,
                 const GfxMatrix& steady, bool antialias) {
  // A text square to the pixels (the steady grid takes its turn to a quarter) keeps its own
  // turn: its glyphs are fitted to the pixels.
  const bool square = (steady.m12 == 0 && steady.m21 == 0) || (steady.m11 == 0 && steady.m22 == 0);
  GfxMatrix shape;
  if (square || !short_line(utf8, layout)) return false;
  if (!turn_on_grid(g->m, gfx_text_grid_shift(utf8, font), shape)) return false;
  const double linear[4] = {shape.m11, shape.m12, shape.m21, shape.m22};
  cairo_t* cr = g->cr;
  GfxGlyphTable* t = gfx_find_text_font(font, antialias, linear);
  bool set = false;
  auto set_shape = [&] {
    if (set) return;
    set = true;
    set_world(g, shape);
    gfx_select_font(cr, font, antialias);
    gfx_note_text_font(cr, font, antialias);
  };
  if (!t) {
    set_shape();
    if (!(t = gfx_find_text_font(font, antialias, linear))) return false;
  }
  uint32_t index[KEPT_TEXT_CHARS];
  int32_t pixel[2 * KEPT_TEXT_CHARS];
  double ink[4];
  const int32_t n = int32_t(utf8.size());
  if (!text_pixels(g, utf8, font, layout, t, steady, index, pixel, ink)) return false;
  // The box is of the shapes' turn, up to half a step from the text's own.
  const double slack = (ink[2] - ink[0] + ink[3] - ink[1]) * std::sin(TURN_STEP_DEG / 2 * PI / 180);
  if (raster_blend_kept_run(g, gfx_text_font_scaled(t), index, pixel, n, argb) || ink_hidden(g, ink, slack))
    return true;
  set_shape();
  std::vector<cairo_glyph_t> glyphs(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    double x = pixel[2 * i], y = pixel[2 * i + 1];
    cairo_device_to_user(cr, &x, &y);
    glyphs[size_t(i)] = {index[i], x, y};
  }
  show_glyphs(g, false, argb, glyphs);
  return true;
}

}  // namespace

double gfx_text_grid_shift(const std::string& utf8, const GfxFont* font) {
  uint64_t words[3] = {0, 0, 0};
  std::memcpy(words, utf8.data(), std::min(utf8.size(), 2 * sizeof(uint64_t)));
  std::memcpy(&words[2], &font->size, sizeof font->size);
  return double(gfx_hash_words(words, 3, uint64_t(font->style)) >> 54) / 1024.0;
}

void raster_text(GfxGraphics* g, const std::string& utf8, const GfxFont* font, GfxRectF layout,
                 const GfxBrush* brush) {
  if (beyond(g, layout.x, layout.y)) return;
  raster_settle(g);
  // Laid out through the steady transform, pinned at the layout point.
  GfxMatrix steady = gfx_steady(g->m);
  GfxPointF at = gfx_apply(g->m, layout.x, layout.y), moved = gfx_apply(steady, layout.x, layout.y);
  steady.dx += at.x - moved.x, steady.dy += at.y - moved.y;
  const bool antialias = g->text_hint == GFX_TEXT_DEFAULT || g->text_hint >= GFX_TEXT_ANTIALIAS_FIT;
  if (turned_text(g, utf8, font, layout, brush->argb, steady, antialias) ||
      kept_text(g, utf8, font, layout, brush->argb, steady, antialias))
    return;
  set_world(g, steady);
  cairo_t* cr = g->cr;
  gfx_select_font(cr, font, antialias);
  gfx_note_text_font(cr, font, antialias);
  cairo_font_extents_t fe;
  gfx_font_extents(cr, &fe);
  bool boxed = layout.width > 0 && layout.height > 0;
  if (boxed) {
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, layout.x, layout.y, layout.width, layout.height);
    cairo_clip(cr);
  }
  // The first line's cell starts at the layout point, with a sixth of an em
  // of leading space (and as much trailing space within a box's width).
  double lead = font->size / 6.0;
  double x = layout.x + lead;
  double y = layout.y + fe.ascent;
  raster_set_source(cr, brush->argb);
  std::vector<cairo_glyph_t> glyphs;
  for (const std::string& line : layout_lines(cr, utf8, layout.width > 0 ? layout.width - 2 * lead : 0)) {
    if (!line.empty()) {
      cairo_move_to(cr, x, y);
      // From the current point as cairo keeps it, where cairo_show_text starts.
      double px = 0, py = 0;
      cairo_get_current_point(cr, &px, &py);
      if (gfx_glyph_run(cr, line, px, py, glyphs))
        show_glyphs(g, boxed, brush->argb, glyphs);
      else
        show_other_text(g, boxed, brush->argb, line, fe);
    }
    y += fe.height;
  }
  if (boxed) cairo_restore(cr);
}

namespace {

// A context for measuring texts and strokes, kept between measurements (measuring needs no pixels)
// and released when the graphics stop or the library unloads.
struct MeasuringContext {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  void release() {
    if (cr) cairo_destroy(cr);
    if (surface) cairo_surface_destroy(surface);
    cr = nullptr;
    surface = nullptr;
  }
  ~MeasuringContext() { release(); }
};


cairo_t* measuring_context(const GfxFont* font) {
  cairo_t* cr = raster_measuring_context();
  gfx_select_font(cr, font, true);
  return cr;
}

}  // namespace

cairo_t* raster_measuring_context() {
  MeasuringContext& measuring = gfx_per_thread<MeasuringContext>();
  if (!measuring.cr) {
    measuring.surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    measuring.cr = cairo_create(measuring.surface);
  }
  return measuring.cr;
}

void raster_release_measuring() { gfx_per_thread<MeasuringContext>().release(); }

void raster_take_matrix_and_font(cairo_t* to, cairo_t* from) {
  cairo_matrix_t m;
  cairo_get_matrix(from, &m);
  cairo_set_matrix(to, &m);
  cairo_set_scaled_font(to, cairo_get_scaled_font(from));
}

GfxRectF raster_text_box(const std::string& utf8, const GfxFont* font) {
  cairo_t* cr = measuring_context(font);
  cairo_font_extents_t fe;
  gfx_font_extents(cr, &fe);
  double width = 0;
  int lines = 0;
  size_t begin = 0;
  while (begin <= utf8.size()) {
    size_t end = utf8.find('\n', begin);
    if (end == std::string::npos) end = utf8.size();
    cairo_text_extents_t te;
    cairo_text_extents(cr, utf8.substr(begin, end - begin).c_str(), &te);
    width = std::max(width, te.x_advance);
    ++lines;
    begin = end + 1;
  }
  return {0.0f, 0.0f, float(width + font->size / 3.0), float(lines * fe.height)};
}

std::vector<GfxRectF> raster_glyph_ink(const std::string& utf8, const GfxFont* font, double width) {
  cairo_t* cr = measuring_context(font);
  cairo_font_extents_t fe;
  gfx_font_extents(cr, &fe);
  cairo_scaled_font_t* sf = cairo_get_scaled_font(cr);
  std::vector<GfxRectF> out;
  double base = fe.ascent;
  const double lead = font->size / 6.0;
  for (const std::string& line : layout_lines(cr, utf8, width > 0 ? width - 2 * lead : 0)) {
    cairo_glyph_t* glyphs = nullptr;
    int n = 0;
    if (!line.empty() && cairo_scaled_font_text_to_glyphs(sf, lead, base, line.c_str(), int(line.size()), &glyphs,
                                                          &n, nullptr, nullptr, nullptr) == CAIRO_STATUS_SUCCESS) {
      for (int k = 0; k < n; ++k) {
        cairo_text_extents_t te;
        cairo_scaled_font_glyph_extents(sf, &glyphs[k], 1, &te);
        if (te.width > 0 && te.height > 0)
          out.push_back({float(glyphs[k].x + te.x_bearing), float(glyphs[k].y + te.y_bearing), float(te.width),
                         float(te.height)});
      }
    }
    cairo_glyph_free(glyphs);
    base += fe.height;
  }
  return out;
}

namespace {

// The figures (none empty) as the path, filled even-odd.
void path_figures(cairo_t* cr, const std::vector<std::vector<GfxPointF>>& figures) {
  for (const auto& poly : figures) {
    cairo_move_to(cr, poly[0].x, poly[0].y);
    for (size_t i = 1; i < poly.size(); ++i) cairo_line_to(cr, poly[i].x, poly[i].y);
    cairo_close_path(cr);
  }
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
}

// Every point on one line: the figure has no inside.
bool on_one_line(const std::vector<GfxPointF>& poly) {
  const GfxPointF& a = poly[0];
  for (const GfxPointF& b : poly) {
    if (b.x == a.x && b.y == a.y) continue;
    for (const GfxPointF& p : poly)
      if ((p.x - a.x) * (b.y - a.y) != (p.y - a.y) * (b.x - a.x)) return false;
    return true;
  }
  return true;
}

GfxCover edges_cover(const GfxClipEdges& c, double x0, double y0, double x1, double y1);

// The edges' bounding box, and boxes within the figures: of a square, a wide and a tall
// box about the bounding box's centre, each the largest of a few that the figures hold with
// a pixel to spare all round (a map's round clip holds a square of 70 % of its width, and
// boxes of 90 % across and 40 % high or the other way round).
void find_inner_box(GfxClipEdges& c) {
  double* o = c.outer;
  o[0] = o[1] = INFINITY, o[2] = o[3] = -INFINITY;
  for (const GfxClipEdges::Edge& e : c.edges)
    for (const GfxPointF& p : {e.a, e.b})
      o[0] = gfx_fmin(o[0], p.x), o[1] = gfx_fmin(o[1], p.y), o[2] = gfx_fmax(o[2], p.x), o[3] = gfx_fmax(o[3], p.y);
  for (double* in : c.inner) in[0] = in[1] = INFINITY, in[2] = in[3] = -INFINITY;
  const double w = o[2] - o[0], h = o[3] - o[1];
  if (!(std::isfinite(w) && std::isfinite(h))) return;
  // Cuts from each side, across and down, from the largest box of each kind.
  static constexpr double CUTS[GfxClipEdges::INNER][3][2] = {
      {{0.16, 0.16}, {0.22, 0.22}, {0.3, 0.3}},
      {{0.05, 0.3}, {0.08, 0.33}, {0.12, 0.36}},
      {{0.3, 0.05}, {0.33, 0.08}, {0.36, 0.12}},
  };
  for (int32_t i = 0; i < GfxClipEdges::INNER; ++i)
    for (const auto& [cx, cy] : CUTS[i]) {
      const double box[4] = {o[0] + cx * w, o[1] + cy * h, o[2] - cx * w, o[3] - cy * h};
      if (box[0] < box[2] && box[1] < box[3] &&
          edges_cover(c, box[0] - 1, box[1] - 1, box[2] + 1, box[3] + 1) == GfxCover::ALL) {
        std::copy(box, box + 4, c.inner[i]);
        break;
      }
    }
}

// Files the edges of the clip's figures (kept in `g->clip_edges.figures`) by band over
// the image's rows (and a band's height beyond); the tables keep their room from one clip
// to the next.
void file_clip_edges(GfxGraphics* g) {
  GfxClipEdges& c = g->clip_edges;
  const std::vector<std::vector<GfxPointF>>& polys = c.figures;
  c.edges.clear();
  c.antialias = cairo_get_antialias(g->cr);
  c.coverage_id = 0;
  bool level = true, aligned = true;
  for (const auto& poly : polys)
    for (size_t i = 0; i < poly.size(); ++i) {
      const GfxPointF &a = poly[i], &b = poly[(i + 1) % poly.size()];
      level = level && (a.x == b.x || a.y == b.y);
      aligned = aligned && a.x == std::round(a.x) && a.y == std::round(a.y);
    }
  c.unaligned_boxes = level && !aligned;
  for (const auto& poly : polys)
    if (!on_one_line(poly))
      for (size_t i = 0; i < poly.size(); ++i) c.edges.push_back({poly[i], poly[(i + 1) % poly.size()]});
  c.top = -GfxClipEdges::BAND;
  for (std::vector<int32_t>& band : c.bands) band.clear();
  c.bands.resize(size_t(g->image->height / GfxClipEdges::BAND) + 3);
  double bottom = c.top + double(c.bands.size()) * GfxClipEdges::BAND;
  for (size_t k = 0; k < c.edges.size(); ++k) {
    double lo = gfx_fmax(gfx_fmin(c.edges[k].a.y, c.edges[k].b.y), c.top);
    double hi = gfx_fmin(gfx_fmax(c.edges[k].a.y, c.edges[k].b.y), bottom - 1e-9);
    if (!(lo <= hi)) continue;
    for (auto b = size_t((lo - c.top) / GfxClipEdges::BAND); b <= size_t((hi - c.top) / GfxClipEdges::BAND); ++b)
      c.bands[b].push_back(int32_t(k));
  }
  find_inner_box(c);
}

// An edge meets the box: its bounding box does, and its line leaves the box's corners
// on both sides (or touches one).
bool edge_meets_box(const GfxClipEdges::Edge& e, double x0, double y0, double x1, double y1) {
  const GfxPointF &a = e.a, &b = e.b;
  if (gfx_fmax(a.x, b.x) < x0 || gfx_fmin(a.x, b.x) > x1 || gfx_fmax(a.y, b.y) < y0 || gfx_fmin(a.y, b.y) > y1)
    return false;
  auto side = [&](double x, double y) { return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x); };
  double s0 = side(x0, y0), s1 = side(x1, y0), s2 = side(x0, y1), s3 = side(x1, y1);
  bool all_pos = s0 > 0 && s1 > 0 && s2 > 0 && s3 > 0, all_neg = s0 < 0 && s1 < 0 && s2 < 0 && s3 < 0;
  return !all_pos && !all_neg;
}

// Distance from p to segment a-b.
double point_to_segment(GfxPointF p, GfxPointF a, GfxPointF b) {
  double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// Segments a-b and c-d come closer than `reach` (or cross).
bool segments_within(GfxPointF a, GfxPointF b, GfxPointF c, GfxPointF d, double reach) {
  if (gfx_fmin(a.x, b.x) - reach > gfx_fmax(c.x, d.x) || gfx_fmin(c.x, d.x) - reach > gfx_fmax(a.x, b.x) ||
      gfx_fmin(a.y, b.y) - reach > gfx_fmax(c.y, d.y) || gfx_fmin(c.y, d.y) - reach > gfx_fmax(a.y, b.y))
    return false;
  auto side = [](GfxPointF p, GfxPointF q, GfxPointF r) {
    return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
  };
  double s1 = side(a, b, c), s2 = side(a, b, d), s3 = side(c, d, a), s4 = side(c, d, b);
  if (((s1 < 0 && s2 > 0) || (s1 > 0 && s2 < 0)) && ((s3 < 0 && s4 > 0) || (s3 > 0 && s4 < 0))) return true;
  return gfx_fmin(gfx_fmin(point_to_segment(a, c, d), point_to_segment(b, c, d)),
                   gfx_fmin(point_to_segment(c, a, b), point_to_segment(d, a, b))) < reach;
}

// The edge crosses the horizontal line through (x, y) right of x.
bool crosses_right_of(const GfxClipEdges::Edge& e, double x, double y) {
  const GfxPointF &a = e.a, &b = e.b;
  return (a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
}

}  // namespace

void raster_set_clip(GfxGraphics* g, const std::vector<std::vector<GfxPointF>>& device_polys) {
  cairo_t* cr = g->cr;
  cairo_reset_clip(cr);
  cairo_identity_matrix(cr);
  cairo_new_path(cr);
  std::vector<std::vector<GfxPointF>>& kept = g->clip_edges.figures;
  size_t n = 0;
  for (const auto& poly : device_polys) {
    if (poly.empty()) continue;
    if (kept.size() == n) kept.emplace_back();
    std::vector<GfxPointF>& k = kept[n++];
    k.clear();
    for (const GfxPointF& p : poly) k.push_back({p.x + 0.5, p.y + 0.5});
  }
  kept.resize(n);
  path_figures(cr, kept);
  cairo_clip(cr);
  double* e = g->clip_edges.extents;
  cairo_clip_extents(cr, &e[0], &e[1], &e[2], &e[3]);
  e[0] = std::floor(e[0]), e[1] = std::floor(e[1]), e[2] = std::ceil(e[2]), e[3] = std::ceil(e[3]);
  file_clip_edges(g);
}

namespace {

// Whether the clip's figures hold all of the box, none of it or a part.
GfxCover edges_cover(const GfxClipEdges& c, double x0, double y0, double x1, double y1) {
  double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  bool inside = false;  // the box's centre, by even-odd crossings
  double first = (y0 - c.top) / GfxClipEdges::BAND, last = (y1 - c.top) / GfxClipEdges::BAND;
  if (first >= 0 && last < double(c.bands.size())) {
    for (auto b = size_t(first); b <= size_t(last); ++b)
      for (int32_t k : c.bands[b])
        if (edge_meets_box(c.edges[size_t(k)], x0, y0, x1, y1)) return GfxCover::PART;
    for (int32_t k : c.bands[size_t((cy - c.top) / GfxClipEdges::BAND)])
      if (crosses_right_of(c.edges[size_t(k)], cx, cy)) inside = !inside;
  } else {
    for (const GfxClipEdges::Edge& e : c.edges) {
      if (edge_meets_box(e, x0, y0, x1, y1)) return GfxCover::PART;
      if (crosses_right_of(e, cx, cy)) inside = !inside;
    }
  }
  return inside ? GfxCover::ALL : GfxCover::NONE;
}

}  // namespace

GfxCover gfx_clip_cover(const GfxGraphics* g, double x0, double y0, double x1, double y1) {
  if (!g->clip_on) return GfxCover::ALL;
  const GfxClipEdges& c = g->clip_edges;
  // Within an inner box: a pixel and more from every edge. Beyond the edges' box (a pixel
  // to spare across, where their crossings are measured): no edge, and an even count of
  // crossings on every row.
  for (const double* in : c.inner)
    if (gfx_box_within(in, x0, y0, x1, y1)) return GfxCover::ALL;
  const double* o = c.outer;
  if (x1 < o[0] - 1 || x0 > o[2] + 1 || y1 < o[1] || y0 > o[3]) return GfxCover::NONE;
  return edges_cover(c, x0, y0, x1, y1);
}

GfxCover gfx_clip_cover_path(const GfxGraphics* g, const GfxPointF* pts, int32_t n, double reach) {
  if (!g->clip_on) return GfxCover::ALL;
  if (n < 1) return GfxCover::NONE;
  const GfxClipEdges& c = g->clip_edges;
  // Every point within one inner box by `reach`: the path keeps a pixel more from every edge.
  for (const double* in : c.inner) {
    bool held = reach >= 0;
    for (int32_t i = 0; i < n && held; ++i) held = gfx_box_within(in, pts[i].x, pts[i].y, pts[i].x, pts[i].y, reach);
    if (held) return GfxCover::ALL;
  }
  const double bands = double(c.bands.size());
  // Each segment (a lone point as its own), against the edges filed in the bands it reaches.
  for (int32_t i = 0; i < (n > 1 ? n - 1 : 1); ++i) {
    const GfxPointF& a = pts[i];
    const GfxPointF& b = pts[n > 1 ? i + 1 : i];
    double first = (gfx_fmin(a.y, b.y) - reach - c.top) / GfxClipEdges::BAND;
    double last = (gfx_fmax(a.y, b.y) + reach - c.top) / GfxClipEdges::BAND;
    if (!(first >= 0 && last < bands)) {
      for (const GfxClipEdges::Edge& e : c.edges)
        if (segments_within(e.a, e.b, a, b, reach)) return GfxCover::PART;
      continue;
    }
    for (auto band = size_t(first); band <= size_t(last); ++band)
      for (int32_t k : c.bands[band])
        if (segments_within(c.edges[size_t(k)].a, c.edges[size_t(k)].b, a, b, reach)) return GfxCover::PART;
  }
  // No edge comes near the path: it lies wholly on one side, that of its first point.
  return gfx_clip_cover(g, pts[0].x, pts[0].y, pts[0].x, pts[0].y) == GfxCover::NONE ? GfxCover::NONE
                                                                                      : GfxCover::ALL;
}

namespace {

struct KeptCoverage {
  std::vector<std::vector<GfxPointF>> figures;
  cairo_antialias_t antialias;
  int32_t width, height;  // of the image
  bool glyphs;            // as cairo cuts glyphs (a clip of unaligned boxes)
  GfxClipCoverage coverage;
  cairo_surface_t* surface;
  uint64_t used;
  uint64_t id;
  std::unique_ptr<int32_t[]> full;  // the coverage's spans covered wholly
};

// The coverages of the clips met last, the least recently used let go first.
struct KeptCoverages {
  static constexpr size_t CAPACITY = 64;
  std::vector<KeptCoverage> kept;
  uint64_t clock = 0, made = 0;
  static void drop(KeptCoverage& k) {
    if (k.coverage.image) pixman_image_unref(k.coverage.image);
    if (k.surface) cairo_surface_destroy(k.surface);
  }
  void release() {
    for (KeptCoverage& k : kept) drop(k);
    kept.clear();
  }
  ~KeptCoverages() { release(); }
};


// The whole pixels cairo keeps of glyphs under a clip of one box off the pixel grid: those
// the box reaches (anti-aliased), or whose centres it holds (x0 <= centre < x1); false
// for a clip of other figures.
bool glyph_cut(const GfxClipEdges& c, int32_t box[4]) {
  if (c.figures.size() != 1) return false;
  double e[4] = {INFINITY, INFINITY, -INFINITY, -INFINITY};
  for (const GfxPointF& p : c.figures[0]) {
    e[0] = gfx_fmin(e[0], p.x), e[1] = gfx_fmin(e[1], p.y);
    e[2] = gfx_fmax(e[2], p.x), e[3] = gfx_fmax(e[3], p.y);
  }
  for (const GfxPointF& p : c.figures[0])
    if (!((p.x == e[0] || p.x == e[2]) && (p.y == e[1] || p.y == e[3]))) return false;
  for (int32_t i = 0; i < 4; ++i) {
    const double v = c.antialias == CAIRO_ANTIALIAS_NONE ? std::ceil(e[i] - 0.5) : i < 2 ? std::floor(e[i]) : std::ceil(e[i]);
    if (!(std::fabs(v) < 1e6)) return false;
    box[i] = int32_t(v);
  }
  return true;
}

// For each row of an A8 image, the longest span of bytes of 255.
std::unique_ptr<int32_t[]> full_spans(pixman_image_t* image) {
  const int32_t w = pixman_image_get_width(image), h = pixman_image_get_height(image);
  const int32_t stride = pixman_image_get_stride(image);
  const auto* bits = reinterpret_cast<const uint8_t*>(pixman_image_get_data(image));
  auto spans = std::make_unique<int32_t[]>(2 * size_t(h));
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* row = bits + size_t(y) * size_t(stride);
    int32_t best0 = 0, best1 = 0;
    for (int32_t x = 0; x < w;) {
      if (row[x] != 0xFF) {
        ++x;
        continue;
      }
      int32_t end = x;
      while (end < w && row[end] == 0xFF) ++end;
      if (end - x > best1 - best0) best0 = x, best1 = end;
      x = end;
    }
    spans[2 * size_t(y)] = best0, spans[2 * size_t(y) + 1] = best1;
  }
  return spans;
}

// The clip's figures filled, over its extents within the image; for `glyphs` under a clip
// of unaligned boxes, the pixels cairo keeps of them.
KeptCoverage make_coverage(const GfxGraphics* g, bool glyphs) {
  const GfxClipEdges& c = g->clip_edges;
  const int32_t width = g->image->width, height = g->image->height;
  KeptCoverage k{c.figures, c.antialias, width, height, glyphs, {nullptr, 0, 0}, nullptr, 0, 0};
  int32_t box[4];
  if (glyphs) {
    if (!glyph_cut(c, box)) return k;
  } else {
    const double* e = c.extents;
    box[0] = int32_t(gfx_fmax(e[0], 0.0)), box[1] = int32_t(gfx_fmax(e[1], 0.0));
    box[2] = int32_t(gfx_fmin(e[2], double(width))), box[3] = int32_t(gfx_fmin(e[3], double(height)));
  }
  k.coverage.x = std::max(box[0], 0), k.coverage.y = std::max(box[1], 0);
  const int32_t w = std::min(box[2], width) - k.coverage.x, h = std::min(box[3], height) - k.coverage.y;
  if (w <= 0 || h <= 0) return k;
  k.surface = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
  cairo_t* cr = cairo_create(k.surface);
  if (glyphs) {
    cairo_paint(cr);
  } else {
    cairo_set_antialias(cr, c.antialias);
    cairo_translate(cr, -k.coverage.x, -k.coverage.y);
    path_figures(cr, c.figures);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  cairo_surface_flush(k.surface);
  k.coverage.image = raster_a8_pixels(k.surface);
  if (k.coverage.image) k.coverage.full = (k.full = full_spans(k.coverage.image)).get();
  return k;
}

}  // namespace

GfxClipCoverage raster_clip_coverage(GfxGraphics* g, bool glyphs) {
  KeptCoverages& coverages = gfx_per_thread<KeptCoverages>();
  GfxClipEdges& c = g->clip_edges;
  if (!g->clip_on) return {nullptr, 0, 0};
  // Cairo cuts glyphs along unaligned box edges by whole pixels, strokes by coverage.
  const bool cut = glyphs && c.unaligned_boxes;
  ++coverages.clock;
  for (KeptCoverage& k : coverages.kept)
    if (k.glyphs == cut && (k.id == c.coverage_id || (k.antialias == c.antialias && k.width == g->image->width &&
                                                      k.height == g->image->height &&
                                                      same_figures(k.figures, c.figures)))) {
      k.used = coverages.clock;
      c.coverage_id = k.id;
      return k.coverage;
    }
  std::vector<KeptCoverage>& kept = coverages.kept;
  if (kept.size() >= std::max(gfx_thread_part(KeptCoverages::CAPACITY), size_t(8))) {
    auto oldest = std::min_element(kept.begin(), kept.end(),
                                   [](const KeptCoverage& a, const KeptCoverage& b) { return a.used < b.used; });
    KeptCoverages::drop(*oldest);
    kept.erase(oldest);
  }
  kept.push_back(make_coverage(g, cut));
  kept.back().used = coverages.clock;
  kept.back().id = c.coverage_id = ++coverages.made;
  return kept.back().coverage;
}

void raster_release_clip_coverages() { gfx_per_thread<KeptCoverages>().release(); }

pixman_image_t* raster_a8_pixels(cairo_surface_t* surface) {
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return nullptr;
  return pixman_image_create_bits(PIXMAN_a8, cairo_image_surface_get_width(surface),
                                  cairo_image_surface_get_height(surface),
                                  reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface)),
                                  cairo_image_surface_get_stride(surface));
}

void raster_reset_clip(GfxGraphics* g) {
  cairo_reset_clip(g->cr);
  g->clip_edges.forget();
}
