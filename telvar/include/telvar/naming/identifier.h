#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace telvar {

// The language-independent steps of the type-name and property-name rules that follow the word
// itself: the acronym rewrite of a name's end and the fix-up of names no language accepts.

/// The fix-up of a formed name: the empty name becomes "_", and a name whose first character is
/// "$" or a number (Unicode numeric, digits included) gets "_" in front. "1st" gives "_1st",
/// "$ref" "_$ref"; other names stay as they are.
[[nodiscard]] std::string identifierFixedUp(std::string name);
/// `identifierFixedUp` in place: a name formed in its own text is fixed up without moving it.
void fixUpIdentifier(std::string& name);

/// The acronym rewrite of one acronym: the acronym's name lower-cased with its first character
/// upper-cased ("ID" and "id" give "Id", "URL" gives "Url"); when `name` ends with that text
/// (case-sensitive, on whole characters), `name` without it followed by the acronym's name
/// upper-cased, else nothing. "userId" with "ID" gives "userID"; "id" with "ID" gives nothing. An
/// empty acronym matches every name and gives it back unchanged.
[[nodiscard]] std::optional<std::string> acronymApplied(std::string_view name,
                                                        std::string_view acronym);

}  // namespace telvar
