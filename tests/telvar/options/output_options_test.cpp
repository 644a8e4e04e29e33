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

}  // namespace
}  // namespace telvar
