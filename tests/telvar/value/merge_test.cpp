#include "telvar/value/merge.h"

#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/value_print.h"
#include "telvar/parse/json_grammar.h"

namespace telvar {
namespace {

using ::testing::ElementsAre;

Value integer(std::int64_t i) { return Value::number(Value::Number::int_(i)); }
Value real(double d) { return Value::number(Value::Number::double_(d)); }
Value text(std::string s) { return Value::string(std::move(s)); }

Value parsed(std::string_view json) {
  auto r = jsonValueParser().parse(json);
  EXPECT_TRUE(r) << json;
  return r ? r->output : Value::empty();
}

Value fold(std::vector<Value> values) { return mergedElements(values); }

Value objectOf(std::vector<std::pair<std::string, Value>> members) {
  ValueMap map;
  std::vector<std::string> keys;
  for (auto& [key, value] : members) {
    keys.push_back(key);
    map.insertOrAssign(key, value);
  }
  return Value::object({}, std::move(map), std::move(keys));
}

TEST(MergedElements, AnEmptyListIsEmptyAndOneElementIsItself) {
  EXPECT_EQ(fold({}), Value::empty());
  Value one = parsed(R"({"a":[1,"x"]})");
  EXPECT_EQ(fold({one}), one);
}

TEST(MergedElements, FoldsFromTheLeft) {
  // (1 with 2.5) is 2.5, and 2.5 with "x" cancels to nothing known.
  EXPECT_EQ(fold({integer(1), real(2.5), text("x")}), Value::empty());
  // `empty` as receiver takes the next value, so a later element starts the shape again.
  EXPECT_EQ(fold({integer(1), text("x"), Value::bool_(true)}), Value::bool_(true));
  EXPECT_EQ(fold({integer(1), text("x"), Value::null()}), Value::null());
}

TEST(Merge, NumbersWidenToDoubleTakingTheDoubleSide) {
  EXPECT_EQ(fold({integer(1), real(2.5)}), real(2.5));
  EXPECT_EQ(fold({real(2.5), integer(1)}), real(2.5));
  EXPECT_EQ(fold({integer(1), integer(2)}), integer(1));
  EXPECT_EQ(fold({real(1.5), real(2.5)}), real(2.5));
}

TEST(Merge, BoolsCombineWithLogicalAnd) {
  EXPECT_EQ(fold({Value::bool_(true), Value::bool_(false)}), Value::bool_(false));
  EXPECT_EQ(fold({Value::bool_(false), Value::bool_(true)}), Value::bool_(false));
  EXPECT_EQ(fold({Value::bool_(true), Value::bool_(true)}), Value::bool_(true));
}

TEST(Merge, IncompatibleKindsCancelToEmpty) {
  EXPECT_EQ(fold({integer(1), text("a")}), Value::empty());
  EXPECT_EQ(fold({Value::bool_(true), integer(1)}), Value::empty());
  EXPECT_EQ(fold({parsed("{}"), parsed("[]")}), Value::empty());
  EXPECT_EQ(fold({Value::date(Value::DateKind::iso8601), text("2020")}), Value::empty());
  EXPECT_EQ(fold({Value::url({"https://a.example"}), integer(1)}), Value::empty());
  Value e = Value::enum_({"R"}, Value::RawType::string, {{"a", "a"}});
  EXPECT_EQ(fold({e, e}), Value::empty());
  Value d = Value::dictionary({"R"}, integer(1));
  EXPECT_EQ(fold({d, d}), Value::empty());
}

TEST(Merge, EmptyGivesWayToTheOtherSide) {
  EXPECT_EQ(mergedWith(Value::empty(), Value::empty()), Value::empty());
  EXPECT_EQ(mergedWith(Value::empty(), text("a")), text("a"));
  EXPECT_EQ(mergedWith(text("a"), Value::empty()), text("a"));
  EXPECT_EQ(mergedWith(Value::empty(), Value::null()), Value::null());
  EXPECT_EQ(mergedWith(Value::null(), Value::empty()), Value::null());
}

TEST(Merge, NullMakesTheOtherSideNullableWithoutWrappingTwice) {
  EXPECT_EQ(fold({integer(1), Value::null()}), Value::null(integer(1)));
  EXPECT_EQ(fold({Value::null(), integer(1)}), Value::null(integer(1)));
  EXPECT_EQ(fold({Value::null(), Value::null()}), Value::null());
  EXPECT_EQ(fold({Value::null(integer(1)), Value::null()}), Value::null(integer(1)));
  EXPECT_EQ(fold({Value::null(), Value::null(integer(1))}), Value::null(integer(1)));
  EXPECT_EQ(fold({Value::null(integer(1)), Value::null(real(2))}), Value::null(real(2)));
  EXPECT_EQ(fold({Value::null(integer(1)), real(2)}), Value::null(real(2)));
  EXPECT_EQ(fold({integer(1), Value::null(), real(2), Value::null()}), Value::null(real(2)));
}

// The receiver keeps its texts, names, URL and date kind; a null argument makes its inner value
// the receiver of the inner merge.
TEST(Merge, TheReceiverKeepsItsTextsUnlessItIsAWebAddress) {
  EXPECT_EQ(fold({text("abc"), text("def")}), text("abc"));
  EXPECT_EQ(fold({text("https://example.com/a"), text("def")}), text("def"));
  EXPECT_EQ(fold({text("def"), text("https://example.com/a")}), text("def"));
  // Without a host it is not a web address.
  EXPECT_EQ(fold({text("mailto:someone"), text("def")}), text("mailto:someone"));
  EXPECT_EQ(fold({text("/relative/path"), text("def")}), text("/relative/path"));

  EXPECT_EQ(fold({text("x"), Value::null(text("y"))}), Value::null(text("y")));
  EXPECT_EQ(fold({Value::null(text("y")), text("x")}), Value::null(text("y")));
}

TEST(Merge, UrlsAndDatesKeepTheReceiverOrGiveWayToText) {
  const Value a = Value::url({"https://a.example"});
  const Value b = Value::url({"https://b.example"});
  EXPECT_EQ(fold({a, b}), a);
  EXPECT_EQ(fold({a, text("plain")}), text("plain"));
  EXPECT_EQ(fold({text("plain"), a}), text("plain"));
  EXPECT_EQ(fold({Value::date(Value::DateKind::iso8601),
                  Value::date(Value::DateKind::timeIntervalSince1970)}),
            Value::date(Value::DateKind::iso8601));
}

TEST(Merge, ObjectsMergeMembersAndMakeOneSidedMembersNullable) {
  Value merged = fold({parsed(R"({"a":1})"), parsed(R"({"a":2,"b":"x"})")});
  EXPECT_EQ(merged, objectOf({{"a", integer(1)}, {"b", Value::null(text("x"))}}));

  // A member that is already null is not wrapped again, on either side.
  Value keepsNull = fold({parsed(R"({"a":null})"), parsed("{}")});
  EXPECT_EQ(*keepsNull.objectValue().dictionary.find("a"), Value::null());
  Value keepsNullFromB = fold({parsed("{}"), parsed(R"({"a":null})")});
  EXPECT_EQ(*keepsNullFromB.objectValue().dictionary.find("a"), Value::null());
}

TEST(Merge, MergedKeyOrderIsTheReceiversThenTheArgumentsNewKeys) {
  Value a = parsed(R"({"x":1,"b":true})");
  Value b = parsed(R"({"c":1,"x":2.5,"d":null,"b":false})");
  Value merged = mergedWith(a, b);
  const auto& o = merged.objectValue();
  EXPECT_THAT(o.orderedKeys, ElementsAre("x", "b", "c", "d"));
  EXPECT_EQ(*o.dictionary.find("x"), real(2.5));
  EXPECT_EQ(*o.dictionary.find("b"), Value::bool_(false));
  EXPECT_EQ(*o.dictionary.find("c"), Value::null(integer(1)));
  EXPECT_EQ(*o.dictionary.find("d"), Value::null());
  EXPECT_EQ(o.dictionary.size(), 4u);
  // The other way round gives the argument's order first.
  EXPECT_THAT(mergedWith(b, a).objectValue().orderedKeys, ElementsAre("c", "x", "d", "b"));
}

TEST(Merge, ObjectKeysMatchByCanonicalEquivalenceKeepingTheReceiversSpelling) {
  Value merged = fold({parsed("{\"caf\u00E9\":1}"), parsed("{\"cafe\u0301\":2.5}")});
  const auto& o = merged.objectValue();
  ASSERT_THAT(o.orderedKeys, ElementsAre("caf\u00E9"));
  EXPECT_EQ(o.dictionary.size(), 1u);
  EXPECT_EQ(*o.dictionary.find("caf\u00E9"), real(2.5));
}

TEST(Merge, ObjectsAndArraysKeepTheReceiversNames) {
  ValueMap members;
  members.insertOrAssign("k", integer(1));
  Value a = Value::object({"Root", "a"}, members, {"k"});
  Value b = Value::object({"Root", "b"}, members, {"k"});
  EXPECT_EQ(mergedWith(a, b).objectValue().names, (Names{"Root", "a"}));
  EXPECT_EQ(mergedWith(Value::array({"A"}, {}), Value::array({"B"}, {})).arrayValue().names,
            (Names{"A"}));
  // Through a null argument the inner value is the receiver, so its names win.
  Value viaNull = mergedWith(a, Value::null(b));
  ASSERT_NE(viaNull.nullInner(), nullptr);
  EXPECT_EQ(viaNull.nullInner()->objectValue().names, (Names{"Root", "b"}));
}

TEST(Merge, ArraysMergeIntoOneElementFoldedFromBothSides) {
  EXPECT_EQ(fold({parsed("[1]"), parsed("[2.5,3]")}), Value::array({}, {real(2.5)}));
  EXPECT_EQ(fold({parsed("[]"), parsed("[]")}), Value::array({}, {Value::empty()}));
  EXPECT_EQ(fold({parsed("[1,2]"), parsed("[\"x\"]")}), Value::array({}, {Value::empty()}));
  EXPECT_EQ(fold({parsed("[[1],[null]]"), parsed("[]")}),
            Value::array({}, {Value::array({}, {Value::null(integer(1))})}));
  EXPECT_EQ(fold({parsed(R"([{"a":1}])"), parsed(R"([{"b":2}])")}),
            Value::array(
                {}, {objectOf({{"a", Value::null(integer(1))}, {"b", Value::null(integer(2))}})}));
}

TEST(Merge, DeeplyNestedSamplesMergeWithoutExhaustingTheStack) {
  std::string deep(511, '[');
  deep += "{\"a\":1}";
  deep += std::string(511, ']');
  std::string other = deep;
  other.replace(511, 7, "{\"b\":2}");
  Value merged = mergedWith(parsed(deep), parsed(other));
  const Value* v = &merged;
  for (int i = 0; i < 511; ++i) {
    ASSERT_TRUE(v->is(Value::Kind::array));
    ASSERT_EQ(v->arrayValue().values.size(), 1u);
    v = &v->arrayValue().values[0];
  }
  EXPECT_THAT(v->objectValue().orderedKeys, ElementsAre("a", "b"));
}

}  // namespace
}  // namespace telvar
