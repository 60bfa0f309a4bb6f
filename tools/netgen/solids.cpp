#include "tools/netgen/solids.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

namespace didod::netgen {

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

double AxisDistance(const Vec3& p, const Vec3& axis) { return Norm(p - axis * Dot(p, axis)); }

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

// ---------------------------------------------------------------------------
// Parts of the Johnson solids. Every part stands on a regular N-gon of unit
// side in the plane z = 0, corner k at the angle (2k + 1)π/N, and lies above.

std::vector<Vec3> Ring(int n, double z, double radius, double offset = 0) {
  std::vector<Vec3> r;
  for (int k = 0; k < n; ++k) {
    const double a = (2 * k + 1) * kPi / n + offset;
    r.push_back({radius * std::cos(a), radius * std::sin(a), z});
  }
  return r;
}

double Circumradius(int n) { return 0.5 / std::sin(kPi / n); }
double Inradius(int n) { return 0.5 / std::tan(kPi / n); }

struct Part {
  int base = 0;  // corners of the base polygon
  std::vector<Vec3> points;
};

Part Pyramid(int n) {
  Part p{n, Ring(n, 0, Circumradius(n))};
  p.points.push_back({0, 0, std::sqrt(1 - Circumradius(n) * Circumradius(n))});
  return p;
}

Part Prism(int n) {
  Part p{n, Ring(n, 0, Circumradius(n))};
  for (const Vec3& v : Ring(n, 1, Circumradius(n))) p.points.push_back(v);
  return p;
}

Part Antiprism(int n) {
  const double r = Circumradius(n), chord = 2 * r * std::sin(kPi / (2 * n));
  Part p{n, Ring(n, 0, r)};
  for (const Vec3& v : Ring(n, std::sqrt(1 - chord * chord), r, kPi / n)) p.points.push_back(v);
  return p;
}

Part Cupola(int n) {
  const double d = Inradius(2 * n) - Inradius(n);
  Part p{2 * n, Ring(2 * n, 0, Circumradius(2 * n))};
  for (const Vec3& v : Ring(n, std::sqrt(1 - d * d), Circumradius(n))) p.points.push_back(v);
  return p;
}

// Half of the icosidodecahedron, cut through a decagon.
Part Rotunda() {
  const Group& g = GroupOf('I');
  Polyhedron id = Wythoff('I', 0, 0, 1);
  const Vec3 z{0, 0, 1};
  const Mat3 toZ = Rotation(Normalized(Cross(g.A, z)), std::acos(Dot(g.A, z)));
  std::vector<Vec3> upper;
  for (const Vec3& v : id.vertices) {
    const Vec3 w = toZ * v;
    if (w.z > -1e-9) upper.push_back({w.x, w.y, std::fabs(w.z) < 1e-9 ? 0.0 : w.z});
  }
  double first = 0;
  for (const Vec3& v : upper)
    if (v.z == 0) { first = std::atan2(v.y, v.x); break; }
  const Mat3 turn = Rotation(z, kPi / 10 - first);
  Part p{10, {}};
  for (const Vec3& v : upper) {
    Vec3 w = turn * v;
    if (v.z == 0) w.z = 0;
    p.points.push_back(w);
  }
  return p;
}

Polyhedron Solid(const Part& p) { return ConvexHull(p.points); }

// The part placed on the given face of the solid (the face must be its base
// polygon), turned by `phase` corners.
std::vector<Vec3> PlacedPart(const Polyhedron& s, int face, const Part& part, int phase) {
  const Vec3 c = FaceCentre(s, face), n = FaceNormal(s, face);
  const Vec3 u = Normalized(s.vertices[s.faces[face][0]] - c);
  const double a0 = (2 * phase + 1) * kPi / part.base;
  const Vec3 e1 = u * std::cos(a0) - Cross(n, u) * std::sin(a0);
  const Vec3 e2 = Cross(n, e1);
  std::vector<Vec3> pts = s.vertices;
  for (const Vec3& v : part.points) pts.push_back(c + e1 * v.x + e2 * v.y + n * v.z);
  return pts;
}

using Test = std::function<bool(const Polyhedron&)>;

// Glues the part onto the face in the first turn that merges no faces and
// passes the test.
Polyhedron Glue(const Polyhedron& s, int face, const Part& part, const Test& test = nullptr) {
  if (static_cast<int>(s.faces[face].size()) != part.base) throw std::logic_error("part does not fit the face");
  Polyhedron best;
  std::size_t bestFaces = 0;
  for (int phase = 0; phase < part.base; ++phase) {
    Polyhedron r = ConvexHull(PlacedPart(s, face, part, phase));
    if (test && !test(r)) continue;
    if (r.faces.size() > bestFaces) { best = r; bestFaces = r.faces.size(); }
  }
  if (bestFaces == 0) throw std::logic_error("no way to glue the part");
  return best;
}

// The face of the given size whose normal points most nearly along dir.
int FaceTowards(const Polyhedron& s, const Vec3& dir, int size) {
  int best = -1;
  double bestDot = -2;
  for (int f = 0; f < static_cast<int>(s.faces.size()); ++f) {
    if (static_cast<int>(s.faces[f].size()) != size) continue;
    const double d = Dot(FaceNormal(s, f), Normalized(dir));
    if (d > bestDot + 1e-12) { bestDot = d; best = f; }
  }
  return best;
}

const Vec3 kUp{0, 0, 1}, kDown{0, 0, -1};

// Stack: middle part with optional caps on its top and bottom.
Polyhedron Stack(const Part& middle, const Part* top, const Part* bottom, const Test& bottomTest = nullptr) {
  Polyhedron s = Solid(middle);
  if (top) s = Glue(s, FaceTowards(s, kUp, top->base), *top);
  if (bottom) s = Glue(s, FaceTowards(s, kDown, bottom->base), *bottom, bottomTest);
  return s;
}

Test MirroredAt(double z0, bool wanted) {
  return [z0, wanted](const Polyhedron& p) {
    Mat3 m;
    m.m[2][2] = -1;
    return HasSymmetry(p, m, {0, 0, 2 * z0}) == wanted;
  };
}

// Cupola-rotunda forms: "ortho" when triangles of both halves meet across the joint.
int TriangleToTriangleEdgesAt(const Polyhedron& p, double z0) {
  const auto edges = DirectedEdges(p);
  int count = 0;
  for (const auto& [e, f] : edges) {
    if (e.first > e.second) continue;
    const auto g = edges.find({e.second, e.first});
    if (g == edges.end()) continue;
    if (std::fabs(p.vertices[e.first].z - z0) < 1e-9 && std::fabs(p.vertices[e.second].z - z0) < 1e-9 &&
        p.faces[f].size() == 3 && p.faces[g->second].size() == 3)
      ++count;
  }
  return count;
}

int UprightSquaresBetweenTriangles(const Polyhedron& p) {
  const auto edges = DirectedEdges(p);
  int count = 0;
  for (int f = 0; f < static_cast<int>(p.faces.size()); ++f) {
    if (p.faces[f].size() != 4 || std::fabs(FaceNormal(p, f).z) > 1e-9) continue;
    int triangles = 0;
    const auto& face = p.faces[f];
    for (std::size_t i = 0; i < 4; ++i) {
      const int g = edges.at({face[(i + 1) % 4], face[i]});
      if (p.faces[g].size() == 3) ++triangles;
    }
    if (triangles == 2) ++count;
  }
  return count;
}

// Side faces of a prism standing on z = 0, by the angle of their normals.
std::vector<int> PrismSides(const Polyhedron& p) {
  std::vector<std::pair<double, int>> sides;
  for (int f = 0; f < static_cast<int>(p.faces.size()); ++f) {
    const Vec3 n = FaceNormal(p, f);
    if (std::fabs(n.z) < 1e-9) {
      double a = std::atan2(n.y, n.x);
      if (a < -1e-9) a += 2 * kPi;
      sides.push_back({a, f});
    }
  }
  std::sort(sides.begin(), sides.end());
  std::vector<int> r;
  for (auto& s : sides) r.push_back(s.second);
  return r;
}

Polyhedron AugmentPrism(int n, const std::vector<int>& sides) {
  Polyhedron s = Solid(Prism(n));
  std::vector<Vec3> normals;
  const std::vector<int> order = PrismSides(s);
  for (int k : sides) normals.push_back(FaceNormal(s, order[k]));
  for (const Vec3& d : normals) s = Glue(s, FaceTowards(s, d, 4), Pyramid(4));
  return s;
}

// Faces (of the given size) whose normals make the given cosine with n.
std::vector<int> FacesAtCosine(const Polyhedron& p, const Vec3& n, double cosine, int size) {
  std::vector<int> r;
  for (int f = 0; f < static_cast<int>(p.faces.size()); ++f)
    if (static_cast<int>(p.faces[f].size()) == size && std::fabs(Dot(FaceNormal(p, f), n) - cosine) < 1e-6)
      r.push_back(f);
  return r;
}

Polyhedron AugmentDodecahedron(int count, bool para) {
  Polyhedron s = UnitEdges(Wythoff('I', 0, 1, 0));
  const Vec3 n0 = FaceNormal(s, FaceTowards(s, GroupOf('I').A, 5));
  std::vector<Vec3> chosen{n0};
  const double meta = -1 / std::sqrt(5.0);
  if (count >= 2) {
    if (para) {
      chosen.push_back(-n0);
    } else {
      const int f1 = FacesAtCosine(s, n0, meta, 5).front();
      chosen.push_back(FaceNormal(s, f1));
      if (count == 3) {
        for (int f : FacesAtCosine(s, n0, meta, 5))
          if (std::fabs(Dot(FaceNormal(s, f), chosen[1]) - meta) < 1e-6) { chosen.push_back(FaceNormal(s, f)); break; }
      }
    }
  }
  for (const Vec3& d : chosen) s = Glue(s, FaceTowards(s, d, 5), Pyramid(5));
  return s;
}

// Icosahedron with vertices removed, the removed ones pairwise neither
// neighbours nor opposite.
Polyhedron DiminishedIcosahedron(int removed) {
  Polyhedron ico = Wythoff('I', 1, 0, 0);
  std::vector<int> gone;
  const Vec3 a = GroupOf('I').A;
  int v0 = 0;
  for (int v = 1; v < static_cast<int>(ico.vertices.size()); ++v)
    if (Dot(Normalized(ico.vertices[v]), a) > Dot(Normalized(ico.vertices[v0]), a)) v0 = v;
  gone.push_back(v0);
  const double meta = -1 / std::sqrt(5.0);
  for (int v = 0; v < static_cast<int>(ico.vertices.size()) && static_cast<int>(gone.size()) < removed; ++v) {
    bool ok = true;
    for (int g : gone)
      if (std::fabs(Dot(Normalized(ico.vertices[v]), Normalized(ico.vertices[g])) - meta) > 1e-6) ok = false;
    if (ok) gone.push_back(v);
  }
  std::vector<Vec3> kept;
  for (int v = 0; v < static_cast<int>(ico.vertices.size()); ++v)
    if (std::find(gone.begin(), gone.end(), v) == gone.end()) kept.push_back(ico.vertices[v]);
  return ConvexHull(kept);
}

Polyhedron AugmentedTruncated(const std::string& solid, int baseCorners, const Part& cupola, int count) {
  Polyhedron s = PlatonicOrArchimedean(solid);
  const int f0 = FaceTowards(s, {0.3, 0.2, 1}, baseCorners);
  const Vec3 n0 = FaceNormal(s, f0);
  s = Glue(s, f0, cupola);
  if (count == 2) s = Glue(s, FaceTowards(s, -n0, baseCorners), cupola);
  return s;
}

Polyhedron Gyrobifastigium() {
  const double h = std::sqrt(3.0) / 2;
  return ConvexHull({{-0.5, -0.5, 0}, {0.5, -0.5, 0}, {0.5, 0.5, 0}, {-0.5, 0.5, 0},
                     {-0.5, 0, h}, {0.5, 0, h}, {0, -0.5, -h}, {0, 0.5, -h}});
}

// ---------------------------------------------------------------------------
// Solids built face by face.

// Every face of the base replaced by a pyramid of the given height.
Polyhedron Stellated(const Polyhedron& base, double height) {
  Polyhedron p;
  p.vertices = base.vertices;
  for (int f = 0; f < static_cast<int>(base.faces.size()); ++f) {
    const int apex = static_cast<int>(p.vertices.size());
    p.vertices.push_back(FaceCentre(base, f) + FaceNormal(base, f) * height);
    const auto& face = base.faces[f];
    for (std::size_t i = 0; i < face.size(); ++i) p.faces.push_back({face[i], face[(i + 1) % face.size()], apex});
  }
  return p;
}

// A right prism over a polygon given counter-clockwise in the plane.
Polyhedron PrismOver(const std::vector<Vec2>& outline, double height) {
  Polyhedron p;
  const int n = static_cast<int>(outline.size());
  for (const Vec2& v : outline) p.vertices.push_back({v.x, v.y, 0});
  for (const Vec2& v : outline) p.vertices.push_back({v.x, v.y, height});
  std::vector<int> bottom, top;
  for (int i = 0; i < n; ++i) { bottom.push_back(n - 1 - i); top.push_back(n + i); }
  p.faces.push_back(bottom);
  p.faces.push_back(top);
  for (int i = 0; i < n; ++i) {
    const int j = (i + 1) % n;
    p.faces.push_back({i, j, n + j, n + i});
  }
  return p;
}

std::vector<Vec2> RegularOutline(int n, double side) {
  std::vector<Vec2> r;
  const double radius = side * Circumradius(n);
  for (int k = 0; k < n; ++k) r.push_back({radius * std::cos(2 * kPi * k / n), radius * std::sin(2 * kPi * k / n)});
  return r;
}

Polyhedron Pentagramprism() {
  // Tips on the outer circle, the notches where the star's edges cross.
  const double inner = std::cos(2 * kPi / 5) / std::cos(kPi / 5);
  std::vector<Vec2> outline;
  for (int k = 0; k < 5; ++k) {
    const double a = kPi / 2 + 2 * kPi * k / 5;
    outline.push_back({std::cos(a), std::sin(a)});
    outline.push_back({inner * std::cos(a + kPi / 5), inner * std::sin(a + kPi / 5)});
  }
  const double side = Distance(outline[0], outline[1]);
  for (Vec2& v : outline) v = v * (1 / side);
  return PrismOver(outline, 1);
}

// Frustum of a regular n-gon pyramid: bottom side 2, top side 1, the slant
// height of its trapezia 2.
std::vector<Vec3> FrustumPoints(int n, double sign) {
  const double drop = Inradius(n) * (2 - 1);
  const double h = std::sqrt(4 - drop * drop);
  std::vector<Vec3> pts = Ring(n, 0, 2 * Circumradius(n));
  for (const Vec3& v : Ring(n, sign * h, Circumradius(n))) pts.push_back(v);
  return pts;
}

Polyhedron SquarePyramidOfHexagon() {
  std::vector<Vec3> pts = Ring(6, 0, 1);
  pts.push_back({0, 0, std::sqrt(3.0)});
  return ConvexHull(pts);
}

}  // namespace

// ---------------------------------------------------------------------------

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

Polyhedron JohnsonSolid(int j) {
  const Part p3 = Pyramid(3), p4 = Pyramid(4), p5 = Pyramid(5);
  const Part c3 = Cupola(3), c4 = Cupola(4), c5 = Cupola(5), r5 = Rotunda();
  auto ortho = [](bool o) { return MirroredAt(0, o); };
  auto elongatedOrtho = [](bool o) { return MirroredAt(0.5, o); };
  switch (j) {
    case 12: return Stack(p3, nullptr, &p3);
    case 13: return Stack(p5, nullptr, &p5);
    case 14: return Stack(Prism(3), &p3, &p3);
    case 15: return Stack(Prism(4), &p4, &p4);
    case 16: return Stack(Prism(5), &p5, &p5);
    case 17: return Stack(Antiprism(4), &p4, &p4);
    case 18: return Stack(Prism(6), &c3, nullptr);
    case 19: return Stack(Prism(8), &c4, nullptr);
    case 20: return Stack(Prism(10), &c5, nullptr);
    case 21: return Stack(Prism(10), &r5, nullptr);
    case 22: return Stack(Antiprism(6), &c3, nullptr);
    case 23: return Stack(Antiprism(8), &c4, nullptr);
    case 24: return Stack(Antiprism(10), &c5, nullptr);
    case 25: return Stack(Antiprism(10), &r5, nullptr);
    case 26: return Gyrobifastigium();
    case 27: return Stack(c3, nullptr, &c3, ortho(true));
    case 28: return Stack(c4, nullptr, &c4, ortho(true));
    case 29: return Stack(c4, nullptr, &c4, ortho(false));
    case 30: return Stack(c5, nullptr, &c5, ortho(true));
    case 31: return Stack(c5, nullptr, &c5, ortho(false));
    case 32:
    case 33: {
      const bool o = j == 32;
      return Stack(r5, nullptr, &c5, [o](const Polyhedron& p) { return (TriangleToTriangleEdgesAt(p, 0) > 0) == o; });
    }
    case 34: return Stack(r5, nullptr, &r5, ortho(true));
    case 35: return Stack(Prism(6), &c3, &c3, elongatedOrtho(true));
    case 36: return Stack(Prism(6), &c3, &c3, elongatedOrtho(false));
    case 37: return Stack(Prism(8), &c4, &c4, elongatedOrtho(false));
    case 38: return Stack(Prism(10), &c5, &c5, elongatedOrtho(true));
    case 39: return Stack(Prism(10), &c5, &c5, elongatedOrtho(false));
    case 40:
    case 41: {
      const bool o = j == 40;
      return Stack(Prism(10), &c5, &r5, [o](const Polyhedron& p) { return (UprightSquaresBetweenTriangles(p) > 0) == o; });
    }
    case 42: return Stack(Prism(10), &r5, &r5, elongatedOrtho(true));
    case 43: return Stack(Prism(10), &r5, &r5, elongatedOrtho(false));
    case 44: return Stack(Antiprism(6), &c3, &c3);
    case 45: return Stack(Antiprism(8), &c4, &c4);
    case 46: return Stack(Antiprism(10), &c5, &c5);
    case 47: return Stack(Antiprism(10), &c5, &r5);
    case 48: return Stack(Antiprism(10), &r5, &r5);
    case 49: return AugmentPrism(3, {0});
    case 50: return AugmentPrism(3, {0, 1});
    case 51: return AugmentPrism(3, {0, 1, 2});
    case 52: return AugmentPrism(5, {0});
    case 53: return AugmentPrism(5, {0, 2});
    case 54: return AugmentPrism(6, {0});
    case 55: return AugmentPrism(6, {0, 3});
    case 56: return AugmentPrism(6, {0, 2});
    case 57: return AugmentPrism(6, {0, 2, 4});
    case 58: return AugmentDodecahedron(1, false);
    case 59: return AugmentDodecahedron(2, true);
    case 60: return AugmentDodecahedron(2, false);
    case 61: return AugmentDodecahedron(3, false);
    case 62: return DiminishedIcosahedron(2);
    case 63: return DiminishedIcosahedron(3);
    case 64: {
      // The tetrahedron goes on the one triangle that borders all three pentagons.
      Polyhedron s = DiminishedIcosahedron(3);
      const auto edges = DirectedEdges(s);
      for (int f = 0; f < static_cast<int>(s.faces.size()); ++f) {
        if (s.faces[f].size() != 3) continue;
        int pentagons = 0;
        for (int i = 0; i < 3; ++i)
          if (s.faces[edges.at({s.faces[f][(i + 1) % 3], s.faces[f][i]})].size() == 5) ++pentagons;
        if (pentagons == 3) return Glue(s, f, p3);
      }
      throw std::logic_error("no triangle for the augmentation");
    }
    case 65: return AugmentedTruncated("truncated tetrahedron", 6, c3, 1);
    case 66: return AugmentedTruncated("truncated cube", 8, c4, 1);
    case 67: return AugmentedTruncated("truncated cube", 8, c4, 2);
    case 68: return AugmentedTruncated("truncated dodecahedron", 10, c5, 1);
    case 69: return AugmentedTruncated("truncated dodecahedron", 10, c5, 2);
    default: throw std::invalid_argument("no Johnson solid " + std::to_string(j));
  }
}

const std::vector<std::string>& CatalogueNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n = {"Antiprisma 5", "Antiprisma 6", "Abgeschrägtes Dodekaeder", "Abgeschrägter Würfel",
                                  "Deltoid-24-Flächner", "Deltoid-60-Flächner", "Dodekaeder", "Dodekaederstumpf",
                                  "Fünfseitige Pyramide", "Fünfseitiger Doppelstumpf", "Fünfseitiger Pyramidenstumpf",
                                  "Fünfseitiges Prisma", "Hexaederstumpf", "Hexakisikosaeder", "Hexakisoktaeder",
                                  "Ikosaeder", "Ikosaederstumpf", "Ikosidodekaeder", "Ikosidodekaederstumpf"};
    for (int j = 12; j <= 69; ++j) n.push_back("Johnson Polyeder " + std::to_string(j));
    for (const char* s : {"Kuboktaeder", "Kuboktaederstumpf", "Oktaeder", "Oktaederstumpf", "Pentagon-60-Flächner",
                          "Pentagonikositetraeder", "Pentagrammprisma", "Pyramidendodekaeder", "Pyramidenikosaeder",
                          "Pyramidenoktaeder", "Pyramidentetraeder", "Pyramidenwürfel", "Rhombendodekaeder",
                          "Rhombenikosidodekaeder", "Rhombenkuboktaeder", "Rhombentriakontaeder",
                          "Sechsseitige Pyramide", "Sechsseitiger Pyramidenstumpf", "Siebenseitiger Pyramidenstumpf",
                          "Spikey", "Sterndodekaeder", "Tetraeder", "Tetraederstumpf", "Triakistetraeder",
                          "Vierseitiges Prisma", "Würfel"})
      n.push_back(s);
    return n;
  }();
  return names;
}

namespace {

const std::map<std::string, std::string>& UniformNames() {
  static const std::map<std::string, std::string> m = {
      {"Tetraeder", "tetrahedron"}, {"Würfel", "cube"}, {"Oktaeder", "octahedron"}, {"Dodekaeder", "dodecahedron"},
      {"Ikosaeder", "icosahedron"}, {"Tetraederstumpf", "truncated tetrahedron"}, {"Kuboktaeder", "cuboctahedron"},
      {"Hexaederstumpf", "truncated cube"}, {"Oktaederstumpf", "truncated octahedron"},
      {"Rhombenkuboktaeder", "rhombicuboctahedron"}, {"Kuboktaederstumpf", "truncated cuboctahedron"},
      {"Abgeschrägter Würfel", "snub cube"}, {"Ikosidodekaeder", "icosidodecahedron"},
      {"Dodekaederstumpf", "truncated dodecahedron"}, {"Ikosaederstumpf", "truncated icosahedron"},
      {"Rhombenikosidodekaeder", "rhombicosidodecahedron"}, {"Ikosidodekaederstumpf", "truncated icosidodecahedron"},
      {"Abgeschrägtes Dodekaeder", "snub dodecahedron"}};
  return m;
}

const std::map<std::string, std::string>& CatalanNames() {
  static const std::map<std::string, std::string> m = {
      {"Triakistetraeder", "truncated tetrahedron"}, {"Rhombendodekaeder", "cuboctahedron"},
      {"Pyramidenoktaeder", "truncated cube"}, {"Pyramidenwürfel", "truncated octahedron"},
      {"Deltoid-24-Flächner", "rhombicuboctahedron"}, {"Hexakisoktaeder", "truncated cuboctahedron"},
      {"Pentagonikositetraeder", "snub cube"}, {"Rhombentriakontaeder", "icosidodecahedron"},
      {"Pyramidenikosaeder", "truncated dodecahedron"}, {"Pyramidendodekaeder", "truncated icosahedron"},
      {"Deltoid-60-Flächner", "rhombicosidodecahedron"}, {"Hexakisikosaeder", "truncated icosidodecahedron"},
      {"Pentagon-60-Flächner", "snub dodecahedron"}};
  return m;
}

}  // namespace

SolidTraits TraitsOf(const std::string& name) {
  SolidTraits t;
  if (UniformNames().count(name) || name.rfind("Johnson Polyeder ", 0) == 0 || name == "Antiprisma 5" ||
      name == "Antiprisma 6" || name == "Fünfseitige Pyramide" || name == "Pyramidentetraeder" || name == "Spikey") {
    t.equalEdges = t.regularFaces = true;
  }
  if (name == "Rhombendodekaeder" || name == "Rhombentriakontaeder" || name == "Pentagrammprisma") t.equalEdges = true;
  if (name == "Pentagrammprisma" || name == "Pyramidentetraeder" || name == "Spikey" || name == "Sterndodekaeder")
    t.convex = false;
  return t;
}

Polyhedron BuildSolid(const std::string& name) {
  if (auto u = UniformNames().find(name); u != UniformNames().end()) return PlatonicOrArchimedean(u->second);
  if (auto c = CatalanNames().find(name); c != CatalanNames().end())
    return PolarReciprocal(PlatonicOrArchimedean(c->second));
  if (name.rfind("Johnson Polyeder ", 0) == 0) {
    const std::string number = name.substr(17);
    if (number.size() == 2 && std::isdigit(static_cast<unsigned char>(number[0])) &&
        std::isdigit(static_cast<unsigned char>(number[1])))
      return JohnsonSolid(std::stoi(number));
  }
  if (name == "Antiprisma 5") return Solid(Antiprism(5));
  if (name == "Antiprisma 6") return Solid(Antiprism(6));
  if (name == "Fünfseitige Pyramide") return Solid(Pyramid(5));
  if (name == "Sechsseitige Pyramide") return SquarePyramidOfHexagon();
  if (name == "Vierseitiges Prisma") return PrismOver(RegularOutline(4, 1), 2);
  if (name == "Fünfseitiges Prisma") return PrismOver(RegularOutline(5, 1), 2);
  if (name == "Pentagrammprisma") return Pentagramprism();
  if (name == "Fünfseitiger Pyramidenstumpf") return ConvexHull(FrustumPoints(5, 1));
  if (name == "Sechsseitiger Pyramidenstumpf") return ConvexHull(FrustumPoints(6, 1));
  if (name == "Siebenseitiger Pyramidenstumpf") return ConvexHull(FrustumPoints(7, 1));
  if (name == "Fünfseitiger Doppelstumpf") {
    std::vector<Vec3> pts = FrustumPoints(5, 1);
    for (const Vec3& v : FrustumPoints(5, -1)) pts.push_back(v);
    return ConvexHull(pts);
  }
  if (name == "Pyramidentetraeder") return Stellated(PlatonicOrArchimedean("tetrahedron"), std::sqrt(2.0 / 3));
  if (name == "Spikey") return Stellated(PlatonicOrArchimedean("icosahedron"), std::sqrt(2.0 / 3));
  if (name == "Sterndodekaeder") {
    const double r = Circumradius(5);
    return Stellated(PlatonicOrArchimedean("dodecahedron"), std::sqrt(kPhi * kPhi - r * r));
  }
  throw std::invalid_argument("no solid named " + name);
}

}  // namespace didod::netgen
