#pragma once
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

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
// at most ten seconds), so a test can answer a question or read an error
// display while the handler waits.
inline void OnNextModal(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  auto ticks = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, answer, ticks] {
    if (++*ticks > 1000) {  // no box came: do not wait on into the next test
      timer->stop();
      timer->deleteLater();
      return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      answer(modal);
    }
  });
  timer->start();
}

}  // namespace didod::testing
