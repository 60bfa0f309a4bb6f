#pragma once
#include <string>
#include <vector>

#include "persistence/catalogue.h"

namespace didod::bench {

// The embedded catalogue's lines, inflated once for all benchmarks of a program.
inline const std::vector<std::string>& CatalogueLines() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> l;
    LoadListFromResource(l, "konetz");
    return l;
  }();
  return lines;
}

}  // namespace didod::bench
