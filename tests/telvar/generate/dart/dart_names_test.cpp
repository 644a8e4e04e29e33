#include "telvar/generate/dart/dart_names.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace telvar::generate {
namespace {

Names path(std::string key) { return {"Unknown", std::move(key)}; }

struct NameCase {
  std::string key;
  std::string expected;
};

TEST(DartPropertyName, KeepsOrdinaryNamesAsTheSharedRuleFormsThem) {
  const DartMeta meta;
  EXPECT_EQ(dartPropertyName(meta, path("user_name")), "userName");
  EXPECT_EQ(dartPropertyName(meta, path("avatar_url")), "avatarURL");
  EXPECT_EQ(dartPropertyName(meta, path("price$")), "price$");
  EXPECT_EQ(dartPropertyName(meta, path("map")), "map");
}

TEST(DartPropertyName, GivesNamesThatDartRejectsOrThatHideTypesATrailingUnderscore) {
  const DartMeta meta;
  const std::vector<NameCase> cases{
      {"class", "class_"},
      {"null", "null_"},
      {"this", "this_"},
      {"void", "void_"},
      {"with", "with_"},
      {"int", "int_"},
      {"dynamic", "dynamic_"},
      {"double", "double_"},
      {"toJSON", "toJSON_"},
      {"fromJSON", "fromJSON_"},
      {"copyWith", "copyWith_"},
      {"hashCode", "hashCode_"},
      {"toString", "toString_"},
      {"runtimeType", "runtimeType_"},
      // Built-in identifiers may name members.
      {"get", "get"},
      {"required", "required"},
      {"factory", "factory"},
  };
  for (const auto& c : cases) EXPECT_EQ(dartPropertyName(meta, path(c.key)), c.expected) << c.key;
}

TEST(DartPropertyName, NeverBeginsWithAnUnderscoreOrADigit) {
  // Named parameters may not be private, and the shared fix-up puts "_" in front.
  const DartMeta meta;
  const std::vector<NameCase> cases{
      {"1st", "$1st"}, {"$ref", "$ref"}, {"", "$"}, {"___", "$"}, {"2_id", "$2ID"},
  };
  for (const auto& c : cases) EXPECT_EQ(dartPropertyName(meta, path(c.key)), c.expected) << c.key;
}

TEST(DartPropertyName, SpellsOutCharactersOutsideDartIdentifiers) {
  const DartMeta meta;
  EXPECT_EQ(dartPropertyName(meta, path("名前")), "u540Du524D");
  EXPECT_EQ(dartPropertyName(meta, path("naïve")), "nau00EFve");
  EXPECT_EQ(dartPropertyName(meta, path("𝔘")), "u1D518");
}

TEST(DartPropertyName, UsesAMapHitVerbatim) {
  DartMeta meta;
  meta.setPropertyNameMaps({PropertyNameMap(Uuid::random(), "class", "class"),
                            PropertyNameMap(Uuid::random(), "first", "_first")});
  EXPECT_EQ(dartPropertyName(meta, path("class")), "class");
  EXPECT_EQ(dartPropertyName(meta, path("first")), "_first");
}

TEST(DartTypeName, RenamesNamesThatCannotNameAClassOrWouldHideACoreType) {
  const DartMeta meta;
  const std::vector<NameCase> cases{
      {"users", "User"},  {"名前", "U540DU524D"}, {"list", "List_"},
      {"maps", "Map_"},   {"strings", "String_"}, {"function", "Function_"},
      {"class", "Class"}, {"café", "CafU00E9"},   {"1st", "_1st"},
      {"", "_"},
  };
  for (const auto& c : cases) EXPECT_EQ(dartTypeName(meta, path(c.key)), c.expected) << c.key;
}

TEST(DartTypeName, ChecksThePrefixedName) {
  DartMeta meta;
  meta.setModelPrefix("in");
  EXPECT_EQ(dartTypeName(meta, path("")), "in_");
  meta.setModelPrefix("My");
  EXPECT_EQ(dartTypeName(meta, path("list")), "MyList");
}

TEST(DartTypeName, UsesAMapHitVerbatim) {
  DartMeta meta;
  meta.setTypeNameMaps({TypeNameMap(Uuid::random(), "items", "List")});
  EXPECT_EQ(dartTypeName(meta, path("items")), "List");
}

}  // namespace
}  // namespace telvar::generate
