#include <QTimer>

#include "app/application.h"
#include "app/main_window.h"
#include "app/startup.h"

int main(int argc, char** argv) {
  didod::Application app(argc, argv);
  // The application object has removed Qt's own options from argv.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  didod::Tfpoly window;
  window.show();
  // Loaded once the window shows, so that an error display has its window.
  QTimer::singleShot(0, &window, [&] { didod::OpenStartupFile(window, arguments); });
  return app.exec();
}
