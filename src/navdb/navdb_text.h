// Line and word helpers of the navigation file loaders.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Index of the first LF or CR of text[pos, size), or `size` when there is none.
inline size_t find_line_end(const char* text, size_t pos, size_t size) {
#if defined(__SSE2__)
  // Sixteen bytes at a time while they lie within the text.
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  for (; size - pos >= 16; pos += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos));
    const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr));
    const unsigned ends = static_cast<unsigned>(_mm_movemask_epi8(hits));
    if (ends != 0) return pos + static_cast<size_t>(__builtin_ctz(ends));
  }
#endif
  while (pos < size && text[pos] != '\n' && text[pos] != '\r') ++pos;
  return pos;
}

// The lines of `text` whose first byte is `kind` (0: every line), a line beginning at the
// text's start and after each LF; counted sixteen bytes at a time.
size_t count_lines(std::string_view text, char kind = 0);

// Splits `text` into lines; calls fn(line) for each line that is not blank and not a
// ";" comment, with the line's trailing "\r" and blanks removed.
template <typename Fn>
void for_each_record_line(std::string_view text, Fn fn) {
  const char* const data = text.data();
  const size_t size = text.size();
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  size_t pos = 0;
  while (pos < size) {
    // A line ends at LF, CRLF or a lone CR.
    const size_t end = find_line_end(data, pos, size);
    size_t first = pos;
    pos = end + 1;
    if (end < size && data[end] == '\r' && pos < size && data[pos] == '\n') ++pos;
    while (first < end && blank(data[first])) ++first;
    if (first == end || data[first] == ';') continue;
    size_t last = end;
    while (blank(data[last - 1])) --last;  // stops at data[first], not a blank
    fn(std::string_view(data + first, last - first));
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
// Copies a word as it is (no "-" rule), cut at the capacity. Returns the text stored: what
// was copied, up to a NUL it held.
inline std::string_view copy_text(char* dst, int size, std::string_view word) {
  const size_t n = word.size() < static_cast<size_t>(size - 1) ? word.size() : static_cast<size_t>(size - 1);
  if (n > 0) std::memcpy(dst, word.data(), n);
  dst[n] = '\0';
  size_t stored = 0;
  while (stored < n && word[stored] != '\0') ++stored;
  return std::string_view(dst, stored);
}
bool text_equals(const char* text, std::string_view word);
