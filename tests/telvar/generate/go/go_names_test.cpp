#include "telvar/generate/go/go_names.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace telvar::generate {
namespace {

Property intProperty(std::string key) {
  return {{"Unknown", std::move(key)}, PropertyType::primitive(Primitive::int_())};
}

std::vector<Property> intProperties(const std::vector<std::string>& keys) {
  std::vector<Property> properties;
  for (const auto& key : keys) properties.push_back(intProperty(key));
  return properties;
}

TEST(GoIdentifier, KeepsNamesGoAcceptsAndMendsTheRest) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"UserID", "UserID"},
      {"_1st", "_1st"},
      {"_$ref", "_ref"},  // Go names hold no "$"
      {"$", "_"},         // nothing left
      {"", "_"},
      {"2ID", "_2ID"},    // an acronym match skips the fix-up, Go still needs a letter first
      {"func", "_func"},  // a keyword
      {"Func", "Func"},
      {"X\u00b2", "X"},             // a superscript is a number, not a Go digit
      {"Cafe\u0301", "Caf\u00e9"},  // composed first, so the mark is not lost with its letter
      {"A\u0301\u0327", "\u00c1"},  // a mark with no composed form is dropped
      {"\u540d\u524d", "\u540d\u524d"},
      {"I-D.x", "IDx"},         // characters from an acronym or prefix the user typed
      {"\u0663x", "_\u0663x"},  // Arabic-Indic three is a decimal digit
  };
  for (const auto& [name, expected] : cases) EXPECT_EQ(goIdentifier(name), expected) << name;
}

TEST(GoNames, MapHitsStayVerbatimAndFormedNamesBecomeIdentifiers) {
  GoMeta meta;
  meta.setTypeNameMaps({TypeNameMap(Uuid(), "when", "time.Time")});
  meta.setPropertyNameMaps({PropertyNameMap(Uuid(), "x", "$x")});
  EXPECT_EQ(goTypeName(meta, {"Unknown", "when"}), "time.Time");
  EXPECT_EQ(goFieldName(meta, Names{"Unknown", "x"}), "$x");
  EXPECT_EQ(goTypeName(meta, {"Unknown", "$obj"}), "_obj");
  EXPECT_EQ(goFieldName(meta, Names{"Unknown", "avatar_url"}), "AvatarURL");
  // No field could name the blank identifier as its type.
  EXPECT_EQ(goTypeName(meta, {"Unknown", "-"}), "__");
  EXPECT_EQ(goTypeName(meta, {}), "__");  // "..." names no key
  // encoding/json reads exported fields only: a field begins with an upper-case letter.
  EXPECT_EQ(goFieldName(meta, {}), "X_");
  EXPECT_EQ(goFieldName(meta, Names{"Unknown", "1st"}), "X_1st");
  EXPECT_EQ(goFieldName(meta, Names{"Unknown", "$ref"}), "X_ref");
  EXPECT_EQ(goFieldName(meta, Names{"Unknown", "price$"}), "Price");  // "$" is no Go character
  EXPECT_EQ(goFieldName(meta, Names{"Unknown", "\u540d\u524d"}), "X\u540d\u524d");
  EXPECT_EQ(goFieldName(meta, Names{"Unknown", "_"}), "X_");
  EXPECT_EQ(goFieldName(meta, Names{"Unknown", "\u00e9t\u00e9"}), "\u00c9t\u00e9");
}

TEST(GoNames, InlineRootNameIsPrefixAndCamelCasedModelName) {
  GoMeta meta;
  EXPECT_EQ(goInlineRootName(meta, "people_list"), "PeopleList");
  EXPECT_EQ(goInlineRootName(meta, ""), "__");
  EXPECT_EQ(goInlineRootName(meta, "$"), "__");
  meta.setModelPrefix("func");
  EXPECT_EQ(goInlineRootName(meta, ""), "_func");
  meta.setModelPrefix("Api");
  EXPECT_EQ(goInlineRootName(meta, "user"), "ApiUser");
}

TEST(GoFieldNames, NumbersLaterDuplicatesAroundNamesAlreadyTaken) {
  const GoMeta meta;
  EXPECT_EQ(goFieldNames(meta, intProperties({"user_name", "userName", "UserName2", "id", "ID"})),
            (NameList{"UserName", "UserName3", "UserName2", "ID", "ID2"}));
  // Keys that leave no letter are exported and numbered like any other.
  EXPECT_EQ(goFieldNames(meta, intProperties({"", "-", "_", "__"})),
            (NameList{"X_", "X_2", "X_3", "X_4"}));
  EXPECT_EQ(goFieldNames(meta, intProperties({"user_id", "userId", "UserID"})),
            (NameList{"UserID", "UserID2", "UserID3"}));
  EXPECT_EQ(goFieldNames(meta, intProperties({"a", "b"})), (NameList{"A", "B"}));
}

TEST(GoFieldNames, MapHitsThatCollideAreNumberedToo) {
  GoMeta meta;
  meta.setPropertyNameMaps(
      {PropertyNameMap(Uuid(), "a", "Same"), PropertyNameMap(Uuid(), "b", "Same")});
  EXPECT_EQ(goFieldNames(meta, intProperties({"a", "b"})), (NameList{"Same", "Same2"}));
}

TEST(GoFieldNames, FiftyThousandCollidingKeysStayUniqueInLinearTime) {
  // "a" followed by the bits of i written as "_" and "-": every key camel-cases to "A".
  std::vector<std::string> keys;
  for (int i = 0; i < 50'000; ++i) {
    std::string key = "a";
    for (int bits = i; bits; bits >>= 1) key += (bits & 1) ? '-' : '_';
    keys.push_back(key);
  }
  const NameList names = goFieldNames(GoMeta(), intProperties(keys));
  ASSERT_EQ(names.size(), keys.size());
  EXPECT_EQ(names[0], "A");
  EXPECT_EQ(names[1], "A2");
  EXPECT_EQ(names[names.size() - 1], "A50000");
}

TEST(GoTag, ValueIsAGoStringInsideARawStringUnlessTheTagHoldsABackquote) {
  EXPECT_EQ(goTag("id", false), "`json:\"id\"`");
  EXPECT_EQ(goTag("b", true), "`json:\"b,omitempty\"`");
  EXPECT_EQ(goTag("", false), "`json:\"\"`");
  // The value is read as a Go string: quotes, backslashes and control characters are escaped.
  EXPECT_EQ(goTag("quote\"d", false), R"go(`json:"quote\"d"`)go");
  EXPECT_EQ(goTag("back\\slash", false), R"go(`json:"back\\slash"`)go");
  EXPECT_EQ(goTag("line\nfeed", false), R"go(`json:"line\nfeed"`)go");
  EXPECT_EQ(goTag(std::string("n\0l", 3), false), R"go(`json:"n\x00l"`)go");
  EXPECT_EQ(goTag("a\rb", false), R"go(`json:"a\rb"`)go");
  EXPECT_EQ(goTag("\xEF\xBB\xBF"
                  "bom",
                  false),
            R"go(`json:"\uFEFFbom"`)go");
  // A bare "-" skips the field; "-," names the key "-".
  EXPECT_EQ(goTag("-", false), R"go(`json:"-,"`)go");
  EXPECT_EQ(goTag("-", true), R"go(`json:"-,omitempty"`)go");
  EXPECT_EQ(goTag("-,", false), R"go(`json:"-,"`)go");
  // A backquote ends a raw string: the tag becomes an interpreted literal, escaped once more.
  EXPECT_EQ(goTag("a`b", false), R"go("json:\"a`b\"")go");
  EXPECT_EQ(goTag("a`b\"c\\", true), R"go("json:\"a`b\\\"c\\\\,omitempty\"")go");
  EXPECT_EQ(goTag("\x7f`\t", false), R"go("json:\"\\x7f`\\t\"")go");
}

}  // namespace
}  // namespace telvar::generate
