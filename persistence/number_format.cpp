#include "persistence/number_format.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace didod {

std::string FormatNetCoordinate(double x) {
  if (!std::isfinite(x)) return "0";
  // The longest fixed text of a double: 309 integer digits, sign, point, 10 decimals.
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, 10);
  std::string text(buffer, result.ptr);
  while (text.size() > 1 && text.back() == '0') text.pop_back();
  if (text.size() > 1 && text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  return text;
}

namespace {

bool IsBlank(char c) { return c == ' '; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

int32_t ParseLineInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (hex) {
    // Eight hex digits cover the 32 bits; they are taken as a two's complement pattern.
    uint32_t value = 0;
    for (; i < text.size(); ++i) {
      const int digit = HexValue(text[i]);
      if (digit < 0 || value > 0x0FFFFFFFu) break;
      value = value * 16u + static_cast<uint32_t>(digit);
    }
    const uint32_t magnitude = negative ? 0u - value : value;
    return static_cast<int32_t>(magnitude);  // modular conversion, defined since C++20
  }
  // Accumulate as a magnitude so that -2147483648 fits.
  const uint32_t limit = negative ? 2147483648u : 2147483647u;
  uint32_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    const uint32_t digit = static_cast<uint32_t>(text[i] - '0');
    if (value > (limit - digit) / 10u) break;
    value = value * 10u + digit;
  }
  if (negative) return static_cast<int32_t>(0u - value);
  return static_cast<int32_t>(value);
}

double ParseLineReal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t start = i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  std::size_t end = i;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    end = i;
  }
  if (digits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t exponentStart = j;
    while (j < text.size() && IsDigit(text[j])) ++j;
    if (j > exponentStart) end = j;
  }
  // from_chars takes no leading sign, so the sign is applied here.
  double value = 0.0;
  const auto result = std::from_chars(text.data() + start, text.data() + end, value,
                                      std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small rounds to zero; too large has no sensible value.
    return 0.0;
  }
  if (result.ec != std::errc()) return 0.0;
  return negative ? -value : value;
}

}  // namespace didod
