// Every corpus shape at 10 and 50 MB: parsing (in pieces, on one thread, and RapidJSON's DOM as
// the reference) and whole-file Swift generation with URL and date detection on. Reported per
// byte, so that a shape slower per byte at 50 MB than at 10 MB shows.
#include <string>
#include <utility>

#include <benchmark/benchmark.h>

#include "corpus.h"
#include "telvar/generate/generate.h"
#include "telvar/model/model.h"
#include "telvar/parse/json_grammar.h"

#if defined(TELVAR_BENCH_RAPIDJSON)
#include <rapidjson/document.h>
#endif

namespace {

using telvar::bench::Shape;
using telvar::bench::shapeCorpus;

void perByte(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes));
}

void BM_ShapeParse(benchmark::State& state, Shape shape) {
  const std::string& text = shapeCorpus(shape, state.range(0));
  for (auto _ : state) {
    auto r = telvar::jsonValueParser().parse(text);
    benchmark::DoNotOptimize(r);
  }
  perByte(state, text.size());
}

// One level down: an array inside another array is read on the calling thread alone.
void BM_ShapeParseOneThread(benchmark::State& state, Shape shape) {
  const std::string text = "[" + shapeCorpus(shape, state.range(0)) + "]";
  for (auto _ : state) {
    auto r = telvar::jsonValueParser().parse(text);
    benchmark::DoNotOptimize(r);
  }
  perByte(state, text.size());
}

void BM_ShapeSwift(benchmark::State& state, Shape shape) {
  telvar::ValueMeta valueMeta;
  valueMeta._needsDetectURL = true;
  valueMeta._needsDetectISO8601Date = true;
  valueMeta._needsDetectTimeIntervalDate = true;
  const telvar::Model model(
      telvar::Uuid::random(), shapeCorpus(shape, state.range(0)), std::nullopt,
      std::string("Record"), telvar::OutputType::swift, std::nullopt,
      telvar::SwiftOptions(valueMeta, telvar::SwiftOptions::defaultSwiftMeta()), std::nullopt,
      std::nullopt, std::nullopt, std::nullopt);
  for (auto _ : state) {
    auto out = telvar::swiftOutput(model);
    if (!out) state.SkipWithError("the corpus generated nothing");
    benchmark::DoNotOptimize(out);
  }
  perByte(state, model.input().size());
}

#if defined(TELVAR_BENCH_RAPIDJSON)
void BM_ShapeRapidJsonParse(benchmark::State& state, Shape shape) {
  const std::string& text = shapeCorpus(shape, state.range(0));
  for (auto _ : state) {
    rapidjson::Document d;
    d.Parse(text.c_str(), text.size());
    benchmark::DoNotOptimize(d);
  }
  perByte(state, text.size());
}
#endif

#define TELVAR_SHAPE_BENCHMARKS(shape)                           \
  BENCHMARK_CAPTURE(BM_ShapeParse, shape, Shape::shape)          \
      ->Arg(10)                                                  \
      ->Arg(50)                                                  \
      ->Unit(benchmark::kMillisecond)                            \
      ->UseRealTime();                                           \
  BENCHMARK_CAPTURE(BM_ShapeParseOneThread, shape, Shape::shape) \
      ->Arg(10)                                                  \
      ->Arg(50)                                                  \
      ->Unit(benchmark::kMillisecond)                            \
      ->UseRealTime();                                           \
  BENCHMARK_CAPTURE(BM_ShapeSwift, shape, Shape::shape)          \
      ->Arg(10)                                                  \
      ->Arg(50)                                                  \
      ->Unit(benchmark::kMillisecond)                            \
      ->UseRealTime()

TELVAR_SHAPE_BENCHMARKS(nested);
TELVAR_SHAPE_BENCHMARKS(text);
TELVAR_SHAPE_BENCHMARKS(optional);

#if defined(TELVAR_BENCH_RAPIDJSON)
#define TELVAR_SHAPE_REFERENCE(shape)                            \
  BENCHMARK_CAPTURE(BM_ShapeRapidJsonParse, shape, Shape::shape) \
      ->Arg(10)                                                  \
      ->Arg(50)                                                  \
      ->Unit(benchmark::kMillisecond)                            \
      ->UseRealTime()
TELVAR_SHAPE_REFERENCE(records);
TELVAR_SHAPE_REFERENCE(nested);
TELVAR_SHAPE_REFERENCE(text);
TELVAR_SHAPE_REFERENCE(optional);
#endif

}  // namespace
