// What the golden files cannot show: hand-built code models the inference never makes, and
// bad input (deep nesting, very wide objects, colliding names, odd option values) that must not
// crash, hang or exhaust the stack.
#include <string>

#include <gtest/gtest.h>

#include "telvar/generate/generate.h"
#include "telvar/generate/swift/swift_renderer.h"
#include "telvar/model/model.h"

namespace telvar::generate::swift {
namespace {

using Kind = SwiftMeta::StructureStyle;

Model modelWith(std::string input, SwiftMeta meta = SwiftOptions::defaultSwiftMeta(),
                Indentation indentation = Indentation::default_()) {
  return Model(Uuid::random(), std::move(input), indentation, std::nullopt, std::nullopt,
               std::nullopt, SwiftOptions(std::nullopt, std::move(meta)), std::nullopt,
               std::nullopt, std::nullopt, std::nullopt);
}

SwiftMeta withStyle(Kind style) {
  SwiftMeta meta;
  meta.setStructureStyle(style);
  return meta;
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

Property property(Names names, PropertyType type) {
  return Property{std::move(names), std::move(type)};
}

TEST(SwiftRenderer, WritesTypeTextsTheInferenceNeverMakes) {
  const SwiftRenderer renderer(SwiftMeta{}, Indentation::default_());
  const auto any = PropertyType::optional(std::nullopt);
  EXPECT_EQ(renderer.baseType(any), "Any?");
  EXPECT_EQ(renderer.baseType(PropertyType::dictionary(any)), "[String: Any?]");
  EXPECT_EQ(renderer.baseType(PropertyType::dictionary(PropertyType::optional(
                PropertyType::array(PropertyType::primitive(Primitive::int_()))))),
            "[String: [Int]]");
  EXPECT_EQ(renderer.baseType(
                PropertyType::primitive(Primitive::date(Value::DateKind::timeIntervalSince1970))),
            "Date");
}

TEST(SwiftRenderer, EnumMapNamesTheEnumerationInEveryShape) {
  SwiftMeta meta;
  meta.setPropertyEnumMaps({SwiftMeta::PropertyEnumMap(Uuid::random(), "kinds", {})});
  const SwiftRenderer renderer(meta, Indentation::default_());
  const Names names{"Unknown", "kinds"};
  const auto kind = PropertyType::enum_(Enum{names, Enum::RawType::string, {}});
  // A nullable list of nullable values keeps both question marks.
  EXPECT_EQ(renderer.type(property(
                names, PropertyType::optional(PropertyType::array(PropertyType::optional(kind))))),
            "[Kind?]?");
  // The map names a member that is no enumeration: its own type stays.
  EXPECT_EQ(renderer.type(property(names, PropertyType::primitive(Primitive::double_()))),
            "Double");
}

TEST(SwiftRenderer, RendersAPropertyCodeAsItsLine) {
  const SwiftRenderer renderer(SwiftMeta{}, Indentation{1, "\t"});
  const Code code = Code::property(
      property({"Unknown", "default"}, PropertyType::primitive(Primitive::string())));
  EXPECT_EQ(renderer.render(code, 1), "\tlet `default`: String");
  EXPECT_EQ(renderer.typePath(code, {}), "Unknown");
  EXPECT_EQ(renderer.render(Code::propertyType(PropertyType::primitive(Primitive::int_())), 0),
            std::nullopt);
}

TEST(SwiftRenderer, ReadsTheMembersOfTheJsonTypeBySubscript) {
  const SwiftRenderer renderer(SwiftMeta{}, Indentation::default_());
  EXPECT_EQ(renderer.jsonAccessor("name"), "json.name");
  EXPECT_EQ(renderer.jsonAccessor("isNull"), "json[\"isNull\"]");
  EXPECT_EQ(renderer.jsonAccessor("photoUrl"), "json[\"photoUrl\"]");
  EXPECT_EQ(renderer.jsonAccessor("self"), "json[\"self\"]");
  EXPECT_EQ(renderer.jsonAccessor("Type"), "json[\"Type\"]");
  EXPECT_EQ(renderer.jsonAccessor("a\"b"), "json[\"a\\\"b\"]");

  SwiftMeta meta;
  meta.setAcronyms({Acronym(Uuid::random(), "")});
  // The empty acronym ends every key.
  EXPECT_EQ(SwiftRenderer(meta, Indentation::default_()).jsonAccessor("name"), "json[\"name\"]");
}

TEST(SwiftOutput, SurvivesTheDeepestNestingInEveryStyle) {
  // 512 nested objects, the deepest the grammar accepts.
  std::string input;
  for (int i = 0; i < 511; ++i) input += "{\"a\":";
  input += "{\"b\":1}";
  for (int i = 0; i < 511; ++i) input += '}';
  for (Kind style :
       {Kind::nested, Kind::nestedInExtension, Kind::subtypeFirst, Kind::subtypeLast}) {
    const auto out = swiftOutput(modelWith(input, withStyle(style)));
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(count(*out, "let b: Int"), 1u);
  }

  // An object holding 510 nested lists around one object: 512 levels.
  std::string lists(510, '[');
  lists += "{\"c\":1}";
  lists += std::string(510, ']');
  const auto out = swiftOutput(modelWith("{\"grid\":" + lists + "}"));
  ASSERT_TRUE(out.has_value());
  EXPECT_NE(out->find("let grid: " + std::string(510, '[') + "Grid" + std::string(510, ']')),
            std::string::npos);
}

TEST(SwiftOutput, WritesAWideObjectOfObjectsInEveryStyle) {
  std::string input = "{";
  for (int i = 0; i < 50000; ++i) {
    if (i) input += ',';
    input += "\"k" + std::to_string(i) + "\":{\"x\":" + std::to_string(i) + "}";
  }
  input += '}';
  for (Kind style :
       {Kind::nested, Kind::nestedInExtension, Kind::subtypeFirst, Kind::subtypeLast}) {
    const auto out = swiftOutput(modelWith(input, withStyle(style)));
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(count(*out, "let x: Int"), 50000u);
  }
}

TEST(SwiftOutput, KeepsEveryMemberWhoseNamesCollide) {
  const auto out = swiftOutput(modelWith(R"({"a_b": 1, "aB": 2, "a-b": 3, "": 4, "_": 5})"));
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(count(*out, "let aB: Int"), 3u);
  EXPECT_EQ(count(*out, "let __: Int"), 2u);
}

TEST(SwiftOutput, AcceptsEnumMapsWithEmptyNames) {
  SwiftMeta meta = SwiftOptions::defaultSwiftMeta();
  meta.setPropertyEnumMaps({SwiftMeta::PropertyEnumMap(
      Uuid::random(), "", {SwiftMeta::PropertyEnumMap::Case(Uuid::random(), "", "")})});
  meta.setProtocolType(SwiftMeta::ProtocolType::sorbelModel);
  const auto out = swiftOutput(modelWith(R"({"": "x"})", meta));
  ASSERT_TRUE(out.has_value());
  EXPECT_NE(out->find("  enum __: String {\n  }"), std::string::npos) << *out;
  EXPECT_NE(out->find("__ = .init(rawValue: json[\"\"].string()) ?? <#TODO#>"), std::string::npos)
      << *out;
}

TEST(SwiftOutput, TakesAHugeIndentationUnit) {
  const std::string unit(1000, ' ');
  const auto out = swiftOutput(
      modelWith(R"({"a": {"b": 1}})", SwiftOptions::defaultSwiftMeta(), Indentation{3, unit}));
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(out->rfind(std::string(3000, ' ') + "import Foundation", 0), 0u);
  EXPECT_NE(out->find("\n" + std::string(5000, ' ') + "let b: Int"), std::string::npos);
}

TEST(SwiftOutput, ClampsAHugeDocumentLevel) {
  const auto out = swiftOutput(
      modelWith(R"({"a": 1})", SwiftOptions::defaultSwiftMeta(), Indentation{1'000'000'000, "  "}));
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(out->rfind(std::string(200, ' ') + "import Foundation", 0), 0u);
}

}  // namespace
}  // namespace telvar::generate::swift
