#pragma once
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace didod::testing {

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
