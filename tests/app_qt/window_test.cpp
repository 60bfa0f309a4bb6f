#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

#include "app/application.h"
#include "app/main_window.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::Control;
using didod::testing::OnNextModal;

// A caption as shown, without the mark of its mnemonic.
QString Plain(QString text) { return text.remove(QLatin1Char('&')); }

TEST(MainWindow, TitleCaptionStripAndSheetSize) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  EXPECT_EQ(w.windowHandle()->title(), "Zozeroradedar konstruieren");
  EXPECT_EQ(Control<QLabel>(w, "P1Caption")->text(), "Zozeroradedar konstruieren");
  EXPECT_EQ(Control<SheetWidget>(w, "PB5")->size(), QSize(799, 638));
  EXPECT_EQ(Control<QFrame>(w, "P34")->width(), 209);
  EXPECT_EQ(Control<QFrame>(w, "P1")->height(), 26);
  EXPECT_EQ(Control<QToolButton>(w, "S7")->toolTip(), "Teilprogramm beenden");
  EXPECT_EQ(Control<QToolButton>(w, "S18")->toolTip(), "Konstruktion löschen");
  EXPECT_EQ(Control<QToolButton>(w, "S14")->toolTip(), "Konstruktion laden");
  EXPECT_EQ(Control<QToolButton>(w, "S15")->toolTip(), "Konstruktion speichern");
  EXPECT_EQ(Control<QToolButton>(w, "S40")->toolTip(), "Darstellung vergrößern");
  EXPECT_EQ(Control<QToolButton>(w, "S42")->toolTip(), "Standardeinstellung");
  EXPECT_EQ(Control<QToolButton>(w, "S41")->toolTip(), "Darstellung verkleinern");
  for (QToolButton* b : {Control<QToolButton>(w, "S7"), Control<QToolButton>(w, "S14"), Control<QToolButton>(w, "S15"), Control<QToolButton>(w, "S40"), Control<QToolButton>(w, "S41"), Control<QToolButton>(w, "S42")}) EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
}

TEST(MainWindow, SidePanelCaptionsAndInitialValues) {
  Tfpoly w;
  const std::pair<QPushButton*, const char*> buttons[] = {
      {Control<QPushButton>(w, "f3"), "Dreieck"}, {Control<QPushButton>(w, "f4"), "Quadrat"}, {Control<QPushButton>(w, "f5"), "Fünfeck"}, {Control<QPushButton>(w, "f6"), "Sechseck"}, {Control<QPushButton>(w, "f8"), "Achteck"},
      {Control<QPushButton>(w, "f10"), "Zehneck"}, {Control<QPushButton>(w, "f12"), "Polygon"}, {Control<QPushButton>(w, "f7"), "gleichschenkliges Dreieck"}, {Control<QPushButton>(w, "f9"), "Rhombus"},
      {Control<QPushButton>(w, "f11"), "Sonderflächen"}};
  for (const auto& [button, caption] : buttons) EXPECT_EQ(button->text(), QString::fromUtf8(caption));
  EXPECT_EQ(Control<QPushButton>(w, "f7")->geometry(), QRect(16, 176, 177, 25));
  EXPECT_EQ(Control<QLabel>(w, "L51")->text(), "Regelmäßiges Vieleck");
  EXPECT_EQ(Control<QLabel>(w, "L39")->text(), "Seiten");
  EXPECT_EQ(Control<QLabel>(w, "L49")->text(), "mit 2.Seite");
  EXPECT_EQ(Control<QLabel>(w, "L40")->text(), "Innenwinkel");
  EXPECT_EQ(Control<QLabel>(w, "L41")->text(), "Skalierungsfaktor");
  EXPECT_EQ(Control<QLineEdit>(w, "E7")->text(), "12");
  EXPECT_EQ(Control<QLineEdit>(w, "Edit2")->text(), "2");
  EXPECT_EQ(Control<QLineEdit>(w, "Edit3")->text(), "60");
  EXPECT_EQ(Control<QLineEdit>(w, "Edit4")->text(), "1");
  EXPECT_TRUE(Control<QCheckBox>(w, "c4")->isChecked());
  EXPECT_EQ(Control<QCheckBox>(w, "c4")->text(), "Punkte anzeigen");
  EXPECT_FALSE(Control<QCheckBox>(w, "c3")->isChecked());
  EXPECT_EQ(Control<QCheckBox>(w, "c3")->text(), "Punkte beschriften");
  ASSERT_EQ(Control<QComboBox>(w, "Co1")->count(), 6);
  EXPECT_EQ(Control<QComboBox>(w, "Co1")->currentIndex(), 0);
  EXPECT_EQ(Control<QComboBox>(w, "Co1")->currentText(), "Rechteck SFaktor : 1");
  EXPECT_EQ(Control<QComboBox>(w, "Co1")->itemText(5), "Pentagon-60-Fläche");
  EXPECT_EQ(Control<QComboBox>(w, "Co2")->currentText(), "-");
  EXPECT_EQ(Control<QComboBox>(w, "Co2")->itemText(0), "-");
  const QStringList hint = Control<QLabel>(w, "L50")->text().split('\n');
  ASSERT_EQ(hint.size(), 12);
  EXPECT_EQ(hint[1], "verschieben. Wird ein Punkt auf ");
  EXPECT_EQ(hint[11], "Vieleck.");
}

TEST(MainWindow, MenuItemsAndShortcuts) {
  Tfpoly w;
  EXPECT_EQ(Plain(Control<QAction>(w, "M3")->text()), "Ende");
  EXPECT_EQ(Control<QAction>(w, "M3")->shortcut(), QKeySequence(Qt::Key_Escape));
  EXPECT_EQ(Plain(Control<QMenu>(w, "M9")->title()), "Darstellung");
  EXPECT_EQ(Plain(Control<QAction>(w, "M10")->text()), "Speichern");
  EXPECT_EQ(Plain(Control<QAction>(w, "M11")->text()), "Kopieren");
  EXPECT_EQ(Plain(Control<QAction>(w, "M12")->text()), "Vektorgrafik kopieren");
  EXPECT_EQ(Plain(Control<QAction>(w, "M13")->text()), "Drucken");
  EXPECT_EQ(Plain(Control<QAction>(w, "M14")->text()), "Vektorgrafik drucken");
  EXPECT_EQ(Control<QAction>(w, "M4")->shortcut(), QKeySequence(Qt::Key_Return));
}

TEST(MainWindow, EmptySheetShowsOnlyTheRedOriginMarker) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  const QImage image = Control<SheetWidget>(w, "PB5")->Pixels();
  ASSERT_EQ(image.size(), QSize(799, 638));
  EXPECT_EQ(QColor(image.pixel(399, 319)), QColor(255, 0, 0));
  EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(Qt::white));
  EXPECT_EQ(QColor(image.pixel(405, 319)), QColor(Qt::white));
  int nonWhite = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) {
        ++nonWhite;
        EXPECT_LE(std::abs(x - 399), 2);
        EXPECT_LE(std::abs(y - 319), 2);
      }
  EXPECT_GT(nonWhite, 10);
  Control<QCheckBox>(w, "c4")->click();  // "Punkte anzeigen" off: a plain white sheet
  const QImage plain = Control<SheetWidget>(w, "PB5")->Pixels();
  EXPECT_EQ(QColor(plain.pixel(399, 319)), QColor(Qt::white));
}

TEST(MainWindow, MarkersYellowWhenFixedLightBlueOtherwiseWithBlackOutline) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTest::mouseClick(Control<QPushButton>(w, "f4"), Qt::LeftButton);
  ASSERT_EQ(w.construction().FaceCount, 1);
  w.construction().ScreenPoints[1].Fixed = true;
  const QImage image = Control<SheetWidget>(w, "PB5")->Pixels();
  // Square of side 50 px around the centre: corner 1 lower right (424, 344), corner 2 lower left (374, 344).
  EXPECT_EQ(QColor(image.pixel(424, 344)), QColor(255, 255, 0));
  EXPECT_EQ(QColor(image.pixel(374, 344)), QColor(192, 192, 255));
  EXPECT_EQ(QColor(image.pixel(399, 344)), QColor(Qt::black));  // the bottom edge
  EXPECT_EQ(QColor(image.pixel(424, 347)), QColor(Qt::black));  // rim of a 7-pixel marker
  EXPECT_EQ(QColor(image.pixel(424, 348)), QColor(Qt::white));
}

TEST(MainWindow, ClearAsksAndOnlyJaClears) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTest::mouseClick(Control<QPushButton>(w, "f3"), Qt::LeftButton);
  w.S40Click();
  QString text, caption;
  OnNextModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    text = box->text();
    caption = box->windowTitle();
    EXPECT_EQ(box->defaultButton()->text(), "&Ja");
    EXPECT_EQ(box->escapeButton()->text(), "&Nein");
    QTest::keyClick(box, Qt::Key_Escape);
  });
  Control<QToolButton>(w, "S18")->click();
  EXPECT_EQ(text, "Konstruktion wirklich löschen?");
  EXPECT_EQ(caption, "Zozeroradedar");
  EXPECT_EQ(w.construction().FaceCount, 1);
  EXPECT_EQ(w.construction().Scale, 55.0);

  OnNextModal([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    for (QAbstractButton* b : box->buttons())
      if (b->text() == "&Ja") b->click();
  });
  Control<QToolButton>(w, "S18")->click();
  EXPECT_EQ(w.construction().FaceCount, 0);
  EXPECT_EQ(w.construction().PointCount, 0);
  EXPECT_EQ(w.construction().Scale, 50.0);
}

TEST(MainWindow, EscClosesEnterDoesNothing) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTest::mouseClick(Control<QPushButton>(w, "f6"), Qt::LeftButton);
  Control<QLineEdit>(w, "Edit2")->setFocus();
  QTest::keyClick(Control<QLineEdit>(w, "Edit2"), Qt::Key_Return);
  EXPECT_EQ(w.construction().FaceCount, 1);
  EXPECT_TRUE(w.isVisible());
  // The hexagon is unsaved work, so Esc asks first (see the unsaved-work tests).
  OnNextModal([](QWidget* modal) {
    for (QAbstractButton* b : qobject_cast<QMessageBox*>(modal)->buttons())
      if (b->text() == "&Verwerfen") b->click();
  });
  QTest::keyClick(Control<QLineEdit>(w, "Edit2"), Qt::Key_Escape);
  EXPECT_FALSE(w.isVisible());
}

TEST(ErrorDisplay, FullStopAfterLettersNotAfterPunctuation) {
  EXPECT_EQ(ErrorDisplayText("Cannot open file /x/y.pko"), "Cannot open file /x/y.pko.");
  EXPECT_EQ(ErrorDisplayText("List index out of bounds (0)"), "List index out of bounds (0)");
  EXPECT_EQ(ErrorDisplayText("error"), "error.");
  EXPECT_EQ(ErrorDisplayText("Fertig."), "Fertig.");
  EXPECT_EQ(ErrorDisplayText("a-"), "a-");
  EXPECT_EQ(ErrorDisplayText("Version 2"), "Version 2.");  // digits sort after "."
}

TEST(ErrorDisplay, ExceptionFromAHandlerIsShownAndTheProgramGoesOn) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  auto* failing = new QPushButton("fail", &w);
  QObject::connect(failing, &QPushButton::clicked, [] { throw std::runtime_error("Stream write error"); });
  failing->show();
  QString text, caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
  OnNextModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    text = box->text();
    caption = box->windowTitle();
    icon = box->icon();
    buttons = box->buttons().size();
    box->accept();
  });
  QTest::mouseClick(failing, Qt::LeftButton);
  EXPECT_EQ(text, "Stream write error.");
  EXPECT_EQ(caption, "Zozeroradedar");
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(buttons, 1);
  QTest::mouseClick(Control<QPushButton>(w, "f3"), Qt::LeftButton);  // the program goes on
  EXPECT_EQ(w.construction().FaceCount, 1);
}

}  // namespace
}  // namespace didod

namespace didod {
namespace {

TEST(MainWindow, ResizingTheSheetMovesThePickPositionsWithTheDrawing) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTest::mouseClick(Control<QPushButton>(w, "f4"), Qt::LeftButton);
  w.resize(w.width() + 100, w.height() + 60);
  EXPECT_EVENTUALLY_EQ(Control<SheetWidget>(w, "PB5")->width(), 899);
  EXPECT_EVENTUALLY_EQ(Control<SheetWidget>(w, "PB5")->height(), 698);
  const Construction& c = w.construction();
  EXPECT_DOUBLE_EQ(c.ScreenPoints[1].x, 449 + 25.0);  // new centre (449, 349), corner (0.5, -0.5)
  EXPECT_DOUBLE_EQ(c.ScreenPoints[1].y, 349 + 25.0);
  EXPECT_EQ(QColor(Control<SheetWidget>(w, "PB5")->Pixels().pixel(474, 374)), QColor(192, 192, 255));
}

TEST(MainWindow, CtrlOAndCtrlSOpenTheConstructionFileDialogs) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTest::mouseClick(Control<QPushButton>(w, "f4"), Qt::LeftButton);
  for (Qt::Key key : {Qt::Key_O, Qt::Key_S}) {
    QString opened;
    didod::testing::OnNextModal([&](QWidget* modal) {
      opened = modal->metaObject()->className();
      static_cast<QDialog*>(modal)->reject();
    });
    EXPECT_EVENTUALLY(QApplication::activeModalWidget() == nullptr);  // the last dialog has gone
    w.activateWindow();  // the closed dialog gave the activation back only on a real desktop
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EVENTUALLY(QApplication::activeWindow() == &w);
    QTest::keyClick(&w, key, Qt::ControlModifier);
    ASSERT_EQ(opened, QString("QFileDialog")) << QKeySequence(key).toString().toStdString();
  }
  EXPECT_EQ(w.construction().FaceCount, 1);
}

}  // namespace
}  // namespace didod

