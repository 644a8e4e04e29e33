#include "telvar/parse/parser.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace telvar::parse {
namespace {

using Text = std::string_view;

std::string show(Text t) { return std::string(t); }
std::string show(int i) { return std::to_string(i); }
template <class T>
std::string show(const std::optional<T>& o) {
  return o ? show(*o) : "none";
}
template <class A, class B>
std::string show(const std::pair<A, B>& p) {
  return "(" + show(p.first) + "," + show(p.second) + ")";
}
template <class T>
std::string show(const std::vector<T>& v) {
  std::string s = "[";
  for (const auto& e : v) s += (s.size() > 1 ? "," : "") + show(e);
  return s + "]";
}

// "output|rest", or "no match": one comparable line per case.
template <Rule P>
std::string run(const P& p, Text input) {
  auto r = p.parse(Input(input));
  return r ? show(r->output) + "|" + std::string(r->rest.text) : "no match";
}

struct Boom : std::runtime_error {
  Boom() : std::runtime_error("boom") {}
};

Parser<Text> thrower() {
  return Parser<Text>([](Input) -> Result<Text> { throw Boom(); });
}

// Counts its runs, then matches one "x".
Parser<Text> counting(int& runs) {
  return Parser<Text>([&runs](Input i) {
    ++runs;
    return literal("x").parse(i);
  });
}

auto some(int n) {
  return [n](auto&&) { return std::optional<int>(n); };
}

TEST(Combinators, SequencingKeepsTheChosenOutputsAndFailsIfEitherSideFails) {
  EXPECT_EQ(run(zip(literal("a"), literal("b")), "abc"), "(a,b)|c");
  EXPECT_EQ(run(zip(literal("a"), literal("b")), "ac"), "no match");
  EXPECT_EQ(run(zip(literal("a"), literal("b")), "b"), "no match");
  EXPECT_EQ(run(keepLeft(literal("a"), literal("b")), "abc"), "a|c");
  EXPECT_EQ(run(keepRight(literal("a"), literal("b")), "abc"), "b|c");
  EXPECT_EQ(run(keepLeft(literal("a"), literal("b")), "ax"), "no match");
  EXPECT_EQ(run(keepRight(literal("a"), literal("b")), "xb"), "no match");
}

TEST(Combinators, MapAndFlatMapTransformAndATransformYieldingNothingIsNoMatch) {
  auto length = [](Text t) { return std::optional<int>(static_cast<int>(t.size())); };
  auto declines = map(literal("abc"), [](Text) { return std::optional<int>(); });
  EXPECT_EQ(run(map(literal("abc"), length), "abcd"), "3|d");
  EXPECT_EQ(run(declines, "abcd"), "no match");
  // After the declined match the caller still holds its input.
  EXPECT_EQ(run(orElse(declines, map(literal("ab"), some(2))), "abcd"), "2|cd");

  // A digit n, then exactly n letters "x".
  auto counted = flatMap(characterIn("0123456789"),
                         [](Text digit) { return literal(std::string(digit[0] - '0', 'x')); });
  EXPECT_EQ(run(counted, "3xxxx"), "xxx|x");
  EXPECT_EQ(run(counted, "3xx"), "no match");
  EXPECT_EQ(run(counted, "0x"), "|x");
}

TEST(Combinators, OrderedChoiceTakesTheFirstMatchNotTheLongest) {
  EXPECT_EQ(run(oneOf(literal("a"), literal("abc")), "abc"), "a|bc");
  EXPECT_EQ(run(oneOf(std::vector<Parser<Text>>{literal("a"), literal("abc")}), "abc"), "a|bc");
  EXPECT_EQ(run(orElse(literal("a"), literal("abc")), "abc"), "a|bc");
  // The first alternative consumed "ab" before failing; the second still starts at "abd".
  EXPECT_EQ(run(oneOf(keepLeft(literal("ab"), literal("c")), literal("abd")), "abd!"), "abd|!");
  EXPECT_EQ(run(oneOf(std::vector<Parser<Text>>{}), "abc"), "no match");
  int runs = 0;
  EXPECT_EQ(run(oneOf(std::vector<Parser<Text>>{literal("x"), counting(runs)}), "x"), "x|");
  EXPECT_EQ(run(oneOf(literal("x"), counting(runs)), "x"), "x|");
  EXPECT_EQ(runs, 0);
}

TEST(Combinators, RepetitionsAlwaysMatchAndLeaveWhatTheyCannotUse) {
  EXPECT_EQ(run(optional(literal("a")), "bc"), "none|bc");
  EXPECT_EQ(run(optional(literal("a")), "ab"), "a|b");
  EXPECT_EQ(run(zeroOrMore(literal("ab")), "ababa"), "[ab,ab]|a");
  EXPECT_EQ(run(zeroOrMore(literal("x")), "abc"), "[]|abc");
  EXPECT_EQ(run(zeroOrMore(characterIn("ab"), CollectText{}), "abbac"), "abba|c");

  auto letters = zeroOrMoreSeparated(characterIn("abc"), character(","));
  EXPECT_EQ(run(letters, "a,b,c"), "[a,b,c]|");
  EXPECT_EQ(run(letters, "a,b,"), "[a,b]|,");  // a separator without an element is left
  EXPECT_EQ(run(letters, ",a"), "[]|,a");
  EXPECT_EQ(run(letters, "x"), "[]|x");
}

TEST(Combinators, LiteralNeedsAllItsCharacters) {
  EXPECT_EQ(run(literal("null"), "nul"), "no match");
  EXPECT_EQ(run(literal("null"), "nulL"), "no match");
  EXPECT_EQ(run(literal("null"), "nullx"), "null|x");
  EXPECT_EQ(run(literal("null"), "null"), "null|");
  EXPECT_EQ(run(literal(""), "abc"), "|abc");
}

// The unit of input is the grapheme cluster, compared by canonical equivalence.
TEST(Characters, CarriageReturnLineFeedIsOneCharacter) {
  EXPECT_EQ(run(character("\r"), "\r\n"), "no match");
  EXPECT_EQ(run(character("\r\n"), "\r\nx"), "\r\n|x");
  EXPECT_EQ(run(character("\r"), "\rx"), "\r|x");
  EXPECT_EQ(run(literal("a\r"), "a\r\n"), "no match");
  EXPECT_EQ(run(characterIn("\r\t"), "\r\n"), "no match");
  EXPECT_EQ(run(characterIn("\t\r\r\n"), "\r\n"), "\r\n|");
}

TEST(Characters, ACombiningMarkJoinsTheCharacterBeforeIt) {
  EXPECT_EQ(run(character("\""), "\"\u0301"), "no match");
  EXPECT_EQ(run(characterIn("\"\\"), "\"\u0301"), "no match");
  EXPECT_EQ(run(literal("null"), "null\u0301"), "no match");
  EXPECT_EQ(run(characterIn("0123456789"), "7\u20E3"), "no match");
  EXPECT_EQ(run(character("\"\u0301"), "\"\u0301!"), "\"\u0301|!");
  EXPECT_EQ(run(characterWhere([](Text c) { return c != "\""; }), "e\u0301x"), "e\u0301|x");
  EXPECT_EQ(run(characterWhere([](Text c) { return c != "\""; }), ""), "no match");
}

TEST(Characters, CharactersCompareByCanonicalEquivalence) {
  EXPECT_EQ(run(character("\u00E9"), "e\u0301x"), "e\u0301|x");
  EXPECT_EQ(run(character("e\u0301"), "\u00E9"), "\u00E9|");
  EXPECT_EQ(run(characterIn("a\u00E9"), "e\u0301"), "e\u0301|");
  EXPECT_EQ(run(literal("caf\u00E9"), "cafe\u0301!"), "cafe\u0301|!");
  // The Kelvin sign is canonically the letter K, for all-ASCII sets and literals too.
  EXPECT_EQ(run(character("K"), "\u212A"), "\u212A|");
  EXPECT_EQ(run(characterIn("JK"), "\u212A"), "\u212A|");
  EXPECT_EQ(run(literal("OK"), "O\u212A"), "O\u212A|");
}

TEST(Characters, InvalidUtf8IsNoCharacter) {
  EXPECT_EQ(run(characterWhere([](Text) { return true; }), "\xFF"), "no match");
  EXPECT_EQ(run(character("\xC3"), "\xC3"), "no match");
  EXPECT_EQ(run(characterIn("a\xE9"), "\xE9"), "no match");
}

// Every string of up to `length` pieces drawn from `pieces`.
std::vector<std::string> allTexts(const std::vector<std::string>& pieces, int length) {
  std::vector<std::string> texts{""};
  std::size_t from = 0;
  for (int n = 0; n < length; ++n) {
    const std::size_t to = texts.size();
    for (std::size_t k = from; k < to; ++k) {
      for (const auto& piece : pieces) texts.push_back(texts[k] + piece);
    }
    from = to;
  }
  return texts;
}

// ASCII runs, the characters that end them, and what may join or split a character there: a
// control, a combining mark, a prepended mark, a spacing mark, an ill-formed byte, the Kelvin sign.
const std::vector<std::string> kPieces = {"a",      "\"",     "\\",     "\r",     "\n",
                                          "\x01",   "\u0301", "\u0600", "\u0903", "\xFF",
                                          "\u00E9", "\u212A", "K"};

// Repetitions of a one-character rule skip ASCII runs in bulk; they must read exactly the
// characters that applying the rule one character at a time reads.
template <class P>
void expectBulkScanMatchesOneAtATime(const P& p, const char* what) {
  for (const std::string& text : allTexts(kPieces, 4)) {
    Input rest(text);
    std::size_t count = 0;
    while (auto r = p.parse(rest)) {
      rest = r->rest;
      ++count;
    }
    const std::string_view taken(text.data(), text.size() - rest.text.size());
    auto asText = zeroOrMore(p, CollectText{}).parse(Input(text));
    auto asCount = zeroOrMore(p, CollectCount{}).parse(Input(text));
    auto asView = matched(zeroOrMore(p, CollectCount{})).parse(Input(text));
    ASSERT_TRUE(asText && asCount && asView);
    EXPECT_EQ(asText->output, taken) << what << " on " << text;
    EXPECT_EQ(asText->rest, rest) << what << " on " << text;
    EXPECT_EQ(asCount->output, count) << what << " on " << text;
    EXPECT_EQ(asView->output, taken) << what << " on " << text;
  }
}

TEST(Characters, BulkScanReadsTheSameCharactersAsOneAtATime) {
  expectBulkScanMatchesOneAtATime(characterNotIn("\"\\"), "not quote or backslash");
  expectBulkScanMatchesOneAtATime(characterNotIn("\"\n\r\x01"), "not quote or a control");
  expectBulkScanMatchesOneAtATime(characterNotIn("\"K"), "not quote or K");
  expectBulkScanMatchesOneAtATime(characterIn(std::string_view(" \0\t\n\r\r\n", 7)), "whitespace");
  expectBulkScanMatchesOneAtATime(characterIn("a\r"), "a or CR");
  expectBulkScanMatchesOneAtATime(characterIn("aK"), "a or K");
  expectBulkScanMatchesOneAtATime(characterNotIn("\u212A"), "not the Kelvin sign");
  expectBulkScanMatchesOneAtATime(character("a"), "a");
}

TEST(Characters, CharacterNotInTakesEveryWellFormedCharacterOutsideItsSet) {
  auto plain = zeroOrMore(characterNotIn("\"\\"), CollectText{});
  EXPECT_EQ(run(plain, "ab\"\u0301c\"d"), "ab\"\u0301c|\"d");
  EXPECT_EQ(run(plain, "ab\\"), "ab|\\");
  EXPECT_EQ(run(plain, "a\r\nb\xC3"), "a\r\nb|\xC3");
  EXPECT_EQ(run(characterNotIn("K"), "\u212A"), "no match");
  EXPECT_EQ(run(characterNotIn("\r"), "\r\n"), "\r\n|");
}

TEST(Combinators, MatchedGivesTheConsumedInput) {
  EXPECT_EQ(run(matched(zeroOrMore(literal("ab"))), "ababc"), "abab|c");
  EXPECT_EQ(run(matched(optional(literal("x"))), "ab"), "|ab");
  EXPECT_EQ(run(matched(zip(literal("a"), literal("x"))), "ab"), "no match");
}

// Text gathered as `CollectText` does, or a view of the first piece when it stands alone.
struct CollectTextOrSingle : CollectText {
  std::string single(Text first) const { return "single:" + std::string(first); }
};

TEST(Combinators, RepeatedUntilReadsFirstThenPiecesUpToTheEnd) {
  auto digit = characterIn("0123456789");
  auto gathered = repeatedUntil(literal("ab"), digit, character(";"), CollectText{});
  EXPECT_EQ(run(gathered, "ab;x"), "ab|x");
  EXPECT_EQ(run(gathered, "ab12;x"), "ab12|x");
  EXPECT_EQ(run(gathered, "ab12x;"), "no match");  // neither a piece nor the end
  EXPECT_EQ(run(gathered, "ab12"), "no match");
  EXPECT_EQ(run(gathered, "a;"), "no match");
  // A collector that can take the first output alone does so only when the end follows it.
  auto single = repeatedUntil(literal("ab"), digit, character(";"), CollectTextOrSingle{});
  EXPECT_EQ(run(single, "ab;x"), "single:ab|x");
  EXPECT_EQ(run(single, "ab1;x"), "ab1|x");
  EXPECT_EQ(run(single, "ab"), "no match");
}

TEST(Combinators, ViewOrTextCopiesOnlyWhenThePiecesAreNotOneRun) {
  auto pieces =
      zeroOrMore(orElse(characterIn("ab"),
                        map(literal("\\n"), [](Text) { return std::optional<Text>("\n"); })),
                 CollectViewOrText{});
  const std::string plain = "abba!";
  auto r = pieces.parse(Input(plain));
  ASSERT_TRUE(r);
  EXPECT_FALSE(r->output.isOwned());
  EXPECT_EQ(r->output.text().data(), plain.data());
  EXPECT_EQ(r->output.text(), "abba");
  r = pieces.parse(Input("a\\nb!"));
  ASSERT_TRUE(r);
  EXPECT_TRUE(r->output.isOwned());
  EXPECT_EQ(r->output.text(), "a\nb");
}

// Dispatching on the first byte gives what trying every alternative in order gives, on every
// first byte and whatever follows it (a combining mark, CR LF, nothing).
TEST(Combinators, OneOfByFirstByteMatchesOneOf) {
  auto digits = matched(zeroOrMore(characterIn("0123456789"), CollectCount{}));
  auto number = matched(zip(optional(character("-")), map(digits, [](Text d) {
                              return d.empty() ? std::nullopt : std::optional<Text>(d);
                            })));
  auto ordered = oneOf(literal("null"), literal("nu"), number, character("K"), literal("\r\n"),
                       characterNotIn("n\"-0123456789"));
  auto dispatched =
      oneOfByFirstByte(startingWith("n", literal("null")), startingWith("n", literal("nu")),
                       startingWith("-0123456789", number), startingWith("K", character("K")),
                       startingWith("\r", literal("\r\n")),
                       startingWithNoneOf("n\"-0123456789", characterNotIn("n\"-0123456789")));
  std::vector<std::string> texts;
  for (int b = 0; b < 128; ++b) {
    for (std::string_view follow : {"", "ull", "1", "\u0301", "\n", "x"}) {
      texts.push_back(std::string(1, static_cast<char>(b)) + std::string(follow));
    }
  }
  for (std::string_view other : {"\u212A", "\u00E9", "\xFF", ""}) texts.emplace_back(other);
  for (const auto& text : texts) EXPECT_EQ(run(dispatched, text), run(ordered, text)) << text;
  EXPECT_EQ(run(dispatched, "nul"), "nu|l");
  EXPECT_EQ(run(dispatched, "\u212A!"), "\u212A|!");
}

TEST(Combinators, DeferredLetsARuleContainItself) {
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
  EXPECT_EQ(run(parens, "(()())()x"), "4|x");
  EXPECT_EQ(run(parens, "(()"), "0|(()");
}

// An error raised inside a parser passes through every combinator unchanged, and nothing after it
// runs: no later alternative, no further repetition.
TEST(Combinators, AnErrorPassesThroughEveryCombinatorAndStopsAllFurtherWork) {
  int runs = 0;
  auto x = literal("x");
  auto boom = thrower();
  auto same = [](Text t) { return std::optional<Text>(t); };
  EXPECT_THROW(run(zip(boom, counting(runs)), "x"), Boom);
  EXPECT_THROW(run(zip(x, boom), "x"), Boom);
  EXPECT_THROW(run(keepLeft(x, boom), "x"), Boom);
  EXPECT_THROW(run(keepRight(boom, counting(runs)), "x"), Boom);
  EXPECT_THROW(run(map(boom, same), "x"), Boom);
  EXPECT_THROW(run(flatMap(x, [&](Text) { return boom; }), "xx"), Boom);
  EXPECT_THROW(run(orElse(boom, counting(runs)), "x"), Boom);
  EXPECT_THROW(run(oneOf(boom, counting(runs)), "x"), Boom);
  EXPECT_THROW(run(oneOf(std::vector<Parser<Text>>{boom, counting(runs)}), "x"), Boom);
  EXPECT_THROW(run(optional(boom), "x"), Boom);
  // After some matches: the collected outputs go with the error.
  EXPECT_THROW(run(zeroOrMore(orElse(x, boom)), "xxy"), Boom);
  EXPECT_THROW(run(zeroOrMoreSeparated(orElse(x, boom), character(",")), "x,x,y"), Boom);
  EXPECT_THROW(run(zeroOrMoreSeparated(x, boom), "xx"), Boom);
  EXPECT_THROW(run(deferred([&]() -> const Parser<Text>& { return boom; }), "x"), Boom);
  EXPECT_THROW(run(nested(boom, 5), "x"), Boom);
  EXPECT_EQ(runs, 0);
}

// Programming errors stop the program with a message rather than hang.
TEST(CombinatorsDeathTest, ZeroOrMoreOfAParserThatConsumesNothingStops) {
  EXPECT_DEATH(run(zeroOrMore(optional(literal("a"))), "aab"),
               "zeroOrMore: the repeated parser matched without consuming input");
  EXPECT_DEATH(run(zeroOrMore(literal("")), ""), "without consuming input");
}

TEST(CombinatorsDeathTest, CharacterInOfAnEmptyTextStops) {
  EXPECT_DEATH((void)characterIn(""), "characterIn: the set of characters is empty");
  EXPECT_DEATH((void)characterNotIn(""), "characterNotIn: the set of characters is empty");
}

// The length textUntil takes of `text`, or -1 for no match.
int runLength(const TextUntil& p, std::string_view text) {
  auto r = p.parse(text);
  return r ? static_cast<int>(r->output.size()) : -1;
}

TEST(TextUntil, EndsAtTheFirstStopStandingAloneWhereverItLies) {
  const TextUntil quoteOrBackslash = textUntil("\"\\");
  const TextUntil three = textUntil("\"\\x");  // more stops than the fast scan takes
  for (std::size_t at = 0; at < 40; ++at) {
    for (std::string_view prefix : {"a", "\u00e9", "\u0600", "\U000110BD"}) {
      std::string text;
      while (text.size() < at) text += prefix;
      const auto expected = text.empty() ? -1 : static_cast<int>(text.size());
      EXPECT_EQ(runLength(quoteOrBackslash, text + "\"rest"), expected) << text;
      EXPECT_EQ(runLength(quoteOrBackslash, text + "\\rest"), expected) << text;
      EXPECT_EQ(runLength(three, text + "\\rest"), expected) << text;
      // Ill-formed text ends the run too.
      EXPECT_EQ(runLength(quoteOrBackslash, text + "\xFFrest"), expected) << text;
    }
  }
  // A stop with a combining mark after it is another character, part of the run.
  EXPECT_EQ(runLength(quoteOrBackslash, "ab\"\u0301cd\"e"), 7);
  EXPECT_EQ(runLength(quoteOrBackslash, "\\\u0301\""), 3);
  EXPECT_EQ(runLength(quoteOrBackslash, "plain to the end"), 16);
  EXPECT_EQ(runLength(quoteOrBackslash, ""), -1);
  // One stop: other bytes, NUL among them, are text.
  const std::string nul("a\0b\\c\0\"d", 8);
  EXPECT_EQ(runLength(textUntil("\""), nul), 6);
  EXPECT_EQ(runLength(textUntil("\""), std::string(20, '\0') + "\""), 20);
}

TEST(TextUntil, TheBulkByteScanFindsWhatOneByteAtATimeFinds) {
  // Every length around the scan's blocks of sixteen and eight bytes, every place of the byte
  // looked for, from every start; a byte above 0x7F counts only when asked for.
  const auto naive = [](std::string_view t, std::size_t pos, unsigned char a, unsigned char b,
                        bool nonAscii) {
    for (; pos < t.size(); ++pos) {
      const auto c = static_cast<unsigned char>(t[pos]);
      if (c == a || c == b || (nonAscii && c >= 0x80)) break;
    }
    return pos;
  };
  for (std::size_t size = 0; size <= 40; ++size) {
    for (std::size_t at = 0; at <= size; ++at) {
      for (const char put : {'"', '\\', '\xC3'}) {
        std::string text(size, 'x');
        if (at < size) text[at] = put;
        if (at + 3 < size) text[at + 3] = '"';
        for (std::size_t from = 0; from <= size; from += 3) {
          for (const bool nonAscii : {false, true}) {
            EXPECT_EQ(detail::firstOf(text, from, '"', '\\', nonAscii),
                      naive(text, from, '"', '\\', nonAscii))
                << size << " " << at << " " << from;
            EXPECT_EQ(detail::firstOf(text, from, '\\', '\\', nonAscii),
                      naive(text, from, '\\', '\\', nonAscii))
                << size << " " << at << " " << from;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace telvar::parse
