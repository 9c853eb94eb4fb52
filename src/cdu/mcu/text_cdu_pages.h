// The text CDU's page renderers and the graphics objects of one draw.
#pragma once

#include "draw/draw_toolkit.h"
#include "platform/gfx/gfx.h"

constexpr double TEXT_CDU_CANVAS_W = 210.0;
constexpr double TEXT_CDU_CANVAS_H = 108.0;

struct TextCduPage {
  const GaugeSurface* rec = nullptr;
  GfxGraphics* g = nullptr;
  GfxBrush *cyan = nullptr, *yellow = nullptr;
  GfxPen* cyan_pen = nullptr;
  GfxFontFamily* family = nullptr;
  GfxFont *heading = nullptr, *row = nullptr;  // Courier New bold 14 and 12 px
};

void text_cdu_fpln_page_draw(const TextCduPage& p);
void text_cdu_apt_page_draw(const TextCduPage& p);
void text_cdu_perf_page_draw(const TextCduPage& p);
void text_cdu_msg_page_draw(const TextCduPage& p);
