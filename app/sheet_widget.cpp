#include "app/sheet_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
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

RenderOptions SheetWidget::Options() const {
  RenderOptions options = renderOptions ? renderOptions() : RenderOptions{};
  options.SheetWidth = width();
  options.SheetHeight = height();
  return options;
}

QImage SheetWidget::Render(qreal dpr) const { return DrawSheetImage(construction_, Options(), dpr); }

QRect SheetWidget::UpdateImage() {
  const qreal dpr = devicePixelRatioF();
  const QRect changed = raster_.Update(construction_, Options(), dpr);
  if (changed.isEmpty()) return {};
  // Image pixels to sheet pixels, rounded outwards.
  const int left = int(std::floor(changed.left() / dpr)), top = int(std::floor(changed.top() / dpr));
  const int right = int(std::ceil((changed.right() + 1) / dpr)), bottom = int(std::ceil((changed.bottom() + 1) / dpr));
  return QRect(left, top, right - left, bottom - top);
}

void SheetWidget::Refresh() {
  if (!isVisible()) {  // nothing to show yet: the first paint draws it
    update();
    return;
  }
  const QRect changed = UpdateImage();
  if (!changed.isEmpty()) update(changed);
}

void SheetWidget::paintEvent(QPaintEvent* event) {
  // Drawn off-screen at the screen's pixel density and copied in one step; a
  // change the window system did not ask for yet is asked for.
  const QRect changed = UpdateImage();
  if (!changed.isEmpty() && !event->rect().contains(changed)) update(changed);
  // The painter is clipped to the region asked for, so only that is copied.
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), raster_.Image());
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
