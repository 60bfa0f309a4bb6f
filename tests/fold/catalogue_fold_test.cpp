// Every ready-made net folds into its solid.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <map>
#include <numbers>
#include <set>

#include "fold/fold.h"
#include "fold/net_complex.h"
#include "nets.h"
#include "persistence/catalogue.h"

namespace didod {
namespace {

struct Expected {
  int V, E, F;
  bool convex;
};

// Public counts of the catalogue's solids.
const std::map<std::string, Expected>& Solids() {
  static const std::map<std::string, Expected> solids = [] {
    std::map<std::string, Expected> m = {
        {"Tetraeder", {4, 6, 4, true}},
        {"Würfel", {8, 12, 6, true}},
        {"Oktaeder", {6, 12, 8, true}},
        {"Dodekaeder", {20, 30, 12, true}},
        {"Ikosaeder", {12, 30, 20, true}},
        {"Tetraederstumpf", {12, 18, 8, true}},
        {"Kuboktaeder", {12, 24, 14, true}},
        {"Hexaederstumpf", {24, 36, 14, true}},
        {"Oktaederstumpf", {24, 36, 14, true}},
        {"Rhombenkuboktaeder", {24, 48, 26, true}},
        {"Kuboktaederstumpf", {48, 72, 26, true}},
        {"Abgeschrägter Würfel", {24, 60, 38, true}},
        {"Ikosidodekaeder", {30, 60, 32, true}},
        {"Dodekaederstumpf", {60, 90, 32, true}},
        {"Ikosaederstumpf", {60, 90, 32, true}},
        {"Rhombenikosidodekaeder", {60, 120, 62, true}},
        {"Ikosidodekaederstumpf", {120, 180, 62, true}},
        {"Abgeschrägtes Dodekaeder", {60, 150, 92, true}},
        {"Triakistetraeder", {8, 18, 12, true}},
        {"Rhombendodekaeder", {14, 24, 12, true}},
        {"Pyramidenoktaeder", {14, 36, 24, true}},
        {"Pyramidenwürfel", {14, 36, 24, true}},
        {"Deltoid-24-Flächner", {26, 48, 24, true}},
        {"Hexakisoktaeder", {26, 72, 48, true}},
        {"Pentagonikositetraeder", {38, 60, 24, true}},
        {"Rhombentriakontaeder", {32, 60, 30, true}},
        {"Pyramidenikosaeder", {32, 90, 60, true}},
        {"Pyramidendodekaeder", {32, 90, 60, true}},
        {"Deltoid-60-Flächner", {62, 120, 60, true}},
        {"Hexakisikosaeder", {62, 180, 120, true}},
        {"Pentagon-60-Flächner", {92, 150, 60, true}},
        {"Antiprisma 5", {10, 20, 12, true}},
        {"Antiprisma 6", {12, 24, 14, true}},
        {"Fünfseitige Pyramide", {6, 10, 6, true}},
        {"Sechsseitige Pyramide", {7, 12, 7, true}},
        {"Vierseitiges Prisma", {8, 12, 6, true}},
        {"Fünfseitiges Prisma", {10, 15, 7, true}},
        {"Pentagrammprisma", {20, 30, 12, false}},
        {"Fünfseitiger Pyramidenstumpf", {10, 15, 7, true}},
        {"Sechsseitiger Pyramidenstumpf", {12, 18, 8, true}},
        {"Siebenseitiger Pyramidenstumpf", {14, 21, 9, true}},
        {"Fünfseitiger Doppelstumpf", {15, 25, 12, true}},
        {"Pyramidentetraeder", {8, 18, 12, false}},
        {"Spikey", {32, 90, 60, false}},
        {"Sterndodekaeder", {32, 90, 60, false}},
    };
    // Johnson solids 12 to 69: vertices, edges, faces; all convex.
    const int johnson[][4] = {
        {12, 5, 9, 6},    {13, 7, 15, 10},  {14, 8, 15, 9},   {15, 10, 20, 12}, {16, 12, 25, 15},
        {17, 10, 24, 16}, {18, 15, 27, 14}, {19, 20, 36, 18}, {20, 25, 45, 22}, {21, 30, 55, 27},
        {22, 15, 33, 20}, {23, 20, 44, 26}, {24, 25, 55, 32}, {25, 30, 65, 37}, {26, 8, 14, 8},
        {27, 12, 24, 14}, {28, 16, 32, 18}, {29, 16, 32, 18}, {30, 20, 40, 22}, {31, 20, 40, 22},
        {32, 25, 50, 27}, {33, 25, 50, 27}, {34, 30, 60, 32}, {35, 18, 36, 20}, {36, 18, 36, 20},
        {37, 24, 48, 26}, {38, 30, 60, 32}, {39, 30, 60, 32}, {40, 35, 70, 37}, {41, 35, 70, 37},
        {42, 40, 80, 42}, {43, 40, 80, 42}, {44, 18, 42, 26}, {45, 24, 56, 34}, {46, 30, 70, 42},
        {47, 35, 80, 47}, {48, 40, 90, 52}, {49, 7, 13, 8},   {50, 8, 17, 11},  {51, 9, 21, 14},
        {52, 11, 19, 10}, {53, 12, 23, 13}, {54, 13, 22, 11}, {55, 14, 26, 14}, {56, 14, 26, 14},
        {57, 15, 30, 17}, {58, 21, 35, 16}, {59, 22, 40, 20}, {60, 22, 40, 20}, {61, 23, 45, 24},
        {62, 10, 20, 12}, {63, 9, 15, 8},   {64, 10, 18, 10}, {65, 15, 27, 14}, {66, 28, 48, 22},
        {67, 32, 60, 30}, {68, 65, 105, 42}, {69, 70, 120, 52}};
    for (const auto& j : johnson) m["Johnson Polyeder " + std::to_string(j[0])] = {j[1], j[2], j[3], true};
    return m;
  }();
  return solids;
}

class Catalogue : public ::testing::Test {
 protected:
  void SetUp() override {
    try {
      LoadListFromResource(lines, "konetz");
    } catch (...) {
    }
    names = CatalogueNames(lines);
    if (names.size() < 103) GTEST_SKIP() << "the catalogue is not built in yet";
  }
  Construction Net(const std::string& name) {
    auto c = ReadCatalogueNet(lines, name, ViewCentre{400, 300});
    EXPECT_TRUE(c.has_value()) << name;
    return c ? *c : Construction{};
  }
  std::vector<std::string> lines;
  std::vector<std::string> names;
};

// Edge lengths of the solid are those of the sheet: every gluing joins two
// edges of one length, and every face keeps its corners' distances.
void ExpectEdgesKeepTheirLengths(const Construction& c, const FoldResult& r) {
  auto corner = [&](EdgeRef e, int plus) {
    const FaceRangeResult fr = c.FaceRange(e.face);
    return c.NetPoints[fr.first + (e.corner + plus) % c.FaceSizes[e.face]];
  };
  auto length = [&](EdgeRef e) {
    const NetPoint a = corner(e, 0), b = corner(e, 1);
    return std::hypot(a.x - b.x, a.y - b.y);
  };
  const FoldedSolid& solid = r.solids.front();
  for (const EdgeGluing& g : solid.gluings) EXPECT_NEAR(length(g.a), length(g.b), 1e-6);
  for (int f = 1; f <= c.FaceCount; ++f) {
    const FaceRangeResult fr = c.FaceRange(f);
    const auto& s = solid.corners[f - 1];
    for (int i = fr.first; i < fr.last; ++i) {
      const geo::Vec3 &a = s[i - fr.first], &b = s[i - fr.first + 1];
      EXPECT_NEAR(std::hypot(a.x - b.x, a.y - b.y, a.z - b.z),
                  std::hypot(c.NetPoints[i].x - c.NetPoints[i + 1].x, c.NetPoints[i].y - c.NetPoints[i + 1].y), 1e-6);
    }
  }
}

TEST_F(Catalogue, EveryNetFoldsIntoItsSolid) {
  FoldOptions options;
  // The sanitizers slow the check down several times; the budget is for
  // undecidable cases, not for these.
  options.timeBudgetSeconds = 4;
  int undecided = 0;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const auto it = Solids().find(name);
    ASSERT_NE(it, Solids().end());
    const Expected& want = it->second;
    const Construction c = Net(name);
    const FoldResult r = FoldNet(c, options);
    if (r.verdict == FoldResult::Verdict::Undecided) {
      EXPECT_EQ(name, "Spikey");
      ++undecided;
      continue;
    }
    ASSERT_FALSE(r.solids.empty()) << r.message;
    const FoldedSolid& s = r.solids.front();
    EXPECT_EQ(s.faces, want.F) << r.message;
    EXPECT_EQ(s.edges, want.E) << r.message;
    EXPECT_EQ(s.vertices, want.V) << r.message;
    EXPECT_EQ(s.convex, want.convex) << r.message;
    if (want.convex) {
      EXPECT_TRUE(r.verdict == FoldResult::Verdict::Convex || r.verdict == FoldResult::Verdict::Several);
    } else {
      EXPECT_TRUE(r.verdict == FoldResult::Verdict::NonConvex || r.verdict == FoldResult::Verdict::Several);
    }
    EXPECT_EQ(s.hinges.size() + s.gluings.size(), static_cast<size_t>(want.E));
    // "nur" only where the search was complete.
    EXPECT_FALSE(r.message.find("nur zu") != std::string::npos && r.message.find("offen") != std::string::npos)
        << r.message;
    ExpectEdgesKeepTheirLengths(c, r);
  }
  EXPECT_LE(undecided, 1);
}

TEST_F(Catalogue, DihedralAnglesOfKnownSolids) {
  constexpr double kDeg = 180.0 / std::numbers::pi;
  const std::map<std::string, std::vector<double>> known = {
      {"Tetraeder", {70.528779}},
      {"Würfel", {90.0}},
      {"Dodekaeder", {116.565051}},
      {"Ikosaederstumpf", {138.189685, 142.622632}},
  };
  for (const auto& [name, angles] : known) {
    SCOPED_TRACE(name);
    const FoldResult r = FoldNet(Net(name));
    ASSERT_FALSE(r.solids.empty()) << r.message;
    const FoldedSolid& s = r.solids.front();
    ASSERT_TRUE(s.convex) << r.message;
    std::set<int> seen;
    auto check = [&](double d) {
      bool match = false;
      for (size_t i = 0; i < angles.size(); ++i)
        if (std::fabs(d * kDeg - angles[i]) < 1e-4) {
          match = true;
          seen.insert(static_cast<int>(i));
        }
      EXPECT_TRUE(match) << d * kDeg;
    };
    for (const Hinge& h : s.hinges) check(h.dihedral);
    for (double d : s.gluingDihedral) check(d);
    EXPECT_EQ(seen.size(), angles.size());
  }
}

// The net without one face, taken out with its points.
Construction Without(const Construction& c, int face) {
  Construction out;
  for (int f = 1; f <= c.FaceCount; ++f) {
    if (f == face) continue;
    const FaceRangeResult fr = c.FaceRange(f);
    std::vector<NetPoint> corners(c.NetPoints.begin() + fr.first, c.NetPoints.begin() + fr.last + 1);
    out.AppendWholeFace(corners, ViewCentre{400, 300});
  }
  return out;
}

TEST_F(Catalogue, BrokenNetsNeverGiveAWrongSolid) {
  for (const char* name : {"Würfel", "Dodekaeder", "Kuboktaeder", "Johnson Polyeder 12"}) {
    SCOPED_TRACE(name);
    const Construction c = Net(name);
    for (int f : {1, c.FaceCount / 2, c.FaceCount}) {
      const FoldResult r = FoldNet(Without(c, f));
      EXPECT_TRUE(r.verdict == FoldResult::Verdict::DoesNotFold || r.verdict == FoldResult::Verdict::NotANet)
          << f << ": " << r.message;
      EXPECT_TRUE(r.solids.empty());
    }
    // Two faces on top of each other.
    Construction twice = c;
    const FaceRangeResult last = c.FaceRange(c.FaceCount);
    std::vector<NetPoint> corners(c.NetPoints.begin() + last.first, c.NetPoints.begin() + last.last + 1);
    for (NetPoint& p : corners) p.x += 0.3;
    twice.AppendWholeFace(corners, ViewCentre{400, 300});
    const FoldResult r = FoldNet(twice);
    EXPECT_EQ(r.verdict, FoldResult::Verdict::NotANet);
    EXPECT_NE(r.message.find("überdecken sich"), std::string::npos) << r.message;
  }
}

// Faces (other than face 1) hinged to the rest at one edge only, with an even
// number of corners, so that the net without one of them still has an even
// number of free edges to glue.
std::vector<int> Leaves(const Construction& c) {
  foldnet::NetComplex net;
  EXPECT_TRUE(foldnet::BuildNetComplex(c, 1e-4, net));
  std::vector<int> hinges(net.faces.size(), 0), leaves;
  for (const auto& h : net.hinges) {
    ++hinges[h.a.face];
    ++hinges[h.b.face];
  }
  for (size_t f = 1; f < net.faces.size(); ++f)
    if (hinges[f] == 1 && net.faces[f].Size() % 2 == 0) leaves.push_back(static_cast<int>(f) + 1);
  return leaves;
}

// Without a leaf these nets fold into real (non-convex) solids, but also
// very nearly into shapes with a face folded back flat onto its neighbour;
// those are no solids.
TEST_F(Catalogue, NoFaceOfASolidLiesFoldedOntoAnother) {
  FoldOptions quick;
  quick.timeBudgetSeconds = 1;
  int solids = 0;
  for (const char* name : {"Johnson Polyeder 16", "Johnson Polyeder 22"}) {
    const Construction c = Net(name);
    for (int leaf : Leaves(c)) {
      SCOPED_TRACE(std::string(name) + " without " + std::to_string(leaf));
      const FoldResult r = FoldNet(Without(c, leaf), quick);
      for (const FoldedSolid& s : r.solids) {
        ++solids;
        auto open = [](double angle) { return angle > 1e-3 && angle < 2 * std::numbers::pi - 1e-3; };
        for (const Hinge& h : s.hinges) EXPECT_TRUE(open(h.dihedral)) << h.dihedral;
        for (double d : s.gluingDihedral) EXPECT_TRUE(open(d)) << d;
      }
    }
  }
  EXPECT_GT(solids, 0);
}

// The largest catalogue nets without a leaf cannot be decided in time; the
// check says so within its budget (and a tenth).
TEST_F(Catalogue, LargeBrokenNetsReturnWithinTheirBudget) {
  const FoldOptions options;
  for (const char* name : {"Rhombenikosidodekaeder", "Johnson Polyeder 42"}) {
    SCOPED_TRACE(name);
    const Construction c = Net(name);
    const std::vector<int> leaves = Leaves(c);
    ASSERT_FALSE(leaves.empty());
    const auto start = std::chrono::steady_clock::now();
    const FoldResult r = FoldNet(Without(c, leaves.back()), options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LE(seconds, 1.1 * options.timeBudgetSeconds) << r.message;
    if (r.solids.empty() && r.verdict != FoldResult::Verdict::DoesNotFold) {
      // Stopped at the time limit or at the most candidates it keeps, and it says which.
      EXPECT_EQ(r.verdict, FoldResult::Verdict::Undecided) << r.message;
      EXPECT_EQ(r.message, std::string("Ob sich das Netz zu einem Körper schließt, blieb offen: die Suche endete an ") +
                               (r.stop == FoldStop::TimeLimit ? "der Zeitgrenze."
                                                              : "ihrer Höchstzahl von 50000 Kandidaten."));
      EXPECT_NE(r.stop, FoldStop::None);
    }
  }
}

}  // namespace
}  // namespace didod
