#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "telvar/code/code.h"
#include "telvar/generate/identifiers.h"
#include "telvar/options/proto_meta.h"
#include "telvar/value/value.h"

namespace telvar::generate {

// The names a proto file declares, decided as data before anything is printed. protoc accepts
// only identifiers of the form [A-Za-z_][A-Za-z0-9_]*, rejects two fields of a message whose
// names are equal once lower-cased and stripped of underscores (their JSON names would clash in
// proto3), and rejects a field named like a message declared in the same scope. Keys are
// reduced to such identifiers and keep their JSON spelling through `json_name`.

/// `text` as a proto identifier: every character other than an ASCII letter, digit or "_" (a
/// Unicode scalar, after canonical composition) becomes "_"; the empty text becomes "_"; a
/// leading digit gets "_" in front. "user-name" gives "user_name", "first name" "first_name",
/// "1st" "_1st", "café" "caf_", "$ref" "_ref"; a valid identifier stays as it is.
[[nodiscard]] std::string protoIdentifier(std::string_view text);

/// The message name for the object at a key path: the `typeNameMaps` hit, verbatim; otherwise
/// the shared type-name rule without prefix (the singular word of the last key, fixed up), made
/// a proto identifier. "items" gives "Item", "user_settings" "UserSetting", "$ref" "__ref", and
/// an emoji key "_".
[[nodiscard]] std::string protoTypeName(const ProtoMeta& meta, const Names& path);
/// The name `types` gives the object at `path`, or else the formed name.
[[nodiscard]] std::string protoTypeName(const ProtoMeta& meta, const Names& path,
                                        const TypeNames* types);

/// The names of every message the file declares for `root`: different messages of one formed
/// name in one scope (the file, or the message holding them in the nested style) are numbered
/// ("Item", "Item2"); "Value", "URL" and "Date", which fields refer to, are never taken.
[[nodiscard]] TypeNames protoTypeNames(const Code& root, const ProtoMeta& meta);

/// How one field is named: its identifier, and the JSON key for a `json_name` option when the
/// identifier is not the key itself (or when the key must be kept apart from another field's
/// JSON name). Both are views of the list of names it was read from and of the field's key.
struct ProtoFieldName {
  std::string_view identifier;
  std::optional<std::string_view> jsonName;

  friend bool operator==(const ProtoFieldName&, const ProtoFieldName&) = default;
};

/// The field names of a message's properties, one per property in order (a dictionary, which
/// declares no field, gets an empty identifier). Each is the last key of the property's key path
/// ("..." when the path is empty), made a proto identifier; when that is taken - by an earlier
/// field with the same lower-cased name without underscores, or by a name in `scopeNames` (the
/// messages declared in the same message) - it is numbered by `distinctNames` ("_2", "_3", ...). A
/// field whose identifier differs from its key gets the key as its JSON name; so does a field kept
/// as it is whose proto3 JSON name would equal the JSON name of a renamed one (keys "user_name" and
/// "userName" give "user_name" [json_name "user_name"] and "userName_2" [json_name "userName"]).
/// Linear in the number of properties, even when every key collides.
///
/// The identifiers are kept in one text and a byte per field tells which JSON name it takes: a
/// wide message holds one per key (wide-1000: 144 MB as a string and an optional string a field).
/// The properties must outlive the list.
class ProtoFieldNames {
 public:
  ProtoFieldNames(const std::vector<Property>& properties,
                  const std::vector<std::string>& scopeNames);
  ProtoFieldNames(std::vector<Property>&&, const std::vector<std::string>&) = delete;

  [[nodiscard]] std::size_t size() const noexcept { return m_identifiers.size(); }
  [[nodiscard]] ProtoFieldName operator[](std::size_t i) const;
  /// The characters of every identifier together.
  [[nodiscard]] std::size_t characters() const noexcept { return m_identifiers.characters(); }

  using Iterator = PositionIterator<ProtoFieldNames, ProtoFieldName>;
  [[nodiscard]] Iterator begin() const { return {this, 0}; }
  [[nodiscard]] Iterator end() const { return {this, size()}; }

 private:
  enum class JsonName : std::uint8_t { none, key, identifier };
  const std::vector<Property>* m_properties;
  NameList m_identifiers;
  std::vector<JsonName> m_jsonNames;
};

[[nodiscard]] inline ProtoFieldNames protoFieldNames(const std::vector<Property>& properties,
                                                     const std::vector<std::string>& scopeNames) {
  return ProtoFieldNames(properties, scopeNames);
}
ProtoFieldNames protoFieldNames(std::vector<Property>&&, const std::vector<std::string>&) = delete;

/// The proto3 JSON name protoc derives from a field name: underscores dropped, each letter after
/// one upper-cased. "user_name" gives "userName".
[[nodiscard]] std::string protoDefaultJsonName(std::string_view identifier);

/// `text` as a proto string literal: between double quotes, with "\\" and "\"" escaped, line
/// feed, carriage return and tab as "\n", "\r", "\t", other control characters as three-digit
/// octal escapes; everything else (UTF-8 included) as it is.
[[nodiscard]] std::string protoStringLiteral(std::string_view text);

/// The number of the field at `position` (0-based) in its message: position + 1, except that the
/// range 19000...19999, which protoc keeps for itself, is skipped (position 18999 gets 20000).
[[nodiscard]] std::uint64_t protoFieldNumber(std::size_t position);

}  // namespace telvar::generate
