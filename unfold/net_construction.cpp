#include "unfold/net_construction.h"

#include <algorithm>
#include <string>

namespace didod::unfold {

NetPoints PointsOfNet(const Net& net) {
  const auto& faces = net.faces;
  NetPoints out;
  std::vector<int> first;  // point number of each face's first written corner
  for (const NetFace& f : faces) {
    first.push_back(out.PointCount() + 1);
    const int m = static_cast<int>(f.corners.size());
    out.faceSizes.push_back(m);
    for (int p = 0; p < m; ++p) out.points.push_back(f.corners[((f.firstCorner - p) % m + m) % m]);
  }
  out.fixed.assign(out.points.size(), false);
  auto pointOf = [&](int face, int corner) {
    const int m = static_cast<int>(faces[face].corners.size());
    return first[face] + ((faces[face].firstCorner - corner) % m + m) % m;
  };
  for (int k = 1; k < static_cast<int>(faces.size()); ++k) {
    const NetFace& f = faces[k];
    const int pm = static_cast<int>(faces[f.parent].corners.size()), m = static_cast<int>(f.corners.size());
    const int moved = pointOf(k, f.ownEdge), turned = pointOf(k, (f.ownEdge + 1) % m);
    out.joins.push_back({moved, pointOf(f.parent, (f.parentEdge + 1) % pm)});
    out.joins.push_back({turned, pointOf(f.parent, f.parentEdge)});
    out.fixed[moved - 1] = out.fixed[turned - 1] = true;
  }
  return out;
}

std::optional<Construction> NetConstruction(const Net& net, ViewCentre centre) {
  const NetPoints points = PointsOfNet(net);
  Construction c;
  int at = 0;
  for (int size : points.faceSizes) {
    std::vector<NetPoint> corners;
    for (int k = 0; k < size; ++k, ++at) corners.push_back({points.points[at].x, points.points[at].y});
    if (size > kMaxCorners || !c.AppendWholeFace(corners, centre)) return std::nullopt;
  }
  for (int i = 0; i < points.PointCount(); ++i) c.ScreenPoints[i + 1].Fixed = points.fixed[i];
  for (const auto& [a, b] : points.joins) c.JoinList.push_back(std::to_string(a) + "\t" + std::to_string(b));
  return c;
}

SheetBox SheetBoxFor(int sheetWidth, int sheetHeight) {
  constexpr int kDesignWidth = 799, kDesignHeight = 638;
  const SheetBox design;
  const ViewCentre given = ViewCentreOf(sheetWidth, sheetHeight), designed = ViewCentreOf(kDesignWidth, kDesignHeight);
  // A tiny sheet still gets a box the size of a few polygons, so that a net can be laid at all.
  constexpr double kSmallest = 1.0;
  return {std::max(kSmallest, design.halfWidth + (given.cx - designed.cx) / kStandardScale),
          std::max(kSmallest, design.halfHeight + (given.cy - designed.cy) / kStandardScale)};
}

}  // namespace didod::unfold
