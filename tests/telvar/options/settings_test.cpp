// The storage convention, shown on real records: unset reads as the default made at each read,
// writes always store, in-place edits start from the default, unset never equals set.
#include "telvar/options/settings.h"

#include <string>
#include <vector>

#include "telvar/options/output_options.h"
#include "test_support.h"

namespace telvar {
namespace {

using testing::json;

// A record of its own, written as the convention's header shows: the mechanism needs nothing
// but the declared settings and their table.
struct Example {
  static std::string defaultName() { return "main"; }
  TELVAR_SETTING(std::string, name, Name, &defaultName);
  TELVAR_SETTING(std::vector<int>, numbers, Numbers);
  static constexpr auto fields() {
    return settings::fieldTable<Example>(&Example::_name, &Example::_numbers);
  }
  friend bool operator==(const Example& a, const Example& b) { return settings::equal(a, b); }
};

}  // namespace

namespace settings {
template <>
struct Coder<int> {
  static nlohmann::json encode(int v) { return v; }
  static int decode(const nlohmann::json& j) { return static_cast<int>(coding::readInt64(j)); }
  static bool same(int a, int b) { return a == b; }
};
}  // namespace settings

namespace {

TEST(SettingsConvention, ARecordOfItsOwnGetsCodingAndEqualityFromItsTable) {
  Example example;
  EXPECT_EQ(example.name(), "main");
  EXPECT_EQ(toJson(example).dump(), "{}");
  example.setName("other");
  example.editNumbers([](std::vector<int>& numbers) { numbers.push_back(7); });
  EXPECT_EQ(toJson(example).dump(), R"({"_name":"other","_numbers":[7]})");
  EXPECT_EQ(example.numbers(), std::vector<int>{7});
  example.setNumbers({});
  EXPECT_EQ(toJson(example).dump(), R"({"_name":"other","_numbers":[]})");
  example.setNumbers({7});
  EXPECT_EQ(fromJson<Example>(toJson(example)), example);
  EXPECT_NE(fromJson<Example>(json("{}")), example);
}

TEST(SettingsConvention, WritingTheDefaultStoresItAndMakesTheRecordDiffer) {
  ValueMeta meta;
  meta.setNeedsDetectURL(false);
  EXPECT_EQ(meta.needsDetectURL(), ValueMeta().needsDetectURL());
  EXPECT_NE(meta, ValueMeta());
  EXPECT_EQ(toJson(meta).dump(), R"({"_needsDetectURL":false})");

  ValueMeta emptyList;
  emptyList.setIgnoredProperties({});
  EXPECT_NE(emptyList, ValueMeta()) << "an empty list is not an unset list";
  EXPECT_EQ(toJson(emptyList).dump(), R"({"_ignoredProperties":[]})");
}

TEST(SettingsConvention, NullReadsAsUnsetAndUnknownMembersAreNotWrittenBack) {
  ValueMeta meta = fromJson<ValueMeta>(
      json(R"({"_needsDetectURL": true, "other": 1, "_ignoredProperties": null})"));
  EXPECT_TRUE(meta.needsDetectURL());
  EXPECT_FALSE(meta._ignoredProperties.has_value());
  EXPECT_EQ(toJson(meta).dump(), R"({"_needsDetectURL":true})");
}

TEST(SettingsConvention, MemberNamesMatchExactlyWithTheirUnderscore) {
  // Without the underscore, or in another letter case, a member is just an unknown one.
  ValueMeta meta =
      fromJson<ValueMeta>(json(R"({"needsDetectURL": true, "_NeedsDetectURL": true})"));
  EXPECT_EQ(meta, ValueMeta());
}

TEST(SettingsConvention, AnInPlaceEditOfAnUnsetListStartsFromTheDefault) {
  DartMeta meta;
  meta.editAcronyms([](std::vector<Acronym>& list) { list.push_back(Acronym(Uuid(), "API")); });
  ASSERT_TRUE(meta._acronyms.has_value());
  std::vector<Acronym> acronyms = meta.acronyms();
  ASSERT_EQ(acronyms.size(), 3u);
  EXPECT_EQ(acronyms[0].name(), "ID");
  EXPECT_EQ(acronyms[1].name(), "URL");
  EXPECT_EQ(acronyms[2].name(), "API");
  EXPECT_NE(acronyms[0].id(), acronyms[1].id());
  // Once stored, the list reads the same every time.
  EXPECT_EQ(meta.acronyms(), acronyms);
}

TEST(SettingsConvention, ASettingCanBeUnsetAgain) {
  GoMeta meta("p");
  meta._packageName = std::nullopt;
  EXPECT_EQ(meta, GoMeta());
  EXPECT_EQ(meta.packageName(), "main");
}

TEST(SettingsConvention, TextsCompareByCanonicalEquivalence) {
  // "é" precomposed and as "e" plus a combining acute accent.
  GoMeta precomposed("caf\u00e9");
  GoMeta decomposed("cafe\u0301");
  EXPECT_EQ(precomposed, decomposed);
  EXPECT_NE(GoMeta("Cafe"), GoMeta("cafe")) << "no case folding";
}

TEST(SettingsConvention, ListsCompareElementByElementInOrder) {
  const Acronym a(testing::uuid(1), "ID");
  const Acronym b(testing::uuid(2), "URL");
  auto with = [](std::vector<Acronym> acronyms) {
    GoMeta meta;
    meta.setAcronyms(std::move(acronyms));
    return meta;
  };
  EXPECT_EQ(with({a, b}), with({a, b}));
  EXPECT_NE(with({a, b}), with({b, a}));
  EXPECT_NE(with({a}), with({a, b}));
}

TEST(SettingsConvention, AFailedReadReportsTheMemberAndTheReason) {
  try {
    (void)fromJson<SwiftOptions>(json(R"({"_swiftMeta":{"_modelType":"Struct\n"}})"));
    FAIL() << "expected a decoding error";
  } catch (const DecodingError& e) {
    EXPECT_STREQ(
        e.what(),
        R"(data corrupted at "_swiftMeta._modelType": "Struct\n" is not one of the case names)");
  }
}

}  // namespace
}  // namespace telvar
