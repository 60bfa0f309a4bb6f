#pragma once
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

// Waits (up to five seconds, handling events) until the condition holds, and
// fails the test when it never does. Qt's own QTRY_ macros report to QtTest,
// which a GoogleTest run never hears from.
#define EXPECT_EVENTUALLY(condition) \
  EXPECT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(condition); }, 5000)) << #condition
#define EXPECT_EVENTUALLY_EQ(actual, expected)                                \
  do {                                                                        \
    QTest::qWaitFor([&] { return (actual) == (expected); }, 5000);            \
    EXPECT_EQ(actual, expected);                                              \
  } while (false)

namespace didod::testing {

// A control of the window (or of any widget) by its object name. A name that
// is not there fails the test with that name rather than crashing on null.
template <typename T>
T* Control(const QObject& window, const char* name) {
  T* found = window.findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) throw std::logic_error(std::string("no control named ") + name);
  return found;
}

// Runs `answer` on the next modal box that opens (polling until one does, for
// at most ten seconds, failing the test when none comes), so a test can answer
// a question or read an error display while the handler waits. A test that
// expects no box deletes the returned watcher once it is sure.
inline QPointer<QTimer> OnNextModal(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  auto ticks = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, answer, ticks] {
    if (++*ticks > 1000) {  // no box came: do not wait on into the next test
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal box opened within ten seconds";
      return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      answer(modal);
    }
  });
  timer->start();
  return timer;
}

// Presses the button with `caption` on the next message box that opens, as a
// user's click; the box's text goes to `text` when one is given. `then` runs
// after the press (to answer a box that follows).
inline QPointer<QTimer> PressOnNextBox(const QString& caption, QString* text = nullptr,
                                       std::function<void()> then = {}) {
  return OnNextModal([caption, text, then](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    if (text != nullptr) *text = box->text();
    for (QAbstractButton* button : box->buttons())
      if (button->text() == caption) QTest::mouseClick(button, Qt::LeftButton);
    if (then) then();
  });
}

// Answers the next construction file dialog with a path, or cancels it; then runs `then`.
// The dialog reads its folder in the background, so the answer is repeated
// until the dialog has closed.
inline void AnswerFileDialog(const QString& path, std::function<void()> then = {}) {
  OnNextModal([path, then](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->defaultSuffix(), "pko");
    EXPECT_EQ(dialog->nameFilters(), QStringList{"Polyedernetz (*.pko)"});
    auto* retry = new QTimer;
    retry->setInterval(20);
    QPointer<QFileDialog> guarded(dialog);
    QObject::connect(retry, &QTimer::timeout, [retry, guarded, path, then] {
      QFileDialog* dialog = guarded.data();
      if (!dialog || !dialog->isVisible()) {
        retry->stop();
        retry->deleteLater();
        if (then) then();
        return;
      }
      if (path.isEmpty()) {
        dialog->reject();
      } else {
        // Typed into the name field, as a user would.
        if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
        else dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
      }
    });
    retry->start();
  });
}

}  // namespace didod::testing
