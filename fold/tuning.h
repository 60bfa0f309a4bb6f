#pragma once
// Every tuning number of the net check in one place, with why it has its
// value. Lengths marked "of the net size" are multiplied by the net's mean
// edge length, so that the check judges a tiny net and a huge one alike.

#include <cstdint>

namespace didod::foldnet {

struct FoldTuning {
  // --- The flat net ---
  // Joined points may lie apart by the rounding of repeated turns; a hundred
  // times the point tolerance (0.01 net units) is still far below any edge.
  double joinedDrift = 100;
  // Probes for faces lying on each other sit this many point tolerances inside
  // an edge (at most 1 % of the edge): clear of rounding, well inside the face.
  double probeInset = 10;
  double probeInsetOfEdge = 0.01;
  // Sums and comparisons of face angles: atan2 rounds at 1e-16, real
  // differences between corner angles of usable faces exceed 1e-6.
  double angleEps = 1e-9;

  // --- Gluings ---
  // States of the counting are merged when their angles agree this closely:
  // sums of a few hundred angles still round far below it.
  double matchEps = 1e-8;
  // Two free edges may be glued when their lengths agree to this share of the
  // net size; coordinates are stored with ten decimals.
  double lengthMatch = 1e-6;
  // Counts saturate here, well inside 64 bits, so that sums and products of
  // two counts cannot overflow.
  std::int64_t countCap = 1'000'000'000'000'000'000LL;
  // Kinds of glued vertex are told apart by their angle rounded to this many
  // parts of a radian (the angles of two kinds differ by far more).
  double kindQuantum = 1e6;
  // The totals of angle that a set of kinds must reach, in radians.
  double totalsMatch = 1e-6;

  // --- Placing a gluing in space ---
  // Angles at an edge fixed by two corners of three faces must agree this
  // closely (as cosines); both come from the same exact face angles.
  double cosAgree = 1e-6;
  // Distances between two glued corners held by two faces must agree to this
  // share of the net size.
  double distanceAgree = 1e-7;
  // Least-squares steps per start and fresh starts after a failed one: a
  // convex gluing converges in a few dozen steps; non-convex candidates can be
  // many, so each gets a shorter try.
  int iterations = 300;
  int restarts = 2;
  int wideIterations = 80;
  int wideRestarts = 0;
  // The placement has converged when every distance is right to this share of
  // the net size, and is accepted up to the second.
  double converged = 1e-10;
  double accepted = 1e-7;
  // Damping of the least-squares steps: start at this share of the mean
  // curvature, lower it after a good step, raise it after a bad one, give up
  // when it is so large that steps no longer move.
  double dampingStart = 1e-3;
  double dampingDown = 3;
  double dampingUp = 4;
  double dampingGiveUp = 1e12;
  double dampingFloor = 1e-15;
  // A step that gains less than this (squared net units) ends the descent.
  double leastGain = 1e-30;
  // Fresh starts shake the first placement by this share of the net size,
  // with a fixed seed so that every run gives the same answer.
  double restartNoise = 0.3;
  unsigned restartSeed = 12345;
  // A solid of less volume than this share of the net size cubed is flat.
  double flatVolume = 1e-6;
  // A segment pierces a face only when its ends lie farther than this share of
  // the net size on either side.
  double pierceEps = 1e-7;
  // Two faces lie on each other when one lies within this share of the net
  // size of the other's plane and they overlap by more than it. A thousandth
  // is far above the placement's error and far below any real gap: a face
  // folded back onto its neighbour by 1e-5 rad is no solid.
  double lyingFlat = 1e-3;
  // Convex when no corner lies farther than this share of the net size
  // outside the plane of any face.
  double convexSlack = 1e-7;
  // Faces meeting at an angle this close to pi (radians) count as one face.
  double coplanar = 1e-7;
  // Two edges at a corner continue each other when the cosine between them is
  // this close to -1; the corner then counts as none.
  double straight = 1e-9;
  // The solid handed out keeps every face's shape and closes every glued seam
  // to this share of the net size.
  double shapeKept = 1e-6;

  // --- The search over gluings ---
  // Candidates kept at most: a few seconds of tries at the fastest.
  int maxCandidates = 50000;
  // Gluings tried at most for one set of vertex kinds in the regular search,
  // so that one rich set cannot hold up the others.
  int perKindSet = 2000;
  // Once candidates have to be thinned, listing stops after this share of the
  // time left, so that the rest remains for trying them.
  double listShare = 0.4;
  // When the net can also be tried cut apart, the try as laid out gets this
  // share of the budget: every net that closes as it lies does so well within
  // it, while one that does not would otherwise hold up the second try.
  double firstTryShare = 1.0 / 3.0;
  // Two solids are the same (up to mirroring) when their volumes and sorted
  // edge angles agree this closely (relative, radians).
  double sameSolid = 1e-6;
};

inline constexpr FoldTuning kTuning{};

}  // namespace didod::foldnet
