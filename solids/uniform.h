#pragma once
// The Platonic and Archimedean solids by Wythoff's construction, and the
// Catalan solids as their polar reciprocals.
#include <string>

#include "solids/model.h"

namespace didod::solids {

// "tetrahedron" .. "snub dodecahedron" (English names), unit edges. Throws
// std::out_of_range for any other name.
Polyhedron PlatonicOrArchimedean(const std::string& englishName);

// The dual about the midsphere.
Polyhedron PolarReciprocal(const Polyhedron& p);

// The uniform solid of the tetrahedral ('T'), octahedral ('O') or
// icosahedral ('I') group whose generating point lies at the given distances
// from the three mirrors of the fundamental triangle; unit edges.
Polyhedron Wythoff(char kind, double da, double db, double dc);

// The solid scaled so that its shortest edge is 1.
Polyhedron UnitEdges(Polyhedron p);

// The five-fold axis of the fundamental triangle of the icosahedral group:
// the axis of a vertex of the icosahedron above.
Vec3 IcosahedralFiveFoldAxis();

}  // namespace didod::solids
