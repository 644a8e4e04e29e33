#pragma once

// Entry points for checking and measuring `captureRanges` against the search it speeds up; not
// for use by the highlighters.

#include <string_view>
#include <vector>

#include "mirel/highlight/attributed_text.h"

namespace mirel::detail {

/// The ranges `captureRanges` gives, found by the plain search alone, without the shortcut that
/// `captureRanges` takes for patterns opening with a run of word characters.
[[nodiscard]] std::vector<TextRange> plainCaptureRanges(std::u16string_view pattern,
                                                        std::u16string_view code);

}  // namespace mirel::detail
