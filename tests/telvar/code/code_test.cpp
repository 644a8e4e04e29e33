#include "telvar/code/code.h"

#include <optional>
#include <string>
#include <string_view>

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

// One mark per case, in the order of `PropertyType::Kind`, and '-' for no type: a walk's result
// reads as a short text.
char mark(const PropertyType* type) {
  return type ? std::string_view("po{e[?").at(static_cast<std::size_t>(type->kind())) : '-';
}

// Each walk over wrappers: which wrappers it visits, outermost first, and where it stops.
TEST(PropertyTypeWrappers, VisitOutermostFirstAndStopWhereTheirWrappersEnd) {
  using W = Wrappers;
  const PropertyType object = PropertyType::object(objectNamed({"M", "o"}));
  const PropertyType enumeration =
      PropertyType::enum_(Enum{{"M", "e"}, Enum::RawType::string, {{"a", "a"}}});
  const PropertyType nothing = PropertyType::optional(std::nullopt);
  const auto list = [](PropertyType t) { return PropertyType::array(std::move(t)); };
  const auto nullable = [](PropertyType t) { return PropertyType::optional(std::move(t)); };
  const auto map = [](PropertyType t) { return PropertyType::dictionary(std::move(t)); };
  struct Case {
    PropertyType type;
    Wrappers through;
    std::string visited;
    char innermost;
  };
  const Case cases[] = {
      {prim(Primitive::int_()), W::all, "", 'p'},
      {list(list(nullable(object))), W::all, "[[?", 'o'},
      {list(list(nullable(object))), W::nullables, "", '['},
      // Maps are looked through only by the widest walk.
      {map(list(nullable(object))), W::all, "{[?", 'o'},
      {map(list(nullable(object))), W::listsAndNullables, "", '{'},
      {list(map(object)), W::listsAndNullables, "[", '{'},
      // Nullable-only walks stop at the first list, however deep the nullables are.
      {nullable(nullable(list(object))), W::nullables, "??", '['},
      {nullable(nullable(list(object))), W::listsAndNullables, "??[", 'o'},
      {nullable(nullable(map(enumeration))), W::all, "??{", 'e'},
      // A nullable of nothing ends every walk with no type; it is still visited.
      {nothing, W::nullables, "?", '-'},
      {list(nothing), W::listsAndNullables, "[?", '-'},
      {map(nothing), W::all, "{?", '-'},
      {map(nothing), W::nullables, "", '{'},
  };
  for (const Case& c : cases) {
    std::string visited;
    const PropertyType* inner =
        c.type.visitWrappers(c.through, [&](const PropertyType& w) { visited += mark(&w); });
    SCOPED_TRACE(std::string(1, mark(&c.type)) + " through " +
                 std::to_string(static_cast<int>(c.through)));
    EXPECT_EQ(visited, c.visited);
    EXPECT_EQ(mark(inner), c.innermost);
    EXPECT_EQ(c.type.innermost(c.through), inner);
  }
  EXPECT_EQ(mark(map(list(object)).innermost()), 'o');  // all wrappers unless told otherwise
}

TEST(PropertyTypeWrappers, UnwrappedIsTheTypeDirectlyInside) {
  const PropertyType element = prim(Primitive::string());
  const PropertyType list = PropertyType::array(element);
  EXPECT_EQ(list.unwrapped(), &list.arrayValue());
  EXPECT_EQ(*PropertyType::dictionary(element).unwrapped(), element);
  EXPECT_EQ(*PropertyType::optional(element).unwrapped(), element);
  EXPECT_EQ(PropertyType::optional(std::nullopt).unwrapped(), nullptr);
}

TEST(PropertyTypeStorage, KeepsEachPrimitiveAndSharesNodesAmongCopies) {
  using DK = Value::DateKind;
  for (const Primitive p :
       {Primitive::date(DK::iso8601), Primitive::date(DK::timeIntervalSince1970),
        Primitive::bool_(), Primitive::int_(), Primitive::double_(), Primitive::string(),
        Primitive::url(), Primitive::any()}) {
    const PropertyType type = prim(p);
    EXPECT_TRUE(type.is(PropertyType::Kind::primitive));
    EXPECT_EQ(type.primitiveValue(), p);
    EXPECT_EQ(type.primitiveValue().dateKind(), p.dateKind());
  }

  // Copies share the payload and outlive the type they came from; so does an object's node.
  auto original =
      std::make_optional(PropertyType::array(PropertyType::optional(prim(Primitive::url()))));
  const PropertyType copy = *original;
  const PropertyType moved = std::move(*original);
  original.reset();
  EXPECT_EQ(&copy.arrayValue(), &moved.arrayValue());
  EXPECT_EQ(copy.arrayValue().optionalValue()->primitiveValue(), Primitive::url());

  auto object = std::make_optional(PropertyType::object(objectNamed({"M", "o"})));
  const Code code = Code::object(object->sharedObject());
  object.reset();
  EXPECT_EQ(code.objectValue(), objectNamed({"M", "o"}));
}

TEST(MemberPath, ReadsAsItsObjectsPathFollowedByItsKey) {
  const MemberPath path(detail::Shared<Names>::make(Names{"M", "user"}), "name");
  const KeyPath view = path;
  EXPECT_EQ(view.size(), 3u);
  EXPECT_EQ(view.front(), "M");
  EXPECT_EQ(view[1], "user");
  EXPECT_EQ(view.back(), "name");
  EXPECT_EQ(Names(view.begin(), view.end()), (Names{"M", "user", "name"}));
  EXPECT_EQ(path.names(), (Names{"M", "user", "name"}));
  EXPECT_EQ(path, (Names{"M", "user", "name"}));
  EXPECT_NE(path, (Names{"M", "user"}));
  EXPECT_NE(path, (Names{"M", "name", "user"}));

  // Any key path converts: its last key becomes the member's own.
  EXPECT_EQ(MemberPath(Names{"M", "user", "name"}), path);
  EXPECT_EQ(MemberPath(Names{"k"}).names(), Names{"k"});
  EXPECT_TRUE(MemberPath(Names{}).empty());
  EXPECT_TRUE(KeyPath(MemberPath()).empty());
  EXPECT_EQ(MemberPath(), Names{});
}

TEST(MemberPath, KeepsKeysOfEveryLengthThroughCopiesAndMoves) {
  // Short keys are held in place, longer ones shared: both must read back whole after the path is
  // copied, moved and the original let go.
  const auto owner = detail::Shared<Names>::make(Names{"M"});
  for (const std::string& key :
       {std::string(), std::string("fifteen_bytes__"), std::string("sixteen_bytes___"),
        std::string("a key well past fifteen bytes, ü and 日本"), std::string("nul\0inside", 10)}) {
    std::optional<MemberPath> original(std::in_place, owner, key);
    const MemberPath copy = *original;
    MemberPath moved = std::move(*original);
    original.reset();
    EXPECT_EQ(copy.back(), key);
    EXPECT_EQ(moved.back(), key);
    EXPECT_EQ(KeyPath(moved).back(), key);
    EXPECT_EQ(copy.names(), (Names{"M", key}));
    EXPECT_EQ(copy, moved);
    EXPECT_EQ(MemberPath(Names{"M", key}), copy);
  }
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
  EXPECT_EQ((Property{{"M", "caf\u00e9"}, prim(Primitive::int_())}),
            (Property{{"M", "cafe\u0301"}, prim(Primitive::int_())}));
  EXPECT_EQ((Enum{{"M"}, Enum::RawType::string, {{"\u00e9", "x"}}}),
            (Enum{{"M"}, Enum::RawType::string, {{"e\u0301", "x"}}}));
  EXPECT_NE((Enum{{"M"}, Enum::RawType::string, {}}), (Enum{{"M"}, Enum::RawType::int_, {}}));

  EXPECT_NE(Code::object(objectNamed({"M"})),
            Code::propertyType(PropertyType::object(objectNamed({"M"}))));
}

}  // namespace
}  // namespace telvar
