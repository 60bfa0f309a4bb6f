#include "app/accessible_combo.h"

#include <QAccessibleWidget>
#include <QComboBox>

namespace didod {

namespace {

class NamedComboAccessible : public QAccessibleWidget {
 public:
  explicit NamedComboAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    const auto* box = static_cast<const QComboBox*>(widget());
    if (t == QAccessible::Name) return box->accessibleName();
    if (t == QAccessible::Value) return box->currentText();
    return QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override { return QStringList{showMenuAction()} + QAccessibleWidget::actionNames(); }
  void doAction(const QString& name) override {
    if (name == showMenuAction())
      static_cast<QComboBox*>(widget())->showPopup();
    else
      QAccessibleWidget::doAction(name);
  }
};

QAccessibleInterface* NamedComboFactory(const QString& key, QObject* object) {
  if (key != QLatin1String("QComboBox")) return nullptr;
  auto* box = qobject_cast<QComboBox*>(object);
  if (box == nullptr || box->accessibleName().isEmpty()) return nullptr;
  return new NamedComboAccessible(box);
}

}  // namespace

void UseAccessibleNamesOfComboBoxes() {
  static const bool installed = [] {
    QAccessible::installFactory(NamedComboFactory);
    return true;
  }();
  (void)installed;
}

}  // namespace didod
