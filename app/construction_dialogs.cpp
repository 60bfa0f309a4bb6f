#include "app/construction_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace didod {

QString AskConstructionFile(QWidget* parent, FileDialogUse use, RememberedFile& remembered) {
  QFileDialog dialog(parent);
  const bool saving = use == FileDialogUse::Save;
  dialog.setObjectName(saving ? "SD3" : "Od1");
  dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter("Polyedernetz (*.pko)");
  dialog.setDefaultSuffix("pko");
  if (!remembered.folder.isEmpty()) dialog.setDirectory(remembered.folder);
  if (!remembered.name.isEmpty()) dialog.selectFile(remembered.name);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString path = dialog.selectedFiles().constFirst();
  if (path.isEmpty()) return {};
  const QFileInfo chosen(path);
  remembered.folder = chosen.absolutePath();
  remembered.name = chosen.fileName();
  return path;
}

}  // namespace didod
