#pragma once
// The window that folds the net in 3-D. It opens at once and checks a copy of
// the net on a worker thread, with a busy line and "Abbrechen"; then it shows
// the verdict, a slider from the flat net to the closed solid and, when the
// net folds into several solids, a way to step through them. The picture is
// computed by view3d; the widget only turns it with the mouse and shows it.
#include <QDialog>
#include <atomic>
#include <thread>
#include <vector>

#include "fold/fold.h"
#include "model/construction.h"
#include "app/turnable_view.h"

class QLabel;
class QLayout;
class QProgressBar;
class QPushButton;
class QSlider;
class QToolButton;

namespace didod {

class FoldView : public TurnableView {
  Q_OBJECT
 public:
  explicit FoldView(QWidget* parent = nullptr);

  // Shows a result: its flat net, and its solids once it has some.
  void setResult(FoldResult result);
  const FoldResult& result() const { return result_; }
  std::size_t solid() const { return solid_; }
  void setSolid(std::size_t solid);
  double fraction() const { return fraction_; }
  void setFraction(double f);
  // The faces at the current stage, as FacesAt gives them.
  std::vector<std::vector<geo::Vec3>> faces() const;
  // Where a point of those faces lands on the widget.
  QPointF project(const geo::Vec3& p) const;
  QSize sizeHint() const override { return {520, 440}; }

 protected:
  std::vector<view3d::Polygon> polygons() const override;
  view3d::Frame frame() const override;

 private:
  FoldResult result_;
  std::size_t solid_ = 0;
  double fraction_ = 0.0;
  std::vector<bool> clockwise_;  // faces stored clockwise on the sheet
  double flatRadius_ = 1.0;
  double solidRadius_ = 1.0;
};

class FoldWindow : public QDialog {
  Q_OBJECT
 public:
  // Opens on a copy of `c` and starts checking it. With `live`, the answer is
  // compared with it when it comes and marked when the net has changed in the
  // meantime; `live` must stay valid until the window is closed.
  explicit FoldWindow(const Construction& c, QWidget* parent = nullptr, const Construction* live = nullptr,
                      FoldOptions options = {});
  ~FoldWindow() override;

  bool checking() const { return checking_; }
  FoldView* view() const { return view_; }
  // Stops the check; its answer (what was found so far) comes soon after.
  void cancelCheck();
  // The true edge length (mm) of the net's solid, 0 for none: the export's
  // size is the cut-and-fold sheet's.
  void setTrueEdgeLength(double mm) { trueEdgeLength_ = mm; }

 signals:
  void checked();  // the answer has come and is shown

 protected:
  void closeEvent(QCloseEvent* e) override;
  void done(int r) override;

 private:
  QLayout* sliderRow();
  QLayout* solidRow();
  QLayout* busyRow();
  QLayout* verdictRow();
  void startCheck(FoldOptions options);
  void showAnswer(FoldResult result);
  void showSolid(std::size_t solid);
  void stopWatching();

  FoldView* view_ = nullptr;
  QSlider* slider_ = nullptr;  // "Faltung", 0 .. 100 %
  QLabel* percent_ = nullptr;
  QLabel* verdict_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* busy_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QToolButton* previous_ = nullptr;
  QToolButton* next_ = nullptr;
  QLabel* solidCaption_ = nullptr;
  QPushButton* export_ = nullptr;  // "Körper exportieren …", for the solid shown
  double trueEdgeLength_ = 0;
  const Construction* live_ = nullptr;
  Construction checkedNet_;
  std::atomic<bool> cancelled_{false};
  bool checking_ = false;
  std::thread worker_;
};

// Checks the net on a worker thread for a command that needs the answer before
// it goes on (the cut-and-fold sheet): the parent's window takes no input
// meanwhile but keeps repainting, and a check that takes longer than a moment
// shows a box "Das Netz wird geprüft …" with "Abbrechen".
FoldResult CheckNetWaiting(const Construction& c, QWidget* parent);

// Opens the fold window for the construction and returns it: the window checks
// a copy and watches `c` for changes until it is closed, so `c` must outlive
// that (the main window's construction, with the main window as parent). The
// window deletes itself when closed.
FoldWindow* ShowFoldWindow(const Construction& c, QWidget* parent);

}  // namespace didod
