#pragma once
// Nets of the built-in catalogue, folded with a generous time budget, for the
// sheet tests.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "craft/fold_gluing.h"
#include "persistence/catalogue.h"

namespace didod::craft::testing {

inline const std::vector<std::string>& CatalogueLines() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> l;
    LoadListFromResource(l, "konetz");
    return l;
  }();
  return lines;
}

inline std::optional<Construction> CatalogueNet(const std::string& name) {
  return ReadCatalogueNet(CatalogueLines(), name, ViewCentre{400, 300});
}

// The catalogue net with the most points.
inline std::string LargestCatalogueNet() {
  std::string largest;
  int most = 0;
  for (const std::string& name : CatalogueNames(CatalogueLines())) {
    const auto net = CatalogueNet(name);
    if (net && net->PointCount > most) {
      most = net->PointCount;
      largest = name;
    }
  }
  return largest;
}

inline SheetFolding FoldGenerously(const Construction& c) {
  FoldOptions options;
  options.timeBudgetSeconds = 60.0;
  return SheetFoldingOf(FoldNet(c, options));
}

}  // namespace didod::craft::testing
