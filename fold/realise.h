#pragma once
// Building a glued net in space from its rigid faces.
#include <Eigen/Core>
#include <string>
#include <vector>

#include "fold/gluing.h"

namespace didod::foldnet {

struct Solid {
  std::vector<std::vector<Eigen::Vector3d>> corners;  // per face, counter-clockwise corners
  std::vector<double> hingeDihedral;                  // per hinge of the net
  std::vector<double> chordDihedral;                  // per chord, in the order given
  bool convex = false;
  double volume = 0;
  int vertices = 0;
  int edges = 0;
  int faces = 0;
};

// How hard to try: least-squares steps per start, and fresh starts after a
// failed one.
struct Effort {
  int iterations = 300;
  int restarts = 2;
};

// Places the faces so that glued corners coincide. Returns false (and a short
// reason in `why`) when the gluing has no embedding with rigid flat faces or
// the deadline passed.
bool Realise(const NetComplex& net, const std::vector<Chord>& chords, Clock::time_point deadline, Solid& out,
             std::string* why = nullptr, Effort effort = {});

}  // namespace didod::foldnet
