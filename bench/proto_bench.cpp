// Whole-file Protocol Buffers generation, from the sample text to the proto file, as the
// application runs it: parse, detection (URLs and both date kinds on), the optional-properties
// rewrite, inference and the messages. Reported per byte of sample, so linear cost shows as a
// flat rate across the sizes.
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include <benchmark/benchmark.h>

#include "corpus.h"
#include "telvar/generate/generate.h"
#include "telvar/model/model.h"

namespace {

using telvar::Model;
using telvar::ProtoMeta;

const std::string& corpus(const std::string& name, long size) {
  static std::map<std::pair<std::string, long>, std::string> cache;
  const auto key = std::make_pair(name, size);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  std::string text;
  if (name == "records") text = telvar::bench::recordCorpus(static_cast<std::size_t>(size));
  if (name == "wide") text = telvar::bench::wideCorpus(static_cast<int>(size));
  return cache.emplace(key, std::move(text)).first->second;
}

Model protoModel(const std::string& input, ProtoMeta::StructureStyle style) {
  const telvar::ValueMeta detection(true, true, true);
  return Model(telvar::Uuid(), input, std::nullopt, std::string("Record"), Model::OutputType::proto,
               std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
               telvar::ProtoOptions(detection, ProtoMeta(std::nullopt, style)));
}

void run(benchmark::State& state, const Model& model, long bytes) {
  for (auto _ : state) {
    std::optional<std::string> text = telvar::protoOutput(model);
    if (!text) throw std::runtime_error("benchmark sample gave no proto file");
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_ProtoRecordCorpus(benchmark::State& state) {
  const auto style = static_cast<ProtoMeta::StructureStyle>(state.range(1));
  const std::string& text = corpus("records", state.range(0));
  run(state, protoModel(text, style), static_cast<long>(text.size()));
}
BENCHMARK(BM_ProtoRecordCorpus)
    ->ArgsProduct({{1 << 20, 10 << 20, 50 << 20}, {0, 1, 2}})
    ->ArgNames({"bytes", "style"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One message of 50,000 fields: naming every field stays linear.
void BM_ProtoWideObject(benchmark::State& state) {
  const std::string& text = corpus("wide", state.range(0));
  run(state, protoModel(text, ProtoMeta::StructureStyle::nested), static_cast<long>(text.size()));
}
BENCHMARK(BM_ProtoWideObject)->Arg(12500)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
