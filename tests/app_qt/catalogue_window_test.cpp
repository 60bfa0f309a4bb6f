#include <gtest/gtest.h>

#include <QTest>

#include "app/main_window.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::Control;
using didod::testing::OnNextModal;
using didod::testing::PressOnNextBox;

class CatalogueWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  void Choose(const QString& name) {
    const int index = Co2()->findText(name);
    ASSERT_GT(index, 0) << name.toStdString();
    Co2()->setCurrentIndex(index);
  }
  QComboBox* Co2() { return Control<QComboBox>(window, "Co2"); }
  Tfpoly window;
};

TEST_F(CatalogueWindowTest, NetBoxListsDashThenTheHundredAndThreeNames) {
  ASSERT_EQ(Co2()->count(), 104);
  EXPECT_EQ(Co2()->itemText(0), "-");
  EXPECT_EQ(Co2()->itemText(1), "Antiprisma 5");
  EXPECT_EQ(Co2()->itemText(103), "Würfel");
  EXPECT_EQ(Co2()->currentText(), "-");
  EXPECT_EQ(Co2()->maxVisibleItems(), 32);
}

TEST_F(CatalogueWindowTest, ChoosingANetReplacesTheConstructionAndAsksOnlyOverChangedWork) {
  QTest::mouseClick(Control<QPushButton>(window, "f4"), Qt::LeftButton);
  window.S40Click();
  QString question;
  PressOnNextBox("&Verwerfen", &question);
  Choose("Tetraeder");
  EXPECT_EQ(question, QString::fromUtf8(kReplaceQuestion));
  // A chosen net is unchanged work: the next choices replace it without a question.
  QPointer<QTimer> noQuestion = OnNextModal([](QWidget* modal) {
    ADD_FAILURE() << "a question over unchanged work";
    modal->close();
  });
  const Construction& c = window.construction();
  EXPECT_EQ(c.FaceCount, 4);
  EXPECT_EQ(c.PointCount, 12);
  EXPECT_EQ(c.JoinList.size(), 6u);
  EXPECT_EQ(c.Scale, 50.0);
  EXPECT_EQ(Co2()->currentText(), "Tetraeder");
  for (int i = 1; i <= c.PointCount; ++i) EXPECT_NEAR(c.ScreenPoints[i].x, 399 + 50 * c.NetPoints[i].x, 1e-9);

  Choose("Hexakisikosaeder");
  EXPECT_EQ(c.FaceCount, 120);
  EXPECT_EQ(c.PointCount, 360);

  Choose("Antiprisma 6");
  EXPECT_NEAR(c.NetPoints[1].x, 0.566025403784439, 1e-15);
  EXPECT_NEAR(c.NetPoints[1].y, -0.02, 1e-15);

  Choose("Johnson Polyeder 15");  // the last record, ended by the terminator
  EXPECT_EQ(c.FaceCount, 12);
  EXPECT_EQ(static_cast<int>(c.JoinList.size()), 2 * (c.FaceCount - 1));
  for (const std::string& line : c.JoinList) EXPECT_NE(line.rfind('[', 0), 0u) << line;
  delete noQuestion.data();
}

TEST_F(CatalogueWindowTest, DashAndUnknownTextChangeNothing) {
  Choose("Würfel");
  window.S41Click();
  const Construction before = window.construction();
  Co2()->setCurrentIndex(0);
  EXPECT_TRUE(window.construction().SameContent(before));
  Co2()->setCurrentIndex(Co2()->findText("Oktaeder"));
  const Construction octahedron = window.construction();
  Co2()->setEditText("Kein Netz");
  EXPECT_TRUE(window.construction().SameContent(octahedron));
  Co2()->setEditText("wÜrfel");  // a name in other letter case still names the cube
  EXPECT_EQ(window.construction().FaceCount, 6);
}

TEST_F(CatalogueWindowTest, UndoBringsBackTheConstructionBeforeTheChoice) {
  QTest::mouseClick(Control<QPushButton>(window, "f5"), Qt::LeftButton);
  const Construction before = window.construction();
  PressOnNextBox("&Verwerfen");
  Choose("Ikosaeder");
  EXPECT_EQ(window.construction().FaceCount, 20);
  window.Undo();
  EXPECT_TRUE(window.construction().SameContent(before));
  window.Redo();
  EXPECT_EQ(window.construction().FaceCount, 20);
}

}  // namespace
}  // namespace didod
