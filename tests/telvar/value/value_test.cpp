#include "telvar/value/value.h"

#include <limits>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/value_print.h"
#include "telvar/parse/json_grammar.h"

namespace telvar {
namespace {

Value integer(std::int64_t i) { return Value::number(Value::Number::int_(i)); }
Value real(double d) { return Value::number(Value::Number::double_(d)); }

Value parsed(std::string_view text) {
  auto r = jsonValueParser().parse(text);
  EXPECT_TRUE(r) << text;
  return r ? r->output : Value::empty();
}

Value objectOf(Names names, std::vector<std::pair<std::string, Value>> members) {
  ValueMap map;
  std::vector<std::string> keys;
  for (auto& [key, value] : members) {
    keys.push_back(key);
    map.insertOrAssign(key, value);
  }
  return Value::object(std::move(names), std::move(map), std::move(keys));
}

TEST(ValueEquality, NumbersCompareByKindThenByValue) {
  EXPECT_NE(integer(1), real(1.0));
  EXPECT_EQ(real(0.0), real(-0.0));
  EXPECT_NE(real(std::numeric_limits<double>::quiet_NaN()),
            real(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ(integer(std::numeric_limits<std::int64_t>::min()),
            integer(std::numeric_limits<std::int64_t>::min()));
  EXPECT_NE(integer(9007199254740993), integer(9007199254740992));
}

TEST(ValueEquality, DifferentCasesAreNeverEqual) {
  const std::vector<Value> one = {
      Value::bool_(false),
      integer(0),
      Value::string(""),
      Value::object({}, {}, {}),
      Value::array({}, {}),
      Value::null(),
      Value::url({"https://example.com"}),
      Value::date(Value::DateKind::iso8601),
      Value::enum_({}, Value::RawType::string, {}),
      Value::dictionary({}, Value::empty()),
      Value::empty(),
  };
  for (std::size_t i = 0; i < one.size(); ++i) {
    for (std::size_t j = 0; j < one.size(); ++j) {
      EXPECT_EQ(one[i] == one[j], i == j) << i << " against " << j;
    }
  }
  EXPECT_NE(Value::null(Value::string("a")), Value::string("a"));
}

TEST(ValueEquality, NullsWithAndWithoutAnInnerValue) {
  EXPECT_EQ(Value::null(), Value::null());
  EXPECT_NE(Value::null(), Value::null(Value::null()));
  EXPECT_NE(Value::null(integer(1)), Value::null());
  EXPECT_EQ(Value::null(integer(1)), Value::null(integer(1)));
  EXPECT_NE(Value::null(integer(1)), Value::null(integer(2)));
}

TEST(ValueEquality, ObjectsNeedTheSameKeyOrderAndTheSameNames) {
  EXPECT_NE(parsed(R"({"a":1,"b":2})"), parsed(R"({"b":2,"a":1})"));
  EXPECT_EQ(parsed(R"({"a":1,"b":[true,{"c":null}]})"),
            parsed(R"( { "a" : 1 , "b" : [ true , { "c" : null } ] } )"));
  EXPECT_NE(parsed(R"({"a":1,"b":[true,{"c":null}]})"), parsed(R"({"a":1,"b":[true,{"c":0}]})"));

  EXPECT_NE(objectOf({"Root"}, {{"a", integer(1)}}), objectOf({"Other"}, {{"a", integer(1)}}));
  EXPECT_NE(objectOf({"Root"}, {{"a", integer(1)}}), objectOf({"Root", "a"}, {{"a", integer(1)}}));
  EXPECT_NE(Value::array({"A"}, {integer(1)}), Value::array({"B"}, {integer(1)}));
  EXPECT_NE(Value::array({}, {integer(1)}), Value::array({}, {integer(1), integer(1)}));
  EXPECT_NE(Value::enum_({"A"}, Value::RawType::int_, {}),
            Value::enum_({"B"}, Value::RawType::int_, {}));
  EXPECT_NE(Value::dictionary({"A"}, integer(1)), Value::dictionary({"B"}, integer(1)));
  EXPECT_NE(Value::dictionary({"A"}, integer(1)), Value::dictionary({"A"}, real(1)));
}

TEST(ValueEquality, TheDictionaryOrderPlaysNoPartOnlyTheKeyOrderDoes) {
  ValueMap ab, ba;
  ab.insertOrAssign("a", integer(1));
  ab.insertOrAssign("b", integer(2));
  ba.insertOrAssign("b", integer(2));
  ba.insertOrAssign("a", integer(1));
  EXPECT_EQ(Value::object({}, ab, {"a", "b"}), Value::object({}, ba, {"a", "b"}));
  EXPECT_NE(Value::object({}, ab, {"a", "b"}), Value::object({}, ab, {"b", "a"}));
}

TEST(ValueEquality, EnumerationsCompareNamesRawTypeAndEveryCase) {
  auto e = [](Value::RawType raw, std::vector<Value::Case> cases) {
    return Value::enum_({"Root", "kind"}, raw, std::move(cases));
  };
  EXPECT_EQ(e(Value::RawType::string, {{"a", "A"}, {"b", "B"}}),
            e(Value::RawType::string, {{"a", "A"}, {"b", "B"}}));
  EXPECT_NE(e(Value::RawType::string, {{"a", "A"}}), e(Value::RawType::int_, {{"a", "A"}}));
  EXPECT_NE(e(Value::RawType::string, {{"a", "A"}}), e(Value::RawType::string, {{"a", "B"}}));
  EXPECT_NE(e(Value::RawType::string, {{"a", "A"}}),
            e(Value::RawType::string, {{"a", "A"}, {"b", "B"}}));
}

TEST(ValueEquality, LeafCasesWithoutChildren) {
  EXPECT_EQ(Value::empty(), Value::empty());
  EXPECT_EQ(Value(), Value::empty());
  EXPECT_NE(Value::empty(), Value::null());
  EXPECT_EQ(Value::date(Value::DateKind::iso8601), Value::date(Value::DateKind::iso8601));
  EXPECT_NE(Value::date(Value::DateKind::iso8601),
            Value::date(Value::DateKind::timeIntervalSince1970));
  EXPECT_EQ(Value::url({"https://a.example/x"}), Value::url({"https://a.example/x"}));
  EXPECT_NE(Value::url({"https://a.example/x"}), Value::url({"https://a.example/y"}));
  EXPECT_NE(Value::bool_(true), Value::bool_(false));
}

// Texts are equal when canonically equivalent: in strings, keys, key paths and enumeration cases.
TEST(ValueEquality, TextsCompareByCanonicalEquivalence) {
  const std::string precomposed = "caf\u00E9";
  const std::string decomposed = "cafe\u0301";
  EXPECT_EQ(Value::string(precomposed), Value::string(decomposed));
  EXPECT_NE(Value::string(precomposed), Value::string("cafe"));
  EXPECT_EQ(parsed("{\"" + precomposed + "\":1}"), parsed("{\"" + decomposed + "\":1}"));
  EXPECT_EQ(Value::array({"Root", precomposed}, {}), Value::array({"Root", decomposed}, {}));
  EXPECT_EQ(Value::enum_({}, Value::RawType::string, {{precomposed, decomposed}}),
            Value::enum_({}, Value::RawType::string, {{decomposed, precomposed}}));
  // Ordering of combining marks is canonical too.
  EXPECT_EQ(Value::string("a\u0301\u0323"), Value::string("a\u0323\u0301"));
  EXPECT_NE(Value::string("a\u0301\u0300"), Value::string("a\u0300\u0301"));
}

TEST(ValueMap, KeysAreOneWhenCanonicallyEquivalentInSmallAndLargeMaps) {
  for (int size : {1, 8, 9, 40}) {
    ValueMap map;
    for (int i = 1; i < size; ++i) map.insertOrAssign("key" + std::to_string(i), integer(i));
    map.insertOrAssign("e\u0301", integer(0));
    EXPECT_FALSE(map.insertIfAbsent("\u00E9", integer(99))) << size;
    ASSERT_NE(map.find("\u00E9"), nullptr) << size;
    EXPECT_EQ(*map.find("\u00E9"), integer(0));
    map.insertOrAssign("\u00E9", integer(7));
    EXPECT_EQ(map.size(), static_cast<std::size_t>(size));
    EXPECT_EQ(*map.find("e\u0301"), integer(7));
    // The first spelling stays.
    EXPECT_EQ(map.entries().back().first, "e\u0301");
    map.erase("\u00E9");
    EXPECT_FALSE(map.contains("e\u0301"));
    if (size > 1) {
      EXPECT_EQ(*map.find("key1"), integer(1));
    }
    EXPECT_EQ(map.size(), static_cast<std::size_t>(size - 1));
  }
}

TEST(ValueTree, CopiesShareSubtreesAndDeepTreesCompareAndDestroyWithoutOverflow) {
  Value deep = Value::null();
  for (int i = 0; i < 512; ++i) {
    deep = (i % 2) ? Value::array({}, {deep}) : objectOf({}, {{"k", deep}});
  }
  Value copy = deep;
  EXPECT_EQ(&copy.arrayValue(), &deep.arrayValue());
  Value other = Value::null();
  for (int i = 0; i < 512; ++i) {
    other = (i % 2) ? Value::array({}, {other}) : objectOf({}, {{"k", other}});
  }
  EXPECT_EQ(deep, other);
}

}  // namespace
}  // namespace telvar
