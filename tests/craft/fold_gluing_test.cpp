#include <gtest/gtest.h>

#include <algorithm>

#include "craft/fold_gluing.h"
#include "craft/nets.h"

namespace didod::craft {
namespace {

bool SamePair(const EdgePair& x, const EdgePair& y) {
  return (x.a == y.a && x.b == y.b) || (x.a == y.b && x.b == y.a);
}

TEST(FoldForSheet, CubeCrossGivesTheHingesAndPairsOfTheCube) {
  const Construction cube = testing::CubeCross();
  const SheetFolding folding = FoldForSheet(cube);
  ASSERT_TRUE(folding.folds) << folding.message;
  EXPECT_EQ(folding.hinges.size(), 5u);
  ASSERT_EQ(folding.gluings.size(), 7u);
  for (const EdgePair& expected : testing::CubeCrossGluings())
    EXPECT_TRUE(std::any_of(folding.gluings.begin(), folding.gluings.end(),
                            [&](const EdgePair& g) { return SamePair(g, expected); }))
        << expected.a.face << "/" << expected.a.corner << " - " << expected.b.face << "/" << expected.b.corner;
  for (const EdgePair& expected : testing::HingesOf(cube))
    EXPECT_TRUE(std::any_of(folding.hinges.begin(), folding.hinges.end(),
                            [&](const EdgePair& h) { return SamePair(h, expected); }));
}

TEST(FoldForSheet, AStripOfTwoSquaresDoesNotFoldAndSaysWhy) {
  Construction strip;
  testing::AddSquare(strip, 0, 0);
  testing::AddSquare(strip, 1, 0);
  const SheetFolding folding = FoldForSheet(strip);
  EXPECT_FALSE(folding.folds);
  EXPECT_FALSE(folding.message.empty());
  EXPECT_TRUE(folding.gluings.empty());
}

TEST(FoldForSheet, OnlyVerdictsWithASolidGiveASheet) {
  using Verdict = FoldResult::Verdict;
  FoldResult result;
  result.solids.emplace_back().gluings.push_back({{1, 0}, {2, 0}});
  for (Verdict v : {Verdict::Convex, Verdict::Several, Verdict::NonConvex}) {
    result.verdict = v;
    EXPECT_TRUE(SheetFoldingOf(result).folds);
  }
  for (Verdict v : {Verdict::NotANet, Verdict::DoesNotFold, Verdict::Undecided}) {
    result.verdict = v;
    result.message = "Grund";
    const SheetFolding folding = SheetFoldingOf(result);
    EXPECT_FALSE(folding.folds);
    EXPECT_EQ(folding.message, "Grund");
  }
}

}  // namespace
}  // namespace didod::craft
