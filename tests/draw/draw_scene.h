// A recorded gauge image with the graphics library started, for draw tests.
#pragma once

#include "draw/draw_toolkit.h"
#include "platform/gfx/gfx_recording.h"

struct DrawScene {
  GaugeImage image;
  uintptr_t token = 0;
  GfxGraphics* g = nullptr;

  DrawScene(int32_t w = 244, int32_t h = 302) : image{nullptr, w, h, w * 4, nullptr} {
    gfx_startup(&token);
    gfx_recording_enable(&image);
    gfx_create(&image, &g);
  }
  ~DrawScene() {
    gfx_delete(g);
    gfx_recording_disable(&image);
    gfx_shutdown(token);
  }
  GfxRecording& rec() { return *gfx_recording_of(&image); }
};
