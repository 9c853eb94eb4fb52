#include "module/trace_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdarg>

#include "module/module_files.h"
#include "module/module_paths.h"

FILE* trace_file = nullptr;
long trace_file_bytes = 0;

namespace {
using TraceClock = std::chrono::steady_clock;
// The lines gather in the file's buffer and reach the file when a line comes this long after
// the last flush (some 60 lines a frame: one write a frame, not one a line).
constexpr auto TRACE_FLUSH_INTERVAL = std::chrono::milliseconds(trace_file_flush_ms);
constexpr size_t TRACE_BUFFER_BYTES = 64 << 10;
TraceClock::time_point trace_flushed;
// Closes the file when the module unloads.
struct TraceFileCloser {
  ~TraceFileCloser() { close_trace_file(); }
} trace_file_closer;
}  // namespace

void open_trace_file() {
  if (trace_file) return;
  trace_file = open_regular_file_for_write(vek_path("vek1.log"), false);
  trace_file_bytes = 0;
  trace_flushed = TraceClock::now();
  if (trace_file) std::setvbuf(trace_file, nullptr, _IOFBF, TRACE_BUFFER_BYTES);
}

void close_trace_file() {
  if (!trace_file) return;
  close_written_file(trace_file, vek_path("vek1.log"));
  trace_file = nullptr;
}

void trace_line(const char* format, ...) {
  if (!trace_file) return;
  char line[1024];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  if (n < 0) return;
  std::size_t len = std::min<std::size_t>(static_cast<std::size_t>(n), sizeof line - 1);
  // A cut line keeps its line end, so that the next line starts on its own.
  if (static_cast<std::size_t>(n) > len) line[len - 1] = '\n';
  if (trace_file_bytes + static_cast<long>(len) > trace_file_max_bytes) {
    std::fputs("Trace stopped: vek1.log reached its size limit\n", trace_file);
    close_trace_file();
    return;
  }
  // A write that fails (a full disk) is told once and ends the trace: nothing more is
  // written into nothing.
  errno = 0;
  const TraceClock::time_point now = TraceClock::now();
  const bool flush = now - trace_flushed >= TRACE_FLUSH_INTERVAL;
  if (flush) trace_flushed = now;
  if (std::fwrite(line, 1, len, trace_file) != len || (flush && std::fflush(trace_file) != 0)) {
    const int error = errno;
    std::fclose(trace_file);
    trace_file = nullptr;
    post_write_failure(vek_path("vek1.log"), error);
    return;
  }
  trace_file_bytes += static_cast<long>(len);
}
