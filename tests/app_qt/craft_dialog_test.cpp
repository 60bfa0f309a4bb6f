#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>

#include "../craft/nets.h"
#include "app/craft_dialog.h"
#include "fold/fold.h"
#include "window_support.h"

namespace didod {
namespace {

TEST(CraftDialog, ShowsAndReturnsTheChoices) {
  CraftDialog dialog("Bastelbogen speichern");
  craft::CraftOptions o;
  o.paper = craft::Paper::Letter;
  o.edgeLength = 55.5;
  o.tabs = craft::TabMode::BothSides;
  o.edgeNumbers = true;
  dialog.SetOptions(o);
  EXPECT_EQ(dialog.paper->currentText(), "Letter");
  EXPECT_TRUE(dialog.fixedSize->isChecked());
  const craft::CraftOptions back = dialog.Options();
  EXPECT_EQ(back.paper, craft::Paper::Letter);
  EXPECT_DOUBLE_EQ(back.edgeLength, 55.5);
  EXPECT_EQ(back.tabs, craft::TabMode::BothSides);
  EXPECT_TRUE(back.edgeNumbers);

  dialog.largest->setChecked(true);
  EXPECT_FALSE(dialog.edgeLength->isEnabled());
  EXPECT_EQ(dialog.Options().edgeLength, 0.0);
  dialog.tabs->setChecked(false);
  EXPECT_FALSE(dialog.tabSides->isEnabled());
  EXPECT_EQ(dialog.Options().tabs, craft::TabMode::None);
  // The field keeps the length within what a sheet can have.
  dialog.edgeLength->setValue(1.0);
  EXPECT_DOUBLE_EQ(dialog.edgeLength->value(), craft::kMinEdgeLength);
}

TEST(CraftDialog, OffersWhereTabsGoNumbersColoursAndPrintingInside) {
  CraftDialog dialog("Bastelbogen drucken");
  auto* sides = dialog.findChild<QComboBox*>("tabSides");
  auto* faceNumbers = dialog.findChild<QCheckBox*>("faceNumbers");
  auto* colours = dialog.findChild<QCheckBox*>("faceColours");
  auto* inside = dialog.findChild<QCheckBox*>("printInside");
  ASSERT_TRUE(sides && faceNumbers && colours && inside);
  EXPECT_EQ(inside->text(), "Innenseite bedrucken");
  // Off by default.
  const craft::CraftOptions defaults = dialog.Options();
  EXPECT_FALSE(defaults.faceNumbers);
  EXPECT_FALSE(defaults.faceColours);
  EXPECT_FALSE(defaults.printInside);
  EXPECT_EQ(defaults.tabs, craft::TabMode::OneSide);
  EXPECT_EQ(defaults.tabSide, craft::TabSide::Roomiest);

  // Each entry of the tab choice comes back, and is shown again.
  const std::pair<craft::TabMode, craft::TabSide> choices[] = {
      {craft::TabMode::OneSide, craft::TabSide::Roomiest},
      {craft::TabMode::OneSide, craft::TabSide::SmallerFace},
      {craft::TabMode::OneSide, craft::TabSide::LargerFace},
      {craft::TabMode::OneSide, craft::TabSide::Alternating},
      {craft::TabMode::BothSides, craft::TabSide::Roomiest}};
  ASSERT_EQ(sides->count(), 5);
  for (int i = 0; i < sides->count(); ++i) {
    sides->setCurrentIndex(i);
    const craft::CraftOptions o = dialog.Options();
    EXPECT_EQ(o.tabs, choices[i].first) << sides->itemText(i).toStdString();
    if (o.tabs == craft::TabMode::OneSide) {
      EXPECT_EQ(o.tabSide, choices[i].second) << sides->itemText(i).toStdString();
    }
    sides->setCurrentIndex(0);
    dialog.SetOptions(o);
    EXPECT_EQ(sides->currentIndex(), i);
  }
  EXPECT_EQ(sides->itemText(1), "an der kleineren Fläche");
  EXPECT_EQ(sides->itemText(3), "abwechselnd entlang der Naht");

  faceNumbers->setChecked(true);
  colours->setChecked(true);
  inside->setChecked(true);
  const craft::CraftOptions on = dialog.Options();
  EXPECT_TRUE(on.faceNumbers);
  EXPECT_TRUE(on.faceColours);
  EXPECT_TRUE(on.printInside);
  CraftDialog again("Bastelbogen speichern");
  again.SetOptions(on);
  EXPECT_TRUE(again.findChild<QCheckBox*>("printInside")->isChecked());
  EXPECT_TRUE(again.findChild<QCheckBox*>("faceColours")->isChecked());
  EXPECT_TRUE(again.findChild<QCheckBox*>("faceNumbers")->isChecked());
}

TEST(CraftDialog, WritesPdfOrSvgForAFoldingNet) {
  QTemporaryDir dir;
  const Construction cube = craft::testing::CubeCross();
  craft::CraftOptions o;
  o.edgeLength = 40.0;
  const std::string pdf = dir.filePath("würfel.pdf").toStdString();
  EXPECT_EQ(WriteCraftSheetFile(cube, "Würfel", o, pdf), "");
  QFile pdfFile(QString::fromStdString(pdf));
  ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdfFile.readAll().startsWith("%PDF"));

  const std::string svg = dir.filePath("würfel.SVG").toStdString();
  EXPECT_EQ(WriteCraftSheetFile(cube, "Würfel", o, svg), "");
  QFile svgFile(QString::fromStdString(svg));
  ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
  const QByteArray text = svgFile.readAll();
  EXPECT_TRUE(text.contains("<svg"));
  EXPECT_TRUE(text.contains("Würfel"));

  // A size that would need too many pages is a message, not a file.
  o.edgeLength = 2000.0;
  const std::string huge = dir.filePath("riesig.pdf").toStdString();
  EXPECT_NE(WriteCraftSheetFile(cube, "Würfel", o, huge).find("Seiten"), std::string::npos);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(huge)));
}

TEST(CraftDialog, ANetThatDoesNotFoldGetsTheVerdictAndNoSheet) {
  Construction strip;
  craft::testing::AddSquare(strip, 0, 0);
  craft::testing::AddSquare(strip, 1, 0);
  QTemporaryDir dir;
  const std::string path = dir.filePath("streifen.pdf").toStdString();
  const std::string message = WriteCraftSheetFile(strip, "", {}, path);
  EXPECT_FALSE(message.empty());
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));

  QString shown;
  testing::OnNextModal([&](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      shown = box->text();
      box->accept();
    } else {
      modal->close();
    }
  });
  EXPECT_FALSE(SaveCraftSheet(strip, "", nullptr));
  EXPECT_EQ(shown.toStdString(), message);
}

}  // namespace
}  // namespace didod
