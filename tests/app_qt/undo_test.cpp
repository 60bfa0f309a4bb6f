#include <gtest/gtest.h>

#include <QTest>

#include "app/main_window.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::Control;

TEST(UndoInWindow, CtrlZTakesBackARightClickDeletionAndCtrlYRedoesIt) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  EXPECT_FALSE(Control<QAction>(w, "MUndo")->isEnabled());
  EXPECT_FALSE(Control<QAction>(w, "MRedo")->isEnabled());
  QTest::mouseClick(Control<QPushButton>(w, "f4"), Qt::LeftButton);
  QTest::mouseClick(Control<QPushButton>(w, "f3"), Qt::LeftButton);
  EXPECT_TRUE(Control<QAction>(w, "MUndo")->isEnabled());
  EXPECT_EQ(Control<QAction>(w, "MUndo")->text(), "Rückgängig: Dreieck hinzufügen");
  const Construction before = w.construction();
  // Corner 1 of the triangle lies 300 px left of and 250 px above the centre.
  const QPoint corner(static_cast<int>(std::lround(w.construction().ScreenPoints[5].x)),
                      static_cast<int>(std::lround(w.construction().ScreenPoints[5].y)));
  QTest::mouseClick(Control<SheetWidget>(w, "PB5"), Qt::RightButton, Qt::NoModifier, corner);
  ASSERT_EQ(w.construction().FaceCount, 1);
  EXPECT_EQ(Control<QAction>(w, "MUndo")->text(), "Rückgängig: Löschen");
  QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(w.construction().SameContent(before));
  EXPECT_EQ(Control<QAction>(w, "MRedo")->text(), "Wiederherstellen: Löschen");
  QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(w.construction().FaceCount, 1);
  QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(w.construction().FaceCount, 1);
}

TEST(UndoInWindow, ADragIsOneStepAndZoomIsNone) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTest::mouseClick(Control<QPushButton>(w, "f4"), Qt::LeftButton);
  const Construction placed = w.construction();
  const QPoint corner(424, 344);
  QTest::mousePress(Control<SheetWidget>(w, "PB5"), Qt::LeftButton, Qt::NoModifier, corner);
  for (int k = 1; k <= 20; ++k) QTest::mouseMove(Control<SheetWidget>(w, "PB5"), corner + QPoint(5 * k, 2 * k));
  QTest::mouseRelease(Control<SheetWidget>(w, "PB5"), Qt::LeftButton, Qt::NoModifier, corner + QPoint(100, 40));
  EXPECT_DOUBLE_EQ(w.construction().NetPoints[1].x, 0.5 + 2.0);
  EXPECT_EQ(Control<QAction>(w, "MUndo")->text(), "Rückgängig: Verschieben");
  w.S40Click();
  EXPECT_EQ(Control<QAction>(w, "MUndo")->text(), "Rückgängig: Verschieben");
  QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(w.construction().NetPoints[1], placed.NetPoints[1]);
  EXPECT_EQ(w.construction().Scale, 55.0);  // the zoom stays
  QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(w.construction().FaceCount, 0);
  EXPECT_FALSE(Control<QAction>(w, "MUndo")->isEnabled());
}

}  // namespace
}  // namespace didod
