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
  // Described, so that key spellings, which string and which number was kept count too.
  const std::string merged = describe(merging->output);
  const std::string fold = describe(expected);
  EXPECT_TRUE(merged == fold) << what << "\n  merged: " << merged.substr(0, 400)
                              << "\n  expected: " << fold.substr(0, 400);
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

// Arrays of a megabyte are parsed in pieces at once; the result must be the same as reading the
// whole array in order, also where a piece cannot be read on its own.
constexpr std::size_t kLarge = std::size_t{1} << 20;
constexpr std::size_t kMiddle = 8000;  // an element well inside the array

TEST(LargeJsonArrays, GiveTheSameResultAsReadingInOrder) {
  const std::string array = largeArray(kLarge);
  expectLargeTextParsesAsInOrder(array, "records");
  expectMergingParseMatchesPlainParse(array + " trailing", "records with text after them");
  expectLargeTextParsesAsInOrder("{\"records\":" + array + ",\"more\":[1,\"a\"]}",
                                 "records inside an object");
  expectLargeTextParsesAsInOrder("[" + array + "," + array + "]", "an array of records");
}

TEST(LargeJsonArrays, FailingHalfWayReadsAsInOrder) {
  const std::string array = largeArray(kLarge);
  expectLargeTextParsesAsInOrder(largeArray(kLarge, "{\"a\":}", kMiddle), "a bad element");
  expectLargeTextParsesAsInOrder(largeArray(kLarge, "1,,2", kMiddle), "two commas");
  expectLargeTextParsesAsInOrder(largeArray(kLarge, "\"\xFF\"", kMiddle), "ill-formed UTF-8");
  expectLargeTextParsesAsInOrder(largeArray(kLarge, "nul", kMiddle), "a cut-off literal");
  expectLargeTextParsesAsInOrder(array.substr(0, array.size() - 1), "no closing bracket");
  expectLargeTextParsesAsInOrder(array.substr(0, array.size() / 2), "cut off half-way");
  expectLargeTextParsesAsInOrder(array.substr(0, array.size() - 1) + ",]", "a last comma");
}

TEST(LargeJsonArrays, HostileStringsReadAsInOrder) {
  // A quotation mark with a combining mark does not end a string, which a quick scan misses.
  expectLargeTextParsesAsInOrder(largeArray(kLarge, "\"a\"\u0301,]\"", kMiddle),
                                 "a joined quotation mark");
  expectLargeTextParsesAsInOrder(largeArray(kLarge, "\"\\\u0301\"", kMiddle), "a joined backslash");
  // A prepended mark before one does not join it: the string ends, or the escape begins.
  expectLargeTextParsesAsInOrder(largeArray(kLarge, "\"\u0600\",\"\u06DD\\\"],\"", kMiddle),
                                 "prepended marks before a quotation mark and a backslash");
  std::string commas = "\"\"\u0301";
  for (int i = 0; i < 100000; ++i) commas += ",x";
  expectLargeTextParsesAsInOrder(largeArray(kLarge, commas + "\"", kMiddle),
                                 "a long string that seems to end early");
  std::string brackets = "\"";
  for (int i = 0; i < 20000; ++i) brackets += "],[{\\\"}";
  expectLargeTextParsesAsInOrder(largeArray(kLarge, brackets + "\"", kMiddle),
                                 "a string of brackets, commas and escaped quotes");
}

TEST(LargeJsonArrays, DepthIsCountedFromTheRootInEveryPiece) {
  // 511 levels inside the array make 512 in all; 512 inside make 513, one too many.
  for (const int depth : {511, 512}) {
    const std::string deep =
        largeArray(kLarge, std::string(depth, '[') + std::string(depth, ']'), kMiddle);
    EXPECT_EQ(jsonValueParser().parse(deep).has_value(), depth == 511) << depth;
    EXPECT_EQ(jsonMergingValueParser().parse(deep).has_value(), depth == 511) << depth;
  }
}

TEST(LargeJsonArrays, OneHugeElementAmongSmallOnes) {
  const std::string hugeString = "\"" + std::string(3 << 20, 'x') + "\"";
  std::string hugeArray = "[";
  for (int i = 0; i < 200000; ++i) hugeArray += i ? ",[1,\"a\"]" : "[1,\"a\"]";
  hugeArray += "]";
  for (const std::string& huge : {hugeString, hugeArray}) {
    expectLargeTextParsesAsInOrder(largeArray(kLarge, huge, kMiddle), "in the middle");
    expectLargeTextParsesAsInOrder(largeArray(kLarge, huge, 1), "second");
    expectLargeTextParsesAsInOrder(largeArray(kLarge, huge, 0) + "", "first");
  }
}

// Record `i` of `n`: kinds agree in most places, so that the workers' folds stand for their
// elements, but the fold in order must also be kept where they do not: a member that is a number
// in every record and then missing from some (its null would hold a later number than the
// first), members that turn from numbers into texts, one that is a text in a few records, and a
// member of listed objects merged to `empty` early on, which later lists lack and then give as
// null.
std::string record(std::size_t i, std::size_t n) {
  const std::string k = std::to_string(i);
  std::string r = "{\"id\":" + k;
  if (i <= n / 4 || i % 5 != 0) r += ",\"late\":" + k;
  r += ",\"mixed\":" + (i % 1009 == 700 ? "\"s\"" : k);
  r += ",\"phase\":" + (i < n / 2 ? k : "\"p" + k + "\"");
  r += ",\"num\":" + (i % 13 == 0 ? k + ".5" : k);
  r += ",\"link\":\"" + std::string(i % 17 == 3 ? "plain " : "https://example.com/") + k + "\"";
  r += i % 2 ? ",\"cafe\u0301\":" : ",\"caf\u00e9\":";
  r += i % 3 == 0 ? std::string("null") : k;
  if (i >= n / 2 + 3) r += i % 2 ? ",\"A\u030a\":\"x\"" : ",\"\u00c5\":\"y\"";
  if (i % 4 == 1) r += ",\"opt\":null";
  if (i % 4 >= 2) r += i % 4 == 2 ? ",\"opt\":{\"v\":" + k + "}" : ",\"opt\":{\"w\":\"t\"}";
  r += i % 3 == 0   ? ",\"items\":[{\"a\":" + k + ",\"b\":\"x\"},{\"a\":2.5}]"
       : i % 3 == 1 ? ",\"items\":[]"
                    : ",\"items\":[{\"c\":true}]";
  if (i % 6 != 0) r += ",\"grid\":[[" + k + "],[null],[]]";
  r += ",\"flag\":" + std::string(i % 2 ? "true" : "false");
  // Listed objects that lack "gone", and some that give it as null.
  const std::string later = i % 7 ? "[{\"k\":1}]" : "[{\"k\":1,\"gone\":null}]";
  if (i < 100) r += ",\"list\":[{\"gone\":1}]";
  if (i == 100) r += ",\"list\":[{\"gone\":\"s\"}]";
  if (i >= n / 8) r += ",\"list\":" + later;
  // The same after a list of two read as it is, never merged with another.
  if (i == 10) r += ",\"raw\":[{\"gone\":1},{\"gone\":\"s\"}]";
  if (i >= 3 * n / 8) r += ",\"raw\":" + later;
  if (i < 50 || i >= 5 * n / 8) r += ",\"turn\":" + (i < 50 ? k : "\"t" + k + "\"");
  if (i % 9 != 0) r += ",\"deep\":{\"x\":{\"y\":[{\"z\":" + k + "}]}}";
  return r + "}";
}

TEST(LargeJsonArrays, MergeAsTheirElementsOneByOne) {
  constexpr std::size_t kRecords = 8000;  // 1.9 MB: most of them read by the workers
  std::string array = "[";
  for (std::size_t i = 0; i < kRecords; ++i) array += (i ? ",\n" : "") + record(i, kRecords);
  array += "]";
  expectMergingParseMatchesPlainParse(array, "records");
  expectMergingParseMatchesPlainParse("{\"a\":" + array + ",\"b\":" + array + "}",
                                      "records in an object");
}

}  // namespace
}  // namespace telvar
