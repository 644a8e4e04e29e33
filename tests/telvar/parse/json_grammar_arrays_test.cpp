#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "support/value_print.h"
#include "telvar/parse/json_grammar.h"
#include "telvar/value/merge.h"

namespace telvar {
namespace {

// What the merging parser must give: the plain parse with every array that lies inside no other
// array replaced by its merged element.
Value mergedOutsideArrays(const Value& value) {
  if (value.is(Value::Kind::array)) {
    const auto& values = value.arrayValue().values;
    if (values.empty()) return value;
    return Value::array(value.arrayValue().names, {mergedElements(values)});
  }
  if (value.is(Value::Kind::object)) {
    const Value::Object& object = value.objectValue();
    std::vector<ValueMap::Member> members;
    for (const auto& [key, member] : object.dictionary.entries()) {
      members.emplace_back(key, mergedOutsideArrays(member));
    }
    return Value::object(object.names, ValueMap(std::move(members)),
                         object.orderedKeys().toVector());
  }
  return value;
}

void expectMergingParseMatchesPlainParse(std::string_view text, std::string_view what) {
  auto plain = jsonValueParser().parse(text);
  auto merging = jsonMergingValueParser().parse(text);
  ASSERT_EQ(plain.has_value(), merging.has_value()) << what;
  if (!plain) return;
  const Value expected = mergedOutsideArrays(plain->output);
  EXPECT_TRUE(merging->output == expected)
      << what << "\n  merged: " << describe(merging->output).substr(0, 400)
      << "\n  expected: " << describe(expected).substr(0, 400);
  EXPECT_EQ(merging->rest.text, plain->rest.text) << what;
}

TEST(MergingJsonGrammar, ArraysOutsideArraysAreTheirMergedElementAndTheRestIsUnchanged) {
  for (std::string_view text : {"[]",
                                "[ ]",
                                "[1]",
                                "[1, 2.5]",
                                "[1, \"a\"]",
                                "[true, 1, \"x\"]",
                                "[1,]",
                                "[,]",
                                "[[1], [\"a\", 2]]",
                                "[{\"a\": [1]}, {\"a\": [\"s\", true]}]",
                                R"({"a": [1, 2], "b": {"c": [{"x": 1}, {"y": 2}]}, "d": []})",
                                "[null, {\"a\": 1}, {\"a\": null, \"b\": 2}]",
                                "[1] tail",
                                " [ 1 , 2 ] x",
                                "1",
                                "\"s\"",
                                "{}",
                                "[1,,]",
                                "[1 2]",
                                "[1",
                                "[\"a\"\u0301\", 1]",
                                "x"}) {
    expectMergingParseMatchesPlainParse(text, text);
  }
}

// Elements whose fold depends on its order: kinds that merge to nothing, members that come and
// go, strings with commas, brackets, escapes and marks that a quick scan may take for structure.
std::string element(std::size_t i) {
  switch (i % 9) {
    case 0:
      return R"({"a":1,"b":"x,]}[{"})";
    case 1:
      return R"({"b":"http://h/x","a":2.5,"c":[1,"s",true]})";
    case 2:
      return R"({"a":null,"q":"\"quoted\\\"","z":[[1],[2.5]]})";
    case 3:
      return "{\"a\":\"caf\u00E9 \\u0041\",\"n\":{\"deep\":[{\"x\":1}]}}";
    case 4:
      return "5";
    case 5:
      return "\"text, with ] and }\"";
    case 6:
      return "[1,{\"a\":2}]";
    case 7:
      return "{\"a\":true,\"b\":\"\u65E5\u672C\"}";
    default:
      return "null";
  }
}

std::string largeArray(std::size_t bytes, const std::string& inserted = "",
                       std::size_t insertAt = 0) {
  std::string text = "[";
  for (std::size_t i = 0; text.size() < bytes; ++i) {
    if (i > 0) text += i % 3 == 0 ? ",\n" : ",";
    text += inserted.empty() || i != insertAt ? element(i) : inserted;
  }
  return text + "]";
}

// Both parses of a large text; an array inside another array is always read in order, so the
// text wrapped in brackets gives the plain parse read in order.
void expectLargeTextParsesAsInOrder(const std::string& text, std::string_view what) {
  expectMergingParseMatchesPlainParse(text, what);
  auto plain = jsonValueParser().parse(text);
  auto inOrder = jsonValueParser().parse("[" + text + "]");
  ASSERT_EQ(plain.has_value(), inOrder.has_value()) << what;
  if (!plain) return;
  ASSERT_EQ(inOrder->output.arrayValue().values.size(), 1u) << what;
  EXPECT_TRUE(plain->output == inOrder->output.arrayValue().values[0]) << what;
}

// Arrays of a few megabytes are parsed in pieces at once; the result must be the same as
// reading the whole array in order, also where a piece cannot be read on its own.
TEST(LargeJsonArrays, GiveTheSameResultAsReadingInOrder) {
  const std::size_t size = std::size_t{1} << 20;
  const std::size_t middle = 8000;  // an element well inside the array
  const std::string array = largeArray(size);
  expectLargeTextParsesAsInOrder(array, "records");
  expectMergingParseMatchesPlainParse(array + " trailing", "records with text after them");
  expectLargeTextParsesAsInOrder("{\"records\":" + array + ",\"more\":[1,\"a\"]}",
                                 "records inside an object");
  expectLargeTextParsesAsInOrder("[" + array + "," + array + "]", "an array of records");
  // A quotation mark with a combining mark does not end a string, which a quick scan misses.
  expectLargeTextParsesAsInOrder(largeArray(size, "\"a\"\u0301,]\"", middle),
                                 "a joined quotation mark");
  expectLargeTextParsesAsInOrder(largeArray(size, "\"\\\u0301\"", middle), "a joined backslash");
  std::string commas = "\"\"\u0301";
  for (int i = 0; i < 100000; ++i) commas += ",x";
  expectLargeTextParsesAsInOrder(largeArray(size, commas + "\"", middle),
                                 "a long string that seems to end early");
  // Depth is counted from the document's root in every piece.
  for (const int depth : {511, 512}) {
    const std::string deep =
        largeArray(size, std::string(depth, '[') + std::string(depth, ']'), middle);
    EXPECT_EQ(jsonValueParser().parse(deep).has_value(), depth == 511) << depth;
    EXPECT_EQ(jsonMergingValueParser().parse(deep).has_value(), depth == 511) << depth;
  }
  // Broken input somewhere in the middle, or at the end.
  expectLargeTextParsesAsInOrder(largeArray(size, "{\"a\":}", middle), "a bad element");
  expectLargeTextParsesAsInOrder(largeArray(size, "1,,2", middle), "two commas");
  expectLargeTextParsesAsInOrder(largeArray(size, "\"\xFF\"", middle), "ill-formed UTF-8");
  expectLargeTextParsesAsInOrder(array.substr(0, array.size() - 1), "no closing bracket");
  expectLargeTextParsesAsInOrder(array.substr(0, array.size() - 1) + ",]", "a last comma");
}

}  // namespace
}  // namespace telvar
