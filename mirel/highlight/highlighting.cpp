#include "mirel/highlight/highlighting.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <unordered_set>
#include <utility>

#include "mirel/highlight/capture_ranges.h"
#include "mirel/highlight/regex_support.h"

namespace mirel {

namespace {

[[noreturn]] void stopProgram(std::string_view owner, std::string_view what) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(owner.size()), owner.data(),
               static_cast<int>(what.size()), what.data());
  std::abort();
}

bool consistsOfWordCharacters(std::u16string_view word) {
  if (word.empty() || !detail::fitsIcu(word)) return false;
  const auto length = static_cast<std::int32_t>(word.size());
  for (std::int32_t i = 0; i < length;) {
    UChar32 c;
    U16_NEXT(word.data(), i, length, c);
    if (!detail::isWordCharacter(c)) return false;
  }
  return true;
}

bool isAsciiWordCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_';
}

// All matches (group 0) of a compiled pattern, or what was found before matching failed.
std::vector<TextRange> matchRanges(const icu::RegexPattern& pattern, std::u16string_view code) {
  std::vector<TextRange> ranges;
  const icu::UnicodeString input = detail::aliasOf(code);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(input, status));
  if (U_FAILURE(status)) return ranges;
  detail::limitSteps(*matcher, input.length());
  while (matcher->find(status) && U_SUCCESS(status)) {
    const std::int32_t start = matcher->start(status);
    const std::int32_t end = matcher->end(status);
    if (U_FAILURE(status)) break;
    ranges.push_back({start, end - start});
  }
  return ranges;
}

}  // namespace

namespace detail {

// "\bw1\b|\bw2\b|..." matches at a position exactly when "\b" holds there and
// "(?:w1|w2|...)\b" matches there, with the same word: the leading "\b" is the same test for
// every word. Without it in front, the matcher can skip quickly to where some word begins; the
// leading "\b" is then tested on those few places alone.
std::vector<TextRange> keywordRangesByAlternation(const WordList& words, std::u16string_view code,
                                                  std::string_view owner) {
  if (words.empty() || !fitsIcu(code)) return {};
  std::u16string pattern = u"(?:";
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) pattern += u'|';
    pattern += words[i];
  }
  pattern += u")\\b";
  std::unique_ptr<icu::RegexPattern> compiledWords = compiled(pattern);
  if (!compiledWords) stopProgram(owner, "the keyword pattern does not compile");
  std::unique_ptr<icu::RegexPattern> boundary = compiled(u"\\b");

  std::vector<TextRange> ranges;
  const icu::UnicodeString input = aliasOf(code);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(compiledWords->matcher(input, status));
  std::unique_ptr<icu::RegexMatcher> boundaryAt(boundary->matcher(input, status));
  if (U_FAILURE(status)) return ranges;
  boundaryAt->useTransparentBounds(true);
  boundaryAt->useAnchoringBounds(false);
  limitSteps(*matcher, input.length());
  const auto length = static_cast<std::int32_t>(code.size());
  std::int32_t position = 0;
  while (position <= length && matcher->find(position, status) && U_SUCCESS(status)) {
    const std::int32_t start = matcher->start(status);
    const std::int32_t end = matcher->end(status);
    boundaryAt->region(start, length, status);
    const bool bounded = boundaryAt->lookingAt(status);
    if (U_FAILURE(status)) break;
    if (bounded && end > start) {
      ranges.push_back({start, end - start});
      position = end;
    } else {
      position = start;
      UChar32 c;
      U16_NEXT(code.data(), position, length, c);
      if (position == start) break;
    }
  }
  return ranges;
}

// With words of word characters only, a word matches at a position exactly when the shortest run
// of word characters from a word boundary to the next word boundary equals it: no word boundary
// falls inside such a word, so these runs are the only candidates, and no two words can match at
// the same position. In ASCII text the runs are plainly the maximal runs of [A-Za-z0-9_] (no
// character there is a combining mark or a format character, which blur word boundaries).
std::vector<TextRange> keywordRangesByLookup(const WordList& words, std::u16string_view code) {
  if (words.empty() || !fitsIcu(code)) return {};
  const std::unordered_set<std::u16string_view> wordSet(words.begin(), words.end());
  std::vector<TextRange> ranges;
  const bool ascii = std::all_of(code.begin(), code.end(), [](char16_t c) { return c < 0x80; });
  if (ascii) {
    std::size_t i = 0;
    while (i < code.size()) {
      if (!isAsciiWordCharacter(code[i])) {
        ++i;
        continue;
      }
      std::size_t end = i + 1;
      while (end < code.size() && isAsciiWordCharacter(code[end])) ++end;
      if (wordSet.contains(code.substr(i, end - i))) {
        ranges.push_back({static_cast<std::int32_t>(i), static_cast<std::int32_t>(end - i)});
      }
      i = end;
    }
    return ranges;
  }
  std::unique_ptr<icu::RegexPattern> run = compiled(u"\\b\\w+?\\b");
  ranges = matchRanges(*run, code);
  std::erase_if(ranges, [&](const TextRange& r) {
    return !wordSet.contains(
        code.substr(static_cast<std::size_t>(r.location), static_cast<std::size_t>(r.length)));
  });
  return ranges;
}

}  // namespace detail

std::vector<TextRange> keywordRanges(const WordList& words, std::u16string_view code,
                                     std::string_view owner) {
  const bool allWordCharacters =
      std::all_of(words.begin(), words.end(),
                  [](const std::u16string& word) { return consistsOfWordCharacters(word); });
  if (!words.empty() && allWordCharacters) return detail::keywordRangesByLookup(words, code);
  return detail::keywordRangesByAlternation(words, code, owner);
}

WordList declaredTypeNames(const std::vector<std::u16string_view>& patterns,
                           std::u16string_view code) {
  std::set<std::u16string_view> names;
  for (std::u16string_view pattern : patterns) {
    for (const TextRange& r : captureRanges(pattern, code)) {
      names.insert(
          code.substr(static_cast<std::size_t>(r.location), static_cast<std::size_t>(r.length)));
    }
  }
  return WordList(names.begin(), names.end());
}

Highlighting::Highlighting(std::u16string_view code, Font font, std::string_view owner)
    : m_code(code),
      m_font(std::move(font)),
      m_owner(owner),
      m_colours{palette::base},
      m_colourIndex(code.size(), 0) {}

void Highlighting::highlightKeywords(const WordList& words, const ColourPair& colour) {
  colourRanges(keywordRanges(words, m_code, m_owner), colour);
}

void Highlighting::colourCaptures(std::u16string_view pattern, const ColourPair& colour) {
  colourRanges(captureRanges(pattern, m_code), colour);
}

void Highlighting::colourRanges(const std::vector<TextRange>& ranges, const ColourPair& colour) {
  if (ranges.empty()) return;
  const std::uint8_t index = indexOf(colour);
  for (const TextRange& r : ranges) {
    auto first = m_colourIndex.begin() + r.location;
    std::fill(first, first + r.length, index);
  }
}

AttributedText Highlighting::attributedText() && {
  AttributedText result{std::u16string(m_code), std::move(m_font), {}};
  const std::size_t size = m_colourIndex.size();
  // Counted first: large outputs have hundreds of thousands of runs.
  std::size_t runCount = size == 0 ? 0 : 1;
  for (std::size_t i = 1; i < size; ++i) runCount += m_colourIndex[i] != m_colourIndex[i - 1];
  result.runs.reserve(runCount);
  std::size_t start = 0;
  while (start < size) {
    const std::uint8_t index = m_colourIndex[start];
    std::size_t end = start + 1;
    while (end < size && m_colourIndex[end] == index) ++end;
    result.runs.push_back(
        {{static_cast<std::int32_t>(start), static_cast<std::int32_t>(end - start)},
         m_colours[index]});
    start = end;
  }
  return result;
}

std::uint8_t Highlighting::indexOf(const ColourPair& colour) {
  auto found = std::find(m_colours.begin(), m_colours.end(), colour);
  if (found != m_colours.end()) return static_cast<std::uint8_t>(found - m_colours.begin());
  // Every highlighter uses a dozen colours at most, far below the index's range.
  m_colours.push_back(colour);
  return static_cast<std::uint8_t>(m_colours.size() - 1);
}

}  // namespace mirel
