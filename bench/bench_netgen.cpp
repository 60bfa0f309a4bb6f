// Generating the catalogue of ready-made nets: the whole catalogue against
// single nets of a small and of the largest solid.
#include <benchmark/benchmark.h>

#include "tools/netgen/catalogue.h"

namespace {

void BM_GenerateCatalogue(benchmark::State& state) {
  for (auto _ : state) {
    const std::string text = didod::netgen::CatalogueText(didod::netgen::GenerateAll());
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_GenerateCatalogue)->Unit(benchmark::kMillisecond);

void BM_NetOfTheCube(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(didod::netgen::GenerateNet("Würfel").fill);
}
BENCHMARK(BM_NetOfTheCube)->Unit(benchmark::kMillisecond);

void BM_NetOfTheDisdyakisTriacontahedron(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(didod::netgen::GenerateNet("Hexakisikosaeder").fill);
}
BENCHMARK(BM_NetOfTheDisdyakisTriacontahedron)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
