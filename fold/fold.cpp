#include "fold/fold.h"

#include <cmath>
#include <queue>

#include "fold/net_complex.h"
#include "fold/search.h"
#include "fold/tuning.h"

namespace didod {
namespace {

using foldnet::Corner;
using foldnet::NetComplex;
using foldnet::SearchOutcome;
using geo::Vec3;
constexpr double kPi = std::numbers::pi;

// The faces that stay together: a tree of hinges from the first face, which
// stays in place.
std::vector<FoldStep> StepsOf(const NetComplex& net, const std::vector<Hinge>& hinges) {
  std::vector<FoldStep> steps{{net.faces[0].number, 0, 0, 0, 0.0}};
  std::vector<bool> placed(net.faces.size(), false);
  std::queue<int> todo;
  placed[0] = true;
  todo.push(0);
  while (!todo.empty()) {
    const int f = todo.front();
    todo.pop();
    const foldnet::Face& face = net.faces[f];
    for (int k = 0; k < face.Size(); ++k) {
      const int h = face.hingeOf[k];
      if (h < 0) continue;
      const foldnet::HingeRec& hr = net.hinges[h];
      const Corner child = hr.a.face == f ? hr.b : hr.a;
      if (placed[child.face]) continue;
      placed[child.face] = true;
      const foldnet::Face& cf = net.faces[child.face];
      steps.push_back({cf.number, face.number, cf.original[child.k], cf.original[(child.k + 1) % cf.Size()],
                       hinges[h].dihedral - kPi});
      todo.push(child.face);
    }
  }
  return steps;
}

// The last guard before a solid is handed out: every face keeps its shape and
// stays flat, and every hinge and glued seam is closed.
bool KeepsTheNet(const NetComplex& net, const foldnet::Found& found) {
  const double tol = foldnet::kTuning.shapeKept * net.size;
  const auto& P = found.solid.corners;
  for (size_t f = 0; f < net.faces.size(); ++f) {
    const foldnet::Face& face = net.faces[f];
    Vec3 normal, centre;
    for (int k = 0; k < face.Size(); ++k) {
      normal += geo::Cross(P[f][k], P[f][(k + 1) % face.Size()]);
      centre += P[f][k] / face.Size();
    }
    normal = geo::Normalized(normal);
    for (int k = 0; k < face.Size(); ++k) {
      if (!(std::fabs(geo::Dot(P[f][k] - centre, normal)) <= tol)) return false;  // bent
      for (int l = k + 1; l < face.Size(); ++l)
        if (!geo::Near(geo::Distance(P[f][k], P[f][l]), geo::Distance(face.p[k], face.p[l]), tol)) return false;
    }
  }
  auto at = [&](Corner c) { return P[c.face][c.k]; };
  auto closed = [&](Corner a, Corner b) {
    return geo::Distance(at(a), at(net.Next(b))) <= tol && geo::Distance(at(net.Next(a)), at(b)) <= tol;
  };
  for (const foldnet::HingeRec& h : net.hinges)
    if (!closed(h.a, h.b)) return false;
  for (const foldnet::Chord& ch : found.chords)
    if (!closed(net.edges[ch.a].edge, net.edges[ch.b].edge)) return false;
  return true;
}

FoldedSolid SolidOf(const NetComplex& net, const foldnet::Found& found) {
  FoldedSolid s;
  for (size_t h = 0; h < net.hinges.size(); ++h)
    s.hinges.push_back({net.Ref(net.hinges[h].a), net.Ref(net.hinges[h].b), found.solid.hingeDihedral[h]});
  for (size_t i = 0; i < found.chords.size(); ++i) {
    s.gluings.push_back({net.Ref(net.edges[found.chords[i].a].edge), net.Ref(net.edges[found.chords[i].b].edge)});
    s.gluingDihedral.push_back(found.solid.chordDihedral[i]);
  }
  s.corners.resize(net.faces.size());
  for (size_t f = 0; f < net.faces.size(); ++f) {
    const foldnet::Face& face = net.faces[f];
    s.corners[f].resize(face.p.size());
    for (int k = 0; k < face.Size(); ++k) s.corners[f][face.original[k]] = found.solid.corners[f][k];
  }
  s.steps = StepsOf(net, s.hinges);
  s.vertices = found.solid.vertices;
  s.edges = found.solid.edges;
  s.faces = found.solid.faces;
  s.convex = found.solid.convex;
  s.volume = found.solid.volume;
  return s;
}

std::string Counts(const FoldedSolid& s) {
  return std::to_string(s.faces) + " Flächen, " + std::to_string(s.edges) + " Kanten und " +
         std::to_string(s.vertices) + " Ecken";
}

std::string DescribeSolid(const FoldedSolid& s) {
  return std::string(s.convex ? "einem konvexen" : "einem nicht konvexen") + " Körper mit " + Counts(s);
}

// How the search ended, when it did not try every candidate.
std::string Ending(FoldStop stop) {
  switch (stop) {
    case FoldStop::TimeLimit: return "die Suche endete an der Zeitgrenze";
    case FoldStop::CandidateLimit:
      return "die Suche endete an ihrer Höchstzahl von " + std::to_string(foldnet::kTuning.maxCandidates) +
             " Kandidaten";
    case FoldStop::Cancelled: return "die Suche wurde abgebrochen";
    case FoldStop::None: break;
  }
  return {};
}

// The verdict in words, saying exactly what was found and how far the search got.
void Judge(const NetComplex& net, const SearchOutcome& o, bool tryNonConvex, FoldResult& r) {
  using Verdict = FoldResult::Verdict;
  const bool complete = r.stop == FoldStop::None;
  const size_t n = r.solids.size();
  if (o.oddEdges) {
    r.verdict = Verdict::DoesNotFold;
    r.message = "Das Netz schließt sich zu keinem Körper: es hat " + std::to_string(net.edges.size()) +
                " freie Kanten, eine ungerade Zahl, und sie lassen sich nicht paarweise verkleben.";
  } else if (n == 0 && !complete) {
    r.verdict = Verdict::Undecided;
    r.message = "Ob sich das Netz zu einem Körper schließt, blieb offen: " + Ending(r.stop) + ".";
  } else if (n == 0 && r.candidatesTried == 0) {
    r.verdict = Verdict::DoesNotFold;
    r.message = "Das Netz schließt sich zu keinem Körper: keine Verklebung der freien Kanten passt (gleich lange "
                "Kanten, an jeder Ecke höchstens " + std::string(tryNonConvex ? "720°" : "360°") +
                " und mindestens drei Flächen).";
  } else if (n == 0) {
    r.verdict = Verdict::DoesNotFold;
    r.message = "Das Netz schließt sich zu keinem Körper: keine der " + std::to_string(r.candidatesTried) +
                " möglichen Verklebungen lässt sich aus den starren Flächen räumlich bauen.";
  } else if (n == 1) {
    const FoldedSolid& s = r.solids[0];
    const bool only = complete && !o.convexOnly;
    r.verdict = s.convex ? Verdict::Convex : Verdict::NonConvex;
    r.message = std::string("Das Netz faltet sich ") + (only ? "nur " : "") + "zu " + DescribeSolid(s) + ".";
    if (!complete) r.message += " Ob es noch andere Körper gibt, blieb offen: " + Ending(r.stop) + ".";
  } else {
    r.verdict = Verdict::Several;
    if (complete)
      r.message = "Das Netz faltet sich zu " + std::to_string(n) + " verschiedenen Körpern; geprüft wurden alle " +
                  (o.convexOnly ? "Verklebungen, die an keiner Ecke mehr als 360° sammeln." : "Verklebungen.");
    else
      r.message = "Das Netz faltet sich zu mindestens " + std::to_string(n) +
                  " verschiedenen Körpern; ob es noch andere gibt, blieb offen: " + Ending(r.stop) + ".";
  }
  if (r.cutApart)
    r.message = "Aufgeschnitten, wo Flächen nur aneinanderliegen, ohne verbunden zu sein: " + r.message;
}

// Fills the result from one search over one complex.
void Report(const NetComplex& net, const SearchOutcome& o, bool tryNonConvex, FoldResult& r) {
  r.convexGluingCount = o.convexCount;
  r.candidatesTried = o.tried;
  r.stop = o.stop;
  for (const foldnet::Found& found : o.solids)
    if (KeepsTheNet(net, found)) r.solids.push_back(SolidOf(net, found));
  Judge(net, o, tryNonConvex, r);
}

}  // namespace

std::vector<std::vector<Vec3>> FlatNet(const Construction& c) {
  std::vector<std::vector<Vec3>> flat;
  if (!c.IsConsistent()) return flat;
  for (int f = 1; f <= c.FaceCount; ++f) {
    const FaceRangeResult fr = c.FaceRange(f);
    std::vector<Vec3> corners;
    for (int i = fr.first; i <= fr.last; ++i) corners.push_back({c.NetPoints[i].x, c.NetPoints[i].y, 0.0});
    flat.push_back(std::move(corners));
  }
  return flat;
}

std::string SolidCaption(const FoldResult& r, std::size_t solid) {
  if (solid >= r.solids.size()) return {};
  const FoldedSolid& s = r.solids[solid];
  return "Körper " + std::to_string(solid + 1) + " von " + std::to_string(r.solids.size()) + ": " +
         (s.convex ? "konvex, " : "nicht konvex, ") + Counts(s);
}

bool SameNetToFold(const Construction& a, const Construction& b) {
  if (a.FaceCount != b.FaceCount || a.PointCount != b.PointCount || a.JoinList != b.JoinList) return false;
  if (!a.IsConsistent() || !b.IsConsistent()) return false;
  for (int f = 1; f <= a.FaceCount; ++f)
    if (a.FaceSizes[f] != b.FaceSizes[f]) return false;
  for (int i = 1; i <= a.PointCount; ++i)
    if (a.NetPoints[i] != b.NetPoints[i]) return false;
  return true;
}

FoldResult FoldNet(const Construction& c, const FoldOptions& options) {
  FoldResult r;
  r.flat = FlatNet(c);  // shown even when the net is refused
  const foldnet::Deadline deadline = foldnet::Deadline::In(options.timeBudgetSeconds, options.cancel);
  NetComplex laid, cut;
  const foldnet::Built asLaid = foldnet::BuildNetComplex(c, options.tolerance, laid);
  // Faces may lie edge to edge by chance without having been joined there.
  // When the net as it lies does not close, or such faces enclose a hole, it
  // is tried once more cut apart at those edges.
  const bool canCut = !c.JoinList.empty() && (asLaid || asLaid.hole) &&
                      foldnet::BuildNetComplex(c, options.tolerance, cut, true) &&
                      (!asLaid || cut.hinges.size() < laid.hinges.size());
  auto refuse = [&] {
    r.verdict = FoldResult::Verdict::NotANet;
    r.message = "Das ist kein Netz: " + asLaid.reason;
    return r;
  };
  if (!asLaid && !canCut) return refuse();
  SearchOutcome first;
  if (asLaid) {
    first = foldnet::SearchSolids(laid, options.tryNonConvex,
                                  canCut ? deadline.Share(foldnet::kTuning.firstTryShare) : deadline);
    FoldResult done = r;
    Report(laid, first, options.tryNonConvex, done);
    if (!done.solids.empty() || !canCut) return done;
  }
  SearchOutcome second = foldnet::SearchSolids(cut, options.tryNonConvex, deadline);
  second.tried += first.tried;
  FoldResult other = r;
  other.cutApart = true;
  Report(cut, second, options.tryNonConvex, other);
  if (!other.solids.empty()) return other;
  if (!asLaid) return refuse();  // cut apart it does not close either: the hole stands
  // Neither closes: the verdict on the net as laid out, with how far both tries got.
  if (first.stop == FoldStop::None) first.stop = second.stop;
  first.tried = second.tried;
  Report(laid, first, options.tryNonConvex, r);
  return r;
}

std::vector<std::vector<Vec3>> FacesAt(const FoldResult& r, std::size_t solid, double fraction) {
  std::vector<std::vector<Vec3>> out = r.flat;
  if (solid >= r.solids.size()) return out;
  const int F = static_cast<int>(r.flat.size());
  struct Pose {
    geo::Mat3 R;
    Vec3 t;
    bool set = false;
  };
  std::vector<Pose> pose(F + 1);
  for (const FoldStep& s : r.solids[solid].steps) {
    if (s.face < 1 || s.face > F) continue;
    Pose& p = pose[s.face];
    const auto& corners = r.flat[s.face - 1];
    const int n = static_cast<int>(corners.size());
    if (s.parent >= 1 && s.parent <= F && pose[s.parent].set && s.axisFrom >= 0 && s.axisFrom < n &&
        s.axisTo >= 0 && s.axisTo < n) {
      const Vec3 a = corners[s.axisFrom];
      const geo::Mat3 turn = geo::Rotation(geo::Normalized(corners[s.axisTo] - a), fraction * s.angle);
      // x -> parent(turn (x - a) + a)
      p.R = pose[s.parent].R * turn;
      p.t = pose[s.parent].R * (a - turn * a) + pose[s.parent].t;
    }
    p.set = true;
    for (Vec3& q : out[s.face - 1]) q = p.R * q + p.t;
  }
  return out;
}

}  // namespace didod
