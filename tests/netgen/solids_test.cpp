#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "tests/netgen/expected_counts.h"
#include "tools/netgen/solids.h"

namespace didod::netgen {
namespace {

const double kPhi = (1 + std::sqrt(5.0)) / 2;

TEST(Solids, EveryModelIsAClosedSolidWithTheRightFaces) {
  ASSERT_EQ(CatalogueNames().size(), 103u);
  for (const std::string& name : CatalogueNames()) {
    SCOPED_TRACE(name);
    const Polyhedron p = BuildSolid(name);
    const SolidTraits t = TraitsOf(name);
    EXPECT_TRUE(IsClosed(p));
    EXPECT_EQ(EulerCharacteristic(p), 2);
    EXPECT_GT(Volume(p), 0) << "faces must run counter-clockwise seen from outside";
    EXPECT_LT(PlanarityError(p), 1e-9);
    if (t.convex) {
      EXPECT_LT(ConvexityError(p), 1e-9);
    } else {
      EXPECT_GT(ConvexityError(p), 0.1);
    }
    const auto [lo, hi] = EdgeLengthRange(p);
    if (t.equalEdges) {
      EXPECT_LT(hi - lo, 1e-9 * hi);
    }
    if (t.regularFaces) {
      EXPECT_TRUE(FacesRegular(p, 1e-9));
    }
    ASSERT_TRUE(testing::ExpectedFaces().count(name));
    EXPECT_EQ(FaceCountsBySize(p), testing::ParseCounts(testing::ExpectedFaces().at(name)));
  }
}

TEST(Solids, VertexAndEdgeCountsOfSomeJohnsonSolids) {
  const std::map<int, std::pair<int, int>> ve = {{20, {25, 45}}, {21, {30, 55}}, {25, {30, 65}}, {34, {30, 60}},
                                                 {48, {40, 90}}, {64, {10, 18}}, {65, {15, 27}}, {68, {65, 105}},
                                                 {69, {70, 120}}, {26, {8, 14}}, {63, {9, 15}}};
  for (const auto& [j, counts] : ve) {
    SCOPED_TRACE(j);
    const Polyhedron p = JohnsonSolid(j);
    EXPECT_EQ(static_cast<int>(p.vertices.size()), counts.first);
    EXPECT_EQ(EdgeCount(p), counts.second);
  }
  EXPECT_THROW(JohnsonSolid(0), std::invalid_argument);
  EXPECT_THROW(JohnsonSolid(93), std::invalid_argument);
  EXPECT_THROW(BuildSolid("Johnson Polyeder 70"), std::invalid_argument);
  EXPECT_THROW(BuildSolid("Kugel"), std::invalid_argument);
}

// Mirror in the plane halfway up the solid (the stacked solids stand on the z axis).
bool MirroredHalfway(const Polyhedron& p) {
  double lo = 1e300, hi = -1e300;
  for (const Vec3& v : p.vertices) { lo = std::min(lo, v.z); hi = std::max(hi, v.z); }
  Mat3 m;
  m.m[2][2] = -1;
  return HasSymmetry(p, m, {0, 0, lo + hi});
}

int EdgesBetween(const Polyhedron& p, std::size_t a, std::size_t b) {
  const auto edges = DirectedEdges(p);
  int n = 0;
  for (const auto& [e, f] : edges) {
    const int g = edges.at({e.second, e.first});
    if (e.first < e.second && ((p.faces[f].size() == a && p.faces[g].size() == b) ||
                               (p.faces[f].size() == b && p.faces[g].size() == a)))
      ++n;
  }
  return n;
}

TEST(Solids, OrthoAndGyroFormsDifferInSymmetry) {
  for (int j : {27, 28, 30, 34, 35, 38, 42}) EXPECT_TRUE(MirroredHalfway(JohnsonSolid(j))) << j;
  for (int j : {29, 31, 36, 37, 39, 43}) EXPECT_FALSE(MirroredHalfway(JohnsonSolid(j))) << j;
  // Cupola and rotunda: in the ortho form their triangles meet across the joint.
  EXPECT_EQ(EdgesBetween(JohnsonSolid(32), 3, 3), 5);
  EXPECT_EQ(EdgesBetween(JohnsonSolid(33), 3, 3), 0);
  // Elongated: a prism square between two triangles, above and below.
  auto squaresBetweenTriangles = [](const Polyhedron& p) {
    const auto edges = DirectedEdges(p);
    int n = 0;
    for (const auto& face : p.faces) {
      if (face.size() != 4) continue;
      int sizes[4];
      for (int i = 0; i < 4; ++i) sizes[i] = static_cast<int>(p.faces[edges.at({face[(i + 1) % 4], face[i]})].size());
      for (int i = 0; i < 2; ++i)
        if (sizes[i] == 3 && sizes[i + 2] == 3 && sizes[i + 1] == 4 && sizes[(i + 3) % 4] == 4) ++n;
    }
    return n;
  };
  EXPECT_EQ(squaresBetweenTriangles(JohnsonSolid(40)), 5);
  EXPECT_EQ(squaresBetweenTriangles(JohnsonSolid(41)), 0);
}

// Apexes of the added pyramids: vertices all of whose faces are triangles.
std::vector<Vec3> Apexes(const Polyhedron& p, std::size_t degree) {
  std::map<int, std::set<std::size_t>> sizes;
  std::map<int, int> count;
  for (const auto& f : p.faces)
    for (int v : f) { sizes[v].insert(f.size()); ++count[v]; }
  std::vector<Vec3> r;
  for (const auto& [v, s] : sizes)
    if (s == std::set<std::size_t>{3} && count[v] == static_cast<int>(degree)) r.push_back(p.vertices[v]);
  return r;
}

TEST(Solids, ParaAndMetaFormsDifferInWhereTheAugmentationsSit) {
  for (auto [para, meta, degree] : {std::tuple{55, 56, 4}, std::tuple{59, 60, 5}}) {
    const Polyhedron pp = JohnsonSolid(para), pm = JohnsonSolid(meta);
    const auto ap = Apexes(pp, degree), am = Apexes(pm, degree);
    ASSERT_EQ(ap.size(), 2u);
    ASSERT_EQ(am.size(), 2u);
    const Vec3 cp = Centroid(pp), cm = Centroid(pm);
    EXPECT_NEAR(Norm(ap[0] + ap[1] - cp * 2), 0, 1e-9) << para;
    EXPECT_GT(Norm(am[0] + am[1] - cm * 2), 0.1) << meta;
  }
}

double Angle(const Vec3& a, const Vec3& b, const Vec3& c) {
  return std::acos(Dot(Normalized(a - b), Normalized(c - b)));
}

TEST(Solids, FacesOfTheSpecialSolidsHaveTheirSizes) {
  // Hexagonal pyramid: hexagon of side 1, legs 2.
  Polyhedron hp = BuildSolid("Sechsseitige Pyramide");
  for (const auto& f : hp.faces) {
    if (f.size() != 3) continue;
    std::vector<double> sides;
    for (int i = 0; i < 3; ++i) sides.push_back(Distance(hp.vertices[f[i]], hp.vertices[f[(i + 1) % 3]]));
    std::sort(sides.begin(), sides.end());
    EXPECT_NEAR(sides[0], 1, 1e-12);
    EXPECT_NEAR(sides[1], 2, 1e-12);
    EXPECT_NEAR(sides[2], 2, 1e-12);
  }
  // Frusta: trapezia with parallel sides 2 and 1 and height 2.
  for (const char* name : {"Fünfseitiger Pyramidenstumpf", "Sechsseitiger Pyramidenstumpf",
                           "Siebenseitiger Pyramidenstumpf", "Fünfseitiger Doppelstumpf"}) {
    SCOPED_TRACE(name);
    Polyhedron p = BuildSolid(name);
    for (const auto& f : p.faces) {
      if (f.size() != 4) continue;
      std::vector<double> sides;
      for (int i = 0; i < 4; ++i) sides.push_back(Distance(p.vertices[f[i]], p.vertices[f[(i + 1) % 4]]));
      std::vector<double> sorted = sides;
      std::sort(sorted.begin(), sorted.end());
      EXPECT_NEAR(sorted[0], 1, 1e-12);
      EXPECT_NEAR(sorted[1], 2, 1e-12);
      EXPECT_NEAR(sorted[2], std::sqrt(4 + 0.25), 1e-12);  // legs over height 2 and offset 1/2
      EXPECT_NEAR(sorted[3], std::sqrt(4 + 0.25), 1e-12);
      // The parallel sides are opposite each other.
      EXPECT_NEAR(sides[0] + sides[2], 3, 1e-12);
    }
  }
  // Prisms of height 2 over unit polygons.
  for (const char* name : {"Vierseitiges Prisma", "Fünfseitiges Prisma"}) {
    const auto [lo, hi] = EdgeLengthRange(BuildSolid(name));
    EXPECT_NEAR(lo, 1, 1e-12);
    EXPECT_NEAR(hi, 2, 1e-12);
  }
  // Pentagram prism: the star's outline, angles 36° at the tips and 252° at the notches.
  Polyhedron pp = BuildSolid("Pentagrammprisma");
  for (const auto& f : pp.faces) {
    if (f.size() != 10) continue;
    const Vec3 n = FaceNormal(pp, static_cast<int>(&f - &pp.faces[0]));
    std::vector<double> angles;
    for (int i = 0; i < 10; ++i) {
      const Vec3 a = pp.vertices[f[(i + 9) % 10]], b = pp.vertices[f[i]], c = pp.vertices[f[(i + 1) % 10]];
      double angle = Angle(a, b, c) * 180 / 3.14159265358979323846;
      if (Dot(Cross(c - b, a - b), n) < 0) angle = 360 - angle;  // reflex
      angles.push_back(angle);
    }
    for (int i = 0; i < 10; ++i) {
      EXPECT_TRUE(std::fabs(angles[i] - 36) < 1e-9 || std::fabs(angles[i] - 252) < 1e-9) << angles[i];
      EXPECT_NEAR(angles[i] + angles[(i + 1) % 10], 288, 1e-9);
    }
  }
  // Small stellated dodecahedron: golden triangles with legs φ times the base.
  Polyhedron sd = BuildSolid("Sterndodekaeder");
  for (const auto& f : sd.faces) {
    std::vector<double> s;
    for (int i = 0; i < 3; ++i) s.push_back(Distance(sd.vertices[f[i]], sd.vertices[f[(i + 1) % 3]]));
    std::sort(s.begin(), s.end());
    EXPECT_NEAR(s[1] / s[0], kPhi, 1e-12);
    EXPECT_NEAR(s[2] / s[0], kPhi, 1e-12);
  }
}

TEST(Solids, CatalanSolidsHaveCongruentFacesAndAreDualToTheirArchimedeanSolids) {
  const std::map<std::string, std::string> duals = {{"Deltoid-24-Flächner", "Rhombenkuboktaeder"},
                                                    {"Pentagon-60-Flächner", "Abgeschrägtes Dodekaeder"},
                                                    {"Hexakisikosaeder", "Ikosidodekaederstumpf"},
                                                    {"Pyramidenwürfel", "Oktaederstumpf"}};
  for (const auto& [catalan, archimedean] : duals) {
    SCOPED_TRACE(catalan);
    const Polyhedron c = BuildSolid(catalan), a = BuildSolid(archimedean);
    EXPECT_EQ(c.vertices.size(), a.faces.size());
    EXPECT_EQ(c.faces.size(), a.vertices.size());
    // Every face has the same multiset of sides.
    std::vector<double> first;
    for (std::size_t f = 0; f < c.faces.size(); ++f) {
      std::vector<double> sides;
      const auto& face = c.faces[f];
      for (std::size_t i = 0; i < face.size(); ++i)
        sides.push_back(Distance(c.vertices[face[i]], c.vertices[face[(i + 1) % face.size()]]));
      std::sort(sides.begin(), sides.end());
      if (f == 0) first = sides;
      for (std::size_t i = 0; i < sides.size(); ++i) EXPECT_NEAR(sides[i], first[i], 1e-9);
    }
  }
  // The kites of the deltoidal icositetrahedron: angles of about 81.579° and 115.263°.
  const Polyhedron d = BuildSolid("Deltoid-24-Flächner");
  std::vector<double> angles;
  const auto& f = d.faces[0];
  for (int i = 0; i < 4; ++i)
    angles.push_back(Angle(d.vertices[f[(i + 3) % 4]], d.vertices[f[i]], d.vertices[f[(i + 1) % 4]]) * 180 /
                     3.14159265358979323846);
  std::sort(angles.begin(), angles.end());
  EXPECT_NEAR(angles[0], 81.579, 1e-3);
  EXPECT_NEAR(angles[3], 115.263, 1e-3);
}

TEST(Hull, MergesCoplanarTrianglesAndDropsInnerPoints) {
  std::vector<Vec3> pts;
  for (int x = 0; x <= 2; ++x)
    for (int y = 0; y <= 2; ++y)
      for (int z = 0; z <= 2; ++z) pts.push_back({double(x), double(y), double(z)});
  // The 3x3x3 grid has points inside faces; only the corners make the cube.
  std::vector<Vec3> corners;
  for (const Vec3& v : pts)
    if ((v.x != 1) && (v.y != 1) && (v.z != 1)) corners.push_back(v);
  corners.push_back({1, 1, 1});
  const Polyhedron cube = ConvexHull(corners);
  EXPECT_EQ(cube.vertices.size(), 8u);
  EXPECT_EQ(cube.faces.size(), 6u);
  EXPECT_TRUE(IsClosed(cube));
  EXPECT_NEAR(Volume(cube), 8, 1e-12);
  EXPECT_THROW(ConvexHull({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}), std::runtime_error);
}

}  // namespace
}  // namespace didod::netgen
