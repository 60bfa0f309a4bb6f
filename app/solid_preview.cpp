#include "app/solid_preview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace didod {

namespace {

const QColor kBackground(255, 255, 255);
const QColor kFace(255, 236, 190);
const QColor kEdge(40, 40, 60);

ViewTurn Multiply(const ViewTurn& a, const ViewTurn& b) {
  ViewTurn m{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) m[3 * i + j] += a[3 * i + k] * b[3 * k + j];
  return m;
}

ViewTurn AboutX(double a) { return {1, 0, 0, 0, std::cos(a), -std::sin(a), 0, std::sin(a), std::cos(a)}; }
ViewTurn AboutY(double a) { return {std::cos(a), 0, std::sin(a), 0, 1, 0, -std::sin(a), 0, std::cos(a)}; }

geo::Vec3 Apply(const ViewTurn& m, const geo::Vec3& v) {
  return {m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
          m[6] * v.x + m[7] * v.y + m[8] * v.z};
}

}  // namespace

ViewTurn StartingTurn() { return Multiply(AboutX(-1.1), AboutY(0.35)); }

ViewTurn Turned(const ViewTurn& turn, double yaw, double pitch) {
  return Multiply(AboutX(pitch), Multiply(AboutY(yaw), turn));
}

void PaintSolid(QPainter& painter, const QRectF& area, const SolidFaces& faces, const ViewTurn& turn) {
  painter.fillRect(area, kBackground);
  if (faces.empty()) return;
  geo::Vec3 centre;
  int corners = 0;
  for (const auto& f : faces)
    for (const geo::Vec3& p : f) { centre += p; ++corners; }
  centre = centre / corners;
  double radius = 1e-12;
  for (const auto& f : faces)
    for (const geo::Vec3& p : f) radius = std::max(radius, geo::Distance(p, centre));
  const double scale = 0.46 * std::min(area.width(), area.height()) / radius;
  const QPointF mid = area.center();
  // Faces turned to the viewer, far ones first (painter's order by the mean depth).
  struct Drawn {
    double depth;
    QPolygonF outline;
    double facing;
  };
  std::vector<Drawn> drawn;
  for (const auto& f : faces) {
    Drawn d{0, {}, 0};
    geo::Vec3 normal;
    std::vector<geo::Vec3> view;
    for (const geo::Vec3& p : f) view.push_back(Apply(turn, p - centre));
    for (std::size_t k = 0; k < view.size(); ++k) {
      normal += geo::Cross(view[k], view[(k + 1) % view.size()]);
      d.depth += view[k].z / view.size();
      d.outline << QPointF(mid.x() + scale * view[k].x, mid.y() - scale * view[k].y);
    }
    // Of a closed surface only the outer sides of faces are seen.
    if (normal.z <= 0) continue;
    d.facing = (0.25 * normal.y + normal.z) / (geo::Norm(normal) * std::sqrt(1.0625));
    drawn.push_back(std::move(d));
  }
  std::sort(drawn.begin(), drawn.end(), [](const Drawn& a, const Drawn& b) { return a.depth < b.depth; });
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kEdge, 1.0));
  for (const Drawn& d : drawn) {
    // Light from the viewer, a little from above.
    const double light = 0.6 + 0.4 * std::max(0.0, d.facing);
    painter.setBrush(QColor(static_cast<int>(kFace.red() * light), static_cast<int>(kFace.green() * light),
                            static_cast<int>(kFace.blue() * light)));
    painter.drawPolygon(d.outline);
  }
  painter.restore();
}

QImage SolidPicture(const SolidFaces& faces, int size) {
  QImage image(size, size, QImage::Format_RGB32);
  QPainter painter(&image);
  PaintSolid(painter, QRectF(0, 0, size, size), faces, StartingTurn());
  return image;
}

SolidPreview::SolidPreview(QWidget* parent) : QWidget(parent), turn_(StartingTurn()) {
  setObjectName("solidPreview");
  setMinimumSize(200, 200);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setToolTip("Zum Drehen mit der Maus ziehen");
}

void SolidPreview::setSolid(SolidFaces faces) {
  faces_ = std::move(faces);
  update();
}

void SolidPreview::turn(double yaw, double pitch) {
  turn_ = Turned(turn_, yaw, pitch);
  update();
}

void SolidPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintSolid(painter, QRectF(rect()), faces_, turn_);
}

void SolidPreview::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  dragging_ = true;
  last_ = e->position();
}

void SolidPreview::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_) return;
  const QPointF d = e->position() - last_;
  last_ = e->position();
  turn(d.x() * 0.01, d.y() * 0.01);
}

void SolidPreview::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) dragging_ = false;
}

}  // namespace didod
