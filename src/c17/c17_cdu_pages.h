// Page renderers of the mission CDU, called by its dispatchers once per draw.
#pragma once

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

void c17_cdu_msn_index_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_msn_init_page(GaugeSurface* rec, GfxGraphics* g);
