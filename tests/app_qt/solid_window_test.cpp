#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/craft_dialog.h"
#include "app/main_window.h"
#include "app/solid_dialog.h"
#include "solids/library.h"
#include "window_support.h"

namespace didod {
namespace {

class SolidWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  QAction* Action(const char* name) { return window.findChild<QAction*>(name); }
  Tfpoly window;
};

TEST_F(SolidWindowTest, AMadeSolidLandsOnTheSheetAsOneStepAndTheSheetOffersItsTrueSize) {
  ASSERT_NE(Action("MMakeSolid"), nullptr);
  EXPECT_EQ(Action("MMakeSolid")->text(), "Körper &erzeugen …");
  bool answered = false;
  testing::OnNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<SolidDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    auto* family = dialog->findChild<QComboBox*>("family");
    family->setCurrentIndex(family->findText("Quader"));
    for (int m = 0; m < 3; ++m) dialog->findChild<QLineEdit*>(QString("measure%1").arg(m))->setText(QString::number(30 + 10 * m));
    answered = true;
    QTest::mouseClick(dialog->findChild<QPushButton*>("create"), Qt::LeftButton);
  });
  Action("MMakeSolid")->trigger();
  ASSERT_TRUE(answered);
  const Construction& c = window.construction();
  EXPECT_EQ(c.FaceCount, 6);
  EXPECT_EQ(c.PointCount, 24);
  EXPECT_EQ(c.JoinList.size(), 10u);  // five hinges, two joined corners each
  EXPECT_DOUBLE_EQ(c.Scale, 50.0);
  EXPECT_DOUBLE_EQ(window.TrueEdgeLength(), 50);
  EXPECT_EQ(window.history().UndoLabel(), "Körper Quader 30 × 40 × 50 mm");

  // The cut-and-fold sheet offers the solid's longest edge, in mm.
  double offered = 0;
  testing::OnNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<CraftDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    offered = dialog->edgeLength->value();
    dialog->reject();
  });
  SaveCraftSheet(window.construction(), "Quader", &window, window.TrueEdgeLength());
  EXPECT_DOUBLE_EQ(offered, 50);

  window.Undo();
  EXPECT_EQ(window.construction().FaceCount, 0);
}

TEST_F(SolidWindowTest, LibrarySolidsComeAsNetsOfTheirFaces) {
  ASSERT_TRUE(window.PlaceSolid([&] {
    SolidChoice c;
    c.name = "Großes Ikosaeder";
    c.longestEdge = 30;
    // 180 triangles: 540 points fit the store.
    for (const auto& e : solids::Library())
      if (e.name == c.name) c.solid = solids::BuildLibrarySolid(e, 30);
    return c;
  }()));
  EXPECT_EQ(window.construction().FaceCount, 180);
  EXPECT_EQ(window.construction().PointCount, 540);
  EXPECT_DOUBLE_EQ(window.TrueEdgeLength(), 30);
}

}  // namespace
}  // namespace didod
