#include "telvar/value/value.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/small_stack.h"
#include "support/stack_budget.h"
#include "support/value_print.h"
#include "telvar/parse/json_grammar.h"

namespace telvar {
namespace {

Value integer(std::int64_t i) { return Value::number(Value::Number::int_(i)); }
Value real(double d) { return Value::number(Value::Number::double_(d)); }

Value json(std::string_view text) {
  auto r = jsonValueParser().parse(text);
  EXPECT_TRUE(r) << text;
  return r ? r->output : Value::empty();
}

TEST(ValueEquality, DifferentCasesAreNeverEqual) {
  const Value one[] = {
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
  for (std::size_t i = 0; i < std::size(one); ++i) {
    for (std::size_t j = 0; j < std::size(one); ++j) {
      EXPECT_EQ(one[i] == one[j], i == j) << describe(one[i]) << " against " << describe(one[j]);
    }
  }
  EXPECT_NE(Value::null(Value::string("a")), Value::string("a"));
}

// Pairs that look alike but differ, or differ in a way equality must ignore.
TEST(ValueEquality, LeavesNullsEnumerationsAndContainers) {
  EXPECT_NE(integer(1), real(1.0));
  EXPECT_EQ(real(0.0), real(-0.0));
  EXPECT_NE(real(std::numeric_limits<double>::quiet_NaN()),
            real(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_NE(integer(9007199254740993), integer(9007199254740992));
  EXPECT_NE(Value::null(), Value::null(Value::null()));
  EXPECT_NE(Value::null(integer(1)), Value::null(integer(2)));
  EXPECT_NE(Value::date(Value::DateKind::iso8601),
            Value::date(Value::DateKind::timeIntervalSince1970));
  EXPECT_NE(Value::url({"https://a.example/x"}), Value::url({"https://a.example/y"}));
  auto e = [](Value::RawType raw, std::vector<Value::Case> cases, Names names = {"R", "k"}) {
    return Value::enum_(std::move(names), raw, std::move(cases));
  };
  const auto string = Value::RawType::string;
  EXPECT_NE(e(string, {{"a", "A"}}), e(Value::RawType::int_, {{"a", "A"}}));
  EXPECT_NE(e(string, {{"a", "A"}}), e(string, {{"a", "B"}}));
  EXPECT_NE(e(string, {{"a", "A"}}), e(string, {{"a", "A"}, {"b", "B"}}));
  EXPECT_NE(e(string, {}), e(string, {}, {"R"}));

  EXPECT_NE(json(R"({"a":1,"b":2})"), json(R"({"b":2,"a":1})"));
  EXPECT_EQ(json(R"({"a":1,"b":[true,{"c":null}]})"),
            json(R"( { "a" : 1 , "b" : [ true , { "c" : null } ] } )"));
  EXPECT_NE(json(R"({"a":1,"b":[true,{"c":null}]})"), json(R"({"a":1,"b":[true,{"c":0}]})"));
  EXPECT_NE(json("[1]"), json("[1,1]"));
  // The dictionary's own order plays no part; the key order and the names do.
  ValueMap ab, ba;
  ab.insertOrAssign("a", integer(1));
  ab.insertOrAssign("b", integer(2));
  ba.insertOrAssign("b", integer(2));
  ba.insertOrAssign("a", integer(1));
  EXPECT_EQ(Value::object({}, ab, {"a", "b"}), Value::object({}, ba, {"a", "b"}));
  EXPECT_NE(Value::object({"Root"}, ab, {"a", "b"}), Value::object({"Root", "a"}, ab, {"a", "b"}));
  EXPECT_NE(Value::array({"A"}, {}), Value::array({"B"}, {}));
  EXPECT_NE(Value::dictionary({"A"}, integer(1)), Value::dictionary({"B"}, integer(1)));
  EXPECT_NE(Value::dictionary({"A"}, integer(1)), Value::dictionary({"A"}, real(1)));
}

// Texts are equal when canonically equivalent: in strings, keys, key paths and enumeration cases.
TEST(ValueEquality, TextsCompareByCanonicalEquivalence) {
  const std::string composed = "caf\u00E9";
  const std::string decomposed = "cafe\u0301";
  EXPECT_EQ(Value::string(composed), Value::string(decomposed));
  EXPECT_EQ(json("{\"" + composed + "\":1}"), json("{\"" + decomposed + "\":1}"));
  EXPECT_EQ(Value::array({"Root", composed}, {}), Value::array({"Root", decomposed}, {}));
  EXPECT_EQ(Value::enum_({}, Value::RawType::string, {{composed, decomposed}}),
            Value::enum_({}, Value::RawType::string, {{decomposed, composed}}));
  EXPECT_EQ(Value::string("a\u0301\u0323"), Value::string("a\u0323\u0301"));
}

TEST(ValueMap, EquivalentKeysAreOneKeyInSmallAndHashedMaps) {
  for (int size : {1, 8, 9, 40}) {
    SCOPED_TRACE(size);
    ValueMap map;
    for (int i = 1; i < size; ++i) map.insertOrAssign("key" + std::to_string(i), integer(i));
    map.insertOrAssign("e\u0301", integer(0));
    EXPECT_FALSE(map.insertIfAbsent("\u00E9", integer(99)));
    map.insertOrAssign("\u00E9", integer(7));
    EXPECT_EQ(map.size(), static_cast<std::size_t>(size));
    ASSERT_NE(map.find("e\u0301"), nullptr);
    EXPECT_EQ(*map.find("e\u0301"), integer(7));
    EXPECT_EQ(map.entries().back().first, "e\u0301");  // the first spelling stays
    map.erase("\u00E9");
    EXPECT_FALSE(map.contains("e\u0301"));
    EXPECT_EQ(map.size(), static_cast<std::size_t>(size - 1));
    if (size > 1) {
      EXPECT_EQ(*map.find("key1"), integer(1));
    }
  }
}

// `"k0":0,"k1":1,...` up to `count` members: an object wide enough for a look-up table.
std::string numberedMembers(int count) {
  std::string members;
  for (int i = 0; i < count; ++i) {
    members += (i ? ",\"k" : "\"k") + std::to_string(i) + "\":" + std::to_string(i);
  }
  return members;
}

TEST(ValueMap, AMapWithoutItsTableFindsAndAddsKeysAsBefore) {
  // A wide object inside an object inside a list.
  const std::string sample =
      "[{\"n\": null, \"wide\": {" + numberedMembers(300) + ", \"e\\u0301\": 1}}]";
  auto parsed = jsonValueParser().parse(sample);
  ASSERT_TRUE(parsed);
  Value value = std::move(parsed->output);
  const auto wideOf = [](const Value& v) -> const ValueMap& {
    return v.arrayValue().values[0].objectValue().dictionary.find("wide")->objectValue().dictionary;
  };
  {
    const Value shared = value;  // held twice: nothing is changed
    value.dropIndexes(100);
    EXPECT_TRUE(wideOf(value).hashed());
  }
  value.dropIndexes(302);  // fewer members than that (301): kept
  EXPECT_TRUE(wideOf(value).hashed());
  value.dropIndexes(100);
  EXPECT_FALSE(wideOf(value).hashed());

  ValueMap wide = wideOf(value);
  EXPECT_EQ(*wide.find("k250"), integer(250));
  EXPECT_EQ(*wide.find("\u00E9"), integer(1));  // still by canonical equivalence
  EXPECT_EQ(wide.find("k300"), nullptr);
  EXPECT_FALSE(wide.insertIfAbsent("k7", integer(0)));
  EXPECT_TRUE(wide.insertIfAbsent("k300", integer(300)));
  EXPECT_TRUE(wide.hashed());  // built again
  EXPECT_EQ(*wide.find("k300"), integer(300));
  EXPECT_EQ(*wide.find("k0"), integer(0));
}

TEST(ValueMap, TablesAreDroppedInsideNullableMembersToo) {
  // The second record lacks "w": the fold keeps the wide object inside a nullable member, and
  // the walk must still reach it past the scalar members around it.
  const std::string sample =
      "[{\"a\": 1, \"w\": {" + numberedMembers(300) + "}, \"z\": null}, {\"a\": 2}]";
  auto parsed = jsonMergingValueParser().parse(sample);
  ASSERT_TRUE(parsed);
  Value value = std::move(parsed->output);
  const Value& record = value.arrayValue().values[0];
  const Value* w = record.objectValue().dictionary.find("w");
  ASSERT_TRUE(w && w->is(Value::Kind::null) && w->nullInnerNode());
  const ValueMap& wide = w->nullInnerNode()->objectValue().dictionary;
  ASSERT_TRUE(wide.hashed());
  value.dropIndexes(100);
  EXPECT_FALSE(wide.hashed());
  EXPECT_EQ(*wide.find("k299"), integer(299));
}

TEST(ValueMap, AMapOfManyMegabytesFindsEachMemberAndNoOther) {
  // Past some megabytes, a map's storage and table are zeroed, and its table moved, on several
  // threads as they grow (run under ThreadSanitizer too); the look-ups, found or not, cross every
  // growth, and every member is looked up (one lost in a move would be missed by a sample).
  constexpr int kMembers = 700'000;
  ValueMap map;
  for (int i = 0; i < kMembers; ++i) {
    ASSERT_TRUE(map.insertIfAbsent("member" + std::to_string(i), integer(i)));
  }
  ASSERT_EQ(map.size(), static_cast<std::size_t>(kMembers));
  for (int i = 0; i < kMembers; ++i) {
    const Value* found = map.find("member" + std::to_string(i));
    ASSERT_NE(found, nullptr) << i;
    ASSERT_EQ(*found, integer(i));
  }
  for (int i = kMembers; i < kMembers + 1000; ++i) {
    ASSERT_EQ(map.find("member" + std::to_string(i)), nullptr);
  }
}

TEST(ValueStorage, TextsAndKeysKeepEveryByteAcrossTheInlineLimit) {
  // Texts up to 14 bytes and keys up to 15 are kept in place, longer ones shared: the limits and
  // their neighbours, embedded zero bytes, copies, moves and self-assignment.
  for (std::size_t n : {0, 1, 6, 7, 8, 13, 14, 15, 16, 100}) {
    SCOPED_TRACE(n);
    std::string text(n, 'x');
    if (n > 2) text[1] = '\0';
    const Value v = Value::string(text);
    EXPECT_EQ(v.stringValue(), text);
    Value copy = v;
    Value moved = std::move(copy);
    moved = moved;
    EXPECT_EQ(moved.stringValue(), text);
    EXPECT_TRUE(copy.is(Value::Kind::empty));  // NOLINT: a moved-from value is empty
    EXPECT_EQ(Value::url({text}).urlValue(), text);

    const Key key(text);
    Key keyCopy = key;
    Key keyMoved = std::move(keyCopy);
    keyMoved = key;
    EXPECT_EQ(keyMoved, text);
    EXPECT_EQ(keyMoved.view(), std::string_view(text));
    EXPECT_EQ(key.size(), n);
    // Whether a key is ASCII, with its last byte the one that is not; a key moved from is empty.
    EXPECT_TRUE(key.ascii());
    if (n > 0) {
      std::string accented = text;
      accented.back() = '\xE9';
      Key other(accented);
      EXPECT_FALSE(other.ascii());
      const Key taken = std::move(other);
      EXPECT_FALSE(taken.ascii());
      EXPECT_TRUE(other.ascii() && other.empty());  // NOLINT: moved from
    }
  }
  EXPECT_EQ(integer(std::numeric_limits<std::int64_t>::min()).numberValue().intValue(),
            std::numeric_limits<std::int64_t>::min());
  EXPECT_TRUE(real(-0.0).numberValue().isDouble());
}

TEST(ValueStorage, ANullKeepsAScalarInPlaceAndAnythingElseInANode) {
  const std::vector<Value> inPlace{Value::bool_(true),
                                   integer(std::numeric_limits<std::int64_t>::min()),
                                   real(-0.5),
                                   Value::date(Value::DateKind::timeIntervalSince1970),
                                   Value::empty(),
                                   Value::string(""),
                                   Value::string("\0"),
                                   Value::string(std::string(12, 'x')),
                                   Value::url({"http://a.b"})};
  const std::vector<Value> inNode{Value::string(std::string(13, 'x')),
                                  Value::url({"https://example.com/"}), Value::null(),
                                  Value::null(integer(1)), json(R"({"a":[1]})")};
  for (const auto* values : {&inPlace, &inNode}) {
    for (const Value& inner : *values) {
      SCOPED_TRACE(describe(inner));
      Value n = Value::null(inner);
      const Value copy = n;
      n = Value::null(Value::string("other"));
      ASSERT_TRUE(copy.hasNullInner());
      EXPECT_EQ(copy.nullInner(), inner);
      EXPECT_EQ(copy.nullInnerNode() == nullptr, values == &inPlace);
      EXPECT_EQ(copy, Value::null(inner));
      EXPECT_NE(copy, n);
    }
  }
  EXPECT_FALSE(Value::null().hasNullInner());
  EXPECT_EQ(Value::null().nullInner(), std::nullopt);
  EXPECT_NE(Value::null(Value::string("ab")), Value::null(Value::url({"ab"})));
}

TEST(ValueStorage, AnObjectKeepsItsOwnKeyOrderOnlyWhenItDiffersFromItsMembers) {
  ValueMap members;
  members.insertOrAssign("b", integer(1));
  members.insertOrAssign("a", integer(2));
  const Value same = Value::object({}, members, {"b", "a"});
  const Value reordered = Value::object({}, members, {"a", "b", "gone"});
  EXPECT_EQ(same.objectValue().orderedKeys().toVector(), (std::vector<Key>{"b", "a"}));
  EXPECT_EQ(reordered.objectValue().orderedKeys().toVector(), (std::vector<Key>{"a", "b", "gone"}));
  EXPECT_NE(same, reordered);
  // An iterator keeps working after the view it came from is gone.
  auto first = reordered.objectValue().orderedKeys().begin();
  EXPECT_EQ(*first, "a");
  EXPECT_EQ(*++first, "b");

  // A map copied out of an object is a map of its own: changing it leaves the object as it was.
  ValueMap copy = reordered.objectValue().dictionary;
  copy.insertOrAssign("b", integer(9));
  copy.insertOrAssign("c", integer(3));
  copy.erase("a");
  EXPECT_EQ(*reordered.objectValue().dictionary.find("b"), integer(1));
  EXPECT_EQ(reordered.objectValue().dictionary.size(), 2u);
  EXPECT_EQ(copy.size(), 2u);
  EXPECT_EQ(*copy.find("b"), integer(9));
}

TEST(ValueStorage, ParsedObjectsOfManyMembersKeepTheFirstOfEquivalentKeys) {
  // Past the members that are checked by scanning, repeats are found by hashing, also when only
  // their canonical forms are equal.
  for (int size : {3, 16, 17, 31, 32, 33, 100}) {
    SCOPED_TRACE(size);
    std::string text = "{";
    for (int i = 0; i < size; ++i)
      text += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + ",";
    text += "\"k0\":-1,\"e\u0301\":1,\"\u00e9\":2,\"\u212a\":3,\"K\":4,\"z\":[";
    for (int i = 0; i < size; ++i) text += std::to_string(i) + ",";
    text += "0]}";
    const Value v = json(text);
    const auto& object = v.objectValue();
    EXPECT_EQ(object.dictionary.size(), static_cast<std::size_t>(size) + 3);
    EXPECT_EQ(*object.dictionary.find("k0"), integer(0));
    EXPECT_EQ(*object.dictionary.find("\u00e9"), integer(1));
    EXPECT_EQ(*object.dictionary.find("K"), integer(3));
    EXPECT_EQ(object.orderedKeys().size(), object.dictionary.size());
    EXPECT_EQ(object.dictionary.find("z")->arrayValue().values.size(),
              static_cast<std::size_t>(size) + 1);
  }
}

TEST(ValueTree, CopiesShareSubtreesAndDeepTreesCompareAndDestroyWithoutOverflow) {
  auto mixed = [](int pairs) {  // arrays and objects in turn, 2 * pairs levels deep
    std::string open, close;
    for (int i = 0; i < pairs; ++i) {
      open += "[{\"k\":";
      close += "}]";
    }
    return open + "0" + close;
  };
  Value a = json(mixed(256));
  Value same = json(mixed(256));
  Value shorter = json(mixed(255));
  Value copy = a;
  EXPECT_EQ(&copy.arrayValue(), &a.arrayValue());
  ASSERT_TRUE(testing::runOnSmallStack(testing::stackBudget(128 * 1024), [&] {
    EXPECT_EQ(a, same);
    EXPECT_NE(a, shorter);
    Value gone = std::move(same);  // destroyed here, on the small stack
  }));
}

}  // namespace
}  // namespace telvar
