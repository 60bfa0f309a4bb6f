#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include "app/main_window.h"
#include "app/startup.h"
#include "persistence/construction_file.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::Control;
using didod::testing::OnNextModal;

class OpenFromOutside : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // A file with a square and a triangle, and a file that is no construction.
    Tfpoly maker;
    QTest::mouseClick(Control<QPushButton>(maker, "f4"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(maker, "f3"), Qt::LeftButton);
    good = dir.filePath("Netz.pko");
    SaveConstructionFile(maker.construction(), QFile::encodeName(good).toStdString());
    bad = dir.filePath("kaputt.pko");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a zlib stream");
  }
  QString Title() const { return window.windowHandle()->title(); }
  // Drops `urls` onto the sheet as a file manager would; returns whether the window took them.
  bool Drop(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPointF at(500, 300);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    return drop.isAccepted();
  }
  QTemporaryDir dir;
  QString good, bad;
  Tfpoly window;
};

TEST_F(OpenFromOutside, TheArgumentAtStartUpIsLoadedAndNamedInTheTitle) {
  EXPECT_EQ(Title(), "Zozeroradedar konstruieren");
  EXPECT_FALSE(OpenStartupFile(window, {"didod"}));  // no argument: the usual start
  EXPECT_EQ(window.construction().FaceCount, 0);
  EXPECT_TRUE(OpenStartupFile(window, {"didod", good}));
  EXPECT_EQ(window.construction().FaceCount, 2);
  EXPECT_EQ(window.construction().Scale, 50.0);
  EXPECT_EQ(Title(), "Netz.pko – Zozeroradedar konstruieren");
  EXPECT_EQ(Control<QLabel>(window, "P1Caption")->text(), "Zozeroradedar konstruieren");
  EXPECT_TRUE(window.history().CanUndo());  // one step, as the load command
}

TEST_F(OpenFromOutside, ABadArgumentShowsTheErrorDisplayAndChangesNothing) {
  QString text;
  OnNextModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    text = box->text();
    box->accept();
  });
  EXPECT_TRUE(OpenStartupFile(window, {"didod", bad}));
  EXPECT_FALSE(text.isEmpty());
  EXPECT_EQ(window.construction().FaceCount, 0);
  EXPECT_EQ(Title(), "Zozeroradedar konstruieren");
}

// Answers the next modal box, which must ask before the construction is replaced, with `button`.
void AnswerReplaceQuestion(QString* text, const QString& button) {
  OnNextModal([=](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    *text = box->text();
    for (QAbstractButton* b : box->buttons())
      if (b->text() == button) QTest::mouseClick(b, Qt::LeftButton);
  });
}

TEST_F(OpenFromOutside, DroppingAPkoFileAsksFirstThenLoadsItAsOneUndoStep) {
  EXPECT_FALSE(Drop({QUrl::fromLocalFile(dir.filePath("bild.png"))}));  // not a construction
  EXPECT_FALSE(Drop({QUrl::fromLocalFile(good), QUrl::fromLocalFile(good)}));  // only one at a time
  EXPECT_FALSE(Drop({QUrl("https://example.org/Netz.pko")}));

  // Unchanged: no question, the file simply replaces the construction.
  QPointer<QTimer> watcher = OnNextModal([](QWidget* modal) {
    ADD_FAILURE() << "unexpected box";
    modal->close();
  });
  ASSERT_TRUE(Drop({QUrl::fromLocalFile(good)}));
  EXPECT_EVENTUALLY_EQ(window.construction().FaceCount, 2);
  delete watcher.data();
  EXPECT_EQ(Title(), "Netz.pko – Zozeroradedar konstruieren");

  QTest::mouseClick(Control<QPushButton>(window, "f6"), Qt::LeftButton);
  EXPECT_EQ(Title(), "Netz.pko* – Zozeroradedar konstruieren");  // the mark of a changed construction
  QString question;
  AnswerReplaceQuestion(&question, "&Abbrechen");
  ASSERT_TRUE(Drop({QUrl::fromLocalFile(good)}));
  EXPECT_EVENTUALLY_EQ(question, QString::fromUtf8(kReplaceQuestion));
  QTest::qWait(50);
  EXPECT_EQ(window.construction().FaceCount, 3);  // cancelled: the hexagon stays

  question.clear();
  AnswerReplaceQuestion(&question, "&Verwerfen");
  ASSERT_TRUE(Drop({QUrl::fromLocalFile(good)}));
  EXPECT_EVENTUALLY_EQ(window.construction().FaceCount, 2);
  EXPECT_EQ(question, QString::fromUtf8(kReplaceQuestion));
  EXPECT_EQ(Title(), "Netz.pko – Zozeroradedar konstruieren");
  window.Undo();  // one step back: the hexagon again
  EXPECT_EQ(window.construction().FaceCount, 3);
  EXPECT_EQ(window.construction().FaceSizes[3], 6);
  EXPECT_EQ(Title(), "Netz.pko* – Zozeroradedar konstruieren");
  window.Redo();
  EXPECT_EQ(Title(), "Netz.pko – Zozeroradedar konstruieren");
}

TEST(GermanQt, QtsOwnTextsAreGermanPlatformMessagesEnglish) {
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Save As"), "Speichern unter");
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
  EXPECT_EQ(QCoreApplication::translate("QIODevice", "Unknown error"), "Unknown error");
  QFile missing("/keine/solche/datei.pko");
  EXPECT_FALSE(missing.open(QIODevice::ReadOnly));
  EXPECT_EQ(missing.errorString(), "No such file or directory");
}

}  // namespace
}  // namespace didod
