// A drag on the real window: at every step the sheet shows the picture that a
// fresh drawing of the whole construction gives.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cmath>

#include "app/main_window.h"
#include "app/sheet_widget.h"

namespace didod {
namespace {

TEST(SheetDrag, SheetShowsTheFreshPictureAtEveryStepOfADrag) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  auto* sheet = w.findChild<SheetWidget*>("PB5");
  auto* square = w.findChild<QPushButton*>("f4");
  auto* hexagon = w.findChild<QPushButton*>("f6");
  auto* labels = w.findChild<QCheckBox*>("c3");
  ASSERT_TRUE(sheet && square && hexagon && labels);
  QTest::mouseClick(labels, Qt::LeftButton);
  ASSERT_TRUE(labels->isChecked());
  // A hexagon at the centre, then two squares on one spot beside it.
  for (QPushButton* b : {hexagon, square, square}) QTest::mouseClick(b, Qt::LeftButton);
  const Construction& c = w.construction();
  ASSERT_EQ(c.FaceCount, 3);
  const double dpr = sheet->devicePixelRatioF();

  auto expectFresh = [&](const char* when) {
    const QImage fresh = sheet->Render(dpr);
    EXPECT_TRUE(sheet->Shown() == fresh) << when;
    // What the window shows once the sheet's repaint has reached it.
    QCoreApplication::processEvents();
    const QPoint at = sheet->mapTo(&w, QPoint(0, 0));
    const QImage shown = w.screen()->grabWindow(w.winId(), at.x(), at.y(), sheet->width(), sheet->height()).toImage();
    EXPECT_TRUE(shown.convertToFormat(fresh.format()) == fresh) << when;
  };
  expectFresh("before the drag");
  // The top square's first corner is dragged across the other square and the hexagon.
  const int grip = c.FaceRange(3).first;
  const QPoint from(static_cast<int>(std::lround(c.ScreenPoints[grip].x)),
                    static_cast<int>(std::lround(c.ScreenPoints[grip].y)));
  const QPoint to = sheet->rect().center() + QPoint(30, 10);
  QTest::mousePress(sheet, Qt::LeftButton, {}, from);
  ASSERT_EQ(c.GrabbedPoint, grip);
  for (int i = 1; i <= 12; ++i) {
    QTest::mouseMove(sheet, from + (to - from) * i / 12);
    expectFresh("during the drag");
  }
  QTest::mouseRelease(sheet, Qt::LeftButton, {}, to);
  expectFresh("after the drag");
  EXPECT_EQ(c.GrabbedPoint, 0);
}

}  // namespace
}  // namespace didod
