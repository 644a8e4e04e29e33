#include "telvar/options/shared_records.h"

#include <set>
#include <string>

#include "telvar/options/uuid.h"
#include "test_support.h"

namespace telvar {
namespace {

using testing::json;

TEST(Uuid, IsWrittenInUpperCaseAndReadInEitherCase) {
  std::optional<Uuid> lower = Uuid::fromText("e621e1f8-c36c-495a-93fc-0c247a3e6e5f");
  std::optional<Uuid> upper = Uuid::fromText("E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
  ASSERT_TRUE(lower && upper);
  EXPECT_EQ(*lower, *upper);
  EXPECT_EQ(lower->text(), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
}

TEST(Uuid, RejectsEveryMalformedText) {
  for (const char* text : {
           "",
           "E621E1F8C36C495A93FC0C247A3E6E5F",       // no dashes
           "E621E1F8-C36C-495A-93FC-0C247A3E6E5",    // short
           "E621E1F8-C36C-495A-93FC-0C247A3E6E5F0",  // long
           "E621E1F-8C36C-495A-93FC-0C247A3E6E5F",   // dash misplaced
           "E621E1F8-C36C-495A-93FC-0C247A3E6E5G",   // not hexadecimal
           "{621E1F8-C36C-495A-93FC-0C247A3E6E5F}",
           " E621E1F8-C36C-495A-93FC-0C247A3E6E5F",
       }) {
    EXPECT_EQ(Uuid::fromText(text), std::nullopt) << text;
  }
}

TEST(Uuid, RandomIdentifiersAreVersionFourAndDistinct) {
  std::set<std::string> seen;
  for (int i = 0; i < 100; ++i) {
    std::string text = Uuid::random().text();
    EXPECT_EQ(text[14], '4') << text;
    EXPECT_EQ(Uuid::fromText(text)->text(), text);
    seen.insert(text);
  }
  EXPECT_EQ(seen.size(), 100u);
}

TEST(DefaultAcronyms, AreIdThenUrlWithFreshIdentifiersAtEveryCall) {
  std::vector<Acronym> first = defaultAcronyms();
  std::vector<Acronym> second = defaultAcronyms();
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].name(), "ID");
  EXPECT_EQ(first[1].name(), "URL");
  EXPECT_EQ(second[0].name(), "ID");
  EXPECT_NE(first, second);
  std::set<Uuid> ids{first[0].id(), first[1].id(), second[0].id(), second[1].id()};
  EXPECT_EQ(ids.size(), 4u);
}

TEST(SharedRecords, EqualityTakesTheIdentifierIntoAccount) {
  EXPECT_EQ(Acronym(testing::uuid(1), "ID"), Acronym(testing::uuid(1), "ID"));
  EXPECT_NE(Acronym(testing::uuid(1), "ID"), Acronym(testing::uuid(2), "ID"));
  EXPECT_NE(TypeNameMap(testing::uuid(1), "a", "A"), TypeNameMap(testing::uuid(1), "a", "B"));
  EXPECT_NE(TypeNameMap(testing::uuid(1), "a", "A"), TypeNameMap(testing::uuid(1), "b", "A"));
}

}  // namespace
}  // namespace telvar
