// The process's resident memory, from /proc/self/status.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

// Resident set size in kB, -1 when it cannot be read.
inline long resident_kb() {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long kb = -1;
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, "VmRSS:", 6) == 0) kb = std::atol(line + 6);
  }
  std::fclose(f);
  return kb;
}
