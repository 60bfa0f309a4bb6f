#pragma once
// The Johnson solids J1 to J92, and the parts they are built from.
#include <vector>

#include "solids/model.h"

namespace didod::solids {

// Johnson solid 1 .. 92 with unit edges. Throws std::invalid_argument for any
// other number.
Polyhedron JohnsonSolid(int number);

// Corners of a regular n-gon of the given circumradius in the plane z, corner
// k at the angle (2k + 1) pi / n + offset.
std::vector<Vec3> Ring(int n, double z, double radius, double offset = 0);
double Circumradius(int n);  // of the regular n-gon of side 1
double Inradius(int n);

// A part of a Johnson solid: it stands on a regular polygon of unit side
// (its first `base` points, in the plane z = 0) and lies above it.
struct Part {
  int base = 0;  // corners of the base polygon
  std::vector<Vec3> points;
};

Part Pyramid(int n);
Part Prism(int n);
Part Antiprism(int n);
Part Cupola(int n);
Part Rotunda();  // the pentagonal rotunda, half of the icosidodecahedron

Polyhedron Solid(const Part& p);  // the part on its own

}  // namespace didod::solids
