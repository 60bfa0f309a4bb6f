#include "fold/fold.h"

#include <Eigen/Dense>
#include <chrono>
#include <cmath>
#include <numbers>
#include <functional>
#include <queue>

#include "fold/gluing.h"
#include "fold/net_complex.h"
#include "fold/realise.h"

namespace didod {
namespace {

using foldnet::NetComplex;

// The faces that stay together: a tree of hinges from the first face, which
// stays in place.
void BuildSteps(const NetComplex& net, FoldResult& r) {
  const int F = static_cast<int>(net.faces.size());
  std::vector<bool> placed(F, false);
  std::queue<int> todo;
  placed[0] = true;
  todo.push(0);
  r.steps.push_back({net.faces[0].number, 0, 0, 0, 0.0});
  while (!todo.empty()) {
    const int f = todo.front();
    todo.pop();
    const auto& face = net.faces[f];
    const int n = static_cast<int>(face.p.size());
    for (int k = 0; k < n; ++k) {
      const int h = face.hingeOf[k];
      if (h < 0) continue;
      const auto& hr = net.hinges[h];
      const foldnet::Corner child = hr.a.face == f ? hr.b : hr.a;
      if (placed[child.face]) continue;
      placed[child.face] = true;
      const auto& cf = net.faces[child.face];
      const int m = static_cast<int>(cf.p.size());
      FoldStep s;
      s.face = cf.number;
      s.parent = face.number;
      s.axisFrom = cf.original[child.k];
      s.axisTo = cf.original[(child.k + 1) % m];
      s.angle = r.hinges[h].dihedral - std::numbers::pi;
      r.steps.push_back(s);
      todo.push(child.face);
    }
  }
}


std::string Counts(const FoldResult& r) {
  return std::to_string(r.faces) + " Flächen, " + std::to_string(r.edges) + " Kanten und " +
         std::to_string(r.vertices) + " Ecken";
}

struct GluedVertices {
  double largest = 0;  // largest angle gathered at a glued vertex
  int kinds = 0;       // kinds of glued vertices, by angle and number of corners
};

GluedVertices Describe(const NetComplex& net, const std::vector<foldnet::Chord>& chords) {
  const int n = static_cast<int>(net.points.size());
  std::vector<int> parent(n);
  for (int i = 0; i < n; ++i) parent[i] = i;
  auto find = [&](int x) {
    while (parent[x] != x) x = parent[x] = parent[parent[x]];
    return x;
  };
  for (const auto& c : chords) {
    parent[find(c.a)] = find((c.b + 1) % n);
    parent[find((c.a + 1) % n)] = find(c.b);
  }
  std::vector<double> sum(n, 0.0);
  std::vector<int> corners(n, 0);
  for (int i = 0; i < n; ++i) {
    sum[find(i)] += net.points[i].angle;
    corners[find(i)] += net.points[i].corners;
  }
  GluedVertices g;
  std::vector<std::pair<long long, int>> kinds;
  for (int i = 0; i < n; ++i) {
    if (find(i) != i) continue;
    g.largest = std::max(g.largest, sum[i]);
    kinds.push_back({std::llround(sum[i] * 1e6), corners[i]});
  }
  std::sort(kinds.begin(), kinds.end());
  g.kinds = static_cast<int>(std::unique(kinds.begin(), kinds.end()) - kinds.begin());
  return g;
}

constexpr size_t kMaxCandidates = 50000;

void Search(const NetComplex& net, const FoldOptions& options, FoldResult& r) {
  using foldnet::Chord;
  using foldnet::GluingSearch;
  using foldnet::Solid;
  const auto deadline =
      foldnet::Clock::now() + std::chrono::microseconds(static_cast<long long>(options.timeBudgetSeconds * 1e6));
  const int n = static_cast<int>(net.edges.size());
  if (n % 2 != 0) {
    r.verdict = FoldResult::Verdict::DoesNotFold;
    r.message = "Das Netz schließt sich zu keinem Körper: es hat " + std::to_string(n) +
                " freie Kanten, eine ungerade Zahl, und sie lassen sich nicht paarweise verkleben.";
    return;
  }
  Solid kept;
  std::vector<Chord> keptChords;
  auto phaseDeadline = deadline;
  bool widePhase = false;
  int keptKinds = 0;
  int convexFound = 0;
  auto tryGluing = [&](const std::vector<Chord>& chords, int kinds) {
    ++r.candidatesTried;
    Solid s;
    // Non-convex candidates can be many: each gets a shorter try.
    const foldnet::Effort effort = widePhase ? foldnet::Effort{80, 0} : foldnet::Effort{};
    if (!foldnet::Realise(net, chords, phaseDeadline, s, nullptr, effort)) return true;
    ++r.solidsFound;
    if (s.convex) ++convexFound;
    // Non-convex gluings can be many: once one solid is found, the others
    // get only a short look.
    if (widePhase && r.solidsFound == 1)
      phaseDeadline = std::min(deadline, foldnet::Clock::now() + std::chrono::microseconds(static_cast<long long>(
                                                                     options.timeBudgetSeconds * 1e5)));
    // First a solid on which every face of the net stays a face of its own
    // (none lying flat against its neighbour), then a convex one, then the
    // most regular (fewest kinds of corners), then the largest.
    const int F = static_cast<int>(net.faces.size());
    auto better = [F](const Solid& x, int xKinds, const Solid& y, int yKinds) {
      if ((x.faces == F) != (y.faces == F)) return x.faces == F;
      if (x.convex != y.convex) return x.convex;
      if (xKinds != yKinds) return xKinds < yKinds;
      return x.volume > y.volume * (1 + 1e-9);
    };
    if (r.solidsFound == 1 || better(s, kinds, kept, keptKinds)) {
      kept = std::move(s);
      keptChords = chords;
      keptKinds = kinds;
    }
    // Nothing can beat a convex solid that keeps every face.
    return !(r.solidsFound >= 2 && kept.convex && kept.faces == F);
  };
  const double twoPi = 2 * std::numbers::pi;
  // Lists the gluings and tries them, the most regular first: a solid
  // repeats few kinds of corners. Tells whether every gluing was tried (or
  // trying stopped because the answer was clear).
  // Too many gluings to list them all: the regular ones first, found by
  // counting again with only one, two or three kinds of glued vertex
  // allowed, in the numbers that the totals of the outline permit.
  auto runRegular = [&](GluingSearch& search, double limit) {
    const std::vector<foldnet::VertexKind> kinds = search.KindsMet();
    const int n2 = static_cast<int>(net.edges.size()) / 2;
    const int vertices = static_cast<int>(net.hinges.size()) + n2 - static_cast<int>(net.faces.size()) + 2 -
                         static_cast<int>(net.innerVertices.size());
    double angle = 0;
    int corners = 0;
    for (const auto& p : net.points) {
      angle += p.angle;
      corners += p.corners;
    }
    auto fits = [&](const std::vector<int>& pick, const std::vector<int>& times) {
      double a = 0;
      int c = 0, v = 0;
      for (size_t i = 0; i < pick.size(); ++i) {
        if (times[i] < 1) return false;
        a += times[i] * kinds[pick[i]].angle;
        c += times[i] * kinds[pick[i]].corners;
        v += times[i];
      }
      return v == vertices && c == corners && std::fabs(a - angle) < 1e-6;
    };
    std::vector<std::vector<int>> sets;
    const int K = static_cast<int>(kinds.size());
    for (int i = 0; i < K; ++i)
      if (fits({i}, {vertices})) sets.push_back({i});
    for (int i = 0; i < K; ++i)
      for (int j = i + 1; j < K; ++j)
        for (int m = 1; m < vertices; ++m)
          if (fits({i, j}, {m, vertices - m})) {
            sets.push_back({i, j});
            break;
          }
    for (int i = 0; i < K; ++i)
      for (int j = i + 1; j < K; ++j)
        for (int k = j + 1; k < K; ++k) {
          bool any = false;
          for (int m1 = 1; m1 < vertices && !any; ++m1)
            for (int m2 = 1; m1 + m2 < vertices && !any; ++m2) any = fits({i, j, k}, {m1, m2, vertices - m1 - m2});
          if (any) sets.push_back({i, j, k});
        }
    for (const auto& set : sets) {
      if (foldnet::Clock::now() > phaseDeadline) return;
      std::vector<foldnet::VertexKind> only;
      for (int i : set) only.push_back(kinds[i]);
      GluingSearch regular(net, limit, phaseDeadline, only);
      if (!regular.Finished() || regular.Count() == 0) continue;
      int listed = 0;
      bool go = true;
      regular.List([&](const std::vector<Chord>& chords) {
        if (foldnet::Clock::now() > phaseDeadline) return false;
        go = tryGluing(chords, static_cast<int>(set.size()));
        return go && ++listed < 2000;
      });
      if (!go) return;
    }
  };

  auto run = [&](GluingSearch& search, bool skipConvex) {
    if (!search.Finished()) return false;
    if (skipConvex && search.Count() > static_cast<std::int64_t>(kMaxCandidates)) {
      runRegular(search, 2 * twoPi);
      if (r.solidsFound > 0) return false;
    }
    std::vector<std::pair<int, std::vector<Chord>>> candidates;
    // Too many to keep: from then on only the most regular ones are kept,
    // and listing stops after a share of the time.
    bool thinned = false;
    int fewest = 1 << 30;
    const auto listUntil = foldnet::Clock::now() + (phaseDeadline - foldnet::Clock::now()) * 2 / 5;
    auto thin = [&] {
      std::erase_if(candidates, [&](const auto& c) { return c.first > fewest + 1; });
    };
    const bool all = search.List([&](const std::vector<Chord>& chords) {
      const GluedVertices g = Describe(net, chords);
      if (skipConvex && g.largest <= twoPi + 1e-9) return true;  // tried already
      if (g.kinds < fewest) {
        fewest = g.kinds;
        if (thinned) thin();
      }
      if (!thinned || g.kinds <= fewest + 1) candidates.push_back({g.kinds, chords});
      if (candidates.size() >= kMaxCandidates) {
        thinned = true;
        thin();
        if (candidates.size() >= kMaxCandidates) return false;
      }
      return !thinned || foldnet::Clock::now() < listUntil;
    });
    if (!all && !thinned) return false;
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    for (const auto& [kinds, chords] : candidates) {
      if (foldnet::Clock::now() > phaseDeadline) return false;
      if (!tryGluing(chords, kinds)) return true;
    }
    return all && !thinned;
  };

  GluingSearch convex(net, twoPi, deadline);
  r.convexGluingCount = convex.Count();
  bool complete = run(convex, false);
  if (r.solidsFound == 0 && options.tryNonConvex && complete) {
    GluingSearch wide(net, 2 * twoPi, deadline);
    widePhase = true;
    complete = run(wide, true);
  }
  r.budgetExhausted = !complete;

  if (r.solidsFound == 0) {
    if (!complete) {
      r.verdict = FoldResult::Verdict::Undecided;
      r.message = "Ob sich das Netz zu einem Körper schließt, ließ sich in der Zeitgrenze nicht entscheiden.";
    } else if (r.candidatesTried == 0) {
      r.verdict = FoldResult::Verdict::DoesNotFold;
      r.message =
          "Das Netz schließt sich zu keinem Körper: keine Verklebung der freien Kanten passt (gleich lange "
          "Kanten, an jeder Ecke höchstens " +
          std::string(options.tryNonConvex ? "720°" : "360°") +
          " und mindestens drei Flächen).";
    } else {
      r.verdict = FoldResult::Verdict::DoesNotFold;
      r.message = "Das Netz schließt sich zu keinem Körper: keine der " + std::to_string(r.candidatesTried) +
                  " möglichen Verklebungen lässt sich aus den starren Flächen räumlich bauen.";
    }
    return;
  }

  r.convex = kept.convex;
  r.vertices = kept.vertices;
  r.edges = kept.edges;
  r.faces = kept.faces;
  for (size_t h = 0; h < r.hinges.size(); ++h) r.hinges[h].dihedral = kept.hingeDihedral[h];
  for (size_t i = 0; i < keptChords.size(); ++i) {
    r.gluings.push_back({net.Ref(net.edges[keptChords[i].a].edge), net.Ref(net.edges[keptChords[i].b].edge)});
    r.gluingDihedral.push_back(kept.chordDihedral[i]);
  }
  r.solid.assign(net.faces.size(), {});
  for (size_t f = 0; f < net.faces.size(); ++f) {
    const auto& face = net.faces[f];
    r.solid[f].resize(face.p.size());
    for (size_t k = 0; k < face.p.size(); ++k) {
      const Eigen::Vector3d& p = kept.corners[f][k];
      r.solid[f][face.original[k]] = {p.x(), p.y(), p.z()};
    }
  }
  if (r.solidsFound >= 2) {
    r.verdict = FoldResult::Verdict::Several;
    r.message = "Das Netz faltet sich zu mehreren Körpern; gezeigt wird " +
                std::string(!kept.convex ? "ein nicht konvexer" : convexFound == 1 ? "der konvexe" : "ein konvexer") +
                " mit " + Counts(r) + ".";
  } else if (kept.convex) {
    r.verdict = FoldResult::Verdict::Convex;
    r.message = "Das Netz faltet sich zu einem konvexen Körper mit " + Counts(r) + ".";
  } else {
    r.verdict = FoldResult::Verdict::NonConvex;
    r.message = "Das Netz faltet sich nur zu einem nicht konvexen Körper mit " + Counts(r) + ".";
  }
  if (!complete && r.solidsFound == 1)
    r.message += " Ob es noch andere Körper gibt, wurde in der Zeitgrenze nicht zu Ende geprüft.";
}

}  // namespace

FoldResult FoldNet(const Construction& c, const FoldOptions& options) {
  FoldResult r;
  NetComplex net;
  std::string reason;
  const bool ok = foldnet::BuildNetComplex(c, options.tolerance, net, reason);
  // The flat net is shown even when it is refused.
  if (c.IsConsistent()) {
    for (int f = 1; f <= c.FaceCount; ++f) {
      const FaceRangeResult fr = c.FaceRange(f);
      std::vector<Point3> corners;
      for (int i = fr.first; i <= fr.last; ++i) corners.push_back({c.NetPoints[i].x, c.NetPoints[i].y, 0.0});
      r.flat.push_back(std::move(corners));
    }
  }
  if (!ok) {
    r.verdict = FoldResult::Verdict::NotANet;
    r.message = "Das ist kein Netz: " + reason;
    return r;
  }
  // Faces may lie edge to edge by chance without having been joined there.
  // When the net as it lies does not close, it is tried once more cut apart
  // at such edges. The first try gets a third of the time: every net that
  // closes as it lies does so well within it, while one that does not would
  // otherwise hold up the second try for half the budget.
  NetComplex cut;
  std::string cutReason;
  const bool canCut = !c.JoinList.empty() && foldnet::BuildNetComplex(c, options.tolerance, cut, cutReason, true) &&
                      cut.hinges.size() < net.hinges.size();
  FoldOptions first = options;
  if (canCut) first.timeBudgetSeconds = options.timeBudgetSeconds / 3;
  const FoldResult flat = r;
  for (const auto& h : net.hinges) r.hinges.push_back({net.Ref(h.a), net.Ref(h.b), std::numbers::pi});
  Search(net, first, r);
  if (canCut && r.solid.empty()) {
    FoldResult other = flat;
    for (const auto& h : cut.hinges) other.hinges.push_back({cut.Ref(h.a), cut.Ref(h.b), std::numbers::pi});
    FoldOptions second = options;
    second.timeBudgetSeconds = options.timeBudgetSeconds - first.timeBudgetSeconds;
    Search(cut, second, other);
    if (!other.solid.empty()) {
      other.message = "Aufgeschnitten, wo Flächen nur aneinanderliegen, ohne verbunden zu sein: " + other.message;
      other.candidatesTried += r.candidatesTried;
      r = std::move(other);
      BuildSteps(cut, r);
      return r;
    }
  }
  BuildSteps(net, r);
  return r;
}

std::vector<std::vector<Point3>> FacesAt(const FoldResult& r, double fraction) {
  using Eigen::Vector3d;
  std::vector<std::vector<Point3>> out = r.flat;
  const int F = static_cast<int>(r.flat.size());
  struct Pose {
    Eigen::Matrix3d R = Eigen::Matrix3d::Identity();
    Vector3d t = Vector3d::Zero();
    bool set = false;
  };
  std::vector<Pose> pose(F + 1);
  auto vec = [](const Point3& p) { return Vector3d(p.x, p.y, p.z); };
  for (const FoldStep& s : r.steps) {
    if (s.face < 1 || s.face > F) continue;
    Pose& p = pose[s.face];
    if (s.parent >= 1 && s.parent <= F && pose[s.parent].set) {
      const auto& corners = r.flat[s.face - 1];
      const int n = static_cast<int>(corners.size());
      if (s.axisFrom < 0 || s.axisFrom >= n || s.axisTo < 0 || s.axisTo >= n) continue;
      const Vector3d a = vec(corners[s.axisFrom]);
      const Vector3d axis = (vec(corners[s.axisTo]) - a).normalized();
      const Eigen::Matrix3d turn = Eigen::AngleAxisd(fraction * s.angle, axis).toRotationMatrix();
      // x -> parent(turn (x - a) + a)
      p.R = pose[s.parent].R * turn;
      p.t = pose[s.parent].R * (a - turn * a) + pose[s.parent].t;
    }
    p.set = true;
    for (Point3& q : out[s.face - 1]) {
      const Vector3d v = p.R * vec(q) + p.t;
      q = {v.x(), v.y(), v.z()};
    }
  }
  return out;
}

}  // namespace didod
