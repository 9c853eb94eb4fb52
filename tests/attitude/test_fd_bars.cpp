// Flight-director cue slewing: targets from attitude and commands, the bounded step.
#include <gtest/gtest.h>

#include "displays/attitude/fd_bars.h"
#include "guidance/fms_state.h"

namespace {

struct SlewCase {
  const char* name;
  double bank, pitch, bank_cmd, pitch_cmd;  // attitude and commands, degrees
  double pitch_step, pitch_clamp;
  double bank_from, pitch_from;             // cue positions before
  int draws;
  double bank_to, pitch_to;                 // cue positions after
};

const SlewCase kCases[] = {
    {.name = "bank 40, command 0: 75 steps reach 24.75", .bank = 40, .pitch_step = 0.11,
     .draws = 75, .bank_to = 24.75},
    {.name = "the 76th draw sets the clamp 25", .bank = 40, .pitch_step = 0.11, .draws = 76, .bank_to = 25},
    {.name = "command 9.8 counts as 9: bank 9.5 targets 0", .bank = 9.5, .bank_cmd = 9.8,
     .pitch_step = 0.11, .bank_from = 1, .draws = 4, .bank_to = 0},
    {.name = "bank left of the command moves the cue left", .bank = -10, .bank_cmd = 5,
     .pitch_step = 0.11, .draws = 3, .bank_to = -0.99},
    {.name = "attitude 5 up, command 3 down: the full difference, target 8", .pitch = -5, .pitch_cmd = 3,
     .pitch_step = 0.11, .draws = 100, .pitch_to = 8},
    {.name = "attitude 2 down, command 3 down: target 1", .pitch = 2, .pitch_cmd = 3,
     .pitch_step = 0.11, .draws = 100, .pitch_to = 1},
    {.name = "attitude 4 down, command 1 up: target -5", .pitch = 4, .pitch_cmd = -1,
     .pitch_step = 0.11, .draws = 100, .pitch_to = -5},
    {.name = "attitude 6 up, command 2 up: target 4", .pitch = -6, .pitch_cmd = -2,
     .pitch_step = 0.11, .draws = 100, .pitch_to = 4},
    {.name = "a rest below one step closes in one draw", .pitch = -5, .pitch_cmd = 3,
     .pitch_step = 0.11, .bank_from = 0.2, .pitch_from = 7.95, .draws = 1, .bank_to = 0, .pitch_to = 8},
    {.name = "the pitch step is the display's", .pitch = -20, .pitch_step = 0.1, .draws = 10,
     .pitch_to = 1.0},
    {.name = "the bar cue clamps the pitch target to 20", .pitch = -30, .pitch_step = 0.1,
     .pitch_clamp = 20, .pitch_from = 19.95, .draws = 5, .pitch_to = 20},
    {.name = "without a clamp the pitch target is not bounded", .pitch = -30, .pitch_step = 0.11,
     .pitch_from = 29.95, .draws = 1, .pitch_to = 30},
};

}  // namespace

TEST(FdBars, CuesSlewTowardTheCommandsByTheDisplaysSteps) {
  for (const SlewCase& c : kCases) {
    SCOPED_TRACE(c.name);
    adi_token80 = c.bank;
    adi_token77 = c.pitch;
    adi_token793 = c.bank_cmd;
    adi_token794 = c.pitch_cmd;
    fd_bank_bar = c.bank_from;
    fd_pitch_bar = c.pitch_from;
    for (int i = 0; i < c.draws; ++i) fd_bars_step(c.pitch_step, c.pitch_clamp);
    EXPECT_NEAR(fd_bank_bar, c.bank_to, 1e-9);
    EXPECT_NEAR(fd_pitch_bar, c.pitch_to, 1e-9);
  }
}
