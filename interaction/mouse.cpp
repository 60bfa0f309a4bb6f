#include "interaction/mouse.h"

#include <cmath>
#include <cstddef>
#include <string>

#include "model/join_line.h"

namespace didod {

namespace {

bool Hits(const ScreenPoint& p, int X, int Y) {
  return std::fabs(X - p.x) < kPickTolerance && std::fabs(Y - p.y) < kPickTolerance;
}

void SetNet(Construction& c, int j, double x, double y, ViewCentre centre) {
  c.NetPoints[j] = {x, y};
  c.ScreenPoints[j].x = PixelX(x, c.Scale, centre.cx);
  c.ScreenPoints[j].y = PixelY(y, c.Scale, centre.cy);
}

// The drag state can only go stale when the construction is replaced while the
// button is held (a load or a clear from the keyboard); such a drag is dropped
// rather than writing into points that now belong to other faces.
bool DragStillValid(const Construction& c, const DragState& s) {
  if (s.GrabFirst < 1 || s.GrabLast > c.PointCount || c.GrabbedPoint < s.GrabFirst ||
      c.GrabbedPoint > s.GrabLast)
    return false;
  const FaceRangeResult range = c.FaceOfPoint(s.GrabFirst);
  if (range.first != s.GrabFirst || range.last != s.GrabLast) return false;
  if (s.Offsets.size() != static_cast<std::size_t>(s.GrabLast - s.GrabFirst + 1)) return false;
  if (s.GrabFixedCount == 0) return true;
  return s.GrabFixedCount == 1 && s.Pivot >= s.GrabFirst && s.Pivot <= s.GrabLast;
}

// Translates the grabbed face from its snapshot so that the grabbed point lies
// on the net position under the pointer.
void MoveFace(Construction& c, const DragState& s, int X, int Y, ViewCentre centre) {
  const NetPoint& g = c.GrabCopy[c.GrabbedPoint - s.GrabFirst];
  const double dx = (X - centre.cx) / c.Scale - g.x;
  const double dy = (centre.cy - Y) / c.Scale - g.y;
  for (int j = s.GrabFirst; j <= s.GrabLast; ++j) {
    const NetPoint& from = c.GrabCopy[j - s.GrabFirst];
    SetNet(c, j, from.x + dx, from.y + dy, centre);
  }
}

// Turns the grabbed face rigidly about the pivot by delta, always starting from
// the snapshot so that no error builds up over many moves.
void TurnFace(Construction& c, DragState& s, double delta, ViewCentre centre) {
  const NetPoint centreNet = c.GrabCopy[s.Pivot - s.GrabFirst];
  const int n = s.GrabLast - s.GrabFirst + 1;
  for (int k = 0; k < n; ++k) {
    const double ox = c.GrabCopy[k].x - centreNet.x;
    const double oy = c.GrabCopy[k].y - centreNet.y;
    const double r = std::sqrt(ox * ox + oy * oy);
    const double alpha = std::atan2(oy, ox);
    s.Offsets[k] = {r * std::cos(alpha + delta), r * std::sin(alpha + delta)};
  }
  for (int j = s.GrabFirst; j <= s.GrabLast; ++j) {
    const NetPoint& o = s.Offsets[j - s.GrabFirst];
    SetNet(c, j, centreNet.x + o.x, centreNet.y + o.y, centre);
  }
}

// Direction of the pointer seen from the pivot's stored pixel position.
double PointerTurn(const Construction& c, const DragState& s, int X, int Y) {
  const ScreenPoint& pivot = c.ScreenPoints[s.Pivot];
  return std::atan2(pivot.y - Y, X - pivot.x) - s.StartAngle;
}

void PlaceFace(Construction& c, DragState& s, int X, int Y, ViewCentre centre) {
  if (s.GrabFixedCount == 0)
    MoveFace(c, s, X, Y, centre);
  else
    TurnFace(c, s, PointerTurn(c, s, X, Y), centre);
}

// Joins the grabbed point to the partner under the pointer, if there is one.
void JoinStep(Construction& c, DragState& s, int X, int Y, ViewCentre centre) {
  const int q = FindPartner(c, X, Y, s.GrabFirst, s.GrabLast);
  if (q == 0) return;
  const int grabbed = c.GrabbedPoint;
  c.JoinList.push_back(JoinLineText(grabbed, q));
  if (s.GrabFixedCount == 0) {
    const double dx = c.NetPoints[q].x - c.NetPoints[grabbed].x;
    const double dy = c.NetPoints[q].y - c.NetPoints[grabbed].y;
    for (int j = s.GrabFirst; j <= s.GrabLast; ++j)
      SetNet(c, j, c.NetPoints[j].x + dx, c.NetPoints[j].y + dy, centre);
  } else {
    // The partner's direction from the pivot, from the pixel positions that the
    // current net positions map to (not the stored ones).
    const double pivotX = PixelX(c.NetPoints[s.Pivot].x, c.Scale, centre.cx);
    const double pivotY = PixelY(c.NetPoints[s.Pivot].y, c.Scale, centre.cy);
    const double partnerX = PixelX(c.NetPoints[q].x, c.Scale, centre.cx);
    const double partnerY = PixelY(c.NetPoints[q].y, c.Scale, centre.cy);
    const double psi = std::atan2(pivotY - partnerY, partnerX - pivotX);
    TurnFace(c, s, psi - s.StartAngle, centre);
  }
  c.ScreenPoints[grabbed].Fixed = true;
}

}  // namespace

int PickPoint(const Construction& c, int X, int Y) {
  for (int i = c.PointCount; i >= 1; --i)
    if (Hits(c.ScreenPoints[i], X, Y)) return i;
  return 0;
}

int FindPartner(const Construction& c, int X, int Y, int first, int last) {
  for (int j = 1; j <= c.PointCount; ++j) {
    if (j >= first && j <= last) continue;
    if (Hits(c.ScreenPoints[j], X, Y)) return j;
  }
  return 0;
}

bool DeleteFace(Construction& c, int face, int first, int last) {
  if (face <= 1 || face > c.FaceCount) return false;
  const int n = c.FaceSizes[face];
  const int oldCount = c.PointCount;
  for (int j = last + 1; j <= oldCount; ++j) {
    c.NetPoints[j - n] = c.NetPoints[j];
    c.ScreenPoints[j - n] = c.ScreenPoints[j];
  }
  // Lines of the deleted points go; later first numbers move down by n. One pass
  // over the lines gives the same as walking the later points in ascending
  // order, since a lowered number never reaches a point still to be walked.
  std::vector<std::string> kept;
  kept.reserve(c.JoinList.size());
  for (std::string& line : c.JoinList) {
    const int k = DroppedPointOf(line);
    if (k >= first && k <= last) continue;
    if (k > last && k <= oldCount) {
      const std::size_t tab = line.find('\t');
      line = std::to_string(k - n) + line.substr(tab, 255);
    }
    kept.push_back(std::move(line));
  }
  c.JoinList = std::move(kept);
  c.PointCount -= n;
  for (int g = face; g < c.FaceCount; ++g) c.FaceSizes[g] = c.FaceSizes[g + 1];
  --c.FaceCount;
  return true;
}

MouseResult PB5MouseDown(Construction& c, DragState& s, MouseButton button, int X, int Y,
                         ViewCentre centre) {
  // A second button pressed during a drag would act on the face being dragged.
  if (c.GrabbedPoint != 0) return {};
  const int p = PickPoint(c, X, Y);
  if (p == 0) return {};
  const FaceRangeResult range = c.FaceOfPoint(p);
  if (range.face == 0) return {};
  s.GrabFirst = range.first;
  s.GrabLast = range.last;

  if (button == MouseButton::Right) {
    if (!DeleteFace(c, range.face, range.first, range.last)) return {};
    return {true, MouseStep::FaceDeleted};
  }

  int fixed = 0;
  for (int j = range.first; j <= range.last; ++j) {
    if (c.ScreenPoints[j].Fixed) {
      ++fixed;
      s.Pivot = j;
    }
  }
  s.GrabFixedCount = fixed;
  // Two fixed points lock a face; a file may hold a face with more, locked too.
  if (fixed >= 2) return {};

  const int n = range.last - range.first + 1;
  for (int k = 0; k < n; ++k) c.GrabCopy[k] = c.NetPoints[range.first + k];
  s.Offsets.assign(n, NetPoint{});
  c.GrabbedPoint = p;
  if (fixed == 1) {
    const ScreenPoint& pivot = c.ScreenPoints[s.Pivot];
    const ScreenPoint& grabbed = c.ScreenPoints[p];
    s.StartAngle = std::atan2(pivot.y - grabbed.y, grabbed.x - pivot.x);
  }
  return {false, MouseStep::DragBegun};
}

MouseResult PB5MouseMove(Construction& c, DragState& s, int X, int Y, ViewCentre centre) {
  if (c.GrabbedPoint < 1) return {};
  if (!DragStillValid(c, s)) {
    c.GrabbedPoint = 0;
    return {true, MouseStep::DragEnded};
  }
  PlaceFace(c, s, X, Y, centre);
  return {true, MouseStep::None};
}

MouseResult PB5MouseUp(Construction& c, DragState& s, MouseButton, int X, int Y, ViewCentre centre) {
  if (c.GrabbedPoint <= 0) return {};
  if (DragStillValid(c, s)) {
    PlaceFace(c, s, X, Y, centre);
    JoinStep(c, s, X, Y, centre);
  }
  c.GrabbedPoint = 0;
  return {true, MouseStep::DragEnded};
}

}  // namespace didod
