// Rolling-digit readouts of the PFD tapes: digits from the readout text, and the
// offsets of the nearest scale marks.
#pragma once

#include <cstdint>
#include <string>

// The whole number of character `i` of `text`; a character that is no digit, or none,
// counts as 0.
int32_t pfd_digit_at(const std::string& text, size_t i);

// The first k from `first` to `first + limit - 1` for which trunc(value + sign k) is
// a multiple of `step`; `first + limit` when there is none. `value` within +-1e9.
int32_t pfd_mark_offset(double value, int32_t sign, int32_t step, int32_t first, int32_t limit);
