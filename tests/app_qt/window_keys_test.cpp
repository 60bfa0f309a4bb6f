#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "app/main_window.h"
#include "tests/app_qt/shown_window.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::Control;

class WindowKeysTest : public testing::ShownWindowTest {
 protected:
  template <typename T>
  T* Find(const char* name) {
    return Control<T>(window, name);
  }
};

// Esc in an open list or menu closes only that popup; the unchanged window,
// which Esc would close at once, stays.
TEST_F(WindowKeysTest, EscOnAnOpenListOrMenuClosesOnlyThatPopup) {
  for (const char* name : {"Co1", "Co2"}) {
    auto* box = Find<QComboBox>(name);
    box->setFocus();
    box->showPopup();
    QWidget* popup = box->view()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup)) << name;
    ASSERT_EQ(QApplication::activePopupWidget(), popup) << name;
    QTest::keyClick(box->view(), Qt::Key_Escape);
    EXPECT_FALSE(popup->isVisible()) << name;
    EXPECT_TRUE(window.isVisible()) << name;
  }
  auto* menu = Find<QMenu>("MEdit");
  menu->popup(window.mapToGlobal(QPoint(40, 40)));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
  QTest::keyClick(menu, Qt::Key_Escape);
  EXPECT_FALSE(menu->isVisible());
  EXPECT_TRUE(window.isVisible());
  // With no popup open, Esc still ends the program.
  QTest::keyClick(Find<QWidget>("Edit2"), Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowKeysTest, CtrlZAndCtrlYActOnTheConstructionRightAfterACatalogueChoice) {
  QTest::mouseClick(Find<QWidget>("f4"), Qt::LeftButton);
  auto* nets = Find<QComboBox>("Co2");
  QLineEdit* text = nets->lineEdit();
  text->setFocus();
  didod::testing::PressOnNextBox("&Verwerfen");  // the square is let go
  QTest::keyClick(text, Qt::Key_Down);  // the first net of the list
  ASSERT_EQ(nets->currentText(), "Antiprisma 5");
  const int netFaces = window.construction().FaceCount;
  ASSERT_GT(netFaces, 1);
  window.activateWindow();  // back from the question, as the window manager does
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ASSERT_TRUE(text->hasFocus());
  QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window.construction().FaceCount, 1);
  QTest::keyClick(text, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(window.construction().FaceCount, netFaces);
  // Text typed after the choice keeps its own undo.
  QTest::keyClicks(text, "x");
  ASSERT_EQ(text->text(), "Antiprisma 5x");
  QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(text->text(), "Antiprisma 5");
  EXPECT_EQ(window.construction().FaceCount, netFaces);
}

TEST_F(WindowKeysTest, ACheckBoxTogglesAlsoRightOfItsTextAndTheNetListShowsWholeNames) {
  auto* show = Find<QCheckBox>("c4");
  auto* label = Find<QCheckBox>("c3");
  EXPECT_EQ(show->width(), 161);
  EXPECT_EQ(label->width(), 153);
  QTest::mouseClick(show, Qt::LeftButton, {}, QPoint(158, 8));
  EXPECT_FALSE(show->isChecked());
  QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(150, 8));
  EXPECT_TRUE(label->isChecked());

  auto* nets = Find<QComboBox>("Co2");
  nets->showPopup();
  QAbstractItemView* list = nets->view();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
  const int longest = nets->findText("Siebenseitiger Pyramidenstumpf");
  ASSERT_GT(longest, 0);
  list->scrollTo(list->model()->index(longest, 0));
  const QRect row = list->visualRect(list->model()->index(longest, 0));
  const int needed = list->fontMetrics().horizontalAdvance(nets->itemText(longest));
  EXPECT_GE(list->viewport()->width(), needed);
  EXPECT_GE(list->viewport()->width(), list->sizeHintForColumn(0));
  EXPECT_TRUE(list->viewport()->rect().contains(row.topLeft()));
  nets->hidePopup();
}

}  // namespace
}  // namespace didod
