// Layout helpers of the CDU pages: the 282 x 245 design canvas, the green brush and
// pen, the 18-pixel (large) and 12-pixel (small) "Arial" fonts, spaced labels,
// right alignment, entry boxes, highlighted fields and the bottom line.
#pragma once

#include <cstdint>
#include <string>

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

constexpr double CDU_CANVAS_W = 282.0;
constexpr double CDU_CANVAS_H = 245.0;
constexpr double CDU_LARGE_PX = 18.0;
constexpr double CDU_SMALL_PX = 12.0;
constexpr double CDU_MEDIUM_PX = 15.0;  // "Arial" (PROGRESS courses)
constexpr double CDU_MONO_PX = 14.0;    // "Courier New" bold (NAV STATUS station rows)
constexpr double CDU_BOTTOM_Y = 227.0;

// Per-draw graphics objects of a page; made by cdu_page_begin, released by cdu_page_end.
struct CduPage {
  GaugeSurface* rec = nullptr;
  GfxGraphics* g = nullptr;
  GfxBrush* green = nullptr;
  GfxBrush* black = nullptr;
  GfxPen* pen = nullptr;
  GfxFontFamily* family = nullptr;
  GfxFont* large = nullptr;
  GfxFont* small = nullptr;
  GfxFont* medium = nullptr;
  GfxFontFamily* mono_family = nullptr;
  GfxFont* mono = nullptr;
};

void cdu_page_begin(CduPage& p, GaugeSurface* rec, GfxGraphics* g);
void cdu_page_end(CduPage& p);

// Green text, top-left at (x, y).
void cdu_large(const CduPage& p, double x, double y, const std::string& text);
void cdu_small(const CduPage& p, double x, double y, const std::string& text);
void cdu_medium(const CduPage& p, double x, double y, const std::string& text);
void cdu_mono(const CduPage& p, double x, double y, const std::string& text);
void cdu_largef(const CduPage& p, double x, double y, const char* fmt, ...) __attribute__((format(printf, 4, 5)));
void cdu_mediumf(const CduPage& p, double x, double y, const char* fmt, ...) __attribute__((format(printf, 4, 5)));
void cdu_smallf(const CduPage& p, double x, double y, const char* fmt, ...) __attribute__((format(printf, 4, 5)));
// Right-aligned to x 272.
void cdu_large_right(const CduPage& p, double y, const std::string& text);
void cdu_small_right(const CduPage& p, double y, const std::string& text);
// Black large text over a green box of `chars` characters at (bx, by).
void cdu_boxed(const CduPage& p, double bx, double by, double tx, double ty, int chars, const std::string& text);
// Empty entry boxes: outlines 5 wide and 10 high at each x, top at y.
void cdu_entry_boxes(const CduPage& p, const double* xs, int n, double y);
void cdu_five_boxes(const CduPage& p, double x0, double step, double y);
// Message line when not empty, else the scratchpad, at (0, 227), as cdu_large_fit.
void cdu_bottom_line(const CduPage& p);
// Width of `text` in the "Arial" font of `px` pixels (its advance widths), in canvas units.
double cdu_text_width(const std::string& text, double px);
// Large text at (x, y), moved left as far as needed to end at the right margin (x 272);
// a text wider than that from x 0 is drawn there in a smaller size.
void cdu_large_fit(const CduPage& p, double x, double y, const std::string& text);
// Large text at (x, y), drawn smaller when needed to end at the right margin, down to
// the small font.
void cdu_large_shrink(const CduPage& p, double x, double y, const std::string& text);
// Large text at (x, y) within min_x..max_x: moved left, not past min_x, to end at max_x,
// and drawn smaller when that is not enough (an ident longer than the database's).
void cdu_large_within(const CduPage& p, double x, double y, const std::string& text, double min_x, double max_x);
// cdu_boxed of `text` (a box of its characters) held within min_x..max_x the same way.
void cdu_boxed_within(const CduPage& p, double bx, double by, double tx, double ty, const std::string& text,
                      double min_x, double max_x);

// Text of the `px` font (CDU_LARGE_PX or CDU_SMALL_PX) at (x, y), measured in that font:
// moved left, not past `min_x`, as far as needed to end inside the screen, and drawn in a
// smaller size when that is not enough.
void cdu_text_within(const CduPage& p, double px, double x, double y, const std::string& text, double min_x);
// "ACT" at `act_x` in state 3; in state 4 "MOD" at `mod_x` - 4 over its box at (16, 0),
// a space clear of the title at 63.
void cdu_act_mod_tag(const CduPage& p, double act_x, double mod_x = 18.0);

// Position texts of the pages: "N33°37.3" and "W111°54.6" / "E009°05.0" (two and three
// degree digits, the minutes with their tenths, truncated; the sign is byte 0xB0).
void cdu_position_texts(double lat, double lon, std::string& lat_text, std::string& lon_text);

// printf into a string.
std::string cdu_format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// PREV / NEXT PAGE on a page number with wrap; count below 1 counts as 1 and a page
// outside 1..count is brought back into it first.
int32_t cdu_step_page(int32_t page, int32_t count);

// The leading sign and digits of an entry as a whole number, as atoi reads them, but
// held within +-999999 so that a long entry never overflows; 0 when none.
int32_t cdu_leading_int(const std::string& text);
// The number an entry begins with: leading blanks, a sign only when `signed_entry`, digits
// with an optional decimal point; the rest of the text is not read (no exponent, no
// hexadecimal). False, v = 0, when no digit begins the text; `end` is where reading stopped.
bool cdu_scan_number(const std::string& text, bool signed_entry, double& v, std::size_t& end);
// The same number, 0 when none.
double cdu_leading_number(const std::string& text, bool signed_entry = false);
// The first two words of an entry, split at blanks and "/" ("270/45", "/1.5"); empty when absent.
void cdu_slash_words(const std::string& text, std::string& w1, std::string& w2);
