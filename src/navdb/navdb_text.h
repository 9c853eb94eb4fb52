// Line and word helpers of the navigation file loaders.
#pragma once

#include <string_view>

// Splits `text` into lines; calls fn(line) for each line that is not blank and not a
// ";" comment, with the line's trailing "\r" and blanks removed.
template <typename Fn>
void for_each_record_line(std::string_view text, Fn fn) {
  size_t pos = 0;
  while (pos < text.size()) {
    // A line ends at LF, CRLF or a lone CR.
    size_t end = pos;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) continue;
    line.remove_prefix(first);
    if (line[0] == ';') continue;
    size_t last = line.find_last_not_of(" \t");
    line = line.substr(0, last + 1);
    fn(line);
  }
}

// Takes up to `n` blank-separated words from `line` into words[0..]; `rest` gets what
// follows the n-th word with leading blanks removed. Returns the number of words taken.
int split_words(std::string_view line, int n, std::string_view* words, std::string_view& rest);

bool parse_double(std::string_view word, double& value);  // finite decimal number
bool parse_int(std::string_view word, int& value);
bool parse_lat(std::string_view word, double& value);     // -90..90
bool parse_lon(std::string_view word, double& value);     // -180..180
bool parse_heading(std::string_view word, double& value);  // 0..360
// "-" (giving -999) or a number from low to high.
bool parse_constraint(std::string_view word, double low, double high, double& value);

// Copies a word into a fixed text, cut at the capacity; "-" gives an empty text.
void copy_word(char* dst, int size, std::string_view word);
// Copies a word as it is (no "-" rule), cut at the capacity.
void copy_text(char* dst, int size, std::string_view word);
bool text_equals(const char* text, std::string_view word);
