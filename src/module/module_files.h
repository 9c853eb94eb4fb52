// Reading files that users and other add-ons name: only regular files, with a size bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Size bounds: navigation data files, and every other file the module reads.
constexpr std::uintmax_t nav_file_max_bytes = std::uintmax_t{256} << 20;
constexpr std::uintmax_t text_file_max_bytes = std::uintmax_t{16} << 20;

// Opens `path` for reading when it is a regular file (a link to one counts) of at most
// `max_bytes`. A device, FIFO or folder, or a larger file, is refused with a module
// message and never read: "File '<path>' refused: not a regular file", "... too
// large", or "... unreadable" (a link loop, no permission). A missing file gives null
// without a message.
std::FILE* open_regular_file(const std::string& path, std::uintmax_t max_bytes);
// The same with the refusal handed back in `refusal` (null when none) instead of posted:
// the caller posts it with post_file_refusal where its messages call for it.
std::FILE* open_regular_file(const std::string& path, std::uintmax_t max_bytes, const char*& refusal);
void post_file_refusal(const std::string& path, const char* refusal);
// The same, told once per path while the module is loaded (a listing runs at each press).
void post_file_refusal_once(const std::string& path, const char* refusal);
// Posts `text` the first time `key` is given; a path's write refusals share its key.
void post_module_message_once(const std::string& key, const std::string& text);

// Reads such a file whole into `text`. False when it is missing, refused or unreadable.
bool read_regular_file(const std::string& path, std::uintmax_t max_bytes, std::string& text);

// Reads a file opened by open_regular_file whole into `text` and closes it (also when the
// text finds no memory). False, with `text` empty, when it cannot be read or outgrows
// `max_bytes` while it is read.
bool read_opened_file(std::FILE* file, std::uintmax_t max_bytes, std::string& text);

// The next line of text `data` from `pos`, without its line end: a line ends at LF, CR LF
// or a lone CR (files written on any system read alike). `ended` tells whether the line had
// a line end (a last line without one may be a file cut short). False at the end.
bool next_text_line(const char* data, std::size_t size, std::size_t& pos, std::string_view& line, bool& ended);
// Bytes a UTF-8 byte-order mark takes at the start of `data` (3 or 0).
std::size_t byte_order_mark_size(const char* data, std::size_t size);

// Opens `path` for writing, emptied (`append` false) or appended to, creating it when
// absent. Only a regular file with one name is written: a link, device, FIFO or folder
// is refused and never opened for writing (a FIFO would block the simulator, a link
// would write outside the folder), with one module message per path: "File '<path>'
// refused: not a regular file"; a file with a second name (a hard link) is refused the
// same way, "... refused: more than one link"; a file that cannot be opened in a folder
// that exists (read-only, say) as "... refused: write failed". Null when refused or when
// it cannot be opened.
std::FILE* open_regular_file_for_write(const std::string& path, bool append);

// Flushes and closes `file`, opened by open_regular_file_for_write for `path`. False when a
// byte did not reach the file (a full disk, say), with one module message per path:
// "File '<path>' refused: disk full", or "... write failed".
bool close_written_file(std::FILE* file, const std::string& path);
// Tells once per path that a write to `path` failed with `error` (an errno): "... refused:
// disk full" or "... refused: write failed".
void post_write_failure(const std::string& path, int error);

class LoadState;
// The paths already refused for writing, for the layer's reset.
void keep_module_files_state(LoadState& state);
