#include "telvar/generate/kotlin/kotlin_names.h"

#include <algorithm>
#include <array>

#include <unicode/uchar.h>

#include "telvar/generate/literals.h"
#include "telvar/unicode/text.h"

namespace telvar::generate::kotlin {
namespace {

// Kotlin's hard keywords, sorted for the binary search.
constexpr std::array<std::string_view, 28> kHardKeywords{
    "as",     "break",     "class",  "continue", "do",        "else",  "false",
    "for",    "fun",       "if",     "in",       "interface", "is",    "null",
    "object", "package",   "return", "super",    "this",      "throw", "true",
    "try",    "typealias", "typeof", "val",      "var",       "when",  "while"};

// Characters that even a backquoted name may not hold: the quote itself and line breaks end
// it, and the JVM rejects these in any name.
constexpr std::string_view kForbiddenInQuotedName = "`\r\n.;[]/<>:\\";

bool isLetter(char32_t c) { return isUnicodeLetter(static_cast<int>(c)); }

bool isDecimalDigit(char32_t c) {
  return u_charType(static_cast<UChar32>(c)) == U_DECIMAL_DIGIT_NUMBER;
}

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool isKotlinHardKeyword(std::string_view name) {
  static_assert(std::is_sorted(kHardKeywords.begin(), kHardKeywords.end()));
  return std::binary_search(kHardKeywords.begin(), kHardKeywords.end(), name);
}

bool isPlainKotlinIdentifier(std::string_view name) {
  if (name.empty()) return false;
  bool onlyUnderscores = true;
  bool first = true;
  std::size_t i = 0;
  while (i < name.size()) {
    const char byte = name[i];
    bool letterOrUnderscore = false;
    bool digit = false;
    if (static_cast<unsigned char>(byte) < 0x80) {
      letterOrUnderscore = isAsciiLetter(byte) || byte == '_';
      digit = isAsciiDigit(byte);
      onlyUnderscores = onlyUnderscores && byte == '_';
      ++i;
    } else {
      int codePoint = 0;
      const std::size_t length = decodeUtf8(name.substr(i), codePoint);
      if (length == 0 || codePoint < 0) return false;
      const auto c = static_cast<char32_t>(codePoint);
      letterOrUnderscore = isLetter(c);
      digit = isDecimalDigit(c);
      onlyUnderscores = false;
      i += length;
    }
    if (!letterOrUnderscore && (first || !digit)) return false;
    first = false;
  }
  return !onlyUnderscores && !isKotlinHardKeyword(name);
}

std::string kotlinIdentifier(std::string_view name) {
  if (name.empty()) return "_";
  std::string out;
  out.reserve(name.size());
  std::size_t i = 0;
  while (i < name.size()) {
    const char byte = name[i];
    if (static_cast<unsigned char>(byte) < 0x80) {
      out += kForbiddenInQuotedName.find(byte) == std::string_view::npos ? byte : '_';
      ++i;
      continue;
    }
    int codePoint = 0;
    const std::size_t length = decodeUtf8(name.substr(i), codePoint);
    if (length == 0 || codePoint < 0) {
      // Text that is not UTF-8 cannot be written into a source file.
      out += '_';
      i += std::max<std::size_t>(length, 1);
      continue;
    }
    out.append(name.substr(i, length));
    i += length;
  }
  return out;
}

std::string kotlinName(std::string_view name) {
  if (isPlainKotlinIdentifier(name)) return std::string(name);
  std::string identifier = kotlinIdentifier(name);
  if (isPlainKotlinIdentifier(identifier)) return identifier;
  return "`" + identifier + "`";
}

std::string kotlinMappedName(std::string_view name) {
  std::string out;
  std::size_t start = 0;
  while (true) {
    const std::size_t dot = name.find('.', start);
    const std::string_view part =
        name.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    if (isKotlinHardKeyword(part)) {
      out += '`';
      out += part;
      out += '`';
    } else {
      out += part;
    }
    if (dot == std::string_view::npos) return out;
    out += '.';
    start = dot + 1;
  }
}

std::string kotlinStringContent(std::string_view text) { return escaped(text, kKotlinLiteral); }

}  // namespace telvar::generate::kotlin
