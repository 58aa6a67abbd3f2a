// See time_text.h. The fields hold UTF-8; the full-width forms are the
// three-byte sequences of U+FF10..U+FF19 (digits), U+FF0B and U+FF0D (signs)
// and U+3000 (the ideographic space).
#include "task/time_text.h"

#include <climits>

namespace task {

namespace {

// The character at `i` if it is one of `ascii` or its full-width form
// (U+FF00 + ascii - 0x20, EF BC/BD xx in UTF-8); its byte length, or 0.
size_t Match(std::string_view s, size_t i, char ascii) {
  if (i < s.size() && s[i] == ascii) return 1;
  unsigned wide = 0xFF00u + static_cast<unsigned char>(ascii) - 0x20u;
  char second = static_cast<char>(0x80 | ((wide >> 6) & 0x3F));
  char third = static_cast<char>(0x80 | (wide & 0x3F));
  if (i + 2 < s.size() && s[i] == '\xef' && s[i + 1] == second && s[i + 2] == third) return 3;
  return 0;
}

size_t Blank(std::string_view s, size_t i) {
  if (i < s.size() && (s[i] == ' ' || s[i] == '\t')) return 1;
  if (s.substr(i, 3) == "\xe3\x80\x80") return 3;
  return 0;
}

// The decimal digit at `i`, ASCII or full-width, with its byte length.
struct Digit {
  int value = -1;
  size_t length = 0;
};
Digit DigitAt(std::string_view s, size_t i) {
  for (int d = 0; d <= 9; ++d) {
    if (size_t n = Match(s, i, static_cast<char>('0' + d))) return {d, n};
  }
  return {};
}

}  // namespace

std::optional<int> TextToNumber(std::string_view s) {
  size_t i = 0;
  while (size_t n = Blank(s, i)) i += n;
  bool negative = false;
  if (size_t n = Match(s, i, '-')) {
    negative = true;
    i += n;
  } else if (size_t plus = Match(s, i, '+')) {
    i += plus;
  }
  long long value = 0;
  bool any = false;
  for (Digit d = DigitAt(s, i); d.length > 0; d = DigitAt(s, i)) {
    any = true;
    i += d.length;
    value = value * 10 + d.value;
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (!any) return std::nullopt;
  if (negative) return value > INT_MAX ? INT_MIN : -static_cast<int>(value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

int TextToInt(std::string_view utf8) { return TextToNumber(utf8).value_or(0); }

std::string IntToText(int value) { return std::to_string(value); }

std::string TwoDigits(int value) {
  return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

}  // namespace task
