// Whole-file proto output on inputs too large for golden files: deep nesting, many keys, odd
// indentation settings.
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "support/small_stack.h"
#include "support/stack_budget.h"
#include "telvar/code/code.h"
#include "telvar/generate/generate.h"
#include "telvar/generate/proto/proto_renderers.h"
#include "telvar/model/model.h"
#include "telvar/parse/json_grammar.h"
#include "telvar/refine/rewrites.h"

namespace telvar {
namespace {

Model protoModel(std::string input, ProtoMeta meta = {},
                 std::optional<Indentation> indentation = std::nullopt) {
  return Model(Uuid(), std::move(input), std::move(indentation), std::nullopt, std::nullopt,
               std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
               ProtoOptions(std::nullopt, std::move(meta)));
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

// Objects nested as deep as the grammar allows, each holding the next under "k".
std::string nestedObjects() {
  std::string text;
  for (int i = 0; i < kMaxJsonDepth; ++i) text += "{\"k\":";
  text += "1";
  text += std::string(kMaxJsonDepth, '}');
  return text;
}

TEST(ProtoOutput, NestedMessagesOfTheDeepestSampleNeedLittleStack) {
  const auto parsed = jsonValueParser().parse(nestedObjects());
  ASSERT_TRUE(parsed.has_value());
  const Code code(detected(parsed->output, ValueMeta(), {}, {"Unknown"}));
  std::string text;
  ASSERT_TRUE(testing::runOnSmallStack(testing::stackBudget(64 * 1024), [&] {
    text = generate::protoMessage(code.objectValue(), ProtoMeta(), Indentation(), 0);
  }));
  EXPECT_EQ(count(text, "message K {"), static_cast<std::size_t>(kMaxJsonDepth - 1));
}

TEST(ProtoOutput, IgnoresEnumMapsEvenWithEmptyNames) {
  ProtoMeta meta;
  meta.setPropertyEnumMaps({ProtoMeta::PropertyEnumMap(
      Uuid(), "kind", {ProtoMeta::PropertyEnumMap::Case(Uuid(), "", "A")})});
  const std::string input = R"({"kind": "A", "n": 1})";
  EXPECT_EQ(protoOutput(protoModel(input, meta)), protoOutput(protoModel(input)));
}

// A nested message that repeats one declared before it in the same message is left out whole,
// with the messages inside it and its empty line; one that differs stays.
TEST(ProtoOutput, ARepeatedNestedMessageIsLeftOutWithWhatItHolds) {
  const std::string input =
      R"({"item": {"inner": {"n": 1}}, "items": [{"inner": {"n": 2}}], "x": {"y": true}})";
  const std::optional<std::string> text = protoOutput(protoModel(input));
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text,
            "syntax = \"proto3\";\n"
            "\n"
            "package mirel;\n"
            "\n"
            "message Unknown {\n"
            "  message Item {\n"
            "    message Inner {\n"
            "      int64 n = 1;\n"
            "    }\n"
            "\n"
            "    Inner inner = 1;\n"
            "  }\n"
            "\n"
            "  message X {\n"
            "    bool y = 1;\n"
            "  }\n"
            "\n"
            "  Item item = 1;\n"
            "  repeated Item items = 2;\n"
            "  X x = 3;\n"
            "}");
}

}  // namespace
}  // namespace telvar
