#include "mirel/highlight/capture_ranges.h"

#include <random>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "markup.h"
#include "mirel/highlight/capture_ranges_detail.h"
#include "mirel/highlight/regex_support.h"

namespace mirel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(CaptureRanges, GivesEveryGroupThatTookPartInUtf16UnitsButNeverTheWholeMatch) {
  EXPECT_THAT(captureRanges(u"(a)(b)", u"ab-ab"),
              ElementsAre(TextRange{0, 1}, TextRange{1, 1}, TextRange{3, 1}, TextRange{4, 1}));
  EXPECT_THAT(captureRanges(u"ab", u"ab ab"), IsEmpty());
  // Group 2 sits under "*": "*int" repeats it zero times, "[]int" once.
  EXPECT_THAT(captureRanges(uR"re((\*?(\[?\])*\w+) `json)re", u"*int `json []int `json"),
              ElementsAre(TextRange{0, 4}, TextRange{11, 5}, TextRange{11, 2}));
  EXPECT_THAT(captureRanges(u"(a)(x)?(b)", u"ab"), ElementsAre(TextRange{0, 1}, TextRange{1, 1}));
  EXPECT_THAT(captureRanges(u"(\"(type)\")", u"{\"type\": 1}"),
              ElementsAre(TextRange{1, 6}, TextRange{2, 4}));
  // The emoji outside the Basic Multilingual Plane counts as two units, "é" as one.
  EXPECT_THAT(captureRanges(u"(\\w+)", u"\U0001F600 é\U0001F600x"),
              ElementsAre(TextRange{3, 1}, TextRange{6, 1}));
  EXPECT_THAT(captureRanges(u"(x*)", u""), ElementsAre(TextRange{0, 0}));
  EXPECT_THAT(captureRanges(u"(x)", u""), IsEmpty());
  // A pattern that does not compile finds nothing.
  for (std::u16string_view broken : {u"(unclosed", u"\\", u"[z-a](x)"}) {
    EXPECT_THAT(captureRanges(broken, u"unclosed \\ x"), IsEmpty());
  }
}

// Patterns that open with a run of word characters are tried only where such a match can start;
// the result must be the plain search's, whatever the text.
TEST(CaptureRanges, FindsWhatThePlainSearchFindsForPatternsOpeningWithAWordRun) {
  const std::vector<std::u16string_view> patterns{
      // The highlighters' own patterns of this kind.
      uR"re((\w+\<?\w+\??\>?\??) \w+[;,])re", uR"re((\w+)\(\{)re", uR"re((\w+) copyWith\(\{)re",
      uR"re((\w+)\.fromJSON)re", uR"re(\w+\.(fromJSON)\(Map)re", uR"re(\w+\.(fromJSON)\(json)re",
      uR"re(\w+\.(fromJSON)\(x\))re", uR"re((\w+) \w+ =)re",
      // Others that stretch the shortcut or must not take it.
      uR"re((\w+)(\w))re", uR"re(\w+a)re", uR"re(\w+?\.)re", uR"re((\w+)?\.)re", uR"re(\w+\b)re",
      uR"re((\w+)\1)re", uR"re(\w+|\.)re", uR"re((\w+) \w)re"};
  const std::vector<std::u16string> fragments{
      u"Map",    u"<",        u">",          u"?",          u" ",    u";",       u",",
      u".",      u"fromJSON", u"(",          u"{",          u"json", u"x)",      u"copyWith",
      u"=",      u"a",        u"List",       u"\n",         u"é",    u"e\u0301", u"\u0301",
      u"\u200D", u"\u00AD",   u"\U0001F600", u"\U0001D49C", u"_1"};
  std::mt19937 random(42);
  for (int round = 0; round < 1500; ++round) {
    std::u16string text;
    const int count = static_cast<int>(random() % 16);
    for (int i = 0; i < count; ++i) text += fragments[random() % fragments.size()];
    for (std::u16string_view pattern : patterns) {
      ASSERT_EQ(captureRanges(pattern, text), detail::plainCaptureRanges(pattern, text))
          << testing::utf8(pattern) << " in " << testing::utf8(text);
    }
  }
}

TEST(WordCharacters, AreExactlyThoseOfTheRegularExpressionDialect) {
  // Every code point but the surrogates, one after another; "\w" finds the word characters.
  std::u16string all;
  for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
    if (U_IS_SURROGATE(c)) continue;
    if (c < 0x10000) {
      all += static_cast<char16_t>(c);
    } else {
      all += static_cast<char16_t>(U16_LEAD(c));
      all += static_cast<char16_t>(U16_TRAIL(c));
    }
  }
  std::vector<bool> byDialect(0x110000, false);
  for (const TextRange& r : detail::plainCaptureRanges(u"(\\w)", all)) {
    UChar32 c;
    U16_GET(all.data(), 0, r.location, static_cast<std::int32_t>(all.size()), c);
    byDialect[static_cast<std::size_t>(c)] = true;
  }
  std::size_t differences = 0;
  for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
    if (!U_IS_SURROGATE(c) &&
        detail::isWordCharacter(c) != byDialect[static_cast<std::size_t>(c)]) {
      ++differences;
    }
  }
  EXPECT_EQ(differences, 0u);
}

}  // namespace
}  // namespace mirel
