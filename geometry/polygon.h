#pragma once
// Plane polygons given by their corners in order.
#include <array>
#include <cstddef>
#include <vector>

#include "geometry/vec.h"

namespace didod::geo {

// Signed area, positive for corners running anticlockwise (y up).
inline double SignedArea(const std::vector<Vec2>& p) {
  double a = 0;
  for (std::size_t i = 0; i < p.size(); ++i) a += Cross(p[i], p[(i + 1) % p.size()]);
  return a / 2;
}

// Triangles of a simple polygon of either orientation, by corner index, each
// with the polygon's own orientation (ear clipping). A polygon that is not
// simple still gets triangles, but they need not cover it exactly.
inline std::vector<std::array<int, 3>> Triangulate(const std::vector<Vec2>& p) {
  std::vector<std::array<int, 3>> out;
  const double s = SignedArea(p) < 0 ? -1.0 : 1.0;
  auto turn = [&](int a, int b, int c) { return s * Cross(p[b] - p[a], p[c] - p[a]); };
  std::vector<int> idx(p.size());
  for (std::size_t i = 0; i < p.size(); ++i) idx[i] = static_cast<int>(i);
  while (idx.size() > 3) {
    const int m = static_cast<int>(idx.size());
    bool clipped = false;
    for (int i = 0; i < m && !clipped; ++i) {
      const int a = idx[(i + m - 1) % m], b = idx[i], c = idx[(i + 1) % m];
      // Nearly straight corners are no ears: their triangle would have no area.
      if (turn(a, b, c) <= 1e-9 * Norm(p[b] - p[a]) * Norm(p[c] - p[b])) continue;
      bool inside = false;
      for (int j : idx)
        if (j != a && j != b && j != c && turn(a, b, j) >= 0 && turn(b, c, j) >= 0 && turn(c, a, j) >= 0) {
          inside = true;
          break;
        }
      if (inside) continue;
      out.push_back({a, b, c});
      idx.erase(idx.begin() + i);
      clipped = true;
    }
    if (!clipped) break;
  }
  for (std::size_t i = 1; i + 1 < idx.size(); ++i) out.push_back({idx[0], idx[i], idx[i + 1]});
  return out;
}

// Whether the closed outline crosses or touches itself anywhere but where
// neighbouring edges meet.
inline bool IsSimplePolygon(const std::vector<Vec2>& p, double tolerance) {
  const std::size_t n = p.size();
  if (n < 3) return false;
  auto side = [](Vec2 a, Vec2 b, Vec2 c) { return Cross(b - a, c - a); };
  // Distance of point c from segment a-b.
  auto gap = [](Vec2 a, Vec2 b, Vec2 c) {
    const Vec2 d = b - a;
    const double len2 = Dot(d, d);
    double t = len2 > 0 ? Dot(c - a, d) / len2 : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return Distance(a + d * t, c);
  };
  for (std::size_t i = 0; i < n; ++i) {
    const Vec2 a = p[i], b = p[(i + 1) % n];
    for (std::size_t j = i + 1; j < n; ++j) {
      const Vec2 c = p[j], d = p[(j + 1) % n];
      const bool nextTo = j == i + 1 || (i == 0 && j == n - 1);
      if (nextTo) {
        // Neighbours share one corner; they must not fold back onto each other.
        const Vec2 shared = j == i + 1 ? b : a;
        const Vec2 mine = j == i + 1 ? a : b, theirs = j == i + 1 ? d : c;
        if (Norm(mine - shared) > 0 && Norm(theirs - shared) > 0 &&
            std::fabs(side(shared, mine, theirs)) <= tolerance * Norm(mine - shared) &&
            Dot(mine - shared, theirs - shared) > 0)
          return false;
        continue;
      }
      const double s1 = side(a, b, c), s2 = side(a, b, d), s3 = side(c, d, a), s4 = side(c, d, b);
      if (((s1 > 0 && s2 < 0) || (s1 < 0 && s2 > 0)) && ((s3 > 0 && s4 < 0) || (s3 < 0 && s4 > 0))) return false;
      if (gap(a, b, c) <= tolerance || gap(a, b, d) <= tolerance || gap(c, d, a) <= tolerance ||
          gap(c, d, b) <= tolerance)
        return false;
    }
  }
  return true;
}

}  // namespace didod::geo
