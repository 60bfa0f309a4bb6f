#include "fold/fold.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <numbers>

#include "nets.h"

namespace didod {
namespace {

using namespace testnets;
constexpr double kDeg = 180.0 / std::numbers::pi;

using geo::Vec3;
double Dist(const Vec3& a, const Vec3& b) { return geo::Distance(a, b); }

// The best solid found (an empty one when there is none, so that the checks fail).
const FoldedSolid& First(const FoldResult& r) {
  static const FoldedSolid none;
  return r.solids.empty() ? none : r.solids.front();
}

// Every face keeps its shape, and corners glued together meet.
void ExpectSolidIsTheNetFolded(const Construction& c, const FoldResult& r) {
  ASSERT_FALSE(r.solids.empty());
  const FoldedSolid& solid = r.solids.front();
  ASSERT_EQ(solid.corners.size(), static_cast<size_t>(c.FaceCount));
  for (int f = 1; f <= c.FaceCount; ++f) {
    const FaceRangeResult fr = c.FaceRange(f);
    const auto& s = solid.corners[f - 1];
    for (int i = fr.first; i <= fr.last; ++i)
      for (int j = i + 1; j <= fr.last; ++j) {
        const double flat = std::hypot(c.NetPoints[i].x - c.NetPoints[j].x, c.NetPoints[i].y - c.NetPoints[j].y);
        EXPECT_NEAR(Dist(s[i - fr.first], s[j - fr.first]), flat, 1e-6);
      }
  }
  for (const EdgeGluing& g : solid.gluings) {
    const auto& fa = solid.corners[g.a.face - 1];
    const auto& fb = solid.corners[g.b.face - 1];
    const int na = static_cast<int>(fa.size()), nb = static_cast<int>(fb.size());
    EXPECT_NEAR(Dist(fa[g.a.corner], fb[(g.b.corner + 1) % nb]), 0.0, 1e-6);
    EXPECT_NEAR(Dist(fa[(g.a.corner + 1) % na], fb[g.b.corner]), 0.0, 1e-6);
  }
}

TEST(FoldNet, CubeCrossFoldsIntoACube) {
  const Construction c = CubeCross();
  const FoldResult r = FoldNet(c);
  ASSERT_EQ(r.verdict, FoldResult::Verdict::Convex) << r.message;
  EXPECT_EQ(r.message, "Das Netz faltet sich zu einem konvexen Körper mit 6 Flächen, 12 Kanten und 8 Ecken.");
  EXPECT_TRUE(First(r).convex);
  EXPECT_EQ(First(r).gluings.size(), 7u);
  ASSERT_EQ(First(r).hinges.size(), 5u);
  for (const Hinge& h : First(r).hinges) EXPECT_NEAR(h.dihedral * kDeg, 90.0, 1e-6);
  for (double d : First(r).gluingDihedral) EXPECT_NEAR(d * kDeg, 90.0, 1e-6);
  ExpectSolidIsTheNetFolded(c, r);
}

TEST(FoldNet, TetrahedronHasItsDihedralAngle) {
  const Construction c = Tetrahedron();
  const FoldResult r = FoldNet(c);
  ASSERT_EQ(r.verdict, FoldResult::Verdict::Convex) << r.message;
  EXPECT_EQ(First(r).faces, 4);
  EXPECT_EQ(First(r).edges, 6);
  EXPECT_EQ(First(r).vertices, 4);
  for (const Hinge& h : First(r).hinges) EXPECT_NEAR(h.dihedral * kDeg, 70.528779, 1e-5);
  ExpectSolidIsTheNetFolded(c, r);
}

TEST(FoldNet, TriangularPrism) {
  const Construction c = TriangularPrism();
  const FoldResult r = FoldNet(c);
  ASSERT_EQ(r.verdict, FoldResult::Verdict::Convex) << r.message;
  EXPECT_EQ(First(r).faces, 5);
  EXPECT_EQ(First(r).edges, 9);
  EXPECT_EQ(First(r).vertices, 6);
  ExpectSolidIsTheNetFolded(c, r);
}

TEST(FoldNet, DodecahedronAndIcosahedron) {
  const Construction d = Dodecahedron();
  FoldResult r = FoldNet(d);
  ASSERT_EQ(r.verdict, FoldResult::Verdict::Convex) << r.message;
  EXPECT_EQ(First(r).faces, 12);
  EXPECT_EQ(First(r).edges, 30);
  EXPECT_EQ(First(r).vertices, 20);
  for (const Hinge& h : First(r).hinges) EXPECT_NEAR(h.dihedral * kDeg, 116.565051, 1e-5);
  ExpectSolidIsTheNetFolded(d, r);

  // This net of the icosahedron closes in other ways as well (a convex solid
  // with six faces, some of them several triangles lying flat); the
  // icosahedron is the one shown.
  const Construction i = Icosahedron();
  r = FoldNet(i);
  ASSERT_EQ(r.verdict, FoldResult::Verdict::Several) << r.message;
  EXPECT_TRUE(First(r).convex);
  EXPECT_GE(r.solids.size(), 2u);
  EXPECT_EQ(First(r).faces, 20);
  EXPECT_EQ(First(r).edges, 30);
  EXPECT_EQ(First(r).vertices, 12);
  for (const Hinge& h : First(r).hinges) EXPECT_NEAR(h.dihedral * kDeg, 138.189685, 1e-5);
  ExpectSolidIsTheNetFolded(i, r);
}

TEST(FoldNet, FoldingStepsReachTheSolid) {
  const Construction c = CubeCross();
  const FoldResult r = FoldNet(c);
  ASSERT_EQ(r.verdict, FoldResult::Verdict::Convex);
  const auto flat = FacesAt(r, 0, 0.0);
  for (int f = 0; f < c.FaceCount; ++f)
    for (size_t k = 0; k < flat[f].size(); ++k) {
      EXPECT_NEAR(flat[f][k].x, c.NetPoints[c.FaceRange(f + 1).first + static_cast<int>(k)].x, 1e-12);
      EXPECT_EQ(flat[f][k].z, 0.0);
    }
  // At 100 % the faces sit like the solid's faces: all pairwise corner
  // distances agree.
  const auto closed = FacesAt(r, 0, 1.0);
  std::vector<Vec3> a, b;
  for (int f = 0; f < c.FaceCount; ++f)
    for (size_t k = 0; k < closed[f].size(); ++k) {
      a.push_back(closed[f][k]);
      b.push_back(First(r).corners[f][k]);
    }
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = i + 1; j < a.size(); ++j) EXPECT_NEAR(Dist(a[i], a[j]), Dist(b[i], b[j]), 1e-9);
  // Halfway every hinge is turned by half its angle: the cube's faces stand at 45 degrees.
  const auto half = FacesAt(r, 0, 0.5);
  double lowest = 0;
  for (const auto& face : half)
    for (const Vec3& p : face) lowest = std::min(lowest, p.z);
  EXPECT_LT(lowest, -0.5);
}

TEST(FoldNet, BrokenNetsAreRefusedWithoutASolid) {
  Construction apart;
  AddFace(apart, Square(0, 0));
  AddFace(apart, Square(5, 0));
  FoldResult r = FoldNet(apart);
  EXPECT_EQ(r.verdict, FoldResult::Verdict::NotANet);
  EXPECT_EQ(r.message, "Das ist kein Netz: Das Netz zerfällt in 2 Teile, die nicht an ganzen Kanten zusammenhängen.");
  EXPECT_TRUE(r.solids.empty());
  EXPECT_EQ(r.flat.size(), 2u);

  // The cube cross without its lid: five squares, no closed solid.
  Construction open = CubeCross();
  open.FaceCount = 5;
  open.PointCount = 20;
  r = FoldNet(open);
  EXPECT_EQ(r.verdict, FoldResult::Verdict::DoesNotFold) << r.message;
  EXPECT_TRUE(r.solids.empty());
  EXPECT_TRUE(r.solids.empty());

  // The right arm hung below the foot instead: five squares in a column
  // wrap round and overlap.
  const Construction cross = CubeCross();
  Construction moved;
  AddFace(moved, Square(0, -1));
  for (int f = 1; f <= 5; ++f) {
    const FaceRangeResult fr = cross.FaceRange(f);
    AddFace(moved, std::vector<NetPoint>(cross.NetPoints.begin() + fr.first, cross.NetPoints.begin() + fr.last + 1));
  }
  r = FoldNet(moved);
  EXPECT_EQ(r.verdict, FoldResult::Verdict::DoesNotFold) << r.message;
  EXPECT_TRUE(r.solids.empty());

  // A seventh square hung on a free edge of the cross.
  Construction extra = CubeCross();
  AddFace(extra, Square(2, 2));
  r = FoldNet(extra);
  EXPECT_EQ(r.verdict, FoldResult::Verdict::DoesNotFold) << r.message;
  EXPECT_TRUE(r.solids.empty());
}

// The largest nets the store holds: the check gives up at its budget
// instead of running on.
TEST(FoldNet, HugeNetsStopAtTheBudget) {
  Construction strip;
  const double h = std::sqrt(3.0) / 2;
  for (int i = 0; i < 198; ++i) {
    const double x = i * 0.5;
    if (i % 2 == 0)
      AddFace(strip, {{x, 0}, {x + 1, 0}, {x + 0.5, h}});
    else
      AddFace(strip, {{x + 0.5, 0}, {x + 1, h}, {x, h}});
  }
  ASSERT_EQ(strip.FaceCount, 198);
  FoldOptions quick;
  quick.timeBudgetSeconds = 0.3;
  const auto start = std::chrono::steady_clock::now();
  const FoldResult r = FoldNet(strip, quick);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (r.verdict == FoldResult::Verdict::Undecided) {
    EXPECT_NE(r.stop, FoldStop::None);
  }
  EXPECT_FALSE(r.message.empty());
  // Generous: only that it stops, not how fast.
  EXPECT_LT(seconds, 30.0);
}

TEST(FoldNet, OddNumberOfFreeEdges) {
  Construction c;
  AddFace(c, Square(0, 0));
  AddFace(c, TriangleLeftOf({0, 1}, {1, 1}));
  const FoldResult r = FoldNet(c);
  EXPECT_EQ(r.verdict, FoldResult::Verdict::DoesNotFold);
  EXPECT_NE(r.message.find("5 freie Kanten"), std::string::npos) << r.message;
}

}  // namespace
}  // namespace didod
