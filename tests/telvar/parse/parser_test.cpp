#include "telvar/parse/parser.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace telvar::parse {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Text = std::string_view;

// The output and the unread rest of a match, for compact expectations.
template <class O>
struct Parsed {
  O output;
  std::string rest;
};

template <Rule P>
std::optional<Parsed<OutputOf<P>>> run(const P& p, Text input) {
  auto r = p.parse(Input(input));
  if (!r) return std::nullopt;
  return Parsed<OutputOf<P>>{std::move(r->output), std::string(r->rest.text)};
}

struct Boom : std::runtime_error {
  Boom() : std::runtime_error("boom") {}
};

// A parser that throws, and one that counts how often it runs (and then matches one "x").
Parser<Text> thrower() {
  return Parser<Text>(
      std::function<Result<Text>(Input)>([](Input) -> Result<Text> { throw Boom(); }));
}

Parser<Text> counting(int& runs) {
  return Parser<Text>(std::function<Result<Text>(Input)>([&runs](Input i) {
    ++runs;
    return literal("x").parse(i);
  }));
}

TEST(Sequencing, ZipKeepsBothOutputsAndFailsIfEitherSideFails) {
  auto ab = zip(literal("a"), literal("b"));
  auto r = run(ab, "abc");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->output.first, "a");
  EXPECT_EQ(r->output.second, "b");
  EXPECT_EQ(r->rest, "c");
  EXPECT_FALSE(run(ab, "ac"));
  EXPECT_FALSE(run(ab, "b"));
  EXPECT_FALSE(run(ab, ""));
}

TEST(Sequencing, KeepLeftAndKeepRightMatchExactlyWhenZipMatches) {
  auto left = run(keepLeft(literal("a"), literal("b")), "abc");
  ASSERT_TRUE(left);
  EXPECT_EQ(left->output, "a");
  EXPECT_EQ(left->rest, "c");
  auto right = run(keepRight(literal("a"), literal("b")), "abc");
  ASSERT_TRUE(right);
  EXPECT_EQ(right->output, "b");
  EXPECT_EQ(right->rest, "c");
  EXPECT_FALSE(run(keepLeft(literal("a"), literal("b")), "ax"));
  EXPECT_FALSE(run(keepRight(literal("a"), literal("b")), "xb"));
}

TEST(Transforming, MapTransformsAndATransformYieldingNothingIsNoMatch) {
  auto length = map(literal("abc"), [](Text t) { return std::optional<int>(int(t.size())); });
  auto r = run(length, "abcd");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->output, 3);
  EXPECT_EQ(r->rest, "d");

  auto declines = map(literal("abc"), [](Text) { return std::optional<int>(); });
  EXPECT_FALSE(run(declines, "abcd"));
  // The caller still holds its input: an alternative after it starts from the same place.
  auto r2 =
      run(orElse(declines, map(literal("ab"), [](Text) { return std::optional<int>(2); })), "abcd");
  ASSERT_TRUE(r2);
  EXPECT_EQ(r2->output, 2);
  EXPECT_EQ(r2->rest, "cd");
}

TEST(Transforming, FlatMapChoosesTheContinuationFromWhatWasParsed) {
  // A digit n, then exactly n letters "x".
  auto counted = flatMap(characterIn("0123456789"),
                         [](Text digit) { return literal(std::string(digit[0] - '0', 'x')); });
  auto r = run(counted, "3xxxx");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->output, "xxx");
  EXPECT_EQ(r->rest, "x");
  EXPECT_FALSE(run(counted, "3xx"));
  EXPECT_FALSE(run(counted, "x"));
}

TEST(Alternatives, OrderedChoiceTakesTheFirstMatchNotTheLongest) {
  auto r = run(oneOf(literal("a"), literal("abc")), "abc");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->output, "a");
  EXPECT_EQ(r->rest, "bc");

  auto list = oneOf(std::vector<Parser<Text>>{literal("a"), literal("abc")});
  auto r2 = run(list, "abc");
  ASSERT_TRUE(r2);
  EXPECT_EQ(r2->rest, "bc");

  auto r3 = run(orElse(literal("a"), literal("abc")), "abc");
  ASSERT_TRUE(r3);
  EXPECT_EQ(r3->rest, "bc");
}

TEST(Alternatives, LaterAlternativesStartFromTheSameInputAfterAFailure) {
  // The first alternative consumes "ab" before failing; the second still sees "abd".
  auto p = oneOf(keepLeft(literal("ab"), literal("c")), literal("abd"));
  auto r = run(p, "abd!");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->output, "abd");
  EXPECT_EQ(r->rest, "!");
  EXPECT_FALSE(run(p, "abx"));
}

TEST(Alternatives, AnEmptyListNeverMatchesAndLaterParsersAreNotRunAfterAMatch) {
  EXPECT_FALSE(run(oneOf(std::vector<Parser<Text>>{}), "abc"));
  EXPECT_FALSE(run(oneOf(std::vector<Parser<Text>>{}), ""));
  int runs = 0;
  ASSERT_TRUE(run(oneOf(std::vector<Parser<Text>>{literal("x"), counting(runs)}), "x"));
  ASSERT_TRUE(run(oneOf(literal("x"), counting(runs)), "x"));
  EXPECT_EQ(runs, 0);
}

TEST(Repetition, OptionalYieldsAbsentAndTheUnchangedInputWhenItsParserFails) {
  auto r = run(optional(literal("a")), "bc");
  ASSERT_TRUE(r);
  EXPECT_FALSE(r->output);
  EXPECT_EQ(r->rest, "bc");
  auto r2 = run(optional(literal("a")), "ab");
  ASSERT_TRUE(r2);
  EXPECT_EQ(r2->output, Text("a"));
  EXPECT_EQ(r2->rest, "b");
}

TEST(Repetition, ZeroOrMoreCollectsUntilItsParserFails) {
  auto r = run(zeroOrMore(literal("ab")), "ababa");
  ASSERT_TRUE(r);
  EXPECT_THAT(r->output, ElementsAre("ab", "ab"));
  EXPECT_EQ(r->rest, "a");
  auto none = run(zeroOrMore(literal("x")), "abc");
  ASSERT_TRUE(none);
  EXPECT_THAT(none->output, IsEmpty());
  EXPECT_EQ(none->rest, "abc");
  auto text = run(zeroOrMore(characterIn("ab"), CollectText{}), "abbac");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->output, "abba");
}

TEST(Repetition, SeparatedLeavesASeparatorWithoutAnElementUnread) {
  auto letters = zeroOrMoreSeparated(characterIn("abc"), character(","));
  auto three = run(letters, "a,b,c");
  ASSERT_TRUE(three);
  EXPECT_THAT(three->output, ElementsAre("a", "b", "c"));
  EXPECT_EQ(three->rest, "");

  auto trailing = run(letters, "a,b,");
  ASSERT_TRUE(trailing);
  EXPECT_THAT(trailing->output, ElementsAre("a", "b"));
  EXPECT_EQ(trailing->rest, ",");

  auto leading = run(letters, ",a");
  ASSERT_TRUE(leading);
  EXPECT_THAT(leading->output, IsEmpty());
  EXPECT_EQ(leading->rest, ",a");

  auto never = run(zeroOrMoreSeparated(literal("x"), character(",")), "abc");
  ASSERT_TRUE(never);
  EXPECT_THAT(never->output, IsEmpty());
  EXPECT_EQ(never->rest, "abc");
}

TEST(Texts, LiteralNeedsAllItsCharactersAndLeavesWhatFollows) {
  EXPECT_FALSE(run(literal("null"), "nul"));
  EXPECT_FALSE(run(literal("null"), "nulL"));
  auto r = run(literal("null"), "nullx");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->output, "null");
  EXPECT_EQ(r->rest, "x");
  auto whole = run(literal("null"), "null");
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->rest, "");
  // An empty literal matches everywhere and consumes nothing.
  auto empty = run(literal(""), "abc");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->rest, "abc");
}

TEST(Texts, CharacterWhereSeesWholeCharacters) {
  auto notQuote = characterWhere([](Text c) { return c != "\""; });
  auto r = run(notQuote, "e\u0301x");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->output, "e\u0301");
  EXPECT_EQ(r->rest, "x");
  EXPECT_FALSE(run(notQuote, "\"a"));
  EXPECT_FALSE(run(notQuote, ""));
}

// The unit of input is the grapheme cluster: CR LF is one character, and so is a quotation mark,
// a letter or a digit followed by a combining mark.
TEST(Characters, CarriageReturnLineFeedIsOneCharacter) {
  EXPECT_FALSE(run(character("\r"), "\r\n"));
  auto pair = run(character("\r\n"), "\r\nx");
  ASSERT_TRUE(pair);
  EXPECT_EQ(pair->output, "\r\n");
  EXPECT_EQ(pair->rest, "x");
  auto lone = run(character("\r"), "\rx");
  ASSERT_TRUE(lone);
  EXPECT_EQ(lone->rest, "x");
  EXPECT_FALSE(run(literal("\r"), "\r\n"));
  EXPECT_FALSE(run(literal("a\r"), "a\r\n"));
  EXPECT_FALSE(run(characterIn("\r\t"), "\r\n"));
}

TEST(Characters, ACombiningMarkJoinsTheCharacterBeforeIt) {
  EXPECT_FALSE(run(character("\""), "\"\u0301"));
  EXPECT_FALSE(run(characterIn("\"\\"), "\"\u0301"));
  EXPECT_FALSE(run(literal("a"), "a\u0301"));
  EXPECT_FALSE(run(literal("null"), "null\u0301"));
  EXPECT_FALSE(run(characterIn("0123456789"), "7\u20E3"));
  auto mark = run(character("\"\u0301"), "\"\u0301!");
  ASSERT_TRUE(mark);
  EXPECT_EQ(mark->rest, "!");
}

TEST(Characters, CharactersCompareByCanonicalEquivalence) {
  // Precomposed against decomposed "é", in both directions.
  auto r = run(character("\u00E9"), "e\u0301x");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->output, "e\u0301");
  EXPECT_EQ(r->rest, "x");
  EXPECT_TRUE(run(character("e\u0301"), "\u00E9"));
  EXPECT_TRUE(run(characterIn("a\u00E9"), "e\u0301"));
  auto word = run(literal("caf\u00E9"), "cafe\u0301!");
  ASSERT_TRUE(word);
  EXPECT_EQ(word->rest, "!");
  // The Kelvin sign is canonically the letter K, even for an all-ASCII literal or set.
  EXPECT_TRUE(run(character("K"), "\u212A"));
  EXPECT_TRUE(run(characterIn("JK"), "\u212A"));
  EXPECT_TRUE(run(literal("OK"), "O\u212A"));
}

TEST(Characters, InvalidUtf8IsNoCharacter) {
  EXPECT_FALSE(run(characterWhere([](Text) { return true; }), "\xFF"));
  EXPECT_FALSE(run(character("\xC3"), "\xC3"));
  EXPECT_FALSE(run(characterIn("a\xE9"), "\xE9"));
}

TEST(Recursion, DeferredObtainsASharedParserWhenRunSoARuleCanContainItself) {
  // Balanced parentheses, counting the pairs.
  static const Parser<int> parens =
      map(zeroOrMore(keepRight(
              character("("),
              keepLeft(deferred([]() -> const Parser<int>& { return parens; }), character(")")))),
          [](std::vector<int> inner) {
            int n = 0;
            for (int i : inner) n += i + 1;
            return std::optional<int>(n);
          });
  auto r = run(parens, "(()())()x");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->output, 4);
  EXPECT_EQ(r->rest, "x");
  auto unbalanced = run(parens, "(()");
  ASSERT_TRUE(unbalanced);
  EXPECT_EQ(unbalanced->output, 0);
  EXPECT_EQ(unbalanced->rest, "(()");
}

TEST(Recursion, NestedBoundsTheDepthAndRestoresItAfterward) {
  static const Parser<int> depth = map(
      optional(keepRight(character("("),
                         keepLeft(nested(deferred([]() -> const Parser<int>& { return depth; }), 3),
                                  character(")")))),
      [](std::optional<int> inner) { return std::optional<int>(inner ? *inner + 1 : 0); });
  auto three = depth.parse(Input("((()))"));
  ASSERT_TRUE(three);
  EXPECT_EQ(three->output, 3);
  EXPECT_EQ(three->rest.depth, 0);
  // The fourth level is no match, so the innermost "(" is left unread and ")" is missing.
  auto four = depth.parse(Input("(((())))"));
  ASSERT_TRUE(four);
  EXPECT_EQ(four->output, 0);
  EXPECT_EQ(four->rest.text, "(((())))");
}

// An error raised inside a parser passes through every combinator unchanged, and nothing after it
// runs: no later alternative, no further repetition.
TEST(Errors, AnErrorPassesThroughEveryCombinatorAndStopsAllFurtherWork) {
  int runs = 0;
  auto x = literal("x");
  auto boom = thrower();
  EXPECT_THROW((void)zip(boom, counting(runs)).parse(Input("x")), Boom);
  EXPECT_THROW((void)zip(x, boom).parse(Input("x")), Boom);
  EXPECT_THROW((void)keepLeft(x, boom).parse(Input("x")), Boom);
  EXPECT_THROW((void)keepRight(boom, counting(runs)).parse(Input("x")), Boom);
  EXPECT_THROW((void)map(boom, [](Text t) { return std::optional<Text>(t); }).parse(Input("x")),
               Boom);
  EXPECT_THROW((void)flatMap(x, [&](Text) { return boom; }).parse(Input("xx")), Boom);
  EXPECT_THROW((void)orElse(boom, counting(runs)).parse(Input("x")), Boom);
  EXPECT_THROW((void)oneOf(boom, counting(runs)).parse(Input("x")), Boom);
  EXPECT_THROW((void)oneOf(std::vector<Parser<Text>>{boom, counting(runs)}).parse(Input("x")),
               Boom);
  EXPECT_THROW((void)optional(boom).parse(Input("x")), Boom);
  // The error comes after some matches: the collected outputs are dropped with it.
  EXPECT_THROW((void)zeroOrMore(orElse(x, boom)).parse(Input("xxy")), Boom);
  EXPECT_THROW((void)zeroOrMoreSeparated(orElse(x, boom), character(",")).parse(Input("x,x,y")),
               Boom);
  EXPECT_THROW((void)zeroOrMoreSeparated(x, boom).parse(Input("xx")), Boom);
  EXPECT_THROW((void)deferred([&]() -> const Parser<Text>& { return boom; }).parse(Input("x")),
               Boom);
  EXPECT_THROW((void)nested(boom, 5).parse(Input("x")), Boom);
  EXPECT_EQ(runs, 0);
}

// Programming errors stop the program with a message rather than hang or misbehave.
TEST(ProgrammingErrorsDeathTest, ZeroOrMoreOfAParserThatConsumesNothingStops) {
  EXPECT_DEATH((void)zeroOrMore(optional(literal("a"))).parse(Input("aab")),
               "zeroOrMore: the repeated parser matched without consuming input");
  EXPECT_DEATH((void)zeroOrMore(literal("")).parse(Input("")), "without consuming input");
}

TEST(ProgrammingErrorsDeathTest, CharacterInOfAnEmptyTextStops) {
  EXPECT_DEATH((void)characterIn(""), "characterIn: the set of characters is empty");
}

}  // namespace
}  // namespace telvar::parse
