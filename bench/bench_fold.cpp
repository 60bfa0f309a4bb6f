// The whole fold check (net, gluings, solid) for catalogue nets and for the
// slowest broken nets we know, each also as a ratio to the cube in the same run.
//   bench_fold                      Google Benchmark, then the ratios
//   bench_fold --table              every catalogue net once, with its verdict
//   bench_fold --broken [NAME]      every net without each of its leaf faces in
//                                   turn (or only nets whose name holds NAME):
//                                   the slowest leaf of each, to find slow nets
//   bench_fold --library [NAME]     every net of the solids library once (or
//                                   only those whose name holds NAME)
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench/catalogue_lines.h"
#include "fold/fold.h"
#include "fold/net_complex.h"
#include "interaction/mouse.h"
#include "solids/library.h"
#include "solids/net.h"
#include "tests/fold/nets.h"

namespace {

using namespace didod;

const std::vector<std::string>& Lines() { return didod::bench::CatalogueLines(); }

Construction Net(const std::string& name) {
  auto c = ReadCatalogueNet(Lines(), name, ViewCentre{400, 300});
  return c ? *c : Construction{};
}

// Faces other than face 1 hinged to the rest at one edge only.
std::vector<int> Leaves(const Construction& c, bool evenOnly) {
  foldnet::NetComplex net;
  std::vector<int> leaves;
  if (!foldnet::BuildNetComplex(c, 1e-4, net)) return leaves;
  std::vector<int> hinges(net.faces.size(), 0);
  for (const auto& h : net.hinges) {
    ++hinges[h.a.face];
    ++hinges[h.b.face];
  }
  for (size_t f = 1; f < net.faces.size(); ++f)
    if (hinges[f] == 1 && (!evenOnly || net.faces[f].Size() % 2 == 0)) leaves.push_back(static_cast<int>(f) + 1);
  return leaves;
}

// The net without that face, taken away as a right click does (join lines renumbered).
Construction Without(Construction c, int face) {
  const FaceRangeResult fr = c.FaceRange(face);
  DeleteFace(c, face, fr.first, fr.last);
  return c;
}

void BM_Fold(benchmark::State& state, const Construction& c) {
  if (c.FaceCount == 0) {
    state.SkipWithError("net not in the catalogue");
    return;
  }
  std::string message;
  for (auto _ : state) {
    FoldResult r = FoldNet(c);
    message = r.message;
    benchmark::DoNotOptimize(r.verdict);
  }
  state.SetLabel(std::to_string(c.FaceCount) + " faces: " + message.substr(0, 60));
}

void Catalogue(benchmark::State& state, const std::string& name) { BM_Fold(state, Net(name)); }

// The catalogue net without its last leaf of an even number of corners (an
// odd one would leave an odd number of free edges, decided at once).
void Broken(benchmark::State& state, const std::string& name) {
  const Construction c = Net(name);
  const std::vector<int> leaves = Leaves(c, true);
  BM_Fold(state, leaves.empty() ? Construction{} : Without(c, leaves.back()));
}

// The largest net the store holds: 198 triangles in a strip.
void Strip(benchmark::State& state) {
  Construction strip;
  const double h = std::sqrt(3.0) / 2;
  for (int i = 0; i < 198; ++i) {
    const double x = i * 0.5;
    if (i % 2 == 0)
      testnets::AddFace(strip, {{x, 0}, {x + 1, 0}, {x + 0.5, h}});
    else
      testnets::AddFace(strip, {{x + 0.5, 0}, {x + 1, h}, {x, h}});
  }
  BM_Fold(state, strip);
}

void HoledTricube(benchmark::State& state) { BM_Fold(state, testnets::HoledTricube()); }

// The net of a solid of the library, as the solids dialog lays it out.
Construction LibraryNet(const std::string& name) {
  const solids::Polyhedron solid = solids::BuildLibrarySolid(solids::LibraryEntryNamed(name), 1.0);
  const auto net = solids::SolidNetConstruction(solid, name, 799, 638, ViewCentre{399, 319});
  return net ? *net : Construction{};
}

void FromLibrary(benchmark::State& state, const std::string& name) { BM_Fold(state, LibraryNet(name)); }

// The baseline: the cube, the smallest usual net.
BENCHMARK_CAPTURE(Catalogue, Wuerfel, std::string("Würfel"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Catalogue, Dodekaeder, std::string("Dodekaeder"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Catalogue, Ikosaederstumpf, std::string("Ikosaederstumpf"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Catalogue, Hexakisikosaeder, std::string("Hexakisikosaeder"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Catalogue, Ikosidodekaederstumpf, std::string("Ikosidodekaederstumpf"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Catalogue, Sterndodekaeder, std::string("Sterndodekaeder"))
    ->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Catalogue, Spikey, std::string("Spikey"))->Unit(benchmark::kMillisecond)->Iterations(2);
// Broken nets: each runs until the budget of 2 s or is decided before.
BENCHMARK_CAPTURE(Broken, RhombenikosidodekaederOhneBlatt, std::string("Rhombenikosidodekaeder"))
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(Broken, JohnsonPolyeder42OhneBlatt, std::string("Johnson Polyeder 42"))
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(Broken, KuboktaederstumpfOhneBlatt, std::string("Kuboktaederstumpf"))
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(Broken, IkosidodekaederstumpfOhneBlatt, std::string("Ikosidodekaederstumpf"))
    ->Unit(benchmark::kMillisecond)->Iterations(2);
// 180 triangles, the largest net of the library.
BENCHMARK_CAPTURE(FromLibrary, GrossesIkosaeder, std::string("Großes Ikosaeder"))
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(Strip)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(HoledTricube)->Unit(benchmark::kMillisecond)->Iterations(3);

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

// Prints the usual table, then every run's time as a multiple of the cube's.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) times_.push_back({run.benchmark_name(), run.GetAdjustedRealTime()});
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    double cube = 0;
    for (const auto& [name, time] : times_)
      if (name.find("Wuerfel") != std::string::npos) cube = time;
    if (cube <= 0) return;
    std::printf("\nTime as a multiple of the cube's (same run):\n");
    for (const auto& [name, time] : times_) std::printf("  %-60s %10.1f\n", name.c_str(), time / cube);
  }

 private:
  std::vector<std::pair<std::string, double>> times_;
};

double Milliseconds(const Construction& c, FoldResult& r) {
  const auto start = std::chrono::steady_clock::now();
  r = FoldNet(c);
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

int Table() {
  double total = 0;
  for (const std::string& name : CatalogueNames(Lines())) {
    const Construction c = Net(name);
    FoldResult r;
    const double ms = Milliseconds(c, r);
    total += ms;
    std::printf("%-40s %3d faces %8.1f ms  gluings %lld tried %d solids %d  %s\n", name.c_str(), c.FaceCount, ms,
                static_cast<long long>(r.convexGluingCount), r.candidatesTried, static_cast<int>(r.solids.size()),
                r.message.c_str());
  }
  std::printf("total %.1f ms\n", total);
  return 0;
}

int BrokenTable(const char* only) {
  for (const std::string& name : CatalogueNames(Lines())) {
    if (only && name.find(only) == std::string::npos) continue;
    const Construction c = Net(name);
    double worst = 0;
    int worstFace = 0;
    std::string worstMessage;
    for (int face : Leaves(c, false)) {
      FoldResult r;
      const double ms = Milliseconds(Without(c, face), r);
      if (ms > worst) {
        worst = ms;
        worstFace = face;
        worstMessage = r.message;
      }
      if (!r.solids.empty()) std::printf("  solid without %d: %s\n", face, r.message.c_str());
    }
    std::printf("%-40s without %3d %8.1f ms  %s\n", name.c_str(), worstFace, worst, worstMessage.c_str());
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int LibraryTable(const char* only) {
  for (const solids::LibraryEntry& e : solids::Library()) {
    if (only && e.name.find(only) == std::string::npos) continue;
    const Construction c = LibraryNet(e.name);
    FoldResult r;
    const double ms = Milliseconds(c, r);
    std::printf("%-40s %3d faces %8.1f ms  gluings %lld tried %d solids %d  %s\n", e.name.c_str(), c.FaceCount, ms,
                static_cast<long long>(r.convexGluingCount),
                r.candidatesTried, static_cast<int>(r.solids.size()), r.message.c_str());
    std::fflush(stdout);
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--table") == 0) return Table();
  if (argc > 1 && std::strcmp(argv[1], "--library") == 0) return LibraryTable(argc > 2 ? argv[2] : nullptr);
  if (argc > 1 && std::strcmp(argv[1], "--broken") == 0) return BrokenTable(argc > 2 ? argv[2] : nullptr);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
