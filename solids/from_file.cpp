#include "solids/from_file.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "solids/net.h"
#include "unfold/import.h"
#include "unfold/mesh.h"
#include "unfold/unfold.h"

namespace didod::solids {

namespace {

// Larger files hold more triangles than the import reads anyway.
constexpr std::streamoff kLargestFile = 256LL << 20;

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Quoted(const std::string& name) { return "\xE2\x80\x9E" + name + "\xE2\x80\x9C"; }

}  // namespace

FileNet NetOfSolidFile(const std::string& path, int sheetWidth, int sheetHeight, ViewCentre centre, double seconds) {
  const std::string file = BaseName(path);
  std::ifstream in(path, std::ios::binary);
  if (!in) throw unfold::ImportError(Quoted(file) + " kann nicht ge\xC3\xB6" "ffnet werden");
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) throw unfold::ImportError(Quoted(file) + " kann nicht gelesen werden");
  if (size > kLargestFile)
    throw unfold::ImportError(Quoted(file) + " ist zu gro\xC3\x9F: " + std::to_string(size >> 20) +
                              " MB, h\xC3\xB6" "chstens " + std::to_string(kLargestFile >> 20) + " MB werden gelesen");
  in.seekg(0);
  std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
    throw unfold::ImportError(Quoted(file) + " kann nicht gelesen werden");
  return NetOfSolidBytes(bytes, file, sheetWidth, sheetHeight, centre, seconds);
}

FileNet NetOfSolidBytes(std::span<const unsigned char> bytes, const std::string& fileName, int sheetWidth,
                        int sheetHeight, ViewCentre centre, double seconds) {
  FileNet out;
  out.solid = unfold::ImportSolid(bytes, fileName);
  const std::size_t dot = fileName.rfind('.');
  out.name = fileName.substr(0, dot == 0 ? fileName.size() : dot);
  out.vertices = static_cast<int>(out.solid.vertices.size());
  out.faces = static_cast<int>(out.solid.faces.size());
  out.edges = unfold::EdgeCount(out.solid);
  std::optional<Construction> net;
  try {
    net = SolidNetConstruction(out.solid, out.name, sheetWidth, sheetHeight, centre, unfold::Deadline::In(seconds));
  } catch (const unfold::UnfoldStopped&) {
    throw unfold::ImportError("Innerhalb von " + std::to_string(std::lround(seconds)) +
                              " Sekunden wurde kein Netz von " + Quoted(fileName) +
                              " ohne \xC3\x9C" "berlappungen gefunden");
  } catch (const unfold::NoNetFound&) {
    throw unfold::ImportError("F\xC3\xBCr " + Quoted(fileName) + " wurde kein Netz ohne \xC3\x9C" "berlappungen gefunden");
  }
  if (!net) throw unfold::ImportError("Das Netz von " + Quoted(fileName) + " passt nicht in die Konstruktion");
  out.net = std::move(*net);
  return out;
}

}  // namespace didod::solids
