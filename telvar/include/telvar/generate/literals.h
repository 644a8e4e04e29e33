#pragma once

// Texts from the sample written between double quotes in generated code. Every language escapes
// the quote and the backslash; they differ in which other characters they name and in how they
// write the remaining control characters, so each language's rules are a small table, and one
// writer serves them all.

#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace telvar::generate {

/// How a language writes a control character that has no escape of its own. Examples for U+0001:
/// `unicodeLower` "\u0001", `unicodeUpper` "\u0001" (hex digits upper case, "\u001B"),
/// `unicodeBraces` "\u{1}", `hexUpper` "\x01" ("\x1B"), `hexLower` "\x1b", `octal` "\001".
enum class ControlForm { unicodeLower, unicodeUpper, unicodeBraces, hexUpper, hexLower, octal };

/// One language's rules for a double-quoted literal.
struct LiteralRules {
  /// Characters with an escape of their own, with that escape ('"' with "\\\"", ...).
  std::span<const std::pair<char, std::string_view>> escapes;
  /// The form of every other character below U+0020.
  ControlForm controlForm;
  /// Whether U+007F is written in `controlForm` too (otherwise as it is).
  bool deleteIsControl;
  /// Whether a byte order mark is written "\uFEFF" (a Go compiler rejects it raw).
  bool escapesByteOrderMark = false;
};

/// JSON: \" \\ \b \f \n \r \t, other control characters "\u00xx".
extern const LiteralRules kJsonLiteral;
/// Swift: \" \\ \0 \t \n \r, other control characters and U+007F "\u{X}".
extern const LiteralRules kSwiftLiteral;
/// Kotlin: \" \\ \$ \n \r \t \b, other control characters "\u00XX".
extern const LiteralRules kKotlinLiteral;
/// Dart: \" \\ \$ \n \r \t, other control characters and U+007F "\xXX".
extern const LiteralRules kDartLiteral;
/// Go interpreted strings: \" \\ \n \r \t, other control characters and U+007F "\xxx", the
/// byte order mark "\uFEFF".
extern const LiteralRules kGoLiteral;
/// Protocol Buffers: \" \\ \n \r \t, other control characters and U+007F as octal "\ooo".
extern const LiteralRules kProtoLiteral;

/// Appends `text` escaped by `rules`, without quotes. Bytes of other characters are copied as
/// they are.
void appendEscaped(std::string& out, std::string_view text, const LiteralRules& rules);

/// Whether `text` is written as it is between the quotes of every language's literal: nothing in
/// it is escaped, so that it may be written without a text of its own.
[[nodiscard]] bool isPlainLiteral(std::string_view text);
/// `text` escaped by `rules`, without quotes: what goes between the quotes of a literal.
[[nodiscard]] std::string escaped(std::string_view text, const LiteralRules& rules);

/// `text` as a double-quoted literal by `rules`. Example with `kSwiftLiteral`: a"b -> "a\"b".
[[nodiscard]] std::string quoted(std::string_view text, const LiteralRules& rules);

}  // namespace telvar::generate
