// The optional trace file "vek1.log" in the simulator folder: one line per gauge
// callback call while it is open. A line reaches the file at the latest with the first line
// written trace_file_flush_ms or more after it, or when the file is closed. Only a regular
// file is written.
#pragma once

#include <cstdio>

extern FILE* trace_file;
// Bytes written since the file was opened. At trace_file_max_bytes the file gets one last
// line saying it stopped, and is closed.
extern long trace_file_bytes;
constexpr long trace_file_max_bytes = 64L << 20;
constexpr int trace_file_flush_ms = 50;

// Opens "vek1.log" for writing when it is not open yet.
void open_trace_file();
void close_trace_file();
// printf-style line (cut at 1023 characters, the last a line end); nothing happens while
// the file is closed.
void trace_line(const char* format, ...) __attribute__((format(printf, 1, 2)));
