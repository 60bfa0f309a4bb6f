#pragma once
#include <vector>

namespace didod {

// Bitmap print settings: margins on paper in millimetres and the screen pixels
// per inch assumed for the first try of the scale.
inline constexpr int PrintMarginLeft = 25;
inline constexpr int PrintMarginRight = 15;
inline constexpr int PrintMarginTop = 10;
inline constexpr int PrintBaseDpi = 60;
inline constexpr const char* kPrintJobTitle = "Quolimat 2013";

// What the page layout needs of a printer, all in device pixels: the printable
// width and height, pixels per inch, and the printable area's offsets from the
// paper's left and top edges.
struct PrinterFigures {
  int PageWidth = 0;
  int PageHeight = 0;
  int DpiX = 0;
  int DpiY = 0;
  int OffX = 0;
  int OffY = 0;
};

struct PageRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool operator==(const PageRect&) const = default;
};

// Where the bitmap print puts a w x h picture: the margins, the device pixels
// per picture pixel after fitting the width, and the target rectangle.
struct BitmapPrintLayout {
  int Left = 0;
  int Right = 0;
  int Top = 0;
  double Sx = 0.0;
  double Sy = 0.0;
  PageRect Target;
};

BitmapPrintLayout LayoutBitmapPrint(const PrinterFigures& printer, int w, int h);

// The vector print of a W x H sheet: the picture stretched into Target on the
// page (20 pixels in from the left, top and right); Bands are the white
// rectangles, in picture coordinates, that cover what was drawn outside it.
struct VectorPrintLayout {
  int R = 0;
  int C = 0;
  PageRect Target;
  std::vector<PageRect> Bands;
};

VectorPrintLayout LayoutVectorPrint(const PrinterFigures& printer, int W, int H);

// Nearest integer, halves to the even neighbour.
int RoundEven(double value);

}  // namespace didod
