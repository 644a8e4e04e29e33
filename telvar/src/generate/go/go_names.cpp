#include "telvar/generate/go/go_names.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

#include <unicode/uchar.h>

#include "telvar/generate/literals.h"
#include "telvar/naming/names.h"
#include "telvar/naming/words.h"
#include "telvar/unicode/text.h"

namespace telvar::generate {
namespace {

constexpr std::array<std::string_view, 25> kGoKeywords{
    "break",  "case",        "chan", "const",   "continue", "default", "defer",
    "else",   "fallthrough", "for",  "func",    "go",       "goto",    "if",
    "import", "interface",   "map",  "package", "range",    "return",  "select",
    "struct", "switch",      "type", "var"};

// Go's identifier characters: letters (general category L), decimal digits and "_".
bool isGoLetter(int c) {
  if (c == '_') return true;
  if (c < 0x80) return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  return isUnicodeLetter(c);
}

bool isGoDigit(int c) {
  if (c < 0x80) return c >= '0' && c <= '9';
  return u_charType(c) == U_DECIMAL_DIGIT_NUMBER;
}

bool fitsRawString(std::string_view key) {
  // A raw string ends at a backquote; the compiler rejects NUL and a BOM anywhere but at the
  // start of a file, and drops carriage returns from raw strings.
  if (key.find_first_of(std::string_view("`\0\r", 3)) != std::string_view::npos) return false;
  return key.find("\xEF\xBB\xBF") == std::string_view::npos;
}

}  // namespace

bool isGoKeyword(std::string_view word) {
  return std::find(kGoKeywords.begin(), kGoKeywords.end(), word) != kGoKeywords.end();
}

std::string goIdentifier(std::string_view name) {
  std::string identifier;
  identifier.reserve(name.size());
  bool clean = true;
  for (char ch : name) {
    if (!((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
          ch == '_')) {
      clean = false;
      break;
    }
  }
  if (clean) {
    identifier.assign(name);
  } else {
    const std::string composed = nfc(name);
    std::string_view rest = composed;
    while (!rest.empty()) {
      int c = -1;
      const std::size_t length = decodeUtf8(rest, c);
      if (length == 0) break;
      if (c >= 0 && (isGoLetter(c) || isGoDigit(c))) identifier.append(rest.substr(0, length));
      rest.remove_prefix(length);
    }
  }
  if (identifier.empty()) return "_";
  int first = -1;
  decodeUtf8(identifier, first);
  if (isGoDigit(first) || isGoKeyword(identifier)) return "_" + identifier;
  return identifier;
}

std::string goTypeName(const GoMeta& meta, const Names& path) {
  if (meta._typeNameMaps) {
    if (auto mapped = nameForPath(*meta._typeNameMaps, path)) return std::move(*mapped);
  }
  std::string name = goIdentifier(typeName(meta, path));
  // Fields refer to their types by name, and Go cannot refer to the blank identifier.
  if (name == "_") name = "__";
  return name;
}

std::string goFieldName(const GoMeta& meta, const Names& path) {
  if (meta._propertyNameMaps) {
    if (auto mapped = nameForPath(*meta._propertyNameMaps, path)) return std::move(*mapped);
  }
  return goIdentifier(propertyName(meta, path));
}

std::vector<std::string> goFieldNames(const GoMeta& meta, const std::vector<Property>& properties) {
  std::vector<std::string> names;
  names.reserve(properties.size());
  for (const Property& property : properties) names.push_back(goFieldName(meta, property.names));

  // Every name as formed, so that a renamed field never takes a later field's own name.
  std::unordered_set<std::string_view> formed(names.begin(), names.end());
  if (formed.size() == names.size()) return names;

  std::unordered_set<std::string> taken;
  // The next number to try per name, so that many equal names cost linear time.
  std::unordered_map<std::string_view, std::size_t> nextNumber;
  std::vector<std::string> result;
  result.reserve(names.size());
  for (const std::string& name : names) {
    if (name == "_" || taken.insert(name).second) {
      result.push_back(name);
      continue;
    }
    std::size_t& n = nextNumber.try_emplace(name, 2).first->second;
    for (;; ++n) {
      std::string candidate = name + std::to_string(n);
      if (!formed.contains(candidate) && taken.insert(candidate).second) {
        result.push_back(std::move(candidate));
        ++n;
        break;
      }
    }
  }
  return result;
}

std::string goInlineRootName(const GoMeta& meta, std::string_view modelName) {
  std::string name = meta._modelPrefix ? *meta._modelPrefix : std::string();
  name += upperCamelCased(modelName);
  return goIdentifier(name);
}

std::string_view goJsonKey(const Names& path) {
  return path.empty() ? std::string_view() : std::string_view(path.back());
}

std::string goTag(std::string_view key, bool omitEmpty) {
  std::string tag = "json:\"";
  tag += key;
  if (omitEmpty) tag += ",omitempty";
  tag += '"';
  if (fitsRawString(key)) return "`" + tag + "`";
  return quoted(tag, kGoLiteral);
}

}  // namespace telvar::generate
