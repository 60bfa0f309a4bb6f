#include "interaction/mouse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace didod {
namespace {

constexpr ViewCentre kCentre{399, 319};  // sheet of 799 x 638
constexpr double kPi = std::numbers::pi;

// A unit square with its lower left corner at (x, y), corners counter-clockwise.
std::vector<NetPoint> Square(double x, double y) { return {{x, y}, {x + 1, y}, {x + 1, y + 1}, {x, y + 1}}; }

std::vector<NetPoint> Polygon(int corners, double x, double y) {
  std::vector<NetPoint> p;
  for (int k = 0; k < corners; ++k)
    p.push_back({x + std::cos(2 * kPi * k / corners), y + std::sin(2 * kPi * k / corners)});
  return p;
}

struct Sheet {
  Construction c;
  DragState s;

  void Add(const std::vector<NetPoint>& corners) { ASSERT_TRUE(c.AppendWholeFace(corners, kCentre)); }
  int PX(int point) const { return static_cast<int>(std::lround(c.ScreenPoints[point].x)); }
  int PY(int point) const { return static_cast<int>(std::lround(c.ScreenPoints[point].y)); }
  MouseResult Down(int x, int y, MouseButton b = MouseButton::Left) { return PB5MouseDown(c, s, b, x, y, kCentre); }
  MouseResult Move(int x, int y) { return PB5MouseMove(c, s, x, y, kCentre); }
  MouseResult Up(int x, int y) { return PB5MouseUp(c, s, MouseButton::Left, x, y, kCentre); }
  // Drags point from its own pixel to (x, y), in a few moves, and releases there.
  MouseResult Drag(int point, int x, int y) {
    const int x0 = PX(point), y0 = PY(point);
    EXPECT_EQ(Down(x0, y0).Step, MouseStep::DragBegun);
    for (int i = 1; i <= 4; ++i) Move(x0 + (x - x0) * i / 4, y0 + (y - y0) * i / 4);
    return Up(x, y);
  }
  double Distance(int a, int b) const {
    return std::hypot(c.NetPoints[a].x - c.NetPoints[b].x, c.NetPoints[a].y - c.NetPoints[b].y);
  }
  // Stored pixel positions agree with the net positions of every point.
  void ExpectPixelsAgree() const {
    for (int i = 1; i <= c.PointCount; ++i) {
      EXPECT_DOUBLE_EQ(c.ScreenPoints[i].x, PixelX(c.NetPoints[i].x, c.Scale, kCentre.cx)) << i;
      EXPECT_DOUBLE_EQ(c.ScreenPoints[i].y, PixelY(c.NetPoints[i].y, c.Scale, kCentre.cy)) << i;
    }
  }
};

TEST(Pick, SquareWithStrictEightPixelBoundsOnUnroundedPositions) {
  Sheet t;
  t.Add({{0, 0}, {4, 0}, {4, 4}});
  t.c.ScreenPoints[1].x = 100.0;
  t.c.ScreenPoints[1].y = 200.0;
  EXPECT_EQ(PickPoint(t.c, 108, 200), 0);
  EXPECT_EQ(PickPoint(t.c, 92, 200), 0);
  EXPECT_EQ(PickPoint(t.c, 100, 208), 0);
  EXPECT_EQ(PickPoint(t.c, 100, 192), 0);
  EXPECT_EQ(PickPoint(t.c, 107, 207), 1);  // a corner of the square, outside the circle
  EXPECT_EQ(PickPoint(t.c, 93, 193), 1);
  // 7.9 pixels in each axis hits; the stored position is not rounded first.
  t.c.ScreenPoints[1].x = 100.1;
  t.c.ScreenPoints[1].y = 200.1;
  EXPECT_EQ(PickPoint(t.c, 108, 208), 1);
  EXPECT_EQ(PickPoint(t.c, 108, 192), 0);  // 8.1 in y
  EXPECT_EQ(PickPoint(t.c, 92, 200), 0);   // 8.1 in x
  t.c.ScreenPoints[1].x = 99.9;
  EXPECT_EQ(PickPoint(t.c, 92, 200), 1);
  EXPECT_EQ(PickPoint(t.c, 108, 200), 0);
}

TEST(Pick, HighestNumberedPointWinsOnPress) {
  Sheet t;
  t.Add(Square(0, 0));
  t.Add(Square(1.05, 0));  // point 5 lies 2.5 pixels from point 2
  EXPECT_EQ(PickPoint(t.c, t.PX(2), t.PY(2)), 5);
  EXPECT_EQ(t.Down(t.PX(2), t.PY(2)).Step, MouseStep::DragBegun);
  EXPECT_EQ(t.c.GrabbedPoint, 5);
  EXPECT_EQ(t.s.GrabFirst, 5);
  EXPECT_EQ(t.s.GrabLast, 8);
}

TEST(Pick, PressOnEmptySheetOrEmptyConstructionChangesNothing) {
  Sheet t;
  EXPECT_EQ(t.Down(399, 319), MouseResult{});
  t.Add(Square(0, 0));
  const Construction before = t.c;
  for (MouseButton b : {MouseButton::Left, MouseButton::Right, MouseButton::Middle})
    EXPECT_EQ(t.Down(10, 10, b), MouseResult{});
  EXPECT_EQ(t.Move(20, 20), MouseResult{});
  EXPECT_EQ(t.Up(20, 20), MouseResult{});
  EXPECT_TRUE(t.c.SameContent(before));
  EXPECT_EQ(t.c.GrabbedPoint, 0);
}

TEST(Delete, RightPressOnFaceOneDoesNothing) {
  Sheet t;
  t.Add(Square(0, 0));
  t.Add(Square(3, 0));
  const Construction before = t.c;
  for (int p = 1; p <= 4; ++p) EXPECT_EQ(t.Down(t.PX(p), t.PY(p), MouseButton::Right), MouseResult{});
  EXPECT_TRUE(t.c.SameContent(before));
}

TEST(Delete, FaceThreeOfFiveRenumbersFirstNumbersOnly) {
  Sheet t;
  // Faces of 3, 4, 5, 3 and 4 points: 1-3, 4-7, 8-12, 13-15, 16-19.
  const int sizes[] = {3, 4, 5, 3, 4};
  for (int f = 0; f < 5; ++f) t.Add(Polygon(sizes[f], 3.0 * f - 6, 0));
  for (int i : {4, 9, 13, 17}) t.c.ScreenPoints[i].Fixed = true;
  const std::string tail(300, 'x');
  t.c.JoinList = {"4\t1",  "9\t5",   "12\t2",  "13\t9",  "5\t13",  "19\t12",
                  "80\t1", "1\t8",   "013\t2", "16\t" + tail,     "8\t3"};
  const NetPoint p13 = t.c.NetPoints[13], p19 = t.c.NetPoints[19];

  const MouseResult r = t.Down(t.PX(10), t.PY(10), MouseButton::Right);
  EXPECT_EQ(r, (MouseResult{true, MouseStep::FaceDeleted}));
  EXPECT_EQ(t.c.FaceCount, 4);
  EXPECT_EQ(t.c.PointCount, 14);
  EXPECT_EQ(t.c.FaceSizes[3], 3);
  EXPECT_EQ(t.c.FaceSizes[4], 4);
  EXPECT_EQ(t.c.NetPoints[8], p13);
  EXPECT_EQ(t.c.NetPoints[14], p19);
  EXPECT_TRUE(t.c.ScreenPoints[8].Fixed);   // old 13
  EXPECT_TRUE(t.c.ScreenPoints[12].Fixed);  // old 17
  EXPECT_FALSE(t.c.ScreenPoints[9].Fixed);
  EXPECT_TRUE(t.c.ScreenPoints[4].Fixed);   // fixed onto the deleted face, stays fixed
  EXPECT_TRUE(t.c.IsConsistent());
  t.ExpectPixelsAgree();
  const std::vector<std::string> expected = {
      "4\t1", "8\t9", "5\t13", "14\t12", "80\t1", "1\t8", "013\t2", "11" + ("\t" + tail).substr(0, 255)};
  EXPECT_EQ(t.c.JoinList, expected);
  EXPECT_EQ(t.c.JoinList.back().size(), 257u);
  EXPECT_EQ(t.c.GrabbedPoint, 0);
}

TEST(Delete, LastFaceAndEmptyJoinList) {
  Sheet t;
  t.Add(Square(0, 0));
  t.Add(Square(3, 0));
  EXPECT_TRUE(t.Down(t.PX(7), t.PY(7), MouseButton::Right).Repaint);
  EXPECT_EQ(t.c.FaceCount, 1);
  EXPECT_EQ(t.c.PointCount, 4);
  EXPECT_TRUE(t.c.JoinList.empty());
}

TEST(Move, FaceFollowsPointerFromSnapshotAndStaysWhereReleased) {
  Sheet t;
  t.Add(Square(0, 0));
  t.Add(Square(3, 0));
  const std::vector<NetPoint> start(t.c.NetPoints.begin() + 5, t.c.NetPoints.begin() + 9);
  EXPECT_EQ(t.Down(t.PX(6), t.PY(6), MouseButton::Middle), (MouseResult{false, MouseStep::DragBegun}));
  EXPECT_EQ(t.c.GrabbedPoint, 6);
  EXPECT_EQ(t.s.GrabFixedCount, 0);
  // Many small moves there and back must not accumulate error.
  for (int i = 0; i < 500; ++i) EXPECT_EQ(t.Move(600 + i % 37, 100 - i % 23), (MouseResult{true, MouseStep::None}));
  EXPECT_EQ(t.Move(613, 57).Step, MouseStep::None);
  EXPECT_EQ(t.Up(613, 57), (MouseResult{true, MouseStep::DragEnded}));
  EXPECT_EQ(t.c.GrabbedPoint, 0);
  const double gx = (613.0 - 399) / 50, gy = (319.0 - 57) / 50;
  EXPECT_NEAR(t.c.NetPoints[6].x, gx, 1e-12);
  EXPECT_NEAR(t.c.NetPoints[6].y, gy, 1e-12);
  for (int k = 0; k < 4; ++k) {
    EXPECT_NEAR(t.c.NetPoints[5 + k].x - gx, start[k].x - start[1].x, 1e-12);
    EXPECT_NEAR(t.c.NetPoints[5 + k].y - gy, start[k].y - start[1].y, 1e-12);
    EXPECT_FALSE(t.c.ScreenPoints[5 + k].Fixed);
  }
  t.ExpectPixelsAgree();
  EXPECT_TRUE(t.c.JoinList.empty());
  // Moves after the release do nothing.
  const Construction after = t.c;
  EXPECT_EQ(t.Move(100, 100), MouseResult{});
  EXPECT_TRUE(t.c.SameContent(after));
}

TEST(Move, ReleaseOutsideTheSheetPlacesTheFaceThere) {
  Sheet t;
  t.Add(Square(0, 0));
  t.Add(Square(3, 0));
  t.Down(t.PX(5), t.PY(5));
  t.Move(300, 300);
  EXPECT_TRUE(t.Up(-250, 2000).Repaint);
  EXPECT_NEAR(t.c.ScreenPoints[5].x, -250, 1e-9);
  EXPECT_NEAR(t.c.ScreenPoints[5].y, 2000, 1e-9);
  EXPECT_NEAR(t.c.ScreenPoints[7].x, -200, 1e-9);
  EXPECT_NEAR(t.c.ScreenPoints[7].y, 1950, 1e-9);
}

TEST(Join, InAMoveSnapsOntoPartnerAndAppendsLineAtTheEnd) {
  Sheet t;
  t.Add(Square(0, 0));
  t.Add(Square(3, 0.3));
  t.c.JoinList = {"2\t1"};
  // Release 5 pixels off point 2: the partner is found by the pointer.
  EXPECT_EQ(t.Drag(5, t.PX(2) + 5, t.PY(2) - 5), (MouseResult{true, MouseStep::DragEnded}));
  EXPECT_NEAR(t.c.NetPoints[5].x, t.c.NetPoints[2].x, 1e-12);
  EXPECT_NEAR(t.c.NetPoints[5].y, t.c.NetPoints[2].y, 1e-12);
  EXPECT_NEAR(t.c.NetPoints[8].x, 1, 1e-12);  // shape and orientation kept
  EXPECT_NEAR(t.c.NetPoints[8].y, 1, 1e-12);
  EXPECT_TRUE(t.c.ScreenPoints[5].Fixed);
  EXPECT_FALSE(t.c.ScreenPoints[2].Fixed);  // the partner's flag is never changed
  EXPECT_FALSE(t.c.ScreenPoints[8].Fixed);  // lying on point 3 does not fix it
  EXPECT_EQ(t.c.JoinList, (std::vector<std::string>{"2\t1", "5\t2"}));
  t.ExpectPixelsAgree();

  // Now it turns about point 5; releasing point 8 over point 3 fixes and locks it.
  EXPECT_EQ(t.Drag(8, t.PX(3), t.PY(3)).Step, MouseStep::DragEnded);
  EXPECT_EQ(t.c.JoinList.back(), "8\t3");
  EXPECT_NEAR(t.c.NetPoints[8].x, 1, 1e-12);
  EXPECT_NEAR(t.c.NetPoints[8].y, 1, 1e-12);
  EXPECT_TRUE(t.c.ScreenPoints[8].Fixed);

  // Locked: a press starts no drag, and moves and the release change nothing.
  const Construction locked = t.c;
  EXPECT_EQ(t.Down(t.PX(7), t.PY(7)), MouseResult{});
  EXPECT_EQ(t.c.GrabbedPoint, 0);
  EXPECT_EQ(t.Move(100, 100), MouseResult{});
  EXPECT_EQ(t.Up(100, 100), MouseResult{});
  EXPECT_TRUE(t.c.SameContent(locked));
}

TEST(Join, NoPartnerInReachOrOnlyOwnPointsJoinsNothing) {
  Sheet t;
  t.Add(Square(0, 0));
  t.Add(Square(3, 0));
  // 8 pixels off in x from point 2 is out of reach.
  t.Drag(5, t.PX(2) + 8, t.PY(2));
  EXPECT_TRUE(t.c.JoinList.empty());
  EXPECT_FALSE(t.c.ScreenPoints[5].Fixed);
  EXPECT_NEAR(t.c.ScreenPoints[5].x, 457, 1e-9);
  // The grabbed point always lies under the pointer: a face never joins itself.
  Sheet u;
  u.Add(Square(0, 0));
  u.Add(Square(3, 0));
  u.Down(u.PX(6), u.PY(6));
  EXPECT_EQ(u.Up(u.PX(6), u.PY(6)).Step, MouseStep::DragEnded);
  EXPECT_TRUE(u.c.JoinList.empty());
  EXPECT_FALSE(u.c.ScreenPoints[6].Fixed);
}

TEST(Join, LowestNumberedPartnerWins) {
  Sheet t;
  t.Add(Square(0, 0));
  t.Add(Square(1.04, 0));  // point 5 two pixels from point 2
  t.Add(Square(3, 3));
  t.Drag(9, t.PX(2), t.PY(2));
  EXPECT_EQ(t.c.JoinList.back(), "9\t2");
}

// Face 2 hangs on face 1 at one fixed point (5 on 2) and turns about it.
Sheet HingedSquares() {
  Sheet t;
  t.Add(Square(0, 0));
  t.Add(Square(3, 0));
  t.Drag(5, t.PX(2), t.PY(2));
  return t;
}

TEST(Turn, KeepsDistancesAndFollowsPointerDirectionOnceRound) {
  Sheet t = HingedSquares();
  ASSERT_EQ(t.c.JoinList.back(), "5\t2");
  const double d6 = t.Distance(5, 6), d7 = t.Distance(5, 7), d8 = t.Distance(5, 8);
  const double px = t.c.ScreenPoints[5].x, py = t.c.ScreenPoints[5].y;
  const NetPoint start7 = t.c.NetPoints[7];
  EXPECT_EQ(t.Down(t.PX(7), t.PY(7)).Step, MouseStep::DragBegun);
  EXPECT_EQ(t.s.GrabFixedCount, 1);
  EXPECT_EQ(t.s.Pivot, 5);
  EXPECT_NEAR(t.s.StartAngle, kPi / 4, 1e-12);
  double turned = 0, last = std::atan2(start7.y - t.c.NetPoints[5].y, start7.x - t.c.NetPoints[5].x);
  const int steps = 72;
  for (int i = 1; i <= steps; ++i) {
    // Pointer once round the pivot, counter-clockwise as seen, at a changing radius.
    const double a = kPi / 4 + 2 * kPi * i / steps, radius = 30 + 10 * (i % 5);
    t.Move(static_cast<int>(std::lround(px + radius * std::cos(a))),
           static_cast<int>(std::lround(py - radius * std::sin(a))));
    EXPECT_NEAR(t.Distance(5, 6), d6, 1e-12);
    EXPECT_NEAR(t.Distance(5, 7), d7, 1e-12);
    EXPECT_NEAR(t.Distance(5, 8), d8, 1e-12);
    EXPECT_NEAR(t.c.NetPoints[5].x, 1, 1e-15);  // the pivot stays
    const double now = std::atan2(t.c.NetPoints[7].y - t.c.NetPoints[5].y, t.c.NetPoints[7].x - t.c.NetPoints[5].x);
    turned += std::remainder(now - last, 2 * kPi);
    last = now;
  }
  EXPECT_NEAR(turned, 2 * kPi, 1e-2);
  // Towards and away from the pivot along one ray: no turn.
  t.Move(static_cast<int>(px + 100), static_cast<int>(py - 100));
  const NetPoint far7 = t.c.NetPoints[7];
  t.Move(static_cast<int>(px + 20), static_cast<int>(py - 20));
  EXPECT_NEAR(t.c.NetPoints[7].x, far7.x, 1e-12);
  EXPECT_NEAR(t.c.NetPoints[7].y, far7.y, 1e-12);
  EXPECT_NEAR(far7.x, start7.x, 1e-12);
  EXPECT_NEAR(far7.y, start7.y, 1e-12);
  // Release in empty sheet: the face keeps the turn of the release, nothing fixed.
  EXPECT_EQ(t.Up(static_cast<int>(px), static_cast<int>(py - 200)).Step, MouseStep::DragEnded);
  EXPECT_NEAR(t.c.NetPoints[7].x, 1, 1e-12);  // 7 straight above the pivot
  EXPECT_NEAR(t.c.NetPoints[7].y, std::sqrt(2.0), 1e-12);
  EXPECT_EQ(t.c.JoinList.size(), 1u);
  EXPECT_FALSE(t.c.ScreenPoints[7].Fixed);
  t.ExpectPixelsAgree();
}

TEST(Turn, GrabbingThePivotItself) {
  Sheet t = HingedSquares();
  t.Add(Square(-3, -3));  // points 9 .. 12; point 10 at (-2, -3)
  EXPECT_EQ(t.Down(t.PX(5), t.PY(5)).Step, MouseStep::DragBegun);
  EXPECT_EQ(t.c.GrabbedPoint, 5);
  EXPECT_EQ(t.s.StartAngle, 0.0);
  // First move straight up from the pivot: the face turns by a quarter.
  t.Move(t.PX(5), t.PY(5) - 40);
  EXPECT_NEAR(t.c.NetPoints[6].x, 1, 1e-12);
  EXPECT_NEAR(t.c.NetPoints[6].y, 1, 1e-12);
  // Released over point 10, down and to the left of the pivot.
  const int qx = t.PX(10), qy = t.PY(10);
  EXPECT_EQ(t.Up(qx, qy).Step, MouseStep::DragEnded);
  EXPECT_EQ(t.c.JoinList.back(), "5\t10");
  // Turned by the partner's direction from the pivot, (-3, -3): -135 degrees.
  const double psi = std::atan2(-3.0, -3.0);
  EXPECT_NEAR(t.c.NetPoints[6].x, 1 + std::cos(psi), 1e-12);
  EXPECT_NEAR(t.c.NetPoints[6].y, std::sin(psi), 1e-12);
  EXPECT_NEAR(t.c.NetPoints[5].x, 1, 1e-15);
  int fixed = 0;
  for (int j = 5; j <= 8; ++j) fixed += t.c.ScreenPoints[j].Fixed;
  EXPECT_EQ(fixed, 1);  // still turns
  EXPECT_EQ(t.Down(t.PX(6), t.PY(6)).Step, MouseStep::DragBegun);
}

TEST(Turn, PartnerFartherThanGrabbedPointFixesShortOfIt) {
  Sheet t = HingedSquares();
  t.Add(Square(1, 3));  // point 9 at (1, 3), 3 units above the pivot
  t.Down(t.PX(6), t.PY(6));
  t.Move(t.PX(6) + 10, t.PY(6) - 30);
  EXPECT_EQ(t.Up(t.PX(9) + 3, t.PY(9) - 3).Step, MouseStep::DragEnded);
  EXPECT_EQ(t.c.JoinList.back(), "6\t9");
  EXPECT_TRUE(t.c.ScreenPoints[6].Fixed);
  // On the ray from the pivot through the partner, at its own distance 1.
  EXPECT_NEAR(t.c.NetPoints[6].x, 1, 1e-12);
  EXPECT_NEAR(t.c.NetPoints[6].y, 1, 1e-12);
  EXPECT_NEAR(t.Distance(5, 6), 1, 1e-12);
  EXPECT_EQ(t.Down(t.PX(7), t.PY(7)), MouseResult{});  // locked
}

TEST(Drag, PressesDuringADragAreIgnored) {
  Sheet t;
  t.Add(Square(0, 0));
  t.Add(Square(3, 0));
  t.Add(Square(-3, 0));
  t.Down(t.PX(5), t.PY(5));
  const int x9 = t.PX(9), y9 = t.PY(9);
  EXPECT_EQ(t.Down(x9, y9, MouseButton::Right), MouseResult{});
  EXPECT_EQ(t.Down(x9, y9, MouseButton::Left), MouseResult{});
  EXPECT_EQ(t.c.FaceCount, 3);
  EXPECT_EQ(t.c.GrabbedPoint, 5);
  EXPECT_EQ(t.s.GrabFirst, 5);
  t.Up(t.PX(2), t.PY(2));
  EXPECT_EQ(t.c.JoinList.back(), "5\t2");
}

TEST(Drag, FaceWithThreeFixedPointsFromAFileIsLocked) {
  Sheet t;
  t.Add(Square(0, 0));
  t.Add(Square(3, 0));
  for (int j : {5, 6, 7}) t.c.ScreenPoints[j].Fixed = true;
  const Construction before = t.c;
  EXPECT_EQ(t.Down(t.PX(8), t.PY(8)), MouseResult{});
  EXPECT_EQ(t.s.GrabFixedCount, 3);
  EXPECT_EQ(t.s.Pivot, 7);
  t.Move(10, 10);
  t.Up(10, 10);
  EXPECT_TRUE(t.c.SameContent(before));
}

TEST(Drag, ConstructionReplacedDuringADragEndsTheDrag) {
  Sheet t;
  t.Add(Square(0, 0));
  t.Add(Square(3, 0));
  t.Down(t.PX(7), t.PY(7));
  t.c.ResetConstruction();  // as a load from the keyboard would
  t.Add(Polygon(6, 0, 0));
  const Construction loaded = t.c;
  EXPECT_EQ(t.Move(100, 100), (MouseResult{true, MouseStep::DragEnded}));
  EXPECT_EQ(t.c.GrabbedPoint, 0);
  EXPECT_TRUE(t.c.SameContent(loaded));
  EXPECT_EQ(t.Up(100, 100), MouseResult{});
}

TEST(Drag, LargeFacesTurnWithOffsetsSizedToTheFace) {
  Sheet t;
  t.Add(Square(0, 0));
  t.Add(Polygon(60, 10, 0));  // more corners than any button makes; a file may hold it
  const int first = 5, last = 64;
  t.c.ScreenPoints[first].Fixed = true;
  std::vector<double> radius;
  for (int j = first; j <= last; ++j) radius.push_back(t.Distance(first, j));
  EXPECT_EQ(t.Down(t.PX(last), t.PY(last)).Step, MouseStep::DragBegun);
  EXPECT_EQ(t.c.GrabbedPoint, last);
  EXPECT_EQ(t.s.Offsets.size(), 60u);
  t.Move(t.PX(first), t.PY(first) - 100);
  for (int j = first; j <= last; ++j) EXPECT_NEAR(t.Distance(first, j), radius[j - first], 1e-12) << j;
  // The grabbed point lies on the ray from the pivot towards the pointer.
  EXPECT_NEAR(t.c.NetPoints[last].x, t.c.NetPoints[first].x, 1e-12);
  EXPECT_GT(t.c.NetPoints[last].y, t.c.NetPoints[first].y);
  t.Up(0, 0);
  t.ExpectPixelsAgree();
}

}  // namespace
}  // namespace didod
