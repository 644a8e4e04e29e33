#include <utility>

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

// Parses `text` once per iteration, with the tree let go each time, as every parse is timed.
void parseEach(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    auto r = telvar::jsonValueParser().parse(text);
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_TelvarParse(benchmark::State& state) {
  const std::string& text = corpus(static_cast<int>(state.range(0)));
  parseEach(state, text);
}
BENCHMARK(BM_TelvarParse)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same records one level down: an array inside another array is read on one thread, which
// gives the single-threaded figure.
void BM_TelvarParseOneThread(benchmark::State& state) {
  const std::string text = "[" + corpus(static_cast<int>(state.range(0))) + "]";
  parseEach(state, text);
}
BENCHMARK(BM_TelvarParseOneThread)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// An object of many small arrays, some with quotation marks that carry a combining mark: each
// array is small, however much text follows it, and is read in order.
void BM_TelvarParseManySmallArrays(benchmark::State& state) {
  static const std::string text = [] {
    std::string t = "{";
    for (int i = 0; t.size() < (std::size_t{1} << 20); ++i) {
      if (i > 0) t += ",";
      t += "\"k" + std::to_string(i) + "\":" + (i % 2 ? "[1,2]" : "[\"x\"\u0301[ \",1]");
    }
    return t + "}";
  }();
  parseEach(state, text);
}
BENCHMARK(BM_TelvarParseManySmallArrays)->Unit(benchmark::kMillisecond)->UseRealTime();

// Documents of one kind of token each, whose trees are flat: mostly the grammar's own work.
void BM_TelvarParseStrings(benchmark::State& state) {
  static const std::string text = telvar::bench::stringCorpus(10 << 20);
  parseEach(state, text);
}
BENCHMARK(BM_TelvarParseStrings)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TelvarParseNumbers(benchmark::State& state) {
  static const std::string text = telvar::bench::numberCorpus(10 << 20);
  parseEach(state, text);
}
BENCHMARK(BM_TelvarParseNumbers)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every corpus shape at 1 and 10 MB, read on one thread (one level down), against RapidJSON's DOM
// parse of the same text: the per-shape ratio of the one-thread goal.
using telvar::bench::Shape;

// The shape's records one level down, so that the array worker threads read is never the one
// read: one thread does all of it, as in the reference parse.
std::string oneLevelDown(Shape shape, std::int64_t megabytes) {
  return "[" + telvar::bench::shapeCorpus(shape, megabytes) + "]";
}

void BM_OneThreadParse(benchmark::State& state, Shape shape) {
  parseEach(state, oneLevelDown(shape, state.range(0)));
}

#define TELVAR_ONE_THREAD(shape)                            \
  BENCHMARK_CAPTURE(BM_OneThreadParse, shape, Shape::shape) \
      ->Arg(1)                                              \
      ->Arg(10)                                             \
      ->Unit(benchmark::kMillisecond)                       \
      ->UseRealTime()
TELVAR_ONE_THREAD(records);
TELVAR_ONE_THREAD(nested);
TELVAR_ONE_THREAD(text);
TELVAR_ONE_THREAD(optional);
TELVAR_ONE_THREAD(numbers);
TELVAR_ONE_THREAD(strings);

void BM_NlohmannParse(benchmark::State& state) {
  const std::string& text = corpus(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto r = nlohmann::json::parse(text);
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_NlohmannParse)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Format(benchmark::State& state) {
  const std::string& text = corpus(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto r = telvar::Formatter::format(text, telvar::Indentation::default_());
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Format)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FormatDeep(benchmark::State& state) {
  std::string text = telvar::bench::deepCorpus(512);
  for (auto _ : state) {
    auto r = telvar::Formatter::format(text, telvar::Indentation::default_());
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_FormatDeep)->UseRealTime();

}  // namespace

#if defined(TELVAR_BENCH_RAPIDJSON)
#include <rapidjson/document.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

namespace {

void BM_RapidJsonParse(benchmark::State& state) {
  const std::string& text = corpus(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    rapidjson::Document d;
    d.Parse(text.c_str(), text.size());
    benchmark::DoNotOptimize(d);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_RapidJsonParse)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_RapidJsonParseAndPrettyWrite(benchmark::State& state) {
  const std::string& text = corpus(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    rapidjson::Document d;
    d.Parse(text.c_str(), text.size());
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
    writer.SetIndent(' ', 2);
    d.Accept(writer);
    benchmark::DoNotOptimize(buffer.GetString());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
void BM_OneThreadRapidJsonParse(benchmark::State& state, Shape shape) {
  const std::string text = oneLevelDown(shape, state.range(0));
  for (auto _ : state) {
    rapidjson::Document d;
    d.Parse(text.c_str(), text.size());
    benchmark::DoNotOptimize(d);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

#define TELVAR_ONE_THREAD_REFERENCE(shape)                           \
  BENCHMARK_CAPTURE(BM_OneThreadRapidJsonParse, shape, Shape::shape) \
      ->Arg(1)                                                       \
      ->Arg(10)                                                      \
      ->Unit(benchmark::kMillisecond)                                \
      ->UseRealTime()
TELVAR_ONE_THREAD_REFERENCE(records);
TELVAR_ONE_THREAD_REFERENCE(nested);
TELVAR_ONE_THREAD_REFERENCE(text);
TELVAR_ONE_THREAD_REFERENCE(optional);
TELVAR_ONE_THREAD_REFERENCE(numbers);
TELVAR_ONE_THREAD_REFERENCE(strings);

BENCHMARK(BM_RapidJsonParseAndPrettyWrite)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
#endif
