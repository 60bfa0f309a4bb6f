#pragma once
// Ear clipping of a simple polygon in the plane, either orientation: the
// triangles as corner indices, each turning like the polygon.
#include <array>
#include <vector>

#include "geometry/vec.h"

namespace didod::geo {

inline std::vector<std::array<int, 3>> Triangulate(const std::vector<Vec2>& p) {
  const int n = static_cast<int>(p.size());
  std::vector<std::array<int, 3>> out;
  double area = 0;
  for (int k = 0; k < n; ++k) area += Cross(p[k], p[(k + 1) % n]);
  const double sign = area < 0 ? -1.0 : 1.0;
  auto turn = [&](int a, int b, int c) { return sign * Cross(p[b] - p[a], p[c] - p[a]); };
  std::vector<int> idx(n);
  for (int i = 0; i < n; ++i) idx[i] = i;
  while (idx.size() > 3) {
    const int m = static_cast<int>(idx.size());
    bool clipped = false;
    for (int i = 0; i < m && !clipped; ++i) {
      const int a = idx[(i + m - 1) % m], b = idx[i], c = idx[(i + 1) % m];
      if (turn(a, b, c) <= 1e-14) continue;
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
    if (!clipped) break;  // degenerate rest: a fan keeps every corner covered
  }
  for (size_t i = 1; i + 1 < idx.size(); ++i) out.push_back({idx[0], idx[i], idx[i + 1]});
  return out;
}

}  // namespace didod::geo
