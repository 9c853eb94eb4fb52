#include "navdb/navdb_text.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstring>

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// Bit i tells whether line[i] is a blank, for a line of 1 to 64 bytes; the bits past its end
// are set.
uint64_t blank_bits(const char* line, size_t size) {
  uint64_t bits = size < 64 ? ~uint64_t{0} << size : 0;
#if defined(__SSE2__)
  if (size >= 16) {
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    auto blanks16 = [&](const char* p) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(v, space), _mm_cmpeq_epi8(v, tab));
      return static_cast<uint64_t>(_mm_movemask_epi8(hits));
    };
    size_t i = 0;
    for (; size - i >= 16; i += 16) bits |= blanks16(line + i) << i;
    // The last bytes through the sixteen that end the line, which all lie within it.
    if (i < size) bits |= blanks16(line + size - 16) >> (16 - (size - i)) << i;
    return bits;
  }
#endif
  for (size_t i = 0; i < size; ++i) bits |= static_cast<uint64_t>(is_blank(line[i])) << i;
  return bits;
}

}  // namespace

size_t count_lines(std::string_view text, char kind) {
  const char* const p = text.data();
  const size_t size = text.size();
  if (size == 0) return 0;
  size_t n = kind == 0 || p[0] == kind;
  // p[i] an LF starts a line at p[i + 1] within the text.
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i first = _mm_set1_epi8(kind);
  for (; size - i > 16; i += 16) {
    auto at = [&](size_t j) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + j)); };
    __m128i starts = _mm_cmpeq_epi8(at(i), lf);
    if (kind != 0) starts = _mm_and_si128(starts, _mm_cmpeq_epi8(at(i + 1), first));
    n += static_cast<size_t>(std::popcount(static_cast<unsigned>(_mm_movemask_epi8(starts))));
  }
#endif
  for (; i + 1 < size; ++i) n += p[i] == '\n' && (kind == 0 || p[i + 1] == kind);
  return n;
}

int split_words(std::string_view line, int n, std::string_view* words, std::string_view& rest) {
  const size_t size = line.size();
  int count = 0;
  if (size > 0 && size <= 64) {
    // A line of up to 64 bytes: its words from bitmaps of their first bytes and of the blanks
    // that end them (past the line's end all reads as blanks), taken one by one.
    const uint64_t blanks = blank_bits(line.data(), size);
    uint64_t starts = ~blanks & ((blanks << 1) | 1);
    uint64_t ends = blanks & (~blanks << 1);  // none for a word that ends at the 64th byte
    for (; count < n && starts != 0; ++count) {
      const size_t start = static_cast<size_t>(__builtin_ctzll(starts));
      const size_t end = ends != 0 ? static_cast<size_t>(__builtin_ctzll(ends)) : size;
      words[count] = line.substr(start, end - start);
      starts &= starts - 1;
      ends &= ends - 1;
    }
    // What follows starts at the next word.
    rest = count == n && starts != 0 ? line.substr(static_cast<size_t>(__builtin_ctzll(starts))) : std::string_view();
    return count;
  }
  // Longer lines byte by byte.
  size_t pos = 0;
  while (true) {
    while (pos < size && is_blank(line[pos])) ++pos;
    if (count == n || pos == size) break;
    size_t end = pos;
    while (end < size && !is_blank(line[end])) ++end;
    words[count++] = line.substr(pos, end - pos);
    pos = end;
  }
  rest = count == n && pos < size ? line.substr(pos) : std::string_view();
  return count;
}

namespace {

// The number that the `count` (1 to 8) bytes before `end` spell, the 8 bytes before `end`
// being readable; false unless they are all digits.
bool parse_digits_before(const char* end, size_t count, uint64_t& value) {
  static_assert(std::endian::native == std::endian::little, "the first byte read is the lowest");
  constexpr uint64_t kZeros = 0x3030303030303030;  // "00000000"
  uint64_t v;
  std::memcpy(&v, end - 8, 8);
  // The bytes before the digits read as zeros; the first byte is the highest digit.
  const uint64_t keep = ~uint64_t{0} << (8 * (8 - count));
  v = (v & keep) | (kZeros & ~keep);
  if (((v & 0xF0F0F0F0F0F0F0F0) | (((v + 0x0606060606060606) & 0xF0F0F0F0F0F0F0F0) >> 4)) != 0x3333333333333333)
    return false;
  v -= kZeros;
  v = v * 10 + (v >> 8);  // every other byte: a number of two digits
  v = ((v & 0x000000FF000000FF) * (100 + (1000000ull << 32)) +
       ((v >> 16) & 0x000000FF000000FF) * (1 + (10000ull << 32))) >> 32;  // the four as one
  value = v;
  return true;
}

// Plain decimals ("-122.309614") of at most 16 digits that form a whole number up to 2^53:
// the quotient of two exact doubles, which IEEE division rounds correctly, so the value is
// the one from_chars gives. False for anything else.
bool parse_plain_decimal(const char* first, const char* last, double& value) {
  static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7, 1e8,
                                      1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};
  static constexpr uint64_t kIntPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
  auto digit = [](char c) { return static_cast<unsigned>(static_cast<unsigned char>(c) - '0'); };
  const bool negative = first < last && *first == '-';
  const char* p = first + negative;
  uint64_t mantissa = 0;
  // Longer digit runs wrap the mantissa, but they are refused below.
  for (; p < last && digit(*p) < 10; ++p) mantissa = mantissa * 10 + digit(*p);
  const size_t whole = static_cast<size_t>(p - first) - negative;
  size_t fraction = 0;
  if (p < last && *p == '.') {
    const char* const point = p++;
    fraction = static_cast<size_t>(last - p);
    uint64_t after;
    // Up to 8 digits after the point at once, when the word has 8 bytes to read.
    if (fraction >= 1 && fraction <= 8 && last - first >= 8 && parse_digits_before(last, fraction, after)) {
      mantissa = mantissa * kIntPow10[fraction] + after;
      p = last;
    } else {
      for (; p < last && digit(*p) < 10; ++p) mantissa = mantissa * 10 + digit(*p);
      fraction = static_cast<size_t>(p - point) - 1;
    }
  }
  const size_t digits = whole + fraction;
  if (p != last || digits == 0 || digits > 16 || mantissa > (uint64_t{1} << 53)) return false;
  const double v = static_cast<double>(mantissa) / kPow10[fraction];
  value = negative ? -v : v;
  return true;
}

}  // namespace

bool parse_double(std::string_view word, double& value) {
  if (word.empty()) return false;
  const char* first = word.data();
  const char* last = word.data() + word.size();
  // One sign at most: "+-47.3" is no number.
  if (*first == '+' && ++first < last && (*first == '-' || *first == '+')) return false;
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
  if (*first == '+' && ++first < last && (*first == '-' || *first == '+')) return false;
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

void copy_word(char* dst, int size, std::string_view word) {
  copy_text(dst, size, word == "-" ? std::string_view() : word);
}

bool text_equals(const char* text, std::string_view word) {
  size_t n = word.size();
  if (n == 0) return text[0] == '\0';
  return std::strncmp(text, word.data(), n) == 0 && text[n] == '\0' &&
         std::memchr(word.data(), '\0', n) == nullptr;
}
