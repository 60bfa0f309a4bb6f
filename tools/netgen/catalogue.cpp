#include "tools/netgen/catalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <stdexcept>

#include "persistence/catalogue.h"
#include "persistence/number_format.h"
#include "solids/net.h"
#include "tools/netgen/solids.h"
#include "unfold/net_construction.h"

namespace didod::netgen {

namespace {

const SheetBox kBox;
const double kSheetWidth = 799, kSheetHeight = 638, kStandardScale = 50;

// The exponent record keeps its net centred on the origin and puts one
// corner exactly on its first point: the net turned by `angle` and scaled by
// `scale` about the centre of its bounding box.
struct Pin {
  int face = -1, corner = 0;
  double angle = 0, scale = 0;
};

struct Turned {
  Vec2 centre;        // of the bounding box
  double fit = 0;     // largest scale inside the box
};

Turned TurnedBox(const std::vector<Vec2>& hull, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  double lox = 1e300, hix = -1e300, loy = 1e300, hiy = -1e300;
  for (const Vec2& v : hull) {
    const double x = c * v.x - s * v.y, y = s * v.x + c * v.y;
    lox = std::min(lox, x); hix = std::max(hix, x);
    loy = std::min(loy, y); hiy = std::max(hiy, y);
  }
  return {{(lox + hix) / 2, (loy + hiy) / 2},
          std::min(2 * kBox.halfWidth / (hix - lox), 2 * kBox.halfHeight / (hiy - loy))};
}

// Where the corner lies, relative to the box centre, in the net turned by angle.
Vec2 Offset(const std::vector<Vec2>& hull, Vec2 corner, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  return Vec2{c * corner.x - s * corner.y, s * corner.x + c * corner.y} - TurnedBox(hull, angle).centre;
}

// Turns at which the corner points towards the target (seen from the centre),
// with the scale that then puts it on the target; the largest that fits.
Pin BestPin(const Net& net, int steps) {
  const Vec2 target{kExponentFirstX, kExponentFirstY};
  std::vector<Vec2> all;
  for (const NetFace& f : net.faces) all.insert(all.end(), f.corners.begin(), f.corners.end());
  const std::vector<Vec2> hull = ConvexHull2D(all);
  const double pi = 3.14159265358979323846;
  auto side = [&](Vec2 corner, double angle) { return Cross(Offset(hull, corner, angle), target); };
  Pin best;
  for (int k = 0; k < static_cast<int>(net.faces.size()); ++k)
    for (int c = 0; c < static_cast<int>(net.faces[k].corners.size()); ++c) {
      const Vec2 corner = net.faces[k].corners[c];
      double prevAngle = 0, prev = side(corner, 0);
      for (int a = 1; a <= steps; ++a) {
        const double angle = 2 * pi * a / steps, now = side(corner, angle);
        if ((prev < 0) != (now < 0)) {
          double lo = prevAngle, hi = angle, flo = prev;
          for (int it = 0; it < 60; ++it) {
            const double mid = (lo + hi) / 2, fm = side(corner, mid);
            if ((fm < 0) == (flo < 0)) { lo = mid; flo = fm; } else { hi = mid; }
          }
          const double root = (lo + hi) / 2;
          const Vec2 u = Offset(hull, corner, root);
          const double scale = Norm(target) / Norm(u);
          if (Dot(u, target) > 0 && scale <= TurnedBox(hull, root).fit * (1 - 1e-9) &&
              scale > best.scale * (1 + 1e-12))
            best = {k, c, root, scale};
        }
        prevAngle = angle;
        prev = now;
      }
    }
  return best;
}

double PinnedSize(const Net& net) { return BestPin(net, 180).scale; }

void PlaceExponentRecord(Net& net) {
  const Vec2 target{kExponentFirstX, kExponentFirstY};
  const Pin pin = BestPin(net, 720);
  if (pin.face < 0) throw std::runtime_error("no corner of the net can lie on the first point");
  std::vector<Vec2> all;
  for (const NetFace& f : net.faces) all.insert(all.end(), f.corners.begin(), f.corners.end());
  const Vec2 centre = TurnedBox(ConvexHull2D(all), pin.angle).centre;
  const double c = std::cos(pin.angle), s = std::sin(pin.angle);
  const Vec2 at = net.faces[pin.face].corners[pin.corner];
  for (NetFace& f : net.faces)
    for (Vec2& v : f.corners) {
      const bool pinned = v.x == at.x && v.y == at.y;
      v = (Vec2{c * v.x - s * v.y, s * v.x + c * v.y} - centre) * pin.scale;
      if (pinned) v = target;
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
  g.net = Unfold(g.solid, kBox, solids::NetSeed(name), exponent ? NetScore(PinnedSize) : NetScore());
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
  const unfold::NetPoints net = unfold::PointsOfNet(g.net);
  std::vector<std::string> lines;
  lines.push_back(std::to_string(net.faceSizes.size()));
  for (int size : net.faceSizes) lines.push_back(std::to_string(size));
  lines.push_back(std::to_string(net.PointCount()));
  auto format = [&](double v) { return g.exponentForm ? FormatExponentCoordinate(v) : FormatNetCoordinate(v); };
  for (int i = 0; i < net.PointCount(); ++i) {
    lines.push_back(format(net.points[i].x));
    lines.push_back(format(net.points[i].y));
    lines.push_back(net.fixed[i] ? "1" : "0");
  }
  for (const auto& [a, b] : net.joins) lines.push_back(std::to_string(a) + "\t" + std::to_string(b));
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
