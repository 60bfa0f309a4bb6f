// Term evaluation speed: a field's typical term, a 200-character term, and
// 10,000-character texts built from the slowest pieces of the language
// (reported per character, which must stay well under a millisecond).
#include <benchmark/benchmark.h>

#include <string>

#include "term/term.h"

namespace {

std::string Repeat(const std::string& piece, std::size_t length) {
  std::string out;
  while (out.size() + piece.size() <= length) out += piece;
  out.resize(out.size() - 1);  // drop the trailing operator
  return out;
}

void Evaluate(benchmark::State& state, const std::string& text) {
  didod::TermEnvironment env;
  for (auto _ : state) {
    benchmark::DoNotOptimize(didod::EvaluateTerm(text, 1.5, env, didod::TermEncoding::Windows1252));
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["chars"] = static_cast<double>(text.size());
  state.counters["s/char"] = benchmark::Counter(static_cast<double>(state.iterations() * text.size()),
                                                benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PlainNumber(benchmark::State& state) { Evaluate(state, "0,8"); }
void BM_Wurzel(benchmark::State& state) { Evaluate(state, "WURZEL(3)/2"); }

const std::string k200 =
    "(2+3*4-5/6)^2&SQRT(X*X+1)#3<[7.25]>|-2.5|+SIN(PI/6)*COS(X)-LN(X+1)/LG(100)+GAMMA(2.5)-EXP(0.3)*"
    "WURZEL3(27)+ARCTAN(1)~2+7%3-ABS(X-4)+SINW(30)+BESSJ0(1)*2^0.5-(-X^2)+TANH(0.5)+ARSINH(X)-FRAC(2.75)*3+X/2";
void BM_Term200(benchmark::State& state) { Evaluate(state, k200); }

void BM_Worst_Binomial(benchmark::State& state) { Evaluate(state, Repeat("9999.5~9999+", 10000)); }
void BM_Worst_WholePower(benchmark::State& state) { Evaluate(state, Repeat("1.00001^2147483646+", 10000)); }
void BM_Worst_Series(benchmark::State& state) { Evaluate(state, Repeat("EI(39.9)+SI(24.9)+", 10000)); }
void BM_Worst_Airy(benchmark::State& state) { Evaluate(state, Repeat("AI(6.4)+BI(11.9)+", 10000)); }
void BM_Worst_Nesting(benchmark::State& state) { Evaluate(state, std::string(10000, '(')); }
void BM_Worst_Names(benchmark::State& state) { Evaluate(state, Repeat("SQR(", 10000)); }
void BM_Worst_Flat(benchmark::State& state) { Evaluate(state, Repeat("1+", 10000)); }

}  // namespace

BENCHMARK(BM_PlainNumber);
BENCHMARK(BM_Wurzel);
BENCHMARK(BM_Term200);
BENCHMARK(BM_Worst_Binomial)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Worst_WholePower)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Worst_Series)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Worst_Airy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Worst_Nesting)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Worst_Names)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Worst_Flat)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
