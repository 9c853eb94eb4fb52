// The line grammar shared by "\vek\vek.cfg" and the aircraft files, the number readers
// and a table-driven key setter.
//
// Line grammar: a line whose first character is ";" is a comment. Otherwise every blank
// becomes "*", the first "=" becomes a blank, and two words are read (key, value; both
// empty when absent). In the value "*" turns back into a blank. Keys match without
// regard to case; unknown keys are ignored; the last line for a key wins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Splits `line` into key and value. False for a comment line.
bool split_config_line(std::string_view line, std::string& key, std::string& value);

// The integer at the start of `text` (leading white space skipped), 0 when none;
// values beyond the 32-bit range are clamped.
int32_t config_int(std::string_view text);
// The decimal number that `text` is, white space around it allowed, into `value`; false
// (and 0) when the text is not one number whole ("18,000", "5O", "0x2710", "3e") or the
// number is not finite ("nan", "inf", "abc", "1e309", an empty text).
bool config_number(std::string_view text, double& value);
// The decimal number that `text` is, as config_number reads it; 0 when none.
double config_float(std::string_view text);
// `config_float` truncated toward zero and clamped to the 32-bit range.
int32_t config_int_of_float(std::string_view text);
// A double truncated toward zero and clamped to the 32-bit range (0 for NaN).
int32_t truncate_to_int(double value);

// Reads the next line, without its line end (LF, CR LF or a lone CR; a byte-order mark at
// the start of the file is skipped); of a line longer than `limit` characters the first
// `limit` are kept and the rest is dropped. False at the end of the file. `ended` (when
// given) tells whether the line had its line end (a last line without one may be cut).
bool read_limited_line(std::FILE* file, size_t limit, std::string& line, bool* ended = nullptr);

// True when `line` reads as a line of a text file: no control byte but the tab (a file in
// UTF-16 or UTF-32, a binary or NUL-filled file, holds them on every line).
bool is_text_line(std::string_view line);
// True when `line` reads as a line of the settings grammar: a text line that is blank, a
// comment, a section or holds a "=".
bool config_line_reads(std::string_view line);
// Tells a file that held lines of which none read: "File '<path>' refused: no line reads".
void post_unread_file(const std::string& path);

enum ConfigType : int32_t {
  CFG_INT,           // decimal number truncated, as CFG_INT_OF_FLOAT (guards on the whole number)
  CFG_FLOAT,         // decimal number
  CFG_INT_OF_FLOAT,  // decimal number truncated
  CFG_TEXT,          // the value as written
  CFG_UPPER_TEXT,    // the value upper-cased
  CFG_CUSTOM,        // `apply` decides
};

enum ConfigGuard : int32_t {
  GUARD_NONE,
  GUARD_ABOVE_ZERO,           // taken only when above 0
  GUARD_INT_PART_ABOVE_ZERO,  // taken only when the integer part is above 0
  GUARD_COLOUR,               // taken only within 0..255
};

struct ConfigKey {
  const char* name;
  ConfigType type;
  void* target;  // int32_t*, double* or std::string* by type; unused for CFG_CUSTOM
  ConfigGuard guard;
  void (*apply)(std::string_view value);  // CFG_CUSTOM only
};

// Sets the key of `table` named `key` from `value`. False when no key matches. A number
// outside the key's range (config_line.cpp's range table), or a value that does not read
// as a number, is not taken: the value stays as it was and the module posts
// "<key>=<value> out of range, ignored". A whole-number key stores the decimal truncated.
bool apply_config_key(const ConfigKey* table, size_t count, std::string_view key, std::string_view value);

// True when `key` has a range in that table (every numeric key of the files has one).
bool config_key_has_range(std::string_view key);

bool equal_ignoring_case(std::string_view a, std::string_view b);
std::string upper_case(std::string_view text);
