#pragma once
#include <sstream>
#include <string>

#include "render/canvas.h"

namespace didod {

// A canvas that writes SVG elements; one unit is a tenth of a millimetre. Named
// groups become layers, so a cutting plotter can take the cut lines alone.
class SvgCanvas : public Canvas {
 public:
  SvgCanvas(double widthMm, double heightMm);
  // The whole document; call once after drawing.
  std::string Finish();

  void SetPenColour(Colour colour) override { pen_ = colour; }
  void SetPenStyle(PenStyle style) override { style_ = style; }
  void SetBrushSolid(Colour colour) override {
    brush_ = colour;
    filled_ = true;
  }
  void SetBrushClear() override { filled_ = false; }
  void SetFont(const std::string& family, int points) override {
    family_ = family;
    fontHeight_ = FontPixelHeight(points);
  }
  void Polygon(const std::vector<PixelPoint>& corners) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void TextOut(int x, int y, const std::string& text) override;
  void SetPenWidth(double width) override { width_ = width; }
  void Line(double x1, double y1, double x2, double y2) override;
  void BeginGroup(const std::string& name) override;
  void EndGroup() override;

 private:
  std::string Stroke() const;
  std::string Fill() const;

  std::ostringstream out_;
  int depth_ = 0;
  Colour pen_ = kBlack;
  PenStyle style_ = PenStyle::Solid;
  double width_ = 0.0;
  Colour brush_ = kWhite;
  bool filled_ = false;
  std::string family_ = "sans-serif";
  int fontHeight_ = 10;
};

}  // namespace didod
