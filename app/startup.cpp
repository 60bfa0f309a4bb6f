#include "app/startup.h"

#include "app/application.h"
#include "app/main_window.h"

namespace didod {

bool OpenStartupFile(Tfpoly& window, const QStringList& arguments) {
  if (arguments.size() < 2 || arguments.at(1).isEmpty()) return false;
  const QString path = arguments.at(1);
  RunHandler([&] { window.OpenConstructionFile(path); });
  return true;
}

}  // namespace didod
