// Text conversion, font faces and path geometry of the graphics layer.
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <cmath>

#include "platform/gfx/gfx_internal.h"

namespace {

constexpr double PI = 3.14159265358979323846;

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes map to themselves.
const char16_t CP1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Installed faces that serve each family, best first: faces with the family's widths, so
// that texts fit the boxes the displays draw around them. Liberation Sans and Mono share
// Arial's and Courier New's widths (fonts-liberation); "ZO Zuduz" digits are as wide as
// Arial's (the MD-80 scale's ticks fall between a label's digits, the MD-11 heading fits
// its box), DejaVu Sans Condensed (fonts-dejavu-extra) the nearest narrow face after it.
struct FamilyFaces {
  const char* name;
  const char* faces[4];
  const char* chosen;  // resolved once
};

FamilyFaces FAMILIES[] = {
    {"Arial", {"Arial", "Liberation Sans", "DejaVu Sans Condensed", nullptr}, nullptr},
    {"Courier New", {"Courier New", "Liberation Mono", "DejaVu Sans Mono", nullptr}, nullptr},
    {"Tahoma", {"Tahoma", "Liberation Sans", "DejaVu Sans Condensed", nullptr}, nullptr},
    {"ZO Zuduz", {"Liberation Sans", "DejaVu Sans Condensed", "DejaVu Sans", nullptr}, nullptr},
    {"Terminus", {"Terminus", "DejaVu Sans Mono", "Liberation Mono", nullptr}, nullptr},
};

bool face_installed(const char* face) {
  if (!FcInit()) return false;
  FcPattern* pat = FcPatternCreate();
  if (!pat) return false;
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(face));
  FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr));
  FcFontSet* fs = os ? FcFontList(nullptr, pat, os) : nullptr;
  bool found = fs && fs->nfont > 0;
  if (fs) FcFontSetDestroy(fs);
  if (os) FcObjectSetDestroy(os);
  FcPatternDestroy(pat);
  return found;
}

void append_utf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

}  // namespace

int32_t gfx_widen(const char* bytes, char16_t* out, int32_t capacity) {
  if (!out || capacity <= 0) return 0;
  out[0] = 0;
  if (!bytes) return 0;
  int32_t n = 0;
  while (bytes[n] != 0) ++n;
  if (n + 1 > capacity) return 0;
  for (int32_t i = 0; i < n; ++i) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    out[i] = (b >= 0x80 && b < 0xA0) ? CP1252_HIGH[b - 0x80] : char16_t(b);
  }
  out[n] = 0;
  return n + 1;
}

std::string gfx_utf8(const char16_t* text, int32_t length) {
  std::string out;
  if (!text) return out;
  for (int32_t i = 0; length < 0 ? text[i] != 0 : i < length; ++i) {
    uint32_t c = text[i];
    if (c == 0) break;
    if (c >= 0xD800 && c < 0xDC00) {
      bool pair = (length < 0 || i + 1 < length) && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
      if (pair) {
        c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        ++i;
      } else {
        c = 0xFFFD;
      }
    } else if (c >= 0xDC00 && c < 0xE000) {
      c = 0xFFFD;
    }
    append_utf8(out, c);
  }
  return out;
}

const char* gfx_resolve_face(const char* name) {
  for (FamilyFaces& f : FAMILIES) {
    if (strcasecmp(f.name, name) != 0) continue;
    if (!f.chosen) {
      f.chosen = "sans-serif";  // fontconfig substitutes when none is installed
      for (const char* face : f.faces) {
        if (face && face_installed(face)) {
          f.chosen = face;
          break;
        }
      }
    }
    return f.chosen;
  }
  return nullptr;
}

double gfx_ellipse_param(double a, double b, double deg) {
  double r = deg * PI / 180.0;
  if (a <= 0 || b <= 0) return r;
  // Same quadrant as r; take the turn nearest to r.
  double t = std::atan2(a * std::sin(r), b * std::cos(r));
  return t + 2 * PI * std::round((r - t) / (2 * PI));
}

void gfx_arc_points(double x, double y, double w, double h, double start, double sweep,
                    std::vector<GfxPointF>& out) {
  double a = w / 2, b = h / 2, cx = x + a, cy = y + b;
  if (sweep > 360) sweep = 360;
  if (sweep < -360) sweep = -360;
  double t0 = gfx_ellipse_param(a, b, start);
  double t1 = std::fabs(sweep) >= 360 ? t0 + (sweep > 0 ? 2 * PI : -2 * PI) : gfx_ellipse_param(a, b, start + sweep);
  int steps = int(std::ceil(std::fabs(t1 - t0) / (2 * PI) * 96));
  if (steps < 1) steps = 1;
  for (int i = 0; i <= steps; ++i) {
    double t = t0 + (t1 - t0) * i / steps;
    out.push_back({cx + a * std::cos(t), cy + b * std::sin(t)});
  }
}

std::vector<std::vector<GfxPointF>> gfx_flatten_path(const GfxPath& path) {
  std::vector<std::vector<GfxPointF>> figures;
  std::vector<GfxPointF> cur;
  auto finish = [&] {
    if (cur.size() >= 2) figures.push_back(cur);
    cur.clear();
  };
  for (const GfxPathSeg& s : path.segs) {
    switch (s.kind) {
      case GfxPathSeg::LINE:
        cur.push_back({s.v[0], s.v[1]});
        cur.push_back({s.v[2], s.v[3]});
        break;
      case GfxPathSeg::ARC:
        gfx_arc_points(s.v[0], s.v[1], s.v[2], s.v[3], s.v[4], s.v[5], cur);
        break;
      case GfxPathSeg::ELLIPSE: {
        finish();
        gfx_arc_points(s.v[0], s.v[1], s.v[2], s.v[3], 0, 360, cur);
        finish();
        break;
      }
      case GfxPathSeg::BEZIER: {
        if (cur.empty()) cur.push_back({s.v[4], s.v[5]});
        const GfxPointF p0 = cur.back();
        constexpr int32_t STEPS = 16;
        for (int32_t k = 1; k <= STEPS; ++k) {
          double t = double(k) / STEPS, u = 1.0 - t;
          double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
          cur.push_back(
              {a * p0.x + b * s.v[0] + c * s.v[2] + d * s.v[4], a * p0.y + b * s.v[1] + c * s.v[3] + d * s.v[5]});
        }
        break;
      }
      case GfxPathSeg::CLOSE:
        finish();
        break;
    }
  }
  finish();
  return figures;
}

// The font configuration library keeps its parsed configuration for the life of
// the process; tell the leak checker of sanitizer builds so.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
