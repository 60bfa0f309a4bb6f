// Cost of each picture the "Darstellung" menu makes of a large net (120 faces,
// 360 points, labels on) on a 799 x 638 sheet, against drawing the bitmap alone
// (BM_RenderBitmap, the baseline: every raster format starts with it).
#include <benchmark/benchmark.h>

#include <QFont>
#include <QGuiApplication>
#include <cmath>
#include <string>

#include "output/picture_files.h"
#include "output/print_geometry.h"
#include "render/net_renderer.h"

namespace {

using namespace didod;

constexpr int kWidth = 799, kHeight = 638;

Construction LargeNet() {
  Construction c;
  const ViewCentre centre = ViewCentreOf(kWidth, kHeight);
  for (int f = 0; f < 120; ++f) {
    const double x = -6.6 + 1.2 * (f % 12), y = 5.4 - 1.2 * (f / 12);
    c.AppendWholeFace({{x, y}, {x + 1, y}, {x + 0.5, y + std::sqrt(3.0) / 2}}, centre);
    if (f % 3 == 0) c.ScreenPoints[3 * f + 1].Fixed = true;
  }
  for (int f = 2; f <= 60; ++f) c.JoinList.push_back(std::to_string(3 * f - 2) + '\t' + std::to_string(3 * f - 5));
  return c;
}

const Construction& Net() {
  static const Construction c = LargeNet();
  return c;
}

const PaintProc& Paint() {
  static const PaintProc paint = [](Canvas& canvas) {
    RenderOptions o;
    o.SheetWidth = kWidth;
    o.SheetHeight = kHeight;
    o.LabelPoints = true;
    PB5Paintx(canvas, Net(), o);
  };
  return paint;
}

void BM_RenderBitmap(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(RenderBitmap(kWidth, kHeight, Paint()).constBits());
}
BENCHMARK(BM_RenderBitmap)->Unit(benchmark::kMicrosecond);

template <typename Encode>
void RasterFormat(benchmark::State& state, Encode encode) {
  for (auto _ : state) {
    const QImage bitmap = RenderBitmap(kWidth, kHeight, Paint());
    benchmark::DoNotOptimize(encode(bitmap).size());
  }
}

void BM_Bmp24(benchmark::State& s) { RasterFormat(s, [](const QImage& b) { return EncodeBmp(b); }); }
void BM_Bmp16Colours(benchmark::State& s) {
  RasterFormat(s, [](const QImage& b) { return EncodeBmp(ConvertTo16Colours(b)); });
}
void BM_Jpeg(benchmark::State& s) { RasterFormat(s, [](const QImage& b) { return EncodeJpeg(b, 100, false); }); }
void BM_Gif(benchmark::State& s) { RasterFormat(s, [](const QImage& b) { return EncodeGif(b); }); }
void BM_Png(benchmark::State& s) { RasterFormat(s, [](const QImage& b) { return EncodePng(b); }); }
BENCHMARK(BM_Bmp24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Bmp16Colours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Jpeg)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Gif)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Png)->Unit(benchmark::kMicrosecond);

void BM_Metafile(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(MakeMetafile(kWidth, kHeight, Paint(), MetafileUse::File).size());
}
void BM_Svg(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(MakeSvg(kWidth, kHeight, Paint(), MetafileUse::File).size());
}
void BM_Pdf(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(MakePdf(kWidth, kHeight, Paint(), MetafileUse::File).size());
}
BENCHMARK(BM_Metafile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Svg)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Pdf)->Unit(benchmark::kMicrosecond);

// The bitmap print's fitting loop at 1200 dpi for a full-width sheet: several
// hundred steps of 0.02.
void BM_FitBitmapPrint1200Dpi(benchmark::State& state) {
  const PrinterFigures printer{9921, 14031, 1200, 1200, 0, 0};
  for (auto _ : state) benchmark::DoNotOptimize(LayoutBitmapPrint(printer, 1900, 1000).Sx);
}
BENCHMARK(BM_FitBitmapPrint1200Dpi);

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts for the labels
  QFont::insertSubstitution("Verdana", "DejaVu Sans");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
