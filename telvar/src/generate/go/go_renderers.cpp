#include "telvar/generate/go/go_renderers.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <vector>

#include "telvar/generate/go/go_names.h"
#include "telvar/generate/lines.h"
#include "telvar/unicode/text.h"

namespace telvar::generate {
namespace {

using Kind = PropertyType::Kind;

std::string_view primitiveText(const Primitive& primitive) {
  switch (primitive.kind()) {
    case Primitive::Kind::bool_:
      return "bool";
    case Primitive::Kind::int_:
      return "int";
    case Primitive::Kind::double_:
      return "float64";
    case Primitive::Kind::string:
      return "string";
    case Primitive::Kind::url:
      return "URL";
    case Primitive::Kind::date:
      return "Date";
    case Primitive::Kind::any:
      // Go has no type named Any: a value of which nothing is known is an empty interface.
      break;
  }
  return "interface{}";
}

bool isListOfNullables(const PropertyType& type) {
  return type.is(Kind::array) && type.arrayValue().is(Kind::optional);
}

// The order fields are written in: the properties' own, or sorted by field name (stable, by
// scalar values of the composed names).
std::vector<std::size_t> fieldOrder(const GoMeta& meta, const std::vector<std::string>& names) {
  std::vector<std::size_t> order(names.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (meta.propertySortMethod() == PropertySortMethod::alphabet) {
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return textCompare(names[a], names[b]) < 0;
    });
  }
  return order;
}

std::string fieldLine(std::string_view indent, std::string_view name, std::string_view type,
                      const Property& property, bool omitEmpty) {
  std::string line;
  line.reserve(indent.size() + name.size() + type.size() + 24);
  line += indent;
  line += name;
  line += ' ';
  line += type;
  line += ' ';
  line += goTag(goJsonKey(property.names), omitEmpty);
  return line;
}

// The list levels and pointers around a type's innermost type: "[]" per list, "*" per nullable
// type that is not a list (a nil slice already stands for a missing list). `leaf` is nullptr for
// a null of nothing.
struct Wrapped {
  std::string head;
  const PropertyType* leaf = nullptr;
};

Wrapped wrappedType(const PropertyType& type) {
  Wrapped out;
  out.leaf = type.visitWrappers(Wrappers::listsAndNullables, [&](const PropertyType& wrapper) {
    if (wrapper.is(Kind::array)) {
      out.head += "[]";
    } else if (wrapper.optionalValue() && !wrapper.optionalValue()->is(Kind::array)) {
      out.head += '*';
    }
  });
  return out;
}

// An inline type text: `head`, then the anonymous struct of `object` when there is one (a struct
// always ends the text, since wrappers are written before the type they wrap).
struct InlineText {
  std::string head;
  const Object* object = nullptr;
};

InlineText inlineBase(const PropertyType& type) {
  const PropertyType* t = type.innermost(Wrappers::listsAndNullables);
  if (!t) return {"interface{}"};
  if (t->is(Kind::primitive)) return {std::string(primitiveText(t->primitiveValue()))};
  if (t->is(Kind::object)) return {{}, &t->objectValue()};
  return {};
}

// A field's type written out in place: the same list levels and pointers as the named styles,
// around an anonymous struct where they name a type. Type-name maps apply to scalars only.
InlineText inlineFieldText(const Property& property, const GoMeta& meta) {
  const PropertyType& type = property.type;
  if (type.is(Kind::primitive)) return {goType(property, meta)};
  Wrapped wrapped = wrappedType(type);
  if (!wrapped.leaf) return {wrapped.head + "interface{}"};
  switch (wrapped.leaf->kind()) {
    case Kind::primitive:
      return {wrapped.head + std::string(primitiveText(wrapped.leaf->primitiveValue()))};
    case Kind::object:
      return {std::move(wrapped.head), &wrapped.leaf->objectValue()};
    default:
      return {};
  }
}

bool inlineOmitsEmpty(const PropertyType& type, const InlineText& text) {
  if (text.object) return type.is(Kind::optional) || isListOfNullables(type);
  return goOmitsEmpty(type, text.head);
}

// Writes the anonymous struct of `root` at `level`. Nested objects are written with a stack of
// their own instead of recursion, so that samples nested 512 deep cost no call stack.
void appendInlineStruct(std::string& out, const Object& root, const GoMeta& meta,
                        const Indentation& indentation, std::int64_t level) {
  struct Frame {
    const Object* object;
    std::vector<std::string> names;
    std::vector<std::size_t> order;
    std::size_t next = 0;
    std::int64_t level;
    std::string closing;  // the tag of the field the struct is the type of
  };
  auto frame = [&](const Object& object, std::int64_t at, std::string closing) {
    Frame f{&object, goFieldNames(meta, object.properties), {}, 0, at, std::move(closing)};
    f.order = fieldOrder(meta, f.names);
    return f;
  };

  std::vector<Frame> stack;
  out += "struct {";
  stack.push_back(frame(root, level, {}));
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next == top.order.size()) {
      out += '\n';
      out += prefix(indentation, top.level);
      out += '}';
      out += top.closing;
      stack.pop_back();
      continue;
    }
    const std::size_t index = top.order[top.next++];
    const Property& property = top.object->properties[index];
    const InlineText text = inlineFieldText(property, meta);
    std::string tag = goTag(goJsonKey(property.names), inlineOmitsEmpty(property.type, text));

    out += '\n';
    out += prefix(indentation, top.level + 1);
    out += top.names[index];
    out += ' ';
    out += text.head;
    if (text.object) {
      out += "struct {";
      const std::int64_t nestedLevel = top.level + 1;  // `top` dangles after the push
      stack.push_back(frame(*text.object, nestedLevel, " " + tag));
    } else {
      out += ' ';
      out += tag;
    }
  }
}

std::string inlineText(const InlineText& text, const GoMeta& meta, const Indentation& indentation,
                       std::int64_t level) {
  std::string out = text.head;
  if (text.object) appendInlineStruct(out, *text.object, meta, indentation, level);
  return out;
}

}  // namespace

std::string goBaseType(const PropertyType& type, const GoMeta& meta, const TypeNames* types) {
  const Wrapped wrapped = wrappedType(type);
  if (!wrapped.leaf) return wrapped.head + "interface{}";
  switch (wrapped.leaf->kind()) {
    case Kind::primitive:
      return wrapped.head + std::string(primitiveText(wrapped.leaf->primitiveValue()));
    case Kind::object:
      return wrapped.head + goTypeName(meta, wrapped.leaf->objectValue().names, types);
    default:
      return wrapped.head;
  }
}

std::string goType(const Property& property, const GoMeta& meta, const TypeNames* types) {
  const PropertyType& type = property.type;
  if (!meta._typeNameMaps || type.is(Kind::dictionary)) return goBaseType(type, meta, types);
  auto mapped = nameForPath(*meta._typeNameMaps, property.names);
  if (!mapped) return goBaseType(type, meta, types);
  // The mapped name stands for the innermost type: every list level and pointer stays.
  const Wrapped wrapped = wrappedType(type);
  // A null of nothing has no innermost type: the mapped name is a pointer there.
  if (!wrapped.leaf) return wrapped.head + "*" + *mapped;
  return wrapped.head + *mapped;
}

bool goOmitsEmpty(const PropertyType& type, const std::string& typeText) {
  return (type.is(Kind::optional) && typeText != "interface{}") || isListOfNullables(type);
}

std::string goField(const Property& property, const GoMeta& meta, const Indentation& indentation,
                    std::int64_t level, const TypeNames* types) {
  const std::string type = goType(property, meta, types);
  return fieldLine(prefix(indentation, level), goFieldName(meta, property.names), type, property,
                   goOmitsEmpty(property.type, type));
}

std::string goStruct(const Object& object, const GoMeta& meta, const Indentation& indentation,
                     std::int64_t level, const TypeNames* types) {
  const std::vector<std::string> names = goFieldNames(meta, object.properties);
  const std::string outer = prefix(indentation, level);
  const std::string inner = prefix(indentation, level + 1);

  Lines lines;
  lines.add(outer + "type " + goTypeName(meta, object.names, types) + " struct {");
  for (std::size_t index : fieldOrder(meta, names)) {
    const Property& property = object.properties[index];
    const std::string type = goType(property, meta, types);
    lines.add(fieldLine(inner, names[index], type, property, goOmitsEmpty(property.type, type)));
  }
  lines.add(outer + "}");
  return lines.joined();
}

std::optional<std::string> goNestedStruct(const PropertyType& type, const GoMeta& meta,
                                          const Indentation& indentation, std::int64_t level,
                                          const TypeNames* types) {
  const PropertyType* t = type.innermost(Wrappers::listsAndNullables);
  if (!t || !t->is(Kind::object)) return std::nullopt;
  return goStruct(t->objectValue(), meta, indentation, level, types);
}

std::string goInlineStruct(const Object& object, const GoMeta& meta, const Indentation& indentation,
                           std::int64_t level) {
  std::string out;
  appendInlineStruct(out, object, meta, indentation, level);
  return out;
}

std::string goInlineFieldType(const Property& property, const GoMeta& meta,
                              const Indentation& indentation, std::int64_t level) {
  return inlineText(inlineFieldText(property, meta), meta, indentation, level);
}

std::string goInlineBaseType(const PropertyType& type, const GoMeta& meta,
                             const Indentation& indentation, std::int64_t level) {
  return inlineText(inlineBase(type), meta, indentation, level);
}

}  // namespace telvar::generate
