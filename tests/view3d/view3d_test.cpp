#include "view3d/view3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace didod::view3d {
namespace {

using geo::Vec3;

// The unit cube's six faces, counter-clockwise seen from outside.
std::vector<Polygon> Cube() {
  return {{{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}}, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
          {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, {{0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}},
          {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}}, {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}};
}

// Looking straight down the z axis: x right, y up.
Camera Straight(const Frame& frame) {
  Camera camera;
  camera.rotation = geo::Mat3{};
  camera.frame = frame;
  return camera;
}

int Painted(const Picture& p, const Style& style = {}) {
  int n = 0;
  for (std::uint32_t px : p.pixels) n += px != style.background;
  return n;
}

TEST(View3d, FramesAndProjectsIntoTheMiddleOfThePicture) {
  const Frame frame = FrameOf(Cube());
  EXPECT_NEAR(frame.centre.x, 0.5, 1e-12);
  EXPECT_NEAR(frame.centre.z, 0.5, 1e-12);
  EXPECT_NEAR(frame.radius, std::sqrt(0.75), 1e-12);
  const Camera camera = Straight(frame);
  const Projected mid = Project(frame.centre, camera, 400, 300);
  EXPECT_DOUBLE_EQ(mid.x, 200);
  EXPECT_DOUBLE_EQ(mid.y, 150);
  // The frame's ball fills 96 % of the shorter side; y runs down, depth towards the viewer.
  const Projected up = Project(frame.centre + Vec3{0, frame.radius, frame.radius}, camera, 400, 300);
  EXPECT_NEAR(up.y, 150 - 0.48 * 300, 1e-9);
  EXPECT_NEAR(up.depth, frame.radius, 1e-12);
  // Turning by yaw and back leaves every point where it was.
  const geo::Mat3 there = Turned(Turned(StartRotation(), 0.3, 0), -0.3, 0);
  const Vec3 p{0.2, -0.7, 0.4};
  EXPECT_NEAR(geo::Distance(there * p, StartRotation() * p), 0, 1e-12);
  // A drag of 100 pixels to the right turns the front of a solid to the
  // right by one radian; dragging back undoes it.
  const geo::Mat3 dragged = TurnedByDrag(geo::Mat3{}, 100, 0);
  const Vec3 front = dragged * Vec3{0, 0, 1};
  EXPECT_NEAR(front.x, std::sin(1.0), 1e-12);
  EXPECT_NEAR(front.z, std::cos(1.0), 1e-12);
  const geo::Mat3 back = TurnedByDrag(TurnedByDrag(SolidStartRotation(), 0, -45), 0, 45);
  EXPECT_NEAR(geo::Distance(back * p, SolidStartRotation() * p), 0, 1e-12);
  // A solid is first seen a little from above: its upward axis points up the
  // screen and towards the viewer.
  const Vec3 solidUp = SolidStartRotation() * Vec3{0, 0, 1};
  EXPECT_GT(solidUp.y, 0.5);
  EXPECT_GT(solidUp.z, 0.1);
}

TEST(View3d, DrawsTheFrontLitTheBackDarkerAndTheNearestFaceOnTop) {
  // One square facing the viewer, then the same square turned away.
  const Polygon front{{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
  const Polygon back{{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}};
  const Camera camera = Straight({{0, 0, 0}, std::sqrt(2.0)});
  const Style style;
  const Picture lit = Draw({front}, camera, 200, 200);
  const Picture dark = Draw({back}, camera, 200, 200);
  const std::uint32_t litMiddle = lit.At(100, 100), darkMiddle = dark.At(100, 100);
  EXPECT_NE(litMiddle, style.background);
  EXPECT_LT(darkMiddle & 0xFF, litMiddle & 0xFF);
  // The square covers (2 / 2.83 * 0.96)^2 of the picture; its outline has the edge colour.
  EXPECT_NEAR(Painted(lit) / 40000.0, std::pow(0.96 / std::sqrt(2.0), 2), 0.02);
  const int left = static_cast<int>(std::lround(Project(front[0], camera, 200, 200).x));
  EXPECT_EQ(lit.At(left, 100), style.edge);
  EXPECT_EQ(lit.At(2, 100), style.background);

  // A smaller square in front hides the middle of a bigger one behind it,
  // whichever is drawn first; seen edge on, a face is only its outline.
  const Polygon near{{-0.3, -0.3, 1}, {0.3, -0.3, 1}, {0.3, 0.3, 1}, {-0.3, 0.3, 1}};
  Style red;
  red.face = 0xFFFF0000;
  const std::uint32_t nearColour = Draw({near}, camera, 200, 200, 1.0, red).At(100, 100);
  EXPECT_EQ(Draw({near, front}, camera, 200, 200, 1.0, red).At(100, 100), nearColour);
  EXPECT_EQ(Draw({front, near}, camera, 200, 200, 1.0, red).At(100, 100), nearColour);
  const Polygon edgeOn{{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}};
  const int thin = Painted(Draw({edgeOn}, camera, 200, 200));
  EXPECT_GT(thin, 0);
  EXPECT_LT(thin, 200 * 4);
}

TEST(View3d, TheTurnedCubeIsClosedAndOutlinesKeepTheirWidthAtEveryRatio) {
  const std::vector<Polygon> cube = Cube();
  Camera camera;
  camera.frame = FrameOf(cube);
  const Picture one = Draw(cube, camera, 200, 200, 1.0);
  const Picture two = Draw(cube, camera, 400, 400, 2.0);
  // Everything painted lies within the projected corners, and most of their
  // box is painted: the front faces close the solid.
  double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
  for (const Polygon& f : cube)
    for (const Vec3& p : f) {
      const Projected q = Project(p, camera, 200, 200);
      x0 = std::min(x0, q.x), x1 = std::max(x1, q.x), y0 = std::min(y0, q.y), y1 = std::max(y1, q.y);
    }
  int inside = 0, outside = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) {
      if (one.At(x, y) == Style{}.background) continue;
      (x >= x0 - 2 && x <= x1 + 2 && y >= y0 - 2 && y <= y1 + 2 ? inside : outside) += 1;
    }
  EXPECT_EQ(outside, 0);
  EXPECT_GT(inside, 0.6 * (x1 - x0) * (y1 - y0));
  // At twice the pixels the picture has four times the painted pixels, and
  // about four times the outline pixels too.
  auto edges = [](const Picture& p) {
    int n = 0;
    for (std::uint32_t px : p.pixels) n += px == Style{}.edge;
    return n;
  };
  EXPECT_NEAR(Painted(two) / static_cast<double>(Painted(one)), 4.0, 0.2);
  EXPECT_NEAR(edges(two) / static_cast<double>(edges(one)), 4.0, 0.6);
}

}  // namespace
}  // namespace didod::view3d
