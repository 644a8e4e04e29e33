#pragma once

#include <string>
#include <string_view>

namespace telvar::generate::swift {

// Swift's lexical rules for the texts a sample's keys turn into: identifiers, member names after
// a dot, and string literals. The character ranges are those of Swift's own grammar.

/// Whether `name` lexes as one Swift identifier: an identifier head followed by identifier
/// characters (the Unicode ranges of Swift's grammar; "$" inside but not first). "_" alone is
/// the wildcard, not an identifier. Reserved words count as identifiers here: they are made
/// usable by backquotes, not by this test.
[[nodiscard]] bool isSwiftIdentifier(std::string_view name);

/// `name` when it is an identifier (see `isSwiftIdentifier`); otherwise repaired so that it is
/// one: every character Swift forbids in identifiers becomes "_", a name that cannot begin an
/// identifier gets "_" in front, and "_" alone becomes "__". "first name" gives "first_name",
/// "1st" "_1st", "" "__".
[[nodiscard]] std::string swiftIdentifier(std::string name);

/// Whether `name` is one of the four words Swift keeps for itself after a dot: "init", "self",
/// "Type", "Protocol".
[[nodiscard]] bool isSwiftDotKeyword(std::string_view name);

/// Whether `name` can follow a dot unquoted (`json.name`, `self.name`, `.name`): an identifier
/// other than the four words Swift keeps for itself there ("init", "self", "Type", "Protocol").
[[nodiscard]] bool isSwiftMemberName(std::string_view name);

/// `name` for use after a dot: backquoted when it is one of the four words Swift keeps after a
/// dot ("self.init" would call an initializer), otherwise unchanged.
[[nodiscard]] std::string swiftMemberName(std::string name);

/// `text` as a Swift string literal, quotes included: backslash and double quote are escaped,
/// and control characters (which cannot stand raw in a literal) are written as escapes.
/// `a"b\c` gives `"a\"b\\c"`.
[[nodiscard]] std::string swiftStringLiteral(std::string_view text);

}  // namespace telvar::generate::swift
