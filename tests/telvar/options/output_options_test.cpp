#include "telvar/options/output_options.h"

#include <string>

#include "test_support.h"

namespace telvar {
namespace {

using testing::json;

TEST(OutputType, StoredTextsAreTheCaseNamesInOrder) {
  const char* expected[] = {"schema", "swift", "kotlin", "dart", "go", "proto"};
  for (int i = 0; i < 6; ++i) {
    auto type = static_cast<OutputType>(i);
    EXPECT_EQ(rawValue(type), expected[i]);
    EXPECT_EQ(enumFromRawValue<OutputType>(expected[i]), type);
  }
  EXPECT_EQ(enumFromRawValue<OutputType>("Kotlin"), std::nullopt);
  EXPECT_EQ(enumFromRawValue<OutputType>("KOTLIN"), std::nullopt);
  EXPECT_EQ(enumFromRawValue<OutputType>(""), std::nullopt);
  EXPECT_EQ(enumFromRawValue<OutputType>("go "), std::nullopt);
}

TEST(OutputOptions, AnEmptyValueMetaIsStoredAndDiffersFromUnset) {
  SchemaOptions stored(ValueMeta(), std::nullopt);
  EXPECT_EQ(toJson(stored).dump(), R"({"_valueMeta":{}})");
  EXPECT_NE(stored, SchemaOptions());
  EXPECT_EQ(stored.valueMeta(), SchemaOptions().valueMeta());
}

TEST(OutputOptions, AnUnsetSwiftMetaReadsWithNeedsInitializerStoredAsFalse) {
  SwiftOptions options;
  EXPECT_FALSE(options._swiftMeta.has_value());
  SwiftMeta meta = options.swiftMeta();
  EXPECT_EQ(meta._needsInitializer, std::optional<bool>(false));
  EXPECT_FALSE(meta.needsInitializer());
  EXPECT_NE(meta, SwiftMeta());
}

TEST(OutputOptions, EditingAnUnsetSwiftMetaStoresThePrefixAndNeedsInitializer) {
  SwiftOptions options;
  options.editSwiftMeta([](SwiftMeta& meta) { meta.setModelPrefix("My"); });
  EXPECT_EQ(toJson(options).dump(),
            R"({"_swiftMeta":{"_modelPrefix":"My","_needsInitializer":false}})");
  EXPECT_FALSE(options._valueMeta.has_value());
}

TEST(OutputOptions, EditingTheValueMetaLeavesTheLanguageMetaUnset) {
  KotlinOptions options;
  options.editValueMeta([](ValueMeta& meta) { meta.setNeedsDetectURL(true); });
  EXPECT_EQ(toJson(options).dump(), R"({"_valueMeta":{"_needsDetectURL":true}})");
}

// Each options record keeps its language meta under the language's own key beside the value
// options; a stored empty meta differs from an unset one, and a missing key reads as unset.
template <class Meta>
void expectLanguageKey(const std::string& key) {
  SCOPED_TRACE(key);
  using Options = OutputOptions<Meta>;
  const Options languageOnly(std::nullopt, Meta());
  EXPECT_EQ(toJson(languageOnly).dump(), "{\"" + key + "\":{}}");
  EXPECT_NE(languageOnly, Options());

  const Options both(ValueMeta(true), Meta());
  EXPECT_EQ(toJson(both).dump(), "{\"" + key + R"(":{},"_valueMeta":{"_needsDetectURL":true}})");
  EXPECT_EQ(fromJson<Options>(toJson(both)), both);
  nlohmann::json withoutLanguage = toJson(both);
  withoutLanguage.erase(key);
  EXPECT_EQ(fromJson<Options>(withoutLanguage), Options(ValueMeta(true)));
}

TEST(OutputOptions, EachLanguageMetaHasItsOwnKeyBesideTheValueOptions) {
  expectLanguageKey<SchemaMeta>("_schemaMeta");
  expectLanguageKey<SwiftMeta>("_swiftMeta");
  expectLanguageKey<KotlinMeta>("_kotlinMeta");
  expectLanguageKey<DartMeta>("_dartMeta");
  expectLanguageKey<GoMeta>("_goMeta");
  expectLanguageKey<ProtoMeta>("_protoMeta");
}

}  // namespace
}  // namespace telvar
