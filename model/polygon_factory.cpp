#include "model/polygon_factory.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

#include "term/term.h"

namespace didod {

const char* const kSpecialFaceNames[kSpecialFaceCount] = {
    "Rechteck SFaktor : 1", "Deltoid-24-Drachen", "Deltoid-60-Drachen",
    "Trapez 2-1 Höhe 2",    "Pentagon-24-Fläche", "Pentagon-60-Fläche",
};

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegree = 0.017453292519943295;

// The kites and pentagons of the Catalan solids, with their constants as
// published for these faces (they are not rederived here).
struct KiteConstants {
  double p, q, alpha, beta, e;
};
const KiteConstants kKite24{0.837186, 1.08239, 0.5649353774008665230, 0.8588857587296422347, std::sqrt(2.0)};
const KiteConstants kKite60{0.80499198, 1.23916011, 0.5387074148742920787, 0.9792779625851634195,
                            (5.0 - std::sqrt(5.0)) / 2.0};

struct PentagonConstants {
  double p, q, a, b, w;
};
constexpr PentagonConstants kPentagon24{0.5934653559719873517, 0.8425091624448605154, 2.003848720668596872,
                                        0.8661047877788160543, 1.09155231418};
constexpr PentagonConstants kPentagon60{0.5828995347449824616, 1.019988247022845851, 2.061873034331017429,
                                        0.9821534150617700076, 0.0};

std::vector<NetPoint> Kite(const KiteConstants& k, double s, double x0, double y0) {
  const double a = k.p * s, c = k.q * s;
  return {{x0, y0},
          {x0 - a * std::cos(k.alpha), y0 - a * std::sin(k.alpha)},
          {x0 - k.e * s, y0},
          {x0 - c * std::cos(k.beta), y0 + c * std::sin(k.beta)}};
}

std::vector<NetPoint> Pentagon(const PentagonConstants& k, bool kind7, double s, double x0, double y0) {
  const double m = k.p * s, r = k.q * s;
  const NetPoint second{x0 - m * std::cos(k.a), y0 - m * std::sin(k.a)};
  const NetPoint third{second.x - r * std::cos(k.b), second.y - r * std::sin(k.b)};
  const NetPoint fourth = kind7 ? NetPoint{x0 - k.w * s - m * std::cos(k.a), y0 - m * std::sin(k.a)}
                                : NetPoint{x0 - m + m * std::cos(k.a), y0 - m * std::sin(k.a)};
  return {{x0, y0}, second, third, fourth, {x0 - m, y0}};
}

}  // namespace

std::vector<NetPoint> FaceCorners(const FaceRecipe& r, double x0, double y0) {
  const double s = r.s;
  switch (r.kind) {
    case FaceKind::Regular: {
      std::vector<NetPoint> corners;
      const double radius = s / (2.0 * std::sin(kPi / r.n));
      for (int k = 1; k <= r.n; ++k) {
        const double phi = (k - 1) * 2.0 * kPi / r.n + r.theta0;
        corners.push_back({x0 + radius * std::cos(phi), y0 - radius * std::sin(phi)});
      }
      return corners;
    }
    case FaceKind::Isosceles: {
      const double h2 = r.d * r.d - 0.25;
      if (h2 < 0.0) return {};  // legs too short to meet above the base
      return {{x0, y0}, {x0 - s, y0}, {x0 - s / 2.0, y0 - s * std::sqrt(h2)}};
    }
    case FaceKind::Rhombus: {
      const double k = r.d * kDegree;
      const double dx = s * std::cos(k), dy = s * std::sin(k);
      return {{x0, y0}, {x0 - dx, y0 - dy}, {x0 - dx - s, y0 - dy}, {x0 - s, y0}};
    }
    case FaceKind::Rectangle:
      return {{x0, y0}, {x0 - s, y0}, {x0 - s, y0 - 1.0}, {x0, y0 - 1.0}};
    case FaceKind::Kite24:
      return Kite(kKite24, s, x0, y0);
    case FaceKind::Kite60:
      return Kite(kKite60, s, x0, y0);
    case FaceKind::Trapezium:
      return {{x0, y0}, {x0 - 2 * s, y0}, {x0 - 1.5 * s, y0 + 2 * s}, {x0 - 0.5 * s, y0 + 2 * s}};
    case FaceKind::Pentagon24:
      return Pentagon(kPentagon24, true, s, x0, y0);
    case FaceKind::Pentagon60:
      return Pentagon(kPentagon60, false, s, x0, y0);
  }
  return {};
}

FaceRecipe RecipeForButton(PolygonButton button, const PolygonRequest& request) {
  FaceRecipe r;
  r.s = ReadEditReal(request.Scale);
  if (!(r.s > 0.0)) r.s = 1.0;
  switch (button) {
    case PolygonButton::f3: r.n = 3; r.theta0 = kPi / 6.0; break;
    case PolygonButton::f4: r.n = 4; r.theta0 = kPi / 4.0; break;
    case PolygonButton::f5: r.n = 5; break;
    case PolygonButton::f6: break;
    case PolygonButton::f8: r.n = 8; break;
    case PolygonButton::f10: r.n = 10; break;
    case PolygonButton::f12:
      r.n = ReadEditInteger(request.Sides);
      if (r.n < 2 || r.n > 32) r.n = 12;
      break;
    case PolygonButton::f7:
      r.d = ReadEditReal(request.LegLength);
      if (r.d < 0.3 || r.d > 10.0) r.d = 2.0;
      r.kind = FaceKind::Isosceles;
      break;
    case PolygonButton::f9:
      r.d = ReadEditReal(request.Angle);
      if (r.d < 1.0 || r.d > 90.0) r.d = 60.0;
      r.kind = FaceKind::Rhombus;
      break;
    case PolygonButton::f11: {
      // Typed text in the special-face box selects no entry; the first entry serves then.
      const int index = (request.SpecialFace >= 0 && request.SpecialFace < kSpecialFaceCount) ? request.SpecialFace : 0;
      r.kind = static_cast<FaceKind>(3 + index);
      break;
    }
  }
  return r;
}

bool AddPolygonForButton(Construction& c, PolygonButton button, const PolygonRequest& request, ViewCentre centre) {
  const FaceRecipe recipe = RecipeForButton(button, request);
  double x0 = 0.0, y0 = 0.0;
  if (c.FaceCount != 0) {
    x0 = -300.0 / c.Scale;
    y0 = 250.0 / c.Scale;
  }
  const std::vector<NetPoint> corners = FaceCorners(recipe, x0, y0);
  if (corners.empty()) return false;
  return c.AppendWholeFace(corners, centre);
}

int ReadEditInteger(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return 0;
  unsigned long long magnitude = 0;  // unsigned, so that a second sign is refused
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  const auto [end, ec] = std::from_chars(first, last, magnitude, base);
  if (ec != std::errc() || end != last) return 0;
  if (magnitude > (negative ? 2147483648ULL : 2147483647ULL)) return 0;
  return static_cast<int>(negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude));
}

double ReadEditReal(const std::string& text) {
  std::string term = text;
  for (char& ch : term) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    if (ch == ',') ch = '.';
  }
  TermError = 0;
  const double value = EvaluateTerm(term, 1.0, TermEncoding::Utf8);
  return TermError != 0 ? 0.0 : value;
}

}  // namespace didod
