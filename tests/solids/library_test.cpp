#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "published_counts.h"
#include "solids/library.h"
#include "unfold/polyhedron.h"

namespace didod::solids {
namespace {

using testing::Counts;
using testing::PublishedCounts;

std::string JohnsonKey(const std::string& name) { return name.substr(0, name.find(' ')); }

// The public counts of a library solid; prisms and antiprisms by their rule.
Counts ExpectedCounts(const LibraryEntry& e, int index) {
  if (e.group == "Johnson-Körper") return PublishedCounts().at(JohnsonKey(e.name));
  if (e.group == "Prisma" || e.group == "Antiprisma") {
    int first = 0;  // each group runs from 3 sides to 12
    while (Library()[first].group != e.group) ++first;
    const int n = index - first + 3;
    Counts c;
    c.faces[n] += 2;
    c.faces[e.group == "Prisma" ? 4 : 3] += e.group == "Prisma" ? n : 2 * n;
    c.vertices = 2 * n;
    c.edges = e.group == "Prisma" ? 3 * n : 4 * n;
    return c;
  }
  if (e.group == "Kepler-Poinsot-Körper") {
    // Published as a sentence: three of them 60 triangles (V 32, E 90), the great icosahedron 180.
    Counts c;
    c.faces[3] = e.name == "Großes Ikosaeder" ? 180 : 60;
    if (e.name != "Großes Ikosaeder") { c.vertices = 32; c.edges = 90; }
    return c;
  }
  return PublishedCounts().at(e.name);
}

TEST(Library, EverySolidHasItsPublishedCountsAndShape) {
  ASSERT_FALSE(PublishedCounts().empty()) << "tests/solids/published_counts.md not found in the sources";
  const auto& lib = Library();
  ASSERT_EQ(lib.size(), 5u + 13 + 13 + 92 + 4 + 10 + 10);
  std::set<std::string> names;
  for (int i = 0; i < static_cast<int>(lib.size()); ++i) {
    const LibraryEntry& e = lib[i];
    SCOPED_TRACE(e.name);
    EXPECT_TRUE(names.insert(e.name).second) << "name twice";
    const Polyhedron p = e.build();
    EXPECT_TRUE(unfold::IsClosed(p));
    EXPECT_EQ(unfold::EulerCharacteristic(p), 2);
    EXPECT_GT(unfold::Volume(p), 0) << "faces must run counter-clockwise seen from outside";
    EXPECT_LT(unfold::PlanarityError(p), 1e-9);
    if (e.convex) {
      EXPECT_LT(unfold::ConvexityError(p), 1e-9);
    } else {
      EXPECT_GT(unfold::ConvexityError(p), 0.05);
    }
    const auto [lo, hi] = unfold::EdgeLengthRange(p);
    if (e.equalEdges) {
      EXPECT_LT(hi - lo, 1e-12 * hi);
    } else {
      EXPECT_GT(hi - lo, 1e-3 * hi) << "unequal edges expected";
    }
    EXPECT_EQ(unfold::FacesRegular(p, 1e-12 * hi), e.regularFaces);
    const Counts expected = ExpectedCounts(e, i);
    EXPECT_EQ(unfold::FaceCountsBySize(p), expected.faces);
    if (expected.vertices >= 0) {
      EXPECT_EQ(static_cast<int>(p.vertices.size()), expected.vertices);
      EXPECT_EQ(unfold::EdgeCount(p), expected.edges);
    }
    // The net must fit the construction store.
    EXPECT_LE(p.faces.size(), 199u);
    std::size_t points = 0;
    for (const auto& f : p.faces) points += f.size();
    EXPECT_LE(points, 999u);
  }
}

TEST(Library, SearchFindsGermanNamesWhateverTheCase) {
  auto names = [](const std::string& text) {
    std::set<std::string> r;
    for (int i : SearchLibrary(text)) r.insert(Library()[i].name);
    return r;
  };
  EXPECT_EQ(names("WÜRFEL"), (std::set<std::string>{"Würfel", "Abgeschrägter Würfel", "Pyramidenwürfel"}));
  EXPECT_EQ(names("  kuppel   gyro fünfecks  verl"),
            (std::set<std::string>{"J39 Verlängerte Fünfecks-Gyrobikuppel", "J41 Verlängerte Fünfecks-Gyrokuppelrotunde"}));
  EXPECT_EQ(names("J86"), (std::set<std::string>{"J86 Sphenocorona"}));
  EXPECT_EQ(names("kepler").size(), 4u);
  EXPECT_EQ(SearchLibrary("").size(), Library().size());
  EXPECT_TRUE(SearchLibrary("Kugel").empty());
  EXPECT_THROW(LibraryEntryNamed("Kugel"), std::invalid_argument);
}

TEST(Library, SolidsComeInTheAskedSize) {
  const Polyhedron p = BuildLibrarySolid(LibraryEntryNamed("Rhombendodekaeder"), 40);
  EXPECT_NEAR(unfold::EdgeLengthRange(p).second, 40, 1e-12);
  const Polyhedron q = BuildLibrarySolid(LibraryEntryNamed("Großes Ikosaeder"), 25);
  EXPECT_NEAR(unfold::EdgeLengthRange(q).second, 25, 1e-12);
  EXPECT_NEAR(Norm(unfold::Centroid(q)), 0, 1e-12);
}

}  // namespace
}  // namespace didod::solids
