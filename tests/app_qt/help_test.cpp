#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QScrollBar>
#include <QScreen>
#include <QWindow>
#include <QGuiApplication>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

#include "app/help.h"
#include "app/main_window.h"
#include "tests/app_qt/shown_window.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::Control;

class HelpTest : public testing::ShownWindowTest {
 protected:
  void PressF1() {
    Activate();
    QTest::keyClick(Control<QWidget>(window, "PB5"), Qt::Key_F1);
  }
};

int CountPixels(const QImage& image, QColor colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == colour) ++count;
  return count;
}

QStringList Headings(const QTextDocument& doc) {
  QStringList headings;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
    if (block.blockFormat().headingLevel() == 2) headings << block.text();
  return headings;
}

QStringList ImageNames(const QTextDocument& doc) {
  QStringList names;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().isImageFormat()) names << it.fragment().charFormat().toImageFormat().name();
  return names;
}

TEST_F(HelpTest, HelpIsTheLastMenuWithGuideOnF1AndAbout) {
  const QList<QAction*> bar = window.menuBar()->actions();
  ASSERT_FALSE(bar.isEmpty());
  QMenu* help = bar.last()->menu();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->objectName(), "MHelp");
  EXPECT_EQ(help->title(), "&Hilfe");
  auto* guide = Control<QAction>(window, "MGuide");
  auto* about = Control<QAction>(window, "MAbout");
  EXPECT_EQ(help->actions(), (QList<QAction*>{guide, about}));
  EXPECT_EQ(guide->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(about->text(), "Ü&ber Zozeroradedar");
}

TEST_F(HelpTest, F1ShowsOneGuideWithItsSectionsAndPicturesDrawnByTheRenderer) {
  PressF1();
  auto* guide = Control<QDialog>(window, "GuideWindow");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(guide));
  EXPECT_EQ(guide->windowTitle(), "Anleitung – Zozeroradedar");
  EXPECT_FALSE(guide->isModal());
  QTextDocument& doc = *Control<QTextBrowser>(*guide, "GuideText")->document();

  const QStringList headings = Headings(doc);
  for (const char* heading : {"Netz mit der Maus bauen", "Verbinden", "Drehen", "Festhalten und Sperren", "Löschen",
                              "Rückgängig und Wiederherstellen", "Fertige Netze", "Netzprüfung", "Bastelbogen"})
    EXPECT_TRUE(headings.contains(QString::fromUtf8(heading))) << heading;

  // Every picture the text shows is there, at the window's pixel density.
  const QStringList names = ImageNames(doc);
  EXPECT_EQ(QSet<QString>(names.begin(), names.end()),
            (QSet<QString>{kGuidePictureLoose, kGuidePictureTurned, kGuidePictureLocked, kGuidePictureCube}));
  auto picture = [&](const char* name) {
    return doc.resource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(name))).value<QImage>();
  };
  const qreal ratio = guide->devicePixelRatioF();
  for (const QString& name : names) {
    const QImage image = picture(name.toLatin1().constData());
    ASSERT_FALSE(image.isNull()) << name.toStdString();
    EXPECT_EQ(image.devicePixelRatio(), ratio) << name.toStdString();
    EXPECT_GT(CountPixels(image, Qt::black), 100) << name.toStdString();  // face outlines
  }

  // The square and triangle go through the sheet's own mouse logic: loose, then
  // one corner fixed (yellow), then two.
  const QColor yellow(255, 255, 0), blue(192, 192, 255);
  const QImage loose = picture(kGuidePictureLoose), turned = picture(kGuidePictureTurned),
               locked = picture(kGuidePictureLocked), cube = picture(kGuidePictureCube);
  EXPECT_GT(CountPixels(loose, blue), 0);
  EXPECT_EQ(CountPixels(loose, yellow), 0);
  const int oneFixed = CountPixels(turned, yellow);
  EXPECT_GT(oneFixed, 0);
  EXPECT_GT(CountPixels(locked, yellow), oneFixed * 3 / 2);
  EXPECT_NE(turned, locked);
  // The cube's six faces outline more than a square and a triangle.
  EXPECT_GT(CountPixels(cube, Qt::black), 2 * CountPixels(loose, Qt::black));

  // F1 again, while the guide is open and after it was closed, shows the same window.
  PressF1();
  EXPECT_EQ(window.findChildren<GuideWindow*>().size(), 1);
  guide->close();
  ASSERT_FALSE(guide->isVisible());
  PressF1();
  EXPECT_EQ(window.findChildren<GuideWindow*>().size(), 1);
  EXPECT_EQ(Control<QDialog>(window, "GuideWindow"), guide);
  EXPECT_TRUE(guide->isVisible());
}

// Runs in the process that ctest starts with two screens of pixel ratios 1 and 2:
// the open guide moved onto the other screen draws its pictures anew for it and
// stays where the reader was in the text.
TEST_F(HelpTest, TheOpenGuideMovedToAScreenOfOtherDensityRedrawsItsPictures) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (screens.size() < 2) GTEST_SKIP() << "checked by the run with two screens";
  PressF1();
  auto* guide = Control<QDialog>(window, "GuideWindow");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(guide));
  auto* text = Control<QTextBrowser>(*guide, "GuideText");
  auto ratioOfPicture = [&] {
    return text->document()->resource(QTextDocument::ImageResource, QUrl(kGuidePictureCube)).value<QImage>()
        .devicePixelRatio();
  };
  QScreen* other = nullptr;
  for (QScreen* screen : screens)
    if (screen->devicePixelRatio() != guide->devicePixelRatioF()) other = screen;
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(ratioOfPicture(), guide->devicePixelRatioF());
  text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum() / 2);
  const int scrolled = text->verticalScrollBar()->value();
  ASSERT_GT(scrolled, 0);

  guide->windowHandle()->setScreen(other);
  EXPECT_EVENTUALLY_EQ(guide->devicePixelRatioF(), other->devicePixelRatio());
  EXPECT_EVENTUALLY_EQ(ratioOfPicture(), other->devicePixelRatio());
  EXPECT_EQ(text->verticalScrollBar()->value(), scrolled);
}

// The commands the guide sends the reader to are the window's real ones.
TEST_F(HelpTest, TheGuideNamesMenuCommandsByTheirCaptions) {
  PressF1();
  const QString text = Control<QTextBrowser>(window, "GuideText")->document()->toPlainText();
  QStringList captions;
  for (QAction* action : window.findChildren<QAction*>()) captions << action->text().remove('&');
  for (const char* command : {"Rückgängig", "Wiederherstellen", "Konstruktion löschen …", "Netz falten",
                              "Körper erzeugen …", "Körper importieren …", "Bastelbogen speichern …",
                              "Bastelbogen drucken …"}) {
    const QString caption = QString::fromUtf8(command);
    EXPECT_TRUE(text.contains("„" + caption + "“")) << command;
    EXPECT_TRUE(captions.contains(caption)) << command;
  }
}

TEST_F(HelpTest, AboutShowsNameVersionAndLicence) {
  QString caption, text;
  didod::testing::OnNextModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    text = box->text();
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  });
  Control<QAction>(window, "MAbout")->trigger();
  EXPECT_EQ(caption, "Über Zozeroradedar");
  EXPECT_TRUE(text.contains("Zozeroradedar"));
  EXPECT_TRUE(text.contains("Version " DIDOD_VERSION)) << text.toStdString();
  EXPECT_TRUE(text.contains("Lizenz: LicenseRef-proprietary")) << text.toStdString();
  EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace didod
