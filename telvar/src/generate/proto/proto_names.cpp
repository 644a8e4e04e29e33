#include "telvar/generate/proto/proto_names.h"

#include <array>
#include <unordered_map>
#include <unordered_set>

#include "telvar/generate/identifiers.h"
#include "telvar/generate/literals.h"
#include "telvar/naming/names.h"
#include "telvar/unicode/text.h"

namespace telvar::generate {
namespace {

constexpr bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool isIdentifierChar(char c) { return isAsciiLetter(c) || isAsciiDigit(c) || c == '_'; }

bool isAsciiIdentifierStart(char32_t c) {
  return c < 0x80 && (isAsciiLetter(static_cast<char>(c)) || c == '_');
}
// By a table: every character of every field name is looked up (wide-100: 35 M instructions
// by comparisons, 19 M by the table).
constexpr auto kIdentifierChars = [] {
  std::array<bool, 128> table{};
  for (std::size_t c = 0; c < table.size(); ++c) table[c] = isIdentifierChar(static_cast<char>(c));
  return table;
}();

bool isAsciiIdentifierChar(char32_t c) { return c < 0x80 && kIdentifierChars[c]; }

// protoc's identifiers: ASCII letters, digits and "_"; any other character becomes "_".
const IdentifierRules kProtoRules{isAsciiIdentifierStart,
                                  isAsciiIdentifierChar,
                                  ForeignCharacter::underscore,
                                  'u',
                                  "_",
                                  "_",
                                  nullptr,
                                  "",
                                  ""};

// What protoc compares field names by in proto3: lower case without underscores.
// Written into a text of the identifier's size, then cut: every field name is folded once to
// be told apart (wide-100: 280 instructions a name by appending, 110).
std::string folded(std::string_view identifier) {
  std::string out(identifier.size(), '\0');
  std::size_t size = 0;
  for (char c : identifier) {
    if (c == '_') continue;
    out[size++] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  out.resize(size);
  return out;
}

// The JSON key of a property; "..." for one without a key path.
std::string_view keyOf(const Property& property) {
  return property.names.empty() ? std::string_view("...") : std::string_view(property.names.back());
}

}  // namespace

std::string protoIdentifier(std::string_view text) { return repairedIdentifier(text, kProtoRules); }

std::string protoTypeName(const ProtoMeta& meta, const Names& path) {
  if (meta._typeNameMaps) {
    if (auto mapped = nameForPath(*meta._typeNameMaps, path)) return std::move(*mapped);
  }
  static const ProtoMeta withoutMaps;
  return protoIdentifier(typeName(withoutMaps, path));
}

std::string protoTypeName(const ProtoMeta& meta, const Names& path, const TypeNames* types) {
  if (types) {
    if (const std::string* name = types->find(path)) return *name;
  }
  return protoTypeName(meta, path);
}

TypeNames protoTypeNames(const Code& root, const ProtoMeta& meta) {
  TypeNames::Language language;
  language.formed = [&meta](const Names& path) { return protoTypeName(meta, path); };
  language.isUsersOwn = [&meta](const Names& path) {
    return meta._typeNameMaps && nameForPath(*meta._typeNameMaps, path).has_value();
  };
  // A message of ours named like a type the file refers to would stand for it.
  language.reservedIn = [](const Object*) {
    return std::unordered_set<std::string>{"Value", "URL", "Date"};
  };
  language.nested = meta.structureStyle() == ProtoMeta::StructureStyle::nested;
  return TypeNames(root, language);
}

ProtoFieldNames::ProtoFieldNames(const std::vector<Property>& properties,
                                 const std::vector<std::string>& scopeNames)
    : m_properties(&properties), m_jsonNames(properties.size(), JsonName::none) {
  // A dictionary's empty identifier stands in the list and takes no part in telling names apart:
  // no identifier is empty.
  NameList formed = formedNames(properties, [](const Property& property) {
    return property.type.is(PropertyType::Kind::dictionary) ? std::string()
                                                            : protoIdentifier(keyOf(property));
  });
  const std::unordered_set<std::string> scope(scopeNames.begin(), scopeNames.end());
  m_identifiers = distinctNames(std::move(formed), NumberStyle::underscored, scope, folded,
                                [](std::string_view name) { return name.empty(); });

  std::unordered_set<std::string_view> renamedKeys;
  for (std::size_t i = 0; i < properties.size(); ++i) {
    const std::string_view identifier = m_identifiers[i];
    const std::string_view key = keyOf(properties[i]);
    if (identifier.empty() || identifier == key) continue;
    m_jsonNames[i] = JsonName::key;
    renamedKeys.insert(key);
  }

  // A renamed field's JSON name must not equal the one protoc derives for a field kept as it is:
  // newer protoc rejects that, so the kept field spells its key out too.
  if (!renamedKeys.empty()) {
    for (std::size_t i = 0; i < properties.size(); ++i) {
      const std::string_view identifier = m_identifiers[i];
      if (m_jsonNames[i] != JsonName::none || identifier.empty()) continue;
      if (renamedKeys.contains(protoDefaultJsonName(identifier))) {
        m_jsonNames[i] = JsonName::identifier;
      }
    }
  }
}

ProtoFieldName ProtoFieldNames::operator[](std::size_t i) const {
  const std::string_view identifier = m_identifiers[i];
  switch (m_jsonNames[i]) {
    case JsonName::none:
      break;
    case JsonName::key:
      return {identifier, keyOf((*m_properties)[i])};
    case JsonName::identifier:
      return {identifier, identifier};
  }
  return {identifier, std::nullopt};
}

std::string protoDefaultJsonName(std::string_view identifier) {
  std::string out;
  out.reserve(identifier.size());
  bool upperNext = false;
  for (char c : identifier) {
    if (c == '_') {
      upperNext = true;
    } else if (upperNext) {
      out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
      upperNext = false;
    } else {
      out += c;
    }
  }
  return out;
}

std::string protoStringLiteral(std::string_view text) { return quoted(text, kProtoLiteral); }

std::uint64_t protoFieldNumber(std::size_t position) {
  const std::uint64_t number = static_cast<std::uint64_t>(position) + 1;
  return number >= 19000 ? number + 1000 : number;
}

}  // namespace telvar::generate
