#include "app/application.h"
#include "app/main_window.h"

int main(int argc, char** argv) {
  didod::Application app(argc, argv);
  didod::Tfpoly window;
  window.show();
  return app.exec();
}
