#include "telvar/value/merge.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/small_stack.h"
#include "support/stack_budget.h"
#include "support/value_print.h"
#include "telvar/parse/json_grammar.h"

namespace telvar {
namespace {

Value json(std::string_view text) {
  auto r = jsonValueParser().parse(text);
  EXPECT_TRUE(r) << text;
  return r ? r->output : Value::empty();
}

Value text(std::string s) { return Value::string(std::move(s)); }

// The fold of the values of each JSON text, described.
std::string fold(const std::vector<std::string_view>& texts) {
  std::vector<Value> values;
  for (auto t : texts) values.push_back(json(t));
  return describe(mergedElements(values));
}

std::string merge(const Value& a, const Value& b) { return describe(mergedWith(a, b)); }

TEST(Merge, FoldsSamplesFromTheLeft) {
  const std::pair<std::vector<std::string_view>, const char*> cases[] = {
      {{}, "empty"},
      {{R"({"a":[1,"x"]})"}, R"({"a": [1, "x"]})"},
      // `empty` as receiver takes the next value, so a later element starts the shape again.
      {{"1", "2.5", "\"x\""}, "empty"},
      // Scalars of one kind: int widens to double, a bool takes the argument's value, a text
      // keeps the receiver's unless that is a web address.
      {{"1", "2.5"}, "double(2.5)"},
      {{"2.5", "1"}, "double(2.5)"},
      {{"1", "2"}, "1"},
      {{"true", "false"}, "false"},
      {{"\"abc\"", "\"def\""}, "\"abc\""},
      {{"\"https://example.com/a\"", "\"def\""}, "\"def\""},
      {{"\"def\"", "\"https://example.com/a\""}, "\"def\""},
      // Other kinds cancel; null makes the other side nullable once.
      {{"true", "1"}, "empty"},
      {{"{}", "[]"}, "empty"},
      {{"1", "null"}, "null(1)"},
      {{"null", "1"}, "null(1)"},
      {{"null", "null"}, "null"},
      {{"1", "null", "2.5", "null"}, "null(double(2.5))"},
      // Objects merge members; one-sided members become nullable unless already null.
      {{R"({"a":1})", R"({"a":2,"b":"x"})"}, R"({"a": 1, "b": null("x")})"},
      {{R"({"a":null})", "{}"}, R"({"a": null})"},
      // Key order: the receiver's keys, then the argument's new keys in its order.
      {{R"({"x":1,"b":true})", R"({"c":1,"x":2.5,"d":null,"b":false})"},
       R"({"x": double(2.5), "b": false, "c": null(1), "d": null})"},
      // Keys match by canonical equivalence; the receiver's spelling stays.
      {{"{\"caf\u00E9\":1}", "{\"cafe\u0301\":2.5}"}, "{\"caf\u00E9\": double(2.5)}"},
      // Arrays merge into one element folded from both sides.
      {{"[1]", "[2.5,3]"}, "[double(2.5)]"},
      {{"[1,2]", "[\"x\"]"}, "[empty]"},
      {{"[[1],[null]]", "[]"}, "[[null(1)]]"},
      {{R"([{"a":1}])", R"([{"b":2}])"}, R"([{"a": null(1), "b": null(2)}])"},
  };
  for (const auto& [texts, expected] : cases) {
    EXPECT_EQ(fold(texts), expected) << (texts.empty() ? "" : texts[0]);
  }
}

// Cases that parsing alone never produces, and nulls on either side.
TEST(Merge, RefinedCasesAndNullsOnEitherSide) {
  EXPECT_EQ(merge(Value::date(Value::DateKind::iso8601), text("2020")), "empty");
  EXPECT_EQ(merge(Value::url({"https://a.example"}), json("1")), "empty");
  Value e = Value::enum_({"R"}, Value::RawType::string, {{"a", "a"}});
  EXPECT_EQ(merge(e, e), "empty");
  Value d = Value::dictionary({"R"}, json("1"));
  EXPECT_EQ(merge(d, d), "empty");
  EXPECT_EQ(merge(text("a"), Value::empty()), "\"a\"");
  EXPECT_EQ(merge(Value::null(), Value::null(json("1"))), "null(1)");
  EXPECT_EQ(merge(Value::null(json("1")), json("2.5")), "null(double(2.5))");
  // The receiver keeps its texts, URL and date kind; a null argument makes its inner value the
  // receiver of the inner merge.
  EXPECT_EQ(merge(text("x"), Value::null(text("y"))), "null(\"y\")");
  EXPECT_EQ(merge(Value::null(text("y")), text("x")), "null(\"y\")");
  const Value a = Value::url({"https://a.example"});
  EXPECT_EQ(merge(a, Value::url({"https://b.example"})), "url(https://a.example)");
  EXPECT_EQ(merge(a, text("plain")), "\"plain\"");
  EXPECT_EQ(merge(Value::date(Value::DateKind::iso8601),
                  Value::date(Value::DateKind::timeIntervalSince1970)),
            "date(iso8601)");
}

TEST(Merge, ObjectsAndArraysKeepTheReceiversNames) {
  ValueMap members;
  members.insertOrAssign("k", json("1"));
  Value a = Value::object({"Root", "a"}, members, {"k"});
  Value b = Value::object({"Root", "b"}, members, {"k"});
  EXPECT_EQ(merge(a, b), R"({<Root.a> "k": 1})");
  EXPECT_EQ(merge(Value::array({"A"}, {}), Value::array({"B"}, {})), "[<A> empty]");
  // Through a null argument the inner value is the receiver, so its names win.
  EXPECT_EQ(merge(a, Value::null(b)), R"(null({<Root.b> "k": 1}))");
}

TEST(Merge, DeeplyNestedSamplesMergeWithoutExhaustingTheStack) {
  std::string deep = std::string(511, '[') + R"({"a":1})" + std::string(511, ']');
  std::string other = std::string(511, '[') + R"({"b":2})" + std::string(511, ']');
  std::string expected =
      std::string(511, '[') + R"({"a": null(1), "b": null(2)})" + std::string(511, ']');
  const Value a = json(deep);
  const Value b = json(other);
  std::string merged;
  ASSERT_TRUE(testing::runOnSmallStack(testing::stackBudget(512 * 1024),
                                       [&] { merged = describe(mergedWith(a, b)); }));
  EXPECT_EQ(merged, expected);
}

}  // namespace
}  // namespace telvar

namespace telvar {
namespace {

TEST(Merge, RecordsWithKeysOfTheirOwnFoldAsTheStepByStepMerge) {
  // Wide records: each brings keys the others lack, in its own order, some equivalent under
  // canonical composition; the fold finds them by hashing and must keep the stepwise result,
  // key order included.
  std::vector<std::string> records;
  for (int r = 0; r < 6; ++r) {
    std::string record = "{";
    for (int k = 0; k < 40; ++k) {
      record += "\"k" + std::to_string((r * 7 + k) % 90) + "\":";
      record += (k + r) % 5 == 0 ? "null" : (k % 3 == 0 ? "\"t\"" : std::to_string(k));
      record += ",";
    }
    record += r % 2 ? R"("caf\u00e9":1,"o":{"x":1})" : R"("cafe\u0301":2.5,"o":{"y":null})";
    records.push_back(record + "}");
  }
  std::vector<Value> values;
  for (const std::string& record : records) values.push_back(json(record));
  std::vector<Value> repeated = values;
  repeated.insert(repeated.end(), values.begin(), values.end());
  Value stepwise = repeated.front();
  for (std::size_t i = 1; i < repeated.size(); ++i) stepwise = mergedWith(stepwise, repeated[i]);
  EXPECT_EQ(describe(mergedElements(repeated)), describe(stepwise));
}

TEST(Merge, AFoldOverManyRecordsEqualsTheStepByStepMerge) {
  // The fold changes its own accumulator in place where it can; the result must be the one of
  // merging step by step, whatever the mix of shapes, key orders, nulls and nested lists.
  const std::vector<std::string_view> records{
      R"({"a":1,"b":"x","c":{"d":[1,2],"e":null},"f":[{"g":1}]})",
      R"({"a":2.5,"b":"https://example.com","c":{"d":[],"e":"y"},"f":[{"g":2},{"g":null}]})",
      R"({"a":3,"b":"z","c":{"d":[3.5],"e":{"h":1}},"f":[]})",
      R"({"b":"w","a":4,"c":{"e":1,"d":[4]},"f":[{"g":"t"}]})",
      R"({"a":5,"b":null,"c":null,"f":[{"g":1,"i":true}]})",
      R"({"a":6,"b":"v","c":{"d":[[1],[2]],"e":2},"f":[{"g":1}],"j":[]})",
      R"({"a":7,"b":"u","c":{"d":[5],"e":3},"f":[{"g":2}]})",
      R"([1])",
  };
  for (std::size_t n = 1; n <= records.size(); ++n) {
    std::vector<Value> values;
    for (std::size_t i = 0; i < n; ++i) values.push_back(json(records[i]));
    Value stepwise = values.front();
    for (std::size_t i = 1; i < n; ++i) stepwise = mergedWith(stepwise, values[i]);
    // Repeats make the accumulator its own node early, so later steps are taken in place.
    std::vector<Value> repeated;
    for (int round = 0; round < 3; ++round)
      repeated.insert(repeated.end(), values.begin(), values.end());
    Value stepwiseRepeated = repeated.front();
    for (std::size_t i = 1; i < repeated.size(); ++i) {
      stepwiseRepeated = mergedWith(stepwiseRepeated, repeated[i]);
    }
    EXPECT_EQ(describe(mergedElements(values)), describe(stepwise)) << n;
    EXPECT_EQ(describe(mergedElements(repeated)), describe(stepwiseRepeated)) << n;
    // The inputs are left as they were.
    EXPECT_EQ(describe(values.front()), describe(json(records[0])));
  }
}

TEST(Merge, OptionalMembersFoldAsTheStepByStepMerge) {
  // Members absent from some records become nulls around their values, and the fold merges into
  // those in place: a null with or without a value, an object, a list of nullable objects, and
  // a value met only after its null must all come out as merging step by step gives.
  const std::vector<std::string_view> records{
      R"({"a":{"v":1},"b":null,"c":[{"x":1},null]})",
      R"({"b":{"w":"t"},"d":1})",
      R"({"a":null,"b":{"w":null,"z":2.5},"c":[null,{"y":true}]})",
      R"({"a":{"v":2.5,"u":"https://example.com"},"c":[],"d":null})",
      R"({"b":null,"d":"x","c":[{"x":null}]})",
      R"({"a":{"u":"s"},"b":{"w":"r"},"d":2})",
  };
  std::vector<Value> values;
  for (int round = 0; round < 3; ++round) {
    for (std::string_view record : records) values.push_back(json(record));
  }
  Value stepwise = values.front();
  for (std::size_t i = 1; i < values.size(); ++i) stepwise = mergedWith(stepwise, values[i]);
  EXPECT_EQ(describe(mergedElements(values)), describe(stepwise));
  EXPECT_EQ(describe(values[1]), describe(json(records[1])));  // the inputs are left as they were

  // Nulls with values on the argument's side too (merged samples are such nulls).
  std::vector<Value> nulls{json(R"({"a":1})"),
                           json("null"),
                           Value::null(json(R"({"b":2})")),
                           json(R"({"a":2.5,"c":[1]})"),
                           Value::null(json(R"({"c":[null]})")),
                           Value::empty(),
                           json("null")};
  Value stepwiseNulls = nulls.front();
  for (std::size_t i = 1; i < nulls.size(); ++i) {
    stepwiseNulls = mergedWith(stepwiseNulls, nulls[i]);
  }
  EXPECT_EQ(describe(mergedElements(nulls)), describe(stepwiseNulls));
}

}  // namespace
}  // namespace telvar
