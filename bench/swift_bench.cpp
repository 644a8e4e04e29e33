// Whole-file Swift generation of the record corpora (1, 10 and 50 MB), with URL and date
// detection on: parse, refine, infer, render and join, as the application runs it. Reported per
// byte, so linear cost shows as a flat rate across the sizes.
#include <map>
#include <string>

#include <benchmark/benchmark.h>

#include "corpus.h"
#include "telvar/generate/generate.h"
#include "telvar/model/model.h"

namespace {

using telvar::SwiftMeta;

const std::string& corpus(std::size_t bytes) {
  static std::map<std::size_t, std::string> cache;
  if (auto it = cache.find(bytes); it != cache.end()) return it->second;
  return cache.emplace(bytes, telvar::bench::recordCorpus(bytes)).first->second;
}

telvar::Model recordModel(std::size_t bytes, SwiftMeta::StructureStyle style) {
  telvar::ValueMeta valueMeta;
  valueMeta._needsDetectURL = true;
  valueMeta._needsDetectISO8601Date = true;
  valueMeta._needsDetectTimeIntervalDate = true;
  SwiftMeta meta = telvar::SwiftOptions::defaultSwiftMeta();
  meta.setStructureStyle(style);
  return telvar::Model(telvar::Uuid::random(), corpus(bytes), std::nullopt, std::string("Record"),
                       telvar::OutputType::swift, std::nullopt,
                       telvar::SwiftOptions(valueMeta, meta), std::nullopt, std::nullopt,
                       std::nullopt, std::nullopt);
}

void run(benchmark::State& state, SwiftMeta::StructureStyle style) {
  const auto bytes = static_cast<std::size_t>(state.range(0)) << 20;
  const telvar::Model model = recordModel(bytes, style);
  for (auto _ : state) {
    auto out = telvar::swiftOutput(model);
    if (!out) state.SkipWithError("the corpus generated nothing");
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(model.input().size()));
}

void BM_SwiftNested(benchmark::State& state) { run(state, SwiftMeta::StructureStyle::nested); }
void BM_SwiftSubtypeFirst(benchmark::State& state) {
  run(state, SwiftMeta::StructureStyle::subtypeFirst);
}
void BM_SwiftNestedInExtension(benchmark::State& state) {
  run(state, SwiftMeta::StructureStyle::nestedInExtension);
}

// Records of 2,000 keys each, none shared: the merged record holds every key of every record.
void BM_SwiftWideRecords(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  const telvar::Model model(telvar::Uuid::random(), telvar::bench::wideRecordsCorpus(records, 2000),
                            std::nullopt, std::string("Record"), telvar::OutputType::swift,
                            std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                            std::nullopt);
  for (auto _ : state) {
    auto out = telvar::swiftOutput(model);
    if (!out) state.SkipWithError("the corpus generated nothing");
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(model.input().size()));
}

}  // namespace

BENCHMARK(BM_SwiftWideRecords)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SwiftNested)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SwiftSubtypeFirst)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SwiftNestedInExtension)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
