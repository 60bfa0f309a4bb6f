#include "app/fold_view.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace didod {
namespace {

const QColor kBackground(255, 255, 255);
const QColor kFace(255, 236, 190);
const QColor kEdge(40, 40, 60);

// Row-major 3 x 3 products.
std::array<double, 9> Multiply(const std::array<double, 9>& a, const std::array<double, 9>& b) {
  std::array<double, 9> m{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) m[3 * i + j] += a[3 * i + k] * b[3 * k + j];
  return m;
}

std::array<double, 9> AboutX(double a) {
  return {1, 0, 0, 0, std::cos(a), -std::sin(a), 0, std::sin(a), std::cos(a)};
}
std::array<double, 9> AboutY(double a) {
  return {std::cos(a), 0, std::sin(a), 0, 1, 0, -std::sin(a), 0, std::cos(a)};
}

Point3 Centroid(const std::vector<std::vector<Point3>>& faces) {
  Point3 c;
  int n = 0;
  for (const auto& face : faces)
    for (const Point3& p : face) {
      c.x += p.x;
      c.y += p.y;
      c.z += p.z;
      ++n;
    }
  if (n > 0) c = {c.x / n, c.y / n, c.z / n};
  return c;
}

}  // namespace

FoldView::FoldView(FoldResult result, QWidget* parent) : QWidget(parent), result_(std::move(result)) {
  setObjectName("foldView");
  setMinimumSize(200, 160);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Looking at the printed side of the sheet, a little from below and left,
  // so that the folded solid shows its depth.
  rotation_ = Multiply(AboutX(-0.45), AboutY(0.5));
  // One size for the flat net and the closed solid, so that the picture
  // keeps its scale while folding.
  radius_ = 1e-9;
  for (double f : {0.0, 1.0}) {
    if (f > 0 && result_.solid.empty()) break;
    const auto faces = FacesAt(result_, f);
    const Point3 c = Centroid(faces);
    for (const auto& face : faces)
      for (const Point3& p : face)
        radius_ = std::max(radius_, std::sqrt((p.x - c.x) * (p.x - c.x) + (p.y - c.y) * (p.y - c.y) +
                                              (p.z - c.z) * (p.z - c.z)));
  }
  centre_ = Centroid(FacesAt(result_, 0.0));
}

void FoldView::setFraction(double f) {
  fraction_ = std::clamp(f, 0.0, 1.0);
  centre_ = Centroid(FacesAt(result_, result_.solid.empty() ? 0.0 : fraction_));
  update();
}

void FoldView::turn(double yaw, double pitch) {
  rotation_ = Multiply(AboutX(pitch), Multiply(AboutY(yaw), rotation_));
  update();
}

std::array<double, 3> FoldView::rotate(const Point3& p) const {
  const double v[3] = {p.x - centre_.x, p.y - centre_.y, p.z - centre_.z};
  std::array<double, 3> out{};
  for (int i = 0; i < 3; ++i) out[i] = rotation_[3 * i] * v[0] + rotation_[3 * i + 1] * v[1] + rotation_[3 * i + 2] * v[2];
  return out;
}

QPointF FoldView::project(const Point3& p) const {
  const auto v = rotate(p);
  const double scale = 0.48 * std::min(width(), height()) / radius_;
  // View y up, widget y down.
  return {width() / 2.0 + scale * v[0], height() / 2.0 - scale * v[1]};
}

void FoldView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kBackground);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const auto faces = FacesAt(result_, result_.solid.empty() ? 0.0 : fraction_);
  struct Item {
    double depth;
    QPolygonF poly;
    double light;
  };
  std::vector<Item> items;
  for (const auto& face : faces) {
    if (face.size() < 3) continue;
    Item item{0, {}, 1};
    double n[3] = {0, 0, 0};
    std::vector<std::array<double, 3>> view;
    for (const Point3& p : face) view.push_back(rotate(p));
    for (size_t k = 0; k < view.size(); ++k) {
      const auto& a = view[k];
      const auto& b = view[(k + 1) % view.size()];
      n[0] += a[1] * b[2] - a[2] * b[1];
      n[1] += a[2] * b[0] - a[0] * b[2];
      n[2] += a[0] * b[1] - a[1] * b[0];
      item.depth += a[2];
      item.poly << project(face[k]);
    }
    item.depth /= static_cast<double>(view.size());
    const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    // Light from the viewer, a little from above; the inner side is darker.
    const double facing = len > 0 ? (0.25 * n[1] + n[2]) / (len * std::sqrt(1.0625)) : 1.0;
    item.light = facing >= 0 ? 0.6 + 0.4 * facing : 0.45 + 0.25 * -facing;
    items.push_back(std::move(item));
  }
  // Farthest first; the viewer looks along -z.
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.depth < b.depth; });
  for (const Item& item : items) {
    const QColor c(static_cast<int>(kFace.red() * item.light), static_cast<int>(kFace.green() * item.light),
                   static_cast<int>(kFace.blue() * item.light));
    painter.setBrush(c);
    painter.setPen(QPen(kEdge, 1.5));
    painter.drawPolygon(item.poly);
  }
}

void FoldView::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  dragging_ = true;
  last_ = e->position();
}

void FoldView::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_) return;
  const QPointF d = e->position() - last_;
  last_ = e->position();
  turn(d.x() * 0.01, d.y() * 0.01);
}

void FoldView::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) dragging_ = false;
}

FoldWindow::FoldWindow(const Construction& c, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Netz falten");
  FoldResult result = FoldNet(c);
  const bool solid = !result.solid.empty();
  const QString message = QString::fromStdString(result.message);
  view = new FoldView(std::move(result), this);
  slider = new QSlider(Qt::Horizontal, this);
  slider->setObjectName("Faltung");
  slider->setRange(0, 100);
  slider->setEnabled(solid);
  sliderLabel = new QLabel("Faltung", this);
  auto* percent = new QLabel(this);
  verdict = new QLabel(message, this);
  verdict->setObjectName("verdict");
  verdict->setWordWrap(true);
  auto* row = new QHBoxLayout;
  row->addWidget(sliderLabel);
  row->addWidget(slider, 1);
  row->addWidget(percent);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view, 1);
  layout->addLayout(row);
  layout->addWidget(verdict);
  connect(slider, &QSlider::valueChanged, this, [this, percent](int v) {
    view->setFraction(v / 100.0);
    percent->setText(QString::number(v) + " %");
  });
  slider->setValue(solid ? 100 : 0);
  percent->setText(QString::number(slider->value()) + " %");
  view->setFraction(slider->value() / 100.0);
}

FoldWindow* ShowFoldWindow(const Construction& c, QWidget* parent) {
  auto* w = new FoldWindow(c, parent);
  w->setAttribute(Qt::WA_DeleteOnClose);
  w->show();
  return w;
}

}  // namespace didod
