// The whole fold check (net, gluings, solid) for catalogue nets.
//   bench_fold                      Google Benchmark over a few nets
//   bench_fold --table              every catalogue net once, with its verdict
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fold/fold.h"
#include "fold/net_complex.h"
#include "interaction/mouse.h"
#include "bench/catalogue_lines.h"

namespace {

using namespace didod;

const std::vector<std::string>& Lines() { return didod::bench::CatalogueLines(); }

Construction Net(const std::string& name) {
  auto c = ReadCatalogueNet(Lines(), name, ViewCentre{400, 300});
  return c ? *c : Construction{};
}

void BM_Fold(benchmark::State& state, const std::string& name) {
  const Construction c = Net(name);
  if (c.FaceCount == 0) {
    state.SkipWithError("net not in the catalogue");
    return;
  }
  for (auto _ : state) {
    FoldResult r = FoldNet(c);
    benchmark::DoNotOptimize(r.verdict);
  }
  state.SetLabel(std::to_string(c.FaceCount) + " faces");
}

// The baseline: the cube, the smallest usual net.
BENCHMARK_CAPTURE(BM_Fold, Wuerfel, std::string("Würfel"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fold, Dodekaeder, std::string("Dodekaeder"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fold, Ikosaederstumpf, std::string("Ikosaederstumpf"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fold, Hexakisikosaeder, std::string("Hexakisikosaeder"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fold, Ikosidodekaederstumpf, std::string("Ikosidodekaederstumpf"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fold, AbgeschraegtesDodekaeder, std::string("Abgeschrägtes Dodekaeder"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fold, Sterndodekaeder, std::string("Sterndodekaeder"))->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Fold, Spikey, std::string("Spikey"))->Unit(benchmark::kMillisecond)->Iterations(2);

// Every net once: the whole catalogue.
void BM_WholeCatalogue(benchmark::State& state) {
  std::vector<Construction> nets;
  for (const std::string& name : CatalogueNames(Lines())) nets.push_back(Net(name));
  for (auto _ : state)
    for (const Construction& c : nets) {
      FoldResult r = FoldNet(c);
      benchmark::DoNotOptimize(r.verdict);
    }
}
BENCHMARK(BM_WholeCatalogue)->Unit(benchmark::kMillisecond)->Iterations(1);

int Table() {
  double total = 0;
  for (const std::string& name : CatalogueNames(Lines())) {
    const Construction c = Net(name);
    const auto start = std::chrono::steady_clock::now();
    const FoldResult r = FoldNet(c);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    total += ms;
    std::printf("%-40s %3d faces %8.1f ms  gluings %lld tried %d solids %d  %s\n", name.c_str(), c.FaceCount, ms,
                static_cast<long long>(r.convexGluingCount), r.candidatesTried, static_cast<int>(r.solids.size()), r.message.c_str());
  }
  std::printf("total %.1f ms\n", total);
  return 0;
}

// Every leaf face of every net removed in turn (as a right click would).
int Broken(const char* only) {
  for (const std::string& name : CatalogueNames(Lines())) {
    if (only && name.find(only) == std::string::npos) continue;
    const Construction c = Net(name);
    foldnet::NetComplex net;
    if (!foldnet::BuildNetComplex(c, 1e-4, net)) continue;
    std::vector<int> hinges(net.faces.size(), 0);
    for (const auto& h : net.hinges) { ++hinges[h.a.face]; ++hinges[h.b.face]; }
    double worst = 0; int worstFace = 0; std::string worstMsg;
    for (size_t f = 1; f < net.faces.size(); ++f) {
      if (hinges[f] != 1) continue;
      Construction d = c;
      const int face = static_cast<int>(f) + 1;
      const FaceRangeResult fr = d.FaceRange(face);
      DeleteFace(d, face, fr.first, fr.last);
      const auto start = std::chrono::steady_clock::now();
      const FoldResult r = FoldNet(d);
      const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      if (ms > worst) { worst = ms; worstFace = face; worstMsg = r.message; }
      if (!r.solids.empty()) std::printf("  SOLID %s -%d: %s\n", name.c_str(), face, r.message.c_str());
    }
    std::printf("%-40s worst -%d %8.1f ms %s\n", name.c_str(), worstFace, worst, worstMsg.c_str());
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--table") == 0) return Table();
  if (argc > 1 && std::strcmp(argv[1], "--broken") == 0) return Broken(argc > 2 ? argv[2] : nullptr);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
