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

using didod::testing::OnNextModal;

TEST(MainWindow, TitleCaptionStripAndSheetSize) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  EXPECT_EQ(w.windowTitle(), "Zozeroradedar konstruieren");
  EXPECT_EQ(w.captionText->text(), "Zozeroradedar konstruieren");
  EXPECT_EQ(w.PB5->size(), QSize(799, 638));
  EXPECT_EQ(w.P34->width(), 209);
  EXPECT_EQ(w.P1->height(), 26);
  EXPECT_EQ(w.S7->toolTip(), "Teilprogramm beenden");
  EXPECT_EQ(w.S18->toolTip(), "Konstruktion löschen");
  EXPECT_EQ(w.S14->toolTip(), "Konstruktion laden");
  EXPECT_EQ(w.S15->toolTip(), "Konstruktion speichern");
  EXPECT_EQ(w.S40->toolTip(), "Darstellung vergrößern");
  EXPECT_EQ(w.S42->toolTip(), "Standardeinstellung");
  EXPECT_EQ(w.S41->toolTip(), "Darstellung verkleinern");
  for (QToolButton* b : {w.S7, w.S14, w.S15, w.S40, w.S41, w.S42}) EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
}

TEST(MainWindow, SidePanelCaptionsAndInitialValues) {
  Tfpoly w;
  const std::pair<QPushButton*, const char*> buttons[] = {
      {w.f3, "Dreieck"}, {w.f4, "Quadrat"}, {w.f5, "Fünfeck"}, {w.f6, "Sechseck"}, {w.f8, "Achteck"},
      {w.f10, "Zehneck"}, {w.f12, "Polygon"}, {w.f7, "gleichschenkliges Dreieck"}, {w.f9, "Rhombus"},
      {w.f11, "Sonderflächen"}};
  for (const auto& [button, caption] : buttons) EXPECT_EQ(button->text(), QString::fromUtf8(caption));
  EXPECT_EQ(w.f7->geometry(), QRect(16, 176, 177, 25));
  EXPECT_EQ(w.L51->text(), "Regelmäßiges Vieleck");
  EXPECT_EQ(w.L39->text(), "Seiten");
  EXPECT_EQ(w.L49->text(), "mit 2.Seite");
  EXPECT_EQ(w.L40->text(), "Innenwinkel");
  EXPECT_EQ(w.L41->text(), "Skalierungsfaktor");
  EXPECT_EQ(w.E7->text(), "12");
  EXPECT_EQ(w.Edit2->text(), "2");
  EXPECT_EQ(w.Edit3->text(), "60");
  EXPECT_EQ(w.Edit4->text(), "1");
  EXPECT_TRUE(w.c4->isChecked());
  EXPECT_EQ(w.c4->text(), "Punkte anzeigen");
  EXPECT_FALSE(w.c3->isChecked());
  EXPECT_EQ(w.c3->text(), "Punkte beschriften");
  ASSERT_EQ(w.Co1->count(), 6);
  EXPECT_EQ(w.Co1->currentIndex(), 0);
  EXPECT_EQ(w.Co1->currentText(), "Rechteck SFaktor : 1");
  EXPECT_EQ(w.Co1->itemText(5), "Pentagon-60-Fläche");
  EXPECT_EQ(w.Co2->currentText(), "-");
  EXPECT_EQ(w.Co2->itemText(0), "-");
  const QStringList hint = w.L50->text().split('\n');
  ASSERT_EQ(hint.size(), 12);
  EXPECT_EQ(hint[1], "verschieben. Wird ein Punkt auf ");
  EXPECT_EQ(hint[11], "Vieleck.");
}

TEST(MainWindow, MenuItemsAndShortcuts) {
  Tfpoly w;
  EXPECT_EQ(w.M3->text(), "Ende");
  EXPECT_EQ(w.M3->shortcut(), QKeySequence(Qt::Key_Escape));
  EXPECT_EQ(w.M9->title(), "Darstellung");
  EXPECT_EQ(w.M10->text(), "Speichern");
  EXPECT_EQ(w.M11->text(), "Kopieren");
  EXPECT_EQ(w.M12->text(), "Vektorgrafik kopieren");
  EXPECT_EQ(w.M13->text(), "Drucken");
  EXPECT_EQ(w.M14->text(), "Vektorgrafik drucken");
  EXPECT_EQ(w.M4->shortcut(), QKeySequence(Qt::Key_Return));
}

TEST(MainWindow, EmptySheetShowsOnlyTheRedOriginMarker) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  const QImage image = w.PB5->Pixels();
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
  w.c4->click();  // "Punkte anzeigen" off: a plain white sheet
  const QImage plain = w.PB5->Pixels();
  EXPECT_EQ(QColor(plain.pixel(399, 319)), QColor(Qt::white));
}

TEST(MainWindow, MarkersYellowWhenFixedLightBlueOtherwiseWithBlackOutline) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTest::mouseClick(w.f4, Qt::LeftButton);
  ASSERT_EQ(w.construction().FaceCount, 1);
  w.construction().ScreenPoints[1].Fixed = true;
  const QImage image = w.PB5->Pixels();
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
  QTest::mouseClick(w.f3, Qt::LeftButton);
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
  w.S18->click();
  EXPECT_EQ(text, "Konstruktion wirklich löschen?");
  EXPECT_EQ(caption, "Zozeroradedar");
  EXPECT_EQ(w.construction().FaceCount, 1);
  EXPECT_EQ(w.construction().Scale, 55.0);

  OnNextModal([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    for (QAbstractButton* b : box->buttons())
      if (b->text() == "&Ja") b->click();
  });
  w.S18->click();
  EXPECT_EQ(w.construction().FaceCount, 0);
  EXPECT_EQ(w.construction().PointCount, 0);
  EXPECT_EQ(w.construction().Scale, 50.0);
}

TEST(MainWindow, EscClosesEnterDoesNothing) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTest::mouseClick(w.f6, Qt::LeftButton);
  w.Edit2->setFocus();
  QTest::keyClick(w.Edit2, Qt::Key_Return);
  EXPECT_EQ(w.construction().FaceCount, 1);
  EXPECT_TRUE(w.isVisible());
  // The hexagon is unsaved work, so Esc asks first (see the unsaved-work tests).
  OnNextModal([](QWidget* modal) {
    for (QAbstractButton* b : qobject_cast<QMessageBox*>(modal)->buttons())
      if (b->text() == "&Verwerfen") b->click();
  });
  QTest::keyClick(w.Edit2, Qt::Key_Escape);
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
  QTest::mouseClick(w.f3, Qt::LeftButton);  // the program goes on
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
  QTest::mouseClick(w.f4, Qt::LeftButton);
  w.resize(w.width() + 100, w.height() + 60);
  QTRY_COMPARE(w.PB5->width(), 899);
  QTRY_COMPARE(w.PB5->height(), 698);
  const Construction& c = w.construction();
  EXPECT_DOUBLE_EQ(c.ScreenPoints[1].x, 449 + 25.0);  // new centre (449, 349), corner (0.5, -0.5)
  EXPECT_DOUBLE_EQ(c.ScreenPoints[1].y, 349 + 25.0);
  EXPECT_EQ(QColor(w.PB5->Pixels().pixel(474, 374)), QColor(192, 192, 255));
}

TEST(MainWindow, CtrlOAndCtrlSOpenTheConstructionFileDialogs) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTest::mouseClick(w.f4, Qt::LeftButton);
  for (Qt::Key key : {Qt::Key_O, Qt::Key_S}) {
    QString opened;
    didod::testing::OnNextModal([&](QWidget* modal) {
      opened = modal->metaObject()->className();
      static_cast<QDialog*>(modal)->reject();
    });
    w.activateWindow();  // the closed dialog gave the activation back only on a real desktop
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, key, Qt::ControlModifier);
    ASSERT_EQ(opened, QString("QFileDialog")) << QKeySequence(key).toString().toStdString();
  }
  EXPECT_EQ(w.construction().FaceCount, 1);
}

}  // namespace
}  // namespace didod
