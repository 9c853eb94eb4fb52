// Layers still to come: each draws nothing yet.
#include "displays/nd_transport/nd_common.h"

void md80_ehsi_hsi_draw(const GaugeSurface*, GfxGraphics*) {}
void md80_ehsi_arc_draw(const GaugeSurface*, GfxGraphics*) {}
void md80_ehsi_map_draw(const GaugeSurface*, GfxGraphics*, int32_t) {}
