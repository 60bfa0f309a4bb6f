#include "solids/assembled.h"

#include <cmath>
#include <stdexcept>

#include "solids/uniform.h"

namespace didod::solids {

namespace {

const double kPi = 3.14159265358979323846;

// Pentagon normals of the solid, the first one nearest to a fixed direction
// (so that the choice does not depend on the order of the faces).
std::vector<Vec3> PentagonNormals(const Polyhedron& p) {
  std::vector<Vec3> normals;
  for (int f = 0; f < static_cast<int>(p.faces.size()); ++f)
    if (p.faces[f].size() == 5) normals.push_back(FaceNormal(p, f));
  const Vec3 towards = Normalized({0.3, 0.2, 1});
  std::size_t best = 0;
  for (std::size_t i = 1; i < normals.size(); ++i)
    if (Dot(normals[i], towards) > Dot(normals[best], towards) + 1e-12) best = i;
  std::swap(normals[0], normals[best]);
  return normals;
}

// Axes of the caps: pairwise opposite (dot -1) or not neighbouring (dot -1/sqrt 5).
std::vector<Vec3> CapAxes(const std::vector<Vec3>& normals, const std::vector<Cap>& caps) {
  const double meta = -1 / std::sqrt(5.0);
  std::vector<Vec3> axes;
  for (const Cap& c : caps) {
    if (c.place == CapPlace::First) { axes.push_back(normals[0]); continue; }
    if (c.place == CapPlace::Para) { axes.push_back(-axes.at(0)); continue; }
    bool found = false;
    for (const Vec3& n : normals) {
      bool fits = true;
      for (const Vec3& a : axes) fits = fits && std::fabs(Dot(n, a) - meta) < 1e-6;
      if (fits) { axes.push_back(n); found = true; break; }
    }
    if (!found) throw std::logic_error("no place for the cap");
  }
  return axes;
}

}  // namespace

Polyhedron AlteredRhombicosidodecahedron(const std::vector<Cap>& caps) {
  const Polyhedron base = PlatonicOrArchimedean("rhombicosidodecahedron");
  const std::vector<Vec3> axes = CapAxes(PentagonNormals(base), caps);
  double top = 0;  // height of a pentagon above the centre
  for (const Vec3& v : base.vertices) top = std::max(top, Dot(v, axes[0]));
  std::vector<Vec3> points;
  for (const Vec3& v : base.vertices) {
    Vec3 w = v;
    bool keep = true;
    for (std::size_t i = 0; i < caps.size(); ++i) {
      if (std::fabs(Dot(v, axes[i]) - top) > 1e-9) continue;  // not a corner of this cap's pentagon
      if (caps[i].change == CapChange::Removed)
        keep = false;
      else
        w = Rotation(axes[i], kPi / 5) * v;
    }
    if (keep) points.push_back(w);
  }
  return ConvexHull(points);
}

}  // namespace didod::solids
