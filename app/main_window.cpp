#include "app/main_window.h"

namespace didod {

Tfpoly::Tfpoly(QWidget* parent) : QMainWindow(parent) { setWindowTitle("Zozeroradedar konstruieren"); }

}  // namespace didod
