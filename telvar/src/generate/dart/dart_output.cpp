#include "telvar/generate/dart/dart_names.h"
#include "telvar/generate/dart/dart_renderers.h"
#include "telvar/generate/generate.h"
#include "telvar/generate/road.h"

namespace telvar {

std::optional<std::string> dartOutput(const Model& model, SampleText sample,
                                      const TextDrain& drain) {
  using namespace generate;
  std::optional<Value> parsed = parsedInput(std::move(sample));
  if (!parsed) return std::nullopt;

  const DartOptions options = model.dartOptions();
  const DartMeta meta = options.dartMeta();
  const Indentation indentation = model.indentation();
  const std::string fileHeader =
      header({"import 'package:meta/meta.dart';", "import 'dart:convert';"}, indentation);

  // Dart takes no enum maps and no dictionary objects: neither reaches its renderers.
  Value value = refined(std::move(*parsed), model, options.valueMeta(), {},
                        {Rewrite::ignoredProperties, Rewrite::optionalProperties});

  // One inference serves the names and the declarations; the sample is given up before the
  // first class is written (wide-100: 19 MB less at the peak).
  const Code rootCode(value);
  const TypeNames types = dartTypeNames(rootCode, meta);
  const Write write = [&](CodePrinter& p, const Code& code) {
    return writeDartCode(p, code, meta, &types);
  };
  return subtypeFile(std::move(value), rootCode, fileHeader, indentation, drain, write,
                     meta.structureStyle() == DartMeta::StructureStyle::subtypeFirst
                         ? RootPlace::last
                         : RootPlace::first);
}

}  // namespace telvar
