// Whole-file Kotlin generation on inputs a golden file cannot hold (deep, wide, huge
// indentation), and the renderers on codes that inference never makes.
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "../../support/small_stack.h"
#include "../../support/values.h"
#include "telvar/generate/generate.h"
#include "telvar/generate/kotlin/kotlin_renderers.h"
#include "telvar/generate/road.h"

namespace telvar {
namespace {

using generate::kotlin::Style;

Model kotlinModel(std::string input, KotlinMeta meta = {},
                  Indentation indentation = Indentation::default_()) {
  return Model(Uuid::random(), std::move(input), indentation, std::nullopt, OutputType::kotlin,
               std::nullopt, std::nullopt, KotlinOptions(std::nullopt, std::move(meta)),
               std::nullopt, std::nullopt, std::nullopt);
}

KotlinMeta withStyle(KotlinMeta::StructureStyle style) {
  KotlinMeta meta;
  meta.setStructureStyle(style);
  return meta;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(KotlinOutput, DeepNestingRendersInEveryStyle) {
  const std::string input = testing::nestedJson(512);  // 256 objects, each in a list
  for (auto style : {KotlinMeta::StructureStyle::nested, KotlinMeta::StructureStyle::subtypeFirst,
                     KotlinMeta::StructureStyle::subtypeLast}) {
    const auto out = kotlinOutput(kotlinModel(input, withStyle(style)));
    ASSERT_TRUE(out.has_value());
    EXPECT_NE(out->find("val a: List<A>"), std::string::npos);
    if (style == KotlinMeta::StructureStyle::nested) {
      EXPECT_EQ(occurrences(*out, "@Serializable"), 256u);
    }
  }
}

TEST(KotlinOutput, RenderersKeepTheirOwnStackForDeepNesting) {
  const Model model = kotlinModel(testing::nestedJson(512));
  const Value value = generate::refined(*generate::parsedInput(model), model, ValueMeta(), {},
                                        {generate::Rewrite::ignoredProperties});
  const Code code(value);
  const KotlinMeta meta;
  const Indentation indentation;
  std::optional<std::string> text;
  ASSERT_TRUE(testing::runOnSmallStack(64 * 1024, [&] {
    text = generate::kotlin::kotlinRendered(code, Style{meta, indentation}, 0);
  }));
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(occurrences(*text, "data class A ("), 255u);  // and the root, Unknown
}

TEST(KotlinOutput, DeepListsWriteTheirWholeType) {
  constexpr int depth = 510;
  const std::string input =
      "{\"a\": " + std::string(depth, '[') + "1" + std::string(depth, ']') + "}";
  const auto out = kotlinOutput(kotlinModel(input));
  ASSERT_TRUE(out.has_value());
  std::string type;
  for (int i = 0; i < depth; ++i) type += "List<";
  type += "Long" + std::string(depth, '>');
  EXPECT_NE(out->find("  val a: " + type + "\n"), std::string::npos);
}

TEST(KotlinOutput, WideObjectWritesEveryPropertyInOrder) {
  std::string input = "{";
  for (int i = 0; i < 50000; ++i) {
    if (i) input += ',';
    input += "\"k" + std::to_string(i) + "\":" + std::to_string(i);
  }
  input += "}";
  KotlinMeta sorted;
  sorted.setPropertySortMethod(PropertySortMethod::alphabet);
  for (const KotlinMeta& meta : {KotlinMeta(), sorted}) {
    const auto out = kotlinOutput(kotlinModel(input, meta));
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(occurrences(*out, "  val k"), 50000u);
  }
  const auto sortedOut = kotlinOutput(kotlinModel(input, sorted));
  // Plain code order: "k10" before "k2".
  EXPECT_LT(sortedOut->find("val k10:"), sortedOut->find("val k2:"));
}

// Keys that camel-case to one name give one name each time, as the naming rule says; the
// generator neither crashes nor drops any of them.
TEST(KotlinOutput, KeysCollidingAfterCamelCasingAreAllWritten) {
  const auto out = kotlinOutput(kotlinModel(R"({"a_b": 1, "aB": 2, "a-b": 3})"));
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(occurrences(*out, "val aB: Long"), 3u);
  EXPECT_NE(out->find("@SerialName(\"a_b\")"), std::string::npos);
  EXPECT_NE(out->find("@SerialName(\"a-b\")"), std::string::npos);
}

TEST(KotlinOutput, HugeUnitAndLevelStayBounded) {
  const std::string unit(1000, ' ');
  const auto out = kotlinOutput(
      kotlinModel(R"({"a": {"b": 1}})", KotlinMeta(), Indentation{1000000000000, unit}));
  ASSERT_TRUE(out.has_value());
  std::string pad;
  for (int i = 0; i < 100; ++i) pad += unit;
  EXPECT_EQ(out->substr(0, pad.size() + 13), pad + "package mirel");
  // Nested classes go at most one level deeper than the clamped level.
  EXPECT_NE(out->find(pad + unit + "val b: Long"), std::string::npos);
  EXPECT_EQ(out->find(pad + unit + unit), std::string::npos);
  EXPECT_LT(out->size(), 20u * pad.size());
}

TEST(KotlinRenderers, RenderOneCodeByItsCase) {
  const KotlinMeta meta;
  const Indentation indentation;
  const Style style{meta, indentation};
  const Property id{{"Unknown", "user_id"}, PropertyType::primitive(Primitive::int_())};
  EXPECT_EQ(generate::kotlin::kotlinRendered(Code::property(id), style, 1),
            "  @SerialName(\"user_id\")\n  val userID: Long");
  EXPECT_FALSE(generate::kotlin::kotlinRendered(
      Code::dictionary(Dictionary{{"Unknown"}, PropertyType::primitive(Primitive::string())}),
      style, 0));
  EXPECT_FALSE(generate::kotlin::kotlinRendered(
      Code::propertyType(PropertyType::array(PropertyType::optional(std::nullopt))), style, 0));
  const Object inner{
      {"Unknown", "x"},
      {Property{{"Unknown", "x", "n"}, PropertyType::primitive(Primitive::bool_())}}};
  EXPECT_EQ(generate::kotlin::kotlinRendered(Code::propertyType(PropertyType::optional(
                                                 PropertyType::array(PropertyType::object(inner)))),
                                             style, 0),
            "@Serializable\ndata class X (\n  val n: Boolean\n)");
}

TEST(KotlinRenderers, TypeTextsOfTypesInferenceGivesKotlinNone) {
  KotlinMeta meta;
  const auto dictionary = PropertyType::dictionary(PropertyType::primitive(Primitive::int_()));
  const auto enumeration = PropertyType::enum_(Enum{{"Unknown", "e"}, Enum::RawType::string, {}});
  EXPECT_EQ(generate::kotlin::kotlinBaseType(dictionary, meta), "");
  EXPECT_EQ(generate::kotlin::kotlinBaseType(enumeration, meta), "");
  EXPECT_EQ(
      generate::kotlin::kotlinBaseType(
          PropertyType::optional(PropertyType::optional(PropertyType::primitive(Primitive::url()))),
          meta),
      "URL??");
  // A type-name map drops its name on a dictionary and names an enumeration.
  meta.setTypeNameMaps(
      {TypeNameMap(Uuid::random(), "d", "Scores"), TypeNameMap(Uuid::random(), "e", "Kind")});
  EXPECT_EQ(generate::kotlin::kotlinType(Property{{"Unknown", "d"}, dictionary}, meta), "");
  EXPECT_EQ(generate::kotlin::kotlinType(Property{{"Unknown", "e"}, enumeration}, meta), "Kind");
  EXPECT_EQ(generate::kotlin::kotlinType(
                Property{{"Unknown", "d"}, PropertyType::optional(std::nullopt)}, meta),
            "Scores?");
}

}  // namespace
}  // namespace telvar
