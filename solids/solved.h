#pragma once
// The Johnson solids that are no pieces of uniform solids glued together:
// their measures are solved for (equal edges, regular faces) within their
// symmetry.
#include <vector>

#include "solids/solver.h"

namespace didod::solids {

// The design of Johnson solid 84, 85, 86, 88, 89, 90, 91 or 92 (unit edges).
// Throws std::invalid_argument for any other number.
Design JohnsonDesign(int number);

// The snub antiprism over a regular n-gon (n = 2: the snub disphenoid, n = 3:
// the icosahedron, n = 4: the snub square antiprism).
Design SnubAntiprismDesign(int n);

}  // namespace didod::solids
