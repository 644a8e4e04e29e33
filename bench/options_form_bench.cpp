// The options form re-reads every control after each change of the model: with a Swift options
// record whose lists hold 200 rows, a keystroke in the form must still be shown well within a
// frame's patience (< 20 ms for the write and the re-read together).

#include <string>
#include <vector>

#include <QApplication>

#include <benchmark/benchmark.h>

#include "mirel/options/options_form.h"
#include "telvar/model/model.h"

namespace {

using telvar::SwiftMeta;
using telvar::Uuid;

std::string text(const char* stem, std::size_t i) { return stem + std::to_string(i); }

// `rows` rows in each of the Swift screen's eight lists (each enum map with two cases).
telvar::Model swiftModel(std::size_t rows) {
  std::vector<telvar::TypeNameMap> typeNames;
  std::vector<SwiftMeta::IdentifiableType> identifiable;
  std::vector<telvar::PropertyNameMap> propertyNames;
  std::vector<SwiftMeta::PropertyEnumMap> enumMaps;
  std::vector<telvar::Acronym> acronyms;
  std::vector<telvar::IgnoredProperty> ignored;
  std::vector<telvar::DictionaryObject> dictionaries;
  std::vector<telvar::ValueMeta::OptionalProperty> optional;
  for (std::size_t i = 0; i < rows; ++i) {
    typeNames.emplace_back(Uuid::random(), text("root.items.", i), text("Item", i));
    identifiable.emplace_back(Uuid::random(), text("root.users.", i), "id");
    propertyNames.emplace_back(Uuid::random(), text("root.name_", i), text("name", i));
    enumMaps.emplace_back(Uuid::random(), text("root.status", i),
                          std::vector<SwiftMeta::PropertyEnumMap::Case>{
                              {Uuid::random(), "on", "1"}, {Uuid::random(), "off", "0"}});
    acronyms.emplace_back(Uuid::random(), text("ACR", i));
    ignored.emplace_back(Uuid::random(), text("root.debug", i));
    dictionaries.emplace_back(Uuid::random(), text("root.map", i));
    optional.emplace_back(Uuid::random(), text("root.maybe", i));
  }
  SwiftMeta meta;
  meta.setTypeNameMaps(typeNames);
  meta.setIdentifiableTypes(identifiable);
  meta.setPropertyNameMaps(propertyNames);
  meta.setPropertyEnumMaps(enumMaps);
  meta.setAcronyms(acronyms);
  telvar::ValueMeta value;
  value.setIgnoredProperties(ignored);
  value.setDictionaryObjects(dictionaries);
  value.setOptionalProperties(optional);
  return telvar::Model(Uuid::random(), "{}", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                       telvar::SwiftOptions(value, meta), std::nullopt, std::nullopt, std::nullopt,
                       std::nullopt);
}

// One edit of the model prefix written through the form's binding, then the re-read that the
// model's change triggers.
void BM_OptionsFormReloadAfterEdit(benchmark::State& state) {
  const auto rows = static_cast<std::size_t>(state.range(0));
  telvar::Model model = swiftModel(rows);
  mirel::OptionsForm form(mirel::Binding<telvar::Model>(
      [&model] { return model; }, [&model](telvar::Model next) { model = std::move(next); }));
  form.resize(375, 800);
  form.show();
  QApplication::processEvents();
  std::size_t edit = 0;
  for (auto _ : state) {
    telvar::SwiftOptions options = model.swiftOptions();
    options.editSwiftMeta([&](SwiftMeta& meta) { meta.setModelPrefix(text("P", ++edit)); });
    model.setSwiftOptions(options);
    form.reload();
  }
  state.counters["rows per list"] = static_cast<double>(rows);
}
BENCHMARK(BM_OptionsFormReloadAfterEdit)->Arg(25)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
