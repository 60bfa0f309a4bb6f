// The Johnson solids that differ only in where their parts sit, and the
// solids whose measures are solved for.
#include <gtest/gtest.h>

#include <cmath>

#include "solids/johnson.h"
#include "solids/solved.h"
#include "solids/uniform.h"
#include "unfold/polyhedron.h"

namespace didod::solids {
namespace {

bool CentrallySymmetric(const Polyhedron& p) {
  Mat3 minus;
  for (int i = 0; i < 3; ++i) minus.m[i][i] = -1;
  return unfold::HasSymmetry(p, minus, Centroid(p) * 2);
}

TEST(Forms, ParaFormsAreSymmetricAboutTheirCentreAndMetaFormsAreNot) {
  for (int j : {69, 73, 80}) EXPECT_TRUE(CentrallySymmetric(JohnsonSolid(j))) << j;
  for (int j : {70, 74, 81, 71, 75, 83, 72, 76}) EXPECT_FALSE(CentrallySymmetric(JohnsonSolid(j))) << j;
  EXPECT_TRUE(CentrallySymmetric(PlatonicOrArchimedean("rhombicosidodecahedron")));
  // A turned cupola meets the rest square to square (and triangle to
  // triangle) across five edges of the seam, where the original solid has a
  // square next to a triangle or pentagon.
  auto seam = [](const Polyhedron& p) {
    std::vector<Vec3> mids;
    const auto edges = DirectedEdges(p);
    for (const auto& [e, f] : edges)
      if (e.first < e.second && p.faces[f].size() == 4 && p.faces[edges.at({e.second, e.first})].size() == 4)
        mids.push_back((p.vertices[e.first] + p.vertices[e.second]) * 0.5);
    return mids;
  };
  EXPECT_EQ(seam(PlatonicOrArchimedean("rhombicosidodecahedron")).size(), 0u);
  for (auto [j, seams] : {std::pair{72, 5}, std::pair{73, 10}, std::pair{74, 10}, std::pair{75, 15},
                          std::pair{76, 0}, std::pair{77, 5}, std::pair{78, 5}, std::pair{79, 10},
                          std::pair{82, 5}, std::pair{83, 0}})
    EXPECT_EQ(seam(JohnsonSolid(j)).size(), static_cast<std::size_t>(seams)) << j;
  // J77 turns the cupola opposite the missing one (its seam lies as far below
  // the centre as the decagon lies above), J78 one that is not opposite.
  auto seamOppositeDecagon = [&](const Polyhedron& p) {
    for (int f = 0; f < static_cast<int>(p.faces.size()); ++f) {
      if (p.faces[f].size() != 10) continue;
      const Vec3 n = FaceNormal(p, f);
      const double height = Dot(p.vertices[p.faces[f][0]], n);
      bool all = true;
      for (const Vec3& m : seam(p)) all = all && std::fabs(Dot(m, n) + height) < 1e-9;
      return all;
    }
    return false;
  };
  EXPECT_TRUE(seamOppositeDecagon(JohnsonSolid(77)));
  EXPECT_FALSE(seamOppositeDecagon(JohnsonSolid(78)));
}

TEST(Forms, SolvedSolidsCloseToTheLastBit) {
  for (int j : {84, 85, 86, 88, 89, 90, 91, 92}) {
    SCOPED_TRACE(j);
    const Design d = JohnsonDesign(j);
    EXPECT_GT(RodError(d, d.start), 1e-3) << "the first guess is a guess";
    EXPECT_LE(RodError(d, Solve(d)), 4.5e-16);
  }
  EXPECT_THROW(JohnsonDesign(87), std::invalid_argument);
  // The snub antiprism over a triangle is the icosahedron: all corners on one sphere.
  const std::vector<Vec3> ico = SolvedPoints(SnubAntiprismDesign(3));
  ASSERT_EQ(ico.size(), 12u);
  for (const Vec3& v : ico) EXPECT_NEAR(Norm(v), Norm(ico[0]), 1e-14);
  EXPECT_NEAR(Norm(ico[0]), std::sin(2 * 3.14159265358979323846 / 5), 1e-14);
  // A design whose rods cannot all hold is refused.
  Design bad = JohnsonDesign(91);
  bad.rods.push_back({0, 1, 2.0});
  EXPECT_THROW(Solve(bad), std::runtime_error);
}

}  // namespace
}  // namespace didod::solids
