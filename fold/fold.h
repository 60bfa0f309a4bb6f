#pragma once
// Folding a net into its solid: which free edges glue together, whether the
// glued surface can be built from the rigid faces in space, and how.
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/vec.h"
#include "model/construction.h"

namespace didod {

// One edge of a face: from corner `corner` to corner `corner` + 1 (mod the
// face's size). Faces are numbered from 1 as in the construction, corners
// from 0 in the face's own order.
struct EdgeRef {
  int face = 0;
  int corner = 0;
  bool operator==(const EdgeRef&) const = default;
};

// Two free edges of the net that are glued together when folding. Corner
// `a.corner` meets the end of edge b and vice versa (the edges run opposite).
struct EdgeGluing {
  EdgeRef a;
  EdgeRef b;
  bool operator==(const EdgeGluing&) const = default;
};

// An edge shared by two faces on the sheet. `dihedral` is the inner angle
// between the two faces on the folded solid, in radians (pi = flat, less than
// pi = convex edge, more than pi = reflex edge); pi when no solid was found.
struct Hinge {
  EdgeRef a;
  EdgeRef b;
  double dihedral = 3.14159265358979323846;
};

using Point3 = geo::Vec3;

struct FoldOptions {
  // Points of different faces closer than this (net units) count as one point.
  double tolerance = 1e-4;
  // Wall-clock budget for the whole check.
  double timeBudgetSeconds = 2.0;
  // Whether to look for non-convex solids when no convex one exists.
  bool tryNonConvex = true;
};

// How a face hangs on its parent when the net is folded step by step: the
// face turns about the hinge from corner `axisFrom` to corner `axisTo` of the
// face (its own corners, 0-based) by `angle` radians at 100 %.
struct FoldStep {
  int face = 0;    // 1-based
  int parent = 0;  // 1-based, 0 for the face that stays in place
  int axisFrom = 0;
  int axisTo = 0;
  double angle = 0.0;
};

struct FoldResult {
  enum class Verdict {
    Convex,        // folds into exactly one solid, a convex one
    Several,       // folds into several solids; the one kept is convex if any is
    NonConvex,     // folds only into non-convex solids (the one kept is shown)
    NotANet,       // the faces do not form one flat disc (refused, see message)
    DoesNotFold,   // a proper net, but no gluing closes it into a solid
    Undecided,     // the time budget ran out before a solid was found
  };
  Verdict verdict = Verdict::NotANet;
  std::string message;  // German, for the user

  std::vector<Hinge> hinges;          // every edge shared on the sheet
  std::vector<EdgeGluing> gluings;    // of the solid kept; empty when none
  std::vector<double> gluingDihedral; // inner angle at each gluing, same order

  // The solid kept: corners per face (index face - 1, the face's own corner
  // order), outward orientation. Empty when no solid was found.
  std::vector<std::vector<Point3>> solid;
  int vertices = 0;  // counts of the solid kept (coplanar faces merged)
  int edges = 0;
  int faces = 0;
  bool convex = false;

  // The flat net (z = 0) and the steps that fold it; FacesAt() turns them into
  // any stage between flat and closed.
  std::vector<std::vector<Point3>> flat;
  std::vector<FoldStep> steps;  // parents before children

  // Diagnostics.
  std::int64_t convexGluingCount = 0;  // gluings with every vertex at most 2 pi
  int candidatesTried = 0;
  int solidsFound = 0;
  bool budgetExhausted = false;
};

// Checks the net and folds it. Never changes the construction.
FoldResult FoldNet(const Construction& c, const FoldOptions& options = {});

// The faces at a stage of folding: 0 = the flat net, 1 = the closed solid
// (rigidly placed like the flat net's first face). Index face - 1.
std::vector<std::vector<Point3>> FacesAt(const FoldResult& r, double fraction);

}  // namespace didod
