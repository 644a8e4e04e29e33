// Whole-file JSON Schema generation of the record corpora, with URL and date detection on. A
// schema is written only for a root object, so the records are the member of one: the list
// alone would stop after inference. Figures are per input byte, so linear cost shows as a flat
// rate across the sizes.
#include <map>
#include <stdexcept>
#include <string>

#include <benchmark/benchmark.h>

#include "corpus.h"
#include "telvar/generate/generate.h"
#include "telvar/model/model.h"

namespace {

telvar::Model schemaModel(std::string input, std::optional<telvar::SchemaMeta> meta = {}) {
  const telvar::ValueMeta detection(true, true, true);
  return telvar::Model(telvar::Uuid::random(), std::move(input), std::nullopt, std::string("Feed"),
                       telvar::OutputType::schema, telvar::SchemaOptions(detection, meta),
                       std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt);
}

const telvar::Model& recordsModel(std::size_t bytes) {
  static std::map<std::size_t, telvar::Model> cache;
  if (auto it = cache.find(bytes); it != cache.end()) return it->second;
  std::string input = "{\"records\":" + telvar::bench::recordCorpus(bytes) + "}";
  return cache.emplace(bytes, schemaModel(std::move(input))).first->second;
}

void BM_SchemaOutputRecords(benchmark::State& state) {
  const auto bytes = static_cast<std::size_t>(state.range(0)) << 20;
  const telvar::Model& model = recordsModel(bytes);
  for (auto _ : state) {
    auto text = telvar::schemaOutput(model);
    if (!text) throw std::runtime_error("the record corpus gave no schema");
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(model.input().size()));
}
BENCHMARK(BM_SchemaOutputRecords)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The renderer's share on a wide schema: one object of 50,000 members, sorted by key.
void BM_SchemaOutputWideSorted(benchmark::State& state) {
  static const telvar::Model model = schemaModel(
      telvar::bench::wideCorpus(50000), telvar::SchemaMeta(telvar::PropertySortMethod::alphabet));
  for (auto _ : state) {
    auto text = telvar::schemaOutput(model);
    benchmark::DoNotOptimize(text);
  }
  state.SetItemsProcessed(state.iterations() * 50000);
}
BENCHMARK(BM_SchemaOutputWideSorted)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
