#include "solids/library.h"

#include <algorithm>
#include <stdexcept>

#include "solids/families.h"
#include "solids/johnson.h"
#include "solids/star.h"
#include "solids/uniform.h"

namespace didod::solids {

namespace {

// German names of the Johnson solids, J1 first.
const char* const kJohnsonNames[92] = {
    "Quadratische Pyramide", "Fünfeckige Pyramide", "Dreieckskuppel", "Quadratkuppel", "Fünfeckskuppel",
    "Fünfecksrotunde", "Verlängerte dreiseitige Pyramide", "Verlängerte quadratische Pyramide",
    "Verlängerte fünfeckige Pyramide", "Verdreht verlängerte quadratische Pyramide",
    "Verdreht verlängerte fünfeckige Pyramide", "Dreiseitige Doppelpyramide", "Fünfeckige Doppelpyramide",
    "Verlängerte dreiseitige Doppelpyramide", "Verlängerte quadratische Doppelpyramide",
    "Verlängerte fünfeckige Doppelpyramide", "Verdreht verlängerte quadratische Doppelpyramide",
    "Verlängerte Dreieckskuppel", "Verlängerte Quadratkuppel", "Verlängerte Fünfeckskuppel",
    "Verlängerte Fünfecksrotunde", "Verdreht verlängerte Dreieckskuppel", "Verdreht verlängerte Quadratkuppel",
    "Verdreht verlängerte Fünfeckskuppel", "Verdreht verlängerte Fünfecksrotunde", "Doppelkeil",
    "Dreiecks-Orthobikuppel", "Quadrat-Orthobikuppel", "Quadrat-Gyrobikuppel", "Fünfecks-Orthobikuppel",
    "Fünfecks-Gyrobikuppel", "Fünfecks-Orthokuppelrotunde", "Fünfecks-Gyrokuppelrotunde",
    "Fünfecks-Orthobirotunde", "Verlängerte Dreiecks-Orthobikuppel", "Verlängerte Dreiecks-Gyrobikuppel",
    "Verlängerte Quadrat-Gyrobikuppel", "Verlängerte Fünfecks-Orthobikuppel", "Verlängerte Fünfecks-Gyrobikuppel",
    "Verlängerte Fünfecks-Orthokuppelrotunde", "Verlängerte Fünfecks-Gyrokuppelrotunde",
    "Verlängerte Fünfecks-Orthobirotunde", "Verlängerte Fünfecks-Gyrobirotunde",
    "Verdreht verlängerte Dreiecks-Bikuppel", "Verdreht verlängerte Quadrat-Bikuppel",
    "Verdreht verlängerte Fünfecks-Bikuppel", "Verdreht verlängerte Fünfecks-Kuppelrotunde",
    "Verdreht verlängerte Fünfecks-Birotunde", "Erweitertes dreiseitiges Prisma",
    "Zweifach erweitertes dreiseitiges Prisma", "Dreifach erweitertes dreiseitiges Prisma",
    "Erweitertes fünfseitiges Prisma", "Zweifach erweitertes fünfseitiges Prisma", "Erweitertes sechsseitiges Prisma",
    "Para-zweifach erweitertes sechsseitiges Prisma", "Meta-zweifach erweitertes sechsseitiges Prisma",
    "Dreifach erweitertes sechsseitiges Prisma", "Erweitertes Dodekaeder", "Para-zweifach erweitertes Dodekaeder",
    "Meta-zweifach erweitertes Dodekaeder", "Dreifach erweitertes Dodekaeder", "Meta-zweifach vermindertes Ikosaeder",
    "Dreifach vermindertes Ikosaeder", "Erweitertes dreifach vermindertes Ikosaeder", "Erweiterter Tetraederstumpf",
    "Erweiterter Hexaederstumpf", "Zweifach erweiterter Hexaederstumpf", "Erweiterter Dodekaederstumpf",
    "Para-zweifach erweiterter Dodekaederstumpf", "Meta-zweifach erweiterter Dodekaederstumpf",
    "Dreifach erweiterter Dodekaederstumpf", "Gedrehtes Rhombenikosidodekaeder",
    "Para-zweifach gedrehtes Rhombenikosidodekaeder", "Meta-zweifach gedrehtes Rhombenikosidodekaeder",
    "Dreifach gedrehtes Rhombenikosidodekaeder", "Vermindertes Rhombenikosidodekaeder",
    "Para-gedrehtes vermindertes Rhombenikosidodekaeder", "Meta-gedrehtes vermindertes Rhombenikosidodekaeder",
    "Zweifach gedrehtes vermindertes Rhombenikosidodekaeder", "Para-zweifach vermindertes Rhombenikosidodekaeder",
    "Meta-zweifach vermindertes Rhombenikosidodekaeder", "Gedrehtes zweifach vermindertes Rhombenikosidodekaeder",
    "Dreifach vermindertes Rhombenikosidodekaeder", "Trigondodekaeder",
    "Abgeschrägtes quadratisches Antiprisma", "Sphenocorona", "Erweiterte Sphenocorona", "Sphenomegacorona",
    "Hebesphenomegacorona", "Disphenocingulum", "Bilunabirotunda", "Dreiseitige Hebesphenorotunda"};

std::vector<LibraryEntry> MakeLibrary() {
  std::vector<LibraryEntry> lib;
  auto add = [&](std::string name, std::string group, std::function<Polyhedron()> build, bool convex, bool equal,
                 bool regular) { lib.push_back({std::move(name), std::move(group), std::move(build), convex, equal, regular}); };
  const std::pair<const char*, const char*> platonic[] = {
      {"Tetraeder", "tetrahedron"}, {"Würfel", "cube"}, {"Oktaeder", "octahedron"},
      {"Dodekaeder", "dodecahedron"}, {"Ikosaeder", "icosahedron"}};
  for (const auto& [german, english] : platonic)
    add(german, "Platonischer Körper", [e = std::string(english)] { return PlatonicOrArchimedean(e); }, true, true, true);
  // Each Archimedean solid with its dual Catalan solid.
  const std::tuple<const char*, const char*, const char*> archimedean[] = {
      {"Tetraederstumpf", "Triakistetraeder", "truncated tetrahedron"},
      {"Kuboktaeder", "Rhombendodekaeder", "cuboctahedron"},
      {"Hexaederstumpf", "Pyramidenoktaeder", "truncated cube"},
      {"Oktaederstumpf", "Pyramidenwürfel", "truncated octahedron"},
      {"Rhombenkuboktaeder", "Deltoid-24-Flächner", "rhombicuboctahedron"},
      {"Kuboktaederstumpf", "Hexakisoktaeder", "truncated cuboctahedron"},
      {"Abgeschrägter Würfel", "Pentagonikositetraeder", "snub cube"},
      {"Ikosidodekaeder", "Rhombentriakontaeder", "icosidodecahedron"},
      {"Dodekaederstumpf", "Pyramidenikosaeder", "truncated dodecahedron"},
      {"Ikosaederstumpf", "Pyramidendodekaeder", "truncated icosahedron"},
      {"Rhombenikosidodekaeder", "Deltoid-60-Flächner", "rhombicosidodecahedron"},
      {"Ikosidodekaederstumpf", "Hexakisikosaeder", "truncated icosidodecahedron"},
      {"Abgeschrägtes Dodekaeder", "Pentagon-60-Flächner", "snub dodecahedron"}};
  for (const auto& [german, dual, english] : archimedean)
    add(german, "Archimedischer Körper", [e = std::string(english)] { return PlatonicOrArchimedean(e); }, true, true,
        true);
  for (const auto& [german, dual, english] : archimedean) {
    const bool rhombic = std::string(dual) == "Rhombendodekaeder" || std::string(dual) == "Rhombentriakontaeder";
    add(dual, "Catalanischer Körper", [e = std::string(english)] { return PolarReciprocal(PlatonicOrArchimedean(e)); },
        true, rhombic, false);
  }
  for (int j = 1; j <= 92; ++j)
    add("J" + std::to_string(j) + " " + kJohnsonNames[j - 1], "Johnson-Körper", [j] { return JohnsonSolid(j); }, true,
        true, true);
  const std::pair<const char*, StarSolid> stars[] = {
      {"Kleines Sterndodekaeder", StarSolid::SmallStellatedDodecahedron},
      {"Großes Dodekaeder", StarSolid::GreatDodecahedron},
      {"Großes Sterndodekaeder", StarSolid::GreatStellatedDodecahedron},
      {"Großes Ikosaeder", StarSolid::GreatIcosahedron}};
  for (const auto& [german, star] : stars)
    add(german, "Kepler-Poinsot-Körper", [s = star] { return BuildStar(s); }, false, false, false);
  for (int n = 3; n <= 12; ++n)
    add(SidedWord(n) + "es Prisma", "Prisma", [n] { return Solid(Prism(n)); }, true, true, true);
  for (int n = 3; n <= 12; ++n)
    add(SidedWord(n) + "es Antiprisma", "Antiprisma", [n] { return Solid(Antiprism(n)); }, true, true, true);
  return lib;
}

// Lower case for ASCII and the German letters with umlauts (UTF-8).
std::string Folded(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == 0xC3 && i + 1 < s.size()) {
      const unsigned char d = static_cast<unsigned char>(s[i + 1]);
      out += static_cast<char>(c);
      out += static_cast<char>(d == 0x84 || d == 0x96 || d == 0x9C ? d + 0x20 : d);  // Ä Ö Ü
      ++i;
    } else {
      out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
  }
  return out;
}

}  // namespace

const std::vector<LibraryEntry>& Library() {
  static const std::vector<LibraryEntry> lib = MakeLibrary();
  return lib;
}

const LibraryEntry& LibraryEntryNamed(const std::string& name) {
  for (const LibraryEntry& e : Library())
    if (e.name == name) return e;
  throw std::invalid_argument("no solid named " + name + " in the library");
}

std::vector<int> SearchLibrary(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : Folded(text) + " ") {
    if (c == ' ' || c == '\t') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  std::vector<int> hits;
  const auto& lib = Library();
  for (int i = 0; i < static_cast<int>(lib.size()); ++i) {
    const std::string hay = Folded(lib[i].name + " " + lib[i].group);
    bool all = true;
    for (const std::string& w : words) all = all && hay.find(w) != std::string::npos;
    if (all) hits.push_back(i);
  }
  return hits;
}

Polyhedron BuildLibrarySolid(const LibraryEntry& entry, double longestEdge) {
  Polyhedron p = entry.build();
  const double scale = longestEdge / EdgeLengthRange(p).second;
  const Vec3 c = Centroid(p);
  for (Vec3& v : p.vertices) v = (v - c) * scale;
  return p;
}

}  // namespace didod::solids
