#include "module/module_files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <set>

#include "module/load_state.h"
#include "module/module_messages.h"

namespace {

void post_refusal(const std::string& path, const char* reason) {
  add_module_message("File '" + path + "' refused: " + reason);
}

// What was told once already: the writers are called every step, a listing at each press.
std::set<std::string> refused_writes;
std::mutex refused_writes_mutex;

void post_write_refusal_once(const std::string& path, const char* reason) {
  post_module_message_once(path, "File '" + path + "' refused: " + reason);
}

}  // namespace

void post_module_message_once(const std::string& key, const std::string& text) {
  std::lock_guard<std::mutex> lock(refused_writes_mutex);
  if (refused_writes.insert(key).second) add_module_message(text);
}

void post_file_refusal_once(const std::string& path, const char* refusal) {
  if (refusal) post_module_message_once(path, "File '" + path + "' refused: " + refusal);
}

void post_write_failure(const std::string& path, int error) {
  post_write_refusal_once(path, error == ENOSPC || error == EFBIG || error == EDQUOT ? "disk full" : "write failed");
}

void keep_module_files_state(LoadState& state) { state.keep(refused_writes); }

std::FILE* open_regular_file(const std::string& path, std::uintmax_t max_bytes) {
  const char* refusal = nullptr;
  std::FILE* file = open_regular_file(path, max_bytes, refusal);
  post_file_refusal(path, refusal);
  return file;
}

std::FILE* open_regular_file(const std::string& path, std::uintmax_t max_bytes, const char*& refusal) {
  refusal = nullptr;
  // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    // A missing file is no fault; a link loop or a file that may not be read is.
    if (errno != ENOENT && errno != ENOTDIR) refusal = "unreadable";
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) refusal = "not a regular file";
  else if (static_cast<std::uintmax_t>(st.st_size) > max_bytes) refusal = "too large";
  std::FILE* file = nullptr;
  if (!refusal) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file = ::fdopen(fd, "rb");
  }
  if (!file) ::close(fd);
  return file;
}

void post_file_refusal(const std::string& path, const char* refusal) {
  if (refusal) post_refusal(path, refusal);
}

bool read_regular_file(const std::string& path, std::uintmax_t max_bytes, std::string& text) {
  text.clear();
  std::FILE* file = open_regular_file(path, max_bytes);
  return file && read_opened_file(file, max_bytes, text);
}

bool read_opened_file(std::FILE* opened, std::uintmax_t max_bytes, std::string& text) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(opened, std::fclose);
  text.clear();
  struct stat st {};
  if (::fstat(::fileno(file.get()), &st) == 0 && st.st_size > 0)
    text.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(static_cast<std::uintmax_t>(st.st_size), max_bytes)));
  char chunk[65536];
  std::size_t n;
  // The bound holds even when the file grows while it is read.
  while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0 && text.size() + n <= max_bytes) text.append(chunk, n);
  bool ok = !std::ferror(file.get()) && n == 0;
  if (!ok) text.clear();
  return ok;
}

bool close_written_file(std::FILE* file, const std::string& path) {
  if (!file) return false;
  errno = 0;
  bool ok = std::fflush(file) == 0 && !std::ferror(file);
  int error = errno;
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (!ok) post_write_failure(path, error);
  return ok;
}

bool next_text_line(const char* data, std::size_t size, std::size_t& pos, std::string_view& line, bool& ended) {
  if (pos >= size) return false;
  std::size_t end = pos;
  while (end < size && data[end] != '\n' && data[end] != '\r') ++end;
  line = std::string_view(data + pos, end - pos);
  ended = end < size;
  pos = end;
  if (pos < size && data[pos] == '\r') ++pos;
  if (ended && pos < size && data[pos] == '\n') ++pos;
  return true;
}

std::size_t byte_order_mark_size(const char* data, std::size_t size) {
  return size >= 3 && static_cast<unsigned char>(data[0]) == 0xEF && static_cast<unsigned char>(data[1]) == 0xBB &&
                 static_cast<unsigned char>(data[2]) == 0xBF
             ? 3
             : 0;
}

std::FILE* open_regular_file_for_write(const std::string& path, bool append) {
  // No O_TRUNC here: the file is emptied only once it is known to be a regular file.
  int flags = O_WRONLY | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC | (append ? O_APPEND : 0);
  int fd = ::open(path.c_str(), flags, 0644);
  struct stat st {};
  bool regular = fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  // ELOOP: the path is a link; ENXIO: a FIFO without a reader; EISDIR: a folder.
  if (!regular && (fd >= 0 || errno == ELOOP || errno == ENXIO || errno == EISDIR)) {
    if (fd >= 0) ::close(fd);
    post_write_refusal_once(path, "not a regular file");
    return nullptr;
  }
  // A second name (a hard link) may be another file of the simulator: writing would
  // change it too.
  if (regular && st.st_nlink > 1) {
    ::close(fd);
    post_write_refusal_once(path, "more than one link");
    return nullptr;
  }
  // A folder that may not be written (read-only, a file in the folder's place) is told;
  // a missing folder is no fault.
  if (fd < 0) {
    if (errno != ENOENT) post_write_failure(path, errno);
    return nullptr;
  }
  if (!append && ::ftruncate(fd, 0) != 0) {
    post_write_failure(path, errno);
    ::close(fd);
    return nullptr;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(fd, append ? "ab" : "wb");
  if (!file) ::close(fd);
  return file;
}
