#include "telvar/value/walks.h"

#include <gtest/gtest.h>

#include "support/small_stack.h"
#include "support/values.h"

namespace telvar {
namespace {

using testing::integer;
using testing::object;
using testing::parsed;

Value enumValue() {
  return Value::enum_({"M", "e"}, Value::RawType::string, {{"one", "1"}, {"two", "2"}});
}

TEST(HasNestedType, ObjectsAndEnumsDeclareThroughArraysNullsAndDictionaries) {
  EXPECT_TRUE(hasNestedType(parsed("{}")));
  EXPECT_TRUE(hasNestedType(enumValue()));
  EXPECT_TRUE(hasNestedType(parsed("[[{}]]")));
  EXPECT_TRUE(hasNestedType(Value::null(parsed("{}"))));
  EXPECT_TRUE(hasNestedType(Value::dictionary({"M"}, Value::array({}, {enumValue()}))));

  EXPECT_FALSE(hasNestedType(parsed("[]")));
  EXPECT_FALSE(hasNestedType(parsed("[\"x\", {}]")));  // only the first element counts
  EXPECT_FALSE(hasNestedType(Value::null()));
  EXPECT_FALSE(hasNestedType(Value::dictionary({"M"}, integer(1))));
  EXPECT_FALSE(hasNestedType(Value::empty()));
  EXPECT_FALSE(hasNestedType(Value::date(Value::DateKind::iso8601)));
  EXPECT_FALSE(hasNestedType(Value::url({"https://example.com"})));
}

TEST(NestedValues, RootsWithoutNestedTypesListNothing) {
  for (const Value& root : {integer(1), parsed("\"x\""), enumValue(), parsed("{}"), parsed("[]"),
                            Value::null(), parsed("{\"a\": 1, \"b\": [1, 2], \"c\": null}")}) {
    EXPECT_TRUE(nestedValuesParentFirst(root).empty());
    EXPECT_TRUE(nestedValuesChildrenFirst(root).empty());
  }
}

TEST(NestedValues, ParentFirstAndChildrenFirstOrders) {
  const Value root = parsed(R"({"a": {"c": {"x": 1}}, "b": [{"y": 2}]})");
  const Value& a = *root.objectValue().dictionary.find("a");
  const Value& c = *a.objectValue().dictionary.find("c");
  const Value& b = *root.objectValue().dictionary.find("b");

  EXPECT_EQ(nestedValuesParentFirst(root), (std::vector<Value>{a, c, b}));
  EXPECT_EQ(nestedValuesChildrenFirst(root), (std::vector<Value>{c, a, b}));
  // The array member is listed as the array, not as its element.
  EXPECT_TRUE(nestedValuesParentFirst(root)[2].is(Value::Kind::array));
  // Equal declarations are each listed; merging them is the generators' work.
  EXPECT_EQ(nestedValuesParentFirst(parsed(R"({"a": {}, "b": {}})")).size(), 2u);
}

TEST(NestedValues, FollowKeyOrderListNullsOnlyAroundDeclarationsAndDoNotEnterEnums) {
  ValueMap members;
  members.insertOrAssign("b", parsed("{}"));
  members.insertOrAssign("a", parsed("[{}]"));
  const auto listed = nestedValuesParentFirst(Value::object({}, members, {"a", "missing", "b"}));
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_TRUE(listed[0].is(Value::Kind::array));

  const Value nullable = Value::null(parsed(R"({"z": {}})"));
  const Value root = object({}, {{"plain", Value::null()},
                                 {"maybe", nullable},
                                 {"e", enumValue()},
                                 {"s", parsed("[\"x\"]")}});
  EXPECT_EQ(nestedValuesParentFirst(root),
            (std::vector<Value>{nullable, parsed("{}"), enumValue()}));
  EXPECT_EQ(nestedValuesChildrenFirst(root),
            (std::vector<Value>{parsed("{}"), nullable, enumValue()}));
  // A root array lists the members of its first element.
  EXPECT_EQ(nestedValuesParentFirst(parsed(R"([{"p": {"q": 1}}, {"r": {}}])")),
            (std::vector<Value>{parsed(R"({"q": 1})")}));
}

TEST(NestedValues, DictionaryValueTypesAreListedAroundTheirContents) {
  const Value inner = parsed(R"({"deep": {}})");
  const Value values = Value::array({}, {inner});
  const Value root = object({}, {{"map", Value::dictionary({"M", "map"}, values)}});
  const Value& map = *root.objectValue().dictionary.find("map");
  EXPECT_EQ(nestedValuesParentFirst(root), (std::vector<Value>{map, values, parsed("{}")}));
  EXPECT_EQ(nestedValuesChildrenFirst(root), (std::vector<Value>{parsed("{}"), values, map}));
  // A dictionary root lists its value type first.
  EXPECT_EQ(nestedValuesParentFirst(map), (std::vector<Value>{values, parsed("{}")}));
}

TEST(NestedValues, DeepestSampleIsWalkedInBothOrders) {
  const Value root = parsed(testing::nestedJson(kMaxJsonDepth));
  // Every object below the root is listed once, and the arrays between them are listed as the
  // members that hold them: one entry per member at each object level below the root.
  const auto parentFirst = nestedValuesParentFirst(root);
  const auto childrenFirst = nestedValuesChildrenFirst(root);
  ASSERT_EQ(parentFirst.size(), static_cast<std::size_t>(kMaxJsonDepth / 2 - 1));
  ASSERT_EQ(childrenFirst.size(), parentFirst.size());
  EXPECT_TRUE(parentFirst.front().is(Value::Kind::array));
  EXPECT_EQ(parentFirst.front(), childrenFirst.back());
  EXPECT_EQ(parentFirst.back(), childrenFirst.front());
  EXPECT_TRUE(hasNestedType(root));
}

TEST(NestedValues, StackUseDoesNotGrowWithDepth) {
  const Value root = parsed(testing::nestedJson(kMaxJsonDepth));
  std::size_t listed = 0;
  ASSERT_TRUE(testing::runOnSmallStack(64 * 1024, [&] {
    listed = nestedValuesParentFirst(root).size() + nestedValuesChildrenFirst(root).size();
    listed += hasNestedType(root) ? 1 : 0;
  }));
  EXPECT_EQ(listed, static_cast<std::size_t>(kMaxJsonDepth - 1));
}

}  // namespace
}  // namespace telvar
