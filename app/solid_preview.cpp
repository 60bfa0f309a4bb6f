#include "app/solid_preview.h"

namespace didod {

QImage SolidPicture(const SolidFaces& faces, int size) {
  // Drawn at twice the size and scaled down smoothly, so that the small
  // picture's outlines are not jagged.
  constexpr int kFiner = 2;
  const view3d::Camera camera{view3d::SolidStartRotation(), view3d::FrameOf(faces)};
  const QImage fine = ImageOf(view3d::Draw(faces, camera, kFiner * size, kFiner * size, kFiner));
  return fine.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

SolidPreview::SolidPreview(QWidget* parent) : TurnableView(view3d::SolidStartRotation(), parent) {
  setObjectName("solidPreview");
  setMinimumSize(200, 200);
  setToolTip("Zum Drehen mit der Maus ziehen");
}

void SolidPreview::setSolid(SolidFaces faces) {
  faces_ = std::move(faces);
  frame_ = view3d::FrameOf(faces_);
  update();
}

}  // namespace didod
