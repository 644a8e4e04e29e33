// Whole-file generation of a sample nested as deep as the grammar allows, in every output type
// and structure style. Each level is an object with its own key, so no two declarations are
// equal and none is left out as a repeat: the cost of the nesting itself shows. The depth is the
// argument, so the time across 128, 256 and 512 shows how cost grows with depth.
#include <stdexcept>
#include <string>

#include <benchmark/benchmark.h>

#include "telvar/generate/generate.h"
#include "telvar/model/model.h"

namespace {

// `depth` objects, one inside the other, with the keys "level0", "level1", ...; the innermost
// holds a number.
std::string deepObjects(int depth) {
  std::string open;
  std::string close;
  for (int i = 0; i < depth - 1; ++i) {
    open += "{\"level" + std::to_string(i) + "\":";
    close += '}';
  }
  return open + "{\"leaf\":1}" + close;
}

// `depth` objects, one inside the other, all under the key "a": every nested declaration has
// the same name, so the nested styles must tell equal texts apart at every level.
std::string deepRepeatedObjects(int depth) {
  std::string open;
  for (int i = 0; i < depth - 1; ++i) open += "{\"a\":";
  return open + "{\"leaf\":1}" + std::string(static_cast<std::size_t>(depth - 1), '}');
}

telvar::Model deepModel(const std::string& options, const std::string& input) {
  telvar::Model model = telvar::modelFromDocumentText(
      R"({"id":"6F1C2A3B-4D5E-4F60-8172-93A4B5C6D7E8","input":"","_modelName":"Deep",)" + options +
      "}");
  model.setInput(input);
  return model;
}

void generate(benchmark::State& state, telvar::OutputType type, const std::string& options,
              bool repeatedKey = false) {
  const int depth = static_cast<int>(state.range(0));
  const telvar::Model model =
      deepModel(options, repeatedKey ? deepRepeatedObjects(depth) : deepObjects(depth));
  for (auto _ : state) {
    auto output = telvar::output(model, type);
    if (!output) throw std::runtime_error("the deep sample generates nothing");
    benchmark::DoNotOptimize(output);
  }
}

std::string style(const std::string& options, const std::string& meta, const std::string& name) {
  return "\"" + options + "\":{\"" + meta + "\":{\"_structureStyle\":\"" + name + "\"}}";
}

using telvar::OutputType;

void BM_DeepSchema(benchmark::State& s) {
  generate(s, OutputType::schema, "\"_outputType\":\"schema\"");
}
void BM_DeepSwiftNested(benchmark::State& s) {
  generate(s, OutputType::swift, style("_swiftOptions", "_swiftMeta", "nested"));
}
void BM_DeepSwiftNestedInExtension(benchmark::State& s) {
  generate(s, OutputType::swift, style("_swiftOptions", "_swiftMeta", "nestedInExtension"));
}
void BM_DeepSwiftSubtypeFirst(benchmark::State& s) {
  generate(s, OutputType::swift, style("_swiftOptions", "_swiftMeta", "subtypeFirst"));
}
void BM_DeepSwiftSubtypeLast(benchmark::State& s) {
  generate(s, OutputType::swift, style("_swiftOptions", "_swiftMeta", "subtypeLast"));
}
void BM_DeepKotlinNested(benchmark::State& s) {
  generate(s, OutputType::kotlin, style("_kotlinOptions", "_kotlinMeta", "nested"));
}
void BM_DeepKotlinSubtypeFirst(benchmark::State& s) {
  generate(s, OutputType::kotlin, style("_kotlinOptions", "_kotlinMeta", "subtypeFirst"));
}
void BM_DeepKotlinSubtypeLast(benchmark::State& s) {
  generate(s, OutputType::kotlin, style("_kotlinOptions", "_kotlinMeta", "subtypeLast"));
}
void BM_DeepDartSubtypeFirst(benchmark::State& s) {
  generate(s, OutputType::dart, style("_dartOptions", "_dartMeta", "subtypeFirst"));
}
void BM_DeepDartSubtypeLast(benchmark::State& s) {
  generate(s, OutputType::dart, style("_dartOptions", "_dartMeta", "subtypeLast"));
}
void BM_DeepGoInline(benchmark::State& s) {
  generate(s, OutputType::go, style("_goOptions", "_goMeta", "inline"));
}
void BM_DeepGoSubtypeFirst(benchmark::State& s) {
  generate(s, OutputType::go, style("_goOptions", "_goMeta", "subtypeFirst"));
}
void BM_DeepGoSubtypeLast(benchmark::State& s) {
  generate(s, OutputType::go, style("_goOptions", "_goMeta", "subtypeLast"));
}
void BM_DeepProtoNested(benchmark::State& s) {
  generate(s, OutputType::proto, style("_protoOptions", "_protoMeta", "nested"));
}
void BM_DeepProtoSubtypeFirst(benchmark::State& s) {
  generate(s, OutputType::proto, style("_protoOptions", "_protoMeta", "subtypeFirst"));
}
void BM_DeepProtoSubtypeLast(benchmark::State& s) {
  generate(s, OutputType::proto, style("_protoOptions", "_protoMeta", "subtypeLast"));
}

void BM_DeepRepeatedSwiftNested(benchmark::State& s) {
  generate(s, OutputType::swift, style("_swiftOptions", "_swiftMeta", "nested"), true);
}
void BM_DeepRepeatedKotlinNested(benchmark::State& s) {
  generate(s, OutputType::kotlin, style("_kotlinOptions", "_kotlinMeta", "nested"), true);
}
void BM_DeepRepeatedProtoNested(benchmark::State& s) {
  generate(s, OutputType::proto, style("_protoOptions", "_protoMeta", "nested"), true);
}
void BM_DeepRepeatedGoInline(benchmark::State& s) {
  generate(s, OutputType::go, style("_goOptions", "_goMeta", "inline"), true);
}

}  // namespace

#define TELVAR_DEEP(name) \
  BENCHMARK(name)->Arg(128)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond)->UseRealTime()
TELVAR_DEEP(BM_DeepSchema);
TELVAR_DEEP(BM_DeepSwiftNested);
TELVAR_DEEP(BM_DeepSwiftNestedInExtension);
TELVAR_DEEP(BM_DeepSwiftSubtypeFirst);
TELVAR_DEEP(BM_DeepSwiftSubtypeLast);
TELVAR_DEEP(BM_DeepKotlinNested);
TELVAR_DEEP(BM_DeepKotlinSubtypeFirst);
TELVAR_DEEP(BM_DeepKotlinSubtypeLast);
TELVAR_DEEP(BM_DeepDartSubtypeFirst);
TELVAR_DEEP(BM_DeepDartSubtypeLast);
TELVAR_DEEP(BM_DeepGoInline);
TELVAR_DEEP(BM_DeepGoSubtypeFirst);
TELVAR_DEEP(BM_DeepGoSubtypeLast);
TELVAR_DEEP(BM_DeepProtoNested);
TELVAR_DEEP(BM_DeepProtoSubtypeFirst);
TELVAR_DEEP(BM_DeepProtoSubtypeLast);
TELVAR_DEEP(BM_DeepRepeatedSwiftNested);
TELVAR_DEEP(BM_DeepRepeatedKotlinNested);
TELVAR_DEEP(BM_DeepRepeatedProtoNested);
TELVAR_DEEP(BM_DeepRepeatedGoInline);
