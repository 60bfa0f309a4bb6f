// Cost of one mouse move during a drag (the move or turn of the face plus the
// sheet's repaint of its off-screen image), against the repaint of an empty
// sheet of the same size and device pixel ratio, drawn the plain way (a fresh
// white image and the whole drawing). Net of 120 faces and 360 points, labels on.
//
// Arguments of every benchmark: sheet width, sheet height (sheet pixels) and
// device pixel ratio. Neither side includes the window system's copy onto the
// screen.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <string>

#include "interaction/mouse.h"
#include "output/sheet_raster.h"
#include "render/net_renderer.h"

namespace {

using namespace didod;

// 120 triangles in rows of 12; every face after the first but the last two is
// locked by two join lines, the last but one hangs on one fixed point, the last
// is free. 360 points, 235 join lines.
Construction LargeNet(ViewCentre centre) {
  Construction c;
  for (int f = 0; f < 120; ++f) {
    const double x = -6.6 + 1.2 * (f % 12), y = 5.4 - 1.2 * (f / 12);
    const double h = std::sqrt(3.0) / 2;
    c.AppendWholeFace({{x, y}, {x + 1, y}, {x + 0.5, y + h}}, centre);
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

struct Sheet {
  RenderOptions options;
  double ratio = 1.0;
  ViewCentre centre;
};

Sheet SheetOf(const benchmark::State& state) {
  Sheet s;
  s.options.SheetWidth = static_cast<int>(state.range(0));
  s.options.SheetHeight = static_cast<int>(state.range(1));
  s.options.ShowPoints = true;
  s.options.LabelPoints = true;
  s.ratio = static_cast<double>(state.range(2));
  s.centre = ViewCentreOf(s.options.SheetWidth, s.options.SheetHeight);
  return s;
}

void BM_EmptySheetRepaint(benchmark::State& state) {
  const Sheet sheet = SheetOf(state);
  const Construction c;
  for (auto _ : state) {
    const QImage image = DrawSheetImage(c, sheet.options, sheet.ratio);
    benchmark::DoNotOptimize(image.constBits());
  }
}

// The whole net drawn the plain way, as every repaint did before the sheet kept its image.
void BM_NetRepaintPlain(benchmark::State& state) {
  const Sheet sheet = SheetOf(state);
  const Construction c = LargeNet(sheet.centre);
  for (auto _ : state) {
    const QImage image = DrawSheetImage(c, sheet.options, sheet.ratio);
    benchmark::DoNotOptimize(image.constBits());
  }
}

enum class Repaint { None, Plain, Sheet };

// point: the point grabbed (358 is free to move, 356 turns about 355).
void DragMove(benchmark::State& state, int point, Repaint repaint) {
  const Sheet sheet = SheetOf(state);
  Construction c = LargeNet(sheet.centre);
  DragState s;
  SheetRaster raster;
  raster.Update(c, sheet.options, sheet.ratio);
  const int x0 = static_cast<int>(std::lround(c.ScreenPoints[point].x));
  const int y0 = static_cast<int>(std::lround(c.ScreenPoints[point].y));
  if (PB5MouseDown(c, s, MouseButton::Left, x0, y0, sheet.centre).Step != MouseStep::DragBegun) {
    state.SkipWithError("no drag");
    return;
  }
  int i = 0;
  for (auto _ : state) {
    ++i;
    const MouseResult r = PB5MouseMove(c, s, x0 - 40 + i % 80, y0 - 40 + (i * 7) % 80, sheet.centre);
    if (r.Repaint && repaint == Repaint::Sheet) {
      benchmark::DoNotOptimize(raster.Update(c, sheet.options, sheet.ratio));
    } else if (r.Repaint && repaint == Repaint::Plain) {
      const QImage image = DrawSheetImage(c, sheet.options, sheet.ratio);
      benchmark::DoNotOptimize(image.constBits());
    }
    benchmark::DoNotOptimize(c.NetPoints[point]);
  }
  if (repaint == Repaint::Sheet && raster.LastKind() != SheetRaster::Kind::Step)
    state.SkipWithError("the sheet did not repaint a drag step");
}

void BM_DragMoveStep(benchmark::State& state) { DragMove(state, 358, Repaint::Sheet); }
void BM_DragTurnStep(benchmark::State& state) { DragMove(state, 356, Repaint::Sheet); }
void BM_DragMoveStepPlain(benchmark::State& state) { DragMove(state, 358, Repaint::Plain); }
void BM_DragTurnLogicOnly(benchmark::State& state) { DragMove(state, 356, Repaint::None); }

// The design size of the sheet and a maximised sheet, each on a plain and on a
// high-density screen.
void Sizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"w", "h", "ratio"});
  for (const auto& size : {std::pair{799, 638}, std::pair{1900, 1000}})
    for (int ratio : {1, 2}) b->Args({size.first, size.second, ratio});
  b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_EmptySheetRepaint)->Apply(Sizes);
BENCHMARK(BM_DragMoveStep)->Apply(Sizes);
BENCHMARK(BM_DragTurnStep)->Apply(Sizes);
BENCHMARK(BM_DragMoveStepPlain)->Apply(Sizes);
BENCHMARK(BM_NetRepaintPlain)->Apply(Sizes);
BENCHMARK(BM_DragTurnLogicOnly)->Args({799, 638, 1})->Unit(benchmark::kMicrosecond);

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
