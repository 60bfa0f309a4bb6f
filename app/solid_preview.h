#pragma once
// A small turnable picture of a solid: the faces turned, sorted by depth and
// shaded by how they face the viewer. The widget only holds the view's turn
// and forwards the mouse; the same drawing makes the library's pictures.
#include <QImage>
#include <QPointF>
#include <QWidget>
#include <array>
#include <vector>

#include "geometry/vec.h"

namespace didod {

using SolidFaces = std::vector<std::vector<geo::Vec3>>;  // corners counter-clockwise seen from outside

// Row-major rotation from the solid to the view (x right, y up, z towards the viewer).
using ViewTurn = std::array<double, 9>;
ViewTurn StartingTurn();
ViewTurn Turned(const ViewTurn& turn, double yaw, double pitch);

// Draws the solid into the rectangle of the painter's device, as large as fits.
void PaintSolid(class QPainter& painter, const QRectF& area, const SolidFaces& faces, const ViewTurn& turn);
QImage SolidPicture(const SolidFaces& faces, int size);

class SolidPreview : public QWidget {
  Q_OBJECT
 public:
  explicit SolidPreview(QWidget* parent = nullptr);
  void setSolid(SolidFaces faces);  // empty: nothing to show
  const SolidFaces& solid() const { return faces_; }
  void turn(double yaw, double pitch);
  const ViewTurn& viewTurn() const { return turn_; }
  QSize sizeHint() const override { return {320, 320}; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  SolidFaces faces_;
  ViewTurn turn_;
  bool dragging_ = false;
  QPointF last_;
};

}  // namespace didod
