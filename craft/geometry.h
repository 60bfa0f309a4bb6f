#pragma once
#include <vector>

#include "geometry/vec.h"

namespace didod::craft {

// Points and vectors on the sheet are in millimetres, y down.
using geo::Cross;
using geo::Distance;
using geo::Dot;
using geo::Length;
using geo::Vec2;

// Axis-parallel box; empty until something is added.
struct Box {
  double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
  bool empty = true;
  void Add(Vec2 p);
  void Add(const Box& other);
  double Width() const { return empty ? 0.0 : right - left; }
  double Height() const { return empty ? 0.0 : bottom - top; }
};

// Signed area, positive for corners running anticlockwise in a y-up frame.
double SignedArea(const std::vector<Vec2>& polygon);

// Area that a simple polygon shares with a convex one (either orientation).
// Polygons that only touch along an edge or at a corner share none.
double SharedArea(const std::vector<Vec2>& polygon, const std::vector<Vec2>& convex);

// Corner k of a face, k taken round the face.
Vec2 Corner(const std::vector<Vec2>& face, int k);

// Unit vector from the face's interior across the edge k -> k+1.
Vec2 OutwardNormal(const std::vector<Vec2>& face, int k);

// Interior angle in radians at corner k of a convex or simple polygon.
double InteriorAngle(const std::vector<Vec2>& polygon, int k);

// The part of the segment a-b inside the box; false when nothing is.
bool ClipSegment(Vec2& a, Vec2& b, const Box& box);

// The part of a simple polygon inside the box (empty when none is).
std::vector<Vec2> ClipPolygon(const std::vector<Vec2>& polygon, const Box& box);

// Whether two boxes come closer than `gap` to each other.
bool BoxesNear(const Box& a, const Box& b, double gap);

// Distance from p to the segment a-b.
double PointSegmentDistance(Vec2 p, Vec2 a, Vec2 b);

// Distance between the segments a-b and c-d: 0 when they cross or touch.
double SegmentDistance(Vec2 a, Vec2 b, Vec2 c, Vec2 d);

}  // namespace didod::craft
