#pragma once
// A widget that shows polygons in space as view3d draws them and turns them
// while the left mouse button drags over it. What it shows and how large comes
// from the widget built on it; this one holds only the rotation.
#include <QImage>
#include <QPointF>
#include <QWidget>
#include <vector>

#include "view3d/view3d.h"

namespace didod {

class TurnableView : public QWidget {
  Q_OBJECT
 public:
  explicit TurnableView(const geo::Mat3& start, QWidget* parent = nullptr);

  // Turns the view: yaw about the screen's vertical axis, pitch about its
  // horizontal axis, in radians.
  void turn(double yaw, double pitch);
  const geo::Mat3& rotation() const { return rotation_; }

 protected:
  // The faces to show, counter-clockwise seen from their front.
  virtual std::vector<view3d::Polygon> polygons() const = 0;
  // What the picture holds.
  virtual view3d::Frame frame() const = 0;
  view3d::Camera camera() const { return {rotation_, frame()}; }

  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  geo::Mat3 rotation_;
  bool dragging_ = false;
  QPointF last_;
};

// The picture as an image, `pixelRatio` device pixels to a pixel of the widget.
QImage ImageOf(const view3d::Picture& picture, double pixelRatio = 1.0);

}  // namespace didod
