#include "telvar/value/printer.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "support/small_stack.h"
#include "support/stack_budget.h"
#include "support/value_print.h"
#include "telvar/coding/decoding_error.h"
#include "telvar/value/indentation.h"

namespace telvar {
namespace {

std::string format(std::string_view text, Indentation indentation = Indentation::default_()) {
  return Formatter::format(text, indentation);
}

// What "Format" promises: it is idempotent, and a text it changes parses to the same value.
void expectFaithful(std::string_view original, const Indentation& indentation) {
  std::string formatted = Formatter::format(original, indentation);
  EXPECT_EQ(Formatter::format(formatted, indentation), formatted) << "not idempotent: " << original;
  if (formatted == original) return;
  auto before = Formatter::parse(original);
  auto after = Formatter::parse(formatted);
  ASSERT_TRUE(before) << "changed a text that does not parse: " << original;
  ASSERT_TRUE(after) << "formatted text does not parse: " << formatted;
  EXPECT_EQ(after->first, before->first) << "from: " << original << "\nto: " << formatted;
  EXPECT_EQ(after->second, "") << formatted;
}

TEST(Format, PrintsOneMemberOrElementPerLineAtTheGivenIndentation) {
  EXPECT_EQ(format(R"({"a":1,"b":[true,{}]})"),
            "{\n  \"a\": 1,\n  \"b\": [\n    true,\n    {\n\n    }\n  ]\n}");
  EXPECT_EQ(format(R"({"a":1})"), "{\n  \"a\": 1\n}");
  EXPECT_EQ(format("[null,false,\"x\"]", {0, "\t"}), "[\n\tnull,\n\tfalse,\n\t\"x\"\n]");
  EXPECT_EQ(format("[[1]]", {2, " "}), "[\n   [\n    1\n   ]\n  ]");
  EXPECT_EQ(format("[[1]]", {0, ""}), "[\n[\n1\n]\n]");
  // Empty containers: an empty line, then the closing bracket with the pad of their level.
  EXPECT_EQ(format("[]"), "[\n\n]");
  EXPECT_EQ(format("{ }", {0, "    "}), "{\n\n}");
  EXPECT_EQ(format("[]", {1, "  "}), "[\n\n  ]");
  EXPECT_EQ(format(R"({"a":[]})"), "{\n  \"a\": [\n\n  ]\n}");
}

TEST(Format, ReturnsUnparsableTextUnchangedAndDropsWhatFollowsTheValue) {
  for (std::string_view text :
       {"", "   ", "[1,,]", "{\"a\":1,}", "\"\\b\"", "nul", "\xFF", "\xEF\xBB\xBF{}"}) {
    EXPECT_EQ(format(text), text);
  }
  EXPECT_EQ(format("[[1]]", {0, "-"}), "[[1]]");  // a unit that is not whitespace
  EXPECT_EQ(format("{}}"), "{\n\n}");
  EXPECT_EQ(format("1 2"), "1");
  EXPECT_EQ(format(std::string_view("\r\n true \0garbage\xFF", 17)), "true");
}

TEST(Format, NumbersKeepTheirKindAndStringsEscapeOnlyFiveCharacters) {
  EXPECT_EQ(format("1.0"), "1.0");
  EXPECT_EQ(format("1"), "1");
  EXPECT_EQ(format("-0"), "0");
  EXPECT_EQ(format("-0.0"), "-0.0");
  EXPECT_EQ(format("1e5"), "100000.0");
  EXPECT_EQ(format("1E-5"), "1e-05");
  EXPECT_EQ(format("9223372036854775808"), "9.223372036854776e+18");
  EXPECT_EQ(format("1e-999"), "0.0");

  EXPECT_EQ(format(R"(["a\\b\"c\nd\re\tf\/g"])"), "[\n  \"a\\\\b\\\"c\\nd\\re\\tf/g\"\n]");
  EXPECT_EQ(format("\"\x01\xC3\xA9\u2028\""), "\"\x01\xC3\xA9\u2028\"");
  EXPECT_EQ(format(std::string_view("\"\0\"", 3)), std::string_view("\"\0\"", 3));
  EXPECT_EQ(format("\"a\r\nb\""), "\"a\\r\\nb\"");
  EXPECT_EQ(format(R"({"say \"hi\"":1})"), "{\n  \"say \\\"hi\\\"\": 1\n}");
}

// Format never corrupts: what the grammar cannot read back the same way comes back unchanged,
// and characters that would merge with a quote or an escape are written as \uXXXX.
TEST(Format, LossyParsesComeBackUnchanged) {
  for (std::string_view text : {R"(["\uD83D\uDE00"])", R"({"k\udfff":1})", R"([1e999])",
                                R"({"a":-1e400})", "[\"\n\U0001F3FB\"]"}) {
    EXPECT_EQ(format(text), text);  // (the last: an emoji modifier has no \u form)
  }
  std::string tooDeep = std::string(513, '[') + std::string(513, ']');
  EXPECT_EQ(format(tooDeep), tooDeep);
}

TEST(Format, MarksThatWouldJoinAQuoteOrAnEscapeAreEscaped) {
  EXPECT_EQ(format(R"("\u0301a")"), R"("\u0301a")");
  EXPECT_EQ(format("\"\n\u0301\""), R"("\n\u0301")");
  EXPECT_EQ(format(R"("\u0022\u0301")"), R"("\"\u0301")");
  // A prepended mark before the closing quote or an escape stays raw: those always begin a
  // character of their own.
  EXPECT_EQ(format(R"("a\u0600")"), "\"a\u0600\"");
  EXPECT_EQ(format(R"("\u0600\\")"), "\"\u0600\\\\\"");
  EXPECT_EQ(format("\"\U000110BD\""), "\"\U000110BD\"");
  EXPECT_EQ(format(R"({"\u200Dk":"\u0903"})"), "{\n  \"\\u200Dk\": \"\\u0903\"\n}");
  // Escaping one mark puts the next one after an escape too.
  EXPECT_EQ(format("\"\t\u0301\u0302x\""), R"("\t\u0301\u0302x")");
  // Marks after ordinary characters stay as they are.
  EXPECT_EQ(format("\"e\u0301\u0302\""), "\"e\u0301\u0302\"");

  for (std::string_view text :
       {R"(["\u0301a"])", "[\"\n\u0301\"]", R"(["\u005c\u0301"])", R"(["\u0600\n"])",
        "[\"\t\u0301\u0302\u0600\u0600\"]", R"(["\u1161"])"}) {
    expectFaithful(text, Indentation::default_());
  }
  const std::string deepest = std::string(510, '[') + R"({"a":["\u0301"]})" + std::string(510, ']');
  ASSERT_TRUE(testing::runOnSmallStack(testing::stackBudget(1024 * 1024), [&] {
    EXPECT_NE(format(deepest), deepest);
    expectFaithful(deepest, {});
  }));
}

TEST(DoubleText, ShortestDigitsLaidOutPlainOrWithAnExponent) {
  const std::pair<double, const char*> cases[] = {
      {1.0, "1.0"},
      {-0.0, "-0.0"},
      {1.0 / 3, "0.3333333333333333"},
      {1e-4, "0.0001"},
      {-2.5e-7, "-2.5e-07"},
      {1e100, "1e+100"},
      {5e-324, "5e-324"},
      // 2^53 is the first double written with an exponent.
      {9007199254740991.0, "9007199254740991.0"},
      {9007199254740992.0, "9.007199254740992e+15"},
      {123456789012.5, "123456789012.5"}};
  for (const auto& [d, text] : cases) EXPECT_EQ(doubleText(d), text);
}

TEST(DoubleText, EveryPrintedDoubleReadsBackAsTheSameDouble) {
  std::mt19937_64 random(20240611);
  for (int i = 0; i < 20000; ++i) {
    std::uint64_t bits = random();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    if (!std::isfinite(d)) continue;
    auto back = Formatter::parse(doubleText(d));
    ASSERT_TRUE(back && back->first.is(Value::Kind::number) && back->first.numberValue().isDouble())
        << doubleText(d);
    const double read = back->first.numberValue().doubleValue();
    ASSERT_EQ(std::memcmp(&d, &read, sizeof d), 0) << doubleText(d);
  }
}

TEST(Indentation, LevelsAreClampedWhereTheyAreUsedAndKeptAsStored) {
  for (std::int64_t level : {std::int64_t{-5}, std::numeric_limits<std::int64_t>::min()}) {
    EXPECT_EQ(format("[[]]", {level, "  "}), format("[[]]", {0, "  "}));
  }
  const std::string huge = "[\n\n" + std::string(100, ' ') + "]";
  EXPECT_EQ(format("[]", {1'000'000'000'000'000'000, " "}), huge);
  EXPECT_EQ(format("[]", {std::numeric_limits<std::int64_t>::max(), " "}), huge);

  Indentation stored{-5, "\t"};
  EXPECT_EQ(stored.level, -5);
  EXPECT_EQ(stored.effectiveLevel(), 0);
  EXPECT_EQ(stored.pad(-3), "");
  EXPECT_EQ(stored.pad(2), "\t\t");
  EXPECT_EQ(Indentation({0, "ab"}).pad(1'000'000'000'000'000'000).size(), 202u);
}

TEST(Indentation, LongUnitsAreCutToTheirBoundAtACharacterStartAndKeptAsStored) {
  const std::string bound(Indentation::kMaxUnitBytes, ' ');
  EXPECT_EQ(Indentation({0, bound}).effectiveUnit(), bound);
  const Indentation wide{3, std::string(65'536, ' ')};
  EXPECT_EQ(wide.unit.size(), 65'536u);
  EXPECT_EQ(wide.effectiveUnit(), bound);
  EXPECT_EQ(wide.pad(2), bound + bound);
  EXPECT_EQ(format("[1]", wide), "[\n" + std::string(4 * bound.size(), ' ') + "1\n" +
                                     std::string(3 * bound.size(), ' ') + "]");
  // "é" (two bytes) across the bound is left out whole.
  const std::string accents = std::string(Indentation::kMaxUnitBytes - 1, ' ') + "\u00e9\u00e9";
  EXPECT_EQ(Indentation({0, accents}).effectiveUnit(),
            std::string(Indentation::kMaxUnitBytes - 1, ' '));
}

DecodingError readFailure(std::string_view json) {
  try {
    (void)indentationFromJson(nlohmann::json::parse(json));
  } catch (const DecodingError& e) {
    return e;
  }
  ADD_FAILURE() << "read without error: " << json;
  return DecodingError(DecodingError::Kind::dataCorrupted, {}, "");
}

TEST(Indentation, JsonCodingWritesBothKeysAndNeedsBothBack) {
  EXPECT_EQ(toJson(Indentation::default_()).dump(), R"({"level":0,"unit":"  "})");
  EXPECT_EQ(indentationFromJson(nlohmann::json::parse(R"({"level":0,"unit":"  "})")),
            Indentation::default_());
  for (const Indentation& i : {Indentation{-5, "\t"}, Indentation{1'000'000'000'000'000'000, ""},
                               Indentation{3, "\u00A0\u00A0"}}) {
    EXPECT_EQ(indentationFromJson(nlohmann::json::parse(toJson(i).dump())), i);
  }

  EXPECT_STREQ(readFailure(R"({"level":0})").what(), "key not found at \"unit\"");
  EXPECT_STREQ(readFailure(R"({"level":"0","unit":" "})").what(),
               "type mismatch at \"level\": expected integer, found string");
  EXPECT_EQ(readFailure(R"({"level":0.5,"unit":" "})").kind(), DecodingError::Kind::dataCorrupted);
  EXPECT_EQ(readFailure(R"({"level":null,"unit":" "})").kind(), DecodingError::Kind::valueNotFound);
  EXPECT_EQ(readFailure(R"([0," "])").kind(), DecodingError::Kind::typeMismatch);
}

TEST(FormatterParse, GivesTheValueAndTheUnreadRestAsItsOwnText) {
  auto r = Formatter::parse(" [1] \r\n x ");
  ASSERT_TRUE(r);
  EXPECT_EQ(describe(r->first), "[1]");
  EXPECT_EQ(r->second, "x ");
  EXPECT_FALSE(Formatter::parse(" "));
}

// Random JSON-like texts that lean on the corners of the grammar and the printer: non-ASCII text,
// combining and prepended marks next to quotes and escapes, surrogate escapes, CR LF, U+0000,
// odd numbers, duplicate keys, trailing commas, nesting, trailing garbage and stray bytes.
class SampleGenerator {
 public:
  explicit SampleGenerator(std::uint32_t seed) : m_random(seed) {}

  std::string next() {
    std::string s = space() + value(0) + space();
    if (chance(10)) s += pick({"}", "1", "\xFF", " x", "]]"});
    if (chance(8) && !s.empty()) s[below(s.size())] = static_cast<char>(below(256));
    return s;
  }

 private:
  bool chance(std::size_t percent) { return below(100) < percent; }
  std::size_t below(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_random);
  }
  std::string pick(std::initializer_list<const char*> choices) {
    return *(choices.begin() + below(choices.size()));
  }
  std::string digits(std::size_t n) {
    std::string s;
    while (n-- > 0) s += static_cast<char>('0' + below(10));
    return s;
  }

  std::string space() {
    std::string s;
    while (chance(30)) s += pick({" ", "\t", "\n", "\r\n", "\r"});
    return chance(5) ? s + std::string(1, '\0') : s;
  }

  std::string number() {
    if (chance(30)) {
      return pick({"-0", "-0.0", "1e999", "-1E+999", "1e-400", "9223372036854775808", "1.0",
                   "-9223372036854775809", "9007199254740993", "4.9e-324", "01", "1.", ".5"});
    }
    std::string s = (chance(30) ? "-" : "") + std::to_string(1 + below(9)) + digits(below(20));
    if (chance(40)) s += "." + digits(1 + below(18));
    if (chance(30)) s += pick({"e", "E", "e+", "e-", "E-"}) + digits(1 + below(3));
    return s;
  }

  std::string string() {
    std::string s = "\"";
    for (std::size_t n = below(8); n > 0; --n) {
      s += pick({"a",       " ",          "/",       "\u00E9",     "e\u0301",    "\u0301",
                 "\\u0301", "\u0600",     "\\u0600", "\\u0022",    "\\u005C",    "\\n",
                 "\\r",     "\\t",        "\\\\",    "\\\"",       "\\/",        "\\u0000",
                 "\\uD83D", "\\uDE00",    "\\u200D", "\u200D",     "\t",         "\n",
                 "\r\n",    "\r",         "\x01",    "\U0001F44D", "\U0001F3FD", "\u1100\u1161",
                 "\u1161",  "\U0001F1EB", "\u0903",  "\\b",        "\u06DD",     "\u0890",
                 "\u070F",  "\U000110BD", "\u0605",  "\\u06DD"});
      if (chance(3)) s += std::string(1, '\0');
    }
    return s + "\"";
  }

  std::string value(int depth) {
    switch (below(depth < 6 ? 7 : 4)) {
      case 0:
        return pick({"null", "true", "false", "nul"});
      case 1:
      case 2:
        return number();
      case 3:
        return string();
      case 4:
      case 5: {
        std::string s = "[" + space();
        for (std::size_t n = below(5), i = 0; i < n; ++i) {
          s += (i ? "," + space() : "") + value(depth + 1) + space();
        }
        return s + (chance(10) ? "," : "") + space() + "]";
      }
      default: {
        std::string s = "{" + space();
        std::string key = string();
        for (std::size_t n = below(5), i = 0; i < n; ++i) {
          if (!chance(20)) key = string();  // else a duplicate key
          s += (i ? "," + space() : "") + key + space() + ":" + space() + value(depth + 1);
        }
        return s + (chance(3) ? "," : "") + "}";
      }
    }
  }

  std::mt19937 m_random;
};

TEST(FormatProperty, FormattingIsIdempotentAndChangedTextsReadBackEqual) {
  const Indentation indentations[] = {{0, "  "}, {0, "\t"}, {3, " "}, {0, ""}, {1, "\r\n"}};
  SampleGenerator generator(1234567);
  const int samples = 4000;
  int changed = 0;
  for (int i = 0; i < samples && !::testing::Test::HasFailure(); ++i) {
    const std::string sample = generator.next();
    const Indentation& indentation = indentations[i % 5];
    SCOPED_TRACE("sample " + std::to_string(i) + ": " + sample);
    expectFaithful(sample, indentation);
    if (Formatter::format(sample, indentation) != sample) ++changed;
  }
  // Most samples must parse, or the property says little.
  EXPECT_GT(changed, samples / 3);
}

}  // namespace
}  // namespace telvar
