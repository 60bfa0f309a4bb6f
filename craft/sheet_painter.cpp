#include "craft/sheet_painter.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

namespace didod::craft {

namespace {

void SetFontHeight(Canvas& canvas, double mm) {
  // The canvas makes a font of `points` FontPixelHeight(points) units tall.
  const int points = std::max(1, static_cast<int>(std::lround(mm * kUnitsPerMm * 72.0 / 96.0)));
  canvas.SetFont(kSheetFontFamily, points);
}

// Text centred on a point, with the width that the sheet font roughly has.
void CentredText(Canvas& canvas, Vec2 centre, double height, const std::string& text) {
  SetFontHeight(canvas, height);
  const double width = 0.6 * height * static_cast<double>(text.size());
  canvas.TextOut(static_cast<int>(std::lround((centre.x - width / 2.0) * kUnitsPerMm)),
                 static_cast<int>(std::lround((centre.y - height / 2.0) * kUnitsPerMm)), text);
}

void LeftText(Canvas& canvas, Vec2 topLeft, double height, const std::string& text) {
  SetFontHeight(canvas, height);
  canvas.TextOut(static_cast<int>(std::lround(topLeft.x * kUnitsPerMm)),
                 static_cast<int>(std::lround(topLeft.y * kUnitsPerMm)), text);
}

void MmLine(Canvas& canvas, Vec2 a, Vec2 b) {
  canvas.Line(a.x * kUnitsPerMm, a.y * kUnitsPerMm, b.x * kUnitsPerMm, b.y * kUnitsPerMm);
}

void Pen(Canvas& canvas, PenStyle style, double widthMm, Colour colour = kBlack) {
  canvas.SetPenColour(colour);
  canvas.SetPenStyle(style);
  canvas.SetPenWidth(widthMm * kUnitsPerMm);
}

// The part `window` of the net, shown with its top-left corner at `origin`.
struct View {
  Box window;
  Vec2 origin;
  Vec2 Place(Vec2 p) const { return origin + (p - Vec2{window.left, window.top}); }
  bool Shows(Vec2 p) const {
    return p.x >= window.left && p.x <= window.right && p.y >= window.top && p.y <= window.bottom;
  }
};

void DrawLines(Canvas& canvas, const std::vector<SheetLine>& lines, LineKind kind, const View& view) {
  for (const SheetLine& line : lines) {
    if (line.kind != kind) continue;
    Vec2 a = line.a, b = line.b;
    if (!ClipSegment(a, b, view.window)) continue;
    if (Distance(a, b) < 1e-9) continue;
    MmLine(canvas, view.Place(a), view.Place(b));
  }
}

// Light enough that every line and number stays clear on it in black and white.
constexpr Colour kFacePalette[] = {{255, 238, 179}, {200, 228, 255}, {212, 242, 200}, {255, 214, 214},
                                   {232, 218, 250}, {255, 226, 196}, {204, 240, 238}, {238, 238, 204}};
constexpr Colour kFaceNumberColour{96, 96, 96};

void DrawFaceColours(Canvas& canvas, const NetSheet& net, const View& view) {
  canvas.BeginGroup(kColourGroup);
  canvas.SetPenStyle(PenStyle::None);
  for (size_t f = 0; f < net.faces.size(); ++f) {
    const std::vector<Vec2> part = ClipPolygon(net.faces[f], view.window);
    if (part.empty()) continue;
    const size_t kind = f < net.faceKinds.size() ? static_cast<size_t>(net.faceKinds[f]) : 0;
    canvas.SetBrushSolid(kFacePalette[kind % std::size(kFacePalette)]);
    std::vector<PixelPoint> corners;
    for (const Vec2& p : part) {
      const Vec2 at = view.Place(p);
      corners.push_back({static_cast<int>(std::lround(at.x * kUnitsPerMm)),
                         static_cast<int>(std::lround(at.y * kUnitsPerMm))});
    }
    canvas.Polygon(corners);
  }
  canvas.SetBrushClear();
  canvas.EndGroup();
}

void DrawNet(Canvas& canvas, const NetSheet& net, const View& view) {
  if (net.faceColours) DrawFaceColours(canvas, net, view);
  canvas.SetBrushClear();
  canvas.BeginGroup(kCutGroup);
  Pen(canvas, PenStyle::Solid, kCutPenWidth);
  DrawLines(canvas, net.lines, LineKind::Cut, view);
  canvas.EndGroup();

  canvas.BeginGroup(kFoldGroup);
  Pen(canvas, PenStyle::Dash, kFoldPenWidth);
  DrawLines(canvas, net.lines, LineKind::Mountain, view);
  Pen(canvas, PenStyle::DashDot, kFoldPenWidth);
  DrawLines(canvas, net.lines, LineKind::Valley, view);
  canvas.EndGroup();
}

void DrawNetMarks(Canvas& canvas, const NetSheet& net, const View& view) {
  Pen(canvas, PenStyle::Solid, kMarkPenWidth);
  for (const SheetLine& mark : net.marks) {
    Vec2 a = mark.a, b = mark.b;
    if (ClipSegment(a, b, view.window)) MmLine(canvas, view.Place(a), view.Place(b));
  }
  for (const SheetText& label : net.labels)
    if (view.Shows(label.centre)) CentredText(canvas, view.Place(label.centre), label.height, label.text);
  if (net.faceLabels.empty()) return;
  canvas.SetPenColour(kFaceNumberColour);
  for (const SheetText& label : net.faceLabels)
    if (view.Shows(label.centre)) CentredText(canvas, view.Place(label.centre), label.height, label.text);
  canvas.SetPenColour(kBlack);
}

// What the lines and marks mean, small, in the footer right of the scale bar:
// three rows of samples with their names.
void DrawLegend(Canvas& canvas, const NetSheet& net, double pageHeight) {
  const double left = kLegendLeft;
  const double top = pageHeight - kPageMargin - kFooterHeight + 1.0;
  const double row = 3.6;
  const double column = 24.0;
  const double sample = 8.0;
  const double text = 2.0;
  auto at = [&](int r, int c) { return Vec2{left + c * column, top + r * row + 1.0}; };
  auto label = [&](int r, int c, const std::string& name, double indent) {
    LeftText(canvas, at(r, c) + Vec2{indent, -text / 2.0}, text, name);
  };
  auto line = [&](int r, int c, PenStyle style, double width) {
    Pen(canvas, style, width);
    MmLine(canvas, at(r, c), at(r, c) + Vec2{sample, 0.0});
  };
  line(0, 0, PenStyle::Solid, kCutPenWidth);
  line(0, 1, PenStyle::Dash, kFoldPenWidth);
  line(0, 2, PenStyle::DashDot, kFoldPenWidth);
  Pen(canvas, PenStyle::Solid, kMarkPenWidth);
  label(0, 0, "Schnittlinie", sample + 1.5);
  label(0, 1, "Bergfalte", sample + 1.5);
  label(0, 2, "Talfalte", sample + 1.5);

  // A tab: its root folded, its outline cut.
  const Vec2 root = at(1, 0) + Vec2{0.0, 1.0};
  Pen(canvas, PenStyle::Dash, kFoldPenWidth);
  MmLine(canvas, root, root + Vec2{sample, 0.0});
  Pen(canvas, PenStyle::Solid, kCutPenWidth);
  MmLine(canvas, root + Vec2{sample, 0.0}, root + Vec2{sample - 1.6, -1.6});
  MmLine(canvas, root + Vec2{sample - 1.6, -1.6}, root + Vec2{1.6, -1.6});
  MmLine(canvas, root + Vec2{1.6, -1.6}, root);
  Pen(canvas, PenStyle::Solid, kMarkPenWidth);
  label(1, 0, "Klebelasche", sample + 1.5);
  CentredText(canvas, at(1, 1) + Vec2{1.5, 0.0}, text, "7");
  label(1, 1, "Kantennummer", 4.0);
  if (!net.faceLabels.empty()) {
    canvas.SetPenColour(kFaceNumberColour);
    CentredText(canvas, at(1, 2) + Vec2{1.5, 0.0}, text, "3");
    canvas.SetPenColour(kBlack);
    label(1, 2, "Flächennummer", 4.0);
  }
  const Vec2 cross = at(2, 0) + Vec2{1.5, 0.0};
  const double arm = 1.0;
  MmLine(canvas, cross + Vec2{-arm, -arm}, cross + Vec2{arm, arm});
  MmLine(canvas, cross + Vec2{-arm, arm}, cross + Vec2{arm, -arm});
  label(2, 0, "Kante ohne Lasche: auf die Lasche der Partnerkante kleben", 4.0);
}

// Title at the top, a 10 cm bar with centimetre ticks at the bottom, so that the
// printed size can be checked with a ruler.
void DrawFurniture(Canvas& canvas, const std::string& title, const std::string& pageText, double width,
                   double height) {
  Pen(canvas, PenStyle::Solid, kMarkPenWidth);
  LeftText(canvas, {kPageMargin, kPageMargin}, 5.0, title);
  if (!pageText.empty()) {
    const double textWidth = 0.6 * 3.5 * static_cast<double>(pageText.size());
    LeftText(canvas, {width - kPageMargin - textWidth, kPageMargin + 1.0}, 3.5, pageText);
  }
  const double y = height - kPageMargin - 6.0;
  const double x0 = kPageMargin;
  const double x1 = kPageMargin + kScaleBarLength;
  Pen(canvas, PenStyle::Solid, 0.3);
  MmLine(canvas, {x0, y}, {x1, y});
  for (int cm = 0; cm <= 10; ++cm) {
    const double x = x0 + cm * 10.0;
    const double tick = (cm == 0 || cm == 10) ? 3.0 : cm == 5 ? 2.0 : 1.2;
    MmLine(canvas, {x, y - tick}, {x, y});
  }
  LeftText(canvas, {x1 + 3.0, y - 2.5}, 3.5, "10 cm");
}

// Crosses at the corners of the strips that two neighbouring pages share: laid on
// top of each other they line the pages up.
void DrawOverlapMarks(Canvas& canvas, const CraftSheet& sheet, const SheetPage& page, const View& view) {
  Pen(canvas, PenStyle::Solid, kMarkPenWidth, Colour{128, 128, 128});
  auto cross = [&](Vec2 p) {
    const Vec2 at = view.Place(p);
    MmLine(canvas, at + Vec2{-2.5, 0.0}, at + Vec2{2.5, 0.0});
    MmLine(canvas, at + Vec2{0.0, -2.5}, at + Vec2{0.0, 2.5});
  };
  const Box& w = page.window;
  const double inset = 3.0;
  auto pageAt = [&](int row, int column) { return row * sheet.columns + column + 1; };
  auto strip = [&](double x, bool vertical) {
    if (vertical) {
      cross({x, w.top + inset});
      cross({x, w.bottom - inset});
    } else {
      cross({w.left + inset, x});
      cross({w.right - inset, x});
    }
  };
  if (page.column + 1 < sheet.columns) {
    strip(page.own.right, true);
    strip(w.right, true);
    CentredText(canvas, view.Place({w.right - kTileOverlap / 2.0, (w.top + w.bottom) / 2.0}), 2.5,
                "> " + std::to_string(pageAt(page.row, page.column + 1)));
  }
  if (page.column > 0) {
    strip(w.left, true);
    strip(w.left + kTileOverlap, true);
    CentredText(canvas, view.Place({w.left + kTileOverlap / 2.0, (w.top + w.bottom) / 2.0}), 2.5,
                std::to_string(pageAt(page.row, page.column - 1)) + " <");
  }
  if (page.row + 1 < sheet.rows) {
    strip(page.own.bottom, false);
    strip(w.bottom, false);
    CentredText(canvas, view.Place({(w.left + w.right) / 2.0, w.bottom - kTileOverlap / 2.0}), 2.5,
                "v " + std::to_string(pageAt(page.row + 1, page.column)));
  }
  if (page.row > 0) {
    strip(w.top, false);
    strip(w.top + kTileOverlap, false);
    CentredText(canvas, view.Place({(w.left + w.right) / 2.0, w.top + kTileOverlap / 2.0}), 2.5,
                "^ " + std::to_string(pageAt(page.row - 1, page.column)));
  }
}

}  // namespace

void DrawCraftPage(Canvas& canvas, const CraftSheet& sheet, int index) {
  if (index < 0 || index >= static_cast<int>(sheet.pages.size())) return;
  const SheetPage& page = sheet.pages[static_cast<size_t>(index)];
  const View view{page.window, page.origin};
  DrawNet(canvas, sheet.net, view);
  canvas.BeginGroup(kMarkGroup);
  DrawNetMarks(canvas, sheet.net, view);
  if (sheet.pages.size() > 1) DrawOverlapMarks(canvas, sheet, page, view);
  const std::string pageText = sheet.pages.size() > 1 ? "Seite " + std::to_string(page.number) + " von " +
                                                            std::to_string(sheet.pages.size())
                                                      : std::string();
  DrawFurniture(canvas, sheet.title, pageText, sheet.pageWidth, sheet.pageHeight);
  if (index == 0) DrawLegend(canvas, sheet.net, sheet.pageHeight);
  canvas.EndGroup();
}

PaperSize WholeSheetSize(const CraftSheet& sheet) {
  const double w = sheet.net.bounds.Width();
  const double h = sheet.net.bounds.Height();
  if (sheet.pages.size() == 1) return {sheet.pageWidth, sheet.pageHeight};
  return {std::max(w, kLegendLeft + kLegendWidth - kPageMargin) + 2.0 * kPageMargin,
          h + 2.0 * kPageMargin + kHeaderHeight + kFooterHeight};
}

void DrawWholeSheet(Canvas& canvas, const CraftSheet& sheet) {
  if (sheet.pages.size() == 1) {
    DrawCraftPage(canvas, sheet, 0);
    return;
  }
  const PaperSize size = WholeSheetSize(sheet);
  const View view{sheet.net.bounds, {kPageMargin, kPageMargin + kHeaderHeight}};
  DrawNet(canvas, sheet.net, view);
  canvas.BeginGroup(kMarkGroup);
  DrawNetMarks(canvas, sheet.net, view);
  DrawFurniture(canvas, sheet.title, std::string(), size.width, size.height);
  DrawLegend(canvas, sheet.net, size.height);
  canvas.EndGroup();
}

}  // namespace didod::craft
