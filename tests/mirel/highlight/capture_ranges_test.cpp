#include "mirel/highlight/capture_ranges.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace mirel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(CaptureRanges, GivesEveryGroupOfEveryMatchInOrderButNeverTheWholeMatch) {
  EXPECT_THAT(captureRanges(u"(a)(b)", u"ab-ab"),
              ElementsAre(TextRange{0, 1}, TextRange{1, 1}, TextRange{3, 1}, TextRange{4, 1}));
  EXPECT_THAT(captureRanges(u"ab", u"ab ab"), IsEmpty());
}

TEST(CaptureRanges, SkipsAGroupThatTookNoPartAndKeepsTheOthersOfTheSameMatch) {
  // Group 2 sits under "*": "*int" repeats it zero times, "[]int" once.
  EXPECT_THAT(captureRanges(uR"re((\*?(\[?\])*\w+) `json)re", u"*int `json []int `json"),
              ElementsAre(TextRange{0, 4}, TextRange{11, 5}, TextRange{11, 2}));
  EXPECT_THAT(captureRanges(u"(a)(x)?(b)", u"ab"), ElementsAre(TextRange{0, 1}, TextRange{1, 1}));
}

TEST(CaptureRanges, GivesNestedGroupsBothRanges) {
  EXPECT_THAT(captureRanges(u"(\"(type)\")", u"{\"type\": 1}"),
              ElementsAre(TextRange{1, 6}, TextRange{2, 4}));
}

TEST(CaptureRanges, GivesNothingForAPatternThatDoesNotCompile) {
  EXPECT_THAT(captureRanges(u"(unclosed", u"unclosed"), IsEmpty());
  EXPECT_THAT(captureRanges(u"\\", u"\\"), IsEmpty());
  EXPECT_THAT(captureRanges(u"[z-a](x)", u"x"), IsEmpty());
}

TEST(CaptureRanges, CountsInUtf16CodeUnits) {
  // The emoji outside the Basic Multilingual Plane counts as two units, "é" as one.
  EXPECT_THAT(captureRanges(u"(\\w+)", u"\U0001F600 é\U0001F600x"),
              ElementsAre(TextRange{3, 1}, TextRange{6, 1}));
}

TEST(CaptureRanges, FindsOnlyEmptyMatchesInEmptyText) {
  EXPECT_THAT(captureRanges(u"(x*)", u""), ElementsAre(TextRange{0, 0}));
  EXPECT_THAT(captureRanges(u"(x)", u""), IsEmpty());
}

}  // namespace
}  // namespace mirel
