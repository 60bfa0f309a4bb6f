#pragma once
#include <string>
#include <vector>

#include "model/construction.h"
#include "render/canvas.h"

namespace didod {

struct RenderOptions {
  int SheetWidth = 0;
  int SheetHeight = 0;
  bool ShowPoints = true;    // "Punkte anzeigen": origin and point markers
  bool LabelPoints = false;  // "Punkte beschriften": numbers beside free points
  bool operator==(const RenderOptions&) const = default;
};

inline constexpr const char* kLabelFontFamily = "Verdana";
inline constexpr int kLabelFontPoints = 8;

// Rounds a pixel coordinate formed in extended precision, halves to even.
int RoundPixel(long double value);

// One corner as it is drawn: its pixel position, the colour of its marker and
// the number beside it (0 when it has none).
struct DrawnCorner {
  PixelPoint pixel;
  bool fixed = false;
  int label = 0;
  bool operator==(const DrawnCorner&) const = default;
};

// One face as it is drawn: its corners are corners[first .. end-1]. A face of
// no corners draws nothing.
struct DrawnFace {
  int first = 0;
  int end = 0;
  bool drawn = false;
  bool operator==(const DrawnFace&) const = default;
};

// Everything that the picture of a construction depends on, worked out once:
// the sheet, the switches and, face by face in index order, the corners in
// whole pixels. Two equal drawings give the same picture.
struct NetDrawing {
  RenderOptions options;
  ViewCentre centre;
  std::vector<DrawnFace> faces;  // faces[f - 1] is face f
  std::vector<DrawnCorner> corners;
  int FaceCount() const { return static_cast<int>(faces.size()); }
  const DrawnFace& Face(int f) const { return faces[static_cast<std::size_t>(f - 1)]; }
  bool operator==(const NetDrawing&) const = default;
};

// Lays out drawings of a construction. Keeps the label numbers of the last
// join list it saw and the pixel positions of the last points it placed, so
// that laying out one step of a drag after another reads the join list again
// and rounds again only what changed; the result does not depend on what it keeps.
class NetLayout {
 public:
  void LayOut(const Construction& construction, const RenderOptions& options, NetDrawing& out);

 private:
  void UpdateLabels(const Construction& construction);
  PixelPoint Place(int point, const NetPoint& p);
  double scale_ = 0.0;
  ViewCentre centre_;
  std::vector<NetPoint> placed_;  // placed_[i]: net position of point i when pixels_[i] was worked out
  std::vector<PixelPoint> pixels_;
  std::vector<std::string> joinList_;
  int pointCount_ = -1;
  std::vector<int> labels_;  // labels_[i]: number beside point i, 0 for a dropped point
};

// The stages of the drawing, in the order the picture is made of: the font, the
// origin marker, then each face (outline, then each corner's marker and label).
void DrawOrigin(Canvas& canvas, const NetDrawing& drawing);
void DrawFace(Canvas& canvas, const NetDrawing& drawing, int face);

// Draws the whole construction onto a canvas that is already white, centred on
// the sheet's centre. Sets font and brush itself; leaves the pen as it finds it.
void PB5Paintx(Canvas& canvas, const Construction& construction, const RenderOptions& options);
void PB5Paintx(Canvas& canvas, const NetDrawing& drawing);

}  // namespace didod
