// Laying out cut-and-fold sheets of catalogue nets (the fold check is done
// once beforehand; it has its own benchmark). The cube at a fixed size is the
// baseline; "as large as fits" searches turns and scales, so costs more.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "craft/fold_gluing.h"
#include "craft/sheet.h"
#include "bench/catalogue_lines.h"

namespace {

using namespace didod;

const std::vector<std::string>& Lines() { return didod::bench::CatalogueLines(); }

void BM_Sheet(benchmark::State& state, const std::string& name, double edge) {
  const auto c = ReadCatalogueNet(Lines(), name, ViewCentre{400, 300});
  if (!c) {
    state.SkipWithError("net not in the catalogue");
    return;
  }
  const craft::SheetFolding folding = craft::FoldForSheet(*c);
  if (!folding.folds) {
    state.SkipWithError(folding.message.c_str());
    return;
  }
  craft::CraftOptions options;
  options.edgeLength = edge;
  options.edgeNumbers = true;
  for (auto _ : state) {
    craft::CraftSheet sheet = craft::LayoutCraftSheet(*c, folding.hinges, folding.gluings, options);
    benchmark::DoNotOptimize(sheet.pages.size());
  }
  state.SetLabel(std::to_string(c->FaceCount) + " faces");
}

BENCHMARK_CAPTURE(BM_Sheet, Wuerfel40mm, std::string("Würfel"), 40.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sheet, WuerfelLargest, std::string("Würfel"), 0.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sheet, Ikosaederstumpf20mm, std::string("Ikosaederstumpf"), 20.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sheet, IkosaederstumpfLargest, std::string("Ikosaederstumpf"), 0.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sheet, Hexakisikosaeder40mm, std::string("Hexakisikosaeder"), 40.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sheet, HexakisikosaederLargest, std::string("Hexakisikosaeder"), 0.0)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
