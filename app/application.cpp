#include "app/application.h"

#include <QFont>
#include <QMessageBox>
#include <exception>

#include "app/german_qt.h"

namespace didod {

QString ErrorDisplayText(const QString& message) {
  if (!message.isEmpty() && message.back() > QChar('.')) return message + QChar('.');
  return message;
}

void ShowErrorDisplay(const QString& message) {
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kApplicationTitle), ErrorDisplayText(message),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setObjectName("ErrorDisplay");
  box.exec();
}

static QString MessageOf(const std::exception& e) { return QString::fromUtf8(e.what()); }

void RunHandler(const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& e) {
    ShowErrorDisplay(MessageOf(e));
  } catch (...) {
    ShowErrorDisplay(QStringLiteral("Unbekannter Fehler"));
  }
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QString::fromLatin1(kApplicationTitle));
  setApplicationDisplayName(QString::fromLatin1(kApplicationTitle));
  setDesktopFileName("didod");
  LoadGermanQtTexts(*this);
  // The drawing names Verdana; DejaVu Sans is the nearest face that Debian ships.
  QFont::insertSubstitution("Verdana", "DejaVu Sans");
  QFont::insertSubstitution("Wingdings", "DejaVu Sans");
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowErrorDisplay(MessageOf(e));
  } catch (...) {
    ShowErrorDisplay(QStringLiteral("Unbekannter Fehler"));
  }
  return false;
}

}  // namespace didod
