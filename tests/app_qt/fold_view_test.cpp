#include "app/fold_view.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace didod {
namespace {

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
  const QPointF farEnd = Middle(w->view, 3);

  w->slider->setValue(100);
  QImage closed = Picture(w->view);
  // The far end of the cross has folded over onto the cube: where it lay
  // flat there is nothing now, and the cube covers less than the cross did.
  EXPECT_TRUE(IsBackground(closed, farEnd));
  auto painted = [](const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += img.pixelColor(x, y) != QColor(255, 255, 255);
    return n;
  };
  const int flatArea = painted(flat), closedArea = painted(closed);
  EXPECT_GT(closedArea, 0);
  EXPECT_LT(closedArea, flatArea * 0.8);
  // All six faces of the cube are where the view says they are.
  for (int f = 0; f < 6; ++f) {
    const QPointF m = Middle(w->view, f);
    EXPECT_TRUE(QRectF(closed.rect()).contains(m));
  }
  EXPECT_FALSE(IsBackground(closed, Middle(w->view, 0)));
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

}  // namespace
}  // namespace didod
