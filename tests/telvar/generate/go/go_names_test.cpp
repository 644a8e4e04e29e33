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
  EXPECT_EQ(goFieldName(meta, {"Unknown", "x"}), "$x");
  EXPECT_EQ(goTypeName(meta, {"Unknown", "$obj"}), "_obj");
  EXPECT_EQ(goFieldName(meta, {"Unknown", "avatar_url"}), "AvatarURL");
  // No field could name the blank identifier as its type.
  EXPECT_EQ(goTypeName(meta, {"Unknown", "-"}), "__");
  EXPECT_EQ(goTypeName(meta, {}), "__");  // "..." names no key
  EXPECT_EQ(goFieldName(meta, {}), "_");
}

TEST(GoNames, InlineRootNameIsPrefixAndCamelCasedModelName) {
  GoMeta meta;
  EXPECT_EQ(goInlineRootName(meta, "people_list"), "PeopleList");
  EXPECT_EQ(goInlineRootName(meta, ""), "_");
  EXPECT_EQ(goInlineRootName(meta, "$"), "_");
  meta.setModelPrefix("func");
  EXPECT_EQ(goInlineRootName(meta, ""), "_func");
  meta.setModelPrefix("Api");
  EXPECT_EQ(goInlineRootName(meta, "user"), "ApiUser");
}

TEST(GoFieldNames, NumbersLaterDuplicatesAroundNamesAlreadyTaken) {
  const GoMeta meta;
  EXPECT_EQ(goFieldNames(meta, intProperties({"user_name", "userName", "UserName2", "id", "ID"})),
            (std::vector<std::string>{"UserName", "UserName3", "UserName2", "ID", "ID2"}));
  // Blank fields may repeat in Go.
  EXPECT_EQ(goFieldNames(meta, intProperties({"", "-", "_"})),
            (std::vector<std::string>{"_", "_", "_"}));
  EXPECT_EQ(goFieldNames(meta, intProperties({"a", "b"})), (std::vector<std::string>{"A", "B"}));
}

TEST(GoFieldNames, MapHitsThatCollideAreNumberedToo) {
  GoMeta meta;
  meta.setPropertyNameMaps(
      {PropertyNameMap(Uuid(), "a", "Same"), PropertyNameMap(Uuid(), "b", "Same")});
  EXPECT_EQ(goFieldNames(meta, intProperties({"a", "b"})),
            (std::vector<std::string>{"Same", "Same2"}));
}

TEST(GoFieldNames, FiftyThousandCollidingKeysStayUniqueInLinearTime) {
  // "a" followed by the bits of i written as "_" and "-": every key camel-cases to "A".
  std::vector<std::string> keys;
  for (int i = 0; i < 50'000; ++i) {
    std::string key = "a";
    for (int bits = i; bits; bits >>= 1) key += (bits & 1) ? '-' : '_';
    keys.push_back(key);
  }
  const std::vector<std::string> names = goFieldNames(GoMeta(), intProperties(keys));
  ASSERT_EQ(names.size(), keys.size());
  EXPECT_EQ(names[0], "A");
  EXPECT_EQ(names[1], "A2");
  EXPECT_EQ(names.back(), "A50000");
}

TEST(GoTag, RawStringUnlessTheKeyCannotLiveInOne) {
  EXPECT_EQ(goTag("id", false), "`json:\"id\"`");
  EXPECT_EQ(goTag("b", true), "`json:\"b,omitempty\"`");
  EXPECT_EQ(goTag("", false), "`json:\"\"`");
  // Keys written as they are wherever a raw string carries them.
  EXPECT_EQ(goTag("a\"b\\c", false), "`json:\"a\"b\\c\"`");
  EXPECT_EQ(goTag("line\nfeed", false), "`json:\"line\nfeed\"`");
  // A backquote ends a raw string; NUL and a BOM do not compile; a raw string drops CR.
  EXPECT_EQ(goTag("a`b", false), R"go("json:\"a`b\"")go");
  EXPECT_EQ(goTag("a`b\"c\\", true), R"go("json:\"a`b\"c\\,omitempty\"")go");
  EXPECT_EQ(goTag(std::string("n\0l", 3), false), R"go("json:\"n\x00l\"")go");
  EXPECT_EQ(goTag("a\rb\n`", false), R"go("json:\"a\rb\n`\"")go");
  EXPECT_EQ(goTag("\xEF\xBB\xBF"
                  "bom",
                  false),
            R"go("json:\"\uFEFFbom\"")go");
  EXPECT_EQ(goTag("\x7f`\t", false), R"go("json:\"\x7f`\t\"")go");
}

}  // namespace
}  // namespace telvar::generate
