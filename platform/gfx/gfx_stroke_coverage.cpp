// Solid strokes rasterised without cairo: the outline cairo's stroker makes (its faces,
// joins and caps on points of 1/256 pixel), filled by non-zero winding into A8 coverage
// by exact area: each pixel row is cut into bands at its edges' ends and crossings, and
// the non-zero spans of a band are trapezoids. (cairo samples 15 sub-rows where edges
// end: its edge pixels differ by a sub-row at most.) The buffers are kept between strokes.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gfx/gfx_internal.h"

namespace {

constexpr double PI = 3.14159265358979323846;
// cairo's default miter limit: sharper joins are bevelled.
constexpr double MITER_LIMIT = 10;
// How far (device pixels) a flattened arc may stray from the curve.
constexpr double ARC_TOLERANCE = 0.05;
// Arcs needing more points are left to cairo.
constexpr int32_t MAX_ARC_POINTS = 4096;

// Points in cairo's 24.8 fixed point, kept well within its range (pixels).
constexpr double FIXED_RANGE = 4.0e6;
struct Fixed {
  int32_t x, y;
  bool operator==(const Fixed& o) const { return x == o.x && y == o.y; }
};

int32_t to_fixed(double v) { return int32_t(std::nearbyint(v * 256.0)); }
double from_fixed(int32_t v) { return v / 256.0; }

// A face of a segment: its point, the pen's two sides there, its unit device direction
// and its device vector (fixed).
struct Face {
  Fixed point, cw, ccw;
  double ux, uy;
  Fixed vector;
};

struct Edge {
  double top, bottom;  // y, top < bottom
  double x, dxdy;      // x at the top, and its change per unit of y
  int32_t dir;
};

// An edge across the band at hand: x at its top and bottom, from the box's left side.
struct Crossing {
  double xt, xb;
  int32_t dir;
};

struct Workspace {
  // The pen: world-to-device linear part (m11 m12 m21 m22), its inverse, half its width.
  double m[4], inv[4];
  bool identity, det_positive;
  double half;
  std::vector<Edge> edges;
  std::vector<Fixed> cw, ccw, points;
  std::vector<int32_t> active;  // the edges reaching the row at hand
  std::vector<double> cuts;      // the row's bands' sides
  std::vector<Crossing> band, below;
  std::vector<float> acc;
  std::vector<uint8_t> bits;
  struct Interval {
    int32_t lo, hi;  // the cells a span's deposits touch, inclusive
  };
  std::vector<Interval> intervals;
  std::vector<GfxCoverageRun> runs;
};


// cairo's normalisation of a slope, exact along the axes.
void normalize(double& dx, double& dy) {
  if (dx == 0) {
    dy = dy > 0 ? 1.0 : -1.0;
  } else if (dy == 0) {
    dx = dx > 0 ? 1.0 : -1.0;
  } else {
    const double mag = std::hypot(dx, dy);
    dx /= mag, dy /= mag;
  }
}

Face compute_face(Fixed p, double sx, double sy, Fixed vector) {
  Workspace& ws = gfx_per_thread<Workspace>();
  normalize(sx, sy);
  Face f{p, p, p, sx, sy, vector};
  double fx, fy;
  if (!ws.identity) {
    double ux = ws.inv[0] * sx + ws.inv[2] * sy, uy = ws.inv[1] * sx + ws.inv[3] * sy;
    normalize(ux, uy);
    if (ws.det_positive)
      fx = -uy * ws.half, fy = ux * ws.half;
    else
      fx = uy * ws.half, fy = -ux * ws.half;
    const double dx = ws.m[0] * fx + ws.m[2] * fy, dy = ws.m[1] * fx + ws.m[3] * fy;
    fx = dx, fy = dy;
  } else {
    fx = -sy * ws.half, fy = sx * ws.half;
  }
  const Fixed off{to_fixed(fx), to_fixed(fy)};
  f.ccw = {p.x + off.x, p.y + off.y};
  f.cw = {p.x - off.x, p.y - off.y};
  return f;
}

// cairo's comparison of two slopes by angle (anti-parallel ones told apart).
int32_t slope_compare(Fixed a, Fixed b) {
  const int64_t l = int64_t(a.y) * b.x, r = int64_t(b.y) * a.x;
  if (l != r) return l < r ? -1 : 1;
  if ((a.x ^ b.x) < 0 || (a.y ^ b.y) < 0) return a.x > 0 || (a.x == 0 && a.y < 0) ? 1 : -1;
  return 0;
}

int32_t sign_of_cross(double dx1, double dy1, double dx2, double dy2) {
  const double c = dx1 * dy2 - dx2 * dy1;
  return c > 0 ? 1 : c < 0 ? -1 : 0;
}

void add_edge(Fixed a, Fixed b, int32_t dir) {
  Workspace& ws = gfx_per_thread<Workspace>();
  if (a.y == b.y) return;
  if (a.y > b.y) std::swap(a, b), dir = -dir;
  const double top = from_fixed(a.y), bottom = from_fixed(b.y);
  ws.edges.push_back({top, bottom, from_fixed(a.x), (from_fixed(b.x) - from_fixed(a.x)) / (bottom - top), dir});
}

void add_contour(const std::vector<Fixed>& c, int32_t dir, bool closed) {
  for (size_t i = 1; i < c.size(); ++i) add_edge(c[i - 1], c[i], dir);
  if (closed && c.size() > 1) add_edge(c.back(), c.front(), dir);
}

// The outer side of a join: the miter point where it is within the limit (and between
// the faces), else a bevel to the outgoing face.
void outer_join(const Face& in, const Face& out, bool clockwise) {
  Workspace& ws = gfx_per_thread<Workspace>();
  if (in.cw == out.cw && in.ccw == out.ccw) return;
  const Fixed inpt = clockwise ? in.cw : in.ccw, outpt = clockwise ? out.cw : out.ccw;
  std::vector<Fixed>& outer = clockwise ? ws.cw : ws.ccw;
  const double in_dot_out = in.ux * out.ux + in.uy * out.uy;
  if (2 <= MITER_LIMIT * MITER_LIMIT * (1 + in_dot_out)) {
    const double x1 = from_fixed(inpt.x), y1 = from_fixed(inpt.y), dx1 = in.ux, dy1 = in.uy;
    const double x2 = from_fixed(outpt.x), y2 = from_fixed(outpt.y), dx2 = out.ux, dy2 = out.uy;
    const double my = ((x2 - x1) * dy1 * dy2 - y2 * dx2 * dy1 + y1 * dx1 * dy2) / (dx1 * dy2 - dx2 * dy1);
    const double mx = std::fabs(dy1) >= std::fabs(dy2) ? (my - y1) * dx1 / dy1 + x1 : (my - y2) * dx2 / dy2 + x2;
    const double ix = from_fixed(in.point.x), iy = from_fixed(in.point.y);
    // Nearly parallel faces can put the point outside them: then a bevel (as for a point
    // beyond the range of the fixed point).
    if (sign_of_cross(x1 - ix, y1 - iy, mx - ix, my - iy) != sign_of_cross(x2 - ix, y2 - iy, mx - ix, my - iy) &&
        std::fabs(mx) < FIXED_RANGE && std::fabs(my) < FIXED_RANGE) {
      outer.back() = {to_fixed(mx), to_fixed(my)};
      return;
    }
  }
  outer.push_back(outpt);
}

// The inner side of a join runs through the joint.
void inner_join(const Face& in, const Face& out, bool clockwise) {
  Workspace& ws = gfx_per_thread<Workspace>();
  std::vector<Fixed>& inner = clockwise ? ws.ccw : ws.cw;
  inner.push_back(in.point);
  inner.push_back(clockwise ? out.ccw : out.cw);
}

// The two sides of an open figure and its butt ends, as edges.
void close_open_figure(const Face& first, const Face& last) {
  Workspace& ws = gfx_per_thread<Workspace>();
  ws.ccw.push_back(last.cw);
  add_contour(ws.ccw, -1, false);
  add_edge(first.cw, first.ccw, -1);
  add_contour(ws.cw, 1, false);
}

// Largest stretch of the 2x2 linear part (a bound: its Frobenius norm).
double stretch(double a, double b, double c, double d) { return std::sqrt(a * a + b * b + c * c + d * d); }

}  // namespace

void gfx_coverage_begin(const GfxMatrix& world, double width) {
  Workspace& ws = gfx_per_thread<Workspace>();
  ws.edges.clear();
  const bool hairline = !(width > 0);
  const double m[4] = {world.m11, world.m12, world.m21, world.m22};
  for (int32_t i = 0; i < 4; ++i) ws.m[i] = hairline ? (i == 0 || i == 3 ? 1.0 : 0.0) : m[i];
  ws.half = hairline ? 0.5 : width / 2;
  const double det = ws.m[0] * ws.m[3] - ws.m[1] * ws.m[2];
  ws.det_positive = det >= 0;
  ws.identity = ws.m[0] == 1 && ws.m[1] == 0 && ws.m[2] == 0 && ws.m[3] == 1;
  const double k = det != 0 ? 1 / det : 0;
  ws.inv[0] = ws.m[3] * k, ws.inv[1] = -ws.m[1] * k, ws.inv[2] = -ws.m[2] * k, ws.inv[3] = ws.m[0] * k;
}

void gfx_coverage_polyline(const GfxPointF* device, int32_t n) {
  Workspace& ws = gfx_per_thread<Workspace>();
  if (n < 2) return;
  ws.cw.clear();
  ws.ccw.clear();
  Face current{}, first{};
  bool started = false;
  Fixed at{to_fixed(device[0].x), to_fixed(device[0].y)};
  for (int32_t i = 1; i < n; ++i) {
    const Fixed to{to_fixed(device[i].x), to_fixed(device[i].y)};
    if (to == at) continue;  // a zero-length segment has no direction
    const Fixed v{to.x - at.x, to.y - at.y};
    const Face start = compute_face(at, from_fixed(v.x), from_fixed(v.y), v);
    if (started) {
      if (const int32_t turn = slope_compare(current.vector, start.vector)) {
        outer_join(current, start, turn < 0);
        inner_join(current, start, turn < 0);
      }
    } else {
      first = start;
      started = true;
      ws.cw.push_back(start.cw);
      ws.ccw.push_back(start.ccw);
    }
    current = start;
    current.point = to;
    current.cw = {start.cw.x + v.x, start.cw.y + v.y};
    current.ccw = {start.ccw.x + v.x, start.ccw.y + v.y};
    ws.cw.push_back(current.cw);
    ws.ccw.push_back(current.ccw);
    at = to;
  }
  if (started) close_open_figure(first, current);
}

bool gfx_coverage_arc(const GfxMatrix& device, double x, double y, double w, double h, double start, double sweep) {
  Workspace& ws = gfx_per_thread<Workspace>();
  const double a = w / 2, b = h / 2;
  if (!(a > 0 && b > 0) || sweep == 0) return true;
  sweep = std::clamp(sweep, -360.0, 360.0);
  const bool closed = std::fabs(sweep) >= 360;
  const double t0 = gfx_ellipse_param(a, b, start);
  double t1 = closed ? t0 + (sweep > 0 ? 2 * PI : -2 * PI) : gfx_ellipse_param(a, b, start + sweep);
  // As cairo turns the end angle the arc's way from the start.
  if ((sweep > 0 && t1 < t0) || (sweep < 0 && t1 > t0)) {
    const double r = std::fmod(t1 - t0, 2 * PI);
    t1 = t0 + r + (sweep > 0 ? (r < 0 ? 2 * PI : 0) : (r > 0 ? -2 * PI : 0));
  }
  if (t1 == t0) return true;
  // Steps short enough that the offset curves stray no more than the tolerance.
  const double reach = stretch(device.m11 * a, device.m12 * a, device.m21 * b, device.m22 * b) +
                       ws.half * stretch(ws.m[0], ws.m[1], ws.m[2], ws.m[3]);
  const double step = 2 * std::acos(gfx_fmax(1 - ARC_TOLERANCE / gfx_fmax(reach, ARC_TOLERANCE), -1.0));
  const double steps = std::ceil(std::fabs(t1 - t0) / step);
  if (!(steps <= MAX_ARC_POINTS)) return false;
  const int32_t n = std::max(int32_t(steps), closed ? 8 : 1);
  ws.cw.clear();
  ws.ccw.clear();
  const double cx = x + a, cy = y + b, turn = sweep > 0 ? 1.0 : -1.0;
  Face first{}, last{};
  // The points turned one step at a time (no more than a few thousand steps).
  const double dt = (t1 - t0) / n, cd = std::cos(dt), sd = std::sin(dt);
  double c = std::cos(t0), s = std::sin(t0);
  for (int32_t i = 0; i <= n - (closed ? 1 : 0); ++i) {
    if (i > 0) {
      const double turned = c * cd - s * sd;
      s = s * cd + c * sd, c = turned;
    }
    const GfxPointF p = gfx_apply(device, cx + a * c, cy + b * s);
    const double tx = -a * s * turn, ty = b * c * turn;  // world tangent
    const double dx = device.m11 * tx + device.m21 * ty, dy = device.m12 * tx + device.m22 * ty;
    if (dx == 0 && dy == 0) return false;
    last = compute_face({to_fixed(p.x), to_fixed(p.y)}, dx, dy, {0, 0});
    if (i == 0) first = last;
    ws.cw.push_back(last.cw);
    ws.ccw.push_back(last.ccw);
  }
  if (closed) {
    add_contour(ws.cw, 1, true);
    add_contour(ws.ccw, -1, true);
  } else {
    close_open_figure(first, last);
  }
  return true;
}

namespace {

// Deposits into the row's running sums (prefix-summed across it later) the exact area
// right of an edge across a band `d` high (signed), from x = xt at its top to xb at its
// bottom (both within [0, width]), in each pixel it passes; widens [lo, hi] to the cells.
inline void deposit_edge(float* acc, double xt, double xb, float d, int32_t& lo, int32_t& hi) {
  const double x0 = xt < xb ? xt : xb, x1 = xt < xb ? xb : xt;
  const int32_t x0i = int32_t(x0), x1i = int32_t(x1) + (int32_t(x1) < x1);
  const double x0f = x0i, x1c = x1i;
  lo = std::min(lo, x0i), hi = std::max(hi, x1i + 1);
  if (x1i <= x0i + 1) {
    const double mid = 0.5 * (xt + xb) - x0f;
    acc[x0i] += d * float(1 - mid);
    acc[x0i + 1] += d * float(mid);
    return;
  }
  const double s = 1 / (x1 - x0), f0 = x0 - x0f;
  const double a0 = 0.5 * s * (1 - f0) * (1 - f0), f1 = x1 - x1c + 1, am = 0.5 * s * f1 * f1;
  acc[x0i] += d * float(a0);
  if (x1i == x0i + 2) {
    acc[x0i + 1] += d * float(1 - a0 - am);
  } else {
    const double a1 = s * (1.5 - f0);
    acc[x0i + 1] += d * float(a1 - a0);
    for (int32_t i = x0i + 2; i < x1i - 1; ++i) acc[i] += d * float(s);
    const double a2 = a1 + (x1i - x0i - 3) * s;
    acc[x1i - 1] += d * float(1 - a2 - am);
  }
  acc[x1i] += d * float(am);
}

inline double least(double a, double b) { return b < a ? b : a; }

// Sorts a short list (a row's few edges and cuts) in place.
template <typename T, typename Less>
void insertion_sort(std::vector<T>& v, Less less) {
  for (size_t i = 1; i < v.size(); ++i) {
    if (!less(v[i], v[i - 1])) continue;
    const T t = v[i];
    size_t j = i;
    for (; j > 0 && less(t, v[j - 1]); --j) v[j] = v[j - 1];
    v[j] = t;
  }
}

// The band's edges in order of x at its top (then at its bottom).
void sort_band() {
  Workspace& ws = gfx_per_thread<Workspace>();
  insertion_sort(ws.band,
                 [](const Crossing& a, const Crossing& b) { return a.xt < b.xt || (a.xt == b.xt && a.xb < b.xb); });
}

// Covers a band `d` high whose edges (sorted, within the box) cross none another: the
// non-zero spans between them, exactly.
void cover_trapezoids(float d) {
  Workspace& ws = gfx_per_thread<Workspace>();
  float* acc = ws.acc.data();
  int32_t winding = 0, lo = 0, hi = 0;
  for (const Crossing& c : ws.band) {
    const int32_t before = winding;
    winding += c.dir;
    if (before == 0 && winding != 0) {
      lo = INT32_MAX, hi = -1;
      deposit_edge(acc, c.xt, c.xb, d, lo, hi);
    } else if (before != 0 && winding == 0) {
      deposit_edge(acc, c.xt, c.xb, -d, lo, hi);
      ws.intervals.push_back({lo, hi});
    }
  }
}

// Covers the band of a row from ya to yb, cut where two of its edges cross or, where
// edges reach past the box (`sides`), where an edge crosses a side of it (x clamped to the
// box beyond).
void cover_band(double ya, double yb, double width, bool sides) {
  Workspace& ws = gfx_per_thread<Workspace>();
  auto& b = ws.band;
  sort_band();
  // Each cut, at the first crossing, puts a pair in order; past a few more cuts than
  // there are pairs (rounding), the rest is covered as it stands.
  for (size_t guard = b.size() * b.size() + 4;; --guard) {
    double t = 1;  // the first crossing, as a fraction of the band's height
    for (size_t i = 0; guard > 0 && i + 1 < b.size(); ++i)
      if (b[i].xb > b[i + 1].xb)
        t = least(t, (b[i + 1].xt - b[i].xt) / ((b[i].xb - b[i].xt) - (b[i + 1].xb - b[i + 1].xt)));
    for (size_t i = 0; sides && guard > 0 && i < b.size(); ++i) {
      const Crossing& c = b[i];
      for (const double side : {0.0, width})
        if ((c.xt < side && c.xb > side) || (c.xt > side && c.xb < side)) t = least(t, (side - c.xt) / (c.xb - c.xt));
    }
    if (t >= 1) {
      for (Crossing& c : b)
        if (sides) c.xt = std::clamp(c.xt, 0.0, width), c.xb = std::clamp(c.xb, 0.0, width);
      cover_trapezoids(float(yb - ya));
      return;
    }
    t = t > 0 ? t : 0;
    ws.below.clear();
    for (Crossing& c : b) {
      const double cut = c.xt + (c.xb - c.xt) * t;
      ws.below.push_back({cut, c.xb, c.dir});
      c.xb = cut;
      if (sides) c.xt = std::clamp(c.xt, 0.0, width), c.xb = std::clamp(c.xb, 0.0, width);
    }
    if (t > 0) cover_trapezoids(float((yb - ya) * t));
    ya += (yb - ya) * t;
    b.swap(ws.below);
    sort_band();
  }
}

// Covers a row that two edges cross whole, one each way (the sides of a line), when they
// do not cross and, where the stroke reaches past the box's sides (`sides`), stay within
// it or wholly beyond one side (as cover_band covers them); false otherwise.
bool row_between_two(int32_t row, double left, double width, bool sides) {
  Workspace& ws = gfx_per_thread<Workspace>();
  const Edge &a = ws.edges[size_t(ws.active[0])], &b = ws.edges[size_t(ws.active[1])];
  if (a.dir != -b.dir) return false;
  const double at = a.x + (row - a.top) * a.dxdy - left, bt = b.x + (row - b.top) * b.dxdy - left;
  // cover_band takes x at the row's bottom from the edge's top.
  const double ab = sides ? a.x + (row + 1 - a.top) * a.dxdy - left : at + a.dxdy;
  const double bb = sides ? b.x + (row + 1 - b.top) * b.dxdy - left : bt + b.dxdy;
  if ((at < bt) != (ab < bb) || (at < bt) != (ab <= bb)) return false;
  if (sides) {
    const double x0 = std::min({at, bt, ab, bb}), x1 = std::max({at, bt, ab, bb});
    if (x0 >= width || x1 <= 0) return true;  // clamped to one side, the deposits cancel
    if (x0 < 0 || x1 > width) return false;
  }
  int32_t lo = INT32_MAX, hi = -1;
  const bool a_left = at < bt || (at == bt && ab < bb);
  deposit_edge(ws.acc.data(), a_left ? at : bt, a_left ? ab : bb, 1, lo, hi);
  deposit_edge(ws.acc.data(), a_left ? bt : at, a_left ? bb : ab, -1, lo, hi);
  ws.intervals.push_back({lo, hi});
  return true;
}

// Whether the band's edges all lie beyond the box's sides, the spans each on one side,
// while nothing is yet deposited there: clamped to the side, the deposits would cancel.
bool beyond_sides(double width) {
  Workspace& ws = gfx_per_thread<Workspace>();
  int32_t winding = 0;
  for (const Crossing& c : ws.band) {
    if (c.xt <= 0 && c.xb <= 0)
      winding += c.dir;
    else if (!(c.xt >= width && c.xb >= width))
      return false;
  }
  return winding == 0 && ws.acc[0] == 0;
}

// Covers a row in bands between the ends of its edges.
void cover_row(int32_t row, double left, double width, bool sides) {
  Workspace& ws = gfx_per_thread<Workspace>();
  auto& cuts = ws.cuts;
  cuts.clear();
  cuts.push_back(row);
  for (int32_t k : ws.active)  // the edges' tops in order
    if (const double y = ws.edges[size_t(k)].top; y > row) cuts.push_back(y);
  for (int32_t k : ws.active)
    if (const double y = ws.edges[size_t(k)].bottom; y < row + 1) cuts.push_back(y);
  cuts.push_back(row + 1);
  if (cuts.size() > 2) {
    insertion_sort(cuts, std::less<double>());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  }
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    const double ya = cuts[i], yb = cuts[i + 1];
    ws.band.clear();
    for (int32_t k : ws.active) {
      const Edge& e = ws.edges[size_t(k)];
      if (e.top <= ya && e.bottom >= yb)
        ws.band.push_back({e.x + (ya - e.top) * e.dxdy - left, e.x + (yb - e.top) * e.dxdy - left, e.dir});
    }
    if (!ws.band.empty() && !(sides && beyond_sides(width))) cover_band(ya, yb, width, sides);
  }
}

// Covers the cells lo to hi of row r: their sums prefix-summed into bytes up to the box's
// width, and back to naught; the run of the inked ones kept.
void cover_cells(int32_t r, int32_t lo, int32_t hi, int32_t width, uint8_t* bits) {
  Workspace& ws = gfx_per_thread<Workspace>();
  float* acc = ws.acc.data();
  const int32_t end = std::min(hi + 1, width);
  float sum = 0;
  int32_t first = end, last = -1;
  for (int32_t c = lo; c < end; ++c) {
    sum += acc[c];
    acc[c] = 0;
    // |sum| up to 1, without a branch: non-negative floats order as their bits.
    const float v = std::bit_cast<float>(std::min(std::bit_cast<uint32_t>(sum) & 0x7FFFFFFFu, 0x3F800000u));
    const auto value = uint8_t(v * 255 + 0.5f);
    bits[c] = value;
    first = value && first == end ? c : first;
    last = value ? c : last;
  }
  for (int32_t c = std::max(lo, end); c <= hi; ++c) acc[c] = 0;
  if (last >= 0) ws.runs.push_back({r, first, last + 1});
}

}  // namespace

bool gfx_coverage_fill(int32_t x0, int32_t y0, int32_t x1, int32_t y1, GfxCoverage& out) {
  Workspace& ws = gfx_per_thread<Workspace>();
  if (ws.edges.empty()) return false;
  double min_x = INFINITY, max_x = -INFINITY, min_y = INFINITY, max_y = -INFINITY;
  for (const Edge& e : ws.edges) {
    const double xb = e.x + (e.bottom - e.top) * e.dxdy;
    min_x = least(min_x, least(e.x, xb)), max_x = -least(-max_x, least(-e.x, -xb));
    min_y = least(min_y, e.top), max_y = -least(-max_y, -e.bottom);
  }
  // The edges' pixels within the limits.
  const double bx0 = gfx_fmax(std::floor(min_x), x0), bx1 = gfx_fmin(std::ceil(max_x), x1);
  const double by0 = gfx_fmax(std::floor(min_y), y0), by1 = gfx_fmin(std::ceil(max_y), y1);
  if (!(bx0 < bx1 && by0 < by1)) return false;
  const bool sides = bx0 > std::floor(min_x) || bx1 < std::ceil(max_x);
  const int32_t left = int32_t(bx0), top = int32_t(by0), w = int32_t(bx1 - bx0), h = int32_t(by1 - by0);
  const int32_t stride = (w + 3) & ~3;
  if (ws.acc.size() < size_t(w) + 2) ws.acc.assign(size_t(w) + 2, 0.0f);
  if (ws.bits.size() < size_t(stride) * size_t(h)) ws.bits.resize(size_t(stride) * size_t(h));
  std::sort(ws.edges.begin(), ws.edges.end(), [](const Edge& a, const Edge& b) { return a.top < b.top; });
  ws.active.clear();
  ws.runs.clear();
  // The active edges' latest top and earliest bottom: rows between are crossed whole by
  // the same edges.
  double latest_top = 0, earliest_bottom = -INFINITY;
  size_t next = 0;
  for (int32_t r = 0; r < h; ++r) {
    const int32_t row = top + r;
    if ((next < ws.edges.size() && ws.edges[next].top < row + 1) || earliest_bottom <= row) {
      for (; next < ws.edges.size() && ws.edges[next].top < row + 1; ++next) ws.active.push_back(int32_t(next));
      std::erase_if(ws.active, [&](int32_t k) { return ws.edges[size_t(k)].bottom <= row; });
      if (ws.active.empty()) {
        if (next == ws.edges.size()) break;
        r = std::max(r, int32_t(std::floor(ws.edges[next].top)) - top - 1);  // nothing until the next edge's row
        continue;
      }
      latest_top = -INFINITY, earliest_bottom = INFINITY;
      for (int32_t k : ws.active) {
        const Edge& e = ws.edges[size_t(k)];
        latest_top = std::max(latest_top, e.top), earliest_bottom = std::min(earliest_bottom, e.bottom);
      }
    }
    ws.intervals.clear();
    const bool whole = latest_top <= row && earliest_bottom >= row + 1;
    if (!(whole && ws.active.size() == 2 && row_between_two(row, left, w, sides))) cover_row(row, left, w, sides);
    // The spans' cells merged into runs; left of each run the sums are back to naught.
    auto& in = ws.intervals;
    if (in.size() > 1) insertion_sort(in, [](const auto& a, const auto& b) { return a.lo < b.lo; });
    uint8_t* bits = &ws.bits[size_t(r) * size_t(stride)];
    for (size_t i = 0; i < in.size();) {
      const int32_t lo = in[i].lo;
      int32_t hi = in[i].hi;
      for (++i; i < in.size() && in[i].lo <= hi; ++i) hi = std::max(hi, in[i].hi);
      cover_cells(r, lo, hi, w, bits);
    }
  }
  out = {left, top, w, h, ws.bits.data(), stride, ws.runs.data(), int32_t(ws.runs.size())};
  return !ws.runs.empty();
}
