// Digits and scale-mark offsets of the PFD tapes.
#include "displays/attitude/pfd_drums.h"

#include <cmath>

int32_t pfd_digit_at(const std::string& text, size_t i) {
  if (i >= text.size() || text[i] < '0' || text[i] > '9') return 0;
  return text[i] - '0';
}

int32_t pfd_mark_offset(double value, int32_t sign, int32_t step, int32_t first, int32_t limit) {
  int32_t k = first;
  for (; k < first + limit; ++k)
    if (int64_t(std::trunc(value + sign * k)) % step == 0) break;
  return k;
}
