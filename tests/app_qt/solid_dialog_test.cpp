#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/solid_dialog.h"
#include "unfold/polyhedron.h"

namespace didod {
namespace {

QLineEdit* Field(SolidDialog& d, int m) { return d.findChild<QLineEdit*>(QString("measure%1").arg(m)); }
QLabel* Problem(SolidDialog& d, int m) { return d.findChild<QLabel*>(QString("problem%1").arg(m)); }

void Type(QLineEdit* field, const QString& text) {
  field->selectAll();
  QTest::keyClicks(field, text);
}

TEST(SolidDialog, MeasuresMakeTheSolidAndBadOnesGetTheirReasonBesideTheField) {
  SolidDialog d;
  d.show();
  auto* family = d.findChild<QComboBox*>("family");
  ASSERT_NE(family, nullptr);
  family->setCurrentIndex(family->findText("Quader"));
  Type(Field(d, 0), "30");
  Type(Field(d, 1), "40,5");
  Type(Field(d, 2), "50");
  ASSERT_TRUE(d.Choice().has_value());
  EXPECT_EQ(d.Choice()->name, "Quader 30 × 40.5 × 50 mm");
  EXPECT_NEAR(unfold::Volume(d.Choice()->solid), 30 * 40.5 * 50, 1e-6);
  EXPECT_DOUBLE_EQ(d.Choice()->longestEdge, 50);
  EXPECT_EQ(d.preview->solid().size(), 6u);  // the picture follows
  EXPECT_TRUE(d.findChild<QPushButton*>("create")->isEnabled());

  Type(Field(d, 1), "-4");
  EXPECT_FALSE(d.Choice().has_value());
  EXPECT_TRUE(Problem(d, 1)->isVisible());
  EXPECT_EQ(Problem(d, 1)->text(), "Die Länge muss größer als 0 mm sein.");
  EXPECT_FALSE(Problem(d, 0)->isVisible());
  EXPECT_TRUE(d.preview->solid().empty());
  EXPECT_FALSE(d.findChild<QPushButton*>("create")->isEnabled());
  Type(Field(d, 1), "vier");
  EXPECT_EQ(Problem(d, 1)->text(), "Bitte eine Zahl eingeben.");

  // A frustum wider on top, and a count outside 3 .. 24.
  family->setCurrentIndex(family->findText("Pyramidenstumpf"));
  EXPECT_TRUE(d.Choice().has_value()) << "a new family starts from its own measures";
  Type(Field(d, 2), "60");
  EXPECT_EQ(Problem(d, 2)->text(), "Die obere Kante muss kürzer sein als die untere.");
  Type(Field(d, 0), "25");
  EXPECT_EQ(Problem(d, 0)->text(), "Die Eckenzahl muss eine ganze Zahl von 3 bis 24 sein.");
  EXPECT_FALSE(d.Choice().has_value());

  // Regular faces fix the height: its field is not asked for.
  family->setCurrentIndex(family->findText("Antiprisma"));
  auto* regular = d.findChild<QCheckBox*>("regular");
  ASSERT_TRUE(regular->isVisible());
  Type(Field(d, 2), "-1");
  EXPECT_FALSE(d.Choice().has_value());
  regular->setChecked(true);
  EXPECT_FALSE(Field(d, 2)->isEnabled());
  ASSERT_TRUE(d.Choice().has_value());
  const auto [lo, hi] = unfold::EdgeLengthRange(d.Choice()->solid);
  EXPECT_NEAR(lo, 30, 1e-9);
  EXPECT_NEAR(hi, 30, 1e-9);
}

TEST(SolidDialog, TheLibraryIsSearchedByGermanNameAndShowsPictures) {
  SolidDialog d;
  d.show();
  d.findChild<QTabWidget*>()->setCurrentIndex(1);
  auto* list = d.findChild<QListWidget*>("library");
  EXPECT_EQ(list->count(), 147);
  EXPECT_FALSE(list->item(0)->icon().isNull());
  QTest::keyClicks(d.findChild<QLineEdit*>("search"), "sterndodek");
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(0)->text(), "Kleines Sterndodekaeder");
  ASSERT_TRUE(d.Choice().has_value());
  EXPECT_EQ(d.Choice()->name, "Kleines Sterndodekaeder");
  EXPECT_DOUBLE_EQ(d.Choice()->longestEdge, 40);
  EXPECT_NEAR(unfold::EdgeLengthRange(d.Choice()->solid).second, 40, 1e-9);
  EXPECT_EQ(d.preview->solid().size(), 60u);
  Type(d.findChild<QLineEdit*>("libraryEdge"), "0");
  EXPECT_FALSE(d.Choice().has_value());
  EXPECT_EQ(d.findChild<QLabel*>("libraryProblem")->text(), "Die Länge muss größer als 0 mm sein.");
  Type(d.findChild<QLineEdit*>("libraryEdge"), "25");
  list->setCurrentRow(1);
  EXPECT_EQ(d.Choice()->name, "Großes Sterndodekaeder");
  // Dragging turns the picture.
  const geo::Mat3 before = d.preview->rotation();
  QTest::mousePress(d.preview, Qt::LeftButton, {}, QPoint(50, 50));
  QTest::mouseMove(d.preview, QPoint(90, 60));
  QTest::mouseRelease(d.preview, Qt::LeftButton, {}, QPoint(90, 60));
  EXPECT_NE(d.preview->rotation(), before);
}

}  // namespace
}  // namespace didod
