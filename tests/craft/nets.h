#pragma once
// Small nets for the sheet tests, with their hinges found from the drawing and
// their glued pairs written down by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "craft/sheet.h"
#include "model/construction.h"

namespace didod::craft::testing {

inline void AddFace(Construction& c, const std::vector<NetPoint>& corners) {
  ASSERT_TRUE(c.AppendWholeFace(corners, ViewCentre{400, 300}));
}

// A unit square with its lower left corner at (x, y), anticlockwise.
inline void AddSquare(Construction& c, double x, double y) {
  AddFace(c, {{x, y}, {x + 1, y}, {x + 1, y + 1}, {x, y + 1}});
}

// Edges that lie on each other in the drawing are hinges.
inline std::vector<EdgePair> HingesOf(const Construction& c) {
  std::vector<EdgePair> hinges;
  auto near = [](NetPoint p, NetPoint q) { return std::hypot(p.x - q.x, p.y - q.y) < 1e-6; };
  for (int f = 1; f <= c.FaceCount; ++f) {
    const auto rf = c.FaceRange(f);
    const int nf = c.FaceSizes[f];
    for (int g = f + 1; g <= c.FaceCount; ++g) {
      const auto rg = c.FaceRange(g);
      const int ng = c.FaceSizes[g];
      for (int k = 0; k < nf; ++k)
        for (int m = 0; m < ng; ++m) {
          const NetPoint p0 = c.NetPoints[rf.first + k], p1 = c.NetPoints[rf.first + (k + 1) % nf];
          const NetPoint q0 = c.NetPoints[rg.first + m], q1 = c.NetPoints[rg.first + (m + 1) % ng];
          if ((near(p0, q1) && near(p1, q0)) || (near(p0, q0) && near(p1, q1)))
            hinges.push_back({{f, k}, {g, m}});
        }
    }
  }
  return hinges;
}

// The Latin cross of six squares: face 3 in the middle, 2, 4, 5 in a row to its
// sides, 1 above and 6 below. Square edges: 0 bottom, 1 right, 2 top, 3 left.
inline Construction CubeCross() {
  Construction c;
  AddSquare(c, 1, 0);
  AddSquare(c, 0, -1);
  AddSquare(c, 1, -1);
  AddSquare(c, 2, -1);
  AddSquare(c, 3, -1);
  AddSquare(c, 1, -2);
  return c;
}

inline std::vector<EdgePair> CubeCrossGluings() {
  return {{{1, 3}, {2, 2}}, {{1, 1}, {4, 2}}, {{1, 2}, {5, 2}}, {{5, 1}, {2, 3}},
          {{5, 0}, {6, 0}}, {{6, 3}, {2, 0}}, {{6, 1}, {4, 0}}};
}

// The icosahedron as a strip of ten triangles with five caps above and five
// below: faces 1-5 point up, 6-10 down, 11-15 are the upper caps, 16-20 the
// lower ones.
inline Construction IcosahedronStrip() {
  Construction c;
  const double h = std::sqrt(3.0) / 2.0;
  for (int i = 0; i < 5; ++i) AddFace(c, {{i + 0.0, 0}, {i + 1.0, 0}, {i + 0.5, h}});
  for (int i = 0; i < 5; ++i) AddFace(c, {{i + 0.5, h}, {i + 1.0, 0}, {i + 1.5, h}});
  for (int i = 0; i < 5; ++i) AddFace(c, {{i + 0.5, h}, {i + 1.5, h}, {i + 1.0, 2 * h}});
  for (int i = 0; i < 5; ++i) AddFace(c, {{i + 0.0, 0}, {i + 0.5, -h}, {i + 1.0, 0}});
  return c;
}

inline std::vector<EdgePair> IcosahedronStripGluings() {
  std::vector<EdgePair> g;
  for (int i = 0; i < 5; ++i) g.push_back({{11 + i, 1}, {11 + (i + 1) % 5, 2}});
  for (int i = 0; i < 5; ++i) g.push_back({{16 + i, 1}, {16 + (i + 1) % 5, 0}});
  g.push_back({{1, 2}, {10, 1}});
  return g;
}

}  // namespace didod::craft::testing
