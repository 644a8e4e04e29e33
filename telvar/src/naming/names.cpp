#include "telvar/naming/names.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "telvar/naming/identifier.h"
#include "telvar/naming/words.h"

namespace telvar {
namespace {

// The singular word of the last key after a prefix, fixed up; "..." names an empty path and is
// not made singular.
std::string prefixedTypeWord(std::string_view prefix, const Names& path) {
  std::string name(prefix);
  name += path.empty() ? std::string("...") : singularized(path.back());
  return identifierFixedUp(std::move(name));
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
  static constexpr std::array<std::string_view, 2> defaults{"ID", "URL"};
  for (std::string_view acronym : defaults) {
    if (auto applied = acronymApplied(name, acronym)) return applied;
  }
  return std::nullopt;
}

// The property-name rule around a word: a map hit verbatim; else the word rewritten by the first
// matching acronym, or fixed up when none matches.
template <class Meta, class Word>
std::string mappedOrAcronymName(const Meta& meta, const Names& path, Word&& word) {
  if (meta._propertyNameMaps) {
    if (auto mapped = nameForPath(*meta._propertyNameMaps, path)) return std::move(*mapped);
  }
  std::string name = word(path);
  if (auto applied = acronymRewrite(meta, name)) return std::move(*applied);
  return identifierFixedUp(std::move(name));
}

std::string upperCamelCasedLastKey(const Names& path) {
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

std::string unmappedTypeName(const SwiftMeta& meta, const Names& path) {
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

std::string propertyName(const KotlinMeta& meta, const Names& path) {
  return mappedOrAcronymName(meta, path, lowerCamelCased);
}

std::string propertyName(const DartMeta& meta, const Names& path) {
  return mappedOrAcronymName(meta, path, lowerCamelCased);
}

std::string propertyName(const GoMeta& meta, const Names& path) {
  return mappedOrAcronymName(meta, path, upperCamelCasedLastKey);
}

std::string propertyName(const SwiftMeta& meta, const Names& path) {
  switch (meta.propertyNamingStyle()) {
    case SwiftMeta::PropertyNamingStyle::raw:
      if (meta._propertyNameMaps) {
        if (auto mapped = nameForPath(*meta._propertyNameMaps, path)) return std::move(*mapped);
      }
      return path.empty() ? std::string("...") : path.back();
    case SwiftMeta::PropertyNamingStyle::snakeToCamel:
      return lowerCamelCased(path);
    case SwiftMeta::PropertyNamingStyle::default_:
      break;
  }
  return mappedOrAcronymName(meta, path, lowerCamelCased);
}

bool isSwiftReservedWord(std::string_view name) {
  // Sorted, and searched by halves: asked once or twice for every member of every type.
  static constexpr std::array<std::string_view, 57> words{
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
  static_assert(std::is_sorted(words.begin(), words.end()));
  if (name.size() < 2 || name.size() > 14) return false;
  return std::binary_search(words.begin(), words.end(), name);
}

std::string swiftEscaped(std::string name) {
  if (!isSwiftReservedWord(name)) return name;
  return "`" + name + "`";
}

}  // namespace telvar
