#include "output/print_geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace didod {

int RoundEven(double value) {
  const double r = std::nearbyint(value);
  if (!(r > static_cast<double>(INT_MIN))) return INT_MIN;
  if (!(r < static_cast<double>(INT_MAX))) return INT_MAX;
  return static_cast<int>(r);
}

namespace {

int MarginPixels(int dpi, int millimetres, int offset) {
  return std::max(0, RoundEven(dpi * static_cast<double>(millimetres) / 25.4) - offset);
}

}  // namespace

BitmapPrintLayout LayoutBitmapPrint(const PrinterFigures& p, int w, int h) {
  BitmapPrintLayout layout;
  layout.Left = MarginPixels(p.DpiX, PrintMarginLeft, p.OffX);
  // The horizontal offset is subtracted on the right as well.
  layout.Right = MarginPixels(p.DpiX, PrintMarginRight, p.OffX);
  layout.Top = MarginPixels(p.DpiY, PrintMarginTop, p.OffY);
  double sx = p.DpiX / static_cast<double>(PrintBaseDpi);
  double sy = p.DpiY / static_cast<double>(PrintBaseDpi);
  const double room = static_cast<double>(p.PageWidth) - layout.Left - layout.Right;
  // Only the width is fitted. Once the scale is no longer positive nothing can
  // fit and the fallback below takes over, so the loop stops there (it would
  // otherwise never end for an empty picture on a page without room).
  while (w * sx > room && sx > 0) {
    sx -= 0.02;
    sy -= 0.02;
  }
  if (!(sx > 0)) sx = 1.0;
  if (!(sy > 0)) sy = 1.0;
  layout.Sx = sx;
  layout.Sy = sy;
  layout.Target = {layout.Left, layout.Top, RoundEven(w * sx + layout.Left), RoundEven(h * sy + layout.Top)};
  return layout;
}

VectorPrintLayout LayoutVectorPrint(const PrinterFigures& p, int W, int H) {
  W = std::max(W, 1);
  H = std::max(H, 1);
  VectorPrintLayout layout;
  layout.R = RoundEven((p.PageWidth - 20) / static_cast<double>(W) * H);
  layout.Target = {20, 20, p.PageWidth - 20, layout.R};
  const double pageWidth = std::max(p.PageWidth, 1);
  layout.C = RoundEven(p.PageHeight * (W / pageWidth) + 20);
  const int c = layout.C, R = layout.R;
  layout.Bands.push_back({-20, -20, c + 20, -1});
  layout.Bands.push_back({-20, -20, -1, R});
  layout.Bands.push_back({-20, H + 1, c + 20, R});
  // The right band never reaches into the picture, even on a landscape page.
  const int rightStart = std::max(c + 1, W + 1);
  if (rightStart < c + 20) layout.Bands.push_back({rightStart, -20, c + 20, R});
  return layout;
}

}  // namespace didod
