#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <map>
#include <set>

#include "app/main_window.h"
#include "output/recent_folder.h"
#include "output/save_picture.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::Control;
using didod::testing::OnNextModal;

// Contrast of two colours as the web's accessibility guidelines define it (1 to 21).
double Contrast(QColor a, QColor b) {
  auto luminance = [](QColor c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The strongest contrast any pixel of `area` has against `background`.
double StrongestContrast(const QImage& image, const QRect& area, QColor background) {
  double best = 1.0;
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x)
      best = std::max(best, Contrast(QColor(image.pixel(x, y)), background));
  return best;
}

QPalette DarkTheme() {
  QPalette p;
  const QColor window(53, 53, 53), base(35, 35, 35), light(230, 230, 230);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, light);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window);
  p.setColor(QPalette::Text, light);
  p.setColor(QPalette::Button, window);
  p.setColor(QPalette::ButtonText, light);
  p.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
  return p;
}

struct Shot {
  QImage panel, strip;
};

Shot ShootWindow() {
  Tfpoly w;
  w.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
  return {Control<QWidget>(w, "P34")->grab().toImage(), Control<QWidget>(w, "P1")->grab().toImage()};
}

TEST(Desktop, UnderADarkThemeThePanelAndStripLookAsUnderALightOne) {
  const QPalette original = QApplication::palette();
  QApplication::setPalette(DarkTheme());
  const Shot dark = ShootWindow();
  {
    // Every text of the side panel keeps the contrast of its own colour on the grey panel.
    Tfpoly w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QWidget* panel = Control<QWidget>(w, "P34");
    const QImage image = panel->grab().toImage();
    const QColor grey(240, 240, 240);
    int texts = 0;
    for (QWidget* child : panel->findChildren<QWidget*>()) {
      if (!qobject_cast<QLabel*>(child) && !qobject_cast<QCheckBox*>(child) && !qobject_cast<QLineEdit*>(child)) continue;
      if (qobject_cast<QLineEdit*>(child) && qobject_cast<QComboBox*>(child->parentWidget())) continue;
      const QColor ink = child->objectName() == "L51" ? QColor(0, 0, 128) : QColor(Qt::black);
      const QColor ground = qobject_cast<QLineEdit*>(child) ? QColor(Qt::white) : grey;
      const double wanted = Contrast(ink, ground);
      const QRect area(child->mapTo(panel, QPoint(0, 0)), child->size());
      EXPECT_GT(StrongestContrast(image, area, ground), 0.9 * wanted) << child->objectName().toStdString();
      ++texts;
    }
    EXPECT_GE(texts, 12);
    // The net chooser: dark text on a light field.
    auto* chooser = Control<QComboBox>(w, "Co2");
    const QImage field = chooser->grab().toImage();
    EXPECT_GT(StrongestContrast(field, field.rect().adjusted(4, 4, -24, -4), Qt::white), 15.0);
    EXPECT_EQ(chooser->lineEdit()->palette().color(QPalette::Base), QColor(Qt::white));
  }
  QApplication::setPalette(original);
  const Shot light = ShootWindow();
  EXPECT_EQ(dark.panel, light.panel);
  EXPECT_EQ(dark.strip, light.strip);
}

// Every element of the accessibility tree below `node`, by its object's name.
void Collect(QAccessibleInterface* node, std::multimap<QString, QAccessibleInterface*>& found, int depth = 0) {
  if (!node || depth > 30) return;
  if (node->object()) found.emplace(node->object()->objectName(), node);
  for (int i = 0; i < node->childCount(); ++i) Collect(node->child(i), found, depth + 1);
}

TEST(Desktop, ScreenReadersFindANameForEveryControl) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  std::multimap<QString, QAccessibleInterface*> tree;
  Collect(QAccessible::queryAccessibleInterface(&w), tree);
  const std::map<QString, QString> expected = {
      {"S7", "Teilprogramm beenden"},    {"S18", "Konstruktion löschen"},   {"S14", "Konstruktion laden"},
      {"S15", "Konstruktion speichern"}, {"S40", "Darstellung vergrößern"}, {"S42", "Standardeinstellung"},
      {"S41", "Darstellung verkleinern"}, {"E7", "Seiten"},                 {"Edit2", "mit 2.Seite"},
      {"Edit3", "Innenwinkel"},          {"Edit4", "Skalierungsfaktor"},    {"Co2", "Fertiges Netz"},
      {"Co1", "Sonderfläche"},           {"f7", "gleichschenkliges Dreieck"}, {"c4", "Punkte anzeigen"},
      {"PB5", "Zeichenblatt"}};
  for (const auto& [name, text] : expected) {
    auto found = tree.find(name);
    ASSERT_NE(found, tree.end()) << name.toStdString();
    EXPECT_EQ(found->second->text(QAccessible::Name), text) << name.toStdString();
  }
  // Nothing a user can operate is nameless.
  const std::set<QAccessible::Role> operable = {QAccessible::PushButton, QAccessible::CheckBox, QAccessible::RadioButton,
                                                QAccessible::EditableText, QAccessible::ComboBox, QAccessible::ButtonMenu};
  int checked = 0;
  for (const auto& [name, node] : tree) {
    if (!operable.count(node->role()) || node->state().invisible) continue;
    EXPECT_FALSE(node->text(QAccessible::Name).isEmpty()) << name.toStdString() << " role " << node->role();
    ++checked;
  }
  EXPECT_GE(checked, 25);
}

TEST(Desktop, ZoomAndClearFromTheKeyboard) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  QTest::mouseClick(Control<QPushButton>(w, "f4"), Qt::LeftButton);
  QTest::keyClick(&w, Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(w.construction().Scale, 55.0);
  QTest::keyClick(&w, Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(w.construction().Scale, 60.5);
  QTest::keyClick(&w, Qt::Key_0, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(w.construction().Scale, 50.0);
  QTest::keyClick(&w, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_LT(w.construction().Scale, 50.0);
  QString question;
  OnNextModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    question = box->text();
    for (QAbstractButton* b : box->buttons())
      if (b->text() == "&Ja") b->click();
  });
  QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(question, "Konstruktion wirklich löschen?");
  EXPECT_EQ(w.construction().FaceCount, 0);
}

TEST(Desktop, MenusHaveMnemonicsAndTabFollowsTheReadingOrder) {
  Tfpoly w;
  auto mnemonic = [](const QString& text) {
    const qsizetype at = text.indexOf('&');
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
  };
  std::set<QChar> bar;
  for (QAction* item : Control<QMenuBar>(w, "MM1")->actions()) {
    const QChar key = mnemonic(item->text());
    EXPECT_FALSE(key.isNull()) << item->text().toStdString();
    EXPECT_TRUE(bar.insert(key).second) << item->text().toStdString();
    if (!item->menu()) continue;
    std::set<QChar> inMenu;
    for (QAction* entry : item->menu()->actions()) {
      if (entry->isSeparator() || entry->objectName() == "MUndo" || entry->objectName() == "MRedo") continue;
      const QChar k = mnemonic(entry->text());
      EXPECT_FALSE(k.isNull()) << entry->text().toStdString();
      EXPECT_TRUE(inMenu.insert(k).second) << entry->text().toStdString();
    }
  }
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  const QStringList order = {"Co2", "f3", "f4", "f5", "f6", "f8", "f10", "f12", "E7", "f7", "Edit2",
                             "f9", "Edit3", "f11", "Co1", "Edit4", "c4", "c3"};
  QWidget* at = Control<QWidget>(w, "Co2");
  for (int i = 1; i < order.size(); ++i) {
    at = at->nextInFocusChain();
    while (at->focusPolicy() == Qt::NoFocus || at->focusProxy() || !at->isVisible()) at = at->nextInFocusChain();
    EXPECT_EQ(at->objectName(), order[i]) << i;
  }
}

TEST(Desktop, TheSmallestWindowCutsNoControlOff) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  w.resize(100, 50);
  QTest::qWait(50);
  EXPECT_GE(w.width(), w.minimumSizeHint().width());
  EXPECT_LE(w.height(), 720);  // still fits a small screen
  QWidget* panel = Control<QWidget>(w, "P34");
  for (QWidget* child : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    EXPECT_TRUE(panel->rect().contains(child->geometry())) << child->objectName().toStdString();
  EXPECT_TRUE(w.centralWidget()->rect().contains(QRect(panel->mapTo(w.centralWidget(), QPoint(0, 0)), panel->size())));
  // The caption text stays clear of the tool buttons and of the net chooser.
  QWidget* strip = Control<QWidget>(w, "P1");
  auto* caption = Control<QLabel>(w, "P1Caption");
  const int textWidth = caption->fontMetrics().horizontalAdvance(caption->text());
  const QRect text((strip->width() - textWidth) / 2, 0, textWidth, strip->height());
  for (const char* name : {"TB3", "TB1", "P8"}) {
    QWidget* other = Control<QWidget>(w, name);
    EXPECT_TRUE(strip->rect().contains(other->geometry())) << name;
    EXPECT_FALSE(text.intersects(other->geometry())) << name;
  }
}

TEST(Desktop, PictureDialogStartsWhereTheLastPictureWent) {
  // Other tests may already have saved a picture in this run.
  const QString before = MakePictureDialog(nullptr)->directory().absolutePath();
  EXPECT_EQ(RecentFolder("never used", before), before);
  QTemporaryDir dir;
  RememberFolder("picture", dir.filePath("bild.png"));
  EXPECT_EQ(MakePictureDialog(nullptr)->directory().absolutePath(), QDir(dir.path()).absolutePath());
  EXPECT_NE(RecentFolder("craft", "x"), QDir(dir.path()).absolutePath());  // each kind of dialog has its own
  RememberFolder("picture", before + "/a.png");  // leave it as the other tests expect
}

}  // namespace
}  // namespace didod
