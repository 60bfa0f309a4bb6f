#pragma once
#include <string>
#include <vector>

#include "solids/johnson.h"
#include "solids/uniform.h"
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

// The building blocks live in the core's solids.
using solids::JohnsonSolid;
using solids::PlatonicOrArchimedean;
using solids::PolarReciprocal;

}  // namespace didod::netgen
