#include <memory>

#include "telvar/generate/code_printer.h"
#include "telvar/generate/generate.h"
#include "telvar/generate/road.h"
#include "telvar/generate/swift/swift_renderer.h"

namespace telvar {
namespace {

using generate::Blocks;
using generate::CodePrinter;
using generate::Rewrite;
using generate::swift::SwiftRenderer;

// The last key of each dictionary object's path: such keys declare no type of their own, so an
// extension path leaves them out.
std::vector<std::string> dictionaryKeys(const ValueMeta& valueMeta) {
  std::vector<std::string> keys;
  if (!valueMeta._dictionaryObjects) return keys;
  for (const DictionaryObject& record : *valueMeta._dictionaryObjects) {
    const std::string& path = record.path();
    const std::size_t dot = path.rfind('.');
    keys.push_back(dot == std::string::npos ? path : path.substr(dot + 1));
  }
  return keys;
}

// The root's declaration, then each nested type's in an extension of the type that encloses it.
// The sample (moved in) goes once the nested types are listed, as in `subtypeLastBlocks`.
Blocks nestedInExtensionBlocks(Value root, const Code& rootCode, const SwiftRenderer& renderer,
                               const Indentation& indentation, const ValueMeta& valueMeta) {
  const std::int64_t level = indentation.effectiveLevel();
  const std::vector<Code> nested =
      generate::nestedCodes(root, rootCode, generate::Order::parentFirst);
  root = Value();
  Blocks blocks;
  blocks.add(renderer.render(rootCode, level));
  const std::vector<std::string> leaveOut = dictionaryKeys(valueMeta);
  generate::swift::TypePathMemo memo;
  for (const Code& code : nested) {
    const std::string path = renderer.typePath(code, leaveOut, memo);
    if (path.empty()) {
      // No type encloses it (its parent is a dictionary at the root): it stands at the top
      // level, where "extension  {" would not compile.
      blocks.add(renderer.render(code, level));
      continue;
    }
    // The extension stands at the left margin; what it declares, one level in from the
    // document's level.
    std::string block;
    CodePrinter p(block, indentation, 0);
    p.line("extension ", path, " {");
    {
      auto body = p.indented(level + 1);
      if (!renderer.write(p, code)) continue;
    }
    p.line("}");
    blocks.add(block);
  }
  return blocks;
}

}  // namespace

std::optional<std::string> swiftOutput(const Model& model, SampleText sample,
                                       const TextDrain& drain) {
  std::optional<Value> parsed = generate::parsedInput(std::move(sample));
  if (!parsed) return std::nullopt;

  const SwiftOptions options = model.swiftOptions();
  const SwiftMeta meta = options.swiftMeta();
  const ValueMeta valueMeta = options.valueMeta();
  const Indentation indentation = model.indentation();

  Value root = generate::refined(
      std::move(*parsed), model, valueMeta, meta.propertyEnumMaps(),
      {Rewrite::ignoredProperties, Rewrite::optionalProperties, Rewrite::dictionaryObjects});
  SwiftRenderer renderer(meta, indentation);
  // Every style renders the very code the names come from: inferring it once spares a second
  // walk of every member (an eighth of the time on wide records).
  const Code rootCode(root);
  const generate::TypeNames types = renderer.typeNames(rootCode);
  renderer.useTypeNames(&types);
  if (meta.structureStyle() == SwiftMeta::StructureStyle::nested) {
    // The code holds all that is written from here on: the sample goes before the file is
    // written (a fifth less memory at the peak on wide records).
    root = Value();
    // One declaration holds every other.
    return generate::oneDeclarationFile(
        generate::swift::swiftHeader(meta, indentation), indentation, drain,
        [&](CodePrinter& p) { return renderer.write(p, rootCode); });
  }

  const std::string header = generate::swift::swiftHeader(meta, indentation);
  const generate::Write write = [&](CodePrinter& p, const Code& code) {
    return renderer.write(p, code);
  };
  switch (meta.structureStyle()) {
    case SwiftMeta::StructureStyle::nested:  // written above
    case SwiftMeta::StructureStyle::nestedInExtension:
      break;
    case SwiftMeta::StructureStyle::subtypeFirst:
      // When the root is a dictionary it declares its value's type, which the nested values
      // already wrote, and a second equal declaration would not compile.
      return generate::subtypeFile(std::move(root), rootCode, header, indentation, drain, write,
                                   generate::RootPlace::lastUnlessRepeated);
    case SwiftMeta::StructureStyle::subtypeLast:
      return generate::subtypeFile(std::move(root), rootCode, header, indentation, drain, write,
                                   generate::RootPlace::first);
  }
  return nestedInExtensionBlocks(std::move(root), rootCode, renderer, indentation, valueMeta)
      .file(header);
}

}  // namespace telvar
