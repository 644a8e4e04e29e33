// Whole-file Dart generation of the record corpora, with URL and date detection on: parsing,
// refining, inference and rendering together, as the application runs them after each edit.
#include <benchmark/benchmark.h>

#include "corpus.h"
#include "telvar/generate/generate.h"
#include "telvar/model/model.h"

namespace {

const telvar::Model& dartModel(int megabytes) {
  static const auto make = [](std::size_t bytes) {
    telvar::ValueMeta valueMeta;
    valueMeta.setNeedsDetectURL(true);
    valueMeta.setNeedsDetectISO8601Date(true);
    valueMeta.setNeedsDetectTimeIntervalDate(true);
    return telvar::Model(telvar::Uuid::random(), telvar::bench::recordCorpus(bytes), std::nullopt,
                         "Record", telvar::OutputType::dart, std::nullopt, std::nullopt,
                         std::nullopt, telvar::DartOptions(valueMeta, std::nullopt), std::nullopt,
                         std::nullopt);
  };
  static const telvar::Model one = make(1 << 20);
  static const telvar::Model ten = make(10 << 20);
  static const telvar::Model fifty = make(50 << 20);
  return megabytes == 1 ? one : (megabytes == 10 ? ten : fifty);
}

void BM_DartOutput(benchmark::State& state) {
  const telvar::Model& model = dartModel(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto out = telvar::dartOutput(model);
    if (!out) state.SkipWithError("the corpus generated nothing");
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * model.input().size()));
}
BENCHMARK(BM_DartOutput)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
