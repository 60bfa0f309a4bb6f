// Cost of one mouse move during a drag (the move or turn of the face plus the
// full repaint of the sheet into an off-screen image), against the repaint of
// an empty sheet of the same size. Net of 120 faces and 360 points, labels on.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <numbers>
#include <string>

#include "interaction/mouse.h"
#include "output/qpainter_canvas.h"
#include "render/net_renderer.h"

namespace {

using namespace didod;

constexpr int kWidth = 799, kHeight = 638;
const ViewCentre kCentre = ViewCentreOf(kWidth, kHeight);

// 120 triangles in rows of 12; every face after the first but the last two is
// locked by two join lines, the last but one hangs on one fixed point, the last
// is free. 360 points, 235 join lines.
Construction LargeNet() {
  Construction c;
  for (int f = 0; f < 120; ++f) {
    const double x = -6.6 + 1.2 * (f % 12), y = 5.4 - 1.2 * (f / 12);
    const double h = std::sqrt(3.0) / 2;
    c.AppendWholeFace({{x, y}, {x + 1, y}, {x + 0.5, y + h}}, kCentre);
  }
  for (int f = 2; f <= 118; ++f) {
    const int first = 3 * f - 2;
    c.JoinList.push_back(std::to_string(first) + '\t' + std::to_string(first - 3));
    c.JoinList.push_back(std::to_string(first + 1) + '\t' + std::to_string(first - 2));
    c.ScreenPoints[first].Fixed = c.ScreenPoints[first + 1].Fixed = true;
  }
  c.JoinList.push_back("355\t352");
  c.ScreenPoints[355].Fixed = true;
  return c;
}

RenderOptions Options() {
  RenderOptions o;
  o.SheetWidth = kWidth;
  o.SheetHeight = kHeight;
  o.ShowPoints = true;
  o.LabelPoints = true;
  return o;
}

// What the sheet does on every repaint: a fresh white image, the drawing, done.
void Repaint(const Construction& c, const RenderOptions& o) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    PB5Paintx(canvas, c, o);
  }
  benchmark::DoNotOptimize(image.constBits());
}

void BM_EmptySheetRepaint(benchmark::State& state) {
  const Construction c;
  const RenderOptions o = Options();
  for (auto _ : state) Repaint(c, o);
}
BENCHMARK(BM_EmptySheetRepaint)->Unit(benchmark::kMicrosecond);

void BM_NetRepaint(benchmark::State& state) {
  const Construction c = LargeNet();
  const RenderOptions o = Options();
  for (auto _ : state) Repaint(c, o);
}
BENCHMARK(BM_NetRepaint)->Unit(benchmark::kMicrosecond);

// point: the point grabbed (358 is free to move, 356 turns about 355).
void DragMove(benchmark::State& state, int point, bool repaint) {
  Construction c = LargeNet();
  DragState s;
  const RenderOptions o = Options();
  const int x0 = static_cast<int>(std::lround(c.ScreenPoints[point].x));
  const int y0 = static_cast<int>(std::lround(c.ScreenPoints[point].y));
  if (PB5MouseDown(c, s, MouseButton::Left, x0, y0, kCentre).Step != MouseStep::DragBegun) {
    state.SkipWithError("no drag");
    return;
  }
  int i = 0;
  for (auto _ : state) {
    ++i;
    const MouseResult r = PB5MouseMove(c, s, x0 - 40 + i % 80, y0 - 40 + (i * 7) % 80, kCentre);
    if (repaint && r.Repaint) Repaint(c, o);
    benchmark::DoNotOptimize(c.NetPoints[point]);
  }
}

void BM_DragMoveAndRepaint(benchmark::State& state) { DragMove(state, 358, true); }
BENCHMARK(BM_DragMoveAndRepaint)->Unit(benchmark::kMicrosecond);
void BM_DragTurnAndRepaint(benchmark::State& state) { DragMove(state, 356, true); }
BENCHMARK(BM_DragTurnAndRepaint)->Unit(benchmark::kMicrosecond);
void BM_DragTurnLogicOnly(benchmark::State& state) { DragMove(state, 356, false); }
BENCHMARK(BM_DragTurnLogicOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts for the labels
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
