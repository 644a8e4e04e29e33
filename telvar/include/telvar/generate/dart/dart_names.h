#pragma once

// The names and literal texts that the Dart output writes. The shared naming rules form the
// words; what follows here makes the names that those rules form usable in Dart, and escapes JSON
// keys for Dart string literals. A name taken from a name map is the user's own and is written
// exactly as typed.

#include <string>
#include <string_view>

#include "telvar/code/code.h"
#include "telvar/generate/identifiers.h"
#include "telvar/options/dart_meta.h"
#include "telvar/value/value.h"

namespace telvar::generate {

/// Whether `word` is one of Dart's reserved words, which no declaration may be named
/// ("class", "this", "null", ...; exact and case-sensitive).
[[nodiscard]] bool isDartReservedWord(std::string_view word);

/// Whether `word` is a Dart built-in identifier ("Function", "dynamic", "factory", ...), which
/// may name a member but not a class.
[[nodiscard]] bool isDartBuiltInIdentifier(std::string_view word);

/// The Dart class name for a key path: a `typeNameMaps` hit verbatim; otherwise the shared type
/// name made a Dart identifier: characters Dart does not allow in identifiers are written
/// "U" + their code point in hexadecimal ("Café" gives "CafU00E9"), and a reserved word, a
/// built-in identifier, or a name of the core types the output refers to ("List", "Map",
/// "String", "Null", ...) gets a trailing "_" ("List" gives "List_").
[[nodiscard]] std::string dartTypeName(const DartMeta& meta, const Names& path);
/// The name `types` gives the object at `path`, or else `dartTypeName`.
[[nodiscard]] std::string dartTypeName(const DartMeta& meta, const Names& path,
                                       const TypeNames* types);

/// The names of every class the file declares for `root`: all classes stand at the top level,
/// so different classes of one formed name are numbered ("Item", "Item2").
[[nodiscard]] TypeNames dartTypeNames(const Code& root, const DartMeta& meta);

/// The Dart property name for a key path: a `propertyNameMaps` hit verbatim; otherwise the shared
/// property name made a Dart member name: characters outside identifiers are written "u" + their
/// code point in hexadecimal ("名前" gives "u540Du524D"); a leading "_" (which would make the
/// member private, and no named parameter may be private) becomes "$", or is dropped when "$"
/// follows it ("_1st" gives "$1st", "_$ref" gives "$ref", "_" gives "$"); a leading digit gets
/// "$" in front; a reserved word, a type name the output refers to ("int", "dynamic", ...) or a
/// member every class has or is given ("toJSON", "hashCode", ...) gets a trailing "_" ("class"
/// gives "class_").
[[nodiscard]] std::string dartPropertyName(const DartMeta& meta, KeyPath path);

/// `key` escaped for the inside of a double-quoted Dart string literal: backslash, double quote
/// and "$" get a backslash; line feed, carriage return and tab are written "\n", "\r", "\t" and
/// other control characters "\xHH". Other text is copied unchanged.
[[nodiscard]] std::string dartStringContent(std::string_view key);

}  // namespace telvar::generate
