#include "output/sheet_raster.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "output/qpainter_canvas.h"

namespace didod {

QSize SheetImageSize(int width, int height, qreal ratio) {
  return {std::max(1, int(std::ceil(width * ratio))), std::max(1, int(std::ceil(height * ratio)))};
}

namespace {

QImage WhiteImage(QSize size, qreal ratio) {
  QImage image(size, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  return image;
}

// Makes an image of the given size white, reusing its pixels when it has them.
void MakeWhite(QImage& image, QSize size, qreal ratio) {
  if (image.size() != size || image.format() != QImage::Format_RGB32) {
    image = WhiteImage(size, ratio);
    return;
  }
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
}

// Copies a rectangle between two images of the same size and format.
void CopyPixels(const QImage& from, QImage& to, const QRect& r) {
  const std::size_t bytes = static_cast<std::size_t>(r.width()) * 4;
  for (int y = r.top(); y <= r.bottom(); ++y)
    std::memcpy(to.scanLine(y) + static_cast<std::size_t>(r.left()) * 4,
                from.constScanLine(y) + static_cast<std::size_t>(r.left()) * 4, bytes);
}

QRect ToQRect(const PixelBox& b) { return b.Empty() ? QRect() : QRect(b.left, b.top, b.right - b.left, b.bottom - b.top); }

}  // namespace

QImage DrawSheetImage(const Construction& c, const RenderOptions& options, qreal ratio) {
  QImage image = WhiteImage(SheetImageSize(options.SheetWidth, options.SheetHeight, ratio), ratio);
  QPainter painter(&image);
  QPainterCanvas canvas(painter);
  PB5Paintx(canvas, c, options);
  return image;
}

QRect SheetRaster::Update(const Construction& c, const RenderOptions& options, qreal ratio) {
  layout_.LayOut(c, options, next_);
  QRect changed;
  if (image_.isNull() || ratio != ratio_ ||
      image_.size() != SheetImageSize(options.SheetWidth, options.SheetHeight, ratio)) {
    ratio_ = ratio;
    changed = DrawWhole();
  } else {
    const int moved = OnlyMovedFace(shown_, next_);
    if (moved < 0)
      changed = DrawWhole();
    else if (moved > 0)
      changed = DrawStep(moved);
    else
      lastKind_ = Kind::Unchanged;
  }
  std::swap(shown_, next_);
  // The layers serve the steps of one drag; between drags they only take room.
  if (c.GrabbedPoint == 0) ReleaseLayers();
  return changed;
}

QRect SheetRaster::DrawWhole() {
  lastKind_ = Kind::Whole;
  ReleaseLayers();
  MakeWhite(image_, SheetImageSize(next_.options.SheetWidth, next_.options.SheetHeight, ratio_), ratio_);
  QPainter painter(&image_);
  QPainterCanvas canvas(painter);
  PB5Paintx(canvas, next_);
  return image_.rect();
}

void SheetRaster::ReleaseLayers() {
  below_ = QImage();
  scratch_ = QImage();
  belowFace_ = 0;
  aboveBoxes_.clear();
}

void SheetRaster::PrepareBelow(int face) {
  MakeWhite(below_, image_.size(), ratio_);
  {
    QPainter painter(&below_);
    QPainterCanvas canvas(painter);
    DrawOrigin(canvas, next_);
    for (int f = 1; f < face; ++f) DrawFace(canvas, next_, f);
  }
  if (scratch_.size() != image_.size()) scratch_ = WhiteImage(image_.size(), ratio_);
  aboveBoxes_.assign(static_cast<std::size_t>(next_.FaceCount()) + 1, PixelBox{});
  for (int f = face + 1; f <= next_.FaceCount(); ++f) aboveBoxes_[static_cast<std::size_t>(f)] = DeviceFaceBox(next_, f);
  belowFace_ = face;
}

QRect SheetRaster::DrawStep(int face) {
  lastKind_ = Kind::Step;
  // Only this face moves while the layers hold: the faces before it are those
  // below_ was drawn from, the faces after it have the boxes measured then.
  if (belowFace_ != face) PrepareBelow(face);
  const PixelBox sheet{0, 0, image_.width(), image_.height()};
  const PixelBox damage =
      DeviceFaceBox(shown_, face).United(DeviceFaceBox(next_, face)).Intersected(sheet);
  if (damage.Empty()) return {};
  const QRect rect = ToQRect(damage);
  CopyPixels(below_, scratch_, rect);
  {
    QPainter painter(&scratch_);
    QPainterCanvas canvas(painter);
    canvas.SetFont(kLabelFontFamily, kLabelFontPoints);
    DrawFace(canvas, next_, face);
    for (int f = face + 1; f <= next_.FaceCount(); ++f)
      if (aboveBoxes_[static_cast<std::size_t>(f)].Intersects(damage)) DrawFace(canvas, next_, f);
  }
  CopyPixels(scratch_, image_, rect);
  return rect;
}

PixelBox SheetRaster::DeviceFaceBox(const NetDrawing& drawing, int face) {
  return DeviceBox(FaceBox(drawing, face, [this](int label) { return LabelBoxOf(label); }), ratio_);
}

PixelBox LabelTextBox(int label) {
  const QFontMetrics metrics(CanvasFont(kLabelFontFamily, kLabelFontPoints));
  const QString text = QString::number(label);
  const QRect ink = metrics.boundingRect(text).translated(0, metrics.ascent());
  return PixelBox{0, 0, metrics.horizontalAdvance(text), metrics.height()}.United(
      {ink.left(), ink.top(), ink.right() + 1, ink.bottom() + 1});
}

PixelBox SheetRaster::LabelBoxOf(int label) {
  const auto n = static_cast<std::size_t>(label);
  if (n >= labelBoxes_.size()) labelBoxes_.resize(n + 1);
  if (labelBoxes_[n].Empty()) labelBoxes_[n] = LabelTextBox(label);
  return labelBoxes_[n];
}

}  // namespace didod
