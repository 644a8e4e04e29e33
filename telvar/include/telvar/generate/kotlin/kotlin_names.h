#pragma once

#include <string>
#include <string_view>

namespace telvar::generate::kotlin {

// How names and JSON keys are written into Kotlin source so that any sample compiles. Names
// come from the naming rules (or verbatim from the user's maps) and may hold anything a JSON key
// holds; ordinary names pass through unchanged.

/// Whether `name` is one of Kotlin's hard keywords ("class", "in", "typeof", ...), which can
/// never be used as a plain identifier. Soft and modifier keywords ("data", "value") can.
[[nodiscard]] bool isKotlinHardKeyword(std::string_view name);

/// Whether `name` can be written as it is: a letter or "_" followed by letters, "_" and decimal
/// digits (Unicode letters and digits), not made of underscores only, and not a hard keyword.
[[nodiscard]] bool isPlainKotlinIdentifier(std::string_view name);

/// The identifier a name declares, before quoting: every character that no Kotlin name may hold,
/// even between backquotes (backquote, line breaks, and ". ; [ ] / < > : \" on the JVM), becomes
/// "_"; an empty name becomes "_". Most names come back unchanged.
[[nodiscard]] std::string kotlinIdentifier(std::string_view name);

/// The name as written in source: `kotlinIdentifier` of it, between backquotes unless it is a
/// plain identifier. "userName" stays, "in" gives "`in`", "_$ref" gives "`_$ref`", "" gives
/// "`_`", "a.b" gives "a_b".
[[nodiscard]] std::string kotlinName(std::string_view name);

/// A type the user named in a type-name map, as written in source: exactly as typed, except that
/// a part between dots that is a hard keyword takes backquotes, which leave the name itself
/// unchanged. "class" gives "`class`", "fun.Label" "`fun`.Label"; "Map<String, String>" and
/// "com.example.Foo" stay as they are.
[[nodiscard]] std::string kotlinMappedName(std::string_view name);

/// `text` as the contents of a Kotlin string literal: backslash, double quote and "$" escaped,
/// and control characters written as escapes, so that the literal reads back as `text`.
[[nodiscard]] std::string kotlinStringContent(std::string_view text);

}  // namespace telvar::generate::kotlin
