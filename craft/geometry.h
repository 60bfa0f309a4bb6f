#pragma once
#include <vector>

namespace didod::craft {

// A point or vector on the sheet in millimetres, y down.
struct Vec2 {
  double x = 0.0;
  double y = 0.0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(double s, Vec2 a) { return {s * a.x, s * a.y}; }
double Dot(Vec2 a, Vec2 b);
double Cross(Vec2 a, Vec2 b);
double Length(Vec2 a);
double Distance(Vec2 a, Vec2 b);

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

// Interior angle in radians at corner k of a convex or simple polygon.
double InteriorAngle(const std::vector<Vec2>& polygon, int k);

// The part of the segment a-b inside the box; false when nothing is.
bool ClipSegment(Vec2& a, Vec2& b, const Box& box);

}  // namespace didod::craft
