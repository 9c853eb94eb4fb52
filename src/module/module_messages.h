// The module message list: warnings such as "Apts '%d' approaching struct_limit".
#pragma once

#include <string>
#include <string_view>

constexpr int module_message_limit = 400;

// Rows 1..module_message_count are in use; row 0 is unused.
extern std::string module_messages[module_message_limit + 1];
extern int module_message_count;

// Appends a row while the count is below the limit; a full list drops the text.
void add_module_message(std::string_view text);
