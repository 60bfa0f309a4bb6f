#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "model/construction.h"

namespace didod {

// Most lines a construction file may hold. A full store is under 4,000 lines
// and a join list a few hundred; far more is a damaged file, refused before it
// is split so that it cannot exhaust memory.
inline constexpr std::size_t kMaxFileLines = 100000;

// Writes the lines, each followed by CR LF, as one zlib stream (level 9) to
// path. The bytes go to a new file beside the target, which then replaces the
// target in one step, so a failed save leaves the old file as it was. Throws
// std::runtime_error("Cannot create file <path>") when the file cannot be
// created or put in place, and ("Stream write error") when writing fails.
void SaveListCompressed(const std::vector<std::string>& lines, const std::string& path);

// Reads the file, inflates it and replaces lines by its lines; lines stays as
// it was when anything fails. Throws "Cannot open file <path>" or, for a
// damaged stream, "error".
void LoadListCompressed(std::vector<std::string>& lines, const std::string& path);

// Saves the construction as a net record. Changes nothing in it.
void SaveConstructionFile(const Construction& construction, const std::string& path);

// Reads, inflates and checks a whole construction file and returns the
// construction it holds, at the standard scale with pixel positions for
// centre. Throws with the message of the first fault; the caller's
// construction is only replaced by assigning the result.
Construction LoadConstructionFile(const std::string& path, ViewCentre centre);

// The same for the bytes of a file already in memory.
Construction ConstructionFromFileBytes(std::span<const unsigned char> bytes, ViewCentre centre);

}  // namespace didod
