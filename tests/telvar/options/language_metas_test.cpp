// What each language's options read as when nothing is stored, and the few rules beyond the
// storage convention that the records follow.
#include <string>
#include <vector>

#include "telvar/options/dart_meta.h"
#include "telvar/options/go_meta.h"
#include "telvar/options/kotlin_meta.h"
#include "telvar/options/proto_meta.h"
#include "telvar/options/swift_meta.h"
#include "test_support.h"

namespace telvar {
namespace {

std::vector<std::string> names(const std::vector<Acronym>& acronyms) {
  std::vector<std::string> out;
  for (const Acronym& a : acronyms) out.push_back(a.name());
  return out;
}
const std::vector<std::string> kIdUrl{"ID", "URL"};

TEST(LanguageMetas, UnsetSettingsReadTheDefaults) {
  const SwiftMeta swift;
  EXPECT_EQ(swift.modelPrefix(), "");
  EXPECT_EQ(swift.structureStyle(), SwiftMeta::StructureStyle::nested);
  EXPECT_EQ(swift.modelAccessLevel(), SwiftMeta::AccessLevel::default_);
  EXPECT_EQ(swift.modelType(), SwiftMeta::ModelType::struct_);
  EXPECT_EQ(swift.protocolType(), SwiftMeta::ProtocolType::codable);
  EXPECT_EQ(swift.propertyAccessLevel(), SwiftMeta::AccessLevel::default_);
  EXPECT_EQ(swift.propertyDeclareType(), SwiftMeta::PropertyDeclareType::let);
  EXPECT_EQ(swift.propertySortMethod(), PropertySortMethod::default_);
  EXPECT_FALSE(swift.useSorbelMacros());
  EXPECT_FALSE(swift.needsInitializer());
  EXPECT_EQ(swift.initializer().accessLevel(), SwiftMeta::AccessLevel::default_);
  EXPECT_EQ(swift.initializer().style(), SwiftMeta::Initializer::Style::singleLine);
  EXPECT_EQ(swift.propertyNamingStyle(), SwiftMeta::PropertyNamingStyle::default_);
  EXPECT_EQ(names(swift.acronyms()), kIdUrl);

  const KotlinMeta kotlin;
  EXPECT_EQ(kotlin.packageName(), "mirel");
  EXPECT_EQ(kotlin.structureStyle(), KotlinMeta::StructureStyle::nested);
  EXPECT_EQ(kotlin.propertyDeclareType(), KotlinMeta::PropertyDeclareType::val);
  EXPECT_EQ(names(kotlin.acronyms()), kIdUrl);

  const ProtoMeta proto;
  EXPECT_EQ(proto.packageName(), "mirel");
  EXPECT_EQ(proto.structureStyle(), ProtoMeta::StructureStyle::nested);

  const DartMeta dart;
  EXPECT_EQ(dart.structureStyle(), DartMeta::StructureStyle::subtypeLast);
  EXPECT_FALSE(dart.allPropertiesFinal());
  EXPECT_FALSE(dart.needsCopyWith());
  EXPECT_TRUE(dart.needsFromJSON());
  EXPECT_TRUE(dart.needsToJSON());
  EXPECT_EQ(names(dart.acronyms()), kIdUrl);

  const GoMeta go;
  EXPECT_EQ(go.packageName(), "main");
  EXPECT_EQ(go.structureStyle(), GoMeta::StructureStyle::inline_);
  EXPECT_EQ(names(go.acronyms()), kIdUrl);
}

TEST(LanguageMetas, UnsetAcronymsAreMadeAfreshAtEachReadWithoutBeingStored) {
  SwiftMeta meta;
  EXPECT_NE(meta.acronyms(), meta.acronyms());  // new identifiers each time
  EXPECT_FALSE(meta._acronyms.has_value());
}

TEST(LanguageMetas, EditingTheUnsetInitializerStoresIt) {
  SwiftMeta meta;
  meta.editInitializer([](SwiftMeta::Initializer& i) { i.setStyle(i.style()); });
  EXPECT_EQ(toJson(meta).dump(), R"({"_initializer":{"_style":"singleLine"}})");
}

TEST(LanguageMetas, EnumMapsDifferingOnlyInIdentifiersAreUnequal) {
  ProtoMeta::PropertyEnumMap::Case c(testing::uuid(3), "a", "1");
  EXPECT_NE(ProtoMeta::PropertyEnumMap(testing::uuid(1), "status", {c}),
            ProtoMeta::PropertyEnumMap(testing::uuid(2), "status", {c}));
  EXPECT_NE(ProtoMeta::PropertyEnumMap::Case(testing::uuid(1), "a", "1"),
            ProtoMeta::PropertyEnumMap::Case(testing::uuid(2), "a", "1"));
}

// The words the Swift output writes for each case, in case order.
TEST(LanguageMetas, SwiftCasesDescribeThemselvesWithTheirKeywords) {
  using M = SwiftMeta;
  const std::string_view access[] = {"", "public ", "internal ", "private "};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(description(static_cast<M::AccessLevel>(i)), access[i]);
  }
  const std::string_view protocols[] = {"SorbelModel", "Codable", "Decodable", "Encodable"};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(description(static_cast<M::ProtocolType>(i)), protocols[i]);
  }
  EXPECT_EQ(description(M::ModelType::struct_), "struct");
  EXPECT_EQ(description(M::ModelType::class_), "class");
  EXPECT_EQ(description(M::PropertyDeclareType::let), "let");
  EXPECT_EQ(description(M::PropertyDeclareType::var), "var");
}

// The records built on a path record compare their own column too, not only id and path.
TEST(LanguageMetas, PathRecordsDifferingOnlyInTheirOwnColumnAreUnequal) {
  const Uuid id = testing::uuid(1);
  EXPECT_NE(TypeNameMap(id, "user", "User"), TypeNameMap(id, "user", "Person"));
  EXPECT_NE(SwiftMeta::IdentifiableType(id, "orders", "id"),
            SwiftMeta::IdentifiableType(id, "orders", "sku"));
  ProtoMeta::PropertyEnumMap::Case c(testing::uuid(2), "a", "1");
  EXPECT_NE(ProtoMeta::PropertyEnumMap(id, "status", {c}),
            ProtoMeta::PropertyEnumMap(id, "status", {}));
  EXPECT_EQ(TypeNameMap(id, "user", "User"), TypeNameMap(id, "user", "User"));
}

}  // namespace
}  // namespace telvar
