#pragma once
#include <string>
#include <vector>

#include "model/construction.h"

namespace didod {

// Kinds of face the polygon buttons make; the special faces are 3 + their index
// in the list of special faces.
enum class FaceKind {
  Regular = 0,
  Isosceles = 1,
  Rhombus = 2,
  Rectangle = 3,
  Kite24 = 4,
  Kite60 = 5,
  Trapezium = 6,
  Pentagon24 = 7,
  Pentagon60 = 8,
};

// The ten polygon buttons of the side panel.
enum class PolygonButton { f3, f4, f5, f6, f8, f10, f12, f7, f9, f11 };

inline constexpr int kSpecialFaceCount = 6;
extern const char* const kSpecialFaceNames[kSpecialFaceCount];

struct FaceRecipe {
  FaceKind kind = FaceKind::Regular;
  int n = 6;             // corners of a regular polygon
  double s = 1.0;        // scale factor
  double d = 1.0;        // second side (isosceles) or inner angle in degrees (rhombus)
  double theta0 = 0.0;   // angle of the first corner of a regular polygon
};

// Corners of a face in net units, in drawing order, with the reference point
// (x0, y0): the centre of a regular polygon, corner 1 of every other kind. An
// isosceles triangle whose legs are too short to meet gives no corners.
std::vector<NetPoint> FaceCorners(const FaceRecipe& recipe, double x0, double y0);

// What the user asked for when a polygon button is clicked: the numbers as typed
// (they may be terms) and the chosen special face.
struct PolygonRequest {
  std::string Sides = "12";     // corners of the free regular polygon, 2 to 32
  std::string LegLength = "2";  // leg of the isosceles triangle, 0.3 to 10
  std::string Angle = "60";     // inner angle of the rhombus in degrees, 1 to 90
  std::string Scale = "1";      // scale factor of every face, above 0
  int SpecialFace = 0;          // index into kSpecialFaceNames, -1 when none is chosen
};

// Reads the request for one button click, replacing unreadable or out-of-range
// values by their default for this click only.
FaceRecipe RecipeForButton(PolygonButton button, const PolygonRequest& request);

// One click of a polygon button: appends the new face, unfixed and without
// joins, at the centre of the sheet when the construction is empty, else 300
// pixels left of and 250 pixels above it. Returns whether a face was added (a
// face that cannot be built or would not fit the store adds nothing).
bool AddPolygonForButton(Construction& construction, PolygonButton button, const PolygonRequest& request,
                         ViewCentre centre);

// Readers of a typed number or term.
int ReadEditInteger(const std::string& text);
double ReadEditReal(const std::string& text);  // the field's text in UTF-8

}  // namespace didod
