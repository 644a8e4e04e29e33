// Defaults and the stored-versus-default distinctions of each language's options.
#include <string>
#include <vector>

#include "telvar/options/dart_meta.h"
#include "telvar/options/go_meta.h"
#include "telvar/options/kotlin_meta.h"
#include "telvar/options/proto_meta.h"
#include "telvar/options/schema_meta.h"
#include "telvar/options/swift_meta.h"
#include "test_support.h"

namespace telvar {
namespace {

using testing::json;

std::vector<std::string> names(const std::vector<Acronym>& acronyms) {
  std::vector<std::string> out;
  for (const Acronym& a : acronyms) out.push_back(a.name());
  return out;
}
const std::vector<std::string> kIdUrl{"ID", "URL"};

TEST(SwiftMeta, AnEmptyMetaReadsTheDefaults) {
  SwiftMeta meta = fromJson<SwiftMeta>(json("{}"));
  EXPECT_EQ(meta.modelPrefix(), "");
  EXPECT_EQ(meta.structureStyle(), SwiftMeta::StructureStyle::nested);
  EXPECT_EQ(meta.modelAccessLevel(), SwiftMeta::AccessLevel::default_);
  EXPECT_EQ(meta.modelType(), SwiftMeta::ModelType::struct_);
  EXPECT_EQ(meta.protocolType(), SwiftMeta::ProtocolType::codable);
  EXPECT_EQ(meta.propertyAccessLevel(), SwiftMeta::AccessLevel::default_);
  EXPECT_EQ(meta.propertyDeclareType(), SwiftMeta::PropertyDeclareType::let);
  EXPECT_EQ(meta.propertySortMethod(), PropertySortMethod::default_);
  EXPECT_FALSE(meta.useSorbelMacros());
  EXPECT_FALSE(meta.needsInitializer());
  EXPECT_EQ(meta.initializer(), SwiftMeta::Initializer());
  EXPECT_EQ(meta.initializer().accessLevel(), SwiftMeta::AccessLevel::default_);
  EXPECT_EQ(meta.initializer().style(), SwiftMeta::Initializer::Style::singleLine);
  EXPECT_TRUE(meta.typeNameMaps().empty());
  EXPECT_TRUE(meta.identifiableTypes().empty());
  EXPECT_TRUE(meta.propertyNameMaps().empty());
  EXPECT_TRUE(meta.propertyEnumMaps().empty());
  EXPECT_EQ(meta.propertyNamingStyle(), SwiftMeta::PropertyNamingStyle::default_);
  EXPECT_EQ(names(meta.acronyms()), kIdUrl);
}

TEST(SwiftMeta, SettingTheDefaultModelTypeIsWrittenAndBreaksEquality) {
  SwiftMeta meta;
  meta.setModelType(SwiftMeta::ModelType::struct_);
  EXPECT_EQ(toJson(meta).dump(), R"({"_modelType":"struct"})");
  EXPECT_NE(meta, SwiftMeta());
}

TEST(SwiftMeta, ReadsCaseNamesExactly) {
  EXPECT_EQ(fromJson<SwiftMeta>(json(R"({"_protocolType":"sorbelModel"})")).protocolType(),
            SwiftMeta::ProtocolType::sorbelModel);
  SwiftMeta meta = fromJson<SwiftMeta>(json(R"({"_initializer":{"_style":"multipleLines"}})"));
  EXPECT_EQ(meta.initializer().style(), SwiftMeta::Initializer::Style::multipleLines);
  EXPECT_EQ(meta.initializer().accessLevel(), SwiftMeta::AccessLevel::default_);
  EXPECT_FALSE(meta.initializer()._accessLevel.has_value());
}

TEST(SwiftMeta, TwoReadsOfUnsetAcronymsAreEqualInNamesOnly) {
  SwiftMeta meta;
  EXPECT_EQ(names(meta.acronyms()), names(meta.acronyms()));
  EXPECT_NE(meta.acronyms(), meta.acronyms());
  EXPECT_FALSE(meta._acronyms.has_value()) << "reading does not store";
}

TEST(SwiftMeta, EditingTheUnsetInitializerStoresIt) {
  SwiftMeta meta;
  meta.editInitializer([](SwiftMeta::Initializer& i) { i.setStyle(i.style()); });
  EXPECT_EQ(toJson(meta).dump(), R"({"_initializer":{"_style":"singleLine"}})");
}

TEST(SwiftMeta, DescriptionsAreTheTextsTheGeneratorWrites) {
  EXPECT_EQ(description(SwiftMeta::AccessLevel::default_), "");
  EXPECT_EQ(description(SwiftMeta::AccessLevel::public_), "public ");
  EXPECT_EQ(description(SwiftMeta::AccessLevel::internal), "internal ");
  EXPECT_EQ(description(SwiftMeta::AccessLevel::private_), "private ");
  EXPECT_EQ(description(SwiftMeta::ModelType::struct_), "struct");
  EXPECT_EQ(description(SwiftMeta::ModelType::class_), "class");
  EXPECT_EQ(description(SwiftMeta::ProtocolType::sorbelModel), "SorbelModel");
  EXPECT_EQ(description(SwiftMeta::ProtocolType::codable), "Codable");
  EXPECT_EQ(description(SwiftMeta::ProtocolType::decodable), "Decodable");
  EXPECT_EQ(description(SwiftMeta::ProtocolType::encodable), "Encodable");
  EXPECT_EQ(description(SwiftMeta::PropertyDeclareType::let), "let");
  EXPECT_EQ(description(SwiftMeta::PropertyDeclareType::var), "var");
  EXPECT_EQ(rawValue(SwiftMeta::AccessLevel::public_), "public");
  EXPECT_EQ(rawValue(SwiftMeta::StructureStyle::nestedInExtension), "nestedInExtension");
  EXPECT_EQ(rawValue(SwiftMeta::PropertyNamingStyle::snakeToCamel), "snakeToCamel");
}

TEST(KotlinMeta, AnEmptyMetaReadsTheDefaults) {
  KotlinMeta meta = fromJson<KotlinMeta>(json("{}"));
  EXPECT_EQ(meta, KotlinMeta());
  EXPECT_EQ(meta.modelPrefix(), "");
  EXPECT_EQ(meta.packageName(), "mirel");
  EXPECT_EQ(meta.structureStyle(), KotlinMeta::StructureStyle::nested);
  EXPECT_EQ(meta.propertyDeclareType(), KotlinMeta::PropertyDeclareType::val);
  EXPECT_EQ(meta.propertySortMethod(), PropertySortMethod::default_);
  EXPECT_TRUE(meta.typeNameMaps().empty());
  EXPECT_TRUE(meta.propertyNameMaps().empty());
  EXPECT_EQ(names(meta.acronyms()), kIdUrl);
  EXPECT_EQ(toJson(meta).dump(), "{}");
}

TEST(KotlinMeta, TheConstructorTakesThePackageNameFirst) {
  KotlinMeta meta("com.example", "Prefix");
  EXPECT_EQ(meta.packageName(), "com.example");
  EXPECT_EQ(meta.modelPrefix(), "Prefix");
}

TEST(KotlinMeta, AnEmptyPackageNameIsStoredAsIs) {
  KotlinMeta meta;
  meta.setPackageName("");
  EXPECT_EQ(meta.packageName(), "");
  EXPECT_EQ(toJson(meta).dump(), R"({"_packageName":""})");
}

TEST(ProtoMeta, AnEmptyMetaReadsTheDefaults) {
  ProtoMeta meta = fromJson<ProtoMeta>(json("{}"));
  EXPECT_EQ(meta.packageName(), "mirel");
  EXPECT_EQ(meta.structureStyle(), ProtoMeta::StructureStyle::nested);
  EXPECT_TRUE(meta.typeNameMaps().empty());
  EXPECT_TRUE(meta.propertyEnumMaps().empty());
  EXPECT_EQ(toJson(meta).dump(), "{}");
}

TEST(ProtoMeta, EnumMapsDifferingOnlyInIdentifiersAreUnequal) {
  ProtoMeta::PropertyEnumMap::Case c(testing::uuid(3), "a", "1");
  EXPECT_NE(ProtoMeta::PropertyEnumMap(testing::uuid(1), "status", {c}),
            ProtoMeta::PropertyEnumMap(testing::uuid(2), "status", {c}));
  EXPECT_NE(ProtoMeta::PropertyEnumMap::Case(testing::uuid(1), "a", "1"),
            ProtoMeta::PropertyEnumMap::Case(testing::uuid(2), "a", "1"));
}

TEST(DartMeta, AnEmptyMetaReadsTheDefaults) {
  DartMeta meta = fromJson<DartMeta>(json("{}"));
  EXPECT_EQ(meta.modelPrefix(), "");
  EXPECT_EQ(meta.structureStyle(), DartMeta::StructureStyle::subtypeLast);
  EXPECT_EQ(meta.propertySortMethod(), PropertySortMethod::default_);
  EXPECT_FALSE(meta.allPropertiesFinal());
  EXPECT_TRUE(meta.typeNameMaps().empty());
  EXPECT_TRUE(meta.propertyNameMaps().empty());
  EXPECT_EQ(names(meta.acronyms()), kIdUrl);
  EXPECT_FALSE(meta.needsCopyWith());
  EXPECT_TRUE(meta.needsFromJSON());
  EXPECT_TRUE(meta.needsToJSON());
  EXPECT_EQ(toJson(meta).dump(), "{}");
}

TEST(DartMeta, StoringTheDefaultTruthValueStillDiffersFromUnset) {
  DartMeta off;
  off.setNeedsFromJSON(false);
  DartMeta on;
  on.setNeedsFromJSON(true);
  EXPECT_FALSE(off.needsFromJSON());
  EXPECT_TRUE(on.needsFromJSON());
  EXPECT_NE(off, DartMeta());
  EXPECT_NE(on, DartMeta());
  EXPECT_EQ(toJson(on).dump(), R"({"_needsFromJSON":true})");
}

TEST(GoMeta, AnEmptyMetaReadsTheDefaults) {
  GoMeta meta = fromJson<GoMeta>(json("{}"));
  EXPECT_EQ(meta.packageName(), "main");
  EXPECT_EQ(meta.modelPrefix(), "");
  EXPECT_EQ(meta.structureStyle(), GoMeta::StructureStyle::inline_);
  EXPECT_EQ(meta.propertySortMethod(), PropertySortMethod::default_);
  EXPECT_TRUE(meta.typeNameMaps().empty());
  EXPECT_TRUE(meta.propertyNameMaps().empty());
  EXPECT_EQ(names(meta.acronyms()), kIdUrl);
  EXPECT_EQ(toJson(meta).dump(), "{}");
}

TEST(GoMeta, AStoredDefaultPackageIsWrittenAndBreaksEquality) {
  GoMeta meta;
  meta.setPackageName("main");
  EXPECT_NE(meta, GoMeta());
  EXPECT_EQ(toJson(meta).dump(), R"({"_packageName":"main"})");
}

TEST(GoMeta, ReadsOneSettingAndLeavesTheRestUnset) {
  GoMeta meta = fromJson<GoMeta>(json(R"({"_structureStyle":"subtypeLast"})"));
  GoMeta expected;
  expected.setStructureStyle(GoMeta::StructureStyle::subtypeLast);
  EXPECT_EQ(meta, expected);
}

TEST(SchemaMeta, AStoredDefaultSortIsWrittenAndBreaksEquality) {
  SchemaMeta meta;
  EXPECT_EQ(meta.propertySortMethod(), PropertySortMethod::default_);
  meta.setPropertySortMethod(PropertySortMethod::default_);
  EXPECT_EQ(toJson(meta).dump(), R"({"_propertySortMethod":"default"})");
  EXPECT_NE(meta, SchemaMeta());
  EXPECT_EQ(fromJson<SchemaMeta>(json(R"({"_propertySortMethod":null})")), SchemaMeta());
  EXPECT_EQ(fromJson<SchemaMeta>(json(R"({"_propertySortMethod":"alphabet","x":[]})"))
                .propertySortMethod(),
            PropertySortMethod::alphabet);
}

}  // namespace
}  // namespace telvar
