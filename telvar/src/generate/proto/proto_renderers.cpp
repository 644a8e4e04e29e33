#include "telvar/generate/proto/proto_renderers.h"

#include <vector>

#include "telvar/generate/lines.h"

namespace telvar::generate {
namespace {

using Kind = PropertyType::Kind;

// The object a type holds through lists and nullable types, or nullptr.
const Object* heldObject(const PropertyType& type) {
  const PropertyType* t = type.innermost(Wrappers::listsAndNullables);
  return t && t->is(Kind::object) ? &t->objectValue() : nullptr;
}

// A message being written: its opening line is in `lines`, its nested messages are added as
// they are finished, and the fields and the closing brace come last.
struct MessageFrame {
  const Object* object;
  std::int64_t level;
  Lines lines;
  std::vector<std::string> nestedNames;  // messages declared inside it, which its fields avoid
  std::size_t next = 0;                  // the property whose nested message comes next
};

MessageFrame openedMessage(const Object& object, const std::string& name,
                           const Indentation& indentation, std::int64_t level) {
  MessageFrame frame{&object, level, {}, {}, 0};
  frame.lines.add(prefix(indentation, level) + "message " + name + " {");
  return frame;
}

std::string closedMessage(MessageFrame& frame, const ProtoMeta& meta,
                          const Indentation& indentation, const TypeNames* types) {
  const std::vector<Property>& properties = frame.object->properties;
  const std::vector<ProtoFieldName> names = protoFieldNames(properties, frame.nestedNames);
  for (std::size_t i = 0; i < properties.size(); ++i) {
    frame.lines.add(
        protoField(properties[i], i, names[i], meta, indentation, frame.level + 1, types));
  }
  frame.lines.add(prefix(indentation, frame.level) + "}");
  return frame.lines.joined();
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
  std::string_view label;
  switch (property.type.kind()) {
    case Kind::dictionary:
      return "";
    case Kind::array:
      label = "repeated ";
      break;
    case Kind::optional: {
      const PropertyType* wrapped = property.type.optionalValue();
      label = wrapped && wrapped->is(Kind::array) ? "repeated " : "optional ";
      break;
    }
    default:
      break;
  }
  std::string line = prefix(indentation, level);
  line += label;
  line += protoType(property, meta, types);
  line += ' ';
  line += name.identifier;
  line += " = ";
  line += std::to_string(protoFieldNumber(position));
  if (name.jsonName) {
    line += " [json_name = ";
    line += protoStringLiteral(*name.jsonName);
    line += ']';
  }
  line += ';';
  return line;
}

std::string protoMessage(const Object& object, const ProtoMeta& meta,
                         const Indentation& indentation, std::int64_t level,
                         const TypeNames* types) {
  MessageFrame root =
      openedMessage(object, protoTypeName(meta, object.names, types), indentation, level);
  if (meta.structureStyle() != ProtoMeta::StructureStyle::nested) {
    return closedMessage(root, meta, indentation, types);
  }
  // Nested messages are finished before the message that holds them; an explicit stack keeps
  // deep samples off the call stack.
  std::vector<MessageFrame> stack;
  stack.push_back(std::move(root));
  std::optional<std::string> finished;
  while (true) {
    MessageFrame& frame = stack.back();
    if (finished) {
      if (!frame.lines.contains(*finished)) {
        frame.lines.add(std::move(*finished));
        frame.lines.addBlank();
      }
      finished.reset();
    }
    const std::vector<Property>& properties = frame.object->properties;
    const Object* child = nullptr;
    while (!child && frame.next < properties.size()) {
      child = heldObject(properties[frame.next++].type);
    }
    if (child) {
      std::string name = protoTypeName(meta, child->names, types);
      frame.nestedNames.push_back(name);
      MessageFrame opened = openedMessage(*child, name, indentation, frame.level + 1);
      stack.push_back(std::move(opened));  // `frame` is not used after this
      continue;
    }
    std::string text = closedMessage(frame, meta, indentation, types);
    stack.pop_back();
    if (stack.empty()) return text;
    finished = std::move(text);
  }
}

std::optional<std::string> protoNestedMessage(const PropertyType& type, const ProtoMeta& meta,
                                              const Indentation& indentation, std::int64_t level,
                                              const TypeNames* types) {
  const Object* object = heldObject(type);
  if (!object) return std::nullopt;
  return protoMessage(*object, meta, indentation, level, types);
}

}  // namespace telvar::generate
