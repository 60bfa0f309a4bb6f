#pragma once
#include <QCheckBox>

namespace didod {

// A check box that a click anywhere on it toggles, not only on its box and
// text: the panel gives each check box a fixed width beyond its text.
class WholeCheckBox : public QCheckBox {
  Q_OBJECT
 public:
  WholeCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

}  // namespace didod
