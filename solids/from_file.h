#pragma once
// A solid read from a 3-D file and laid on the sheet as a net.
#include <cstddef>
#include <span>
#include <string>

#include "model/construction.h"
#include "solids/model.h"

namespace didod::solids {

// How long the search for an overlap-free net of an imported solid may take.
inline constexpr double kFileNetSeconds = 20;

struct FileNet {
  Polyhedron solid;  // as the file gives it (its units)
  Construction net;  // laid like a ready-made net
  std::string name;  // the file's name without folder and extension
  int vertices = 0, edges = 0, faces = 0;
};

// Reads the solid of a file (OFF, OBJ, STL or PLY, by the name's extension),
// checks it and unfolds it into one overlap-free piece that fills the sheet
// (see SolidNetConstruction). Throws unfold::ImportError with a German message
// naming the file and the fault; nothing else is touched.
FileNet NetOfSolidFile(const std::string& path, int sheetWidth, int sheetHeight, ViewCentre centre,
                       double seconds = kFileNetSeconds);
// The same for a file's bytes already in memory; `fileName` gives the extension.
FileNet NetOfSolidBytes(std::span<const unsigned char> bytes, const std::string& fileName, int sheetWidth,
                        int sheetHeight, ViewCentre centre, double seconds = kFileNetSeconds);

}  // namespace didod::solids
