// Flight-director cue slewing: targets from the commands, then one bounded step.
#include "displays/attitude/fd_bars.h"

#include <algorithm>
#include <cmath>

#include "guidance/fms_state.h"

double fd_bank_bar = 0.0;
double fd_pitch_bar = 0.0;

namespace {

// Moves `value` one step toward `target`; a rest below a step is closed.
void slew(double& value, double target, double step) {
  if (value > target) {
    value = value - target >= step ? value - step : target;
  } else if (target > value) {
    value = target - value >= step ? value + step : target;
  }
}

// Whole degrees toward zero; a NaN command or attitude counts as level.
double whole(double degrees) {
  return std::isfinite(degrees) ? std::trunc(degrees) : 0.0;
}

// The pitch cue target: how far the command lies from the attitude, in degrees, down
// positive. Both are served nose down positive; the command with its sign inverted is
// c, and the cue is -(c + pitch) on either side of the horizon, so an attitude 5 up
// against a command 3 down puts the cue 8 below.
double pitch_target(double pitch, double command) {
  const double c = -command;
  return -(c + pitch);
}

}  // namespace

void fd_bars_step(double pitch_step, double pitch_clamp) {
  const double bank_target = std::clamp(whole(adi_token80 - whole(adi_token793)), -25.0, 25.0);
  slew(fd_bank_bar, bank_target, 0.33);

  double target = pitch_target(adi_token77, adi_token794);
  if (!std::isfinite(target)) target = 0.0;
  if (pitch_clamp > 0) target = std::clamp(target, -pitch_clamp, pitch_clamp);
  slew(fd_pitch_bar, target, pitch_step);
}
