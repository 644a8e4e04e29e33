#include "telvar/value/printer.h"

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <random>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/value_print.h"
#include "telvar/coding/decoding_error.h"
#include "telvar/parse/json_grammar.h"
#include "telvar/value/indentation.h"

namespace telvar {
namespace {

using ::testing::HasSubstr;

std::string format(std::string_view text, Indentation indentation = Indentation::default_()) {
  return Formatter::format(text, indentation);
}

Value parsed(std::string_view text) {
  auto r = Formatter::parse(text);
  EXPECT_TRUE(r) << text;
  return r ? r->first : Value::empty();
}

// The "Format" guarantee: a changed text parses to the value the original parses to.
void expectFaithful(std::string_view original, const Indentation& indentation) {
  std::string formatted = Formatter::format(original, indentation);
  EXPECT_EQ(Formatter::format(formatted, indentation), formatted)
      << "not idempotent for: " << original;
  if (formatted == original) return;
  auto before = Formatter::parse(original);
  auto after = Formatter::parse(formatted);
  ASSERT_TRUE(before) << "formatted a text that does not parse: " << original;
  ASSERT_TRUE(after) << "formatted text does not parse: " << formatted;
  EXPECT_EQ(after->first, before->first)
      << "original: " << original << "\nformatted: " << formatted;
  EXPECT_EQ(after->second, "") << formatted;
}

TEST(Format, PrintsTheLayoutOfTheExample) {
  EXPECT_EQ(format(R"({"a":1,"b":[true,{}]})"),
            "{\n"
            "  \"a\": 1,\n"
            "  \"b\": [\n"
            "    true,\n"
            "    {\n"
            "\n"
            "    }\n"
            "  ]\n"
            "}");
  EXPECT_EQ(format(R"({"a":1})"), "{\n  \"a\": 1\n}");
  EXPECT_EQ(format("[null,false,\"x\"]", {0, "\t"}), "[\n\tnull,\n\tfalse,\n\t\"x\"\n]");
}

TEST(Format, EmptyContainersHaveAnEmptyLineAndTheClosingPadOfTheirLevel) {
  EXPECT_EQ(format("[]"), "[\n\n]");
  EXPECT_EQ(format("{ }", {0, "    "}), "{\n\n}");
  EXPECT_EQ(format("[]", {1, "  "}), "[\n\n  ]");
  EXPECT_EQ(format(R"({"a":[]})"), "{\n  \"a\": [\n\n  ]\n}");
  EXPECT_EQ(format("[[1]]", {2, "-"}), "[[1]]");  // a unit that is not whitespace: unchanged
  EXPECT_EQ(format("[[1]]", {2, " "}), "[\n   [\n    1\n   ]\n  ]");
  EXPECT_EQ(format("[[1]]", {0, ""}), "[\n[\n1\n]\n]");
}

TEST(Format, TextThatDoesNotParseComesBackUnchanged) {
  for (std::string_view text : {"", "   ", "[1,,]", "{\"a\":1,}", "\"\\b\"", "nul", "\xFF",
                                "\xEF\xBB\xBF{}", "[\"a\xC3\"]"}) {
    EXPECT_EQ(format(text), text);
  }
}

TEST(Format, DropsWhatFollowsTheFirstValue) {
  EXPECT_EQ(format("{}}"), "{\n\n}");
  EXPECT_EQ(format("1 2"), "1");
  EXPECT_EQ(format(std::string_view("\r\n true \0garbage\xFF", 17)), "true");
}

TEST(Format, NumbersKeepTheirKind) {
  EXPECT_EQ(format("1.0"), "1.0");
  EXPECT_EQ(format("1"), "1");
  EXPECT_EQ(format("-0"), "0");
  EXPECT_EQ(format("-0.0"), "-0.0");
  EXPECT_EQ(format("1e5"), "100000.0");
  EXPECT_EQ(format("1E-5"), "1e-05");
  EXPECT_EQ(format("-9223372036854775808"), "-9223372036854775808");
  EXPECT_EQ(format("9223372036854775808"), "9.223372036854776e+18");
  EXPECT_EQ(format("1e-999"), "0.0");
}

TEST(Format, StringsEscapeBackslashQuoteAndLineBreaksOnly) {
  EXPECT_EQ(format(R"(["a\\b\"c\nd\re\tf\/g"])"), "[\n  \"a\\\\b\\\"c\\nd\\re\\tf/g\"\n]");
  EXPECT_EQ(format("[\"\x01\xC3\xA9\u2028\"]"), "[\n  \"\x01\xC3\xA9\u2028\"\n]");
  EXPECT_EQ(format(std::string_view("\"\0\"", 3)), std::string_view("\"\0\"", 3));
  EXPECT_EQ(format("\"a\r\nb\""), "\"a\\r\\nb\"");
  EXPECT_EQ(format(R"({"say \"hi\"":1})"), "{\n  \"say \\\"hi\\\"\": 1\n}");
}

// Format must never corrupt the input: what the grammar cannot read back the same way comes back
// unchanged, and characters that would merge with a quote or an escape are written as \uXXXX.
TEST(FormatFaithfulness, LossyParsesComeBackUnchanged) {
  for (std::string_view text :
       {R"(["\uD83D\uDE00"])", R"({"k\udfff":1})", R"([1e999])", R"({"a":-1e400})",
        "[\"\n\U0001F3FB\"]"}) {  // an emoji modifier after an escape has no \u form
    EXPECT_EQ(format(text), text);
  }
}

TEST(FormatFaithfulness, MarksThatWouldJoinAQuoteOrAnEscapeAreEscaped) {
  EXPECT_EQ(format(R"(["\u0301a"])"), "[\n  \"\\u0301a\"\n]");
  EXPECT_EQ(format("[\"\n\u0301\"]"), "[\n  \"\\n\\u0301\"\n]");
  EXPECT_EQ(format(R"(["\u0022\u0301"])"), "[\n  \"\\\"\\u0301\"\n]");
  EXPECT_EQ(format(R"(["a\u0600"])"), "[\n  \"a\\u0600\"\n]");  // joins the closing quote
  EXPECT_EQ(format(R"(["\u0600\\"])"), "[\n  \"\\u0600\\\\\"\n]");
  EXPECT_EQ(format(R"({"\u200Dk":"\u0903"})"), "{\n  \"\\u200Dk\": \"\\u0903\"\n}");
  // Escaping one mark makes the next one follow an escape too.
  EXPECT_EQ(format("[\"\t\u0301\u0302x\"]"), "[\n  \"\\t\\u0301\\u0302x\"\n]");
  // Marks after ordinary characters stay as they are.
  EXPECT_EQ(format("[\"e\u0301\u0302\"]"), "[\n  \"e\u0301\u0302\"\n]");

  for (std::string_view text :
       {R"(["\u0301a"])", "[\"\n\u0301\"]", R"(["\u0022\u0301"])", R"(["\u005c\u0301"])",
        R"(["a\u0600"])", R"(["\u0600\n"])", R"({"\u200Dk":"\u0903"})",
        "[\"\t\u0301\u0302\u0600\u0600\"]", R"(["\u1161"])", R"(["\u0301"])"}) {
    expectFaithful(text, Indentation::default_());
  }
}

TEST(JsonText, CasesThatParsingNeverProducesPrintAsPlaceholders) {
  const Indentation indentation;
  EXPECT_EQ(jsonText(Value::url({"https://a.example"}), indentation), "@");
  EXPECT_EQ(jsonText(Value::date(Value::DateKind::iso8601), indentation), "$");
  EXPECT_EQ(jsonText(Value::enum_({}, Value::RawType::int_, {}), indentation), "%");
  EXPECT_EQ(jsonText(Value::dictionary({}, Value::empty()), indentation), "~");
  EXPECT_EQ(jsonText(Value::empty(), indentation), "null");
  EXPECT_EQ(jsonText(Value::null(), indentation), "null");
  EXPECT_EQ(jsonText(Value::null(Value::array({}, {})), {1, "  "}), "[\n\n  ]");
}

TEST(DoubleText, ShortestDigitsLaidOutPlainOrWithAnExponent) {
  EXPECT_EQ(doubleText(1.0), "1.0");
  EXPECT_EQ(doubleText(2.5), "2.5");
  EXPECT_EQ(doubleText(100000.0), "100000.0");
  EXPECT_EQ(doubleText(0.0), "0.0");
  EXPECT_EQ(doubleText(-0.0), "-0.0");
  EXPECT_EQ(doubleText(0.1), "0.1");
  EXPECT_EQ(doubleText(1.0 / 3), "0.3333333333333333");
  EXPECT_EQ(doubleText(1e-4), "0.0001");
  EXPECT_EQ(doubleText(-0.00012), "-0.00012");
  EXPECT_EQ(doubleText(1e-5), "1e-05");
  EXPECT_EQ(doubleText(-2.5e-7), "-2.5e-07");
  EXPECT_EQ(doubleText(1e20), "1e+20");
  EXPECT_EQ(doubleText(1e100), "1e+100");
  EXPECT_EQ(doubleText(1.5e300), "1.5e+300");
  EXPECT_EQ(doubleText(5e-324), "5e-324");
  EXPECT_EQ(doubleText(std::numeric_limits<double>::max()), "1.7976931348623157e+308");
  // 2^53 is the first double printed with an exponent.
  EXPECT_EQ(doubleText(9007199254740991.0), "9007199254740991.0");
  EXPECT_EQ(doubleText(-9007199254740991.0), "-9007199254740991.0");
  EXPECT_EQ(doubleText(9007199254740992.0), "9.007199254740992e+15");
  EXPECT_EQ(doubleText(1e16), "1e+16");
  EXPECT_EQ(doubleText(123456789012.5), "123456789012.5");
  EXPECT_EQ(doubleText(1e15), "1000000000000000.0");
}

TEST(DoubleText, EveryPrintedDoubleReadsBackAsTheSameDouble) {
  std::mt19937_64 random(20240611);
  for (int i = 0; i < 20000; ++i) {
    std::uint64_t bits = random();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    if (!std::isfinite(d)) continue;
    std::string text = doubleText(d);
    Value v = parsed(text);
    ASSERT_TRUE(v.is(Value::Kind::number) && v.numberValue().isDouble()) << text;
    const double back = v.numberValue().doubleValue();
    ASSERT_EQ(std::memcmp(&d, &back, sizeof d), 0) << text;
  }
}

TEST(Indentation, LevelsAreClampedWhereTheyAreUsed) {
  const Value nestedArray = parsed("[[]]");
  EXPECT_EQ(jsonText(nestedArray, {-5, "  "}), jsonText(nestedArray, {0, "  "}));
  EXPECT_EQ(jsonText(nestedArray, {std::numeric_limits<std::int64_t>::min(), "  "}),
            jsonText(nestedArray, {0, "  "}));
  std::string huge = format("[]", {1'000'000'000'000'000'000, " "});
  EXPECT_EQ(huge, "[\n\n" + std::string(100, ' ') + "]");
  EXPECT_EQ(format("[]", {std::numeric_limits<std::int64_t>::max(), " "}), huge);

  Indentation stored{-5, "\t"};
  EXPECT_EQ(stored.level, -5);  // kept as read
  EXPECT_EQ(stored.effectiveLevel(), 0);
  EXPECT_EQ(stored.pad(-3), "");
  EXPECT_EQ(stored.pad(2), "\t\t");
  EXPECT_EQ(Indentation({0, "ab"}).pad(1'000'000'000'000'000'000).size(), 202u);
}

TEST(Indentation, JsonCodingWritesBothKeysAndNeedsBothBack) {
  EXPECT_EQ(toJson(Indentation::default_()).dump(), R"({"level":0,"unit":"  "})");
  EXPECT_EQ(indentationFromJson(nlohmann::json::parse(R"({"level":0,"unit":"  "})")),
            Indentation::default_());
  for (const Indentation& i : {Indentation{-5, "\t"}, Indentation{1'000'000'000'000'000'000, ""},
                               Indentation{3, "\u00A0\u00A0"}}) {
    EXPECT_EQ(indentationFromJson(nlohmann::json::parse(toJson(i).dump())), i);
  }
}

DecodingError decodingErrorOf(std::string_view json) {
  try {
    (void)indentationFromJson(nlohmann::json::parse(json));
  } catch (const DecodingError& e) {
    return e;
  }
  ADD_FAILURE() << "read without error: " << json;
  return DecodingError(DecodingError::Kind::dataCorrupted, {}, "");
}

TEST(Indentation, ReadingFailsOnAMissingKeyOrAWrongType) {
  DecodingError onlyLevel = decodingErrorOf(R"({"level":0})");
  EXPECT_EQ(onlyLevel.kind(), DecodingError::Kind::keyNotFound);
  EXPECT_EQ(onlyLevel.codingPath(), std::vector<std::string>{"unit"});
  EXPECT_STREQ(onlyLevel.what(), "key not found at \"unit\"");

  DecodingError onlyUnit = decodingErrorOf(R"({"unit":" "})");
  EXPECT_EQ(onlyUnit.kind(), DecodingError::Kind::keyNotFound);
  EXPECT_EQ(onlyUnit.codingPath(), std::vector<std::string>{"level"});

  DecodingError textLevel = decodingErrorOf(R"({"level":"0","unit":" "})");
  EXPECT_EQ(textLevel.kind(), DecodingError::Kind::typeMismatch);
  EXPECT_EQ(textLevel.codingPath(), std::vector<std::string>{"level"});
  EXPECT_THAT(textLevel.what(), HasSubstr("found string"));

  DecodingError numberUnit = decodingErrorOf(R"({"level":0,"unit":2})");
  EXPECT_EQ(numberUnit.kind(), DecodingError::Kind::typeMismatch);
  EXPECT_EQ(numberUnit.codingPath(), std::vector<std::string>{"unit"});

  EXPECT_EQ(decodingErrorOf(R"({"level":0.5,"unit":" "})").kind(),
            DecodingError::Kind::dataCorrupted);
  EXPECT_EQ(decodingErrorOf(R"({"level":null,"unit":" "})").kind(),
            DecodingError::Kind::valueNotFound);
  EXPECT_EQ(decodingErrorOf(R"([0," "])").kind(), DecodingError::Kind::typeMismatch);
}

TEST(FormatterParse, GivesTheValueAndTheUnreadRestAsItsOwnText) {
  auto r = Formatter::parse(" [1] \r\n x ");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->first, Value::array({}, {Value::number(Value::Number::int_(1))}));
  EXPECT_EQ(r->second, "x ");
  EXPECT_FALSE(Formatter::parse(" "));
  EXPECT_FALSE(Formatter::parse("x"));
}

TEST(Format, DeepNestingFormatsAndReadsBack) {
  std::string deep = std::string(511, '[') + "{\"a\":[]}" + std::string(511, ']');
  expectFaithful(deep, Indentation::default_());
  std::string tooDeep = std::string(513, '[') + std::string(513, ']');
  EXPECT_EQ(format(tooDeep), tooDeep);
}

// Random JSON-like texts that lean on the grammar's and the printer's corners: non-ASCII text,
// combining and prepended marks next to quotes and escapes, surrogate escapes, CR LF, U+0000,
// odd numbers, duplicate keys, trailing commas, deep nesting and trailing garbage.
class SampleGenerator {
 public:
  explicit SampleGenerator(std::uint32_t seed) : m_random(seed) {}

  std::string next() {
    std::string s = whitespace() + value(0) + whitespace();
    if (chance(10)) s += pick({"}", "1", "\xFF", " x", "]]"});
    if (chance(8) && !s.empty()) {
      s[below(s.size())] = static_cast<char>(below(256));  // any byte, anywhere
    }
    return s;
  }

 private:
  bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }
  std::size_t below(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_random);
  }
  std::string pick(std::initializer_list<const char*> choices) {
    return *(choices.begin() + below(choices.size()));
  }

  std::string whitespace() {
    std::string s;
    while (chance(30)) s += pick({" ", "\t", "\n", "\r\n", "\r"});
    if (chance(5)) s += std::string(1, '\0');
    return s;
  }

  std::string number() {
    if (chance(30)) {
      return pick({"0",
                   "-0",
                   "-0.0",
                   "1e999",
                   "-1E+999",
                   "1e-400",
                   "9223372036854775807",
                   "9223372036854775808",
                   "-9223372036854775809",
                   "0.1",
                   "1.0",
                   "1e5",
                   "2.5E-7",
                   "9007199254740993",
                   "123456789012345678901234567890",
                   "1.7976931348623157e308",
                   "4.9e-324",
                   "01",
                   "1.",
                   ".5",
                   "+1"});
    }
    std::string s = chance(30) ? "-" : "";
    s += static_cast<char>('1' + below(9));
    for (std::size_t n = below(20); n > 0; --n) s += static_cast<char>('0' + below(10));
    if (chance(40)) {
      s += '.';
      for (std::size_t n = 1 + below(18); n > 0; --n) s += static_cast<char>('0' + below(10));
    }
    if (chance(30)) {
      s += pick({"e", "E", "e+", "e-", "E-"});
      for (std::size_t n = 1 + below(3); n > 0; --n) s += static_cast<char>('0' + below(10));
    }
    return s;
  }

  std::string string() {
    std::string s = "\"";
    for (std::size_t n = below(8); n > 0; --n) {
      s += pick({"a",
                 "Z",
                 " ",
                 "/",
                 "\u00E9",
                 "e\u0301",
                 "\u0301",
                 "\\u0301",
                 "\u0600",
                 "\\u0600",
                 "\\u0022",
                 "\\u005C",
                 "\\u005c",
                 "\\n",
                 "\\r",
                 "\\t",
                 "\\\\",
                 "\\\"",
                 "\\/",
                 "\\u0000",
                 "\\uD83D",
                 "\\uDE00",
                 "\\u00e9",
                 "\\u200D",
                 "\u200D",
                 "\t",
                 "\n",
                 "\r\n",
                 "\r",
                 "\x01",
                 "\U0001F44D",
                 "\U0001F3FD",
                 "\u1100\u1161\u11A8",
                 "\u1161",
                 "\U0001F1EB\U0001F1F7",
                 "\U0001F1EB",
                 "\u0903",
                 "\u2028",
                 "\\b"});
      if (chance(3)) s += std::string(1, '\0');
    }
    return s + "\"";
  }

  std::string value(int depth) {
    std::size_t kind = below(depth < 6 ? 7 : 4);
    switch (kind) {
      case 0:
        return pick({"null", "true", "false", "nul"});
      case 1:
      case 2:
        return number();
      case 3:
        return string();
      case 4:
      case 5: {
        std::string s = "[" + whitespace();
        for (std::size_t n = below(5), i = 0; i < n; ++i) {
          if (i) s += "," + whitespace();
          s += value(depth + 1) + whitespace();
        }
        if (chance(10)) s += ",";
        return s + whitespace() + "]";
      }
      default: {
        std::string s = "{" + whitespace();
        std::string lastKey = string();
        for (std::size_t n = below(5), i = 0; i < n; ++i) {
          if (i) s += "," + whitespace();
          std::string key = chance(20) ? lastKey : string();
          lastKey = key;
          s += key + whitespace() + ":" + whitespace() + value(depth + 1) + whitespace();
        }
        if (chance(3)) s += ",";
        return s + "}";
      }
    }
  }

  std::mt19937 m_random;
};

TEST(FormatProperty, FormattingIsIdempotentAndChangedTextsReadBackEqual) {
  const Indentation indentations[] = {
      Indentation::default_(), {0, "\t"}, {3, " "}, {0, ""}, {1, "\r\n"}};
  SampleGenerator generator(1234567);
  int changed = 0;
  const int samples = 4000;
  for (int i = 0; i < samples; ++i) {
    std::string sample = generator.next();
    const Indentation& indentation = indentations[i % std::size(indentations)];
    expectFaithful(sample, indentation);
    if (Formatter::format(sample, indentation) != sample) ++changed;
    if (::testing::Test::HasFailure()) {
      FAIL() << "sample " << i << " (" << sample.size() << " bytes): " << sample;
    }
  }
  // The generator must mostly produce texts that parse, or the property says little.
  EXPECT_GT(changed, samples / 3);
}

}  // namespace
}  // namespace telvar
