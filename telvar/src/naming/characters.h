#pragma once

#include <string>
#include <string_view>

namespace telvar::naming_detail {

// Unicode character classes and case mappings for forming names, from ICU.

/// A letter, mark or number (general categories L*, M*, N*).
bool isAlphanumeric(char32_t c);
/// Has the Unicode Lowercase property.
bool isLowercase(char32_t c);
/// Has the Unicode Uppercase property.
bool isUppercase(char32_t c);
/// An upper-case or title-case letter (general categories Lu and Lt).
bool isUppercaseLetter(char32_t c);
/// Has a Unicode numeric type (digits, other numbers, numeric ideographs).
bool isNumeric(char32_t c);

/// Full, locale-independent case mappings of UTF-8 text ("ß" upper-cases to "SS").
std::string upperCased(std::string_view text);
std::string lowerCased(std::string_view text);

/// The first scalar of `text`, or -1 when it is empty or ill-formed.
int firstScalar(std::string_view text);

}  // namespace telvar::naming_detail
