#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::AnswerFileDialog;
using didod::testing::Control;
using didod::testing::OnNextModal;
using didod::testing::PressOnNextBox;

QString ErrorTextOfNextModal(QString* text) {
  OnNextModal([text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    *text = box->text();
    box->accept();
  });
  return {};
}

class FileWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  Tfpoly window;
  QTemporaryDir dir;
};

TEST_F(FileWindowTest, SaveThenLoadGivesTheSameNetAtStandardScale) {
  QTest::mouseClick(Control<QPushButton>(window, "f4"), Qt::LeftButton);
  QTest::mouseClick(Control<QPushButton>(window, "f3"), Qt::LeftButton);
  window.construction().ScreenPoints[5].Fixed = true;
  window.construction().JoinList = {"5\t2", "9\t1"};
  window.S40Click();
  const Construction saved = window.construction();
  const QString path = dir.filePath("netz");  // typed without extension
  AnswerFileDialog(path);
  Control<QToolButton>(window, "S15")->click();
  ASSERT_TRUE(QFile::exists(path + ".pko"));
  QFile file(path + ".pko");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(2) == QByteArray("\x78\xDA", 2));
  EXPECT_EQ(window.construction().Scale, saved.Scale);  // saving changes nothing

  QTest::mouseClick(Control<QPushButton>(window, "f6"), Qt::LeftButton);
  QString question;
  AnswerFileDialog(path + ".pko", [&question] { PressOnNextBox("&Verwerfen", &question); });
  Control<QToolButton>(window, "S14")->click();
  EXPECT_EQ(question, QString::fromUtf8(kReplaceQuestion));  // the face added after the save is let go
  const Construction& loaded = window.construction();
  EXPECT_EQ(loaded.Scale, 50.0);
  EXPECT_EQ(loaded.FaceCount, 2);
  EXPECT_EQ(loaded.PointCount, 7);
  EXPECT_EQ(loaded.JoinList, saved.JoinList);
  EXPECT_TRUE(loaded.ScreenPoints[5].Fixed);
  for (int i = 1; i <= 7; ++i) {
    EXPECT_NEAR(loaded.NetPoints[i].x, saved.NetPoints[i].x, 1e-10);
    EXPECT_NEAR(loaded.ScreenPoints[i].x, 399 + 50 * loaded.NetPoints[i].x, 1e-9);
  }
  EXPECT_EQ(Control<QAction>(window, "MUndo")->text(), "Rückgängig: Konstruktion laden");
  window.Undo();  // back to the construction before the load, with its own scale
  EXPECT_EQ(window.construction().FaceCount, 3);
  EXPECT_EQ(window.construction().Scale, saved.Scale);
  window.Redo();
  EXPECT_EQ(window.construction().FaceCount, 2);
  EXPECT_EQ(window.construction().Scale, 50.0);
}

TEST_F(FileWindowTest, CancellingChangesNothing) {
  QTest::mouseClick(Control<QPushButton>(window, "f4"), Qt::LeftButton);
  window.S40Click();
  const Construction before = window.construction();
  AnswerFileDialog({});
  Control<QToolButton>(window, "S14")->click();
  AnswerFileDialog({});
  Control<QToolButton>(window, "S15")->click();
  EXPECT_TRUE(window.construction().SameContent(before));
}

TEST_F(FileWindowTest, FailedLoadShowsTheMessageAndKeepsTheConstruction) {
  QTest::mouseClick(Control<QPushButton>(window, "f5"), Qt::LeftButton);
  window.S41Click();
  const Construction before = window.construction();
  const QString missing = dir.filePath("fehlt.pko");
  QString message;
  // The error display opens as soon as the dialog has been answered.
  // The question about the changed work comes first, the error display after it.
  AnswerFileDialog(missing, [&] { PressOnNextBox("&Verwerfen", nullptr, [&] { ErrorTextOfNextModal(&message); }); });
  QTest::mouseClick(Control<QToolButton>(window, "S14"), Qt::LeftButton);  // through the event dispatch, as a user's click
  EXPECT_EVENTUALLY(!message.isEmpty());
  EXPECT_EQ(message, "Cannot open file " + missing + ".");
  EXPECT_TRUE(window.construction().SameContent(before));

  QFile plain(dir.filePath("klartext.pko"));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.write("1\r\n3\r\n3\r\n");
  plain.close();
  message.clear();
  AnswerFileDialog(plain.fileName(),
                   [&] { PressOnNextBox("&Verwerfen", nullptr, [&] { ErrorTextOfNextModal(&message); }); });
  QTest::mouseClick(Control<QToolButton>(window, "S14"), Qt::LeftButton);
  EXPECT_EVENTUALLY(!message.isEmpty());
  EXPECT_EQ(message, "error.");
  EXPECT_TRUE(window.construction().SameContent(before));
}

}  // namespace
}  // namespace didod
