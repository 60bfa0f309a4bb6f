#include "tools/netgen/solids.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

#include "solids/johnson.h"
#include "solids/uniform.h"

namespace didod::netgen {

using solids::Circumradius;
using solids::Inradius;
using solids::Ring;

namespace {

const double kPi = 3.14159265358979323846;
const double kPhi = (1 + std::sqrt(5.0)) / 2;

// ---------------------------------------------------------------------------
// Solids built face by face.

// Every face of the base replaced by a pyramid of the given height.
Polyhedron Stellated(const Polyhedron& base, double height) {
  Polyhedron p;
  p.vertices = base.vertices;
  for (int f = 0; f < static_cast<int>(base.faces.size()); ++f) {
    const int apex = static_cast<int>(p.vertices.size());
    p.vertices.push_back(FaceCentre(base, f) + FaceNormal(base, f) * height);
    const auto& face = base.faces[f];
    for (std::size_t i = 0; i < face.size(); ++i) p.faces.push_back({face[i], face[(i + 1) % face.size()], apex});
  }
  return p;
}

// A right prism over a polygon given counter-clockwise in the plane.
Polyhedron PrismOver(const std::vector<Vec2>& outline, double height) {
  Polyhedron p;
  const int n = static_cast<int>(outline.size());
  for (const Vec2& v : outline) p.vertices.push_back({v.x, v.y, 0});
  for (const Vec2& v : outline) p.vertices.push_back({v.x, v.y, height});
  std::vector<int> bottom, top;
  for (int i = 0; i < n; ++i) { bottom.push_back(n - 1 - i); top.push_back(n + i); }
  p.faces.push_back(bottom);
  p.faces.push_back(top);
  for (int i = 0; i < n; ++i) {
    const int j = (i + 1) % n;
    p.faces.push_back({i, j, n + j, n + i});
  }
  return p;
}

std::vector<Vec2> RegularOutline(int n, double side) {
  std::vector<Vec2> r;
  const double radius = side * Circumradius(n);
  for (int k = 0; k < n; ++k) r.push_back({radius * std::cos(2 * kPi * k / n), radius * std::sin(2 * kPi * k / n)});
  return r;
}

Polyhedron Pentagramprism() {
  // Tips on the outer circle, the notches where the star's edges cross.
  const double inner = std::cos(2 * kPi / 5) / std::cos(kPi / 5);
  std::vector<Vec2> outline;
  for (int k = 0; k < 5; ++k) {
    const double a = kPi / 2 + 2 * kPi * k / 5;
    outline.push_back({std::cos(a), std::sin(a)});
    outline.push_back({inner * std::cos(a + kPi / 5), inner * std::sin(a + kPi / 5)});
  }
  const double side = Distance(outline[0], outline[1]);
  for (Vec2& v : outline) v = v * (1 / side);
  return PrismOver(outline, 1);
}

// Frustum of a regular n-gon pyramid: bottom side 2, top side 1, the slant
// height of its trapezia 2.
std::vector<Vec3> FrustumPoints(int n, double sign) {
  const double drop = Inradius(n) * (2 - 1);
  const double h = std::sqrt(4 - drop * drop);
  std::vector<Vec3> pts = Ring(n, 0, 2 * Circumradius(n));
  for (const Vec3& v : Ring(n, sign * h, Circumradius(n))) pts.push_back(v);
  return pts;
}

Polyhedron SquarePyramidOfHexagon() {
  std::vector<Vec3> pts = Ring(6, 0, 1);
  pts.push_back({0, 0, std::sqrt(3.0)});
  return ConvexHull(pts);
}
}  // namespace

const std::vector<std::string>& CatalogueNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n = {"Antiprisma 5", "Antiprisma 6", "Abgeschrägtes Dodekaeder", "Abgeschrägter Würfel",
                                  "Deltoid-24-Flächner", "Deltoid-60-Flächner", "Dodekaeder", "Dodekaederstumpf",
                                  "Fünfseitige Pyramide", "Fünfseitiger Doppelstumpf", "Fünfseitiger Pyramidenstumpf",
                                  "Fünfseitiges Prisma", "Hexaederstumpf", "Hexakisikosaeder", "Hexakisoktaeder",
                                  "Ikosaeder", "Ikosaederstumpf", "Ikosidodekaeder", "Ikosidodekaederstumpf"};
    for (int j = 12; j <= 69; ++j) n.push_back("Johnson Polyeder " + std::to_string(j));
    for (const char* s : {"Kuboktaeder", "Kuboktaederstumpf", "Oktaeder", "Oktaederstumpf", "Pentagon-60-Flächner",
                          "Pentagonikositetraeder", "Pentagrammprisma", "Pyramidendodekaeder", "Pyramidenikosaeder",
                          "Pyramidenoktaeder", "Pyramidentetraeder", "Pyramidenwürfel", "Rhombendodekaeder",
                          "Rhombenikosidodekaeder", "Rhombenkuboktaeder", "Rhombentriakontaeder",
                          "Sechsseitige Pyramide", "Sechsseitiger Pyramidenstumpf", "Siebenseitiger Pyramidenstumpf",
                          "Spikey", "Sterndodekaeder", "Tetraeder", "Tetraederstumpf", "Triakistetraeder",
                          "Vierseitiges Prisma", "Würfel"})
      n.push_back(s);
    return n;
  }();
  return names;
}

namespace {

const std::map<std::string, std::string>& UniformNames() {
  static const std::map<std::string, std::string> m = {
      {"Tetraeder", "tetrahedron"}, {"Würfel", "cube"}, {"Oktaeder", "octahedron"}, {"Dodekaeder", "dodecahedron"},
      {"Ikosaeder", "icosahedron"}, {"Tetraederstumpf", "truncated tetrahedron"}, {"Kuboktaeder", "cuboctahedron"},
      {"Hexaederstumpf", "truncated cube"}, {"Oktaederstumpf", "truncated octahedron"},
      {"Rhombenkuboktaeder", "rhombicuboctahedron"}, {"Kuboktaederstumpf", "truncated cuboctahedron"},
      {"Abgeschrägter Würfel", "snub cube"}, {"Ikosidodekaeder", "icosidodecahedron"},
      {"Dodekaederstumpf", "truncated dodecahedron"}, {"Ikosaederstumpf", "truncated icosahedron"},
      {"Rhombenikosidodekaeder", "rhombicosidodecahedron"}, {"Ikosidodekaederstumpf", "truncated icosidodecahedron"},
      {"Abgeschrägtes Dodekaeder", "snub dodecahedron"}};
  return m;
}

const std::map<std::string, std::string>& CatalanNames() {
  static const std::map<std::string, std::string> m = {
      {"Triakistetraeder", "truncated tetrahedron"}, {"Rhombendodekaeder", "cuboctahedron"},
      {"Pyramidenoktaeder", "truncated cube"}, {"Pyramidenwürfel", "truncated octahedron"},
      {"Deltoid-24-Flächner", "rhombicuboctahedron"}, {"Hexakisoktaeder", "truncated cuboctahedron"},
      {"Pentagonikositetraeder", "snub cube"}, {"Rhombentriakontaeder", "icosidodecahedron"},
      {"Pyramidenikosaeder", "truncated dodecahedron"}, {"Pyramidendodekaeder", "truncated icosahedron"},
      {"Deltoid-60-Flächner", "rhombicosidodecahedron"}, {"Hexakisikosaeder", "truncated icosidodecahedron"},
      {"Pentagon-60-Flächner", "snub dodecahedron"}};
  return m;
}

}  // namespace

SolidTraits TraitsOf(const std::string& name) {
  SolidTraits t;
  if (UniformNames().count(name) || name.rfind("Johnson Polyeder ", 0) == 0 || name == "Antiprisma 5" ||
      name == "Antiprisma 6" || name == "Fünfseitige Pyramide" || name == "Pyramidentetraeder" || name == "Spikey") {
    t.equalEdges = t.regularFaces = true;
  }
  if (name == "Rhombendodekaeder" || name == "Rhombentriakontaeder" || name == "Pentagrammprisma") t.equalEdges = true;
  if (name == "Pentagrammprisma" || name == "Pyramidentetraeder" || name == "Spikey" || name == "Sterndodekaeder")
    t.convex = false;
  return t;
}

Polyhedron BuildSolid(const std::string& name) {
  if (auto u = UniformNames().find(name); u != UniformNames().end()) return PlatonicOrArchimedean(u->second);
  if (auto c = CatalanNames().find(name); c != CatalanNames().end())
    return PolarReciprocal(PlatonicOrArchimedean(c->second));
  if (name.rfind("Johnson Polyeder ", 0) == 0) {
    const std::string number = name.substr(17);
    if (number.size() == 2 && std::isdigit(static_cast<unsigned char>(number[0])) &&
        std::isdigit(static_cast<unsigned char>(number[1])) && std::stoi(number) >= 12 && std::stoi(number) <= 69)
      return JohnsonSolid(std::stoi(number));
  }
  if (name == "Antiprisma 5") return solids::Solid(solids::Antiprism(5));
  if (name == "Antiprisma 6") return solids::Solid(solids::Antiprism(6));
  if (name == "Fünfseitige Pyramide") return solids::Solid(solids::Pyramid(5));
  if (name == "Sechsseitige Pyramide") return SquarePyramidOfHexagon();
  if (name == "Vierseitiges Prisma") return PrismOver(RegularOutline(4, 1), 2);
  if (name == "Fünfseitiges Prisma") return PrismOver(RegularOutline(5, 1), 2);
  if (name == "Pentagrammprisma") return Pentagramprism();
  if (name == "Fünfseitiger Pyramidenstumpf") return ConvexHull(FrustumPoints(5, 1));
  if (name == "Sechsseitiger Pyramidenstumpf") return ConvexHull(FrustumPoints(6, 1));
  if (name == "Siebenseitiger Pyramidenstumpf") return ConvexHull(FrustumPoints(7, 1));
  if (name == "Fünfseitiger Doppelstumpf") {
    std::vector<Vec3> pts = FrustumPoints(5, 1);
    for (const Vec3& v : FrustumPoints(5, -1)) pts.push_back(v);
    return ConvexHull(pts);
  }
  if (name == "Pyramidentetraeder") return Stellated(PlatonicOrArchimedean("tetrahedron"), std::sqrt(2.0 / 3));
  if (name == "Spikey") return Stellated(PlatonicOrArchimedean("icosahedron"), std::sqrt(2.0 / 3));
  if (name == "Sterndodekaeder") {
    const double r = Circumradius(5);
    return Stellated(PlatonicOrArchimedean("dodecahedron"), std::sqrt(kPhi * kPhi - r * r));
  }
  throw std::invalid_argument("no solid named " + name);
}

}  // namespace didod::netgen
