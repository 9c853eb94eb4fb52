// Flight-director cue slewing shared by every display that draws the cues: the EFS 50
// and A320 EADIs, the B777 PFD and the C-17 PFD page. The cues do not jump to the
// command; each draw moves them one step toward it, so two cue displays drawn in one
// frame move them twice as fast.
#pragma once

// Cue deflections in degrees (bank, pitch). Start at 0, never reset: after the flight
// director is switched off and on the cues start where they stopped.
extern double fd_bank_bar;
extern double fd_pitch_bar;

// One step of both cues toward the commands (`adi_token793` bank, `adi_token794`
// pitch) relative to the attitude (`adi_token80`, `adi_token77`). Bank: step 0.33,
// target whole degrees clamped to +-25. Pitch: `pitch_step` per call, target clamped
// to +-`pitch_clamp` (0 = no clamp), the command less the attitude on either side of
// the horizon. A rest below one step closes in one call.
// Call once per draw, only while the flight director is on.
void fd_bars_step(double pitch_step, double pitch_clamp);
