#pragma once
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace didod {

struct Colour {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Colour&) const = default;
};

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kRed{255, 0, 0};
inline constexpr Colour kYellow{255, 255, 0};
inline constexpr Colour kLightBlue{192, 192, 255};

// Colour from a 0x00BBGGRR value.
constexpr Colour ColourFromBgr(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
          static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}

struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint&) const = default;
};

enum class PenStyle { Solid, None, Dash, DashDot };

// What the net renderer and the picture back ends need of a 2-D surface. One
// unit is one pixel of the sheet, origin at the top left, y down. Rectangles
// are left, top, right, bottom with right and bottom just outside the figure.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void SetPenColour(Colour colour) = 0;
  virtual void SetPenStyle(PenStyle style) = 0;
  virtual void SetBrushSolid(Colour colour) = 0;
  virtual void SetBrushClear() = 0;
  // Font by family name and size in points (72 points to 96 pixels).
  virtual void SetFont(const std::string& family, int points) = 0;
  virtual void Polygon(const std::vector<PixelPoint>& corners) = 0;
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  // Text with its top-left corner at (x, y), transparent background.
  virtual void TextOut(int x, int y, const std::string& text) = 0;

  // For true-size drawings (cut-and-fold sheets). Pen width in canvas units;
  // 0 is the thinnest line the surface draws, the default. A Dash pen draws
  // dashes 8 widths long with gaps of 4 widths; a DashDot pen dashes of 8 and
  // dots of 2 widths with gaps of 3.
  virtual void SetPenWidth(double width) {}
  // A straight line between two unrounded points.
  virtual void Line(double x1, double y1, double x2, double y2) {
    Polygon({{static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1))},
             {static_cast<int>(std::lround(x2)), static_cast<int>(std::lround(y2))}});
  }
  // Named layers, for surfaces that keep them apart (an SVG group per layer).
  virtual void BeginGroup(const std::string& name) {}
  virtual void EndGroup() {}
};

// Pixel height of a font given in points on a 96-dpi sheet.
inline int FontPixelHeight(int points) { return (points * 96 + 36) / 72; }

}  // namespace didod
