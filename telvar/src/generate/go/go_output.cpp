#include "telvar/generate/generate.h"
#include "telvar/generate/go/go_names.h"
#include "telvar/generate/go/go_renderers.h"
#include "telvar/generate/road.h"

namespace telvar {
namespace {

// A declaration of the named styles at the printer's level: an object's struct, the struct of
// the object inside any other type, a lone field's line; a dictionary declares nothing here.
bool writeNamedDeclaration(generate::CodePrinter& printer, const Code& code, const GoMeta& meta,
                           const Indentation& indentation, const generate::TypeNames& types) {
  switch (code.kind()) {
    case Code::Kind::object:
      generate::writeGoStruct(printer, code.objectValue(), meta, &types);
      return true;
    case Code::Kind::propertyType: {
      const PropertyType* t = code.propertyTypeValue().innermost(Wrappers::listsAndNullables);
      if (!t || !t->is(PropertyType::Kind::object)) return false;
      generate::writeGoStruct(printer, t->objectValue(), meta, &types);
      return true;
    }
    case Code::Kind::property:
      printer.block(
          generate::goField(code.propertyValue(), meta, indentation, printer.level(), &types));
      return true;
    case Code::Kind::dictionary:
      break;
  }
  return false;
}

// The inline style's one declaration: the root's type written out in place after its name. The
// "type" line itself takes no indent; the root's fields stand one level below the document's.
bool writeInlineDeclaration(generate::CodePrinter& printer, const Code& code, const GoMeta& meta,
                            const Model& model) {
  printer.add("type ", generate::goInlineRootName(meta, model.modelName()), ' ');
  switch (code.kind()) {
    case Code::Kind::object:
      generate::writeGoInlineStruct(printer, code.objectValue(), meta);
      break;
    case Code::Kind::property:
      generate::writeGoInlineFieldType(printer, code.propertyValue(), meta);
      break;
    case Code::Kind::propertyType:
      generate::writeGoInlineBaseType(printer, code.propertyTypeValue(), meta);
      break;
    case Code::Kind::dictionary:
      break;
  }
  return true;
}

// Options with nothing set. GCC 12 at -O1 takes the moves of the empty optionals inside for
// reads of uninitialised memory.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
GoOptions unsetGoOptions() { return GoOptions(ValueMeta(), GoMeta()); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

}  // namespace

std::optional<std::string> goOutput(const Model& model, SampleText sample, const TextDrain& drain) {
  std::optional<Value> parsed = generate::parsedInput(std::move(sample));
  if (!parsed) return std::nullopt;

  // The stored records are read in place; unset ones read as records with nothing set.
  static const GoOptions unsetOptions = unsetGoOptions();
  const GoOptions& options = model._goOptions ? *model._goOptions : unsetOptions;
  const GoMeta& meta = options._goMeta ? *options._goMeta : *unsetOptions._goMeta;
  const ValueMeta& valueMeta = options._valueMeta ? *options._valueMeta : *unsetOptions._valueMeta;
  const Indentation indentation = model.indentation();
  // Every Go file needs a package clause: an empty name is the default package's.
  std::string package = meta.packageName();
  if (package.empty()) package = GoMeta::defaultPackageName();
  const std::string header = generate::header({"package " + package}, indentation);
  // Go has no enumerations or dictionaries here: no enum maps, no dictionary-objects rewrite.
  Value root = generate::refined(
      std::move(*parsed), model, valueMeta, {},
      {generate::Rewrite::ignoredProperties, generate::Rewrite::optionalProperties});

  // One inference serves the names and the declarations.
  const Code rootCode(root);
  generate::TypeNames types;
  if (meta.structureStyle() != GoMeta::StructureStyle::inline_) {
    types = generate::goTypeNames(rootCode, meta);
  }
  const generate::Write write = [&](generate::CodePrinter& printer, const Code& code) {
    return writeNamedDeclaration(printer, code, meta, indentation, types);
  };
  switch (meta.structureStyle()) {
    case GoMeta::StructureStyle::inline_:
      break;
    case GoMeta::StructureStyle::subtypeFirst:
      return generate::subtypeFile(std::move(root), rootCode, header, indentation, drain, write,
                                   generate::RootPlace::last);
    case GoMeta::StructureStyle::subtypeLast:
      return generate::subtypeFile(std::move(root), rootCode, header, indentation, drain, write,
                                   generate::RootPlace::first);
  }
  root = Value();  // the code holds all that is written: the sample goes first
  return generate::oneDeclarationFile(header, indentation, drain, [&](auto& printer) {
    return writeInlineDeclaration(printer, rootCode, meta, model);
  });
}

}  // namespace telvar
