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
  EXPECT_EQ(std::move(blocks).file("head"), "head\n\nab\n\na long block\n\ncd\n\nef");

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

// The subtype styles let a sample given up go before they write: what they write must still be
// every nested code, whole (a code that borrowed from the sample would read freed memory here).
TEST(SubtypeFile, WritesTheSameCodesWhenTheSampleIsGivenUp) {
  const Value kept = refinedSample(kSample);
  const Code rootCode(kept);
  std::vector<Code> seen;
  // Each text longer than the one before, so that none is taken for a repeat of the root's.
  const Write write = [&](CodePrinter& p, const Code& code) {
    seen.push_back(code);
    p.line(std::string(seen.size(), 'x'));
    return true;
  };
  std::vector<Code> expected = nestedCodes(kept, rootCode, Order::childrenFirst);
  expected.push_back(rootCode);
  (void)subtypeFile(refinedSample(kSample), rootCode, "", {}, {}, write, RootPlace::last);
  EXPECT_EQ(seen, expected);

  seen.clear();
  expected = {rootCode};
  for (const Code& code : nestedCodes(kept, rootCode, Order::parentFirst)) expected.push_back(code);
  (void)subtypeFile(refinedSample(kSample), rootCode, "", {}, {}, write, RootPlace::first);
  EXPECT_EQ(seen, expected);
}

// The root's declaration goes to the drain as it is written, and only its size is kept: a nested
// declaration of that size must still be told from it by its text, in both orders, and a root
// that repeats a nested declaration is left out only where the style asks, though its text went
// through the printer's drain. Declarations of 3 MB, so that the drain takes text mid-way.
TEST(SubtypeFile, TellsDeclarationsOfTheRootsSizeByTheirText) {
  constexpr std::string_view sample = R"({"a": {"x": 1}, "b": {"y": 2}, "c": {"z": 3}})";
  const Value kept = refinedSample(sample);
  const Code rootCode(kept);
  const std::vector<Code> nested = nestedCodes(kept, rootCode, Order::parentFirst);
  ASSERT_EQ(nested.size(), 3U);
  // One long text, its last line's last letter given.
  const auto longText = [](CodePrinter& p, char last) {
    for (int i = 0; i < 200000; ++i) {
      p.line("member ", i);
      p.settle();
    }
    p.line("las", last);
  };
  const auto text = [&](char last) {
    std::string out;
    CodePrinter p(out, "  ", 0);
    longText(p, last);
    return out;
  };
  const std::string root = text('t');
  const std::string b = text('y');  // the root's size, another text
  for (bool aRepeatsRoot : {true, false}) {
    SCOPED_TRACE(aRepeatsRoot);
    const std::string a = text(aRepeatsRoot ? 't' : 'x');
    const Write write = [&](CodePrinter& p, const Code& code) {
      if (code == nested[0]) {
        longText(p, a.back());
      } else if (code == nested[1]) {
        longText(p, 'y');
      } else if (code == nested[2]) {
        p.line("c");
      } else {
        longText(p, 't');
      }
      return true;
    };
    const std::string head = "head\n\n";
    const std::string rootFirst =
        head + root + (aRepeatsRoot ? "" : "\n\n" + a) + "\n\n" + b + "\n\nc";
    const std::string nestedFirst = head + a + "\n\n" + b + "\n\nc";
    for (auto [place, expected] :
         {std::pair{RootPlace::first, rootFirst},
          std::pair{RootPlace::last, nestedFirst + "\n\n" + root},
          std::pair{RootPlace::lastUnlessRepeated,
                    aRepeatsRoot ? nestedFirst : nestedFirst + "\n\n" + root}}) {
      SCOPED_TRACE(static_cast<int>(place));
      EXPECT_EQ(subtypeFile(refinedSample(sample), rootCode, "head", {}, {}, write, place),
                expected);
      std::string drained;
      const TextDrain drain = [&](std::string_view part) { drained += part; };
      const std::optional<std::string> rest =
          subtypeFile(refinedSample(sample), rootCode, "head", {}, drain, write, place);
      ASSERT_TRUE(rest);
      EXPECT_FALSE(drained.empty());
      EXPECT_EQ(drained + *rest, expected);
    }
  }
}

// Nothing when nothing is written, whatever the root's place: never the header alone.
TEST(SubtypeFile, NothingWhenNothingIsWritten) {
  const Value kept = refinedSample(kSample);
  const Code rootCode(kept);
  const Write none = [](CodePrinter&, const Code&) { return false; };
  for (RootPlace place : {RootPlace::first, RootPlace::last, RootPlace::lastUnlessRepeated}) {
    EXPECT_EQ(subtypeFile(refinedSample(kSample), rootCode, "head", {}, {}, none, place),
              std::nullopt);
  }
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
