#pragma once
// The Kepler-Poinsot solids as a paper model has them: the outer surface of
// the star, cut into the pieces of its faces that are seen from outside.
#include <vector>

#include "solids/model.h"

namespace didod::solids {

enum class StarSolid {
  SmallStellatedDodecahedron,
  GreatDodecahedron,
  GreatStellatedDodecahedron,
  GreatIcosahedron,
};

// The star's own faces (pentagrams, pentagons or triangles, crossing each
// other), each counter-clockwise about its outward normal, edge 1.
std::vector<std::vector<Vec3>> StarFaces(StarSolid s);

// The surface seen from outside, as a closed polyhedron: every face of the
// star cut along its crossings with the other faces, the pieces that part
// the outside from the inside kept and merged where they lie in one plane.
Polyhedron VisibleSurface(const std::vector<std::vector<Vec3>>& faces);

Polyhedron BuildStar(StarSolid s);

}  // namespace didod::solids
