#include "app/solid_file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace didod {

QString AskSolidFile(QWidget* parent, SolidFileUse use, RememberedFile& remembered) {
  QFileDialog dialog(parent);
  const bool exporting = use == SolidFileUse::Export;
  dialog.setObjectName(exporting ? "SolidExportDialog" : "SolidImportDialog");
  dialog.setWindowTitle(exporting ? "Körper exportieren" : "Körper importieren");
  dialog.setAcceptMode(exporting ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(exporting ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QStringList filters =
      exporting ? QStringList{"Wavefront OBJ (*.obj)", "STL (*.stl)", "OFF (*.off)", "glTF, binär (*.glb)"}
                : QStringList{"3-D-Körper (*.off *.obj *.stl *.ply *.OFF *.OBJ *.STL *.PLY)", "Alle Dateien (*)"};
  dialog.setNameFilters(filters);
  if (exporting) {
    dialog.setDefaultSuffix("obj");
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
      const int star = filter.indexOf("*.");
      dialog.setDefaultSuffix(filter.mid(star + 2, filter.indexOf(')', star) - star - 2));
    });
  }
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
