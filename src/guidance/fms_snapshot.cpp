#include "guidance/fms_snapshot.h"

int32_t srv_active_index = 0;
int32_t srv_plan_last = 0;
double srv_dist_to_active = 0.0;
double srv_desired_track = 0.0;
double srv_bearing_to_active = 0.0;
int32_t srv_xtk_dir = 0;
double srv_xtk_dist = 0.0;
int32_t srv_lnav_on = 0;
int32_t srv_vnav_on = 0;
int32_t srv_active = 0;
