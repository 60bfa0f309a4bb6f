#pragma once
#include <map>
#include <string>

// Faces by polygon of every solid of the catalogue, as published for the
// solids (t 3, s 4, p 5, h 6, g 7, o 8, d 10 corners).
namespace didod::netgen::testing {

inline std::map<int, int> ParseCounts(const std::string& text) {
  std::map<int, int> counts;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') { ++i; continue; }
    int n = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') n = n * 10 + (text[i++] - '0');
    const char kind = text[i++];
    const int corners = kind == 't' ? 3 : kind == 's' ? 4 : kind == 'p' ? 5 : kind == 'h' ? 6 : kind == 'g' ? 7
                      : kind == 'o' ? 8 : kind == 'd' ? 10 : -1;
    counts[corners] += n;
  }
  return counts;
}

inline const std::map<std::string, std::string>& ExpectedFaces() {
  static const std::map<std::string, std::string> table = {
      {"Johnson Polyeder 12", "6t"}, {"Johnson Polyeder 13", "10t"}, {"Johnson Polyeder 14", "6t 3s"},
      {"Johnson Polyeder 15", "8t 4s"}, {"Johnson Polyeder 16", "10t 5s"}, {"Johnson Polyeder 17", "16t"},
      {"Johnson Polyeder 18", "4t 9s 1h"}, {"Johnson Polyeder 19", "4t 13s 1o"},
      {"Johnson Polyeder 20", "5t 15s 1p 1d"}, {"Johnson Polyeder 21", "10t 10s 6p 1d"},
      {"Johnson Polyeder 22", "16t 3s 1h"}, {"Johnson Polyeder 23", "20t 5s 1o"},
      {"Johnson Polyeder 24", "25t 5s 1p 1d"}, {"Johnson Polyeder 25", "30t 6p 1d"},
      {"Johnson Polyeder 26", "4t 4s"}, {"Johnson Polyeder 27", "8t 6s"}, {"Johnson Polyeder 28", "8t 10s"},
      {"Johnson Polyeder 29", "8t 10s"}, {"Johnson Polyeder 30", "10t 10s 2p"},
      {"Johnson Polyeder 31", "10t 10s 2p"}, {"Johnson Polyeder 32", "15t 5s 7p"},
      {"Johnson Polyeder 33", "15t 5s 7p"}, {"Johnson Polyeder 34", "20t 12p"}, {"Johnson Polyeder 35", "8t 12s"},
      {"Johnson Polyeder 36", "8t 12s"}, {"Johnson Polyeder 37", "8t 18s"}, {"Johnson Polyeder 38", "10t 20s 2p"},
      {"Johnson Polyeder 39", "10t 20s 2p"}, {"Johnson Polyeder 40", "15t 15s 7p"},
      {"Johnson Polyeder 41", "15t 15s 7p"}, {"Johnson Polyeder 42", "20t 10s 12p"},
      {"Johnson Polyeder 43", "20t 10s 12p"}, {"Johnson Polyeder 44", "20t 6s"}, {"Johnson Polyeder 45", "24t 10s"},
      {"Johnson Polyeder 46", "30t 10s 2p"}, {"Johnson Polyeder 47", "35t 5s 7p"},
      {"Johnson Polyeder 48", "40t 12p"}, {"Johnson Polyeder 49", "6t 2s"}, {"Johnson Polyeder 50", "10t 1s"},
      {"Johnson Polyeder 51", "14t"}, {"Johnson Polyeder 52", "4t 4s 2p"}, {"Johnson Polyeder 53", "8t 3s 2p"},
      {"Johnson Polyeder 54", "4t 5s 2h"}, {"Johnson Polyeder 55", "8t 4s 2h"}, {"Johnson Polyeder 56", "8t 4s 2h"},
      {"Johnson Polyeder 57", "12t 3s 2h"}, {"Johnson Polyeder 58", "5t 11p"}, {"Johnson Polyeder 59", "10t 10p"},
      {"Johnson Polyeder 60", "10t 10p"}, {"Johnson Polyeder 61", "15t 9p"}, {"Johnson Polyeder 62", "10t 2p"},
      {"Johnson Polyeder 63", "5t 3p"}, {"Johnson Polyeder 64", "7t 3p"}, {"Johnson Polyeder 65", "8t 3s 3h"},
      {"Johnson Polyeder 66", "12t 5s 5o"}, {"Johnson Polyeder 67", "16t 10s 4o"},
      {"Johnson Polyeder 68", "25t 5s 1p 11d"}, {"Johnson Polyeder 69", "30t 10s 2p 10d"},
      {"Tetraeder", "4t"}, {"Würfel", "6s"}, {"Oktaeder", "8t"}, {"Dodekaeder", "12p"}, {"Ikosaeder", "20t"},
      {"Tetraederstumpf", "4t 4h"}, {"Kuboktaeder", "8t 6s"}, {"Hexaederstumpf", "8t 6o"},
      {"Oktaederstumpf", "6s 8h"}, {"Rhombenkuboktaeder", "8t 18s"}, {"Kuboktaederstumpf", "12s 8h 6o"},
      {"Abgeschrägter Würfel", "32t 6s"}, {"Ikosidodekaeder", "20t 12p"}, {"Dodekaederstumpf", "20t 12d"},
      {"Ikosaederstumpf", "12p 20h"}, {"Rhombenikosidodekaeder", "20t 30s 12p"},
      {"Ikosidodekaederstumpf", "30s 20h 12d"}, {"Abgeschrägtes Dodekaeder", "80t 12p"},
      {"Triakistetraeder", "12t"}, {"Rhombendodekaeder", "12s"}, {"Pyramidenoktaeder", "24t"},
      {"Pyramidenwürfel", "24t"}, {"Deltoid-24-Flächner", "24s"}, {"Hexakisoktaeder", "48t"},
      {"Pentagonikositetraeder", "24p"}, {"Rhombentriakontaeder", "30s"}, {"Pyramidenikosaeder", "60t"},
      {"Pyramidendodekaeder", "60t"}, {"Deltoid-60-Flächner", "60s"}, {"Hexakisikosaeder", "120t"},
      {"Pentagon-60-Flächner", "60p"}, {"Antiprisma 5", "10t 2p"}, {"Antiprisma 6", "12t 2h"},
      {"Fünfseitige Pyramide", "5t 1p"}, {"Sechsseitige Pyramide", "6t 1h"}, {"Vierseitiges Prisma", "6s"},
      {"Fünfseitiges Prisma", "2p 5s"}, {"Pentagrammprisma", "2d 10s"},
      {"Fünfseitiger Pyramidenstumpf", "2p 5s"}, {"Sechsseitiger Pyramidenstumpf", "2h 6s"},
      {"Siebenseitiger Pyramidenstumpf", "2g 7s"}, {"Fünfseitiger Doppelstumpf", "2p 10s"},
      {"Pyramidentetraeder", "12t"}, {"Spikey", "60t"}, {"Sterndodekaeder", "60t"}};
  return table;
}

}  // namespace didod::netgen::testing
