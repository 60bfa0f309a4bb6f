#include "solids/uniform.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

namespace didod::solids {

namespace {

const double kPi = 3.14159265358979323846;
const double kPhi = (1 + std::sqrt(5.0)) / 2;

// ---------------------------------------------------------------------------
// Uniform solids by Wythoff's construction: a point in the fundamental
// triangle (A, B, C) of a symmetry group, moved by every element of the group.

struct Group {
  Vec3 A, B, C;       // unit axes of orders pA, pB and 2
  int pA = 0, pB = 0;
  Vec3 na, nb, nc;    // mirrors opposite A, B, C, pointing into the triangle
  std::vector<Mat3> elements;
};

bool SameMatrix(const Mat3& a, const Mat3& b) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (std::fabs(a.m[i][j] - b.m[i][j]) > 1e-9) return false;
  return true;
}

Group MakeGroup(char kind) {
  Group g;
  if (kind == 'T') {
    g.A = Normalized({1, 1, 1}); g.B = Normalized({1, 1, -1}); g.C = {1, 0, 0};
    g.pA = 3; g.pB = 3;
  } else if (kind == 'O') {
    g.A = {0, 0, 1}; g.B = Normalized({1, 1, 1}); g.C = Normalized({1, 0, 1});
    g.pA = 4; g.pB = 3;
  } else {
    const Vec3 v0{0, 1, kPhi}, v1{0, -1, kPhi}, v2{kPhi, 0, 1};
    g.A = Normalized(v0); g.B = Normalized(v0 + v1 + v2); g.C = Normalized(v0 + v2);
    g.pA = 5; g.pB = 3;
  }
  auto inward = [](Vec3 n, const Vec3& towards) { n = Normalized(n); return Dot(n, towards) < 0 ? -n : n; };
  g.na = inward(Cross(g.B, g.C), g.A);
  g.nb = inward(Cross(g.C, g.A), g.B);
  g.nc = inward(Cross(g.A, g.B), g.C);
  const Mat3 gens[3] = {Reflection(g.na), Reflection(g.nb), Reflection(g.nc)};
  g.elements.push_back(Mat3{});
  for (std::size_t i = 0; i < g.elements.size(); ++i)
    for (const Mat3& r : gens) {
      const Mat3 m = g.elements[i] * r;
      bool known = false;
      for (const Mat3& e : g.elements)
        if (SameMatrix(e, m)) { known = true; break; }
      if (!known) g.elements.push_back(m);
    }
  return g;
}

const Group& GroupOf(char kind) {
  static const Group t = MakeGroup('T'), o = MakeGroup('O'), i = MakeGroup('I');
  return kind == 'T' ? t : kind == 'O' ? o : i;
}

double AxisDistance(const Vec3& p, const Vec3& axis) { return Norm(p - axis * Dot(p, axis)); }

}  // namespace

Polyhedron UnitEdges(Polyhedron p) {
  const double e = EdgeLengthRange(p).first;
  for (Vec3& v : p.vertices) v = v / e;
  return p;
}

// The point at distances (da, db, dc) from the three mirrors.
Polyhedron Wythoff(char kind, double da, double db, double dc) {
  const Group& g = GroupOf(kind);
  // Solve [na; nb; nc] P = d by Cramer's rule.
  Mat3 n;
  const Vec3 rows[3] = {g.na, g.nb, g.nc};
  for (int i = 0; i < 3; ++i) { n.m[i][0] = rows[i].x; n.m[i][1] = rows[i].y; n.m[i][2] = rows[i].z; }
  const double d[3] = {da, db, dc};
  double sol[3];
  const double det = n.Det();
  for (int c = 0; c < 3; ++c) {
    Mat3 m = n;
    for (int r = 0; r < 3; ++r) m.m[r][c] = d[r];
    sol[c] = m.Det() / det;
  }
  const Vec3 p = Normalized({sol[0], sol[1], sol[2]});
  std::vector<Vec3> orbit;
  for (const Mat3& e : g.elements) orbit.push_back(e * p);
  return UnitEdges(ConvexHull(orbit));
}

Vec3 IcosahedralFiveFoldAxis() { return GroupOf('I').A; }

namespace {

// Snub solid: the orbit under the rotations of a point whose three edges
// (about A, about B, across C) are equally long.
Polyhedron Snub(char kind) {
  const Group& g = GroupOf(kind);
  const double sA = std::sin(kPi / g.pA), sB = std::sin(kPi / g.pB);
  auto point = [&](double v, double w) { return Normalized(g.A + g.B * v + g.C * w); };
  auto residual = [&](double v, double w, double out[2]) {
    const Vec3 p = point(v, w);
    const double eA = sA * AxisDistance(p, g.A), eB = sB * AxisDistance(p, g.B), eC = AxisDistance(p, g.C);
    out[0] = eA - eB;
    out[1] = eB - eC;
  };
  double v = 1, w = 1;
  for (int it = 0; it < 100; ++it) {
    double f[2], fv[2], fw[2];
    residual(v, w, f);
    if (std::fabs(f[0]) + std::fabs(f[1]) < 1e-15) break;
    const double h = 1e-7;
    residual(v + h, w, fv);
    residual(v, w + h, fw);
    const double j00 = (fv[0] - f[0]) / h, j01 = (fw[0] - f[0]) / h;
    const double j10 = (fv[1] - f[1]) / h, j11 = (fw[1] - f[1]) / h;
    const double det = j00 * j11 - j01 * j10;
    v -= (f[0] * j11 - f[1] * j01) / det;
    w -= (j00 * f[1] - j10 * f[0]) / det;
  }
  const Vec3 p = point(v, w);
  std::vector<Vec3> orbit;
  for (const Mat3& e : g.elements)
    if (e.Det() > 0) orbit.push_back(e * p);
  return UnitEdges(ConvexHull(orbit));
}

}  // namespace

Polyhedron PlatonicOrArchimedean(const std::string& n) {
  static const std::map<std::string, std::function<Polyhedron()>> table = {
      {"tetrahedron", [] { return Wythoff('T', 1, 0, 0); }},
      {"cube", [] { return Wythoff('O', 0, 1, 0); }},
      {"octahedron", [] { return Wythoff('O', 1, 0, 0); }},
      {"dodecahedron", [] { return Wythoff('I', 0, 1, 0); }},
      {"icosahedron", [] { return Wythoff('I', 1, 0, 0); }},
      {"truncated tetrahedron", [] { return Wythoff('T', 1, 0, 1); }},
      {"cuboctahedron", [] { return Wythoff('O', 0, 0, 1); }},
      {"truncated cube", [] { return Wythoff('O', 0, 1, 1); }},
      {"truncated octahedron", [] { return Wythoff('O', 1, 0, 1); }},
      {"rhombicuboctahedron", [] { return Wythoff('O', 1, 1, 0); }},
      {"truncated cuboctahedron", [] { return Wythoff('O', 1, 1, 1); }},
      {"snub cube", [] { return Snub('O'); }},
      {"icosidodecahedron", [] { return Wythoff('I', 0, 0, 1); }},
      {"truncated dodecahedron", [] { return Wythoff('I', 0, 1, 1); }},
      {"truncated icosahedron", [] { return Wythoff('I', 1, 0, 1); }},
      {"rhombicosidodecahedron", [] { return Wythoff('I', 1, 1, 0); }},
      {"truncated icosidodecahedron", [] { return Wythoff('I', 1, 1, 1); }},
      {"snub dodecahedron", [] { return Snub('I'); }},
  };
  return table.at(n)();
}

Polyhedron PolarReciprocal(const Polyhedron& p) {
  const Vec3 c = Centroid(p);
  double rho = 0;
  int edges = 0;
  for (const auto& face : p.faces)
    for (std::size_t i = 0; i < face.size(); ++i) {
      rho += Norm((p.vertices[face[i]] + p.vertices[face[(i + 1) % face.size()]]) * 0.5 - c);
      ++edges;
    }
  rho /= edges;
  std::vector<Vec3> poles;
  for (int f = 0; f < static_cast<int>(p.faces.size()); ++f) {
    const Vec3 n = FaceNormal(p, f);
    const double d = Dot(FaceCentre(p, f) - c, n);
    poles.push_back(n * (rho * rho / d));
  }
  return ConvexHull(poles);
}

}  // namespace didod::solids
