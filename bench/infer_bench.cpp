// Inference and the nested-value walks on wide, long and deep samples. Each figure is reported
// per member or element, so linear cost shows as a flat time per item across the sizes.
#include <map>
#include <string>

#include <benchmark/benchmark.h>

#include "corpus.h"
#include "telvar/code/code.h"
#include "telvar/parse/json_grammar.h"
#include "telvar/value/merge.h"
#include "telvar/value/walks.h"

namespace {

telvar::Value parsed(const std::string& text) {
  auto r = telvar::jsonValueParser().parse(text);
  if (!r) throw std::runtime_error("benchmark sample does not parse");
  return r->output;
}

// One object with `keys` members, each an object holding another object, so that the walks list
// two values per member.
std::string wideNestedCorpus(int keys) {
  std::string out = "{";
  for (int i = 0; i < keys; ++i) {
    if (i) out += ',';
    out += "\"key_" + std::to_string(i) + "\":{\"n\":" + std::to_string(i) +
           ",\"inner\":{\"flag\":true,\"name\":\"x\"}}";
  }
  out += "}";
  return out;
}

// An array of `count` small objects.
std::string smallObjectsCorpus(int count) {
  std::string out = "[";
  for (int i = 0; i < count; ++i) {
    if (i) out += ',';
    out += "{\"id\":" + std::to_string(i) + ",\"name\":\"n" + std::to_string(i % 97) +
           "\",\"score\":" + std::to_string(i % 13) +
           ".5,\"tags\":[\"a\"],\"owner\":{\"id\":" + std::to_string(i % 7) + "}}";
  }
  out += "]";
  return out;
}

// `depth` nested containers, objects and arrays alternating.
std::string deepMixedCorpus(int depth) {
  std::string open;
  std::string close;
  for (int i = 0; i < depth; ++i) {
    open += i % 2 == 0 ? "{\"a\":" : "[";
    close.insert(0, i % 2 == 0 ? "}" : "]");
  }
  return open + "1" + close;
}

const telvar::Value& sample(const std::string& name, int size) {
  static std::map<std::pair<std::string, int>, telvar::Value> cache;
  auto key = std::make_pair(name, size);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  std::string text;
  if (name == "wide") text = telvar::bench::wideCorpus(size);
  if (name == "wideNested") text = wideNestedCorpus(size);
  if (name == "objects") text = smallObjectsCorpus(size);
  if (name == "deep") text = deepMixedCorpus(size);
  return cache.emplace(key, parsed(text)).first->second;
}

void BM_InferWideObject(benchmark::State& state) {
  const telvar::Value& value = sample("wide", static_cast<int>(state.range(0)));
  for (auto _ : state) {
    telvar::Code code(value);
    benchmark::DoNotOptimize(code);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_InferWideObject)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_InferWideNestedObject(benchmark::State& state) {
  const telvar::Value& value = sample("wideNested", static_cast<int>(state.range(0)));
  for (auto _ : state) {
    telvar::Code code(value);
    benchmark::DoNotOptimize(code);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_InferWideNestedObject)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_WalksWideNestedObject(benchmark::State& state) {
  const telvar::Value& value = sample("wideNested", static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto parentFirst = telvar::nestedValuesParentFirst(value);
    auto childrenFirst = telvar::nestedValuesChildrenFirst(value);
    benchmark::DoNotOptimize(parentFirst);
    benchmark::DoNotOptimize(childrenFirst);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WalksWideNestedObject)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Inference of an unrefined array reads only its first element.
void BM_InferObjectArray(benchmark::State& state) {
  const telvar::Value& value = sample("objects", static_cast<int>(state.range(0)));
  for (auto _ : state) {
    telvar::Code code(value);
    benchmark::DoNotOptimize(code);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_InferObjectArray)
    ->Arg(250000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// As the generators see an array: its elements merged into one shape, then inferred and walked.
void BM_MergeInferWalkObjectArray(benchmark::State& state) {
  const telvar::Value& value = sample("objects", static_cast<int>(state.range(0)));
  for (auto _ : state) {
    telvar::Value merged =
        telvar::Value::array({}, {telvar::mergedElements(value.arrayValue().values)});
    telvar::Code code(merged);
    auto nested = telvar::nestedValuesChildrenFirst(merged);
    benchmark::DoNotOptimize(code);
    benchmark::DoNotOptimize(nested);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MergeInferWalkObjectArray)
    ->Arg(250000)
    ->Arg(500000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_InferAndWalkDeep(benchmark::State& state) {
  const telvar::Value& value = sample("deep", telvar::kMaxJsonDepth);
  for (auto _ : state) {
    telvar::Code code(value);
    auto parentFirst = telvar::nestedValuesParentFirst(value);
    auto childrenFirst = telvar::nestedValuesChildrenFirst(value);
    benchmark::DoNotOptimize(code);
    benchmark::DoNotOptimize(parentFirst);
    benchmark::DoNotOptimize(childrenFirst);
  }
}
BENCHMARK(BM_InferAndWalkDeep)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
