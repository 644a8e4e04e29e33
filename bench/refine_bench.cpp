// The refine stage as every generator runs it: the detection walk, then the ignored, optional
// and dictionary-object rewrites. Each figure is reported per member, element or byte, so linear
// cost shows as a flat time per item across the sizes.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "corpus.h"
#include "telvar/parse/json_grammar.h"
#include "telvar/refine/rewrites.h"

namespace {

using telvar::Value;

Value parsedSample(const std::string& text) {
  auto r = telvar::jsonValueParser().parse(text);
  if (!r) throw std::runtime_error("benchmark sample does not parse");
  return r->output;
}

// An array of `count` small objects with a date, a URL and a time interval each.
std::string datedObjectsCorpus(int count) {
  std::string out = "[";
  for (int i = 0; i < count; ++i) {
    if (i) out += ',';
    out += "{\"id\":" + std::to_string(i) + ",\"name\":\"n" + std::to_string(i % 97) +
           "\",\"kind\":\"k" + std::to_string(i % 3) +
           "\",\"created_at\":\"2024-01-02T03:04:05Z\",\"link\":\"https://example.com/" +
           std::to_string(i % 89) + "\",\"seen\":" + std::to_string(1700000000 + i) +
           ",\"tags\":[\"a\"],\"owner\":{\"id\":" + std::to_string(i % 7) + "}}";
  }
  out += "]";
  return out;
}

const Value& sample(const std::string& name, long size) {
  static std::map<std::pair<std::string, long>, Value> cache;
  const auto key = std::make_pair(name, size);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  std::string text;
  if (name == "wide") text = telvar::bench::wideCorpus(static_cast<int>(size));
  if (name == "objects") text = datedObjectsCorpus(static_cast<int>(size));
  if (name == "records") text = telvar::bench::recordCorpus(static_cast<std::size_t>(size));
  if (name == "deep") text = telvar::bench::deepCorpus(static_cast<int>(size));
  return cache.emplace(key, parsedSample(text)).first->second;
}

template <class Record>
std::vector<Record> records(std::vector<std::string> paths) {
  std::vector<Record> out;
  for (auto& path : paths) out.emplace_back(telvar::Uuid::random(), std::move(path));
  return out;
}

// Every detection on, and one record of each kind, so that every member is looked up.
const telvar::ValueMeta& meta() {
  static const telvar::ValueMeta value(true, true, true, records<telvar::IgnoredProperty>({"tags"}),
                                       records<telvar::DictionaryObject>({"owner"}), false,
                                       records<telvar::ValueMeta::OptionalProperty>({"name"}));
  return value;
}

const std::vector<telvar::SwiftMeta::PropertyEnumMap>& enumMaps() {
  static const std::vector<telvar::SwiftMeta::PropertyEnumMap> maps{
      telvar::SwiftMeta::PropertyEnumMap(telvar::Uuid::random(), "kind", {})};
  return maps;
}

Value refined(const Value& value) {
  Value v = telvar::detected(value, meta(), enumMaps(), {"Unknown"});
  v = telvar::removingIgnoredProperties(v, meta());
  v = telvar::applyingOptionalProperties(v, meta());
  return telvar::applyingDictionaryObjects(v, meta());
}

void BM_DetectWideObject(benchmark::State& state) {
  const Value& value = sample("wide", state.range(0));
  for (auto _ : state) {
    Value v = telvar::detected(value, meta(), enumMaps(), {"Unknown"});
    benchmark::DoNotOptimize(v);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DetectWideObject)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_RefineWideObject(benchmark::State& state) {
  const Value& value = sample("wide", state.range(0));
  for (auto _ : state) {
    Value v = refined(value);
    benchmark::DoNotOptimize(v);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RefineWideObject)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Detection folds the array into one element first, so this is mostly the merge.
void BM_RefineObjectArray(benchmark::State& state) {
  const Value& value = sample("objects", state.range(0));
  for (auto _ : state) {
    Value v = refined(value);
    benchmark::DoNotOptimize(v);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RefineObjectArray)
    ->Arg(250000)
    ->Arg(500000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_RefineRecordCorpus(benchmark::State& state) {
  const Value& value = sample("records", state.range(0));
  for (auto _ : state) {
    Value v = refined(value);
    benchmark::DoNotOptimize(v);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RefineRecordCorpus)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_RefineDeep(benchmark::State& state) {
  const Value& value = sample("deep", telvar::kMaxJsonDepth - 1);
  for (auto _ : state) {
    Value v = refined(value);
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_RefineDeep)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
