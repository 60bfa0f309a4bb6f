// Solids written as 3-D files come back as the same solids, unfold into one
// piece and fold back into their shape.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "fold/fold.h"
#include "tests/unfold/random_solids.h"
#include "tools/netgen/solids.h"
#include "unfold/export.h"
#include "unfold/import.h"
#include "unfold/mesh.h"
#include "solids/net.h"
#include "unfold/net_construction.h"

namespace didod::unfold {
namespace {

struct Kind {
  SolidFormat format;
  bool triangles;
  const char* extension;
};

const std::vector<Kind>& Kinds() {
  static const std::vector<Kind> kinds = {
      {SolidFormat::Off, false, "off"},      {SolidFormat::Obj, false, "obj"},
      {SolidFormat::StlAscii, true, "stl"},  {SolidFormat::StlBinary, true, "stl"},
      {SolidFormat::Off, true, "off"},       {SolidFormat::Obj, true, "obj"},
      {SolidFormat::Ply, false, "ply"},
  };
  return kinds;
}

std::string Describe(const Kind& k) {
  std::string s = k.extension;
  if (k.format == SolidFormat::StlBinary) s += " (binary)";
  if (k.format == SolidFormat::StlAscii) s += " (ASCII)";
  if (k.triangles) s += " in triangles";
  return s;
}

Polyhedron ThroughFile(const Polyhedron& solid, const Kind& kind, const std::string& name = "solid") {
  const std::vector<unsigned char> bytes = SolidFileBytes(solid, kind.format, kind.triangles);
  return ImportSolid(bytes, name + "." + kind.extension);
}

// The same vertices (within the precision of the file) and the same faces,
// each with the same corners in the same cyclic order.
void ExpectSameSolid(const Polyhedron& want, const Polyhedron& got, double precision) {
  ASSERT_EQ(got.vertices.size(), want.vertices.size());
  ASSERT_EQ(got.faces.size(), want.faces.size());
  const double size = EdgeLengthRange(want).second;
  std::vector<int> match(got.vertices.size(), -1);
  for (std::size_t i = 0; i < got.vertices.size(); ++i)
    for (std::size_t j = 0; j < want.vertices.size(); ++j)
      if (geo::Distance(got.vertices[i], want.vertices[j]) <= precision * size) match[i] = static_cast<int>(j);
  for (int m : match) ASSERT_GE(m, 0);
  auto canonical = [](std::vector<int> f) {
    std::rotate(f.begin(), std::min_element(f.begin(), f.end()), f.end());
    return f;
  };
  std::set<std::vector<int>> wanted;
  for (const auto& f : want.faces) wanted.insert(canonical(f));
  for (auto f : got.faces) {
    for (int& v : f) v = match[v];
    EXPECT_TRUE(wanted.count(canonical(f)));
  }
}

// The construction folds into a solid of the shape given.
void ExpectFoldsInto(const Construction& c, const Polyhedron& shape) {
  ASSERT_TRUE(c.IsConsistent());
  EXPECT_EQ(c.FaceCount, static_cast<int>(shape.faces.size()));
  EXPECT_EQ(c.JoinList.size(), 2u * (shape.faces.size() - 1));
  // A net placed like a ready-made one lies inside the catalogue's box.
  const SheetBox box;
  for (int i = 1; i <= c.PointCount; ++i) {
    EXPECT_LE(std::fabs(c.NetPoints[i].x), box.halfWidth + 1e-9);
    EXPECT_LE(std::fabs(c.NetPoints[i].y), box.halfHeight + 1e-9);
  }
  // A budget no load on the machine exhausts, so that the outcome depends on
  // the net alone (these nets are checked in well under a second each).
  FoldOptions options;
  options.timeBudgetSeconds = 300;
  const FoldResult r = FoldNet(c, options);
  ASSERT_FALSE(r.solids.empty()) << r.message;
  EXPECT_NE(r.stop, FoldStop::TimeLimit) << "the net check used up its time: " << r.message;
  EXPECT_NE(r.verdict, FoldResult::Verdict::NotANet) << r.message;
  // The net may close into several solids; the shape is one of them.
  bool found = false;
  for (const FoldedSolid& s : r.solids) {
    const Soup folded = WeldFaces(s.corners, 1e-7);
    found = found || testing::SameShape(shape, Polyhedron{folded.vertices, folded.faces}, 1e-5);
  }
  EXPECT_TRUE(found) << r.message;
}

Construction NetOf(const Polyhedron& solid) {
  std::optional<Construction> c = solids::SolidNetConstruction(solid, "solid", 799, 638, ViewCentre{399, 319});
  if (!c) throw std::runtime_error("the net does not fit the store");
  return std::move(*c);
}

// A cube as PLY: ASCII with comments, normals, colours and an element the
// import does not use, and binary in both byte orders, the first number's
// first byte a line end (which the library's reader took for part of the
// header's last line).
TEST(Import, PlyFilesOfEveryFormatGiveTheCube) {
  const std::vector<Vec3> corners{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
  const std::vector<std::vector<int>> faces{{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                            {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
  std::string ascii =
      "ply\r\nformat ascii 1.0\r\ncomment made by hand\r\nelement vertex 8\r\nproperty double x\r\n"
      "property double y\r\nproperty double z\r\nproperty float nx\r\nproperty uchar red\r\nelement face 6\r\n"
      "property list uchar int vertex_indices\r\nelement edge 1\r\nproperty int vertex1\r\nproperty int vertex2\r\n"
      "end_header\r\n";
  for (const Vec3& v : corners) ascii += std::to_string(v.x) + " " + std::to_string(v.y) + " " + std::to_string(v.z) + " 0.5 255\n";
  for (const auto& f : faces) ascii += "4 " + std::to_string(f[0]) + " " + std::to_string(f[1]) + " " +
                                       std::to_string(f[2]) + " " + std::to_string(f[3]) + "\n";
  ascii += "0 1\n";
  std::vector<std::vector<unsigned char>> files{{ascii.begin(), ascii.end()}};
  for (const bool little : {true, false}) {
    const std::string head = std::string("ply\nformat binary_") + (little ? "little" : "big") +
                             "_endian 1.0\nelement vertex 8\nproperty float x\nproperty float y\nproperty float z\n"
                             "element face 6\nproperty list uchar uint vertex_index\nend_header\n";
    std::vector<unsigned char> b(head.begin(), head.end());
    auto put = [&](std::uint32_t bits) {
      for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(bits >> (little ? 8 * i : 24 - 8 * i)));
    };
    for (const Vec3& v : corners)
      for (const double c : {v.x, v.y, v.z}) {
        float f = static_cast<float>(c);
        std::uint32_t bits = 0;
        std::memcpy(&bits, &f, 4);
        // The very first number: 0 with its lowest byte a line end (a tiny number, welded to 0).
        put(b.size() == head.size() ? (little ? 0x0000000Au : 0x0A000000u) : bits);
      }
    for (const auto& f : faces) {
      b.push_back(4);
      for (int v : f) put(static_cast<std::uint32_t>(v));
    }
    files.push_back(std::move(b));
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE("file " + std::to_string(i));
    ExpectSameSolid(Polyhedron{corners, faces}, ImportSolid(files[i], "w\xC3\xBCrfel.ply"), 1e-6);
  }
}

// Every seventh solid through every kind of file; with DIDOD_UNFOLD_ALL=1
// every solid.
TEST(Import, CatalogueSolidsComeBackFromEveryKindOfFile) {
  const bool all = std::getenv("DIDOD_UNFOLD_ALL") != nullptr;
  const std::vector<std::string>& names = netgen::CatalogueNames();
  for (std::size_t i = 0; i < names.size(); i += all ? 1 : 7) {
    const std::string& name = names[i];
    const Polyhedron solid = netgen::BuildSolid(name);
    for (const Kind& kind : Kinds()) {
      SCOPED_TRACE(name + " as " + Describe(kind));
      // Single precision (STL, and the library's OBJ and PLY) keeps about seven digits.
      ExpectSameSolid(solid, ThroughFile(solid, kind, name), 1e-6);
    }
  }
}

// Every third solid through one kind of file, the kinds taking turns, and
// Spikey as OFF and as binary STL (ten equilateral triangles meet at twelve of
// its corners: six of them laid round such a corner close up edge to edge,
// which the net must avoid; in single precision no two of its corners have
// quite the same angles, which once made the net check list every corner as a
// kind of its own); with DIDOD_UNFOLD_ALL=1 every solid through every kind.
TEST(Import, CatalogueSolidsUnfoldIntoOnePieceAndFoldBackIntoTheirShape) {
  const bool all = std::getenv("DIDOD_UNFOLD_ALL") != nullptr;
  const std::vector<std::string>& names = netgen::CatalogueNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const Polyhedron solid = netgen::BuildSolid(names[i]);
    for (std::size_t k = 0; k < Kinds().size(); ++k) {
      const Kind& kind = Kinds()[k];
      const bool spikey = names[i] == "Spikey" && ((kind.format == SolidFormat::Off && !kind.triangles) ||
                                                   kind.format == SolidFormat::StlBinary);
      if (!all && !spikey && (i % 3 != 0 || k != i / 3 % Kinds().size())) continue;
      SCOPED_TRACE(names[i] + " as " + Describe(Kinds()[k]));
      ExpectFoldsInto(NetOf(ThroughFile(solid, Kinds()[k], names[i])), solid);
    }
  }
}

// Random convex solids of 4 to 199 faces: a spread of sizes, each kind of
// file at least once (41 and 101 faces have a nearly straight corner and a
// nearly flat edge, which the triangulated kinds once spoilt), or with
// DIDOD_UNFOLD_ALL=1 every size.
TEST(Import, RandomConvexSolidsUnfoldIntoOnePieceAndFoldBackIntoTheirShape) {
  const bool all = std::getenv("DIDOD_UNFOLD_ALL") != nullptr;
  std::vector<std::pair<int, std::size_t>> cases{{4, 0},  {5, 1},  {7, 2},   {12, 3},  {26, 4},  {41, 5},
                                                 {56, 6}, {101, 4}, {111, 0}, {168, 2}, {199, 3}};
  if (all) {
    cases.clear();
    for (int f = 4; f <= 199; ++f) cases.push_back({f, static_cast<std::size_t>(f) % Kinds().size()});
  }
  for (const auto& [faces, k] : cases) {
    const Polyhedron solid = testing::RandomConvexSolid(faces, 1);
    ASSERT_EQ(static_cast<int>(solid.faces.size()), faces);
    const Kind& kind = Kinds()[k];
    SCOPED_TRACE(std::to_string(faces) + " faces as " + Describe(kind));
    const Polyhedron imported = ThroughFile(solid, kind);
    ExpectSameSolid(solid, imported, 1e-6);
    ExpectFoldsInto(NetOf(imported), solid);
  }
}

}  // namespace
}  // namespace didod::unfold
