#include "model/construction.h"

namespace didod {

Construction::Construction() { AllocateStore(); }

void Construction::AllocateStore() {
  NetPoints.assign(kPointSlots, NetPoint{});
  GrabCopy.assign(kPointSlots, NetPoint{});
  ScreenPoints.assign(kPointSlots, ScreenPoint{});
  FaceSizes.assign(kFaceSlots, 0);
}

void Construction::ReleaseStore() {
  NetPoints.clear();
  GrabCopy.clear();
  ScreenPoints.clear();
  FaceSizes.clear();
  NetPoints.shrink_to_fit();
  GrabCopy.shrink_to_fit();
  ScreenPoints.shrink_to_fit();
  FaceSizes.shrink_to_fit();
}

void Construction::ResetConstruction() {
  ResetScale();
  JoinList.clear();
  ReleaseStore();
  FaceCount = 0;
  PointCount = 0;
  AllocateStore();
}

double PixelX(double x, double scale, int cx) {
  return static_cast<double>(static_cast<long double>(cx) +
                             static_cast<long double>(scale) * static_cast<long double>(x));
}

double PixelY(double y, double scale, int cy) {
  return static_cast<double>(static_cast<long double>(cy) -
                             static_cast<long double>(scale) * static_cast<long double>(y));
}

bool Construction::AppendPoint(double x, double y, ViewCentre centre) {
  if (PointCount >= kMaxPoints || static_cast<int>(NetPoints.size()) < kPointSlots) return false;
  ++PointCount;
  NetPoints[PointCount] = {x, y};
  ScreenPoints[PointCount] = {PixelX(x, Scale, centre.cx), PixelY(y, Scale, centre.cy), false};
  return true;
}

bool Construction::AppendFace(int n) {
  if (FaceCount >= kMaxFaces || static_cast<int>(FaceSizes.size()) < kFaceSlots) return false;
  ++FaceCount;
  FaceSizes[FaceCount] = n;
  return true;
}

bool Construction::CanAppendFace(int n) const {
  return n >= 0 && n <= kMaxCorners && FaceCount < kMaxFaces && PointCount + n <= kMaxPoints &&
         static_cast<int>(FaceSizes.size()) == kFaceSlots &&
         static_cast<int>(NetPoints.size()) == kPointSlots;
}

bool Construction::AppendWholeFace(const std::vector<NetPoint>& corners, ViewCentre centre) {
  const int n = static_cast<int>(corners.size());
  if (!CanAppendFace(n)) return false;
  for (const NetPoint& p : corners) AppendPoint(p.x, p.y, centre);
  AppendFace(n);
  return true;
}

void Construction::RecomputeScreenPoints(ViewCentre centre) {
  for (int i = 1; i <= PointCount; ++i) {
    ScreenPoints[i].x = PixelX(NetPoints[i].x, Scale, centre.cx);
    ScreenPoints[i].y = PixelY(NetPoints[i].y, Scale, centre.cy);
  }
}

FaceRangeResult Construction::FaceRange(int face) const {
  if (face < 1 || face > FaceCount) return {};
  int first = 1;
  for (int f = 1; f < face; ++f) first += FaceSizes[f];
  return {face, first, first + FaceSizes[face] - 1};
}

FaceRangeResult Construction::FaceOfPoint(int point) const {
  int total = 0;
  for (int f = 1; f <= FaceCount; ++f) {
    const int before = total;
    total += FaceSizes[f];
    if (total >= point) return {f, before + 1, total};
  }
  return {};
}

ScreenPoint Construction::ToPixel(double x, double y, ViewCentre centre) const {
  return {PixelX(x, Scale, centre.cx), PixelY(y, Scale, centre.cy), false};
}

NetPoint Construction::ToNet(double px, double py, ViewCentre centre) const {
  return {(px - centre.cx) / Scale, (centre.cy - py) / Scale};
}

bool Construction::IsConsistent() const {
  if (FaceCount < 0 || FaceCount > kMaxFaces || PointCount < 0 || PointCount > kMaxPoints) return false;
  if (static_cast<int>(FaceSizes.size()) != kFaceSlots || static_cast<int>(NetPoints.size()) != kPointSlots ||
      static_cast<int>(ScreenPoints.size()) != kPointSlots || static_cast<int>(GrabCopy.size()) != kPointSlots)
    return false;
  long total = 0;
  for (int f = 1; f <= FaceCount; ++f) {
    if (FaceSizes[f] < 0 || FaceSizes[f] > kMaxCorners) return false;
    total += FaceSizes[f];
  }
  return total == PointCount && Scale > 0.0;
}

bool Construction::SameContent(const Construction& other) const {
  if (FaceCount != other.FaceCount || PointCount != other.PointCount || Scale != other.Scale ||
      JoinList != other.JoinList)
    return false;
  for (int f = 1; f <= FaceCount; ++f)
    if (FaceSizes[f] != other.FaceSizes[f]) return false;
  for (int i = 1; i <= PointCount; ++i)
    if (NetPoints[i] != other.NetPoints[i] || ScreenPoints[i] != other.ScreenPoints[i]) return false;
  return true;
}

}  // namespace didod
