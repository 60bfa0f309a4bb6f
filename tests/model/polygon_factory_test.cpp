#include <gtest/gtest.h>

#include <cmath>

#include "model/polygon_factory.h"

namespace didod {
namespace {

const ViewCentre kCentre = ViewCentreOf(799, 638);

std::vector<NetPoint> CornersFor(PolygonButton button, PolygonRequest fields = {}) {
  Construction c;
  EXPECT_TRUE(AddPolygonForButton(c, button, fields, kCentre));
  return {c.NetPoints.begin() + 1, c.NetPoints.begin() + 1 + c.PointCount};
}

void ExpectCorners(const std::vector<NetPoint>& actual, const std::vector<NetPoint>& expected,
                   const char* what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (std::size_t k = 0; k < expected.size(); ++k) {
    EXPECT_NEAR(actual[k].x, expected[k].x, 1e-6) << what << " corner " << k + 1;
    EXPECT_NEAR(actual[k].y, expected[k].y, 1e-6) << what << " corner " << k + 1;
  }
}

PolygonRequest Special(int index) {
  PolygonRequest f;
  f.SpecialFace = index;
  return f;
}

TEST(PolygonFactory, WorkedCornersForScaleOne) {
  ExpectCorners(CornersFor(PolygonButton::f3), {{0.5, -0.288675}, {-0.5, -0.288675}, {0, 0.577350}}, "Dreieck");
  ExpectCorners(CornersFor(PolygonButton::f4), {{0.5, -0.5}, {-0.5, -0.5}, {-0.5, 0.5}, {0.5, 0.5}}, "Quadrat");
  ExpectCorners(CornersFor(PolygonButton::f6),
                {{1, 0}, {0.5, -0.866025}, {-0.5, -0.866025}, {-1, 0}, {-0.5, 0.866025}, {0.5, 0.866025}},
                "Sechseck");
  ExpectCorners(CornersFor(PolygonButton::f7), {{0, 0}, {-1, 0}, {-0.5, -1.936492}}, "isosceles");
  ExpectCorners(CornersFor(PolygonButton::f9), {{0, 0}, {-0.5, -0.866025}, {-1.5, -0.866025}, {-1, 0}},
                "rhombus");
  ExpectCorners(CornersFor(PolygonButton::f11, Special(1)),
                {{0, 0}, {-0.707107, -0.448197}, {-1.414214, 0}, {-0.707105, 0.819494}}, "kind 4");
  ExpectCorners(CornersFor(PolygonButton::f11, Special(2)),
                {{0, 0}, {-0.690983, -0.412983}, {-1.381966, 0}, {-0.690983, 1.028621}}, "kind 5");
  ExpectCorners(CornersFor(PolygonButton::f11, Special(4)),
                {{0, 0}, {0.249044, -0.538682}, {-0.296733, -1.180515}, {-0.842509, -0.538682}, {-0.593465, 0}},
                "kind 7");
  ExpectCorners(CornersFor(PolygonButton::f11, Special(5)),
                {{0, 0}, {0.274881, -0.514016}, {-0.291450, -1.362335}, {-0.857781, -0.514016}, {-0.582900, 0}},
                "kind 8");
  ExpectCorners(CornersFor(PolygonButton::f11, Special(0)), {{0, 0}, {-1, 0}, {-1, -1}, {0, -1}}, "rectangle");
  ExpectCorners(CornersFor(PolygonButton::f11, Special(3)), {{0, 0}, {-2, 0}, {-1.5, 2}, {-0.5, 2}}, "trapezium");
}

TEST(PolygonFactory, RegularSidesEqualScaleForEveryCornerCount) {
  for (int n = 2; n <= 32; ++n) {
    PolygonRequest f;
    f.Sides = std::to_string(n);
    f.Scale = "1,5";
    const auto corners = CornersFor(PolygonButton::f12, f);
    ASSERT_EQ(static_cast<int>(corners.size()), n);
    for (int k = 0; k < n; ++k) {
      const NetPoint a = corners[k], b = corners[(k + 1) % n];
      EXPECT_NEAR(std::hypot(a.x - b.x, a.y - b.y), 1.5, 1e-12) << "n=" << n << " side " << k;
    }
  }
}

TEST(PolygonFactory, FirstFaceAtCentreLaterFacesUpLeftWhateverTheZoom) {
  Construction c;
  ASSERT_TRUE(AddPolygonForButton(c, PolygonButton::f7, {}, kCentre));
  EXPECT_DOUBLE_EQ(c.ScreenPoints[1].x, 399.0);
  EXPECT_DOUBLE_EQ(c.ScreenPoints[1].y, 319.0);
  ASSERT_TRUE(AddPolygonForButton(c, PolygonButton::f7, {}, kCentre));
  EXPECT_DOUBLE_EQ(c.NetPoints[4].x, -6.0);
  EXPECT_DOUBLE_EQ(c.NetPoints[4].y, 5.0);
  c.Scale = static_cast<double>(50.0L * 1.1L);
  ASSERT_TRUE(AddPolygonForButton(c, PolygonButton::f7, {}, kCentre));
  EXPECT_NEAR(c.ScreenPoints[7].x, 399.0 - 300.0, 1e-9);
  EXPECT_NEAR(c.ScreenPoints[7].y, 319.0 - 250.0, 1e-9);
  // Several later faces lie on top of each other.
  ASSERT_TRUE(AddPolygonForButton(c, PolygonButton::f7, {}, kCentre));
  EXPECT_EQ(c.NetPoints[10], c.NetPoints[7]);
  for (int i = 1; i <= c.PointCount; ++i) EXPECT_FALSE(c.ScreenPoints[i].Fixed);
  EXPECT_TRUE(c.JoinList.empty());
}

TEST(PolygonFactory, SidesFieldReadingAndReplacement) {
  for (const char* text : {"abc", "", "1", "33", "7.5", "7 ", "--7"}) {
    PolygonRequest f;
    f.Sides = text;
    EXPECT_EQ(CornersFor(PolygonButton::f12, f).size(), 12u) << '"' << text << '"';
  }
  const std::pair<const char*, std::size_t> accepted[] = {{" 7", 7}, {"2", 2}, {"32", 32}, {"$10", 16},
                                                          {"0x8", 8}, {"+5", 5}};
  for (const auto& [text, n] : accepted) {
    PolygonRequest f;
    f.Sides = text;
    EXPECT_EQ(CornersFor(PolygonButton::f12, f).size(), n) << '"' << text << '"';
  }
}

TEST(PolygonFactory, FieldReaders) {
  EXPECT_EQ(ReadEditInteger("-12"), -12);
  EXPECT_EQ(ReadEditInteger("2147483648"), 0);
  EXPECT_EQ(ReadEditInteger("-2147483648"), -2147483647 - 1);
  EXPECT_DOUBLE_EQ(ReadEditReal("0,8"), 0.8);
  EXPECT_DOUBLE_EQ(ReadEditReal("2.5"), 2.5);
  EXPECT_DOUBLE_EQ(ReadEditReal(""), 0.0);
  EXPECT_DOUBLE_EQ(ReadEditReal("abc"), 0.0);
}

TEST(PolygonFactory, LegAndAngleFields) {
  PolygonRequest f;
  f.LegLength = "0,8";
  auto corners = CornersFor(PolygonButton::f7, f);
  EXPECT_NEAR(std::hypot(corners[2].x - corners[0].x, corners[2].y - corners[0].y), 0.8, 1e-12);
  for (const char* text : {"11", "0.2"}) {
    f.LegLength = text;
    corners = CornersFor(PolygonButton::f7, f);
    EXPECT_NEAR(corners[2].y, -1.936492, 1e-6) << text;
  }
  f.LegLength = "0.5";  // a flat triangle: the third corner is the middle of the base
  corners = CornersFor(PolygonButton::f7, f);
  EXPECT_DOUBLE_EQ(corners[2].x, -0.5);
  EXPECT_DOUBLE_EQ(corners[2].y, 0.0);

  f = {};
  f.Angle = "90";
  ExpectCorners(CornersFor(PolygonButton::f9, f), {{0, 0}, {0, -1}, {-1, -1}, {-1, 0}}, "unit square");
  for (const char* text : {"0", "91"}) {
    f.Angle = text;
    EXPECT_NEAR(CornersFor(PolygonButton::f9, f)[1].y, -0.866025, 1e-6) << text;
  }
}

TEST(PolygonFactory, ShortLegsAddNothing) {
  Construction c;
  PolygonRequest f;
  f.LegLength = "0.4";
  EXPECT_FALSE(AddPolygonForButton(c, PolygonButton::f7, f, kCentre));
  EXPECT_EQ(c.PointCount, 0);
  EXPECT_EQ(c.FaceCount, 0);
}

TEST(PolygonFactory, ScaleField) {
  for (const char* text : {"0", "-1", ""}) {
    PolygonRequest f;
    f.Scale = text;
    EXPECT_NEAR(CornersFor(PolygonButton::f4, f)[0].x, 0.5, 1e-12) << text;
  }
  PolygonRequest twice;
  twice.Scale = "2";
  ExpectCorners(CornersFor(PolygonButton::f4, twice), {{1, -1}, {-1, -1}, {-1, 1}, {1, 1}}, "square s=2");
  twice.SpecialFace = 0;  // the rectangle keeps its height of 1
  ExpectCorners(CornersFor(PolygonButton::f11, twice), {{0, 0}, {-2, 0}, {-2, -1}, {0, -1}}, "rectangle s=2");
  twice.SpecialFace = 3;
  ExpectCorners(CornersFor(PolygonButton::f11, twice), {{0, 0}, {-4, 0}, {-3, 4}, {-1, 4}}, "trapezium s=2");
}

TEST(PolygonFactory, NoSpecialFaceSelectedUsesTheFirst) {
  ExpectCorners(CornersFor(PolygonButton::f11, Special(-1)), {{0, 0}, {-1, 0}, {-1, -1}, {0, -1}}, "rectangle");
}

TEST(PolygonFactory, FaceThatDoesNotFitIsNotAdded) {
  Construction c;
  PolygonRequest f;
  f.Sides = "32";
  for (int k = 0; k < 31; ++k) ASSERT_TRUE(AddPolygonForButton(c, PolygonButton::f12, f, kCentre));
  EXPECT_EQ(c.PointCount, 992);
  c.JoinList = {"40\t1"};
  c.ScreenPoints[40].Fixed = true;
  EXPECT_FALSE(AddPolygonForButton(c, PolygonButton::f8, {}, kCentre));
  EXPECT_EQ(c.PointCount, 992);
  EXPECT_EQ(c.FaceCount, 31);
  EXPECT_TRUE(c.IsConsistent());
  PolygonRequest seven;
  seven.Sides = "7";
  EXPECT_TRUE(AddPolygonForButton(c, PolygonButton::f12, seven, kCentre));
  EXPECT_EQ(c.PointCount, 999);
  EXPECT_EQ(c.JoinList.size(), 1u);
  EXPECT_TRUE(c.ScreenPoints[40].Fixed);
}

}  // namespace
}  // namespace didod
