// Fonts kept between texts: cairo faces per face name and weight, font options per
// smoothing, and per scaled font the glyph and advance of every printable ASCII
// character met, so that a label neither selects a face nor converts its characters
// through cairo again. Released when the library stops.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "platform/gfx/gfx_internal.h"

namespace {

struct FaceEntry {
  std::string face;
  int32_t style;
  cairo_font_face_t* cairo_face;
};

constexpr int32_t FIRST_CHAR = 0x20, LAST_CHAR = 0x7E;
constexpr int32_t TABLE_CHARS = LAST_CHAR - FIRST_CHAR + 1;
enum : uint8_t { UNKNOWN = 0, KNOWN, ABSENT };

}  // namespace

// The glyphs of one scaled font, which the entry holds a reference to (so that no
// other font can take its address while the entry lives).
struct GfxGlyphTable {
  cairo_scaled_font_t* font;
  cairo_font_extents_t extents;
  unsigned long index[TABLE_CHARS];
  double x_advance[TABLE_CHARS];
  double y_advance[TABLE_CHARS];
  double ink[TABLE_CHARS][4];
  uint8_t state[TABLE_CHARS];  // UNKNOWN until first used
  // What a text drew it through (gfx_note_text_font): face, style, size, smoothing and
  // the transform's linear part.
  bool noted;
  std::string face;
  int32_t style;
  double size;
  bool antialias;
  double linear[4];
  uint64_t used;  // the look-up that found it last
};

namespace {

using GlyphTable = GfxGlyphTable;

// Sizes differ per display scale and every turn of a turned text is a font of its own:
// beyond this many tables, the half used longest ago is let go (the fonts a frame draws
// through stay while turned ones pass).
constexpr size_t MAX_TABLES = 256;
// Slots of the two indexes of the tables (by scaled font, by what a text drew through).
constexpr size_t INDEX_SLOTS = 2 * MAX_TABLES;
// A text's table is filed in one of a group of this many slots of its hash, so that texts
// whose hashes meet (two displays' fonts drawn every frame) do not put each other out.
constexpr size_t TEXT_WAYS = 4;

struct FontCache {
  std::vector<FaceEntry> faces;
  std::vector<GlyphTable> tables;
  uint64_t clock = 0;  // counts look-ups, to stamp each table's last use
  // Table indexes (-1: none) filed by a hash; each checked against the table found. A text
  // finds its table among the last ones noted in its group of slots.
  int32_t by_font[INDEX_SLOTS];
  int32_t by_text[INDEX_SLOTS];
  cairo_font_options_t* options[2] = {nullptr, nullptr};  // without, with anti-aliasing
  cairo_font_options_t* current = nullptr;  // a context's options, read into it to compare

  FontCache() { forget_indexes(); }
  void forget_indexes() {
    std::fill(std::begin(by_font), std::end(by_font), -1);
    std::fill(std::begin(by_text), std::end(by_text), -1);
  }
  void release_tables() {
    for (GlyphTable& t : tables) cairo_scaled_font_destroy(t.font);
    tables.clear();
    forget_indexes();
  }
  // Lets the half of the tables used longest ago go.
  void release_older_tables() {
    std::vector<uint64_t> used;
    for (const GlyphTable& t : tables) used.push_back(t.used);
    std::nth_element(used.begin(), used.begin() + ptrdiff_t(used.size() / 2), used.end());
    const uint64_t cut = used[used.size() / 2];
    for (GlyphTable& t : tables)
      if (t.used < cut) cairo_scaled_font_destroy(t.font);
    tables.erase(std::remove_if(tables.begin(), tables.end(), [&](const GlyphTable& t) { return t.used < cut; }),
                 tables.end());
    forget_indexes();
  }
  void release() {
    release_tables();
    for (FaceEntry& f : faces) cairo_font_face_destroy(f.cairo_face);
    faces.clear();
    for (cairo_font_options_t*& o : options) {
      if (o) cairo_font_options_destroy(o);
      o = nullptr;
    }
    if (current) cairo_font_options_destroy(current);
    current = nullptr;
  }
  ~FontCache() { release(); }
};

cairo_font_face_t* face_of(const GfxFont* font) {
  FontCache& cache = gfx_per_thread<FontCache>();
  for (const FaceEntry& f : cache.faces)
    if (f.style == font->style && f.face == font->face) return f.cairo_face;
  cairo_font_face_t* face =
      cairo_toy_font_face_create(font->face.c_str(), CAIRO_FONT_SLANT_NORMAL,
                                 font->style == GFX_FONT_BOLD ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cache.faces.push_back({font->face, font->style, face});
  return face;
}

const cairo_font_options_t* options_of(bool antialias) {
  FontCache& cache = gfx_per_thread<FontCache>();
  cairo_font_options_t*& o = cache.options[antialias ? 1 : 0];
  if (!o) {
    o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
  }
  return o;
}

// A character converted alone, as cairo converts it within a text; looked up on its
// first use only (a font under a turning transform is a new scaled font each frame).
bool learn(GlyphTable& t, int32_t k) {
  if (t.state[k] == UNKNOWN) {
    char ch = char(k + FIRST_CHAR);
    cairo_glyph_t* glyphs = nullptr;
    int n = 0;
    t.state[k] = ABSENT;
    if (cairo_scaled_font_text_to_glyphs(t.font, 0, 0, &ch, 1, &glyphs, &n, nullptr, nullptr, nullptr) ==
            CAIRO_STATUS_SUCCESS &&
        n == 1) {
      cairo_text_extents_t te;
      cairo_scaled_font_glyph_extents(t.font, glyphs, 1, &te);
      t.index[k] = glyphs[0].index;
      t.x_advance[k] = te.x_advance;
      t.y_advance[k] = te.y_advance;
      t.ink[k][0] = te.x_bearing, t.ink[k][1] = te.y_bearing;
      t.ink[k][2] = te.x_bearing + te.width, t.ink[k][3] = te.y_bearing + te.height;
      t.state[k] = KNOWN;
    }
    cairo_glyph_free(glyphs);
  }
  return t.state[k] == KNOWN;
}

size_t font_slot(const cairo_scaled_font_t* font) {
  const uintptr_t p = reinterpret_cast<uintptr_t>(font);
  return size_t(gfx_hash_words(&p, 1, 0) & (INDEX_SLOTS - 1));
}

GlyphTable* table_of(cairo_scaled_font_t* font) {
  FontCache& cache = gfx_per_thread<FontCache>();
  std::vector<GlyphTable>& tables = cache.tables;
  int32_t& slot = cache.by_font[font_slot(font)];
  GlyphTable* t = slot >= 0 && size_t(slot) < tables.size() && tables[size_t(slot)].font == font
                      ? &tables[size_t(slot)]
                      : nullptr;
  for (size_t i = 0; !t && i < tables.size(); ++i)
    if (tables[i].font == font) t = &tables[i], slot = int32_t(i);
  if (!t) {
    if (cairo_scaled_font_status(font) != CAIRO_STATUS_SUCCESS) return nullptr;
    if (tables.size() >= std::max(gfx_thread_part(MAX_TABLES), size_t(16))) cache.release_older_tables();
    tables.emplace_back();
    t = &tables.back();
    t->font = cairo_scaled_font_reference(font);
    cairo_scaled_font_extents(font, &t->extents);
    cache.by_font[font_slot(font)] = int32_t(tables.size() - 1);
  }
  t->used = ++cache.clock;
  return t;
}

size_t text_slot(const GfxFont* font, bool antialias, const double linear[4]) {
  uint64_t words[6];
  std::memcpy(&words[0], &font->size, sizeof(double));
  std::memcpy(&words[1], linear, 4 * sizeof(double));
  words[5] = uint64_t(uint32_t(font->style)) << 1 | (antialias ? 1 : 0);
  return size_t(gfx_hash_words(words, 6, 0) & (INDEX_SLOTS - 1) & ~(TEXT_WAYS - 1));
}

}  // namespace

void gfx_select_font(cairo_t* cr, const GfxFont* font, bool antialias) {
  FontCache& cache = gfx_per_thread<FontCache>();
  // Set only what differs: each setting lets the context's scaled font go, and finding
  // it again costs a look-up in cairo's font map.
  cairo_set_font_face(cr, face_of(font));
  cairo_matrix_t m;
  cairo_get_font_matrix(cr, &m);
  if (!(m.xx == font->size && m.yy == font->size && m.xy == 0 && m.yx == 0 && m.x0 == 0 && m.y0 == 0))
    cairo_set_font_size(cr, font->size);
  const cairo_font_options_t* wanted = options_of(antialias);
  if (!cache.current) cache.current = cairo_font_options_create();
  cairo_get_font_options(cr, cache.current);
  if (!cairo_font_options_equal(cache.current, wanted)) cairo_set_font_options(cr, wanted);
}

bool gfx_glyph_run(cairo_t* cr, const std::string& text, double x, double y, std::vector<cairo_glyph_t>& out) {
  out.clear();
  GlyphTable* t = table_of(cairo_get_scaled_font(cr));
  if (!t) return false;
  for (char ch : text) {
    int32_t k = static_cast<unsigned char>(ch) - FIRST_CHAR;
    if (k < 0 || k >= TABLE_CHARS || !learn(*t, k)) return false;
    out.push_back({t->index[k], x, y});
    x += t->x_advance[k];
    y += t->y_advance[k];
  }
  return true;
}

void gfx_font_extents(cairo_t* cr, cairo_font_extents_t* out) {
  if (const GlyphTable* t = table_of(cairo_get_scaled_font(cr)))
    *out = t->extents;
  else
    cairo_font_extents(cr, out);
}

void gfx_note_text_font(cairo_t* cr, const GfxFont* font, bool antialias) {
  FontCache& cache = gfx_per_thread<FontCache>();
  GlyphTable* t = table_of(cairo_get_scaled_font(cr));
  if (!t) return;
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  t->noted = true;
  t->face = font->face;
  t->style = font->style;
  t->size = font->size;
  t->antialias = antialias;
  t->linear[0] = m.xx, t->linear[1] = m.yx, t->linear[2] = m.xy, t->linear[3] = m.yy;
  // Filed in the slot of its group that names it already, else an empty one, else the one
  // whose table was used longest ago.
  const std::vector<GlyphTable>& tables = cache.tables;
  const int32_t index = int32_t(t - tables.data());
  int32_t* group = &cache.by_text[text_slot(font, antialias, t->linear)];
  auto empty = [&](int32_t slot) { return slot < 0 || size_t(slot) >= tables.size(); };
  int32_t* pick = nullptr;
  for (size_t i = 0; i < TEXT_WAYS && !pick; ++i)
    if (group[i] == index) pick = &group[i];
  for (size_t i = 0; i < TEXT_WAYS && !pick; ++i)
    if (empty(group[i])) pick = &group[i];
  if (!pick) {
    pick = &group[0];
    for (size_t i = 1; i < TEXT_WAYS; ++i)
      if (tables[size_t(group[i])].used < tables[size_t(*pick)].used) pick = &group[i];
  }
  *pick = index;
}

GfxGlyphTable* gfx_find_text_font(const GfxFont* font, bool antialias, const double linear[4]) {
  FontCache& cache = gfx_per_thread<FontCache>();
  auto same = [&](const GlyphTable& t) {
    return t.noted && t.size == font->size && t.style == font->style && t.antialias == antialias &&
           t.linear[0] == linear[0] && t.linear[1] == linear[1] && t.linear[2] == linear[2] &&
           t.linear[3] == linear[3] && t.face == font->face;
  };
  std::vector<GlyphTable>& tables = cache.tables;
  const int32_t* group = &cache.by_text[text_slot(font, antialias, linear)];
  GlyphTable* t = nullptr;
  for (size_t i = 0; i < TEXT_WAYS && !t; ++i)
    if (group[i] >= 0 && size_t(group[i]) < tables.size() && same(tables[size_t(group[i])]))
      t = &tables[size_t(group[i])];
  if (t) t->used = ++cache.clock;
  return t;
}

cairo_scaled_font_t* gfx_text_font_scaled(const GfxGlyphTable* t) { return t->font; }

double gfx_text_font_ascent(const GfxGlyphTable* t) { return t->extents.ascent; }

bool gfx_text_glyph(GfxGlyphTable* t, char ch, GfxTextGlyph* out) {
  const int32_t k = static_cast<unsigned char>(ch) - FIRST_CHAR;
  if (k < 0 || k >= TABLE_CHARS || !learn(*t, k) || t->index[k] > UINT32_MAX) return false;
  out->index = uint32_t(t->index[k]);
  out->x_advance = t->x_advance[k];
  out->y_advance = t->y_advance[k];
  std::copy(std::begin(t->ink[k]), std::end(t->ink[k]), out->ink);
  return true;
}

void gfx_release_fonts() { gfx_per_thread<FontCache>().release(); }
