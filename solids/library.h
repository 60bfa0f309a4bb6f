#pragma once
// The library of solids with German names: the Platonic, Archimedean and
// Catalan solids, the 92 Johnson solids, the four Kepler-Poinsot solids as a
// paper model shows them, and the regular prisms and antiprisms with 3 to 12
// sides.
#include <functional>
#include <string>
#include <vector>

#include "solids/model.h"

namespace didod::solids {

struct LibraryEntry {
  std::string name;   // German, unique
  std::string group;  // German: "Platonischer Körper", "Johnson-Körper", ...
  std::function<Polyhedron()> build;
  bool convex = true;
  bool equalEdges = false;    // every edge of the same length
  bool regularFaces = false;  // every face a regular polygon
};

const std::vector<LibraryEntry>& Library();

// The entry of that name; throws std::invalid_argument when there is none.
const LibraryEntry& LibraryEntryNamed(const std::string& name);

// Indices of the entries whose name or group holds every word of the text,
// ignoring letter case (also of ä, ö, ü) and the order of the words; every
// entry for an empty text.
std::vector<int> SearchLibrary(const std::string& text);

// The library solid scaled so that its longest edge is `longestEdge`.
Polyhedron BuildLibrarySolid(const LibraryEntry& entry, double longestEdge);

}  // namespace didod::solids
