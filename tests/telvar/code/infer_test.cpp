#include <gtest/gtest.h>

#include "support/small_stack.h"
#include "support/values.h"
#include "telvar/code/code.h"

namespace telvar {
namespace {

using testing::integer;
using testing::object;
using testing::parsed;

PropertyType prim(Primitive p) { return PropertyType::primitive(p); }

TEST(Inference, ObjectPropertiesFollowKeyOrderWithTheirKeyPaths) {
  const Value root = object({"M"}, {{"a", integer(1)},
                                    {"b", Value::number(Value::Number::double_(2.5))},
                                    {"c", Value::string("x")},
                                    {"d", Value::bool_(true)}});
  const Code code(root);
  ASSERT_TRUE(code.is(Code::Kind::object));
  EXPECT_EQ(code.objectValue(), (Object{{"M"},
                                        {{{"M", "a"}, prim(Primitive::int_())},
                                         {{"M", "b"}, prim(Primitive::double_())},
                                         {{"M", "c"}, prim(Primitive::string())},
                                         {{"M", "d"}, prim(Primitive::bool_())}}}));
}

TEST(Inference, KeysWithoutAMemberAreSkipped) {
  ValueMap members;
  members.insertOrAssign("b", integer(1));
  members.insertOrAssign("a", Value::bool_(false));
  const std::vector<Key> keys{"a", "gone", "b"};
  const auto properties =
      Object::inferredProperties(KeyList(keys.data(), nullptr, keys.size()), members, {"M"});
  EXPECT_EQ(properties, (std::vector<Property>{{{"M", "a"}, prim(Primitive::bool_())},
                                               {{"M", "b"}, prim(Primitive::int_())}}));
}

TEST(Inference, MembersShareTheirObjectsKeyPath) {
  const Value inner = object({"M", "o"}, {{"a", integer(1)}, {"b", integer(2)}});
  const Code code(object({"M"}, {{"o", inner}, {"p", integer(3)}}));
  const auto& outer = code.objectValue().properties;
  const auto& members = outer.at(0).type.objectValue().properties;
  EXPECT_EQ(members.at(1).names, (Names{"M", "o", "b"}));
  // One copy of an object's path, however many members it has.
  EXPECT_EQ(members[0].names[1].data(), members[1].names[1].data());
  EXPECT_EQ(outer[0].names[0].data(), outer.at(1).names[0].data());
}

TEST(Inference, ListsOfObjectsCarryTheMembersKeyPath) {
  // As the detection walk leaves it: the element has the array's key path.
  const Value element = object({"M", "users"}, {{"id", integer(7)}});
  const Value root = object({"M"}, {{"users", Value::array({"M", "users"}, {element})}});
  const Object o{{"M", "users"}, {{{"M", "users", "id"}, prim(Primitive::int_())}}};
  EXPECT_EQ(Code(root).objectValue().properties.at(0).type,
            PropertyType::array(PropertyType::object(o)));
}

TEST(Inference, ListsLookOnlyAtTheFirstElement) {
  EXPECT_EQ(Code(parsed("[]")).propertyTypeValue(), PropertyType::array(prim(Primitive::any())));
  EXPECT_EQ(Code(parsed("[[]]")).propertyTypeValue(),
            PropertyType::array(PropertyType::array(prim(Primitive::any()))));
  EXPECT_EQ(Code(parsed("[[1], \"x\"]")).propertyTypeValue(),
            PropertyType::array(PropertyType::array(prim(Primitive::int_()))));
}

TEST(Inference, NullsBecomeOptionalTypes) {
  const Value root = object(
      {"M"},
      {{"n", Value::null()}, {"o", Value::null(object({"M", "o"}, {}))}, {"e", Value::empty()}});
  const Code code(root);
  const auto& properties = code.objectValue().properties;
  EXPECT_EQ(properties[0].type, PropertyType::optional(std::nullopt));
  EXPECT_EQ(properties[1].type,
            PropertyType::optional(PropertyType::object(Object{{"M", "o"}, {}})));
  EXPECT_EQ(properties[2].type, prim(Primitive::any()));
}

TEST(Inference, ScalarListAndEnumerationRootsGivePropertyTypeCode) {
  EXPECT_EQ(Code(Value::date(Value::DateKind::timeIntervalSince1970)),
            Code::propertyType(prim(Primitive::date(Value::DateKind::timeIntervalSince1970))));
  EXPECT_TRUE(Code(parsed("[{}]")).is(Code::Kind::propertyType));
  const Value e = Value::enum_({"M", "level"}, Value::RawType::int_, {{"low", "1"}, {"high", "9"}});
  EXPECT_EQ(Code(e).propertyTypeValue(),
            PropertyType::enum_(
                Enum{{"M", "level"}, Enum::RawType::int_, {{"low", "1"}, {"high", "9"}}}));
}

TEST(Inference, DictionariesKeepTheirKeyPathOnlyAtTheRoot) {
  const Value values = object({"M", "map"}, {{"x", integer(1)}});
  const Value map = Value::dictionary({"M", "map"}, values);
  const Object o{{"M", "map"}, {{{"M", "map", "x"}, prim(Primitive::int_())}}};

  EXPECT_EQ(Code(map), Code::dictionary(Dictionary{{"M", "map"}, PropertyType::object(o)}));
  EXPECT_EQ(Code(object({"M"}, {{"map", map}})).objectValue().properties.at(0).type,
            PropertyType::dictionary(PropertyType::object(o)));
}

TEST(Inference, DeepestSampleInfersEveryLevel) {
  const Value root = parsed(testing::nestedJson(kMaxJsonDepth));
  const Code code(root);
  // Count the levels back down: objects and arrays alternate to the innermost int.
  int levels = 1;
  PropertyType type = code.objectValue().properties.at(0).type;
  while (true) {
    ++levels;
    if (type.is(PropertyType::Kind::array)) {
      type = type.arrayValue();
    } else if (type.is(PropertyType::Kind::object)) {
      ASSERT_EQ(type.objectValue().properties.size(), 1u);
      type = type.objectValue().properties[0].type;
    } else {
      break;
    }
  }
  EXPECT_EQ(levels, kMaxJsonDepth + 1);
  EXPECT_EQ(type, prim(Primitive::int_()));
  EXPECT_EQ(Code(root), code);
}

TEST(Inference, StackUseDoesNotGrowWithDepth) {
  const Value root = parsed(testing::nestedJson(kMaxJsonDepth));
  std::optional<Code> code;
  // The result is kept and released on this thread: only inference runs on the small stack.
  ASSERT_TRUE(testing::runOnSmallStack(64 * 1024, [&] { code.emplace(root); }));
  ASSERT_TRUE(code.has_value());
  EXPECT_TRUE(code->is(Code::Kind::object));
}

}  // namespace
}  // namespace telvar
