#pragma once
// Plane polygons given by their corners in order.
#include <algorithm>
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
// with the polygon's own orientation: ear clipping, the fattest ear first, then
// diagonals turned while that makes the thinner of their two triangles fatter,
// so that a nearly straight corner gets a diagonal of its own instead of a
// sliver. A polygon that is not simple still gets triangles, but they need not
// cover it exactly.
inline std::vector<std::array<int, 3>> Triangulate(const std::vector<Vec2>& p) {
  std::vector<std::array<int, 3>> out;
  const double s = SignedArea(p) < 0 ? -1.0 : 1.0;
  auto turn = [&](int a, int b, int c) { return s * Cross(p[b] - p[a], p[c] - p[a]); };
  // Nearly straight corners are no ears: their triangle would have no area.
  auto convex = [&](int a, int b, int c) { return turn(a, b, c) > 1e-9 * Norm(p[b] - p[a]) * Norm(p[c] - p[b]); };
  // Twice the area over the squared sides: largest for the equilateral triangle.
  auto fatness = [&](int a, int b, int c) {
    return turn(a, b, c) / (Dot(p[b] - p[a], p[b] - p[a]) + Dot(p[c] - p[b], p[c] - p[b]) + Dot(p[a] - p[c], p[a] - p[c]));
  };
  const int n = static_cast<int>(p.size());
  std::vector<int> idx(p.size());
  for (int i = 0; i < n; ++i) idx[i] = i;
  std::vector<int> dents;  // corners that are not convex: only they can lie inside an ear
  while (idx.size() > 3) {
    const int m = static_cast<int>(idx.size());
    dents.clear();
    for (int i = 0; i < m; ++i)
      if (!convex(idx[(i + m - 1) % m], idx[i], idx[(i + 1) % m])) dents.push_back(idx[i]);
    int best = -1;
    double fattest = 0;
    for (int i = 0; i < m; ++i) {
      const int a = idx[(i + m - 1) % m], b = idx[i], c = idx[(i + 1) % m];
      if (!convex(a, b, c)) continue;
      const double fat = fatness(a, b, c);
      if (best >= 0 && fat <= fattest) continue;
      bool inside = false;
      for (int j : dents)
        if (j != a && j != b && j != c && turn(a, b, j) >= 0 && turn(b, c, j) >= 0 && turn(c, a, j) >= 0) {
          inside = true;
          break;
        }
      if (inside) continue;
      best = i;
      fattest = fat;
    }
    if (best < 0) break;
    out.push_back({idx[(best + m - 1) % m], idx[best], idx[(best + 1) % m]});
    idx.erase(idx.begin() + best);
  }
  for (std::size_t i = 1; i + 1 < idx.size(); ++i) out.push_back({idx[0], idx[i], idx[i + 1]});
  // The triangle on the left of each directed edge; every flip makes the
  // sorted fatnesses grow, so the turning ends.
  std::vector<int> owner(static_cast<std::size_t>(n) * n, -1);
  auto own = [&](int t) {
    for (int k = 0; k < 3; ++k) owner[out[t][k] * n + out[t][(k + 1) % 3]] = t;
  };
  std::vector<std::array<int, 2>> todo;
  for (int t = 0; t < static_cast<int>(out.size()); ++t) {
    own(t);
    for (int k = 0; k < 3; ++k) todo.push_back({out[t][k], out[t][(k + 1) % 3]});
  }
  auto third = [](const std::array<int, 3>& t, int u, int v) {
    for (int x : t)
      if (x != u && x != v) return x;
    return -1;
  };
  while (!todo.empty()) {
    const auto [a, c] = todo.back();
    todo.pop_back();
    const int t = owner[a * n + c], u = owner[c * n + a];
    if (t < 0 || u < 0) continue;
    // t is a, c, d and u is c, a, b: the quadrilateral a, b, c, d.
    const int d = third(out[t], a, c), b = third(out[u], c, a);
    if (d < 0 || b < 0 || owner[b * n + d] >= 0 || owner[d * n + b] >= 0) continue;
    if (turn(a, b, d) <= 0 || turn(b, c, d) <= 0) continue;
    if (std::min(fatness(a, b, d), fatness(b, c, d)) <= std::min(fatness(a, c, d), fatness(c, a, b)) + 1e-12) continue;
    owner[a * n + c] = owner[c * n + a] = -1;
    out[t] = {a, b, d};
    out[u] = {b, c, d};
    own(t);
    own(u);
    todo.insert(todo.end(), {{a, b}, {b, c}, {c, d}, {d, a}});
  }
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
