#include "view3d/view3d.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "geometry/triangulate.h"

namespace didod::view3d {
namespace {

using geo::Vec3;

geo::Mat3 AboutX(double a) {
  geo::Mat3 m;
  m.m[1][1] = std::cos(a);
  m.m[1][2] = -std::sin(a);
  m.m[2][1] = std::sin(a);
  m.m[2][2] = std::cos(a);
  return m;
}

geo::Mat3 AboutY(double a) {
  geo::Mat3 m;
  m.m[0][0] = std::cos(a);
  m.m[0][2] = std::sin(a);
  m.m[2][0] = -std::sin(a);
  m.m[2][2] = std::cos(a);
  return m;
}

// The polygon's normal by Newell's sum: its length is twice the area.
Vec3 NormalOf(const Polygon& p) {
  Vec3 n;
  for (size_t k = 0; k < p.size(); ++k) n += geo::Cross(p[k], p[(k + 1) % p.size()]);
  return n;
}

// Triangles of a polygon in space, cut in its own plane.
std::vector<std::array<int, 3>> TrianglesOf(const Polygon& p) {
  const Vec3 n = NormalOf(p);
  const double len = geo::Norm(n);
  std::vector<geo::Vec2> flat;
  if (len > 0) {
    const Vec3 unit = n / len;
    const Vec3 axis = std::fabs(unit.x) < 0.6 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
    const Vec3 u = geo::Normalized(geo::Cross(axis, unit)), v = geo::Cross(unit, u);
    for (const Vec3& q : p) flat.push_back({geo::Dot(q, u), geo::Dot(q, v)});
  } else {
    for (const Vec3& q : p) flat.push_back({q.x, q.y});
  }
  return geo::Triangulate(flat);
}

// Light from the viewer, a little from above; the back of a face is darker.
std::uint32_t Shade(std::uint32_t colour, const Vec3& viewNormal) {
  const double len = geo::Norm(viewNormal);
  const double facing = len > 0 ? (0.25 * viewNormal.y + viewNormal.z) / (len * std::sqrt(1.0625)) : 1.0;
  const double light = facing >= 0 ? 0.7 + 0.3 * facing : 0.5 + 0.15 * -facing;
  auto part = [&](int shift) { return static_cast<std::uint32_t>(((colour >> shift) & 0xFF) * light) << shift; };
  return 0xFF000000u | part(16) | part(8) | part(0);
}

// Fills one face into the picture, nearest wins; pixels within the pen of the
// face's outline take the edge colour and lie a little in front of the face.
class FaceFiller {
 public:
  FaceFiller(Picture& picture, std::vector<double>& depth, double halfPen, double nudge)
      : picture_(picture), depth_(depth), halfPen_(halfPen), nudge_(nudge) {}

  void Fill(const std::vector<Projected>& view, const std::array<int, 3>& tri, std::uint32_t fill, std::uint32_t edge) {
    const int n = static_cast<int>(view.size());
    const Projected &A = view[tri[0]], &B = view[tri[1]], &C = view[tri[2]];
    // Seen edge on, a triangle has no inside: only its outline pixels are drawn.
    const double den = (B.y - C.y) * (A.x - C.x) + (C.x - B.x) * (A.y - C.y);
    const bool edgeOn = std::fabs(den) < 1e-9;
    // The triangle's sides that are sides of the face.
    int outline[3];
    int outlines = 0;
    for (int i = 0; i < 3; ++i) {
      const int u = tri[i], v = tri[(i + 1) % 3];
      if ((u + 1) % n == v) outline[outlines++] = u;
      if ((v + 1) % n == u) outline[outlines++] = v;
    }
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({A.x, B.x, C.x}) - halfPen_)));
    const int x1 = std::min(picture_.width - 1, static_cast<int>(std::ceil(std::max({A.x, B.x, C.x}) + halfPen_)));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({A.y, B.y, C.y}) - halfPen_)));
    const int y1 = std::min(picture_.height - 1, static_cast<int>(std::ceil(std::max({A.y, B.y, C.y}) + halfPen_)));
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        const double px = x + 0.5, py = y + 0.5;
        bool onOutline = false;
        for (int i = 0; i < outlines && !onOutline; ++i)
          onOutline = SquaredEdgeDistance(px, py, view[outline[i]], view[(outline[i] + 1) % n]) < halfPen_ * halfPen_;
        if (edgeOn && !onOutline) continue;
        double wa = 1.0 / 3, wb = 1.0 / 3;
        if (!edgeOn) {
          wa = ((B.y - C.y) * (px - C.x) + (C.x - B.x) * (py - C.y)) / den;
          wb = ((C.y - A.y) * (px - C.x) + (A.x - C.x) * (py - C.y)) / den;
        }
        const double wc = 1 - wa - wb;
        if (!onOutline && (wa < -1e-9 || wb < -1e-9 || wc < -1e-9)) continue;
        const double z = wa * A.depth + wb * B.depth + wc * C.depth + (onOutline ? nudge_ : 0.0);
        const size_t at = static_cast<size_t>(y) * picture_.width + x;
        if (z < depth_[at]) continue;
        depth_[at] = z;
        picture_.pixels[at] = onOutline ? edge : fill;
      }
  }

 private:
  static double SquaredEdgeDistance(double x, double y, const Projected& a, const Projected& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double l2 = dx * dx + dy * dy;
    const double t = std::clamp(l2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / l2 : 0.0, 0.0, 1.0);
    const double ex = x - a.x - t * dx, ey = y - a.y - t * dy;
    return ex * ex + ey * ey;
  }

  Picture& picture_;
  std::vector<double>& depth_;
  const double halfPen_;
  const double nudge_;
};

}  // namespace

Frame FrameOf(const std::vector<Polygon>& faces) {
  Frame frame;
  int n = 0;
  for (const Polygon& face : faces)
    for (const Vec3& p : face) {
      frame.centre += p;
      ++n;
    }
  if (n == 0) return frame;
  frame.centre = frame.centre / n;
  frame.radius = 1e-9;
  for (const Polygon& face : faces)
    for (const Vec3& p : face) frame.radius = std::max(frame.radius, geo::Distance(p, frame.centre));
  return frame;
}

geo::Mat3 StartRotation() { return AboutX(-0.45) * AboutY(0.5); }

geo::Mat3 SolidStartRotation() { return AboutX(-1.1) * AboutY(0.35); }

geo::Mat3 Turned(const geo::Mat3& rotation, double yaw, double pitch) {
  return AboutX(pitch) * (AboutY(yaw) * rotation);
}

geo::Mat3 TurnedByDrag(const geo::Mat3& rotation, double dx, double dy) {
  constexpr double kRadiansPerPixel = 0.01;
  return Turned(rotation, kRadiansPerPixel * dx, kRadiansPerPixel * dy);
}

Projected Project(const Vec3& p, const Camera& camera, double width, double height) {
  const Vec3 v = camera.rotation * (p - camera.frame.centre);
  const double scale = 0.48 * std::min(width, height) / camera.frame.radius;
  return {width / 2 + scale * v.x, height / 2 - scale * v.y, v.z};
}

Picture Draw(const std::vector<Polygon>& faces, const Camera& camera, int width, int height, double pixelRatio,
             const Style& style) {
  Picture picture{std::max(width, 1), std::max(height, 1), {}};
  picture.pixels.assign(static_cast<size_t>(picture.width) * picture.height, style.background);
  std::vector<double> depth(picture.pixels.size(), -1e300);
  FaceFiller filler(picture, depth, style.penHalfWidth * pixelRatio, 1e-6 * camera.frame.radius);
  std::vector<Projected> view;
  for (const Polygon& face : faces) {
    if (face.size() < 3) continue;
    view.clear();
    for (const Vec3& p : face) view.push_back(Project(p, camera, picture.width, picture.height));
    const std::uint32_t fill = Shade(style.face, camera.rotation * NormalOf(face));
    for (const auto& tri : TrianglesOf(face)) filler.Fill(view, tri, fill, style.edge);
  }
  return picture;
}

}  // namespace didod::view3d
