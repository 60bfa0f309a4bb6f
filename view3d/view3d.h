#pragma once
// The turnable 3-D view: polygons in space, looked at through a rotation,
// drawn into a picture with a depth buffer (faces that reach through each
// other are drawn right), each face lit from the viewer and darker on its
// back. A widget only turns the rotation with the mouse and shows the picture.
//
//   view3d::Camera camera{view3d::kStartRotation, view3d::FrameOf(faces)};
//   const view3d::Picture picture = view3d::Draw(faces, camera, 400, 300);
#include <cstdint>
#include <vector>

#include "geometry/vec.h"

namespace didod::view3d {

// A face: its corners in space, counter-clockwise seen from its front (the
// printed side of a net, the outside of a solid). Planar or nearly so.
using Polygon = std::vector<geo::Vec3>;

// What the picture holds: a ball around `centre` of `radius`, drawn as large
// as the picture's shorter side allows (with a small margin).
struct Frame {
  geo::Vec3 centre;
  double radius = 1.0;
};

// The centre of all corners and the farthest corner's distance from it.
Frame FrameOf(const std::vector<Polygon>& faces);

// Looking at the printed side of a flat net, a little from below and left, so
// that a folded solid shows its depth.
geo::Mat3 StartRotation();

// A solid seen from the front, a little from above and the side.
geo::Mat3 SolidStartRotation();

// The rotation turned further by yaw about the view's vertical axis and pitch
// about its horizontal axis (radians), as dragging the mouse right and down.
geo::Mat3 Turned(const geo::Mat3& rotation, double yaw, double pitch);

// The rotation turned by a drag of the mouse over (dx, dy) pixels, right and
// down: a hundredth of a radian per pixel.
geo::Mat3 TurnedByDrag(const geo::Mat3& rotation, double dx, double dy);

struct Camera {
  geo::Mat3 rotation = StartRotation();  // from the scene's axes to the view's
  Frame frame;
};

// A point as seen in a picture of width x height pixels: x right, y down from
// the top-left corner; depth grows towards the viewer.
struct Projected {
  double x = 0;
  double y = 0;
  double depth = 0;
};
Projected Project(const geo::Vec3& p, const Camera& camera, double width, double height);

// Colours as 0xFFRRGGBB.
struct Style {
  std::uint32_t background = 0xFFFFFFFF;
  std::uint32_t face = 0xFFFFECBE;
  std::uint32_t edge = 0xFF28283C;
  double penHalfWidth = 0.9;  // outline, in pixels at ratio 1
};

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // row by row from the top, 0xFFRRGGBB
  std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The faces drawn into a picture of width x height device pixels; at
// `pixelRatio` device pixels per pixel of the widget the outlines keep their
// width. A face seen edge on is only its outline.
Picture Draw(const std::vector<Polygon>& faces, const Camera& camera, int width, int height, double pixelRatio = 1.0,
             const Style& style = {});

}  // namespace didod::view3d
