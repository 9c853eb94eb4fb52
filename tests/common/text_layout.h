// Whether the texts of one recorded frame read where they stand: no two texts' glyphs on
// each other or butting on one line, no text cut by a later fill of the same frame, and no
// ink outside the image. A fill that covers a whole text erases it on purpose (a field
// cleared for its new value); a fill drawn before a text is its background.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/gfx_recording.h"

namespace text_layout {

struct Box {
  double x0, y0, x1, y1;
};

inline Box device_box(const GfxRecord& r, const GfxRectF& k) {
  Box b{1e9, 1e9, -1e9, -1e9};
  for (GfxPointF p : {GfxRecording::to_device(r, k.x, k.y), GfxRecording::to_device(r, k.x + k.width, k.y),
                      GfxRecording::to_device(r, k.x, k.y + k.height),
                      GfxRecording::to_device(r, k.x + k.width, k.y + k.height)}) {
    b.x0 = std::min<double>(b.x0, p.x), b.y0 = std::min<double>(b.y0, p.y);
    b.x1 = std::max<double>(b.x1, p.x), b.y1 = std::max<double>(b.y1, p.y);
  }
  return b;
}

// How deep two boxes run into each other: the smaller of the two overlaps (<= 0 apart).
inline double depth(const Box& a, const Box& b) {
  return std::min(std::min(a.x1, b.x1) - std::max(a.x0, b.x0), std::min(a.y1, b.y1) - std::max(a.y0, b.y0));
}

// Ink this far into another text's or a fill's box counts (antialiased edges do not).
constexpr double kDepth = 0.35;
// Two texts on one line closer than this part of the smaller one's em read as one word.
constexpr double kWordGap = 0.3;
// A text closer than this part of the larger one's em above or below another sits on it.
constexpr double kLineGap = 0.15;
// A label (a smaller font) under a text, closer than this part of that text's em and closer
// to it than to the line under the label, reads as that text's, not as the next line's heading.
constexpr double kLabelGap = 0.3;
// An entry box beside a text, or over it, closer than this part of the text's em reads as the
// text's field (a label heads its boxes from above: that is how a field is labelled).
constexpr double kBoxGap = 0.3;

// A text on the picture: its glyphs' ink boxes in image pixels.
struct Placed {
  std::string text;
  size_t record;
  bool map_label;
  double em;  // the font's size in image pixels
  std::vector<Box> glyphs;
  Box ink;
};

// A filled area drawn: its outline in image pixels (a rectangle as four corners).
struct Fill {
  size_t record;
  std::vector<GfxPointF> outline;
  Box box;
  bool upright = false;  // an axis-aligned rectangle
  // The clip it was drawn under (figures in image pixels; none: the whole image): it fills
  // only inside it.
  std::vector<std::vector<GfxPointF>> clip;
};

inline bool inside(const std::vector<GfxPointF>& poly, double x, double y) {
  bool in = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const GfxPointF& a = poly[i];
    const GfxPointF& b = poly[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}

// Whether (x, y) is inside a clip's figures (even-odd; no figures: everywhere).
inline bool inside_clip(const std::vector<std::vector<GfxPointF>>& clip, double x, double y) {
  if (clip.empty()) return true;
  bool in = false;
  for (const auto& poly : clip)
    if (poly.size() >= 3 && inside(poly, x, y)) in = !in;
  return in;
}

// How much of a glyph box a fill covers, sampled on a grid of its pixels' quarters: 0 none, 1 all.
inline double covered(const Fill& f, const Box& g) {
  if (depth(f.box, g) <= 0) return 0.0;
  if (f.upright && f.clip.empty()) {
    // An upright rectangle: the share of the glyph box inside it.
    const double w = std::min(f.box.x1, g.x1) - std::max(f.box.x0, g.x0);
    const double h = std::min(f.box.y1, g.y1) - std::max(f.box.y0, g.y0);
    return w * h / std::max(1e-9, (g.x1 - g.x0) * (g.y1 - g.y0));
  }
  const int nx = std::max(2, static_cast<int>(std::ceil((g.x1 - g.x0) * 4)));
  const int ny = std::max(2, static_cast<int>(std::ceil((g.y1 - g.y0) * 4)));
  int hit = 0;
  for (int i = 0; i < nx; ++i)
    for (int j = 0; j < ny; ++j) {
      const double x = g.x0 + (i + 0.5) * (g.x1 - g.x0) / nx, y = g.y0 + (j + 0.5) * (g.y1 - g.y0) / ny;
      hit += inside(f.outline, x, y) && inside_clip(f.clip, x, y);
    }
  return static_cast<double>(hit) / (nx * ny);
}

// The straight strokes a record draws, in image pixels: a line, a polyline, a rectangle's sides.
inline std::vector<std::pair<GfxPointF, GfxPointF>> strokes(const GfxRecord& r) {
  std::vector<std::pair<GfxPointF, GfxPointF>> out;
  if (r.status != GFX_OK) return out;
  std::vector<GfxPointF> pts;
  bool closed = false;
  if (r.op == GfxOp::Line || r.op == GfxOp::Lines) {
    pts = GfxRecording::device_points(r);
  } else if (r.op == GfxOp::Rect && r.args.size() >= 4) {
    const double x = r.args[0], y = r.args[1], w = r.args[2], h = r.args[3];
    pts = {GfxRecording::to_device(r, x, y), GfxRecording::to_device(r, x + w, y),
           GfxRecording::to_device(r, x + w, y + h), GfxRecording::to_device(r, x, y + h)};
    closed = true;
  }
  for (size_t i = 0; i + 1 < pts.size(); ++i) out.push_back({pts[i], pts[i + 1]});
  if (closed) out.push_back({pts.back(), pts.front()});
  return out;
}

// Whether the segment a-b passes through the box shrunk by `in` on every side.
inline bool crosses(GfxPointF a, GfxPointF b, const Box& g, double in) {
  const Box k{g.x0 + in, g.y0 + in, g.x1 - in, g.y1 - in};
  if (k.x0 >= k.x1 || k.y0 >= k.y1) return false;
  // Clip the segment to the box (Liang-Barsky).
  double t0 = 0, t1 = 1;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - k.x0, k.x1 - a.x, a.y - k.y0, k.y1 - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
  }
  return t0 < t1;
}

inline std::vector<Fill> fills(const GfxRecording& rec) {
  std::vector<Fill> out;
  for (size_t i = 0; i < rec.records.size(); ++i) {
    const GfxRecord& r = rec.records[i];
    if (r.status != GFX_OK || (r.brush_argb >> 24) < 0xF0) continue;  // a see-through fill leaves the text readable
    Fill f{i, {}, {1e9, 1e9, -1e9, -1e9}};
    if (r.op == GfxOp::FillRect && r.args.size() >= 4) {
      const double x = r.args[0], y = r.args[1], w = r.args[2], h = r.args[3];
      f.outline = {GfxRecording::to_device(r, x, y), GfxRecording::to_device(r, x + w, y),
                   GfxRecording::to_device(r, x + w, y + h), GfxRecording::to_device(r, x, y + h)};
    } else if (r.op == GfxOp::FillPolygon) {
      f.outline = GfxRecording::device_points(r);
    } else if (r.op == GfxOp::Clear) {
      f.outline = {{0, 0}, {float(rec.image_width), 0}, {float(rec.image_width), float(rec.image_height)},
                   {0, float(rec.image_height)}};
    }
    if (f.outline.size() < 3) continue;
    if (r.clip >= 0) f.clip = rec.records[static_cast<size_t>(r.clip)].clip_device;
    for (const GfxPointF& p : f.outline) {
      f.box.x0 = std::min<double>(f.box.x0, p.x), f.box.y0 = std::min<double>(f.box.y0, p.y);
      f.box.x1 = std::max<double>(f.box.x1, p.x), f.box.y1 = std::max<double>(f.box.y1, p.y);
    }
    if (f.outline.size() == 4) {
      f.upright = true;
      for (const GfxPointF& p : f.outline)
        f.upright = f.upright && (p.x == f.box.x0 || p.x == f.box.x1) && (p.y == f.box.y0 || p.y == f.box.y1);
    }
    out.push_back(std::move(f));
  }
  return out;
}

// A text under a clip that leaves out part of the image, or turned: a map label.
inline bool map_label(const GfxRecording& rec, const GfxRecord& r) {
  const GfxMatrix& m = r.transform;
  if (std::fabs(m.m12) + std::fabs(m.m21) > 1e-9 * (std::fabs(m.m11) + std::fabs(m.m22))) return true;
  if (r.clip < 0) return false;
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (const auto& poly : rec.records[static_cast<size_t>(r.clip)].clip_device)
    for (const GfxPointF& p : poly) {
      x0 = std::min<double>(x0, p.x), y0 = std::min<double>(y0, p.y);
      x1 = std::max<double>(x1, p.x), y1 = std::max<double>(y1, p.y);
    }
  return x0 > 0.5 || y0 > 0.5 || x1 < rec.image_width - 0.5 || y1 < rec.image_height - 0.5;
}

// What a frame may show by design, each with its reason where it is listed.
struct Allowed {
  // Two texts that may touch or overlap (in either order; "*" stands for any text).
  std::set<std::pair<std::string, std::string>> pairs;
  bool pair_allowed(const std::string& a, const std::string& b) const {
    for (const auto& [x, y] : pairs)
      if (((x == "*" || x == a) && (y == "*" || y == b)) || ((x == "*" || x == b) && (y == "*" || y == a))) return true;
    return false;
  }
  // Texts a later fill may cut.
  std::set<std::string> cut;
  // Unit suffixes drawn on purpose against the value before them: they may butt a text.
  std::set<std::string> suffixes;
  // Texts of a map drawn without a clip (idents, marker labels): map labels too.
  std::set<std::string> map_texts;
  // Map labels (texts moving with a map, a scale or a sphere under a clip) may pass over
  // other texts, fixed or moving: a moving scene's items stand wherever the scene puts them.
  bool map_labels_anywhere = true;
  // A unit that clips its texts to its screen: a clipped text is no map label there.
  bool clip_is_screen = false;
  // Labels that stand on their unit's label grid close under the line above (not squeezed).
  std::set<std::string> labels_close_under;
  // Lines may stand closer than kLineGap (texts still may not overlap or butt).
  bool lines_may_touch = false;
  // Texts on one line may butt (a display sets values, units and a time's pieces against
  // each other); they still may not overlap.
  bool words_may_touch = false;
  // Strokes are checked against the texts (a text unit's rules and boxes); a display's
  // lines of its own scales and symbols pass over its texts by design.
  bool check_strokes = true;
};

// Every fault of the frame, one line each.
inline std::vector<std::string> faults(const GfxRecording& rec, const Allowed& allowed = {}) {
  std::vector<std::string> out;
  const std::vector<Fill> all_fills = fills(rec);
  std::vector<Placed> shown;
  char line[256];
  for (size_t i = 0; i < rec.records.size(); ++i) {
    const GfxRecord& r = rec.records[i];
    if (r.op != GfxOp::Text || r.status != GFX_OK || r.glyph_ink.empty()) continue;
    const bool moving = allowed.clip_is_screen ? false : map_label(rec, r);
    const double scale = std::sqrt(std::fabs(r.transform.m11 * r.transform.m22 - r.transform.m12 * r.transform.m21));
    Placed p{r.text, i, moving || allowed.map_texts.count(r.text) > 0, r.font_size * scale, {}, {1e9, 1e9, -1e9, -1e9}};
    for (const GfxRectF& k : r.glyph_ink) {
      if (k.width <= 0 || k.height <= 0) continue;
      const Box b = device_box(r, k);
      p.glyphs.push_back(b);
      p.ink = {std::min(p.ink.x0, b.x0), std::min(p.ink.y0, b.y0), std::max(p.ink.x1, b.x1), std::max(p.ink.y1, b.y1)};
    }
    if (p.glyphs.empty()) continue;
    // Later fills: one covering every glyph erases the text; one covering part of a glyph cuts it.
    bool erased = false;
    for (const Fill& f : all_fills) {
      if (f.record <= i) continue;
      double least = 1.0, most = 0.0;
      for (const Box& g : p.glyphs) {
        const double c = covered(f, g);
        least = std::min(least, c), most = std::max(most, c);
      }
      if (least >= 0.999) {
        erased = true;
        break;
      }
      if (most > 0.02 && !p.map_label && !allowed.cut.count(p.text)) {
        std::snprintf(line, sizeof line, "\"%s\" (ink x %.1f..%.1f y %.1f..%.1f) cut by a later fill of x %.1f..%.1f y %.1f..%.1f",
                      p.text.c_str(), p.ink.x0, p.ink.x1, p.ink.y0, p.ink.y1, f.box.x0, f.box.x1, f.box.y0, f.box.y1);
        out.push_back(line);
      }
    }
    if (erased) continue;
    // Strokes through a glyph: a later rule or outline drawn over the text, or a box beside
    // it drawn before or after (a box around the whole text frames it).
    for (size_t j = 0; j < rec.records.size() && !p.map_label && allowed.check_strokes; ++j) {
      const GfxRecord& s = rec.records[j];
      if (j < i && s.op != GfxOp::Rect) continue;
      if (s.op == GfxOp::Rect) {
        const Box frame = device_box(s, {float(s.args[0]), float(s.args[1]), float(s.args[2]), float(s.args[3])});
        if (frame.x0 <= p.ink.x0 && frame.y0 <= p.ink.y0 && frame.x1 >= p.ink.x1 && frame.y1 >= p.ink.y1) continue;
      }
      bool through = false;
      for (const auto& seg : strokes(s))
        for (const Box& g : p.glyphs) through = through || crosses(seg.first, seg.second, g, kDepth);
      // An entry box beside or over the text, not through it, but too close to read apart.
      double hug = 1e9;
      if (s.op == GfxOp::Rect && !through && s.status == GFX_OK) {
        const Box frame = device_box(s, {float(s.args[0]), float(s.args[1]), float(s.args[2]), float(s.args[3])});
        for (const Box& g : p.glyphs) {
          const double dx = std::max(frame.x0 - g.x1, g.x0 - frame.x1), dy = std::max(frame.y0 - g.y1, g.y0 - frame.y1);
          if (dx <= 0 && g.y0 >= frame.y1) hug = std::min(hug, dy);  // the box over the glyph
          if (dy <= 0) hug = std::min(hug, dx);                      // beside it on its line
        }
      }
      if ((!through && hug >= kBoxGap * p.em) || allowed.cut.count(p.text)) continue;
      if (through)
        std::snprintf(line, sizeof line, "\"%s\" (ink x %.1f..%.1f y %.1f..%.1f) crossed by the %s of record %zu",
                      p.text.c_str(), p.ink.x0, p.ink.x1, p.ink.y0, p.ink.y1, gfx_op_name(s.op), j);
      else
        std::snprintf(line, sizeof line, "\"%s\" (ink x %.1f..%.1f y %.1f..%.1f) %.1f px from the box of record %zu",
                      p.text.c_str(), p.ink.x0, p.ink.x1, p.ink.y0, p.ink.y1, hug, j);
      out.push_back(line);
    }
    const double off = std::max({0.0, -p.ink.x0, -p.ink.y0, p.ink.x1 - rec.image_width, p.ink.y1 - rec.image_height});
    if (off > 0.01 && !p.map_label) {
      std::snprintf(line, sizeof line, "\"%s\" (ink x %.1f..%.1f y %.1f..%.1f) %.1f px outside the %dx%d image",
                    p.text.c_str(), p.ink.x0, p.ink.x1, p.ink.y0, p.ink.y1, off, rec.image_width, rec.image_height);
      out.push_back(line);
    }
    shown.push_back(std::move(p));
  }
  for (size_t a = 0; a < shown.size(); ++a) {
    for (size_t b = a + 1; b < shown.size(); ++b) {
      const Placed& s = shown[a];
      const Placed& t = shown[b];
      if (depth(s.ink, t.ink) < -8) continue;
      if ((s.map_label || t.map_label) && allowed.map_labels_anywhere) continue;
      if (allowed.pair_allowed(s.text, t.text)) continue;
      double deepest = -1e9, closest = 1e9, nearest_line = 1e9;
      for (const Box& g : s.glyphs) {
        for (const Box& h : t.glyphs) {
          deepest = std::max(deepest, depth(g, h));
          // On one line: the glyphs share most of the shorter one's height.
          const double shared = std::min(g.y1, h.y1) - std::max(g.y0, h.y0);
          if (shared > 0.5 * std::min(g.y1 - g.y0, h.y1 - h.y0))
            closest = std::min(closest, std::max(h.x0 - g.x1, g.x0 - h.x1) / std::min(s.em, t.em));
          // One above the other: the glyphs share part of their width.
          if (std::min(g.x1, h.x1) - std::max(g.x0, h.x0) > kDepth)
            nearest_line = std::min(nearest_line, std::max(h.y0 - g.y1, g.y0 - h.y1) / std::max(s.em, t.em));
        }
      }
      const bool suffix = allowed.suffixes.count(s.text) || allowed.suffixes.count(t.text);
      const char* what = deepest > kDepth                 ? "over"
                         : closest < kWordGap && !suffix && !allowed.words_may_touch ? "butting"
                         : nearest_line < kLineGap && !allowed.lines_may_touch ? "on the line of"
                                                         : nullptr;
      if (!what) continue;
      std::snprintf(line, sizeof line, "\"%s\" (ink x %.1f..%.1f y %.1f..%.1f) %s \"%s\" (ink x %.1f..%.1f y %.1f..%.1f)",
                    t.text.c_str(), t.ink.x0, t.ink.x1, t.ink.y0, t.ink.y1, what, s.text.c_str(), s.ink.x0, s.ink.x1,
                    s.ink.y0, s.ink.y1);
      out.push_back(line);
    }
  }
  // Labels: a smaller text between two larger ones heads the lower; it may not stand nearer the upper.
  for (const Placed& label : shown) {
    if (label.map_label || allowed.lines_may_touch || allowed.labels_close_under.count(label.text)) continue;
    const Placed* above = nullptr;
    double gap_above = 1e9, gap_below = 1e9;
    for (const Placed& other : shown) {
      if (other.map_label || other.em < label.em / 0.9) continue;
      if (std::min(label.ink.x1, other.ink.x1) - std::max(label.ink.x0, other.ink.x0) <= kDepth) continue;
      // The title row (ink within its em of the top) has its labels close under it by design.
      if (other.ink.y1 <= label.ink.y0 + kDepth && other.ink.y0 > other.em && label.ink.y0 - other.ink.y1 < gap_above)
        gap_above = label.ink.y0 - other.ink.y1, above = &other;
      if (other.ink.y0 >= label.ink.y1 - kDepth) gap_below = std::min(gap_below, other.ink.y0 - label.ink.y1);
    }
    if (!above || gap_below >= 1e9 || gap_above >= gap_below || gap_above >= kLabelGap * above->em) continue;
    if (allowed.pair_allowed(label.text, above->text)) continue;
    std::snprintf(line, sizeof line, "\"%s\" (ink x %.1f..%.1f y %.1f..%.1f) squeezed under \"%s\" (ink y %.1f..%.1f), %.1f px "
                  "above and %.1f px over its line", label.text.c_str(), label.ink.x0, label.ink.x1, label.ink.y0,
                  label.ink.y1, above->text.c_str(), above->ink.y0, above->ink.y1, gap_above, gap_below);
    out.push_back(line);
  }
  return out;
}

}  // namespace text_layout
