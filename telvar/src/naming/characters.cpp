#include "naming/characters.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "telvar/unicode/text.h"

namespace telvar::naming_detail {
namespace {

icu::UnicodeString unicode(std::string_view text) {
  return icu::UnicodeString::fromUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string utf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

}  // namespace

bool isAlphanumeric(char32_t c) {
  return (U_GET_GC_MASK(static_cast<UChar32>(c)) & (U_GC_L_MASK | U_GC_M_MASK | U_GC_N_MASK)) != 0;
}

bool isLowercase(char32_t c) { return u_isULowercase(static_cast<UChar32>(c)); }

bool isUppercase(char32_t c) { return u_isUUppercase(static_cast<UChar32>(c)); }

bool isUppercaseLetter(char32_t c) {
  const auto type = u_charType(static_cast<UChar32>(c));
  return type == U_UPPERCASE_LETTER || type == U_TITLECASE_LETTER;
}

bool isNumeric(char32_t c) {
  return u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

// ASCII text maps letter by letter in the root locale: the common case skips ICU's conversions.
std::string upperCased(std::string_view text) {
  if (telvar::isAscii(text)) {
    std::string out(text);
    for (char& c : out) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
  }
  return utf8(unicode(text).toUpper(icu::Locale::getRoot()));
}

std::string lowerCased(std::string_view text) {
  if (telvar::isAscii(text)) {
    std::string out(text);
    for (char& c : out) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
  }
  return utf8(unicode(text).toLower(icu::Locale::getRoot()));
}

int firstScalar(std::string_view text) {
  int c = -1;
  if (text.empty()) return -1;
  decodeUtf8(text, c);
  return c;
}

}  // namespace telvar::naming_detail
