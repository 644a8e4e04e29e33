#include "telvar/generate/kotlin/kotlin_renderers.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "telvar/generate/kotlin/kotlin_names.h"
#include "telvar/generate/lines.h"
#include "telvar/naming/names.h"
#include "telvar/unicode/text.h"

namespace telvar::generate::kotlin {
namespace {

// The names the generated file uses for types of the language and of kotlinx.serialization,
// sorted. A class of ours with one of these names would hide the real one wherever it is seen.
constexpr std::array<std::string_view, 10> kShadowedNames{
    "Any",  "Boolean",    "Date",         "Double", "List",
    "Long", "SerialName", "Serializable", "String", "URL"};

// The identifier a class declares: a name that would hide a type the file uses takes "Type"
// after it.
std::string classIdentifier(std::string_view name) {
  static_assert(std::is_sorted(kShadowedNames.begin(), kShadowedNames.end()));
  std::string identifier = kotlinIdentifier(name);
  if (std::binary_search(kShadowedNames.begin(), kShadowedNames.end(), identifier)) {
    identifier += "Type";
  }
  return identifier;
}

// The class name formed for a key path, as an identifier; a type-name map hit as typed.
std::string formedClassName(const KotlinMeta& meta, const Names& path) {
  if (meta._typeNameMaps) {
    if (auto mapped = nameForPath(*meta._typeNameMaps, path)) return std::move(*mapped);
  }
  return classIdentifier(typeName(meta, path));
}

// The class name as written in source: the user's own name as typed, a formed one quoted when
// Kotlin needs it.
std::string writtenClassName(const Object& object, const KotlinMeta& meta, const TypeNames* types) {
  if (meta._typeNameMaps) {
    if (auto mapped = nameForPath(*meta._typeNameMaps, object.names))
      return kotlinMappedName(*mapped);
  }
  if (types) {
    if (const std::string* name = types->find(object.names)) return kotlinName(*name);
  }
  return kotlinName(formedClassName(meta, object.names));
}

// The type text of a type that wraps nothing further. `className`, when given, is the written
// name of the object's class.
std::string leafType(const PropertyType& type, const KotlinMeta& meta, const TypeNames* types,
                     const std::string* className) {
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
      return className ? *className : writtenClassName(type.objectValue(), meta, types);
    case PropertyType::Kind::dictionary:
    case PropertyType::Kind::enum_:
    case PropertyType::Kind::array:
    case PropertyType::Kind::optional:
      break;
  }
  return {};
}

std::string baseTypeText(const PropertyType& type, const KotlinMeta& meta, const TypeNames* types,
                         const std::string* className) {
  // Walk down the lists and nullables first, so that deep lists cost no call stack.
  std::vector<bool> wrappers;  // true: a list, false: a nullable
  const PropertyType* t =
      type.visitWrappers(Wrappers::listsAndNullables, [&](const PropertyType& wrapper) {
        // A nullable of nothing is the whole of `Any?`, not a wrapper around it.
        if (wrapper.is(PropertyType::Kind::array) || wrapper.optionalValue()) {
          wrappers.push_back(wrapper.is(PropertyType::Kind::array));
        }
      });
  const std::string inner = t ? leafType(*t, meta, types, className) : "Any?";
  std::string out;
  for (bool list : wrappers) {
    if (list) out += "List<";
  }
  out += inner;
  for (auto it = wrappers.rbegin(); it != wrappers.rend(); ++it) out += *it ? ">" : "?";
  return out;
}

std::string typeText(const Property& property, const KotlinMeta& meta, const TypeNames* types,
                     const std::string* className) {
  std::optional<std::string> mapped;
  if (meta._typeNameMaps) mapped = nameForPath(*meta._typeNameMaps, property.names);
  if (!mapped) return baseTypeText(property.type, meta, types, className);

  // A mapped name is the user's own type, kept as typed ("Map<String, String>",
  // "java.time.Instant").
  const PropertyType& type = property.type;
  const std::string name = kotlinMappedName(*mapped);
  switch (type.kind()) {
    case PropertyType::Kind::primitive:
    case PropertyType::Kind::object:
    case PropertyType::Kind::enum_:
      return name;
    case PropertyType::Kind::dictionary:
      return baseTypeText(type, meta, types, className);
    case PropertyType::Kind::array:
      return type.arrayValue().is(PropertyType::Kind::optional) ? "List<" + name + "?>"
                                                                : "List<" + name + ">";
    case PropertyType::Kind::optional: {
      const PropertyType* wrapped = type.optionalValue();
      return wrapped && wrapped->is(PropertyType::Kind::array) ? "List<" + name + ">?" : name + "?";
    }
  }
  return name;
}

std::string declarationText(const Property& property, const std::string& name, const Style& style,
                            std::int64_t level, const std::string* className) {
  const std::string pad = prefix(style.indentation, level);
  const std::string_view key =
      property.names.empty() ? std::string_view() : std::string_view(property.names.back());

  std::string out;
  // Compared with the name as it is declared in source, which is what serialization uses.
  if (kotlinIdentifier(name) != key) {
    out += pad + "@SerialName(\"" + kotlinStringContent(key) + "\")\n";
  }
  out += pad;
  out += style.meta.propertyDeclareType() == KotlinMeta::PropertyDeclareType::var ? "var" : "val";
  out += ' ';
  out += kotlinName(name);
  out += ": ";
  out += typeText(property, style.meta, style.types, className);
  if (property.type.is(PropertyType::Kind::optional)) out += " = null";
  return out;
}

// The object a property type holds, through lists and nullables; nullptr when it holds none.
const Object* carriedObject(const PropertyType& type) {
  const PropertyType* t = type.innermost(Wrappers::listsAndNullables);
  return t && t->is(PropertyType::Kind::object) ? &t->objectValue() : nullptr;
}

}  // namespace

std::vector<std::string> kotlinPropertyNames(const Object& object, const KotlinMeta& meta) {
  std::vector<std::string> names;
  names.reserve(object.properties.size());
  for (const Property& p : object.properties) {
    names.push_back(kotlinIdentifier(propertyName(meta, p.names)));
  }
  return distinctNames(std::move(names), NumberStyle::appended);
}

TypeNames kotlinTypeNames(const Code& root, const KotlinMeta& meta) {
  TypeNames::Language language;
  language.formed = [&meta](const Names& path) { return formedClassName(meta, path); };
  language.isUsersOwn = [&meta](const Names& path) {
    return meta._typeNameMaps && nameForPath(*meta._typeNameMaps, path).has_value();
  };
  language.nested = meta.structureStyle() == KotlinMeta::StructureStyle::nested;
  // Kotlin rejects a nested class named like a property of the class around it, which happens
  // when names begin with a character that has no case ("名前", "_1st").
  language.reservedIn = [&meta](const Object* owner) {
    std::unordered_set<std::string> taken;
    if (owner) {
      for (std::string& name : kotlinPropertyNames(*owner, meta)) taken.insert(std::move(name));
    }
    return taken;
  };
  return TypeNames(root, language);
}

namespace {

// A property with its Kotlin name and, once named in the nested style, its class's written name.
struct NamedProperty {
  const Property* property;
  std::string name;
  std::optional<std::string> className;
};

// The properties in the order the class writes them: sorted by their Kotlin names (stable, by
// scalar values of the canonical composition) for `alphabet`, else the sample's order.
std::vector<NamedProperty> orderedProperties(const Object& object, const KotlinMeta& meta) {
  std::vector<NamedProperty> properties;
  properties.reserve(object.properties.size());
  std::vector<std::string> names = kotlinPropertyNames(object, meta);
  for (std::size_t i = 0; i < names.size(); ++i) {
    properties.push_back({&object.properties[i], std::move(names[i]), std::nullopt});
  }
  if (meta.propertySortMethod() == PropertySortMethod::alphabet) {
    std::stable_sort(properties.begin(), properties.end(),
                     [](const NamedProperty& a, const NamedProperty& b) {
                       return textCompare(a.name, b.name) < 0;
                     });
  }
  return properties;
}

// Names the nested classes of a class's properties, once for both the declarations and the
// types that use them.
void nameNestedClasses(std::vector<NamedProperty>& properties, const KotlinMeta& meta,
                       const TypeNames* types) {
  for (NamedProperty& p : properties) {
    if (const Object* object = carriedObject(p.property->type)) {
      p.className = writtenClassName(*object, meta, types);
    }
  }
}

std::string propertyList(const std::vector<NamedProperty>& properties, const Style& style,
                         std::int64_t level) {
  std::string out;
  bool previousAnnotated = false;
  for (std::size_t i = 0; i < properties.size(); ++i) {
    const NamedProperty& p = properties[i];
    const std::string declaration = declarationText(*p.property, p.name, style, level + 1,
                                                    p.className ? &*p.className : nullptr);
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
std::string classText(const std::string& name, const std::vector<NamedProperty>& properties,
                      const std::vector<std::string>& nestedClasses, const Style& style,
                      std::int64_t level) {
  const std::string pad = prefix(style.indentation, level);
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

// One class being written in the nested style, into the one text of the whole declaration: its
// properties in order, the next one whose nested class is due, and where each nested class it
// kept stands in the text (a class equal to one already written is taken back out).
struct Frame {
  Frame(const Object& object, std::int64_t level, const Style& style)
      : level(level), properties(orderedProperties(object, style.meta)) {
    nameNestedClasses(properties, style.meta, style.types);
  }

  struct Written {
    std::size_t start;
    std::size_t size;
  };

  std::int64_t level;
  std::vector<NamedProperty> properties;
  std::size_t next = 0;
  std::size_t childBefore = 0;  // the text's size before the nested class being written
  std::size_t childStart = 0;   // where that class's own text begins
  std::vector<Written> nested;
  std::unordered_multimap<std::size_t, std::size_t> index;  // hash -> position in `nested`
};

// The text of a class up to its nested classes: all of it for a class without properties.
void openClass(std::string& out, const std::string& name, const Frame& frame, const Style& style) {
  const std::string pad = prefix(style.indentation, frame.level);
  out += pad;
  out += "@Serializable\n";
  out += pad;
  if (frame.properties.empty()) {
    // A data class needs a constructor parameter: an empty object is a plain class.
    out += "class " + name;
    return;
  }
  out += "data class " + name + " (\n";
  out += propertyList(frame.properties, style, frame.level);
  out += '\n';
}

void closeClass(std::string& out, const Frame& frame, const Style& style) {
  if (frame.properties.empty()) return;
  const std::string pad = prefix(style.indentation, frame.level);
  if (frame.nested.empty()) {
    out += pad + ")";
  } else {
    out += '\n' + pad + "}";
  }
}

// Keeps the nested class just written at the end of `out`, unless it repeats one the parent
// already holds. Texts are hashed only once a parent holds several, so that a long chain of
// single nested classes is never hashed.
void keepOrTakeBack(std::string& out, Frame& parent) {
  const Frame::Written current{parent.childStart, out.size() - parent.childStart};
  const auto textOf = [&](const Frame::Written& w) {
    return std::string_view(out).substr(w.start, w.size);
  };
  const auto hashOf = [](std::string_view text) { return std::hash<std::string_view>{}(text); };
  if (parent.nested.size() == 1 && parent.index.empty()) {
    parent.index.emplace(hashOf(textOf(parent.nested.front())), 0);
  }
  if (!parent.nested.empty()) {
    const std::size_t hash = hashOf(textOf(current));
    auto [first, last] = parent.index.equal_range(hash);
    if (std::any_of(first, last, [&](const auto& e) {
          return textOf(parent.nested[e.second]) == textOf(current);
        })) {
      out.resize(parent.childBefore);
      return;
    }
    parent.index.emplace(hash, parent.nested.size());
  }
  parent.nested.push_back(current);
}

}  // namespace

std::string kotlinBaseType(const PropertyType& type, const KotlinMeta& meta) {
  return baseTypeText(type, meta, nullptr, nullptr);
}

std::string kotlinType(const Property& property, const KotlinMeta& meta) {
  return typeText(property, meta, nullptr, nullptr);
}

std::string kotlinDeclaration(const Property& property, const Style& style, std::int64_t level) {
  return declarationText(property, propertyName(style.meta, property.names), style, level, nullptr);
}

std::string kotlinPropertyList(const Object& object, const Style& style, std::int64_t level) {
  std::vector<NamedProperty> properties;
  properties.reserve(object.properties.size());
  std::vector<std::string> names = kotlinPropertyNames(object, style.meta);
  for (std::size_t i = 0; i < names.size(); ++i) {
    properties.push_back({&object.properties[i], std::move(names[i]), std::nullopt});
  }
  return propertyList(properties, style, level);
}

std::string kotlinClass(const Object& object, const Style& style, std::int64_t level) {
  if (style.meta.structureStyle() != KotlinMeta::StructureStyle::nested) {
    return classText(writtenClassName(object, style.meta, style.types),
                     orderedProperties(object, style.meta), {}, style, level);
  }
  // Nested classes are written inside their parents, straight into one text: a class is
  // finished once the classes of all its properties are, so the walk keeps its own stack
  // instead of recursing.
  std::string out;
  std::vector<Frame> stack;
  stack.emplace_back(object, level, style);
  openClass(out, writtenClassName(object, style.meta, style.types), stack.back(), style);
  while (true) {
    Frame& frame = stack.back();
    if (frame.next < frame.properties.size()) {
      const NamedProperty& p = frame.properties[frame.next++];
      if (const Object* child = carriedObject(p.property->type)) {
        frame.childBefore = out.size();
        out += frame.nested.empty() ? prefix(style.indentation, frame.level) + ") {\n" : "\n\n";
        frame.childStart = out.size();
        const std::string name = *p.className;  // named with the frame's properties
        stack.emplace_back(*child, frame.level + 1, style);
        openClass(out, name, stack.back(), style);
      }
      continue;
    }
    closeClass(out, frame, style);
    stack.pop_back();
    if (stack.empty()) return out;
    keepOrTakeBack(out, stack.back());
  }
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
