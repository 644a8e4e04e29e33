// Whole-file Go generation of the record corpora (1, 10 and 50 MB) with URL and date detection
// on, in the inline style and in a named style. Bytes per second are of the sample text, so
// linear cost shows as a flat rate across the sizes.
#include <map>
#include <stdexcept>
#include <string>

#include <benchmark/benchmark.h>

#include "corpus.h"
#include "telvar/generate/generate.h"
#include "telvar/model/model.h"

namespace {

const std::string& recordSample(int megabytes) {
  static std::map<int, std::string> cache;
  auto it = cache.find(megabytes);
  if (it == cache.end()) {
    it = cache.emplace(megabytes, telvar::bench::recordCorpus(std::size_t(megabytes) << 20)).first;
  }
  return it->second;
}

telvar::Model goModel(const std::string& style, const std::string& input) {
  telvar::Model model = telvar::modelFromDocumentText(
      R"({"id":"6F1C2A3B-4D5E-4F60-8172-93A4B5C6D7E8","input":"","_modelName":"Record",)"
      R"("_goOptions":{"_valueMeta":{"_needsDetectURL":true,"_needsDetectISO8601Date":true,)"
      R"("_needsDetectTimeIntervalDate":true},"_goMeta":{"_structureStyle":")" +
      style + "\"}}}");
  model.setInput(input);
  return model;
}

void generate(benchmark::State& state, const std::string& style) {
  const std::string& input = recordSample(static_cast<int>(state.range(0)));
  const telvar::Model model = goModel(style, input);
  for (auto _ : state) {
    auto output = telvar::goOutput(model);
    if (!output) throw std::runtime_error("the record corpus generates nothing");
    benchmark::DoNotOptimize(output);
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(input.size()));
}

void BM_GoOutputInline(benchmark::State& state) { generate(state, "inline"); }
void BM_GoOutputSubtypeFirst(benchmark::State& state) { generate(state, "subtypeFirst"); }

BENCHMARK(BM_GoOutputInline)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_GoOutputSubtypeFirst)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
