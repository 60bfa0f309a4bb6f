#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "craft/nets.h"
#include "craft/sheet.h"
#include "craft/sheet_painter.h"
#include "render/recording_canvas.h"

namespace didod::craft {
namespace {

using testing::AddFace;
using testing::AddSquare;
using testing::CubeCross;
using testing::CubeCrossGluings;
using testing::HingesOf;

// Whether the interiors of two convex polygons meet: they do unless some edge
// direction of either separates them (separating axis test).
bool ConvexInteriorsMeet(const std::vector<Vec2>& p, const std::vector<Vec2>& q) {
  const double eps = 1e-6;
  for (const auto* poly : {&p, &q}) {
    const size_t n = poly->size();
    for (size_t i = 0; i < n; ++i) {
      const Vec2 e = (*poly)[(i + 1) % n] - (*poly)[i];
      const Vec2 axis{-e.y, e.x};
      double minP = 1e300, maxP = -1e300, minQ = 1e300, maxQ = -1e300;
      for (Vec2 v : p) minP = std::min(minP, Dot(v, axis)), maxP = std::max(maxP, Dot(v, axis));
      for (Vec2 v : q) minQ = std::min(minQ, Dot(v, axis)), maxQ = std::max(maxQ, Dot(v, axis));
      const double scale = Length(axis);
      if (maxP <= minQ + eps * scale || maxQ <= minP + eps * scale) return false;
    }
  }
  return true;
}

std::vector<Vec2> Shape(const GlueTab& tab) { return {tab.corners.begin(), tab.corners.end()}; }

void ExpectNoTabOverlaps(const NetSheet& net) {
  for (const GlueTab& tab : net.tabs) {
    for (size_t f = 0; f < net.faces.size(); ++f)
      EXPECT_FALSE(ConvexInteriorsMeet(Shape(tab), net.faces[f]))
          << "tab on face " << tab.edge.face << " edge " << tab.edge.corner << " covers face " << f + 1;
    for (const GlueTab& other : net.tabs)
      if (&other != &tab)
        EXPECT_FALSE(ConvexInteriorsMeet(Shape(tab), Shape(other)))
            << "tabs on " << tab.edge.face << "/" << tab.edge.corner << " and " << other.edge.face << "/"
            << other.edge.corner << " overlap";
  }
}

std::map<int, int> TabsPerPair(const NetSheet& net) {
  std::map<int, int> count;
  for (const GlueTab& tab : net.tabs) ++count[tab.pair];
  return count;
}

// A line as the recording canvas lists it, with the pen it was drawn with.
struct DrawnLine {
  Vec2 a, b;
  std::string style;
  double width = 0.0;
  std::string group;
  bool OfNet() const { return group == kCutGroup || group == kFoldGroup; }
};

std::vector<DrawnLine> DrawnLines(const RecordingCanvas& canvas) {
  std::vector<DrawnLine> lines;
  std::string style = "penstyle solid";
  std::string group;
  double width = 0.0;
  for (const std::string& call : canvas.calls) {
    if (call.rfind("penstyle", 0) == 0) style = call;
    if (call.rfind("penwidth ", 0) == 0) width = std::stod(call.substr(9));
    if (call.rfind("group ", 0) == 0) group = call.substr(6);
    if (call == "endgroup") group.clear();
    DrawnLine line;
    if (std::sscanf(call.c_str(), "line %lf,%lf %lf,%lf", &line.a.x, &line.a.y, &line.b.x, &line.b.y) == 4) {
      line.style = style;
      line.width = width;
      line.group = group;
      lines.push_back(line);
    }
  }
  return lines;
}

// Whether a line between the two points (in canvas units) was drawn with the style.
bool Drawn(const std::vector<DrawnLine>& lines, Vec2 a, Vec2 b, const std::string& style) {
  for (const DrawnLine& l : lines) {
    const bool same = (Distance(l.a, a) < 0.05 && Distance(l.b, b) < 0.05) ||
                      (Distance(l.a, b) < 0.05 && Distance(l.b, a) < 0.05);
    if (same && l.style == style) return true;
  }
  return false;
}

Vec2 OnPage(const CraftSheet& sheet, int page, Vec2 p) {
  const SheetPage& pg = sheet.pages[page];
  return kUnitsPerMm * (pg.origin + (p - Vec2{pg.window.left, pg.window.top}));
}

TEST(CraftSheet, CubeAtChosenEdgeLengthHasOneTabPerPairAndTrueSize) {
  const Construction cube = CubeCross();
  CraftOptions options;
  options.edgeLength = 40.0;
  const CraftSheet sheet = LayoutCraftSheet(cube, HingesOf(cube), CubeCrossGluings(), options);
  ASSERT_EQ(sheet.pages.size(), 1u);
  EXPECT_EQ(sheet.title, "Netz");
  EXPECT_DOUBLE_EQ(sheet.pageWidth, 210.0);
  EXPECT_DOUBLE_EQ(sheet.pageHeight, 297.0);
  for (const auto& face : sheet.net.faces)
    for (size_t k = 0; k < face.size(); ++k) EXPECT_NEAR(Distance(face[k], face[(k + 1) % 4]), 40.0, 1e-9);

  const auto perPair = TabsPerPair(sheet.net);
  EXPECT_EQ(perPair.size(), 7u);
  for (const auto& [pair, count] : perPair) EXPECT_EQ(count, 1) << "pair " << pair;
  EXPECT_TRUE(sheet.net.untabbed.empty());
  ExpectNoTabOverlaps(sheet.net);
  for (const GlueTab& tab : sheet.net.tabs) EXPECT_NEAR(tab.height, kMaxTabHeight, 1e-9);

  // Everything lies inside the page's room for the net.
  const Box& b = sheet.net.bounds;
  const SheetPage& page = sheet.pages[0];
  EXPECT_GE(page.origin.x, kPageMargin - 1e-9);
  EXPECT_LE(page.origin.x + b.Width(), sheet.pageWidth - kPageMargin + 1e-9);
  EXPECT_GE(page.origin.y, kPageMargin + kHeaderHeight - 1e-9);
  EXPECT_LE(page.origin.y + b.Height(), sheet.pageHeight - kPageMargin - kFooterHeight + 1e-9);
}

TEST(CraftSheet, BothSidesGivesTwoTabsPerPairAndNoneGivesNone) {
  const Construction cube = CubeCross();
  CraftOptions options;
  options.edgeLength = 30.0;
  options.tabs = TabMode::BothSides;
  const CraftSheet both = LayoutCraftSheet(cube, HingesOf(cube), CubeCrossGluings(), options);
  const auto perPair = TabsPerPair(both.net);
  EXPECT_EQ(perPair.size(), 7u);
  for (const auto& [pair, count] : perPair) EXPECT_EQ(count, 2) << "pair " << pair;
  ExpectNoTabOverlaps(both.net);

  options.tabs = TabMode::None;
  const CraftSheet none = LayoutCraftSheet(cube, HingesOf(cube), CubeCrossGluings(), options);
  EXPECT_TRUE(none.net.tabs.empty());
  EXPECT_TRUE(none.net.marks.empty());
  // 5 hinges folded, the 14 free edges cut.
  int cuts = 0, folds = 0;
  for (const SheetLine& line : none.net.lines) (line.kind == LineKind::Cut ? cuts : folds)++;
  EXPECT_EQ(folds, 5);
  EXPECT_EQ(cuts, 14);
}

TEST(CraftSheet, HingesAndTabRootsAreDashedAndCutLinesSolid) {
  const Construction cube = CubeCross();
  const auto hinges = HingesOf(cube);
  CraftOptions options;
  options.edgeLength = 35.0;
  options.edgeNumbers = true;
  const CraftSheet sheet = LayoutCraftSheet(cube, hinges, CubeCrossGluings(), options);
  RecordingCanvas canvas;
  DrawCraftPage(canvas, sheet, 0);
  const auto lines = DrawnLines(canvas);
  const auto& faces = sheet.net.faces;
  auto corner = [&](SheetEdge e, int d) { return faces[e.face - 1][(e.corner + d) % faces[e.face - 1].size()]; };
  for (const EdgePair& h : hinges)
    EXPECT_TRUE(Drawn(lines, OnPage(sheet, 0, corner(h.a, 0)), OnPage(sheet, 0, corner(h.a, 1)), "penstyle dash"))
        << "hinge " << h.a.face << "/" << h.a.corner;
  for (const GlueTab& tab : sheet.net.tabs) {
    const auto& t = tab.corners;
    EXPECT_TRUE(Drawn(lines, OnPage(sheet, 0, t[0]), OnPage(sheet, 0, t[1]), "penstyle dash"));
    EXPECT_TRUE(Drawn(lines, OnPage(sheet, 0, t[1]), OnPage(sheet, 0, t[2]), "penstyle solid"));
    EXPECT_TRUE(Drawn(lines, OnPage(sheet, 0, t[2]), OnPage(sheet, 0, t[3]), "penstyle solid"));
    EXPECT_TRUE(Drawn(lines, OnPage(sheet, 0, t[3]), OnPage(sheet, 0, t[0]), "penstyle solid"));
  }
  // The partner edges of the tabbed ones are cut, solid.
  for (const EdgePair& g : CubeCrossGluings()) {
    SheetEdge bare = g.b;
    for (const GlueTab& tab : sheet.net.tabs)
      if (tab.edge == g.b) bare = g.a;
    EXPECT_TRUE(Drawn(lines, OnPage(sheet, 0, corner(bare, 0)), OnPage(sheet, 0, corner(bare, 1)), "penstyle solid"));
  }
  // One dashed line per hinge and per tab root, nothing else of the net dashed.
  int dashed = 0;
  for (const DrawnLine& l : lines) dashed += l.OfNet() && l.style != "penstyle solid";
  EXPECT_EQ(dashed, static_cast<int>(hinges.size() + sheet.net.tabs.size()));
  // Edge numbers: each of the 7 pairs twice.
  std::map<std::string, int> numbers;
  for (const SheetText& label : sheet.net.labels) ++numbers[label.text];
  EXPECT_EQ(numbers.size(), 7u);
  for (const auto& [text, count] : numbers) EXPECT_EQ(count, 2) << text;
}

TEST(CraftSheet, ScaleBarIsTenCentimetresAndTitleShown) {
  const Construction cube = CubeCross();
  CraftOptions options;
  options.title = "Würfel";
  options.paper = Paper::Letter;
  const CraftSheet sheet = LayoutCraftSheet(cube, HingesOf(cube), CubeCrossGluings(), options);
  RecordingCanvas canvas;
  DrawCraftPage(canvas, sheet, 0);
  bool bar = false;
  for (const DrawnLine& l : DrawnLines(canvas))
    if (l.a.y == l.b.y && std::fabs(std::fabs(l.b.x - l.a.x) - 1000.0) < 1e-9) bar = true;
  EXPECT_TRUE(bar) << "no horizontal line of 100 mm";
  EXPECT_NE(std::find_if(canvas.calls.begin(), canvas.calls.end(),
                         [](const std::string& s) { return s.find("text") == 0 && s.find(" Würfel") != std::string::npos; }),
            canvas.calls.end());
  EXPECT_NE(std::find_if(canvas.calls.begin(), canvas.calls.end(),
                         [](const std::string& s) { return s.find("text") == 0 && s.find(" 10 cm") != std::string::npos; }),
            canvas.calls.end());
}

TEST(CraftSheet, AsLargeAsFitsFillsThePageWithoutSpilling) {
  const Construction cube = CubeCross();
  for (Paper paper : {Paper::A4, Paper::A3, Paper::Letter}) {
    CraftOptions options;
    options.paper = paper;
    const CraftSheet sheet = LayoutCraftSheet(cube, HingesOf(cube), CubeCrossGluings(), options);
    ASSERT_EQ(sheet.pages.size(), 1u);
    const PaperSize size = PaperSizeOf(paper);
    const double roomW = sheet.pageWidth - 2 * kPageMargin;
    const double roomH = sheet.pageHeight - 2 * kPageMargin - kHeaderHeight - kFooterHeight;
    const double w = sheet.net.bounds.Width(), h = sheet.net.bounds.Height();
    EXPECT_LE(w, roomW + 1e-6);
    EXPECT_LE(h, roomH + 1e-6);
    // A 4 x 3 cross plus tabs: the net fills one side of the room within a few percent.
    EXPECT_GT(std::max(w / roomW, h / roomH), 0.97);
    // The long cross lies along the long side of the page, turned or not.
    EXPECT_EQ(w > h, sheet.pageWidth > sheet.pageHeight) << "paper " << size.width;
    EXPECT_GT(sheet.net.edgeLength, 40.0);
    ExpectNoTabOverlaps(sheet.net);
  }
}

TEST(CraftSheet, BlockedTabMovesToPartnerNarrowsOrIsLeftOutAndMarked) {
  // Two squares 0.15 units apart (3 mm at 20 mm per unit), nothing hinged.
  Construction c;
  AddSquare(c, 0, 0);
  AddSquare(c, 1.15, 0);
  // 1: facing edges, room only for a narrow tab. 2: bottom edges, free.
  // 3: the right square's left edge is blocked, its partner (right edge) is free.
  const std::vector<EdgePair> gluings = {{{1, 1}, {2, 3}}, {{1, 0}, {2, 0}}, {{2, 3}, {2, 1}}};
  CraftOptions options;
  options.edgeLength = 20.0;
  const CraftSheet sheet = LayoutCraftSheet(c, {}, gluings, options);
  ExpectNoTabOverlaps(sheet.net);
  std::map<int, GlueTab> byPair;
  for (const GlueTab& tab : sheet.net.tabs) byPair[tab.pair] = tab;
  ASSERT_EQ(byPair.size(), 3u);
  EXPECT_EQ(byPair[0].edge, (SheetEdge{1, 1}));
  EXPECT_LE(byPair[0].height, 3.0 - kTabClearance);  // and clear of the other square
  EXPECT_NEAR(byPair[1].height, 6.0, 1e-9);  // 0.3 of the 20 mm edge
  EXPECT_EQ(byPair[2].edge, (SheetEdge{2, 1}));  // moved to the partner
  EXPECT_TRUE(sheet.net.untabbed.empty());

  // 1 mm apart: no tab fits between, so the pair is marked on both edges.
  Construction tight;
  AddSquare(tight, 0, 0);
  AddSquare(tight, 1.05, 0);
  const CraftSheet marked = LayoutCraftSheet(tight, {}, {{{1, 1}, {2, 3}}}, options);
  EXPECT_TRUE(marked.net.tabs.empty());
  ASSERT_EQ(marked.net.untabbed.size(), 2u);
  EXPECT_EQ(marked.net.marks.size(), 4u);  // a cross of two strokes on each edge
  ASSERT_EQ(marked.net.labels.size(), 2u);  // the pair's number even without numbering
  EXPECT_EQ(marked.net.labels[0].text, "1");
}

TEST(CraftSheet, TabEndsAreNoSteeperThanThePartnerCorner) {
  // A thin isosceles triangle glued to a square: the tab on the square's edge
  // folds onto the triangle's long side, which ends in an 80° and a 20° corner.
  Construction c;
  AddSquare(c, 0, 0);
  const double half = std::tan(10.0 * M_PI / 180.0);
  AddFace(c, {{3, 0}, {3 + 1.0 / (2 * half), 0.5}, {3, 1}});
  // Square edge 1 (right, from (1,0) to (1,1)) with triangle edge 0 ((3,0) to the apex).
  CraftOptions options;
  options.edgeLength = 60.0;
  options.tabs = TabMode::BothSides;
  const CraftSheet sheet = LayoutCraftSheet(c, {}, {{{1, 1}, {2, 0}}}, options);
  ASSERT_EQ(sheet.net.tabs.size(), 2u);
  const GlueTab& tab = sheet.net.tabs[0];
  ASSERT_EQ(tab.edge, (SheetEdge{1, 1}));
  const auto& t = tab.corners;
  // Angle between the root and each slanted end.
  auto angle = [](Vec2 at, Vec2 along, Vec2 end) {
    return std::atan2(std::fabs(Cross(along - at, end - at)), Dot(along - at, end - at)) * 180.0 / M_PI;
  };
  const double atStart = angle(t[0], t[1], t[3]);
  const double atEnd = angle(t[1], t[0], t[2]);
  // Both faces turn the same way, so the square's (1,0) meets the apex.
  EXPECT_NEAR(atStart, 18.0, 0.5);  // 20° less a little
  EXPECT_NEAR(atEnd, 45.0, 0.5);    // the 80° corner allows the usual 45°
}

TEST(CraftSheet, LargeNetIsTiledAndThePiecesAddUpToTheWhole) {
  const Construction cube = CubeCross();
  CraftOptions options;
  options.edgeLength = 150.0;
  options.edgeNumbers = true;
  const CraftSheet sheet = LayoutCraftSheet(cube, HingesOf(cube), CubeCrossGluings(), options);
  ASSERT_GT(sheet.pages.size(), 1u);
  EXPECT_EQ(static_cast<int>(sheet.pages.size()), sheet.rows * sheet.columns);
  const double roomW = sheet.pageWidth - 2 * kPageMargin;
  const double roomH = sheet.pageHeight - 2 * kPageMargin - kHeaderHeight - kFooterHeight;

  // The own parts of the pages share no area and cover the whole net.
  double ownArea = 0.0;
  for (const SheetPage& p : sheet.pages) {
    ownArea += p.own.Width() * p.own.Height();
    EXPECT_LE(p.window.Width(), roomW + 1e-9);
    EXPECT_LE(p.window.Height(), roomH + 1e-9);
    for (const SheetPage& q : sheet.pages) {
      if (&p == &q) continue;
      const double w = std::min(p.own.right, q.own.right) - std::max(p.own.left, q.own.left);
      const double h = std::min(p.own.bottom, q.own.bottom) - std::max(p.own.top, q.own.top);
      EXPECT_FALSE(w > 1e-9 && h > 1e-9) << "pages " << p.number << " and " << q.number;
    }
  }
  const Box& b = sheet.net.bounds;
  EXPECT_NEAR(ownArea, b.Width() * b.Height(), 1e-6);

  // Every line drawn on the pages, counted within each page's own part only,
  // adds up to the net's lines.
  double whole = 0.0;
  for (const SheetLine& l : sheet.net.lines) whole += Distance(l.a, l.b);
  double pieces = 0.0;
  for (size_t i = 0; i < sheet.pages.size(); ++i) {
    RecordingCanvas canvas;
    DrawCraftPage(canvas, sheet, static_cast<int>(i));
    const SheetPage& p = sheet.pages[i];
    Box ownOnPage;
    ownOnPage.Add(OnPage(sheet, static_cast<int>(i), {p.own.left, p.own.top}));
    ownOnPage.Add(OnPage(sheet, static_cast<int>(i), {p.own.right, p.own.bottom}));
    bool inRoom = true;
    for (const DrawnLine& l : DrawnLines(canvas)) {
      if (!l.OfNet()) continue;  // the net's own lines only
      for (Vec2 v : {l.a, l.b})
        inRoom = inRoom && v.x >= kPageMargin * kUnitsPerMm - 1e-6 &&
                 v.x <= (sheet.pageWidth - kPageMargin) * kUnitsPerMm + 1e-6 &&
                 v.y >= (kPageMargin + kHeaderHeight) * kUnitsPerMm - 1e-6 &&
                 v.y <= (sheet.pageHeight - kPageMargin - kFooterHeight) * kUnitsPerMm + 1e-6;
      Vec2 a = l.a, bb = l.b;
      if (ClipSegment(a, bb, ownOnPage)) pieces += Distance(a, bb) / kUnitsPerMm;
    }
    EXPECT_TRUE(inRoom) << "page " << i + 1 << " draws outside its room";
    const std::string header = "Seite " + std::to_string(i + 1) + " von " + std::to_string(sheet.pages.size());
    EXPECT_NE(std::find_if(canvas.calls.begin(), canvas.calls.end(),
                           [&](const std::string& s) { return s.find(header) != std::string::npos; }),
              canvas.calls.end())
        << header;
  }
  EXPECT_NEAR(pieces, whole, 1e-6 * whole);
}

TEST(CraftSheet, NeighbouringPagesShareTheirAlignmentCrosses) {
  const Construction cube = CubeCross();
  CraftOptions options;
  options.edgeLength = 150.0;
  const CraftSheet sheet = LayoutCraftSheet(cube, HingesOf(cube), CubeCrossGluings(), options);
  ASSERT_GT(sheet.columns, 1);
  ASSERT_GT(sheet.rows, 1);
  // Crosses are the grey strokes; a cross's centre is the middle of its strokes.
  // Taken back to the sheet's coordinates, the crosses of two neighbours lie on
  // each other.
  std::vector<std::vector<Vec2>> crosses(sheet.pages.size());
  for (size_t i = 0; i < sheet.pages.size(); ++i) {
    RecordingCanvas canvas;
    DrawCraftPage(canvas, sheet, static_cast<int>(i));
    bool grey = false;
    const SheetPage& page = sheet.pages[i];
    for (const std::string& call : canvas.calls) {
      if (call.rfind("pen ", 0) == 0) grey = call == "pen #808080";
      double x1, y1, x2, y2;
      if (!grey || std::sscanf(call.c_str(), "line %lf,%lf %lf,%lf", &x1, &y1, &x2, &y2) != 4) continue;
      if (y1 != y2) continue;  // the horizontal stroke of each cross
      const Vec2 centre{(x1 + x2) / 2.0 / kUnitsPerMm, y1 / kUnitsPerMm};
      crosses[i].push_back(centre - page.origin + Vec2{page.window.left, page.window.top});
    }
  }
  auto shared = [&](size_t p, size_t q) {
    int count = 0;
    for (Vec2 a : crosses[p])
      for (Vec2 b : crosses[q]) count += Distance(a, b) < 1e-9;
    return count;
  };
  for (const SheetPage& p : sheet.pages)
    for (const SheetPage& q : sheet.pages) {
      const bool neighbours = std::abs(p.row - q.row) + std::abs(p.column - q.column) == 1;
      if (neighbours)
        EXPECT_GE(shared(p.number - 1, q.number - 1), 4) << "pages " << p.number << " and " << q.number;
      else if (&p != &q && std::abs(p.row - q.row) > 1)
        EXPECT_EQ(shared(p.number - 1, q.number - 1), 0);
    }
}

TEST(CraftSheet, IcosahedronTabsNeverCoverFacesOrEachOther) {
  const Construction ico = testing::IcosahedronStrip();
  const auto hinges = HingesOf(ico);
  ASSERT_EQ(hinges.size(), 19u);
  const auto gluings = testing::IcosahedronStripGluings();
  for (TabMode mode : {TabMode::OneSide, TabMode::BothSides}) {
    for (double edge : {0.0, 25.0, 60.0}) {
      CraftOptions options;
      options.tabs = mode;
      options.edgeLength = edge;
      options.edgeNumbers = true;
      const CraftSheet sheet = LayoutCraftSheet(ico, hinges, gluings, options);
      ExpectNoTabOverlaps(sheet.net);
      const auto perPair = TabsPerPair(sheet.net);
      // Every pair has its tab (two when asked for), or none and is marked on both edges.
      for (int pair = 0; pair < static_cast<int>(gluings.size()); ++pair) {
        const auto found = perPair.find(pair);
        if (found == perPair.end()) {
          const auto& u = sheet.net.untabbed;
          EXPECT_NE(std::find(u.begin(), u.end(), gluings[pair].a), u.end());
          EXPECT_NE(std::find(u.begin(), u.end(), gluings[pair].b), u.end());
        } else if (mode == TabMode::OneSide) {
          EXPECT_EQ(found->second, 1);
        } else {
          EXPECT_GE(found->second, 1);
        }
      }
      // The caps' pairs face each other across a 60° wedge of paper, which
      // holds both tabs when their ends are steep enough.
      EXPECT_EQ(perPair.size(), gluings.size()) << "edge " << edge;
      if (mode == TabMode::BothSides)
        for (const auto& [pair, count] : perPair) EXPECT_EQ(count, 2) << "pair " << pair << " edge " << edge;
      double longest = 0.0;
      for (const auto& face : sheet.net.faces)
        for (size_t k = 0; k < 3; ++k) longest = std::max(longest, Distance(face[k], face[(k + 1) % 3]));
      if (edge > 0.0) EXPECT_NEAR(longest, edge, 1e-9);
      EXPECT_NEAR(longest, sheet.net.edgeLength, 1e-9);
    }
  }
}

TEST(CraftSheet, BadRequestsAreRefusedWithAMessage) {
  const Construction cube = CubeCross();
  CraftOptions options;
  for (double length : {3.0, -10.0, 5000.0, std::nan("")}) {
    options.edgeLength = length;
    EXPECT_THROW(LayoutCraftSheet(cube, HingesOf(cube), CubeCrossGluings(), options), CraftError) << length;
  }
  options.edgeLength = 2000.0;  // 8 m wide: far more pages than allowed
  try {
    LayoutCraftSheet(cube, HingesOf(cube), CubeCrossGluings(), options);
    ADD_FAILURE() << "no error";
  } catch (const CraftError& e) {
    EXPECT_NE(std::string(e.what()).find("Seiten"), std::string::npos);
  }
  // Faces strewn a million edges apart: too many pages, counted without overflow.
  Construction strewn;
  AddSquare(strewn, 0, 0);
  AddSquare(strewn, 1e6, 1e6);
  options.edgeLength = 500.0;
  EXPECT_THROW(LayoutCraftSheet(strewn, {}, {}, options), CraftError);
  options.edgeLength = 0.0;
  EXPECT_EQ(LayoutCraftSheet(strewn, {}, {}, options).pages.size(), 1u);  // tiny, but it fits
  EXPECT_THROW(LayoutCraftSheet(Construction(), {}, {}, options), CraftError);
  Construction broken = cube;
  broken.NetPoints[3].x = std::nan("");
  EXPECT_THROW(LayoutCraftSheet(broken, {}, {}, options), CraftError);
  // An edge that names no face of the net.
  EXPECT_THROW(LayoutCraftSheet(cube, {}, {{{7, 0}, {1, 0}}}, options), CraftError);
  EXPECT_THROW(LayoutCraftSheet(cube, {}, {{{1, 4}, {1, 0}}}, options), CraftError);
}

}  // namespace
}  // namespace didod::craft
