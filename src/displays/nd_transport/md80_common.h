// Pieces the MD-80 EHSI arc layer and map share.
#pragma once

#include "draw/nd_common.h"
#include "displays/nd_transport/nd_transport.h"

// Half-range label: one decimal at ranges up to 5 NM.
void md80_half_range_text(char* out, size_t size);

// The heading scale of the expanded arc about (cx, cy): 65 degrees either side of
// the heading, labels every 30 degrees.
void md80_heading_scale(GfxGraphics* g, const GaugeSurface* ctx, const GfxPen* pen, const GfxFont* font,
                        const GfxBrush* brush);

// Label x of heading d (a multiple of 30) on the arc scale.
double md80_scale_label_x(int32_t d);

// Selected-heading marker (with its dashed line when `line` holds) and the track
// diamond about (cx, cy).
void md80_selected_heading(GfxGraphics* g, const GaugeSurface* ctx, bool line);
void md80_track_diamond(GfxGraphics* g, const GaugeSurface* ctx);

// Wind speed and arrow at (10, 150) and (10, 140) of the canvas (speed text
// offset by the caller's layout).
void md80_wind_arrow(GfxGraphics* g, const GaugeSurface* ctx, double x, double y, const GfxPen* pen);
