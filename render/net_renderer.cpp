#include "render/net_renderer.h"

#include <cfenv>
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <unordered_set>

#include "model/join_line.h"

namespace didod {

int RoundPixel(long double value) {
  // nearbyint honours the current rounding mode, which is round-to-nearest-even by default.
  const long double r = std::nearbyint(value);
  if (!(r > -2147483648.0L)) return INT32_MIN;
  if (!(r < 2147483647.0L)) return INT32_MAX;
  return static_cast<int>(r);
}

namespace {

// The points that were dropped onto another point and so get no label.
std::unordered_set<int> DroppedPoints(const std::vector<std::string>& joinList) {
  std::unordered_set<int> dropped;
  for (const std::string& line : joinList)
    if (const int point = DroppedPointOf(line)) dropped.insert(point);
  return dropped;
}

}  // namespace

// The label counter runs over the points in index order and counts only the
// points that were not dropped onto another one.
void NetLayout::UpdateLabels(const Construction& c) {
  if (pointCount_ == c.PointCount && joinList_ == c.JoinList) return;
  const std::unordered_set<int> dropped = DroppedPoints(c.JoinList);
  labels_.assign(static_cast<std::size_t>(std::max(c.PointCount, 0)) + 1, 0);
  int label = 1;
  for (int i = 1; i <= c.PointCount; ++i)
    if (!dropped.contains(i)) labels_[static_cast<std::size_t>(i)] = label++;
  joinList_ = c.JoinList;
  pointCount_ = c.PointCount;
}

// pixel = centre + Scale * net position, y negated, formed in extended precision.
PixelPoint NetLayout::Place(int point, const NetPoint& p) {
  const auto i = static_cast<std::size_t>(point);
  if (placed_[i] == p) return pixels_[i];
  const long double scale = scale_;
  const PixelPoint pixel{RoundPixel(centre_.cx + scale * static_cast<long double>(p.x)),
                         RoundPixel(centre_.cy - scale * static_cast<long double>(p.y))};
  placed_[i] = p;
  pixels_[i] = pixel;
  return pixel;
}

void NetLayout::LayOut(const Construction& c, const RenderOptions& options, NetDrawing& out) {
  out.options = options;
  out.centre = ViewCentreOf(options.SheetWidth, options.SheetHeight);
  out.faces.clear();
  out.corners.clear();
  if (options.LabelPoints) UpdateLabels(c);
  const std::size_t slots = static_cast<std::size_t>(std::max(c.PointCount, 0)) + 1;
  if (c.Scale != scale_ || out.centre != centre_ || placed_.size() < slots) {
    // Nothing placed so far holds: mark every slot as not placed.
    scale_ = c.Scale;
    centre_ = out.centre;
    const double none = std::numeric_limits<double>::quiet_NaN();
    placed_.assign(std::max(slots, placed_.size()), NetPoint{none, none});
    pixels_.assign(placed_.size(), PixelPoint{});
  }
  int point = 1;
  for (int f = 1; f <= c.FaceCount; ++f) {
    const int k = c.FaceSizes[f];
    DrawnFace face;
    face.first = static_cast<int>(out.corners.size());
    face.drawn = k > 0;
    for (int j = 0; j < k && point <= c.PointCount; ++j, ++point) {
      const PixelPoint pixel = Place(point, c.NetPoints[point]);
      out.corners.push_back(
          {pixel, c.ScreenPoints[point].Fixed, options.LabelPoints ? labels_[static_cast<std::size_t>(point)] : 0});
    }
    face.end = static_cast<int>(out.corners.size());
    out.faces.push_back(face);
  }
}

void DrawOrigin(Canvas& canvas, const NetDrawing& drawing) {
  const ViewCentre centre = drawing.centre;
  canvas.SetFont(kLabelFontFamily, kLabelFontPoints);
  canvas.SetBrushSolid(kRed);
  if (drawing.options.ShowPoints) canvas.Ellipse(centre.cx - 2, centre.cy - 2, centre.cx + 3, centre.cy + 3);
}

void DrawFace(Canvas& canvas, const NetDrawing& drawing, int f) {
  const DrawnFace& face = drawing.Face(f);
  if (!face.drawn) return;
  const auto first = drawing.corners.begin() + face.first, end = drawing.corners.begin() + face.end;
  std::vector<PixelPoint> outline;
  outline.reserve(static_cast<std::size_t>(face.end - face.first));
  for (auto corner = first; corner != end; ++corner) outline.push_back(corner->pixel);
  canvas.SetBrushClear();
  canvas.Polygon(outline);
  for (auto corner = first; corner != end; ++corner) {
    canvas.SetBrushSolid(corner->fixed ? kYellow : kLightBlue);
    const int px = corner->pixel.x, py = corner->pixel.y;
    if (drawing.options.ShowPoints) canvas.Ellipse(px - 3, py - 3, px + 4, py + 4);
    if (drawing.options.LabelPoints) {
      canvas.SetBrushClear();
      if (corner->label > 0) canvas.TextOut(px + 2, py + 2, std::to_string(corner->label));
    }
  }
}

void PB5Paintx(Canvas& canvas, const NetDrawing& drawing) {
  DrawOrigin(canvas, drawing);
  for (int f = 1; f <= drawing.FaceCount(); ++f) DrawFace(canvas, drawing, f);
}

void PB5Paintx(Canvas& canvas, const Construction& c, const RenderOptions& options) {
  NetDrawing drawing;
  NetLayout().LayOut(c, options, drawing);
  PB5Paintx(canvas, drawing);
}

}  // namespace didod
