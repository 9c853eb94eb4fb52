// Page renderers of the mission CDU, called by its dispatchers once per draw.
#pragma once

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

void c17_cdu_msn_index_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_msn_init_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_nav_sensors_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_position_fix_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_stored_plans_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_duplicate_names_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_takeoff_ref_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_approach_ref_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_progress_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_departures_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_arrivals_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_perf_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_hold_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_rte_page(GaugeSurface* rec, GfxGraphics* g);
void c17_cdu_legs_page(GaugeSurface* rec, GfxGraphics* g);
