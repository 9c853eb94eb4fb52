// The racetrack of the first hold, flown through four corner points by the LNAV
// heading.
#pragma once

#include <cstdint>

extern int32_t hold_corner_prev;          // corner flown from (0..4)
extern double hold_hdg_cmd, hold_hdg_sent;  // magnetic course to the corner, last sent
// NM and true course to the corner; the distance is 99999 from a new hold until the next run
// measures it; also "hold_track_dist".
extern double hold_corner_dist, hold_corner_course;
extern double hold_leg_dist, hold_leg_course;        // previous corner -> corner
extern const char* const hold_corner_names[5];       // "", "Xwind", "Dwind", "Base", "Final"
// Leg length (NM) of the first hold's racetrack as flown and drawn: the hold's leg, longer
// when the turns at the speed flown would not fit; 0 before the first run.
extern double hold_pattern_leg;

// Entries into the first hold by the sector the aircraft comes from.
constexpr int32_t HOLD_ENTRY_DIRECT = 1, HOLD_ENTRY_TEARDROP = 2, HOLD_ENTRY_PARALLEL = 3;
// The entry flown into the first hold, or before its fix the one the present track would
// fly (HOLD_ENTRY_*); 0 without a hold.
int32_t hold_entry();

// True while the hold is flown: LNAV heading commands and sequencing wait.
bool hold_being_flown();
// True from two minutes before the hold's fix, once the holding speed was asked, to the exit.
bool hold_speed_due();
// NM along the racetrack to the hold fix while the hold is flown, else 0.
double hold_dist_to_fix();

// Geometry of the first hold every run; with LNAV on it stores the corners, steps
// through them and sends the heading to the current corner.
void fly_hold_pattern();

// The hold flown taken out of the list by an edit: LNAV steers the route again, never
// held on a racetrack that is gone.
void end_hold_without_record();
// Removes the first hold from the hold list.
void drop_first_hold();
