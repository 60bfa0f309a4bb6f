// Saving and loading a full construction, against plain zlib on the same text.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <random>
#include <string>
#include <vector>

#include "persistence/construction_file.h"
#include "persistence/net_record.h"
#include "persistence/zstream.h"

namespace {

constexpr didod::ViewCentre kCentre{399, 319};

// 199 faces (198 pentagons and a nonagon), 999 points, 400 join lines.
const didod::Construction& FullConstruction() {
  static const didod::Construction c = [] {
    didod::Construction c;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-8.0, 8.0);
    for (int f = 1; f <= 199; ++f) {
      std::vector<didod::NetPoint> corners(f == 199 ? 9 : 5);
      for (auto& p : corners) p = {coordinate(random), coordinate(random)};
      c.AppendWholeFace(corners, kCentre);
    }
    for (int j = 0; j < 400; ++j) {
      const int a = 1 + j * 2, b = 998 - j;
      c.ScreenPoints[a].Fixed = true;
      c.JoinList.push_back(std::to_string(a) + "\t" + std::to_string(b));
    }
    return c;
  }();
  return c;
}

const std::string& FullText() {
  static const std::string text = didod::JoinLines(didod::WriteNetRecord(FullConstruction()));
  return text;
}

const std::vector<unsigned char>& FullBytes() {
  static const std::vector<unsigned char> bytes = didod::DeflateStream(FullText());
  return bytes;
}

void BM_SaveConstruction(benchmark::State& state) {
  for (auto _ : state) {
    auto bytes = didod::DeflateStream(didod::JoinLines(didod::WriteNetRecord(FullConstruction())));
    benchmark::DoNotOptimize(bytes.data());
  }
  state.counters["bytes"] = static_cast<double>(FullBytes().size());
}
BENCHMARK(BM_SaveConstruction)->Unit(benchmark::kMicrosecond);

void BM_ZlibDeflateBaseline(benchmark::State& state) {
  const std::string& text = FullText();
  std::vector<unsigned char> out(compressBound(text.size()));
  for (auto _ : state) {
    uLongf size = out.size();
    compress2(out.data(), &size, reinterpret_cast<const Bytef*>(text.data()), text.size(), 9);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["text"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ZlibDeflateBaseline)->Unit(benchmark::kMicrosecond);

void BM_LoadConstruction(benchmark::State& state) {
  for (auto _ : state) {
    didod::Construction c = didod::ConstructionFromFileBytes(FullBytes(), kCentre);
    benchmark::DoNotOptimize(c.PointCount);
  }
}
BENCHMARK(BM_LoadConstruction)->Unit(benchmark::kMicrosecond);

void BM_ZlibInflateBaseline(benchmark::State& state) {
  const std::vector<unsigned char>& bytes = FullBytes();
  std::vector<unsigned char> out(FullText().size());
  for (auto _ : state) {
    uLongf size = out.size();
    uncompress(out.data(), &size, bytes.data(), bytes.size());
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_ZlibInflateBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
