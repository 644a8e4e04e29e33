#include "mirel/highlight/capture_ranges.h"

#include "mirel/highlight/regex_support.h"

namespace mirel {

std::vector<TextRange> captureRanges(std::u16string_view pattern, std::u16string_view code) {
  std::vector<TextRange> ranges;
  if (!detail::fitsIcu(code)) return ranges;
  std::unique_ptr<icu::RegexPattern> compiled = detail::compiled(pattern);
  if (!compiled) return ranges;

  const icu::UnicodeString input = detail::aliasOf(code);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(compiled->matcher(input, status));
  if (U_FAILURE(status)) return ranges;

  const std::int32_t groups = matcher->groupCount();
  // A failure inside the matcher (its backtracking stack exhausted) ends the search; what was
  // found before it stands.
  while (matcher->find(status) && U_SUCCESS(status)) {
    for (std::int32_t group = 1; group <= groups; ++group) {
      const std::int32_t start = matcher->start(group, status);
      const std::int32_t end = matcher->end(group, status);
      if (U_FAILURE(status)) return ranges;
      if (start < 0) continue;  // the group took no part in this match
      ranges.push_back({start, end - start});
    }
  }
  return ranges;
}

}  // namespace mirel
