#include "output/save_picture.h"

#include <QDir>
#include <QStandardPaths>
#include <stdexcept>

#include "output/recent_folder.h"

namespace didod {

namespace {

struct FilterEntry {
  QString label;
  QString pattern;
};

QList<FilterEntry> ParsePictureFilter() {
  const QStringList parts = QString::fromUtf8(kPictureFilter).split(QLatin1Char('|'));
  QList<FilterEntry> entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) entries.push_back({parts[i], parts[i + 1]});
  return entries;
}

// The extension a typed name without one gets, following the chosen entry.
QString SuffixOfEntry(int entry) {
  static const char* const suffixes[] = {"gif", "bmp", "bmp", "jpg", "gif", "png", "wmf", "svg", "pdf"};
  return QString::fromLatin1(entry >= 1 && entry <= 8 ? suffixes[entry] : "gif");
}

QString StartingFolder() {
  const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (!pictures.isEmpty() && QDir(pictures).exists()) return pictures;
  return QDir::homePath();
}

}  // namespace

QStringList PictureNameFilters() {
  QStringList filters;
  // The label already names a pattern; the real pattern follows in its own
  // parentheses, which the dialog hides (HideNameFilterDetails).
  for (const FilterEntry& e : ParsePictureFilter()) filters << e.label + QStringLiteral(" (") + e.pattern + QLatin1Char(')');
  return filters;
}

int PictureEntryOf(const QString& nameFilter) {
  // The dialog reports either the whole filter or, with the details hidden, the label alone.
  const QList<FilterEntry> entries = ParsePictureFilter();
  const QStringList filters = PictureNameFilters();
  for (qsizetype i = 0; i < entries.size(); ++i)
    if (nameFilter == filters[i] || nameFilter == entries[i].label) return static_cast<int>(i) + 1;
  return 0;
}

std::unique_ptr<QFileDialog> MakePictureDialog(QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(parent, QStringLiteral("Abbildung speichern"),
                                                RecentFolder(QStringLiteral("picture"), StartingFolder()));
  // Qt's own dialog matches patterns without regard to case, so "*.GIF" also
  // shows "bild.gif"; platform dialogs may not.
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  dialog->setOption(QFileDialog::HideNameFilterDetails, true);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setNameFilters(PictureNameFilters());
  dialog->selectNameFilter(PictureNameFilters().at(3));
  dialog->setDefaultSuffix(SuffixOfEntry(4));
  dialog->selectFile(QString());
  dialog->setSizeGripEnabled(true);
  QFileDialog* raw = dialog.get();
  QObject::connect(raw, &QFileDialog::filterSelected, raw,
                   [raw](const QString& filter) { raw->setDefaultSuffix(SuffixOfEntry(PictureEntryOf(filter))); });
  return dialog;
}

void SavePicture(int width, int height, const PaintProc& paint, QWidget* parent) {
  std::unique_ptr<QFileDialog> dialog = MakePictureDialog(parent);
  if (dialog->exec() != QDialog::Accepted) return;
  const QStringList files = dialog->selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return;
  const int entry = PictureEntryOf(dialog->selectedNameFilter());
  const QString fileName = files.first();
  RememberFolder(QStringLiteral("picture"), fileName);
  dialog.reset();
  WritePicture(entry == 0 ? PictureFormat::Gif : static_cast<PictureFormat>(entry), fileName, width, height, paint);
}

}  // namespace didod
