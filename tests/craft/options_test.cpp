// The sheet's choices: fold directions from the solid, printing on the inside,
// where the tabs go, face colours and numbers, the legend, and tabs that start
// further along their edge in a narrow corner.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "craft/nets.h"
#include "craft/sheet.h"
#include "craft/sheet_painter.h"
#include "render/recording_canvas.h"

namespace didod::craft {
namespace {

using testing::AddFace;
using testing::CubeCross;
using testing::CubeCrossGluings;
using testing::HingesOf;

constexpr double kConvex = M_PI / 2.0;
constexpr double kReflex = 3.0 * M_PI / 2.0;

// The kind of the sheet line between the two points, or nothing.
std::optional<LineKind> KindBetween(const NetSheet& net, Vec2 a, Vec2 b) {
  for (const SheetLine& l : net.lines)
    if ((Distance(l.a, a) < 1e-9 && Distance(l.b, b) < 1e-9) || (Distance(l.a, b) < 1e-9 && Distance(l.b, a) < 1e-9))
      return l.kind;
  return std::nullopt;
}

Vec2 EdgeEnd(const NetSheet& net, SheetEdge e, int plus) { return Corner(net.faces[e.face - 1], e.corner + plus); }

std::vector<std::string> Texts(const RecordingCanvas& canvas) {
  std::vector<std::string> texts;
  for (const std::string& call : canvas.calls)
    if (call.rfind("text ", 0) == 0) texts.push_back(call.substr(call.find(' ', 5) + 1));
  return texts;
}

TEST(CraftOptions, FoldsAreMountainOrValleyBySolidAndSwapWhenPrintedInside) {
  const Construction cube = CubeCross();
  std::vector<EdgePair> hinges = HingesOf(cube);
  std::vector<EdgePair> gluings = CubeCrossGluings();
  for (EdgePair& h : hinges) h.dihedral = kConvex;
  for (EdgePair& g : gluings) g.dihedral = kConvex;
  hinges[1].dihedral = kReflex;
  gluings[2].dihedral = kReflex;
  for (bool inside : {false, true}) {
    SCOPED_TRACE(inside ? "printed inside" : "printed outside");
    CraftOptions options;
    options.edgeLength = 30.0;
    options.printInside = inside;
    const CraftSheet sheet = LayoutCraftSheet(cube, hinges, gluings, options);
    const NetSheet& net = sheet.net;
    const LineKind convex = inside ? LineKind::Valley : LineKind::Mountain;
    const LineKind reflex = inside ? LineKind::Mountain : LineKind::Valley;
    for (size_t i = 0; i < hinges.size(); ++i)
      EXPECT_EQ(KindBetween(net, EdgeEnd(net, hinges[i].a, 0), EdgeEnd(net, hinges[i].a, 1)),
                i == 1 ? reflex : convex)
          << "hinge " << i;
    ASSERT_EQ(net.tabs.size(), gluings.size());
    for (const GlueTab& tab : net.tabs)
      EXPECT_EQ(KindBetween(net, tab.corners[0], tab.corners[1]), tab.pair == 2 ? reflex : convex) << tab.pair;

    // Drawn: the valleys dash-dotted in the fold layer, the mountains dashed.
    RecordingCanvas canvas;
    DrawCraftPage(canvas, sheet, 0);
    std::map<std::string, int> foldLines;
    std::string style, group;
    for (const std::string& call : canvas.calls) {
      if (call.rfind("penstyle ", 0) == 0) style = call.substr(9);
      if (call.rfind("group ", 0) == 0) group = call.substr(6);
      if (call.rfind("line ", 0) == 0 && group == kFoldGroup) ++foldLines[style];
    }
    EXPECT_EQ(foldLines[inside ? "dash" : "dashdot"], 2);
    EXPECT_EQ(foldLines[inside ? "dashdot" : "dash"], static_cast<int>(hinges.size() + gluings.size()) - 2);
  }
}

TEST(CraftOptions, PrintingInsideMirrorsTheWholeNetButNotItsNumbers) {
  const Construction cube = CubeCross();
  CraftOptions options;
  options.edgeLength = 30.0;
  options.edgeNumbers = true;
  const CraftSheet outside = LayoutCraftSheet(cube, HingesOf(cube), CubeCrossGluings(), options);
  options.printInside = true;
  const CraftSheet inside = LayoutCraftSheet(cube, HingesOf(cube), CubeCrossGluings(), options);
  ASSERT_EQ(inside.net.faces.size(), outside.net.faces.size());
  // Every face turns the other way round; shapes, tabs and numbers stay.
  for (size_t f = 0; f < inside.net.faces.size(); ++f) {
    EXPECT_NEAR(SignedArea(inside.net.faces[f]), -SignedArea(outside.net.faces[f]), 1e-6);
    for (int k = 0; k < 4; ++k)
      EXPECT_NEAR(Distance(Corner(inside.net.faces[f], k), Corner(inside.net.faces[f], k + 1)), 30.0, 1e-9);
  }
  EXPECT_EQ(inside.net.tabs.size(), outside.net.tabs.size());
  EXPECT_EQ(inside.net.labels.size(), outside.net.labels.size());
  // The mirror image is told by the turn from the middle face 3 to face 2 and
  // on to face 1, which no rotation of the sheet changes.
  auto centre = [](const std::vector<Vec2>& face) {
    Vec2 c{0, 0};
    for (Vec2 p : face) c = c + 0.25 * p;
    return c;
  };
  auto turn = [&](const NetSheet& net) {
    return Cross(centre(net.faces[1]) - centre(net.faces[2]), centre(net.faces[0]) - centre(net.faces[2]));
  };
  EXPECT_LT(turn(inside.net) * turn(outside.net), 0.0);
}

// Three squares in a row above three lower rectangles, each square's bottom
// glued to the top of the rectangle below it: one seam of three pairs. The
// rectangles are the smaller faces.
struct Zip {
  Construction net;
  std::vector<EdgePair> hinges;
  std::vector<EdgePair> gluings;
};

Zip ZipNet() {
  Zip z;
  for (int i = 0; i < 3; ++i) testing::AddSquare(z.net, i, 0);
  for (int i = 0; i < 3; ++i) AddFace(z.net, {{i + 0.0, -1.5}, {i + 1.0, -1.5}, {i + 1.0, -1.0}, {i + 0.0, -1.0}});
  z.hinges = HingesOf(z.net);
  for (int i = 0; i < 3; ++i) z.gluings.push_back({{1 + i, 0}, {4 + i, 2}, kConvex});
  return z;
}

TEST(CraftOptions, TabsGoOnTheSmallerOrLargerFaceOrAlternateAlongTheSeam) {
  const Zip zip = ZipNet();
  auto faceOfTab = [&](TabSide side) {
    CraftOptions options;
    options.edgeLength = 20.0;
    options.tabSide = side;
    const CraftSheet sheet = LayoutCraftSheet(zip.net, zip.hinges, zip.gluings, options);
    std::map<int, int> face;
    for (const GlueTab& tab : sheet.net.tabs) face[tab.pair] = tab.edge.face;
    EXPECT_EQ(face.size(), 3u);
    EXPECT_TRUE(sheet.net.untabbed.empty());
    return face;
  };
  const auto smaller = faceOfTab(TabSide::SmallerFace);
  const auto larger = faceOfTab(TabSide::LargerFace);
  const auto alternating = faceOfTab(TabSide::Alternating);
  for (int pair = 0; pair < 3; ++pair) {
    EXPECT_EQ(smaller.at(pair), 4 + pair) << "pair " << pair;  // the rectangle
    EXPECT_EQ(larger.at(pair), 1 + pair) << "pair " << pair;   // the square
  }
  // Square, rectangle, square along the seam.
  EXPECT_EQ(alternating.at(0), 1);
  EXPECT_EQ(alternating.at(1), 5);
  EXPECT_EQ(alternating.at(2), 3);
}

TEST(CraftOptions, ChosenEdgeWithoutRoomHandsTheTabToItsPartner) {
  // Two squares with a rectangle 1 mm below each; each square's bottom is glued
  // to its rectangle's bottom. The larger faces, the squares, have no room for
  // a tab there, so the rectangles take them.
  Construction c;
  for (int i = 0; i < 2; ++i) testing::AddSquare(c, i, 0);
  for (int i = 0; i < 2; ++i) AddFace(c, {{i + 0.0, -0.55}, {i + 1.0, -0.55}, {i + 1.0, -0.05}, {i + 0.0, -0.05}});
  const std::vector<EdgePair> gluings = {{{1, 0}, {3, 0}, kConvex}, {{2, 0}, {4, 0}, kConvex}};
  CraftOptions options;
  options.edgeLength = 20.0;
  options.tabSide = TabSide::LargerFace;
  const CraftSheet sheet = LayoutCraftSheet(c, HingesOf(c), gluings, options);
  ASSERT_EQ(sheet.net.tabs.size(), 2u);
  for (const GlueTab& tab : sheet.net.tabs) EXPECT_GE(tab.edge.face, 3) << "pair " << tab.pair;
}

TEST(CraftOptions, FacesColouredByKindAndNumberedOnlyWhenAsked) {
  // A square with a triangle on each side of it and one square more.
  Construction c;
  testing::AddSquare(c, 0, 0);
  const double h = std::sqrt(3.0) / 2.0;
  AddFace(c, {{0, 0}, {0.5, -h}, {1, 0}});
  AddFace(c, {{1, 1}, {0.5, 1 + h}, {0, 1}});
  testing::AddSquare(c, 1, 0);
  CraftOptions options;
  options.edgeLength = 30.0;
  auto draw = [&](const CraftSheet& sheet) {
    RecordingCanvas canvas;
    DrawCraftPage(canvas, sheet, 0);
    return canvas;
  };
  const CraftSheet plain = LayoutCraftSheet(c, HingesOf(c), {}, options);
  const RecordingCanvas plainCanvas = draw(plain);
  EXPECT_EQ(std::count(plainCanvas.calls.begin(), plainCanvas.calls.end(), std::string("group ") + kColourGroup), 0);
  EXPECT_TRUE(plain.net.faceLabels.empty());

  options.faceColours = true;
  options.faceNumbers = true;
  const CraftSheet coloured = LayoutCraftSheet(c, HingesOf(c), {}, options);
  EXPECT_EQ(coloured.net.faceKinds, (std::vector<int>{0, 1, 1, 0}));
  const RecordingCanvas canvas = draw(coloured);
  std::vector<std::string> brushes;
  bool inColour = false;
  for (const std::string& call : canvas.calls) {
    if (call.rfind("group ", 0) == 0) inColour = call == std::string("group ") + kColourGroup;
    if (inColour && call.rfind("brush #", 0) == 0) brushes.push_back(call);
    if (inColour && call.rfind("polygon", 0) == 0) EXPECT_FALSE(brushes.empty());
  }
  ASSERT_EQ(brushes.size(), 4u);
  EXPECT_EQ(brushes[0], brushes[3]);
  EXPECT_EQ(brushes[1], brushes[2]);
  EXPECT_NE(brushes[0], brushes[1]);
  // Light: at least 200 of 255 in brightness, so black lines and numbers stay clear.
  for (const std::string& b : brushes) {
    auto part = [&](int i) { return std::stoi(b.substr(7 + 2 * i, 2), nullptr, 16); };
    EXPECT_GE(0.299 * part(0) + 0.587 * part(1) + 0.114 * part(2), 200.0) << b;
  }

  // One number per face, inside it.
  ASSERT_EQ(coloured.net.faceLabels.size(), 4u);
  for (size_t f = 0; f < 4; ++f) {
    const SheetText& label = coloured.net.faceLabels[f];
    EXPECT_EQ(label.text, std::to_string(f + 1));
    const auto& face = coloured.net.faces[f];
    EXPECT_GT(label.height, 0.0);
    for (size_t k = 0; k < face.size(); ++k)
      EXPECT_GT(Cross(face[(k + 1) % face.size()] - face[k], label.centre - face[k]) * SignedArea(face), 0.0);
  }
  const auto texts = Texts(canvas);
  for (const char* n : {"1", "2", "3", "4"}) EXPECT_NE(std::find(texts.begin(), texts.end(), n), texts.end()) << n;
}

TEST(CraftOptions, LegendOnTheFirstPageOnlyInTheFooter) {
  const Construction cube = CubeCross();
  CraftOptions options;
  options.edgeLength = 150.0;  // several pages
  const CraftSheet sheet = LayoutCraftSheet(cube, HingesOf(cube), CubeCrossGluings(), options);
  ASSERT_GT(sheet.pages.size(), 1u);
  const std::vector<std::string> legend = {"Schnittlinie", "Bergfalte", "Talfalte", "Klebelasche", "Kantennummer",
                                           "Kante ohne Lasche: auf die Lasche der Partnerkante kleben"};
  for (size_t i = 0; i < 2; ++i) {
    RecordingCanvas canvas;
    DrawCraftPage(canvas, sheet, static_cast<int>(i));
    const auto texts = Texts(canvas);
    for (const std::string& name : legend)
      EXPECT_EQ(std::count(texts.begin(), texts.end(), name), i == 0 ? 1 : 0) << name << " on page " << i + 1;
    // Everything of the legend lies in the footer, right of the scale bar and
    // inside the margins.
    double footerTop = (sheet.pageHeight - kPageMargin - kFooterHeight) * kUnitsPerMm;
    int inFooter = 0;
    for (const std::string& call : canvas.calls) {
      double x, y;
      if (std::sscanf(call.c_str(), "text %lf,%lf", &x, &y) != 2) continue;
      const std::string text = call.substr(call.find(' ', 5) + 1);
      if (std::find(legend.begin(), legend.end(), text) == legend.end()) continue;
      ++inFooter;
      EXPECT_GE(y, footerTop);
      EXPECT_LE(y, (sheet.pageHeight - kPageMargin) * kUnitsPerMm);
      EXPECT_GE(x, kLegendLeft * kUnitsPerMm - 1);
      EXPECT_LE(x + 0.6 * 2.0 * kUnitsPerMm * static_cast<double>(text.size()),
                (sheet.pageWidth - kPageMargin) * kUnitsPerMm);
    }
    EXPECT_EQ(inFooter, i == 0 ? 6 : 0);
  }
}

TEST(CraftOptions, TabInANarrowCornerStartsFurtherAlongAndKeepsClear) {
  // Two triangles meeting at the origin with 15° of paper between them; the
  // edges on either side of that wedge are glued to each other.
  Construction c;
  const double h = std::sqrt(3.0) / 2.0;
  AddFace(c, {{0, 0}, {0.5, -h}, {1, 0}});
  const double a = 15.0 * M_PI / 180.0;
  AddFace(c, {{0, 0}, {std::cos(a), std::sin(a)}, {std::cos(a + M_PI / 3), std::sin(a + M_PI / 3)}});
  const std::vector<EdgePair> gluings = {{{1, 2}, {2, 0}, kConvex}};
  CraftOptions options;
  options.edgeLength = 40.0;
  const CraftSheet sheet = LayoutCraftSheet(c, {}, gluings, options);
  ASSERT_EQ(sheet.net.tabs.size(), 1u);
  EXPECT_TRUE(sheet.net.untabbed.empty());
  const GlueTab& tab = sheet.net.tabs[0];
  const NetSheet& net = sheet.net;
  const Vec2 tip = Corner(net.faces[0], 0);  // the wedge's tip, shared by both faces
  // The root starts away from the tip; the stretch before it is cut.
  const Vec2 near = Distance(tab.corners[0], tip) < Distance(tab.corners[1], tip) ? tab.corners[0] : tab.corners[1];
  EXPECT_GT(Distance(near, tip), 5.0);
  EXPECT_EQ(KindBetween(net, tip, near), LineKind::Cut);
  EXPECT_GE(tab.height, kMinTabHeight);
  // Every corner of the tab keeps the clearance from the other face's edges.
  const SheetEdge other = tab.edge.face == 1 ? SheetEdge{2, 0} : SheetEdge{1, 2};
  const auto& face = net.faces[other.face - 1];
  for (int k = 0; k < 3; ++k)
    for (int corner = 0; corner < 4; ++corner)
      EXPECT_GE(PointSegmentDistance(tab.corners[corner], Corner(face, k), Corner(face, k + 1)),
                kTabClearance - 1e-9);
}

}  // namespace
}  // namespace didod::craft
