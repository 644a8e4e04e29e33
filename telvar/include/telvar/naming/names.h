#pragma once

#include <string>
#include <string_view>

#include "telvar/options/dart_meta.h"
#include "telvar/options/go_meta.h"
#include "telvar/options/kotlin_meta.h"
#include "telvar/options/proto_meta.h"
#include "telvar/options/swift_meta.h"
#include "telvar/value/key_path.h"
#include "telvar/value/value.h"

namespace telvar {

// The names that generators write for types and properties, formed from a key path (the JSON
// keys from the root, the model name first; its last key is the one being named). An empty key
// path stands for no key and is named "...". Every function is pure; a name-map hit is used
// verbatim.

// ---- Type names --------------------------------------------------------------------------------

/// The Kotlin type name: the `typeNameMaps` hit for the path verbatim; otherwise `modelPrefix`
/// followed by the singular word of the last key ("..." for an empty path, not made singular),
/// then fixed up (see `identifierFixedUp`). "user_settings_list" gives "UserSettings"; with the
/// prefix "My", "users" gives "MyUser".
[[nodiscard]] std::string typeName(const KotlinMeta& meta, const Names& path);
/// The Dart type name, by the same rule as Kotlin's.
[[nodiscard]] std::string typeName(const DartMeta& meta, const Names& path);
/// The Go type name, by the same rule as Kotlin's.
[[nodiscard]] std::string typeName(const GoMeta& meta, const Names& path);
/// The Protocol Buffers message name: the rule of Kotlin's without a prefix (the options have
/// none).
[[nodiscard]] std::string typeName(const ProtoMeta& meta, const Names& path);

/// The Swift type name before any map: `modelPrefix` followed by the singular word of the last
/// key ("..." for an empty path), then fixed up. Not escaped.
[[nodiscard]] std::string unmappedTypeName(const SwiftMeta& meta, KeyPath path);
/// The Swift type name: unless `protocolType` is `sorbelModel`, the `typeNameMaps` hit for the
/// path verbatim; otherwise, or without a hit, `unmappedTypeName`. Either way a reserved word
/// comes back escaped: the key "types" names the type "`Type`".
[[nodiscard]] std::string typeName(const SwiftMeta& meta, const Names& path);

// ---- Property names ----------------------------------------------------------------------------

/// The Kotlin property name (the default form): the `propertyNameMaps` hit verbatim; otherwise
/// the lower camel case of the last key, rewritten by the first acronym whose camel-cased form
/// ends it (no fix-up then), else fixed up. With the default acronyms "user_id" gives "userID",
/// "id" stays "id", "URL" gives "uRL", "1st" gives "_1st" and "2_id" gives "2ID".
[[nodiscard]] std::string propertyName(const KotlinMeta& meta, KeyPath path);
/// The Dart property name, by the same rule as Kotlin's.
[[nodiscard]] std::string propertyName(const DartMeta& meta, KeyPath path);
/// The Go field name: the default form with the upper camel case of the last key, first
/// character kept. "user_id" gives "UserID", "id" "ID", "name" "Name".
[[nodiscard]] std::string propertyName(const GoMeta& meta, KeyPath path);
/// The Swift property name by `propertyNamingStyle`: `default_` as Kotlin's; `raw` the
/// `propertyNameMaps` hit, else the last key exactly as in the sample ("..." for an empty path);
/// `snakeToCamel` the lower camel case of the last key only (no map, acronyms or fix-up). Not
/// escaped: renderers escape it with `swiftEscaped` where they write it.
[[nodiscard]] std::string propertyName(const SwiftMeta& meta, KeyPath path);

// ---- Swift reserved words ----------------------------------------------------------------------

/// Whether `name` is one of Swift's 57 reserved words (exact, case-sensitive: "Type" and "self"
/// are, "type" is not).
[[nodiscard]] bool isSwiftReservedWord(std::string_view name);
/// `name` between backquotes when it is a Swift reserved word, otherwise unchanged:
/// "default" gives "`default`", "name" stays "name".
[[nodiscard]] std::string swiftEscaped(std::string name);

}  // namespace telvar
