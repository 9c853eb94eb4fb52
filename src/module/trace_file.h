// The optional trace file "vek1.log" in the simulator folder: one line per gauge
// callback call while it is open, flushed per line.
#pragma once

#include <cstdio>

extern FILE* trace_file;

// Opens "vek1.log" for writing when it is not open yet.
void open_trace_file();
void close_trace_file();
// printf-style line; nothing happens while the file is closed.
void trace_line(const char* format, ...) __attribute__((format(printf, 1, 2)));
