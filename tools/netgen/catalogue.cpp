#include "tools/netgen/catalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <stdexcept>

#include "persistence/catalogue.h"
#include "persistence/number_format.h"
#include "tools/netgen/solids.h"

namespace didod::netgen {

namespace {

std::uint32_t SeedOf(const std::string& name) {
  std::uint32_t h = 2166136261u;
  for (unsigned char c : name) { h ^= c; h *= 16777619u; }
  return h;
}

const SheetBox kBox;
const double kSheetWidth = 799, kSheetHeight = 638, kStandardScale = 50;

struct Pin {
  int face = 0, corner = 0;
  double angle = 0, scale = 0;
};

// Largest size of the net turned by the angle with the given point put on the
// target, inside the box.
double PinScale(const std::vector<Vec2>& hull, Vec2 pin, double angle, Vec2 target) {
  const double c = std::cos(angle), sn = std::sin(angle);
  double s = 1e300;
  for (const Vec2& v : hull) {
    const Vec2 d0 = v - pin;
    const Vec2 d{c * d0.x - sn * d0.y, sn * d0.x + c * d0.y};
    if (d.x > 1e-12) s = std::min(s, (kBox.halfWidth - target.x) / d.x);
    if (d.x < -1e-12) s = std::min(s, (-kBox.halfWidth - target.x) / d.x);
    if (d.y > 1e-12) s = std::min(s, (kBox.halfHeight - target.y) / d.y);
    if (d.y < -1e-12) s = std::min(s, (-kBox.halfHeight - target.y) / d.y);
  }
  return s;
}

// The corner and turn that let the net grow largest with that corner on the
// exponent record's first point.
Pin BestPin(const Net& net, int steps, int refinements) {
  const Vec2 target{kExponentFirstX, kExponentFirstY};
  std::vector<Vec2> all;
  for (const NetFace& f : net.faces) all.insert(all.end(), f.corners.begin(), f.corners.end());
  const std::vector<Vec2> hull = ConvexHull2D(all);
  const double pi = 3.14159265358979323846;
  Pin best;
  for (int k = 0; k < static_cast<int>(net.faces.size()); ++k)
    for (int c = 0; c < static_cast<int>(net.faces[k].corners.size()); ++c) {
      const Vec2 pin = net.faces[k].corners[c];
      for (int a = 0; a < steps; ++a) {
        const double angle = 2 * pi * a / steps;
        const double s = PinScale(hull, pin, angle, target);
        if (s > best.scale * (1 + 1e-12)) best = {k, c, angle, s};
      }
    }
  // Refine the turn.
  const Vec2 pin = net.faces[best.face].corners[best.corner];
  double lo = best.angle - 2 * pi / steps, hi = best.angle + 2 * pi / steps;
  for (int it = 0; it < refinements; ++it) {
    const double m1 = lo + (hi - lo) / 3, m2 = hi - (hi - lo) / 3;
    if (PinScale(hull, pin, m1, target) < PinScale(hull, pin, m2, target)) lo = m1; else hi = m2;
  }
  const double s = PinScale(hull, pin, (lo + hi) / 2, target);
  if (s > best.scale) { best.scale = s; best.angle = (lo + hi) / 2; }
  return best;
}

double PinnedSize(const Net& net) { return BestPin(net, 72, 12).scale; }

void PlaceExponentRecord(Net& net) {
  const Vec2 target{kExponentFirstX, kExponentFirstY};
  const Pin pin = BestPin(net, 720, 80);
  const Vec2 at = net.faces[pin.face].corners[pin.corner];
  const double s = pin.scale * (1 - 1e-9), c = std::cos(pin.angle), sn = std::sin(pin.angle);
  for (NetFace& f : net.faces)
    for (Vec2& v : f.corners) {
      if (v.x == at.x && v.y == at.y) { v = target; continue; }
      const Vec2 d = v - at;
      v = target + Vec2{c * d.x - sn * d.y, sn * d.x + c * d.y} * s;
    }
  net = Reroot(net, pin.face);
  net.faces[0].firstCorner = pin.corner;
}

}  // namespace

std::string ToWindows1252(const std::string& utf8) {
  std::optional<std::string> text = Utf8ToWindows1252(utf8);
  if (!text) throw std::invalid_argument("not in the catalogue's code page: " + utf8);
  return *text;
}

std::string FormatExponentCoordinate(double x) {
  if (x == 0) x = 0;  // no negative zero
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14E", x);
  std::string s = buf;
  const auto e = s.find('E');
  const std::string mantissa = s.substr(0, e);
  const char sign = s[e + 1];
  const int exponent = std::abs(std::stoi(s.substr(e + 2)));
  std::snprintf(buf, sizeof buf, "%c%04d", sign, exponent);
  return (mantissa[0] == '-' ? "" : " ") + mantissa + "E" + buf;
}

GeneratedNet GenerateNet(const std::string& name) {
  GeneratedNet g;
  g.name = name;
  g.solid = BuildSolid(name);
  const bool exponent = name == kExponentFormName;
  g.net = Unfold(g.solid, kBox, SeedOf(name), exponent ? NetScore(PinnedSize) : NetScore());
  if (exponent) {
    g.exponentForm = true;
    PlaceExponentRecord(g.net);
  } else {
    FitNet(g.net, kBox);
  }
  double area = 0, shortest = 1e300;
  for (const NetFace& f : g.net.faces) {
    area += std::fabs(PolygonArea(f.corners));
    for (std::size_t i = 0; i < f.corners.size(); ++i)
      shortest = std::min(shortest, Distance(f.corners[i], f.corners[(i + 1) % f.corners.size()]));
  }
  g.shortestEdge = shortest;
  g.fill = area * kStandardScale * kStandardScale / (kSheetWidth * kSheetHeight);
  return g;
}

std::vector<GeneratedNet> GenerateAll() {
  std::vector<GeneratedNet> all;
  for (const std::string& name : CatalogueNames()) all.push_back(GenerateNet(name));
  return all;
}

std::vector<std::string> RecordLines(const GeneratedNet& g) {
  const auto& faces = g.net.faces;
  std::vector<int> first;  // point number of each face's first written corner
  int points = 0;
  for (const NetFace& f : faces) { first.push_back(points + 1); points += static_cast<int>(f.corners.size()); }
  // Corners are written clockwise, as the program draws new polygons.
  auto pointOf = [&](int face, int corner) {
    const int m = static_cast<int>(faces[face].corners.size());
    return first[face] + ((faces[face].firstCorner - corner) % m + m) % m;
  };
  std::vector<bool> fixed(points + 1, false);
  std::vector<std::string> joins;
  for (int k = 1; k < static_cast<int>(faces.size()); ++k) {
    const NetFace& f = faces[k];
    const int pm = static_cast<int>(faces[f.parent].corners.size()), m = static_cast<int>(f.corners.size());
    const int moved = pointOf(k, f.ownEdge), turned = pointOf(k, (f.ownEdge + 1) % m);
    joins.push_back(std::to_string(moved) + "\t" + std::to_string(pointOf(f.parent, (f.parentEdge + 1) % pm)));
    joins.push_back(std::to_string(turned) + "\t" + std::to_string(pointOf(f.parent, f.parentEdge)));
    fixed[moved] = fixed[turned] = true;
  }
  std::vector<std::string> lines;
  lines.push_back(std::to_string(faces.size()));
  for (const NetFace& f : faces) lines.push_back(std::to_string(f.corners.size()));
  lines.push_back(std::to_string(points));
  auto format = [&](double v) { return g.exponentForm ? FormatExponentCoordinate(v) : FormatNetCoordinate(v); };
  int number = 0;
  for (const NetFace& f : faces) {
    const int m = static_cast<int>(f.corners.size());
    for (int p = 0; p < m; ++p) {
      const Vec2 v = f.corners[((f.firstCorner - p) % m + m) % m];
      ++number;
      lines.push_back(format(v.x));
      lines.push_back(format(v.y));
      lines.push_back(fixed[number] ? "1" : "0");
    }
  }
  lines.insert(lines.end(), joins.begin(), joins.end());
  return lines;
}

std::string CatalogueText(const std::vector<GeneratedNet>& nets) {
  std::vector<std::string> lines;
  for (const GeneratedNet& g : nets) lines.push_back(g.name);
  // Records: the double frustum first, the elongated square bipyramid last.
  std::vector<const GeneratedNet*> order;
  const GeneratedNet *firstRecord = nullptr, *lastRecord = nullptr;
  for (const GeneratedNet& g : nets) {
    if (g.name == "Fünfseitiger Doppelstumpf") firstRecord = &g;
    else if (g.name == "Johnson Polyeder 15") lastRecord = &g;
    else order.push_back(&g);
  }
  if (firstRecord) order.insert(order.begin(), firstRecord);
  if (lastRecord) order.push_back(lastRecord);
  for (const GeneratedNet* g : order) {
    lines.push_back("[" + g->name);
    for (std::string& l : RecordLines(*g)) lines.push_back(std::move(l));
  }
  lines.push_back("[#");
  std::string text;
  for (const std::string& l : lines) text += ToWindows1252(l) + "\r\n";
  return text;
}

}  // namespace didod::netgen
