#include "telvar/generate/dart/dart_renderers.h"

#include <algorithm>
#include <unordered_set>

#include "telvar/generate/dart/dart_names.h"
#include "telvar/generate/lines.h"
#include "telvar/options/shared_records.h"
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

const char* primitiveText(const Primitive& primitive) {
  switch (primitive.kind()) {
    case Primitive::Kind::date:
      return "Date";
    case Primitive::Kind::bool_:
      return "bool";
    case Primitive::Kind::int_:
      return "int";
    case Primitive::Kind::double_:
      return "double";
    case Primitive::Kind::string:
      return "String";
    case Primitive::Kind::url:
      return "URL";
    case Primitive::Kind::any:
      // Dart's name for a value of which nothing is known.
      return "dynamic";
  }
  return "dynamic";
}

std::string indent(const Indentation& indentation, std::int64_t count) {
  return prefix(indentation, count);
}

std::string keyOf(const Property& property) {
  return property.names.empty() ? std::string("...") : property.names.back();
}

// ---- fromJSON and toJSON expressions ---------------------------------------------------------

// Reads the JSON value `source` (of static type dynamic) as `type`: objects through their
// factory, lists element by element as typed lists, nullable values that need converting only
// when present. Recursion follows the nesting of lists, as deep as the sample's.
std::string readExpression(const PropertyType& type, const std::string& source,
                           const DartMeta& meta, const TypeNames* types) {
  switch (type.kind()) {
    case K::object:
      return dartTypeName(meta, type.objectValue().names, types) + ".fromJSON(" + source + ")";
    case K::array:
      return dartBaseType(type, meta, types) + ".from(" + source + ".map((x) => " +
             readExpression(type.arrayValue(), "x", meta, types) + "))";
    case K::optional:
      if (type.optionalValue() && needsConversion(*type.optionalValue())) {
        return source +
               " == null ? null : " + readExpression(*type.optionalValue(), source, meta, types);
      }
      return source;
    case K::primitive:
    case K::dictionary:
    case K::enum_:
      return source;
  }
  return source;
}

// Writes a member without objects inside: the value itself, lists copied as List<dynamic> level
// by level down to the first nullable element.
std::string plainWriteExpression(const PropertyType& type, const std::string& name) {
  if (type.is(K::array)) {
    const PropertyType& element = type.arrayValue();
    const std::string inner = element.is(K::array) ? plainWriteExpression(element, "x") : "x";
    return "List<dynamic>.from(" + name + ".map((x) => " + inner + "))";
  }
  if (type.is(K::optional) && type.optionalValue() && type.optionalValue()->is(K::array)) {
    return name + " == null ? null : List<dynamic>.from(" + name + "!.map((x) => x))";
  }
  return name;
}

// Writes the member `name` of `type`: objects through their toJSON (with "?." when nullable),
// lists as List<dynamic> element by element.
std::string writeExpression(const PropertyType& type, const std::string& name) {
  if (!innermostObject(type)) return plainWriteExpression(type, name);
  switch (type.kind()) {
    case K::object:
      return name + ".toJSON()";
    case K::array:
      return "List<dynamic>.from(" + name + ".map((x) => " +
             writeExpression(type.arrayValue(), "x") + "))";
    case K::optional: {
      const PropertyType& wrapped = *type.optionalValue();
      if (wrapped.is(K::object)) return name + "?.toJSON()";
      if (wrapped.is(K::array)) {
        return name + " == null ? null : " + writeExpression(wrapped, name + "!");
      }
      return name;
    }
    case K::primitive:
    case K::dictionary:
    case K::enum_:
      return name;
  }
  return name;
}

// The right-hand side of a property's fromJSON line. The outermost list or object is named by
// the property's own type text T (T' without its "?" when nullable), so that a type-name map
// shows; lists of lists are named from their innermost type at every level.
std::string fromJSONValue(const Property& property, const std::string& typeText,
                          const std::string& key, const DartMeta& meta, const TypeNames* types) {
  const PropertyType& type = property.type;
  const std::string source = "json[\"" + key + "\"]";
  const std::string unwrapped =
      typeText.empty() ? typeText : typeText.substr(0, typeText.size() - 1);
  switch (type.kind()) {
    case K::object:
      return typeText + ".fromJSON(" + source + ")";
    case K::array:
      if (type.arrayValue().is(K::array)) return readExpression(type, source, meta, types);
      return typeText + ".from(" + source + ".map((x) => " +
             readExpression(type.arrayValue(), "x", meta, types) + "))";
    case K::optional: {
      const PropertyType* wrapped = type.optionalValue();
      if (wrapped && wrapped->is(K::object)) {
        return source + " == null ? null : " + unwrapped + ".fromJSON(" + source + ")";
      }
      if (wrapped && wrapped->is(K::array)) {
        return source + " == null ? null : " + unwrapped + ".from(" + source + ".map((x) => " +
               readExpression(wrapped->arrayValue(), "x", meta, types) + "))";
      }
      return source;
    }
    case K::primitive:
    case K::dictionary:
    case K::enum_:
      return source;
  }
  return source;
}

// ---- One class ---------------------------------------------------------------------------------

// What every section of a class writes for one property, formed once.
struct Member {
  const Property* property;
  std::string name;
  std::string key;   // escaped for a string literal
  std::string type;  // T
};

Member memberOf(const Property& property, const DartMeta& meta, const TypeNames* types) {
  return Member{&property, dartPropertyName(meta, property.names),
                dartStringContent(keyOf(property)), dartType(property, meta, types)};
}

// The class or mapped name that a property's type text refers to; empty when none.
std::string namedType(const Property& property, const DartMeta& meta, const TypeNames* types) {
  if (meta._typeNameMaps && !property.type.is(K::dictionary)) {
    if (auto mapped = nameForPath(*meta._typeNameMaps, property.names)) return std::move(*mapped);
  }
  const Object* object = innermostObject(property.type);
  return object ? dartTypeName(meta, object->names, types) : std::string();
}

bool isNullableText(const std::string& type) {
  return (!type.empty() && type.back() == '?') || type == "Null" || type == "dynamic";
}

std::string fieldLine(const Member& m, const std::string& prefix, bool isFinal) {
  return prefix + (isFinal ? "final " : "") + m.type + " " + m.name + ";";
}

std::string constructorParameterLine(const Member& m, const std::string& prefix) {
  const bool required = !m.property->type.is(K::optional);
  return prefix + (required ? "required " : "") + "this." + m.name + ",";
}

std::string copyWithParameterLine(const Member& m, const std::string& prefix) {
  return prefix + m.type + (isNullableText(m.type) ? "" : "?") + " " + m.name + ",";
}

std::string copyWithArgumentLine(const Member& m, const std::string& prefix) {
  return prefix + m.name + ": " + m.name + " ?? this." + m.name + ",";
}

std::string fromJSONLine(const Member& m, const std::string& prefix, const DartMeta& meta,
                         const TypeNames* types) {
  return prefix + m.name + ": " + fromJSONValue(*m.property, m.type, m.key, meta, types) + ",";
}

std::string toJSONLine(const Member& m, const std::string& prefix) {
  return prefix + "\"" + m.key + "\": " + writeExpression(m.property->type, m.name) + ",";
}

}  // namespace

std::optional<std::string> dartRendered(const Code& code, const DartMeta& meta,
                                        const Indentation& indentation, const TypeNames* types) {
  switch (code.kind()) {
    case Code::Kind::object:
      return dartClass(code.objectValue(), meta, indentation, types);
    case Code::Kind::property:
      return dartFieldDeclaration(code.propertyValue(), indentation.effectiveLevel(), indentation,
                                  meta, types);
    case Code::Kind::propertyType:
      return dartNestedClass(code.propertyTypeValue(), meta, indentation, types);
    case Code::Kind::dictionary:
      return std::nullopt;
  }
  return std::nullopt;
}

std::string dartClass(const Object& object, const DartMeta& meta, const Indentation& indentation,
                      const TypeNames* types) {
  const std::string k = dartTypeName(meta, object.names, types);
  const std::string i0 = indent(indentation, indentation.effectiveLevel());
  const std::string i1 = i0 + std::string(indentation.effectiveUnit());
  const std::string i2 = i1 + std::string(indentation.effectiveUnit());

  std::vector<Member> members;
  members.reserve(object.properties.size());
  // A member may not share its class's name, and one named like a type the class refers to would
  // hide that type from the class body.
  std::unordered_set<std::string> typeNames{k};
  for (const Property& property : object.properties) {
    members.push_back(memberOf(property, meta, types));
    if (std::string named = namedType(property, meta, types); !named.empty()) {
      typeNames.insert(std::move(named));
    }
  }
  for (Member& m : members) {
    if (typeNames.contains(m.name)) m.name += '_';
  }
  {
    std::vector<std::string> names;
    names.reserve(members.size());
    for (Member& m : members) names.push_back(std::move(m.name));
    names = distinctNames(std::move(names), NumberStyle::appended, typeNames);
    for (std::size_t i = 0; i < members.size(); ++i) members[i].name = std::move(names[i]);
  }
  if (meta.propertySortMethod() == PropertySortMethod::alphabet) {
    std::stable_sort(members.begin(), members.end(), [](const Member& a, const Member& b) {
      return textCompare(a.name, b.name) < 0;
    });
  }
  const bool empty = members.empty();

  Lines lines;
  lines.add(i0 + "class " + k + " {");
  const bool isFinal = meta.allPropertiesFinal();
  for (const Member& m : members) lines.add(fieldLine(m, i1, isFinal));

  lines.addBlank();
  if (empty) {
    // "K({})" is not Dart: a class without fields has a constructor without parameters.
    lines.add(i1 + k + "();");
  } else {
    lines.add(i1 + k + "({");
    for (const Member& m : members) lines.add(constructorParameterLine(m, i2));
    lines.add(i1 + "});");
  }

  if (meta.needsCopyWith()) {
    lines.addBlank();
    if (empty) {
      lines.add(i1 + k + " copyWith() => " + k + "();");
    } else {
      lines.add(i1 + k + " copyWith({");
      for (const Member& m : members) lines.add(copyWithParameterLine(m, i2));
      lines.add(i1 + "}) => " + k + "(");
      for (const Member& m : members) lines.add(copyWithArgumentLine(m, i2));
      lines.add(i1 + ");");
    }
  }

  if (meta.needsFromJSON()) {
    lines.addBlank();
    lines.add(i1 + "factory " + k + ".fromJSON(Map<String, dynamic> json) => " + k + "(");
    for (const Member& m : members) lines.add(fromJSONLine(m, i2, meta, types));
    lines.add(i1 + ");");
  }

  if (meta.needsToJSON()) {
    lines.addBlank();
    lines.add(i1 + "Map<String, dynamic> toJSON() => {");
    for (const Member& m : members) lines.add(toJSONLine(m, i2));
    lines.add(i1 + "};");
  }

  lines.add(i0 + "}");
  return lines.joined();
}

std::optional<std::string> dartNestedClass(const PropertyType& type, const DartMeta& meta,
                                           const Indentation& indentation, const TypeNames* types) {
  const PropertyType* t = type.innermost(Wrappers::listsAndNullables);
  if (!t || !t->is(K::object)) return std::nullopt;
  return dartClass(t->objectValue(), meta, indentation, types);
}

std::string dartFieldDeclaration(const Property& property, std::int64_t level,
                                 const Indentation& indentation, const DartMeta& meta,
                                 const TypeNames* types) {
  return fieldLine(memberOf(property, meta, types), indent(indentation, level),
                   meta.allPropertiesFinal());
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
  // Lists and nullable types wrap the innermost text; walk down once, then close outwards.
  std::string open;
  std::string close;  // reversed: the closing texts of the wrappers, innermost last
  const PropertyType* t =
      type.visitWrappers(Wrappers::listsAndNullables, [&](const PropertyType& wrapper) {
        if (wrapper.is(K::array)) {
          open += "List<";
          close += '>';
        } else if (wrapper.optionalValue()) {
          close += '?';  // a nullable of nothing is written as the plain `Null`
        }
      });
  std::string inner;
  if (!t) {
    inner = "Null";
  } else if (t->is(K::primitive)) {
    inner = primitiveText(t->primitiveValue());
  } else if (t->is(K::object)) {
    inner = dartTypeName(meta, t->objectValue().names, types);
  }  // maps and enumerations never reach the Dart output; they have no text of their own
  std::reverse(close.begin(), close.end());
  return open + inner + close;
}

std::vector<std::string> dartConstructorParameters(const std::vector<Property>& properties,
                                                   const std::string& prefix, const DartMeta& meta,
                                                   const TypeNames* types) {
  std::vector<std::string> lines;
  lines.reserve(properties.size());
  for (const Property& property : properties) {
    lines.push_back(constructorParameterLine(memberOf(property, meta, types), prefix));
  }
  return lines;
}

void dartCopyWithParameter(const Property& property, const DartMeta& meta,
                           const std::string& prefix, std::vector<std::string>& lines,
                           const TypeNames* types) {
  lines.push_back(copyWithParameterLine(memberOf(property, meta, types), prefix));
}

void dartCopyWithArgument(const Property& property, const DartMeta& meta, const std::string& prefix,
                          std::vector<std::string>& lines, const TypeNames* types) {
  lines.push_back(copyWithArgumentLine(memberOf(property, meta, types), prefix));
}

std::string dartFromJSON(const Property& property, std::int64_t level,
                         const Indentation& indentation, const DartMeta& meta,
                         const TypeNames* types) {
  return fromJSONLine(memberOf(property, meta, types), indent(indentation, level), meta, types);
}

std::string dartToJSON(const Property& property, std::int64_t level, const Indentation& indentation,
                       const DartMeta& meta, const TypeNames* types) {
  return toJSONLine(memberOf(property, meta, types), indent(indentation, level));
}

}  // namespace telvar::generate
