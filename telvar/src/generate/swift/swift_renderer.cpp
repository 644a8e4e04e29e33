#include "telvar/generate/swift/swift_renderer.h"

#include <algorithm>
#include <unordered_map>

#include "naming/characters.h"
#include "telvar/generate/lines.h"
#include "telvar/generate/road.h"
#include "telvar/generate/swift/swift_text.h"
#include "telvar/naming/names.h"
#include "telvar/unicode/text.h"

namespace telvar::generate::swift {
namespace {

using ProtocolType = SwiftMeta::ProtocolType;
using StructureStyle = SwiftMeta::StructureStyle;
using AccessLevel = SwiftMeta::AccessLevel;

// The generated `id` property must stay visible to the `Identifiable` conformance, so a private
// model writes it file-private.
std::string_view idAccessText(AccessLevel level) {
  return level == AccessLevel::private_ ? std::string_view("fileprivate ") : description(level);
}

std::string_view primitiveTypeText(const Primitive& primitive) {
  switch (primitive.kind()) {
    case Primitive::Kind::date:
      return "Date";
    case Primitive::Kind::bool_:
      return "Bool";
    case Primitive::Kind::int_:
      return "Int";
    case Primitive::Kind::double_:
      return "Double";
    case Primitive::Kind::string:
      return "String";
    case Primitive::Kind::url:
      return "URL";
    case Primitive::Kind::any:
      return "Any";
  }
  return "Any";
}

// The object or enumeration a property type holds, through lists, maps and nullable types.
const PropertyType* heldType(const PropertyType& type) {
  const PropertyType* t = type.innermost();
  if (t && (t->is(PropertyType::Kind::object) || t->is(PropertyType::Kind::enum_))) return t;
  return nullptr;
}

// Whether a type is a list, possibly under nullable layers.
bool isListType(const PropertyType& type) {
  const PropertyType* t = type.innermost(Wrappers::nullables);
  return t && t->is(PropertyType::Kind::array);
}

// A type-name map's name placed in the shape of the property's type: one list, map or nullable
// layer is kept around it.
std::string shapedMappedName(const std::string& name, const PropertyType& type) {
  switch (type.kind()) {
    case PropertyType::Kind::dictionary:
      return "[String: " + name + "]";
    case PropertyType::Kind::array:
      return type.arrayValue().is(PropertyType::Kind::optional) ? "[" + name + "?]"
                                                                : "[" + name + "]";
    case PropertyType::Kind::optional: {
      const PropertyType* wrapped = type.optionalValue();
      if (wrapped && isListType(*wrapped)) return "[" + name + "]?";
      return name + "?";
    }
    case PropertyType::Kind::primitive:
    case PropertyType::Kind::object:
    case PropertyType::Kind::enum_:
      break;
  }
  return name;
}

std::string_view jsonKey(const Names& names) {
  return names.empty() ? std::string_view("...") : std::string_view(names.back());
}

}  // namespace

// ---- Header -------------------------------------------------------------------------------------

std::string swiftHeader(const SwiftMeta& meta, const Indentation& indentation) {
  if (meta.protocolType() != ProtocolType::sorbelModel) {
    return header({"import Foundation"}, indentation);
  }
  if (meta.useSorbelMacros()) {
    return header({"import Foundation", "import Sorbel", "import SorbelMacros"}, indentation);
  }
  return header({"import Foundation", "import Sorbel"}, indentation);
}

// ---- Set-up -------------------------------------------------------------------------------------

SwiftRenderer::SwiftRenderer(SwiftMeta meta, Indentation indentation)
    : m_meta(std::move(meta)),
      m_indentation(std::move(indentation)),
      m_protocol(m_meta.protocolType()),
      m_structureStyle(m_meta.structureStyle()),
      m_macros(m_protocol == ProtocolType::sorbelModel && m_meta.useSorbelMacros()) {
  // The acronyms as a camel-cased key would end with them: "ID" gives "Id", "URL" "Url".
  auto capitalised = [](std::string_view acronym) {
    std::string form = naming_detail::lowerCased(acronym);
    const std::size_t first = firstCluster(form).length;
    return naming_detail::upperCased(std::string_view(form).substr(0, first)) + form.substr(first);
  };
  if (m_meta._acronyms) {
    for (const Acronym& acronym : *m_meta._acronyms) {
      m_acronymForms.push_back(capitalised(acronym.name()));
    }
  } else {
    m_acronymForms = {"Id", "Url"};
  }
}

std::string SwiftRenderer::pad(std::int64_t level) const { return prefix(m_indentation, level); }

// ---- Names --------------------------------------------------------------------------------------

std::string SwiftRenderer::unmappedTypeName(const Names& path) const {
  return swiftIdentifier(telvar::unmappedTypeName(m_meta, path));
}

std::string SwiftRenderer::formedTypeName(const Names& path) const {
  if (m_protocol != ProtocolType::sorbelModel && m_meta._typeNameMaps) {
    if (auto mapped = nameForPath(*m_meta._typeNameMaps, path)) return std::move(*mapped);
  }
  return unmappedTypeName(path);
}

std::string SwiftRenderer::typeName(const Names& path) const {
  if (m_types) {
    if (const std::string* name = m_types->find(path)) return swiftEscaped(*name);
  }
  return swiftEscaped(formedTypeName(path));
}

TypeNames SwiftRenderer::typeNames(const Code& root) const {
  TypeNames::Language language;
  language.formed = [this](const Names& path) { return formedTypeName(path); };
  language.isUsersOwn = [this](const Names& path) {
    return m_protocol != ProtocolType::sorbelModel && m_meta._typeNameMaps &&
           nameForPath(*m_meta._typeNameMaps, path).has_value();
  };
  language.nested = m_structureStyle == SwiftMeta::StructureStyle::nested ||
                    m_structureStyle == SwiftMeta::StructureStyle::nestedInExtension;
  // A nested type may not share a name with a property of the type around it, nor with the
  // coding keys declared there; no type of ours may hide a type the file refers to.
  language.reservedIn = [this](const Object* owner) {
    std::unordered_set<std::string> taken{"Any", "Bool", "Date", "Double", "Int", "String", "URL"};
    if (owner) {
      taken.insert("CodingKeys");
      for (const std::string& name : memberNames(owner->properties)) taken.insert(name);
    }
    return taken;
  };
  return TypeNames(root, language);
}

const std::vector<std::string>& SwiftRenderer::memberNames(
    const std::vector<Property>& properties) const {
  // Both the type names (for the nested types' scope) and the declaration ask for a type's
  // member names: a wide type is named once. A type is known by its key path, which names one
  // type of the sample.
  static const std::vector<std::string> none;
  if (properties.empty()) return none;
  const Names& first = properties.front().names;
  Names owner(first.begin(), first.end() - (first.empty() ? 0 : 1));
  auto [it, added] = m_memberNames.try_emplace(std::move(owner));
  if (added) {
    std::vector<std::string> names;
    names.reserve(properties.size());
    for (const Property& p : properties) names.push_back(propertyName(p.names));
    it->second = distinctNames(std::move(names), NumberStyle::appended);
  }
  return it->second;
}

std::string SwiftRenderer::propertyName(const Names& path) const {
  if (m_meta._propertyNameMaps &&
      m_meta.propertyNamingStyle() != SwiftMeta::PropertyNamingStyle::snakeToCamel) {
    // A name the user chose is written as chosen.
    if (auto mapped = nameForPath(*m_meta._propertyNameMaps, path)) return std::move(*mapped);
  }
  return swiftIdentifier(telvar::propertyName(m_meta, path));
}

std::string SwiftRenderer::typePath(const Code& code,
                                    const std::vector<std::string>& leaveOut) const {
  TypePathMemo memo;
  return typePath(code, leaveOut, memo);
}

std::string SwiftRenderer::typePath(const Code& code, const std::vector<std::string>& leaveOut,
                                    TypePathMemo& memo) const {
  std::optional<Names> walked;
  const Names* names = nullptr;
  switch (code.kind()) {
    case Code::Kind::object:
      names = &code.objectValue().names;
      break;
    case Code::Kind::dictionary:
      names = &code.dictionaryValue().names;
      break;
    case Code::Kind::property:
      names = &code.propertyValue().names;
      break;
    case Code::Kind::propertyType:
      walked = code.propertyTypeValue().walk();
      names = walked ? &*walked : nullptr;
      break;
  }
  std::string out;
  if (!names || names->size() < 2) return out;
  // Each enclosing path is one key longer than the one before it; its name is made the first
  // time the memo meets it.
  Names prefix;
  std::size_t position = 0;
  for (std::size_t i = 0; i + 1 < names->size(); ++i) {
    const std::string& key = (*names)[i];
    prefix.push_back(key);
    auto [it, added] = memo.m_positions.try_emplace({position, key}, memo.m_names.size());
    if (added) memo.m_names.emplace_back();
    position = it->second;
    const bool skipped =
        std::any_of(leaveOut.begin(), leaveOut.end(),
                    [&](const std::string& left) { return textEquals(left, key); });
    if (skipped) continue;
    std::optional<std::string>& name = memo.m_names[position];
    if (!name) name = typeName(prefix);
    if (!out.empty()) out += '.';
    out += *name;
  }
  return out;
}

std::vector<SwiftRenderer::Member> SwiftRenderer::members(
    const std::vector<Property>& properties) const {
  std::vector<Member> out;
  out.reserve(properties.size());
  const std::vector<std::string>& names = memberNames(properties);
  for (std::size_t i = 0; i < properties.size(); ++i) {
    out.push_back({&properties[i], names[i], jsonKey(properties[i].names)});
  }
  if (m_meta.propertySortMethod() == PropertySortMethod::alphabet) {
    std::stable_sort(out.begin(), out.end(), [](const Member& a, const Member& b) {
      return textCompare(a.name, b.name) < 0;
    });
  }
  return out;
}

void SwiftRenderer::appendNestedDeclarations(std::string& out, const std::vector<Member>& members,
                                             std::int64_t level) const {
  // Two members may declare the very same type; it is written once. Each declaration is written
  // in place and taken back out when it repeats an earlier one. Texts are compared by hash once
  // there are several, so that objects with many members stay linear, while a long chain of
  // single nested objects is never hashed.
  struct Written {
    std::size_t start;
    std::size_t size;
  };
  std::vector<Written> written;
  std::unordered_multimap<std::size_t, std::size_t> index;
  const auto textOf = [&](const Written& w) {
    return std::string_view(out).substr(w.start, w.size);
  };
  const auto hashOf = [](std::string_view text) { return std::hash<std::string_view>{}(text); };
  for (const Member& m : members) {
    const std::size_t before = out.size();
    out += '\n';
    const Written text{out.size(), 0};
    if (!appendTypeDeclaration(out, m.property->type, level)) {
      out.resize(before);
      continue;
    }
    const Written current{text.start, out.size() - text.start};
    if (written.size() == 1 && index.empty()) index.emplace(hashOf(textOf(written.front())), 0);
    if (!written.empty()) {
      const std::size_t hash = hashOf(textOf(current));
      auto [first, last] = index.equal_range(hash);
      if (std::any_of(first, last, [&](const auto& e) {
            return textOf(written[e.second]) == textOf(current);
          })) {
        out.resize(before);
        continue;
      }
      index.emplace(hash, written.size());
    }
    written.push_back(current);
    out += '\n';  // the empty line after each nested declaration
  }
}

// ---- Type texts ---------------------------------------------------------------------------------

std::string SwiftRenderer::baseType(const PropertyType& type) const {
  return baseType(type, nullptr);
}

std::string SwiftRenderer::baseType(const PropertyType& type, const std::string* enumName) const {
  // Built from the outside in, so that deeply nested lists cost no call stack.
  std::string opening;
  std::string closing;
  std::string core;
  const PropertyType* t = &type;
  while (core.empty()) {
    switch (t->kind()) {
      case PropertyType::Kind::primitive:
        core = primitiveTypeText(t->primitiveValue());
        break;
      case PropertyType::Kind::object:
        core = typeName(t->objectValue().names);
        break;
      case PropertyType::Kind::enum_:
        core = enumName ? *enumName : typeName(t->enumValue().names);
        break;
      case PropertyType::Kind::dictionary: {
        // Map values are written without their nullable layers, unless only null was seen.
        const PropertyType* value = &t->dictionaryValue();
        const PropertyType* stripped = value->innermost(Wrappers::nullables);
        opening += "[String: ";
        closing += ']';
        // Nullable all the way down: the value type is written as it is.
        t = stripped ? stripped : value;
        break;
      }
      case PropertyType::Kind::array:
        opening += '[';
        closing += ']';
        t = &t->arrayValue();
        break;
      case PropertyType::Kind::optional:
        closing += '?';
        t = t->optionalValue();
        if (!t) core = "Any";
        break;
    }
  }
  // The closing marks were collected from the outside in.
  std::reverse(closing.begin(), closing.end());
  return opening + core + closing;
}

std::string SwiftRenderer::type(const Property& property) const {
  if (m_protocol != ProtocolType::sorbelModel && m_meta._typeNameMaps) {
    if (auto mapped = nameForPath(*m_meta._typeNameMaps, property.names)) {
      return shapedMappedName(*mapped, property.type);
    }
  }
  if (m_meta._propertyEnumMaps && recordForPath(*m_meta._propertyEnumMaps, property.names)) {
    // An enum map names the enumeration it made; a member it did not turn into one keeps its
    // own type.
    const PropertyType* held = heldType(property.type);
    if (held && held->is(PropertyType::Kind::enum_)) {
      const std::string name = swiftEscaped(unmappedTypeName(property.names));
      return baseType(property.type, &name);
    }
  }
  return baseType(property.type, nullptr);
}

std::string SwiftRenderer::protocolList(bool identifiable) const {
  std::string out(description(m_protocol));
  if (identifiable) out += ", Identifiable";
  return out;
}

// ---- Declarations -------------------------------------------------------------------------------

std::string SwiftRenderer::propertyDeclaration(const Property& property, std::int64_t level) const {
  return propertyDeclaration(
      Member{&property, propertyName(property.names), jsonKey(property.names)}, level);
}

std::string SwiftRenderer::propertyDeclaration(const Member& member, std::int64_t level) const {
  const Property& property = *member.property;
  const std::string p = pad(level);
  const std::string name = swiftEscaped(member.name);
  std::string decl = p;
  decl += description(m_meta.propertyAccessLevel());
  decl += description(m_meta.propertyDeclareType());
  decl += ' ';
  decl += name;
  decl += ": ";
  decl += type(property);
  const std::string_view key = jsonKey(property.names);
  if (m_macros && !textEquals(key, name)) {
    return p + "@SorbelKey(" + swiftStringLiteral(key) + ")\n" + decl;
  }
  return decl;
}

std::string SwiftRenderer::objectDeclaration(const Object& object, std::int64_t level) const {
  std::string out;
  appendObjectDeclaration(out, object, level);
  return out;
}

void SwiftRenderer::appendObjectDeclaration(std::string& out, const Object& object,
                                            std::int64_t level) const {
  const std::string p0 = pad(level);
  const std::string p1 = pad(level + 1);
  const std::vector<Member> sorted = members(object.properties);
  const std::optional<std::string> identifiableKey =
      m_meta._identifiableTypes ? keyForPath(*m_meta._identifiableTypes, object.names)
                                : std::nullopt;

  if (m_macros) {
    out += p0;
    out += "@SorbelInit\n";
  }
  out += p0;
  out += description(m_meta.modelAccessLevel());
  out += description(m_meta.modelType());
  out += ' ';
  out += typeName(object.names);
  out += ": ";
  out += protocolList(identifiableKey.has_value());
  out += " {";
  if (m_structureStyle == StructureStyle::nested) appendNestedDeclarations(out, sorted, level + 1);

  Lines lines;
  if (identifiableKey && *identifiableKey != "id") {
    auto member = std::find_if(sorted.begin(), sorted.end(), [&](const Member& m) {
      return textEquals(m.key, *identifiableKey);
    });
    // A member whose Swift name is already "id" is the identity itself.
    if (member != sorted.end() && member->name != "id") {
      lines.add(p1 + std::string(idAccessText(m_meta.modelAccessLevel())) +
                "var id: " + type(*member->property) + " { " + swiftEscaped(member->name) + " }");
      lines.addBlank();
    }
  }

  for (const Member& m : sorted) lines.add(propertyDeclaration(m, level + 1));

  const bool hasProperties = !object.properties.empty();
  if (m_protocol != ProtocolType::sorbelModel &&
      m_meta.propertyNamingStyle() != SwiftMeta::PropertyNamingStyle::snakeToCamel) {
    if (auto keys = codingKeys(sorted, level + 1)) {
      lines.addBlank();
      lines.add(std::move(*keys));
    }
  } else if (m_protocol == ProtocolType::sorbelModel && !m_macros) {
    if (hasProperties) lines.addBlank();
    lines.add(jsonInitializer(sorted, level + 1));
  }
  if (m_meta.needsInitializer()) {
    if (hasProperties) lines.addBlank();
    lines.add(memberwiseInitializer(sorted, level + 1));
  }
  lines.add(p0 + "}");
  out += '\n';
  out += lines.joined();
}

std::string SwiftRenderer::enumDeclaration(const Enum& enumeration, std::int64_t level) const {
  const std::string p1 = pad(level + 1);
  const bool isString = enumeration.rawType == Enum::RawType::string;
  std::string first = pad(level);
  first += description(m_meta.modelAccessLevel());
  first += "enum ";
  first += typeName(enumeration.names);
  first += isString ? ": String" : ": Int";
  if (m_protocol != ProtocolType::sorbelModel) {
    first += ", ";
    first += description(m_protocol);
  }
  first += " {";

  Lines lines;
  lines.add(std::move(first));
  for (const Enum::Case& c : enumeration.cases) {
    if (c.name.empty()) continue;
    std::string line = p1 + "case " + swiftEscaped(c.name);
    if (!c.value.empty()) {
      line += " = ";
      line += isString ? swiftStringLiteral(c.value) : c.value;
    }
    lines.add(std::move(line));
  }
  lines.add(pad(level) + "}");
  return lines.joined();
}

std::optional<std::string> SwiftRenderer::typeDeclaration(const PropertyType& type,
                                                          std::int64_t level) const {
  std::string out;
  if (!appendTypeDeclaration(out, type, level)) return std::nullopt;
  return out;
}

bool SwiftRenderer::appendTypeDeclaration(std::string& out, const PropertyType& type,
                                          std::int64_t level) const {
  const PropertyType* held = heldType(type);
  if (!held) return false;
  if (held->is(PropertyType::Kind::object)) {
    appendObjectDeclaration(out, held->objectValue(), level);
  } else {
    out += enumDeclaration(held->enumValue(), level);
  }
  return true;
}

std::optional<std::string> SwiftRenderer::render(const Code& code, std::int64_t level) const {
  switch (code.kind()) {
    case Code::Kind::object:
      return objectDeclaration(code.objectValue(), level);
    case Code::Kind::dictionary:
      return typeDeclaration(code.dictionaryValue().propertyType, level);
    case Code::Kind::property:
      return propertyDeclaration(code.propertyValue(), level);
    case Code::Kind::propertyType:
      return typeDeclaration(code.propertyTypeValue(), level);
  }
  return std::nullopt;
}

}  // namespace telvar::generate::swift
