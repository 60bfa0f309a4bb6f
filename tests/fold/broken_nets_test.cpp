// Nets that are broken, or whose faces only touch, made here by hand.
#include <gtest/gtest.h>

#include "fold/fold.h"
#include "fold/net_complex.h"
#include "nets.h"

namespace didod {
namespace {

using namespace testnets;

TEST(TouchingNets, FacesThatOnlyTouchAroundAHoleAreCutApart) {
  const Construction c = HoledTricube();
  foldnet::NetComplex net;
  const foldnet::Built asLaid = foldnet::BuildNetComplex(c, 1e-4, net);
  ASSERT_FALSE(asLaid);
  EXPECT_TRUE(asLaid.hole) << asLaid.reason;

  const FoldResult r = FoldNet(c);
  ASSERT_FALSE(r.solids.empty()) << r.message;
  EXPECT_TRUE(r.cutApart);
  EXPECT_EQ(r.message.rfind("Aufgeschnitten, wo Flächen nur aneinanderliegen, ohne verbunden zu sein: ", 0), 0u)
      << r.message;
  // Among the solids is the L of three cubes: an L-shaped prism.
  bool tricube = false;
  for (const FoldedSolid& s : r.solids)
    tricube = tricube || (s.faces == 8 && s.edges == 18 && s.vertices == 12 && !s.convex && std::fabs(s.volume - 3) < 1e-6);
  EXPECT_TRUE(tricube) << r.message;

  // Without join lines nothing tells which contact to cut: the hole stands.
  Construction unjoined = c;
  unjoined.JoinList.clear();
  const FoldResult refused = FoldNet(unjoined);
  EXPECT_EQ(refused.verdict, FoldResult::Verdict::NotANet);
  EXPECT_EQ(refused.message, "Das ist kein Netz: " + asLaid.reason);
  EXPECT_TRUE(refused.solids.empty());
}

}  // namespace
}  // namespace didod
