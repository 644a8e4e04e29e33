#include "telvar/naming/names.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "telvar/naming/identifier.h"
#include "telvar/naming/words.h"

namespace telvar {
namespace {

// The singular word of the last key after a prefix, fixed up; "..." names an empty path and is
// not made singular.
std::string prefixedTypeWord(std::string_view prefix, KeyPath path) {
  std::string name(prefix);
  name += path.empty() ? std::string("...") : singularized(path.back());
  fixUpIdentifier(name);
  return name;
}

// The type-name rule shared by the languages without escaping: a map hit verbatim, else the
// prefixed singular word.
template <class Meta>
std::string mappedOrPrefixedTypeName(const Meta& meta, std::string_view prefix, const Names& path) {
  // Stored settings are read in place: the accessors copy their lists.
  if (meta._typeNameMaps) {
    if (auto mapped = nameForPath(*meta._typeNameMaps, path)) return std::move(*mapped);
  }
  return prefixedTypeWord(prefix, path);
}

// The acronym step over the options' list; an unset list reads as "ID" then "URL" without
// minting records (and their identifiers) on every call.
template <class Meta>
std::optional<std::string> acronymRewrite(const Meta& meta, std::string_view name) {
  if (meta._acronyms) {
    for (const Acronym& acronym : *meta._acronyms) {
      if (auto applied = acronymApplied(name, acronym.name())) return applied;
    }
    return std::nullopt;
  }
  // An ASCII acronym only matches a name that ends with its camel-cased form, so a name that ends
  // with neither form is left as it is without asking (nearly every name of a wide record:
  // wide-100 spent 38 M instructions asking).
  struct Default {
    std::string_view acronym;
    std::string_view form;
  };
  static constexpr std::array<Default, 2> defaults{{{"ID", "Id"}, {"URL", "Url"}}};
  for (const Default& d : defaults) {
    if (name.empty() || name.back() != d.form.back() || !name.ends_with(d.form)) continue;
    if (auto applied = acronymApplied(name, d.acronym)) return applied;
  }
  return std::nullopt;
}

// The word rewritten by the first matching acronym, or fixed up when none matches. One text from
// the word to the result, handed back without a move: its only return is the one name (wide
// records: a name is otherwise copied at every step).
template <class Meta, class Word>
std::string acronymName(const Meta& meta, KeyPath path, Word&& word) {
  std::string name = word(path);
  if (auto applied = acronymRewrite(meta, name)) {
    name = std::move(*applied);
  } else {
    fixUpIdentifier(name);
  }
  return name;
}

// The property-name rule around a word: a map hit verbatim, else the acronym name.
template <class Meta, class Word>
std::string mappedOrAcronymName(const Meta& meta, KeyPath path, Word&& word) {
  if (meta._propertyNameMaps) {
    if (auto mapped = nameForPath(*meta._propertyNameMaps, path)) return std::move(*mapped);
  }
  return acronymName(meta, path, word);
}

std::string upperCamelCasedLastKey(KeyPath path) {
  return path.empty() ? std::string("...") : upperCamelCased(path.back());
}

template <class Meta>
std::string prefix(const Meta& meta) {
  return meta._modelPrefix ? *meta._modelPrefix : std::string();
}

}  // namespace

std::string typeName(const KotlinMeta& meta, const Names& path) {
  return mappedOrPrefixedTypeName(meta, prefix(meta), path);
}

std::string typeName(const DartMeta& meta, const Names& path) {
  return mappedOrPrefixedTypeName(meta, prefix(meta), path);
}

std::string typeName(const GoMeta& meta, const Names& path) {
  return mappedOrPrefixedTypeName(meta, prefix(meta), path);
}

std::string typeName(const ProtoMeta& meta, const Names& path) {
  return mappedOrPrefixedTypeName(meta, std::string_view(), path);
}

std::string unmappedTypeName(const SwiftMeta& meta, KeyPath path) {
  return prefixedTypeWord(prefix(meta), path);
}

std::string typeName(const SwiftMeta& meta, const Names& path) {
  if (meta.protocolType() != SwiftMeta::ProtocolType::sorbelModel && meta._typeNameMaps) {
    if (auto mapped = nameForPath(*meta._typeNameMaps, path)) {
      return swiftEscaped(std::move(*mapped));
    }
  }
  return swiftEscaped(unmappedTypeName(meta, path));
}

std::string propertyName(const KotlinMeta& meta, KeyPath path) {
  return mappedOrAcronymName(meta, path, lowerCamelCased);
}

std::string propertyName(const DartMeta& meta, KeyPath path) {
  return mappedOrAcronymName(meta, path, lowerCamelCased);
}

std::string propertyName(const GoMeta& meta, KeyPath path) {
  return mappedOrAcronymName(meta, path, upperCamelCasedLastKey);
}

std::string propertyName(const SwiftMeta& meta, KeyPath path) {
  switch (meta.propertyNamingStyle()) {
    case SwiftMeta::PropertyNamingStyle::raw:
      if (meta._propertyNameMaps) {
        if (auto mapped = nameForPath(*meta._propertyNameMaps, path)) return std::move(*mapped);
      }
      return path.empty() ? std::string("...") : std::string(path.back());
    case SwiftMeta::PropertyNamingStyle::snakeToCamel:
      return lowerCamelCased(path);
    case SwiftMeta::PropertyNamingStyle::default_:
      break;
  }
  return mappedOrAcronymName(meta, path, lowerCamelCased);
}

namespace {

// Sorted, and searched by halves.
constexpr std::array<std::string_view, 57> kSwiftReservedWords{
    "Any",      "Self",      "Type",        "actor",  "as",          "associatedtype",
    "async",    "await",     "break",       "case",   "catch",       "class",
    "continue", "default",   "defer",       "deinit", "do",          "else",
    "enum",     "extension", "fallthrough", "false",  "fileprivate", "for",
    "func",     "guard",     "if",          "import", "in",          "init",
    "inout",    "internal",  "is",          "let",    "nil",         "open",
    "operator", "private",   "protocol",    "public", "repeat",      "rethrows",
    "return",   "self",      "static",      "struct", "subscript",   "super",
    "switch",   "throw",     "throws",      "true",   "try",         "typealias",
    "var",      "where",     "while"};
static_assert(std::is_sorted(kSwiftReservedWords.begin(), kSwiftReservedWords.end()));

constexpr std::size_t kLongestSwiftReservedWord = 14;

// For each length, the first letters of the reserved words of that length, one bit per letter
// from 'A' to 'z'.
constexpr std::array<std::uint64_t, kLongestSwiftReservedWord + 1> kSwiftReservedStarts = [] {
  std::array<std::uint64_t, kLongestSwiftReservedWord + 1> starts{};
  for (std::string_view word : kSwiftReservedWords) {
    starts[word.size()] |= std::uint64_t{1} << (word[0] - 'A');
  }
  return starts;
}();

}  // namespace

bool isSwiftReservedWord(std::string_view name) {
  // Asked for every member of every type: the length and first letter turn nearly every name
  // away before any comparison (wide-100 in Swift: 330 instructions a name before, 30).
  if (name.size() > kLongestSwiftReservedWord) return false;
  const std::uint64_t starts = kSwiftReservedStarts[name.size()];
  const unsigned first = static_cast<unsigned char>(name.empty() ? 0 : name[0]) - 'A';
  if (first >= 64 || (starts >> first & 1) == 0) return false;
  return std::binary_search(kSwiftReservedWords.begin(), kSwiftReservedWords.end(), name);
}

std::string swiftEscaped(std::string name) {
  if (!isSwiftReservedWord(name)) return name;
  return "`" + name + "`";
}

}  // namespace telvar
