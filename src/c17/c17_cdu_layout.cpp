#include "c17/c17_cdu_layout.h"

#include "c17/c17_cdu.h"
#include "flightplan/flight_plan.h"
#include "geo/great_circle.h"

namespace {
constexpr double MISSION_BOTTOM_Y = 267.0;
constexpr double MISSION_TEXT_RIGHT = 359.0;  // the text box starts a few units right of its point
}  // namespace

void c17_cdu_page_begin(CduPage& p, GaugeSurface* rec, GfxGraphics* g, DesignCanvas canvas) {
  cdu_page_begin(p, rec, g);
  set_canvas_scale(g, rec ? rec->width : 0, rec ? rec->height : 0, canvas);
}

void c17_cdu_reverse(const CduPage& p, double bx, double by, double tx, double ty, const std::string& text) {
  fill_rect_d(p.g, p.green, bx, by, C17_CDU_REVERSE_W, C17_CDU_REVERSE_H);
  draw_text(p.g, p.large, p.black, tx, ty, DRAW_TEXT_MAX, text.c_str());
}

void c17_cdu_line(const CduPage& p, double x, double y, const std::string& text, bool reverse, double box_x) {
  if (reverse) {
    c17_cdu_reverse(p, box_x, y, x, y, text);
  } else {
    cdu_large(p, x, y, text);
  }
}

void c17_cdu_large_fit(const CduPage& p, double x, double y, const std::string& text) {
  const double width = cdu_text_width(text, CDU_LARGE_PX), room = MISSION_TEXT_RIGHT - width;
  if (room >= 0.0) return cdu_large(p, x < room ? x : room, y, text);
  // Wider than the screen: from its left edge, smaller.
  GfxFont* font = gfx_font_create(p.g, p.family, CDU_LARGE_PX * MISSION_TEXT_RIGHT / width, GFX_FONT_REGULAR);
  draw_text(p.g, font, p.green, 0.0, y, DRAW_TEXT_MAX, text.c_str());
  gfx_font_delete(font);
}

int32_t c17_cdu_plan_count() {
  const int32_t n = stored_plan_count - 1;
  if (n < 0) return 0;
  return n < STORED_PLAN_CAPACITY - 1 ? n : STORED_PLAN_CAPACITY - 1;
}

int32_t c17_cdu_step_page(int32_t page, int32_t count, bool prev, bool next) {
  if (count < 1) count = 1;
  if (page < 1 || page > count) page = page < 1 ? 1 : count;
  if (prev) page = page - 1 < 1 ? count : page - 1;
  if (next) page = page + 1 > count ? 1 : page + 1;
  return page;
}

void c17_cdu_bottom_line(const CduPage& p, DesignCanvas canvas) {
  const std::string& text = c17_cdu_scratchpad_msg.empty() ? c17_cdu_scratchpad : c17_cdu_scratchpad_msg;
  const double y = canvas.height == C17_CDU_MISSION_CANVAS.height ? MISSION_BOTTOM_Y : CDU_BOTTOM_Y;
  cdu_large(p, 0.0, y, text);
}

namespace {

// "L" + degrees padded to `deg_digits`, then minutes and seconds, each read between
// the colons of a format_dms_position text.
std::string dms_with_signs(const std::string& dms, size_t deg_digits) {
  const size_t c1 = dms.find(':');
  const size_t c2 = c1 == std::string::npos ? std::string::npos : dms.find(':', c1 + 1);
  if (dms.empty() || c2 == std::string::npos) return dms;
  auto padded = [](std::string s, size_t n) { return s.size() < n ? std::string(n - s.size(), '0') + s : s; };
  return dms.substr(0, 1) + padded(dms.substr(1, c1 - 1), deg_digits) + "\xB0" +
         padded(dms.substr(c1 + 1, c2 - c1 - 1), 2) + "'" + padded(dms.substr(c2 + 1), 2);
}

}  // namespace

void c17_cdu_position_texts(double lat, double lon, std::string& lat_text, std::string& lon_text) {
  std::string lat_dms, lon_dms;
  format_dms_position(lat, -lon, lat_dms, lon_dms, 1);
  lat_text = dms_with_signs(lat_dms, 2);
  lon_text = dms_with_signs(lon_dms, 3);
}
