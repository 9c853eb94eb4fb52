// TCAS range ring of the EFS 50: dots every 10 degrees, ticks every 30, 2 NM marks
// on the tick radials at the ranges 5, 10 and 20, the own-aircraft symbol and the
// range inside the ring (`efs50_tcas_range`). It scales itself to 266 x 230 about
// (129, 114) and leaves the transform translated there.
#pragma once

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

void draw_efs50_ehsi_tcas_ring(const GaugeSurface* ctx, GfxGraphics* g);
void draw_efs50_tcas_ring(const GaugeSurface* ctx, GfxGraphics* g);
