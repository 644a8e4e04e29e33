#include "telvar/parse/json_grammar.h"

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/value_print.h"

namespace telvar {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Parsed {
  Value value;
  std::string rest;
};

std::optional<Parsed> parseJson(std::string_view text) {
  auto r = jsonValueParser().parse(text);
  if (!r) return std::nullopt;
  return Parsed{std::move(r->output), std::string(r->rest.text)};
}

// The value of a text that must parse completely.
Value valueOf(std::string_view text) {
  auto r = parseJson(text);
  EXPECT_TRUE(r) << "no match: " << text;
  if (!r) return Value::empty();
  EXPECT_EQ(r->rest, "") << text;
  return r->value;
}

Value integer(std::int64_t i) { return Value::number(Value::Number::int_(i)); }
Value real(double d) { return Value::number(Value::Number::double_(d)); }

std::string stringOf(std::string_view text) {
  Value v = valueOf(text);
  return v.is(Value::Kind::string) ? v.stringValue() : "<not a string>";
}

std::string nested(int depth, std::string_view open, std::string_view close,
                   std::string_view inner = "") {
  std::string s;
  for (int i = 0; i < depth; ++i) s += open;
  s += inner;
  for (int i = 0; i < depth; ++i) s += close;
  return s;
}

TEST(JsonGrammar, EmptyOrBlankInputIsNoMatch) {
  EXPECT_FALSE(parseJson(""));
  EXPECT_FALSE(parseJson(" \t\r\n"));
  EXPECT_FALSE(parseJson(std::string_view("\0\0", 2)));
}

TEST(JsonGrammar, TextAfterTheFirstValueIsHandedBackUnread) {
  auto r = parseJson(" 1 ");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->value, integer(1));
  EXPECT_EQ(r->rest, "");
  auto two = parseJson("1 2");
  ASSERT_TRUE(two);
  EXPECT_EQ(two->value, integer(1));
  EXPECT_EQ(two->rest, "2");
  auto garbage = parseJson("{}}\xFF");
  ASSERT_TRUE(garbage);
  EXPECT_EQ(garbage->rest, "}\xFF");
  auto nullx = parseJson("nullx");
  ASSERT_TRUE(nullx);
  EXPECT_EQ(nullx->value, Value::null());
  EXPECT_EQ(nullx->rest, "x");
  EXPECT_FALSE(parseJson("[nullx]"));
}

TEST(JsonGrammar, LiteralsAndEmptyContainers) {
  EXPECT_EQ(valueOf("true"), Value::bool_(true));
  EXPECT_EQ(valueOf("false"), Value::bool_(false));
  EXPECT_EQ(valueOf("null"), Value::null());
  for (const char* text : {"{}", "{ }", "{\r\n}"}) {
    Value v = valueOf(text);
    ASSERT_TRUE(v.is(Value::Kind::object)) << text;
    EXPECT_THAT(v.objectValue().orderedKeys, IsEmpty());
    EXPECT_TRUE(v.objectValue().dictionary.empty());
  }
  for (const char* text : {"[]", "[ ]", "[,]", "[ , ]"}) {
    Value v = valueOf(text);
    ASSERT_TRUE(v.is(Value::Kind::array)) << text;
    EXPECT_THAT(v.arrayValue().values, IsEmpty()) << text;
  }
  EXPECT_FALSE(parseJson("True"));
  EXPECT_FALSE(parseJson("nul"));
}

TEST(JsonGrammar, OneTrailingCommaInArraysButNoneInObjects) {
  EXPECT_EQ(valueOf("[1,]"), Value::array({}, {integer(1)}));
  EXPECT_EQ(valueOf("[1 , 2 , ]"), Value::array({}, {integer(1), integer(2)}));
  EXPECT_FALSE(parseJson("[1,,]"));
  EXPECT_FALSE(parseJson("[,1]"));
  EXPECT_FALSE(parseJson("[,,]"));
  EXPECT_FALSE(parseJson("{\"a\":1,}"));
  EXPECT_FALSE(parseJson("{,}"));
  EXPECT_FALSE(parseJson("[1 2]"));
  EXPECT_FALSE(parseJson("{\"a\" 1}"));
  EXPECT_FALSE(parseJson("{a:1}"));
  EXPECT_FALSE(parseJson("[1"));
  EXPECT_FALSE(parseJson("{\"a\":1"));
}

TEST(JsonGrammar, ObjectsKeepTheFirstOfDuplicateKeysAndTheirInputOrder) {
  Value dup = valueOf(R"({"a":1,"a":2})");
  EXPECT_THAT(dup.objectValue().orderedKeys, ElementsAre("a"));
  EXPECT_EQ(*dup.objectValue().dictionary.find("a"), integer(1));

  Value order = valueOf(R"({"b":1,"a":2,"b":[3]})");
  EXPECT_THAT(order.objectValue().orderedKeys, ElementsAre("b", "a"));
  EXPECT_EQ(*order.objectValue().dictionary.find("b"), integer(1));
  EXPECT_TRUE(order.objectValue().names.empty());

  // Keys that differ only in normalisation are one key; the first spelling is kept.
  Value equivalent = valueOf("{\"\u00E9\":1,\"e\u0301\":2}");
  EXPECT_THAT(equivalent.objectValue().orderedKeys, ElementsAre("\u00E9"));
  EXPECT_EQ(*equivalent.objectValue().dictionary.find("e\u0301"), integer(1));

  // A later duplicate must still be valid JSON.
  EXPECT_FALSE(parseJson(R"({"a":1,"a":[})"));
}

TEST(JsonGrammar, NumbersStopWhereTheGrammarStops) {
  auto leadingZero = parseJson("01");
  ASSERT_TRUE(leadingZero);
  EXPECT_EQ(leadingZero->value, integer(0));
  EXPECT_EQ(leadingZero->rest, "1");
  EXPECT_FALSE(parseJson("[01]"));

  auto point = parseJson("1.");
  ASSERT_TRUE(point);
  EXPECT_EQ(point->value, integer(1));
  EXPECT_EQ(point->rest, ".");
  auto pointExponent = parseJson("1.e5");
  ASSERT_TRUE(pointExponent);
  EXPECT_EQ(pointExponent->value, integer(1));
  EXPECT_EQ(pointExponent->rest, ".e5");
  auto bareExponent = parseJson("2e+");
  ASSERT_TRUE(bareExponent);
  EXPECT_EQ(bareExponent->value, integer(2));
  EXPECT_EQ(bareExponent->rest, "e+");

  EXPECT_FALSE(parseJson(".5"));
  EXPECT_FALSE(parseJson("+1"));
  EXPECT_FALSE(parseJson("-"));
  EXPECT_FALSE(parseJson("- 1"));
  EXPECT_FALSE(parseJson("[1\u0301]"));  // a digit with a combining mark is no digit
}

TEST(JsonGrammar, IntegersStayIntegersWithinSixtyFourBitsAndEverythingElseIsADouble) {
  EXPECT_EQ(valueOf("10"), integer(10));
  EXPECT_EQ(valueOf("1e5"), real(100000));
  EXPECT_EQ(valueOf("1E+2"), real(100));
  EXPECT_EQ(valueOf("2.5e-1"), real(0.25));
  EXPECT_EQ(valueOf("1.0"), real(1));
  EXPECT_EQ(valueOf("-0"), integer(0));
  Value negativeZero = valueOf("-0.0");
  ASSERT_TRUE(negativeZero.numberValue().isDouble());
  EXPECT_TRUE(std::signbit(negativeZero.numberValue().doubleValue()));

  EXPECT_EQ(valueOf("9223372036854775807"), integer(std::numeric_limits<std::int64_t>::max()));
  EXPECT_EQ(valueOf("-9223372036854775808"), integer(std::numeric_limits<std::int64_t>::min()));
  EXPECT_EQ(valueOf("9223372036854775808"), real(9223372036854775808.0));
  EXPECT_EQ(valueOf("-9223372036854775809"), real(-9223372036854775808.0));
  EXPECT_EQ(valueOf("0.1"), real(0.1));  // correctly rounded
  EXPECT_EQ(valueOf("4.9e-324"), real(std::numeric_limits<double>::denorm_min()));
}

TEST(JsonGrammar, OutOfRangeDoublesBecomeSignedInfinityOrZero) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(valueOf("1e999"), real(inf));
  EXPECT_EQ(valueOf("-1e999"), real(-inf));
  EXPECT_EQ(valueOf("10e308"), real(inf));
  EXPECT_EQ(valueOf("0.00001e309"), real(1e304));
  EXPECT_EQ(valueOf("123456789e99999999999999999999"), real(inf));
  Value tiny = valueOf("1e-999");
  EXPECT_EQ(tiny, real(0));
  EXPECT_FALSE(std::signbit(tiny.numberValue().doubleValue()));
  Value negativeTiny = valueOf("-1000e-330");
  EXPECT_EQ(negativeTiny, real(0));
  EXPECT_TRUE(std::signbit(negativeTiny.numberValue().doubleValue()));
  EXPECT_EQ(valueOf("0e99999"), real(0));
  EXPECT_EQ(valueOf("0.000e-99999"), real(0));
}

TEST(JsonGrammar, StringEscapes) {
  EXPECT_EQ(stringOf(R"("\"\\\/\n\r\t")"), "\"\\/\n\r\t");
  EXPECT_EQ(stringOf(R"("\u0041")"), "A");
  EXPECT_EQ(stringOf(R"("\u00e9\u00E9")"), "\u00E9\u00E9");
  EXPECT_EQ(stringOf(R"("\u0000")"), std::string(1, '\0'));
  // Surrogates are not combined: each escape reads as one underscore.
  EXPECT_EQ(stringOf(R"("\uD83D\uDE00")"), "__");
  EXPECT_EQ(stringOf(R"("\ud800x")"), "_x");
  EXPECT_EQ(stringOf(R"("\uDFFF")"), "_");
  EXPECT_EQ(stringOf(R"("\uE000")"), "\uE000");

  EXPECT_FALSE(parseJson(R"("\b")"));
  EXPECT_FALSE(parseJson(R"("\f")"));
  EXPECT_FALSE(parseJson(R"("\x")"));
  EXPECT_FALSE(parseJson(R"("\u00")"));
  EXPECT_FALSE(parseJson(R"("\u00G0")"));
  EXPECT_FALSE(parseJson(R"("\U0041")"));
  EXPECT_FALSE(parseJson(R"("abc)"));
  EXPECT_FALSE(parseJson("\"\\"));
}

TEST(JsonGrammar, RawControlCharactersAndLineBreaksAreKeptInStrings) {
  EXPECT_EQ(stringOf("\"a\tb\nc\""), "a\tb\nc");
  EXPECT_EQ(stringOf(std::string_view("\"\0\x01\"", 4)), std::string_view("\0\x01", 2));
  EXPECT_EQ(stringOf("\"a\r\nb\""), "a\r\nb");
}

TEST(JsonGrammar, StringsAreReadInWholeCharacters) {
  // A quotation mark followed by a combining mark is one plain character, not the end.
  EXPECT_EQ(stringOf("\"a\"\u0301\""), "a\"\u0301");
  EXPECT_FALSE(parseJson("\"a\"\u0301"));
  // So is a backslash with a combining mark: no escape begins there.
  EXPECT_EQ(stringOf("\"\\\u0301\""), "\\\u0301");
  // An escape letter with a combining mark is not that escape.
  EXPECT_FALSE(parseJson("\"\\n\u0301\""));
  EXPECT_FALSE(parseJson("\"\\u004\u0301\""));
  // An opening quotation mark with a combining mark opens nothing.
  EXPECT_FALSE(parseJson("\"\u0301a\""));
  EXPECT_EQ(stringOf("\"e\u0301\U0001F44D\U0001F3FD\""), "e\u0301\U0001F44D\U0001F3FD");
}

TEST(JsonGrammar, WhitespaceIsSpaceNulTabLineFeedAndCarriageReturnOnly) {
  EXPECT_EQ(valueOf(std::string_view("\0 \t\r\n\n\r[\0 1\r\n,\r2\0]\0", 19)),
            Value::array({}, {integer(1), integer(2)}));
  EXPECT_FALSE(parseJson("\f1"));
  EXPECT_FALSE(parseJson("\v1"));
  EXPECT_FALSE(parseJson("\xEF\xBB\xBF{}"));  // byte-order mark
  EXPECT_FALSE(parseJson("\u00A01"));         // no-break space
  EXPECT_FALSE(parseJson(" \u0301 1"));       // a space with a combining mark is no space
  auto formFeedAfter = parseJson("1\f");
  ASSERT_TRUE(formFeedAfter);
  EXPECT_EQ(formFeedAfter->rest, "\f");
}

TEST(JsonGrammar, InvalidUtf8InsideTheValueIsNoMatch) {
  EXPECT_FALSE(parseJson("\"\xFF\""));
  EXPECT_FALSE(parseJson("[\"a\xC3\"]"));           // truncated sequence
  EXPECT_FALSE(parseJson("\"\xC0\xAF\""));          // overlong "/"
  EXPECT_FALSE(parseJson("\"\xED\xA0\x80\""));      // encoded surrogate
  EXPECT_FALSE(parseJson("\"\xF4\x90\x80\x80\""));  // beyond U+10FFFF
  EXPECT_FALSE(parseJson("{\"k\xFE\":1}"));
  EXPECT_FALSE(parseJson("[1,\x80]"));
  EXPECT_FALSE(parseJson("\"a\u0301\xFF\""));
}

TEST(JsonGrammar, NestingUpTo512LevelsIsAcceptedAndDeeperIsNoMatch) {
  Value arrays = valueOf(nested(512, "[", "]"));
  int depth = 0;
  for (const Value* v = &arrays; v->is(Value::Kind::array) && !v->arrayValue().values.empty();
       v = &v->arrayValue().values[0]) {
    ++depth;
  }
  EXPECT_EQ(depth, 511);  // the innermost array is empty
  EXPECT_FALSE(parseJson(nested(513, "[", "]")));

  EXPECT_TRUE(parseJson(nested(511, "{\"a\":", "}", "{}")));
  EXPECT_FALSE(parseJson(nested(512, "{\"a\":", "}", "{}")));
  EXPECT_TRUE(parseJson(nested(511, "{\"a\":", "}", "[]")));
  EXPECT_FALSE(parseJson(nested(512, "{\"a\":", "}", "[]")));
  EXPECT_TRUE(parseJson(nested(256, "[{\"k\":", "}]", "0")));
  EXPECT_FALSE(parseJson(nested(256, "[{\"k\":", "}]", "[]")));

  // Depth is counted per path, not per document: siblings at the deepest level are fine.
  EXPECT_TRUE(parseJson(nested(511, "[", "]", "[],[],{}")));
  EXPECT_TRUE(parseJson(nested(510, "[", "]", "[[]],{\"a\":[]},[1]")));
  EXPECT_FALSE(parseJson(nested(511, "[", "]", "[],[[]]")));
  // Far deeper input is no match without exhausting the stack.
  EXPECT_FALSE(parseJson(nested(100000, "[", "]")));
  EXPECT_FALSE(parseJson(std::string(100000, '[')));
}

}  // namespace
}  // namespace telvar
