#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/construction.h"

namespace didod {

// Our own message for a file or record that does not describe a construction
// the store can hold (counts beyond the capacities, negative counts, faces
// larger than the renderer takes, sizes not adding up to the point count).
inline constexpr const char* kInvalidConstructionMessage =
    "Die Datei enth\xC3\xA4lt keine g\xC3\xBCltige Konstruktion.";

// Splits text into lines. A line ends at CR, LF or CR LF (one line end); the
// text ends at its end or at the first NUL; a line end at the very end makes
// no empty last line.
std::vector<std::string> SplitLines(std::string_view text);
// The number of lines SplitLines would give, without building them.
std::size_t CountLines(std::string_view text);
// Each line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

// The lines of a net record: face count, face sizes, point count, three lines
// per point (x, y, "1"/"0" for Fixed), then the join list unchanged.
std::vector<std::string> WriteNetRecord(const Construction& construction);

// Reads the net record whose first line is lines[start] into a new
// construction at the standard scale, with its pixel positions computed for
// centre. With endAtBracket the join lines end before the first line that
// begins with "[" (catalogue records); without it every remaining line is a
// join line (construction files). Nothing is returned half-read: a missing
// line throws std::runtime_error("List index out of bounds (n)"), n being the
// index of that line in the list, and counts the store cannot hold throw
// kInvalidConstructionMessage.
Construction ReadNetRecord(const std::vector<std::string>& lines, std::size_t start,
                           bool endAtBracket, ViewCentre centre);

}  // namespace didod
