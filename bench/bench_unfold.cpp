// Import of a 3-D file and its unfolding into an overlap-free net.
//   bench_unfold            Google Benchmark: a few solids, from the file's
//                           bytes to the net on the sheet (the cube first, the
//                           one to compare with), and the net check of some
//                           of those nets
//   bench_unfold --table    every catalogue solid through every kind of file,
//                           and random convex solids of 4 to 199 faces: each
//                           imported, unfolded and folded back by the net
//                           check; its time as a ratio to the cube's, and
//                           whether it came back congruent
//   bench_unfold --table random\ 41 Würfel
//                           only the rows of those labels
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fold/fold.h"
#include "solids/from_file.h"
#include "tests/unfold/random_solids.h"
#include "tools/netgen/solids.h"
#include "unfold/export.h"
#include "unfold/mesh.h"

namespace {

using namespace didod;
using unfold::Polyhedron;
using unfold::SolidFormat;

constexpr int kWidth = 799, kHeight = 638;

solids::FileNet NetOfBytes(const std::vector<unsigned char>& bytes, const std::string& name) {
  return solids::NetOfSolidBytes(bytes, name, kWidth, kHeight, ViewCentreOf(kWidth, kHeight));
}

void BM_ImportAndUnfold(benchmark::State& state, const Polyhedron& solid, SolidFormat format, const char* name) {
  const std::vector<unsigned char> bytes = unfold::SolidFileBytes(solid, format, format != SolidFormat::Off);
  for (auto _ : state) {
    solids::FileNet n = NetOfBytes(bytes, name);
    benchmark::DoNotOptimize(n.net.PointCount);
  }
  state.SetLabel(std::to_string(solid.faces.size()) + " faces");
}

const Polyhedron& Catalogue(const char* name) {
  static std::vector<std::pair<std::string, Polyhedron>> built;
  for (const auto& [n, p] : built)
    if (n == name) return p;
  built.push_back({name, netgen::BuildSolid(name)});
  return built.back().second;
}

BENCHMARK_CAPTURE(BM_ImportAndUnfold, Wuerfel_off, Catalogue("Würfel"), SolidFormat::Off, "w.off")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportAndUnfold, Wuerfel_stl, Catalogue("Würfel"), SolidFormat::StlBinary, "w.stl")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportAndUnfold, Ikosaederstumpf_obj, Catalogue("Ikosaederstumpf"), SolidFormat::Obj, "w.obj")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportAndUnfold, Random199_stl, didod::unfold::testing::RandomConvexSolid(199, 1),
                  SolidFormat::StlBinary, "w.stl")
    ->Unit(benchmark::kMillisecond);

// The net check of an imported solid's net, from the file's bytes as above;
// a solid read in single precision has no two corners of quite the same angle.
void BM_NetCheckOfImport(benchmark::State& state, const Polyhedron& solid, SolidFormat format, const char* name) {
  const std::vector<unsigned char> bytes = unfold::SolidFileBytes(solid, format, format != SolidFormat::Off);
  const solids::FileNet n = NetOfBytes(bytes, name);
  for (auto _ : state) {
    const FoldResult r = FoldNet(n.net);
    if (r.stop == FoldStop::TimeLimit) state.SkipWithError("the net check ran out of time");
    benchmark::DoNotOptimize(r.solids.size());
  }
}

BENCHMARK_CAPTURE(BM_NetCheckOfImport, Wuerfel_off, Catalogue("Würfel"), SolidFormat::Off, "w.off")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NetCheckOfImport, Spikey_off, Catalogue("Spikey"), SolidFormat::Off, "s.off")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NetCheckOfImport, Spikey_stl, Catalogue("Spikey"), SolidFormat::StlBinary, "s.stl")
    ->Unit(benchmark::kMillisecond);

struct Kind {
  SolidFormat format;
  bool triangles;
  const char* name;
};
const Kind kKinds[] = {{SolidFormat::Off, false, "k.off"},      {SolidFormat::Obj, false, "k.obj"},
                       {SolidFormat::StlAscii, true, "k.stl"},  {SolidFormat::StlBinary, true, "k.stl"},
                       {SolidFormat::Off, true, "k.off"},       {SolidFormat::Obj, true, "k.obj"},
                       {SolidFormat::Ply, false, "k.ply"}};

// Import, unfold and fold back; seconds taken and whether it came back congruent.
std::pair<double, bool> Round(const Polyhedron& solid, const Kind& kind, std::string& why) {
  const std::vector<unsigned char> bytes = unfold::SolidFileBytes(solid, kind.format, kind.triangles);
  const auto start = std::chrono::steady_clock::now();
  try {
    const solids::FileNet n = NetOfBytes(bytes, kind.name);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const FoldResult r = FoldNet(n.net);
    bool same = false;  // the shape is one of the solids the net closes into
    for (const FoldedSolid& s : r.solids) {
      const unfold::Soup folded = unfold::WeldFaces(s.corners, 1e-7);
      same = same || unfold::testing::SameShape(solid, Polyhedron{folded.vertices, folded.faces}, 1e-5);
    }
    if (!same) why = r.message;
    return {seconds, same};
  } catch (const std::exception& e) {
    why = e.what();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), false};
  }
}

int Table(const std::vector<std::string>& only) {
  std::string why;
  double cube = 0;
  for (int i = 0; i < 5; ++i) cube += Round(Catalogue("Würfel"), kKinds[0], why).first / 5;
  std::printf("cube (OFF): %.3f ms; times below are ratios to it\n", cube * 1e3);
  int failed = 0, done = 0;
  double worst = 0;
  auto wanted = [&](const std::string& label) {
    return only.empty() || std::find(only.begin(), only.end(), label) != only.end();
  };
  auto row = [&](const std::string& label, const Polyhedron& solid) {
    for (const Kind& kind : kKinds) {
      why.clear();
      const auto [seconds, same] = Round(solid, kind, why);
      ++done;
      worst = std::max(worst, seconds / cube);
      if (!same) ++failed;
      std::printf("%-34s %-6s%s %4zu faces %8.1f %s\n", label.c_str(), kind.name + 2,
                  kind.triangles ? " (tri)" : "      ", solid.faces.size(), seconds / cube,
                  same ? (why.empty() ? "ok" : why.c_str()) : ("FAILED " + why).c_str());
    }
  };
  for (const std::string& name : netgen::CatalogueNames())
    if (wanted(name)) row(name, netgen::BuildSolid(name));
  for (int f = 4; f <= 199; ++f)
    if (wanted("random " + std::to_string(f))) row("random " + std::to_string(f), unfold::testing::RandomConvexSolid(f, 1));
  std::printf("%d of %d failed; slowest %.1f x the cube\n", failed, done, worst);
  return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--table") == 0) return Table({argv + 2, argv + argc});
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
