// Pieces the EFS 50 EHSI renderers share: canvas, colours, the navigation
// source's course, the bearing pointer rules and the aircraft symbol.
#pragma once

#include "displays/nd_corporate/corporate_common.h"

constexpr DesignCanvas EFS50 = CANVAS_EFS50;
constexpr double EFS50_CX = 129;
constexpr double EFS50_ROSE_CY = 114;
constexpr double EFS50_ARC_CY = 190;

// Map formats 2, 3, 5 and 6.
bool efs50_map_format(int32_t mode);
// The compass centre's y of a format.
double efs50_centre_y(int32_t mode);
// A map range that can scale a map.
bool efs50_range_usable();
// The course of the navigation source is shown: NAV, or FMS with a plan.
bool efs50_course_valid();
// NAV 1 course (NAV) or desired track (FMS).
double efs50_course();
// Green (NAV) or cyan (FMS).
uint32_t efs50_source_colour();
// TO/FROM of the source while it has one: NAV with a NAV 1 signal, FMS with a plan.
bool efs50_to_from(bool& to);

// A bearing pointer's needle: shown, and its angle from screen up.
struct Efs50Pointer {
  bool shown;
  double angle;
};
Efs50Pointer efs50_pointer(int32_t pointer, int32_t source);

// Clips to the compass circle of the rose formats (radius 100 about (129, 114)) in
// the canvas frame.
void efs50_clip_rose(GfxGraphics* g);

// The amber aircraft symbol at the origin of the current frame.
void efs50_aircraft(GfxGraphics* g, const GfxPen* pen);

// The static heading read-out of the arc formats: black box and heading at the top of
// the arc, in the canvas frame about the arc centre, unclipped.
void efs50_static_heading_readout(const GaugeSurface* ctx, GfxGraphics* g);
