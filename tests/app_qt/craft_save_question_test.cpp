#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "app/craft_dialog.h"
#include "app/main_window.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::Control;
using didod::testing::OnNextModal;

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Saves the window's sheet by typing `typed` into the save dialog; a question
// about replacing a file is answered with `answer` (Yes or No), and after a
// No the dialog is cancelled. Returns whether that question was asked.
bool SaveSheetTyping(Tfpoly& window, const QString& typed, QMessageBox::StandardButton answer) {
  bool asked = false;
  QPointer<QTimer> questionWatcher;
  OnNextModal([&](QWidget* modal) {
    auto* options = qobject_cast<CraftDialog*>(modal);
    ASSERT_NE(options, nullptr);
    OnNextModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      QTest::qWait(50);  // the dialog reads its folder
      questionWatcher = OnNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        asked = true;
        box->button(answer)->click();
      });
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
      static_cast<QDialog*>(dialog)->accept();
      if (dialog->isVisible()) dialog->reject();  // declined: back in the dialog
    });
    options->accept();
  });
  window.findChild<QAction*>("MCraftSave")->trigger();
  delete questionWatcher.data();  // no question came
  return asked;
}

TEST(CraftSaveQuestion, TheSheetAsksBeforeReplacingAFileNamedWithoutItsSuffix) {
  Tfpoly window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  auto* nets = Control<QComboBox>(window, "Co2");
  nets->setCurrentIndex(nets->findText("Würfel"));
  QTemporaryDir dir;
  const QString existing = dir.filePath("bogen.pdf");
  {
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("alt");
  }
  EXPECT_TRUE(SaveSheetTyping(window, dir.filePath("bogen"), QMessageBox::No));
  EXPECT_EQ(Contents(existing), "alt");
  EXPECT_TRUE(SaveSheetTyping(window, dir.filePath("bogen"), QMessageBox::Yes));
  EXPECT_TRUE(Contents(existing).startsWith("%PDF"));
  // A new name is saved without a question.
  EXPECT_FALSE(SaveSheetTyping(window, dir.filePath("neu"), QMessageBox::No));
  EXPECT_TRUE(Contents(dir.filePath("neu.pdf")).startsWith("%PDF"));
}

}  // namespace
}  // namespace didod
