// What the C-17 page tests read from a recording: texts at their places with their
// colours, and lines by colour and end points (placements at design size, so image
// pixels are design units).
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "platform/gfx/gfx_recording.h"

namespace c17_test {

inline bool near_point(GfxPointF p, double x, double y, double tol = 0.6) {
  return std::fabs(p.x - x) < tol && std::fabs(p.y - y) < tol;
}

// The text drawn with its layout point at (x, y); empty when none.
inline std::string text_at(const GfxRecording& r, double x, double y) {
  for (const GfxTextItem& t : r.text_items())
    if (near_point(t.device, x, y)) return t.text;
  return "";
}

// The colour of the text drawn at (x, y); 0 when none.
inline uint32_t text_colour_at(const GfxRecording& r, double x, double y) {
  for (const GfxTextItem& t : r.text_items())
    if (near_point(t.device, x, y)) return t.argb;
  return 0;
}

// Whether `text` was drawn with its layout point within `tol` of (x, y).
inline bool text_near(const GfxRecording& r, const std::string& text, double x, double y, double tol) {
  for (const GfxTextItem& t : r.text_items())
    if (t.text == text && near_point(t.device, x, y, tol)) return true;
  return false;
}

inline uint32_t text_colour(const GfxRecording& r, const std::string& text) {
  for (const GfxTextItem& t : r.text_items())
    if (t.text == text) return t.argb;
  return 0;
}

// Lines (single segments) that start at (x, y) on the image.
inline std::vector<const GfxRecord*> lines_from(const GfxRecording& r, double x, double y, double tol = 0.6) {
  std::vector<const GfxRecord*> out;
  for (const GfxRecord* l : r.of(GfxOp::Line)) {
    const std::vector<GfxPointF> p = GfxRecording::device_points(*l);
    if (!p.empty() && near_point(p[0], x, y, tol)) out.push_back(l);
  }
  return out;
}

inline GfxPointF line_end(const GfxRecord& l) { return GfxRecording::device_points(l).back(); }

}  // namespace c17_test
