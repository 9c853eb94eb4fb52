// A solid colour blended through A8 coverage into the pixels, eight at a time where the
// processor has 256-bit integer vectors: the arithmetic of pixman's OVER of a solid
// source through an a8 mask (x * y / 255 rounded as ((x * y + 0x80) * 0x101) >> 16, the
// sum saturated), so that the pixels come out as pixman blends them, bit for bit.
#include "platform/gfx/gfx_internal.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>

#include <cstring>

namespace {

#define VEK_AVX2 __attribute__((target("avx2"), always_inline)) inline

// a * b / 255 in each 16-bit lane.
VEK_AVX2 __m256i mul(__m256i a, __m256i b) {
  return _mm256_mulhi_epu16(_mm256_adds_epu16(_mm256_mullo_epi16(a, b), _mm256_set1_epi16(0x80)),
                            _mm256_set1_epi16(0x101));
}

// The source through coverage `m` over `d`, unsaturated (packing saturates), in lanes.
VEK_AVX2 __m256i over(__m256i src, __m256i alpha, __m256i m, __m256i d) {
  return _mm256_add_epi16(mul(src, m), mul(d, _mm256_xor_si256(mul(alpha, m), _mm256_set1_epi16(0xFF))));
}

// Eight pixels at `d` under eight coverages `m8`; a lane of `lanes` set where a pixel is
// in the run (null: all eight).
VEK_AVX2 void blend8(uint32_t* d, __m128i m8, __m256i src, __m256i alpha, uint32_t solid, const __m256i* lanes) {
  const __m256i zero = _mm256_setzero_si256();
  auto* at = reinterpret_cast<__m256i*>(d);
  if ((solid >> 24) == 0xFF && _mm_cvtsi128_si64(m8) == -1) {
    // Wholly covered by an opaque colour: the colour itself.
    const __m256i all = _mm256_set1_epi32(int32_t(solid));
    if (lanes)
      _mm256_maskstore_epi32(reinterpret_cast<int*>(d), *lanes, all);
    else
      _mm256_storeu_si256(at, all);
    return;
  }
  // Each pixel's coverage in its four bytes, then widened as the pixels are.
  const __m256i each = _mm256_mullo_epi32(_mm256_cvtepu8_epi32(m8), _mm256_set1_epi32(0x01010101));
  const __m256i dst = lanes ? _mm256_maskload_epi32(reinterpret_cast<const int*>(d), *lanes) : _mm256_loadu_si256(at);
  const __m256i lo = over(src, alpha, _mm256_unpacklo_epi8(each, zero), _mm256_unpacklo_epi8(dst, zero));
  const __m256i hi = over(src, alpha, _mm256_unpackhi_epi8(each, zero), _mm256_unpackhi_epi8(dst, zero));
  const __m256i out = _mm256_packus_epi16(lo, hi);
  if (lanes)
    _mm256_maskstore_epi32(reinterpret_cast<int*>(d), *lanes, out);
  else
    _mm256_storeu_si256(at, out);
}

__attribute__((target("avx2"))) void blend_avx2(const GfxBlendRun& r) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i src = _mm256_unpacklo_epi8(_mm256_set1_epi32(int32_t(r.src)), zero);
  const __m256i alpha = _mm256_set1_epi16(int16_t(r.src >> 24));
  const __m128i half8 = _mm_set1_epi16(0x80), scale8 = _mm_set1_epi16(0x101);
  // The lanes of a run's last pixels (fewer than eight).
  const int32_t tail = r.width % 8;
  const __m256i lanes = _mm256_cmpgt_epi32(_mm256_set1_epi32(tail), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
  for (int32_t row = 0; row < r.height; ++row) {
    uint32_t* d = r.pixels + size_t(row) * size_t(r.pixel_stride);
    const uint8_t* m = r.mask + size_t(row) * size_t(r.mask_stride);
    const uint8_t* c = r.clip ? r.clip + size_t(row) * size_t(r.clip_stride) : nullptr;
    for (int32_t i = 0; i < r.width; i += 8) {
      const bool last = i + 8 > r.width;
      // The mask and clip bytes of the tail copied out: the rows may end at the run.
      uint8_t mt[8] = {}, ct[8] = {};
      if (last) {
        std::memcpy(mt, m + i, size_t(tail));
        if (c) std::memcpy(ct, c + i, size_t(tail));
      }
      __m128i m8 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(last ? mt : m + i));
      if (c) {
        const __m128i c16 = _mm_cvtepu8_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(last ? ct : c + i)));
        const __m128i t = _mm_mullo_epi16(_mm_cvtepu8_epi16(m8), c16);
        m8 = _mm_packus_epi16(_mm_mulhi_epu16(_mm_adds_epu16(t, half8), scale8), _mm_setzero_si128());
      }
      if (_mm_cvtsi128_si64(m8) == 0) continue;
      // Lanes past the run are neither read nor written.
      blend8(d + i, m8, src, alpha, r.src, last ? &lanes : nullptr);
    }
  }
}

bool has_avx2() {
  static const bool yes = __builtin_cpu_supports("avx2");
  return yes;
}

}  // namespace

bool gfx_blend_solid(const GfxBlendRun& run) {
  if (!has_avx2()) return false;
  blend_avx2(run);
  return true;
}

#else

bool gfx_blend_solid(const GfxBlendRun&) { return false; }

#endif

void gfx_fill_pixels(GaugeImage* image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t pixel) {
  if (x1 <= x0 || y1 <= y0) return;
  const size_t stride = size_t(image->stride / 4), width = size_t(x1 - x0);
  for (int32_t y = y0; y < y1; ++y) {
    uint32_t* row = image->pixels + size_t(y) * stride + size_t(x0);
#if defined(__x86_64__)
    size_t n = width;
    asm volatile("rep stosl" : "+D"(row), "+c"(n) : "a"(pixel) : "memory");
#else
    std::fill(row, row + width, pixel);
#endif
  }
}
