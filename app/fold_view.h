#pragma once
// The window that folds the net in 3-D: the solid drawn with QPainter (faces
// sorted by depth), turned with the mouse, a slider from the flat net to the
// closed solid, and the verdict in words.
#include <QDialog>
#include <QLabel>
#include <QPointF>
#include <QPushButton>
#include <QSlider>
#include <QWidget>
#include <array>
#include <vector>

#include "fold/fold.h"
#include "model/construction.h"

namespace didod {

class FoldView : public QWidget {
  Q_OBJECT
 public:
  explicit FoldView(FoldResult result, QWidget* parent = nullptr);

  const FoldResult& result() const { return result_; }
  double fraction() const { return fraction_; }
  void setFraction(double f);
  // Turns the view: yaw about the screen's vertical axis, pitch about its
  // horizontal axis, in radians.
  void turn(double yaw, double pitch);
  // Where a point of the faces (as FacesAt gives them) lands on the widget.
  QPointF project(const Point3& p) const;
  QSize sizeHint() const override { return {520, 440}; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  std::array<double, 3> rotate(const Point3& p) const;

  FoldResult result_;
  double fraction_ = 0.0;
  std::array<double, 9> rotation_{};  // row-major, view from object
  std::vector<double> turnSign_;      // -1 for faces stored clockwise on the sheet
  Point3 centre_;
  double radius_ = 1.0;
  double flatRadius_ = 1.0;
  double solidRadius_ = 1.0;
  bool dragging_ = false;
  QPointF last_;
};

class FoldWindow : public QDialog {
  Q_OBJECT
 public:
  FoldWindow(const Construction& c, QWidget* parent = nullptr);

  FoldView* view = nullptr;
  QSlider* slider = nullptr;  // "Faltung", 0 .. 100 %
  QLabel* sliderLabel = nullptr;
  QLabel* verdict = nullptr;
  QPushButton* exportButton = nullptr;  // "Körper exportieren …", for a solid found
  // The true edge length (mm) of the net's solid, 0 for none: the export's
  // size is the cut-and-fold sheet's.
  double trueEdgeLength = 0;
};

// Opens the fold window for the construction (a copy of its state; the
// construction itself is not changed) and returns it. The window deletes
// itself when closed.
FoldWindow* ShowFoldWindow(const Construction& c, QWidget* parent);

}  // namespace didod
