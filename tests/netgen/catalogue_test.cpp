// Checks the committed catalogue, read through the program's own reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "persistence/catalogue.h"
#include "persistence/net_record.h"
#include "persistence/number_format.h"
#include "tests/netgen/expected_counts.h"
#include "tools/netgen/solids.h"
#include "tools/netgen/vocabulary.h"

namespace didod::netgen {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string& CatalogueBytes() {
  static const std::string bytes = ReadFile(std::string(DIDOD_SOURCE_DIR) + "/resources/konetz.txt");
  return bytes;
}

const std::vector<std::string>& Lines() {
  static const std::vector<std::string> lines = SplitLines(CatalogueBytes());
  return lines;
}

const ViewCentre kCentre{399, 319};

TEST(Catalogue, TextHasTheLayoutOfTheCatalogue) {
  const std::string& text = CatalogueBytes();
  ASSERT_FALSE(text.empty());
  // CR LF after every line, no bare CR or LF, no empty line.
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << i;
    }
    if (text[i] == '\n') {
      ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << i;
    }
  }
  EXPECT_EQ(text.find("\r\n\r\n"), std::string::npos);
  // The only letters outside ASCII are ä and ü in Windows-1252.
  std::set<unsigned char> high;
  for (unsigned char c : text)
    if (c >= 0x80) high.insert(c);
  EXPECT_EQ(high, (std::set<unsigned char>{0xE4, 0xFC}));

  const auto& lines = Lines();
  const std::vector<std::string> names = didod::CatalogueNames(lines);
  ASSERT_EQ(names, netgen::CatalogueNames());
  ASSERT_EQ(names.size(), 103u);
  EXPECT_EQ(names.front(), "Antiprisma 5");
  EXPECT_EQ(names[2], "Abgeschrägtes Dodekaeder");
  EXPECT_EQ(names[18], "Ikosidodekaederstumpf");
  for (int j = 12; j <= 69; ++j) EXPECT_EQ(names[j + 7], "Johnson Polyeder " + std::to_string(j));
  EXPECT_EQ(names[77], "Kuboktaeder");
  EXPECT_EQ(names.back(), "Würfel");
  for (const std::string& n : names) EXPECT_TRUE(testing::ExpectedFaces().count(n)) << n;
  std::set<std::string> folded;
  for (const std::string& n : names) {
    std::string f = n;
    std::transform(f.begin(), f.end(), f.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_TRUE(folded.insert(f).second) << n;
  }
  // One record per name, the double frustum first, the elongated square bipyramid last, then "[#".
  std::map<std::string, int> records;
  std::vector<std::string> order;
  for (std::size_t i = 103; i + 1 < lines.size(); ++i)
    if (!lines[i].empty() && lines[i][0] == '[') {
      const std::string name = Windows1252ToUtf8(lines[i].substr(1));
      ++records[name];
      order.push_back(name);
    }
  EXPECT_EQ(lines[103][0], '[');
  EXPECT_EQ(lines.back(), "[#");
  EXPECT_EQ(records.size(), 103u);
  for (const std::string& n : names) EXPECT_EQ(records[n], 1) << n;
  ASSERT_EQ(order.size(), 103u);
  EXPECT_EQ(order.front(), "Fünfseitiger Doppelstumpf");
  EXPECT_EQ(order.back(), "Johnson Polyeder 15");
}

TEST(Catalogue, CoordinatesAreWrittenInTheirForms) {
  const auto& lines = Lines();
  std::string name;
  int exponentLines = 0;
  for (std::size_t i = 103; i + 1 < lines.size(); ++i) {
    const std::string& l = lines[i];
    if (l[0] == '[') { name = Windows1252ToUtf8(l.substr(1)); continue; }
    if (l.find('.') == std::string::npos && l.find('E') == std::string::npos) continue;
    if (name == "Antiprisma 6") {
      ++exponentLines;
      ASSERT_EQ(l.size(), 23u) << l;
      EXPECT_TRUE(l[0] == ' ' || l[0] == '-') << l;
      EXPECT_EQ(l[2], '.');
      EXPECT_EQ(l[17], 'E');
      EXPECT_TRUE(l[18] == '+' || l[18] == '-');
    } else {
      EXPECT_EQ(FormatNetCoordinate(ParseLineReal(l)), l) << name;
    }
  }
  EXPECT_EQ(exponentLines, 96);
  const auto net = ReadCatalogueNet(lines, "Antiprisma 6", kCentre);
  ASSERT_TRUE(net);
  EXPECT_EQ(net->NetPoints[1].x, 0.566025403784439);
  EXPECT_EQ(net->NetPoints[1].y, -0.02);
}

struct FaceShape {
  std::vector<double> sides, angles;  // counter-clockwise from each corner
};

FaceShape ShapeOf(const std::vector<Vec2>& c) {
  FaceShape s;
  const std::size_t n = c.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Vec2 a = c[(i + n - 1) % n], b = c[i], d = c[(i + 1) % n];
    s.sides.push_back(Distance(b, d));
    s.angles.push_back(std::atan2(Cross(d - b, a - b), Dot(d - b, a - b)));
  }
  return s;
}

bool Congruent(const FaceShape& a, const FaceShape& b, double scale, double tol) {
  const std::size_t n = a.sides.size();
  if (b.sides.size() != n) return false;
  for (std::size_t shift = 0; shift < n; ++shift) {
    bool ok = true;
    for (std::size_t i = 0; i < n && ok; ++i)
      ok = std::fabs(a.sides[(i + shift) % n] - scale * b.sides[i]) < tol * scale &&
           std::fabs(a.angles[(i + shift) % n] - b.angles[i]) < tol;
    if (ok) return true;
  }
  return false;
}

// The solid's faces laid flat on their own, counter-clockwise from outside.
std::vector<FaceShape> SolidFaces(const Polyhedron& p) {
  std::vector<FaceShape> r;
  for (int f = 0; f < static_cast<int>(p.faces.size()); ++f) {
    const Vec3 n = FaceNormal(p, f);
    const auto& face = p.faces[f];
    const Vec3 o = p.vertices[face[0]], e1 = Normalized(p.vertices[face[1]] - o), e2 = Cross(n, e1);
    std::vector<Vec2> c;
    for (int v : face) c.push_back({Dot(p.vertices[v] - o, e1), Dot(p.vertices[v] - o, e2)});
    r.push_back(ShapeOf(c));
  }
  return r;
}

TEST(Catalogue, EveryNetIsAWholeOverlapFreeNetOfItsSolid) {
  const auto& lines = Lines();
  int allFaces = 0, allPoints = 0;
  for (const std::string& name : netgen::CatalogueNames()) {
    SCOPED_TRACE(name);
    const auto c = ReadCatalogueNet(lines, name, kCentre);
    ASSERT_TRUE(c);
    const int faces = c->FaceCount;
    allFaces += faces;
    allPoints += c->PointCount;
    int sum = 0;
    for (int f = 1; f <= faces; ++f) sum += c->FaceSizes[f];
    EXPECT_EQ(sum, c->PointCount);

    // Faces as written (clockwise), turned counter-clockwise for comparison with the solid.
    std::vector<std::vector<Vec2>> net(faces + 1);
    std::map<int, std::size_t> sizes;
    for (int f = 1; f <= faces; ++f) {
      const auto r = c->FaceRange(f);
      for (int p = r.last; p >= r.first; --p) net[f].push_back({c->NetPoints[p].x, c->NetPoints[p].y});
      EXPECT_GT(PolygonArea(net[f]), 0) << "face " << f << " must run clockwise";
      ++sizes[c->FaceSizes[f]];
    }
    std::map<int, int> counts;
    for (auto [k, v] : sizes) counts[k] = static_cast<int>(v);
    EXPECT_EQ(counts, testing::ParseCounts(testing::ExpectedFaces().at(name)));

    // Fixed points and join lines: two per face after the first, each face
    // hanging on an earlier face along a whole common edge.
    int fixed = 0;
    for (int p = 1; p <= c->PointCount; ++p) fixed += c->ScreenPoints[p].Fixed;
    EXPECT_EQ(fixed, 2 * (faces - 1));
    ASSERT_EQ(static_cast<int>(c->JoinList.size()), 2 * (faces - 1));
    for (std::size_t j = 0; j + 1 < c->JoinList.size(); j += 2) {
      int a[2], b[2];
      for (int k = 0; k < 2; ++k) {
        const std::string& l = c->JoinList[j + k];
        const auto tab = l.find('\t');
        ASSERT_NE(tab, std::string::npos);
        a[k] = ParseLineInteger(l.substr(0, tab));
        b[k] = ParseLineInteger(l.substr(tab + 1));
        ASSERT_TRUE(a[k] >= 1 && a[k] <= c->PointCount && b[k] >= 1 && b[k] <= c->PointCount);
        EXPECT_TRUE(c->ScreenPoints[a[k]].Fixed);
        EXPECT_LT(std::hypot(c->NetPoints[a[k]].x - c->NetPoints[b[k]].x, c->NetPoints[a[k]].y - c->NetPoints[b[k]].y),
                  1e-9);
      }
      const int face = c->FaceOfPoint(a[0]).face, parent = c->FaceOfPoint(b[0]).face;
      EXPECT_EQ(face, static_cast<int>(j / 2) + 2) << "faces are joined in their order";
      EXPECT_EQ(c->FaceOfPoint(a[1]).face, face);
      EXPECT_EQ(c->FaceOfPoint(b[1]).face, parent);
      EXPECT_LT(parent, face);
      // Both pairs are neighbouring corners: the faces share a whole edge.
      auto neighbours = [&](int p, int q) {
        const auto r = c->FaceOfPoint(p);
        const int n = r.last - r.first + 1;
        const int d = ((q - p) % n + n) % n;
        return d == 1 || d == n - 1;
      };
      EXPECT_TRUE(neighbours(a[0], a[1]));
      EXPECT_TRUE(neighbours(b[0], b[1]));
    }

    // Every face congruent to a face of the solid, one to one.
    const Polyhedron solid = BuildSolid(name);
    const std::vector<FaceShape> solidFaces = SolidFaces(solid);
    double netLength = 0, solidLength = 0;
    for (int f = 1; f <= faces; ++f)
      for (double s : ShapeOf(net[f]).sides) netLength += s;
    for (const FaceShape& s : solidFaces)
      for (double d : s.sides) solidLength += d;
    const double scale = netLength / solidLength;
    std::vector<bool> used(solidFaces.size(), false);
    for (int f = 1; f <= faces; ++f) {
      const FaceShape shape = ShapeOf(net[f]);
      bool found = false;
      for (std::size_t s = 0; s < solidFaces.size() && !found; ++s)
        if (!used[s] && Congruent(shape, solidFaces[s], scale, 1e-8)) used[s] = found = true;
      EXPECT_TRUE(found) << "face " << f;
    }

    // No two faces overlap.
    for (int f = 1; f <= faces; ++f)
      for (int g = f + 1; g <= faces; ++g) {
        const double area = std::min(PolygonArea(net[f]), PolygonArea(net[g]));
        EXPECT_LT(OverlapArea(net[f], net[g]), 1e-9 * area) << f << " " << g;
      }

    // Inside the sheet of 799 x 638 pixels at scale 50, 10 pixels from every edge.
    EXPECT_EQ(c->Scale, 50.0);
    double lox = 1e300, hix = -1e300, loy = 1e300, hiy = -1e300;
    for (int p = 1; p <= c->PointCount; ++p) {
      lox = std::min(lox, c->ScreenPoints[p].x); hix = std::max(hix, c->ScreenPoints[p].x);
      loy = std::min(loy, c->ScreenPoints[p].y); hiy = std::max(hiy, c->ScreenPoints[p].y);
    }
    EXPECT_GE(lox, 10);
    EXPECT_LE(hix, 798 - 10);
    EXPECT_GE(loy, 10);
    EXPECT_LE(hiy, 637 - 10);
    // Centred on the origin; as large as fits, except where the first point is given.
    EXPECT_NEAR(lox + hix, 2 * 399, 1e-6);
    EXPECT_NEAR(loy + hiy, 2 * 319, 1e-6);
    if (name != "Antiprisma 6") {
      EXPECT_TRUE(std::fabs(hix - lox - 778) < 1e-5 || std::fabs(hiy - loy - 616) < 1e-5);
    }
  }
  EXPECT_EQ(allFaces, 2615);
  EXPECT_EQ(allPoints, 9832);
}

}  // namespace
}  // namespace didod::netgen
