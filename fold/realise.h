#pragma once
// Building a glued net in space from its rigid faces.
#include <vector>

#include "fold/deadline.h"
#include "fold/gluing.h"
#include "geometry/vec.h"

namespace didod::foldnet {

struct Solid {
  std::vector<std::vector<geo::Vec3>> corners;  // per face, counter-clockwise corners, outward
  std::vector<double> hingeDihedral;            // per hinge of the net
  std::vector<double> chordDihedral;            // per chord, in the order given
  bool convex = false;
  double volume = 0;
  int vertices = 0;
  int edges = 0;
  int faces = 0;
};

// How hard to try: least-squares steps per start, and fresh starts after a
// failed one.
struct Effort {
  int iterations = 0;
  int restarts = 0;
};

// Places the faces so that glued corners coincide, the surface neither passes
// through nor lies on itself, and no face lies folded onto another. False when
// the gluing has no such embedding with rigid flat faces, or the deadline
// passed.
bool Realise(const NetComplex& net, std::span<const Chord> chords, const Deadline& deadline, Effort effort,
             Solid& out);

}  // namespace didod::foldnet
