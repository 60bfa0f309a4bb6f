#pragma once
// Random convex solids of a chosen number of faces, and a test of whether two
// solids have the same shape.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "tools/netgen/solids.h"
#include "unfold/polyhedron.h"

namespace didod::unfold::testing {

// Points spread over the unit sphere, none closer to another than a fair
// share of the sphere allows, so that no edge of the solids is tiny.
inline std::vector<Vec3> SpreadPoints(int n, std::mt19937& random) {
  const double spacing = 0.55 * std::sqrt(4 * 3.14159265358979323846 / n);
  auto uniform = [&] { return (random() >> 8) * (1.0 / 16777216.0); };
  std::vector<Vec3> points;
  while (static_cast<int>(points.size()) < n) {
    const double z = 2 * uniform() - 1, t = 2 * 3.14159265358979323846 * uniform(), r = std::sqrt(1 - z * z);
    const Vec3 p{r * std::cos(t), r * std::sin(t), z};
    bool free = true;
    for (const Vec3& q : points) free = free && geo::Distance(p, q) >= spacing;
    if (free) points.push_back(p);
  }
  return points;
}

// Cuts the corner v off the convex solid by a plane close to it.
inline Polyhedron CutCorner(const Polyhedron& p, int v) {
  const Vec3 a = p.vertices[v], n = geo::Normalized(a);
  double depth = 1e300;  // along n, well short of every neighbour
  for (const auto& face : p.faces)
    for (std::size_t i = 0; i < face.size(); ++i)
      if (face[i] == v) depth = std::min(depth, geo::Dot(a - p.vertices[face[(i + 1) % face.size()]], n));
  std::vector<Vec3> points;
  for (int u = 0; u < static_cast<int>(p.vertices.size()); ++u)
    if (u != v) points.push_back(p.vertices[u]);
  for (const auto& face : p.faces)
    for (std::size_t i = 0; i < face.size(); ++i)
      if (face[i] == v) {
        const Vec3 b = p.vertices[face[(i + 1) % face.size()]];
        points.push_back(a + (b - a) * (0.3 * depth / geo::Dot(a - b, n)));
      }
  return ConvexHull(points);
}

// How far the least bent edge is from flat: the distance of the corners of one
// of its faces from the other's plane, relative to the solid's size.
inline double LeastBend(const Polyhedron& p) {
  Vec3 lo = p.vertices[0], hi = lo;
  for (const Vec3& v : p.vertices) {
    lo = {std::min(lo.x, v.x), std::min(lo.y, v.y), std::min(lo.z, v.z)};
    hi = {std::max(hi.x, v.x), std::max(hi.y, v.y), std::max(hi.z, v.z)};
  }
  const auto across = Adjacency(p);
  double least = 1e300;
  for (int f = 0; f < static_cast<int>(p.faces.size()); ++f)
    for (const Neighbour& n : across[f]) {
      const Vec3 normal = FaceNormal(p, f), centre = FaceCentre(p, f);
      double off = 0;
      for (int v : p.faces[n.face]) off = std::max(off, std::fabs(geo::Dot(p.vertices[v] - centre, normal)));
      least = std::min(least, off);
    }
  return least / geo::Distance(lo, hi);
}

// A random convex solid with exactly `faces` faces (4 to 199) that fits the
// construction: up to 168 faces of the even counts the polar solid of spread
// points (faces of many sizes), otherwise the hull of spread points (triangles),
// with one corner cut off for an odd count. Every edge is bent clearly beyond
// the import's tolerance for one plane (1e-5 of the size): two faces bent less
// are one face to the import, and the solid would not come back as it was.
inline Polyhedron RandomConvexSolid(int faces, std::uint32_t seed) {
  std::mt19937 random(seed * 7919u + static_cast<std::uint32_t>(faces));
  for (;;) {
    Polyhedron p;
    if (faces % 2 == 0 && faces >= 6 && faces <= 168) {
      p = netgen::PolarReciprocal(ConvexHull(SpreadPoints(faces, random)));
    } else {
      p = ConvexHull(SpreadPoints((faces + 4 - faces % 2) / 2, random));
      if (faces % 2) p = CutCorner(p, 0);
    }
    const auto [shortest, longest] = EdgeLengthRange(p);
    if (static_cast<int>(p.faces.size()) == faces && shortest > 1e-3 * longest && LeastBend(p) > 3e-5) return p;
  }
}

// Whether b is a copy of a moved in space and scaled (not mirrored): some
// turn, shift and scale puts every vertex of a onto a vertex of b, with the
// faces facing outwards in both.
inline bool SameShape(Polyhedron a, Polyhedron b, double tolerance = 1e-6) {
  if (a.vertices.size() != b.vertices.size() || FaceCountsBySize(a) != FaceCountsBySize(b)) return false;
  for (Polyhedron* p : {&a, &b})
    if (Volume(*p) < 0)
      for (auto& f : p->faces) std::reverse(f.begin(), f.end());
  const double scale = EdgeLengthRange(b).second / EdgeLengthRange(a).second;
  const double tol = tolerance * EdgeLengthRange(b).second;
  // Right-handed frame at corner o with x towards p, y towards q's side.
  struct Frame {
    Vec3 o, x, y, z;
  };
  auto frame = [](Vec3 o, Vec3 p, Vec3 q) {
    const Vec3 x = geo::Normalized(p - o);
    const Vec3 y = geo::Normalized((q - o) - x * geo::Dot(q - o, x));
    return Frame{o, x, y, geo::Cross(x, y)};
  };
  const auto& f0 = a.faces[0];
  const Frame fa = frame(a.vertices[f0[0]], a.vertices[f0[1]], a.vertices[f0[2]]);
  for (const auto& g : b.faces) {
    if (g.size() != f0.size()) continue;
    for (std::size_t k = 0; k < g.size(); ++k) {
      const Frame fb = frame(b.vertices[g[k]], b.vertices[g[(k + 1) % g.size()]], b.vertices[g[(k + 2) % g.size()]]);
      bool all = true;
      for (std::size_t i = 0; i < a.vertices.size() && all; ++i) {
        const Vec3 d = a.vertices[i] - fa.o;
        const Vec3 moved = fb.o + (fb.x * geo::Dot(d, fa.x) + fb.y * geo::Dot(d, fa.y) + fb.z * geo::Dot(d, fa.z)) * scale;
        bool hit = false;
        for (const Vec3& v : b.vertices) hit = hit || geo::Distance(v, moved) <= tol;
        all = hit;
      }
      if (all) return true;
    }
  }
  return false;
}

}  // namespace didod::unfold::testing
