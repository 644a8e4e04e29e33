// The key-path match shared by every path-keyed record: longest trailing part first, then list
// order; only trailing parts; canonical text comparison; an empty path finds nothing.
#include "telvar/options/path_lookup.h"

#include <string>
#include <vector>

#include "telvar/options/swift_meta.h"
#include "telvar/options/value_meta.h"
#include "test_support.h"

namespace telvar {
namespace {

using testing::uuid;
using Keys = std::vector<std::string>;

const Keys kUserName{"Unknown", "user", "name"};

std::vector<TypeNameMap> typeMaps(std::vector<std::pair<std::string, std::string>> rows) {
  std::vector<TypeNameMap> maps;
  int n = 0;
  for (auto& [path, name] : rows) maps.emplace_back(uuid(++n), path, name);
  return maps;
}

TEST(PathLookup, ALongerTrailingPartWinsWhereverItStands) {
  EXPECT_EQ(nameForPath(typeMaps({{"name", "Short"}, {"user.name", "Long"}}), kUserName), "Long");
  EXPECT_EQ(nameForPath(typeMaps({{"user.name", "Long"}, {"name", "Short"}}), kUserName), "Long");
}

TEST(PathLookup, TheWholePathIncludingTheModelNameMatchesFirst) {
  EXPECT_EQ(
      nameForPath(typeMaps({{"user.name", "Trailing"}, {"Unknown.user.name", "Whole"}}), kUserName),
      "Whole");
}

TEST(PathLookup, OnlyTrailingPartsMatch) {
  EXPECT_EQ(nameForPath(typeMaps({{"Unknown.user", "Middle"}}), kUserName), std::nullopt);
  EXPECT_EQ(nameForPath(typeMaps({{"user", "Middle"}}), kUserName), std::nullopt);
  EXPECT_EQ(nameForPath(typeMaps({{"Unknown", "Root"}}), kUserName), std::nullopt);
}

TEST(PathLookup, AmongEqualPathsTheFirstInTheListWins) {
  EXPECT_EQ(nameForPath(typeMaps({{"name", "First"}, {"name", "Second"}}), kUserName), "First");
}

TEST(PathLookup, AnEmptyKeyPathFindsNothingEvenForAnEmptyRecordPath) {
  EXPECT_EQ(nameForPath(typeMaps({{"", "Empty"}}), Keys{}), std::nullopt);
  EXPECT_FALSE(containsPath(std::vector{IgnoredProperty(uuid(1), "")}, Keys{}));
}

TEST(PathLookup, AnEmptyRecordPathMatchesOnlyAnEmptyCandidate) {
  EXPECT_EQ(nameForPath(typeMaps({{"", "Empty"}}), kUserName), std::nullopt);
  EXPECT_EQ(nameForPath(typeMaps({{"", "Empty"}}), Keys{""}), "Empty");
  // The key "" under the root joins to "Unknown." and then to "".
  EXPECT_EQ(nameForPath(typeMaps({{"", "Empty"}}), Keys{"Unknown", ""}), "Empty");
}

TEST(PathLookup, DotsInsideKeysAreNotEscaped) {
  // The keys "a.b" then "c" join to the same text as "a", "b", "c".
  EXPECT_EQ(nameForPath(typeMaps({{"a.b.c", "Dotted"}}), Keys{"Unknown", "a.b", "c"}), "Dotted");
}

TEST(PathLookup, TextsCompareByCanonicalEquivalenceWithoutTrimmingOrCaseFolding) {
  EXPECT_EQ(nameForPath(typeMaps({{"caf\u00e9", "Cafe"}}), Keys{"Unknown", "cafe\u0301"}), "Cafe");
  EXPECT_EQ(nameForPath(typeMaps({{"Name", "X"}}), kUserName), std::nullopt);
  EXPECT_EQ(nameForPath(typeMaps({{"name ", "X"}}), kUserName), std::nullopt);
}

TEST(PathLookup, NothingIsDistinctFromAnEmptyResult) {
  EXPECT_EQ(nameForPath(typeMaps({{"name", ""}}), kUserName), std::optional<std::string>(""));
  std::vector<SwiftMeta::PropertyEnumMap> enumMaps{{uuid(1), "name", {}}};
  std::optional<std::vector<SwiftMeta::PropertyEnumMap::Case>> cases =
      casesForPath(enumMaps, kUserName);
  ASSERT_TRUE(cases.has_value());
  EXPECT_TRUE(cases->empty());
  EXPECT_EQ(casesForPath(enumMaps, Keys{"Unknown", "other"}), std::nullopt);
}

TEST(PathLookup, EveryLookUpFollowsTheSameRule) {
  std::vector<PropertyNameMap> propertyMaps{{uuid(1), "name", "short"},
                                            {uuid(2), "user.name", "long"}};
  EXPECT_EQ(nameForPath(propertyMaps, kUserName), "long");

  std::vector<SwiftMeta::IdentifiableType> identifiable{{uuid(1), "name", "a"},
                                                        {uuid(2), "user.name", "b"}};
  EXPECT_EQ(keyForPath(identifiable, kUserName), "b");

  SwiftMeta::PropertyEnumMap::Case active(uuid(3), "active", "A");
  std::vector<SwiftMeta::PropertyEnumMap> enumMaps{{uuid(1), "name", {}},
                                                   {uuid(2), "user.name", {active}}};
  EXPECT_EQ(casesForPath(enumMaps, kUserName), std::vector{active});

  EXPECT_TRUE(containsPath(std::vector{IgnoredProperty(uuid(1), "user.name")}, kUserName));
  EXPECT_TRUE(containsPath(std::vector{DictionaryObject(uuid(1), "name")}, kUserName));
  EXPECT_TRUE(containsPath(std::vector{ValueMeta::OptionalProperty(uuid(1), "Unknown.user.name")},
                           kUserName));
  EXPECT_FALSE(containsPath(std::vector{ValueMeta::OptionalProperty(uuid(1), "user")}, kUserName));
  EXPECT_FALSE(containsPath(std::vector<IgnoredProperty>{}, kUserName));
}

}  // namespace
}  // namespace telvar
