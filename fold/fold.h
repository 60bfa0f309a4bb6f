#pragma once
// Folding a net into its solid: which free edges glue together, whether the
// glued surface can be built from the rigid faces in space, and how.
//
//   FoldResult r = FoldNet(construction);           // at most about two seconds
//   for (const FoldedSolid& s : r.solids) ...         // best first
//   FacesAt(r, 0, 0.5)                                // the first solid half folded
#include <atomic>
#include <cstdint>
#include <numbers>
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
// between the two faces on the folded solid, in radians. The printed side of
// the sheet ends up outside, so less than pi is a convex edge, a mountain fold
// seen from the printed side; more than pi a reflex edge, a valley fold; pi
// where the faces stay flat.
struct Hinge {
  EdgeRef a;
  EdgeRef b;
  double dihedral = std::numbers::pi;
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

// One solid the net closes into.
struct FoldedSolid {
  // Corners per face (index face - 1, the face's own corner order), placed so
  // that the printed side of the sheet is outside.
  std::vector<std::vector<geo::Vec3>> corners;
  std::vector<Hinge> hinges;           // every edge shared on the sheet, with its angle on this solid
  std::vector<EdgeGluing> gluings;     // the free edges glued to each other
  std::vector<double> gluingDihedral;  // inner angle at each gluing, same order
  std::vector<FoldStep> steps;         // parents before children
  int vertices = 0;  // counts of the solid (faces lying flat against each other taken as one)
  int edges = 0;
  int faces = 0;
  bool convex = false;
  double volume = 0.0;
};

struct FoldOptions {
  // Points of different faces closer than this (net units) count as one point.
  double tolerance = 1e-4;
  // Wall-clock budget for the whole check.
  double timeBudgetSeconds = 2.0;
  // Whether to look for non-convex solids when no convex one exists.
  bool tryNonConvex = true;
  // Set (from any thread) to stop the check as soon as it can.
  const std::atomic<bool>* cancel = nullptr;
};

// Why a search did not try every candidate gluing.
enum class FoldStop {
  None,            // every candidate was tried: the list of solids is complete
  TimeLimit,       // the time budget ran out
  CandidateLimit,  // there were more candidates than the search keeps
  Cancelled,       // the caller cancelled the check
};

struct FoldResult {
  enum class Verdict {
    Convex,        // folds into one solid, a convex one
    Several,       // folds into several different solids (see `solids`)
    NonConvex,     // folds only into one non-convex solid
    NotANet,       // the faces do not form one flat disc (refused, see message)
    DoesNotFold,   // a proper net, but no gluing closes it into a solid
    Undecided,     // the search stopped before it found a solid
  };
  Verdict verdict = Verdict::NotANet;
  std::string message;  // German, for the user

  // Every solid found, best first: one that keeps every face of the net as a
  // face of its own, then convex, then the most regular, then the largest.
  std::vector<FoldedSolid> solids;
  FoldStop stop = FoldStop::None;
  bool cutApart = false;  // folded after cutting where faces only lie against each other

  // The flat net (z = 0), index face - 1; also for a refused net.
  std::vector<std::vector<geo::Vec3>> flat;

  // Diagnostics.
  std::int64_t convexGluingCount = 0;  // gluings with every vertex at most 2 pi
  int candidatesTried = 0;
};

// Checks the net and folds it. Never changes the construction; safe to call on
// a copy from a worker thread.
FoldResult FoldNet(const Construction& c, const FoldOptions& options = {});

// The flat net as FoldResult::flat holds it, without checking anything.
std::vector<std::vector<geo::Vec3>> FlatNet(const Construction& c);

// The faces of solid `solid` at a stage of folding: 0 = the flat net, 1 = the
// closed solid (rigidly placed like the flat net's first face). Index face - 1.
// Without that solid, the flat net.
std::vector<std::vector<geo::Vec3>> FacesAt(const FoldResult& r, std::size_t solid, double fraction);

// The line under the picture of solid `solid` (0-based) of several:
// "Körper 2 von 3: konvex, 6 Flächen, 12 Kanten und 8 Ecken".
std::string SolidCaption(const FoldResult& r, std::size_t solid);

// Whether the check sees the same net in both constructions: faces, corners
// and join lines (not the view's scale or pixel positions).
bool SameNetToFold(const Construction& a, const Construction& b);

}  // namespace didod
