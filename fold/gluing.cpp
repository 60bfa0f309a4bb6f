#include "fold/gluing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace didod::foldnet {
namespace {

constexpr std::int64_t kCap = 1'000'000'000'000'000'000LL;
constexpr double kAngleEps = 1e-9;
constexpr double kMatchEps = 1e-8;

std::int64_t SatAdd(std::int64_t a, std::int64_t b) { return std::min(a + b, kCap); }
std::int64_t SatMul(std::int64_t a, std::int64_t b) {
  if (a == 0 || b == 0) return 0;
  if (a > kCap / b) return kCap;
  return std::min(a * b, kCap);
}

}  // namespace

bool GluingSearch::VertexPossible(double angle, double maxAngle, double limit) {
  if (angle > limit + kAngleEps) return false;
  // Around a corner of a solid every face angle is smaller than the others
  // together (which needs at least three corners); a reflex corner of a
  // non-convex face is exempt.
  return maxAngle >= std::numbers::pi - kAngleEps || 2 * maxAngle < angle - kAngleEps;
}

bool GluingSearch::Closes(double angle, double maxAngle, int corners) const {
  if (!VertexPossible(angle, maxAngle, limit_)) return false;
  auto same = [&](const VertexKind& k) { return k.corners == corners && std::fabs(k.angle - angle) < kMatchEps; };
  if (!only_.empty()) return std::any_of(only_.begin(), only_.end(), same);
  if (std::none_of(met_.begin(), met_.end(), same)) met_.push_back({angle, corners});
  return true;
}

std::vector<VertexKind> GluingSearch::KindsMet() const { return met_; }

bool GluingSearch::ChordAllowed(int a, int m) const {
  const BoundaryEdge& ea = net_.edges[a];
  const BoundaryEdge& em = net_.edges[m];
  if (std::fabs(ea.length - em.length) > 1e-6 * net_.size) return false;
  const int fa = ea.edge.face, fm = em.edge.face;
  if (fa == fm) return false;  // a rigid flat face cannot be glued to itself
  // Two convex faces share at most one edge.
  if (net_.faces[fa].convex && net_.faces[fm].convex && hinged_[static_cast<size_t>(fa) * faceCount_ + fm])
    return false;
  return true;
}

bool GluingSearch::TimeUp() {
  if (++ticks_ % 256 == 0 && Clock::now() > deadline_) stopped_ = true;
  return stopped_;
}

std::int64_t GluingSearch::BlockCount(int a, int m) const {
  const BoundaryPoint& pa = net_.points[a + 1];
  if (m == a + 1) return Closes(pa.angle, pa.maxAngle, pa.corners) ? 1 : 0;
  const BoundaryPoint& pm = net_.points[m];
  std::int64_t count = 0;
  for (const State& s : S(a + 1, m - 1)) {
    const double angle = s.angle + pa.angle + pm.angle;
    const double maxAngle = std::max({s.maxAngle, pa.maxAngle, pm.maxAngle});
    if (Closes(angle, maxAngle, s.corners + pa.corners + pm.corners)) count = SatAdd(count, s.count);
  }
  return count;
}

GluingSearch::GluingSearch(const NetComplex& net, double angleLimit, Clock::time_point deadline,
                           std::vector<VertexKind> only)
    : net_(net), limit_(angleLimit), deadline_(deadline), only_(std::move(only)) {
  n_ = static_cast<int>(net.edges.size());
  faceCount_ = static_cast<int>(net.faces.size());
  hinged_.assign(static_cast<size_t>(faceCount_) * faceCount_, 0);
  for (const HingeRec& h : net.hinges) {
    hinged_[static_cast<size_t>(h.a.face) * faceCount_ + h.b.face] = 1;
    hinged_[static_cast<size_t>(h.b.face) * faceCount_ + h.a.face] = 1;
  }
  if (n_ < 2 || n_ % 2 != 0) {
    finished_ = true;
    return;
  }
  table_.assign(static_cast<size_t>(n_) * n_, {});
  block_.assign(static_cast<size_t>(n_) * n_, 0);
  const int n = n_;
  // Stretches a..b of even length, a >= 1: the angles gathered by the points
  // between the outermost glued pairs, with the number of ways.
  std::vector<State> scratch;
  for (int len = 2; len <= n - 1; len += 2) {
    for (int a = 1; a + len - 1 <= n - 1; ++a) {
      if (Clock::now() > deadline_) return;
      const int b = a + len - 1;
      scratch.clear();
      for (int m = a + 1; m <= b; m += 2) {
        if (!ChordAllowed(a, m)) continue;
        const std::int64_t blocks = BlockCount(a, m);
        B(a, m) = blocks;
        if (blocks == 0) continue;
        if (m == b) {
          scratch.push_back({0.0, 0.0, 0, blocks});
          continue;
        }
        const BoundaryPoint& p = net.points[m + 1];
        for (const State& s : S(m + 1, b)) {
          const double angle = s.angle + p.angle;
          if (angle > limit_ + kAngleEps) continue;
          scratch.push_back({angle, std::max(s.maxAngle, p.maxAngle), s.corners + p.corners, SatMul(blocks, s.count)});
        }
      }
      std::sort(scratch.begin(), scratch.end(), [](const State& x, const State& y) {
        if (x.angle != y.angle) return x.angle < y.angle;
        return x.maxAngle != y.maxAngle ? x.maxAngle < y.maxAngle : x.corners < y.corners;
      });
      std::vector<State>& out = S(a, b);
      for (const State& s : scratch) {
        bool merged = false;
        for (auto it = out.rbegin(); it != out.rend() && it->angle > s.angle - kAngleEps; ++it)
          if (std::fabs(it->maxAngle - s.maxAngle) < kAngleEps && it->corners == s.corners) {
            it->count = SatAdd(it->count, s.count);
            merged = true;
            break;
          }
        if (!merged) out.push_back(s);
      }
    }
  }
  // Edge 0 glued to edge m splits the outline into the stretch inside and
  // the stretch outside.
  const BoundaryPoint& p0 = net.points[0];
  for (int m = 1; m <= n - 1; m += 2) {
    if (!ChordAllowed(0, m)) continue;
    const std::int64_t blocks = BlockCount(0, m);
    B(0, m) = blocks;
    if (blocks == 0) continue;
    std::int64_t outside = 0;
    if (m == n - 1) {
      outside = Closes(p0.angle, p0.maxAngle, p0.corners) ? 1 : 0;
    } else {
      const BoundaryPoint& p = net.points[m + 1];
      for (const State& s : S(m + 1, n - 1))
        if (Closes(s.angle + p.angle + p0.angle, std::max({s.maxAngle, p.maxAngle, p0.maxAngle}),
                   s.corners + p.corners + p0.corners))
          outside = SatAdd(outside, s.count);
    }
    total_ = SatAdd(total_, SatMul(blocks, outside));
  }
  finished_ = true;
}

bool GluingSearch::Step(std::vector<Task>& pending) {
  if (TimeUp()) return false;
  if (pending.empty()) {
    if (!(*visit_)(chords_)) stopped_ = true;
    return !stopped_;
  }
  const Task t = pending.back();
  pending.pop_back();
  bool go = true;
  if (t.kind == Kind::Block) {
    const int fa = net_.edges[t.a].edge.face, fb = net_.edges[t.b].edge.face;
    const size_t ab = static_cast<size_t>(fa) * faceCount_ + fb, ba = static_cast<size_t>(fb) * faceCount_ + fa;
    // Two convex faces share at most one edge.
    const bool bothConvex = net_.faces[fa].convex && net_.faces[fb].convex;
    if (!(bothConvex && glued_[ab] > 0)) {
      ++glued_[ab];
      ++glued_[ba];
      chords_.push_back({t.a, t.b});
      if (t.b == t.a + 1) {
        go = Step(pending);
      } else {
        const BoundaryPoint& pa = net_.points[t.a + 1];
        const BoundaryPoint& pm = net_.points[t.b];
        for (const State& s : S(t.a + 1, t.b - 1)) {
          const double angle = s.angle + pa.angle + pm.angle;
          if (!Closes(angle, std::max({s.maxAngle, pa.maxAngle, pm.maxAngle}), s.corners + pa.corners + pm.corners))
            continue;
          pending.push_back({Kind::Interval, t.a + 1, t.b - 1, s.angle, s.maxAngle, s.corners});
          go = Step(pending);
          pending.pop_back();
          if (!go) break;
        }
      }
      chords_.pop_back();
      --glued_[ab];
      --glued_[ba];
    }
  } else {
    // Interval t.a..t.b whose separating points gather exactly (angle, maxAngle).
    for (int m = t.a + 1; m <= t.b && go; m += 2) {
      if (B(t.a, m) == 0) continue;
      if (m == t.b) {
        if (std::fabs(t.angle) < kMatchEps && std::fabs(t.maxAngle) < kMatchEps && t.corners == 0) {
          pending.push_back({Kind::Block, t.a, m, 0, 0, 0});
          go = Step(pending);
          pending.pop_back();
        }
        continue;
      }
      const BoundaryPoint& p = net_.points[m + 1];
      for (const State& s : S(m + 1, t.b)) {
        if (std::fabs(s.angle + p.angle - t.angle) > kMatchEps ||
            std::fabs(std::max(s.maxAngle, p.maxAngle) - t.maxAngle) > kMatchEps || s.corners + p.corners != t.corners)
          continue;
        pending.push_back({Kind::Interval, m + 1, t.b, s.angle, s.maxAngle, s.corners});
        pending.push_back({Kind::Block, t.a, m, 0, 0, 0});
        go = Step(pending);
        pending.pop_back();
        pending.pop_back();
        if (!go) break;
      }
    }
  }
  pending.push_back(t);
  return go && !stopped_;
}

bool GluingSearch::List(const std::function<bool(const std::vector<Chord>&)>& visit) {
  if (!finished_ || total_ == 0) return finished_;
  visit_ = &visit;
  stopped_ = false;
  glued_.assign(static_cast<size_t>(faceCount_) * faceCount_, 0);
  chords_.clear();
  const int n = n_;
  const BoundaryPoint& p0 = net_.points[0];
  std::vector<Task> pending;
  for (int m = 1; m <= n - 1 && !stopped_; m += 2) {
    if (B(0, m) == 0) continue;
    if (m == n - 1) {
      if (!Closes(p0.angle, p0.maxAngle, p0.corners)) continue;
      pending = {{Kind::Block, 0, m, 0, 0, 0}};
      Step(pending);
      continue;
    }
    const BoundaryPoint& p = net_.points[m + 1];
    for (const State& s : S(m + 1, n - 1)) {
      if (!Closes(s.angle + p.angle + p0.angle, std::max({s.maxAngle, p.maxAngle, p0.maxAngle}),
                  s.corners + p.corners + p0.corners))
        continue;
      pending = {{Kind::Interval, m + 1, n - 1, s.angle, s.maxAngle, s.corners}, {Kind::Block, 0, m, 0, 0, 0}};
      if (!Step(pending)) break;
    }
  }
  visit_ = nullptr;
  return !stopped_;
}

}  // namespace didod::foldnet
