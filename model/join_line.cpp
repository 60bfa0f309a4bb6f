#include "model/join_line.h"

namespace didod {
namespace {

constexpr std::size_t kMaxDigits = 9;  // keeps every number within int

// The value of a number's own digits (at least one, no leading zero), or 0.
int NumberOf(std::string_view digits) {
  if (digits.empty() || digits.size() > kMaxDigits) return 0;
  if (digits[0] == '0' && digits.size() > 1) return 0;
  int value = 0;
  for (const char ch : digits) {
    if (ch < '0' || ch > '9') return 0;
    value = value * 10 + (ch - '0');
  }
  return value;
}

}  // namespace

int DroppedPointOf(std::string_view line) {
  const std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos) return 0;
  return NumberOf(line.substr(0, tab));
}

JoinLine ParseJoinLine(std::string_view line) {
  const int dropped = DroppedPointOf(line);
  if (dropped == 0) return {};
  const int partner = NumberOf(line.substr(line.find('\t') + 1));
  if (partner == 0) return {};
  return {dropped, partner};
}

std::string JoinLineText(int dropped, int partner) {
  return std::to_string(dropped) + '\t' + std::to_string(partner);
}

}  // namespace didod
