#include "telvar/naming/identifier.h"

#include <gtest/gtest.h>

namespace telvar {
namespace {

TEST(IdentifierFixedUp, GuardsEmptyNamesAndLeadingDollarsOrNumbers) {
  EXPECT_EQ(identifierFixedUp(""), "_");
  EXPECT_EQ(identifierFixedUp("1st"), "_1st");
  EXPECT_EQ(identifierFixedUp("$ref"), "_$ref");
  EXPECT_EQ(identifierFixedUp("\u00bd"), "_\u00bd");    // other numbers count
  EXPECT_EQ(identifierFixedUp("\u0663x"), "_\u0663x");  // so do other scripts' digits
  EXPECT_EQ(identifierFixedUp("_"), "_");
  EXPECT_EQ(identifierFixedUp("name1"), "name1");
  EXPECT_EQ(identifierFixedUp("a$"), "a$");
}

TEST(AcronymApplied, RewritesAMatchingEndUpperCasedCaseSensitivelyOnWholeCharacters) {
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"userId", "userID"}, {"UserId", "UserID"},           {"2Id", "2ID"},
      {"Id", "ID"},         {"id", std::nullopt},           {"userID", std::nullopt},
      {"d", std::nullopt},  {"userId\u0301", std::nullopt},  // ends in another character than "d"
  };
  for (const auto& [name, expected] : cases)
    EXPECT_EQ(acronymApplied(name, "ID"), expected) << name;
  EXPECT_EQ(acronymApplied("userId", "id"), "userID");  // typed in lower case
  EXPECT_EQ(acronymApplied("avatarUrl", "URL"), "avatarURL");
  EXPECT_EQ(acronymApplied("uRL", "URL"), std::nullopt);
  // Canonically equivalent ends match; an empty acronym matches every name.
  EXPECT_EQ(acronymApplied("caf\u00c9", "\u00c9"), "caf\u00c9");
  EXPECT_EQ(acronymApplied("cafE\u0301", "\u00e9"), "caf\u00c9");
  EXPECT_EQ(acronymApplied("userName", ""), "userName");
  EXPECT_EQ(acronymApplied("", ""), "");
}

TEST(AcronymApplied, AsciiNamesMatchAsTheCharacterDatabaseDoes) {
  // ASCII names take a path of their own; a leading "\u00e9" sends the same name down the general
  // one. Every acronym and name tail from a few interesting bytes must agree.
  const std::string bytes{'a', 'd', 'i', 'I', 'D', '1', '_', '$', '\r', '\n', ' '};
  std::vector<std::string> texts{""};
  for (char a : bytes) {
    texts.emplace_back(1, a);
    for (char b : bytes) texts.push_back(std::string{a, b});
  }
  for (const std::string& acronym : texts) {
    for (const std::string& tail : texts) {
      const std::string name = "x" + tail;
      const auto fast = acronymApplied(name, acronym);
      const auto general = acronymApplied("\u00e9" + name, acronym);
      ASSERT_EQ(fast.has_value(), general.has_value()) << name << '/' << acronym;
      if (fast) {
        EXPECT_EQ("\u00e9" + *fast, *general) << name << '/' << acronym;
      }
    }
  }
}

}  // namespace
}  // namespace telvar
