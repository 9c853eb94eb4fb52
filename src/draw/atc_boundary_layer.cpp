// ATC-boundary layer.
#include "draw/atc_boundary_layer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <vector>

#include "draw/draw_toolkit.h"
#include "draw/ink_reach.h"
#include "draw/map_layer_frame.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "navdb/navdb.h"

namespace {

constexpr uint32_t COLOUR_BOUNDARY = 0xFF979700;
constexpr int32_t BOUNDARY_LABEL_CAPACITY = 4;  // 3 characters and the terminator
constexpr double BOUNDARY_PEN_WIDTH = 1;
constexpr double BOUNDARY_LABEL_SIZE = 14;
const char* const SPECIAL_IDENTS[] = {"YM00142", "YB00001", "NZ00084"};

bool special_boundary(const char* ident) {
  for (const char* s : SPECIAL_IDENTS)
    if (std::strncmp(ident, s, nav_ident_size) == 0) return true;
  return false;
}

// A boundary point on the map; not ok where it cannot be placed.
struct Placed {
  int32_t x, y;
  bool ok;
};

// The box of the points placed among those added.
struct PlacedBox {
  int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool any = false;
  void add(const Placed& p) {
    if (!p.ok) return;
    x0 = any ? std::min(x0, p.x) : p.x;
    y0 = any ? std::min(y0, p.y) : p.y;
    x1 = any ? std::max(x1, p.x) : p.x;
    y1 = any ? std::max(y1, p.y) : p.y;
    any = true;
  }
};

// A point `dist_nm` from the aircraft on `course_deg`, on the map.
bool place(double dist_nm, double course_deg, int32_t cx, int32_t cy, double heading_deg, int32_t& x, int32_t& y) {
  map_distance_px = dist_nm * map_px_per_nm;
  return polar_to_screen_int(heading_deg, course_deg, cx, cy, map_distance_px, x, y);
}

// Distances and courses of boundary points from a reference, kept while it stays: every
// map display of a frame measures the same points from the present position (a plan view
// from its centre: two references are kept). An entry is marked with a 64-bit hash of the
// point and the round of the reference it was measured for (the world's outlines have
// some 90,000 points: the point itself is not kept), so that a moved outline or a new
// reference in the same set is measured again.
struct Measured {
  double nm, course;
  uint64_t mark;  // measured_mark of what it was measured for, its lowest bit set where ok; 0: none
};
static_assert(std::is_trivially_copyable_v<Measured>, "made zero by calloc");

// The mark of a point measured in a round: a hash of their bits, never 0, its lowest bit
// clear.
uint64_t measured_mark(double lat, double lon, uint64_t round) {
  const double point[2] = {lat, lon};
  const uint64_t h = values_hash(point, 2, round) & ~uint64_t(1);
  return h ? h : 2;
}

// Entries for points and labels, made zero by the system: the pages of outlines never
// measured (far from every reference: most of the world's) take no memory.
class MeasuredTable {
 public:
  MeasuredTable() = default;
  MeasuredTable(const MeasuredTable&) = delete;
  MeasuredTable& operator=(const MeasuredTable&) = delete;
  ~MeasuredTable() { std::free(at_); }
  // Room for `n` entries (the entries kept are let go when it grows); false when the
  // memory cannot be had.
  bool hold(size_t n) {
    if (n <= size_) return true;
    auto* more = static_cast<Measured*>(std::calloc(n, sizeof(Measured)));
    if (!more) return false;
    std::free(at_);
    at_ = more, size_ = n;
    return true;
  }
  Measured& operator[](size_t i) { return at_[i]; }

 private:
  Measured* at_ = nullptr;
  size_t size_ = 0;
};

struct MeasuredPoints {
  double ref_lat = NAN, ref_lon = NAN;
  uint64_t used = 0, round = 0;
  MeasuredTable points;  // by index into atc_boundary_points, then the labels
};
struct {
  MeasuredPoints sets[2];
  uint64_t clock = 0;
} boundary_measured;

// The kept points of the reference, made anew in the set used least lately.
MeasuredPoints& measured_from(const NavPoint& ref) {
  MeasuredPoints* set = nullptr;
  MeasuredPoints* sets = boundary_measured.sets;
  for (int i = 0; i < 2; ++i)
    if (ref.lat == sets[i].ref_lat && ref.lon == sets[i].ref_lon) set = &sets[i];
  if (!set) {
    set = sets[0].used <= sets[1].used ? &sets[0] : &sets[1];
    set->ref_lat = ref.lat, set->ref_lon = ref.lon;
    set->round = boundary_measured.clock + 1;  // every entry of an earlier round is stale
  }
  set->used = ++boundary_measured.clock;
  return *set;
}

// measure_from(ref, lat, lon) for point `slot` of the kept set, through its entry when
// it holds the point.
bool measure_point(MeasuredPoints& set, size_t slot, double lat, double lon) {
  if (!set.points.hold(slot + 1)) return measure_from(set.ref_lat, set.ref_lon, lat, lon);
  Measured& m = set.points[slot];
  const uint64_t mark = measured_mark(lat, lon, set.round);
  if ((m.mark & ~uint64_t(1)) != mark) {
    const bool ok = measure_afresh(set.ref_lat, set.ref_lon, lat, lon);
    m = {gc_distance_nm, gc_course_deg, mark | uint64_t(ok)};
  }
  gc_distance_nm = m.nm;
  gc_course_deg = m.course;
  return (m.mark & 1) != 0;
}

bool project(MeasuredPoints& set, size_t slot, double lat, double lon, int32_t cx, int32_t cy, double heading_deg,
             int32_t& x, int32_t& y) {
  return measure_point(set, slot, lat, lon) && place(gc_distance_nm, gc_course_deg, cx, cy, heading_deg, x, y);
}

// How far a boundary's points lie from its first point (NM), and each chunk's from the
// chunk's first point, kept per boundary for the points it was measured over: an outline or
// chunk that cannot reach the image is not projected point by point. Chunk j starts at point
// j * REACH_CHUNK and reaches to the next chunk's first point (or the last point): the segment
// to it is the chunk's.
constexpr int32_t REACH_CHUNK = 16;
struct Reach {
  double lat = NAN, lon = NAN;  // its first point
  int32_t first = 0, count = 0;
  double nm = 0;
  std::vector<double> chunk_nm;
};
std::vector<Reach> boundary_reach;

// The farthest of points from + 1 .. to from point `from`; INFINITY (cannot be bounded:
// always projected) when one cannot be measured.
double farthest(const NavPoint* pts, int32_t from, int32_t to) {
  double nm = 0;
  for (int32_t k = from + 1; k <= to; ++k) {
    if (!measure_from(pts[from].lat, pts[from].lon, pts[k].lat, pts[k].lon)) return INFINITY;
    nm = std::max(nm, gc_distance_nm);
  }
  return nm;
}

const Reach& reach_of(int32_t b, const NavPoint* pts, int32_t first, int32_t n) {
  if (boundary_reach.size() <= size_t(b)) boundary_reach.resize(size_t(b) + 1);
  Reach& r = boundary_reach[size_t(b)];
  if (!(r.lat == pts[0].lat && r.lon == pts[0].lon && r.first == first && r.count == n)) {
    r.lat = pts[0].lat, r.lon = pts[0].lon, r.first = first, r.count = n;
    r.nm = farthest(pts, 0, n - 1);
    r.chunk_nm.clear();
    for (int32_t k = 0; k + 1 < n; k += REACH_CHUNK)
      r.chunk_nm.push_back(farthest(pts, k, std::min(k + REACH_CHUNK, n - 1)));
  }
  return r;
}

// False when no point of a boundary (or of a chunk of it) can reach the image: its first
// point lies `from_nm` from the aircraft at (x, y) on the map, every other point within
// `reach` NM of it. The map stretches distances across its radius by at most
// angle / sin(angle) of the farthest point's angle from the aircraft.
bool may_reach_image(GfxGraphics* g, int32_t x, int32_t y, double from_nm, double reach) {
  double angle = (from_nm + reach) / kGcEarthRadiusNm;
  if (!(angle < 1.5)) return true;
  double r = reach * map_px_per_nm * (angle > 0 ? angle / std::sin(angle) : 1.0) * 1.01 + 2;
  return line_reaches_image(g, BOUNDARY_PEN_WIDTH, x - r, y - r, x + r, y + r);
}

// How the segments between points from .. to can meet the image, told by the box of the
// points placed: each segment drawn joins two of them, its box inside theirs.
GfxRectView chunk_view(GfxGraphics* g, const std::vector<Placed>& placed, int32_t from, int32_t to) {
  PlacedBox box;
  for (int32_t k = from; k <= to; ++k) box.add(placed[size_t(k)]);
  if (!box.any) return GFX_VIEW_NONE;
  return box_view(g, box.x0, box.y0, box.x1, box.y1, stroke_reach(BOUNDARY_PEN_WIDTH));
}

void draw_in_frame(const GaugeSurface* ctx, GfxGraphics* g, DesignCanvas canvas, double cx, double cy, double radius,
                   double range, double heading_deg) {
  if (atc_bdry_on != 1) return;
  if (!ctx || !set_canvas_scale(g, ctx->width, ctx->height, canvas)) return;
  gfx_translate(g, cx, cy, GFX_PREPEND);
  draw_atc_boundaries(g, radius, 0, 0, range, heading_deg);
}

}  // namespace

void draw_atc_boundaries(GfxGraphics* g, double radius, double cx, double cy, double range, double map_heading_deg) {
  draw_atc_boundaries(g, radius, cx, cy, range, map_heading_deg, present_lat, present_lon);
}

void draw_atc_boundaries(GfxGraphics* g, double radius, double cx, double cy, double range, double map_heading_deg,
                         double ref_lat, double ref_lon) {
  if (atc_bdry_on != 1) return;
  const NavPoint ref{ref_lat, ref_lon};
  LayerObjects obj(g);
  GfxPen* pen = obj.pen(COLOUR_BOUNDARY, BOUNDARY_PEN_WIDTH);
  GfxBrush* brush = obj.brush(COLOUR_BOUNDARY);
  GfxFont* font = obj.font(FONT_ZUDUZ, BOUNDARY_LABEL_SIZE, GFX_FONT_BOLD);
  std::vector<Placed> placed;
  map_px_per_nm = radius / range;
  if (atc_boundaries_loaded == 0) load_atc_boundaries();

  int32_t icx = 0, icy = 0;
  trunc_coord(cx, icx);
  trunc_coord(cy, icy);
  MeasuredPoints& set = measured_from(ref);
  int32_t count = atc_boundary_count < atc_boundary_slots - 1 ? atc_boundary_count : atc_boundary_slots - 1;
  int32_t points = atc_boundary_point_count < atc_point_slots - 1 ? atc_boundary_point_count : atc_point_slots - 1;
  set.points.hold(size_t(points) + size_t(count) + 1);  // made at once, not point by point
  for (int32_t b = 1; b <= count; ++b) {
    const AtcBoundary& bd = atc_boundaries[b];
    if (bd.first_point < 1 || bd.count < 1 || bd.first_point > points) continue;
    int32_t n = bd.count <= points - bd.first_point + 1 ? bd.count : points - bd.first_point + 1;
    const NavPoint* pts = &atc_boundary_points[bd.first_point];
    if (!measure_point(set, size_t(bd.first_point), pts[0].lat, pts[0].lon)) continue;
    bool far = special_boundary(bd.ident) ? !(gc_distance_nm < ATC_BOUNDARY_SPECIAL_RANGE_NM)
                                          : !(gc_distance_nm <= ATC_BOUNDARY_RANGE_NM);
    if (far) continue;
    // Projected first, so that a boundary whose box misses the image tests no segment; the
    // rest not at all where the outline cannot reach it from its first point.
    placed.resize(size_t(n));
    Placed& first = placed[0];
    const double from_nm = gc_distance_nm;
    first.ok = place(from_nm, gc_course_deg, icx, icy, map_heading_deg, first.x, first.y);
    const Reach& reach = reach_of(b, pts, bd.first_point, n);
    bool outline = !first.ok || may_reach_image(g, first.x, first.y, from_nm, reach.nm);
    PlacedBox box;
    for (int32_t k = 0; outline && k < n; ++k) {
      Placed& p = placed[size_t(k)];
      if (k > 0)
        p.ok = project(set, size_t(bd.first_point + k), pts[k].lat, pts[k].lon, icx, icy, map_heading_deg, p.x, p.y);
      if (!p.ok) continue;
      box.add(p);
      // A chunk that cannot reach the image from its first point leaves its inner points out:
      // every segment touching them lies in the box refused, and the points kept still bound
      // every segment drawn. The next chunk's first point, or the last point, is projected:
      // the scratch distance ends the outline as it did.
      const double nm = k > 0 ? gc_distance_nm : from_nm;
      if (k % REACH_CHUNK == 0 && k + 1 < n &&
          !may_reach_image(g, p.x, p.y, nm, reach.chunk_nm[size_t(k / REACH_CHUNK)])) {
        const int32_t next = std::min(k + REACH_CHUNK, n - 1);
        while (k + 1 < next) placed[size_t(++k)].ok = false;
      }
    }
    if (box.any && line_reaches_image(g, BOUNDARY_PEN_WIDTH, box.x0, box.y0, box.x1, box.y1)) {
      for (int32_t from = 0; from + 1 < n; from += REACH_CHUNK) {
        const int32_t to = std::min(from + REACH_CHUNK, n - 1);
        // A chunk wholly off the image or wholly within it tells every segment at once.
        const GfxRectView view = chunk_view(g, placed, from, to);
        for (int32_t k = from + 1; view != GFX_VIEW_NONE && k <= to; ++k) {
          const Placed& a = placed[size_t(k - 1)];
          const Placed& b = placed[size_t(k)];
          if (a.ok && b.ok &&
              (view == GFX_VIEW_WITHIN || line_reaches_image(g, BOUNDARY_PEN_WIDTH, a.x, a.y, b.x, b.y)))
            gfx_draw_line(g, pen, a.x, a.y, b.x, b.y);
        }
      }
    }
    int32_t lx, ly;
    if (project(set, size_t(points) + size_t(b), bd.label_lat, bd.label_lon, icx, icy, map_heading_deg, lx, ly)) {
      char label[BOUNDARY_LABEL_CAPACITY];
      std::snprintf(label, sizeof label, "%.3s", bd.label);
      if (text_reaches_image(g, BOUNDARY_LABEL_SIZE, lx - 15.0, ly, int32_t(std::strlen(label))))
        draw_text(g, font, brush, lx - 15.0, ly, BOUNDARY_LABEL_CAPACITY, label);
    }
  }
}

void draw_b737_nd_boundaries(const GaugeSurface* ctx, GfxGraphics* g) {
  bool centred = b737_nd_mode == 6 || b737_nd_mode == 7;
  draw_in_frame(ctx, g, CANVAS_B737_ND, 122, centred ? 171 : 249, b737_nd_map_radius, b737_nd_range,
                b737_nd_mode == 7 ? 0.0 : map_heading);
}

void draw_md11_nd_boundaries(const GaugeSurface* ctx, GfxGraphics* g) {
  draw_in_frame(ctx, g, CANVAS_MD11_ND, md11_nd_center_x, md11_nd_center_y, md11_nd_map_radius, md11_nd_range,
                md11_nd_mode == 2 ? 0.0 : map_heading);
}

void draw_md80_ehsi_boundaries(const GaugeSurface* ctx, GfxGraphics* g) {
  draw_in_frame(ctx, g, CANVAS_MD80_EHSI, md80_ehsi_center_x, md80_ehsi_center_y, md80_ehsi_map_radius,
                md80_ehsi_range, md80_ehsi_mode == 2 ? 0.0 : map_heading);
}

void draw_du1000_ehsi_boundaries(const GaugeSurface* ctx, GfxGraphics* g) {
  bool plan = du1000_ehsi_mode == 2;
  draw_in_frame(ctx, g, CANVAS_DU1000_EHSI, 159, plan ? 155 : 272, du1000_map_radius, du1000_ehsi_range,
                plan ? 0.0 : map_heading);
}

void draw_proline4_mfd_boundaries(const GaugeSurface* ctx, GfxGraphics* g) {
  bool north_up = proline4_mfd_format == 2;
  draw_in_frame(ctx, g, CANVAS_PROLINE4_MFD, 123, north_up ? 155 : 220, proline4_mfd_map_radius, proline4_mfd_range,
                north_up ? 0.0 : map_heading);
}
