#include "render/net_renderer.h"

#include <cfenv>
#include <cmath>
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

struct Corner {
  PixelPoint pixel;
  bool fixed = false;
  int index = 0;
};

}  // namespace

void PB5Paintx(Canvas& canvas, const Construction& c, const RenderOptions& options) {
  const ViewCentre centre = ViewCentreOf(options.SheetWidth, options.SheetHeight);
  const long double scale = c.Scale;
  canvas.SetFont(kLabelFontFamily, kLabelFontPoints);
  canvas.SetBrushSolid(kRed);
  if (options.ShowPoints) canvas.Ellipse(centre.cx - 2, centre.cy - 2, centre.cx + 3, centre.cy + 3);

  std::unordered_set<int> dropped;
  if (options.LabelPoints) dropped = DroppedPoints(c.JoinList);

  std::vector<Corner> corners;
  corners.reserve(kMaxCorners);
  std::vector<PixelPoint> outline;
  outline.reserve(kMaxCorners);
  int point = 1;
  int label = 1;
  for (int f = 1; f <= c.FaceCount; ++f) {
    const int k = c.FaceSizes[f];
    if (k <= 0) continue;
    corners.clear();
    outline.clear();
    for (int j = 0; j < k && point <= c.PointCount; ++j, ++point) {
      const NetPoint& p = c.NetPoints[point];
      const PixelPoint pixel{RoundPixel(centre.cx + scale * static_cast<long double>(p.x)),
                             RoundPixel(centre.cy - scale * static_cast<long double>(p.y))};
      corners.push_back({pixel, c.ScreenPoints[point].Fixed, point});
      outline.push_back(pixel);
    }
    canvas.SetBrushClear();
    canvas.Polygon(outline);
    for (const Corner& corner : corners) {
      canvas.SetBrushSolid(corner.fixed ? kYellow : kLightBlue);
      const int px = corner.pixel.x, py = corner.pixel.y;
      if (options.ShowPoints) canvas.Ellipse(px - 3, py - 3, px + 4, py + 4);
      if (options.LabelPoints) {
        canvas.SetBrushClear();
        if (!dropped.contains(corner.index)) {
          canvas.TextOut(px + 2, py + 2, std::to_string(label));
          ++label;
        }
      }
    }
  }
}

}  // namespace didod
