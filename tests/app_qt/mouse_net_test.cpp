// Builds nets by hand on the real window, offscreen, only through mouse events:
// polygon buttons clicked, corners dragged onto corners, faces turned and locked.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QTest>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::Control;

struct Hand {
  Tfpoly& w;
  const Construction& c() const { return w.construction(); }
  QPoint At(int point) const {
    return {static_cast<int>(std::lround(c().ScreenPoints[point].x)),
            static_cast<int>(std::lround(c().ScreenPoints[point].y))};
  }
  FaceRangeResult Face(int f) const { return c().FaceRange(f); }
  void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  // Presses on a point, moves the pointer over the sheet in a few steps and
  // releases at the target.
  void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(Control<SheetWidget>(w, "PB5"), button, {}, from);
    for (int i = 1; i <= 5; ++i) QTest::mouseMove(Control<SheetWidget>(w, "PB5"), from + (to - from) * i / 5);
    QTest::mouseRelease(Control<SheetWidget>(w, "PB5"), button, {}, to);
  }
  // Glues the newest face g to edge (a, b) of an older face, b following a in
  // that face: the first corner of g goes onto b by a move, then the second
  // corner is turned onto a, which fixes it and locks g.
  void Attach(int g, int a, int b) {
    const int u = Face(g).first, v = u + 1;
    Drag(At(u), At(b));
    ASSERT_TRUE(c().ScreenPoints[u].Fixed);
    Drag(At(v), At(a));
    ASSERT_TRUE(c().ScreenPoints[v].Fixed);
  }
  // Corner k of face f and the corner after it.
  int Corner(int f, int k) const { return Face(f).first + k % c().FaceSizes[f]; }
};

NetPoint Centroid(const Construction& c, int f) {
  const FaceRangeResult r = c.FaceRange(f);
  NetPoint m;
  for (int j = r.first; j <= r.last; ++j) {
    m.x += c.NetPoints[j].x / (r.last - r.first + 1);
    m.y += c.NetPoints[j].y / (r.last - r.first + 1);
  }
  return m;
}

double Dist(NetPoint a, NetPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Checks what every hand-made net must show: every face after the first has
// exactly two fixed points, each on a corner of another face; the join list
// has two lines per joined face; the faces keep their sides; no two faces
// overlap (centroids at least `apart` from each other); and the picture has an
// outline through every edge's middle and nothing drawn at the faces' centres.
void ExpectProperNet(Tfpoly& w, int faces, double side, double apart) {
  const Construction& c = w.construction();
  ASSERT_EQ(c.FaceCount, faces);
  EXPECT_EQ(c.JoinList.size(), static_cast<std::size_t>(2 * (faces - 1)));
  std::set<std::string> firsts;
  for (const std::string& line : c.JoinList) firsts.insert(line.substr(0, line.find('\t')));
  for (int f = 1; f <= faces; ++f) {
    const FaceRangeResult r = c.FaceRange(f);
    int fixed = 0;
    for (int j = r.first; j <= r.last; ++j) {
      const int next = j == r.last ? r.first : j + 1;
      EXPECT_NEAR(Dist(c.NetPoints[j], c.NetPoints[next]), side, 1e-9) << "face " << f;
      if (!c.ScreenPoints[j].Fixed) continue;
      ++fixed;
      EXPECT_TRUE(firsts.contains(std::to_string(j))) << j;
      bool onCorner = false;
      for (int i = 1; i <= c.PointCount; ++i)
        if ((i < r.first || i > r.last) && Dist(c.NetPoints[i], c.NetPoints[j]) < 1e-9) onCorner = true;
      EXPECT_TRUE(onCorner) << "point " << j << " of face " << f;
    }
    EXPECT_EQ(fixed, f == 1 ? 0 : 2) << "face " << f;
    for (int g = 1; g < f; ++g) EXPECT_GT(Dist(Centroid(c, f), Centroid(c, g)), apart - 1e-9) << f << " " << g;
  }

  const QImage image = Control<SheetWidget>(w, "PB5")->Pixels();
  const ViewCentre centre = Control<SheetWidget>(w, "PB5")->Centre();
  auto at = [&](NetPoint p) {
    return QPoint(static_cast<int>(std::lround(centre.cx + c.Scale * p.x)),
                  static_cast<int>(std::lround(centre.cy - c.Scale * p.y)));
  };
  // The line through an edge's middle may step one pixel beside the exact point.
  auto blackNear = [&](QPoint q) {
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        if (image.pixelColor(q + QPoint(dx, dy)) == QColor(Qt::black)) return true;
    return false;
  };
  for (int f = 1; f <= faces; ++f) {
    // Beside the centroid, clear of the origin marker that face 1 holds.
    EXPECT_EQ(image.pixelColor(at(Centroid(c, f)) + QPoint(8, 0)), QColor(Qt::white)) << "inside face " << f;
    const FaceRangeResult r = c.FaceRange(f);
    for (int j = r.first; j <= r.last; ++j) {
      const NetPoint a = c.NetPoints[j], b = c.NetPoints[j == r.last ? r.first : j + 1];
      EXPECT_TRUE(blackNear(at({(a.x + b.x) / 2, (a.y + b.y) / 2}))) << "edge of face " << f;
    }
  }
}

class MouseNet : public ::testing::Test {
 protected:
  void SetUp() override {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // New faces appear 300 pixels left of and 250 above the centre: on the sheet.
    ASSERT_GE(Control<SheetWidget>(w, "PB5")->width(), 700);
    ASSERT_GE(Control<SheetWidget>(w, "PB5")->height(), 600);
  }
  Tfpoly w;
  Hand hand{w};
};

TEST_F(MouseNet, CubeFromSixSquares) {
  for (int i = 0; i < 6; ++i) {
    hand.Click(Control<QPushButton>(w, "f4"));
    ASSERT_EQ(w.construction().FaceCount, i + 1);
    if (i == 0) continue;
    const int g = i + 1;
    // A cross: faces 2 to 5 round face 1, face 6 beyond face 2.
    if (g <= 5)
      hand.Attach(g, hand.Corner(1, g - 2), hand.Corner(1, g - 1));
    else
      hand.Attach(g, hand.Corner(2, 2), hand.Corner(2, 3));
  }
  ExpectProperNet(w, 6, 1.0, 1.0);
  const Construction& c = w.construction();
  EXPECT_NEAR(Dist(Centroid(c, 6), Centroid(c, 1)), 2.0, 1e-9);
  EXPECT_EQ(c.JoinList[0], "5\t2");
  EXPECT_EQ(c.JoinList[1], "6\t1");
}

TEST_F(MouseNet, TetrahedronFromFourTriangles) {
  for (int i = 0; i < 4; ++i) {
    hand.Click(Control<QPushButton>(w, "f3"));
    ASSERT_EQ(w.construction().FaceCount, i + 1);
    if (i > 0) hand.Attach(i + 1, hand.Corner(1, i - 1), hand.Corner(1, i));
  }
  // Inradius of a unit triangle twice over: neighbours' centroids lie 1/sqrt(3) apart.
  ExpectProperNet(w, 4, 1.0, 1.0 / std::sqrt(3.0));
  const Construction& c = w.construction();
  // Together the four make one triangle of side 2.
  double extent = 0;
  for (int i = 1; i <= c.PointCount; ++i)
    for (int j = 1; j <= c.PointCount; ++j) extent = std::max(extent, Dist(c.NetPoints[i], c.NetPoints[j]));
  EXPECT_NEAR(extent, 2.0, 1e-9);
}

TEST_F(MouseNet, MiddleButtonDragsAndRightClickDeletes) {
  const QColor yellow(255, 255, 0), lightBlue(192, 192, 255);
  hand.Click(Control<QPushButton>(w, "f4"));
  hand.Click(Control<QPushButton>(w, "f3"));
  // The middle button moves the triangle onto corner 1 of the square.
  hand.Drag(hand.At(5), hand.At(1), Qt::MiddleButton);
  ASSERT_EQ(w.construction().JoinList, std::vector<std::string>{"5\t1"});
  EXPECT_EQ(Control<SheetWidget>(w, "PB5")->Pixels().pixelColor(hand.At(1)), yellow);
  hand.Click(Control<QPushButton>(w, "f3"));
  ASSERT_EQ(w.construction().FaceCount, 3);
  // A right click on the square (face 1) does nothing; on the triangle it deletes it.
  QTest::mouseClick(Control<SheetWidget>(w, "PB5"), Qt::RightButton, {}, hand.At(3));
  EXPECT_EQ(w.construction().FaceCount, 3);
  QTest::mouseClick(Control<SheetWidget>(w, "PB5"), Qt::RightButton, {}, hand.At(7));
  EXPECT_EQ(w.construction().FaceCount, 2);
  EXPECT_EQ(w.construction().PointCount, 7);
  EXPECT_TRUE(w.construction().JoinList.empty());
  // The square's own blue corner shows again where the triangle's yellow one lay.
  EXPECT_EQ(Control<SheetWidget>(w, "PB5")->Pixels().pixelColor(hand.At(1)), lightBlue);
}

}  // namespace
}  // namespace didod
