#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "output/save_picture.h"
#include "sample.h"

namespace didod {
namespace {

TEST(PictureDialog, StartsAsTheCommandWants) {
  const auto dialog = MakePictureDialog(nullptr);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Abbildung speichern"));
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite)) << "asks before replacing";
  const QStringList filters = dialog->nameFilters();
  ASSERT_EQ(filters.size(), 8);
  EXPECT_EQ(filters[3], QStringLiteral("GIF-Abbildung (*.gif) (*.GIF)"));
  EXPECT_EQ(PictureEntryOf(dialog->selectedNameFilter()), 4);
  EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("gif"));
  const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  const QString expected = QDir(pictures).exists() ? pictures : QDir::homePath();
  EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(expected).canonicalPath());
  auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(name, nullptr);
  EXPECT_TRUE(name->text().isEmpty());
  // The user sees the labels alone, in the order of the filter string.
  auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
  ASSERT_NE(types, nullptr);
  QStringList labels;
  for (int i = 0; i < types->count(); ++i) labels << types->itemText(i);
  EXPECT_EQ(labels, (QStringList{"Abbildung (*.bmp)", "Abbildung,16 Farben (*.bmp)", "Abbildung (*.jpg)",
                                 "GIF-Abbildung (*.gif)", "PNG-Grafik (*.png)", "Vektorgrafik (*.wmf)",
                                 "SVG-Grafik (*.svg)", "PDF-Dokument (*.pdf)"}));
  EXPECT_EQ(types->currentIndex(), 3);
}

TEST(PictureDialog, CapitalGifPatternShowsLowerCaseFiles) {
  QTemporaryDir dir;
  for (const char* name : {"netz.gif", "bild.png", "alt.GIF"}) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  const auto dialog = MakePictureDialog(nullptr);
  dialog->setDirectory(dir.path());
  auto* model = dialog->findChild<QFileSystemModel*>("qt_filesystem_model");
  ASSERT_NE(model, nullptr);
  const QModelIndex root = model->index(dir.path());
  auto shown = [&](const QString& name) {
    const QModelIndex index = model->index(dir.filePath(name));
    return index.isValid() && (model->flags(index) & Qt::ItemIsEnabled) && !model->isDir(index) &&
           model->filePath(index) == dir.filePath(name);
  };
  auto listed = [&]() {
    QStringList names;
    for (int i = 0; i < model->rowCount(root); ++i) {
      const QModelIndex index = model->index(i, 0, root);
      if (model->flags(index) & Qt::ItemIsEnabled) names << model->fileName(index);
    }
    names.sort();
    return names;
  };
  // The model reads the folder in the background.
  const QStringList expected{"alt.GIF", "netz.gif"};
  QElapsedTimer clock;
  clock.start();
  while (listed() != expected && clock.elapsed() < 10000) QTest::qWait(20);
  EXPECT_EQ(listed(), expected);
  EXPECT_TRUE(shown("netz.gif"));
  EXPECT_FALSE(shown("bild.png"));
}

// Fills in the modal dialog once it is open and accepts it.
void AnswerDialog(const QString& fileName, int entry) {
  QTimer::singleShot(0, [fileName, entry] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      AnswerDialog(fileName, entry);
      return;
    }
    auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
    types->setCurrentIndex(entry - 1);
    // As if the user picked it.
    emit types->activated(entry - 1);
    emit types->textActivated(types->itemText(entry - 1));
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(fileName);
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, which checks the name
  });
}

TEST(PictureDialog, SavesInTheChosenFormatWithItsExtension) {
  QTemporaryDir dir;
  const auto sample = testing::MakeSample();
  const PaintProc paint = testing::PaintOf(sample, testing::kSheetW, testing::kSheetH);
  // A name without extension gets the chosen entry's extension.
  AnswerDialog(dir.filePath("netz"), 5);
  SavePicture(testing::kSheetW, testing::kSheetH, paint, nullptr);
  QImage png(dir.filePath("netz.png"), "png");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"netz.png"});
  ASSERT_FALSE(png.isNull());
  EXPECT_EQ(png.size(), QSize(testing::kSheetW, testing::kSheetH));
  // A name that has one keeps it, whatever the entry: here the vector metafile.
  AnswerDialog(dir.filePath("netz.wmf"), 6);
  SavePicture(testing::kSheetW, testing::kSheetH, paint, nullptr);
  QFile wmf(dir.filePath("netz.wmf"));
  ASSERT_TRUE(wmf.open(QIODevice::ReadOnly));
  EXPECT_EQ(wmf.read(4), QByteArray("\x01\x00\x00\x00", 4)) << "an EMF header record";
}

TEST(PictureDialog, CancelWritesNothing) {
  QTemporaryDir dir;
  bool answered = false;
  const QString name = dir.filePath("netz.gif");
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
    dialog->reject();
    answered = true;
  });
  const auto sample = testing::MakeSample();
  SavePicture(testing::kSheetW, testing::kSheetH, testing::PaintOf(sample, testing::kSheetW, testing::kSheetH),
              nullptr);
  EXPECT_TRUE(answered);
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

}  // namespace
}  // namespace didod
