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

// Above this many words the alternation costs more than looking words up (its matcher tries
// every alternative at every word boundary); below it both are about equally fast.
constexpr std::size_t kLookupThreshold = 16;

[[noreturn]] void stopProgram(std::string_view owner, std::string_view what) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(owner.size()), owner.data(),
               static_cast<int>(what.size()), what.data());
  std::abort();
}

bool consistsOfWordCharacters(const WordList& words) {
  std::unique_ptr<icu::RegexPattern> word = detail::compiled(u"\\w+");
  UErrorCode status = U_ZERO_ERROR;
  for (const std::u16string& w : words) {
    const icu::UnicodeString input = detail::aliasOf(w);
    std::unique_ptr<icu::RegexMatcher> matcher(word->matcher(input, status));
    if (U_FAILURE(status) || !matcher->matches(status) || U_FAILURE(status)) return false;
  }
  return true;
}

// All matches (group 0) of a compiled pattern, or nothing when matching fails outright.
std::vector<TextRange> matchRanges(const icu::RegexPattern& pattern, std::u16string_view code) {
  std::vector<TextRange> ranges;
  const icu::UnicodeString input = detail::aliasOf(code);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(input, status));
  if (U_FAILURE(status)) return ranges;
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

std::vector<TextRange> keywordRangesByAlternation(const WordList& words, std::u16string_view code,
                                                  std::string_view owner) {
  if (words.empty() || !fitsIcu(code)) return {};
  std::u16string pattern;
  for (const std::u16string& word : words) {
    if (!pattern.empty()) pattern += u'|';
    pattern += u"\\b";
    pattern += word;
    pattern += u"\\b";
  }
  std::unique_ptr<icu::RegexPattern> compiled = detail::compiled(pattern);
  if (!compiled) stopProgram(owner, "the keyword pattern does not compile");
  return matchRanges(*compiled, code);
}

// With word-character words, a word matches at a position exactly when the shortest run of word
// characters from a word boundary to the next word boundary equals it: no word boundary falls
// inside such a word, so these runs are the only candidates, and no two words can match at the
// same position.
std::vector<TextRange> keywordRangesByLookup(const WordList& words, std::u16string_view code) {
  if (words.empty() || !fitsIcu(code)) return {};
  const std::unordered_set<std::u16string_view> wordSet(words.begin(), words.end());
  std::unique_ptr<icu::RegexPattern> run = compiled(u"\\b\\w+?\\b");
  std::vector<TextRange> ranges = matchRanges(*run, code);
  std::erase_if(ranges, [&](const TextRange& r) {
    return !wordSet.contains(
        code.substr(static_cast<std::size_t>(r.location), static_cast<std::size_t>(r.length)));
  });
  return ranges;
}

}  // namespace detail

std::vector<TextRange> keywordRanges(const WordList& words, std::u16string_view code,
                                     std::string_view owner) {
  if (words.size() > kLookupThreshold && consistsOfWordCharacters(words)) {
    return detail::keywordRangesByLookup(words, code);
  }
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
