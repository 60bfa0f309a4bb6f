// Every catalogue net as a written sheet, as large as fits on A4 and at 20 mm,
// read back from its PDF and its SVG: the net's lines are where the layout put
// them and drawn in their styles, hinges and tab roots fold the way the solid
// folds, tabs keep their clearance, the first page carries the legend, and
// the construction's net is drawn whole and undistorted with one tab or a
// cross per glued pair.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <complex>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "../craft/catalogue_nets.h"
#include "craft/geometry.h"
#include "craft/sheet.h"
#include "craft/sheet_painter.h"
#include "craft_readers.h"
#include "output/craft_writer.h"

namespace didod {
namespace {

using craft::Box;
using craft::CraftSheet;
using craft::Distance;
using craft::Vec2;
using testing::kPointsPerMm;

constexpr double kSame = 2e-3;  // mm: the same point in the model and in a file

// A line of the net as a file draws it: millimetres from the page's top-left
// corner, y down, with the entries of its dash pattern.
struct Drawn {
  Vec2 a, b;
  int dashes = 0;
};

int DashesOf(craft::LineKind kind) {
  return kind == craft::LineKind::Cut ? 0 : kind == craft::LineKind::Mountain ? 2 : 4;
}

// Points looked up by position on a grid of cells.
class PointGrid {
 public:
  explicit PointGrid(double cell) : cell_(cell) {}
  void Add(Vec2 p, int value) { cells_[Key(p)].push_back({p, value}); }
  // Values of the points within `radius` of p.
  std::vector<int> Near(Vec2 p, double radius) const {
    std::vector<int> found;
    const auto [cx, cy] = Key(p);
    for (long dx = -1; dx <= 1; ++dx)
      for (long dy = -1; dy <= 1; ++dy) {
        const auto it = cells_.find({cx + dx, cy + dy});
        if (it == cells_.end()) continue;
        for (const auto& [q, value] : it->second)
          if (Distance(p, q) <= radius) found.push_back(value);
      }
    return found;
  }
  bool Has(Vec2 p, double radius) const { return !Near(p, radius).empty(); }

 private:
  std::pair<long, long> Key(Vec2 p) const { return {std::lround(p.x / cell_), std::lround(p.y / cell_)}; }
  double cell_;
  std::map<std::pair<long, long>, std::vector<std::pair<Vec2, int>>> cells_;
};

// The layout's lines as they should appear on a surface that shows the window
// of the net with its top-left corner at `origin`, each with the tab it
// outlines (-1 for none) and whether it is that tab's root.
struct Expected {
  Vec2 a, b;
  int dashes = 0;
  int tab = -1;
  bool root = false;
};

std::vector<Expected> ExpectedLines(const CraftSheet& sheet, const Box& window, Vec2 origin) {
  const craft::NetSheet& net = sheet.net;
  auto place = [&](Vec2 p) { return origin + (p - Vec2{window.left, window.top}); };
  PointGrid tabCorners(1.0);
  for (size_t t = 0; t < net.tabs.size(); ++t)
    for (int k = 0; k < 4; ++k) tabCorners.Add(net.tabs[t].corners[k], static_cast<int>(t) * 4 + k);
  std::vector<Expected> lines;
  for (const craft::SheetLine& line : net.lines) {
    Expected e;
    e.dashes = DashesOf(line.kind);
    // A line between two corners of one tab outlines it.
    for (int x : tabCorners.Near(line.a, 1e-9))
      for (int y : tabCorners.Near(line.b, 1e-9))
        if (x / 4 == y / 4) {
          e.tab = x / 4;
          e.root = (x % 4) + (y % 4) == 1;
        }
    Vec2 a = line.a, b = line.b;
    if (!craft::ClipSegment(a, b, window) || Distance(a, b) < 1e-9) continue;
    e.a = place(a);
    e.b = place(b);
    lines.push_back(e);
  }
  return lines;
}

// Pairs each drawn line with the expected line at its place and in its style;
// returns, per drawn line, the index of its expected line, and counts lines
// that match nothing.
struct Matching {
  std::vector<int> expectedOf;  // per drawn line
  int strayDrawn = 0;           // drawn where nothing was expected, or in another style
  int missing = 0;              // expected and not drawn
  std::string example;
};

Matching Match(const std::vector<Drawn>& drawn, const std::vector<Expected>& expected) {
  Matching m;
  PointGrid byMiddle(0.5);
  for (size_t i = 0; i < expected.size(); ++i) byMiddle.Add(0.5 * (expected[i].a + expected[i].b), static_cast<int>(i));
  std::vector<bool> used(expected.size(), false);
  for (const Drawn& d : drawn) {
    int found = -1;
    for (int i : byMiddle.Near(0.5 * (d.a + d.b), kSame)) {
      const Expected& e = expected[static_cast<size_t>(i)];
      const bool same = (Distance(d.a, e.a) < kSame && Distance(d.b, e.b) < kSame) ||
                        (Distance(d.a, e.b) < kSame && Distance(d.b, e.a) < kSame);
      if (same && !used[static_cast<size_t>(i)] && e.dashes == d.dashes) found = i;
    }
    m.expectedOf.push_back(found);
    if (found < 0) {
      ++m.strayDrawn;
      if (m.example.empty())
        m.example = "drawn (" + std::to_string(d.a.x) + "," + std::to_string(d.a.y) + ")-(" + std::to_string(d.b.x) +
                    "," + std::to_string(d.b.y) + ") dashes " + std::to_string(d.dashes);
    } else {
      used[static_cast<size_t>(found)] = true;
    }
  }
  m.missing = static_cast<int>(std::count(used.begin(), used.end(), false));
  return m;
}

bool InsideAnyFace(Vec2 p, const std::vector<std::vector<Vec2>>& faces) {
  for (const auto& face : faces) {
    bool inside = false;
    for (size_t i = 0, j = face.size() - 1; i < face.size(); j = i++) {
      const Vec2 a = face[i], b = face[j];
      if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) inside = !inside;
    }
    if (inside) return true;
  }
  return false;
}

// The clearance of the tabs as drawn: the smallest gap between a side of a tab
// and any other line of the net, where lines that meet at a corner of the net
// or at an end of the tab's own root are measured from their far ends; and the
// number of tab corners that lie inside a face.
struct Clearance {
  double smallest = std::numeric_limits<double>::infinity();
  int tipsInFaces = 0;
  std::string where;
};

Clearance MeasureClearance(const std::vector<Drawn>& drawn, const Matching& matching,
                           const std::vector<Expected>& expected, const std::vector<std::vector<Vec2>>& faces) {
  Clearance c;
  PointGrid corners(1.0);
  for (const auto& face : faces)
    for (const Vec2& p : face) corners.Add(p, 0);
  std::map<int, std::pair<Vec2, Vec2>> roots;
  for (size_t i = 0; i < drawn.size(); ++i) {
    const int e = matching.expectedOf[i];
    if (e >= 0 && expected[static_cast<size_t>(e)].root) roots[expected[static_cast<size_t>(e)].tab] = {drawn[i].a, drawn[i].b};
  }
  auto tabOf = [&](size_t i) { return matching.expectedOf[i] < 0 ? -1 : expected[static_cast<size_t>(matching.expectedOf[i])].tab; };
  auto box = [](const Drawn& d) {
    Box b;
    b.Add(d.a);
    b.Add(d.b);
    return b;
  };
  for (size_t i = 0; i < drawn.size(); ++i) {
    const int tab = tabOf(i);
    if (tab < 0 || expected[static_cast<size_t>(matching.expectedOf[i])].root) continue;
    const Drawn& s = drawn[i];
    const auto root = roots.find(tab);
    auto atRoot = [&](Vec2 p) {
      return root != roots.end() && (Distance(p, root->second.first) < kSame || Distance(p, root->second.second) < kSame);
    };
    for (Vec2 p : {s.a, s.b})
      if (!corners.Has(p, kSame) && !atRoot(p) && InsideAnyFace(p, faces)) ++c.tipsInFaces;
    const Box sb = box(s);
    for (size_t j = 0; j < drawn.size(); ++j) {
      if (tabOf(j) == tab) continue;
      const Drawn& o = drawn[j];
      if (!craft::BoxesNear(sb, box(o), 1.0)) continue;
      double gap = std::numeric_limits<double>::infinity();
      bool met = false;
      for (int x = 0; x < 2 && !met; ++x)
        for (int y = 0; y < 2 && !met; ++y) {
          const Vec2 p = x ? s.b : s.a;
          const Vec2 q = y ? o.b : o.a;
          if (Distance(p, q) >= kSame) continue;
          met = true;
          if (!corners.Has(p, kSame) && !atRoot(p)) {
            gap = 0.0;  // two outlines touch at a point of neither the net nor the root
          } else {
            gap = std::min(craft::PointSegmentDistance(x ? s.a : s.b, o.a, o.b),
                           craft::PointSegmentDistance(y ? o.a : o.b, s.a, s.b));
          }
        }
      if (!met) gap = craft::SegmentDistance(s.a, s.b, o.a, o.b);
      if (gap < c.smallest) {
        c.smallest = gap;
        c.where = "tab side (" + std::to_string(s.a.x) + "," + std::to_string(s.a.y) + ")-(" + std::to_string(s.b.x) +
                  "," + std::to_string(s.b.y) + ")";
      }
    }
  }
  return c;
}

std::vector<std::vector<Vec2>> PlacedFaces(const CraftSheet& sheet, const Box& window, Vec2 origin) {
  std::vector<std::vector<Vec2>> faces = sheet.net.faces;
  for (auto& face : faces)
    for (Vec2& p : face) p = origin + (p - Vec2{window.left, window.top});
  return faces;
}

const char* const kLegendTexts[] = {"Schnittlinie", "Bergfalte", "Talfalte", "Klebelasche", "Kantennummer",
                                    "Kante ohne Lasche: auf die Lasche der Partnerkante kleben"};

// Hinges and tab roots drawn in the style their dihedral angle on the solid asks for.
struct FoldStyles {
  int valleys = 0;  // drawn dash-dotted
  int wrong = 0;
};

FoldStyles CheckFoldStyles(const CraftSheet& sheet, const craft::SheetFolding& folding,
                           const std::vector<Drawn>& drawn, Vec2 offset) {
  FoldStyles f;
  PointGrid byMiddle(0.5);
  for (size_t i = 0; i < drawn.size(); ++i) byMiddle.Add(0.5 * (drawn[i].a + drawn[i].b), static_cast<int>(i));
  auto styleAt = [&](Vec2 a, Vec2 b) {
    for (int i : byMiddle.Near(0.5 * (a + b), kSame)) {
      const Drawn& d = drawn[static_cast<size_t>(i)];
      if ((Distance(d.a, a) < kSame && Distance(d.b, b) < kSame) || (Distance(d.a, b) < kSame && Distance(d.b, a) < kSame))
        return d.dashes;
    }
    return -1;
  };
  auto expect = [&](Vec2 a, Vec2 b, double dihedral) {
    const int want = dihedral > M_PI + 1e-6 ? 4 : 2;
    const int got = styleAt(a + offset, b + offset);
    f.valleys += got == 4;
    f.wrong += got != want;
  };
  const auto& faces = sheet.net.faces;
  for (const craft::EdgePair& h : folding.hinges) {
    const auto& face = faces[h.a.face - 1];
    expect(craft::Corner(face, h.a.corner), craft::Corner(face, h.a.corner + 1), h.dihedral);
  }
  for (const craft::GlueTab& tab : sheet.net.tabs)
    expect(tab.corners[0], tab.corners[1], folding.gluings[tab.pair].dihedral);
  return f;
}

std::vector<Drawn> NetLinesOfSvg(const testing::SvgDrawing& svg) {
  std::vector<Drawn> lines;
  for (const testing::SvgLine& l : svg.lines)
    if (l.group == craft::kCutGroup || l.group == craft::kFoldGroup) lines.push_back({{l.x1, l.y1}, {l.x2, l.y2}, l.dashes});
  return lines;
}

bool InFooter(const testing::PdfLine& l) {
  return std::max(l.y1, l.y2) < (craft::kPageMargin + craft::kFooterHeight) * kPointsPerMm;
}

// The net's own lines of a PDF page: the cut and fold pen, inside the room for the net.
std::vector<Drawn> NetLinesOfPdf(const testing::PdfPage& page) {
  std::vector<Drawn> lines;
  const double heightMm = page.height / kPointsPerMm;
  for (const testing::PdfLine& l : page.lines) {
    if (std::fabs(l.width - craft::kCutPenWidth * kPointsPerMm) > 1e-3 || InFooter(l)) continue;
    lines.push_back({{l.x1 / kPointsPerMm, heightMm - l.y1 / kPointsPerMm},
                     {l.x2 / kPointsPerMm, heightMm - l.y2 / kPointsPerMm},
                     l.dashes});
  }
  return lines;
}

// Drawn lines looked up by the region they cross, on a grid of cells.
class LineGrid {
 public:
  explicit LineGrid(const std::vector<Drawn>& lines) : lines_(lines) {
    for (size_t i = 0; i < lines.size(); ++i) ForCells(lines[i].a, lines[i].b, [&](long x, long y) { cells_[{x, y}].push_back(i); });
  }
  // The lines that may come within a cell of the segment from a to b.
  std::vector<size_t> Around(Vec2 a, Vec2 b) const {
    std::vector<size_t> found;
    ForCells(a, b, [&](long x, long y) {
      const auto it = cells_.find({x, y});
      if (it != cells_.end()) found.insert(found.end(), it->second.begin(), it->second.end());
    });
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
  }

 private:
  static constexpr double kCell = 10.0;  // mm
  template <class F>
  static void ForCells(Vec2 a, Vec2 b, F f) {
    for (long x = std::lround(std::min(a.x, b.x) / kCell) - 1; x <= std::lround(std::max(a.x, b.x) / kCell) + 1; ++x)
      for (long y = std::lround(std::min(a.y, b.y) / kCell) - 1; y <= std::lround(std::max(a.y, b.y) / kCell) + 1; ++y) f(x, y);
  }
  const std::vector<Drawn>& lines_;
  std::map<std::pair<long, long>, std::vector<size_t>> cells_;
};

// The net of the construction as the file draws it: every face turned, scaled
// and shifted as one piece, so that every edge of every face lies, all its
// length, under drawn lines; and per glued pair whether its edges carry a tab
// root (a fold line along a glued edge) or the cross of an edge without a tab.
struct AsConstructed {
  int edges = 0;
  int undrawnEdges = 0;  // edges of the construction not covered by drawn lines
  double scale = 0.0;    // mm per unit of the construction, as drawn
  double longest = 0.0;  // the construction's longest edge, in its units
  int pairsWithOneTab = 0, pairsWithTwoTabs = 0, pairsCrossed = 0, pairsNeither = 0;
  std::string example;
};

AsConstructed CheckAsConstructed(const Construction& c, const craft::SheetFolding& folding,
                                 const std::vector<std::vector<Vec2>>& placedFaces, const std::vector<Drawn>& drawn,
                                 const std::vector<Drawn>& marks) {
  AsConstructed r;
  // The sheet shows the net with y down: w = A * conj(z) + B for a point z of
  // the construction, fitted on its first point and the one farthest from it.
  using Complex = std::complex<double>;
  std::vector<std::pair<Complex, Vec2>> points;  // construction, placed on the sheet
  for (int f = 1; f <= c.FaceCount; ++f) {
    const FaceRangeResult range = c.FaceRange(f);
    for (int i = range.first; i <= range.last; ++i)
      points.push_back({{c.NetPoints[i].x, -c.NetPoints[i].y}, placedFaces[f - 1][i - range.first]});
  }
  size_t far = 0;
  for (size_t i = 1; i < points.size(); ++i)
    if (std::abs(points[i].first - points[0].first) > std::abs(points[far].first - points[0].first)) far = i;
  const Complex w0{points[0].second.x, points[0].second.y}, w1{points[far].second.x, points[far].second.y};
  const Complex A = (w1 - w0) / (points[far].first - points[0].first);
  const Complex B = w0 - A * points[0].first;
  r.scale = std::abs(A);
  auto onSheet = [&](int point) {
    const Complex w = A * Complex{c.NetPoints[point].x, -c.NetPoints[point].y} + B;
    return Vec2{w.real(), w.imag()};
  };
  auto corner = [&](const craft::SheetEdge& e, int k) {
    const FaceRangeResult range = c.FaceRange(e.face);
    const int n = range.last - range.first + 1;
    return onSheet(range.first + (e.corner + k) % n);
  };
  const LineGrid grid(drawn);
  // Drawn lines lying along the edge from p to q, as parts [t0, t1] of it (0..1).
  auto along = [&](Vec2 p, Vec2 q, bool foldsOnly) {
    std::vector<std::pair<double, double>> parts;
    const double length = Distance(p, q);
    for (size_t i : grid.Around(p, q)) {
      const Drawn& d = drawn[i];
      if (foldsOnly && d.dashes == 0) continue;
      if (craft::PointSegmentDistance(d.a, p, q) > kSame || craft::PointSegmentDistance(d.b, p, q) > kSame) continue;
      double t0 = craft::Dot(d.a - p, q - p) / (length * length), t1 = craft::Dot(d.b - p, q - p) / (length * length);
      if (t0 > t1) std::swap(t0, t1);
      parts.push_back({t0, t1});
    }
    std::sort(parts.begin(), parts.end());
    return parts;
  };
  for (int f = 1; f <= c.FaceCount; ++f) {
    const FaceRangeResult range = c.FaceRange(f);
    const int n = range.last - range.first + 1;
    for (int k = 0; k < n; ++k) {
      const Vec2 p = onSheet(range.first + k), q = onSheet(range.first + (k + 1) % n);
      ++r.edges;
      r.longest = std::max(r.longest, Distance(p, q) / r.scale);
      double covered = 0.0;
      for (const auto& [t0, t1] : along(p, q, false)) {
        if (t0 > covered + kSame / Distance(p, q)) break;
        covered = std::max(covered, t1);
      }
      if (covered < 1.0 - kSame / Distance(p, q)) {
        ++r.undrawnEdges;
        if (r.example.empty())
          r.example = "face " + std::to_string(f) + " edge " + std::to_string(k) + " drawn to " + std::to_string(covered);
      }
    }
  }
  // Crosses: two marks through one middle.
  std::vector<Vec2> crosses;
  for (size_t i = 0; i < marks.size(); ++i)
    for (size_t j = i + 1; j < marks.size(); ++j)
      if (Distance(0.5 * (marks[i].a + marks[i].b), 0.5 * (marks[j].a + marks[j].b)) < kSame)
        crosses.push_back(0.5 * (marks[i].a + marks[i].b));
  // A cross belongs to the edge it lies beside: over the edge, within a quarter
  // of its length, inside the face.
  auto crossed = [&](const craft::SheetEdge& e) {
    const Vec2 p = corner(e, 0), q = corner(e, 1);
    const double length = Distance(p, q);
    for (const Vec2& x : crosses) {
      const double t = craft::Dot(x - p, q - p) / (length * length);
      std::vector<Vec2> face;
      const FaceRangeResult range = c.FaceRange(e.face);
      for (int i = range.first; i <= range.last; ++i) face.push_back(onSheet(i));
      if (t > 0.0 && t < 1.0 && craft::PointSegmentDistance(x, p, q) < 0.25 * length && InsideAnyFace(x, {face})) return true;
    }
    return false;
  };
  for (const craft::EdgePair& pair : folding.gluings) {
    int tabs = 0;
    for (const craft::SheetEdge& e : {pair.a, pair.b}) tabs += !along(corner(e, 0), corner(e, 1), true).empty();
    const bool cross = crossed(pair.a) && crossed(pair.b);
    if (tabs == 1 && !cross) ++r.pairsWithOneTab;
    else if (tabs == 2 && !cross) ++r.pairsWithTwoTabs;
    else if (tabs == 0 && cross) ++r.pairsCrossed;
    else ++r.pairsNeither;
  }
  return r;
}

bool NonConvex(const craft::SheetFolding& folding) {
  auto reflex = [](const craft::EdgePair& e) { return e.dihedral > M_PI + 1e-6; };
  return std::any_of(folding.hinges.begin(), folding.hinges.end(), reflex) ||
         std::any_of(folding.gluings.begin(), folding.gluings.end(), reflex);
}

struct Totals {
  int nets = 0, pairs = 0, leftOut = 0;
};

void CheckSheet(const std::string& name, const Construction& net, const craft::SheetFolding& folding, double edge,
                const QTemporaryDir& dir, Totals& totals) {
  craft::CraftOptions options;
  options.edgeLength = edge;
  options.title = name;
  const CraftSheet sheet = craft::LayoutCraftSheet(net, folding.hinges, folding.gluings, options);
  const std::string what = name + (edge > 0.0 ? " at 20 mm" : " as large as fits");
  SCOPED_TRACE(what);
  if (edge == 0.0) {
    totals.pairs += static_cast<int>(folding.gluings.size());
    totals.leftOut += static_cast<int>(sheet.net.untabbed.size()) / 2;
    ++totals.nets;
  }
  const bool nonConvex = NonConvex(folding);

  // The SVG: the whole net in one drawing.
  const QString svgPath = dir.filePath("net.svg");
  WriteCraftSvg(sheet, svgPath.toStdString());
  const testing::SvgDrawing svg = testing::ReadSvg(testing::ReadAll(svgPath));
  ASSERT_FALSE(svg.error);
  const bool single = sheet.pages.size() == 1;
  const Box& window = single ? sheet.pages[0].window : sheet.net.bounds;
  const Vec2 origin = single ? sheet.pages[0].origin : Vec2{craft::kPageMargin, craft::kPageMargin + craft::kHeaderHeight};
  {
    const std::vector<Drawn> drawn = NetLinesOfSvg(svg);
    const std::vector<Expected> expected = ExpectedLines(sheet, window, origin);
    const Matching matching = Match(drawn, expected);
    EXPECT_EQ(matching.strayDrawn, 0) << "SVG: " << matching.example;
    EXPECT_EQ(matching.missing, 0) << "SVG";
    const auto faces = PlacedFaces(sheet, window, origin);
    const Clearance clearance = MeasureClearance(drawn, matching, expected, faces);
    EXPECT_GE(clearance.smallest, craft::kTabClearance - 1e-3) << "SVG: " << clearance.where;
    EXPECT_EQ(clearance.tipsInFaces, 0) << "SVG";
    const FoldStyles styles = CheckFoldStyles(sheet, folding, drawn, origin - Vec2{window.left, window.top});
    EXPECT_EQ(styles.wrong, 0) << "SVG";
    EXPECT_EQ(styles.valleys > 0, nonConvex) << "SVG";
    double longest = 0.0;
    for (const Drawn& d : drawn) longest = std::max(longest, Distance(d.a, d.b));
    if (edge > 0.0) EXPECT_NEAR(longest, edge, kSame) << "SVG";
    std::vector<Drawn> marks;
    for (const testing::SvgLine& l : svg.lines)
      if (l.group == craft::kMarkGroup) marks.push_back({{l.x1, l.y1}, {l.x2, l.y2}, l.dashes});
    const AsConstructed built = CheckAsConstructed(net, folding, faces, drawn, marks);
    EXPECT_EQ(built.undrawnEdges, 0) << "SVG: " << built.example;
    if (edge > 0.0) EXPECT_NEAR(built.scale * built.longest, edge, kSame) << "SVG";
    EXPECT_EQ(built.pairsNeither + built.pairsWithTwoTabs, 0) << "SVG";
    EXPECT_EQ(built.pairsCrossed, static_cast<int>(sheet.net.untabbed.size()) / 2) << "SVG";
    EXPECT_EQ(built.pairsWithOneTab + built.pairsCrossed, static_cast<int>(folding.gluings.size())) << "SVG";
    for (const char* text : kLegendTexts)
      EXPECT_TRUE(std::any_of(svg.texts.begin(), svg.texts.end(),
                              [&](const testing::SvgText& t) { return t.group == craft::kMarkGroup && t.text == text; }))
          << "SVG legend: " << text;
  }

  // The PDF, page by page.
  const QString pdfPath = dir.filePath("net.pdf");
  WriteCraftPdf(sheet, pdfPath.toStdString());
  const std::vector<testing::PdfPage> pages = testing::ReadPdf(testing::ReadAll(pdfPath));
  ASSERT_EQ(pages.size(), sheet.pages.size());
  for (size_t i = 0; i < pages.size(); ++i) {
    const craft::SheetPage& page = sheet.pages[i];
    const std::vector<Drawn> drawn = NetLinesOfPdf(pages[i]);
    const std::vector<Expected> expected = ExpectedLines(sheet, page.window, page.origin);
    const Matching matching = Match(drawn, expected);
    EXPECT_EQ(matching.strayDrawn, 0) << "PDF page " << i + 1 << ": " << matching.example;
    EXPECT_EQ(matching.missing, 0) << "PDF page " << i + 1;
    int footerDashes = 0, footerDashDots = 0;
    bool scaleBar = false;
    for (const testing::PdfLine& l : pages[i].lines) {
      footerDashes += InFooter(l) && l.dashes == 2;
      footerDashDots += InFooter(l) && l.dashes == 4;
      scaleBar = scaleBar || (std::fabs(l.y1 - l.y2) < 1e-6 && std::fabs(l.Length() - 100.0 * kPointsPerMm) < 0.01);
    }
    EXPECT_TRUE(scaleBar) << "PDF page " << i + 1;
    // The legend's samples: a mountain fold and a tab root dashed, a valley fold dash-dotted.
    EXPECT_EQ(footerDashes, i == 0 ? 2 : 0) << "PDF page " << i + 1;
    EXPECT_EQ(footerDashDots, i == 0 ? 1 : 0) << "PDF page " << i + 1;
    if (!single) continue;
    const Clearance clearance = MeasureClearance(drawn, matching, expected, PlacedFaces(sheet, page.window, page.origin));
    EXPECT_GE(clearance.smallest, craft::kTabClearance - 1e-3) << "PDF: " << clearance.where;
    EXPECT_EQ(clearance.tipsInFaces, 0) << "PDF";
    const FoldStyles styles = CheckFoldStyles(sheet, folding, drawn, page.origin - Vec2{page.window.left, page.window.top});
    EXPECT_EQ(styles.wrong, 0) << "PDF";
    EXPECT_EQ(styles.valleys > 0, nonConvex) << "PDF";
    const AsConstructed built = CheckAsConstructed(net, folding, PlacedFaces(sheet, page.window, page.origin), drawn, {});
    EXPECT_EQ(built.undrawnEdges, 0) << "PDF: " << built.example;
    if (edge > 0.0) EXPECT_NEAR(built.scale * built.longest, edge, kSame) << "PDF";
  }
}

TEST(CraftCatalogue, EveryNetLargestOnA4AndAt20mmReadsBackFromPdfAndSvg) {
  const auto names = CatalogueNames(craft::testing::CatalogueLines());
  ASSERT_EQ(names.size(), 103u);
  QTemporaryDir dir;
  Totals totals;
  int nonConvex = 0;
  const auto started = std::chrono::steady_clock::now();
  for (const std::string& name : names) {
    const auto net = craft::testing::CatalogueNet(name);
    ASSERT_TRUE(net) << name;
    const craft::SheetFolding folding = craft::testing::FoldGenerously(*net);
    ASSERT_TRUE(folding.folds) << name << ": " << folding.message;
    nonConvex += NonConvex(folding);
    for (double edge : {0.0, 20.0}) CheckSheet(name, *net, folding, edge, dir, totals);
  }
  // Sterndodekaeder, Spikey, Pentagrammprisma and Pyramidentetraeder.
  EXPECT_EQ(nonConvex, 4);
  // Tabs are left out only where the paper leaves no room: narrow wedges
  // between glued edges and faces that touch along a cut.
  EXPECT_LT(totals.leftOut * 10, totals.pairs);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("%d nets as large as fits on A4: %d glued pairs, %d left without a tab (%.0f s for all sheets)\n",
              totals.nets, totals.pairs, totals.leftOut, seconds);
}

}  // namespace
}  // namespace didod
