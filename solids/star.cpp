#include "solids/star.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <stdexcept>

#include "solids/uniform.h"

namespace didod::solids {

namespace {

const double kPi = 3.14159265358979323846;

struct Plane {
  Vec3 n;  // unit
  double d = 0;
  double Side(const Vec3& p) const { return Dot(n, p) - d; }
};

Vec3 Mean(const std::vector<Vec3>& pts) {
  Vec3 c;
  for (const Vec3& p : pts) c += p;
  return c / static_cast<double>(pts.size());
}

Plane PlaneOf(const std::vector<Vec3>& face) {
  Vec3 n;
  for (std::size_t i = 0; i < face.size(); ++i) n += Cross(face[i], face[(i + 1) % face.size()]);
  n = Normalized(n);
  return {n, Dot(n, Mean(face))};
}

double Extent(const std::vector<std::vector<Vec3>>& faces) {
  double e = 0;
  for (const auto& f : faces)
    for (const Vec3& p : f) e = std::max(e, Norm(p));
  return e;
}

// Solid angle of the triangle (a, b, c) seen from the origin, signed by its
// orientation (van Oosterom and Strackee).
double SolidAngle(const Vec3& a, const Vec3& b, const Vec3& c) {
  const double la = Norm(a), lb = Norm(b), lc = Norm(c);
  const double num = Dot(a, Cross(b, c));
  const double den = la * lb * lc + Dot(a, b) * lc + Dot(a, c) * lb + Dot(b, c) * la;
  return 2 * std::atan2(num, den);
}

// How often the star's faces wind around the point.
int Winding(const std::vector<std::vector<Vec3>>& faces, const Vec3& x) {
  double total = 0;
  for (const auto& f : faces) {
    const Vec3 c = Mean(f) - x;
    for (std::size_t i = 0; i < f.size(); ++i) total += SolidAngle(c, f[i] - x, f[(i + 1) % f.size()] - x);
  }
  return static_cast<int>(std::lround(total / (4 * kPi)));
}

// How often the face's outline winds around a point of its plane.
int WindingInFace(const std::vector<Vec3>& face, const Vec3& n, const Vec3& x) {
  double total = 0;
  for (std::size_t i = 0; i < face.size(); ++i) {
    const Vec3 a = face[i] - x, b = face[(i + 1) % face.size()] - x;
    total += std::atan2(Dot(Cross(a, b), n), Dot(a, b));
  }
  return static_cast<int>(std::lround(total / (2 * kPi)));
}

// The parts of a convex polygon on both sides of a plane; an empty part when
// the plane does not cut it.
std::pair<std::vector<Vec3>, std::vector<Vec3>> Split(const std::vector<Vec3>& poly, const Plane& cut, double eps) {
  std::vector<double> s;
  bool above = false, below = false;
  for (const Vec3& p : poly) {
    s.push_back(cut.Side(p));
    above = above || s.back() > eps;
    below = below || s.back() < -eps;
  }
  if (!above || !below) return {poly, {}};
  std::vector<Vec3> a, b;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const std::size_t j = (i + 1) % poly.size();
    const double si = std::fabs(s[i]) <= eps ? 0 : s[i], sj = std::fabs(s[j]) <= eps ? 0 : s[j];
    if (si >= 0) a.push_back(poly[i]);
    if (si <= 0) b.push_back(poly[i]);
    if ((si > 0 && sj < 0) || (si < 0 && sj > 0)) {
      const Vec3 m = poly[i] + (poly[j] - poly[i]) * (si / (si - sj));
      a.push_back(m);
      b.push_back(m);
    }
  }
  return {a, b};
}

// The face's corners in convex order about its centre.
std::vector<Vec3> ConvexOutline(const std::vector<Vec3>& face, const Plane& p) {
  const Vec3 c = Mean(face), e1 = Normalized(face[0] - c), e2 = Cross(p.n, e1);
  std::vector<std::pair<double, Vec3>> keyed;
  for (const Vec3& v : face) keyed.push_back({std::atan2(Dot(v - c, e2), Dot(v - c, e1)), v});
  std::sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
  std::vector<Vec3> out;
  for (const auto& k : keyed)
    if (out.empty() || Distance(out.back(), k.second) > 1e-12) out.push_back(k.second);
  return out;
}

// Points shared by the pieces, found again within a tolerance.
class PointBook {
 public:
  explicit PointBook(double tol) : tol_(tol) {}
  int Id(const Vec3& p) {
    for (std::size_t i = 0; i < points_.size(); ++i)
      if (Distance(points_[i], p) <= tol_) return static_cast<int>(i);
    points_.push_back(p);
    return static_cast<int>(points_.size()) - 1;
  }
  const std::vector<Vec3>& Points() const { return points_; }

 private:
  double tol_;
  std::vector<Vec3> points_;
};

// Boundary cycles of pieces lying in one plane (edges of two pieces cancel).
// At a corner where two pieces only touch, the walk turns the sharpest way,
// so that each cycle keeps to its own piece.
std::vector<std::vector<int>> MergePieces(const std::vector<std::vector<int>>& pieces, const std::vector<Vec3>& pts,
                                          const Vec3& normal) {
  std::multiset<std::pair<int, int>> edges;
  for (const auto& piece : pieces)
    for (std::size_t i = 0; i < piece.size(); ++i) {
      const std::pair<int, int> e{piece[i], piece[(i + 1) % piece.size()]};
      if (e.first == e.second) continue;
      const auto back = edges.find({e.second, e.first});
      if (back != edges.end())
        edges.erase(back);
      else
        edges.insert(e);
    }
  std::vector<std::vector<int>> cycles;
  while (!edges.empty()) {
    std::vector<int> cycle{edges.begin()->first};
    int at = edges.begin()->second;
    edges.erase(edges.begin());
    while (at != cycle.front()) {
      const Vec3 back = pts[cycle.back()] - pts[at];
      auto best = edges.end();
      double bestTurn = 1e9;
      for (auto it = edges.lower_bound({at, -1}); it != edges.end() && it->first == at; ++it) {
        const Vec3 out = pts[it->second] - pts[at];
        // Clockwise angle from the way back to the way out, in (0, 2 pi].
        double turn = std::atan2(Dot(Cross(out, back), normal), Dot(out, back));
        if (turn <= 0) turn += 2 * kPi;
        if (turn < bestTurn) { bestTurn = turn; best = it; }
      }
      if (best == edges.end()) throw std::logic_error("open outline of a visible piece");
      cycle.push_back(at);
      at = best->second;
      edges.erase(best);
    }
    cycles.push_back(cycle);
  }
  return cycles;
}

// Drops corners that lie on a straight edge between two faces (two neighbours only).
Polyhedron WithoutStraightCorners(Polyhedron p) {
  for (bool changed = true; changed;) {
    changed = false;
    std::map<int, std::set<int>> neighbours;
    for (const auto& f : p.faces)
      for (std::size_t i = 0; i < f.size(); ++i) {
        neighbours[f[i]].insert(f[(i + 1) % f.size()]);
        neighbours[f[(i + 1) % f.size()]].insert(f[i]);
      }
    for (const auto& [v, nb] : neighbours) {
      if (nb.size() != 2) continue;
      for (auto& f : p.faces) f.erase(std::remove(f.begin(), f.end(), v), f.end());
      changed = true;
      break;
    }
  }
  std::vector<int> remap(p.vertices.size(), -1);
  Polyhedron out;
  for (auto& f : p.faces) {
    std::vector<int> g;
    for (int v : f) {
      if (remap[v] < 0) {
        remap[v] = static_cast<int>(out.vertices.size());
        out.vertices.push_back(p.vertices[v]);
      }
      g.push_back(remap[v]);
    }
    out.faces.push_back(g);
  }
  return out;
}

}  // namespace

Polyhedron VisibleSurface(const std::vector<std::vector<Vec3>>& faces) {
  const double scale = Extent(faces);
  const double eps = 1e-10 * scale, probe = 1e-6 * scale;
  std::vector<Plane> planes;
  for (const auto& f : faces) planes.push_back(PlaneOf(f));
  PointBook book(1e-8 * scale);
  Polyhedron surface;
  for (std::size_t fi = 0; fi < faces.size(); ++fi) {
    const Plane& own = planes[fi];
    std::vector<Plane> cuts;
    for (std::size_t g = 0; g < faces.size(); ++g)
      if (g != fi && std::fabs(Dot(own.n, planes[g].n)) < 1 - 1e-12) cuts.push_back(planes[g]);
    const auto& face = faces[fi];
    for (std::size_t i = 0; i < face.size(); ++i) {
      const Vec3 a = face[i], b = face[(i + 1) % face.size()];
      const Vec3 m = Normalized(Cross(own.n, b - a));
      cuts.push_back({m, Dot(m, a)});
    }
    std::vector<std::vector<Vec3>> cells{ConvexOutline(face, own)};
    for (const Plane& cut : cuts) {
      std::vector<std::vector<Vec3>> next;
      for (const auto& cell : cells) {
        auto [a, b] = Split(cell, cut, eps);
        if (a.size() >= 3) next.push_back(std::move(a));
        if (b.size() >= 3) next.push_back(std::move(b));
      }
      cells = std::move(next);
    }
    // Pieces seen from the front and from the back of the face.
    std::vector<std::vector<int>> front, back;
    for (const auto& cell : cells) {
      const Vec3 c = Mean(cell);
      if (WindingInFace(face, own.n, c) == 0) continue;
      const bool outsideFront = Winding(faces, c + own.n * probe) == 0;
      const bool outsideBack = Winding(faces, c - own.n * probe) == 0;
      if (outsideFront == outsideBack) continue;
      std::vector<int> ids;
      for (const Vec3& v : cell) ids.push_back(book.Id(v));
      if (outsideBack) std::reverse(ids.begin(), ids.end());
      (outsideFront ? front : back).push_back(ids);
    }
    for (const auto& c : MergePieces(front, book.Points(), own.n)) surface.faces.push_back(c);
    for (const auto& c : MergePieces(back, book.Points(), -own.n)) surface.faces.push_back(c);
  }
  surface.vertices = book.Points();
  return WithoutStraightCorners(surface);
}

std::vector<std::vector<Vec3>> StarFaces(StarSolid s) {
  // Corners from one solid, face normals from the corners of another, the
  // face through the second layer of corners seen along the normal, its
  // corners joined in steps of one (polygon) or two (star).
  const char* corners = s == StarSolid::GreatStellatedDodecahedron ? "dodecahedron" : "icosahedron";
  const char* normals = s == StarSolid::GreatIcosahedron ? "dodecahedron" : "icosahedron";
  const int step = s == StarSolid::SmallStellatedDodecahedron || s == StarSolid::GreatStellatedDodecahedron ? 2 : 1;
  const Polyhedron base = PlatonicOrArchimedean(corners);
  const Polyhedron axes = PlatonicOrArchimedean(normals);
  std::vector<std::vector<Vec3>> faces;
  for (const Vec3& axis : axes.vertices) {
    const Vec3 u = Normalized(axis);
    std::vector<double> levels;
    for (const Vec3& v : base.vertices) levels.push_back(Dot(v, u));
    std::sort(levels.begin(), levels.end(), std::greater<>());
    levels.erase(std::unique(levels.begin(), levels.end(), [](double a, double b) { return std::fabs(a - b) < 1e-9; }),
                 levels.end());
    std::vector<Vec3> layer;
    for (const Vec3& v : base.vertices)
      if (std::fabs(Dot(v, u) - levels.at(1)) < 1e-9) layer.push_back(v);
    const std::vector<Vec3> ring = ConvexOutline(layer, {u, levels[1]});
    std::vector<Vec3> face;
    for (std::size_t k = 0; k < ring.size(); ++k) face.push_back(ring[(k * step) % ring.size()]);
    faces.push_back(face);
  }
  // Edge 1: the side of the star's own faces.
  const double side = Distance(faces[0][0], faces[0][1]);
  for (auto& f : faces)
    for (Vec3& v : f) v = v / side;
  return faces;
}

Polyhedron BuildStar(StarSolid s) { return VisibleSurface(StarFaces(s)); }

}  // namespace didod::solids
