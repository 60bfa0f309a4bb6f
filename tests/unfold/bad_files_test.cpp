// Files that hold no solid the program can unfold are refused with a message
// that says what is wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/message_of.h"
#include "tests/unfold/random_solids.h"
#include "unfold/export.h"
#include "unfold/import.h"

namespace didod::unfold {
namespace {

using didod::testing::MessageOf;

std::vector<unsigned char> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::string Off(const std::vector<Vec3>& vertices, const std::vector<std::vector<int>>& faces) {
  std::string text = "OFF\n" + std::to_string(vertices.size()) + " " + std::to_string(faces.size()) + " 0\n";
  for (const Vec3& v : vertices) text += std::to_string(v.x) + " " + std::to_string(v.y) + " " + std::to_string(v.z) + "\n";
  for (const auto& f : faces) {
    text += std::to_string(f.size());
    for (int i : f) text += " " + std::to_string(i);
    text += "\n";
  }
  return text;
}

const std::vector<Vec3> kCubeCorners{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                     {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
const std::vector<std::vector<int>> kCubeFaces{{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                               {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};

std::string Refusal(const std::string& text, const std::string& name) {
  return MessageOf([&] { ImportSolid(Bytes(text), name); });
}

// Two tetrahedra: the second one the first turned half round the z axis
// (sharing the edge from the origin up the z axis), reflected in the origin
// (sharing only the corner at the origin), or reflected and moved apart.
std::string TwoTetrahedra(int shared) {
  std::vector<Vec3> v{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  std::vector<std::vector<int>> f{{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}};
  for (int i = 0; i < 4; ++i) {
    const Vec3 p = v[i];
    v.push_back(shared == 2 ? Vec3{-p.x, -p.y, p.z} : shared == 1 ? -p : Vec3{3, 0, 0} - p);
  }
  for (int k = 0; k < 4; ++k) {
    std::vector<int> face{f[k][0] + 4, f[k][1] + 4, f[k][2] + 4};
    if (shared < 2) std::reverse(face.begin(), face.end());  // a reflection turns the faces inside out
    f.push_back(face);
  }
  return Off(v, f);
}

TEST(BadFiles, EachFaultGetsItsMessage) {
  std::vector<std::vector<int>> open = kCubeFaces;
  open.pop_back();
  EXPECT_EQ(Refusal(Off(kCubeCorners, open), "offen.off"),
            "\xE2\x80\x9E" "offen.off\xE2\x80\x9C ist nicht geschlossen: 4 Kanten geh\xC3\xB6ren nur zu einer Fl\xC3\xA4" "che");
  std::vector<std::vector<int>> turned = kCubeFaces;
  std::reverse(turned[2].begin(), turned[2].end());
  EXPECT_EQ(Refusal(Off(kCubeCorners, turned), "w.off"),
            "\xE2\x80\x9Ew.off\xE2\x80\x9C ist nicht einheitlich orientiert: 4 Kanten werden von ihren beiden Fl\xC3\xA4"
            "chen in derselben Richtung durchlaufen");
  EXPECT_EQ(Refusal(TwoTetrahedra(2), "w.off"),
            "\xE2\x80\x9Ew.off\xE2\x80\x9C ist keine 2-Mannigfaltigkeit: 1 Kante geh\xC3\xB6rt zu mehr als zwei Fl\xC3\xA4" "chen");
  EXPECT_EQ(Refusal(TwoTetrahedra(1), "w.off"),
            "\xE2\x80\x9Ew.off\xE2\x80\x9C ist keine 2-Mannigfaltigkeit: an 1 Ecke sto\xC3\x9F" "en getrennte Fl\xC3\xA4" "chen zusammen");
  EXPECT_EQ(Refusal(TwoTetrahedra(0), "w.off"), "\xE2\x80\x9Ew.off\xE2\x80\x9C besteht aus 2 getrennten Teilen");

  // A corner twice, and a triangle whose corners lie on one line.
  std::vector<std::vector<int>> repeated = kCubeFaces;
  repeated[1] = {4, 5, 6, 6, 7};
  EXPECT_EQ(Refusal(Off(kCubeCorners, repeated), "w.off"),
            "\xE2\x80\x9Ew.off\xE2\x80\x9C hat entartete Fl\xC3\xA4" "chen: 1 Fl\xC3\xA4" "che hat keinen Fl\xC3\xA4" "cheninhalt");
  std::vector<Vec3> withMiddle = kCubeCorners;
  withMiddle.push_back({0.5, 0, 0});
  std::vector<std::vector<int>> sliver = kCubeFaces;
  sliver.push_back({0, 8, 1});
  sliver.push_back({0, 1, 8});
  EXPECT_EQ(Refusal(Off(withMiddle, sliver), "w.off"),
            "\xE2\x80\x9Ew.off\xE2\x80\x9C hat entartete Fl\xC3\xA4" "chen: 2 Fl\xC3\xA4" "chen haben keinen Fl\xC3\xA4" "cheninhalt");

  std::string nan = Off(kCubeCorners, kCubeFaces);
  nan.replace(nan.find("1.000000 1.000000 1.000000"), 26, "nan 1 inf");
  EXPECT_EQ(Refusal(nan, "w.off"),
            "\xE2\x80\x9Ew.off\xE2\x80\x9C enth\xC3\xA4lt ung\xC3\xBCltige Koordinaten: 1 Punkt ist keine Zahl");

  std::vector<Vec3> bent = kCubeCorners;
  bent[6].z = 1.1;
  EXPECT_EQ(Refusal(Off(bent, kCubeFaces), "w.off"), "\xE2\x80\x9Ew.off\xE2\x80\x9C hat 1 Fl\xC3\xA4" "che, die nicht eben ist");
}

// A square frame: its top and bottom, each given as four trapezia, merge
// into a face with a hole.
TEST(BadFiles, FaceWithAHoleIsNotSimple) {
  std::vector<Vec3> v;
  for (double z : {0.0, 1.0})
    for (double r : {3.0, 1.0})
      for (const auto& [x, y] : std::vector<std::pair<double, double>>{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}})
        v.push_back({r * x, r * y, z});
  auto at = [](int z, int inner, int k) { return z * 8 + inner * 4 + (k % 4); };
  std::vector<std::vector<int>> f;
  for (int k = 0; k < 4; ++k) {
    f.push_back({at(1, 0, k), at(1, 0, k + 1), at(1, 1, k + 1), at(1, 1, k)});   // top
    f.push_back({at(0, 0, k + 1), at(0, 0, k), at(0, 1, k), at(0, 1, k + 1)});   // bottom
    f.push_back({at(0, 0, k), at(0, 0, k + 1), at(1, 0, k + 1), at(1, 0, k)});   // outside
    f.push_back({at(0, 1, k + 1), at(0, 1, k), at(1, 1, k), at(1, 1, k + 1)});   // tunnel
  }
  EXPECT_EQ(Refusal(Off(v, f), "rahmen.off"),
            "\xE2\x80\x9Erahmen.off\xE2\x80\x9C hat 2 Fl\xC3\xA4" "chen, die nicht einfach sind: ein Loch oder eine "
            "Ber\xC3\xBChrung mit sich selbst");
}

TEST(BadFiles, BrokenAndOversizedFilesAreRefusedBeforeAnyWork) {
  EXPECT_EQ(Refusal("", "leer.stl"), "\xE2\x80\x9Eleer.stl\xE2\x80\x9C ist leer");
  EXPECT_EQ(Refusal("solid x\nendsolid x\n", "x.stl").rfind("\xE2\x80\x9Ex.stl\xE2\x80\x9C ", 0), 0u);
  EXPECT_EQ(Refusal("OFF\n8 6 0\n", "x.wrl"),
            "\xE2\x80\x9Ex.wrl\xE2\x80\x9C hat kein bekanntes Format: gelesen werden OFF, OBJ, STL und PLY");
  EXPECT_EQ(Refusal("OFF\n8 1000000000 0\n0 0 0\n", "riesig.off"),
            "\xE2\x80\x9Eriesig.off\xE2\x80\x9C ist zu gro\xC3\x9F: es k\xC3\xBCndigt 1000000000 Fl\xC3\xA4" "chen an, "
            "h\xC3\xB6" "chstens 200000 werden gelesen");
  EXPECT_EQ(Refusal("OFF\n3 5000 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n", "kurz.off"),
            "\xE2\x80\x9Ekurz.off\xE2\x80\x9C ist unvollst\xC3\xA4ndig: es k\xC3\xBCndigt 5000 Fl\xC3\xA4" "chen an, die "
            "nicht in der Datei stehen");
  EXPECT_EQ(Refusal("OFF\n3 1 0\n0 0 0\n1 0 0\n", "kurz.off"),
            "\xE2\x80\x9Ekurz.off\xE2\x80\x9C ist unvollst\xC3\xA4ndig: die Datei endet vor Ecke 3");
  EXPECT_EQ(Refusal("OFF\n3 1 0\n0 0 0\n1 0 0\n0 x 1\n3 0 1 2\n", "x.off"),
            "\xE2\x80\x9Ex.off\xE2\x80\x9C ist keine g\xC3\xBCltige OFF-Datei: keine Koordinaten in Zeile 5");
  EXPECT_EQ(Refusal("ply\nformat ascii 1.0\nelement vertex 1000000000\nproperty float x\nend_header\n", "riesig.ply"),
            "\xE2\x80\x9Eriesig.ply\xE2\x80\x9C ist zu gro\xC3\x9F: es k\xC3\xBCndigt 1000000000 Ecken an, "
            "h\xC3\xB6" "chstens 600000 werden gelesen");

  EXPECT_EQ(Refusal("ply\nformat binary_middle_endian 1.0\nend_header\n", "x.ply"),
            "\xE2\x80\x9Ex.ply\xE2\x80\x9C ist keine g\xC3\xBCltige PLY-Datei: unbekanntes Format "
            "\xE2\x80\x9E" "binary_middle_endian\xE2\x80\x9C");
  EXPECT_EQ(Refusal("ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
                    "element face 1\nproperty list uchar int vertex_indices\nend_header\n0 0 0\n1 0 0\n0 1 0\n3 0 1\n",
                    "kurz.ply"),
            "\xE2\x80\x9Ekurz.ply\xE2\x80\x9C ist unvollst\xC3\xA4ndig: die Datei endet vor Fl\xC3\xA4" "che 1");
  EXPECT_EQ(Refusal("ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\n", "kopf.ply"),
            "\xE2\x80\x9Ekopf.ply\xE2\x80\x9C ist unvollst\xC3\xA4ndig: die Datei endet im Kopf");

  // A binary STL cut short after two of its twelve triangles.
  const Polyhedron cube{kCubeCorners, kCubeFaces};
  std::vector<unsigned char> stl = SolidFileBytes(cube, SolidFormat::StlBinary);
  ASSERT_EQ(stl.size(), 84u + 12 * 50);
  stl.resize(84 + 2 * 50 + 17);
  EXPECT_EQ(MessageOf([&] { ImportSolid(stl, "kurz.stl"); }),
            "\xE2\x80\x9Ekurz.stl\xE2\x80\x9C ist unvollst\xC3\xA4ndig: es k\xC3\xBCndigt 12 Dreiecke an, enth\xC3\xA4lt "
            "aber nur 2 ganze");

  // A solid beyond the construction's capacities.
  const Polyhedron many = [] {
    std::mt19937 random(5);
    return ConvexHull(testing::SpreadPoints(122, random));
  }();
  ASSERT_EQ(many.faces.size(), 240u);
  EXPECT_EQ(MessageOf([&] { ImportSolid(SolidFileBytes(many, SolidFormat::Obj), "viele.obj"); }),
            "\xE2\x80\x9Eviele.obj\xE2\x80\x9C hat 240 Fl\xC3\xA4" "chen mit zusammen 720 Ecken; eine Konstruktion fasst "
            "h\xC3\xB6" "chstens 199 Fl\xC3\xA4" "chen und 999 Punkte");
}

// STL as exporters write it: the tetrahedron once as ASCII with odd spacing,
// upper-case keywords and two solids in one file, once as binary whose header
// begins with "solid"; both give the same solid. Broken ASCII names its line.
TEST(BadFiles, StlFilesOfEveryKindAreReadAndBrokenOnesNameTheirLine) {
  const Polyhedron tetra{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}}};
  std::string ascii = "  solid zwei Teile\n";
  for (std::size_t f = 0; f < tetra.faces.size(); ++f) {
    if (f == 2) ascii += "endsolid zwei Teile\nsolid\n";
    ascii += " FACET Normal 0 0 0\n  outer loop\n";
    for (int v : tetra.faces[f]) {
      const Vec3& p = tetra.vertices[static_cast<std::size_t>(v)];
      ascii += "\tvertex  " + std::to_string(p.x) + " +" + std::to_string(p.y) + " " + std::to_string(p.z) + "\r\n";
    }
    ascii += "  endloop\nendfacet\n";
  }
  ascii += "endsolid\n";
  const Polyhedron fromAscii = ImportSolid(Bytes(ascii), "tetra.stl");
  std::vector<unsigned char> binary = SolidFileBytes(tetra, SolidFormat::StlBinary);
  std::copy_n("solid exported", 14, binary.begin());
  const Polyhedron fromBinary = ImportSolid(binary, "tetra.stl");
  EXPECT_EQ(fromAscii.faces.size(), 4u);
  EXPECT_EQ(fromBinary.faces, fromAscii.faces);
  ASSERT_EQ(fromBinary.vertices.size(), 4u);
  for (std::size_t v = 0; v < 4; ++v) EXPECT_LT(Distance(fromBinary.vertices[v], fromAscii.vertices[v]), 1e-6);

  const std::string facetStart = "solid t\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\n";
  EXPECT_EQ(Refusal(facetStart + "vertex 1 0 x\n", "t.stl"),
            "\xE2\x80\x9Et.stl\xE2\x80\x9C ist keine g\xC3\xBCltige STL-Datei: keine Zahl in Zeile 5");
  EXPECT_EQ(Refusal(facetStart + "vertex 1 0 0\nvertex 0 1 0\nendfacet\n", "t.stl"),
            "\xE2\x80\x9Et.stl\xE2\x80\x9C ist keine g\xC3\xBCltige STL-Datei: \xE2\x80\x9Evertex\xE2\x80\x9C "
            "erwartet in Zeile 7");
  EXPECT_EQ(Refusal(facetStart + "vertex 1 0 0\n", "t.stl"),
            "\xE2\x80\x9Et.stl\xE2\x80\x9C ist unvollst\xC3\xA4ndig: die Datei endet vor \xE2\x80\x9E" "endloop\xE2\x80\x9C");
  EXPECT_EQ(Refusal(facetStart + "endloop\nendfacet\n", "t.stl"),
            "\xE2\x80\x9Et.stl\xE2\x80\x9C ist keine g\xC3\xBCltige STL-Datei: eine Fl\xC3\xA4" "che mit weniger als "
            "drei Ecken in Zeile 5");
  ImportTolerances few;
  few.maxInputFaces = 3;
  EXPECT_EQ(MessageOf([&] { ImportSolid(Bytes(ascii), "tetra.stl", few); }),
            "\xE2\x80\x9Etetra.stl\xE2\x80\x9C ist zu gro\xC3\x9F: es enth\xC3\xA4lt 4 Dreiecke, h\xC3\xB6" "chstens 3 "
            "werden gelesen");
  EXPECT_EQ(MessageOf([&] { ImportSolid(binary, "tetra.stl", few); }),
            "\xE2\x80\x9Etetra.stl\xE2\x80\x9C ist zu gro\xC3\x9F: es enth\xC3\xA4lt 4 Dreiecke, h\xC3\xB6" "chstens 3 "
            "werden gelesen");
}

}  // namespace
}  // namespace didod::unfold
