#include <gtest/gtest.h>

#include "model/construction.h"

namespace didod {
namespace {

const ViewCentre kDesignCentre = ViewCentreOf(799, 638);

TEST(ConstructionMapping, DesignSheetCentreAndBothDirections) {
  EXPECT_EQ(kDesignCentre, (ViewCentre{399, 319}));
  Construction c;
  const ScreenPoint p = c.ToPixel(1, 1, kDesignCentre);
  EXPECT_DOUBLE_EQ(p.x, 449.0);
  EXPECT_DOUBLE_EQ(p.y, 269.0);
  const NetPoint back = c.ToNet(399, 319, kDesignCentre);
  EXPECT_DOUBLE_EQ(back.x, 0.0);
  EXPECT_DOUBLE_EQ(back.y, 0.0);
}

TEST(ConstructionFaces, FaceOfPointOverFacesOfThreeFourFive) {
  Construction c;
  for (int n : {3, 4, 5}) {
    std::vector<NetPoint> corners(n);
    ASSERT_TRUE(c.AppendWholeFace(corners, kDesignCentre));
  }
  EXPECT_EQ(c.PointCount, 12);
  const int expected[] = {0, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 3};
  for (int p = 1; p <= 12; ++p) EXPECT_EQ(c.FaceOfPoint(p).face, expected[p]) << "point " << p;
  EXPECT_EQ(c.FaceOfPoint(4).first, 4);
  EXPECT_EQ(c.FaceOfPoint(4).last, 7);
  EXPECT_EQ(c.FaceRange(3).first, 8);
  EXPECT_EQ(c.FaceRange(3).last, 12);
  EXPECT_EQ(c.FaceOfPoint(13).face, 0);
}

TEST(ConstructionReset, EverySlotZeroAndScaleStandard) {
  Construction c;
  c.Scale = 66.55;
  c.JoinList = {"1\t2"};
  ASSERT_TRUE(c.AppendWholeFace({{1, 2}, {3, 4}, {5, 6}}, kDesignCentre));
  c.ScreenPoints[2].Fixed = true;
  c.GrabCopy[5] = {7, 8};
  c.GrabbedPoint = 3;
  c.ResetConstruction();
  EXPECT_EQ(c.Scale, 50.0);
  EXPECT_TRUE(c.JoinList.empty());
  EXPECT_EQ(c.FaceCount, 0);
  EXPECT_EQ(c.PointCount, 0);
  EXPECT_EQ(c.GrabbedPoint, 3);  // a reset leaves the drag state alone
  ASSERT_EQ(c.NetPoints.size(), 1000u);
  ASSERT_EQ(c.FaceSizes.size(), 200u);
  for (int i = 0; i < 1000; ++i) {
    EXPECT_EQ(c.NetPoints[i], NetPoint{});
    EXPECT_EQ(c.ScreenPoints[i], ScreenPoint{});
    EXPECT_EQ(c.GrabCopy[i], NetPoint{});
  }
  for (int f = 0; f < 200; ++f) EXPECT_EQ(c.FaceSizes[f], 0);
  // The next face starts again at point 1 and face slot 1.
  ASSERT_TRUE(c.AppendWholeFace({{1, 0}, {0, 1}}, kDesignCentre));
  EXPECT_EQ(c.FaceSizes[1], 2);
  EXPECT_EQ(c.NetPoints[1], (NetPoint{1, 0}));
}

TEST(ConstructionCapacity, RefusedFacesLeaveTheStoreWhole) {
  Construction c;
  // 33 faces of 30 points = 990 points; a face of 10 more does not fit, one of 9 does.
  for (int f = 0; f < 33; ++f) ASSERT_TRUE(c.AppendWholeFace(std::vector<NetPoint>(30), kDesignCentre));
  EXPECT_FALSE(c.AppendWholeFace(std::vector<NetPoint>(10), kDesignCentre));
  EXPECT_EQ(c.PointCount, 990);
  EXPECT_EQ(c.FaceCount, 33);
  EXPECT_TRUE(c.IsConsistent());
  EXPECT_TRUE(c.AppendWholeFace(std::vector<NetPoint>(9), kDesignCentre));
  EXPECT_EQ(c.PointCount, 999);
  EXPECT_FALSE(c.AppendPoint(0, 0, kDesignCentre));
  EXPECT_TRUE(c.IsConsistent());

  Construction many;
  for (int f = 0; f < 199; ++f) ASSERT_TRUE(many.AppendWholeFace(std::vector<NetPoint>(2), kDesignCentre));
  EXPECT_FALSE(many.AppendWholeFace(std::vector<NetPoint>(2), kDesignCentre));
  EXPECT_FALSE(many.AppendFace(2));
  EXPECT_EQ(many.FaceCount, 199);
  EXPECT_EQ(many.PointCount, 398);
  EXPECT_TRUE(many.IsConsistent());
}

TEST(ConstructionScreenPoints, RecomputeFollowsScaleAndCentreKeepsFlags) {
  Construction c;
  ASSERT_TRUE(c.AppendWholeFace({{1, 0}, {0, -2}}, kDesignCentre));
  c.ScreenPoints[1].Fixed = true;
  c.Scale = 55.0;
  c.RecomputeScreenPoints(ViewCentre{100, 50});
  EXPECT_DOUBLE_EQ(c.ScreenPoints[1].x, 155.0);
  EXPECT_DOUBLE_EQ(c.ScreenPoints[1].y, 50.0);
  EXPECT_DOUBLE_EQ(c.ScreenPoints[2].x, 100.0);
  EXPECT_DOUBLE_EQ(c.ScreenPoints[2].y, 160.0);
  EXPECT_TRUE(c.ScreenPoints[1].Fixed);
  Construction empty;
  empty.RecomputeScreenPoints(kDesignCentre);  // nothing to do, and no failure
  EXPECT_EQ(empty.ScreenPoints[1], ScreenPoint{});
}

}  // namespace
}  // namespace didod
