#include "telvar/naming/names.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace telvar {
namespace {

Names path(std::string key) { return {"Unknown", std::move(key)}; }

std::vector<Acronym> acronyms(std::vector<std::string> names) {
  std::vector<Acronym> out;
  for (auto& name : names) out.emplace_back(Uuid::random(), std::move(name));
  return out;
}

std::vector<TypeNameMap> typeMaps(std::string mapPath, std::string name) {
  return {TypeNameMap(Uuid::random(), std::move(mapPath), std::move(name))};
}

std::vector<PropertyNameMap> propertyMaps(std::string mapPath, std::string name) {
  return {PropertyNameMap(Uuid::random(), std::move(mapPath), std::move(name))};
}

struct NameCase {
  std::string key;
  std::string expected;
};

// ---- Type names ---------------------------------------------------------------------------------

TEST(TypeName, FormsTheSingularWordOfTheLastKeyWithTheFixUp) {
  const KotlinMeta meta;
  const std::vector<NameCase> cases{
      {"users", "User"},
      {"_", "_"},  // nothing left of the key
      {"2fa_codes", "_2faCode"},
      {"$refs", "_$ref"},
  };
  for (const auto& c : cases) EXPECT_EQ(typeName(meta, path(c.key)), c.expected) << c.key;
}

TEST(TypeName, PutsTheModelPrefixInFrontBeforeTheFixUp) {
  KotlinMeta kotlin;
  kotlin.setModelPrefix("My");
  EXPECT_EQ(typeName(kotlin, path("users")), "MyUser");
  EXPECT_EQ(typeName(kotlin, path("_")), "My");  // a separator-only key names the prefix alone
  DartMeta dart;
  dart.setModelPrefix("9");
  EXPECT_EQ(typeName(dart, path("users")), "_9User");
  GoMeta go;
  go.setModelPrefix("Go");
  EXPECT_EQ(typeName(go, {"my_model"}), "GoMyModel");  // the root is named after the model
  // An empty path is named, not made singular.
  EXPECT_EQ(typeName(kotlin, {}), "My...");
  EXPECT_EQ(unmappedTypeName(SwiftMeta(), {}), "...");
}

TEST(TypeName, UsesAMapHitVerbatimWithoutPrefixOrFixUp) {
  KotlinMeta kotlin;
  kotlin.setModelPrefix("My");
  kotlin.setTypeNameMaps(typeMaps("user", "2person_list"));
  EXPECT_EQ(typeName(kotlin, {"Unknown", "user"}), "2person_list");
  EXPECT_EQ(typeName(kotlin, {"Unknown", "other"}), "MyOther");

  GoMeta go;
  go.setTypeNameMaps(typeMaps("a.user", ""));
  EXPECT_EQ(typeName(go, {"Unknown", "a", "user"}), "");  // an empty hit is still a hit
  EXPECT_EQ(typeName(go, {"Unknown", "b", "user"}), "User");

  DartMeta dart;
  dart.setTypeNameMaps(typeMaps("item", "Thing"));
  EXPECT_EQ(typeName(dart, {"Unknown", "list", "item"}), "Thing");
}

TEST(TypeName, ProtoHasNoPrefixButTheSameMapAndFixUp) {
  ProtoMeta meta;
  EXPECT_EQ(typeName(meta, {"my_model"}), "MyModel");
  EXPECT_EQ(typeName(meta, path("1st_items")), "_1stItem");
  meta._typeNameMaps = typeMaps("items", "Entry");
  EXPECT_EQ(typeName(meta, path("items")), "Entry");
}

TEST(SwiftTypeName, EscapesReservedWordsMappedOrNot) {
  SwiftMeta meta;
  EXPECT_EQ(typeName(meta, path("types")), "`Type`");
  EXPECT_EQ(unmappedTypeName(meta, path("types")), "Type");
  EXPECT_EQ(typeName(meta, path("self")), "`Self`");
  meta.setTypeNameMaps(typeMaps("item", "Any"));
  EXPECT_EQ(typeName(meta, path("item")), "`Any`");
  meta.setModelPrefix("A");
  EXPECT_EQ(typeName(meta, path("types")), "AType");
  // Sorbel models ignore type name maps.
  meta.setProtocolType(SwiftMeta::ProtocolType::sorbelModel);
  EXPECT_EQ(typeName(meta, path("item")), "AItem");
}

// ---- Property names -----------------------------------------------------------------------------

TEST(PropertyName, DefaultFormWithTheDefaultAcronyms) {
  const std::vector<NameCase> cases{
      {"user_id", "userID"},
      {"avatar_url", "avatarURL"},
      {"id", "id"},  // the acronym test is case-sensitive on "Id"
      {"URL", "uRL"},
      {"user_name", "userName"},
      {"1st", "_1st"},
      {"$ref", "_$ref"},
      {"_", "_"},
      {"2_id", "2ID"},  // an acronym match skips the fix-up
  };
  for (const auto& c : cases) {
    EXPECT_EQ(propertyName(KotlinMeta(), path(c.key)), c.expected) << c.key;
    EXPECT_EQ(propertyName(DartMeta(), path(c.key)), c.expected) << c.key;
    EXPECT_EQ(propertyName(SwiftMeta(), path(c.key)), c.expected) << c.key;
  }
  EXPECT_EQ(propertyName(KotlinMeta(), {}), "...");
}

TEST(PropertyName, GoFormKeepsTheFirstCharacterUpperCased) {
  const std::vector<NameCase> cases{
      {"user_id", "UserID"}, {"id", "ID"}, {"url", "URL"},  {"URL", "URL"},
      {"name", "Name"},      {"_", "_"},   {"1st", "_1st"},
  };
  for (const auto& c : cases) EXPECT_EQ(propertyName(GoMeta(), path(c.key)), c.expected) << c.key;
  EXPECT_EQ(propertyName(GoMeta(), {}), "...");
}

TEST(PropertyName, AcronymsAreTriedInListOrderAndTheFirstMatchWins) {
  KotlinMeta meta;
  meta.setAcronyms(acronyms({"id"}));  // typed in lower case, written upper-cased
  EXPECT_EQ(propertyName(meta, path("user_id")), "userID");
  EXPECT_EQ(propertyName(meta, path("avatar_url")), "avatarUrl");

  meta.setAcronyms(acronyms({"URL", "ID", ""}));
  EXPECT_EQ(propertyName(meta, path("user_id")), "userID");  // before the empty one is reached
  EXPECT_EQ(propertyName(meta, path("1st")), "1st");         // the empty one matched
  GoMeta go;
  go.setAcronyms(acronyms({"", "ID"}));
  EXPECT_EQ(propertyName(go, path("user_id")), "UserId");
  EXPECT_EQ(propertyName(go, path("_")), "");

  meta.setAcronyms({});
  EXPECT_EQ(propertyName(meta, path("user_id")), "userId");
  EXPECT_EQ(propertyName(meta, path("1st")), "_1st");
}

TEST(PropertyName, AMapHitIsReturnedVerbatimEvenWhenEmptyOrStartingWithADigit) {
  DartMeta dart;
  dart.setPropertyNameMaps(propertyMaps("user.id", "9lives"));
  EXPECT_EQ(propertyName(dart, Names{"Unknown", "user", "id"}), "9lives");
  EXPECT_EQ(propertyName(dart, Names{"Unknown", "other", "id"}), "id");
  GoMeta go;
  go.setPropertyNameMaps(propertyMaps("id", ""));
  EXPECT_EQ(propertyName(go, Names{"Unknown", "user", "id"}), "");
}

TEST(SwiftPropertyName, ThreeStyles) {
  struct StyleCase {
    std::string key;
    std::string byDefault;
    std::string raw;
    std::string snakeToCamel;
  };
  const std::vector<StyleCase> cases{
      {"user_id", "userID", "user_id", "userId"},
      {"_", "_", "_", ""},
      {"1st", "_1st", "1st", "1st"},
      {"URL", "uRL", "URL", "uRL"},
      {"mapped", "renamed", "renamed", "mapped"},
  };
  SwiftMeta byDefault;
  byDefault.setPropertyNameMaps(propertyMaps("mapped", "renamed"));
  SwiftMeta raw = byDefault;
  raw.setPropertyNamingStyle(SwiftMeta::PropertyNamingStyle::raw);
  SwiftMeta snake = byDefault;
  snake.setPropertyNamingStyle(SwiftMeta::PropertyNamingStyle::snakeToCamel);
  for (const auto& c : cases) {
    EXPECT_EQ(propertyName(byDefault, path(c.key)), c.byDefault) << c.key;
    EXPECT_EQ(propertyName(raw, path(c.key)), c.raw) << c.key;
    EXPECT_EQ(propertyName(snake, path(c.key)), c.snakeToCamel) << c.key;
  }
  EXPECT_EQ(propertyName(raw, {}), "...");
  EXPECT_EQ(propertyName(snake, {}), "...");
  EXPECT_EQ(propertyName(raw, path("default")), "default");  // escaping is the renderers' job
}

// ---- Reserved words -----------------------------------------------------------------------------

TEST(SwiftEscaped, QuotesExactlyTheReservedWords) {
  for (const char* word : {"Any", "default", "inout", "Self", "self", "Type"}) {
    EXPECT_EQ(swiftEscaped(word), std::string("`") + word + "`") << word;
  }
  for (const char* word : {"type", "SELF", "", "`default`", "default ", "get"}) {
    EXPECT_EQ(swiftEscaped(word), word) << word;
  }
}

TEST(SwiftReservedWord, EveryWordIsFoundAndItsNeighboursAreNot) {
  // Names are turned away by length and first letter before any comparison: each word must get
  // through, and names that share its length and first letter, or one of them, must not.
  const std::vector<std::string> words{
      "Any",      "Self",      "Type",        "actor",  "as",          "associatedtype",
      "async",    "await",     "break",       "case",   "catch",       "class",
      "continue", "default",   "defer",       "deinit", "do",          "else",
      "enum",     "extension", "fallthrough", "false",  "fileprivate", "for",
      "func",     "guard",     "if",          "import", "in",          "init",
      "inout",    "internal",  "is",          "let",    "nil",         "open",
      "operator", "private",   "protocol",    "public", "repeat",      "rethrows",
      "return",   "self",      "static",      "struct", "subscript",   "super",
      "switch",   "throw",     "throws",      "true",   "try",         "typealias",
      "var",      "where",     "while"};
  for (const std::string& word : words) {
    EXPECT_TRUE(isSwiftReservedWord(word)) << word;
    std::string last = word;
    last.back() = last.back() == 'z' ? 'y' : 'z';
    EXPECT_FALSE(isSwiftReservedWord(last)) << last;
    EXPECT_FALSE(isSwiftReservedWord(word + "s" + word)) << word;
    EXPECT_FALSE(isSwiftReservedWord(word.substr(0, word.size() - 1) + "_")) << word;
  }
  for (const char* name : {"", "a", "z", "Z", "_", "\xC3\xA9", "r0Field12", "associatedtypes"}) {
    EXPECT_FALSE(isSwiftReservedWord(name)) << name;
  }
}

}  // namespace
}  // namespace telvar
