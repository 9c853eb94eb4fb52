// The vector blend against pixman's: a solid colour through A8 coverage, alone and times
// a clip's, over every kind of pixel, comes out bit for bit as pixman blends it, a run at
// a time or a batch of rows.
#include <gtest/gtest.h>
#include <pixman.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/gfx/gfx_internal.h"

namespace {

struct Case {
  int32_t width, height;
  uint32_t src;  // premultiplied
  bool clip;
  bool solid_rows = false;  // every other row wholly covered (whole eights of opaque pixels)
};

TEST(GfxBlend, MatchesPixmanBitForBit) {
  std::mt19937 random(7);
  auto byte = [&] { return uint32_t(random() & 0xFF); };
  const Case cases[] = {{1, 1, 0xFFE9B73E, false}, {7, 3, 0xFF00E0FF, false}, {8, 2, 0xFFFFFFFF, true},
                        {13, 9, 0x80402010, false}, {33, 17, 0x7F7F0000, true}, {64, 5, 0x00000000, false},
                        {9, 40, 0xFF000000, true}, {19, 6, 0xFFE9B73E, false, true},
                        {16, 4, 0x80402010, false, true}, {5, 3, 0xFF00E0FF, true, true},
                        // Every length of a row's last pixels: 2, 4 and 6.
                        {2, 3, 0xFFE9B73E, true}, {12, 4, 0x80402010, true}, {14, 5, 0xFF00E0FF, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " " << std::hex << c.src);
    // Stride with room to spare: the run must keep to its width.
    const int32_t stride = c.width + 5, mask_stride = (c.width + 3) / 4 * 4 + 4;
    std::vector<uint32_t> pixels(size_t(stride) * size_t(c.height));
    std::vector<uint8_t> mask(size_t(mask_stride) * size_t(c.height)), clip(mask.size());
    for (uint32_t& p : pixels) {
      const uint32_t a = byte();  // premultiplied: no channel above its alpha
      p = a << 24 | (a ? byte() % (a + 1) : 0) << 16 | (a ? byte() % (a + 1) : 0) << 8 | (a ? byte() % (a + 1) : 0);
    }
    for (size_t i = 0; i < mask.size(); ++i) {
      const uint32_t kind = byte() % 4;  // none, full and partial coverage, runs of each
      mask[i] = uint8_t(kind == 0 ? 0 : kind == 1 ? 0xFF : byte());
      if (c.solid_rows && (i / size_t(mask_stride)) % 2 == 0) mask[i] = 0xFF;
      clip[i] = uint8_t(byte() % 3 == 0 ? 0xFF : byte());
    }
    // With the widest vectors the processor has, and with 256-bit ones alone.
    std::vector<uint32_t> ours[2] = {pixels, pixels}, theirs = pixels;
    for (int widest = 0; widest < 2; ++widest) {
      GfxBlendRun run{ours[widest].data(), stride, mask.data(), mask_stride, c.clip ? clip.data() : nullptr,
                      mask_stride, c.width, c.height, c.src};
      if (!gfx_blend_solid(run, widest == 1)) GTEST_SKIP() << "no 256-bit vectors on this processor";
    }

    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_a8r8g8b8, c.width, c.height, theirs.data(), stride * 4);
    pixman_image_t* m = pixman_image_create_bits(PIXMAN_a8, c.width, c.height,
                                                 reinterpret_cast<uint32_t*>(mask.data()), mask_stride);
    std::vector<uint8_t> both = mask;
    pixman_image_t* cover = pixman_image_create_bits(PIXMAN_a8, c.width, c.height,
                                                     reinterpret_cast<uint32_t*>(both.data()), mask_stride);
    pixman_image_t* k = pixman_image_create_bits(PIXMAN_a8, c.width, c.height,
                                                 reinterpret_cast<uint32_t*>(clip.data()), mask_stride);
    if (c.clip) pixman_image_composite32(PIXMAN_OP_IN, k, nullptr, cover, 0, 0, 0, 0, 0, 0, c.width, c.height);
    pixman_color_t colour{uint16_t((c.src >> 16 & 0xFF) * 0x101), uint16_t((c.src >> 8 & 0xFF) * 0x101),
                          uint16_t((c.src & 0xFF) * 0x101), uint16_t((c.src >> 24) * 0x101)};
    pixman_image_t* src = pixman_image_create_solid_fill(&colour);
    pixman_image_composite32(PIXMAN_OP_OVER, src, c.clip ? cover : m, dst, 0, 0, 0, 0, 0, 0, c.width, c.height);
    for (pixman_image_t* image : {dst, m, cover, k, src}) pixman_image_unref(image);

    for (const std::vector<uint32_t>& blended : ours) {
      int differ = 0;
      for (size_t i = 0; i < blended.size(); ++i) differ += blended[i] != theirs[i];
      EXPECT_EQ(differ, 0);  // the pixels past each row's run among them: left as they were
    }

    // The rows, each of its own width (none among them), blended in one batch come out as
    // each blended alone.
    std::vector<uint32_t> alone = pixels, batched[2] = {pixels, pixels};
    std::vector<GfxBlendRow> rows[2];
    for (int32_t y = 0; y < c.height; ++y) {
      const int32_t width = std::max(0, c.width - y % 4);
      const uint8_t* row_clip = c.clip ? clip.data() + size_t(y) * size_t(mask_stride) : nullptr;
      const uint8_t* row_mask = mask.data() + size_t(y) * size_t(mask_stride);
      GfxBlendRun one{alone.data() + size_t(y) * size_t(stride), stride, row_mask, mask_stride, row_clip, mask_stride,
                      width, 1, c.src};
      ASSERT_TRUE(gfx_blend_solid(one));
      for (int widest = 0; widest < 2; ++widest)
        rows[widest].push_back({batched[widest].data() + size_t(y) * size_t(stride), row_mask, row_clip, width});
    }
    for (int widest = 0; widest < 2; ++widest) {
      ASSERT_TRUE(gfx_blend_solid_rows(rows[widest].data(), int32_t(rows[widest].size()), c.src, widest == 1));
      EXPECT_EQ(batched[widest], alone) << "widest " << widest;
    }
  }
}

}  // namespace
