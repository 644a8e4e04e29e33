#pragma once

#include <string_view>
#include <vector>

#include "mirel/highlight/attributed_text.h"

namespace mirel {

/// The ranges of every capture group of every match of `pattern` (ICU regular-expression syntax,
/// compiled without options) in `code`, matches in text order and groups 1, 2, ... in group
/// order within each. Group 0, the whole match, is never included, and a group that took no part
/// in a match (say, under `*` with zero repetitions) gives no range. A pattern that does not
/// compile gives the empty list. Ranges are in UTF-16 code units.
///
///   captureRanges(u"(a)(x)?(b)", u"ab ab") == {{0, 1}, {1, 1}, {3, 1}, {4, 1}}
[[nodiscard]] std::vector<TextRange> captureRanges(std::u16string_view pattern,
                                                   std::u16string_view code);

}  // namespace mirel
