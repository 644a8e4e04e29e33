#include "telvar/generate/generate.h"
#include "telvar/generate/proto/proto_renderers.h"
#include "telvar/generate/road.h"

namespace telvar {
namespace {

using generate::Blocks;

// The header: the syntax line, an empty line and the package line. A proto file without a
// package is written without the package statement: "package ;" would not compile.
std::string protoHeader(const ProtoMeta& meta, const Indentation& indentation) {
  const std::string package = meta.packageName();
  if (package.empty()) return generate::header({"syntax = \"proto3\";"}, indentation);
  const std::string packageLine = "package " + package + ";";
  return generate::header({"syntax = \"proto3\";", "", packageLine}, indentation);
}

// An object gives its message; any other type the message of the object it holds.
std::optional<std::string> rendered(const Code& code, const ProtoMeta& meta,
                                    const Indentation& indentation,
                                    const generate::TypeNames& types) {
  std::string out;
  generate::CodePrinter printer(out, indentation, indentation.effectiveLevel());
  if (!generate::writeProtoCode(printer, code, meta, &types)) return std::nullopt;
  return out;
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
  const generate::Render render = [&](const Code& code) {
    return rendered(code, meta, indentation, types);
  };

  Blocks blocks;
  switch (meta.structureStyle()) {
    case ProtoMeta::StructureStyle::nested:
      value = Value();  // the code holds all that is written: the sample goes first
      return generate::oneDeclarationFile(
          protoHeader(meta, indentation), indentation, drain, [&](generate::CodePrinter& p) {
            return generate::writeProtoCode(p, rootCode, meta, &types);
          });
    case ProtoMeta::StructureStyle::subtypeFirst:
      blocks = generate::subtypeFirstBlocks(std::move(value), rootCode, render);
      break;
    case ProtoMeta::StructureStyle::subtypeLast:
      blocks = generate::subtypeLastBlocks(std::move(value), rootCode, render);
      break;
  }
  return std::move(blocks).file(protoHeader(meta, indentation));
}

}  // namespace telvar
