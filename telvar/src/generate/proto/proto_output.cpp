#include "telvar/generate/generate.h"
#include "telvar/generate/proto/proto_renderers.h"
#include "telvar/generate/road.h"

namespace telvar {
namespace {

// The header: the syntax line, an empty line and the package line. A proto file without a
// package is written without the package statement: "package ;" would not compile.
std::string protoHeader(const ProtoMeta& meta, const Indentation& indentation) {
  const std::string package = meta.packageName();
  if (package.empty()) return generate::header({"syntax = \"proto3\";"}, indentation);
  const std::string packageLine = "package " + package + ";";
  return generate::header({"syntax = \"proto3\";", "", packageLine}, indentation);
}

}  // namespace

std::optional<std::string> protoOutput(const Model& model, SampleText sample,
                                       const TextDrain& drain) {
  std::optional<Value> parsed = generate::parsedInput(std::move(sample));
  if (!parsed) return std::nullopt;
  const ProtoOptions options = model.protoOptions();
  const ProtoMeta meta = options.protoMeta();
  const Indentation indentation = model.indentation();
  // Ignored properties, dictionary objects and enum maps do not apply to proto.
  Value value = generate::refined(std::move(*parsed), model, options.valueMeta(), {},
                                  {generate::Rewrite::optionalProperties});
  // One inference serves the names and the declarations.
  const Code rootCode(value);
  const generate::TypeNames types = generate::protoTypeNames(rootCode, meta);
  // An object gives its message; any other type the message of the object it holds.
  const generate::Write write = [&](generate::CodePrinter& p, const Code& code) {
    return generate::writeProtoCode(p, code, meta, &types);
  };
  const std::string header = protoHeader(meta, indentation);
  switch (meta.structureStyle()) {
    case ProtoMeta::StructureStyle::nested:
      break;
    case ProtoMeta::StructureStyle::subtypeFirst:
      return generate::subtypeFile(std::move(value), rootCode, header, indentation, drain, write,
                                   generate::RootPlace::last);
    case ProtoMeta::StructureStyle::subtypeLast:
      return generate::subtypeFile(std::move(value), rootCode, header, indentation, drain, write,
                                   generate::RootPlace::first);
  }
  value = Value();  // the code holds all that is written: the sample goes first
  return generate::oneDeclarationFile(header, indentation, drain,
                                      [&](generate::CodePrinter& p) { return write(p, rootCode); });
}

}  // namespace telvar
