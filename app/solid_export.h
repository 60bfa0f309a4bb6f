#pragma once
// "Körper exportieren …" of the fold window: the folded solid as a 3-D file.
#include <string>
#include <vector>

#include "geometry/vec.h"

class QWidget;

namespace didod {

// Writes the solid given by its faces' corners (outward, as the net check
// gives them) to the file, as OBJ, STL (binary), OFF or binary glTF by the
// name's extension, scaled so that its longest edge is `edgeMm` long. Throws
// std::runtime_error with a message for the user; the file is written whole
// or not at all.
void WriteFoldedSolid(const std::vector<std::vector<geo::Vec3>>& faces, double edgeMm, const std::string& path);

// Asks for a file (starting where the last export went) and writes the solid
// there, errors shown by the general error display. Returns whether it was written.
bool ExportFoldedSolid(const std::vector<std::vector<geo::Vec3>>& faces, double edgeMm, QWidget* parent);

}  // namespace didod
