#include "telvar/generate/dart/dart_names.h"
#include "telvar/generate/dart/dart_renderers.h"
#include "telvar/generate/generate.h"
#include "telvar/generate/road.h"

namespace telvar {

std::optional<std::string> dartOutput(const Model& model) {
  using namespace generate;
  std::optional<Value> parsed = parsedInput(model);
  if (!parsed) return std::nullopt;

  const DartOptions options = model.dartOptions();
  const DartMeta meta = options.dartMeta();
  const Indentation indentation = model.indentation();
  const std::string fileHeader =
      header({"import 'package:meta/meta.dart';", "import 'dart:convert';"}, indentation);

  // Dart takes no enum maps and no dictionary objects: neither reaches its renderers.
  Value value = refined(std::move(*parsed), model, options.valueMeta(), {},
                        {Rewrite::ignoredProperties, Rewrite::optionalProperties});

  // One inference serves the names and the declarations. The code and its nested types hold all
  // that is written, so the sample goes before the first class is written (wide-100: 12 MB less
  // at the peak). The blocks come in the order of `subtypeFirstBlocks` and `subtypeLastBlocks`.
  const Code rootCode(value);
  const TypeNames types = dartTypeNames(rootCode, meta);
  const bool rootLast = meta.structureStyle() == DartMeta::StructureStyle::subtypeFirst;
  const std::vector<Code> nested =
      nestedCodes(value, rootCode, rootLast ? Order::childrenFirst : Order::parentFirst);
  value = Value();

  const auto render = [&](const Code& code) {
    return dartRendered(code, meta, indentation, &types);
  };
  Blocks blocks;
  if (!rootLast) blocks.add(render(rootCode));
  for (const Code& code : nested) blocks.add(render(code));
  if (rootLast) blocks.addUnchecked(render(rootCode));
  return std::move(blocks).file(fileHeader);
}

}  // namespace telvar
