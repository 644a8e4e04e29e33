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

TEST(KotlinHardKeyword, CoversTheHardKeywordsOnly) {
  for (const char* word : {"as", "class", "in", "is", "typeof", "val", "var", "when", "object",
                           "package", "typealias", "null", "true", "false", "this"}) {
    EXPECT_TRUE(isKotlinHardKeyword(word)) << word;
  }
  // Soft and modifier keywords are identifiers; case matters.
  for (const char* word : {"data", "value", "field", "by", "import", "open", "Class", "IN", ""}) {
    EXPECT_FALSE(isKotlinHardKeyword(word)) << word;
  }
}

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

TEST(KotlinTypeReference, KeepsQualifiedNamesAndQuotesTheirParts) {
  const std::vector<NameCase> cases{
      {"Int", "Int"},
      {"java.time.Instant", "java.time.Instant"},
      {"fun.Label", "`fun`.Label"},
      {"class", "`class`"},
      {"a..b", "a__b"},  // no qualified name: one name
      {".a", "_a"},
  };
  for (const auto& c : cases) EXPECT_EQ(kotlinTypeReference(c.name), c.written) << c.name;
}

TEST(KotlinStringContent, EscapesWhatWouldEndOrChangeTheLiteral) {
  EXPECT_EQ(kotlinStringContent("user_name"), "user_name");
  EXPECT_EQ(kotlinStringContent("a\"b\\c$d"), "a\\\"b\\\\c\\$d");
  EXPECT_EQ(kotlinStringContent("${x}"), "\\${x}");
  EXPECT_EQ(kotlinStringContent("\n\r\t\b"), "\\n\\r\\t\\b");
  EXPECT_EQ(kotlinStringContent(std::string("\x01\x1f\0", 3)), "\\u0001\\u001F\\u0000");
  EXPECT_EQ(kotlinStringContent("名前 \xF0\x9F\x98\x80`'"), "名前 \xF0\x9F\x98\x80`'");
}

}  // namespace
}  // namespace telvar::generate::kotlin
