#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

#include "unfold/polyhedron.h"

// Laying a solid flat: nets of its faces, edge to edge, without overlaps.
namespace didod::unfold {

using geo::Vec2;

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

// When a search must stop: a moment and, optionally, a flag that another
// thread sets to cancel. The default never passes.
struct Deadline {
  std::chrono::steady_clock::time_point until = std::chrono::steady_clock::time_point::max();
  const std::atomic<bool>* cancel = nullptr;

  static Deadline In(double seconds, const std::atomic<bool>* cancel = nullptr);
  bool Cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
  bool Passed() const {
    if (Cancelled()) return true;
    return until != std::chrono::steady_clock::time_point::max() && std::chrono::steady_clock::now() >= until;
  }
};

// The search found no overlap-free net.
class NoNetFound : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// The deadline passed (or the search was cancelled) before any net was found.
class UnfoldStopped : public std::runtime_error {
 public:
  explicit UnfoldStopped(bool cancelled)
      : std::runtime_error(cancelled ? "unfolding cancelled" : "unfolding ran out of time"), cancelled(cancelled) {}
  bool cancelled;
};

// Lays the solid flat without overlaps, trying many spanning trees from a
// fixed seed, and returns the one that allows the largest edge in the box.
// Throws NoNetFound when no overlap-free net is found. A score other than the
// fitted size may be given (larger is better). When the deadline passes, the
// best net found so far is returned, and UnfoldStopped is thrown when there is
// none; without a deadline the result depends on the seed alone. With
// `edgesApart`, no two faces lie edge to edge in the net unless one hangs on
// the other (as far as the search finds such a net): faces laid round a
// corner whose angles add up to a full turn would close up there and look
// joined to the net check.
using NetScore = std::function<double(const Net&)>;
Net Unfold(const Polyhedron& solid, const SheetBox& box, std::uint32_t seed, const NetScore& score = nullptr,
           const Deadline& deadline = {}, bool edgesApart = false);

// The first overlap-free net a depth-first search finds, trying each face as
// the first; the fallback when growing nets fails. Throws NoNetFound when the
// search gives up (after `budget` faces laid from every first face), and
// UnfoldStopped when the deadline passes first.
Net UnfoldByBacktracking(const Polyhedron& solid, const SheetBox& box, long budget, const Deadline& deadline = {},
                         bool edgesApart = false);

// Turns, centres and scales the net to the largest size that fits the box.
// Returns the scale factor applied.
double FitNet(Net& net, const SheetBox& box);

// The same net laid from another first face (same shape, new order).
Net Reroot(const Net& net, int newFirst);

// Common area of two faces of the net (0 for faces that only touch).
double OverlapArea(const std::vector<Vec2>& a, const std::vector<Vec2>& b);
double PolygonArea(const std::vector<Vec2>& p);  // signed, positive counter-clockwise
std::vector<Vec2> ConvexHull2D(std::vector<Vec2> points);

}  // namespace didod::unfold
