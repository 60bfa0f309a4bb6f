#pragma once
#include <QImage>
#include <QRect>
#include <vector>

#include "model/construction.h"
#include "render/net_renderer.h"
#include "render/sheet_damage.h"

namespace didod {

// Size in image pixels of the sheet's off-screen image at a device pixel ratio.
QSize SheetImageSize(int width, int height, qreal ratio);

// The sheet's picture drawn the plain way: a fresh white image of the sheet's
// size at the device pixel ratio, and the whole construction drawn onto it.
QImage DrawSheetImage(const Construction& construction, const RenderOptions& options, qreal ratio);

// The pixels the text of a label may touch, relative to the top-left corner it
// is placed by: its advance and line height, and its glyphs' ink where that
// reaches further.
PixelBox LabelTextBox(int label);

// The sheet's off-screen image, kept from one repaint to the next so that a
// repaint redraws only what changed. Its pixels are always those that
// DrawSheetImage gives for the same construction, options and ratio.
//
// When only one face has moved since the last repaint (a step of a drag), the
// rectangle around the face's old and new place is made afresh: its pixels are
// taken from a prepared image of everything drawn before that face (white, the
// origin marker, the lower-numbered faces), then the face is drawn, then every
// higher-numbered face that reaches into the rectangle, in index order. These
// are drawn whole onto a scratch image of the same size and only the rectangle
// is copied back, so every line, marker and text is rasterised exactly as in
// the plain drawing. Any other change redraws the whole image.
class SheetRaster {
 public:
  // Brings the image up to date; returns the rectangle of image pixels that
  // changed, empty when none did.
  QRect Update(const Construction& construction, const RenderOptions& options, qreal ratio);
  const QImage& Image() const { return image_; }

  // How the last update was made, for tests and measurements.
  enum class Kind { Unchanged, Whole, Step };
  Kind LastKind() const { return lastKind_; }

 private:
  QRect DrawWhole();
  QRect DrawStep(int face);
  void PrepareBelow(int face);
  void ReleaseLayers();
  PixelBox DeviceFaceBox(const NetDrawing& drawing, int face);
  PixelBox LabelBoxOf(int label);

  NetLayout layout_;
  NetDrawing shown_;  // what image_ shows
  NetDrawing next_;   // what the update brings
  qreal ratio_ = 0.0;
  QImage image_;
  QImage below_;    // everything drawn before belowFace_
  QImage scratch_;  // where a step draws whole faces
  int belowFace_ = 0;
  std::vector<PixelBox> aboveBoxes_;  // aboveBoxes_[f]: device box of face f, for faces after belowFace_
  std::vector<PixelBox> labelBoxes_;  // by label number, measured once
  Kind lastKind_ = Kind::Unchanged;
};

}  // namespace didod
