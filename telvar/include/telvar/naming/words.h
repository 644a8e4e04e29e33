#pragma once

#include <string>
#include <string_view>

#include "telvar/value/key_path.h"
#include "telvar/value/value.h"

namespace telvar {

// The words that type and property names are made of, formed from JSON keys. Letters, marks,
// numbers, upper and lower case and case mapping are Unicode's (full mappings: "ß" upper-cases to
// "SS").

/// Upper camel case: splits `text` at every character that is neither a letter, mark or number
/// nor "$" (consecutive separators give empty parts), upper-cases the first character of each
/// part that begins with a lower-case letter, and joins the parts. "user_name", "user-name",
/// "user name" and "userName" give "UserName"; "$ref" stays "$ref"; "2fa_code" gives "2faCode";
/// "URL" stays "URL"; "_" gives "".
[[nodiscard]] std::string upperCamelCased(std::string_view text);

/// Lower camel case of a key path's last key: its upper camel case with the first character
/// lower-cased when it is upper-case. "user_name" gives "userName", "URL" gives "uRL" (only the
/// first character), "1st_place" gives "1stPlace"; an empty key path gives "...".
[[nodiscard]] std::string lowerCamelCased(KeyPath keyPath);

/// The word that names a type after a key: the upper camel case of `text` with its last word
/// made singular by the shared inflector (`Inflector::shared()`). Words begin at each upper-case
/// letter that follows a character that is not one, so "UserID" is "User" "ID" and "URLString"
/// one word. A last word whose singular is "id" or "url" (any case) is written "ID" or "URL"; a
/// last word "list" after other words is dropped. "users" gives "User", "user_ids" "UserID",
/// "image_urls" "ImageURL", "friend_list" "Friend", "list" "List", "data" "Data", "" "".
[[nodiscard]] std::string singularized(std::string_view text);

}  // namespace telvar
