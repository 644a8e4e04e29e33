// Every options record, table-driven: written to an exact text, read back equal, round-tripped,
// and the exact failure for a missing required key, a wrong type and an unknown case name.
#include <functional>
#include <string>
#include <vector>

#include "telvar/options/output_options.h"
#include "test_support.h"

namespace telvar {
namespace {

using testing::decodingError;
using testing::json;
using testing::uuid;
using Kind = DecodingError::Kind;

// One record under test, with its type erased so that one table holds them all.
struct RecordCase {
  std::string name;
  std::string text;  // the exact compact JSON of the record
  std::function<std::string()> write;
  std::function<bool(const nlohmann::json&)> readsBackEqual;

  friend void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.name; }
};

template <class R>
RecordCase recordCase(std::string name, R record, std::string text) {
  return {std::move(name), std::move(text), [record] { return toJson(record).dump(); },
          [record](const nlohmann::json& j) { return fromJson<R>(j) == record; }};
}

std::string id(int n) { return "\"" + testing::uuidText(n) + "\""; }

SwiftMeta::PropertyEnumMap swiftEnumMap() {
  return {uuid(8), "status", {{uuid(9), "active", "A"}, {uuid(10), "none", ""}}};
}

ValueMeta fullValueMeta() {
  return ValueMeta(true, false, true, std::vector{IgnoredProperty(uuid(4), "secret")},
                   std::vector{DictionaryObject(uuid(5), "counts")}, false,
                   std::vector{ValueMeta::OptionalProperty(uuid(6), "user.nickname")});
}

std::vector<RecordCase> recordCases() {
  std::string u1 = id(1), u2 = id(2), u3 = id(3), u4 = id(4), u5 = id(5), u6 = id(6), u7 = id(7),
              u8 = id(8), u9 = id(9), u10 = id(10);
  std::string enumMapText = R"({"cases":[{"id":)" + u9 + R"(,"name":"active","value":"A"},{"id":)" +
                            u10 + R"(,"name":"none","value":""}],"id":)" + u8 +
                            R"(,"path":"status"})";
  std::string valueMetaText = R"({"_allPropertiesOptional":false,"_dictionaryObjects":[{"id":)" +
                              u5 + R"(,"path":"counts"}],"_ignoredProperties":[{"id":)" + u4 +
                              R"(,"path":"secret"}],"_needsDetectISO8601Date":false,)"
                              R"("_needsDetectTimeIntervalDate":true,"_needsDetectURL":true,)"
                              R"("_optionalProperties":[{"id":)" +
                              u6 + R"(,"path":"user.nickname"}]})";
  std::string acronymsText = R"([{"id":)" + u1 + R"(,"name":"ID"}])";
  std::string typeMapsText = R"([{"id":)" + u2 + R"(,"name":"Address","path":"user.address"}])";
  std::string propertyMapsText = R"([{"id":)" + u3 + R"(,"name":"fullName","path":"user.name"}])";
  std::vector<Acronym> acronyms{Acronym(uuid(1), "ID")};
  std::vector<TypeNameMap> typeMaps{TypeNameMap(uuid(2), "user.address", "Address")};
  std::vector<PropertyNameMap> propertyMaps{PropertyNameMap(uuid(3), "user.name", "fullName")};

  SwiftMeta swift("My", SwiftMeta::StructureStyle::nestedInExtension,
                  SwiftMeta::AccessLevel::public_, SwiftMeta::ModelType::class_,
                  SwiftMeta::ProtocolType::sorbelModel, SwiftMeta::AccessLevel::private_,
                  SwiftMeta::PropertyDeclareType::var, PropertySortMethod::alphabet, true, true,
                  SwiftMeta::Initializer(SwiftMeta::AccessLevel::internal,
                                         SwiftMeta::Initializer::Style::multipleLines),
                  typeMaps, std::vector{SwiftMeta::IdentifiableType(uuid(7), "orders", "id")},
                  propertyMaps, std::vector{swiftEnumMap()},
                  SwiftMeta::PropertyNamingStyle::snakeToCamel, acronyms);
  std::string swiftText =
      R"({"_acronyms":)" + acronymsText + R"(,"_identifiableTypes":[{"id":)" + u7 +
      R"(,"key":"id","path":"orders"}],)" +
      R"("_initializer":{"_accessLevel":"internal","_style":"multipleLines"},)" +
      R"("_modelAccessLevel":"public","_modelPrefix":"My","_modelType":"class",)" +
      R"("_needsInitializer":true,"_propertyAccessLevel":"private",)" +
      R"("_propertyDeclareType":"var","_propertyEnumMaps":[)" + enumMapText +
      R"(],"_propertyNameMaps":)" + propertyMapsText +
      R"(,"_propertyNamingStyle":"snakeToCamel","_propertySortMethod":"alphabet",)" +
      R"("_protocolType":"sorbelModel","_structureStyle":"nestedInExtension",)" +
      R"("_typeNameMaps":)" + typeMapsText + R"(,"_useSorbelMacros":true})";

  KotlinMeta kotlin("com.example", "K", KotlinMeta::StructureStyle::subtypeLast,
                    KotlinMeta::PropertyDeclareType::var, PropertySortMethod::default_, typeMaps,
                    propertyMaps, std::vector<Acronym>{});
  std::string kotlinText = R"({"_acronyms":[],"_modelPrefix":"K","_packageName":"com.example",)"
                           R"("_propertyDeclareType":"var","_propertyNameMaps":)" +
                           propertyMapsText +
                           R"(,"_propertySortMethod":"default","_structureStyle":"subtypeLast",)"
                           R"("_typeNameMaps":)" +
                           typeMapsText + "}";

  ProtoMeta proto("pkg", ProtoMeta::StructureStyle::subtypeFirst, typeMaps,
                  std::vector{ProtoMeta::PropertyEnumMap(
                      uuid(8), "status", {{uuid(9), "active", "A"}, {uuid(10), "none", ""}})});
  std::string protoText = R"({"_packageName":"pkg","_propertyEnumMaps":[)" + enumMapText +
                          R"(],"_structureStyle":"subtypeFirst","_typeNameMaps":)" + typeMapsText +
                          "}";

  DartMeta dart("D", DartMeta::StructureStyle::subtypeFirst, PropertySortMethod::alphabet, true,
                typeMaps, propertyMaps, acronyms, true, false, false);
  std::string dartText = R"({"_acronyms":)" + acronymsText +
                         R"(,"_allPropertiesFinal":true,"_modelPrefix":"D","_needsCopyWith":true,)"
                         R"("_needsFromJSON":false,"_needsToJSON":false,"_propertyNameMaps":)" +
                         propertyMapsText +
                         R"(,"_propertySortMethod":"alphabet","_structureStyle":"subtypeFirst",)"
                         R"("_typeNameMaps":)" +
                         typeMapsText + "}";

  GoMeta go("models", "G", GoMeta::StructureStyle::inline_, PropertySortMethod::alphabet, typeMaps,
            propertyMaps, acronyms);
  std::string goText = R"({"_acronyms":)" + acronymsText +
                       R"(,"_modelPrefix":"G","_packageName":"models","_propertyNameMaps":)" +
                       propertyMapsText +
                       R"(,"_propertySortMethod":"alphabet","_structureStyle":"inline",)"
                       R"("_typeNameMaps":)" +
                       typeMapsText + "}";

  return {
      recordCase("Acronym", Acronym(uuid(1), "ID"), R"({"id":)" + u1 + R"(,"name":"ID"})"),
      recordCase("AcronymWithEmptyName", Acronym(uuid(1), ""), R"({"id":)" + u1 + R"(,"name":""})"),
      recordCase("TypeNameMap", typeMaps[0],
                 R"({"id":)" + u2 + R"(,"name":"Address","path":"user.address"})"),
      recordCase("TypeNameMapWithEmptyPath", TypeNameMap(uuid(2), "", "Root"),
                 R"({"id":)" + u2 + R"(,"name":"Root","path":""})"),
      recordCase("PropertyNameMap", propertyMaps[0],
                 R"({"id":)" + u3 + R"(,"name":"fullName","path":"user.name"})"),
      recordCase("IgnoredProperty", IgnoredProperty(uuid(4), "secret"),
                 R"({"id":)" + u4 + R"(,"path":"secret"})"),
      recordCase("DictionaryObject", DictionaryObject(uuid(5), "counts"),
                 R"({"id":)" + u5 + R"(,"path":"counts"})"),
      recordCase("OptionalProperty", ValueMeta::OptionalProperty(uuid(6), "a.b"),
                 R"({"id":)" + u6 + R"(,"path":"a.b"})"),
      recordCase("IdentifiableType", SwiftMeta::IdentifiableType(uuid(7), "orders", "id"),
                 R"({"id":)" + u7 + R"(,"key":"id","path":"orders"})"),
      recordCase("SwiftPropertyEnumMap", swiftEnumMap(), enumMapText),
      recordCase("SwiftInitializer", SwiftMeta::Initializer(), "{}"),
      recordCase("SwiftInitializerSet",
                 SwiftMeta::Initializer(SwiftMeta::AccessLevel::default_,
                                        SwiftMeta::Initializer::Style::singleLine),
                 R"({"_accessLevel":"default","_style":"singleLine"})"),
      recordCase("ValueMetaEmpty", ValueMeta(), "{}"),
      recordCase("ValueMetaFull", fullValueMeta(), valueMetaText),
      recordCase("SwiftMetaEmpty", SwiftMeta(), "{}"),
      recordCase("SwiftMetaFull", swift, swiftText),
      recordCase("KotlinMetaFull", kotlin, kotlinText),
      recordCase("ProtoMetaFull", proto, protoText),
      recordCase("DartMetaFull", dart, dartText),
      recordCase("GoMetaFull", go, goText),
      recordCase("SchemaMetaFull", SchemaMeta(PropertySortMethod::alphabet),
                 R"({"_propertySortMethod":"alphabet"})"),
      recordCase("SchemaOptionsFull", SchemaOptions(ValueMeta(), SchemaMeta()),
                 R"({"_schemaMeta":{},"_valueMeta":{}})"),
      recordCase("SwiftOptionsFull", SwiftOptions(fullValueMeta(), swift),
                 R"({"_swiftMeta":)" + swiftText + R"(,"_valueMeta":)" + valueMetaText + "}"),
      recordCase("KotlinOptionsFull", KotlinOptions(std::nullopt, kotlin),
                 R"({"_kotlinMeta":)" + kotlinText + "}"),
      recordCase("DartOptionsFull", DartOptions(ValueMeta(true), dart),
                 R"({"_dartMeta":)" + dartText + R"(,"_valueMeta":{"_needsDetectURL":true}})"),
      recordCase("GoOptionsFull", GoOptions(ValueMeta(), go),
                 R"({"_goMeta":)" + goText + R"(,"_valueMeta":{}})"),
      recordCase("ProtoOptionsFull", ProtoOptions(fullValueMeta(), proto),
                 R"({"_protoMeta":)" + protoText + R"(,"_valueMeta":)" + valueMetaText + "}"),
  };
}

class RecordCoding : public ::testing::TestWithParam<RecordCase> {};

TEST_P(RecordCoding, WritesTheExactText) { EXPECT_EQ(GetParam().write(), GetParam().text); }

TEST_P(RecordCoding, ReadsTheTextBackEqual) {
  EXPECT_TRUE(GetParam().readsBackEqual(json(GetParam().text)));
}

TEST_P(RecordCoding, ReadsItsOwnOutputBackEqual) {
  EXPECT_TRUE(GetParam().readsBackEqual(json(GetParam().write())));
}

TEST_P(RecordCoding, IgnoresUnknownMembers) {
  nlohmann::json j = json(GetParam().text);
  j["unknownMember"] = {{"nested", {1, 2, 3}}};
  j["_UNKNOWN"] = "x";
  EXPECT_TRUE(GetParam().readsBackEqual(j));
}

INSTANTIATE_TEST_SUITE_P(EveryRecord, RecordCoding, ::testing::ValuesIn(recordCases()),
                         [](const auto& info) { return info.param.name; });

// One read that must fail, and how.
struct FailureCase {
  std::string name;
  std::function<void(const nlohmann::json&)> read;
  std::string text;
  Kind kind;
  std::vector<std::string> path;

  friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }
};

// A read of record type R that must fail with `kind` at `path`.
template <class R>
FailureCase failure(std::string name, std::string text, Kind kind, std::vector<std::string> path) {
  return {std::move(name), [](const nlohmann::json& j) { (void)fromJson<R>(j); }, std::move(text),
          kind, std::move(path)};
}

std::vector<FailureCase> failureCases() {
  const std::string u1 = id(1);
  return {
      failure<Acronym>("AcronymWithoutName", R"({"id":)" + u1 + "}", Kind::keyNotFound, {"name"}),
      failure<Acronym>("AcronymWithNullId", R"({"id":null,"name":"ID"})", Kind::valueNotFound,
                       {"id"}),
      failure<Acronym>("AcronymWithMalformedId",
                       R"({"id":"00000000-0000-4000-8000-00000000000G","name":"ID"})",
                       Kind::dataCorrupted, {"id"}),
      failure<Acronym>("AcronymAsArray", "[]", Kind::typeMismatch, {}),
      failure<ProtoMeta::PropertyEnumMap>(
          "EnumMapCaseWithoutValue",
          R"({"id":)" + u1 + R"(,"path":"a","cases":[{"id":)" + u1 + R"(,"name":"x"}]})",
          Kind::keyNotFound, {"cases", "0", "value"}),
      failure<ValueMeta>("ValueMetaWithTextForBool", R"({"_needsDetectURL":"yes"})",
                         Kind::typeMismatch, {"_needsDetectURL"}),
      failure<ValueMeta>("ValueMetaWithObjectForList", R"({"_optionalProperties":{}})",
                         Kind::typeMismatch, {"_optionalProperties"}),
      failure<ValueMeta>("ValueMetaWithMalformedRow",
                         R"({"_ignoredProperties":[{"id":)" + u1 + R"(,"path":"a"},{"path":"b"}]})",
                         Kind::keyNotFound, {"_ignoredProperties", "1", "id"}),
      failure<SwiftMeta>("SwiftMetaWithCapitalizedCase", R"({"_protocolType":"Codable"})",
                         Kind::dataCorrupted, {"_protocolType"}),
      failure<SwiftMeta>("SwiftMetaWithUnknownInitializerStyle",
                         R"({"_initializer":{"_style":"multiline"}})", Kind::dataCorrupted,
                         {"_initializer", "_style"}),
      failure<KotlinMeta>("KotlinMetaWithGoStyle", R"({"_structureStyle":"inline"})",
                          Kind::dataCorrupted, {"_structureStyle"}),
      failure<DartMeta>("DartMetaWithNestedStyle", R"({"_structureStyle":"nested"})",
                        Kind::dataCorrupted, {"_structureStyle"}),
      failure<SchemaMeta>("SchemaMetaWithEmptySort", R"({"_propertySortMethod":""})",
                          Kind::dataCorrupted, {"_propertySortMethod"}),
      failure<SwiftOptions>("SwiftOptionsWithBadNestedCase",
                            R"({"_valueMeta":{},"_swiftMeta":{"_modelType":"Struct"}})",
                            Kind::dataCorrupted, {"_swiftMeta", "_modelType"}),
      failure<KotlinOptions>("KotlinOptionsWithBadValueMeta",
                             R"({"_valueMeta":{"_allPropertiesOptional":"true"}})",
                             Kind::typeMismatch, {"_valueMeta", "_allPropertiesOptional"}),
  };
}

class RecordDecodingFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(RecordDecodingFailure, FailsWithTheExactError) {
  const FailureCase& c = GetParam();
  nlohmann::json j = json(c.text);
  EXPECT_THAT([&] { c.read(j); }, decodingError(c.kind, c.path));
}

INSTANTIATE_TEST_SUITE_P(EveryRecord, RecordDecodingFailure, ::testing::ValuesIn(failureCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace telvar
