#pragma once
#include <string>
#include <vector>

#include "craft/sheet.h"
#include "fold/fold.h"
#include "model/construction.h"

namespace didod::craft {

// What the sheet needs of the fold check: whether the net closes into a solid,
// the check's message when it does not, and its hinges and glued pairs with
// their dihedral angles on the solid.
struct SheetFolding {
  bool folds = false;
  std::string message;
  std::vector<EdgePair> hinges;
  std::vector<EdgePair> gluings;
};

SheetFolding SheetFoldingOf(const FoldResult& result);
SheetFolding FoldForSheet(const Construction& construction);

}  // namespace didod::craft
