// Shows ready-made nets in the program's window and saves a picture of the
// window for each, for reviewing the catalogue by eye.
// Usage: didod_netgen_shots OUTPUT_DIR NAME...   (names in UTF-8)
#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QTest>
#include <cstdio>

#include "app/application.h"
#include "app/main_window.h"

int main(int argc, char** argv) {
  didod::Application app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR NAME...\n", argv[0]);
    return 2;
  }
  didod::Tfpoly window;
  window.resize(1200, 760);
  window.show();
  QTest::qWait(300);
  auto* chooser = window.findChild<QComboBox*>("Co2");
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  int failures = 0;
  for (int i = 2; i < argc; ++i) {
    const QString name = QString::fromUtf8(argv[i]);
    const int index = chooser->findText(name);
    if (index < 0) {
      std::fprintf(stderr, "no net named %s\n", argv[i]);
      ++failures;
      continue;
    }
    chooser->setCurrentIndex(index);
    QTest::qWait(200);
    QString file = name;
    file.replace(' ', '_');
    if (!window.grab().save(dir.filePath(file + ".png"))) ++failures;
  }
  return failures == 0 ? 0 : 1;
}
