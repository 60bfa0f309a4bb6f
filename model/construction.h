#pragma once
#include <string>
#include <vector>

namespace didod {

// Net coordinates: net units, y up. One net unit is the side of a regular
// polygon made with scale factor 1.
struct NetPoint {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const NetPoint&) const = default;
};

// Pixel position of a point on the sheet (unrounded, y down) and whether the
// point has been joined to another point.
struct ScreenPoint {
  double x = 0.0;
  double y = 0.0;
  bool Fixed = false;
  bool operator==(const ScreenPoint&) const = default;
};

// Pixel position of the net origin: the centre of the sheet in whole pixels.
struct ViewCentre {
  int cx = 0;
  int cy = 0;
  bool operator==(const ViewCentre&) const = default;
};

inline ViewCentre ViewCentreOf(int sheetWidth, int sheetHeight) {
  return {sheetWidth / 2, sheetHeight / 2};
}

inline constexpr int kPointSlots = 1000;
inline constexpr int kFaceSlots = 200;
inline constexpr int kMaxPoints = kPointSlots - 1;  // slot 0 belongs to no point
inline constexpr int kMaxFaces = kFaceSlots - 1;    // slot 0 belongs to no face
inline constexpr int kMaxCorners = 201;             // the renderer's per-face scratch
inline constexpr double kStandardScale = 50.0;

struct FaceRangeResult {
  int face = 0;   // 0 when the point belongs to no face
  int first = 0;  // first point of the face
  int last = 0;   // last point of the face
};

// The one construction the window shows. Faces and points are numbered from 1;
// face f owns the consecutive points FaceRange(f). The arrays have fixed
// capacities and nothing ever writes past them.
class Construction {
 public:
  Construction();

  int FaceCount = 0;
  int PointCount = 0;
  std::vector<int> FaceSizes;             // kFaceSlots slots
  std::vector<NetPoint> NetPoints;        // kPointSlots slots
  std::vector<ScreenPoint> ScreenPoints;  // kPointSlots slots
  std::vector<NetPoint> GrabCopy;         // kPointSlots slots, indexed from 0 within the grabbed face
  double Scale = kStandardScale;          // pixels per net unit
  std::vector<std::string> JoinList;      // "a\tb": point a was dropped onto point b
  int GrabbedPoint = 0;                   // point being dragged, 0 when none

  void AllocateStore();
  void ReleaseStore();
  void ResetConstruction();
  void ResetScale() { Scale = kStandardScale; }

  // Appends one point with its pixel position and Fixed false. Refused (false,
  // nothing changed) when the store already holds kMaxPoints points.
  bool AppendPoint(double x, double y, ViewCentre centre);
  // Closes a face of n corners over the last n appended points. Refused when the
  // store already holds kMaxFaces faces.
  bool AppendFace(int n);
  // Whether a face of n corners fits the store as a whole.
  bool CanAppendFace(int n) const;
  // Appends a whole face (its points and the face) or, when it does not fit,
  // nothing at all.
  bool AppendWholeFace(const std::vector<NetPoint>& corners, ViewCentre centre);

  void RecomputeScreenPoints(ViewCentre centre);

  FaceRangeResult FaceRange(int face) const;
  FaceRangeResult FaceOfPoint(int point) const;

  ScreenPoint ToPixel(double x, double y, ViewCentre centre) const;
  NetPoint ToNet(double px, double py, ViewCentre centre) const;

  // Whether the invariants every part relies on hold (counts within the
  // capacities, sizes adding up to the point count, every face within the
  // renderer's scratch, Scale positive).
  bool IsConsistent() const;

  // Everything that the user sees as the construction (drag scratch excluded).
  bool SameContent(const Construction& other) const;
};

// Maps net coordinates to pixels in extended precision, stored as doubles.
double PixelX(double x, double scale, int cx);
double PixelY(double y, double scale, int cy);

}  // namespace didod
