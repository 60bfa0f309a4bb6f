#pragma once
// Solids whose measures follow from a few numbers: the points are written as
// functions of the numbers (so the symmetry holds by construction), and the
// numbers are solved for so that chosen distances come out right.
#include <functional>
#include <vector>

#include "geometry/vec.h"

namespace didod::solids {

using geo::Vec3;

// Points a and b (indices into the design's points) at the given distance.
struct Rod {
  int a = 0;
  int b = 0;
  double length = 1.0;
};

struct Design {
  std::vector<double> start;  // first guess of the numbers
  std::function<std::vector<Vec3>(const std::vector<double>&)> points;
  std::vector<Rod> rods;      // may be more than the numbers: all must hold
};

// Largest error of a rod for the given numbers.
double RodError(const Design& d, const std::vector<double>& numbers);

// The numbers for which every rod holds, by Gauss-Newton steps from the first
// guess, to the last bit a double carries. Throws std::runtime_error when the
// rods cannot all be met near the guess.
std::vector<double> Solve(const Design& d);

// The points of the solved design.
std::vector<Vec3> SolvedPoints(const Design& d);

}  // namespace didod::solids
