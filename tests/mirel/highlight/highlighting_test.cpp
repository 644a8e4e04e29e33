#include "mirel/highlight/highlighting.h"

#include <random>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "markup.h"
#include "mirel/highlight/capture_ranges_detail.h"

namespace mirel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr ColourPair red{{255, 0, 0}, {128, 0, 0}};
constexpr ColourPair green{{0, 255, 0}, {0, 128, 0}};

std::string marked(const AttributedText& text) {
  return testing::markup(text, {{"keyword", palette::keyword}, {"red", red}, {"green", green}});
}

TEST(KeywordPass, ColoursWholeWordsAndExactBlankSeparatedPairsOnly) {
  EXPECT_THAT(keywordRanges({u"var"}, u"var variable avar var_x var.x", "test"),
              ElementsAre(TextRange{0, 3}, TextRange{24, 3}));
  EXPECT_THAT(keywordRanges({u"data class"}, u"data class X data  class Y data\nclass Z", "test"),
              ElementsAre(TextRange{0, 10}));
  EXPECT_THAT(keywordRanges({}, u"anything at all", "test"), IsEmpty());
}

TEST(KeywordPass, StopsTheProgramWhenItsPatternDoesNotCompile) {
  EXPECT_DEATH((void)keywordRanges({u"("}, u"x", "BrokenSyntaxHighlighter"),
               "BrokenSyntaxHighlighter");
}

// The keyword pass finds words faster than by the alternation "\bw1\b|\bw2\b|..." its contract
// names; it must find exactly what that alternation finds, also around combining marks, joiners
// and format characters, where word boundaries are subtle, and in plain ASCII text.
std::vector<TextRange> byContractAlternation(const WordList& words, std::u16string_view code) {
  std::u16string pattern = u"(";
  for (std::size_t i = 0; i < words.size(); ++i) {
    pattern += (i > 0 ? u"|\\b" : u"\\b") + words[i] + u"\\b";
  }
  return detail::plainCaptureRanges(pattern + u")", code);
}

TEST(KeywordPass, FindsWhatTheAlternationOfItsContractFinds) {
  const std::vector<std::u16string> fragments{
      u"Foo",     u"Bar",    u"FooBar", u"x",      u" ",          u" ",          u"_",
      u".",       u"\n",     u"1",      u"data",   u"class",      u"data class", u"é",
      u"e\u0301", u"\u0301", u"\u200D", u"\u00AD", u"\U0001F600", u"Ab\u200Dc",  u"Ab",
      u"c",       u"ü",      u"\u05D0", u"\u0300a"};
  const WordList wordCharacterWords{u"Foo",       u"Bar",     u"FooBar", u"x",    u"é", u"e\u0301",
                                    u"Ab\u200Dc", u"Ab",      u"c",      u"_",    u"1", u"ü",
                                    u"\u05D0",    u"\u0301a", u"a",      u"class"};
  const WordList mixedWords{u"package", u"data class", u"Foo", u"x", u"é", u"class"};
  std::mt19937 random(20240611);
  for (int round = 0; round < 4000; ++round) {
    // Every other text is plain ASCII, which takes a path of its own.
    const std::size_t choices = round % 2 == 0 ? 13 : fragments.size();
    std::u16string text;
    const int count = static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i) text += fragments[random() % choices];
    for (const WordList* words : {&wordCharacterWords, &mixedWords}) {
      const std::vector<TextRange> expected = byContractAlternation(*words, text);
      ASSERT_EQ(keywordRanges(*words, text, "test"), expected) << testing::utf8(text);
      ASSERT_EQ(detail::keywordRangesByAlternation(*words, text, "test"), expected)
          << testing::utf8(text);
    }
  }
}

TEST(Highlighting, StartsInTheBaseColourWithTheFontAndEmptyTextHasNoRuns) {
  const Font font = Font::monospacedSystem(21);
  AttributedText text = Highlighting(u"let x", font, "test").attributedText();
  EXPECT_EQ(text.font, font);
  EXPECT_THAT(text.runs, ElementsAre(ColourRun{{0, 5}, palette::base}));

  Highlighting h(u"", Font{}, "test");
  h.highlightKeywords({u"let"}, red);
  h.colourCaptures(u"(x*)", green);
  EXPECT_THAT(std::move(h).attributedText().runs, IsEmpty());
}

TEST(Highlighting, TheLaterRuleWinsAndEqualNeighboursMerge) {
  Highlighting h(u"abc def", Font{}, "test");
  h.colourCaptures(u"(\\w+ \\w)", red);
  h.colourCaptures(u"(c d)", green);
  EXPECT_EQ(marked(std::move(h).attributedText()), "«red:ab»«green:c d»ef");

  Highlighting merged(u"aa bb cc", Font{}, "test");
  merged.colourCaptures(u"(a+)", red);
  merged.colourCaptures(u"( b)", red);
  EXPECT_THAT(std::move(merged).attributedText().runs,
              ElementsAre(ColourRun{{0, 4}, red}, ColourRun{{4, 4}, palette::base}));
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

TEST(DynamicColorProvider, RecoloursHighlightedTextDarkOnlyForADarkAppearance) {
  Highlighting h(u"let x", Font{}, "test");
  h.highlightKeywords({u"let"}, palette::keyword);
  const AttributedText text = std::move(h).attributedText();
  EXPECT_EQ(dynamicColorProvider(Appearance::light, text.runs[0].colour), (Rgb{161, 68, 160}));
  EXPECT_EQ(dynamicColorProvider(Appearance::unspecified, text.runs[0].colour),
            (Rgb{161, 68, 160}));
  EXPECT_EQ(dynamicColorProvider(Appearance::dark, text.runs[0].colour), (Rgb{239, 129, 177}));
  EXPECT_EQ(dynamicColorProvider(Appearance::dark, text.runs[1].colour), (Rgb{223, 223, 224}));
}

}  // namespace
}  // namespace mirel
