#include "telvar/generate/kotlin/kotlin_renderers.h"

#include <algorithm>
#include <array>
#include <deque>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "telvar/generate/code_printer.h"
#include "telvar/generate/kotlin/kotlin_names.h"
#include "telvar/generate/literals.h"
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

// Kotlin's name for a primitive type.
std::string_view primitiveText(const Primitive& primitive) {
  switch (primitive.kind()) {
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
}

// The type text of a type that wraps nothing further. `className`, when given, is the written
// name of the object's class.
std::string leafType(const PropertyType& type, const KotlinMeta& meta, const TypeNames* types,
                     const std::string* className) {
  switch (type.kind()) {
    case PropertyType::Kind::primitive:
      return std::string(primitiveText(type.primitiveValue()));
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
  // Walk down the lists and nullables first, so that deep lists cost no call stack. What closes
  // each wrapper is gathered in a text, which a usual type keeps without allocating.
  std::size_t lists = 0;
  std::string closers;  // outermost first: '>' closes a list, '?' a nullable
  const PropertyType* t =
      type.visitWrappers(Wrappers::listsAndNullables, [&](const PropertyType& wrapper) {
        // A nullable of nothing is the whole of `Any?`, not a wrapper around it.
        if (wrapper.is(PropertyType::Kind::array)) {
          ++lists;
          closers += '>';
        } else if (wrapper.optionalValue()) {
          closers += '?';
        }
      });
  std::string out;
  for (std::size_t i = 0; i < lists; ++i) out += "List<";
  if (t) {
    out += leafType(*t, meta, types, className);
  } else {
    out += "Any?";
  }
  out.append(closers.rbegin(), closers.rend());
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

std::string_view keyOf(const Property& property) {
  return property.names.empty() ? std::string_view() : std::string_view(property.names.back());
}

// Whether a property's declaration carries its JSON key: when the name declared in source, which
// is what serialization uses, differs from it.
bool needsSerialName(const Property& property, const std::string& name) {
  return kotlinIdentifier(name) != keyOf(property);
}

// `annotated` is `needsSerialName(property, name)`, which the list has asked already.
void writeDeclaration(CodePrinter& p, const Property& property, std::string_view name,
                      bool annotated, const Style& style, const std::string* className) {
  if (annotated) {
    // Most keys need no escape and are written in place (wide-100: 200,000 annotations).
    std::string escapedKey;
    std::string_view key = keyOf(property);
    if (!isPlainLiteral(key)) key = escapedKey = kotlinStringContent(key);
    p.line("@SerialName(\"", key, "\")");
  }
  const bool var = style.meta.propertyDeclareType() == KotlinMeta::PropertyDeclareType::var;
  // A plain name, as most are, is written as it is rather than copied.
  std::string quoted;
  const std::string_view written =
      isPlainKotlinIdentifier(name) ? std::string_view(name) : (quoted = kotlinName(name));
  // Without type-name maps, a primitive or a nullable primitive (most members) is a word of the
  // language: the declaration is written in one go (wide-object-100: 200,000 of them).
  const PropertyType& type = property.type;
  const Primitive* primitive = style.meta._typeNameMaps ? nullptr : type.plainPrimitive();
  if (primitive) {
    p.line(var ? "var " : "val ", written, ": ", primitiveText(*primitive),
           type.is(PropertyType::Kind::optional) ? "? = null" : "");
    return;
  }
  p.line(var ? "var " : "val ", written, ": ",
         typeText(property, style.meta, style.types, className));
  if (property.type.is(PropertyType::Kind::optional)) p.add(" = null");
}

// The object a property type holds, through lists and nullables; nullptr when it holds none.
const Object* carriedObject(const PropertyType& type) {
  const PropertyType* t = type.innermost(Wrappers::listsAndNullables);
  return t && t->is(PropertyType::Kind::object) ? &t->objectValue() : nullptr;
}

}  // namespace

NameList kotlinPropertyNames(const Object& object, const KotlinMeta& meta) {
  NameList names = formedNames(object.properties, [&](const Property& p) {
    return kotlinIdentifier(propertyName(meta, p.names));
  });
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
      for (const std::string_view name : kotlinPropertyNames(*owner, meta)) taken.emplace(name);
    }
    return taken;
  };
  return TypeNames(root, language);
}

namespace {

// A property with its Kotlin name and, once named in the nested style, its class's written name.
struct NamedProperty {
  const Property* property;
  std::string_view name;
  const std::string* className;
};

// The properties of a class in the order it writes them: sorted by their Kotlin names (stable, by
// scalar values of the canonical composition) for `alphabet`, else the sample's order. Each is
// made when read, from the names kept in one text and the class names of the few that hold an
// object: a list of whole named properties took 48 bytes a key (wide-1000: 96 MB).
class NamedProperties {
 public:
  NamedProperties(const Object& object, const KotlinMeta& meta)
      : NamedProperties(object, meta, meta.propertySortMethod() == PropertySortMethod::alphabet) {}
  NamedProperties(const Object& object, const KotlinMeta& meta, bool sorted)
      : m_object(&object), m_names(kotlinPropertyNames(object, meta)) {
    if (sorted) m_order = alphabeticalOrder(m_names);
  }

  [[nodiscard]] std::size_t size() const noexcept { return m_names.size(); }
  [[nodiscard]] bool empty() const noexcept { return m_names.empty(); }
  [[nodiscard]] NamedProperty operator[](std::size_t position) const {
    const std::size_t i = m_order.empty() ? position : m_order[position];
    const std::string* className = nullptr;
    if (!m_classNames.empty()) {
      if (auto it = m_classNames.find(i); it != m_classNames.end()) className = &it->second;
    }
    return {&m_object->properties[i], m_names[i], className};
  }

  // Names the nested classes of the properties, once for both the declarations and the types
  // that use them.
  void nameNestedClasses(const KotlinMeta& meta, const TypeNames* types) {
    for (std::size_t i = 0; i < m_object->properties.size(); ++i) {
      if (const Object* object = carriedObject(m_object->properties[i].type)) {
        m_classNames.emplace(i, writtenClassName(*object, meta, types));
      }
    }
  }

 private:
  const Object* m_object;
  NameList m_names;
  std::vector<std::size_t> m_order;  // the properties by position; empty: in their own order
  std::unordered_map<std::size_t, std::string> m_classNames;  // by property
};

// The declarations one level in, separated by commas; annotated declarations stand between blank
// lines.
void writePropertyList(CodePrinter& p, const NamedProperties& properties, const Style& style) {
  auto list = p.indented();
  {
    // Each declaration with its annotation and the blank line before it; a type's text is
    // taken as a primitive's, or as long as the key and a little more.
    std::size_t text = 0;
    for (std::size_t i = 0; i < properties.size(); ++i) {
      const NamedProperty property = properties[i];
      const std::size_t key = keyOf(*property.property).size();
      const PropertyType* held = property.property->type.innermost();
      const std::size_t type = held && held->is(PropertyType::Kind::primitive) ? 8 : key + 10;
      text += 16 + key + 12 + property.name.size() + type;
    }
    p.reserve(3 * properties.size(), text);
  }
  // The list's names are identifiers already (`kotlinPropertyNames`), which `kotlinIdentifier`
  // leaves as they are: compared with the key directly (wide-100: 200,000 names).
  const auto annotated = [&](const NamedProperty& property) {
    return property.name != keyOf(*property.property);
  };
  p.members(properties.size(), [&](CodePrinter& q, std::size_t i) {
    const NamedProperty property = properties[i];
    const bool isAnnotated = annotated(property);
    if (i > 0) {
      q.add(",");
      if (isAnnotated || annotated(properties[i - 1])) q.blank();
    }
    writeDeclaration(q, *property.property, property.name, isAnnotated, style, property.className);
  });
}

// A class up to its nested classes: all of it for a class without properties.
void openClass(CodePrinter& p, const std::string& name, const NamedProperties& properties,
               const Style& style) {
  p.line("@Serializable");
  if (properties.empty()) {
    // A data class needs a constructor parameter: an empty object is a plain class.
    p.line("class ", name);
    return;
  }
  p.line("data class ", name, " (");
  writePropertyList(p, properties, style);
}

// One class being written in the nested style, one level inside the class holding it: its
// properties in order, the next one whose nested class is due, and where each nested class it
// kept stands in the text (a class equal to one already written is taken back out).
struct Frame {
  Frame(CodePrinter& p, std::int64_t steps, const Object& object, const Style& style)
      : indent(p.indented(steps)), properties(object, style.meta) {
    properties.nameNestedClasses(style.meta, style.types);
  }

  CodePrinter::Indent indent;
  NamedProperties properties;
  std::size_t next = 0;
  CodePrinter::Mark childBefore{};  // before the nested class being written and its separator
  CodePrinter::Mark childStart{};   // where that class's own text begins
  std::vector<std::pair<CodePrinter::Mark, std::size_t>> nested;  // each kept class and its size
  std::unordered_multimap<std::size_t, std::size_t> index;        // hash -> position in `nested`
};

// Opens the nested class of a frame's property: the first after the holder's ") {", the others
// after a blank line.
void startNested(CodePrinter& p, Frame& holder) {
  holder.childBefore = p.mark();
  if (holder.nested.empty()) {
    p.line(") {");
  } else {
    p.blank();
  }
  holder.childStart = p.mark();
}

void closeClass(CodePrinter& p, const Frame& frame) {
  if (frame.properties.empty()) return;
  p.line(frame.nested.empty() ? ")" : "}");
}

// Keeps the nested class just written, unless it repeats one its holder already holds. Texts
// are hashed only once a holder has several, so that a long chain of single nested classes is
// never hashed.
void keepOrTakeBack(CodePrinter& p, Frame& holder) {
  const std::string_view current = p.since(holder.childStart);
  const auto textOf = [&](const std::pair<CodePrinter::Mark, std::size_t>& kept) {
    return p.since(kept.first).substr(0, kept.second);
  };
  const auto hashOf = [](std::string_view t) { return std::hash<std::string_view>{}(t); };
  if (holder.nested.size() == 1 && holder.index.empty()) {
    holder.index.emplace(hashOf(textOf(holder.nested.front())), 0);
  }
  if (!holder.nested.empty()) {
    const std::size_t hash = hashOf(current);
    auto [first, last] = holder.index.equal_range(hash);
    if (std::any_of(first, last,
                    [&](const auto& e) { return textOf(holder.nested[e.second]) == current; })) {
      p.takeBack(holder.childBefore);
      return;
    }
    holder.index.emplace(hash, holder.nested.size());
  }
  holder.nested.emplace_back(holder.childStart, current.size());
}

// A whole class at the printer's level. Nested classes are written inside their holders,
// straight into the one text: a class is finished once the classes of all its properties are,
// so the walk keeps its own stack instead of recursing. The stack is a deque because each frame
// holds its indentation scope, which cannot move.
void writeClass(CodePrinter& p, const Object& object, const Style& style) {
  const std::string name = writtenClassName(object, style.meta, style.types);
  if (style.meta.structureStyle() != KotlinMeta::StructureStyle::nested) {
    const NamedProperties properties(object, style.meta);
    openClass(p, name, properties, style);
    if (!properties.empty()) p.line(")");
    return;
  }
  std::deque<Frame> stack;
  stack.emplace_back(p, 0, object, style);
  openClass(p, name, stack.back().properties, style);
  // From the first nested class on, texts are compared and taken back: none is drained.
  CodePrinter::Hold held;
  while (true) {
    Frame& frame = stack.back();
    if (frame.next < frame.properties.size()) {
      const NamedProperty property = frame.properties[frame.next++];
      if (const Object* child = carriedObject(property.property->type)) {
        if (!held.holds()) held = p.hold();
        startNested(p, frame);
        stack.emplace_back(p, 1, *child, style);
        openClass(p, *property.className, stack.back().properties, style);
      }
      continue;
    }
    closeClass(p, frame);
    stack.pop_back();
    if (stack.empty()) return;
    keepOrTakeBack(p, stack.back());
  }
}

}  // namespace

std::string kotlinBaseType(const PropertyType& type, const KotlinMeta& meta) {
  return baseTypeText(type, meta, nullptr, nullptr);
}

std::string kotlinType(const Property& property, const KotlinMeta& meta) {
  return typeText(property, meta, nullptr, nullptr);
}

std::string kotlinPropertyList(const Object& object, const Style& style, std::int64_t level) {
  const NamedProperties properties(object, style.meta, false);
  std::string out;
  CodePrinter p(out, style.indentation, level);
  writePropertyList(p, properties, style);
  return out;
}

std::string kotlinClass(const Object& object, const Style& style, std::int64_t level) {
  std::string out;
  CodePrinter p(out, style.indentation, level);
  writeClass(p, object, style);
  return out;
}

bool writeKotlinCode(CodePrinter& p, const Code& code, const Style& style) {
  switch (code.kind()) {
    case Code::Kind::object:
      writeClass(p, code.objectValue(), style);
      return true;
    case Code::Kind::property: {
      const Property& property = code.propertyValue();
      const std::string name = propertyName(style.meta, property.names);
      writeDeclaration(p, property, name, needsSerialName(property, name), style, nullptr);
      return true;
    }
    case Code::Kind::propertyType:
      if (const Object* object = carriedObject(code.propertyTypeValue())) {
        writeClass(p, *object, style);
        return true;
      }
      return false;
    case Code::Kind::dictionary:
      break;
  }
  return false;
}

std::optional<std::string> kotlinRendered(const Code& code, const Style& style,
                                          std::int64_t level) {
  std::string out;
  CodePrinter p(out, style.indentation, level);
  if (!writeKotlinCode(p, code, style)) return std::nullopt;
  return out;
}

}  // namespace telvar::generate::kotlin
