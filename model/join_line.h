#pragma once
// The one reader of JoinList lines: the number of the point that was dropped
// and fixed, one TAB, the number of its partner, each written with a number's
// own decimal digits (no sign, no blank, no leading zero). The renderer, the
// mouse logic and the net check all read the lines through these functions,
// so that they agree on which lines name a join.
#include <string>
#include <string_view>

namespace didod {

struct JoinLine {
  int dropped = 0;  // the point that was dropped onto its partner and fixed
  int partner = 0;
  bool operator==(const JoinLine&) const = default;
};

// The dropped point of a line that begins with a number's own digits followed
// by a TAB (whatever follows the TAB), else 0. Numbers of more than nine digits
// name no point and give 0 as well.
int DroppedPointOf(std::string_view line);

// Both numbers of a line that is exactly "dropped TAB partner"; {0, 0} for
// any other line.
JoinLine ParseJoinLine(std::string_view line);

// The line that records point `dropped` put onto point `partner`.
std::string JoinLineText(int dropped, int partner);

}  // namespace didod
