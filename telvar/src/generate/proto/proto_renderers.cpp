#include "telvar/generate/proto/proto_renderers.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "telvar/generate/code_printer.h"

namespace telvar::generate {
namespace {

using Kind = PropertyType::Kind;

// The object a type holds through lists and nullable types, or nullptr.
const Object* heldObject(const PropertyType& type) {
  const PropertyType* t = type.innermost(Wrappers::listsAndNullables);
  return t && t->is(Kind::object) ? &t->objectValue() : nullptr;
}

// The label a field's type takes: "repeated " for a list or a nullable list, "optional " for any
// other nullable type.
std::string_view fieldLabel(const PropertyType& type) {
  switch (type.kind()) {
    case Kind::array:
      return "repeated ";
    case Kind::optional: {
      const PropertyType* wrapped = type.optionalValue();
      return wrapped && wrapped->is(Kind::array) ? "repeated " : "optional ";
    }
    default:
      return "";
  }
}

// A dictionary has no field: its place stays an empty line.
void writeField(CodePrinter& printer, const Property& property, std::size_t position,
                const ProtoFieldName& name, const ProtoMeta& meta, const TypeNames* types) {
  if (property.type.is(Kind::dictionary)) {
    printer.blank();
    return;
  }
  // The texts go in at once and the number after them: a line of texts alone grows the text once.
  printer.line(fieldLabel(property.type), protoType(property, meta, types), ' ', name.identifier,
               " = ");
  printer.add(protoFieldNumber(position));
  if (name.jsonName) printer.add(" [json_name = ", protoStringLiteral(*name.jsonName), ']');
  printer.add(';');
}

// The fields of a message whose nested messages are named `nestedNames`, and its closing brace.
void closeMessage(CodePrinter& printer, const Object& object,
                  const std::vector<std::string>& nestedNames, const ProtoMeta& meta,
                  const TypeNames* types) {
  const std::vector<Property>& properties = object.properties;
  const ProtoFieldNames names(properties, nestedNames);
  {
    auto body = printer.indented();
    // Each field's line: label, type and number, its name, a message's name as long as the
    // field's, and the JSON name when it has one (wide-1000: 127 MB reserved for a text of
    // 86 MB when every type was taken as long as the name).
    std::size_t text = names.characters() + 32 * names.size();
    for (std::size_t i = 0; i < properties.size(); ++i) {
      const ProtoFieldName name = names[i];
      if (heldObject(properties[i].type)) text += name.identifier.size();
      if (name.jsonName) text += name.jsonName->size() + 20;
    }
    printer.reserve(names.size(), text);
    printer.members(properties.size(), [&](CodePrinter& p, std::size_t i) {
      writeField(p, properties[i], i, names[i], meta, types);
    });
  }
  printer.line('}');
}

// Writes the message of `root` at the printer's level; in the nested style, the messages of the
// objects its properties hold go inside it, one level deeper, each once and followed by an
// empty line. Nested messages are written before the fields of the message that holds them; an
// explicit stack keeps deep samples off the call stack.
void writeMessage(CodePrinter& printer, const Object& root, const ProtoMeta& meta,
                  const TypeNames* types) {
  printer.line("message ", protoTypeName(meta, root.names, types), " {");
  if (meta.structureStyle() != ProtoMeta::StructureStyle::nested) {
    closeMessage(printer, root, {}, meta, types);
    return;
  }
  // Where a nested message's text stands: as offsets, since the text moves as it grows.
  struct Written {
    CodePrinter::Mark start;
    std::size_t size;
  };
  // A message being written: its opening line is written, its nested messages follow as they
  // are found, and the fields and the closing brace come last.
  struct Frame {
    const Object* object;
    std::vector<std::string> nestedNames;  // messages declared inside it, which its fields avoid
    std::vector<Written> nested;           // the nested messages kept in it
    std::size_t next = 0;                  // the property whose nested message comes next
    CodePrinter::Mark start{};             // where its own text began, inside its parent
  };
  std::vector<Frame> stack;
  stack.push_back({&root, {}, {}, 0, {}});
  // While nested messages are written, texts are compared and taken back: none is drained.
  CodePrinter::Hold held;
  while (true) {
    Frame& frame = stack.back();
    const auto depth = static_cast<std::int64_t>(stack.size());
    const std::vector<Property>& properties = frame.object->properties;
    const Object* child = nullptr;
    while (!child && frame.next < properties.size()) {
      child = heldObject(properties[frame.next++].type);
    }
    if (child) {
      if (!held.holds()) held = printer.hold();
      std::string name = protoTypeName(meta, child->names, types);
      const CodePrinter::Mark start = printer.mark();
      {
        auto nested = printer.indented(depth);
        printer.line("message ", name, " {");
      }
      frame.nestedNames.push_back(std::move(name));
      stack.push_back({child, {}, {}, 0, start});  // `frame` is not used after this
      continue;
    }
    // The root's fields come after all its nested messages, and nothing reads them back.
    if (stack.size() == 1) held = CodePrinter::Hold();
    {
      auto at = printer.indented(depth - 1);
      closeMessage(printer, *frame.object, frame.nestedNames, meta, types);
    }
    const CodePrinter::Mark start = frame.start;
    stack.pop_back();
    if (stack.empty()) return;
    // A message equal to one already declared in the same parent is taken back.
    std::vector<Written>& siblings = stack.back().nested;
    const std::string_view text = printer.since(start);
    const bool repeated = std::any_of(siblings.begin(), siblings.end(), [&](const Written& w) {
      return printer.since(w.start).substr(0, w.size) == text;
    });
    if (repeated) {
      printer.takeBack(start);
    } else {
      siblings.push_back({start, text.size()});
      printer.blank();
    }
  }
}

}  // namespace

std::string protoBaseType(const PropertyType& type, const ProtoMeta& meta, const TypeNames* types) {
  const PropertyType* t = type.innermost(Wrappers::listsAndNullables);
  if (!t) return "Value";  // a nullable of nothing
  switch (t->kind()) {
    case Kind::primitive:
      switch (t->primitiveValue().kind()) {
        case Primitive::Kind::bool_:
          return "bool";
        case Primitive::Kind::int_:
          return "int64";
        case Primitive::Kind::double_:
          return "double";
        case Primitive::Kind::string:
          return "string";
        case Primitive::Kind::url:
          return "URL";
        case Primitive::Kind::any:
          return "Value";
        case Primitive::Kind::date:
          return "Date";
      }
      return "";
    case Kind::object:
      return protoTypeName(meta, t->objectValue().names, types);
    case Kind::dictionary:
    case Kind::enum_:
    case Kind::array:  // looked through above
    case Kind::optional:
      break;
  }
  return "";
}

std::string protoType(const Property& property, const ProtoMeta& meta, const TypeNames* types) {
  if (!property.type.is(Kind::dictionary) && meta._typeNameMaps) {
    if (auto mapped = nameForPath(*meta._typeNameMaps, property.names)) return std::move(*mapped);
  }
  return protoBaseType(property.type, meta, types);
}

std::string protoField(const Property& property, std::size_t position, const ProtoFieldName& name,
                       const ProtoMeta& meta, const Indentation& indentation, std::int64_t level,
                       const TypeNames* types) {
  std::string out;
  CodePrinter printer(out, indentation, level);
  writeField(printer, property, position, name, meta, types);
  return out;
}

std::string protoMessage(const Object& object, const ProtoMeta& meta,
                         const Indentation& indentation, std::int64_t level,
                         const TypeNames* types) {
  std::string out;
  CodePrinter printer(out, indentation, level);
  writeMessage(printer, object, meta, types);
  return out;
}

bool writeProtoCode(CodePrinter& printer, const Code& code, const ProtoMeta& meta,
                    const TypeNames* types) {
  const Object* object = nullptr;
  switch (code.kind()) {
    case Code::Kind::object:
      object = &code.objectValue();
      break;
    case Code::Kind::propertyType:
      object = heldObject(code.propertyTypeValue());
      break;
    case Code::Kind::property:
    case Code::Kind::dictionary:
      break;
  }
  if (!object) return false;
  writeMessage(printer, *object, meta, types);
  return true;
}

}  // namespace telvar::generate
