#include "telvar/generate/dart/dart_renderers.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "telvar/generate/code_printer.h"
#include "telvar/generate/dart/dart_names.h"
#include "telvar/generate/literals.h"
#include "telvar/options/shared_records.h"
#include "telvar/threads/chunks.h"
#include "telvar/unicode/text.h"

namespace telvar::generate {
namespace {

using K = PropertyType::Kind;

// ---- Facts about a property type -----------------------------------------------------------

// The object a type holds through lists, maps and nullable types.
const Object* innermostObject(const PropertyType& type) {
  const PropertyType* t = type.innermost();
  return t && t->is(K::object) ? &t->objectValue() : nullptr;
}

bool isArray(const PropertyType& type) {
  const PropertyType* t = type.innermost(Wrappers::nullables);
  return t && t->is(K::array);
}

// Whether reading a JSON value as this type needs more than taking the value as it is.
bool needsConversion(const PropertyType& type) { return innermostObject(type) || isArray(type); }

std::string_view keyOf(const Property& property) {
  return property.names.empty() ? std::string_view("...") : std::string_view(property.names.back());
}

// The text of a primitive, or of a nullable one, as a fixed text: each kind's nullable text,
// whose plain text is the same without the question mark.
std::string_view plainTypeText(const Primitive& primitive, bool nullable) {
  std::string_view text = "dynamic?";  // Dart's name for a value of which nothing is known
  switch (primitive.kind()) {
    case Primitive::Kind::date:
      text = "Date?";
      break;
    case Primitive::Kind::bool_:
      text = "bool?";
      break;
    case Primitive::Kind::int_:
      text = "int?";
      break;
    case Primitive::Kind::double_:
      text = "double?";
      break;
    case Primitive::Kind::string:
      text = "String?";
      break;
    case Primitive::Kind::url:
      text = "URL?";
      break;
    case Primitive::Kind::any:
      break;
  }
  return nullable ? text : text.substr(0, text.size() - 1);
}

// ---- fromJSON and toJSON expressions ---------------------------------------------------------

// Writes the reading of the JSON value `source` (of static type dynamic) as `type`: objects
// through their factory, lists element by element as typed lists, nullable values that need
// converting only when present. Recursion follows the nesting of lists, as deep as the sample's.
void writeRead(CodePrinter& p, const PropertyType& type, std::string_view source,
               const DartMeta& meta, const TypeNames* types) {
  switch (type.kind()) {
    case K::object:
      p.add(dartTypeName(meta, type.objectValue().names, types), ".fromJSON(", source, ")");
      return;
    case K::array:
      p.add(dartBaseType(type, meta, types), ".from(", source, ".map((x) => ");
      writeRead(p, type.arrayValue(), "x", meta, types);
      p.add("))");
      return;
    case K::optional:
      if (type.optionalValue() && needsConversion(*type.optionalValue())) {
        p.add(source, " == null ? null : ");
        writeRead(p, *type.optionalValue(), source, meta, types);
        return;
      }
      break;
    case K::primitive:
    case K::dictionary:
    case K::enum_:
      break;
  }
  p.add(source);
}

// Writes a member without objects inside: the value itself, lists copied as List<dynamic> level
// by level down to the first nullable element.
void writePlainWrite(CodePrinter& p, const PropertyType& type, std::string_view name) {
  if (type.is(K::array)) {
    const PropertyType& element = type.arrayValue();
    p.add("List<dynamic>.from(", name, ".map((x) => ");
    if (element.is(K::array)) {
      writePlainWrite(p, element, "x");
    } else {
      p.add("x");
    }
    p.add("))");
    return;
  }
  if (type.is(K::optional) && type.optionalValue() && type.optionalValue()->is(K::array)) {
    p.add(name, " == null ? null : List<dynamic>.from(", name, "!.map((x) => x))");
    return;
  }
  p.add(name);
}

// Writes the member `name` of `type`: objects through their toJSON (with "?." when nullable),
// lists as List<dynamic> element by element.
void writeWrite(CodePrinter& p, const PropertyType& type, std::string_view name) {
  if (!innermostObject(type)) {
    writePlainWrite(p, type, name);
    return;
  }
  switch (type.kind()) {
    case K::object:
      p.add(name, ".toJSON()");
      return;
    case K::array:
      p.add("List<dynamic>.from(", name, ".map((x) => ");
      writeWrite(p, type.arrayValue(), "x");
      p.add("))");
      return;
    case K::optional: {
      const PropertyType& wrapped = *type.optionalValue();
      if (wrapped.is(K::object)) {
        p.add(name, "?.toJSON()");
        return;
      }
      if (wrapped.is(K::array)) {
        p.add(name, " == null ? null : ");
        writeWrite(p, wrapped, std::string(name) + "!");
        return;
      }
      break;
    }
    case K::primitive:
    case K::dictionary:
    case K::enum_:
      break;
  }
  p.add(name);
}

// Whether fromJSON takes a member's JSON value as it is, and toJSON writes the member as it is:
// most members, each written on its line in one go (wide-object-100: 200,000 of them).
bool readAsIs(const PropertyType& type) {
  const PropertyType* wrapped = type.is(K::optional) ? type.optionalValue() : nullptr;
  return !type.is(K::object) && !type.is(K::array) &&
         !(wrapped && (wrapped->is(K::object) || wrapped->is(K::array)));
}
bool writtenAsIs(const PropertyType& type) {
  return !innermostObject(type) && !type.is(K::array) &&
         !(type.is(K::optional) && type.optionalValue() && type.optionalValue()->is(K::array));
}

// Writes the right-hand side of the fromJSON line of a property not read as it is. The
// outermost list or object is named by the property's own type text T (T' without its "?" when
// nullable), so that a type-name map shows; lists of lists are named from their innermost type
// at every level.
void writeFromJSONValue(CodePrinter& p, const Property& property, std::string_view typeText,
                        std::string_view key, const DartMeta& meta, const TypeNames* types) {
  const PropertyType& type = property.type;
  const PropertyType* wrapped = type.is(K::optional) ? type.optionalValue() : nullptr;
  const std::string source = "json[\"" + std::string(key) + "\"]";
  const std::string_view unwrapped =
      typeText.empty() ? typeText : typeText.substr(0, typeText.size() - 1);
  switch (type.kind()) {
    case K::object:
      p.add(typeText, ".fromJSON(", source, ")");
      return;
    case K::array:
      if (type.arrayValue().is(K::array)) {
        writeRead(p, type, source, meta, types);
        return;
      }
      p.add(typeText, ".from(", source, ".map((x) => ");
      writeRead(p, type.arrayValue(), "x", meta, types);
      p.add("))");
      return;
    case K::optional: {
      if (wrapped && wrapped->is(K::object)) {
        p.add(source, " == null ? null : ", unwrapped, ".fromJSON(", source, ")");
        return;
      }
      if (wrapped && wrapped->is(K::array)) {
        p.add(source, " == null ? null : ", unwrapped, ".from(", source, ".map((x) => ");
        writeRead(p, wrapped->arrayValue(), "x", meta, types);
        p.add("))");
        return;
      }
      break;
    }
    case K::primitive:
    case K::dictionary:
    case K::enum_:
      break;
  }
  p.add(source);
}

// ---- One class ---------------------------------------------------------------------------------

// What a member's lines are written from: its property, its name and its type text, viewed for
// the line at hand.
struct Member {
  const Property* property;
  std::string_view name;
  std::string_view type;  // T; empty where the line does not write it
  bool plainKey;          // whether the key is written as it is between quotes
};

// The key as written inside a string literal: the key itself when nothing in it is escaped (most
// keys), else its escaped text, kept in `spare`.
std::string_view literalKey(const Member& m, std::string& spare) {
  const std::string_view key = keyOf(*m.property);
  if (m.plainKey) return key;
  spare = dartStringContent(key);
  return spare;
}

// The type text T: a fixed text for most members, else formed into `spare`.
std::string_view typeText(const Property& property, const DartMeta& meta, const TypeNames* types,
                          std::string& spare) {
  // A primitive, a nullable primitive or a type only ever null, unless a name map may name it.
  if (!meta._typeNameMaps) {
    const PropertyType& type = property.type;
    if (const Primitive* primitive = type.plainPrimitive()) {
      return plainTypeText(*primitive, type.is(K::optional));
    }
    if (type.is(K::optional) && !type.optionalValue()) return "Null";
  }
  spare = dartType(property, meta, types);
  return spare;
}

// The class or mapped name that a property's type text refers to; empty when none.
std::string namedType(const Property& property, const DartMeta& meta, const TypeNames* types) {
  if (meta._typeNameMaps && !property.type.is(K::dictionary)) {
    if (auto mapped = nameForPath(*meta._typeNameMaps, property.names)) return std::move(*mapped);
  }
  const Object* object = innermostObject(property.type);
  return object ? dartTypeName(meta, object->names, types) : std::string();
}

bool isNullableText(std::string_view type) {
  return (!type.empty() && type.back() == '?') || type == "Null" || type == "dynamic";
}

// One property's member as the public functions give it, named apart from its class: the name
// and any formed type text are kept in `name` and `spare`.
Member memberOf(const Property& property, const DartMeta& meta, const TypeNames* types,
                std::string& name, std::string& spare) {
  name = dartPropertyName(meta, property.names);
  return Member{&property, name, typeText(property, meta, types, spare),
                isPlainLiteral(keyOf(property))};
}

// The members of a class in the order it writes them, named so that none hides the class or a
// type the class refers to, and none repeats another. A wide class holds its members through all
// its sections, so it keeps for each only a byte (whether its key is a plain literal) besides
// the one text of all the names, which are made there rather than as a text each, and the order
// where that is not the properties' own; the key and the type are read from the property where
// a line writes them (wide-100: 200,000 members at 1 byte and their names at 12, instead of 104
// bytes with the name, key and type each a text of its own). A wide class's members are looked
// at in chunks: wide-1000's 2,000,000 members took 60 ms of the calling thread when it kept a
// record of 24 bytes for each, written in one pass into memory taken afresh.
class Members {
 public:
  Members(const Object& object, const std::string& className, const DartMeta& meta,
          const TypeNames* types)
      : m_properties(&object.properties), m_meta(meta), m_types(types) {
    const std::vector<Property>& properties = object.properties;
    const std::size_t chunks = chunksFor(properties.size(), kMembersAChunk);
    // A member may not share its class's name, and one named like a type the class refers to
    // would hide that type from the class body.
    std::vector<std::vector<std::string>> named(chunks);
    forChunks(properties.size(), chunks,
              [&](std::size_t chunk, std::size_t begin, std::size_t end) {
                for (std::size_t i = begin; i < end; ++i) {
                  if (std::string type = namedType(properties[i], meta, types); !type.empty()) {
                    named[chunk].push_back(std::move(type));
                  }
                }
              });
    std::unordered_set<std::string> typeNames{className};
    for (std::vector<std::string>& chunk : named) {
      for (std::string& type : chunk) typeNames.insert(std::move(type));
    }
    NameList names = formedNames(properties, [&](const Property& property) {
      std::string name = dartPropertyName(meta, property.names);
      if (typeNames.contains(name)) name += '_';
      return name;
    });
    m_names = distinctNames(std::move(names), NumberStyle::appended, typeNames);
    m_plainKeys.resize(m_names.size());
    forChunks(m_names.size(), chunks, [&](std::size_t, std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) {
        m_plainKeys[i] = isPlainLiteral(keyOf(properties[i])) ? 1 : 0;
      }
    });
    if (meta.propertySortMethod() == PropertySortMethod::alphabet) {
      m_order = alphabeticalOrder(m_names);
    }
  }

  [[nodiscard]] std::size_t size() const noexcept { return m_names.size(); }
  [[nodiscard]] bool empty() const noexcept { return m_names.empty(); }

  /// The `i`th member in writing order; its type text too when `spare` is given, formed into it
  /// when it is not a fixed text.
  [[nodiscard]] Member at(std::size_t i, std::string* spare = nullptr) const {
    const std::size_t j = m_order.empty() ? i : m_order[i];
    const Property& property = (*m_properties)[j];
    return Member{&property, m_names[j],
                  spare ? typeText(property, m_meta, m_types, *spare) : std::string_view(),
                  m_plainKeys[j] != 0};
  }

 private:
  const std::vector<Property>* m_properties;
  const DartMeta& m_meta;
  const TypeNames* m_types;
  NameList m_names;
  // Whether each key is a plain literal: checked once, not in each section that writes it.
  std::vector<std::uint8_t> m_plainKeys;
  std::vector<std::size_t> m_order;  // the properties' positions in writing order, when sorted
};

// ---- The lines of one member in each section -------------------------------------------------

void writeField(CodePrinter& p, const Member& m, bool isFinal) {
  p.line(isFinal ? "final " : "", m.type, " ", m.name, ";");
}

void writeConstructorParameter(CodePrinter& p, const Member& m) {
  const bool required = !m.property->type.is(K::optional);
  p.line(required ? "required " : "", "this.", m.name, ",");
}

void writeCopyWithParameter(CodePrinter& p, const Member& m) {
  p.line(m.type, isNullableText(m.type) ? "" : "?", " ", m.name, ",");
}

void writeCopyWithArgument(CodePrinter& p, const Member& m) {
  p.line(m.name, ": ", m.name, " ?? this.", m.name, ",");
}

void writeFromJSON(CodePrinter& p, const Member& m, const DartMeta& meta, const TypeNames* types) {
  std::string spare;
  const std::string_view key = literalKey(m, spare);
  if (readAsIs(m.property->type)) {
    p.line(m.name, ": json[\"", key, "\"],");
    return;
  }
  p.line(m.name, ": ");
  writeFromJSONValue(p, *m.property, m.type, key, meta, types);
  p.add(",");
}

void writeToJSON(CodePrinter& p, const Member& m) {
  std::string spare;
  const std::string_view key = literalKey(m, spare);
  if (writtenAsIs(m.property->type)) {
    p.line("\"", key, "\": ", m.name, ",");
    return;
  }
  p.line("\"", key, "\": ");
  writeWrite(p, m.property->type, m.name);
  p.add(",");
}

// The class at the printer's level: fields, constructor, and the methods the options ask for,
// each section's lines one level in from the member that opens it.
void writeClass(CodePrinter& p, const Object& object, const DartMeta& meta,
                const TypeNames* types) {
  const std::string k = dartTypeName(meta, object.names, types);
  const Members members(object, k, meta, types);
  const bool empty = members.empty();
  // Measured for a text that holds the class whole; a drained one takes a megabyte at a time
  // (wide-1000: 2,000,000 type texts formed only to be measured).
  if (!p.drains()) {
    std::string spare;
    // Each member's line in each section the options ask for; a list or an object's conversion
    // writes its type and key again.
    const bool copyWith = meta.needsCopyWith();
    const bool fromJSON = meta.needsFromJSON();
    const bool toJSON = meta.needsToJSON();
    const std::size_t sections = 2 + (copyWith ? 2 : 0) + (fromJSON ? 1 : 0) + (toJSON ? 1 : 0);
    std::size_t text = 0;
    for (std::size_t i = 0; i < members.size(); ++i) {
      const Member m = members.at(i, &spare);
      const std::size_t name = m.name.size();
      const std::size_t type = m.type.size();
      const std::size_t key = keyOf(*m.property).size();
      text += type + name + 8 + name + 15;
      if (copyWith) text += type + name + 3 + 3 * name + 12;
      if (fromJSON) text += name + key + 11;
      if (toJSON) text += key + name + 5;
      if (needsConversion(m.property->type)) text += 2 * type + key + 64;
    }
    p.reserve(sections * members.size(), text, 2);
  }

  p.line("class ", k, " {");
  {
    auto body = p.indented();
    const bool isFinal = meta.allPropertiesFinal();
    // Nothing written is read back: the text so far may go to the drain before each member.
    p.members(members.size(), [&](CodePrinter& q, std::size_t i) {
      std::string spare;
      writeField(q, members.at(i, &spare), isFinal);
    });

    p.blank();
    if (empty) {
      // "K({})" is not Dart: a class without fields has a constructor without parameters.
      p.line(k, "();");
    } else {
      p.line(k, "({");
      {
        auto parameters = p.indented();
        p.members(members.size(), [&](CodePrinter& q, std::size_t i) {
          writeConstructorParameter(q, members.at(i));
        });
      }
      p.line("});");
    }

    if (meta.needsCopyWith()) {
      p.blank();
      if (empty) {
        p.line(k, " copyWith() => ", k, "();");
      } else {
        p.line(k, " copyWith({");
        {
          auto parameters = p.indented();
          p.members(members.size(), [&](CodePrinter& q, std::size_t i) {
            std::string spare;
            writeCopyWithParameter(q, members.at(i, &spare));
          });
        }
        p.line("}) => ", k, "(");
        {
          auto arguments = p.indented();
          p.members(members.size(), [&](CodePrinter& q, std::size_t i) {
            writeCopyWithArgument(q, members.at(i));
          });
        }
        p.line(");");
      }
    }

    if (meta.needsFromJSON()) {
      p.blank();
      p.line("factory ", k, ".fromJSON(Map<String, dynamic> json) => ", k, "(");
      {
        auto arguments = p.indented();
        p.members(members.size(), [&](CodePrinter& q, std::size_t i) {
          std::string spare;
          writeFromJSON(q, members.at(i, &spare), meta, types);
        });
      }
      p.line(");");
    }

    if (meta.needsToJSON()) {
      p.blank();
      p.line("Map<String, dynamic> toJSON() => {");
      {
        auto entries = p.indented();
        p.members(members.size(),
                  [&](CodePrinter& q, std::size_t i) { writeToJSON(q, members.at(i)); });
      }
      p.line("};");
    }
  }
  p.line("}");
}

// One member's line of a section, as the public functions give it: at `level`, or after the
// caller's `prefix` (one step of indentation made of it).
template <typename Write>
std::string memberLine(const Indentation& indentation, std::int64_t level, Write&& write) {
  std::string out;
  CodePrinter p(out, indentation, level);
  write(p);
  return out;
}

template <typename Write>
std::string memberLine(std::string_view prefix, Write&& write) {
  std::string out;
  CodePrinter p(out, prefix, 1);
  write(p);
  return out;
}

}  // namespace

std::optional<std::string> dartRendered(const Code& code, const DartMeta& meta,
                                        const Indentation& indentation, const TypeNames* types) {
  std::string out;
  CodePrinter p(out, indentation, indentation.effectiveLevel());
  if (!writeDartCode(p, code, meta, types)) return std::nullopt;
  return out;
}

bool writeDartCode(CodePrinter& p, const Code& code, const DartMeta& meta, const TypeNames* types) {
  switch (code.kind()) {
    case Code::Kind::object:
      writeClass(p, code.objectValue(), meta, types);
      return true;
    case Code::Kind::property: {
      std::string name, spare;
      writeField(p, memberOf(code.propertyValue(), meta, types, name, spare),
                 meta.allPropertiesFinal());
      return true;
    }
    case Code::Kind::propertyType: {
      const PropertyType* t = code.propertyTypeValue().innermost(Wrappers::listsAndNullables);
      if (!t || !t->is(K::object)) return false;
      writeClass(p, t->objectValue(), meta, types);
      return true;
    }
    case Code::Kind::dictionary:
      return false;
  }
  return false;
}

std::string dartClass(const Object& object, const DartMeta& meta, const Indentation& indentation,
                      const TypeNames* types) {
  std::string out;
  CodePrinter p(out, indentation, indentation.effectiveLevel());
  writeClass(p, object, meta, types);
  return out;
}

std::string dartType(const Property& property, const DartMeta& meta, const TypeNames* types) {
  std::optional<std::string> mapped;
  if (meta._typeNameMaps) mapped = nameForPath(*meta._typeNameMaps, property.names);
  const PropertyType& type = property.type;
  if (!mapped || type.is(K::dictionary)) return dartBaseType(type, meta, types);
  switch (type.kind()) {
    case K::array:
      return "List<" + *mapped + (type.arrayValue().is(K::optional) ? "?>" : ">");
    case K::optional:
      if (type.optionalValue() && type.optionalValue()->is(K::array)) {
        return "List<" + *mapped + ">?";
      }
      return *mapped + "?";
    case K::primitive:
    case K::object:
    case K::enum_:
    case K::dictionary:
      return *mapped;
  }
  return *mapped;
}

std::string dartBaseType(const PropertyType& type, const DartMeta& meta, const TypeNames* types) {
  // A primitive or a nullable primitive, most members, named without the walk.
  if (const Primitive* primitive = type.plainPrimitive()) {
    std::string out(plainTypeText(*primitive, false));
    if (type.is(K::optional)) out += '?';
    return out;
  }
  // Lists and nullable types wrap the innermost text; walk down once, then close outwards. The
  // text is written in place, without a text for each part (wide-100: 200,000 member types).
  std::size_t lists = 0;
  std::string close;  // reversed: the closing texts of the wrappers, innermost last
  const PropertyType* t =
      type.visitWrappers(Wrappers::listsAndNullables, [&](const PropertyType& wrapper) {
        if (wrapper.is(K::array)) {
          ++lists;
          close += '>';
        } else if (wrapper.optionalValue()) {
          close += '?';  // a nullable of nothing is written as the plain `Null`
        }
      });
  std::string out;
  for (std::size_t i = 0; i < lists; ++i) out += "List<";
  if (!t) {
    out += "Null";
  } else if (t->is(K::primitive)) {
    out += plainTypeText(t->primitiveValue(), false);
  } else if (t->is(K::object)) {
    out += dartTypeName(meta, t->objectValue().names, types);
  }  // maps and enumerations never reach the Dart output; they have no text of their own
  out.append(close.rbegin(), close.rend());
  return out;
}

std::vector<std::string> dartConstructorParameters(const std::vector<Property>& properties,
                                                   const std::string& prefix, const DartMeta& meta,
                                                   const TypeNames* types) {
  std::vector<std::string> lines;
  lines.reserve(properties.size());
  for (const Property& property : properties) {
    lines.push_back(memberLine(prefix, [&](CodePrinter& p) {
      std::string name, spare;
      writeConstructorParameter(p, memberOf(property, meta, types, name, spare));
    }));
  }
  return lines;
}

void dartCopyWithParameter(const Property& property, const DartMeta& meta,
                           const std::string& prefix, std::vector<std::string>& lines,
                           const TypeNames* types) {
  lines.push_back(memberLine(prefix, [&](CodePrinter& p) {
    std::string name, spare;
    writeCopyWithParameter(p, memberOf(property, meta, types, name, spare));
  }));
}

void dartCopyWithArgument(const Property& property, const DartMeta& meta, const std::string& prefix,
                          std::vector<std::string>& lines, const TypeNames* types) {
  lines.push_back(memberLine(prefix, [&](CodePrinter& p) {
    std::string name, spare;
    writeCopyWithArgument(p, memberOf(property, meta, types, name, spare));
  }));
}

std::string dartFromJSON(const Property& property, std::int64_t level,
                         const Indentation& indentation, const DartMeta& meta,
                         const TypeNames* types) {
  return memberLine(indentation, level, [&](CodePrinter& p) {
    std::string name, spare;
    writeFromJSON(p, memberOf(property, meta, types, name, spare), meta, types);
  });
}

std::string dartToJSON(const Property& property, std::int64_t level, const Indentation& indentation,
                       const DartMeta& meta, const TypeNames* types) {
  return memberLine(indentation, level, [&](CodePrinter& p) {
    std::string name, spare;
    writeToJSON(p, memberOf(property, meta, types, name, spare));
  });
}

}  // namespace telvar::generate
