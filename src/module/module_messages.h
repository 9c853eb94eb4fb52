// The module message list: warnings such as "Apts '%d' approaching struct_limit".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

constexpr int module_message_limit = 400;

// Rows 1..module_message_count are in use, oldest first; row 0 is unused. A full list
// keeps the newest: it drops its oldest routine row (a flight-log row) first, else its
// oldest row.
extern std::string module_messages[module_message_limit + 1];
extern int module_message_count;
// Number of each kept row among all messages posted since the module loaded (1, 2, ...),
// and whether it is a routine row.
extern int32_t module_message_serials[module_message_limit + 1];
extern bool module_message_routine[module_message_limit + 1];
// Messages posted since the module loaded, kept or dropped.
extern int32_t module_messages_posted;

// Appends a row (a refusal or warning), its control bytes written "\xNN" ("TransAlt=50\x00
// out of range, ignored"): such a row quotes what a file holds.
void add_module_message(std::string_view text);
// Appends a routine row, which a full list drops before any other.
void add_routine_module_message(std::string_view text);

// Rows one file's read may post: its further rows are counted, not kept, and told as one
// row when the read ends, so that a file of refused lines never pushes out another file's
// refusal.
constexpr int module_message_rows_per_file = 5;
// The file being read, "" when none, and its rows posted and counted since it began.
extern std::string module_message_file;
extern int32_t module_message_file_rows;
extern int32_t module_message_file_more;

// Begins the rows of file `name`'s read; end_file_messages posts, when more rows came than
// module_message_rows_per_file, "<name> '<n>' more lines refused" for the n not kept.
void begin_file_messages(std::string_view name);
void end_file_messages();

// Text of message number `serial` (1 = the first posted since the load): "" when it was
// dropped from the list, null when no such message was posted yet.
const char* module_message_by_serial(int32_t serial);
