#include "navdb/navdb_text.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstring>

int split_words(std::string_view line, int n, std::string_view* words, std::string_view& rest) {
  // One pass over the bytes: each is looked at once.
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const size_t size = line.size();
  size_t pos = 0;
  int count = 0;
  while (true) {
    while (pos < size && blank(line[pos])) ++pos;
    if (count == n || pos == size) break;
    size_t end = pos;
    while (end < size && !blank(line[end])) ++end;
    words[count++] = line.substr(pos, end - pos);
    pos = end;
  }
  rest = count == n && pos < size ? line.substr(pos) : std::string_view();
  return count;
}

namespace {

// Plain decimals ("-122.309614") whose digits form a whole number below 2^53 with at most 22
// after the point: the quotient of two exact doubles, which IEEE division rounds correctly,
// so the value is the one from_chars gives. False for anything else.
bool parse_plain_decimal(const char* first, const char* last, double& value) {
  static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  bool negative = first < last && *first == '-';
  if (negative) ++first;
  uint64_t mantissa = 0;
  int digits = 0, fraction = 0;
  bool point = false;
  for (const char* p = first; p < last; ++p) {
    if (*p == '.' && !point) {
      point = true;
      continue;
    }
    if (*p < '0' || *p > '9' || digits >= 16) return false;
    mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    ++digits;
    if (point) ++fraction;
  }
  if (digits == 0 || mantissa > (uint64_t{1} << 53) || fraction > 22) return false;
  double v = static_cast<double>(mantissa) / kPow10[fraction];
  value = negative ? -v : v;
  return true;
}

}  // namespace

bool parse_double(std::string_view word, double& value) {
  if (word.empty()) return false;
  const char* first = word.data();
  const char* last = word.data() + word.size();
  if (*first == '+') ++first;
  if (parse_plain_decimal(first, last, value)) return true;
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
