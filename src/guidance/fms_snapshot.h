// The SERVER snapshot: the copy of the guidance outputs that the SERVER gauge
// publishes as shared variables. The per-step update fills it.
#pragma once

#include <cstdint>

extern int32_t srv_active_index;     // active index, 0 while there is no plan
extern int32_t srv_plan_last;        // last index of the active plan
extern double srv_dist_to_active;    // nm
extern double srv_desired_track;     // degrees
extern double srv_bearing_to_active; // degrees
extern int32_t srv_xtk_dir;          // cross-track side
extern double srv_xtk_dist;          // nm
extern int32_t srv_lnav_on;
extern int32_t srv_vnav_on;
extern int32_t srv_active;           // 1 once the update has run
