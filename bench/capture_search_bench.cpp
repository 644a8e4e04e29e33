// Highlighting of 1 MB of code that the engine generated, in each output language, and the
// capture search's shortcut for word-led patterns against the plain search on the same text.
// The shortcut earns its keep on Dart: without it, 1 MB of Dart takes several times as long.
#include <string>

#include <benchmark/benchmark.h>

#include "mirel/highlight/capture_ranges.h"
#include "mirel/highlight/capture_ranges_detail.h"
#include "mirel/highlight/dart_syntax_highlighter.h"
#include "mirel/highlight/go_syntax_highlighter.h"
#include "mirel/highlight/kotlin_syntax_highlighter.h"
#include "mirel/highlight/proto_syntax_highlighter.h"
#include "mirel/highlight/schema_syntax_highlighter.h"
#include "mirel/highlight/swift_syntax_highlighter.h"
#include "telvar/generate/generate.h"
#include "telvar/model/model.h"

namespace {

// A sample whose every member is an object of its own shape, so each becomes its own type.
std::string sample(int members) {
  std::string text = "{";
  for (int i = 0; i < members; ++i) {
    const std::string n = std::to_string(i);
    if (i > 0) text += ",";
    text += "\"order_" + n + "\":{\"id\":" + n + ",\"user_name_" + n +
            "\":\"a\",\"created_at\":\"2020-01-01T00:00:00Z\",\"tags_" + n +
            "\":[1,2],\"items\":[{\"sku_" + n + "\":\"x\",\"price\":1.5}],\"home_url\":" +
            "\"https://example.com\",\"note\":null,\"active\":true}";
  }
  return text + "}";
}

std::u16string generated(telvar::OutputType type) {
  for (int members = 200;; members *= 2) {
    telvar::Model model(telvar::Uuid::random(), sample(members), std::nullopt, std::nullopt, type,
                        std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                        std::nullopt);
    std::optional<std::string> code = telvar::output(model, type);
    if (!code) return {};
    if (code->size() >= (1u << 20)) {
      code->resize(1u << 20);
      return std::u16string(code->begin(), code->end());  // the generated code is ASCII here
    }
  }
}

template <class Highlighter, telvar::OutputType kType>
void BM_Highlight(benchmark::State& state) {
  static const std::u16string code = generated(kType);
  const mirel::Font font = mirel::Font::monospacedSystem(15);
  for (auto _ : state) {
    mirel::AttributedText text = Highlighter::highlight(code, font);
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * code.size()));
}

using telvar::OutputType;
BENCHMARK(BM_Highlight<mirel::SchemaSyntaxHighlighter, OutputType::schema>)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Highlight<mirel::SwiftSyntaxHighlighter, OutputType::swift>)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Highlight<mirel::KotlinSyntaxHighlighter, OutputType::kotlin>)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Highlight<mirel::DartSyntaxHighlighter, OutputType::dart>)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Highlight<mirel::GoSyntaxHighlighter, OutputType::go>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Highlight<mirel::ProtoSyntaxHighlighter, OutputType::proto>)
    ->Unit(benchmark::kMillisecond);

// Word-led capture rules of the Dart highlighter, the ones the shortcut applies to.
constexpr std::u16string_view kWordLedPatterns[] = {
    uR"re((\w+\<?\w+\??\>?\??) \w+[;,])re", uR"re((\w+)\(\{)re", uR"re((\w+) copyWith\(\{)re",
    uR"re((\w+)\.fromJSON)re", uR"re(\w+\.(fromJSON)\(json)re"};

template <bool kShortcut>
void BM_DartWordLedCaptures(benchmark::State& state) {
  static const std::u16string code = generated(OutputType::dart);
  for (auto _ : state) {
    for (std::u16string_view pattern : kWordLedPatterns) {
      auto ranges = kShortcut ? mirel::captureRanges(pattern, code)
                              : mirel::detail::plainCaptureRanges(pattern, code);
      benchmark::DoNotOptimize(ranges);
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * code.size()));
}
BENCHMARK(BM_DartWordLedCaptures<true>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DartWordLedCaptures<false>)->Unit(benchmark::kMillisecond);

}  // namespace
