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

// The pitch cue target: the command (sign inverted) against the attitude, with
// the sign rules of the cue by the side of the horizon each lies on.
double pitch_target(double pitch, double command) {
  const double c = -command;
  double r;
  if (pitch <= 0 && c <= 0) {
    r = -std::fabs(c - pitch);
  } else if (pitch > 0 && c >= 0) {
    r = std::fabs(c - pitch);
  } else {
    r = c + pitch;
  }
  return -r;
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
