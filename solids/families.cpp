#include "solids/families.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace didod::solids {

namespace {

const double kPi = 3.14159265358979323846;

// Radius of the regular n-gon of side 1.
double Circumradius(int n) { return 0.5 / std::sin(kPi / n); }

std::vector<Vec3> Ring(int n, double side, double z, double turn = 0) {
  std::vector<Vec3> r;
  const double radius = side * Circumradius(n);
  for (int k = 0; k < n; ++k) {
    const double a = 2 * kPi * k / n + turn;
    r.push_back({radius * std::cos(a), radius * std::sin(a), z});
  }
  return r;
}

std::vector<Vec3> Joined(std::vector<Vec3> a, const std::vector<Vec3>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Height of a pyramid over the n-gon of side a whose triangles are equilateral.
double EquilateralPyramidHeight(int n, double a) {
  const double r = Circumradius(n);
  return a * std::sqrt(1 - r * r);
}

// Height of the antiprism whose triangles are equilateral.
double EquilateralAntiprismHeight(int n, double a) {
  const double chord = 2 * Circumradius(n) * std::sin(kPi / (2 * n));
  return a * std::sqrt(1 - chord * chord);
}

std::string Millimetres(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

const char* kCountMessage = "Die Eckenzahl muss eine ganze Zahl von 3 bis 24 sein.";
const char* kPositiveMessage = "Die Länge muss größer als 0 mm sein.";
const char* kLargestMessage = "Die Länge darf höchstens 2000 mm sein.";

}  // namespace

std::string LengthProblem(double v) {
  if (!(v > 0)) return kPositiveMessage;
  if (!(v <= kLargestMeasure)) return kLargestMessage;
  return {};
}

const std::vector<FamilyForm>& Families() {
  static const std::vector<FamilyForm> families = {
      {FamilyKind::Cuboid, "Quader", {{"Länge a", false, 30}, {"Breite b", false, 40}, {"Höhe c", false, 50}}, "", -1},
      {FamilyKind::Prism, "Gerades Prisma", {{"Eckenzahl n", true, 6}, {"Grundkante a", false, 30}, {"Höhe h", false, 60}},
       "", -1},
      {FamilyKind::Pyramid, "Pyramide", {{"Eckenzahl n", true, 4}, {"Grundkante a", false, 40}, {"Höhe h", false, 40}},
       "gleichseitige Dreiecke", 2},
      {FamilyKind::Frustum, "Pyramidenstumpf",
       {{"Eckenzahl n", true, 4}, {"untere Kante a", false, 50}, {"obere Kante b", false, 25}, {"Höhe h", false, 40}},
       "", -1},
      {FamilyKind::Bipyramid, "Doppelpyramide",
       {{"Eckenzahl n", true, 4}, {"Grundkante a", false, 40}, {"Höhe h je Spitze", false, 40}},
       "gleichseitige Dreiecke", 2},
      {FamilyKind::Antiprism, "Antiprisma", {{"Eckenzahl n", true, 6}, {"Kante a", false, 30}, {"Höhe h", false, 30}},
       "gleichseitige Dreiecke", 2},
      {FamilyKind::Bifrustum, "Doppelstumpf",
       {{"Eckenzahl n", true, 5}, {"mittlere Kante a", false, 40}, {"Endkante b", false, 20},
        {"Höhe h je Stumpf", false, 30}},
       "", -1},
  };
  return families;
}

const FamilyForm& FormOf(FamilyKind kind) {
  for (const FamilyForm& f : Families())
    if (f.kind == kind) return f;
  throw std::invalid_argument("unknown family");
}

std::vector<FieldProblem> CheckFamily(const FamilyInput& input) {
  const FamilyForm& form = FormOf(input.kind);
  std::vector<FieldProblem> problems;
  if (input.values.size() != form.measures.size()) throw std::invalid_argument("wrong number of measures");
  for (int m = 0; m < static_cast<int>(form.measures.size()); ++m) {
    const double v = input.values[m];
    if (input.regular && m == form.heightMeasure) continue;
    if (form.measures[m].whole) {
      if (!(v >= kFewestCorners && v <= kMostCorners) || v != std::floor(v)) problems.push_back({m, kCountMessage});
    } else if (const std::string why = LengthProblem(v); !why.empty()) {
      problems.push_back({m, why});
    }
  }
  auto fine = [&](int m) {
    for (const FieldProblem& p : problems)
      if (p.measure == m) return false;
    return true;
  };
  if ((input.kind == FamilyKind::Frustum || input.kind == FamilyKind::Bifrustum) && fine(1) && fine(2) &&
      input.values[2] >= input.values[1]) {
    problems.push_back({2, input.kind == FamilyKind::Frustum ? "Die obere Kante muss kürzer sein als die untere."
                                                             : "Die Endkante muss kürzer sein als die mittlere Kante."});
  }
  if (input.regular && (input.kind == FamilyKind::Pyramid || input.kind == FamilyKind::Bipyramid) && fine(0) &&
      input.values[0] > 5) {
    problems.push_back({0, "Gleichseitige Dreiecke reichen nur bei 3 bis 5 Ecken bis zur Spitze."});
  }
  return problems;
}

Polyhedron BuildFamily(const FamilyInput& input) {
  const std::vector<FieldProblem> problems = CheckFamily(input);
  if (!problems.empty()) throw std::invalid_argument(problems.front().message);
  const std::vector<double>& v = input.values;
  const int n = input.kind == FamilyKind::Cuboid ? 4 : static_cast<int>(v[0]);
  switch (input.kind) {
    case FamilyKind::Cuboid: {
      std::vector<Vec3> pts;
      for (int i = 0; i < 8; ++i) pts.push_back({i & 1 ? v[0] : 0.0, i & 2 ? v[1] : 0.0, i & 4 ? v[2] : 0.0});
      return ConvexHull(pts);
    }
    case FamilyKind::Prism:
      return ConvexHull(Joined(Ring(n, v[1], 0), Ring(n, v[1], v[2])));
    case FamilyKind::Pyramid: {
      const double h = input.regular ? EquilateralPyramidHeight(n, v[1]) : v[2];
      return ConvexHull(Joined(Ring(n, v[1], 0), {{0, 0, h}}));
    }
    case FamilyKind::Frustum:
      return ConvexHull(Joined(Ring(n, v[1], 0), Ring(n, v[2], v[3])));
    case FamilyKind::Bipyramid: {
      const double h = input.regular ? EquilateralPyramidHeight(n, v[1]) : v[2];
      return ConvexHull(Joined(Ring(n, v[1], 0), {{0, 0, h}, {0, 0, -h}}));
    }
    case FamilyKind::Antiprism: {
      const double h = input.regular ? EquilateralAntiprismHeight(n, v[1]) : v[2];
      return ConvexHull(Joined(Ring(n, v[1], 0), Ring(n, v[1], h, kPi / n)));
    }
    case FamilyKind::Bifrustum:
      return ConvexHull(Joined(Ring(n, v[1], 0), Joined(Ring(n, v[2], v[3]), Ring(n, v[2], -v[3]))));
  }
  throw std::invalid_argument("unknown family");
}

std::string SidedWord(int n) {
  static const char* words[] = {"Drei", "Vier", "Fünf", "Sechs", "Sieben", "Acht", "Neun", "Zehn", "Elf", "Zwölf"};
  if (n >= 3 && n <= 12) return std::string(words[n - 3]) + "seitig";
  return std::to_string(n) + "-seitig";
}

std::string FamilySolidName(const FamilyInput& input) {
  const FamilyForm& form = FormOf(input.kind);
  const std::vector<double>& v = input.values;
  if (input.kind == FamilyKind::Cuboid)
    return "Quader " + Millimetres(v[0]) + " × " + Millimetres(v[1]) + " × " + Millimetres(v[2]) + " mm";
  const std::string stem = SidedWord(static_cast<int>(v[0]));
  std::string name;
  switch (input.kind) {
    case FamilyKind::Prism: name = stem + "es Prisma"; break;
    case FamilyKind::Pyramid: name = stem + "e Pyramide"; break;
    case FamilyKind::Frustum: name = stem + "er Pyramidenstumpf"; break;
    case FamilyKind::Bipyramid: name = stem + "e Doppelpyramide"; break;
    case FamilyKind::Antiprism: name = stem + "es Antiprisma"; break;
    case FamilyKind::Bifrustum: name = stem + "er Doppelstumpf"; break;
    case FamilyKind::Cuboid: break;
  }
  std::string measures;
  for (std::size_t m = 1; m < v.size(); ++m) {
    if (input.regular && static_cast<int>(m) == form.heightMeasure) continue;
    measures += (measures.empty() ? "" : ", ") + form.measures[m].label + " = " + Millimetres(v[m]) + " mm";
  }
  return name + " (" + measures + ")";
}

}  // namespace didod::solids
