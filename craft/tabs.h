#pragma once
#include <vector>

#include "craft/sheet.h"

namespace didod::craft {

// Where the glue tabs go: the net's faces in millimetres, its hinges and glued
// pairs (checked against the faces), and the choices of the sheet.
struct TabRequest {
  const std::vector<std::vector<Vec2>>* faces = nullptr;
  const std::vector<EdgePair>* hinges = nullptr;
  const std::vector<EdgePair>* gluings = nullptr;
  TabMode mode = TabMode::OneSide;
  TabSide side = TabSide::Roomiest;
  double tolerance = 1e-6;  // mm; points closer than this are one point
};

// Tabs for the glued pairs, in the pairs' order, each kept kTabClearance away
// from every other tab and face except at the two ends of its own edge: a tab
// that does not clear is made lower or its ends slanted more, and left out
// when no such tab clears.
std::vector<GlueTab> PlaceTabs(const TabRequest& request);

// For each glued pair, whether its tab belongs on edge a (true) or b, so that
// along a seam (pairs that follow each other on both sides of a cut) the tabs
// change sides from one pair to the next.
std::vector<bool> AlternateAlongSeams(const std::vector<std::vector<Vec2>>& faces,
                                      const std::vector<EdgePair>& gluings, double tolerance);

}  // namespace didod::craft
