// C-17 MFD draw dispatcher: instance load and save, background, the rose geometry and
// clip of each format, the page of the format, the aircraft symbol of the arc formats
// and the heading box over format 4.
#include <cmath>

#include "c17/c17_mfd.h"
#include "c17/c17_page.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"

namespace {

GaugeSurface c17_mfd_surface{0, 0};

using PageFn = void (*)(const GaugeSurface*, GfxGraphics*);

// What the dispatcher does for one format. Radius 0 leaves the rose geometry as the
// format drawn before set it.
struct FormatRow {
  int32_t radius;
  int32_t centre_y;
  PageFn page;
  bool map_clip;        // formats 3-6: clip path set around the route overlay
  bool aircraft;        // formats 3-5: aircraft symbol at the rose centre
  bool heading_box;     // format 4: arcs and the heading box
  bool overlay;         // formats 3-5: the route overlay in the clip (format 6 draws its own)
};

constexpr int32_t FORMAT_COUNT = 13;
const FormatRow FORMATS[FORMAT_COUNT] = {
    {.radius = 124, .centre_y = 121, .page = c17_mfd_hsi_format_draw},
    {.radius = 100, .centre_y = 110, .page = c17_mfd_pfd_draw},
    {},
    {.radius = 172, .centre_y = 200, .page = c17_mfd_nav_format_draw, .map_clip = true, .aircraft = true,
     .overlay = true},
    // Format 4's compass, range labels and range arcs put the full range at 124.
    {.radius = 124, .centre_y = 132, .page = c17_mfd_nav_format_draw, .map_clip = true, .aircraft = true,
     .heading_box = true, .overlay = true},
    {.radius = 172, .centre_y = 35, .page = c17_mfd_nav_format_draw, .map_clip = true, .aircraft = true,
     .overlay = true},
    {.radius = 100, .centre_y = 120, .page = c17_mfd_north_up_map_draw, .map_clip = true},
    {},
    {},
    {.radius = 100, .centre_y = 121, .page = c17_mfd_thrust_page_draw},
    {.radius = 100, .centre_y = 121, .page = c17_mfd_engine_dials_page_draw},
    {.radius = 100, .centre_y = 121, .page = c17_mfd_oil_page_draw},
    {.radius = 100, .centre_y = 121, .page = c17_mfd_config_page_draw},
};

const FormatRow* format_row(int32_t format) {
  static const FormatRow none{};
  return format >= 0 && format < FORMAT_COUNT ? &FORMATS[format] : &none;
}

void load_instance(int32_t instance) {
  if (instance < 1 || instance > 4) return;
  const C17MfdState& s = c17_mfd_instances[instance];
  c17_mfd_mode = s.format;
  c17_mfd_last_engine_page = s.last_engine_page;
  c17_mfd_last_nav_format = s.last_nav_format;
}

void save_instance(int32_t instance) {
  if (instance < 1 || instance > 4) return;
  c17_mfd_instances[instance] = {c17_mfd_mode, c17_mfd_last_engine_page, c17_mfd_last_nav_format};
}

// Clip outline of the map formats about the rose centre. Format 6 gets no figure.
void build_map_clip(GfxGraphics* g, GfxPath* path, int32_t format) {
  const auto lines = [g, path](const GfxPoint* pts, int32_t n) {
    for (int32_t i = 0; i + 1 < n; ++i) gfx_path_add_line(g, path, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y);
  };
  switch (format) {
    case 3: {
      gfx_path_add_arc(g, path, -172, -172, 344, 344, 225, 91);
      const GfxPoint pts[] = {{122, -122}, {122, -90}, {108, -90}, {108, 5}, {-122, 5}, {-122, -122}};
      lines(pts, 6);
      gfx_path_close_figure(g, path);
      break;
    }
    case 4: {
      gfx_path_add_arc(g, path, -124, -124, 248, 248, 190, 141);
      const GfxPoint pts[] = {{108, -60}, {108, 60}, {60, 60}, {60, 95}, {-80, 95}, {-80, 60}, {-122, 60}, {-122, -22}};
      lines(pts, 8);
      gfx_path_close_figure(g, path);
      break;
    }
    case 5: {
      const GfxPoint pts[] = {{-122, -3}, {107, -3}, {107, 175}, {-122, 175}, {-122, -5}};
      lines(pts, 5);
      gfx_path_close_figure(g, path);
      break;
    }
    default:
      break;
  }
}

void draw_aircraft_symbol(GfxGraphics* g, const GfxPen* white2, bool arcs) {
  draw_line_d(g, white2, 0, -5, 0, 15);
  draw_line_d(g, white2, -7, 0, 7, 0);
  draw_line_d(g, white2, -4, 10, 4, 10);
  if (!arcs) return;
  draw_arc_d(g, white2, -124, -124, 248, 248, 211, 120);
  draw_arc_d(g, white2, -124, -124, 248, 248, 200, 11);
  draw_arc_d(g, white2, -62, -62, 124, 124, 202, 350);
}

}  // namespace

void c17_mfd_draw(GaugeSurface* surface, DeviceContext dc, int32_t width, int32_t height, int32_t instance) {
  load_instance(instance);
  if (!dc || !surface) return;
  surface->width = width;
  surface->height = height;
  GfxGraphics* g = nullptr;
  if (gfx_create(dc, &g) != GFX_OK || !g) return;
  gfx_set_smoothing(g, GFX_SMOOTHING_HIGH_QUALITY);
  if (display_power == 0 || instance == 0) {
    gfx_clear(g, COLOUR_TRANSPARENT);
    gfx_delete(g);
    return;
  }
  gfx_set_text_hint(g, GFX_TEXT_ANTIALIAS);
  LayerObjects o(g);
  c17_frame(g, surface);
  const uint32_t background = c17_colour(C17MfdBkgrdColorRed, C17MfdBkgrdColorGreen, C17MfdBkgrdColorBlue);
  // The whole image first: the fill's edge may leave a trace of the format drawn before.
  gfx_clear(g, background);
  fill_rect_d(g, o.brush(background), 0, 0, CANVAS_C17_MFD.width, CANVAS_C17_MFD.height);

  const int32_t format = c17_mfd_mode;
  const FormatRow& row = *format_row(format);
  if (row.radius != 0) {
    c17_mfd_rose_radius = row.radius;
    c17_mfd_rose_cx = 122;
    c17_mfd_rose_cy = row.centre_y;
  }
  map_px_per_nm = c17_mfd_range != 0 ? c17_mfd_rose_radius / c17_mfd_range : 0.0;
  c17_frame(g, surface, c17_mfd_rose_cx, c17_mfd_rose_cy);
  GfxPath* clip = row.map_clip ? gfx_path_create(g) : nullptr;
  if (clip) build_map_clip(g, clip, format);

  if (row.page) row.page(surface, g);

  if (clip) {
    c17_frame(g, surface, c17_mfd_rose_cx, c17_mfd_rose_cy);
    gfx_set_clip_path(g, clip);
    if (row.overlay) c17_mfd_route_overlay_draw(surface, g);
    gfx_reset_clip(g);
    c17_frame(g, surface, c17_mfd_rose_cx, c17_mfd_rose_cy);
  }
  if (row.aircraft) draw_aircraft_symbol(g, o.pen(C17_WHITE, 2), row.heading_box);
  if (row.heading_box) c17_mfd_heading_box_draw(surface, g);

  gfx_path_delete(clip);
  gfx_delete(g);
  save_instance(instance);
}

void c17_mfd_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t instance) {
  (void)gauge;
  c17_mfd_draw(&c17_mfd_surface, dc, width, height, instance);
}
