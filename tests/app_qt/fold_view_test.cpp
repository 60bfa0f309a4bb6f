#include "app/fold_view.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "app/main_window.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::Control;

Construction CubeCross() {
  Construction c;
  const ViewCentre centre{400, 300};
  auto square = [&](double x, double y) { c.AppendWholeFace({{x, y}, {x + 1, y}, {x + 1, y + 1}, {x, y + 1}}, centre); };
  square(0, 0);
  square(0, 1);
  square(0, 2);
  square(0, 3);
  square(-1, 2);
  square(1, 2);
  return c;
}

QImage Picture(FoldView* view) { return view->grab().toImage(); }

bool IsBackground(const QImage& img, QPointF p) {
  return img.pixelColor(p.toPoint()) == QColor(255, 255, 255);
}

// The face's middle on the picture, at the view's current stage.
QPointF Middle(const FoldView* view, int face) {
  const auto faces = FacesAt(view->result(), view->fraction());
  Point3 m;
  for (const Point3& p : faces[face]) {
    m.x += p.x / faces[face].size();
    m.y += p.y / faces[face].size();
    m.z += p.z / faces[face].size();
  }
  return view->project(m);
}

TEST(FoldWindow, ShowsTheFlatNetAtZeroAndTheClosedCubeAtFullFold) {
  const Construction c = CubeCross();
  std::unique_ptr<FoldWindow> w(new FoldWindow(c));
  w->resize(600, 560);
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  EXPECT_EQ(w->windowTitle(), "Netz falten");
  EXPECT_EQ(w->sliderLabel->text(), "Faltung");
  EXPECT_EQ(w->verdict->text(),
            QString::fromUtf8("Das Netz faltet sich zu einem konvexen Körper mit 6 Flächen, 12 Kanten und 8 Ecken."));
  EXPECT_EQ(w->slider->value(), 100);

  w->slider->setValue(0);
  QImage flat = Picture(w->view);
  // Every square of the cross is painted; the bay between the arms is not.
  for (int f = 0; f < 6; ++f) EXPECT_FALSE(IsBackground(flat, Middle(w->view, f))) << "face " << f + 1;
  const QPointF bay = w->view->project({-0.5, 0.5, 0});
  EXPECT_TRUE(IsBackground(flat, bay));

  w->slider->setValue(100);
  QImage closed = Picture(w->view);
  // The closed cube: everything painted lies within the outline of its
  // eight corners and fills most of it; every face's middle is painted.
  QRectF box;
  for (const auto& face : FacesAt(w->view->result(), 1.0))
    for (const Point3& p : face) {
      const QPointF q = w->view->project(p);
      box = box.isNull() ? QRectF(q, QSizeF(0.01, 0.01)) : box.united(QRectF(q, QSizeF(0.01, 0.01)));
    }
  const QRectF margin = box.adjusted(-3, -3, 3, 3);
  int inside = 0, outside = 0;
  for (int y = 0; y < closed.height(); ++y)
    for (int x = 0; x < closed.width(); ++x) {
      if (closed.pixelColor(x, y) == QColor(255, 255, 255)) continue;
      (margin.contains(QPointF(x, y)) ? inside : outside) += 1;
    }
  EXPECT_EQ(outside, 0);
  EXPECT_GT(inside, box.width() * box.height() * 0.6);
  for (int f = 0; f < 6; ++f) EXPECT_TRUE(box.contains(Middle(w->view, f))) << "face " << f + 1;
  // The cube fits in a box about as wide as high; the cross did not.
  EXPECT_NEAR(box.width() / box.height(), 1.0, 0.35);
}

TEST(FoldWindow, TurnsWithTheMouse) {
  const Construction c = CubeCross();
  std::unique_ptr<FoldWindow> w(new FoldWindow(c));
  w->resize(600, 560);
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  const QImage before = Picture(w->view);
  const QPointF cornerBefore = w->view->project({1, 1, 0});
  const QPoint start = w->view->rect().center();
  QTest::mousePress(w->view, Qt::LeftButton, Qt::NoModifier, start);
  QTest::mouseMove(w->view, start + QPoint(40, 10));
  QTest::mouseMove(w->view, start + QPoint(80, 25));
  QTest::mouseRelease(w->view, Qt::LeftButton, Qt::NoModifier, start + QPoint(80, 25));
  const QImage after = Picture(w->view);
  EXPECT_NE(before, after);
  EXPECT_GT(QLineF(cornerBefore, w->view->project({1, 1, 0})).length(), 5.0);
  // Moving without the button held turns nothing.
  const QImage still = Picture(w->view);
  QTest::mouseMove(w->view, start);
  EXPECT_EQ(still, Picture(w->view));
}

TEST(FoldWindow, BrokenNetShowsTheReasonAndStaysFlat) {
  Construction c;
  const ViewCentre centre{400, 300};
  c.AppendWholeFace({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, centre);
  c.AppendWholeFace({{3, 0}, {4, 0}, {4, 1}, {3, 1}}, centre);
  const Construction before = c;
  FoldWindow* w = ShowFoldWindow(c, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  EXPECT_TRUE(w->verdict->text().startsWith("Das ist kein Netz: Das Netz zerfällt in 2 Teile"));
  EXPECT_FALSE(w->slider->isEnabled());
  const QImage img = Picture(w->view);
  EXPECT_FALSE(IsBackground(img, w->view->project({0.5, 0.5, 0})));
  EXPECT_FALSE(IsBackground(img, w->view->project({3.5, 0.5, 0})));
  EXPECT_TRUE(c.SameContent(before));
  w->close();
}

// A cube net laid out by hand on the main window, with mouse events only:
// six squares, each new one dropped corner by corner onto an edge.
TEST(FoldWindow, HandBuiltCubeFoldsIntoACube) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  const Construction& c = w.construction();
  auto at = [&](int point) {
    return QPoint(static_cast<int>(std::lround(c.ScreenPoints[point].x)),
                  static_cast<int>(std::lround(c.ScreenPoints[point].y)));
  };
  auto drag = [&](QPoint from, QPoint to) {
    QTest::mousePress(Control<SheetWidget>(w, "PB5"), Qt::LeftButton, {}, from);
    for (int i = 1; i <= 5; ++i) QTest::mouseMove(Control<SheetWidget>(w, "PB5"), from + (to - from) * i / 5);
    QTest::mouseRelease(Control<SheetWidget>(w, "PB5"), Qt::LeftButton, {}, to);
  };
  // Corner k of face f.
  auto corner = [&](int f, int k) { return c.FaceRange(f).first + k % c.FaceSizes[f]; };
  for (int i = 0; i < 6; ++i) {
    QTest::mouseClick(Control<QPushButton>(w, "f4"), Qt::LeftButton);
    ASSERT_EQ(c.FaceCount, i + 1);
    if (i == 0) continue;
    const int g = i + 1;
    // Faces 2 to 5 round face 1, face 6 beyond face 2: a cross.
    const int a = g <= 5 ? corner(1, g - 2) : corner(2, 2);
    const int b = g <= 5 ? corner(1, g - 1) : corner(2, 3);
    const int u = c.FaceRange(g).first;
    drag(at(u), at(b));
    drag(at(u + 1), at(a));
    ASSERT_TRUE(c.ScreenPoints[u + 1].Fixed);
  }
  const Construction before = c;
  const FoldResult r = FoldNet(c);
  ASSERT_EQ(r.verdict, FoldResult::Verdict::Convex) << r.message;
  EXPECT_EQ(r.faces, 6);
  EXPECT_EQ(r.edges, 12);
  EXPECT_EQ(r.vertices, 8);
  for (const Hinge& h : r.hinges) EXPECT_NEAR(h.dihedral, std::numbers::pi / 2, 1e-6);

  FoldWindow* fold = ShowFoldWindow(c, &w);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(fold));
  EXPECT_EQ(fold->verdict->text(),
            QString::fromUtf8("Das Netz faltet sich zu einem konvexen Körper mit 6 Flächen, 12 Kanten und 8 Ecken."));
  fold->close();
  EXPECT_TRUE(c.SameContent(before));
}

}  // namespace
}  // namespace didod
