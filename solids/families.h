#pragma once
// Solids made to measure: a few families whose measures the user gives in mm.
#include <string>
#include <vector>

#include "solids/model.h"

namespace didod::solids {

enum class FamilyKind { Cuboid, Prism, Pyramid, Frustum, Bipyramid, Antiprism, Bifrustum };

// The smallest and largest corner count of a base polygon, and the largest
// length (mm) a measure may have.
inline constexpr int kFewestCorners = 3;
inline constexpr int kMostCorners = 24;
inline constexpr double kLargestMeasure = 2000.0;

struct MeasureSpec {
  std::string label;  // German, for the field
  bool whole = false; // a count (the corners n), otherwise a length in mm
  double initial = 0;
};

struct FamilyForm {
  FamilyKind kind;
  std::string name;                  // German
  std::vector<MeasureSpec> measures; // in the order of FamilyInput::values
  std::string regularLabel;          // the choice of regular faces, empty when the family has none
  int heightMeasure = -1;            // the measure that regular faces fix (then not asked for)
};

// Every family, in the order the dialog offers them.
const std::vector<FamilyForm>& Families();
const FamilyForm& FormOf(FamilyKind kind);

struct FamilyInput {
  FamilyKind kind = FamilyKind::Cuboid;
  std::vector<double> values;  // one per measure of the family
  bool regular = false;        // equilateral triangles instead of the given height
};

// A measure that cannot be built, with the German reason for its field.
struct FieldProblem {
  int measure = 0;
  std::string message;
};

// Why a length (mm) cannot be a measure; empty when it can.
std::string LengthProblem(double millimetres);

// Every problem of the input; empty when the solid can be built.
std::vector<FieldProblem> CheckFamily(const FamilyInput& input);

// The solid in mm. Throws std::invalid_argument (with the first problem's
// message) for input that CheckFamily refuses.
Polyhedron BuildFamily(const FamilyInput& input);

// A German name for the solid with its measures, such as "Quader 30 × 40 × 50 mm".
std::string FamilySolidName(const FamilyInput& input);

// The German stem for a base with n corners ("Dreiseitig", "Zwölfseitig"; "13-seitig"
// above twelve), to which the caller adds the ending.
std::string SidedWord(int n);

}  // namespace didod::solids
