#pragma once
// The search for solids among the gluings of a net's outline: first every
// gluing with convex corners, then (when none closes) the others, the most
// regular first.
#include <vector>

#include "fold/deadline.h"
#include "fold/fold.h"
#include "fold/gluing.h"
#include "fold/realise.h"

namespace didod::foldnet {

struct Found {
  Solid solid;
  std::vector<Chord> chords;
  int kinds = 0;  // kinds of glued vertex
};

struct SearchOutcome {
  std::vector<Found> solids;  // different solids, best first
  FoldStop stop = FoldStop::None;
  bool oddEdges = false;      // the outline has an odd number of edges
  bool convexOnly = true;     // only gluings with convex corners were searched
  int tried = 0;
  std::int64_t convexCount = 0;
};

SearchOutcome SearchSolids(const NetComplex& net, bool tryNonConvex, const Deadline& deadline);

}  // namespace didod::foldnet
