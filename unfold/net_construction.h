#pragma once
// A net of a solid as the construction holds it, as the ready-made nets are
// stored: the faces in laying order, their corners written clockwise (the way
// the program draws new polygons), and on every hinge the two corners of the
// later face joined to their partners and fixed.
#include <optional>
#include <utility>
#include <vector>

#include "model/construction.h"
#include "unfold/unfold.h"

namespace didod::unfold {

struct NetPoints {
  std::vector<int> faceSizes;              // in laying order
  std::vector<Vec2> points;                // point 1 at index 0, net units
  std::vector<bool> fixed;                 // same indices
  std::vector<std::pair<int, int>> joins;  // point numbers: the fixed point, its partner
  int PointCount() const { return static_cast<int>(points.size()); }
};

// The net's points in the order they are written. Every face after the first
// hangs on an earlier one (parent before child, as Unfold returns them).
NetPoints PointsOfNet(const Net& net);

// The net as a construction at the standard scale, pixel positions for
// centre. Nothing when it exceeds the store's capacities.
std::optional<Construction> NetConstruction(const Net& net, ViewCentre centre);

// The sheet area of the ready-made nets, for a sheet of the given size in
// pixels at the standard scale: the same margin to the sheet's edges as the
// catalogue keeps on a sheet of its design size (799 x 638 pixels).
SheetBox SheetBoxFor(int sheetWidth, int sheetHeight);

}  // namespace didod::unfold
