#include "telvar/parse/json_grammar.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/small_stack.h"
#include "support/stack_budget.h"
#include "support/value_print.h"

namespace telvar {
namespace {

// "value|rest", or "no match".
std::string parse(std::string_view text) {
  auto r = jsonValueParser().parse(text);
  return r ? describe(r->output) + "|" + std::string(r->rest.text) : "no match";
}

std::string nested(int depth, std::string_view open, std::string_view close,
                   std::string_view inner = "") {
  std::string s;
  for (int i = 0; i < depth; ++i) s += open;
  s += inner;
  for (int i = 0; i < depth; ++i) s += close;
  return s;
}

bool matches(std::string_view text) { return jsonValueParser().parse(text).has_value(); }

TEST(JsonGrammar, OneValueIsReadAndWhatFollowsIsHandedBackUnread) {
  EXPECT_EQ(parse(""), "no match");
  EXPECT_EQ(parse(" \t\r\n"), "no match");
  EXPECT_EQ(parse(" 1 "), "1|");
  EXPECT_EQ(parse("1 2"), "1|2");
  EXPECT_EQ(parse("{}}\xFF"), "{}|}\xFF");
  EXPECT_EQ(parse("nullx"), "null|x");
  EXPECT_EQ(parse("[nullx]"), "no match");
  EXPECT_EQ(parse("true false"), "true|false");
  EXPECT_EQ(parse("True"), "no match");
}

TEST(JsonGrammar, ContainersAndTheirCommas) {
  EXPECT_EQ(parse("{ }"), "{}|");
  EXPECT_EQ(parse("[ ]"), "[]|");
  EXPECT_EQ(parse("[1,]"), "[1]|");
  EXPECT_EQ(parse("[,]"), "[]|");
  EXPECT_EQ(parse("[ 1 , \"a\" , ]"), "[1, \"a\"]|");
  for (std::string_view bad : {"[1,,]", "[,1]", "[,,]", "{\"a\":1,}", "{,}", "[1 2]", "{\"a\" 1}",
                               "{a:1}", "{1:1}", "[1", "{\"a\":1", "{\"a\"}"}) {
    EXPECT_EQ(parse(bad), "no match") << bad;
  }
}

TEST(JsonGrammar, ObjectsKeepTheFirstOfDuplicateKeysInInputOrder) {
  EXPECT_EQ(parse(R"({"a":1,"a":2})"), R"({"a": 1}|)");
  EXPECT_EQ(parse(R"({"b":1,"a":2,"b":[3]})"), R"({"b": 1, "a": 2}|)");
  // Keys that differ only in normalisation are one key; the first spelling is kept.
  EXPECT_EQ(parse("{\"\u00E9\":1,\"e\u0301\":2}"), "{\"\u00E9\": 1}|");
  // A later duplicate must still be valid.
  EXPECT_EQ(parse(R"({"a":1,"a":[})"), "no match");
}

TEST(JsonGrammar, LongKeysRepeatedAcrossRecordsKeepTheirOwnBytes) {
  // Records repeat their keys, and long keys share their text: keys that look alike at the end
  // (same length, same last bytes), keys past the shared length, and keys around the in-place
  // limit must each read as written (an escaped one too), also after an earlier tree with the
  // same keys is gone.
  const std::string veryLong(70, 'q');
  const std::vector<std::string> keys = {"x_created",  "y_created", "created",         "created_",
                                         "created_at", veryLong,    "\\u00e9_created", "k"};
  auto document = [&](int records) {
    std::string text = "[";
    std::vector<std::string> expected;
    for (int r = 0; r < records; ++r) {
      text += r ? ",{" : "{";
      std::string line = "{";
      for (std::size_t k = 0; k < keys.size(); ++k) {
        const std::string& key = keys[(k + static_cast<std::size_t>(r)) % keys.size()];
        text += (k ? ",\"" : "\"") + key + "\":" + std::to_string(r);
        const std::string shown = key == keys[6] ? "\u00e9_created" : key;
        line += (k ? ", \"" : "\"") + shown + "\": " + std::to_string(r);
      }
      text += "}";
      expected.push_back(line + "}");
    }
    return std::make_pair(text + "]", expected);
  };
  for (int round = 0; round < 2; ++round) {
    const auto [text, expected] = document(20 + round);
    const auto r = jsonValueParser().parse(text);
    ASSERT_TRUE(r);
    const auto& records = r->output.arrayValue().values;
    ASSERT_EQ(records.size(), expected.size());
    for (std::size_t i = 0; i < records.size(); ++i) EXPECT_EQ(describe(records[i]), expected[i]);
  }
}

TEST(JsonGrammar, NumbersStopWhereTheGrammarStops) {
  EXPECT_EQ(parse("01"), "0|1");
  EXPECT_EQ(parse("[01]"), "no match");
  EXPECT_EQ(parse("1."), "1|.");
  EXPECT_EQ(parse("1.e5"), "1|.e5");
  EXPECT_EQ(parse("2e+"), "2|e+");
  for (std::string_view bad : {".5", "+1", "-", "- 1", "[1\u0301]", "-\u0301"}) {
    EXPECT_EQ(parse(bad), "no match") << bad;
  }
  // A mark joined to a number's last character makes it another character: the number ends
  // before it, wherever that falls.
  EXPECT_EQ(parse("12\u0301"), "1|2\u0301");
  EXPECT_EQ(parse("1.5\u0301"), "1|.5\u0301");
  EXPECT_EQ(parse("1.25\u0301 "), "double(1.2)|5\u0301 ");
  EXPECT_EQ(parse("1e5\u0301"), "1|e5\u0301");
  EXPECT_EQ(parse("2e15\u0301"), "double(20)|5\u0301");
  EXPECT_EQ(parse("7\u00E9"), "7|\u00E9");
}

TEST(JsonGrammar, IntegersWithinSixtyFourBitsStayIntegersAndTheRestAreDoubles) {
  EXPECT_EQ(parse("10"), "10|");
  EXPECT_EQ(parse("-0"), "0|");
  EXPECT_EQ(parse("1e5"), "double(1e+05)|");
  EXPECT_EQ(parse("1E+2"), "double(100)|");
  EXPECT_EQ(parse("2.5e-1"), "double(0.25)|");
  EXPECT_EQ(parse("1.0"), "double(1)|");
  EXPECT_EQ(parse("-0.0"), "double(-0)|");
  EXPECT_EQ(parse("0.1"), "double(0.1)|");
  EXPECT_EQ(parse("9223372036854775807"), "9223372036854775807|");
  EXPECT_EQ(parse("-9223372036854775808"), "-9223372036854775808|");
  EXPECT_EQ(parse("9223372036854775808"), "double(9223372036854775808)|");
  EXPECT_EQ(parse("-9223372036854775809"), "double(-9223372036854775808)|");
  EXPECT_EQ(parse("4.9e-324"), "double(5e-324)|");
}

// Short numbers are converted by exact arithmetic, the rest by from_chars: at the edges of the
// short way (2^53, 10^22, 18 and 19 digits, many fraction digits) both give the same double.
TEST(JsonGrammar, DoublesAreCorrectlyRoundedOnEitherSideOfTheShortWay) {
  for (std::string_view text :
       {"9007199254740992.5", "9007199254740993.0", "900719925474099.3", "4503599627370497.5",
        "1e22", "1e23", "1.5e-22", "3e-23", "123456789012345678.0", "1234567890123456789e-3",
        "0.30000000000000004", "0.1000000000000000055511151231257827", "2.2250738585072014e-308",
        "-17.25e+1", "7e0", "0.000001e28", "-123.456e-7"}) {
    const auto r = jsonValueParser().parse(text);
    ASSERT_TRUE(r && r->rest.text.empty() && r->output.numberValue().isDouble()) << text;
    double expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(r->output.numberValue().doubleValue()),
              std::bit_cast<std::uint64_t>(expected))
        << text;
  }
  EXPECT_EQ(parse("123456789012345678"), "123456789012345678|");
  EXPECT_EQ(parse("-999999999999999999"), "-999999999999999999|");
}

TEST(JsonGrammar, OutOfRangeDoublesBecomeSignedInfinityOrZero) {
  EXPECT_EQ(parse("1e999"), "double(inf)|");
  EXPECT_EQ(parse("-1e999"), "double(-inf)|");
  EXPECT_EQ(parse("10e308"), "double(inf)|");
  EXPECT_EQ(parse("0.00001e309"), "double(1e+304)|");
  EXPECT_EQ(parse("123456789e99999999999999999999"), "double(inf)|");
  EXPECT_EQ(parse("1e-999"), "double(0)|");
  EXPECT_EQ(parse("-1000e-330"), "double(-0)|");
  EXPECT_EQ(parse("0e99999"), "double(0)|");
  EXPECT_EQ(parse("-0.000e-99999"), "double(-0)|");
  EXPECT_EQ(parse("1E999"), "double(inf)|");
  EXPECT_EQ(parse("-1E-999"), "double(-0)|");
  // A fraction as long as the largest exponent kept must not cancel a larger one out.
  const std::string zeros(99999, '0');
  EXPECT_EQ(parse("0." + zeros + "1e100400"), "double(inf)|");
  EXPECT_EQ(parse("0." + zeros + "1e100005"), "double(1e+05)|");
}

TEST(JsonGrammar, StringEscapes) {
  EXPECT_EQ(parse(R"("\"\\\/\n\r\t")"), "\"\"\\/\n\r\t\"|");
  EXPECT_EQ(parse(R"("\u0041\u00e9\u00E9")"), "\"A\u00E9\u00E9\"|");
  EXPECT_EQ(parse(R"("\u0000")"), std::string("\"\0\"|", 4));
  // Runs of plain characters, non-ASCII ones and escapes, in any order.
  EXPECT_EQ(parse("[\"caf\u00E9\\n\u65E5\\u0041x\", \"\\t\"]"),
            "[\"caf\u00E9\n\u65E5Ax\", \"\t\"]|");
  // Surrogates are not combined: each escape reads as one underscore.
  EXPECT_EQ(parse(R"("\uD83D\uDE00")"), "\"__\"|");
  EXPECT_EQ(parse(R"("\ud800x\uDFFF\uE000")"), "\"_x_\uE000\"|");
  for (std::string_view bad : {R"("\b")", R"("\f")", R"("\x")", R"("\u00")", R"("\u00G0")",
                               R"("\U0041")", R"("abc)", "\"\\"}) {
    EXPECT_EQ(parse(bad), "no match") << bad;
  }
}

TEST(JsonGrammar, AStringReadsOnFromItsFirstRunOfPlainCharacters) {
  // Longer than the eight bytes that plain text is scanned by at a time, and not all ASCII.
  const std::string run = "abcdefgh ijklmnop \u00E9t\u00E9 qrstuvwx";
  const std::string q = "\"";
  EXPECT_EQ(parse(q + run + q + " x"), q + run + q + "|x");
  EXPECT_EQ(parse(q + run + R"(\n")"), q + run + "\n" + q + "|");
  EXPECT_EQ(parse(q + run + R"(\t)" + run + R"(\u0041\"" x)"), q + run + "\t" + run + "A\"\"|x");
  EXPECT_EQ(parse(q + R"(\\)" + run + q), q + "\\" + run + q + "|");
  EXPECT_EQ(parse("{" + q + run + R"(\/":")" + run + q + "}"),
            "{" + q + run + "/" + q + ": " + q + run + q + "}|");
  EXPECT_EQ(parse(R"(["", ")" + run + R"(\ud800"])"), R"(["", ")" + run + R"(_"]|)");
  // Malformed after a long run: a bad or cut escape, no closing mark, ill-formed UTF-8.
  for (const std::string& bad :
       {q + run + R"(\x")", q + run + R"(\u00")", q + run + R"(\u00e)", q + run, q + run + "\\",
        q + run + R"(\n)" + run, q + run + "\xC3\"", q + run + "\\n\xFF\"",
        "[" + q + run + R"(\n")", "{" + q + run + R"(\q":1})"}) {
    EXPECT_EQ(parse(bad), "no match") << bad;
  }
}

TEST(JsonGrammar, StringsKeepRawControlCharactersAndAreReadInWholeCharacters) {
  EXPECT_EQ(parse("\"a\tb\nc\r\nd\""), "\"a\tb\nc\r\nd\"|");
  EXPECT_EQ(parse(std::string_view("\"\0\x01\"", 4)), std::string_view("\"\0\x01\"|", 5));
  // A quotation mark followed by a combining mark is one plain character, not the end.
  EXPECT_EQ(parse("\"a\"\u0301\""), "\"a\"\u0301\"|");
  EXPECT_EQ(parse("\"a\"\u0301"), "no match");
  // So is a backslash with a combining mark: no escape begins there.
  EXPECT_EQ(parse("\"\\\u0301\""), "\"\\\u0301\"|");
  // An escape letter or opening quote with a combining mark is not one.
  EXPECT_EQ(parse("\"\\n\u0301\""), "no match");
  EXPECT_EQ(parse("\"\\u004\u0301\""), "no match");
  EXPECT_EQ(parse("\"\u0301a\""), "no match");
}

TEST(JsonGrammar, AMarkPrependedToAQuoteOrABackslashLeavesThemWhatTheyAre) {
  // U+0600-U+0605, U+06DD, U+070F, U+0890, U+08E2 and U+110BD are prepended to whatever follows
  // them; in a string the quotation mark and the backslash still begin characters of their own.
  for (std::string_view mark : {"\u0600", "\u0605", "\u06DD", "\u070F", "\u0890", "\u0891",
                                "\u08E2", "\U000110BD", "\U000110CD"}) {
    const std::string m(mark);
    SCOPED_TRACE(m);
    EXPECT_EQ(parse("[\"" + m + "\\u0301\"]"), "[\"" + m + "\u0301\"]|");
    EXPECT_EQ(parse("{\"a\":\"" + m + "\\\\ud800\"}"), "{\"a\": \"" + m + "\\ud800\"}|");
    EXPECT_EQ(parse("\"" + m + "\" x"), "\"" + m + "\"|x");
    EXPECT_EQ(parse("[\"" + m + "\",\"" + m + "\\n\"]"), "[\"" + m + "\", \"" + m + "\n\"]|");
    EXPECT_EQ(parse("{\"" + m + "\":1}"), "{\"" + m + "\": 1}|");
  }
}

TEST(JsonGrammar, WhitespaceIsSpaceNulTabLineFeedAndCarriageReturnOnly) {
  EXPECT_EQ(parse(std::string_view("\0 \t\r\n\n\r[\0 1\r\n,\r2\0]\0", 19)), "[1, 2]|");
  EXPECT_EQ(parse("1\f"), "1|\f");
  for (std::string_view bad : {"\f1", "\v1", "\xEF\xBB\xBF{}", "\u00A01", " \u0301 1"}) {
    EXPECT_EQ(parse(bad), "no match") << bad;
  }
}

TEST(JsonGrammar, InvalidUtf8InsideTheValueIsNoMatch) {
  for (std::string_view bad :
       {"\"\xFF\"", "[\"a\xC3\"]", "\"\xC0\xAF\"", "\"\xED\xA0\x80\"", "\"\xF4\x90\x80\x80\"",
        "{\"k\xFE\":1}", "[1,\x80]", "\"a\u0301\xFF\""}) {
    EXPECT_EQ(parse(bad), "no match") << bad;
  }
}

// On a small stack, so that a grammar whose frames grow fails here rather than in use.
TEST(JsonGrammar, NestingUpTo512LevelsIsAcceptedAndDeeperIsNoMatch) {
  ASSERT_TRUE(testing::runOnSmallStack(testing::stackBudget(1024 * 1024), [] {
    EXPECT_TRUE(matches(nested(512, "[", "]")));
    EXPECT_FALSE(matches(nested(513, "[", "]")));
    EXPECT_TRUE(matches(nested(511, "{\"a\":", "}", "{}")));
    EXPECT_FALSE(matches(nested(512, "{\"a\":", "}", "{}")));
    EXPECT_TRUE(matches(nested(256, "[{\"k\":", "}]", "0")));
    EXPECT_FALSE(matches(nested(256, "[{\"k\":", "}]", "[]")));
    // Depth is counted per path, not per document: siblings at the deepest level are fine.
    EXPECT_TRUE(matches(nested(511, "[", "]", "[],[],{}")));
    EXPECT_TRUE(matches(nested(510, "[", "]", "[[]],{\"a\":[]},[1]")));
    EXPECT_FALSE(matches(nested(511, "[", "]", "[],[[]]")));
    // Far deeper input is no match without exhausting the stack.
    EXPECT_FALSE(matches(nested(100000, "[", "]")));
    EXPECT_FALSE(matches(std::string(100000, '{')));
  }));
}

}  // namespace
}  // namespace telvar
