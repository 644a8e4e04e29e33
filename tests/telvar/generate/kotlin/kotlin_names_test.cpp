#include "telvar/generate/kotlin/kotlin_names.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace telvar::generate::kotlin {
namespace {

struct NameCase {
  std::string name;
  std::string written;
};

TEST(KotlinName, WritesOrdinaryNamesAsTheyAre) {
  const std::vector<NameCase> cases{
      {"userName", "userName"}, {"_1st", "_1st"}, {"名前", "名前"}, {"café", "café"}, {"a١", "a١"},
      {"data", "data"},         {"Item", "Item"}, {"x_", "x_"},
  };
  for (const auto& c : cases) EXPECT_EQ(kotlinName(c.name), c.written) << c.name;
}

TEST(KotlinName, QuotesNamesKotlinForbidsBare) {
  const std::vector<NameCase> cases{
      {"in", "`in`"},
      {"typeof", "`typeof`"},
      {"_$ref", "`_$ref`"},
      {"price$", "`price$`"},
      {"2ID", "`2ID`"},  // a digit first
      {"_", "`_`"},      // underscores alone are reserved
      {"__", "`__`"},
      {"e\u0301", "`e\u0301`"},  // a combining mark is no letter
      {"\u0301x", "`\u0301x`"},
      {"_\u00b2nd", "`_\u00b2nd`"},  // nor is a superscript digit
      {"a b", "`a b`"},
      {"\xF0\x9F\x98\x80", "`\xF0\x9F\x98\x80`"},
      {"a\"b", "`a\"b`"},
  };
  for (const auto& c : cases) EXPECT_EQ(kotlinName(c.name), c.written) << c.name;
}

TEST(KotlinName, ReplacesWhatNoNameMayHoldEvenQuoted) {
  const std::vector<NameCase> cases{
      {"", "`_`"},          {"a.b", "a_b"},       {"a`b", "a_b"},  {"a\nb", "a_b"}, {"a\rb", "a_b"},
      {"a;b[c]", "a_b_c_"}, {"a/b:c", "a_b_c"},   {"<a>", "_a_"},  {"a\\b", "a_b"}, {"`", "`_`"},
      {"in.", "in_"},       {"a b.c", "`a b_c`"}, {"\xFF", "`_`"},  // not UTF-8
  };
  for (const auto& c : cases) EXPECT_EQ(kotlinName(c.name), c.written) << c.name;
  EXPECT_EQ(kotlinIdentifier("a.b"), "a_b");
  EXPECT_EQ(kotlinIdentifier("in"), "in");  // the identifier itself, before quoting
}

TEST(KotlinMappedName, KeepsTheNameAsTypedAndQuotesOnlyKeywords) {
  const std::vector<NameCase> cases{
      {"Int", "Int"},
      {"java.time.Instant", "java.time.Instant"},
      {"Map<String, String>", "Map<String, String>"},  // never rewritten into an identifier
      {"com.example.Foo", "com.example.Foo"},
      {"fun.Label", "`fun`.Label"},
      {"class", "`class`"},
      {"a..b", "a..b"},
  };
  for (const auto& c : cases) EXPECT_EQ(kotlinMappedName(c.name), c.written) << c.name;
}

}  // namespace
}  // namespace telvar::generate::kotlin
