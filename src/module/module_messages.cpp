#include "module/module_messages.h"

std::string module_messages[module_message_limit + 1];
int module_message_count = 0;

void add_module_message(std::string_view text) {
  if (module_message_count >= module_message_limit) return;
  ++module_message_count;
  module_messages[module_message_count] = std::string(text);
}
