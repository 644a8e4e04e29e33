#include "telvar/generate/kotlin/kotlin_renderers.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "telvar/generate/kotlin/kotlin_names.h"
#include "telvar/generate/lines.h"
#include "telvar/naming/names.h"
#include "telvar/unicode/text.h"

namespace telvar::generate::kotlin {
namespace {

// The type text of a type that wraps nothing further.
std::string leafType(const PropertyType& type, const KotlinMeta& meta) {
  switch (type.kind()) {
    case PropertyType::Kind::primitive:
      switch (type.primitiveValue().kind()) {
        case Primitive::Kind::bool_:
          return "Boolean";
        case Primitive::Kind::int_:
          return "Long";
        case Primitive::Kind::double_:
          return "Double";
        case Primitive::Kind::string:
          return "String";
        case Primitive::Kind::url:
          return "URL";
        case Primitive::Kind::any:
          return "Any";
        case Primitive::Kind::date:
          return "Date";
      }
      return {};
    case PropertyType::Kind::object:
      return kotlinName(typeName(meta, type.objectValue().names));
    case PropertyType::Kind::dictionary:
    case PropertyType::Kind::enum_:
    case PropertyType::Kind::array:
    case PropertyType::Kind::optional:
      break;
  }
  return {};
}

// The object a property type holds, through lists and nullables; nullptr when it holds none.
const Object* carriedObject(const PropertyType& type) {
  const PropertyType* t = &type;
  while (true) {
    switch (t->kind()) {
      case PropertyType::Kind::object:
        return &t->objectValue();
      case PropertyType::Kind::array:
        t = &t->arrayValue();
        break;
      case PropertyType::Kind::optional:
        t = t->optionalValue();
        if (!t) return nullptr;
        break;
      case PropertyType::Kind::primitive:
      case PropertyType::Kind::dictionary:
      case PropertyType::Kind::enum_:
        return nullptr;
    }
  }
}

bool isNested(const KotlinMeta& meta) {
  return meta.structureStyle() == KotlinMeta::StructureStyle::nested;
}

// The properties in the order the class writes them: sorted by their Kotlin names (stable, by
// scalar values of the canonical composition) for `alphabet`, else the sample's order.
std::vector<const Property*> orderedProperties(const Object& object, const KotlinMeta& meta) {
  std::vector<const Property*> properties;
  properties.reserve(object.properties.size());
  for (const Property& p : object.properties) properties.push_back(&p);
  if (meta.propertySortMethod() != PropertySortMethod::alphabet) return properties;

  std::vector<std::pair<std::string, const Property*>> named;
  named.reserve(properties.size());
  for (const Property* p : properties) named.emplace_back(propertyName(meta, p->names), p);
  std::stable_sort(named.begin(), named.end(), [](const auto& a, const auto& b) {
    return textCompare(a.first, b.first) < 0;
  });
  for (std::size_t i = 0; i < named.size(); ++i) properties[i] = named[i].second;
  return properties;
}

std::string propertyList(const std::vector<const Property*>& properties, const Style& style,
                         std::int64_t level) {
  std::string out;
  bool previousAnnotated = false;
  for (std::size_t i = 0; i < properties.size(); ++i) {
    const std::string declaration = kotlinDeclaration(*properties[i], style, level + 1);
    const bool annotated = declaration.find('@') != std::string::npos;
    if (i > 0) {
      out += ",\n";
      // Annotated declarations stand between blank lines.
      if (annotated || previousAnnotated) out += '\n';
    }
    out += declaration;
    previousAnnotated = annotated;
  }
  return out;
}

// A class whose properties and nested classes are known.
std::string classText(const Object& object, const std::vector<const Property*>& properties,
                      const std::vector<std::string>& nestedClasses, const Style& style,
                      std::int64_t level) {
  const std::string pad = prefix(style.indentation, level);
  const std::string name = kotlinName(typeName(style.meta, object.names));
  std::string out = pad + "@Serializable\n" + pad;
  if (properties.empty()) {
    // A data class needs a constructor parameter: an empty object is a plain class.
    out += "class " + name;
    return out;
  }
  out += "data class " + name + " (\n";
  out += propertyList(properties, style, level);
  out += '\n';
  if (nestedClasses.empty()) {
    out += pad + ")";
    return out;
  }
  out += pad + ") {\n";
  out += joined(nestedClasses, "\n\n");
  out += '\n' + pad + "}";
  return out;
}

// One class being written in the nested style: its properties in order, the next one whose
// nested class is due, and the nested classes written so far (each text once).
struct Frame {
  Frame(const Object& object, std::int64_t level, const KotlinMeta& meta)
      : object(&object), level(level), properties(orderedProperties(object, meta)) {
    // At most one nested class per property: the texts never move, so `seen` can view them.
    nested.reserve(properties.size());
  }

  const Object* object;
  std::int64_t level;
  std::vector<const Property*> properties;
  std::size_t next = 0;
  std::vector<std::string> nested;
  std::unordered_set<std::string_view> seen;
};

}  // namespace

std::string kotlinBaseType(const PropertyType& type, const KotlinMeta& meta) {
  // Walk down the lists and nullables first, so that deep lists cost no call stack.
  std::vector<bool> wrappers;  // true: a list, false: a nullable
  const PropertyType* t = &type;
  std::string inner;
  while (true) {
    if (t->is(PropertyType::Kind::array)) {
      wrappers.push_back(true);
      t = &t->arrayValue();
    } else if (t->is(PropertyType::Kind::optional)) {
      if (!t->optionalValue()) {
        inner = "Any?";
        break;
      }
      wrappers.push_back(false);
      t = t->optionalValue();
    } else {
      inner = leafType(*t, meta);
      break;
    }
  }
  std::string out;
  for (bool list : wrappers) {
    if (list) out += "List<";
  }
  out += inner;
  for (auto it = wrappers.rbegin(); it != wrappers.rend(); ++it) out += *it ? ">" : "?";
  return out;
}

std::string kotlinType(const Property& property, const KotlinMeta& meta) {
  std::optional<std::string> mapped;
  if (meta._typeNameMaps) mapped = nameForPath(*meta._typeNameMaps, property.names);
  if (!mapped) return kotlinBaseType(property.type, meta);

  // A mapped name that names a declared class is written as that class's name; any other
  // names a type of the user's choice, which may be qualified.
  const std::string name =
      property.type.walk() ? kotlinName(*mapped) : kotlinTypeReference(*mapped);
  const PropertyType& type = property.type;
  switch (type.kind()) {
    case PropertyType::Kind::primitive:
    case PropertyType::Kind::object:
    case PropertyType::Kind::enum_:
      return name;
    case PropertyType::Kind::dictionary:
      return kotlinBaseType(type, meta);
    case PropertyType::Kind::array:
      return type.arrayValue().is(PropertyType::Kind::optional) ? "List<" + name + "?>"
                                                                 : "List<" + name + ">";
    case PropertyType::Kind::optional: {
      const PropertyType* wrapped = type.optionalValue();
      return wrapped && wrapped->is(PropertyType::Kind::array) ? "List<" + name + ">?"
                                                               : name + "?";
    }
  }
  return name;
}

std::string kotlinDeclaration(const Property& property, const Style& style, std::int64_t level) {
  const std::string pad = prefix(style.indentation, level);
  const std::string name = propertyName(style.meta, property.names);
  const std::string_view key =
      property.names.empty() ? std::string_view() : std::string_view(property.names.back());

  std::string out;
  // The name the declaration serializes under, once it is written into source.
  if (kotlinIdentifier(name) != key) {
    out += pad + "@SerialName(\"" + kotlinStringContent(key) + "\")\n";
  }
  out += pad;
  out += style.meta.propertyDeclareType() == KotlinMeta::PropertyDeclareType::var ? "var" : "val";
  out += ' ';
  out += kotlinName(name);
  out += ": ";
  out += kotlinType(property, style.meta);
  if (property.type.is(PropertyType::Kind::optional)) out += " = null";
  return out;
}

std::string kotlinPropertyList(const Object& object, const Style& style, std::int64_t level) {
  std::vector<const Property*> properties;
  properties.reserve(object.properties.size());
  for (const Property& p : object.properties) properties.push_back(&p);
  return propertyList(properties, style, level);
}

std::string kotlinClass(const Object& object, const Style& style, std::int64_t level) {
  if (!isNested(style.meta)) {
    return classText(object, orderedProperties(object, style.meta), {}, style, level);
  }
  // Nested classes are written inside their parents: a class is finished once the classes of
  // all its properties are, so the walk keeps its own stack instead of recursing.
  std::vector<Frame> stack;
  stack.emplace_back(object, level, style.meta);
  std::string result;
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next < frame.properties.size()) {
      const Object* child = carriedObject(frame.properties[frame.next++]->type);
      if (child) {
        const std::int64_t childLevel = frame.level + 1;
        stack.emplace_back(*child, childLevel, style.meta);
      }
      continue;
    }
    std::string text = classText(*frame.object, frame.properties, frame.nested, style, frame.level);
    stack.pop_back();
    if (stack.empty()) {
      result = std::move(text);
      break;
    }
    Frame& parent = stack.back();
    if (!parent.seen.contains(text)) {
      parent.nested.push_back(std::move(text));
      parent.seen.insert(parent.nested.back());
    }
  }
  return result;
}

std::optional<std::string> kotlinNestedClass(const PropertyType& type, const Style& style,
                                             std::int64_t level) {
  const Object* object = carriedObject(type);
  if (!object) return std::nullopt;
  return kotlinClass(*object, style, level);
}

std::optional<std::string> kotlinRendered(const Code& code, const Style& style,
                                          std::int64_t level) {
  switch (code.kind()) {
    case Code::Kind::object:
      return kotlinClass(code.objectValue(), style, level);
    case Code::Kind::property:
      return kotlinDeclaration(code.propertyValue(), style, level);
    case Code::Kind::propertyType:
      return kotlinNestedClass(code.propertyTypeValue(), style, level);
    case Code::Kind::dictionary:
      break;
  }
  return std::nullopt;
}

}  // namespace telvar::generate::kotlin
