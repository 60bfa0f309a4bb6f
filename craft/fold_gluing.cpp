#include "craft/fold_gluing.h"

namespace didod::craft {

SheetFolding SheetFoldingOf(const FoldResult& result) {
  SheetFolding folding;
  using Verdict = FoldResult::Verdict;
  folding.folds = (result.verdict == Verdict::Convex || result.verdict == Verdict::Several ||
                   result.verdict == Verdict::NonConvex) &&
                  !result.solids.empty() && !result.solids.front().gluings.empty();
  folding.message = result.message;
  if (!folding.folds && folding.message.empty()) folding.message = "Das Netz lässt sich nicht zu einem Körper falten.";
  auto edge = [](const EdgeRef& e) { return SheetEdge{e.face, e.corner}; };
  if (result.solids.empty()) return folding;
  const FoldedSolid& solid = result.solids.front();  // the best solid found
  for (const Hinge& h : solid.hinges) folding.hinges.push_back({edge(h.a), edge(h.b), h.dihedral});
  for (size_t i = 0; i < solid.gluings.size(); ++i) {
    const EdgeGluing& g = solid.gluings[i];
    const double dihedral = i < solid.gluingDihedral.size() ? solid.gluingDihedral[i] : kFlatAngle;
    folding.gluings.push_back({edge(g.a), edge(g.b), dihedral});
  }
  return folding;
}

SheetFolding FoldForSheet(const Construction& construction) { return SheetFoldingOf(FoldNet(construction)); }

}  // namespace didod::craft
