// The frame every GNS-XLS page draws in: the 495 x 400 canvas, "Courier New" 33 px bold
// drawn from its top-left point, the six brushes, yellow field boxes and the line-key
// arrows.
#pragma once

#include <cstdint>
#include <string>

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

constexpr double GNS_CHAR_W = 21.0;  // field-box width of one character

// Per-draw graphics objects of a page; made by gns_page_begin, released by gns_page_end.
struct GnsPage {
  GaugeSurface* rec = nullptr;
  GfxGraphics* g = nullptr;
  GfxBrush* white = nullptr;
  GfxBrush* green = nullptr;
  GfxBrush* cyan = nullptr;
  GfxBrush* magenta = nullptr;
  GfxBrush* yellow = nullptr;
  GfxBrush* black = nullptr;
  GfxFontFamily* family = nullptr;
  GfxFont* font = nullptr;
  char arrows[11] = {};  // per line key 1..10: '<', '>' or 0 for none
};

void gns_page_begin(GnsPage& p, GaugeSurface* rec, GfxGraphics* g);
// Draws the arrows, then releases the objects.
void gns_page_end(GnsPage& p);

void gns_text(const GnsPage& p, double x, double y, const GfxBrush* brush, const std::string& text);
void gns_textf(const GnsPage& p, double x, double y, const GfxBrush* brush, const char* fmt, ...)
    __attribute__((format(printf, 5, 6)));
// Black text on a yellow box of `chars` characters at (x, y).
void gns_field(const GnsPage& p, double x, double y, int chars, const std::string& text);
// A prompt: boxed with its own length when `open`, else white.
void gns_prompt(const GnsPage& p, double x, double y, bool open, const std::string& text);

// printf into a string.
std::string gns_format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// "hh:mm" of whole hours and minutes, the minutes rounded before the carry so that 59.6
// never shows as minute 60; a clock time (`clock`) also wraps 24 hours to 0.
std::string gns_clock_text(double hours, double minutes, bool clock);
// The clock time `hours`:`minutes` from now on the one ETA clock of the module: local
// time with `DispETALocalTime` 1, else zulu, as the stored route ETAs.
std::string gns_eta_text(double hours, double minutes);
// "hh:mm" of a duration in minutes; `dashes` when it is not finite, negative or past 99:59.
std::string gns_duration_text(double minutes, const char* dashes);

// Shared by the data pages.
// 1 while a plan is active and its index lies within it.
bool gns_has_active_plan();
// Great-circle NM from the present position to (lat, lon).
double gns_distance_from_here(double lat, double lon);
// Lays a "N47:30:00" / "W122:15:00" text of format_dms_position into the ten-character
// "N 47 30.00" / "W122 15.00" template.
std::string gns_dms_template(const std::string& dms);
