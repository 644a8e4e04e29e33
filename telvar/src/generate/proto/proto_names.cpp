#include "telvar/generate/proto/proto_names.h"

#include <unordered_map>
#include <unordered_set>

#include "telvar/generate/literals.h"
#include "telvar/naming/names.h"
#include "telvar/unicode/text.h"

namespace telvar::generate {
namespace {

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool isIdentifierChar(char c) { return isAsciiLetter(c) || isAsciiDigit(c) || c == '_'; }

// What protoc compares field names by in proto3: lower case without underscores.
std::string folded(std::string_view identifier) {
  std::string out;
  out.reserve(identifier.size());
  for (char c : identifier) {
    if (c == '_') continue;
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

}  // namespace

std::string protoIdentifier(std::string_view text) {
  std::string scratch;
  std::string_view composed = nfcView(text, scratch);
  std::string out;
  out.reserve(composed.size() + 1);
  while (!composed.empty()) {
    const char c = composed.front();
    if (static_cast<unsigned char>(c) < 0x80) {
      out += isIdentifierChar(c) ? c : '_';
      composed.remove_prefix(1);
      continue;
    }
    int codePoint = 0;
    std::size_t length = decodeUtf8(composed, codePoint);
    out += '_';
    composed.remove_prefix(length == 0 ? 1 : length);
  }
  if (out.empty()) return "_";
  if (isAsciiDigit(out.front())) out.insert(out.begin(), '_');
  return out;
}

std::string protoTypeName(const ProtoMeta& meta, const Names& path) {
  if (meta._typeNameMaps) {
    if (auto mapped = nameForPath(*meta._typeNameMaps, path)) return std::move(*mapped);
  }
  static const ProtoMeta withoutMaps;
  return protoIdentifier(typeName(withoutMaps, path));
}

std::vector<ProtoFieldName> protoFieldNames(const std::vector<Property>& properties,
                                            const std::vector<std::string>& scopeNames) {
  std::vector<ProtoFieldName> names(properties.size());
  const std::unordered_set<std::string> scope(scopeNames.begin(), scopeNames.end());
  std::unordered_set<std::string> foldedTaken;
  // The next suffix to try per folded name: a suffix that was taken once stays taken, so many
  // colliding keys stay linear.
  std::unordered_map<std::string, std::size_t> nextSuffix;
  std::unordered_set<std::string> renamedKeys;
  auto isFree = [&](const std::string& identifier) {
    return !scope.contains(identifier) && !foldedTaken.contains(folded(identifier));
  };

  for (std::size_t i = 0; i < properties.size(); ++i) {
    const Property& property = properties[i];
    if (property.type.is(PropertyType::Kind::dictionary)) continue;
    const std::string key = property.names.empty() ? std::string("...") : property.names.back();
    const std::string base = protoIdentifier(key);
    std::string identifier = base;
    if (!isFree(identifier)) {
      std::size_t& suffix = nextSuffix.try_emplace(folded(base), 2).first->second;
      do {
        identifier = base + "_" + std::to_string(suffix++);
      } while (!isFree(identifier));
    }
    foldedTaken.insert(folded(identifier));
    if (identifier != key) {
      names[i].jsonName = key;
      renamedKeys.insert(key);
    }
    names[i].identifier = std::move(identifier);
  }

  // A renamed field's JSON name must not equal the one protoc derives for a field kept as it is:
  // newer protoc rejects that, so the kept field spells its key out too.
  if (!renamedKeys.empty()) {
    for (std::size_t i = 0; i < properties.size(); ++i) {
      ProtoFieldName& name = names[i];
      if (name.jsonName || name.identifier.empty()) continue;
      if (renamedKeys.contains(protoDefaultJsonName(name.identifier))) {
        name.jsonName = name.identifier;
      }
    }
  }
  return names;
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
