// Speed of one calculation and of the number conversions, as one press of
// "Berechnen" runs them. Run from a release build, for example with
// --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "tuning/DividerCalculation.h"
#include "tuning/NumberText.h"

namespace {

const tuning::Separators kGerman{",", "."};

void BM_Calculate(benchmark::State& bench) {
  tuning::TuningState state;
  double fo = 145.68;
  for (auto _ : bench) {
    benchmark::DoNotOptimize(fo);
    auto out = tuning::Calculate(state, fo, 10.7, true);
    benchmark::DoNotOptimize(out);
    benchmark::DoNotOptimize(state);
  }
}
BENCHMARK(BM_Calculate);

void BM_TextToDouble(benchmark::State& bench) {
  const std::string text = "145,675";
  for (auto _ : bench) {
    auto value = tuning::TextToDouble(text, kGerman);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_TextToDouble);

void BM_TextToDoubleLong(benchmark::State& bench) {
  const std::string text = "  -1.234.567,890123456789E-3 ";
  for (auto _ : bench) {
    auto value = tuning::TextToDouble(text, kGerman);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_TextToDoubleLong);

void BM_DoubleToText(benchmark::State& bench) {
  double value = 156.3 - 10.7;
  for (auto _ : bench) {
    benchmark::DoNotOptimize(value);
    auto text = tuning::DoubleToText(value, kGerman);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_DoubleToText);

void BM_DoubleToTextWhole(benchmark::State& bench) {
  double value = 156375.0;
  for (auto _ : bench) {
    benchmark::DoNotOptimize(value);
    auto text = tuning::DoubleToText(value, kGerman);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_DoubleToTextWhole);

}  // namespace
