#include "module/module_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "module/module_messages.h"

namespace {

void post_refusal(const std::string& path, const char* reason) {
  add_module_message("File '" + path + "' refused: " + reason);
}

}  // namespace

std::FILE* open_regular_file(const std::string& path, std::uintmax_t max_bytes) {
  // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  const char* refusal = nullptr;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) refusal = "not a regular file";
  else if (static_cast<std::uintmax_t>(st.st_size) > max_bytes) refusal = "too large";
  std::FILE* file = nullptr;
  if (!refusal) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file = ::fdopen(fd, "rb");
  }
  if (!file) ::close(fd);
  if (refusal) post_refusal(path, refusal);
  return file;
}

bool read_regular_file(const std::string& path, std::uintmax_t max_bytes, std::string& text) {
  text.clear();
  std::FILE* file = open_regular_file(path, max_bytes);
  if (!file) return false;
  char chunk[65536];
  std::size_t n;
  // The bound holds even when the file grows while it is read.
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0 && text.size() + n <= max_bytes) text.append(chunk, n);
  bool ok = !std::ferror(file) && n == 0;
  std::fclose(file);
  if (!ok) text.clear();
  return ok;
}
