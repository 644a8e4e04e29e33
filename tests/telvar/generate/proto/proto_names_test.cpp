#include "telvar/generate/proto/proto_names.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include <gtest/gtest.h>

namespace telvar::generate {
namespace {

// Fields of a message holding strings, one per key.
std::vector<Property> stringFields(const std::vector<std::string>& keys) {
  std::vector<Property> properties;
  for (const std::string& key : keys) {
    properties.push_back({{"Unknown", key}, PropertyType::primitive(Primitive::string())});
  }
  return properties;
}

std::string folded(std::string_view identifier) {
  std::string out;
  for (char c : identifier) {
    if (c != '_') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

bool isIdentifier(std::string_view text) {
  if (text.empty() || (text[0] >= '0' && text[0] <= '9')) return false;
  for (char c : text) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

TEST(ProtoIdentifier, KeepsIdentifiersAndReducesEverythingElse) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"user_name", "user_name"},
      {"userName", "userName"},
      {"_", "_"},
      {"user-name", "user_name"},
      {"first name", "first_name"},
      {"1st", "_1st"},
      {"$ref", "_ref"},
      {"", "_"},
      {"caf\xC3\xA9", "caf_"},
      // A decomposed accent is one character once composed.
      {"cafe\xCC\x81", "caf_"},
      {"\xF0\x9F\x98\x80", "_"},
      {"a\"b\\c", "a_b_c"},
      {"9", "_9"},
      {"a.b", "a_b"},
      {"\xD9\xA3x", "_x"},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(protoIdentifier(text), expected) << text;
  }
}

TEST(ProtoTypeName, MapsVerbatimOtherwiseTheSingularWordAsAnIdentifier) {
  ProtoMeta meta;
  EXPECT_EQ(protoTypeName(meta, {"Unknown", "items"}), "Item");
  EXPECT_EQ(protoTypeName(meta, {"Unknown", "$user"}), "__user");
  EXPECT_EQ(protoTypeName(meta, {"Unknown", "2fa"}), "_2fa");
  EXPECT_EQ(protoTypeName(meta, {"Unknown", "\xF0\x9F\x98\x80"}), "_");
  EXPECT_EQ(protoTypeName(meta, {"Unknown", "user-info"}), "UserInfo");
  meta.setTypeNameMaps({TypeNameMap(Uuid(), "items", "not an identifier")});
  EXPECT_EQ(protoTypeName(meta, {"Unknown", "items"}), "not an identifier");
}

TEST(ProtoFieldNames, GiveEveryFieldAnIdentifierThatProtocTellsApart) {
  const std::vector<std::string> keys = {
      "name", "Name", "user_name", "userName", "a-b", "a_b", "a__b", "", "_", "\xF0\x9F\x98\x80"};
  const std::vector<Property> properties = stringFields(keys);
  const auto names = protoFieldNames(properties, {});
  const std::vector<ProtoFieldName> expected = {
      {"name", std::nullopt},
      {"Name_2", "Name"},
      {"user_name", "user_name"},  // kept apart from the JSON name of userName_2
      {"userName_2", "userName"},
      {"a_b", "a-b"},
      {"a_b_2", "a_b"},
      {"a__b_3", "a__b"},
      {"_", ""},
      {"__2", "_"},
      {"__3", "\xF0\x9F\x98\x80"},
  };
  EXPECT_EQ(std::vector<ProtoFieldName>(names.begin(), names.end()), expected);
}

TEST(ProtoFieldNames, AvoidTheMessagesOfTheirScope) {
  const std::vector<Property> properties = stringFields({"Profile", "profile", "Item"});
  const auto names = protoFieldNames(properties, {"Profile"});
  const std::vector<ProtoFieldName> expected = {
      {"Profile_2", "Profile"}, {"profile", std::nullopt}, {"Item", std::nullopt}};
  EXPECT_EQ(std::vector<ProtoFieldName>(names.begin(), names.end()), expected);
}

TEST(ProtoFieldNames, ADictionaryDeclaresNoField) {
  std::vector<Property> properties = stringFields({"a"});
  properties.insert(properties.begin(),
                    Property{{"Unknown", "a"},
                             PropertyType::dictionary(PropertyType::primitive(Primitive::int_()))});
  const auto names = protoFieldNames(properties, {});
  EXPECT_EQ(names[0], (ProtoFieldName{"", std::nullopt}));
  EXPECT_EQ(names[1], (ProtoFieldName{"a", std::nullopt}));
}

TEST(ProtoFieldNames, StayDistinctWhenThousandsOfKeysCollide) {
  // Every key folds to "a": each needs a suffix of its own, without trying every earlier one.
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < 20000; ++i) {
    keys.push_back(std::string(i % 100, '_') + "a" + std::string(i / 100, '_'));
  }
  const std::vector<Property> properties = stringFields(keys);
  const auto names = protoFieldNames(properties, {});
  std::unordered_set<std::string> folds;
  for (const ProtoFieldName name : names) {
    EXPECT_TRUE(isIdentifier(name.identifier)) << name.identifier;
    EXPECT_TRUE(folds.insert(folded(name.identifier)).second) << name.identifier;
  }
}

TEST(ProtoDefaultJsonName, DropsUnderscoresAndCapitalisesWhatFollows) {
  EXPECT_EQ(protoDefaultJsonName("user_name"), "userName");
  EXPECT_EQ(protoDefaultJsonName("_1st"), "1st");
  EXPECT_EQ(protoDefaultJsonName("a__b_"), "aB");
  EXPECT_EQ(protoDefaultJsonName("Name"), "Name");
}

TEST(ProtoFieldNumber, CountsFromOneAndSkipsTheRangeProtocKeeps) {
  EXPECT_EQ(protoFieldNumber(0), 1u);
  EXPECT_EQ(protoFieldNumber(18997), 18998u);
  EXPECT_EQ(protoFieldNumber(18998), 18999u);
  EXPECT_EQ(protoFieldNumber(18999), 20000u);
  EXPECT_EQ(protoFieldNumber(49999), 51000u);
}

}  // namespace
}  // namespace telvar::generate
