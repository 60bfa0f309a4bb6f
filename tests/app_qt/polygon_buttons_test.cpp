#include <gtest/gtest.h>

#include <QTest>

#include "app/main_window.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::Control;

struct Expected {
  const char* button;
  int corners;
  double firstX, firstY;  // first corner in net units, for the first face at the centre
};

TEST(PolygonButtons, EachButtonAddsItsFaceAndRepaints) {
  const Expected cases[] = {
      {"f3", 3, 0.5, -0.288675},  {"f4", 4, 0.5, -0.5},  {"f5", 5, 0.850651, 0},
      {"f6", 6, 1, 0},            {"f8", 8, 1.306563, 0}, {"f10", 10, 1.618034, 0},
      {"f12", 12, 1.931852, 0},   {"f7", 3, 0, 0},        {"f9", 4, 0, 0},
      {"f11", 4, 0, 0},
  };
  for (const Expected& e : cases) {
    Tfpoly w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QPushButton* button = Control<QPushButton>(w, e.button);
    QTest::mouseClick(button, Qt::LeftButton);
    const Construction& c = w.construction();
    ASSERT_EQ(c.FaceCount, 1) << button->text().toStdString();
    EXPECT_EQ(c.FaceSizes[1], e.corners) << button->text().toStdString();
    EXPECT_NEAR(c.NetPoints[1].x, e.firstX, 1e-6) << button->text().toStdString();
    EXPECT_NEAR(c.NetPoints[1].y, e.firstY, 1e-6) << button->text().toStdString();
    // The sheet shows the new face: its first corner's marker is light blue.
    const QImage image = Control<SheetWidget>(w, "PB5")->Pixels();
    const int px = 399 + static_cast<int>(std::lround(50 * e.firstX));
    const int py = 319 - static_cast<int>(std::lround(50 * e.firstY));
    EXPECT_EQ(QColor(image.pixel(px, py)), QColor(192, 192, 255)) << button->text().toStdString();
  }
}

TEST(PolygonButtons, FieldsAndSpecialFacesAreRead) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  Control<QLineEdit>(w, "E7")->setText(" 7");
  QTest::mouseClick(Control<QPushButton>(w, "f12"), Qt::LeftButton);
  EXPECT_EQ(w.construction().FaceSizes[1], 7);
  for (int index = 0; index < 6; ++index) {
    Control<QComboBox>(w, "Co1")->setCurrentIndex(index);
    QTest::mouseClick(Control<QPushButton>(w, "f11"), Qt::LeftButton);
    EXPECT_EQ(w.construction().FaceSizes[w.construction().FaceCount], index >= 4 ? 5 : 4);
  }
  Control<QComboBox>(w, "Co1")->setEditText("irgendwas");  // no entry selected: the rectangle
  QTest::mouseClick(Control<QPushButton>(w, "f11"), Qt::LeftButton);
  const Construction& c = w.construction();
  const int last = c.PointCount;
  EXPECT_NEAR(c.NetPoints[last].y - c.NetPoints[last - 3].y, -1.0, 1e-12);
  Control<QLineEdit>(w, "Edit2")->setText("0,4");  // legs too short: nothing is added
  const int faces = c.FaceCount;
  QTest::mouseClick(Control<QPushButton>(w, "f7"), Qt::LeftButton);
  EXPECT_EQ(c.FaceCount, faces);
}

}  // namespace
}  // namespace didod
