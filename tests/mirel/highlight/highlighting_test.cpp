#include "mirel/highlight/highlighting.h"

#include <random>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "markup.h"

namespace mirel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr ColourPair red{{255, 0, 0}, {128, 0, 0}};
constexpr ColourPair green{{0, 255, 0}, {0, 128, 0}};

std::string marked(const AttributedText& text) {
  return testing::markup(text, {{"keyword", palette::keyword}, {"red", red}, {"green", green}});
}

TEST(KeywordPass, ColoursWholeWordsOnly) {
  EXPECT_THAT(keywordRanges({u"var"}, u"var variable avar var_x var.x", "test"),
              ElementsAre(TextRange{0, 3}, TextRange{24, 3}));
}

TEST(KeywordPass, EmptyListColoursNothing) {
  EXPECT_THAT(keywordRanges({}, u"anything at all", "test"), IsEmpty());
  Highlighting h(u"abc", Font{}, "test");
  h.highlightKeywords({}, red);
  EXPECT_EQ(marked(std::move(h).attributedText()), "abc");
}

TEST(KeywordPass, AnEntryWithABlankMatchesOnlyThatExactPair) {
  EXPECT_THAT(keywordRanges({u"data class"}, u"data class X data  class Y data\nclass Z", "test"),
              ElementsAre(TextRange{0, 10}));
}

TEST(KeywordPass, StopsTheProgramWhenItsPatternDoesNotCompile) {
  EXPECT_DEATH((void)keywordRanges({u"("}, u"x", "BrokenSyntaxHighlighter"),
               "BrokenSyntaxHighlighter");
}

// Many words are looked up instead of matched as one alternation; both must agree everywhere,
// also around combining marks, joiners and format characters, where word boundaries are subtle.
TEST(KeywordPass, LookupAgreesWithTheAlternation) {
  const std::vector<std::u16string> pieces{
      u"Foo",        u"Bar",       u"FooBar", u"x", u"é", u"e\u0301", u"\u0301",
      u"\u200D",     u"\u00AD",    u" ",      u"_", u".", u"\n",      u"1",
      u"\U0001F600", u"Ab\u200Dc", u"Ab",     u"c", u"ü", u"\u05D0",  u"\u0300a"};
  const WordList words{u"Foo", u"Bar", u"FooBar", u"x", u"é",      u"e\u0301", u"Ab\u200Dc", u"Ab",
                       u"c",   u"_",   u"1",      u"ü", u"\u05D0", u"\u0301a", u"a"};
  std::mt19937 random(20240611);
  for (int round = 0; round < 3000; ++round) {
    std::u16string text;
    const int count = static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    ASSERT_EQ(detail::keywordRangesByLookup(words, text),
              detail::keywordRangesByAlternation(words, text, "test"))
        << testing::utf8(text);
  }
}

TEST(Highlighting, StartsInTheBaseColourWithTheFontOverTheWholeText) {
  const Font font = Font::monospacedSystem(21);
  AttributedText text = Highlighting(u"let x", font, "test").attributedText();
  EXPECT_EQ(text.text, u"let x");
  EXPECT_EQ(text.font, font);
  EXPECT_THAT(text.runs, ElementsAre(ColourRun{{0, 5}, palette::base}));
}

TEST(Highlighting, EmptyTextHasNoRunsAndNoRuleFails) {
  Highlighting h(u"", Font{}, "test");
  h.highlightKeywords({u"let"}, red);
  h.colourCaptures(u"(x*)", green);
  AttributedText text = std::move(h).attributedText();
  EXPECT_TRUE(text.text.empty());
  EXPECT_THAT(text.runs, IsEmpty());
}

TEST(Highlighting, TheLaterRuleWinsWhereRangesOverlap) {
  Highlighting h(u"abc def", Font{}, "test");
  h.colourCaptures(u"(\\w+ \\w)", red);
  h.colourCaptures(u"(c d)", green);
  EXPECT_EQ(marked(std::move(h).attributedText()), "«red:ab»«green:c d»ef");
}

TEST(Highlighting, RunsCoverTheTextWithoutGapsAndMergeEqualNeighbours) {
  Highlighting h(u"aa bb cc", Font{}, "test");
  h.colourCaptures(u"(a+)", red);
  h.colourCaptures(u"( b)", red);
  AttributedText text = std::move(h).attributedText();
  EXPECT_THAT(text.runs, ElementsAre(ColourRun{{0, 4}, red}, ColourRun{{4, 4}, palette::base}));
  EXPECT_EQ(text.colourAt(3), red);
  EXPECT_EQ(text.colourAt(7), palette::base);
}

TEST(Highlighting, ColoursTheRightUnitsAfterCharactersOutsideTheBasicPlane) {
  Highlighting h(u"\U0001F600\U0001F600 let x", Font{}, "test");
  h.highlightKeywords({u"let"}, palette::keyword);
  AttributedText text = std::move(h).attributedText();
  EXPECT_THAT(text.runs,
              ElementsAre(ColourRun{{0, 5}, palette::base}, ColourRun{{5, 3}, palette::keyword},
                          ColourRun{{8, 2}, palette::base}));
  EXPECT_EQ(marked(text), "\U0001F600\U0001F600 «keyword:let» x");
}

TEST(DeclaredTypeNames, CollectsEachDistinctNameOnceFromEveryPattern) {
  EXPECT_THAT(declaredTypeNames({u"struct (\\w+)", u": (\\w+)"},
                                u"struct B: A {\n  let a: A\n  let b: Int\n}"),
              ElementsAre(u"A", u"B", u"Int"));
  EXPECT_THAT(declaredTypeNames({u"struct (\\w+)"}, u"let a = 1"), IsEmpty());
}

TEST(DynamicColorProvider, GivesTheDarkColourOnlyForADarkAppearance) {
  EXPECT_EQ(dynamicColorProvider(Appearance::dark, palette::keyword), (Rgb{239, 129, 177}));
  EXPECT_EQ(dynamicColorProvider(Appearance::light, palette::keyword), (Rgb{161, 68, 160}));
  EXPECT_EQ(dynamicColorProvider(Appearance::unspecified, palette::keyword), (Rgb{161, 68, 160}));
}

TEST(DynamicColorProvider, RecoloursHighlightedTextWithoutHighlightingAgain) {
  Highlighting h(u"let x", Font{}, "test");
  h.highlightKeywords({u"let"}, palette::keyword);
  const AttributedText text = std::move(h).attributedText();
  EXPECT_EQ(dynamicColorProvider(Appearance::light, text.runs[0].colour), (Rgb{161, 68, 160}));
  EXPECT_EQ(dynamicColorProvider(Appearance::dark, text.runs[0].colour), (Rgb{239, 129, 177}));
  EXPECT_EQ(dynamicColorProvider(Appearance::dark, text.runs[1].colour), (Rgb{223, 223, 224}));
}

}  // namespace
}  // namespace mirel
