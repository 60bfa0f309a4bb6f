#include "solids/johnson.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

#include "solids/assembled.h"
#include "solids/solved.h"
#include "solids/uniform.h"

namespace didod::solids {

namespace {
const double kPi = 3.14159265358979323846;
}  // namespace

// ---------------------------------------------------------------------------
// Parts of the Johnson solids. Every part stands on a regular N-gon of unit
// side in the plane z = 0, corner k at the angle (2k + 1)π/N, and lies above.

std::vector<Vec3> Ring(int n, double z, double radius, double offset) {
  std::vector<Vec3> r;
  for (int k = 0; k < n; ++k) {
    const double a = (2 * k + 1) * kPi / n + offset;
    r.push_back({radius * std::cos(a), radius * std::sin(a), z});
  }
  return r;
}

double Circumradius(int n) { return 0.5 / std::sin(kPi / n); }
double Inradius(int n) { return 0.5 / std::tan(kPi / n); }

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
  Polyhedron id = Wythoff('I', 0, 0, 1);
  const Vec3 z{0, 0, 1};
  const Mat3 toZ = Rotation(Normalized(Cross(IcosahedralFiveFoldAxis(), z)), std::acos(Dot(IcosahedralFiveFoldAxis(), z)));
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

namespace {

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
  const Vec3 n0 = FaceNormal(s, FaceTowards(s, IcosahedralFiveFoldAxis(), 5));
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
  const Vec3 a = IcosahedralFiveFoldAxis();
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

// The truncated dodecahedron with cupolae on two or three decagons, no two
// of them opposite.
Polyhedron MetaAugmentedTruncatedDodecahedron(int count) {
  Polyhedron s = PlatonicOrArchimedean("truncated dodecahedron");
  const double meta = -1 / std::sqrt(5.0);
  std::vector<Vec3> chosen{FaceNormal(s, FaceTowards(s, {0.3, 0.2, 1}, 10))};
  for (int f : FacesAtCosine(s, chosen[0], meta, 10)) {
    if (static_cast<int>(chosen.size()) == count) break;
    bool fits = true;
    for (const Vec3& n : chosen) fits = fits && std::fabs(Dot(FaceNormal(s, f), n) - meta) < 1e-6;
    if (fits) chosen.push_back(FaceNormal(s, f));
  }
  const Part c5 = Cupola(5);
  for (const Vec3& d : chosen) s = Glue(s, FaceTowards(s, d, 10), c5);
  return s;
}

// The rhombicosidodecahedron with cupolae turned or cut off, by Johnson's number.
Polyhedron GyrateOrDiminished(int j) {
  const Cap g1{CapChange::Turned, CapPlace::First}, d1{CapChange::Removed, CapPlace::First};
  const Cap gp{CapChange::Turned, CapPlace::Para}, dp{CapChange::Removed, CapPlace::Para};
  const Cap gm{CapChange::Turned, CapPlace::Meta}, dm{CapChange::Removed, CapPlace::Meta};
  const Cap g3{CapChange::Turned, CapPlace::ThirdMeta}, d3{CapChange::Removed, CapPlace::ThirdMeta};
  switch (j) {
    case 72: return AlteredRhombicosidodecahedron({g1});
    case 73: return AlteredRhombicosidodecahedron({g1, gp});
    case 74: return AlteredRhombicosidodecahedron({g1, gm});
    case 75: return AlteredRhombicosidodecahedron({g1, gm, g3});
    case 76: return AlteredRhombicosidodecahedron({d1});
    case 77: return AlteredRhombicosidodecahedron({d1, gp});
    case 78: return AlteredRhombicosidodecahedron({d1, gm});
    case 79: return AlteredRhombicosidodecahedron({d1, gm, g3});
    case 80: return AlteredRhombicosidodecahedron({d1, dp});
    case 81: return AlteredRhombicosidodecahedron({d1, dm});
    case 82: return AlteredRhombicosidodecahedron({d1, dm, g3});
    case 83: return AlteredRhombicosidodecahedron({d1, dm, d3});
    default: throw std::invalid_argument("no altered rhombicosidodecahedron " + std::to_string(j));
  }
}

// The solids whose measures are solved for; the augmented sphenocorona is
// the sphenocorona with a pyramid on a square.
Polyhedron SolvedSolid(int j) {
  if (j != 87) return ConvexHull(SolvedPoints(JohnsonDesign(j)));
  const Polyhedron s = SolvedSolid(86);
  for (int f = 0; f < static_cast<int>(s.faces.size()); ++f)
    if (s.faces[f].size() == 4) return Glue(s, f, Pyramid(4));
  throw std::logic_error("the sphenocorona has no square");
}

Polyhedron Gyrobifastigium() {
  const double h = std::sqrt(3.0) / 2;
  return ConvexHull({{-0.5, -0.5, 0}, {0.5, -0.5, 0}, {0.5, 0.5, 0}, {-0.5, 0.5, 0},
                     {-0.5, 0, h}, {0.5, 0, h}, {0, -0.5, -h}, {0, 0.5, -h}});
}
}  // namespace

Polyhedron JohnsonSolid(int j) {
  const Part p3 = Pyramid(3), p4 = Pyramid(4), p5 = Pyramid(5);
  const Part c3 = Cupola(3), c4 = Cupola(4), c5 = Cupola(5), r5 = Rotunda();
  auto ortho = [](bool o) { return MirroredAt(0, o); };
  auto elongatedOrtho = [](bool o) { return MirroredAt(0.5, o); };
  switch (j) {
    case 1: return Solid(p4);
    case 2: return Solid(p5);
    case 3: return Solid(c3);
    case 4: return Solid(c4);
    case 5: return Solid(c5);
    case 6: return Solid(r5);
    case 7: return Stack(Prism(3), &p3, nullptr);
    case 8: return Stack(Prism(4), &p4, nullptr);
    case 9: return Stack(Prism(5), &p5, nullptr);
    case 10: return Stack(Antiprism(4), &p4, nullptr);
    case 11: return Stack(Antiprism(5), &p5, nullptr);
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
    case 70: return MetaAugmentedTruncatedDodecahedron(2);
    case 71: return MetaAugmentedTruncatedDodecahedron(3);
    default:
      if (j >= 72 && j <= 83) return GyrateOrDiminished(j);
      if (j >= 84 && j <= 92) return SolvedSolid(j);
      throw std::invalid_argument("no Johnson solid " + std::to_string(j));
  }
}

}  // namespace didod::solids
