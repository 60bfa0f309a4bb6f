#include "app/turnable_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace didod {
namespace {

// The picture's pixels seen as an image, without a copy: valid while the
// picture lives.
QImage Wrapped(const view3d::Picture& picture, double pixelRatio) {
  QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
               picture.width * 4, QImage::Format_RGB32);
  image.setDevicePixelRatio(pixelRatio);
  return image;
}

}  // namespace

TurnableView::TurnableView(const geo::Mat3& start, QWidget* parent) : QWidget(parent), rotation_(start) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TurnableView::turn(double yaw, double pitch) {
  rotation_ = view3d::Turned(rotation_, yaw, pitch);
  update();
}

void TurnableView::paintEvent(QPaintEvent*) {
  const double dpr = devicePixelRatioF();
  const int w = std::max(1, static_cast<int>(std::lround(width() * dpr)));
  const int h = std::max(1, static_cast<int>(std::lround(height() * dpr)));
  const view3d::Picture picture = view3d::Draw(polygons(), camera(), w, h, dpr);
  QPainter painter(this);
  painter.drawImage(QPointF(0, 0), Wrapped(picture, dpr));
}

void TurnableView::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  dragging_ = true;
  last_ = e->position();
}

void TurnableView::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_) return;
  const QPointF d = e->position() - last_;
  last_ = e->position();
  rotation_ = view3d::TurnedByDrag(rotation_, d.x(), d.y());
  update();
}

void TurnableView::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) dragging_ = false;
}

QImage ImageOf(const view3d::Picture& picture, double pixelRatio) {
  QImage image = Wrapped(picture, pixelRatio).copy();
  image.setDevicePixelRatio(pixelRatio);
  return image;
}

}  // namespace didod
