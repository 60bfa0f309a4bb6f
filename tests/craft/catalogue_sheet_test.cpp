#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "craft/catalogue_nets.h"
#include "craft/sheet.h"
#include "craft/sheet_painter.h"
#include "render/recording_canvas.h"

namespace didod::craft {
namespace {

// Whether the interiors of two convex polygons meet (separating axis test).
bool ConvexInteriorsMeet(const std::vector<Vec2>& p, const std::vector<Vec2>& q) {
  for (const auto* poly : {&p, &q}) {
    const size_t n = poly->size();
    for (size_t i = 0; i < n; ++i) {
      const Vec2 e = (*poly)[(i + 1) % n] - (*poly)[i];
      const Vec2 axis{-e.y, e.x};
      double minP = 1e300, maxP = -1e300, minQ = 1e300, maxQ = -1e300;
      for (Vec2 v : p) minP = std::min(minP, Dot(v, axis)), maxP = std::max(maxP, Dot(v, axis));
      for (Vec2 v : q) minQ = std::min(minQ, Dot(v, axis)), maxQ = std::max(maxQ, Dot(v, axis));
      const double slack = 1e-4 * Length(axis);
      if (maxP <= minQ + slack || maxQ <= minP + slack) return false;
    }
  }
  return true;
}

struct Family {
  const char* name;
  double edge;  // mm
};

// Cube, icosahedron, truncated icosahedron, a Johnson solid, a Catalan solid.
const Family kFamilies[] = {{"Würfel", 50.0},
                            {"Ikosaeder", 40.0},
                            {"Ikosaederstumpf", 20.0},
                            {"Johnson Polyeder 37", 25.0},
                            {"Rhombendodekaeder", 35.0}};

class CatalogueSheet : public ::testing::TestWithParam<Family> {};

TEST_P(CatalogueSheet, TrueSizeOneTabPerPairNoOverlapsDashedHinges) {
  const Family family = GetParam();
  const auto net = testing::CatalogueNet(family.name);
  ASSERT_TRUE(net) << family.name << " is not in the catalogue";
  const SheetFolding folding = testing::FoldGenerously(*net);
  ASSERT_TRUE(folding.folds) << family.name << ": " << folding.message;
  // Each edge of the net is a hinge, or one of a glued pair.
  std::set<std::pair<int, int>> seen;
  for (const auto* list : {&folding.hinges, &folding.gluings})
    for (const EdgePair& p : *list)
      for (const SheetEdge& e : {p.a, p.b}) EXPECT_TRUE(seen.insert({e.face, e.corner}).second);
  int edges = 0;
  for (int f = 1; f <= net->FaceCount; ++f) edges += net->FaceSizes[f];
  EXPECT_EQ(static_cast<int>(seen.size()), edges);

  for (TabMode mode : {TabMode::OneSide, TabMode::BothSides}) {
    CraftOptions options;
    options.edgeLength = family.edge;
    options.tabs = mode;
    options.edgeNumbers = true;
    options.title = family.name;
    const CraftSheet sheet = LayoutCraftSheet(*net, folding.hinges, folding.gluings, options);
    const NetSheet& n = sheet.net;

    double longest = 0.0;
    for (const auto& face : n.faces)
      for (size_t k = 0; k < face.size(); ++k) longest = std::max(longest, Distance(face[k], face[(k + 1) % face.size()]));
    EXPECT_NEAR(longest, family.edge, 1e-6);

    std::map<int, int> perPair;
    for (const GlueTab& tab : n.tabs) ++perPair[tab.pair];
    int marked = 0;
    for (int pair = 0; pair < static_cast<int>(folding.gluings.size()); ++pair) {
      const int count = perPair.count(pair) ? perPair[pair] : 0;
      if (count == 0) {
        ++marked;
        EXPECT_NE(std::find(n.untabbed.begin(), n.untabbed.end(), folding.gluings[pair].a), n.untabbed.end());
      }
      EXPECT_LE(count, mode == TabMode::OneSide ? 1 : 2);
    }
    // Left out only where no narrowed tab fits on either edge: rare.
    EXPECT_LE(marked * 10, static_cast<int>(folding.gluings.size())) << family.name;
    if (mode == TabMode::BothSides) EXPECT_GT(n.tabs.size(), folding.gluings.size()) << family.name;

    for (const GlueTab& tab : n.tabs) {
      const std::vector<Vec2> shape(tab.corners.begin(), tab.corners.end());
      for (size_t f = 0; f < n.faces.size(); ++f)
        EXPECT_FALSE(ConvexInteriorsMeet(shape, n.faces[f])) << family.name << ": tab covers face " << f + 1;
      for (const GlueTab& other : n.tabs)
        if (&other != &tab)
          EXPECT_FALSE(ConvexInteriorsMeet(shape, {other.corners.begin(), other.corners.end()}))
              << family.name << ": tabs overlap";
    }

    // On the drawn pages every hinge is one dashed line and nothing else is
    // dashed but the tabs' roots.
    int dashed = 0;
    for (size_t i = 0; i < sheet.pages.size(); ++i) {
      RecordingCanvas canvas;
      DrawCraftPage(canvas, sheet, static_cast<int>(i));
      bool dash = false, fold = false;
      for (const std::string& call : canvas.calls) {
        if (call.rfind("penstyle", 0) == 0) dash = call == "penstyle dash";
        if (call.rfind("group ", 0) == 0) fold = call == std::string("group ") + kFoldGroup;
        if (call.rfind("line ", 0) == 0 && dash && fold) ++dashed;
      }
    }
    if (sheet.pages.size() == 1)
      EXPECT_EQ(dashed, static_cast<int>(folding.hinges.size() + n.tabs.size())) << family.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Families, CatalogueSheet, ::testing::ValuesIn(kFamilies),
                         [](const ::testing::TestParamInfo<Family>& info) { return std::to_string(info.index); });

TEST(CatalogueSheet, LargestNetAsLargeAsFitsAndTiledWhenLarge) {
  const std::string name = testing::LargestCatalogueNet();
  ASSERT_FALSE(name.empty()) << "the catalogue is empty";
  const auto net = testing::CatalogueNet(name);
  const SheetFolding folding = testing::FoldGenerously(*net);
  ASSERT_TRUE(folding.folds) << name << ": " << folding.message;
  CraftOptions options;
  options.title = name;
  const CraftSheet fitted = LayoutCraftSheet(*net, folding.hinges, folding.gluings, options);
  ASSERT_EQ(fitted.pages.size(), 1u);
  EXPECT_LE(fitted.net.bounds.Width(), fitted.pageWidth - 2 * kPageMargin + 1e-6);
  EXPECT_LE(fitted.net.bounds.Height(), fitted.pageHeight - 2 * kPageMargin - kHeaderHeight - kFooterHeight + 1e-6);

  // Twice that size needs several pages, whose own parts hold all of every line.
  options.edgeLength = std::max(kMinEdgeLength, 2.0 * fitted.net.edgeLength);
  const CraftSheet tiled = LayoutCraftSheet(*net, folding.hinges, folding.gluings, options);
  ASSERT_GT(tiled.pages.size(), 1u);
  double whole = 0.0, pieces = 0.0;
  for (const SheetLine& l : tiled.net.lines) {
    whole += Distance(l.a, l.b);
    for (const SheetPage& page : tiled.pages) {
      Vec2 a = l.a, b = l.b;
      if (ClipSegment(a, b, page.own)) pieces += Distance(a, b);
    }
  }
  EXPECT_NEAR(pieces, whole, 1e-6 * whole);
}

}  // namespace
}  // namespace didod::craft
