#pragma once
#include <QPainter>

#include "render/canvas.h"

namespace didod {

// Canvas over any QPainter: the sheet's off-screen image, bitmaps, SVG, PDF and
// the printer. Starts with a solid black one-pixel pen and a clear brush; draws
// without antialiasing so that the pixels are those of the drawing's rules.
class QPainterCanvas : public Canvas {
 public:
  explicit QPainterCanvas(QPainter& painter);

  void SetPenColour(Colour colour) override;
  void SetPenStyle(PenStyle style) override;
  void SetBrushSolid(Colour colour) override;
  void SetBrushClear() override;
  void SetFont(const std::string& family, int points) override;
  void Polygon(const std::vector<PixelPoint>& corners) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void TextOut(int x, int y, const std::string& text) override;
  void SetPenWidth(double width) override;
  void Line(double x1, double y1, double x2, double y2) override;

 private:
  QPainter& painter_;
  QPen pen_;
};

QColor ToQColor(Colour colour);
// The font SetFont chooses for a family and a size in points.
QFont CanvasFont(const std::string& family, int points);

}  // namespace didod
