#pragma once
#include <string>
#include <vector>

#include "tools/netgen/vocabulary.h"

namespace didod::netgen {

// The names of the catalogue in the order of its name list (UTF-8).
const std::vector<std::string>& CatalogueNames();

struct SolidTraits {
  bool convex = true;
  bool equalEdges = false;    // every edge of the same length
  bool regularFaces = false;  // every face a regular polygon
};

SolidTraits TraitsOf(const std::string& name);

// The exact 3-D model of the named solid. Throws std::invalid_argument for a
// name that is not in the catalogue.
Polyhedron BuildSolid(const std::string& name);

// Building blocks, exposed for the tests.
Polyhedron PlatonicOrArchimedean(const std::string& englishName);
Polyhedron PolarReciprocal(const Polyhedron& p);  // about the midsphere
Polyhedron JohnsonSolid(int number);              // 12 .. 69, unit edges

}  // namespace didod::netgen
