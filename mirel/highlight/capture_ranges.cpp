#include "mirel/highlight/capture_ranges.h"

#include <array>
#include <optional>

#include "mirel/highlight/capture_ranges_detail.h"
#include "mirel/highlight/regex_support.h"

namespace mirel {

namespace {

constexpr std::u16string_view kQuantifiers = u"?+*{";
constexpr std::u16string_view kMetacharacters = u"()[]{}.*+?|^$\\";

// What a pattern that opens with a run of word characters tells about where its matches can
// start. `stop`, when set, is a character that must follow the characters matched by the atoms
// before it, none of which can match it: a match that starts at s is then only possible where the
// longest run of `runWord`/`runCharacters` characters from s ends at `stop`.
struct WordRunOpening {
  bool applies = false;
  bool runWord = true;
  std::u16string runCharacters;
  std::optional<char16_t> stop;
};

bool isAsciiAlphanumeric(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The opening atoms: "\w" or single literal characters, each at most once followed by "?", "*"
// or "+", inside or after the optional opening group, up to the first mandatory literal that
// none of them matches.
void readStop(std::u16string_view pattern, WordRunOpening& opening) {
  std::size_t i = pattern.starts_with(u"(") ? 1 : 0;
  bool groupOpen = i == 1;
  while (i < pattern.size()) {
    char16_t literal = 0;
    bool word = false;
    if (pattern[i] == u')' && groupOpen) {
      groupOpen = false;
      ++i;
      continue;
    }
    if (pattern[i] == u'\\' && i + 1 < pattern.size()) {
      const char16_t next = pattern[i + 1];
      if (next == u'w') {
        word = true;
      } else if (next < 0x80 && !isAsciiAlphanumeric(next)) {
        literal = next;
      } else {
        return;
      }
      i += 2;
    } else if (pattern[i] < 0x80 && kMetacharacters.find(pattern[i]) == std::u16string_view::npos &&
               pattern[i] != u'#') {
      literal = pattern[i++];
    } else {
      return;
    }
    bool optionalOrRepeated = false;
    if (i < pattern.size() && kQuantifiers.find(pattern[i]) != std::u16string_view::npos) {
      if (pattern[i] == u'{') return;
      optionalOrRepeated = true;
      ++i;
      if (i < pattern.size() && (pattern[i] == u'?' || pattern[i] == u'+')) return;
    }
    const bool inRun = word ? opening.runWord
                            : (opening.runCharacters.find(literal) != std::u16string::npos ||
                               (opening.runWord && isAsciiAlphanumeric(literal)) ||
                               (opening.runWord && literal == u'_'));
    if (!word && !optionalOrRepeated && !inRun) {
      opening.stop = literal;
      return;
    }
    if (!word) opening.runCharacters += literal;
  }
}

// Whether every match of `pattern` begins with a greedy run of word characters on which nothing
// else in the pattern depends: the pattern opens with "\w+", or with a plain group that opens with
// it and is not itself repeated or optional; the run is neither lazy, possessive nor bounded; and
// the pattern has no alternation, back reference, anchor, look-around, quoting or inline option.
// Read conservatively: anything unusual does not apply.
WordRunOpening wordRunOpening(std::u16string_view pattern) {
  WordRunOpening opening;
  const bool inGroup = pattern.starts_with(u"(\\w+");
  if (!inGroup && !pattern.starts_with(u"\\w+")) return opening;
  const std::size_t afterRun = inGroup ? 4 : 3;
  if (afterRun < pattern.size() &&
      kQuantifiers.find(pattern[afterRun]) != std::u16string_view::npos) {
    return opening;
  }
  int depth = 0;
  bool inClass = false;
  std::size_t groupEnd = std::u16string_view::npos;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (c == u'\\') {
      if (i + 1 >= pattern.size()) return opening;
      const char16_t next = pattern[++i];
      if ((next >= u'0' && next <= u'9') ||
          std::u16string_view(u"kQEGAZz").find(next) != std::u16string_view::npos) {
        return opening;
      }
      continue;
    }
    if (inClass) {
      if (c == u'[') return opening;
      if (c == u']') inClass = false;
      continue;
    }
    if (c == u'[') {
      inClass = true;
    } else if (c == u'|' || c == u'^' || c == u'$') {
      return opening;
    } else if (c == u'(') {
      if (i + 1 < pattern.size() && pattern[i + 1] == u'?') return opening;
      ++depth;
    } else if (c == u')') {
      if (--depth == 0 && groupEnd == std::u16string_view::npos) groupEnd = i;
    }
  }
  if (inGroup) {
    if (groupEnd == std::u16string_view::npos) return opening;
    if (groupEnd + 1 < pattern.size() &&
        kQuantifiers.find(pattern[groupEnd + 1]) != std::u16string_view::npos) {
      return opening;
    }
  }
  opening.applies = true;
  readStop(pattern, opening);
  return opening;
}

// Appends the ranges of the groups of the matcher's current match; false when the matcher
// reports a failure.
bool appendGroups(icu::RegexMatcher& matcher, std::vector<TextRange>& ranges) {
  UErrorCode status = U_ZERO_ERROR;
  const std::int32_t groups = matcher.groupCount();
  for (std::int32_t group = 1; group <= groups; ++group) {
    const std::int32_t start = matcher.start(group, status);
    const std::int32_t end = matcher.end(group, status);
    if (U_FAILURE(status)) return false;
    if (start < 0) continue;  // the group took no part in this match
    ranges.push_back({start, end - start});
  }
  return true;
}

// The matches of a pattern that opens with a run of word characters. Such a match never starts
// inside a word unless the search itself starts there: were it to start after a word character,
// the same run extended back to that word's start (or to the search start) would match too, and
// further left. So the pattern is tried only where the search starts (the end of the last match)
// and where a word starts, and, when the opening has a stop character, only where the run of
// opening characters ends at it. This spares the matcher the hopeless starts inside every word
// that make the plain search slow; every match, group and order is the plain search's.
std::vector<TextRange> wordRunCaptureRanges(const WordRunOpening& opening,
                                            const icu::RegexPattern& compiled,
                                            const icu::UnicodeString& input) {
  std::vector<TextRange> ranges;
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(compiled.matcher(input, status));
  if (U_FAILURE(status)) return ranges;
  matcher->useTransparentBounds(true);
  matcher->useAnchoringBounds(false);
  detail::limitSteps(*matcher, input.length());

  const char16_t* text = input.getBuffer();
  const std::int32_t length = input.length();
  // The opening's own characters are ASCII punctuation.
  std::array<bool, 0x80> runAscii{};
  for (char16_t c : opening.runCharacters) runAscii[c] = true;
  auto inRun = [&](UChar32 c) {
    return (opening.runWord && detail::isWordCharacter(c)) || (c < 0x80 && runAscii[c]);
  };
  // The end of the run of opening characters from a start, and whether the stop follows it.
  std::int32_t runEnd = -1;
  bool runReachesStop = true;

  std::int32_t searchStart = 0;
  bool afterWordCharacter = false;
  std::int32_t i = 0;
  while (i < length) {
    const std::int32_t start = i;
    UChar32 c;
    U16_NEXT(text, i, length, c);
    const bool word = detail::isWordCharacter(c);
    if (word && (start == searchStart || !afterWordCharacter)) {
      if (opening.stop && start >= runEnd) {
        runEnd = i;
        while (runEnd < length) {
          std::int32_t next = runEnd;
          UChar32 d;
          U16_NEXT(text, next, length, d);
          if (!inRun(d)) break;
          runEnd = next;
        }
        runReachesStop = runEnd < length && text[runEnd] == *opening.stop;
      }
      if (runReachesStop) {
        matcher->region(start, length, status);
        const bool matched = matcher->lookingAt(status);
        if (U_FAILURE(status)) break;
        if (matched) {
          const std::int32_t end = matcher->end(status);
          if (U_FAILURE(status) || !appendGroups(*matcher, ranges)) break;
          if (end > start) {  // a run of word characters is never empty; stay safe anyway
            searchStart = i = end;
            afterWordCharacter = false;
            runEnd = -1;
            continue;
          }
        }
      }
    }
    afterWordCharacter = word;
  }
  return ranges;
}

// Every match in text order, as the contract reads.
std::vector<TextRange> plainCaptureRanges(const icu::RegexPattern& compiled,
                                          const icu::UnicodeString& input) {
  std::vector<TextRange> ranges;
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(compiled.matcher(input, status));
  if (U_FAILURE(status)) return ranges;
  detail::limitSteps(*matcher, input.length());
  // A failure inside the matcher (out of steps, or its backtracking stack exhausted) ends the
  // search; what was found before it stands.
  while (matcher->find(status) && U_SUCCESS(status)) {
    if (!appendGroups(*matcher, ranges)) break;
  }
  return ranges;
}

}  // namespace

std::vector<TextRange> captureRanges(std::u16string_view pattern, std::u16string_view code) {
  if (!detail::fitsIcu(code)) return {};
  std::unique_ptr<icu::RegexPattern> compiled = detail::compiled(pattern);
  if (!compiled) return {};
  const icu::UnicodeString input = detail::aliasOf(code);
  const WordRunOpening opening = wordRunOpening(pattern);
  if (opening.applies) return wordRunCaptureRanges(opening, *compiled, input);
  return plainCaptureRanges(*compiled, input);
}

namespace detail {

std::vector<TextRange> plainCaptureRanges(std::u16string_view pattern, std::u16string_view code) {
  if (!fitsIcu(code)) return {};
  std::unique_ptr<icu::RegexPattern> compiled = detail::compiled(pattern);
  if (!compiled) return {};
  return mirel::plainCaptureRanges(*compiled, aliasOf(code));
}

}  // namespace detail

}  // namespace mirel
