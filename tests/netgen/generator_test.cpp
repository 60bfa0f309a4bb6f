#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tools/netgen/catalogue.h"
#include "tools/netgen/solids.h"
#include "tools/netgen/vocabulary.h"

namespace didod::netgen {
namespace {

TEST(Generator, ExponentFormHasFifteenDigitsAndAFourDigitExponent) {
  EXPECT_EQ(FormatExponentCoordinate(0.566025403784439), " 5.66025403784439E-0001");
  EXPECT_EQ(FormatExponentCoordinate(-0.02), "-2.00000000000000E-0002");
  EXPECT_EQ(FormatExponentCoordinate(12.5), " 1.25000000000000E+0001");
  EXPECT_EQ(FormatExponentCoordinate(0.0), " 0.00000000000000E+0000");
  EXPECT_EQ(FormatExponentCoordinate(-0.0), " 0.00000000000000E+0000");
}

TEST(Generator, NamesGoIntoTheCataloguesCodePage) {
  EXPECT_EQ(ToWindows1252("Würfel"), "W\xFCrfel");
  EXPECT_EQ(ToWindows1252("Abgeschrägtes"), "Abgeschr\xE4gtes");
  EXPECT_THROW(ToWindows1252("\xE2\x82\xAC\xE2"), std::invalid_argument);
}

TEST(Generator, OverlapAreaOfSquares) {
  const std::vector<Vec2> a{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  const std::vector<Vec2> b{{0.5, 0}, {1.5, 0}, {1.5, 1}, {0.5, 1}};
  const std::vector<Vec2> c{{1, 0}, {2, 0}, {2, 1}, {1, 1}};
  EXPECT_NEAR(OverlapArea(a, b), 0.5, 1e-15);
  EXPECT_NEAR(OverlapArea(a, c), 0, 1e-15);
  // A non-convex star outline around a square: only its tips reach past it.
  std::vector<Vec2> star;
  for (int k = 0; k < 10; ++k) {
    const double r = k % 2 ? 0.2 : 2, t = 3.14159265358979323846 * k / 5;
    star.push_back({r * std::cos(t), r * std::sin(t)});
  }
  const std::vector<Vec2> far{{5, 5}, {6, 5}, {6, 6}, {5, 6}};
  EXPECT_EQ(OverlapArea(star, far), 0);
  const std::vector<Vec2> tip{{1.5, -0.05}, {2.5, -0.05}, {2.5, 0.05}, {1.5, 0.05}};
  EXPECT_GT(OverlapArea(star, tip), 0);
  EXPECT_LT(OverlapArea(star, tip), 0.1);
}

TEST(Generator, NetOfTheCubeIsATreeOfItsFaces) {
  const Polyhedron cube = BuildSolid("Würfel");
  Net net = Unfold(cube, SheetBox{}, 1);
  ASSERT_EQ(net.faces.size(), 6u);
  EXPECT_EQ(net.faces[0].parent, -1);
  std::vector<int> seen(6, 0);
  for (std::size_t k = 0; k < net.faces.size(); ++k) {
    ++seen[net.faces[k].solidFace];
    if (k > 0) {
      EXPECT_LT(net.faces[k].parent, static_cast<int>(k));
    }
  }
  EXPECT_EQ(seen, std::vector<int>(6, 1));
  const double scale = FitNet(net, SheetBox{});
  EXPECT_GT(scale, 3);  // a cross of 3 x 4 squares fits with edges above 3
  // Laid from another face the net keeps its shape.
  const Net other = Reroot(net, 3);
  EXPECT_EQ(other.faces[0].solidFace, net.faces[3].solidFace);
  for (std::size_t k = 1; k < other.faces.size(); ++k) {
    const NetFace& f = other.faces[k];
    const NetFace& p = other.faces[f.parent];
    const std::size_t m = f.corners.size(), pm = p.corners.size();
    EXPECT_LT(Distance(f.corners[f.ownEdge], p.corners[(f.parentEdge + 1) % pm]), 1e-12);
    EXPECT_LT(Distance(f.corners[(f.ownEdge + 1) % m], p.corners[f.parentEdge]), 1e-12);
  }
}

// The committed catalogue is exactly what the generator writes.
TEST(Generator, CommittedCatalogueIsTheGeneratorsOutput) {
  std::ifstream in(std::string(DIDOD_SOURCE_DIR) + "/resources/konetz.txt", std::ios::binary);
  const std::string committed{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::string generated = CatalogueText(GenerateAll());
  ASSERT_EQ(generated.size(), committed.size());
  EXPECT_TRUE(generated == committed);
}

}  // namespace
}  // namespace didod::netgen

namespace didod::netgen {
namespace {

// Faces laid in order, each once, each after the face it hangs on, no two overlapping.
void ExpectWholeNet(const Polyhedron& solid, const Net& net) {
  ASSERT_EQ(net.faces.size(), solid.faces.size());
  std::vector<int> seen(solid.faces.size(), 0);
  for (std::size_t k = 0; k < net.faces.size(); ++k) {
    const NetFace& f = net.faces[k];
    ++seen[f.solidFace];
    if (k == 0) continue;
    ASSERT_GE(f.parent, 0);
    ASSERT_LT(f.parent, static_cast<int>(k));
    const NetFace& p = net.faces[f.parent];
    const std::size_t m = f.corners.size(), pm = p.corners.size();
    EXPECT_LT(Distance(f.corners[f.ownEdge], p.corners[(f.parentEdge + 1) % pm]), 1e-9);
    EXPECT_LT(Distance(f.corners[(f.ownEdge + 1) % m], p.corners[f.parentEdge]), 1e-9);
    // The hinge is an edge of the solid shared by exactly these two faces.
    const auto& sf = solid.faces[f.solidFace];
    const auto& sp = solid.faces[p.solidFace];
    EXPECT_EQ(sf[f.ownEdge], sp[(f.parentEdge + 1) % pm]);
    EXPECT_EQ(sf[(f.ownEdge + 1) % m], sp[f.parentEdge]);
  }
  EXPECT_EQ(seen, std::vector<int>(solid.faces.size(), 1));
  for (std::size_t a = 0; a < net.faces.size(); ++a)
    for (std::size_t b = a + 1; b < net.faces.size(); ++b)
      EXPECT_LT(OverlapArea(net.faces[a].corners, net.faces[b].corners), 1e-9) << a << " " << b;
}

TEST(Generator, BacktrackingFindsOverlapFreeNetsOfStarsAndLargeSolids) {
  for (const char* name : {"Spikey", "Sterndodekaeder", "Pentagrammprisma", "Hexakisikosaeder"}) {
    SCOPED_TRACE(name);
    const Polyhedron solid = BuildSolid(name);
    ExpectWholeNet(solid, UnfoldByBacktracking(solid, SheetBox{}, 100000));
  }
  // Without any search steps there is nothing to find.
  EXPECT_THROW(UnfoldByBacktracking(BuildSolid("Würfel"), SheetBox{}, 0), std::runtime_error);
}

TEST(Generator, GrownNetsOfNonConvexSolidsAreWhole) {
  for (const char* name : {"Pyramidentetraeder", "Sterndodekaeder"}) {
    SCOPED_TRACE(name);
    const Polyhedron solid = BuildSolid(name);
    ExpectWholeNet(solid, Unfold(solid, SheetBox{}, 7));
  }
}

}  // namespace
}  // namespace didod::netgen
