#include "app/combo_boxes.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>

namespace didod {

namespace {

bool IsUndoOrRedoKey(const QKeyEvent& key) {
  const QKeyCombination pressed = key.keyCombination();
  return key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo) ||
         pressed == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
         pressed == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
}

// Before a key can start a window shortcut, the widget with the focus may claim
// it (a shortcut override). A combo box passes that question on to its text
// directly, past any filter, so the answer is given on the box itself and on
// its list.
class EscKeyFilter : public QObject {
 public:
  explicit EscKeyFilter(QComboBox* box) : QObject(box), box_(box) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape || !box_->view()->isVisible()) return false;
    event->accept();  // claimed: the key goes to the list, which closes
    return true;
  }

 private:
  QComboBox* box_;
};

class UndoKeyFilter : public QObject {
 public:
  explicit UndoKeyFilter(QComboBox* box) : QObject(box), box_(box) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride) return false;
    const QLineEdit* text = box_->lineEdit();
    if (!text || !IsUndoOrRedoKey(*static_cast<QKeyEvent*>(event))) return false;
    const bool showsChosenEntry = box_->currentIndex() >= 0 && text->text() == box_->itemText(box_->currentIndex());
    if (!showsChosenEntry && (text->isUndoAvailable() || text->isRedoAvailable())) return false;
    event->ignore();  // not claimed: the window's shortcut runs
    return true;
  }

 private:
  QComboBox* box_;
};

}  // namespace

void KeepEscForOpenList(QComboBox* box) {
  auto* filter = new EscKeyFilter(box);
  box->installEventFilter(filter);
  box->view()->installEventFilter(filter);
}

void LeaveUndoKeysToTheWindow(QComboBox* box) {
  if (!box->lineEdit()) return;
  // The text is asked first; a question it leaves open goes up to the box,
  // which would hand it to the text once more.
  auto* filter = new UndoKeyFilter(box);
  box->lineEdit()->installEventFilter(filter);
  box->installEventFilter(filter);
}

void WidenListToLongestEntry(QComboBox* box) {
  QAbstractItemView* list = box->view();
  const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list->verticalScrollBar());
  const int frame = 2 * list->frameWidth();
  list->setMinimumWidth(list->sizeHintForColumn(0) + scrollBar + frame);
}

}  // namespace didod
