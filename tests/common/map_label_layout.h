// Whether a map's labels read where they stand: a marker's label (a bracketed
// figure or word, "T/C", "T/D", "DCT") on no ident and no other marker's label, no
// map label on a fixed scale text of the display (its compass letters and
// figures, its range figures), no fix labelled twice a few pixels apart, and the
// active waypoint's ident cut by no box drawn after it.
// Idents may stand on each other: a map's items stand where the map puts them.
// Where a fill drawn between the two texts covers their overlap, the later text
// wipes the earlier one there: it reads.
#pragma once

#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/common/text_layout.h"

namespace map_label_layout {

using text_layout::Box;

enum class Kind { Fixed, Ident, Marker };

// A text of the picture: its kind and its glyphs' ink boxes in image pixels.
struct Label {
  std::string text;
  size_t record;
  Kind kind;
  bool route;  // an ident of the route
  std::vector<Box> glyphs;
  std::vector<std::vector<GfxPointF>> quads;  // each glyph's box as drawn (turned with a turned text)
  Box ink;
};

// A text under a clip that leaves out part of the image: drawn on the map
// (turned or not).
inline bool under_map_clip(const GfxRecording& rec, const GfxRecord& r) {
  GfxRecord upright{};
  upright.clip = r.clip;
  upright.transform = {1, 0, 0, 1, 0, 0};
  return text_layout::map_label(rec, upright);
}

// A marker's label: "[...]", the plan markers' words, or "DCT" (where a direct-to began,
// which is no record's point).
inline bool marker_text(const std::string& t) {
  return (t.size() >= 2 && t.front() == '[' && t.back() == ']') || t == "T/C" || t == "T/D" || t == "DCT";
}

// What a display's map draws: the texts it draws without a clip on the map
// (idents and marker labels of a map drawn unclipped), and its fixed scale
// texts (leading spaces left out) that no map label may cover. A marker's label
// is held off the route's idents (all idents when none are listed); the scale
// texts are known by name, drawn with the map's clip or without.
struct Rules {
  std::set<std::string> unclipped_map_texts;
  std::set<std::string> scale_texts;
  std::set<std::string> route_idents;
  // Two texts that may stand on each other (either order), each with its reason
  // where listed.
  std::set<std::pair<std::string, std::string>> pairs;
  // The active waypoint's ident, which must read whole ("" none).
  std::string active_ident;
  // Idents are held off the scale texts too (a display whose other pages draw figures
  // under clips, no map, holds only its markers off them).
  bool idents_on_scales = true;
};

inline std::string trimmed(const std::string& t) {
  const size_t b = t.find_first_not_of(' ');
  return b == std::string::npos ? std::string() : t.substr(b, t.find_last_not_of(' ') - b + 1);
}

inline std::vector<Label> labels(const GfxRecording& rec, const Rules& rules) {
  std::vector<Label> out;
  for (size_t i = 0; i < rec.records.size(); ++i) {
    const GfxRecord& r = rec.records[i];
    if (r.op != GfxOp::Text || r.status != GFX_OK || r.glyph_ink.empty()) continue;
    const bool on_map = under_map_clip(rec, r) || rules.unclipped_map_texts.count(r.text) > 0;
    // Fixed texts other than the scales' are the text check's.
    const bool scale = rules.scale_texts.count(trimmed(r.text)) > 0;
    if (!on_map && !scale) continue;
    const Kind kind = scale ? Kind::Fixed : marker_text(r.text) ? Kind::Marker : Kind::Ident;
    const bool route = rules.route_idents.empty() || rules.route_idents.count(r.text) > 0;
    Label l{r.text, i, kind, route, {}, {}, {1e9, 1e9, -1e9, -1e9}};
    for (const GfxRectF& k : r.glyph_ink) {
      if (k.width <= 0 || k.height <= 0) continue;
      const Box b = text_layout::device_box(r, k);
      l.glyphs.push_back(b);
      l.quads.push_back({GfxRecording::to_device(r, k.x, k.y), GfxRecording::to_device(r, k.x + k.width, k.y),
                         GfxRecording::to_device(r, k.x + k.width, k.y + k.height),
                         GfxRecording::to_device(r, k.x, k.y + k.height)});
      l.ink = {std::min(l.ink.x0, b.x0), std::min(l.ink.y0, b.y0), std::max(l.ink.x1, b.x1), std::max(l.ink.y1, b.y1)};
    }
    if (!l.glyphs.empty()) out.push_back(std::move(l));
  }
  return out;
}

// How deep two texts' glyphs run into each other where no fill drawn between
// them wipes the earlier one: the shorter side of the area both glyphs cover
// and no such fill does, sampled every quarter pixel.
inline double unwiped_depth(const std::vector<text_layout::Fill>& fills, const Label& s, const Label& t) {
  std::vector<const text_layout::Fill*> between;
  for (const text_layout::Fill& f : fills)
    if (f.record > s.record && f.record < t.record) between.push_back(&f);
  double deepest = -1e9;
  for (size_t i = 0; i < s.glyphs.size(); ++i)
    for (size_t j = 0; j < t.glyphs.size(); ++j) {
      const Box& g = s.glyphs[i];
      const Box& h = t.glyphs[j];
      if (text_layout::depth(g, h) <= text_layout::kDepth) continue;
      const Box both{std::max(g.x0, h.x0), std::max(g.y0, h.y0), std::min(g.x1, h.x1), std::min(g.y1, h.y1)};
      Box seen{1e9, 1e9, -1e9, -1e9};
      for (double x = both.x0 + 0.125; x < both.x1; x += 0.25)
        for (double y = both.y0 + 0.125; y < both.y1; y += 0.25) {
          if (!text_layout::inside(s.quads[i], x, y) || !text_layout::inside(t.quads[j], x, y)) continue;
          bool wiped = false;
          for (const text_layout::Fill* f : between) wiped = wiped || text_layout::inside(f->outline, x, y);
          if (wiped) continue;
          seen = {std::min(seen.x0, x), std::min(seen.y0, y), std::max(seen.x1, x + 0.25), std::max(seen.y1, y + 0.25)};
        }
      if (seen.x1 > seen.x0) deepest = std::max(deepest, std::min(seen.x1 - seen.x0, seen.y1 - seen.y0));
    }
  return deepest;
}

inline const char* kind_name(Kind k) {
  return k == Kind::Fixed ? "scale text" : k == Kind::Marker ? "marker label" : "ident";
}

// Every map-label fault of the frame, one line each.
inline std::vector<std::string> faults(const GfxRecording& rec, const Rules& rules = {}) {
  std::vector<std::string> out;
  const std::vector<Label> all = labels(rec, rules);
  const std::vector<text_layout::Fill> fills = text_layout::fills(rec);
  char line[320];
  // A label wholly off the image is seen by no one.
  auto seen = [&](const Label& l) {
    return l.ink.x1 > 0 && l.ink.y1 > 0 && l.ink.x0 < rec.image_width && l.ink.y0 < rec.image_height;
  };
  // The active ident partly under a later fill, unless drawn again at its place after it
  // (a partial frame's wipe and redraw); a fill over all of it erases it on purpose.
  for (const Label& l : all) {
    if (l.kind != Kind::Ident || l.text != rules.active_ident || !seen(l)) continue;
    for (const text_layout::Fill& f : fills) {
      if (f.record <= l.record || text_layout::depth(f.box, l.ink) <= text_layout::kDepth) continue;
      double most = 0, least = 1;
      for (const Box& g : l.glyphs) {
        const double c = text_layout::covered(f, g);
        most = std::max(most, c), least = std::min(least, c);
      }
      bool redrawn = false;
      for (const Label& m : all)
        redrawn = redrawn || (m.record > f.record && m.text == l.text && std::fabs(m.ink.x0 - l.ink.x0) <= 2.5 &&
                              std::fabs(m.ink.y0 - l.ink.y0) <= 2.5);
      if (most <= 0.02 || least >= 0.999 || redrawn) continue;
      std::snprintf(line, sizeof line, "active ident \"%s\" (ink x %.1f..%.1f y %.1f..%.1f) cut by a later fill of x "
                    "%.1f..%.1f y %.1f..%.1f", l.text.c_str(), l.ink.x0, l.ink.x1, l.ink.y0, l.ink.y1, f.box.x0,
                    f.box.x1, f.box.y0, f.box.y1);
      out.push_back(line);
    }
  }
  for (size_t a = 0; a < all.size(); ++a)
    for (size_t b = a + 1; b < all.size(); ++b) {
      const Label& s = all[a];
      const Label& t = all[b];
      if (!seen(s) || !seen(t)) continue;
      const bool markers = s.kind == Kind::Marker || t.kind == Kind::Marker;
      const bool fixed = s.kind == Kind::Fixed || t.kind == Kind::Fixed;
      const bool both_fixed = s.kind == Kind::Fixed && t.kind == Kind::Fixed;
      // A label on the same label (within 2.5 pixels) is the one label redrawn by a partial
      // frame; drawn further apart it is one fix labelled twice.
      if (s.text == t.text && !fixed) {
        const bool redrawn = std::fabs(s.ink.x0 - t.ink.x0) <= 2.5 && std::fabs(s.ink.y0 - t.ink.y0) <= 2.5;
        if (!redrawn && text_layout::depth(s.ink, t.ink) > text_layout::kDepth &&
            unwiped_depth(fills, s, t) > text_layout::kDepth) {
          std::snprintf(line, sizeof line, "%s \"%s\" labelled twice: ink x %.1f..%.1f y %.1f..%.1f and x %.1f..%.1f y %.1f..%.1f",
                        kind_name(t.kind), t.text.c_str(), s.ink.x0, s.ink.x1, s.ink.y0, s.ink.y1, t.ink.x0, t.ink.x1,
                        t.ink.y0, t.ink.y1);
          out.push_back(line);
        }
        continue;
      }
      // Idents on idents are the map's own; fixed texts on fixed texts are the
      // text check's.
      if (both_fixed || (!markers && !fixed)) continue;
      if (rules.pairs.count({s.text, t.text}) || rules.pairs.count({t.text, s.text})) continue;
      const bool s_held = s.kind == Kind::Marker || s.route, t_held = t.kind == Kind::Marker || t.route;
      if (!fixed && !(s_held && t_held)) continue;
      if (fixed && !markers && !rules.idents_on_scales) continue;
      if (text_layout::depth(s.ink, t.ink) <= text_layout::kDepth) continue;
      const double d = unwiped_depth(fills, s, t);
      if (d <= text_layout::kDepth) continue;
      std::snprintf(line, sizeof line,
                    "%s \"%s\" (ink x %.1f..%.1f y %.1f..%.1f) over %s \"%s\" "
                    "(ink x %.1f..%.1f y %.1f..%.1f) by %.1f px",
                    kind_name(t.kind), t.text.c_str(), t.ink.x0, t.ink.x1, t.ink.y0, t.ink.y1, kind_name(s.kind),
                    s.text.c_str(), s.ink.x0, s.ink.x1, s.ink.y0, s.ink.y1, d);
      out.push_back(line);
    }
  return out;
}

}  // namespace map_label_layout
