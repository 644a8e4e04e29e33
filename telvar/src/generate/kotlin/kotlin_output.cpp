#include "telvar/generate/generate.h"
#include "telvar/generate/kotlin/kotlin_renderers.h"
#include "telvar/generate/road.h"

namespace telvar {

std::optional<std::string> kotlinOutput(const Model& model) {
  using generate::Blocks;
  using generate::Rewrite;

  const std::optional<Value> parsed = generate::parsedInput(model);
  if (!parsed) return std::nullopt;

  const KotlinOptions options = model.kotlinOptions();
  const KotlinMeta meta = options.kotlinMeta();
  const Indentation indentation = model.indentation();
  const std::string header = generate::header(
      {"package " + meta.packageName(), "", "import kotlinx.serialization.*",
       "import kotlinx.serialization.json.*", "import kotlinx.serialization.internal.*"},
      indentation);

  // No enum maps and no dictionary objects: the Kotlin renderers meet neither.
  const Value value = generate::refined(*parsed, model, options.valueMeta(), {},
                                        {Rewrite::ignoredProperties, Rewrite::optionalProperties});

  const generate::kotlin::Style style{meta, indentation};
  const std::int64_t level = indentation.effectiveLevel();
  const generate::Render render = [&](const Code& code) {
    return generate::kotlin::kotlinRendered(code, style, level);
  };

  switch (meta.structureStyle()) {
    case KotlinMeta::StructureStyle::subtypeFirst:
      return generate::subtypeFirstBlocks(value, render).file(header);
    case KotlinMeta::StructureStyle::subtypeLast:
      return generate::subtypeLastBlocks(value, render).file(header);
    case KotlinMeta::StructureStyle::nested:
      break;
  }
  Blocks blocks;
  blocks.add(render(Code(value)));
  return blocks.file(header);
}

}  // namespace telvar
