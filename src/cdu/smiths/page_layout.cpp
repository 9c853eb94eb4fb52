#include "cdu/smiths/page_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "cdu/smiths/smiths_cdu.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "geo/great_circle.h"

void cdu_page_begin(CduPage& p, GaugeSurface* rec, GfxGraphics* g) {
  p.rec = rec;
  p.g = g;
  set_canvas_scale(g, rec ? rec->width : 0, rec ? rec->height : 0, DesignCanvas{CDU_CANVAS_W, CDU_CANVAS_H});
  p.green = gfx_brush_create(g, COLOUR_GREEN);
  p.black = gfx_brush_create(g, COLOUR_BLACK);
  p.pen = gfx_pen_create(g, COLOUR_GREEN, 1.0);
  p.family = gfx_family_create(g, FONT_ARIAL);
  p.large = gfx_font_create(g, p.family, CDU_LARGE_PX, GFX_FONT_REGULAR);
  p.small = gfx_font_create(g, p.family, CDU_SMALL_PX, GFX_FONT_REGULAR);
  p.medium = gfx_font_create(g, p.family, CDU_MEDIUM_PX, GFX_FONT_REGULAR);
  p.mono_family = gfx_family_create(g, FONT_COURIER_NEW);
  p.mono = gfx_font_create(g, p.mono_family, CDU_MONO_PX, GFX_FONT_BOLD);
}

void cdu_page_end(CduPage& p) {
  gfx_font_delete(p.mono);
  gfx_family_delete(p.mono_family);
  gfx_font_delete(p.medium);
  gfx_font_delete(p.small);
  gfx_font_delete(p.large);
  gfx_family_delete(p.family);
  gfx_pen_delete(p.pen);
  gfx_brush_delete(p.black);
  gfx_brush_delete(p.green);
  p = CduPage{};
}

void cdu_large(const CduPage& p, double x, double y, const std::string& text) {
  draw_text(p.g, p.large, p.green, x, y, DRAW_TEXT_MAX, text.c_str());
}

void cdu_small(const CduPage& p, double x, double y, const std::string& text) {
  draw_text(p.g, p.small, p.green, x, y, DRAW_TEXT_MAX, text.c_str());
}

void cdu_medium(const CduPage& p, double x, double y, const std::string& text) {
  draw_text(p.g, p.medium, p.green, x, y, DRAW_TEXT_MAX, text.c_str());
}

void cdu_mono(const CduPage& p, double x, double y, const std::string& text) {
  draw_text(p.g, p.mono, p.green, x, y, DRAW_TEXT_MAX, text.c_str());
}

static std::string vformat(const char* fmt, va_list args) {
  char buf[DRAW_TEXT_MAX];
  int n = std::vsnprintf(buf, sizeof buf, fmt, args);
  if (n < 0) return std::string();
  return std::string(buf, n < int(sizeof buf) ? size_t(n) : sizeof buf - 1);
}

std::string cdu_format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string s = vformat(fmt, args);
  va_end(args);
  return s;
}

using DrawTextFn = void (*)(const CduPage&, double, double, const std::string&);

static void draw_formatted(DrawTextFn draw, const CduPage& p, double x, double y, const char* fmt, va_list args) {
  draw(p, x, y, vformat(fmt, args));
}

void cdu_largef(const CduPage& p, double x, double y, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  draw_formatted(cdu_large, p, x, y, fmt, args);
  va_end(args);
}

void cdu_mediumf(const CduPage& p, double x, double y, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  draw_formatted(cdu_medium, p, x, y, fmt, args);
  va_end(args);
}

void cdu_smallf(const CduPage& p, double x, double y, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  draw_formatted(cdu_small, p, x, y, fmt, args);
  va_end(args);
}

void cdu_large_right(const CduPage& p, double y, const std::string& text) {
  cdu_large(p, 272.0 - 9.0 * double(text.size()), y, text);
}

void cdu_small_right(const CduPage& p, double y, const std::string& text) {
  cdu_small(p, 272.0 - 5.5 * double(text.size()), y, text);
}

void cdu_boxed(const CduPage& p, double bx, double by, double tx, double ty, int chars, const std::string& text) {
  fill_field_box_smiths(p.rec, bx, by, p.g, chars);
  draw_text(p.g, p.large, p.black, tx, ty, DRAW_TEXT_MAX, text.c_str());
}

void cdu_entry_boxes(const CduPage& p, const double* xs, int n, double y) {
  for (int i = 0; i < n; ++i) draw_rect_d(p.g, p.pen, xs[i], y, 5.0, 10.0);
}

void cdu_five_boxes(const CduPage& p, double x0, double step, double y) {
  for (int i = 0; i < 5; ++i) draw_rect_d(p.g, p.pen, x0 + step * i, y, 5.0, 10.0);
}

namespace {

// Advance widths of the printable ASCII characters (32..126) in thousandths of the em.
constexpr int ARIAL_WIDTHS[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,  // space../
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,  // 0..?
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,  // @..O
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,   // P.._
    333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,   // `..o
    556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584,        // p..~
};

// Right edge of the text area of the screen: where right-aligned lines end.
constexpr double CDU_TEXT_RIGHT = 272.0;

// Green text at (x, y) in the page's face at `px` pixels.
void draw_in_size(const CduPage& p, double px, double x, double y, const std::string& text) {
  GfxFont* font = gfx_font_create(p.g, p.family, px, GFX_FONT_REGULAR);
  draw_text(p.g, font, p.green, x, y, DRAW_TEXT_MAX, text.c_str());
  gfx_font_delete(font);
}

}  // namespace

double cdu_text_width(const std::string& text, double px) {
  int units = 0;
  for (unsigned char c : text) {
    if (c >= 0x80 && c < 0xC0) continue;  // a UTF-8 continuation byte adds no glyph
    units += c >= 32 && c <= 126 ? ARIAL_WIDTHS[c - 32] : 556;
  }
  return units * px / 1000.0;
}

void cdu_large_fit(const CduPage& p, double x, double y, const std::string& text) {
  const double width = cdu_text_width(text, CDU_LARGE_PX), room = CDU_TEXT_RIGHT - width;
  if (room >= 0.0) return cdu_large(p, x < room ? x : room, y, text);
  // Wider than the text area: from its left edge, smaller.
  draw_in_size(p, CDU_LARGE_PX * CDU_TEXT_RIGHT / width, 0.0, y, text);
}

void cdu_large_shrink(const CduPage& p, double x, double y, const std::string& text) {
  const double width = cdu_text_width(text, CDU_LARGE_PX);
  if (x + width <= CDU_TEXT_RIGHT) {
    cdu_large(p, x, y, text);
    return;
  }
  // Smaller, down to the small font.
  draw_in_size(p, std::max(CDU_LARGE_PX * (CDU_TEXT_RIGHT - x) / width, CDU_SMALL_PX), x, y, text);
}

void cdu_large_within(const CduPage& p, double x, double y, const std::string& text, double min_x, double max_x) {
  const double width = cdu_text_width(text, CDU_LARGE_PX);
  const double left = x + width <= max_x ? x : std::max(min_x, max_x - width);
  if (left + width <= max_x) return cdu_large(p, left, y, text);
  draw_in_size(p, CDU_LARGE_PX * (max_x - left) / width, left, y, text);
}

void cdu_boxed_within(const CduPage& p, double bx, double by, double tx, double ty, const std::string& text,
                      double min_x, double max_x) {
  constexpr double CHAR_W = 14.0;  // the field box's width per character
  const int chars = std::min(int(text.size()), int((max_x - min_x) / CHAR_W));
  const double left = std::max(min_x, std::min(bx, max_x - CHAR_W * chars));
  fill_field_box_smiths(p.rec, left, by, p.g, chars);
  const double text_x = left + tx - bx, width = cdu_text_width(text, CDU_LARGE_PX);
  const double px = text_x + width <= max_x ? CDU_LARGE_PX : CDU_LARGE_PX * (max_x - text_x) / width;
  GfxFont* font = gfx_font_create(p.g, p.family, px, GFX_FONT_REGULAR);
  draw_text(p.g, font, p.black, text_x, ty, DRAW_TEXT_MAX, text.c_str());
  gfx_font_delete(font);
}

void cdu_bottom_line(const CduPage& p) {
  // A long answer ("<name> Unable to Save") shrinks to the screen's width, below the small font if need be.
  cdu_large_fit(p, 0.0, CDU_BOTTOM_Y, smiths_scratchpad_msg.empty() ? smiths_scratchpad : smiths_scratchpad_msg);
}

void cdu_text_within(const CduPage& p, double px, double x, double y, const std::string& text, double min_x) {
  GfxFont* font = px == CDU_SMALL_PX ? p.small : p.large;
  // The layout box: the advance with a sixth of an em either side, so the ink ends inside it.
  const double width = text_width(p.g, font, DRAW_TEXT_MAX, text.c_str());
  const double left = x + width <= CDU_CANVAS_W ? x : std::max(std::min(min_x, x), CDU_CANVAS_W - width);
  if (left + width <= CDU_CANVAS_W || width <= 0.0) {
    draw_text(p.g, font, p.green, left, y, DRAW_TEXT_MAX, text.c_str());
    return;
  }
  draw_in_size(p, px * (CDU_CANVAS_W - left) / width, left, y, text);
}

void cdu_act_mod_tag(const CduPage& p, double act_x, double mod_x) {
  if (fpl_changed_state == 3) {
    cdu_large(p, act_x, 0.0, "ACT");
  } else if (fpl_changed_state == 4) {
    // The box of three characters (42 wide) at 20 would end against the title at 63: box
    // and text stand 4 further left, the box ending a space before the title.
    constexpr double SHIFT = 4.0;
    cdu_boxed(p, 20.0 - SHIFT, 0.0, mod_x - SHIFT, 0.0, 3, "MOD");
  }
}

int32_t cdu_step_page(int32_t page, int32_t count) {
  if (count < 1) count = 1;
  if (page < 1 || page > count) page = page < 1 ? 1 : count;
  if (smiths_prev_page_key == 1) page = page - 1 < 1 ? count : page - 1;
  if (smiths_next_page_key == 1) page = page + 1 > count ? 1 : page + 1;
  return page;
}

int32_t cdu_leading_int(const std::string& text) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return 0;
  bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  int32_t v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) v = std::min<int32_t>(v * 10 + (text[i] - '0'), 999999);
  return negative ? -v : v;
}

bool cdu_scan_number(const std::string& text, bool signed_entry, double& v, std::size_t& end) {
  v = 0.0;
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) i = text.size();
  const std::size_t start = i;
  if (signed_entry && i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  bool digit = false, point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') digit = true;
    else if (text[i] == '.' && !point) point = true;
    else break;
  }
  end = i;
  if (!digit) return false;
  // Only sign, digits and one point are handed on: no exponent, no hexadecimal.
  v = std::strtod(text.substr(start, i - start).c_str(), nullptr);
  if (std::isfinite(v)) return true;
  v = 0.0;
  return false;
}

double cdu_leading_number(const std::string& text, bool signed_entry) {
  double v = 0.0;
  std::size_t end = 0;
  cdu_scan_number(text, signed_entry, v, end);
  return v;
}

void cdu_slash_words(const std::string& text, std::string& w1, std::string& w2) {
  std::string spaced = text;
  for (char& c : spaced)
    if (c == '/') c = ' ';
  std::istringstream in(spaced);
  w1.clear();
  w2.clear();
  in >> w1 >> w2;
}

namespace {
// One axis of a format_dms_position text ("N33:37:22") as letter, degrees padded to
// `deg_digits`, "°", minutes, "." and the tenths of a minute (seconds / 6, truncated).
std::string dms_to_minutes_text(const std::string& dms, int deg_digits) {
  const std::size_t c1 = dms.find(':');
  const std::size_t c2 = c1 == std::string::npos ? std::string::npos : dms.find(':', c1 + 1);
  if (dms.empty() || c2 == std::string::npos) return dms;
  const int deg = std::atoi(dms.substr(1, c1 - 1).c_str());
  const int min = std::atoi(dms.substr(c1 + 1, c2 - c1 - 1).c_str());
  const int sec = std::atoi(dms.substr(c2 + 1).c_str());
  return cdu_format("%c%0*d\xB0%02d.%d", dms[0], deg_digits, deg, min, std::clamp(sec, 0, 59) / 6);
}
}  // namespace

void cdu_position_texts(double lat, double lon, std::string& lat_text, std::string& lon_text) {
  std::string lat_dms, lon_dms;
  format_dms_position(lat, -lon, lat_dms, lon_dms, 1);
  lat_text = dms_to_minutes_text(lat_dms, 2);
  lon_text = dms_to_minutes_text(lon_dms, 3);
}
