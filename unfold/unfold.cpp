#include "unfold/unfold.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <stdexcept>

#include "geometry/polygon.h"

namespace didod::unfold {

using geo::Cross;
using geo::Distance;
using geo::Dot;
using geo::Norm;
using geo::Normalized;

Deadline Deadline::In(double seconds, const std::atomic<bool>* cancel) {
  Deadline d;
  d.until = std::chrono::steady_clock::now() +
            std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
  d.cancel = cancel;
  return d;
}

namespace {

const double kPi = 3.14159265358979323846;

// Plain generator with a fixed recipe, so that every platform and build draws
// the same numbers.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 2862933555777941757ULL + 3037000493ULL) {}
  double Uniform() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<double>(state_ >> 11) * (1.0 / 9007199254740992.0);
  }
  int Below(int n) { return static_cast<int>(Uniform() * n) % n; }

 private:
  std::uint64_t state_;
};

std::vector<Vec2> LocalShape(const Polyhedron& p, int f) {
  const auto& face = p.faces[f];
  const Vec3 n = FaceNormal(p, f);
  const Vec3 o = p.vertices[face[0]];
  const Vec3 e1 = Normalized(p.vertices[face[1]] - o);
  const Vec3 e2 = Cross(n, e1);
  std::vector<Vec2> r;
  for (int v : face) r.push_back({Dot(p.vertices[v] - o, e1), Dot(p.vertices[v] - o, e2)});
  return r;
}

bool IsConvexPolygon(const std::vector<Vec2>& q) {
  const std::size_t n = q.size();
  for (std::size_t i = 0; i < n; ++i)
    if (Cross(q[(i + 1) % n] - q[i], q[(i + 2) % n] - q[(i + 1) % n]) <= 0) return false;
  return true;
}

// Convex pieces of a face, none with more corners than the clipper takes:
// itself (or a fan of parts of it when it is large), the fan from its centre
// for a star outline, or the triangles of any other outline.
std::vector<std::vector<Vec2>> ConvexPieces(const std::vector<Vec2>& q) {
  constexpr std::size_t kLargestPiece = 30;
  const std::size_t n = q.size();
  if (IsConvexPolygon(q)) {
    if (n <= kLargestPiece) return {q};
    std::vector<std::vector<Vec2>> pieces;
    for (std::size_t start = 1; start + 1 < n; start += kLargestPiece - 2) {
      std::vector<Vec2> piece{q[0]};
      for (std::size_t k = start; k < n && k <= start + kLargestPiece - 2; ++k) piece.push_back(q[k]);
      pieces.push_back(std::move(piece));
    }
    return pieces;
  }
  Vec2 c;
  for (const Vec2& v : q) c = c + v;
  c = c * (1.0 / n);
  bool star = true;
  for (std::size_t i = 0; i < n && star; ++i) star = Cross(q[i] - c, q[(i + 1) % n] - c) > 0;
  std::vector<std::vector<Vec2>> pieces;
  if (star) {
    for (std::size_t i = 0; i < n; ++i) pieces.push_back({c, q[i], q[(i + 1) % n]});
  } else {
    for (const auto& t : geo::Triangulate(q)) pieces.push_back({q[t[0]], q[t[1]], q[t[2]]});
  }
  return pieces;
}

// Area of the part of one convex polygon inside another (fixed buffers: this
// runs millions of times).
double ClippedArea(const std::vector<Vec2>& subject, const std::vector<Vec2>& clip) {
  constexpr std::size_t kMax = 64;
  if (subject.size() > kMax / 2 || clip.size() > kMax / 2) throw std::logic_error("face too large to clip");
  Vec2 bufA[kMax], bufB[kMax];
  Vec2* in = bufA;
  Vec2* out = bufB;
  std::size_t n = subject.size();
  std::copy(subject.begin(), subject.end(), in);
  for (std::size_t e = 0; e < clip.size() && n > 0; ++e) {
    const Vec2 a = clip[e], b = clip[(e + 1) % clip.size()];
    std::size_t m = 0;
    for (std::size_t i = 0; i < n && m + 2 <= kMax; ++i) {
      const Vec2 p = in[i], q = in[(i + 1) % n];
      const double sp = Cross(b - a, p - a), sq = Cross(b - a, q - a);
      if (sp >= 0) out[m++] = p;
      if ((sp >= 0) != (sq >= 0)) {
        const double t = sp / (sp - sq);
        out[m++] = p + (q - p) * t;
      }
    }
    std::swap(in, out);
    n = m;
  }
  if (n < 3) return 0;
  double area = 0;
  for (std::size_t i = 0; i < n; ++i) area += Cross(in[i], in[(i + 1) % n]);
  return std::fabs(area) / 2;
}

struct Shape {
  std::vector<Vec2> corners;
  std::vector<std::vector<Vec2>> pieces;
  double area = 0;
  double lox = 0, loy = 0, hix = 0, hiy = 0;
};

Shape MakeShape(std::vector<Vec2> corners) {
  Shape s;
  s.corners = std::move(corners);
  s.pieces = ConvexPieces(s.corners);
  s.area = PolygonArea(s.corners);
  s.lox = s.hix = s.corners[0].x;
  s.loy = s.hiy = s.corners[0].y;
  for (const Vec2& v : s.corners) {
    s.lox = std::min(s.lox, v.x); s.hix = std::max(s.hix, v.x);
    s.loy = std::min(s.loy, v.y); s.hiy = std::max(s.hiy, v.y);
  }
  return s;
}

double PiecesOverlap(const Shape& a, const Shape& b) {
  double area = 0;
  for (const auto& pa : a.pieces)
    for (const auto& pb : b.pieces) area += ClippedArea(pa, pb);
  return area;
}

bool Overlap(const Shape& a, const Shape& b) {
  const double slack = 1e-9;
  if (a.hix < b.lox + slack || b.hix < a.lox + slack || a.hiy < b.loy + slack || b.hiy < a.loy + slack) return false;
  return PiecesOverlap(a, b) > 1e-10 * std::min(a.area, b.area);
}

// Whether two placed faces have an edge in common, one running back along the
// other (closer than `tolerance` at both ends).
bool ShareEdge(const Shape& a, const Shape& b, double tolerance) {
  if (a.hix < b.lox - tolerance || b.hix < a.lox - tolerance || a.hiy < b.loy - tolerance || b.hiy < a.loy - tolerance)
    return false;
  const std::size_t n = a.corners.size(), m = b.corners.size();
  for (std::size_t k = 0; k < n; ++k)
    for (std::size_t j = 0; j < m; ++j)
      if (Distance(a.corners[k], b.corners[(j + 1) % m]) <= tolerance &&
          Distance(a.corners[(k + 1) % n], b.corners[j]) <= tolerance)
        return true;
  return false;
}

// The neighbour's corners placed so that its edge `j` lies on edge `i` of the placed face.
std::vector<Vec2> PlaceAcross(const std::vector<Vec2>& placed, int i, const std::vector<Vec2>& local, int j) {
  const int n = static_cast<int>(placed.size()), m = static_cast<int>(local.size());
  const Vec2 pa = placed[i], pb = placed[(i + 1) % n];
  const Vec2 la = local[(j + 1) % m], lb = local[j];
  const Vec2 u = pa - pb, w = la - lb;
  const double nu = Norm(u), nw = Norm(w);
  const double c = Dot(u, w) / (nu * nw), s = Cross(w, u) / (nu * nw);
  std::vector<Vec2> out(m);
  for (int k = 0; k < m; ++k) {
    const Vec2 d = local[k] - lb;
    out[k] = pb + Vec2{c * d.x - s * d.y, s * d.x + c * d.y};
  }
  out[j] = pb;  // the joined corners coincide exactly
  out[(j + 1) % m] = pa;
  return out;
}

struct Layout {
  const Polyhedron* solid = nullptr;
  std::vector<std::vector<Vec2>> local;
  std::vector<std::vector<Neighbour>> neighbours;
  // With edges kept apart: how close two edges of faces that do not hang on
  // each other may come before they count as lying on each other.
  double apart = 0;
  // Whether laying `s` next to `other` keeps them apart as asked.
  bool Apart(const Shape& s, const Shape& other) const { return apart <= 0 || !ShareEdge(s, other, apart); }
};

Layout MakeLayout(const Polyhedron& p, bool edgesApart = false) {
  Layout l;
  l.solid = &p;
  if (edgesApart) l.apart = 1e-3 * EdgeLengthRange(p).first;
  for (int f = 0; f < static_cast<int>(p.faces.size()); ++f) l.local.push_back(LocalShape(p, f));
  l.neighbours = Adjacency(p);
  return l;
}

struct Option {
  int face, parent, parentEdge, ownEdge;
  Shape shape;
  double key;
  bool alive = true;
};

double BoxNorm(const std::vector<Vec2>& pts, const SheetBox& box) {
  double k = 0;
  for (const Vec2& v : pts) k = std::max({k, std::fabs(v.x) / box.halfWidth, std::fabs(v.y) / box.halfHeight});
  return k;
}

// Grows a net face by face from the root, always adding the face that keeps
// the net smallest in the box (with some noise), never one that overlaps.
bool Grow(const Layout& l, int root, double angle, double noise, Random& rng, const SheetBox& box,
          const Deadline& deadline, Net& net) {
  const int count = static_cast<int>(l.local.size());
  std::vector<int> slot(count, -1);
  std::vector<Shape> shapes;
  std::vector<Option> options;
  net.faces.clear();

  auto addOptions = [&](int f) {
    const int at = slot[f];
    for (std::size_t i = 0; i < l.neighbours[f].size(); ++i) {
      const Neighbour nb = l.neighbours[f][i];
      if (slot[nb.face] >= 0) continue;
      Shape s = MakeShape(PlaceAcross(shapes[at].corners, static_cast<int>(i), l.local[nb.face], nb.edge));
      bool free = true;
      for (std::size_t o = 0; o < shapes.size() && free; ++o)
        free = !Overlap(s, shapes[o]) && (static_cast<int>(o) == at || l.Apart(s, shapes[o]));
      if (!free) continue;
      const double key = BoxNorm(s.corners, box) + noise * rng.Uniform();
      options.push_back({nb.face, at, static_cast<int>(i), nb.edge, std::move(s), key});
    }
  };

  {
    std::vector<Vec2> pts = l.local[root];
    Vec2 c;
    for (const Vec2& v : pts) c = c + v;
    c = c * (1.0 / pts.size());
    const double co = std::cos(angle), si = std::sin(angle);
    for (Vec2& v : pts) {
      const Vec2 d = v - c;
      v = {co * d.x - si * d.y, si * d.x + co * d.y};
    }
    shapes.push_back(MakeShape(pts));
    slot[root] = 0;
    net.faces.push_back({root, pts, -1, -1, -1});
    addOptions(root);
  }
  while (static_cast<int>(shapes.size()) < count) {
    if (deadline.Passed()) return false;
    int best = -1;
    for (int o = 0; o < static_cast<int>(options.size()); ++o)
      if (options[o].alive && (best < 0 || options[o].key < options[best].key)) best = o;
    if (best < 0) return false;
    Option chosen = options[best];
    const int at = static_cast<int>(shapes.size());
    slot[chosen.face] = at;
    net.faces.push_back({chosen.face, chosen.shape.corners, chosen.parent, chosen.parentEdge, chosen.ownEdge});
    shapes.push_back(chosen.shape);
    for (Option& o : options) {
      if (!o.alive) continue;
      if (o.face == chosen.face || Overlap(o.shape, shapes.back()) || !l.Apart(o.shape, shapes.back())) o.alive = false;
    }
    // Drop dead options now and then to keep the scans short.
    if (options.size() > 64) {
      options.erase(std::remove_if(options.begin(), options.end(), [](const Option& o) { return !o.alive; }),
                    options.end());
    }
    addOptions(chosen.face);
  }
  return true;
}

}  // namespace

std::vector<Vec2> ConvexHull2D(std::vector<Vec2> pts) {
  std::sort(pts.begin(), pts.end(), [](const Vec2& a, const Vec2& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  std::vector<Vec2> h(2 * pts.size());
  std::size_t k = 0;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    while (k >= 2 && Cross(h[k - 1] - h[k - 2], pts[i] - h[k - 2]) <= 0) --k;
    h[k++] = pts[i];
  }
  for (std::size_t i = pts.size() - 1, t = k + 1; i > 0; --i) {
    while (k >= t && Cross(h[k - 1] - h[k - 2], pts[i - 1] - h[k - 2]) <= 0) --k;
    h[k++] = pts[i - 1];
  }
  h.resize(k > 1 ? k - 1 : k);
  return h;
}

namespace {

double ScaleAt(const std::vector<Vec2>& hull, double angle, const SheetBox& box) {
  const double c = std::cos(angle), s = std::sin(angle);
  double lox = 1e300, hix = -1e300, loy = 1e300, hiy = -1e300;
  for (const Vec2& v : hull) {
    const double x = c * v.x - s * v.y, y = s * v.x + c * v.y;
    lox = std::min(lox, x); hix = std::max(hix, x);
    loy = std::min(loy, y); hiy = std::max(hiy, y);
  }
  return std::min(2 * box.halfWidth / (hix - lox), 2 * box.halfHeight / (hiy - loy));
}

// The turn that lets the net grow largest in the box, and that size.
std::pair<double, double> BestTurn(const Net& net, const SheetBox& box, int steps, int refinements) {
  std::vector<Vec2> pts;
  for (const NetFace& f : net.faces) pts.insert(pts.end(), f.corners.begin(), f.corners.end());
  const std::vector<Vec2> hull = ConvexHull2D(pts);
  double bestAngle = 0, bestScale = 0;
  for (int k = 0; k < steps; ++k) {
    const double a = kPi * k / steps;
    const double s = ScaleAt(hull, a, box);
    if (s > bestScale * (1 + 1e-12)) { bestScale = s; bestAngle = a; }
  }
  double lo = bestAngle - kPi / steps, hi = bestAngle + kPi / steps;
  for (int it = 0; it < refinements; ++it) {
    const double m1 = lo + (hi - lo) / 3, m2 = hi - (hi - lo) / 3;
    if (ScaleAt(hull, m1, box) < ScaleAt(hull, m2, box)) lo = m1; else hi = m2;
  }
  const double refined = (lo + hi) / 2;
  const double s = ScaleAt(hull, refined, box);
  if (s > bestScale) { bestScale = s; bestAngle = refined; }
  return {bestAngle, bestScale};
}

}  // namespace

double PolygonArea(const std::vector<Vec2>& p) {
  double a = 0;
  for (std::size_t i = 0; i < p.size(); ++i) a += Cross(p[i], p[(i + 1) % p.size()]);
  return a / 2;
}

double OverlapArea(const std::vector<Vec2>& a, const std::vector<Vec2>& b) {
  return PiecesOverlap(MakeShape(a), MakeShape(b));
}

namespace {

// Moves faces that hang on the net by a single edge (leaves of its tree) to
// other free edges as long as that lets the net grow in the box.
double Improve(const Layout& l, Net& net, const SheetBox& box, double score, int rounds, const NetScore& scoreFn,
               const Deadline& deadline) {
  const int count = static_cast<int>(net.faces.size());
  const std::size_t kLargestBranch = 12;
  std::vector<Shape> shapes;
  for (const NetFace& f : net.faces) shapes.push_back(MakeShape(f.corners));
  std::vector<int> at(count);
  for (int k = 0; k < count; ++k) at[net.faces[k].solidFace] = k;
  auto branchOf = [&](int k) {
    std::vector<std::vector<int>> children(count);
    for (int c = 1; c < count; ++c) children[net.faces[c].parent].push_back(c);
    std::vector<int> branch{k};
    for (std::size_t i = 0; i < branch.size() && branch.size() <= kLargestBranch; ++i)
      branch.insert(branch.end(), children[branch[i]].begin(), children[branch[i]].end());
    return branch;
  };
  // Only a branch with a corner on the net's hull can let the net grow: moving
  // any other branch leaves the hull as it is or enlarges it.
  std::set<std::pair<double, double>> onHull;
  auto findHull = [&] {
    std::vector<Vec2> all;
    for (const NetFace& f : net.faces) all.insert(all.end(), f.corners.begin(), f.corners.end());
    onHull.clear();
    for (const Vec2& v : ConvexHull2D(all)) onHull.insert({v.x, v.y});
  };
  findHull();
  for (int round = 0; round < rounds; ++round) {
    bool improved = false;
    for (int k = 1; k < count; ++k) {
      if (deadline.Passed()) return score;
      const std::vector<int> branch = branchOf(k);
      if (branch.size() > kLargestBranch) continue;
      bool outer = false;
      for (int m : branch)
        for (const Vec2& v : net.faces[m].corners) outer = outer || onHull.count({v.x, v.y}) > 0;
      if (!outer) continue;
      std::vector<bool> inBranch(count, false);
      for (int m : branch) inBranch[m] = true;
      NetFace& face = net.faces[k];
      const int f = face.solidFace;
      for (int e = 0; e < static_cast<int>(l.neighbours[f].size()); ++e) {
        const Neighbour nb = l.neighbours[f][e];
        const int g = at[nb.face];
        if (inBranch[g] || (g == face.parent && e == face.ownEdge)) continue;
        const std::vector<Vec2> placed = PlaceAcross(net.faces[g].corners, nb.edge, l.local[f], e);
        // The whole branch moves with the face.
        const Vec2 o0 = face.corners[0], o1 = face.corners[1], n0 = placed[0], n1 = placed[1];
        const Vec2 from = o1 - o0, to = n1 - n0;
        const double len = Norm(from) * Norm(to);
        const double c = Dot(from, to) / len, sn = Cross(from, to) / len;
        std::vector<Shape> moved;
        bool free = true;
        for (int m : branch) {
          std::vector<Vec2> pts;
          if (m == k) {
            pts = placed;
          } else {
            for (const Vec2& v : net.faces[m].corners) {
              const Vec2 d = v - o0;
              pts.push_back(n0 + Vec2{c * d.x - sn * d.y, sn * d.x + c * d.y});
            }
          }
          moved.push_back(MakeShape(pts));
          for (int o = 0; o < count && free; ++o)
            if (!inBranch[o] && (Overlap(moved.back(), shapes[o]) || (!(m == k && o == g) && !l.Apart(moved.back(), shapes[o]))))
              free = false;
          if (!free) break;
        }
        if (!free) continue;
        std::vector<NetFace> old;
        for (int m : branch) old.push_back(net.faces[m]);
        for (std::size_t i = 0; i < branch.size(); ++i) net.faces[branch[i]].corners = moved[i].corners;
        face.parent = g;
        face.parentEdge = nb.edge;
        face.ownEdge = e;
        const double s = scoreFn ? scoreFn(net) : BestTurn(net, box, 30, 10).second;
        if (s > score * (1 + 1e-9)) {
          score = s;
          for (std::size_t i = 0; i < branch.size(); ++i) shapes[branch[i]] = std::move(moved[i]);
          improved = true;
          findHull();
          break;
        }
        for (std::size_t i = 0; i < branch.size(); ++i) net.faces[branch[i]] = old[i];
      }
    }
    if (!improved) break;
  }
  return score;
}
}  // namespace

namespace {

// Depth-first search over the ways to lay the faces: always the face with the
// fewest free places next, undoing a face when some unlaid face has no place
// left. Gives up after `budget` faces laid.
class Backtracker {
 public:
  Backtracker(const Layout& l, const SheetBox& box, long budget, const Deadline& deadline)
      : l_(l), box_(box), deadline_(deadline), budget_(budget), slot_(l.local.size(), -1) {}

  bool Stopped() const { return stopped_; }

  bool Run(int root, Net& net) {
    net.faces.clear();
    shapes_.clear();
    std::fill(slot_.begin(), slot_.end(), -1);
    Vec2 c;
    std::vector<Vec2> pts = l_.local[root];
    for (const Vec2& v : pts) c = c + v;
    c = c * (1.0 / pts.size());
    for (Vec2& v : pts) v = v - c;
    slot_[root] = 0;
    shapes_.push_back(MakeShape(pts));
    net.faces.push_back({root, pts, -1, -1, -1});
    return Step(net);
  }

 private:
  struct Place {
    int parent, parentEdge, ownEdge;
    Shape shape;
    double key;
  };

  std::vector<Place> PlacesOf(int f, const Net& net) const {
    std::vector<Place> places;
    for (std::size_t e = 0; e < l_.neighbours[f].size(); ++e) {
      const Neighbour nb = l_.neighbours[f][e];
      const int at = slot_[nb.face];
      if (at < 0) continue;
      Shape s = MakeShape(PlaceAcross(net.faces[at].corners, nb.edge, l_.local[f], static_cast<int>(e)));
      bool free = true;
      for (std::size_t o = 0; o < shapes_.size() && free; ++o)
        free = !Overlap(s, shapes_[o]) && (static_cast<int>(o) == at || l_.Apart(s, shapes_[o]));
      if (free) places.push_back({at, nb.edge, static_cast<int>(e), s, BoxNorm(s.corners, box_)});
    }
    std::stable_sort(places.begin(), places.end(), [](const Place& a, const Place& b) { return a.key < b.key; });
    return places;
  }

  bool Step(Net& net) {
    const int count = static_cast<int>(l_.local.size());
    if (static_cast<int>(net.faces.size()) == count) return true;
    if (--budget_ < 0) return false;
    if (deadline_.Passed()) {
      stopped_ = true;
      budget_ = -1;
      return false;
    }
    int next = -1;
    std::vector<Place> nextPlaces;
    for (int f = 0; f < count; ++f) {
      if (slot_[f] >= 0) continue;
      bool touches = false;
      for (const Neighbour& nb : l_.neighbours[f]) touches = touches || slot_[nb.face] >= 0;
      if (!touches) continue;
      std::vector<Place> places = PlacesOf(f, net);
      if (places.empty()) {
        bool open = false;  // a neighbour not yet laid may still offer a place
        for (const Neighbour& nb : l_.neighbours[f]) open = open || slot_[nb.face] < 0;
        if (!open) return false;
        continue;
      }
      if (next < 0 || places.size() < nextPlaces.size()) { next = f; nextPlaces = std::move(places); }
    }
    if (next < 0) return false;
    for (Place& p : nextPlaces) {
      slot_[next] = static_cast<int>(net.faces.size());
      net.faces.push_back({next, p.shape.corners, p.parent, p.parentEdge, p.ownEdge});
      shapes_.push_back(p.shape);
      if (Step(net)) return true;
      shapes_.pop_back();
      net.faces.pop_back();
      slot_[next] = -1;
      if (budget_ < 0) return false;
    }
    return false;
  }

  const Layout& l_;
  const SheetBox& box_;
  const Deadline& deadline_;
  long budget_;
  bool stopped_ = false;
  std::vector<int> slot_;
  std::vector<Shape> shapes_;
};

}  // namespace

Net UnfoldByBacktracking(const Polyhedron& solid, const SheetBox& box, long budget, const Deadline& deadline,
                         bool edgesApart) {
  const Layout l = MakeLayout(solid, edgesApart);
  Net net;
  for (int root = 0; root < static_cast<int>(solid.faces.size()); ++root) {
    Backtracker b(l, box, budget, deadline);
    if (b.Run(root, net)) return net;
    if (b.Stopped()) throw UnfoldStopped(deadline.Cancelled());
  }
  throw NoNetFound("no net without overlaps found");
}

Net Unfold(const Polyhedron& solid, const SheetBox& box, std::uint32_t seed, const NetScore& score,
           const Deadline& deadline, bool edgesApart) {
  const Layout l = MakeLayout(solid, edgesApart);
  const int count = static_cast<int>(solid.faces.size());
  Random rng(seed);
  const int attempts = std::clamp(1600 / count, 24, 80);
  Net best;
  double bestScale = 0;
  Net net;
  std::vector<std::pair<double, Net>> grown;
  for (int a = 0; a < attempts; ++a) {
    // First a pass over roots without noise, then random roots with noise.
    const int root = a < count && a < attempts / 2 ? a : rng.Below(count);
    const double angle = a < attempts / 2 ? 0.0 : 2 * kPi * rng.Uniform();
    const double noise = a < attempts / 2 ? 0.0 : 0.02 + 0.3 * rng.Uniform();
    if (!Grow(l, root, angle, noise, rng, box, deadline, net)) {
      if (deadline.Passed()) break;
      continue;
    }
    const double scale = score ? score(net) : BestTurn(net, box, 60, 16).second;
    grown.push_back({scale, net});
    if (scale > bestScale * (1 + 1e-9)) { bestScale = scale; best = net; }
  }
  if (bestScale == 0) {
    if (deadline.Passed()) throw UnfoldStopped(deadline.Cancelled());
    try {
      best = UnfoldByBacktracking(solid, box, 200000, deadline, edgesApart);
    } catch (const NoNetFound&) {
      if (!edgesApart) throw;
      best = UnfoldByBacktracking(solid, box, 200000, deadline);  // edge to edge, then
    }
    bestScale = score ? score(best) : BestTurn(best, box, 60, 16).second;
    grown.push_back({bestScale, best});
  }
  // Polish the most promising nets by moving single faces (not when the
  // score is dear).
  std::stable_sort(grown.begin(), grown.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  const std::size_t polished = score ? 0 : 8;
  for (std::size_t k = 0; k < grown.size() && k < polished; ++k) {
    const double s = Improve(l, grown[k].second, box, grown[k].first, 40, score, deadline);
    if (s > bestScale * (1 + 1e-9)) { bestScale = s; best = grown[k].second; }
  }
  best = Reroot(best, 0);  // every face again after the face it hangs on
  return best;
}

double FitNet(Net& net, const SheetBox& box) {
  const auto [angle, scale0] = BestTurn(net, box, 720, 80);
  const double scale = scale0 * (1 - 1e-9);
  const double c = std::cos(angle), s = std::sin(angle);
  double lox = 1e300, hix = -1e300, loy = 1e300, hiy = -1e300;
  for (NetFace& f : net.faces)
    for (Vec2& v : f.corners) {
      v = {c * v.x - s * v.y, s * v.x + c * v.y};
      lox = std::min(lox, v.x); hix = std::max(hix, v.x);
      loy = std::min(loy, v.y); hiy = std::max(hiy, v.y);
    }
  const Vec2 centre{(lox + hix) / 2, (loy + hiy) / 2};
  for (NetFace& f : net.faces)
    for (Vec2& v : f.corners) v = (v - centre) * scale;
  return scale;
}

Net Reroot(const Net& net, int newFirst) {
  const int n = static_cast<int>(net.faces.size());
  struct Link { int other, myEdge, otherEdge; };
  std::vector<std::vector<Link>> links(n);
  for (int k = 1; k < n; ++k) {
    const NetFace& f = net.faces[k];
    links[k].push_back({f.parent, f.ownEdge, f.parentEdge});
    links[f.parent].push_back({k, f.parentEdge, f.ownEdge});
  }
  Net out;
  std::vector<int> newIndex(n, -1);
  std::vector<int> queue{newFirst};
  newIndex[newFirst] = 0;
  out.faces.push_back({net.faces[newFirst].solidFace, net.faces[newFirst].corners, -1, -1, -1});
  for (std::size_t q = 0; q < queue.size(); ++q) {
    const int k = queue[q];
    for (const Link& l : links[k]) {
      if (newIndex[l.other] >= 0) continue;
      newIndex[l.other] = static_cast<int>(out.faces.size());
      out.faces.push_back({net.faces[l.other].solidFace, net.faces[l.other].corners, newIndex[k], l.myEdge, l.otherEdge});
      queue.push_back(l.other);
    }
  }
  return out;
}

}  // namespace didod::unfold
