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

TEST(AcronymApplied, RewritesAMatchingEndUpperCased) {
  EXPECT_EQ(acronymApplied("userId", "ID"), "userID");
  EXPECT_EQ(acronymApplied("userId", "id"), "userID");  // typed in lower case
  EXPECT_EQ(acronymApplied("avatarUrl", "URL"), "avatarURL");
  EXPECT_EQ(acronymApplied("UserId", "ID"), "UserID");
  EXPECT_EQ(acronymApplied("2Id", "ID"), "2ID");
  EXPECT_EQ(acronymApplied("Id", "ID"), "ID");
}

TEST(AcronymApplied, TestsCaseSensitivelyOnWholeCharacters) {
  EXPECT_EQ(acronymApplied("id", "ID"), std::nullopt);
  EXPECT_EQ(acronymApplied("uRL", "URL"), std::nullopt);
  EXPECT_EQ(acronymApplied("userID", "ID"), std::nullopt);
  EXPECT_EQ(acronymApplied("d", "ID"), std::nullopt);
  // "Id" followed by a combining mark ends in another character than "d".
  EXPECT_EQ(acronymApplied("userId\u0301", "ID"), std::nullopt);
  // Canonically equivalent ends match.
  EXPECT_EQ(acronymApplied("caf\u00c9", "\u00c9"), "caf\u00c9");
  EXPECT_EQ(acronymApplied("cafE\u0301", "\u00e9"), "caf\u00c9");
}

TEST(AcronymApplied, AnEmptyAcronymMatchesEveryName) {
  EXPECT_EQ(acronymApplied("userName", ""), "userName");
  EXPECT_EQ(acronymApplied("", ""), "");
}

}  // namespace
}  // namespace telvar
