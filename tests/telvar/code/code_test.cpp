#include "telvar/code/code.h"

#include <gtest/gtest.h>

namespace telvar {
namespace {

PropertyType prim(Primitive p) { return PropertyType::primitive(p); }

Object objectNamed(Names names) {
  return Object{std::move(names), {Property{{"M", "x"}, prim(Primitive::int_())}}};
}

TEST(PropertyTypeWalk, FindsTheDeclaredTypeThroughListsMapsAndNullables) {
  const Object o = objectNamed({"M", "items"});
  const auto nested =
      PropertyType::array(PropertyType::array(PropertyType::optional(PropertyType::object(o))));
  EXPECT_EQ(nested.walk(), std::optional<Names>(Names{"M", "items"}));

  const Enum e{{"M", "kind"}, Enum::RawType::string, {{"a", "a"}}};
  EXPECT_EQ(PropertyType::dictionary(PropertyType::enum_(e)).walk(),
            std::optional<Names>(Names{"M", "kind"}));

  EXPECT_EQ(PropertyType::optional(std::nullopt).walk(), std::nullopt);
  EXPECT_EQ(PropertyType::dictionary(prim(Primitive::string())).walk(), std::nullopt);
  EXPECT_EQ(prim(Primitive::any()).walk(), std::nullopt);
}

TEST(CodeAsPropertyType, StandsForTheTypeOfEachCase) {
  const Object o = objectNamed({"M"});
  EXPECT_EQ(Code::object(o).asPropertyType(), PropertyType::object(o));
  // A dictionary keeps only its value type; its own key path is dropped.
  EXPECT_EQ(Code::dictionary(Dictionary{{"M", "map"}, prim(Primitive::int_())}).asPropertyType(),
            PropertyType::dictionary(prim(Primitive::int_())));
  EXPECT_EQ(Code::property(Property{{"M", "p"}, prim(Primitive::url())}).asPropertyType(),
            prim(Primitive::url()));
}

TEST(CodeEquality, IsStructural) {
  EXPECT_NE(objectNamed({"M", "a"}), objectNamed({"M", "b"}));
  EXPECT_NE((Property{{"M", "p"}, prim(Primitive::int_())}),
            (Property{{"M", "p"}, prim(Primitive::double_())}));

  EXPECT_EQ(PropertyType::optional(std::nullopt), PropertyType::optional(std::nullopt));
  EXPECT_NE(PropertyType::optional(std::nullopt), PropertyType::optional(prim(Primitive::any())));
  EXPECT_NE(prim(Primitive::date(Value::DateKind::iso8601)),
            prim(Primitive::date(Value::DateKind::timeIntervalSince1970)));
  EXPECT_NE(PropertyType::array(prim(Primitive::int_())),
            PropertyType::dictionary(prim(Primitive::int_())));

  // Key paths and case texts compare by canonical equivalence.
  EXPECT_EQ(objectNamed({"M", "caf\u00e9"}), objectNamed({"M", "cafe\u0301"}));
  EXPECT_EQ((Enum{{"M"}, Enum::RawType::string, {{"\u00e9", "x"}}}),
            (Enum{{"M"}, Enum::RawType::string, {{"e\u0301", "x"}}}));
  EXPECT_NE((Enum{{"M"}, Enum::RawType::string, {}}), (Enum{{"M"}, Enum::RawType::int_, {}}));

  EXPECT_NE(Code::object(objectNamed({"M"})),
            Code::propertyType(PropertyType::object(objectNamed({"M"}))));
}

}  // namespace
}  // namespace telvar
