#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "telvar/code/code.h"
#include "telvar/generate/identifiers.h"
#include "telvar/options/go_meta.h"
#include "telvar/value/value.h"

namespace telvar::generate {

// The names and tags that the Go output writes. Names formed from JSON keys are made into Go
// identifiers; names the user typed into a name map are written verbatim (a type map may name
// "time.Time" on purpose).

/// Whether `word` is one of Go's 25 keywords ("type", "func", ...).
[[nodiscard]] bool isGoKeyword(std::string_view word);

/// A formed type name made into a Go identifier (see `repairedIdentifier`): letters, decimal
/// digits and "_" stay, every other character is dropped; "_" when nothing is left; "_" in front
/// of a name that starts with a digit or is a keyword. "_$ref" gives "_ref", "2ID" "_2ID", "" "_";
/// "UserID" stays.
[[nodiscard]] std::string goIdentifier(std::string_view name);

/// The Go type name formed for a key path: the type-name map hit verbatim, else the prefixed
/// singular word of the last key as a Go identifier; "__" where that is the blank "_", which no
/// field could name as its type.
[[nodiscard]] std::string goTypeName(const GoMeta& meta, const Names& path);
/// The name `types` gives the object at `path`, or else the formed name.
[[nodiscard]] std::string goTypeName(const GoMeta& meta, const Names& path, const TypeNames* types);

/// The names of every struct the named styles declare for `root`: one package scope, where
/// different structs of one formed name are numbered ("Data", "Data2"), and "URL" and "Date"
/// (the file's own type references) are never taken.
[[nodiscard]] TypeNames goTypeNames(const Code& root, const GoMeta& meta);

/// The Go field name of a key path: the property-name map hit verbatim, else the upper camel
/// case name with acronyms made exported, since encoding/json ignores any other field: the
/// characters Go forbids are dropped and "X" goes before a name that does not begin with an
/// upper-case letter. "user_id" gives "UserID", "1st" "X_1st", "名前" "X名前", "" "X_".
[[nodiscard]] std::string goFieldName(const GoMeta& meta, KeyPath path);

/// The field names of one struct, in the properties' order, made distinct by `distinctNames`
/// ("user_name" and "userName" give "UserName" and "UserName2"). A blank field "_" from a name map
/// may repeat.
[[nodiscard]] NameList goFieldNames(const GoMeta& meta, const std::vector<Property>& properties);

/// The name of the inline style's one type: the model prefix and the upper camel case of the
/// model name, as a Go identifier; "__" where that is the blank "_" (an empty name), which no
/// program could read a sample into.
[[nodiscard]] std::string goInlineRootName(const GoMeta& meta, std::string_view modelName);

/// The JSON key of a property: its last key exactly as in the sample ("" for an empty path).
[[nodiscard]] std::string_view goJsonKey(KeyPath path);

/// The struct tag of a field: `json:"key"` or `json:"key,omitempty"`, the value escaped as a Go
/// string ("quote\"d", "line\nfeed"), the key "-" written "-,"; a raw string unless the tag
/// holds a backquote, then an interpreted string literal escaped for Go.
[[nodiscard]] std::string goTag(std::string_view key, bool omitEmpty);
/// What follows the key in its tag: ",omitempty", "," for the key "-" (a bare "-" tells
/// encoding/json to skip the field), or nothing.
[[nodiscard]] inline std::string_view goTagOptions(std::string_view key, bool omitEmpty) {
  return omitEmpty ? ",omitempty" : key == "-" ? "," : "";
}

}  // namespace telvar::generate
