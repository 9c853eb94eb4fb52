#include "module/trace_file.h"

#include <cstdarg>

#include "module/module_paths.h"

FILE* trace_file = nullptr;

namespace {
// Closes the file when the module unloads.
struct TraceFileCloser {
  ~TraceFileCloser() { close_trace_file(); }
} trace_file_closer;
}  // namespace

void open_trace_file() {
  if (trace_file) return;
  trace_file = std::fopen(vek_path("vek1.log").c_str(), "w");
}

void close_trace_file() {
  if (!trace_file) return;
  std::fclose(trace_file);
  trace_file = nullptr;
}

void trace_line(const char* format, ...) {
  if (!trace_file) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(trace_file, format, args);
  va_end(args);
  std::fflush(trace_file);
}
