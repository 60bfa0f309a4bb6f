#include "unfold/polyhedron.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>

namespace didod::unfold {

using geo::Cross;
using geo::Distance;
using geo::Dot;
using geo::Norm;
using geo::Normalized;

std::vector<Vec3> MergeClosePoints(const std::vector<Vec3>& points, double tol) {
  std::vector<Vec3> out;
  for (const Vec3& p : points) {
    bool seen = false;
    for (const Vec3& q : out)
      if (Distance(p, q) < tol) { seen = true; break; }
    if (!seen) out.push_back(p);
  }
  return out;
}

namespace {

double Extent(const std::vector<Vec3>& pts) {
  double e = 0;
  for (const Vec3& p : pts) e = std::max({e, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
  return e;
}

// Corners of the face in the plane (n, d): every point on the plane, ordered
// counter-clockwise about n.
std::vector<int> FaceOnPlane(const std::vector<Vec3>& pts, const Vec3& n, double d, double eps) {
  std::vector<int> on;
  Vec3 c;
  for (int i = 0; i < static_cast<int>(pts.size()); ++i)
    if (std::fabs(Dot(pts[i], n) - d) <= eps) { on.push_back(i); c += pts[i]; }
  c = c / static_cast<double>(on.size());
  const Vec3 e1 = Normalized(pts[on[0]] - c);
  const Vec3 e2 = Cross(n, e1);
  std::vector<std::pair<double, int>> keyed;
  for (int i : on) {
    const Vec3 v = pts[i] - c;
    keyed.push_back({std::atan2(Dot(v, e2), Dot(v, e1)), i});
  }
  std::sort(keyed.begin(), keyed.end());
  std::vector<int> face;
  for (auto& k : keyed) face.push_back(k.second);
  return face;
}

}  // namespace

Polyhedron ConvexHull(const std::vector<Vec3>& input) {
  const std::vector<Vec3> pts = MergeClosePoints(input);
  const int n = static_cast<int>(pts.size());
  if (n < 4) throw std::runtime_error("hull of fewer than four points");
  const double eps = 1e-9 * std::max(1.0, Extent(pts));

  // First face: a supporting plane through the lowest point.
  int v0 = 0;
  for (int i = 1; i < n; ++i) {
    const Vec3 &a = pts[i], &b = pts[v0];
    if (a.z < b.z - eps || (std::fabs(a.z - b.z) <= eps && (a.y < b.y - eps || (std::fabs(a.y - b.y) <= eps && a.x < b.x))))
      v0 = i;
  }
  Vec3 firstNormal;
  bool found = false;
  for (int j = 0; j < n && !found; ++j) {
    for (int k = j + 1; k < n && !found; ++k) {
      if (j == v0 || k == v0) continue;
      Vec3 nn = Cross(pts[j] - pts[v0], pts[k] - pts[v0]);
      if (Norm(nn) < eps) continue;
      nn = Normalized(nn);
      bool pos = false, neg = false;
      for (int q = 0; q < n; ++q) {
        const double s = Dot(pts[q] - pts[v0], nn);
        if (s > eps) pos = true;
        if (s < -eps) neg = true;
      }
      if (pos == neg) continue;  // cuts the set, or every point on the plane
      firstNormal = pos ? -nn : nn;
      found = true;
    }
  }
  if (!found) throw std::runtime_error("flat point set");

  std::vector<std::vector<int>> faces;
  std::vector<Vec3> normals;
  std::set<std::vector<int>> known;
  auto addFace = [&](const Vec3& nn, double d) {
    std::vector<int> f = FaceOnPlane(pts, nn, d, eps);
    std::vector<int> key = f;
    std::sort(key.begin(), key.end());
    if (known.insert(key).second) { faces.push_back(f); normals.push_back(nn); }
  };
  addFace(firstNormal, Dot(pts[v0], firstNormal));

  for (std::size_t fi = 0; fi < faces.size(); ++fi) {
    const std::vector<int> face = faces[fi];
    const Vec3 nf = normals[fi];
    for (std::size_t e = 0; e < face.size(); ++e) {
      const Vec3 a = pts[face[e]], b = pts[face[(e + 1) % face.size()]];
      // Turn the plane about the edge until no point lies outside it.
      int c = -1;
      for (int q = 0; q < n && c < 0; ++q)
        if (std::fabs(Dot(pts[q] - a, nf)) > eps) c = q;
      if (c < 0) throw std::runtime_error("flat point set");
      auto normalOf = [&](int cc) { return Cross(a - b, pts[cc] - a); };
      for (int q = 0; q < n; ++q) {
        if (Norm(Cross(pts[q] - a, b - a)) <= eps * Norm(b - a)) continue;
        const Vec3 m = normalOf(c);
        if (Dot(pts[q] - a, m) > eps * Norm(m)) c = q;
      }
      const Vec3 m = Normalized(normalOf(c));
      addFace(m, Dot(a, m));
    }
  }

  // Keep only points that are corners, in their first order.
  std::vector<int> remap(n, -1);
  Polyhedron p;
  for (auto& f : faces)
    for (int& v : f) {
      if (remap[v] < 0) { remap[v] = static_cast<int>(p.vertices.size()); p.vertices.push_back(pts[v]); }
      v = remap[v];
    }
  p.faces = faces;
  return p;
}

Vec3 FaceNormal(const Polyhedron& p, int face) {
  const auto& f = p.faces[face];
  Vec3 n;
  for (std::size_t i = 0; i < f.size(); ++i) n += Cross(p.vertices[f[i]], p.vertices[f[(i + 1) % f.size()]]);
  return Normalized(n);
}

Vec3 FaceCentre(const Polyhedron& p, int face) {
  Vec3 c;
  for (int v : p.faces[face]) c += p.vertices[v];
  return c / static_cast<double>(p.faces[face].size());
}

Vec3 Centroid(const Polyhedron& p) {
  Vec3 c;
  for (const Vec3& v : p.vertices) c += v;
  return c / static_cast<double>(p.vertices.size());
}

std::map<std::pair<int, int>, int> DirectedEdges(const Polyhedron& p) {
  std::map<std::pair<int, int>, int> edges;
  for (int f = 0; f < static_cast<int>(p.faces.size()); ++f) {
    const auto& face = p.faces[f];
    for (std::size_t i = 0; i < face.size(); ++i) edges[{face[i], face[(i + 1) % face.size()]}] = f;
  }
  return edges;
}

std::vector<std::vector<Neighbour>> Adjacency(const Polyhedron& p) {
  const auto edges = DirectedEdges(p);
  std::vector<std::vector<Neighbour>> all;
  for (const auto& face : p.faces) {
    std::vector<Neighbour> across;
    for (std::size_t i = 0; i < face.size(); ++i) {
      const int to = face[(i + 1) % face.size()];
      const auto it = edges.find({to, face[i]});
      if (it == edges.end()) throw std::invalid_argument("edge without a face on its other side");
      const auto& other = p.faces[it->second];
      int j = 0;
      while (other[j] != to) ++j;
      across.push_back({it->second, j});
    }
    all.push_back(std::move(across));
  }
  return all;
}

bool IsClosed(const Polyhedron& p) {
  std::map<std::pair<int, int>, int> count;
  for (const auto& face : p.faces)
    for (std::size_t i = 0; i < face.size(); ++i) ++count[{face[i], face[(i + 1) % face.size()]}];
  for (const auto& [e, c] : count) {
    if (c != 1) return false;
    auto r = count.find({e.second, e.first});
    if (r == count.end() || r->second != 1) return false;
  }
  return true;
}

int EdgeCount(const Polyhedron& p) {
  std::set<std::pair<int, int>> edges;
  for (const auto& face : p.faces)
    for (std::size_t i = 0; i < face.size(); ++i) {
      int a = face[i], b = face[(i + 1) % face.size()];
      edges.insert({std::min(a, b), std::max(a, b)});
    }
  return static_cast<int>(edges.size());
}

int EulerCharacteristic(const Polyhedron& p) {
  std::set<int> used;
  for (const auto& face : p.faces) used.insert(face.begin(), face.end());
  return static_cast<int>(used.size()) - EdgeCount(p) + static_cast<int>(p.faces.size());
}

double PlanarityError(const Polyhedron& p) {
  double err = 0;
  for (int f = 0; f < static_cast<int>(p.faces.size()); ++f) {
    const Vec3 n = FaceNormal(p, f), c = FaceCentre(p, f);
    for (int v : p.faces[f]) err = std::max(err, std::fabs(Dot(p.vertices[v] - c, n)));
  }
  return err;
}

double ConvexityError(const Polyhedron& p) {
  double err = 0;
  for (int f = 0; f < static_cast<int>(p.faces.size()); ++f) {
    const Vec3 n = FaceNormal(p, f), c = FaceCentre(p, f);
    for (const Vec3& v : p.vertices) err = std::max(err, Dot(v - c, n));
  }
  return err;
}

std::pair<double, double> EdgeLengthRange(const Polyhedron& p) {
  double lo = 1e300, hi = 0;
  for (const auto& face : p.faces)
    for (std::size_t i = 0; i < face.size(); ++i) {
      const double d = Distance(p.vertices[face[i]], p.vertices[face[(i + 1) % face.size()]]);
      lo = std::min(lo, d);
      hi = std::max(hi, d);
    }
  return {lo, hi};
}

bool FacesRegular(const Polyhedron& p, double tol) {
  for (const auto& face : p.faces) {
    const std::size_t k = face.size();
    const double side = Distance(p.vertices[face[0]], p.vertices[face[1]]);
    const double diag = Distance(p.vertices[face[0]], p.vertices[face[2 % k]]);
    for (std::size_t i = 0; i < k; ++i) {
      const Vec3 a = p.vertices[face[i]], b = p.vertices[face[(i + 1) % k]], c = p.vertices[face[(i + 2) % k]];
      if (std::fabs(Distance(a, b) - side) > tol || std::fabs(Distance(a, c) - diag) > tol) return false;
    }
  }
  return true;
}

std::map<int, int> FaceCountsBySize(const Polyhedron& p) {
  std::map<int, int> counts;
  for (const auto& face : p.faces) ++counts[static_cast<int>(face.size())];
  return counts;
}

double Volume(const Polyhedron& p) {
  double v = 0;
  for (const auto& face : p.faces)
    for (std::size_t i = 1; i + 1 < face.size(); ++i)
      v += Dot(p.vertices[face[0]], Cross(p.vertices[face[i]], p.vertices[face[i + 1]]));
  return v / 6;
}

Polyhedron Transformed(const Polyhedron& p, const Mat3& m, const Vec3& shift) {
  Polyhedron r = p;
  for (Vec3& v : r.vertices) v = m * v + shift;
  if (m.Det() < 0)
    for (auto& f : r.faces) std::reverse(f.begin(), f.end());
  return r;
}

bool HasSymmetry(const Polyhedron& p, const Mat3& m, const Vec3& shift, double tol) {
  for (const Vec3& v : p.vertices) {
    const Vec3 w = m * v + shift;
    bool hit = false;
    for (const Vec3& u : p.vertices)
      if (Distance(u, w) < tol) { hit = true; break; }
    if (!hit) return false;
  }
  return true;
}

}  // namespace didod::unfold
