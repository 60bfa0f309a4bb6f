#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

#include "model/construction.h"
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
  QImage Pixels() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QImage Render(qreal devicePixelRatio) const;
  const Construction& construction_;
};

}  // namespace didod
