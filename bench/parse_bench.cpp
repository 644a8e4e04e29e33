#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "corpus.h"
#include "telvar/parse/json_grammar.h"
#include "telvar/value/printer.h"

namespace {

const std::string& corpus(int megabytes) {
  static std::string one = telvar::bench::recordCorpus(1 << 20);
  static std::string ten = telvar::bench::recordCorpus(10 << 20);
  static std::string fifty = telvar::bench::recordCorpus(50 << 20);
  return megabytes == 1 ? one : (megabytes == 10 ? ten : fifty);
}

void BM_TelvarParse(benchmark::State& state) {
  const std::string& text = corpus(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto r = telvar::jsonValueParser().parse(text);
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_TelvarParse)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_NlohmannParse(benchmark::State& state) {
  const std::string& text = corpus(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto r = nlohmann::json::parse(text);
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_NlohmannParse)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_Format(benchmark::State& state) {
  const std::string& text = corpus(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto r = telvar::Formatter::format(text, telvar::Indentation::default_());
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Format)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_FormatDeep(benchmark::State& state) {
  std::string text = telvar::bench::deepCorpus(512);
  for (auto _ : state) {
    auto r = telvar::Formatter::format(text, telvar::Indentation::default_());
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_FormatDeep);

}  // namespace
