#pragma once
#include <functional>

#include "render/net_renderer.h"

namespace didod {

// A rectangle of pixels: left and top inside, right and bottom just outside.
struct PixelBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  bool Intersects(const PixelBox& other) const;
  // The smallest box holding both; an empty box adds nothing.
  PixelBox United(const PixelBox& other) const;
  PixelBox Intersected(const PixelBox& other) const;
  bool operator==(const PixelBox&) const = default;
};

// The pixels a label's text may touch, relative to the top-left corner it is
// placed by. Given by whoever knows the font.
using LabelBox = std::function<PixelBox(int label)>;

// Extra room around everything a face draws, in sheet pixels, so that a box
// holds the outline, markers and text however a surface rasterises them.
inline constexpr int kDamageMargin = 2;

// Every pixel of the sheet that face f may touch: its outline, its markers and
// its labels (as far as the drawing's switches show them), with the margin.
PixelBox FaceBox(const NetDrawing& drawing, int face, const LabelBox& labelBox);

// A box of sheet pixels as pixels of an image drawn at the given device pixel
// ratio, rounded outwards and grown by one device pixel.
PixelBox DeviceBox(const PixelBox& box, double ratio);

// How two drawings differ: 0 when they give the same picture, f when they differ
// only in the pixel positions of the corners of face f, -1 otherwise.
int OnlyMovedFace(const NetDrawing& before, const NetDrawing& after);

}  // namespace didod
