#include "output/recent_folder.h"

#include <QFileInfo>
#include <QHash>

namespace didod {

namespace {
QHash<QString, QString>& Folders() {
  static QHash<QString, QString> folders;  // used by the window's thread only
  return folders;
}
}  // namespace

QString RecentFolder(const QString& dialog, const QString& fallback) {
  const auto found = Folders().constFind(dialog);
  return found == Folders().constEnd() ? fallback : *found;
}

void RememberFolder(const QString& dialog, const QString& chosenFile) {
  if (chosenFile.isEmpty()) return;
  Folders().insert(dialog, QFileInfo(chosenFile).absolutePath());
}

}  // namespace didod
