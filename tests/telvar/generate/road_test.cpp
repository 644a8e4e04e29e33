#include "telvar/generate/road.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "telvar/model/model.h"
#include "telvar/value/walks.h"

namespace telvar::generate {
namespace {

// A sample with every shape the walks pass through: objects in lists of lists, nullable objects,
// empty lists, plain nulls, maps of objects, maps of maps, enumerations and a map of enumerations.
constexpr std::string_view kSample = R"({
  "user": {"name": "a", "address": {"city": "b"}},
  "rows": [[{"x": 1, "inner": {"y": 2}}]],
  "maybe": null, "gone": [], "note": {"text": null},
  "people": {"ann": {"age": 1}, "bob": {"age": 2}},
  "grid": {"a": {"p": {"q": 1}}},
  "kind": "x", "kinds": {"k": "x"},
  "tail": 1})";

constexpr std::string_view kDocument = R"({"id": "6F1C2A3B-4D5E-4F60-8172-93A4B5C6D7E8",
  "input": "", "_modelName": "Root",
  "_swiftOptions": {"_swiftMeta": {"_propertyEnumMaps": [
    {"id": "11111111-1111-4111-8111-111111111111", "path": "kind", "cases": [
      {"id": "21111111-1111-4111-8111-111111111111", "name": "a", "value": "x"}]},
    {"id": "12111111-1111-4111-8111-111111111111", "path": "kinds.k", "cases": [
      {"id": "31111111-1111-4111-8111-111111111111", "name": "a", "value": "x"}]}]},
   "_valueMeta": {"_dictionaryObjects": [
    {"id": "81111111-1111-4111-8111-111111111111", "path": "people"},
    {"id": "82111111-1111-4111-8111-111111111111", "path": "grid"},
    {"id": "83111111-1111-4111-8111-111111111111", "path": "grid.a"},
    {"id": "84111111-1111-4111-8111-111111111111", "path": "kinds"}]}}})";

Value refinedSample(std::string_view sample) {
  Model model = modelFromDocumentText(kDocument);
  model.setInput(std::string(sample));
  const SwiftOptions options = model.swiftOptions();
  return refined(
      *parsedInput({model.input(), nullptr}), model, options.valueMeta(),
      options.swiftMeta().propertyEnumMaps(),
      {Rewrite::ignoredProperties, Rewrite::optionalProperties, Rewrite::dictionaryObjects});
}

// Repeats are told by size first and by hash among equal sizes: a repeat of any earlier block
// of its size is left out, a different block of the same size is kept, and the file keeps the
// order of the blocks whichever of them is the largest.
TEST(Blocks, LeavesOutRepeatsAndJoinsInOrder) {
  Blocks blocks;
  blocks.add(std::string("ab"));
  blocks.add(std::string("a long block"));
  blocks.add(std::string("cd"));
  blocks.add(std::string("ab"));
  blocks.add(std::string("cd"));
  blocks.add(std::nullopt);
  blocks.add(std::string("ef"));
  EXPECT_TRUE(blocks.contains("cd"));
  EXPECT_FALSE(blocks.contains("gh"));
  blocks.addUnchecked(std::string("ab"));
  EXPECT_EQ(std::move(blocks).file("head"), "head\n\nab\n\na long block\n\ncd\n\nef\n\nab");

  EXPECT_EQ(Blocks().file("head"), std::nullopt);
  Blocks one;
  one.add(std::string("only"));
  EXPECT_EQ(std::move(one).file(std::string()), "only");
}

// The nested declarations take their code from the root's; it must be what inferring each nested
// value afresh gives, in the walks' order, or every named style would write other declarations.
TEST(NestedCodes, EqualInferringEachNestedValueInBothOrders) {
  for (std::string_view sample :
       {kSample, std::string_view(R"([[{"a": {"b": {"c": 1}}}]])"),
        std::string_view(R"({"people": {"x": {"y": {"z": 1}}}})"), std::string_view("[]"),
        std::string_view("1"), std::string_view(R"({"kinds": {"k": "x"}})")}) {
    SCOPED_TRACE(sample);
    const Value root = refinedSample(sample);
    const Code rootCode(root);
    for (auto [order, values] :
         {std::pair{Order::parentFirst, nestedValuesParentFirst(root)},
          std::pair{Order::childrenFirst, nestedValuesChildrenFirst(root)}}) {
      const std::vector<Code> codes = nestedCodes(root, rootCode, order);
      ASSERT_EQ(codes.size(), values.size());
      for (std::size_t i = 0; i < codes.size(); ++i) EXPECT_EQ(codes[i], Code(values[i])) << i;
    }
  }
}

TEST(NestedCodes, SampleHasDictionariesAndEnumerations) {
  // Guards the test above: the sample must reach the map and enumeration cases.
  bool dictionary = false;
  bool enumeration = false;
  const Value root = refinedSample(kSample);
  for (const Code& code : nestedCodes(root, Code(root), Order::parentFirst)) {
    dictionary |= code.is(Code::Kind::dictionary);
    enumeration |=
        code.is(Code::Kind::propertyType) && code.propertyTypeValue().is(PropertyType::Kind::enum_);
  }
  EXPECT_TRUE(dictionary);
  EXPECT_TRUE(enumeration);
}

// The subtype styles let a sample given up go before they render: what they render must still be
// every nested code, whole (a code that borrowed from the sample would read freed memory here).
TEST(SubtypeBlocks, RenderTheSameCodesWhenTheSampleIsGivenUp) {
  const Value kept = refinedSample(kSample);
  const Code rootCode(kept);
  std::vector<Code> seen;
  const Render render = [&](const Code& code) {
    seen.push_back(code);
    return std::optional<std::string>(std::to_string(seen.size()));
  };
  std::vector<Code> expected = nestedCodes(kept, rootCode, Order::childrenFirst);
  expected.push_back(rootCode);
  (void)subtypeFirstBlocks(refinedSample(kSample), rootCode, render);
  EXPECT_EQ(seen, expected);

  seen.clear();
  expected = {rootCode};
  for (const Code& code : nestedCodes(kept, rootCode, Order::parentFirst)) expected.push_back(code);
  (void)subtypeLastBlocks(refinedSample(kSample), rootCode, render);
  EXPECT_EQ(seen, expected);
}

}  // namespace
// A root code that is not the root's own would pair values with other values' types; that is a
// fault of the caller, and it stops the program instead of writing wrong declarations.
TEST(NestedCodesDeathTest, StopsWhenTheCodeIsNotTheValues) {
  const Value root = refinedSample(R"({"a": {"x": 1}})");
  const Code moreNested(refinedSample(R"({"a": {"x": 1}, "b": {"y": 2}})"));
  const Code otherShape(refinedSample(R"({"a": [{"x": 1}]})"));
  for (Order order : {Order::parentFirst, Order::childrenFirst}) {
    EXPECT_DEATH((void)nestedCodes(root, moreNested, order), "walks list different values");
    EXPECT_DEATH((void)nestedCodes(root, otherShape, order), "paired with another's type");
  }
}

}  // namespace telvar::generate
