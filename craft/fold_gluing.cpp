#include "craft/fold_gluing.h"

namespace didod::craft {

SheetFolding SheetFoldingOf(const FoldResult& result) {
  SheetFolding folding;
  using Verdict = FoldResult::Verdict;
  folding.folds = (result.verdict == Verdict::Convex || result.verdict == Verdict::Several ||
                   result.verdict == Verdict::NonConvex) &&
                  !result.gluings.empty();
  folding.message = result.message;
  if (!folding.folds && folding.message.empty()) folding.message = "Das Netz lässt sich nicht zu einem Körper falten.";
  auto edge = [](const EdgeRef& e) { return SheetEdge{e.face, e.corner}; };
  for (const Hinge& h : result.hinges) folding.hinges.push_back({edge(h.a), edge(h.b), h.dihedral});
  for (size_t i = 0; i < result.gluings.size(); ++i) {
    const EdgeGluing& g = result.gluings[i];
    const double dihedral = i < result.gluingDihedral.size() ? result.gluingDihedral[i] : kFlatAngle;
    folding.gluings.push_back({edge(g.a), edge(g.b), dihedral});
  }
  return folding;
}

SheetFolding FoldForSheet(const Construction& construction) { return SheetFoldingOf(FoldNet(construction)); }

}  // namespace didod::craft
