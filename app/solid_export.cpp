#include "app/solid_export.h"

#include <QFile>
#include <stdexcept>

#include "app/application.h"
#include "app/solid_file_dialog.h"
#include "persistence/safe_file.h"
#include "unfold/export.h"
#include "unfold/mesh.h"

namespace didod {

void WriteFoldedSolid(const std::vector<std::vector<geo::Vec3>>& faces, double edgeMm, const std::string& path) {
  if (faces.empty()) throw std::runtime_error("Es gibt keinen gefalteten K\xC3\xB6rper zum Exportieren");
  const std::optional<unfold::SolidFormat> format = unfold::SolidFormatOfName(path);
  if (!format || *format == unfold::SolidFormat::Ply)
    throw std::runtime_error("Exportiert wird als OBJ, STL, OFF oder glTF (.glb)");
  // The folded faces meet corner on corner up to rounding.
  const unfold::Soup welded = unfold::WeldFaces(faces, 1e-7);
  const unfold::Polyhedron solid =
      unfold::ScaledToLongestEdge(unfold::Polyhedron{welded.vertices, welded.faces}, edgeMm);
  WriteFileSafely(path, unfold::SolidFileBytes(solid, *format));
}

bool ExportFoldedSolid(const std::vector<std::vector<geo::Vec3>>& faces, double edgeMm, QWidget* parent) {
  static RememberedFile remembered;
  const QString path = AskSolidFile(parent, SolidFileUse::Export, remembered);
  if (path.isEmpty()) return false;
  bool written = false;
  RunHandler([&] {
    WriteFoldedSolid(faces, edgeMm, QFile::encodeName(path).toStdString());
    written = true;
  });
  return written;
}

}  // namespace didod
