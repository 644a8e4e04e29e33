#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "telvar/code/code.h"
#include "telvar/options/go_meta.h"
#include "telvar/value/value.h"

namespace telvar::generate {

// The names and tags that the Go output writes. Names formed from JSON keys are made into Go
// identifiers; names the user typed into a name map are written verbatim (a type map may name
// "time.Time" on purpose).

/// Whether `word` is one of Go's 25 keywords ("type", "func", ...).
[[nodiscard]] bool isGoKeyword(std::string_view word);

/// A formed name made into a Go identifier: composed (NFC), every character Go forbids in an
/// identifier dropped (it keeps letters, decimal digits and "_"; so "$", marks and other
/// numbers go), then "_" when nothing is left, and "_" in front of a name that starts with a
/// digit or is a keyword. "_$ref" gives "_ref", "2ID" "_2ID", "" "_"; "UserID" stays.
[[nodiscard]] std::string goIdentifier(std::string_view name);

/// The Go type name of a key path: the type-name map hit verbatim, else the prefixed singular
/// word of the last key as a Go identifier; "__" where that is the blank "_", which no field
/// could name as its type.
[[nodiscard]] std::string goTypeName(const GoMeta& meta, const Names& path);

/// The Go field name of a key path: the property-name map hit verbatim, else the exported
/// (upper camel case) name with acronyms as a Go identifier: "user_id" gives "UserID".
[[nodiscard]] std::string goFieldName(const GoMeta& meta, const Names& path);

/// The field names of one struct, in the properties' order. Go rejects a struct with two fields
/// of one name, so a name already taken by an earlier property gets the smallest number from 2
/// up that makes it unique among all the struct's names ("user_name" and "userName" give
/// "UserName" and "UserName2"). Blank fields ("_") may repeat and keep their name.
[[nodiscard]] std::vector<std::string> goFieldNames(const GoMeta& meta,
                                                    const std::vector<Property>& properties);

/// The name of the inline style's one type: the model prefix and the upper camel case of the
/// model name, as a Go identifier (so an empty name is "_").
[[nodiscard]] std::string goInlineRootName(const GoMeta& meta, std::string_view modelName);

/// The JSON key of a property: its last key exactly as in the sample ("" for an empty path).
[[nodiscard]] std::string_view goJsonKey(const Names& path);

/// The struct tag of a field: `json:"key"` or `json:"key,omitempty"` in a raw string. A key that
/// a raw string cannot carry (a backquote; NUL, BOM or carriage return, which the compiler
/// rejects or drops) makes the same tag an interpreted string literal, escaped for Go.
[[nodiscard]] std::string goTag(std::string_view key, bool omitEmpty);

}  // namespace telvar::generate
