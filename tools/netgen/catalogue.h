#pragma once
#include <string>
#include <vector>

#include "tools/netgen/vocabulary.h"

namespace didod::netgen {

struct GeneratedNet {
  std::string name;  // UTF-8
  Polyhedron solid;
  Net net;           // fitted to the sheet, in net units
  bool exponentForm = false;
  double shortestEdge = 0;  // in net units
  double fill = 0;          // share of the sheet covered by the faces at scale 50
};

// The one record written in the exponent form, and its first point.
inline constexpr const char* kExponentFormName = "Antiprisma 6";
inline constexpr double kExponentFirstX = 0.566025403784439;
inline constexpr double kExponentFirstY = -0.02;

// Builds, unfolds and fits the net of one solid of the catalogue.
GeneratedNet GenerateNet(const std::string& name);
std::vector<GeneratedNet> GenerateAll();

// " 5.66025403784439E-0001": sign or blank, 15 significant digits, four-digit exponent.
std::string FormatExponentCoordinate(double x);
// The net's record lines (face count .. join lines), without the "[" name line.
std::vector<std::string> RecordLines(const GeneratedNet& g);
// The whole catalogue text: Windows-1252, CR LF after every line.
std::string CatalogueText(const std::vector<GeneratedNet>& nets);
std::string ToWindows1252(const std::string& utf8);

}  // namespace didod::netgen
