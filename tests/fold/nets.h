#pragma once
// Small nets built in code for the folding tests.
#include <cmath>
#include <numbers>
#include <vector>

#include "model/construction.h"
#include "model/join_line.h"

namespace didod::testnets {

inline void AddFace(Construction& c, const std::vector<NetPoint>& corners) {
  c.AppendWholeFace(corners, ViewCentre{400, 300});
}

// The square with lower-left corner (x, y), counter-clockwise.
inline std::vector<NetPoint> Square(double x, double y, double s = 1.0) {
  return {{x, y}, {x + s, y}, {x + s, y + s}, {x, y + s}};
}

// Latin cross of six unit squares: column x = 0 for y = 0..3, arms at y = 2.
inline Construction CubeCross() {
  Construction c;
  AddFace(c, Square(0, 0));
  AddFace(c, Square(0, 1));
  AddFace(c, Square(0, 2));
  AddFace(c, Square(0, 3));
  AddFace(c, Square(-1, 2));
  AddFace(c, Square(1, 2));
  return c;
}

// Equilateral triangle on the edge a -> b, on its left.
inline std::vector<NetPoint> TriangleLeftOf(NetPoint a, NetPoint b) {
  const double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double h = std::sqrt(3.0) / 2;
  return {a, b, {mx - dy * h, my + dx * h}};
}

// Tetrahedron: a big triangle of side 2 cut into four.
inline Construction Tetrahedron() {
  Construction c;
  const double h = std::sqrt(3.0) / 2;
  const NetPoint a{0, 0}, b{1, 0}, d{2, 0}, e{0.5, h}, f{1.5, h}, g{1, 2 * h};
  AddFace(c, {a, b, e});
  AddFace(c, {b, f, e});
  AddFace(c, {b, d, f});
  AddFace(c, {e, f, g});
  return c;
}

// Regular n-gon with edge a -> b, on its left, counter-clockwise from a.
inline std::vector<NetPoint> RegularLeftOf(NetPoint a, NetPoint b, int n) {
  std::vector<NetPoint> out{a, b};
  double dx = b.x - a.x, dy = b.y - a.y;
  const double turn = 2 * std::numbers::pi / n;
  NetPoint p = b;
  for (int i = 2; i < n; ++i) {
    const double nx = dx * std::cos(turn) - dy * std::sin(turn);
    const double ny = dx * std::sin(turn) + dy * std::cos(turn);
    dx = nx;
    dy = ny;
    p = {p.x + dx, p.y + dy};
    out.push_back(p);
  }
  return out;
}

// Triangular prism: three squares in a row, a triangle on top and bottom.
inline Construction TriangularPrism() {
  Construction c;
  AddFace(c, Square(0, 0));
  AddFace(c, Square(1, 0));
  AddFace(c, Square(2, 0));
  AddFace(c, TriangleLeftOf({1, 1}, {2, 1}));
  AddFace(c, TriangleLeftOf({2, 0}, {1, 0}));
  return c;
}

// Corner k (taken round) of face f.
inline NetPoint CornerOf(const Construction& c, int f, int k) {
  const int n = c.FaceSizes[f];
  return c.NetPoints[c.FaceRange(f).first + ((k % n) + n) % n];
}

// Appends a regular n-gon outside edge k of the counter-clockwise face f; its
// edge 0 is the shared one. Returns the new face's number.
inline int Attach(Construction& c, int f, int k, int n) {
  AddFace(c, RegularLeftOf(CornerOf(c, f, k + 1), CornerOf(c, f, k), n));
  return c.FaceCount;
}

// Two flowers of six pentagons, joined petal to petal.
inline Construction Dodecahedron() {
  Construction c;
  AddFace(c, RegularLeftOf({0, 0}, {1, 0}, 5));
  for (int k = 0; k < 5; ++k) Attach(c, 1, k, 5);
  const int q = Attach(c, 2, 3, 5);
  const int centre = Attach(c, q, 2, 5);
  for (int k = 1; k < 5; ++k) Attach(c, centre, k, 5);
  return c;
}

// A strip of ten triangles with five caps above and five below.
inline Construction Icosahedron() {
  Construction c;
  const double h = std::sqrt(3.0) / 2;
  for (int i = 0; i < 5; ++i) {
    AddFace(c, {{i + 0.0, 0}, {i + 1.0, 0}, {i + 0.5, h}});
    AddFace(c, {{i + 1.0, 0}, {i + 1.5, h}, {i + 0.5, h}});
  }
  for (int i = 0; i < 5; ++i) {
    AddFace(c, TriangleLeftOf({i + 0.5, h}, {i + 1.5, h}));
    AddFace(c, TriangleLeftOf({i + 1.0, 0}, {i + 0.0, 0}));
  }
  return c;
}

// Records that face g was joined to face f along the edge they share, as the
// mouse records it: each end of g's edge dropped onto f's corner there.
inline void Join(Construction& c, int f, int g) {
  const FaceRangeResult a = c.FaceRange(f), b = c.FaceRange(g);
  for (int j = b.first; j <= b.last; ++j)
    for (int i = a.first; i <= a.last; ++i)
      if (std::hypot(c.NetPoints[i].x - c.NetPoints[j].x, c.NetPoints[i].y - c.NetPoints[j].y) < 1e-9)
        c.JoinList.push_back(JoinLineText(j, i));
}

// Unit squares with their lower-left corners at the given cells, joined along
// the given pairs of faces (1-based).
inline Construction SquaresJoined(const std::vector<std::pair<int, int>>& cells,
                                  const std::vector<std::pair<int, int>>& joins) {
  Construction c;
  for (const auto& [x, y] : cells) AddFace(c, Square(x, y));
  for (const auto& [f, g] : joins) Join(c, f, g);
  return c;
}

// A net of three cubes in an L whose squares, joined as a tree, come round to
// lie against each other (faces 9 and 12, never joined) and so enclose a
// square hole:
//     . 4 8 .
//     . 2 7 6
//     . 5 . 9
//     1 3 b c      (b = 11, c = 12, ...)
//     . . d .
//     . . a .
//     . . e .
inline Construction HoledTricube() {
  return SquaresJoined({{0, 0}, {1, 2}, {1, 0}, {1, 3}, {1, 1}, {3, 2}, {2, 2}, {2, 3}, {3, 1}, {2, -2}, {2, 0},
                        {3, 0}, {2, -1}, {2, -3}},
                       {{2, 7}, {2, 5}, {11, 13}, {10, 14}, {10, 13}, {11, 12}, {7, 8}, {6, 7}, {3, 5}, {2, 4},
                        {6, 9}, {3, 11}, {1, 3}});
}

}  // namespace didod::testnets
