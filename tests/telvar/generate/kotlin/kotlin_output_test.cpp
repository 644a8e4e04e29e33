// The Kotlin renderers on inputs a golden file cannot hold: deep code on a small stack, and codes
// that inference never makes.
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

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(KotlinOutput, RenderersKeepTheirOwnStackForDeepNesting) {
  const Model model = kotlinModel(testing::nestedJson(512));
  const Value value = generate::refined(*generate::parsedInput({model.input(), nullptr}), model,
                                        ValueMeta(), {}, {generate::Rewrite::ignoredProperties});
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

// Nested classes are written into the enclosing text as they finish; one equal to a class its
// parent already holds is taken back out with its separator, whatever follows it.
TEST(KotlinOutput, NestedStyleWritesEqualClassesOnce) {
  KotlinMeta meta;
  meta.setStructureStyle(KotlinMeta::StructureStyle::nested);
  const auto out = kotlinOutput(kotlinModel(
      R"({"a": {"user": {"id": 1}, "users": [{"id": 1}], "other": {"id": "x"}}, "b": {}})", meta));
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(out->substr(out->find("@Serializable")),
            "@Serializable\n"
            "data class Unknown (\n  val a: A,\n  val b: B\n) {\n"
            "  @Serializable\n"
            "  data class A (\n    val user: User,\n    val users: List<User>,\n"
            "    val other: Other\n  ) {\n"
            "    @Serializable\n    data class User (\n      val id: Long\n    )\n\n"
            "    @Serializable\n    data class Other (\n      val id: String\n    )\n"
            "  }\n\n"
            "  @Serializable\n  class B\n"
            "}");
}

// Only a "@SerialName" line sets a declaration apart: an "@" in a mapped type (a type
// annotation) or in the indentation unit does not.
TEST(KotlinOutput, BlankLinesStandOnlyAroundSerialNames) {
  KotlinMeta meta;
  meta.setTypeNameMaps({TypeNameMap(Uuid::random(), "created", "@Contextual Instant")});
  const auto out = kotlinOutput(kotlinModel(R"({"created": "x", "id": 1, "user_id": 2, "n": 3})",
                                            meta, Indentation{0, "@ "}));
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(out->substr(out->find("@Serializable")),
            "@Serializable\n"
            "data class Unknown (\n"
            "@ val created: @Contextual Instant,\n"
            "@ val id: Long,\n"
            "\n"
            "@ @SerialName(\"user_id\")\n"
            "@ val userID: Long,\n"
            "\n"
            "@ val n: Long\n"
            ")");
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
