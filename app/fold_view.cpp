#include "app/fold_view.h"

#include <QPushButton>

#include "app/craft_dialog.h"
#include "app/solid_export.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QImage>
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

// Ear clipping of a simple polygon (either orientation), by corner index.
std::vector<std::array<int, 3>> Triangles(const std::vector<Point3>& poly) {
  std::vector<std::array<int, 3>> out;
  const int n = static_cast<int>(poly.size());
  double area = 0;
  for (int k = 0; k < n; ++k) area += poly[k].x * poly[(k + 1) % n].y - poly[(k + 1) % n].x * poly[k].y;
  const double s = area < 0 ? -1.0 : 1.0;
  auto cross = [&](int a, int b, int c) {
    return s * ((poly[b].x - poly[a].x) * (poly[c].y - poly[a].y) - (poly[b].y - poly[a].y) * (poly[c].x - poly[a].x));
  };
  std::vector<int> idx(n);
  for (int i = 0; i < n; ++i) idx[i] = i;
  while (idx.size() > 3) {
    const int m = static_cast<int>(idx.size());
    bool clipped = false;
    for (int i = 0; i < m && !clipped; ++i) {
      const int a = idx[(i + m - 1) % m], b = idx[i], c = idx[(i + 1) % m];
      if (cross(a, b, c) <= 1e-12) continue;
      bool inside = false;
      for (int j : idx)
        if (j != a && j != b && j != c && cross(a, b, j) >= 0 && cross(b, c, j) >= 0 && cross(c, a, j) >= 0)
          inside = true;
      if (inside) continue;
      out.push_back({a, b, c});
      idx.erase(idx.begin() + i);
      clipped = true;
    }
    if (!clipped) break;
  }
  for (size_t i = 1; i + 1 < idx.size(); ++i) out.push_back({idx[0], idx[i], idx[i + 1]});
  return out;
}

}  // namespace

FoldView::FoldView(FoldResult result, QWidget* parent) : QWidget(parent), result_(std::move(result)) {
  setObjectName("foldView");
  setMinimumSize(200, 160);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Looking at the printed side of the sheet, a little from below and left,
  // so that the folded solid shows its depth.
  rotation_ = Multiply(AboutX(-0.45), AboutY(0.5));
  // The printed side of a face is the one from which its corners run
  // counter-clockwise on the sheet.
  for (const auto& face : result_.flat) {
    double area = 0;
    for (size_t k = 0; k < face.size(); ++k) {
      const Point3& a = face[k];
      const Point3& b = face[(k + 1) % face.size()];
      area += a.x * b.y - b.x * a.y;
    }
    turnSign_.push_back(area < 0 ? -1.0 : 1.0);
  }
  // The picture grows smoothly from the flat net's size to the solid's.
  auto radiusOf = [](const std::vector<std::vector<Point3>>& faces) {
    const Point3 c = Centroid(faces);
    double r = 1e-9;
    for (const auto& face : faces)
      for (const Point3& p : face)
        r = std::max(r, std::sqrt((p.x - c.x) * (p.x - c.x) + (p.y - c.y) * (p.y - c.y) + (p.z - c.z) * (p.z - c.z)));
    return r;
  };
  flatRadius_ = radiusOf(FacesAt(result_, 0.0));
  solidRadius_ = result_.solid.empty() ? flatRadius_ : radiusOf(FacesAt(result_, 1.0));
  radius_ = flatRadius_;
  centre_ = Centroid(FacesAt(result_, 0.0));
}

void FoldView::setFraction(double f) {
  fraction_ = std::clamp(f, 0.0, 1.0);
  centre_ = Centroid(FacesAt(result_, result_.solid.empty() ? 0.0 : fraction_));
  radius_ = result_.solid.empty() ? flatRadius_ : (1 - fraction_) * flatRadius_ + fraction_ * solidRadius_;
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
  // A small z-buffer: every face is cut into triangles and filled pixel by
  // pixel, nearest wins, so faces that reach through each other (non-convex
  // solids) are drawn right. Outline pixels of a face take the edge colour.
  const double dpr = devicePixelRatioF();
  const int W = std::max(1, static_cast<int>(std::lround(width() * dpr)));
  const int H = std::max(1, static_cast<int>(std::lround(height() * dpr)));
  QImage image(W, H, QImage::Format_RGB32);
  image.fill(kBackground);
  std::vector<double> depth(static_cast<size_t>(W) * H, -1e300);
  const auto faces = FacesAt(result_, result_.solid.empty() ? 0.0 : fraction_);
  const QRgb edge = kEdge.rgb();
  for (size_t f = 0; f < faces.size(); ++f) {
    const auto& face = faces[f];
    const int n = static_cast<int>(face.size());
    if (n < 3) continue;
    std::vector<std::array<double, 3>> view;  // pixel x, pixel y, depth
    double nrm[3] = {0, 0, 0};
    std::vector<std::array<double, 3>> rotated;
    for (const Point3& p : face) {
      rotated.push_back(rotate(p));
      const QPointF q = project(p);
      view.push_back({q.x() * dpr, q.y() * dpr, rotated.back()[2]});
    }
    for (int k = 0; k < n; ++k) {
      const auto& a = rotated[k];
      const auto& b = rotated[(k + 1) % n];
      nrm[0] += a[1] * b[2] - a[2] * b[1];
      nrm[1] += a[2] * b[0] - a[0] * b[2];
      nrm[2] += a[0] * b[1] - a[1] * b[0];
    }
    const double len = std::sqrt(nrm[0] * nrm[0] + nrm[1] * nrm[1] + nrm[2] * nrm[2]);
    const double sign = f < turnSign_.size() ? turnSign_[f] : 1.0;
    // Light from the viewer, a little from above; the inner side is darker.
    const double facing = len > 0 ? sign * (0.25 * nrm[1] + nrm[2]) / (len * std::sqrt(1.0625)) : 1.0;
    const double light = facing >= 0 ? 0.7 + 0.3 * facing : 0.5 + 0.15 * -facing;
    const QRgb fill = qRgb(static_cast<int>(kFace.red() * light), static_cast<int>(kFace.green() * light),
                           static_cast<int>(kFace.blue() * light));
    const double halfPen = 0.9 * dpr;
    auto edgeDistance = [&](double x, double y, int k) {
      const auto& a = view[k];
      const auto& b = view[(k + 1) % n];
      const double dx = b[0] - a[0], dy = b[1] - a[1];
      const double l2 = dx * dx + dy * dy;
      double t = l2 > 0 ? ((x - a[0]) * dx + (y - a[1]) * dy) / l2 : 0;
      t = std::clamp(t, 0.0, 1.0);
      return std::hypot(x - a[0] - t * dx, y - a[1] - t * dy);
    };
    // A face seen edge on is only its outline.
    for (const auto& tri : Triangles(f < result_.flat.size() ? result_.flat[f] : face)) {
      const auto& A = view[tri[0]];
      const auto& B = view[tri[1]];
      const auto& C = view[tri[2]];
      const double den = (B[1] - C[1]) * (A[0] - C[0]) + (C[0] - B[0]) * (A[1] - C[1]);
      if (std::fabs(den) < 1e-9) continue;
      // The triangle's sides that are sides of the face.
      int outline[3];
      int outlines = 0;
      for (int i = 0; i < 3; ++i) {
        const int u = tri[i], v = tri[(i + 1) % 3];
        if ((u + 1) % n == v) outline[outlines++] = u;
        if ((v + 1) % n == u) outline[outlines++] = v;
      }
      const int x0 = std::max(0, static_cast<int>(std::floor(std::min({A[0], B[0], C[0]}) - halfPen)));
      const int x1 = std::min(W - 1, static_cast<int>(std::ceil(std::max({A[0], B[0], C[0]}) + halfPen)));
      const int y0 = std::max(0, static_cast<int>(std::floor(std::min({A[1], B[1], C[1]}) - halfPen)));
      const int y1 = std::min(H - 1, static_cast<int>(std::ceil(std::max({A[1], B[1], C[1]}) + halfPen)));
      for (int y = y0; y <= y1; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = x0; x <= x1; ++x) {
          const double px = x + 0.5, py = y + 0.5;
          const double wa = ((B[1] - C[1]) * (px - C[0]) + (C[0] - B[0]) * (py - C[1])) / den;
          const double wb = ((C[1] - A[1]) * (px - C[0]) + (A[0] - C[0]) * (py - C[1])) / den;
          const double wc = 1 - wa - wb;
          bool onOutline = false;
          for (int i = 0; i < outlines && !onOutline; ++i) onOutline = edgeDistance(px, py, outline[i]) < halfPen;
          const double e = -1e-9;
          if (!onOutline && (wa < e || wb < e || wc < e)) continue;
          // Outline pixels a little outside the face lie on it, nudged forward.
          const double z = wa * A[2] + wb * B[2] + wc * C[2] + (onOutline ? 1e-6 * radius_ : 0.0);
          double& d = depth[static_cast<size_t>(y) * W + x];
          if (z < d) continue;
          d = z;
          row[x] = onOutline ? edge : fill;
        }
      }
    }
  }
  image.setDevicePixelRatio(dpr);
  QPainter painter(this);
  painter.drawImage(QPointF(0, 0), image);
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
  // The check can take up to its time budget (two seconds).
  struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  };
  FoldResult result = [&] {
    WaitCursor wait;
    return FoldNet(c);
  }();
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
  exportButton = new QPushButton("Körper e&xportieren …", this);
  exportButton->setObjectName("exportSolid");
  exportButton->setEnabled(solid);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(verdict, 1);
  bottom->addWidget(exportButton, 0, Qt::AlignTop);
  layout->addLayout(bottom);
  connect(exportButton, &QPushButton::clicked, this, [this] {
    ExportFoldedSolid(view->result().solid, CraftEdgeLength(trueEdgeLength), this);
  });
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
