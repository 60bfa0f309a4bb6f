#pragma once
// The one vocabulary of plane and space vectors for the geometric core (the
// net check, the cut-and-fold sheet, the unfolder and the catalogue
// generator). Plain double arithmetic, so that every build, optimised or not,
// computes the same bits and generated files stay reproducible.
#include <algorithm>
#include <cmath>

namespace didod::geo {

struct Vec2 {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const Vec2&) const = default;
  Vec2 operator+(const Vec2& o) const { return {x + o.x, y + o.y}; }
  Vec2 operator-(const Vec2& o) const { return {x - o.x, y - o.y}; }
  Vec2 operator*(double s) const { return {x * s, y * s}; }
  Vec2 operator/(double s) const { return {x / s, y / s}; }
  Vec2 operator-() const { return {-x, -y}; }
  Vec2& operator+=(const Vec2& o) { x += o.x; y += o.y; return *this; }
  Vec2& operator-=(const Vec2& o) { x -= o.x; y -= o.y; return *this; }
};
inline Vec2 operator*(double s, const Vec2& a) { return {s * a.x, s * a.y}; }

inline double Dot(const Vec2& a, const Vec2& b) { return a.x * b.x + a.y * b.y; }
// The z part of the cross product: positive when b lies anticlockwise of a (y up).
inline double Cross(const Vec2& a, const Vec2& b) { return a.x * b.y - a.y * b.x; }
inline double Norm(const Vec2& a) { return std::sqrt(Dot(a, a)); }
inline double Length(const Vec2& a) { return Norm(a); }
inline double Distance(const Vec2& a, const Vec2& b) { return Norm(a - b); }

struct Vec3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  bool operator==(const Vec3&) const = default;
  Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
  Vec3 operator/(double s) const { return {x / s, y / s, z / s}; }
  Vec3 operator-() const { return {-x, -y, -z}; }
  Vec3& operator+=(const Vec3& o) { x += o.x; y += o.y; z += o.z; return *this; }
  Vec3& operator-=(const Vec3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
};
inline Vec3 operator*(double s, const Vec3& a) { return {s * a.x, s * a.y, s * a.z}; }

inline double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Norm(const Vec3& a) { return std::sqrt(Dot(a, a)); }
inline double Length(const Vec3& a) { return Norm(a); }
inline Vec3 Normalized(const Vec3& a) { return a / Norm(a); }
inline double Distance(const Vec3& a, const Vec3& b) { return Norm(a - b); }

// The one tolerance predicate: a and b agree within `relative` of `scale`
// (the size of the figure they belong to), or within `relative` when the
// scale is below 1, so that tiny figures are not judged by rounding noise.
inline bool Near(double a, double b, double relative, double scale = 1.0) {
  return std::fabs(a - b) <= relative * std::max(1.0, std::fabs(scale));
}
inline bool Near(const Vec2& a, const Vec2& b, double relative, double scale = 1.0) {
  return Distance(a, b) <= relative * std::max(1.0, std::fabs(scale));
}
inline bool Near(const Vec3& a, const Vec3& b, double relative, double scale = 1.0) {
  return Distance(a, b) <= relative * std::max(1.0, std::fabs(scale));
}

// 3x3 matrix, row-major.
struct Mat3 {
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  bool operator==(const Mat3&) const = default;
  Vec3 operator*(const Vec3& v) const {
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
  }
  Mat3 operator*(const Mat3& o) const {
    Mat3 r;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) r.m[i][j] = m[i][0] * o.m[0][j] + m[i][1] * o.m[1][j] + m[i][2] * o.m[2][j];
    return r;
  }
  double Det() const {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  }
};

// Rotation about a unit axis by an angle (right-handed).
inline Mat3 Rotation(const Vec3& axis, double angle) {
  const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  const double x = axis.x, y = axis.y, z = axis.z;
  Mat3 r;
  r.m[0][0] = t * x * x + c;     r.m[0][1] = t * x * y - s * z; r.m[0][2] = t * x * z + s * y;
  r.m[1][0] = t * x * y + s * z; r.m[1][1] = t * y * y + c;     r.m[1][2] = t * y * z - s * x;
  r.m[2][0] = t * x * z - s * y; r.m[2][1] = t * y * z + s * x; r.m[2][2] = t * z * z + c;
  return r;
}

// Reflection in the plane through the origin with the given unit normal.
inline Mat3 Reflection(const Vec3& n) {
  Mat3 r;
  const double v[3] = {n.x, n.y, n.z};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = (i == j ? 1.0 : 0.0) - 2 * v[i] * v[j];
  return r;
}

}  // namespace didod::geo
