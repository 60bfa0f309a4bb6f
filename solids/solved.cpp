#include "solids/solved.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace didod::solids {

namespace {

const double kPi = 3.14159265358979323846;
const double kPhi = (1 + std::sqrt(5.0)) / 2;
const double kRoot2 = std::sqrt(2.0);

// Points are pushed in a fixed order; the rods name them by index.
struct Points {
  std::vector<Vec3> p;
  int Add(const Vec3& v) {
    p.push_back(v);
    return static_cast<int>(p.size()) - 1;
  }
};

Vec3 AtAngle(double radius, double angle, double z) { return {radius * std::cos(angle), radius * std::sin(angle), z}; }

// ---------------------------------------------------------------------------
// Snub antiprism: a regular n-gon on top (corners T), its turned copy below
// (B), and between them a zigzag ring of 2n corners: M_e under the middle of
// a top edge, M_o under a top corner. The solid goes into itself when turned
// by pi/n and mirrored in z = 0. Numbers: height of the top h, radius of the
// ring r, height of the M_e zm.

std::vector<Vec3> SnubAntiprismPoints(int n, const std::vector<double>& x) {
  const double h = x[0], r = x[1], zm = x[2];
  const double radius = 0.5 / std::sin(kPi / n);
  std::vector<Vec3> p;
  for (int i = 0; i < n; ++i) p.push_back(AtAngle(radius, 2 * kPi * i / n, h));                // T_i
  for (int i = 0; i < n; ++i) p.push_back(AtAngle(radius, 2 * kPi * i / n + kPi / n, -h));     // B_i
  for (int i = 0; i < n; ++i) p.push_back(AtAngle(r, 2 * kPi * i / n + kPi / n, zm));          // M_e(i)
  for (int i = 0; i < n; ++i) p.push_back(AtAngle(r, 2 * kPi * i / n, -zm));                   // M_o(i)
  return p;
}

// ---------------------------------------------------------------------------
// Wedge of two squares (the "spheno" and its blunt form with a third square
// on top): the top is an edge (width 0) or a square (width 1) in z = 0,
// along y; a square hangs down on each side (x > 0 and x < 0), reaching out
// by a. Mirrors x = 0 and y = 0.
struct Wedge {
  std::vector<int> top;  // (x, y) signs in the order ++, -+, +-, -- (two corners when the width is 0)
  int s[2][2];           // s[x < 0][y < 0]
};

Wedge AddWedge(Points& pts, double width, double a, double drop) {
  Wedge w;
  for (int sy : {1, -1}) {
    if (width == 0) {
      w.top.push_back(pts.Add({0, sy * 0.5, 0}));
    } else {
      for (int sx : {1, -1}) w.top.push_back(pts.Add({sx * width / 2, sy * 0.5, 0}));
    }
  }
  for (int sx : {0, 1})
    for (int sy : {0, 1}) w.s[sx][sy] = pts.Add({(sx ? -1 : 1) * (width / 2 + a), (sy ? -1 : 1) * 0.5, -drop});
  return w;
}

// Sphenocorona: the wedge, its two end corners C (x = 0) and the bottom edge
// D (y = 0). Numbers a, yc, zc, zd.
Design Sphenocorona() {
  Design d;
  d.start = {0.85, 0.8, -0.95, -1.3};
  d.points = [](const std::vector<double>& x) {
    Points pts;
    const Wedge w = AddWedge(pts, 0, x[0], std::sqrt(std::max(0.0, 1 - x[0] * x[0])));
    pts.Add({0, x[1], x[2]});
    pts.Add({0, -x[1], x[2]});
    pts.Add({0.5, 0, x[3]});
    pts.Add({-0.5, 0, x[3]});
    (void)w;
    return pts.p;
  };
  // Corners: A+ 0, A- 1, S++ 2, S+- 3, S-+ 4, S-- 5, C+ 6, C- 7, D+ 8, D- 9.
  d.rods = {{0, 6}, {2, 6}, {2, 8}, {6, 8}};
  return d;
}

// The wedge (width 0: sphenomegacorona, width 1: hebesphenomegacorona), end
// corners C and Q on x = 0, and a bottom edge P along x. Numbers a, yc, zc,
// qy, qz, pz.
Design Megacorona(double width) {
  Design d;
  d.start = width == 0 ? std::vector<double>{0.6, 1.3, -0.6, 0.85, -1.5, -1.7}
                       : std::vector<double>{0.2, 1.1, -0.6, 0.85, -1.6, -1.8};
  d.points = [width](const std::vector<double>& x) {
    Points pts;
    AddWedge(pts, width, x[0], std::sqrt(std::max(0.0, 1 - x[0] * x[0])));
    pts.Add({0, x[1], x[2]});
    pts.Add({0, -x[1], x[2]});
    pts.Add({0, x[3], x[4]});
    pts.Add({0, -x[3], x[4]});
    pts.Add({0.5, 0, x[5]});
    pts.Add({-0.5, 0, x[5]});
    return pts.p;
  };
  const int top = width == 0 ? 2 : 4;
  const int s = top, c = top + 4, q = c + 2, p = q + 2;  // S++, C+, Q+, P+
  d.rods = {{0, c}, {s, c}, {c, q}, {s, q}, {s, p}, {q, p}};
  return d;
}

// Disphenocingulum: a wedge on top (its edge along y at height h), the same
// wedge below turned by a quarter and mirrored, and a belt of triangles
// between them. Numbers a, yc, zc, h.
Design Disphenocingulum() {
  Design d;
  d.start = {0.75, 1.1, -0.8, 1.1};
  d.points = [](const std::vector<double>& x) {
    Points pts;
    AddWedge(pts, 0, x[0], std::sqrt(std::max(0.0, 1 - x[0] * x[0])));
    pts.Add({0, x[1], x[2]});
    pts.Add({0, -x[1], x[2]});
    for (Vec3& v : pts.p) v.z += x[3];
    const std::size_t upper = pts.p.size();
    for (std::size_t i = 0; i < upper; ++i) {
      const Vec3 v = pts.p[i];
      pts.Add({v.y, -v.x, -v.z});
    }
    return pts.p;
  };
  // Upper: A+ 0, A- 1, S++ 2, S+- 3, S-+ 4, S-- 5, C+ 6, C- 7; lower: the
  // same + 8, so S++ goes to (1/2, -a) = 10, S+- to (-1/2, -a) = 11,
  // S-+ to (1/2, a) = 12, C- to (-yc, 0) = 15 and C+ to (yc, 0) = 14.
  d.rods = {{0, 6}, {2, 6}, {2, 14}, {3, 14}, {2, 12}, {6, 12}};
  return d;
}

// Bilunabirotunda: two pentagons meeting at the top edge U (along x), their
// mirror images below (L), a square at each end (x = +-X) with triangles on
// all four sides, the bottom tips of the pentagons M on the y axis.
// Numbers X, ym, zu.
Design Bilunabirotunda() {
  Design d;
  d.start = {0.8, 0.8, 1.3};
  d.points = [](const std::vector<double>& x) {
    Points pts;
    for (int sz : {1, -1})
      for (int sx : {1, -1}) pts.Add({sx * 0.5, 0, sz * x[2]});  // U+ 0, U- 1, L+ 2, L- 3
    pts.Add({0, x[1], 0});                                         // M+ 4
    pts.Add({0, -x[1], 0});                                        // M- 5
    for (int sx : {1, -1})
      for (int sy : {1, -1})
        for (int sz : {1, -1}) pts.Add({sx * x[0], sy * 0.5, sz * 0.5});  // Q: 6 + 4 (x<0) + 2 (y<0) + (z<0)
    return pts.p;
  };
  // Pentagon U-, U+, Q+++ (6), M+ (4), Q-++ (10).
  d.rods = {{0, 6}, {6, 4}, {6, 10, kPhi}, {0, 4, kPhi}, {0, 10, kPhi}};
  return d;
}

// Triangular hebesphenorotunda: a regular hexagon of circumradius 1 in z = 0
// (corners at 30 + 60 k degrees), squares on its edges at 0, 120 and 240
// degrees, a triangle T on top with its corners at 0, 120 and 240 degrees,
// pentagons on the edges of T with their tips X at 60, 180 and 300 degrees.
// Mirror planes at 0, 60 and 120 degrees. Numbers: how far the squares lean
// in (wx, the x of their top corners at 0 degrees), X (radius, height), T
// (radius, height).
Design TriangularHebesphenorotunda() {
  Design d;
  d.start = {1.2, 1.5, 0.6, 0.6, 1.5};
  d.points = [](const std::vector<double>& x) {
    Points pts;
    const double c30 = std::sqrt(3.0) / 2;
    const double lean = c30 - x[0];
    const double wz = std::sqrt(std::max(0.0, 1 - lean * lean));
    for (int k = 0; k < 6; ++k) pts.Add(AtAngle(1, kPi / 6 + kPi / 3 * k, 0));  // H 0..5
    for (int k = 0; k < 3; ++k) {
      const double turn = 2 * kPi / 3 * k, c = std::cos(turn), s = std::sin(turn);
      for (double y : {0.5, -0.5}) pts.Add({c * x[0] - s * y, s * x[0] + c * y, wz});  // W 6 + 2k, U 7 + 2k
    }
    for (int k = 0; k < 3; ++k) pts.Add(AtAngle(x[1], kPi / 3 + 2 * kPi / 3 * k, x[2]));  // X 12..14
    for (int k = 0; k < 3; ++k) pts.Add(AtAngle(x[3], 2 * kPi / 3 * k, x[4]));            // T 15..17
    return pts.p;
  };
  // Square H(-30) 5, H(30) 0, W 6 (y > 0), U 7. Pentagon at 60 degrees:
  // T0 15, W 6, X 12, U' 9 (the top corner of the next square with y < 0 in
  // its own frame, the mirror image of W in the 60-degree plane), T1 16.
  d.rods = {{15, 16}, {15, 6}, {6, 12}, {15, 12, kPhi}, {15, 9, kPhi}, {6, 9, kPhi},
            {12, 0}, {12, 1}, {6, 5, kRoot2}, {6, 7}};
  return d;
}

}  // namespace

Design SnubAntiprismDesign(int n) {
  Design d;
  d.start = n == 2 ? std::vector<double>{0.8, 0.8, 0.3} : std::vector<double>{0.9, 1.0, 0.3};
  d.points = [n](const std::vector<double>& x) { return SnubAntiprismPoints(n, x); };
  // T_0 0, T_1 1, M_e(0) 2n, M_o(0) 3n.
  d.rods = {{0, 1}, {0, 2 * n}, {0, 3 * n}, {2 * n, 3 * n}};
  return d;
}

Design JohnsonDesign(int number) {
  switch (number) {
    case 84: return SnubAntiprismDesign(2);
    case 85: return SnubAntiprismDesign(4);
    case 86: return Sphenocorona();
    case 88: return Megacorona(0);
    case 89: return Megacorona(1);
    case 90: return Disphenocingulum();
    case 91: return Bilunabirotunda();
    case 92: return TriangularHebesphenorotunda();
    default: throw std::invalid_argument("no solved design for Johnson solid " + std::to_string(number));
  }
}

}  // namespace didod::solids
