#pragma once
#include <QString>

class QWidget;

namespace didod {

// The folder and name a construction file dialog starts from: those chosen in
// it last. The window keeps one for saving and one for loading; the dialogs
// themselves are made for each use and gone afterwards, so no hidden dialog
// lives on between commands.
struct RememberedFile {
  QString folder;  // empty: the dialog's own starting folder
  QString name;
};

enum class FileDialogUse { Save, Open };

// Runs a fresh construction file dialog (filter "Polyedernetz (*.pko)", the
// extension "pko" added to a name typed without one; the save dialog asks
// before it replaces a file, the open dialog also accepts a name of a file
// that does not exist). Returns the chosen path, or an empty text when
// cancelled; a chosen path becomes the remembered folder and name.
QString AskConstructionFile(QWidget* parent, FileDialogUse use, RememberedFile& remembered);

}  // namespace didod
