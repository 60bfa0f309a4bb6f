#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "app/solid_dialog.h"
#include "persistence/construction_file.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::AnswerFileDialog;
using didod::testing::OnNextModal;

// What the save question showed, and which button the test pressed.
struct Question {
  bool asked = false;
  QString caption, text, defaultButton, escapeButton;
  QStringList buttons;
};

// Answers the next modal box, which must be the save question, by pressing the
// button with `caption` ("" for the Esc key); `then` runs just before the press.
QPointer<QTimer> AnswerSaveQuestion(Question* seen, const QString& caption, std::function<void()> then = {}) {
  return OnNextModal([=](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    seen->asked = true;
    seen->caption = box->windowTitle();
    seen->text = box->text();
    seen->defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
    seen->escapeButton = box->escapeButton() ? box->escapeButton()->text() : QString();
    for (QAbstractButton* b : box->buttons()) seen->buttons << b->text();
    if (then) then();
    if (caption.isEmpty()) {
      QTest::keyClick(box, Qt::Key_Escape);
      return;
    }
    for (QAbstractButton* b : box->buttons())
      if (b->text() == caption) QTest::mouseClick(b, Qt::LeftButton);
  });
}

class UnsavedWorkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  template <typename T>
  T* Control(const char* name) {
    return didod::testing::Control<T>(window, name);
  }
  void Click(const char* name) { QTest::mouseClick(Control<QWidget>(name), Qt::LeftButton); }
  void PressEsc() {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(Control<QWidget>("Edit2"), Qt::Key_Escape);
  }
  Tfpoly window;
  QTemporaryDir dir;
};

TEST_F(UnsavedWorkTest, NothingChangedClosesAtOnceAlsoAfterZooming) {
  EXPECT_FALSE(window.ConstructionChanged());
  Click("S40");  // a zoom is no change
  Question question;
  QPointer<QTimer> watcher = AnswerSaveQuestion(&question, "&Verwerfen");
  PressEsc();
  EXPECT_FALSE(question.asked);
  EXPECT_FALSE(window.isVisible());
  delete watcher.data();
}

TEST_F(UnsavedWorkTest, EscAsksAndEscOnTheQuestionKeepsTheWindowAndTheWork) {
  Click("f4");
  EXPECT_TRUE(window.ConstructionChanged());
  Question question;
  AnswerSaveQuestion(&question, "");
  PressEsc();
  ASSERT_TRUE(question.asked);
  EXPECT_EQ(question.caption, "Zozeroradedar");
  EXPECT_EQ(question.text, "Die Konstruktion wurde geändert. Vor dem Beenden speichern?");
  question.buttons.sort();  // the order on screen follows the platform's style
  EXPECT_EQ(question.buttons.join('|').toStdString(), "&Abbrechen|&Speichern|&Verwerfen");
  EXPECT_EQ(question.defaultButton, "&Speichern");
  EXPECT_EQ(question.escapeButton, "&Abbrechen");
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.construction().FaceCount, 1);
}

TEST_F(UnsavedWorkTest, TheCloseBoxAndEndeAskAndAbbrechenOrVerwerfenDecide) {
  Click("f3");
  Question first;
  AnswerSaveQuestion(&first, "&Abbrechen");
  window.close();  // the window's close box
  EXPECT_TRUE(first.asked);
  EXPECT_TRUE(window.isVisible());
  Question second;
  AnswerSaveQuestion(&second, "&Verwerfen");
  QAction* ende = window.findChild<QAction*>("M3");
  ASSERT_NE(ende, nullptr);
  ende->trigger();
  EXPECT_TRUE(second.asked);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(UnsavedWorkTest, SpeichernSavesAndClosesOnlyWhenTheSaveSucceeds) {
  Click("f6");
  // The save dialog cancelled: nothing written, the window stays.
  Question cancelled;
  AnswerSaveQuestion(&cancelled, "&Speichern", [] { AnswerFileDialog({}); });
  Click("S7");
  EXPECT_TRUE(cancelled.asked);
  EXPECT_TRUE(window.isVisible());

  // The save fails: the error is shown, the window stays, the work is kept.
  const QString unwritable = dir.filePath("fehlt/netz.pko");  // a folder that is not there
  QString error;
  Question failed;
  AnswerSaveQuestion(&failed, "&Speichern", [&] {
    AnswerFileDialog(unwritable, [&] {
      OnNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        error = box->text();
        box->accept();
      });
    });
  });
  Click("S7");
  EXPECT_TRUE(failed.asked);
  EXPECT_EQ(error.toStdString(), "Cannot create file " + unwritable.toStdString() + ".");
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.ConstructionChanged());
  EXPECT_EQ(window.construction().FaceCount, 1);

  const QString path = dir.filePath("sechseck.pko");
  Question saved;
  AnswerSaveQuestion(&saved, "&Speichern", [&] { AnswerFileDialog(path); });
  Click("S7");
  EXPECT_TRUE(saved.asked);
  EXPECT_TRUE(QFile::exists(path));
  EXPECT_FALSE(window.isVisible());
}

TEST_F(UnsavedWorkTest, UndoBackToTheSavedStateCountsAsUnchanged) {
  Click("f4");
  AnswerFileDialog(dir.filePath("quadrat"));
  Click("S15");
  ASSERT_TRUE(QFile::exists(dir.filePath("quadrat.pko")));
  EXPECT_FALSE(window.ConstructionChanged());
  Click("f3");
  EXPECT_TRUE(window.ConstructionChanged());
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(window.ConstructionChanged());
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);  // before the saved state
  EXPECT_TRUE(window.ConstructionChanged());
  QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_FALSE(window.ConstructionChanged());
  Question question;
  QPointer<QTimer> watcher = AnswerSaveQuestion(&question, "&Verwerfen");
  PressEsc();
  EXPECT_FALSE(question.asked);
  EXPECT_FALSE(window.isVisible());
  delete watcher.data();
}

// Makes a cuboid of the dialog's first measures; `question` answers the save
// question that may follow (or stays unasked when nothing was changed).
void MakeCuboid(Tfpoly& window, Question* question, const QString& answer) {
  bool made = false;
  OnNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<SolidDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    auto* family = dialog->findChild<QComboBox*>("family");
    family->setCurrentIndex(family->findText("Quader"));
    made = true;
    AnswerSaveQuestion(question, answer);
    QTest::mouseClick(dialog->findChild<QPushButton*>("create"), Qt::LeftButton);
  });
  window.findChild<QAction*>("MMakeSolid")->trigger();
  EXPECT_TRUE(made);
}

TEST_F(UnsavedWorkTest, AMadeSolidAsksBeforeItReplacesChangedWork) {
  Click("f5");
  const Construction pentagon = window.construction();
  Question cancelled;
  MakeCuboid(window, &cancelled, "&Abbrechen");
  ASSERT_TRUE(cancelled.asked);
  EXPECT_EQ(cancelled.text, "Die Konstruktion wurde geändert. Vorher speichern?");
  EXPECT_TRUE(window.construction().SameContent(pentagon));
  EXPECT_EQ(window.history().UndoLabel(), "Fünfeck hinzufügen");

  Question discarded;
  MakeCuboid(window, &discarded, "&Verwerfen");
  EXPECT_TRUE(discarded.asked);
  EXPECT_EQ(window.construction().FaceCount, 6);
  EXPECT_TRUE(window.ConstructionChanged());  // a made solid is unsaved work
}

TEST_F(UnsavedWorkTest, ALoadOrACatalogueChoiceIsTheNewUnchangedState) {
  QList<bool> announced;
  QObject::connect(&window, &Tfpoly::changedStateChanged, [&](bool changed) { announced << changed; });
  Click("f5");
  auto* nets = Control<QComboBox>("Co2");
  Question chosen;
  AnswerSaveQuestion(&chosen, "&Verwerfen");
  nets->setCurrentIndex(nets->findText("Tetraeder"));
  EXPECT_TRUE(chosen.asked);
  EXPECT_FALSE(window.ConstructionChanged());
  EXPECT_EQ(announced, (QList<bool>{true, false}));
  AnswerFileDialog(dir.filePath("tetraeder.pko"));
  Click("S15");
  Click("f4");
  EXPECT_TRUE(window.ConstructionChanged());
  Question loaded;
  AnswerFileDialog(dir.filePath("tetraeder.pko"), [&] { AnswerSaveQuestion(&loaded, "&Verwerfen"); });
  Click("S14");
  EXPECT_TRUE(loaded.asked);
  EXPECT_EQ(window.construction().FaceCount, 4);
  EXPECT_FALSE(window.ConstructionChanged());
  // Undoing the load brings back work that was never saved.
  window.Undo();
  EXPECT_TRUE(window.ConstructionChanged());
}

TEST_F(UnsavedWorkTest, ALoadOrACatalogueChoiceAsksBeforeItThrowsAwayChangedWork) {
  Click("f5");
  auto* nets = Control<QComboBox>("Co2");
  nets->setFocus();
  // A choice by keyboard over changed work, cancelled: the pentagon and the box's entry stay.
  Question cancelled;
  AnswerSaveQuestion(&cancelled, "&Abbrechen");
  QTest::keyClick(nets, Qt::Key_Down);
  ASSERT_TRUE(cancelled.asked);
  EXPECT_EQ(cancelled.text, "Die Konstruktion wurde geändert. Vorher speichern?");
  EXPECT_EQ(cancelled.escapeButton, "&Abbrechen");
  EXPECT_EQ(window.construction().FaceCount, 1);
  EXPECT_EQ(nets->currentIndex(), 0);
  EXPECT_EQ(nets->currentText(), "-");
  EXPECT_TRUE(window.ConstructionChanged());
  EXPECT_EQ(window.history().UndoLabel(), "Fünfeck hinzufügen");
  // Verwerfen: the chosen net replaces the work.
  Question discarded;
  AnswerSaveQuestion(&discarded, "&Verwerfen");
  QTest::keyClick(nets, Qt::Key_Down);
  EXPECT_TRUE(discarded.asked);
  EXPECT_EQ(nets->currentText(), "Antiprisma 5");
  const int antiprism = window.construction().FaceCount;
  EXPECT_GT(antiprism, 1);
  EXPECT_FALSE(window.ConstructionChanged());
  const QString net = dir.filePath("antiprisma.pko");
  AnswerFileDialog(net);
  Click("S15");
  Click("f3");
  // A typed name over changed work, cancelled with Esc: the box shows the chosen entry again.
  Question typed;
  AnswerSaveQuestion(&typed, "");
  nets->setEditText("würfel");
  EXPECT_TRUE(typed.asked);
  EXPECT_EQ(nets->currentText(), "Antiprisma 5");
  EXPECT_EQ(window.construction().FaceCount, antiprism + 1);

  // A load over changed work: Abbrechen keeps the work; Speichern saves it first.
  Question kept;
  AnswerFileDialog(net, [&] { AnswerSaveQuestion(&kept, "&Abbrechen"); });
  Click("S14");
  EXPECT_TRUE(kept.asked);
  EXPECT_EQ(window.construction().FaceCount, antiprism + 1);
  EXPECT_TRUE(window.ConstructionChanged());
  const QString work = dir.filePath("mit_dreieck.pko");
  Question saved;
  AnswerFileDialog(net, [&] { AnswerSaveQuestion(&saved, "&Speichern", [&] { AnswerFileDialog(work); }); });
  Click("S14");
  EXPECT_TRUE(saved.asked);
  EXPECT_EQ(window.construction().FaceCount, antiprism);
  EXPECT_FALSE(window.ConstructionChanged());
  // The work saved on the way holds the triangle.
  EXPECT_EQ(LoadConstructionFile(QFile::encodeName(work).toStdString(), ViewCentre{399, 300}).FaceCount,
            antiprism + 1);
}

}  // namespace
}  // namespace didod
