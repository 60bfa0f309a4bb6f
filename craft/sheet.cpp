#include "craft/sheet.h"

#include "craft/tabs.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <utility>

namespace didod::craft {

PaperSize PaperSizeOf(Paper paper) {
  switch (paper) {
    case Paper::A3: return {297.0, 420.0};
    case Paper::Letter: return {215.9, 279.4};
    case Paper::A4: break;
  }
  return {210.0, 297.0};
}

namespace {

constexpr double kLabelHeight = 3.0;       // mm, edge numbers at most this tall
constexpr double kFaceLabelHeight = 5.0;   // mm, face numbers at most this tall
// A fold whose faces meet at more than this angle past flat is a valley.
constexpr double kReflexMargin = 1e-6;

using EdgeKey = std::pair<int, int>;

void CheckEdge(const std::vector<std::vector<Vec2>>& faces, const SheetEdge& e) {
  if (e.face < 1 || e.face > static_cast<int>(faces.size()) || e.corner < 0 ||
      e.corner >= static_cast<int>(faces[e.face - 1].size()))
    throw CraftError("Eine Kante der Faltprüfung gehört zu keiner Fläche des Netzes.");
}

// Seen from the printed side: outside the solid, or inside when printed there.
LineKind FoldKind(double dihedral, bool printInside) {
  const bool reflex = dihedral > kFlatAngle + kReflexMargin;
  return reflex != printInside ? LineKind::Valley : LineKind::Mountain;
}

// Size of an edge number: small edges get small numbers.
double LabelHeight(double edgeLength) { return std::min(kLabelHeight, 0.28 * edgeLength); }

// A number inside the face beside the middle of the edge.
SheetText EdgeLabel(const std::vector<Vec2>& face, int k, const std::string& text) {
  const Vec2 p = Corner(face, k);
  const Vec2 q = Corner(face, k + 1);
  const double length = Distance(p, q);
  const double height = LabelHeight(length);
  const Vec2 inward = -1.0 * OutwardNormal(face, k);
  return {0.5 * (p + q) + (0.5 * height + 0.12 * length * 0.5) * inward, height, text};
}

// The face's number at its centroid, sized to the circle the face holds.
SheetText FaceLabel(const std::vector<Vec2>& face, int number) {
  const double area = SignedArea(face);
  Vec2 centroid{0.0, 0.0};
  double perimeter = 0.0;
  const size_t n = face.size();
  for (size_t k = 0; k < n; ++k) {
    const Vec2 p = face[k];
    const Vec2 q = face[(k + 1) % n];
    centroid = centroid + Cross(p, q) * (p + q);
    perimeter += Distance(p, q);
  }
  centroid = std::fabs(area) > 1e-12 ? (1.0 / (6.0 * area)) * centroid : face[0];
  const double inradius = perimeter > 0.0 ? 2.0 * std::fabs(area) / perimeter : 0.0;
  return {centroid, std::min(kFaceLabelHeight, 0.6 * inradius), std::to_string(number)};
}

// Faces of one kind are congruent: the same number of corners, area, perimeter
// and longest edge; mirror images count as one kind.
std::vector<int> FaceKinds(const std::vector<std::vector<Vec2>>& faces, double scale) {
  struct Kind {
    size_t corners;
    double area, perimeter, longest;
  };
  std::vector<Kind> kinds;
  std::vector<int> result;
  const double tolerance = 1e-6 * std::max(scale, 1.0);
  for (const auto& face : faces) {
    Kind k{face.size(), std::fabs(SignedArea(face)), 0.0, 0.0};
    for (size_t i = 0; i < face.size(); ++i) {
      const double length = Distance(face[i], face[(i + 1) % face.size()]);
      k.perimeter += length;
      k.longest = std::max(k.longest, length);
    }
    auto same = [&](const Kind& o) {
      return o.corners == k.corners && std::fabs(o.area - k.area) <= tolerance * scale &&
             std::fabs(o.perimeter - k.perimeter) <= tolerance && std::fabs(o.longest - k.longest) <= tolerance;
    };
    const auto found = std::find_if(kinds.begin(), kinds.end(), same);
    result.push_back(static_cast<int>(found - kinds.begin()));
    if (found == kinds.end()) kinds.push_back(k);
  }
  return result;
}

double TextWidth(const SheetText& text) { return 0.6 * text.height * static_cast<double>(text.text.size()); }

void AddText(Box& box, const SheetText& text) {
  const double w = TextWidth(text) / 2.0;
  const double h = text.height / 2.0;
  box.Add(Vec2{text.centre.x - w, text.centre.y - h});
  box.Add(Vec2{text.centre.x + w, text.centre.y + h});
}

}  // namespace

NetSheet LayoutNet(const Construction& c, const std::vector<EdgePair>& hinges, const std::vector<EdgePair>& gluings,
                   const CraftOptions& options, double mmPerUnit) {
  NetSheet sheet;
  sheet.mmPerUnit = mmPerUnit;
  sheet.faceColours = options.faceColours;
  sheet.printInside = options.printInside;
  // Printed on the inside, the sheet is the net seen from behind.
  const double flip = options.printInside ? -1.0 : 1.0;
  for (int f = 1; f <= c.FaceCount; ++f) {
    const FaceRangeResult range = c.FaceRange(f);
    std::vector<Vec2> face;
    for (int i = range.first; i <= range.last; ++i)
      face.push_back({flip * c.NetPoints[i].x * mmPerUnit, -c.NetPoints[i].y * mmPerUnit});
    for (size_t k = 0; k < face.size() && face.size() >= 2; ++k)
      sheet.edgeLength = std::max(sheet.edgeLength, Distance(face[k], face[(k + 1) % face.size()]));
    sheet.faces.push_back(std::move(face));
  }
  const auto& faces = sheet.faces;
  for (const EdgePair& pair : hinges) {
    CheckEdge(faces, pair.a);
    CheckEdge(faces, pair.b);
  }
  for (const EdgePair& pair : gluings) {
    CheckEdge(faces, pair.a);
    CheckEdge(faces, pair.b);
  }

  std::set<EdgeKey> hingeEdges;
  for (const EdgePair& pair : hinges) {
    hingeEdges.insert({pair.a.face, pair.a.corner});
    hingeEdges.insert({pair.b.face, pair.b.corner});
  }

  TabRequest request;
  request.faces = &faces;
  request.hinges = &hinges;
  request.gluings = &gluings;
  request.mode = options.tabs;
  request.side = options.tabSide;
  request.tolerance = 1e-6 * std::max(sheet.edgeLength, 1.0);
  sheet.tabs = PlaceTabs(request);
  std::map<EdgeKey, const GlueTab*> tabOf;
  std::set<int> pairsWithTab;
  for (const GlueTab& tab : sheet.tabs) {
    tabOf[{tab.edge.face, tab.edge.corner}] = &tab;
    pairsWithTab.insert(tab.pair);
  }

  // Hinges once each, as fold lines.
  for (const EdgePair& pair : hinges) {
    const auto& face = faces[pair.a.face - 1];
    sheet.lines.push_back({Corner(face, pair.a.corner), Corner(face, pair.a.corner + 1),
                           FoldKind(pair.dihedral, options.printInside)});
  }
  // Every other edge is cut, except where a tab sits: there the tab's root is
  // folded as the glued edge folds on the solid, and its outline cut.
  for (size_t f = 0; f < faces.size(); ++f) {
    const auto& face = faces[f];
    if (face.size() < 2) continue;
    const int n = static_cast<int>(face.size());
    for (int k = 0; k < (n == 2 ? 1 : n); ++k) {
      const EdgeKey key{static_cast<int>(f) + 1, k};
      if (hingeEdges.count(key)) continue;
      const auto tab = tabOf.find(key);
      if (tab == tabOf.end()) {
        sheet.lines.push_back({Corner(face, k), Corner(face, k + 1), LineKind::Cut});
        continue;
      }
      const auto& t = tab->second->corners;
      // A tab that starts further along its edge leaves the rest of it cut.
      const Vec2 p = Corner(face, k), q = Corner(face, k + 1);
      if (Distance(p, t[0]) > request.tolerance) sheet.lines.push_back({p, t[0], LineKind::Cut});
      if (Distance(t[1], q) > request.tolerance) sheet.lines.push_back({t[1], q, LineKind::Cut});
      sheet.lines.push_back({t[0], t[1], FoldKind(gluings[tab->second->pair].dihedral, options.printInside)});
      sheet.lines.push_back({t[1], t[2], LineKind::Cut});
      sheet.lines.push_back({t[2], t[3], LineKind::Cut});
      sheet.lines.push_back({t[3], t[0], LineKind::Cut});
    }
  }

  // Numbers on the glued pairs, and a cross on both edges of a pair that got no tab.
  for (size_t i = 0; i < gluings.size(); ++i) {
    const bool untabbed = options.tabs != TabMode::None && !pairsWithTab.count(static_cast<int>(i));
    if (!options.edgeNumbers && !untabbed) continue;
    const std::string number = std::to_string(i + 1);
    for (const SheetEdge& e : {gluings[i].a, gluings[i].b}) {
      const auto& face = faces[e.face - 1];
      sheet.labels.push_back(EdgeLabel(face, e.corner, number));
      if (!untabbed) continue;
      sheet.untabbed.push_back(e);
      const Vec2 p = Corner(face, e.corner);
      const Vec2 q = Corner(face, e.corner + 1);
      const double length = Distance(p, q);
      const double arm = std::min(1.5, 0.06 * length);
      const Vec2 inward = -1.0 * OutwardNormal(face, e.corner);
      // Beside the number, towards the edge's end.
      const Vec2 at = 0.5 * (p + q) + (0.2 * length) * ((1.0 / std::max(length, 1e-12)) * (q - p)) +
                      (arm * 1.5) * inward;
      sheet.marks.push_back({at + Vec2{-arm, -arm}, at + Vec2{arm, arm}, LineKind::Cut});
      sheet.marks.push_back({at + Vec2{-arm, arm}, at + Vec2{arm, -arm}, LineKind::Cut});
    }
  }

  for (size_t f = 0; f < faces.size(); ++f)
    if (options.faceNumbers && faces[f].size() >= 3)
      sheet.faceLabels.push_back(FaceLabel(faces[f], static_cast<int>(f) + 1));
  sheet.faceKinds = FaceKinds(faces, sheet.edgeLength);

  for (const auto& face : faces)
    for (const Vec2& p : face) sheet.bounds.Add(p);
  for (const SheetLine& line : sheet.lines) {
    sheet.bounds.Add(line.a);
    sheet.bounds.Add(line.b);
  }
  for (const SheetText& text : sheet.labels) AddText(sheet.bounds, text);
  return sheet;
}

namespace {

Vec2 Rotate(Vec2 p, double cosA, double sinA) { return {cosA * p.x - sinA * p.y, sinA * p.x + cosA * p.y}; }

// Applies f to every point of the sheet: faces, lines, marks, tabs and labels.
template <typename F>
void ForEachSheetPoint(NetSheet& sheet, F&& f) {
  for (auto& face : sheet.faces)
    for (Vec2& p : face) f(p);
  for (SheetLine& line : sheet.lines) {
    f(line.a);
    f(line.b);
  }
  for (SheetLine& line : sheet.marks) {
    f(line.a);
    f(line.b);
  }
  for (GlueTab& tab : sheet.tabs)
    for (Vec2& p : tab.corners) f(p);
  for (SheetText& text : sheet.labels) f(text.centre);
  for (SheetText& text : sheet.faceLabels) f(text.centre);
}

// Turns the sheet by the angle and moves its bounds to start at (0, 0).
void TurnAndSettle(NetSheet& sheet, double angle) {
  const double cosA = std::cos(angle);
  const double sinA = std::sin(angle);
  ForEachSheetPoint(sheet, [&](Vec2& p) { p = Rotate(p, cosA, sinA); });

  Box box;
  for (const auto& face : sheet.faces)
    for (const Vec2& p : face) box.Add(p);
  for (const SheetLine& line : sheet.lines) {
    box.Add(line.a);
    box.Add(line.b);
  }
  for (const SheetText& text : sheet.labels) AddText(box, text);
  const Vec2 shift{-box.left, -box.top};
  ForEachSheetPoint(sheet, [&](Vec2& p) { p = p + shift; });
  sheet.bounds = Box{};
  sheet.bounds.Add(Vec2{0.0, 0.0});
  sheet.bounds.Add(Vec2{box.Width(), box.Height()});
}

// Width and height of the sheet's outline turned by the angle.
std::pair<double, double> TurnedExtent(const NetSheet& sheet, double angle) {
  const double cosA = std::cos(angle);
  const double sinA = std::sin(angle);
  Box box;
  for (const SheetLine& line : sheet.lines) {
    box.Add(Rotate(line.a, cosA, sinA));
    box.Add(Rotate(line.b, cosA, sinA));
  }
  for (const auto& face : sheet.faces)
    for (const Vec2& p : face) box.Add(Rotate(p, cosA, sinA));
  for (const SheetText& text : sheet.labels) {
    const Vec2 c = Rotate(text.centre, cosA, sinA);
    const double r = std::max(TextWidth(text), text.height) / 2.0;
    box.Add(Vec2{c.x - r, c.y - r});
    box.Add(Vec2{c.x + r, c.y + r});
  }
  return {box.Width(), box.Height()};
}

struct Area {
  double width = 0.0;  // room for the net on one page, mm
  double height = 0.0;
};

Area ContentArea(PaperSize paper, bool landscape) {
  const double w = landscape ? paper.height : paper.width;
  const double h = landscape ? paper.width : paper.height;
  return {w - 2.0 * kPageMargin, h - 2.0 * kPageMargin - kHeaderHeight - kFooterHeight};
}

// Pages needed side by side; capped far above any sheet that is allowed, so
// that a net with faces strewn far apart cannot overflow the count.
int Tiles(double extent, double room) {
  if (extent <= room) return 1;
  const double tiles = std::ceil((extent - kTileOverlap) / (room - kTileOverlap) - 1e-9);
  return tiles < 1e6 ? static_cast<int>(tiles) : 1000000;
}

constexpr int kTurnSteps = 36;  // 5° apart, half a turn
double TurnAngle(int step) { return step * M_PI / kTurnSteps; }

}  // namespace

CraftSheet LayoutCraftSheet(const Construction& c, const std::vector<EdgePair>& hinges,
                            const std::vector<EdgePair>& gluings, const CraftOptions& options) {
  bool finite = c.IsConsistent();
  for (int i = 1; finite && i <= c.PointCount; ++i)
    finite = std::isfinite(c.NetPoints[i].x) && std::isfinite(c.NetPoints[i].y);
  if (!finite) throw CraftError("Das Netz ist beschädigt.");
  const bool fixedSize = options.edgeLength != 0.0;
  if (fixedSize && !(options.edgeLength >= kMinEdgeLength && options.edgeLength <= kMaxEdgeLength))
    throw CraftError("Die Kantenlänge muss zwischen 5 und 2000 mm liegen.");
  CraftOptions bare;
  bare.tabs = TabMode::None;
  bare.printInside = options.printInside;
  const NetSheet unit = LayoutNet(c, {}, {}, bare, 1.0);
  if (!(unit.edgeLength > 1e-9) || !std::isfinite(unit.edgeLength)) throw CraftError("Das Netz ist leer.");

  CraftSheet result;
  result.title = options.title.empty() ? "Netz" : options.title;
  result.paper = options.paper;
  const PaperSize paper = PaperSizeOf(options.paper);

  NetSheet net;
  double bestAngle = 0.0;
  bool landscape = false;
  if (fixedSize) {
    net = LayoutNet(c, hinges, gluings, options, options.edgeLength / unit.edgeLength);
    // Fewest pages; portrait and the net as drawn win ties.
    double fewest = 0.0;
    for (bool land : {false, true}) {
      const Area room = ContentArea(paper, land);
      for (int step = 0; step < kTurnSteps; ++step) {
        const auto [w, h] = TurnedExtent(net, TurnAngle(step));
        const double pages = static_cast<double>(Tiles(w, room.width)) * Tiles(h, room.height);
        if (fewest == 0 || pages < fewest) {
          fewest = pages;
          bestAngle = TurnAngle(step);
          landscape = land;
        }
      }
    }
  } else {
    // Choose the turn on the bare faces, then grow or shrink the scale until the
    // net with its tabs just fits.
    struct Candidate {
      double scale;
      double angle;
      bool land;
    };
    std::vector<Candidate> candidates;
    for (bool land : {false, true}) {
      const Area room = ContentArea(paper, land);
      for (int step = 0; step < kTurnSteps; ++step) {
        const auto [w, h] = TurnedExtent(unit, TurnAngle(step));
        candidates.push_back({std::min(room.width / w, room.height / h), TurnAngle(step), land});
      }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& x, const Candidate& y) { return x.scale > y.scale + 1e-9; });
    candidates.resize(std::min<size_t>(candidates.size(), 3));
    double bestScale = 0.0;
    for (const Candidate& candidate : candidates) {
      const Area room = ContentArea(paper, candidate.land);
      double scale = candidate.scale;
      for (int round = 0; round < 12; ++round) {
        NetSheet trial = LayoutNet(c, hinges, gluings, options, scale);
        const auto [w, h] = TurnedExtent(trial, candidate.angle);
        const double fit = std::min(room.width / w, room.height / h);
        if (fit >= 1.0 && scale > bestScale) {
          bestScale = scale;
          net = std::move(trial);
          bestAngle = candidate.angle;
          landscape = candidate.land;
        }
        if (fit >= 1.0 && fit < 1.002) break;
        scale *= fit >= 1.0 ? fit * 0.9995 : std::min(fit, 0.999);
      }
    }
    if (bestScale == 0.0) throw CraftError("Das Netz passt auf kein Blatt.");
  }
  TurnAndSettle(net, bestAngle);

  result.landscape = landscape;
  result.pageWidth = landscape ? paper.height : paper.width;
  result.pageHeight = landscape ? paper.width : paper.height;
  const Area room = ContentArea(paper, landscape);
  const double w = net.bounds.Width();
  const double h = net.bounds.Height();
  result.columns = Tiles(w, room.width);
  result.rows = Tiles(h, room.height);
  const long long pageCount = static_cast<long long>(result.columns) * result.rows;
  if (pageCount > kMaxPages)
    throw CraftError("Der Bastelbogen bräuchte " + std::to_string(pageCount) +
                     " Seiten, mehr als " + std::to_string(kMaxPages) +
                     ". Bitte eine kleinere Kantenlänge oder ein größeres Papier wählen.");
  const Vec2 contentOrigin{kPageMargin, kPageMargin + kHeaderHeight};
  const double stepX = room.width - kTileOverlap;
  const double stepY = room.height - kTileOverlap;
  for (int row = 0; row < result.rows; ++row) {
    for (int column = 0; column < result.columns; ++column) {
      SheetPage page;
      page.number = static_cast<int>(result.pages.size()) + 1;
      page.row = row;
      page.column = column;
      if (result.columns == 1 && result.rows == 1) {
        page.window = net.bounds;
        page.own = net.bounds;
        page.origin = contentOrigin + Vec2{(room.width - w) / 2.0, (room.height - h) / 2.0};
      } else {
        page.window.Add(Vec2{column * stepX, row * stepY});
        page.window.Add(Vec2{column * stepX + room.width, row * stepY + room.height});
        page.own.Add(Vec2{column * stepX, row * stepY});
        page.own.Add(Vec2{column + 1 == result.columns ? std::max(w, column * stepX) : (column + 1) * stepX,
                          row + 1 == result.rows ? std::max(h, row * stepY) : (row + 1) * stepY});
        page.origin = contentOrigin;
      }
      result.pages.push_back(page);
    }
  }
  result.net = std::move(net);
  return result;
}

}  // namespace didod::craft
