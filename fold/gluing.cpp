#include "fold/gluing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "fold/tuning.h"

namespace didod::foldnet {
namespace {

std::int64_t SatAdd(std::int64_t a, std::int64_t b) { return std::min(a + b, kTuning.countCap); }
std::int64_t SatMul(std::int64_t a, std::int64_t b) {
  if (a == 0 || b == 0) return 0;
  if (a > kTuning.countCap / b) return kTuning.countCap;
  return std::min(a * b, kTuning.countCap);
}

}  // namespace

bool GluingSearch::VertexPossible(double angle, double maxAngle, double limit) {
  const double eps = kTuning.angleEps;
  if (angle > limit + eps) return false;
  // Around a corner of a solid every face angle is smaller than the others
  // together (which needs at least three corners); a reflex corner of a
  // non-convex face is exempt.
  return maxAngle >= std::numbers::pi - eps || 2 * maxAngle < angle - eps;
}

GluingSearch::GluingSearch(const NetComplex& net) : net_(net) {
  n_ = static_cast<int>(net.edges.size());
  faceCount_ = static_cast<int>(net.faces.size());
  hinged_.assign(static_cast<size_t>(faceCount_) * faceCount_, 0);
  for (const HingeRec& h : net.hinges) {
    hinged_[static_cast<size_t>(h.a.face) * faceCount_ + h.b.face] = 1;
    hinged_[static_cast<size_t>(h.b.face) * faceCount_ + h.a.face] = 1;
  }
}

bool GluingSearch::Closes(double angle, double maxAngle, int corners) const {
  if (!VertexPossible(angle, maxAngle, limit_)) return false;
  // Kinds are told apart at the resolution by which the search names them, so
  // that the rounding of a solid read from single-precision numbers does not
  // make a kind of its own of every vertex.
  auto same = [&](const VertexKind& k) {
    return k.corners == corners && std::fabs(k.angle - angle) < 1.0 / kTuning.kindQuantum;
  };
  if (!only_.empty()) return std::any_of(only_.begin(), only_.end(), same);
  if (std::none_of(met_.begin(), met_.end(), same)) met_.push_back({angle, corners});
  return true;
}

bool GluingSearch::ChordAllowed(int a, int m) const {
  const BoundaryEdge& ea = net_.edges[a];
  const BoundaryEdge& em = net_.edges[m];
  if (std::fabs(ea.length - em.length) > kTuning.lengthMatch * net_.size) return false;
  const int fa = ea.edge.face, fm = em.edge.face;
  if (fa == fm) return false;  // a rigid flat face cannot be glued to itself
  // Two convex faces share at most one edge.
  return !(net_.faces[fa].convex && net_.faces[fm].convex && hinged_[static_cast<size_t>(fa) * faceCount_ + fm]);
}

// Ways to fill the inside of chord (a, m) so that the vertex it closes works.
std::int64_t GluingSearch::BlockCount(int a, int m) const {
  const BoundaryPoint& pa = net_.points[a + 1];
  if (m == a + 1) return Closes(pa.angle, pa.maxAngle, pa.corners) ? 1 : 0;
  const BoundaryPoint& pm = net_.points[m];
  std::int64_t count = 0;
  for (const State& s : S(a + 1, m - 1))
    if (Closes(s.angle + pa.angle + pm.angle, std::max({s.maxAngle, pa.maxAngle, pm.maxAngle}),
               s.corners + pa.corners + pm.corners))
      count = SatAdd(count, s.count);
  return count;
}

// Stretch a..b of even length, a >= 1: the angles gathered by the points
// between its outermost glued pairs, with the number of ways, merged by kind.
void GluingSearch::FillStretch(int a, int b) {
  scratch_.clear();
  for (int m = a + 1; m <= b; m += 2) {
    if (!ChordAllowed(a, m)) continue;
    const std::int64_t blocks = BlockCount(a, m);
    B(a, m) = blocks;
    if (blocks == 0) continue;
    if (m == b) {
      scratch_.push_back({0.0, 0.0, 0, blocks});
      continue;
    }
    const BoundaryPoint& p = net_.points[m + 1];
    for (const State& s : S(m + 1, b)) {
      const double angle = s.angle + p.angle;
      if (angle > limit_ + kTuning.angleEps) continue;
      scratch_.push_back({angle, std::max(s.maxAngle, p.maxAngle), s.corners + p.corners, SatMul(blocks, s.count)});
    }
  }
  std::sort(scratch_.begin(), scratch_.end(), [](const State& x, const State& y) {
    if (x.angle != y.angle) return x.angle < y.angle;
    return x.maxAngle != y.maxAngle ? x.maxAngle < y.maxAngle : x.corners < y.corners;
  });
  Cell& cell = cells_[static_cast<size_t>(a) * n_ + b];
  cell.begin = static_cast<int>(pool_.size());
  for (const State& s : scratch_) {
    bool merged = false;
    for (int i = static_cast<int>(pool_.size()) - 1; i >= cell.begin && pool_[i].angle > s.angle - kTuning.angleEps;
         --i)
      if (std::fabs(pool_[i].maxAngle - s.maxAngle) < kTuning.angleEps && pool_[i].corners == s.corners) {
        pool_[i].count = SatAdd(pool_[i].count, s.count);
        merged = true;
        break;
      }
    if (!merged) pool_.push_back(s);
  }
  cell.size = static_cast<int>(pool_.size()) - cell.begin;
}

// Edge 0 glued to edge m splits the outline into the stretch inside and the
// stretch outside, whose points close the vertex at point 0.
void GluingSearch::CountWhole() {
  const BoundaryPoint& p0 = net_.points[0];
  for (int m = 1; m <= n_ - 1; m += 2) {
    if (!ChordAllowed(0, m)) continue;
    const std::int64_t blocks = BlockCount(0, m);
    B(0, m) = blocks;
    if (blocks == 0) continue;
    std::int64_t outside = 0;
    if (m == n_ - 1) {
      outside = Closes(p0.angle, p0.maxAngle, p0.corners) ? 1 : 0;
    } else {
      const BoundaryPoint& p = net_.points[m + 1];
      for (const State& s : S(m + 1, n_ - 1))
        if (Closes(s.angle + p.angle + p0.angle, std::max({s.maxAngle, p.maxAngle, p0.maxAngle}),
                   s.corners + p.corners + p0.corners))
          outside = SatAdd(outside, s.count);
    }
    total_ = SatAdd(total_, SatMul(blocks, outside));
  }
}

bool GluingSearch::Count(double angleLimit, const Deadline& deadline, std::span<const VertexKind> only) {
  limit_ = angleLimit;
  only_.assign(only.begin(), only.end());
  counted_ = false;
  total_ = 0;
  if (only.empty()) met_.clear();
  if (n_ < 2 || n_ % 2 != 0) {
    counted_ = true;
    return true;
  }
  cells_.assign(static_cast<size_t>(n_) * n_, Cell{});
  block_.assign(static_cast<size_t>(n_) * n_, 0);
  pool_.clear();
  for (int len = 2; len <= n_ - 1; len += 2)
    for (int a = 1; a + len - 1 <= n_ - 1; ++a) {
      if (deadline.Passed()) return false;
      FillStretch(a, a + len - 1);
    }
  CountWhole();
  counted_ = true;
  return true;
}

bool GluingSearch::StepBlock(const Task& t) {
  const int fa = net_.edges[t.a].edge.face, fb = net_.edges[t.b].edge.face;
  const size_t ab = static_cast<size_t>(fa) * faceCount_ + fb, ba = static_cast<size_t>(fb) * faceCount_ + fa;
  // Two convex faces share at most one edge.
  if (net_.faces[fa].convex && net_.faces[fb].convex && glued_[ab] > 0) return true;
  ++glued_[ab];
  ++glued_[ba];
  chords_.push_back({t.a, t.b});
  bool go = true;
  if (t.b == t.a + 1) {
    go = Step();
  } else {
    const BoundaryPoint& pa = net_.points[t.a + 1];
    const BoundaryPoint& pm = net_.points[t.b];
    for (const State& s : S(t.a + 1, t.b - 1)) {
      if (!Closes(s.angle + pa.angle + pm.angle, std::max({s.maxAngle, pa.maxAngle, pm.maxAngle}),
                  s.corners + pa.corners + pm.corners))
        continue;
      pending_.push_back({Kind::Interval, t.a + 1, t.b - 1, s.angle, s.maxAngle, s.corners});
      go = Step();
      pending_.pop_back();
      if (!go) break;
    }
  }
  chords_.pop_back();
  --glued_[ab];
  --glued_[ba];
  return go;
}

// Interval t.a..t.b whose separating points gather exactly (angle, maxAngle, corners).
bool GluingSearch::StepInterval(const Task& t) {
  const double eps = kTuning.matchEps;
  for (int m = t.a + 1; m <= t.b; m += 2) {
    if (B(t.a, m) == 0) continue;
    if (m == t.b) {
      if (std::fabs(t.angle) < eps && std::fabs(t.maxAngle) < eps && t.corners == 0) {
        pending_.push_back({Kind::Block, t.a, m, 0, 0, 0});
        const bool go = Step();
        pending_.pop_back();
        if (!go) return false;
      }
      continue;
    }
    const BoundaryPoint& p = net_.points[m + 1];
    for (const State& s : S(m + 1, t.b)) {
      if (std::fabs(s.angle + p.angle - t.angle) > eps || std::fabs(std::max(s.maxAngle, p.maxAngle) - t.maxAngle) > eps ||
          s.corners + p.corners != t.corners)
        continue;
      pending_.push_back({Kind::Interval, m + 1, t.b, s.angle, s.maxAngle, s.corners});
      pending_.push_back({Kind::Block, t.a, m, 0, 0, 0});
      const bool go = Step();
      pending_.pop_back();
      pending_.pop_back();
      if (!go) return false;
    }
  }
  return true;
}

// Takes the next open task; with none left, one gluing is complete.
bool GluingSearch::Step() {
  if (stopped_ || ticker_->Passed()) {
    stopped_ = true;
    return false;
  }
  if (pending_.empty()) {
    if (!(*visit_)(chords_)) stopped_ = true;
    return !stopped_;
  }
  const Task t = pending_.back();
  pending_.pop_back();
  const bool go = t.kind == Kind::Block ? StepBlock(t) : StepInterval(t);
  pending_.push_back(t);
  return go && !stopped_;
}

bool GluingSearch::List(const Visit& visit, const Deadline& deadline) {
  if (!counted_) return false;
  if (total_ == 0) return true;
  DeadlineTicker<256> ticker(deadline);
  visit_ = &visit;
  ticker_ = &ticker;
  stopped_ = false;
  glued_.assign(static_cast<size_t>(faceCount_) * faceCount_, 0);
  chords_.clear();
  const BoundaryPoint& p0 = net_.points[0];
  for (int m = 1; m <= n_ - 1 && !stopped_; m += 2) {
    if (B(0, m) == 0) continue;
    if (m == n_ - 1) {
      if (!Closes(p0.angle, p0.maxAngle, p0.corners)) continue;
      pending_.assign(1, {Kind::Block, 0, m, 0, 0, 0});
      Step();
      continue;
    }
    const BoundaryPoint& p = net_.points[m + 1];
    for (const State& s : S(m + 1, n_ - 1)) {
      if (!Closes(s.angle + p.angle + p0.angle, std::max({s.maxAngle, p.maxAngle, p0.maxAngle}),
                  s.corners + p.corners + p0.corners))
        continue;
      pending_.clear();
      pending_.push_back({Kind::Interval, m + 1, n_ - 1, s.angle, s.maxAngle, s.corners});
      pending_.push_back({Kind::Block, 0, m, 0, 0, 0});
      if (!Step()) break;
    }
  }
  visit_ = nullptr;
  ticker_ = nullptr;
  return !stopped_;
}

}  // namespace didod::foldnet
