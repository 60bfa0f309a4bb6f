#include <gtest/gtest.h>

#include <cmath>

#include "solids/families.h"
#include "unfold/polyhedron.h"

namespace didod::solids {
namespace {

std::vector<std::string> Messages(const FamilyInput& in) {
  std::vector<std::string> m;
  for (const FieldProblem& p : CheckFamily(in)) m.push_back(std::to_string(p.measure) + ": " + p.message);
  return m;
}

TEST(Families, EveryFamilyBuildsItsInitialMeasuresAsAClosedConvexSolid) {
  for (const FamilyForm& f : Families()) {
    SCOPED_TRACE(f.name);
    FamilyInput in{f.kind, {}, false};
    for (const MeasureSpec& m : f.measures) in.values.push_back(m.initial);
    EXPECT_TRUE(CheckFamily(in).empty());
    const Polyhedron p = BuildFamily(in);
    EXPECT_TRUE(unfold::IsClosed(p));
    EXPECT_EQ(unfold::EulerCharacteristic(p), 2);
    EXPECT_LT(unfold::ConvexityError(p), 1e-9);
    EXPECT_GT(unfold::Volume(p), 0);
  }
}

TEST(Families, SolidsHaveTheGivenMeasuresInMillimetres) {
  const Polyhedron box = BuildFamily({FamilyKind::Cuboid, {30, 40, 50}});
  EXPECT_NEAR(unfold::Volume(box), 30 * 40 * 50, 1e-6);
  EXPECT_EQ(unfold::FaceCountsBySize(box), (std::map<int, int>{{4, 6}}));
  EXPECT_EQ(FamilySolidName({FamilyKind::Cuboid, {30, 40, 50}}), "Quader 30 × 40 × 50 mm");

  const Polyhedron prism = BuildFamily({FamilyKind::Prism, {6, 30, 60}});
  EXPECT_EQ(unfold::FaceCountsBySize(prism), (std::map<int, int>{{4, 6}, {6, 2}}));
  EXPECT_NEAR(unfold::EdgeLengthRange(prism).first, 30, 1e-9);
  EXPECT_NEAR(unfold::EdgeLengthRange(prism).second, 60, 1e-9);
  EXPECT_EQ(FamilySolidName({FamilyKind::Prism, {6, 30, 60}}),
            "Sechsseitiges Prisma (Grundkante a = 30 mm, Höhe h = 60 mm)");

  // Regular faces: the height follows from the edge and is not asked for.
  for (auto [kind, n] : {std::pair{FamilyKind::Pyramid, 4}, std::pair{FamilyKind::Pyramid, 5},
                         std::pair{FamilyKind::Bipyramid, 3}, std::pair{FamilyKind::Antiprism, 24}}) {
    FamilyInput in{kind, {double(n), 25, -1}, true};
    ASSERT_TRUE(CheckFamily(in).empty());
    const auto [lo, hi] = unfold::EdgeLengthRange(BuildFamily(in));
    EXPECT_NEAR(lo, 25, 1e-9);
    EXPECT_NEAR(hi, 25, 1e-9);
  }
  const Polyhedron octahedron = BuildFamily({FamilyKind::Bipyramid, {4, 10, 0}, true});
  EXPECT_EQ(unfold::FaceCountsBySize(octahedron), (std::map<int, int>{{3, 8}}));

  // A frustum 50/25 of height 40: the volume of the frustum formula.
  const Polyhedron frustum = BuildFamily({FamilyKind::Frustum, {4, 50, 25, 40}});
  EXPECT_NEAR(unfold::Volume(frustum), 40.0 / 3 * (2500 + 625 + 50 * 25), 1e-6);
  const Polyhedron bifrustum = BuildFamily({FamilyKind::Bifrustum, {5, 40, 20, 30}});
  EXPECT_EQ(unfold::FaceCountsBySize(bifrustum), (std::map<int, int>{{4, 10}, {5, 2}}));
}

TEST(Families, BadMeasuresGetAGermanMessageBesideTheirField) {
  EXPECT_EQ(Messages({FamilyKind::Cuboid, {-3, 0, 4000}}),
            (std::vector<std::string>{"0: Die Länge muss größer als 0 mm sein.", "1: Die Länge muss größer als 0 mm sein.",
                                      "2: Die Länge darf höchstens 2000 mm sein."}));
  EXPECT_EQ(Messages({FamilyKind::Prism, {2, 30, 60}}),
            (std::vector<std::string>{"0: Die Eckenzahl muss eine ganze Zahl von 3 bis 24 sein."}));
  EXPECT_EQ(Messages({FamilyKind::Antiprism, {25, 30, 60}}).size(), 1u);
  EXPECT_EQ(Messages({FamilyKind::Antiprism, {4.5, 30, 60}}).size(), 1u);
  EXPECT_EQ(Messages({FamilyKind::Antiprism, {std::nan(""), 30, 60}}).size(), 1u);
  EXPECT_EQ(Messages({FamilyKind::Frustum, {4, 30, 30, 10}}),
            (std::vector<std::string>{"2: Die obere Kante muss kürzer sein als die untere."}));
  EXPECT_EQ(Messages({FamilyKind::Bifrustum, {4, 30, 40, 10}}),
            (std::vector<std::string>{"2: Die Endkante muss kürzer sein als die mittlere Kante."}));
  EXPECT_EQ(Messages({FamilyKind::Pyramid, {6, 30, 0}, true}),
            (std::vector<std::string>{"0: Gleichseitige Dreiecke reichen nur bei 3 bis 5 Ecken bis zur Spitze."}));
  // The height is not looked at when the faces are regular, and is when they are not.
  EXPECT_TRUE(Messages({FamilyKind::Antiprism, {6, 30, -1}, true}).empty());
  EXPECT_EQ(Messages({FamilyKind::Antiprism, {6, 30, -1}, false}).size(), 1u);
  try {
    BuildFamily({FamilyKind::Frustum, {4, 30, 31, 10}});
    ADD_FAILURE() << "a frustum wider on top was built";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "Die obere Kante muss kürzer sein als die untere.");
  }
}

}  // namespace
}  // namespace didod::solids
