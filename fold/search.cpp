#include "fold/search.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "fold/tuning.h"
#include "fold/union_find.h"

namespace didod::foldnet {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// The glued vertices of one gluing: the largest angle gathered at one, and how
// many kinds (angle, corners) there are. Keeps its buffers between calls.
class VertexStats {
 public:
  explicit VertexStats(const NetComplex& net) : net_(net), uf_(static_cast<int>(net.points.size())) {}

  void Of(std::span<const Chord> chords) {
    const int n = static_cast<int>(net_.points.size());
    for (int i = 0; i < n; ++i) uf_.parent[i] = i;
    for (const Chord& c : chords) {
      uf_.Unite(c.a, (c.b + 1) % n);
      uf_.Unite((c.a + 1) % n, c.b);
    }
    sum_.assign(n, 0.0);
    corners_.assign(n, 0);
    for (int i = 0; i < n; ++i) {
      sum_[uf_.Find(i)] += net_.points[i].angle;
      corners_[uf_.Find(i)] += net_.points[i].corners;
    }
    largest = 0;
    kindList_.clear();
    for (int i = 0; i < n; ++i) {
      if (uf_.Find(i) != i) continue;
      largest = std::max(largest, sum_[i]);
      kindList_.push_back({std::llround(sum_[i] * kTuning.kindQuantum), corners_[i]});
    }
    std::sort(kindList_.begin(), kindList_.end());
    kinds = static_cast<int>(std::unique(kindList_.begin(), kindList_.end()) - kindList_.begin());
  }

  double largest = 0;
  int kinds = 0;

 private:
  const NetComplex& net_;
  UnionFind uf_;
  std::vector<double> sum_;
  std::vector<int> corners_;
  std::vector<std::pair<long long, int>> kindList_;
};

// Candidate gluings kept for trying, in one pool of chords.
class CandidatePool {
 public:
  void Add(int kinds, std::span<const Chord> chords) {
    entries_.push_back({kinds, chords_.size(), chords.size()});
    chords_.insert(chords_.end(), chords.begin(), chords.end());
  }
  // Drops every candidate with more kinds than `most`.
  void KeepUpTo(int most) {
    std::vector<Chord> kept;
    std::vector<Entry> entries;
    for (const Entry& e : entries_) {
      if (e.kinds > most) continue;
      entries.push_back({e.kinds, kept.size(), e.size});
      kept.insert(kept.end(), chords_.begin() + static_cast<std::ptrdiff_t>(e.begin),
                  chords_.begin() + static_cast<std::ptrdiff_t>(e.begin + e.size));
    }
    entries_ = std::move(entries);
    chords_ = std::move(kept);
  }
  size_t Size() const { return entries_.size(); }
  void SortByKinds() {
    std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& x, const Entry& y) { return x.kinds < y.kinds; });
  }
  int Kinds(size_t i) const { return entries_[i].kinds; }
  std::span<const Chord> Chords(size_t i) const { return {chords_.data() + entries_[i].begin, entries_[i].size}; }

 private:
  struct Entry {
    int kinds;
    size_t begin;
    size_t size;
  };
  std::vector<Entry> entries_;
  std::vector<Chord> chords_;
};

// Whether m of kind p and count - m of kind q (1 <= m < count) reach the totals.
bool FitsTwo(const VertexKind& p, const VertexKind& q, int count, int corners, double angle) {
  int m = 0;
  if (p.corners != q.corners) {
    const int num = corners - count * q.corners, den = p.corners - q.corners;
    if (num % den != 0) return false;
    m = num / den;
  } else {
    if (count * p.corners != corners || std::fabs(p.angle - q.angle) < 1e-12) return false;
    m = static_cast<int>(std::lround((angle - count * q.angle) / (p.angle - q.angle)));
  }
  return m >= 1 && m < count && std::fabs(m * p.angle + (count - m) * q.angle - angle) < kTuning.totalsMatch;
}

// The stages of the search, over the state they share.
class Searcher {
 public:
  Searcher(const NetComplex& net, bool tryNonConvex, const Deadline& deadline)
      : net_(net), tryNonConvex_(tryNonConvex), deadline_(deadline), wide_(net), regular_(net), stats_(net) {}

  SearchOutcome Run() {
    if (net_.edges.size() % 2 != 0) {
      out_.oddEdges = true;
      return std::move(out_);
    }
    ConvexPhase();
    if (out_.solids.empty() && out_.stop == FoldStop::None && tryNonConvex_) WidePhase();
    SortSolids();
    return std::move(out_);
  }

 private:
  void StopAtDeadline() {
    if (out_.stop == FoldStop::None) out_.stop = deadline_.Cancelled() ? FoldStop::Cancelled : FoldStop::TimeLimit;
  }
  void ConvexPhase();
  void WidePhase();
  void RegularPhase();
  bool TryKindSet(std::span<const VertexKind> only, int kinds);
  void ListAndTry(GluingSearch& search, bool skipConvex);
  bool Try(std::span<const Chord> chords, int kinds);
  bool Same(const Solid& a, const Solid& b) const;
  void SortSolids();

  const NetComplex& net_;
  const bool tryNonConvex_;
  const Deadline& deadline_;
  Effort effort_{kTuning.iterations, kTuning.restarts};
  GluingSearch wide_;
  GluingSearch regular_;
  VertexStats stats_;
  SearchOutcome out_;
};

void Searcher::ConvexPhase() {
  if (!wide_.Count(kTwoPi, deadline_)) return StopAtDeadline();
  out_.convexCount = wide_.Total();
  ListAndTry(wide_, false);
}

// Gluings with corners of up to 4 pi; non-convex candidates can be many, so
// each gets a shorter try, and too many are first searched by kinds.
void Searcher::WidePhase() {
  out_.convexOnly = false;
  effort_ = {kTuning.wideIterations, kTuning.wideRestarts};
  if (!wide_.Count(2 * kTwoPi, deadline_)) return StopAtDeadline();
  if (wide_.Total() > kTuning.maxCandidates) {
    RegularPhase();
    if (!out_.solids.empty() && out_.stop == FoldStop::None) out_.stop = FoldStop::CandidateLimit;
    if (out_.stop != FoldStop::None) return;
  }
  ListAndTry(wide_, true);
}

// Too many gluings to list them all: the regular ones first, counted again
// with only one, two or three kinds of glued vertex allowed, in numbers that
// reach the totals of the outline.
void Searcher::RegularPhase() {
  const std::vector<VertexKind> kinds = wide_.KindsMet();
  const int vertices = static_cast<int>(net_.hinges.size() + net_.edges.size() / 2 - net_.faces.size() + 2 -
                                        net_.innerVertices.size());
  double angle = 0;
  int corners = 0;
  for (const BoundaryPoint& p : net_.points) {
    angle += p.angle;
    corners += p.corners;
  }
  const int K = static_cast<int>(kinds.size());
  for (const VertexKind& k : kinds)
    if (vertices * k.corners == corners && std::fabs(vertices * k.angle - angle) < kTuning.totalsMatch &&
        !TryKindSet({&k, 1}, 1))
      return;
  for (int i = 0; i < K; ++i)
    for (int j = i + 1; j < K; ++j) {
      if (deadline_.Passed()) return StopAtDeadline();
      const VertexKind set[] = {kinds[i], kinds[j]};
      if (FitsTwo(kinds[i], kinds[j], vertices, corners, angle) && !TryKindSet(set, 2)) return;
    }
  for (int i = 0; i < K; ++i)
    for (int j = i + 1; j < K; ++j) {
      if (deadline_.Passed()) return StopAtDeadline();
      for (int k = j + 1; k < K; ++k) {
        bool fits = false;
        for (int m = 1; m + 2 <= vertices && !fits; ++m)
          fits = FitsTwo(kinds[j], kinds[k], vertices - m, corners - m * kinds[i].corners, angle - m * kinds[i].angle);
        const VertexKind set[] = {kinds[i], kinds[j], kinds[k]};
        if (fits && !TryKindSet(set, 3)) return;
      }
    }
}

// Tries the gluings of one set of kinds; false when the search must stop.
bool Searcher::TryKindSet(std::span<const VertexKind> only, int kinds) {
  if (!regular_.Count(2 * kTwoPi, deadline_, only)) {
    StopAtDeadline();
    return false;
  }
  int listed = 0;
  bool go = true;
  const bool all = regular_.List(
      [&](std::span<const Chord> chords) {
        go = Try(chords, kinds);
        return go && ++listed < kTuning.perKindSet;
      },
      deadline_);
  if (!all && deadline_.Passed()) StopAtDeadline();
  return go && !deadline_.Passed();
}

// Lists the counted gluings and tries them, the most regular first. When they
// are too many to keep, only the most regular are kept, and listing stops
// after a share of the time.
void Searcher::ListAndTry(GluingSearch& search, bool skipConvex) {
  CandidatePool pool;
  bool thinned = false;
  int fewest = 1 << 30;
  const Deadline listUntil = deadline_.Share(kTuning.listShare);
  const bool all = search.List(
      [&](std::span<const Chord> chords) {
        stats_.Of(chords);
        if (skipConvex && stats_.largest <= kTwoPi + kTuning.angleEps) return true;  // tried already
        if (stats_.kinds < fewest) {
          fewest = stats_.kinds;
          if (thinned) pool.KeepUpTo(fewest + 1);
        }
        if (!thinned || stats_.kinds <= fewest + 1) pool.Add(stats_.kinds, chords);
        if (pool.Size() >= static_cast<size_t>(kTuning.maxCandidates)) {
          thinned = true;
          pool.KeepUpTo(fewest + 1);
          if (pool.Size() >= static_cast<size_t>(kTuning.maxCandidates)) return false;
        }
        return !thinned || !listUntil.Passed();
      },
      deadline_);
  if (!all && !thinned) return StopAtDeadline();
  if (thinned) out_.stop = FoldStop::CandidateLimit;
  pool.SortByKinds();
  for (size_t i = 0; i < pool.Size(); ++i)
    if (!Try(pool.Chords(i), pool.Kinds(i))) return;
}

// Places one gluing; false when the deadline has passed.
bool Searcher::Try(std::span<const Chord> chords, int kinds) {
  if (deadline_.Passed()) {
    StopAtDeadline();
    return false;
  }
  ++out_.tried;
  Found found;
  if (!Realise(net_, chords, deadline_, effort_, found.solid)) {
    if (!deadline_.Passed()) return true;
    StopAtDeadline();
    return false;
  }
  for (const Found& f : out_.solids)
    if (Same(f.solid, found.solid)) return true;
  found.chords.assign(chords.begin(), chords.end());
  found.kinds = kinds;
  out_.solids.push_back(std::move(found));
  return true;
}

// The same solid, up to mirroring: same counts, volume and edge angles.
bool Searcher::Same(const Solid& a, const Solid& b) const {
  if (a.vertices != b.vertices || a.edges != b.edges || a.faces != b.faces || a.convex != b.convex) return false;
  if (std::fabs(a.volume - b.volume) > kTuning.sameSolid * std::max(a.volume, b.volume)) return false;
  auto angles = [](const Solid& s) {
    std::vector<double> all = s.hingeDihedral;
    all.insert(all.end(), s.chordDihedral.begin(), s.chordDihedral.end());
    std::sort(all.begin(), all.end());
    return all;
  };
  const std::vector<double> x = angles(a), y = angles(b);
  for (size_t i = 0; i < x.size(); ++i)
    if (std::fabs(x[i] - y[i]) > kTuning.sameSolid) return false;
  return true;
}

// First a solid on which every face of the net stays a face of its own (none
// lying flat against its neighbour), then a convex one, then the most regular
// (fewest kinds of corners), then the largest.
void Searcher::SortSolids() {
  const int F = static_cast<int>(net_.faces.size());
  std::stable_sort(out_.solids.begin(), out_.solids.end(), [F](const Found& x, const Found& y) {
    if ((x.solid.faces == F) != (y.solid.faces == F)) return x.solid.faces == F;
    if (x.solid.convex != y.solid.convex) return x.solid.convex;
    if (x.kinds != y.kinds) return x.kinds < y.kinds;
    return x.solid.volume > y.solid.volume * (1 + kTuning.sameSolid);
  });
}

}  // namespace

SearchOutcome SearchSolids(const NetComplex& net, bool tryNonConvex, const Deadline& deadline) {
  return Searcher(net, tryNonConvex, deadline).Run();
}

}  // namespace didod::foldnet
