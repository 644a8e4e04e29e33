#include "telvar/generate/dart/dart_names.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "telvar/generate/literals.h"
#include "telvar/naming/names.h"
#include "telvar/options/shared_records.h"
#include "telvar/unicode/text.h"

namespace telvar::generate {
namespace {

// Words that may never name a declaration.
constexpr std::array<std::string_view, 33> kReservedWords{
    "assert", "break", "case",    "catch",   "class",  "const",   "continue", "default", "do",
    "else",   "enum",  "extends", "false",   "final",  "finally", "for",      "if",      "in",
    "is",     "new",   "null",    "rethrow", "return", "super",   "switch",   "this",    "throw",
    "true",   "try",   "var",     "void",    "while",  "with"};

// Words that may name members and variables but not classes.
constexpr std::array<std::string_view, 23> kBuiltInIdentifiers{
    "abstract",  "as",        "covariant", "deferred", "dynamic", "export",
    "extension", "external",  "factory",   "Function", "get",     "implements",
    "import",    "interface", "late",      "library",  "mixin",   "operator",
    "part",      "required",  "set",       "static",   "typedef"};

// The types the generated code names. A class or a member of the same name would hide them from
// the code around it ("Map<String, dynamic>" in every class).
constexpr std::array<std::string_view, 8> kReferencedTypes{"bool", "int", "double", "String",
                                                           "List", "Map", "Null",   "dynamic"};

// Members a generated class has or inherits; a field of the same name would clash with them.
constexpr std::array<std::string_view, 7> kClassMembers{
    "fromJSON", "toJSON", "copyWith", "hashCode", "runtimeType", "toString", "noSuchMethod"};

// Every listed word is made of ASCII letters: a name with any other character is looked up no
// further (wide-100: 48 comparisons a member name such as "r0Field1").
constexpr bool mayBeListed(std::string_view word) {
  return std::all_of(word.begin(), word.end(),
                     [](char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); });
}
template <std::size_t N>
constexpr bool allMayBeListed(const std::array<std::string_view, N>& words) {
  return std::all_of(words.begin(), words.end(), mayBeListed);
}
static_assert(allMayBeListed(kReservedWords) && allMayBeListed(kReferencedTypes) &&
              allMayBeListed(kClassMembers));

template <std::size_t N>
bool listed(const std::array<std::string_view, N>& words, std::string_view word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

// By a table: every character of every name is looked up (wide-100: 180 instructions a member
// name by comparisons).
constexpr auto kIdentifierCharacters = [] {
  std::array<bool, 256> table{};
  for (std::size_t ch = 0; ch < table.size(); ++ch) {
    table[ch] = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
                ch == '_' || ch == '$';
  }
  return table;
}();

bool isIdentifierCharacter(char ch) {
  return kIdentifierCharacters[static_cast<unsigned char>(ch)];
}

bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

// Dart identifiers are ASCII letters, digits, "_" and "$"; any other character is spelled out
// by its code point after `marker`, so that different keys keep different names. Class names
// take "U" and members "u", so that a class name keeps its capital and never equals a member's.
std::string identifierCharacters(std::string name, char marker) {
  // Most names are clean, and handed back as they came.
  if (std::all_of(name.begin(), name.end(), isIdentifierCharacter)) return name;
  std::string_view rest(name);
  std::string out;
  out.reserve(name.size() + 8);
  while (!rest.empty()) {
    if (isIdentifierCharacter(rest.front())) {
      out += rest.front();
      rest.remove_prefix(1);
      continue;
    }
    int codePoint = 0;
    std::size_t length = decodeUtf8(rest, codePoint);
    if (length == 0) length = 1;
    if (codePoint < 0) codePoint = static_cast<unsigned char>(rest.front());
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%c%04X", marker, static_cast<unsigned>(codePoint));
    out += buffer;
    rest.remove_prefix(length);
  }
  return out;
}

}  // namespace

bool isDartReservedWord(std::string_view word) { return listed(kReservedWords, word); }

bool isDartBuiltInIdentifier(std::string_view word) { return listed(kBuiltInIdentifiers, word); }

std::string dartTypeName(const DartMeta& meta, const Names& path) {
  if (meta._typeNameMaps) {
    if (auto mapped = nameForPath(*meta._typeNameMaps, path)) return std::move(*mapped);
  }
  std::string name = identifierCharacters(typeName(meta, path), 'U');
  // The shared rule leaves no empty name and puts "_" before a leading digit.
  if (isDartReservedWord(name) || isDartBuiltInIdentifier(name) || listed(kReferencedTypes, name)) {
    name += '_';
  }
  return name;
}

std::string dartTypeName(const DartMeta& meta, const Names& path, const TypeNames* types) {
  if (types) {
    if (const std::string* name = types->find(path)) return *name;
  }
  return dartTypeName(meta, path);
}

TypeNames dartTypeNames(const Code& root, const DartMeta& meta) {
  TypeNames::Language language;
  language.formed = [&meta](const Names& path) { return dartTypeName(meta, path); };
  language.isUsersOwn = [&meta](const Names& path) {
    return meta._typeNameMaps && nameForPath(*meta._typeNameMaps, path).has_value();
  };
  return TypeNames(root, language);
}

namespace {

// The one name is the only return, and a clean name is not passed through the repair: the formed
// text is handed on without a move (wide-object-100: 85 instructions a member name).
std::string formedPropertyName(const DartMeta& meta, KeyPath path) {
  std::string name = propertyName(meta, path);
  if (!std::all_of(name.begin(), name.end(), isIdentifierCharacter)) {
    name = identifierCharacters(std::move(name), 'u');
  }
  // Named parameters may not be private, so the member may not begin with "_".
  if (!name.empty() && name.front() == '_') {
    if (name.size() > 1 && name[1] == '$') {
      name.erase(0, 1);
    } else {
      name.front() = '$';
    }
  }
  if (name.empty() || isDigit(name.front())) name = "$" + name;
  if (mayBeListed(name) &&
      (isDartReservedWord(name) || listed(kReferencedTypes, name) || listed(kClassMembers, name))) {
    name += '_';
  }
  return name;
}

}  // namespace

std::string dartPropertyName(const DartMeta& meta, KeyPath path) {
  if (meta._propertyNameMaps) {
    if (auto mapped = nameForPath(*meta._propertyNameMaps, path)) return std::move(*mapped);
  }
  return formedPropertyName(meta, path);
}

std::string dartStringContent(std::string_view key) { return escaped(key, kDartLiteral); }

}  // namespace telvar::generate
