#include "telvar/generate/kotlin/kotlin_names.h"

#include <algorithm>
#include <array>
#include <optional>

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

// What an ASCII character may be in a plain identifier, as bits of a table: every character of
// every name is looked up, and an ASCII name is judged in one pass over it (wide-100: 370
// instructions a name by comparisons, 140 in one pass).
enum AsciiRole : unsigned char {
  kStarts = 1,     // a letter or "_"
  kContinues = 2,  // a letter, "_" or a digit
  kLower = 4,      // a lower-case letter, as every keyword is made of
  kUnderscore = 8,
};
constexpr auto kAsciiRoles = [] {
  std::array<unsigned char, 128> roles{};
  for (std::size_t c = 0; c < roles.size(); ++c) {
    const bool lower = c >= 'a' && c <= 'z';
    const bool letter = lower || (c >= 'A' && c <= 'Z');
    const bool digit = c >= '0' && c <= '9';
    roles[c] = static_cast<unsigned char>((letter || c == '_' ? kStarts : 0) |
                                          (letter || c == '_' || digit ? kContinues : 0) |
                                          (lower ? kLower : 0) | (c == '_' ? kUnderscore : 0));
  }
  return roles;
}();

// `isPlainKotlinIdentifier` of an ASCII name; nullopt for a name that is not ASCII.
std::optional<bool> isPlainAsciiIdentifier(std::string_view name) {
  unsigned all = kStarts | kContinues | kLower | kUnderscore;
  for (const char byte : name) {
    const auto c = static_cast<unsigned char>(byte);
    if (c >= 0x80) return std::nullopt;
    all &= kAsciiRoles[c];
  }
  if (!(all & kContinues) || !(kAsciiRoles[static_cast<unsigned char>(name[0])] & kStarts)) {
    return false;
  }
  return !(all & kUnderscore) && !((all & kLower) && isKotlinHardKeyword(name));
}

// Whether `name` is ASCII without a character forbidden in a name: most keys are, and they are
// their own identifier (wide-100: 590 instructions a name searched byte by byte, 145 scanned).
bool isKeptAscii(std::string_view name) {
  static constexpr auto kKept = [] {
    std::array<bool, 128> kept{};
    for (std::size_t c = 0; c < kept.size(); ++c) {
      kept[c] = kForbiddenInQuotedName.find(static_cast<char>(c)) == std::string_view::npos;
    }
    return kept;
  }();
  for (const char byte : name) {
    const auto c = static_cast<unsigned char>(byte);
    if (c >= 0x80 || !kKept[c]) return false;
  }
  return true;
}

}  // namespace

bool isKotlinHardKeyword(std::string_view name) {
  static_assert(std::is_sorted(kHardKeywords.begin(), kHardKeywords.end()));
  return std::binary_search(kHardKeywords.begin(), kHardKeywords.end(), name);
}

bool isPlainKotlinIdentifier(std::string_view name) {
  if (name.empty()) return false;
  if (const std::optional<bool> plain = isPlainAsciiIdentifier(name)) return *plain;
  // Keywords are lower-case ASCII: a name with any other character is none (wide-100 names
  // such as "r0Field1" skip the keyword search).
  bool maybeKeyword = true;
  bool onlyUnderscores = true;
  bool first = true;
  std::size_t i = 0;
  while (i < name.size()) {
    const char byte = name[i];
    bool letterOrUnderscore = false;
    bool digit = false;
    if (static_cast<unsigned char>(byte) < 0x80) {
      const unsigned char role = kAsciiRoles[static_cast<unsigned char>(byte)];
      letterOrUnderscore = (role & kStarts) != 0;
      digit = (role & kContinues) && !(role & kStarts);
      onlyUnderscores = onlyUnderscores && byte == '_';
      maybeKeyword = maybeKeyword && byte >= 'a' && byte <= 'z';
      ++i;
    } else {
      int codePoint = 0;
      const std::size_t length = decodeUtf8(name.substr(i), codePoint);
      if (length == 0 || codePoint < 0) return false;
      const auto c = static_cast<char32_t>(codePoint);
      letterOrUnderscore = isLetter(c);
      digit = isDecimalDigit(c);
      onlyUnderscores = false;
      maybeKeyword = false;
      i += length;
    }
    if (!letterOrUnderscore && (first || !digit)) return false;
    first = false;
  }
  return !onlyUnderscores && !(maybeKeyword && isKotlinHardKeyword(name));
}

std::string kotlinIdentifier(std::string_view name) {
  if (name.empty()) return "_";
  if (isKeptAscii(name)) return std::string(name);
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
