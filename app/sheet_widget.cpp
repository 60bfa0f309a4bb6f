#include "app/sheet_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "output/qpainter_canvas.h"

namespace didod {

SheetWidget::SheetWidget(const Construction& construction, QWidget* parent)
    : QWidget(parent), construction_(construction) {
  setObjectName("PB5");
  setMouseTracking(true);  // moves matter while a drag is under way, whatever the buttons
  setAttribute(Qt::WA_OpaquePaintEvent);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
  setAutoFillBackground(false);
}

QImage SheetWidget::Render(qreal dpr) const {
  const int w = width(), h = height();
  QImage image(QSize(std::max(1, int(std::ceil(w * dpr))), std::max(1, int(std::ceil(h * dpr)))),
               QImage::Format_RGB32);
  image.setDevicePixelRatio(dpr);
  image.fill(Qt::white);
  QPainter painter(&image);
  QPainterCanvas canvas(painter);
  RenderOptions options = renderOptions ? renderOptions() : RenderOptions{};
  options.SheetWidth = w;
  options.SheetHeight = h;
  PB5Paintx(canvas, construction_, options);
  return image;
}

QImage SheetWidget::Pixels() const { return Render(1.0); }

void SheetWidget::paintEvent(QPaintEvent*) {
  // Drawn off-screen at the screen's pixel density and copied in one step.
  const QImage image = Render(devicePixelRatioF());
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), image);
}

static bool ToSheetButton(Qt::MouseButton b, SheetButton& out) {
  switch (b) {
    case Qt::LeftButton: out = SheetButton::Left; return true;
    case Qt::RightButton: out = SheetButton::Right; return true;
    case Qt::MiddleButton: out = SheetButton::Middle; return true;
    default: return false;
  }
}

void SheetWidget::mousePressEvent(QMouseEvent* e) {
  SheetButton b;
  const QPoint pos = e->position().toPoint();
  if (ToSheetButton(e->button(), b) && onMouseDown) onMouseDown(b, pos.x(), pos.y());
}

void SheetWidget::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  if (onMouseMove) onMouseMove(pos.x(), pos.y());
}

void SheetWidget::mouseReleaseEvent(QMouseEvent* e) {
  SheetButton b;
  const QPoint pos = e->position().toPoint();
  if (ToSheetButton(e->button(), b) && onMouseUp) onMouseUp(b, pos.x(), pos.y());
}

void SheetWidget::resizeEvent(QResizeEvent*) {
  if (onResized) onResized();
}

}  // namespace didod
