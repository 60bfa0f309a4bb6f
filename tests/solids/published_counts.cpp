#include "published_counts.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace didod::solids::testing {

std::map<int, int> ParseFaces(const std::string& text) {
  std::map<int, int> counts;
  int depth = 0;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (depth > 0 || c < '0' || c > '9' || (i > 0 && text[i - 1] != ' ')) { ++i; continue; }
    int n = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') n = n * 10 + (text[i++] - '0');
    if (i >= text.size()) break;
    const std::string kinds = "tsphgod";
    const int corners[] = {3, 4, 5, 6, 7, 8, 10};
    const auto k = kinds.find(text[i]);
    if (k != std::string::npos && (i + 1 == text.size() || text[i + 1] == ' ')) counts[corners[k]] += n;
  }
  return counts;
}

namespace {

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  std::string cell;
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] == '|') {
      const auto a = cell.find_first_not_of(' '), b = cell.find_last_not_of(' ');
      cells.push_back(a == std::string::npos ? "" : cell.substr(a, b - a + 1));
      cell.clear();
    } else {
      cell += line[i];
    }
  }
  return cells;
}

std::map<std::string, Counts> Read() {
  std::map<std::string, Counts> counts;
  std::ifstream in(std::string(DIDOD_SOURCE_DIR) + "/tests/solids/published_counts.md");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] != '|') continue;
    const std::vector<std::string> cells = Cells(line);
    if (cells.size() == 6 && !cells[0].empty() && cells[0][0] >= '0' && cells[0][0] <= '9') {
      Counts c;
      c.vertices = std::stoi(cells[2]);
      c.edges = std::stoi(cells[3]);
      c.faces = ParseFaces(cells[5]);
      counts["J" + cells[0]] = c;
    } else if (cells.size() == 2 && cells[0] != "Name" && cells[0].find("---") == std::string::npos) {
      counts[cells[0]].faces = ParseFaces(cells[1]);
    }
  }
  return counts;
}

}  // namespace

const std::map<std::string, Counts>& PublishedCounts() {
  static const std::map<std::string, Counts> counts = Read();
  return counts;
}

}  // namespace didod::solids::testing
