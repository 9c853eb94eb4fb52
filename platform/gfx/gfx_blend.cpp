// A solid colour blended through A8 coverage into the pixels, eight at a time where the
// processor has 256-bit integer vectors (a row's last pixels under a lane mask of 512-bit
// ones where it has those): the arithmetic of pixman's OVER of a solid source through an
// a8 mask (x * y / 255 rounded as ((x * y + 0x80) * 0x101) >> 16, the sum saturated), so
// that the pixels come out as pixman blends them, bit for bit.
#include "platform/gfx/gfx_internal.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>

#include <cstdlib>
#include <cstring>

namespace {

#define VEK_AVX2 __attribute__((target("avx2"), always_inline)) inline

// a * b / 255 in each 16-bit lane.
VEK_AVX2 __m256i mul(__m256i a, __m256i b) {
  return _mm256_mulhi_epu16(_mm256_adds_epu16(_mm256_mullo_epi16(a, b), _mm256_set1_epi16(0x80)),
                            _mm256_set1_epi16(0x101));
}

// Each pixel's coverage of `m8` in the 16-bit lanes of its four channels, in the order
// the pixels widen in: `lo` holds pixels 0, 1 | 4, 5, `hi` pixels 2, 3 | 6, 7.
VEK_AVX2 void spread(__m128i m8, __m256i& lo, __m256i& hi) {
  const __m256i all = _mm256_broadcastq_epi64(m8);
  const char z = char(0x80);  // a lane made zero
  lo = _mm256_shuffle_epi8(all, _mm256_setr_epi8(0, z, 0, z, 0, z, 0, z, 1, z, 1, z, 1, z, 1, z,  //
                                                 4, z, 4, z, 4, z, 4, z, 5, z, 5, z, 5, z, 5, z));
  hi = _mm256_shuffle_epi8(all, _mm256_setr_epi8(2, z, 2, z, 2, z, 2, z, 3, z, 3, z, 3, z, 3, z,  //
                                                 6, z, 6, z, 6, z, 6, z, 7, z, 7, z, 7, z, 7, z));
}

// The pixels `dst` under coverages `m8` (eight each). An opaque source's alpha through a
// coverage is the coverage itself (x * 255 / 255 rounds to x).
template <bool OPAQUE>
VEK_AVX2 __m256i blended(__m128i m8, __m256i dst, __m256i src, __m256i alpha) {
  const __m256i zero = _mm256_setzero_si256(), ff = _mm256_set1_epi16(0xFF);
  __m256i mlo, mhi;
  spread(m8, mlo, mhi);
  // The destination's share: 255 less the source's alpha through the coverage.
  const __m256i keep_lo = _mm256_xor_si256(OPAQUE ? mlo : mul(alpha, mlo), ff);
  const __m256i keep_hi = _mm256_xor_si256(OPAQUE ? mhi : mul(alpha, mhi), ff);
  const __m256i lo = _mm256_add_epi16(mul(src, mlo), mul(_mm256_unpacklo_epi8(dst, zero), keep_lo));
  const __m256i hi = _mm256_add_epi16(mul(src, mhi), mul(_mm256_unpackhi_epi8(dst, zero), keep_hi));
  return _mm256_packus_epi16(lo, hi);
}

// Wholly covered by an opaque colour: the colour itself, the pixels not read.
template <bool OPAQUE>
VEK_AVX2 bool covered(__m128i m8) {
  return OPAQUE && _mm_cvtsi128_si64(m8) == -1;
}

// Eight pixels at `d` under eight coverages `m8`; a lane of `lanes` set where a pixel is
// in the run (null: all eight).
template <bool OPAQUE>
VEK_AVX2 void blend8(uint32_t* d, __m128i m8, __m256i src, __m256i alpha, uint32_t solid, const __m256i* lanes) {
  auto* at = reinterpret_cast<__m256i*>(d);
  auto* ints = reinterpret_cast<int*>(d);
  const __m256i out = covered<OPAQUE>(m8) ? _mm256_set1_epi32(int32_t(solid))
                      : blended<OPAQUE>(m8, lanes ? _mm256_maskload_epi32(ints, *lanes) : _mm256_loadu_si256(at),
                                        src, alpha);
  if (lanes)
    _mm256_maskstore_epi32(ints, *lanes, out);
  else
    _mm256_storeu_si256(at, out);
}

// The first `n` (fewer than eight) bytes at `p` in a word's low bytes, read in place: a
// row may end there, and bytes copied out through memory would stall the load.
inline uint64_t load_tail(const uint8_t* p, int32_t n) {
  uint64_t v = 0;
  int32_t at = 0;
  if (n & 4) {
    uint32_t w;
    std::memcpy(&w, p, 4);
    v = w, at = 4;
  }
  if (n & 2) {
    uint16_t w;
    std::memcpy(&w, p + at, 2);
    v |= uint64_t(w) << (8 * at), at += 2;
  }
  if (n & 1) v |= uint64_t(p[at]) << (8 * at);
  return v;
}

// Eight coverages through eight clip coverages.
VEK_AVX2 __m128i through_clip(__m128i m8, __m128i c8) {
  const __m128i t = _mm_mullo_epi16(_mm_cvtepu8_epi16(m8), _mm_cvtepu8_epi16(c8));
  return _mm_packus_epi16(_mm_mulhi_epu16(_mm_adds_epu16(t, _mm_set1_epi16(0x80)), _mm_set1_epi16(0x101)),
                          _mm_setzero_si128());
}

// The source's channels and alpha in 16-bit lanes.
VEK_AVX2 __m256i source(uint32_t src) {
  return _mm256_unpacklo_epi8(_mm256_set1_epi32(int32_t(src)), _mm256_setzero_si256());
}
VEK_AVX2 __m256i source_alpha(uint32_t src) { return _mm256_set1_epi16(int16_t(src >> 24)); }

// Row `row` of the run: its pixels, coverage and clip's coverage (null without a clip).
struct Row {
  uint32_t* d;
  const uint8_t* m;
  const uint8_t* c;
};
inline Row row_of(const GfxBlendRun& r, int32_t row) {
  return {r.pixels + size_t(row) * size_t(r.pixel_stride), r.mask + size_t(row) * size_t(r.mask_stride),
          r.clip ? r.clip + size_t(row) * size_t(r.clip_stride) : nullptr};
}

// The first `whole` pixels of a row (a multiple of eight).
template <bool OPAQUE>
VEK_AVX2 void blend_eights(const Row& row, int32_t whole, __m256i src, __m256i alpha, uint32_t solid) {
  for (int32_t i = 0; i < whole; i += 8) {
    __m128i m8 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row.m + i));
    if (row.c) m8 = through_clip(m8, _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row.c + i)));
    if (_mm_cvtsi128_si64(m8) == 0) continue;
    blend8<OPAQUE>(row.d + i, m8, src, alpha, solid, nullptr);
  }
}

// The last `tail` (fewer than eight) pixels of a row, from `whole` on; `lanes` set for them.
template <bool OPAQUE>
VEK_AVX2 void blend_tail_avx2(const Row& row, int32_t whole, int32_t tail, const __m256i& lanes, __m256i src,
                              __m256i alpha, uint32_t solid) {
  __m128i m8 = _mm_cvtsi64_si128(int64_t(load_tail(row.m + whole, tail)));
  if (row.c) m8 = through_clip(m8, _mm_cvtsi64_si128(int64_t(load_tail(row.c + whole, tail))));
  // Lanes past the run are neither read nor written.
  if (_mm_cvtsi128_si64(m8) != 0) blend8<OPAQUE>(row.d + whole, m8, src, alpha, solid, &lanes);
}

VEK_AVX2 __m256i tail_lanes(int32_t tail) {
  return _mm256_cmpgt_epi32(_mm256_set1_epi32(tail), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

template <bool OPAQUE>
__attribute__((target("avx2"))) void blend_avx2(const GfxBlendRun& r) {
  const __m256i src = source(r.src), alpha = source_alpha(r.src);
  // The lanes of a run's last pixels (fewer than eight).
  const int32_t tail = r.width % 8, whole = r.width - tail;
  const __m256i lanes = tail_lanes(tail);
  for (int32_t y = 0; y < r.height; ++y) {
    const Row row = row_of(r, y);
    blend_eights<OPAQUE>(row, whole, src, alpha, r.src);
    if (tail != 0) blend_tail_avx2<OPAQUE>(row, whole, tail, lanes, src, alpha, r.src);
  }
}

template <bool OPAQUE>
__attribute__((target("avx2"))) void rows_avx2(const GfxBlendRow* rows, int32_t n, uint32_t solid) {
  const __m256i src = source(solid), alpha = source_alpha(solid);
  for (int32_t i = 0; i < n; ++i) {
    const Row row{rows[i].pixels, rows[i].mask, rows[i].clip};
    const int32_t tail = rows[i].width % 8, whole = rows[i].width - tail;
    blend_eights<OPAQUE>(row, whole, src, alpha, solid);
    if (tail != 0) blend_tail_avx2<OPAQUE>(row, whole, tail, tail_lanes(tail), src, alpha, solid);
  }
}

#define VEK_AVX512 __attribute__((target("avx2,avx512f,avx512bw,avx512vl")))

// As blend_tail_avx2, the pixels read and written under a lane mask.
template <bool OPAQUE>
VEK_AVX512 __attribute__((always_inline)) inline void blend_tail_avx512(const Row& row, int32_t whole, __mmask8 lanes,
                                                                         __m256i src, __m256i alpha, uint32_t solid) {
  __m128i m8 = _mm_maskz_loadu_epi8(lanes, row.m + whole);
  if (row.c) m8 = through_clip(m8, _mm_maskz_loadu_epi8(lanes, row.c + whole));
  if (_mm_cvtsi128_si64(m8) == 0) return;
  uint32_t* at = row.d + whole;
  const __m256i out = covered<OPAQUE>(m8) ? _mm256_set1_epi32(int32_t(solid))
                      : blended<OPAQUE>(m8, _mm256_maskz_loadu_epi32(lanes, at), src, alpha);
  _mm256_mask_storeu_epi32(at, lanes, out);
}

// As blend_avx2, a run's last pixels read and written under a lane mask.
template <bool OPAQUE>
VEK_AVX512 void blend_avx512(const GfxBlendRun& r) {
  const __m256i src = source(r.src), alpha = source_alpha(r.src);
  const int32_t tail = r.width % 8, whole = r.width - tail;
  const auto lanes = __mmask8((1u << tail) - 1);
  for (int32_t y = 0; y < r.height; ++y) {
    const Row row = row_of(r, y);
    blend_eights<OPAQUE>(row, whole, src, alpha, r.src);
    if (tail != 0) blend_tail_avx512<OPAQUE>(row, whole, lanes, src, alpha, r.src);
  }
}

template <bool OPAQUE>
VEK_AVX512 void rows_avx512(const GfxBlendRow* rows, int32_t n, uint32_t solid) {
  const __m256i src = source(solid), alpha = source_alpha(solid);
  for (int32_t i = 0; i < n; ++i) {
    const Row row{rows[i].pixels, rows[i].mask, rows[i].clip};
    const int32_t tail = rows[i].width % 8, whole = rows[i].width - tail;
    blend_eights<OPAQUE>(row, whole, src, alpha, solid);
    if (tail != 0) blend_tail_avx512<OPAQUE>(row, whole, __mmask8((1u << tail) - 1), src, alpha, solid);
  }
}

// VEK_VECTOR_BITS=256 in the environment keeps the blend to 256-bit vectors where wider ones
// are, so that a run is timed as on a processor without them; read once.
bool wider_allowed() {
  const char* bits = std::getenv("VEK_VECTOR_BITS");
  return !(bits && std::strcmp(bits, "256") == 0);
}

bool has_avx512() {
  static const bool yes = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                          __builtin_cpu_supports("avx512vl") && wider_allowed();
  return yes;
}

bool has_avx2() {
  static const bool yes = __builtin_cpu_supports("avx2");
  return yes;
}

}  // namespace

int gfx_vector_bits() { return has_avx512() ? 512 : has_avx2() ? 256 : 0; }

bool gfx_blend_solid(const GfxBlendRun& run, bool widest) {
  if (!has_avx2()) return false;
  // Each row's first and last pixels asked of memory at once, rather than row after row as
  // the blend reaches them.
  for (int32_t y = 0; y < run.height && run.width > 0; ++y) {
    const uint32_t* pixels = row_of(run, y).d;
    __builtin_prefetch(pixels, 1);
    __builtin_prefetch(pixels + run.width - 1, 1);
  }
  const bool opaque = (run.src >> 24) == 0xFF;
  if (widest && has_avx512())
    opaque ? blend_avx512<true>(run) : blend_avx512<false>(run);
  else
    opaque ? blend_avx2<true>(run) : blend_avx2<false>(run);
  return true;
}

bool gfx_blend_solid_rows(const GfxBlendRow* rows, int32_t n, uint32_t src, bool widest) {
  if (!has_avx2()) return false;
  // Every row's first and last pixels asked of memory before the first is blended.
  for (int32_t i = 0; i < n; ++i) {
    if (rows[i].width <= 0) continue;
    __builtin_prefetch(rows[i].pixels, 1);
    __builtin_prefetch(rows[i].pixels + rows[i].width - 1, 1);
  }
  const bool opaque = (src >> 24) == 0xFF;
  if (widest && has_avx512())
    opaque ? rows_avx512<true>(rows, n, src) : rows_avx512<false>(rows, n, src);
  else
    opaque ? rows_avx2<true>(rows, n, src) : rows_avx2<false>(rows, n, src);
  return true;
}

#else

bool gfx_blend_solid(const GfxBlendRun&, bool) { return false; }
bool gfx_blend_solid_rows(const GfxBlendRow*, int32_t, uint32_t, bool) { return false; }
int gfx_vector_bits() { return 0; }

#endif

void gfx_fill_pixels(GaugeImage* image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t pixel) {
  if (x1 <= x0 || y1 <= y0) return;
  const size_t stride = size_t(image->stride / 4);
  size_t width = size_t(x1 - x0), rows = size_t(y1 - y0);
  if (width == stride) {  // whole rows one after another: one run (a long run is written faster)
    width *= rows;
    rows = 1;
  }
  for (size_t y = size_t(y0); y < size_t(y0) + rows; ++y) {
    uint32_t* row = image->pixels + size_t(y) * stride + size_t(x0);
#if defined(__x86_64__)
    size_t n = width;
    asm volatile("rep stosl" : "+D"(row), "+c"(n) : "a"(pixel) : "memory");
#else
    std::fill(row, row + width, pixel);
#endif
  }
}

namespace {

// Two channels of `p` (bits 0-7 and 16-23) each times a / 255, as cairo's span fill rounds.
uint32_t times2(uint32_t p, uint32_t a) {
  const uint32_t t = (p & 0x00FF00FFu) * a + 0x007F007Fu;
  return ((t + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// Two channels' sums, each at most 255.
uint32_t sum2(uint32_t a, uint32_t b) {
  uint32_t t = a + b;
  t |= 0x01000100u - ((t >> 8) & 0x00FF00FFu);
  return t & 0x00FF00FFu;
}

}  // namespace

void gfx_mix_opaque(uint32_t* pixels, const uint8_t* cover, int32_t n, uint32_t pixel) {
  for (int32_t i = 0; i < n; ++i) {
    const uint32_t a = cover[i], rest = 255 - a, d = pixels[i];
    if (a == 255)
      pixels[i] = pixel;
    else if (a)
      pixels[i] = sum2(times2(pixel, a), times2(d, rest)) | sum2(times2(pixel >> 8, a), times2(d >> 8, rest)) << 8;
  }
}
