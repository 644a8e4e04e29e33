#include "telvar/generate/generate.h"
#include "telvar/generate/road.h"
#include "telvar/generate/schema/schema_renderer.h"

namespace telvar {

// A schema describes an object, so only a root object (or a single property) writes one; there is
// no header, and no dictionary rewrite or enum map takes part.
std::optional<std::string> schemaOutput(const Model& model, SampleText sample,
                                        const TextDrain& drain) {
  std::optional<Value> parsed = generate::parsedInput(std::move(sample));
  if (!parsed) return std::nullopt;
  const SchemaOptions options = model.schemaOptions();
  // Only the code is written from: the refined sample goes as soon as it is inferred.
  const Code code(generate::refined(
      std::move(*parsed), model, options.valueMeta(), {},
      {generate::Rewrite::ignoredProperties, generate::Rewrite::optionalProperties}));

  const Indentation indentation = model.indentation();
  const generate::schema::Style style{indentation.effectiveUnit(),
                                      options.schemaMeta().propertySortMethod()};
  const std::int64_t level = indentation.effectiveLevel();
  switch (code.kind()) {
    case Code::Kind::object:
      return generate::schema::objectSchema(code.objectValue().properties, level, style, &drain);
    case Code::Kind::property:
      return generate::schema::propertySchema(code.propertyValue(), level, style, &drain);
    case Code::Kind::dictionary:
    case Code::Kind::propertyType:
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace telvar
