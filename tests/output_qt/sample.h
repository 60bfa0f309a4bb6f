#pragma once
// A small construction for the picture tests: one square on a 200 x 150 sheet,
// its first corner fixed (yellow), the others free (light blue).
#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include "model/construction.h"
#include "output/paint_proc.h"
#include "render/net_renderer.h"

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace didod::testing {

inline constexpr int kSheetW = 200;
inline constexpr int kSheetH = 150;

// Pixel positions the drawing gives the sample at scale 50 on a 200 x 150 sheet.
struct SamplePixels {
  int cx, cy;            // origin marker
  int fixedX, fixedY;    // yellow point
  int freeX, freeY;      // a light-blue point
  int edgeX, edgeY;      // a pixel on the top edge of the square
};

inline SamplePixels PixelsFor(int w, int h) {
  const int cx = w / 2, cy = h / 2;
  return {cx, cy, cx + 30, cy - 30, cx + 70, cy - 30, cx + 50, cy - 30};
}

inline std::shared_ptr<Construction> MakeSample() {
  auto c = std::make_shared<Construction>();
  const ViewCentre centre = ViewCentreOf(kSheetW, kSheetH);
  c->AppendWholeFace({{0.6, 0.6}, {1.4, 0.6}, {1.4, -0.2}, {0.6, -0.2}}, centre);
  c->ScreenPoints[1].Fixed = true;
  return c;
}

inline PaintProc PaintOf(std::shared_ptr<Construction> c, int w, int h, bool labels = false) {
  return [c, w, h, labels](Canvas& canvas) {
    RenderOptions options;
    options.SheetWidth = w;
    options.SheetHeight = h;
    options.ShowPoints = true;
    options.LabelPoints = labels;
    PB5Paintx(canvas, *c, options);
  };
}

inline bool Near(QRgb a, QColor b, int tolerance) {
  return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
         std::abs(qBlue(a) - b.blue()) <= tolerance;
}

}  // namespace didod::testing
