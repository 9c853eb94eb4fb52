// Input the host gives a panel: mouse rectangles walked and hit, clicks by index or
// position, and text typed on a unit's keys.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "host/sim_host.h"

namespace simhost {

namespace {

constexpr int MAX_MOUSE_RECTS = 4096;   // a list without an end record stops here

// Walks a mouse-rectangle list: calls fn(child index, rect, abs x, abs y, depth) for each
// CHILD with its box in gauge design units; parents nest and offset their children.
template <typename Fn>
void walk_rects(const MouseRect* list, Fn fn, int* first_parent_w = nullptr, int* first_parent_h = nullptr) {
  if (!list) return;
  struct Frame {
    int x, y, w, h;
  };
  std::vector<Frame> stack;
  int child = 0;
  for (int i = 0; i < MAX_MOUSE_RECTS; ++i) {
    const MouseRect& r = list[i];
    if (r.type == MOUSE_RECT_EOL) break;
    int ox = stack.empty() ? 0 : stack.back().x;
    int oy = stack.empty() ? 0 : stack.back().y;
    if (r.type == MOUSE_RECT_PARENT) {
      if (stack.empty() && first_parent_w && *first_parent_w == 0) {
        *first_parent_w = r.width;
        *first_parent_h = r.height;
      }
      stack.push_back(Frame{ox + r.x, oy + r.y, r.width, r.height});
    } else if (r.type == MOUSE_RECT_END_PARENT) {
      if (!stack.empty()) stack.pop_back();
    } else if (r.type == MOUSE_RECT_CHILD) {
      bool inside_parents = true;
      fn(child, &list[i], ox + r.x, oy + r.y, static_cast<int>(stack.size()), stack, inside_parents);
      ++child;
    }
  }
}

}  // namespace

int SimHost::child_rect_count(const PlacedGauge& g) const {
  int n = 0;
  walk_rects(g.header.mouse_rect, [&](int, const MouseRect*, int, int, int, const auto&, bool) { ++n; });
  return n;
}

int SimHost::key_for_char(const PlacedGauge& g, char c) const {
  int found = -1;
  for (int pass = 0; pass < 2 && found < 0; ++pass) {
    char want = pass == 0 ? c : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (pass == 1 && want == c) break;
    walk_rects(g.header.mouse_rect, [&](int idx, const MouseRect* r, int, int, int, const auto&, bool) {
      if (found < 0 && r->key_chars && want != '\0' && std::strchr(r->key_chars, want)) found = idx;
    });
  }
  return found;
}

int SimHost::hit_test(const PlacedGauge& g, int px, int py) const {
  int pw = 0, ph = 0;
  walk_rects(g.header.mouse_rect, [](int, const MouseRect*, int, int, int, const auto&, bool) {}, &pw, &ph);
  // Mouse boxes are in the gauge's design units: the first parent's size, else the design size.
  double dw = pw > 0 ? pw : g.design_width;
  double dh = ph > 0 ? ph : g.design_height;
  double x = g.width > 0 ? px * dw / g.width : px;
  double y = g.height > 0 ? py * dh / g.height : py;
  int best = -1, best_depth = -1;
  walk_rects(g.header.mouse_rect,
             [&](int idx, const MouseRect* r, int ax, int ay, int depth, const auto& stack, bool) {
               // A parent with an empty box stands for the whole gauge.
               for (const auto& f : stack)
                 if (f.w > 0 && f.h > 0 && (x < f.x || y < f.y || x >= f.x + f.w || y >= f.y + f.h)) return;
               if (x < ax || y < ay || x >= ax + r->width || y >= ay + r->height) return;
               if (depth > best_depth) {
                 best = idx;
                 best_depth = depth;
               }
             });
  return best;
}

bool SimHost::click_index(const std::string& gauge, int index, std::string* error) {
  PlacedGauge* g = find_gauge(gauge);
  if (!g) {
    if (error) *error = "no gauge " + gauge + " on the panel";
    return false;
  }
  MouseRect* target = nullptr;
  walk_rects(g->header.mouse_rect, [&](int idx, const MouseRect* r, int, int, int, const auto&, bool) {
    if (idx == index) target = const_cast<MouseRect*>(r);
  });
  if (!target) {
    if (error) *error = "gauge " + gauge + " has no click rectangle " + std::to_string(index);
    return false;
  }
  if (!target->click || !(target->event_flags & (MOUSE_LEFT_SINGLE | MOUSE_LEFT_REPEAT))) {
    if (error) *error = "click rectangle " + std::to_string(index) + " of " + gauge + " takes no left click";
    return false;
  }
  Record r{RecordKind::Click};
  r.id = index;
  r.name = g->name;
  add_record(r);
  enter_sim_folder();
  target->click(target, MOUSE_LEFT_SINGLE);
  return true;
}

bool SimHost::click_at(const std::string& gauge, int x, int y, std::string* error) {
  PlacedGauge* g = find_gauge(gauge);
  if (!g) {
    if (error) *error = "no gauge " + gauge + " on the panel";
    return false;
  }
  int idx = hit_test(*g, x, y);
  if (idx < 0) {
    if (error) *error = "no click rectangle of " + gauge + " at " + std::to_string(x) + " " + std::to_string(y);
    return false;
  }
  return click_index(gauge, idx, error);
}

bool SimHost::type_text(const std::string& gauge, const std::string& text, std::string* error) {
  PlacedGauge* g = find_gauge(gauge);
  if (!g) {
    if (error) *error = "no gauge " + gauge + " on the panel";
    return false;
  }
  for (char c : text) {
    int idx = key_for_char(*g, c);
    if (idx < 0) {
      if (error) *error = std::string("gauge ") + gauge + " has no key for '" + c + "'";
      return false;
    }
    if (!click_index(gauge, idx, error)) return false;
    run_frames(1);
  }
  return true;
}

}  // namespace simhost
