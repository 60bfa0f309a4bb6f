#include "render/sheet_damage.h"

#include <algorithm>
#include <cmath>

namespace didod {

bool PixelBox::Intersects(const PixelBox& o) const {
  return !Empty() && !o.Empty() && left < o.right && o.left < right && top < o.bottom && o.top < bottom;
}

PixelBox PixelBox::United(const PixelBox& o) const {
  if (o.Empty()) return *this;
  if (Empty()) return o;
  return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
}

PixelBox PixelBox::Intersected(const PixelBox& o) const {
  const PixelBox box{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                     std::min(bottom, o.bottom)};
  return box.Empty() ? PixelBox{} : box;
}

namespace {

// Pixel positions far off the sheet (they reach the limits of int) are kept
// where adding a marker's or label's size cannot overflow; such a box still
// covers every sheet it crosses.
constexpr int kFar = 1 << 28;

int Tame(int v) { return std::clamp(v, -kFar, kFar); }

PixelBox Around(const PixelBox& box, int margin) {
  return {box.left - margin, box.top - margin, box.right + margin, box.bottom + margin};
}

}  // namespace

PixelBox FaceBox(const NetDrawing& drawing, int f, const LabelBox& labelBox) {
  const DrawnFace& face = drawing.Face(f);
  PixelBox box;
  if (!face.drawn || face.first == face.end) return box;
  for (int i = face.first; i < face.end; ++i) {
    const DrawnCorner& corner = drawing.corners[static_cast<std::size_t>(i)];
    const int x = Tame(corner.pixel.x), y = Tame(corner.pixel.y);
    box = box.United({x, y, x + 1, y + 1});  // the outline passes through the corner
    if (drawing.options.ShowPoints) box = box.United({x - 3, y - 3, x + 4, y + 4});
    if (drawing.options.LabelPoints && corner.label > 0) {
      const PixelBox text = labelBox(corner.label);
      box = box.United({x + 2 + text.left, y + 2 + text.top, x + 2 + text.right, y + 2 + text.bottom});
    }
  }
  return Around(box, kDamageMargin);
}

PixelBox DeviceBox(const PixelBox& box, double ratio) {
  if (box.Empty()) return {};
  constexpr double kLimit = 1 << 30;
  auto scaled = [&](int v, bool up) {
    const double d = std::clamp(up ? std::ceil(v * ratio) : std::floor(v * ratio), -kLimit, kLimit);
    return static_cast<int>(d) + (up ? 1 : -1);
  };
  return {scaled(box.left, false), scaled(box.top, false), scaled(box.right, true), scaled(box.bottom, true)};
}

int OnlyMovedFace(const NetDrawing& before, const NetDrawing& after) {
  if (before.options != after.options || before.centre != after.centre || before.faces != after.faces) return -1;
  int moved = 0;
  for (int f = 1; f <= after.FaceCount(); ++f) {
    const DrawnFace& face = after.Face(f);
    bool differs = false;
    for (int i = face.first; i < face.end; ++i) {
      const DrawnCorner& a = before.corners[static_cast<std::size_t>(i)];
      const DrawnCorner& b = after.corners[static_cast<std::size_t>(i)];
      if (a.fixed != b.fixed || a.label != b.label) return -1;
      differs = differs || a.pixel != b.pixel;
    }
    if (!differs) continue;
    if (moved != 0) return -1;
    moved = f;
  }
  return moved;
}

}  // namespace didod
