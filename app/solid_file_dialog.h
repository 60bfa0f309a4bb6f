#pragma once
#include <QString>

#include "app/construction_dialogs.h"

class QWidget;

namespace didod {

enum class SolidFileUse { Import, Export };

// Runs a fresh dialog for a 3-D file: to import (OFF, OBJ, STL, PLY) or to
// export the folded solid (OBJ, STL, OFF, binary glTF; the chosen filter's
// extension added to a name typed without one, asking before it replaces a
// file). Returns the chosen path, or an empty text when cancelled; a chosen
// path becomes the remembered folder and name.
QString AskSolidFile(QWidget* parent, SolidFileUse use, RememberedFile& remembered);

}  // namespace didod
