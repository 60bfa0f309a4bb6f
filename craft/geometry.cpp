#include "craft/geometry.h"

#include <algorithm>
#include <cmath>

namespace didod::craft {

void Box::Add(Vec2 p) {
  if (empty) {
    left = right = p.x;
    top = bottom = p.y;
    empty = false;
    return;
  }
  left = std::min(left, p.x);
  right = std::max(right, p.x);
  top = std::min(top, p.y);
  bottom = std::max(bottom, p.y);
}

void Box::Add(const Box& other) {
  if (other.empty) return;
  Add(Vec2{other.left, other.top});
  Add(Vec2{other.right, other.bottom});
}

double SignedArea(const std::vector<Vec2>& polygon) {
  double twice = 0.0;
  const size_t n = polygon.size();
  for (size_t i = 0; i < n; ++i) twice += Cross(polygon[i], polygon[(i + 1) % n]);
  return twice / 2.0;
}

// Sutherland-Hodgman: clips the subject against each edge of the convex
// polygon in turn; what is left is the common part.
double SharedArea(const std::vector<Vec2>& polygon, const std::vector<Vec2>& convex) {
  if (polygon.size() < 3 || convex.size() < 3) return 0.0;
  const double orientation = SignedArea(convex) >= 0.0 ? 1.0 : -1.0;
  std::vector<Vec2> subject = polygon;
  const size_t n = convex.size();
  for (size_t i = 0; i < n && !subject.empty(); ++i) {
    const Vec2 a = convex[i];
    const Vec2 b = convex[(i + 1) % n];
    const Vec2 edge = b - a;
    auto side = [&](Vec2 p) { return orientation * Cross(edge, p - a); };
    std::vector<Vec2> out;
    out.reserve(subject.size() + 2);
    for (size_t j = 0; j < subject.size(); ++j) {
      const Vec2 p = subject[j];
      const Vec2 q = subject[(j + 1) % subject.size()];
      const double sp = side(p);
      const double sq = side(q);
      if (sp >= 0.0) out.push_back(p);
      if ((sp >= 0.0) != (sq >= 0.0)) {
        const double t = sp / (sp - sq);
        out.push_back(p + t * (q - p));
      }
    }
    subject = std::move(out);
  }
  return subject.size() < 3 ? 0.0 : std::fabs(SignedArea(subject));
}

Vec2 Corner(const std::vector<Vec2>& face, int k) {
  const int n = static_cast<int>(face.size());
  return face[((k % n) + n) % n];
}

Vec2 OutwardNormal(const std::vector<Vec2>& face, int k) {
  const Vec2 p = Corner(face, k);
  const Vec2 q = Corner(face, k + 1);
  const double length = Distance(p, q);
  if (length <= 0.0) return {0.0, 0.0};
  const Vec2 t = (1.0 / length) * (q - p);
  return SignedArea(face) >= 0.0 ? Vec2{t.y, -t.x} : Vec2{-t.y, t.x};
}

double InteriorAngle(const std::vector<Vec2>& polygon, int k) {
  const int n = static_cast<int>(polygon.size());
  const Vec2 p = polygon[k];
  const Vec2 to_prev = polygon[(k + n - 1) % n] - p;
  const Vec2 to_next = polygon[(k + 1) % n] - p;
  double angle = std::atan2(std::fabs(Cross(to_prev, to_next)), Dot(to_prev, to_next));
  // A reflex corner turns the other way from the polygon's orientation.
  const double orientation = SignedArea(polygon) >= 0.0 ? 1.0 : -1.0;
  if (orientation * Cross(to_next, to_prev) < 0.0) angle = 2.0 * M_PI - angle;
  return angle;
}

// Liang-Barsky.
bool ClipSegment(Vec2& a, Vec2& b, const Box& box) {
  if (box.empty) return false;
  const Vec2 d = b - a;
  double t0 = 0.0, t1 = 1.0;
  const double p[4] = {-d.x, d.x, -d.y, d.y};
  const double q[4] = {a.x - box.left, box.right - a.x, a.y - box.top, box.bottom - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  const Vec2 start = a;
  a = start + t0 * d;
  b = start + t1 * d;
  return true;
}

std::vector<Vec2> ClipPolygon(const std::vector<Vec2>& polygon, const Box& box) {
  if (box.empty) return {};
  // Sutherland-Hodgman against the four sides: inside(p) >= 0 keeps p.
  using Side = double (*)(Vec2, const Box&);
  const Side sides[4] = {[](Vec2 p, const Box& b) { return p.x - b.left; },
                         [](Vec2 p, const Box& b) { return b.right - p.x; },
                         [](Vec2 p, const Box& b) { return p.y - b.top; },
                         [](Vec2 p, const Box& b) { return b.bottom - p.y; }};
  std::vector<Vec2> subject = polygon;
  for (Side side : sides) {
    std::vector<Vec2> out;
    out.reserve(subject.size() + 2);
    for (size_t j = 0; j < subject.size(); ++j) {
      const Vec2 p = subject[j];
      const Vec2 q = subject[(j + 1) % subject.size()];
      const double sp = side(p, box);
      const double sq = side(q, box);
      if (sp >= 0.0) out.push_back(p);
      if ((sp >= 0.0) != (sq >= 0.0)) out.push_back(p + (sp / (sp - sq)) * (q - p));
    }
    subject = std::move(out);
    if (subject.empty()) break;
  }
  return subject.size() < 3 ? std::vector<Vec2>{} : subject;
}

bool BoxesNear(const Box& a, const Box& b, double gap) {
  if (a.empty || b.empty) return false;
  return a.left < b.right + gap && b.left < a.right + gap && a.top < b.bottom + gap && b.top < a.bottom + gap;
}

double PointSegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  const Vec2 d = b - a;
  const double squared = Dot(d, d);
  const double t = squared > 0.0 ? std::clamp(Dot(p - a, d) / squared, 0.0, 1.0) : 0.0;
  return Distance(p, a + t * d);
}

double SegmentDistance(Vec2 a, Vec2 b, Vec2 c, Vec2 d) {
  // Proper crossings: each segment's ends lie on opposite sides of the other.
  const double d1 = Cross(b - a, c - a), d2 = Cross(b - a, d - a);
  const double d3 = Cross(d - c, a - c), d4 = Cross(d - c, b - c);
  if (((d1 > 0.0 && d2 < 0.0) || (d1 < 0.0 && d2 > 0.0)) && ((d3 > 0.0 && d4 < 0.0) || (d3 < 0.0 && d4 > 0.0)))
    return 0.0;
  return std::min({PointSegmentDistance(a, c, d), PointSegmentDistance(b, c, d), PointSegmentDistance(c, a, b),
                   PointSegmentDistance(d, a, b)});
}

}  // namespace didod::craft
