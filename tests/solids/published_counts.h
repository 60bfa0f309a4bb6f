#pragma once
// The public counts of the solids, read from tests/solids/published_counts.md
// (kept in the tree, so a bare clone has it): faces by polygon for every
// name, and V and E of the Johnson solids.
#include <map>
#include <string>

namespace didod::solids::testing {

struct Counts {
  std::map<int, int> faces;  // corners -> faces
  int vertices = -1;         // -1 when not published
  int edges = -1;
};

// By German name ("Würfel", "Rhombendodekaeder") and by Johnson number ("J12").
// Empty when the file cannot be read.
const std::map<std::string, Counts>& PublishedCounts();

// "8t 6s", "2s (1 × 1) 4s (1 × 2)", "60t (golden triangles, non-convex)" -> corners -> faces.
std::map<int, int> ParseFaces(const std::string& text);

}  // namespace didod::solids::testing
