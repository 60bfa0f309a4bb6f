// A session as a screen reader user has it: many saves and loads through the
// program's own file dialogs, with the reader walking the whole accessibility
// tree of the application between them and while each dialog is open.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "model/history.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::AnswerFileDialog;
using didod::testing::Control;
using didod::testing::OnNextModal;
using didod::testing::PressOnNextBox;

// What one walk over the accessibility tree met.
struct Walk {
  int nodes = 0;
  int dialogs = 0;  // nodes in the role of a dialog
  QStringList names;
};

// Reads what a screen reader reads of every node below `node`: name,
// description, value, role, state and place on the screen.
void Visit(QAccessibleInterface* node, Walk& walk, int depth) {
  if (node == nullptr || !node->isValid() || depth > 64) return;
  ++walk.nodes;
  const QString name = node->text(QAccessible::Name);
  if (!name.isEmpty()) walk.names << name;
  node->text(QAccessible::Description);
  node->text(QAccessible::Value);
  if (node->role() == QAccessible::Dialog && !node->state().invisible) ++walk.dialogs;
  const QRect place = node->rect();
  EXPECT_GE(place.width(), 0);
  const int count = node->childCount();
  for (int i = 0; i < count; ++i) Visit(node->child(i), walk, depth + 1);
}

// The application's own tree, then every top-level widget, shown or hidden.
Walk WalkTheApplication() {
  Walk walk;
  Visit(QAccessible::queryAccessibleInterface(qApp), walk, 0);
  for (QWidget* top : QApplication::topLevelWidgets()) Visit(QAccessible::queryAccessibleInterface(top), walk, 0);
  return walk;
}

template <typename T>
int LivingWidgetsOfType() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  int count = 0;
  for (QWidget* widget : QApplication::allWidgets())
    if (qobject_cast<T*>(widget) != nullptr) ++count;
  return count;
}

class FileDialogSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    oldFolder = QDir::currentPath();
    QDir::setCurrent(dir.path());  // the first dialog starts here, not in a full folder
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  void TearDown() override {
    QDir::setCurrent(oldFolder);
  }
  // Answers the next file dialog with `path` after walking the tree while it is open.
  void AnswerAfterAWalk(const QString& path, std::function<void()> then = {}) {
    OnNextModal([this, path, then](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      // Qt's own dialog, whose name field the test types into.
      EXPECT_NE(dialog->findChild<QLineEdit*>("fileNameEdit"), nullptr);
      const Walk walk = WalkTheApplication();
      EXPECT_GE(walk.dialogs, 1);
      ++walksInDialogs;
      if (walk.names.indexOf(QRegularExpression("^netz\\d+\\.pko$")) >= 0) ++walksSeeingFiles;
      AnswerFileDialog(path, then);
    });
  }
  Tfpoly window;
  QTemporaryDir dir;
  QString oldFolder;
  int walksInDialogs = 0;
  int walksSeeingFiles = 0;
};

TEST_F(FileDialogSessionTest, ThirtySavesAndLoadsUnderAScreenReaderKeepEveryNetAndNoDialog) {
  const char* const polygons[] = {"f3", "f4", "f5", "f6"};
  constexpr int kCycles = 30;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    SCOPED_TRACE(cycle);
    QTest::mouseClick(Control<QPushButton>(window, polygons[cycle % 4]), Qt::LeftButton);
    ASSERT_TRUE(window.ConstructionChanged());
    const QString path = dir.filePath(QString("netz%1").arg(cycle));  // typed without extension
    AnswerAfterAWalk(path);
    Control<QToolButton>(window, "S15")->click();
    ASSERT_TRUE(QFile::exists(path + ".pko"));
    ASSERT_FALSE(window.ConstructionChanged());
    const ConstructionSnapshot saved = ConstructionSnapshot::Of(window.construction());

    Walk between = WalkTheApplication();
    EXPECT_TRUE(between.names.contains("Konstruktion laden"));
    EXPECT_EQ(between.dialogs, 0);
    EXPECT_EQ(LivingWidgetsOfType<QFileDialog>(), 0);

    // Something else on the sheet, then the saved file back in its place.
    QTest::mouseClick(Control<QPushButton>(window, "f6"), Qt::LeftButton);
    ASSERT_TRUE(window.ConstructionChanged());
    QString question;
    AnswerAfterAWalk(path + ".pko", [&question] { PressOnNextBox("&Verwerfen", &question); });
    Control<QToolButton>(window, "S14")->click();
    EXPECT_EQ(question, QString::fromUtf8(kReplaceQuestion));
    const ConstructionSnapshot loaded = ConstructionSnapshot::Of(window.construction());
    EXPECT_FALSE(window.ConstructionChanged());
    EXPECT_EQ(loaded.FaceSizes, saved.FaceSizes);
    EXPECT_EQ(loaded.Fixed, saved.Fixed);
    EXPECT_EQ(loaded.JoinList, saved.JoinList);
    ASSERT_EQ(loaded.NetPoints.size(), saved.NetPoints.size());
    for (std::size_t i = 0; i < saved.NetPoints.size(); ++i) {
      EXPECT_NEAR(loaded.NetPoints[i].x, saved.NetPoints[i].x, 1e-10);
      EXPECT_NEAR(loaded.NetPoints[i].y, saved.NetPoints[i].y, 1e-10);
    }

    between = WalkTheApplication();
    EXPECT_GT(between.nodes, 30);
    EXPECT_EQ(between.dialogs, 0);
    EXPECT_EQ(LivingWidgetsOfType<QFileDialog>(), 0);
    EXPECT_EQ(LivingWidgetsOfType<QMessageBox>(), 0);
  }
  EXPECT_EQ(walksInDialogs, 2 * kCycles);
  // The dialog lists its folder in the background; the later walks read the saved files in it.
  EXPECT_GT(walksSeeingFiles, 0);
  EXPECT_EQ(window.construction().FaceCount, kCycles);  // one face more in each cycle
}

}  // namespace
}  // namespace didod
