#include "navdb/navdb_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

int split_words(std::string_view line, int n, std::string_view* words, std::string_view& rest) {
  int count = 0;
  size_t pos = 0;
  while (count < n) {
    pos = line.find_first_not_of(" \t", pos);
    if (pos == std::string_view::npos) {
      rest = std::string_view();
      return count;
    }
    size_t end = line.find_first_of(" \t", pos);
    if (end == std::string_view::npos) end = line.size();
    words[count++] = line.substr(pos, end - pos);
    pos = end;
  }
  pos = line.find_first_not_of(" \t", pos);
  rest = pos == std::string_view::npos ? std::string_view() : line.substr(pos);
  return count;
}

bool parse_double(std::string_view word, double& value) {
  if (word.empty()) return false;
  const char* first = word.data();
  const char* last = word.data() + word.size();
  if (*first == '+') ++first;
  double v = 0.0;
  auto [ptr, ec] = std::from_chars(first, last, v);
  if (ec != std::errc() || ptr != last || !std::isfinite(v)) return false;
  value = v;
  return true;
}

bool parse_int(std::string_view word, int& value) {
  if (word.empty()) return false;
  const char* first = word.data();
  const char* last = word.data() + word.size();
  if (*first == '+') ++first;
  int v = 0;
  auto [ptr, ec] = std::from_chars(first, last, v);
  if (ec != std::errc() || ptr != last) return false;
  value = v;
  return true;
}

bool parse_lat(std::string_view word, double& value) {
  double v;
  if (!parse_double(word, v) || v < -90.0 || v > 90.0) return false;
  value = v;
  return true;
}

bool parse_lon(std::string_view word, double& value) {
  double v;
  if (!parse_double(word, v) || v < -180.0 || v > 180.0) return false;
  value = v;
  return true;
}

bool parse_heading(std::string_view word, double& value) {
  double v;
  if (!parse_double(word, v) || v < 0.0 || v > 360.0) return false;
  value = v;
  return true;
}

bool parse_constraint(std::string_view word, double low, double high, double& value) {
  if (word == "-") {
    value = -999.0;
    return true;
  }
  double v;
  if (!parse_double(word, v) || v < low || v > high) return false;
  value = v;
  return true;
}

void copy_text(char* dst, int size, std::string_view word) {
  size_t n = word.size();
  if (n > static_cast<size_t>(size - 1)) n = static_cast<size_t>(size - 1);
  if (n > 0) std::memcpy(dst, word.data(), n);
  dst[n] = '\0';
}

void copy_word(char* dst, int size, std::string_view word) {
  copy_text(dst, size, word == "-" ? std::string_view() : word);
}

bool text_equals(const char* text, std::string_view word) {
  size_t n = word.size();
  if (n == 0) return text[0] == '\0';
  return std::strncmp(text, word.data(), n) == 0 && text[n] == '\0' &&
         std::memchr(word.data(), '\0', n) == nullptr;
}
