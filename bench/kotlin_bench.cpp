// Whole-file Kotlin generation of the record corpora, with URL and date detection on: parse,
// refine, infer and render. Bytes per second are of the sample.
#include <string>

#include <benchmark/benchmark.h>

#include "corpus.h"
#include "telvar/generate/generate.h"
#include "telvar/model/model.h"

namespace {

const telvar::Model& kotlinModel(int megabytes, telvar::KotlinMeta::StructureStyle style) {
  auto make = [](int mb, telvar::KotlinMeta::StructureStyle s) {
    telvar::ValueMeta value;
    value.setNeedsDetectURL(true);
    value.setNeedsDetectISO8601Date(true);
    value.setNeedsDetectTimeIntervalDate(true);
    telvar::KotlinMeta meta;
    meta.setStructureStyle(s);
    telvar::Model model(
        telvar::Uuid::random(), telvar::bench::recordCorpus(static_cast<std::size_t>(mb) << 20),
        std::nullopt, std::nullopt, telvar::OutputType::kotlin, std::nullopt, std::nullopt,
        telvar::KotlinOptions(value, meta), std::nullopt, std::nullopt, std::nullopt);
    // One untimed run first, so that the timed runs (one each for the large corpora) find the
    // heap already grown.
    benchmark::DoNotOptimize(telvar::kotlinOutput(model));
    return model;
  };
  using Style = telvar::KotlinMeta::StructureStyle;
  // Each corpus is made once, the first time it is asked for.
  static const telvar::Model nested1 = make(1, Style::nested);
  static const telvar::Model nested10 = make(10, Style::nested);
  static const telvar::Model nested50 = make(50, Style::nested);
  if (style == Style::nested) {
    return megabytes == 1 ? nested1 : (megabytes == 10 ? nested10 : nested50);
  }
  static const telvar::Model first1 = make(1, Style::subtypeFirst);
  static const telvar::Model first10 = make(10, Style::subtypeFirst);
  static const telvar::Model first50 = make(50, Style::subtypeFirst);
  return megabytes == 1 ? first1 : (megabytes == 10 ? first10 : first50);
}

void run(benchmark::State& state, telvar::KotlinMeta::StructureStyle style) {
  const telvar::Model& model = kotlinModel(static_cast<int>(state.range(0)), style);
  std::size_t outputSize = 0;
  for (auto _ : state) {
    auto out = telvar::kotlinOutput(model);
    if (!out) {
      state.SkipWithError("the corpus generated nothing");
      return;
    }
    outputSize = out->size();
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * model.input().size()));
  state.counters["output_bytes"] = static_cast<double>(outputSize);
}

void BM_KotlinOutputNested(benchmark::State& state) {
  run(state, telvar::KotlinMeta::StructureStyle::nested);
}
BENCHMARK(BM_KotlinOutputNested)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_KotlinOutputSubtypeFirst(benchmark::State& state) {
  run(state, telvar::KotlinMeta::StructureStyle::subtypeFirst);
}
BENCHMARK(BM_KotlinOutputSubtypeFirst)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
