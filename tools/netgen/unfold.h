#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "tools/netgen/polyhedron.h"
#include "tools/netgen/vec.h"

namespace didod::netgen {

// One face of a flat net. Its corners run counter-clockwise, in the order of
// the solid's face (seen from outside), starting at the solid face's first corner.
struct NetFace {
  int solidFace = -1;
  std::vector<Vec2> corners;
  int parent = -1;      // index (in laying order) of the face it hangs on, -1 for the first
  int parentEdge = -1;  // edge of the parent (corner k to k + 1) it hangs on
  int ownEdge = -1;     // its own edge on that edge; corner ownEdge meets parent corner parentEdge + 1
  int firstCorner = 0;  // the corner written first
};

// Faces in laying order: each face after the first hangs on an earlier one.
struct Net {
  std::vector<NetFace> faces;
};

// Sheet area the net must fit in: |x| <= halfWidth, |y| <= halfHeight.
struct SheetBox {
  double halfWidth = 7.78;
  double halfHeight = 6.16;
};

// Lays the solid flat without overlaps, trying many spanning trees from a
// fixed seed, and returns the one that allows the largest edge in the box.
// Throws std::runtime_error when no overlap-free net is found.
// A score other than the fitted size may be given (larger is better).
using NetScore = std::function<double(const Net&)>;
Net Unfold(const Polyhedron& solid, const SheetBox& box, std::uint32_t seed, const NetScore& score = nullptr);

// The first overlap-free net a depth-first search finds, trying each face as
// the first; the fallback when growing nets fails. Throws std::runtime_error
// when the search gives up (after `budget` faces laid from every first face).
Net UnfoldByBacktracking(const Polyhedron& solid, const SheetBox& box, long budget);

// Turns, centres and scales the net to the largest size that fits the box.
// Returns the scale factor applied.
double FitNet(Net& net, const SheetBox& box);

// The same net laid from another first face (same shape, new order).
Net Reroot(const Net& net, int newFirst);

// Common area of two faces of the net (0 for faces that only touch).
double OverlapArea(const std::vector<Vec2>& a, const std::vector<Vec2>& b);
double PolygonArea(const std::vector<Vec2>& p);  // signed, positive counter-clockwise
std::vector<Vec2> ConvexHull2D(std::vector<Vec2> points);

}  // namespace didod::netgen
