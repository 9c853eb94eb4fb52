#include "module/module_messages.h"

#include <utility>

std::string module_messages[module_message_limit + 1];
int module_message_count = 0;
int32_t module_message_serials[module_message_limit + 1];
bool module_message_routine[module_message_limit + 1];
int32_t module_messages_posted = 0;
std::string module_message_file;
int32_t module_message_file_rows = 0;
int32_t module_message_file_more = 0;

namespace {

void add_row(std::string_view text, bool routine) {
  if (!module_message_file.empty() && !routine && ++module_message_file_rows > module_message_rows_per_file) {
    ++module_message_file_more;
    return;
  }
  if (module_message_count < 0 || module_message_count > module_message_limit) module_message_count = 0;
  if (module_message_count == module_message_limit) {
    // The newest stay: routine rows give way first, so that they never crowd out a refusal.
    int drop = 1;
    for (int r = 1; r <= module_message_count; ++r)
      if (module_message_routine[r]) {
        drop = r;
        break;
      }
    for (int r = drop; r < module_message_count; ++r) {
      module_messages[r] = std::move(module_messages[r + 1]);
      module_message_serials[r] = module_message_serials[r + 1];
      module_message_routine[r] = module_message_routine[r + 1];
    }
    --module_message_count;
  }
  ++module_message_count;
  module_messages[module_message_count] = std::string(text);
  module_message_serials[module_message_count] = ++module_messages_posted;
  module_message_routine[module_message_count] = routine;
}

// `text` with each control byte written "\xNN": a NUL would end the row where the host
// reads it, and a line end or an escape sequence would reach the host's log as it is.
std::string escape_control_bytes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b != 0x7F) {
      out.push_back(c);
      continue;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 15]);
  }
  return out;
}

}  // namespace

// Refusals and warnings quote what files hold; routine rows are the module's own text.
void add_module_message(std::string_view text) { add_row(escape_control_bytes(text), false); }

void begin_file_messages(std::string_view name) {
  module_message_file = name.empty() ? "file" : std::string(name);
  module_message_file_rows = 0;
  module_message_file_more = 0;
}

void end_file_messages() {
  const std::string name = std::move(module_message_file);
  module_message_file.clear();
  if (module_message_file_more > 0)
    add_row(name + " '" + std::to_string(module_message_file_more) + "' more lines refused", false);
  module_message_file_rows = module_message_file_more = 0;
}

void add_routine_module_message(std::string_view text) { add_row(text, true); }

const char* module_message_by_serial(int32_t serial) {
  if (serial < 1 || serial > module_messages_posted) return nullptr;
  for (int r = 1; r <= module_message_count && r <= module_message_limit; ++r)
    if (module_message_serials[r] == serial) return module_messages[r].c_str();
  return "";
}
