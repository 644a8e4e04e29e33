#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <string_view>

#include <unicode/regex.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>

// ICU glue shared by the highlighting passes; not part of the public interface.
namespace mirel::detail {

/// A read-only ICU view of `text` without copying it (the caller keeps `text` alive).
[[nodiscard]] inline icu::UnicodeString aliasOf(std::u16string_view text) {
  return icu::UnicodeString(false, text.data(), static_cast<std::int32_t>(text.size()));
}

/// ICU counts text in 32-bit units; longer text is left uncoloured rather than misread.
[[nodiscard]] inline bool fitsIcu(std::u16string_view text) {
  return text.size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
}

/// `pattern` compiled without options, or null when it does not compile.
[[nodiscard]] inline std::unique_ptr<icu::RegexPattern> compiled(std::u16string_view pattern) {
  if (!fitsIcu(pattern)) return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError;
  std::unique_ptr<icu::RegexPattern> result(
      icu::RegexPattern::compile(aliasOf(pattern), 0, parseError, status));
  if (U_FAILURE(status)) return nullptr;
  return result;
}

/// Bounds the work of each match operation of `matcher` over a text of `length` code units.
/// Real code needs far less than the budget (about a million steps, plus a hundred per code unit);
/// a pathological text, such as a word of many thousands of characters before which some pattern
/// backtracks quadratically, would otherwise stall the program. An operation that runs out fails,
/// and the rule then keeps what it had found.
inline void limitSteps(icu::RegexMatcher& matcher, std::int32_t length) {
  UErrorCode status = U_ZERO_ERROR;
  // ICU counts time in units of about ten thousand steps.
  matcher.setTimeLimit(100 + length / 100, status);
}

/// Whether a character outside ASCII is a member of ICU's "\w".
[[nodiscard]] bool isNonAsciiWordCharacter(UChar32 c);

/// Whether `c` is a word character: a member of ICU's "\w", the set its word boundaries use.
[[nodiscard]] inline bool isWordCharacter(UChar32 c) {
  if (c >= 0x80) return isNonAsciiWordCharacter(c);
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_';
}

}  // namespace mirel::detail
