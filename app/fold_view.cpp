#include "app/fold_view.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <memory>

#include "app/craft_dialog.h"
#include "app/solid_export.h"

namespace didod {

FoldView::FoldView(QWidget* parent) : TurnableView(view3d::StartRotation(), parent) {
  setObjectName("foldView");
  setMinimumSize(200, 160);
}

void FoldView::setResult(FoldResult result) {
  result_ = std::move(result);
  clockwise_.clear();
  for (const auto& face : result_.flat) {
    double area = 0;
    for (size_t k = 0; k < face.size(); ++k) area += geo::Cross(face[k], face[(k + 1) % face.size()]).z;
    clockwise_.push_back(area < 0);
  }
  flatRadius_ = view3d::FrameOf(result_.flat).radius;
  setSolid(0);
}

void FoldView::setSolid(std::size_t solid) {
  solid_ = solid;
  // The picture grows smoothly from the flat net's size to the solid's.
  solidRadius_ = solid_ < result_.solids.size() ? view3d::FrameOf(FacesAt(result_, solid_, 1.0)).radius : flatRadius_;
  update();
}

void FoldView::setFraction(double f) {
  fraction_ = std::clamp(f, 0.0, 1.0);
  update();
}

std::vector<std::vector<geo::Vec3>> FoldView::faces() const { return FacesAt(result_, solid_, fraction_); }

// The faces with their printed side in front: a face stored clockwise on the
// sheet has its corners reversed.
std::vector<view3d::Polygon> FoldView::polygons() const {
  std::vector<view3d::Polygon> faces = this->faces();
  for (size_t f = 0; f < faces.size() && f < clockwise_.size(); ++f)
    if (clockwise_[f]) std::reverse(faces[f].begin(), faces[f].end());
  return faces;
}

view3d::Frame FoldView::frame() const {
  const double t = solid_ < result_.solids.size() ? fraction_ : 0.0;
  return {view3d::FrameOf(faces()).centre, (1 - t) * flatRadius_ + t * solidRadius_};
}

QPointF FoldView::project(const geo::Vec3& p) const {
  const view3d::Projected q = view3d::Project(p, camera(), width(), height());
  return {q.x, q.y};
}

FoldWindow::FoldWindow(const Construction& c, QWidget* parent, const Construction* live, FoldOptions options)
    : QDialog(parent), live_(live), checkedNet_(c) {
  setWindowTitle("Netz falten");
  view_ = new FoldView(this);
  FoldResult unchecked;
  unchecked.flat = FlatNet(c);
  view_->setResult(std::move(unchecked));
  verdict_ = new QLabel(this);
  verdict_->setObjectName("verdict");
  verdict_->setWordWrap(true);
  verdict_->hide();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addLayout(sliderRow());
  layout->addLayout(solidRow());
  layout->addLayout(busyRow());
  layout->addLayout(verdictRow());
  startCheck(options);
}

QLayout* FoldWindow::sliderRow() {
  slider_ = new QSlider(Qt::Horizontal, this);
  slider_->setObjectName("Faltung");
  slider_->setRange(0, 100);
  slider_->setEnabled(false);
  auto* label = new QLabel("Faltung", this);
  label->setObjectName("FaltungLabel");
  label->setBuddy(slider_);
  percent_ = new QLabel("0 %", this);
  connect(slider_, &QSlider::valueChanged, this, [this](int v) {
    view_->setFraction(v / 100.0);
    percent_->setText(QString::number(v) + " %");
  });
  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(slider_, 1);
  row->addWidget(percent_);
  return row;
}

// The verdict, and the export of the solid shown once there is one.
QLayout* FoldWindow::verdictRow() {
  export_ = new QPushButton("Körper e&xportieren …", this);
  export_->setObjectName("exportSolid");
  export_->setEnabled(false);
  connect(export_, &QPushButton::clicked, this, [this] {
    const FoldResult& r = view_->result();
    if (view_->solid() < r.solids.size())
      ExportFoldedSolid(r.solids[view_->solid()].corners, CraftEdgeLength(trueEdgeLength_), this);
  });
  auto* row = new QHBoxLayout;
  row->addWidget(verdict_, 1);
  row->addWidget(export_, 0, Qt::AlignTop);
  return row;
}

// Shown only when the net folds into several solids.
QLayout* FoldWindow::solidRow() {
  previous_ = new QToolButton(this);
  previous_->setObjectName("previousSolid");
  previous_->setArrowType(Qt::LeftArrow);
  previous_->setToolTip("Voriger Körper");
  next_ = new QToolButton(this);
  next_->setObjectName("nextSolid");
  next_->setArrowType(Qt::RightArrow);
  next_->setToolTip("Nächster Körper");
  solidCaption_ = new QLabel(this);
  solidCaption_->setObjectName("solidCaption");
  connect(previous_, &QToolButton::clicked, this, [this] { showSolid(view_->solid() - 1); });
  connect(next_, &QToolButton::clicked, this, [this] { showSolid(view_->solid() + 1); });
  auto* row = new QHBoxLayout;
  row->addWidget(previous_);
  row->addWidget(solidCaption_, 1);
  row->addWidget(next_);
  for (QWidget* w : std::initializer_list<QWidget*>{previous_, next_, solidCaption_}) w->hide();
  return row;
}

// Shown while the check runs.
QLayout* FoldWindow::busyRow() {
  status_ = new QLabel("Das Netz wird geprüft …", this);
  status_->setObjectName("checking");
  busy_ = new QProgressBar(this);
  busy_->setObjectName("busy");
  busy_->setRange(0, 0);  // busy, no known end
  busy_->setTextVisible(false);
  cancel_ = new QPushButton("Abbrechen", this);
  cancel_->setObjectName("cancel");
  connect(cancel_, &QPushButton::clicked, this, &FoldWindow::cancelCheck);
  auto* row = new QHBoxLayout;
  row->addWidget(status_);
  row->addWidget(busy_, 1);
  row->addWidget(cancel_);
  return row;
}

// The worker has its own copy of the net and touches nothing else; the answer
// comes back through the window's event queue.
void FoldWindow::startCheck(FoldOptions options) {
  options.cancel = &cancelled_;
  checking_ = true;
  worker_ = std::thread([this, net = checkedNet_, options] {
    auto answer = std::make_shared<FoldResult>(FoldNet(net, options));
    QMetaObject::invokeMethod(this, [this, answer] { showAnswer(std::move(*answer)); }, Qt::QueuedConnection);
  });
}

FoldWindow::~FoldWindow() {
  cancelled_ = true;
  if (worker_.joinable()) worker_.join();
}

void FoldWindow::cancelCheck() {
  cancelled_ = true;
  cancel_->setEnabled(false);
}

void FoldWindow::stopWatching() {
  live_ = nullptr;
  cancelCheck();
}

void FoldWindow::closeEvent(QCloseEvent* e) {
  stopWatching();
  QDialog::closeEvent(e);
}

void FoldWindow::done(int r) {
  stopWatching();
  QDialog::done(r);
}

void FoldWindow::showAnswer(FoldResult result) {
  if (worker_.joinable()) worker_.join();  // it has posted this answer and ends
  checking_ = false;
  for (QWidget* w : std::initializer_list<QWidget*>{status_, busy_, cancel_}) w->hide();
  QString message = QString::fromStdString(result.message);
  if (live_ && !SameNetToFold(*live_, checkedNet_))
    message = "Das Netz wurde geändert, während es geprüft wurde; dies gilt für das Netz, wie es beim Öffnen "
              "dieses Fensters war. " + message;
  verdict_->setText(message);
  verdict_->show();
  const bool solid = !result.solids.empty();
  const bool several = result.solids.size() > 1;
  view_->setResult(std::move(result));
  for (QWidget* w : std::initializer_list<QWidget*>{previous_, next_, solidCaption_}) w->setVisible(several);
  slider_->setEnabled(solid);
  export_->setEnabled(solid);
  slider_->setValue(solid ? 100 : 0);
  showSolid(0);
  emit checked();
}

void FoldWindow::showSolid(std::size_t solid) {
  const std::size_t count = view_->result().solids.size();
  if (count > 0 && solid >= count) return;
  view_->setSolid(solid);
  previous_->setEnabled(solid > 0);
  next_->setEnabled(solid + 1 < count);
  solidCaption_->setText(QString::fromStdString(SolidCaption(view_->result(), solid)));
}

FoldResult CheckNetWaiting(const Construction& c, QWidget* parent) {
  std::atomic<bool> cancelled{false};
  FoldOptions options;
  options.cancel = &cancelled;
  QWidget* window = parent ? parent->window() : nullptr;
  if (window) window->setEnabled(false);
  QProgressDialog progress("Das Netz wird geprüft …", "Abbrechen", 0, 0, window);
  progress.setObjectName("checkingNet");
  progress.setWindowTitle("Netz falten");
  QObject::connect(&progress, &QProgressDialog::canceled, [&cancelled] { cancelled = true; });
  QTimer::singleShot(300, &progress, [&progress] { progress.show(); });  // quick checks show nothing
  QEventLoop loop;
  FoldResult result;
  std::thread worker([&loop, &result, net = c, options] {
    result = FoldNet(net, options);
    QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  progress.reset();
  if (window) window->setEnabled(true);
  return result;
}

FoldWindow* ShowFoldWindow(const Construction& c, QWidget* parent) {
  auto* w = new FoldWindow(c, parent, &c);
  w->setAttribute(Qt::WA_DeleteOnClose);
  w->show();
  return w;
}

}  // namespace didod
