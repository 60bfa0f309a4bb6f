#pragma once
// A small turnable picture of a solid, drawn by view3d. The widget only holds
// the faces it is handed and the turn, which follows the mouse; the same
// drawing makes the library's pictures.
#include <QImage>
#include <vector>

#include "app/turnable_view.h"
#include "geometry/vec.h"

namespace didod {

using SolidFaces = std::vector<std::vector<geo::Vec3>>;  // corners counter-clockwise seen from outside

// The solid seen from the start's side, as large as fits a square of `size` pixels.
QImage SolidPicture(const SolidFaces& faces, int size);

class SolidPreview : public TurnableView {
  Q_OBJECT
 public:
  explicit SolidPreview(QWidget* parent = nullptr);
  void setSolid(SolidFaces faces);  // empty: nothing to show
  const SolidFaces& solid() const { return faces_; }
  QSize sizeHint() const override { return {320, 320}; }

 protected:
  std::vector<view3d::Polygon> polygons() const override { return faces_; }
  view3d::Frame frame() const override { return frame_; }

 private:
  SolidFaces faces_;
  view3d::Frame frame_;
};

}  // namespace didod
