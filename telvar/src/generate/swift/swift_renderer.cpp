#include "telvar/generate/swift/swift_renderer.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "naming/characters.h"
#include "telvar/generate/literals.h"
#include "telvar/generate/road.h"
#include "telvar/generate/swift/swift_text.h"
#include "telvar/naming/names.h"
#include "telvar/threads/chunks.h"
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

std::string_view jsonKey(KeyPath names) {
  return names.empty() ? std::string_view("...") : std::string_view(names.back());
}

// Repaired only when it needs it, so that the formed name is handed on without a move (the one
// name is the only return).
std::string formedPropertyName(const SwiftMeta& meta, KeyPath path) {
  std::string name = telvar::propertyName(meta, path);
  if (!isSwiftIdentifier(name)) name = swiftIdentifier(std::move(name));
  return name;
}

}  // namespace

// ---- Header -------------------------------------------------------------------------------------

std::string swiftHeader(const SwiftMeta& meta, const Indentation& indentation) {
  std::string out;
  CodePrinter p(out, indentation, indentation.effectiveLevel());
  p.line("import Foundation");
  if (meta.protocolType() == ProtocolType::sorbelModel) {
    p.line("import Sorbel");
    if (meta.useSorbelMacros()) p.line("import SorbelMacros");
  }
  return out;
}

// ---- Set-up -------------------------------------------------------------------------------------

SwiftRenderer::SwiftRenderer(SwiftMeta meta, Indentation indentation)
    : m_meta(std::move(meta)),
      m_indentation(std::move(indentation)),
      m_protocol(m_meta.protocolType()),
      m_structureStyle(m_meta.structureStyle()),
      m_macros(m_protocol == ProtocolType::sorbelModel && m_meta.useSorbelMacros()) {
  m_propertyLead = description(m_meta.propertyAccessLevel());
  m_propertyLead += description(m_meta.propertyDeclareType());
  m_propertyLead += ' ';
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

// ---- Names --------------------------------------------------------------------------------------

std::string SwiftRenderer::unmappedTypeName(KeyPath path) const {
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
      const std::shared_ptr<const NameList> held = memberNames(owner->properties);
      const NameList& names = *held;
      taken.reserve(taken.size() + names.size() + 1);
      taken.insert("CodingKeys");
      for (const std::string_view name : names) taken.emplace(name);
    }
    return taken;
  };
  return TypeNames(root, language);
}

std::shared_ptr<const NameList> SwiftRenderer::memberNames(
    const std::vector<Property>& properties) const {
  // Both the type names (for the nested types' scope) and the declaration ask for a type's
  // member names: a wide type is named once. A type is known by its key path, which names one
  // type of the sample; the keys are checked as well, so that another list of members at the
  // same path (a caller's own) is named afresh instead of taking names that are not its own.
  if (properties.empty()) return std::make_shared<const NameList>();
  Names owner = properties.front().names.names();
  if (!owner.empty()) owner.pop_back();
  // Hashed in chunks: the keys of 2,000,000 members took 10 ms of the calling thread, twice.
  std::vector<std::size_t> chunkKeys(chunksFor(properties.size(), kMembersAChunk));
  forChunks(properties.size(), chunkKeys.size(),
            [&](std::size_t chunk, std::size_t begin, std::size_t end) {
              std::size_t keys = 0;
              for (std::size_t i = begin; i < end; ++i) {
                keys = keys * 31 + std::hash<std::string_view>{}(jsonKey(properties[i].names));
              }
              chunkKeys[chunk] = keys;
            });
  std::size_t keys = properties.size();
  for (const std::size_t chunk : chunkKeys) keys = keys * 31 + chunk;
  auto [it, added] = m_memberNames.try_emplace(std::move(owner));
  MemberNames& entry = it->second;
  if (added || !entry.names || entry.keys != keys || entry.names->size() != properties.size()) {
    // The old names are let go before the new ones are made.
    entry.names.reset();
    NameList names =
        formedNames(properties, [&](const Property& p) { return propertyName(p.names); });
    entry.names =
        std::make_shared<const NameList>(distinctNames(std::move(names), NumberStyle::appended));
    entry.keys = keys;
  }
  return entry.names;
}

std::string SwiftRenderer::propertyName(KeyPath path) const {
  if (m_meta._propertyNameMaps &&
      m_meta.propertyNamingStyle() != SwiftMeta::PropertyNamingStyle::snakeToCamel) {
    // A name the user chose is written as chosen.
    if (auto mapped = nameForPath(*m_meta._propertyNameMaps, path)) return std::move(*mapped);
  }
  return formedPropertyName(m_meta, path);
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
      walked = code.propertyValue().names.names();
      names = &*walked;
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

SwiftRenderer::Member SwiftRenderer::memberOf(const Property& property, std::string_view name) {
  return {&property, name, isSwiftReservedWord(name), !textEquals(name, jsonKey(property.names))};
}

SwiftRenderer::Members::Members(const std::vector<Property>& properties,
                                std::shared_ptr<const NameList> held, bool sorted)
    : m_properties(&properties), m_names(std::move(held)) {
  const NameList& names = *m_names;
  m_flags.resize(properties.size());
  forChunks(properties.size(), chunksFor(properties.size(), kMembersAChunk),
            [&](std::size_t, std::size_t begin, std::size_t end) {
              for (std::size_t i = begin; i < end; ++i) {
                const Member m = memberOf(properties[i], names[i]);
                m_flags[i] = static_cast<std::uint8_t>((m.reserved ? kReserved : 0) |
                                                       (m.renamed ? kRenamed : 0));
              }
            });
  if (sorted) m_order = alphabeticalOrder(names);
}

SwiftRenderer::Members SwiftRenderer::members(const std::vector<Property>& properties) const {
  return Members(properties, memberNames(properties),
                 m_meta.propertySortMethod() == PropertySortMethod::alphabet);
}

void SwiftRenderer::writeNestedDeclarations(CodePrinter& p, const Members& members) const {
  // Two members may declare the very same type; it is written once. Each declaration is written
  // in place and taken back out when it repeats an earlier one. Texts are compared by hash once
  // there are several, so that objects with many members stay linear, while a long chain of
  // single nested objects is never hashed.
  struct Written {
    CodePrinter::Mark start;
    std::size_t size;
  };
  std::vector<Written> written;
  std::unordered_multimap<std::size_t, std::size_t> index;
  const CodePrinter::Hold held = p.hold();  // the texts are compared and taken back
  const auto textOf = [&](const Written& w) { return p.since(w.start).substr(0, w.size); };
  const auto hashOf = [](std::string_view text) { return std::hash<std::string_view>{}(text); };
  for (const Member& m : members) {
    const CodePrinter::Mark start = p.mark();
    if (!writeTypeDeclaration(p, m.property->type)) continue;
    const Written current{start, p.since(start).size()};
    if (written.size() == 1 && index.empty()) index.emplace(hashOf(textOf(written.front())), 0);
    if (!written.empty()) {
      const std::size_t hash = hashOf(textOf(current));
      auto [first, last] = index.equal_range(hash);
      if (std::any_of(first, last, [&](const auto& e) {
            return textOf(written[e.second]) == textOf(current);
          })) {
        p.takeBack(start);
        continue;
      }
      index.emplace(hash, written.size());
    }
    written.push_back(current);
    p.blank();  // the empty line after each nested declaration
  }
}

void SwiftRenderer::addName(CodePrinter& p, std::string_view name) {
  addName(p, name, isSwiftReservedWord(name));
}

// ---- Type texts ---------------------------------------------------------------------------------

std::string SwiftRenderer::baseType(const PropertyType& type) const {
  return printed(0, [&](CodePrinter& p) { addBaseType(p, type, {}); });
}

void SwiftRenderer::addTypeName(CodePrinter& p, const Names& path) const {
  if (m_types) {
    if (const std::string* name = m_types->find(path)) return addName(p, *name);
  }
  p.add(typeName(path));
}

void SwiftRenderer::addBaseType(CodePrinter& p, const PropertyType& type,
                                std::string_view enumName) const {
  // A primitive or a nullable primitive, most members, in one go.
  if (const Primitive* primitive = type.plainPrimitive()) {
    p.add(primitiveTypeText(*primitive), type.is(PropertyType::Kind::optional) ? "?" : "");
    return;
  }
  // Written from the outside in, so that deeply nested lists cost no call stack; the closing
  // marks wait until the innermost type is written.
  std::string closing;
  const PropertyType* t = &type;
  for (bool done = false; !done;) {
    done = true;
    switch (t->kind()) {
      case PropertyType::Kind::primitive:
        p.add(primitiveTypeText(t->primitiveValue()));
        break;
      case PropertyType::Kind::object:
        addTypeName(p, t->objectValue().names);
        break;
      case PropertyType::Kind::enum_:
        if (enumName.empty()) {
          addTypeName(p, t->enumValue().names);
        } else {
          p.add(enumName);
        }
        break;
      case PropertyType::Kind::dictionary: {
        // Map values are written without their nullable layers, unless only null was seen.
        const PropertyType* value = &t->dictionaryValue();
        const PropertyType* stripped = value->innermost(Wrappers::nullables);
        p.add("[String: ");
        closing += ']';
        // Nullable all the way down: the value type is written as it is.
        t = stripped ? stripped : value;
        done = false;
        break;
      }
      case PropertyType::Kind::array:
        p.add('[');
        closing += ']';
        t = &t->arrayValue();
        done = false;
        break;
      case PropertyType::Kind::optional:
        closing += '?';
        t = t->optionalValue();
        if (t) {
          done = false;
        } else {
          p.add("Any");
        }
        break;
    }
  }
  // The closing marks were collected from the outside in.
  std::reverse(closing.begin(), closing.end());
  p.add(closing);
}

std::string SwiftRenderer::type(const Property& property) const {
  return printed(0, [&](CodePrinter& p) { addType(p, property); });
}

void SwiftRenderer::addType(CodePrinter& p, const Property& property) const {
  if (m_protocol != ProtocolType::sorbelModel && m_meta._typeNameMaps) {
    if (auto mapped = nameForPath(*m_meta._typeNameMaps, property.names)) {
      // A type-name map's name placed in the shape of the property's type: one list, map or
      // nullable layer is kept around it.
      const PropertyType& type = property.type;
      switch (type.kind()) {
        case PropertyType::Kind::dictionary:
          p.add("[String: ", *mapped, ']');
          return;
        case PropertyType::Kind::array:
          p.add('[', *mapped, type.arrayValue().is(PropertyType::Kind::optional) ? "?]" : "]");
          return;
        case PropertyType::Kind::optional: {
          const PropertyType* wrapped = type.optionalValue();
          if (wrapped && isListType(*wrapped)) {
            p.add('[', *mapped, "]?");
          } else {
            p.add(*mapped, '?');
          }
          return;
        }
        case PropertyType::Kind::primitive:
        case PropertyType::Kind::object:
        case PropertyType::Kind::enum_:
          break;
      }
      p.add(*mapped);
      return;
    }
  }
  if (m_meta._propertyEnumMaps && recordForPath(*m_meta._propertyEnumMaps, property.names)) {
    // An enum map names the enumeration it made; a member it did not turn into one keeps its
    // own type.
    const PropertyType* held = heldType(property.type);
    if (held && held->is(PropertyType::Kind::enum_)) {
      const std::string name = swiftEscaped(unmappedTypeName(property.names));
      return addBaseType(p, property.type, name);
    }
  }
  addBaseType(p, property.type, {});
}

std::string SwiftRenderer::protocolList(bool identifiable) const {
  std::string out(description(m_protocol));
  if (identifiable) out += ", Identifiable";
  return out;
}

void SwiftRenderer::addStringLiteral(CodePrinter& p, std::string_view text) const {
  // A key is mostly plain text and goes in as it is; only a byte that may be escaped sends it
  // through the escaping writer and the scratch text (wide-100: 340 instructions a coding key's
  // literal before, 210).
  if (isPlainLiteral(text)) {
    p.add('"', text, '"');
    return;
  }
  std::string escaped;  // its own: members are written on several threads
  appendEscaped(escaped, text, kSwiftLiteral);
  p.add('"', escaped, '"');
}

// ---- Declarations -------------------------------------------------------------------------------

std::string SwiftRenderer::propertyDeclaration(const Property& property, std::int64_t level) const {
  const std::string name = propertyName(property.names);
  return printed(level, [&](CodePrinter& p) { writeProperty(p, memberOf(property, name)); });
}

void SwiftRenderer::writeProperty(CodePrinter& p, const Member& member) const {
  // The macro names the key whenever the written name, backquotes and all, differs from it.
  if (m_macros &&
      (member.reserved ? !textEquals(member.key(), swiftEscaped(std::string(member.name())))
                       : member.renamed)) {
    p.line("@SorbelKey(");
    addStringLiteral(p, member.key());
    p.add(')');
  }
  if (member.reserved) {
    p.line(m_propertyLead, '`', member.name(), "`: ");
  } else {
    p.line(m_propertyLead, member.name(), ": ");
  }
  addType(p, *member.property);
}

std::string SwiftRenderer::objectDeclaration(const Object& object, std::int64_t level) const {
  return printed(level, [&](CodePrinter& p) { writeObject(p, object); });
}

void SwiftRenderer::writeObject(CodePrinter& p, const Object& object) const {
  const Members sorted = members(object.properties);
  const std::optional<std::string> identifiableKey =
      m_meta._identifiableTypes ? keyForPath(*m_meta._identifiableTypes, object.names)
                                : std::nullopt;

  if (m_macros) p.line("@SorbelInit");
  p.line(description(m_meta.modelAccessLevel()), description(m_meta.modelType()), ' ');
  addTypeName(p, object.names);
  p.add(": ", description(m_protocol), identifiableKey ? ", Identifiable" : "", " {");
  {
    auto body = p.indented();
    if (m_structureStyle == StructureStyle::nested) writeNestedDeclarations(p, sorted);

    if (identifiableKey && *identifiableKey != "id") {
      std::optional<Member> identity;
      for (const Member& m : sorted) {
        if (textEquals(m.key(), *identifiableKey)) {
          identity = m;
          break;
        }
      }
      // A member whose Swift name is already "id" is the identity itself.
      if (identity && identity->name() != "id") {
        p.line(idAccessText(m_meta.modelAccessLevel()), "var id: ");
        addType(p, *identity->property);
        p.add(" { ");
        addName(p, identity->name(), identity->reserved);
        p.add(" }");
        p.blank();
      }
    }

    reserveMembers(p, sorted);
    p.members(sorted.size(), [&](CodePrinter& q, std::size_t i) { writeProperty(q, sorted[i]); });

    const bool hasProperties = !object.properties.empty();
    if (m_protocol != ProtocolType::sorbelModel &&
        m_meta.propertyNamingStyle() != SwiftMeta::PropertyNamingStyle::snakeToCamel) {
      if (std::any_of(sorted.begin(), sorted.end(), [](const Member& m) { return m.renamed; })) {
        p.blank();
        writeCodingKeys(p, sorted);
      }
    } else if (m_protocol == ProtocolType::sorbelModel && !m_macros) {
      if (hasProperties) p.blank();
      writeJsonInitializer(p, sorted);
    }
    if (m_meta.needsInitializer()) {
      if (hasProperties) p.blank();
      writeMemberwiseInitializer(p, sorted);
    }
  }
  p.line("}");
}

void SwiftRenderer::reserveMembers(CodePrinter& p, const Members& members) const {
  // Each member's property, its coding key or decoding line, and its parameter and assignment
  // when an initializer is written. A type's text is taken as a primitive's, or as long as the
  // key and a little more.
  const bool initializer = m_meta.needsInitializer();
  std::size_t lines = 0;
  std::size_t text = 0;
  for (const Member& m : members) {
    const std::size_t name = m.name().size();
    const std::size_t key = m.key().size() + 2;
    const PropertyType* held = m.property->type.innermost();
    const std::size_t type =
        held && held->is(PropertyType::Kind::primitive) ? 7 : m.key().size() + 10;
    text += m_propertyLead.size() + name + 2 + type + 5 + name + 3 + key;
    lines += 2;
    if (initializer) {
      text += 3 * name + type + 16;
      lines += 2;
    }
  }
  p.reserve(lines, text);
}

std::string SwiftRenderer::enumDeclaration(const Enum& enumeration, std::int64_t level) const {
  return printed(level, [&](CodePrinter& p) { writeEnum(p, enumeration); });
}

void SwiftRenderer::writeEnum(CodePrinter& p, const Enum& enumeration) const {
  const bool isString = enumeration.rawType == Enum::RawType::string;
  p.line(description(m_meta.modelAccessLevel()), "enum ");
  addTypeName(p, enumeration.names);
  p.add(isString ? ": String" : ": Int");
  if (m_protocol != ProtocolType::sorbelModel) p.add(", ", description(m_protocol));
  p.add(" {");
  {
    auto body = p.indented();
    for (const Enum::Case& c : enumeration.cases) {
      if (c.name.empty()) continue;
      p.line("case ");
      addName(p, c.name);
      if (c.value.empty()) continue;
      p.add(" = ");
      if (isString) {
        addStringLiteral(p, c.value);
      } else {
        p.add(c.value);
      }
    }
  }
  p.line("}");
}

std::optional<std::string> SwiftRenderer::typeDeclaration(const PropertyType& type,
                                                          std::int64_t level) const {
  std::string out;
  CodePrinter p(out, m_indentation, level);
  if (!writeTypeDeclaration(p, type)) return std::nullopt;
  return out;
}

bool SwiftRenderer::writeTypeDeclaration(CodePrinter& p, const PropertyType& type) const {
  const PropertyType* held = heldType(type);
  if (!held) return false;
  if (held->is(PropertyType::Kind::object)) {
    writeObject(p, held->objectValue());
  } else {
    writeEnum(p, held->enumValue());
  }
  return true;
}

std::optional<std::string> SwiftRenderer::render(const Code& code, std::int64_t level) const {
  std::string out;
  CodePrinter p(out, m_indentation, level);
  if (!write(p, code)) return std::nullopt;
  return out;
}

bool SwiftRenderer::write(CodePrinter& p, const Code& code) const {
  switch (code.kind()) {
    case Code::Kind::object:
      writeObject(p, code.objectValue());
      return true;
    case Code::Kind::dictionary:
      return writeTypeDeclaration(p, code.dictionaryValue().propertyType);
    case Code::Kind::property: {
      const Property& property = code.propertyValue();
      const std::string name = propertyName(property.names);
      writeProperty(p, memberOf(property, name));
      return true;
    }
    case Code::Kind::propertyType:
      return writeTypeDeclaration(p, code.propertyTypeValue());
  }
  return false;
}

}  // namespace telvar::generate::swift
