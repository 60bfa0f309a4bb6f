#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

#include "model/construction.h"
#include "output/sheet_raster.h"
#include "render/net_renderer.h"

namespace didod {

enum class SheetButton { Left, Right, Middle };

// The drawing sheet: paints the construction through the renderer and forwards
// its mouse events. It holds no geometry of its own.
class SheetWidget : public QWidget {
  Q_OBJECT
 public:
  SheetWidget(const Construction& construction, QWidget* parent = nullptr);

  std::function<RenderOptions()> renderOptions;
  std::function<void(SheetButton, int, int)> onMouseDown;
  std::function<void(int, int)> onMouseMove;
  std::function<void(SheetButton, int, int)> onMouseUp;
  std::function<void()> onResized;

  ViewCentre Centre() const { return ViewCentreOf(width(), height()); }
  // The drawing at the sheet's size, white underneath: what the sheet shows.
  QImage Pixels() const { return Render(1.0); }
  // The same drawn afresh at a device pixel ratio.
  QImage Render(qreal devicePixelRatio) const;
  // The off-screen image the sheet copies from, as of its latest repaint.
  const QImage& Shown() const { return raster_.Image(); }
  // Repaints at once: brings the off-screen image up to date and has the
  // window system copy the part of it that changed.
  void Refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  RenderOptions Options() const;
  // Brings the off-screen image up to date; returns the changed part in sheet pixels.
  QRect UpdateImage();
  const Construction& construction_;
  SheetRaster raster_;
};

}  // namespace didod
