#pragma once
#include <QApplication>
#include <QString>
#include <functional>

namespace didod {

inline constexpr const char* kApplicationTitle = "Zozeroradedar";

// The text of the general error display: the message, with a full stop added
// when its last character sorts after ".".
QString ErrorDisplayText(const QString& message);

// Shows the general error display: a modal box with the application's title, a
// stop icon, one OK button and the message.
void ShowErrorDisplay(const QString& message);

// The application object. Every exception that leaves an event handler ends that
// handler and is shown by the general error display; the program then goes on.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// Runs a handler body and reports what it throws by the general error display.
// Used where a handler runs outside Qt's event dispatch (for example directly
// from a test or from a nested call), so that the behaviour is the same there.
void RunHandler(const std::function<void()>& body);

}  // namespace didod
