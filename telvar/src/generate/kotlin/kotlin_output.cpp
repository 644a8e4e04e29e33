#include "telvar/generate/generate.h"
#include "telvar/generate/kotlin/kotlin_renderers.h"
#include "telvar/generate/road.h"

namespace telvar {

std::optional<std::string> kotlinOutput(const Model& model, SampleText sample,
                                        const TextDrain& drain) {
  using generate::Rewrite;

  std::optional<Value> parsed = generate::parsedInput(std::move(sample));
  if (!parsed) return std::nullopt;

  // The options are read in place where they are set; an unset record reads as one with every
  // field unset.
  const KotlinOptions* options = model._kotlinOptions ? &*model._kotlinOptions : nullptr;
  const KotlinMeta unsetMeta;
  const ValueMeta unsetValueMeta;
  const KotlinMeta& meta = options && options->_kotlinMeta ? *options->_kotlinMeta : unsetMeta;
  const ValueMeta& valueMeta =
      options && options->_valueMeta ? *options->_valueMeta : unsetValueMeta;
  const Indentation indentation = model.indentation();
  // An empty package name means the default package, which has no package line ("package "
  // alone does not compile).
  const std::string package = meta.packageName();
  const std::string header =
      package.empty()
          ? generate::header(
                {"import kotlinx.serialization.*", "import kotlinx.serialization.json.*",
                 "import kotlinx.serialization.internal.*"},
                indentation)
          : generate::header(
                {"package " + package, "", "import kotlinx.serialization.*",
                 "import kotlinx.serialization.json.*", "import kotlinx.serialization.internal.*"},
                indentation);

  // No enum maps and no dictionary objects: the Kotlin renderers meet neither.
  Value value = generate::refined(std::move(*parsed), model, valueMeta, {},
                                  {Rewrite::ignoredProperties, Rewrite::optionalProperties});

  // One inference serves the names and the declarations.
  const Code rootCode(value);
  const generate::TypeNames types = generate::kotlin::kotlinTypeNames(rootCode, meta);
  const generate::kotlin::Style style{meta, indentation, &types};
  const generate::Write write = [&](generate::CodePrinter& p, const Code& code) {
    return generate::kotlin::writeKotlinCode(p, code, style);
  };

  switch (meta.structureStyle()) {
    case KotlinMeta::StructureStyle::subtypeFirst:
      return generate::subtypeFile(std::move(value), rootCode, header, indentation, drain, write,
                                   generate::RootPlace::last);
    case KotlinMeta::StructureStyle::subtypeLast:
      return generate::subtypeFile(std::move(value), rootCode, header, indentation, drain, write,
                                   generate::RootPlace::first);
    case KotlinMeta::StructureStyle::nested:
      break;
  }
  value = Value();  // the code holds all that is written: the sample goes first
  return generate::oneDeclarationFile(header, indentation, drain,
                                      [&](generate::CodePrinter& p) { return write(p, rootCode); });
}

}  // namespace telvar
