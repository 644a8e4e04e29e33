#include "telvar/generate/go/go_renderers.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "telvar/generate/go/go_names.h"
#include "telvar/generate/literals.h"
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

// The order fields are written in when sorted by field name (stable, by scalar values of the
// composed names); empty in the properties' own order, which needs no list of its own (wide-1000:
// 16 MB).
std::vector<std::size_t> fieldOrder(const GoMeta& meta, const NameList& names) {
  if (meta.propertySortMethod() != PropertySortMethod::alphabet) return {};
  return alphabeticalOrder(names);
}

// The field at `position` in the written order.
std::size_t fieldAt(const std::vector<std::size_t>& order, std::size_t position) {
  return order.empty() ? position : order[position];
}

// Room for the field lines of `names`: each a name, a type and a tag whose key is taken as long
// as the name.
void reserveFields(CodePrinter& printer, const NameList& names, std::int64_t steps) {
  printer.reserve(names.size(), 2 * names.characters() + 32 * names.size(), steps);
}

// A space and a field's tag after what the line holds. A key that needs no escape and holds no
// backquote (most keys) makes a raw tag written in place, as `goTag` would write it, without a
// text of its own.
void addTag(CodePrinter& printer, std::string_view key, bool omitEmpty) {
  if (isPlainLiteral(key) && key.find('`') == std::string_view::npos) {
    printer.add(" `json:\"", key, goTagOptions(key, omitEmpty), "\"`");
    return;
  }
  printer.add(' ', goTag(key, omitEmpty));
}

// One field line: "Name Type `json:\"key\"`".
void writeField(CodePrinter& printer, std::string_view name, std::string_view type,
                const Property& property, bool omitEmpty) {
  printer.line(name, ' ', type);
  addTag(printer, goJsonKey(property.names), omitEmpty);
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

// Whether a field's inline type holds an anonymous struct, as `inlineFieldText` writes it.
bool holdsObject(const PropertyType& type) {
  const PropertyType* t = type.innermost(Wrappers::listsAndNullables);
  return t && t->is(Kind::object);
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

// Writes the anonymous struct of `root` after what the printer's current line holds, its fields
// one level deeper than the printer's level. Nested objects are written with a stack of their
// own instead of recursion, so that samples nested 512 deep cost no call stack; a struct's
// fields stand one level deeper per open struct.
void writeInlineStruct(CodePrinter& printer, const Object& root, const GoMeta& meta) {
  struct Frame {
    const Object* object;
    NameList names;
    std::vector<std::size_t> order;
    std::size_t next = 0;
    std::string tag;  // of the field the struct is the type of; none for the root
  };
  std::vector<Frame> stack;
  auto frame = [&](const Object& object, std::string tag) {
    Frame f{&object, goFieldNames(meta, object.properties), {}, 0, std::move(tag)};
    f.order = fieldOrder(meta, f.names);
    reserveFields(printer, f.names, static_cast<std::int64_t>(stack.size()) + 1);
    return f;
  };

  printer.add("struct {");
  stack.push_back(frame(root, {}));
  while (!stack.empty()) {
    printer.settle();  // nothing written is read back
    Frame& top = stack.back();
    const auto depth = static_cast<std::int64_t>(stack.size());
    if (top.next == top.names.size()) {
      {
        auto closing = printer.indented(depth - 1);
        printer.line('}');
      }
      if (!top.tag.empty()) printer.add(' ', top.tag);
      stack.pop_back();
      continue;
    }
    // A run of fields without a struct of their own (all of a wide record's) is written as the
    // members of a type are.
    std::size_t runEnd = top.next;
    while (runEnd < top.names.size() &&
           !holdsObject(top.object->properties[fieldAt(top.order, runEnd)].type)) {
      ++runEnd;
    }
    if (runEnd > top.next) {
      const Frame& run = top;
      auto field = printer.indented(depth);
      printer.members(runEnd - run.next, [&, first = run.next](CodePrinter& p, std::size_t i) {
        const std::size_t index = fieldAt(run.order, first + i);
        const Property& property = run.object->properties[index];
        const InlineText text = inlineFieldText(property, meta);
        p.line(run.names[index], ' ', text.head);
        addTag(p, goJsonKey(property.names), inlineOmitsEmpty(property.type, text));
      });
      top.next = runEnd;
      continue;
    }
    const std::size_t index = fieldAt(top.order, top.next++);
    const Property& property = top.object->properties[index];
    const InlineText text = inlineFieldText(property, meta);
    const std::string_view key = goJsonKey(property.names);
    const bool omitEmpty = inlineOmitsEmpty(property.type, text);
    {
      auto field = printer.indented(depth);
      printer.line(top.names[index], ' ', text.head);
    }
    if (text.object) {
      printer.add("struct {");
      stack.push_back(frame(*text.object, goTag(key, omitEmpty)));  // `top` dangles from here
    } else {
      addTag(printer, key, omitEmpty);
    }
  }
}

void writeInlineText(CodePrinter& printer, const InlineText& text, const GoMeta& meta) {
  printer.add(text.head);
  if (text.object) writeInlineStruct(printer, *text.object, meta);
}

std::string inlineText(const InlineText& text, const GoMeta& meta, const Indentation& indentation,
                       std::int64_t level) {
  std::string out;
  CodePrinter printer(out, indentation, level);
  writeInlineText(printer, text, meta);
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
  std::string out;
  CodePrinter printer(out, indentation, level);
  writeField(printer, goFieldName(meta, property.names), type, property,
             goOmitsEmpty(property.type, type));
  return out;
}

void writeGoStruct(CodePrinter& printer, const Object& object, const GoMeta& meta,
                   const TypeNames* types) {
  const NameList names = goFieldNames(meta, object.properties);
  const std::vector<std::size_t> order = fieldOrder(meta, names);
  printer.line("type ", goTypeName(meta, object.names, types), " struct {");
  {
    auto body = printer.indented();
    reserveFields(printer, names, 0);
    printer.members(names.size(), [&](CodePrinter& p, std::size_t position) {
      const std::size_t index = fieldAt(order, position);
      const Property& property = object.properties[index];
      const std::string type = goType(property, meta, types);
      writeField(p, names[index], type, property, goOmitsEmpty(property.type, type));
    });
  }
  printer.line('}');
}

void writeGoInlineStruct(CodePrinter& printer, const Object& object, const GoMeta& meta) {
  writeInlineStruct(printer, object, meta);
}

void writeGoInlineFieldType(CodePrinter& printer, const Property& property, const GoMeta& meta) {
  writeInlineText(printer, inlineFieldText(property, meta), meta);
}

void writeGoInlineBaseType(CodePrinter& printer, const PropertyType& type, const GoMeta& meta) {
  writeInlineText(printer, inlineBase(type), meta);
}

std::string goInlineStruct(const Object& object, const GoMeta& meta, const Indentation& indentation,
                           std::int64_t level) {
  std::string out;
  CodePrinter printer(out, indentation, level);
  writeInlineStruct(printer, object, meta);
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
