#pragma once
#include <QMainWindow>

namespace didod {

class Tfpoly : public QMainWindow {
  Q_OBJECT
 public:
  explicit Tfpoly(QWidget* parent = nullptr);
};

}  // namespace didod
