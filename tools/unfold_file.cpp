// didod-unfold IN OUT.pko: reads a solid from a 3-D file (OFF, OBJ, STL, PLY),
// unfolds it into one overlap-free piece and saves the net as a construction
// file, as "Körper importieren …" lays it on the sheet. Prints the counts;
// exits with 1 and the same message as the program's on a bad file, with 2
// on a wrong call.
#include <cstdio>
#include <exception>
#include <string>

#include "persistence/construction_file.h"
#include "solids/from_file.h"

namespace {

// The sheet the catalogue's nets are designed for.
constexpr int kSheetWidth = 799, kSheetHeight = 638;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Aufruf: didod-unfold K\xC3\x96RPER.off|.obj|.stl|.ply NETZ.pko\n");
    return 2;
  }
  const std::string in = argv[1], out = argv[2];
  try {
    const didod::ViewCentre centre = didod::ViewCentreOf(kSheetWidth, kSheetHeight);
    const didod::solids::FileNet placed = didod::solids::NetOfSolidFile(in, kSheetWidth, kSheetHeight, centre);
    didod::SaveConstructionFile(placed.net, out);
    std::printf("%s: %d Ecken, %d Kanten, %d Fl\xC3\xA4" "chen; Netz mit %d Punkten in %s\n", in.c_str(),
                placed.vertices, placed.edges, placed.faces, placed.net.PointCount, out.c_str());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
