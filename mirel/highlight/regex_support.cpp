#include "mirel/highlight/regex_support.h"

namespace mirel::detail {

bool isNonAsciiWordCharacter(UChar32 c) {
  // ICU's own definition of "\w".
  static const icu::UnicodeSet* const word = [] {
    UErrorCode status = U_ZERO_ERROR;
    auto* set = new icu::UnicodeSet(u"[\\p{Alphabetic}\\p{M}\\p{Nd}\\p{Pc}\\u200c\\u200d]", status);
    set->freeze();
    return set;
  }();
  return word->contains(c);
}

}  // namespace mirel::detail
