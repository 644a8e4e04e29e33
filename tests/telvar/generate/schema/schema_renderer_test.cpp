#include "telvar/generate/schema/schema_renderer.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/small_stack.h"
#include "support/values.h"
#include "telvar/code/code.h"
#include "telvar/refine/rewrites.h"

namespace telvar::generate::schema {
namespace {

PropertyType prim(Primitive p) { return PropertyType::primitive(p); }
PropertyType optional(PropertyType t) { return PropertyType::optional(std::move(t)); }
PropertyType array(PropertyType t) { return PropertyType::array(std::move(t)); }
const PropertyType kNullOnly = PropertyType::optional(std::nullopt);

struct TypeRow {
  const char* what;
  PropertyType type;
  std::optional<std::string_view> type_, element, format, itemsFormat;
};

// The names every "type" and "format" member takes, as data: each must be a JSON Schema type or
// format, or absent.
TEST(SchemaTypeNames, EveryTypeHasAValidJsonSchemaName) {
  const Object o{{"M", "o"}, {}};
  const PropertyType iso = prim(Primitive::date(Value::DateKind::iso8601));
  const PropertyType interval = prim(Primitive::date(Value::DateKind::timeIntervalSince1970));
  const std::vector<TypeRow> rows = {
      {"bool", prim(Primitive::bool_()), "boolean", "boolean", {}, {}},
      {"int", prim(Primitive::int_()), "integer", "integer", {}, {}},
      {"double", prim(Primitive::double_()), "number", "number", {}, {}},
      {"string", prim(Primitive::string()), "string", "string", {}, {}},
      {"url", prim(Primitive::url()), "string", "string", "uri", "uri"},
      {"iso date", iso, "string", "string", "date-time", "date-time"},
      {"interval date", interval, "number", "number", {}, {}},
      {"any", prim(Primitive::any()), {}, {}, {}, {}},
      {"object", PropertyType::object(o), "object", "object", {}, {}},
      {"null only", kNullOnly, "null", "null", {}, {}},
      {"nullable url", optional(prim(Primitive::url())), "string", "string", "uri", "uri"},
      {"nullable any", optional(prim(Primitive::any())), {}, {}, {}, {}},
      {"list of dates", array(iso), "array", "string", {}, "date-time"},
      {"list of lists of intervals", array(array(interval)), "array", "number", {}, {}},
      {"list of nullable lists of urls",
       array(optional(array(prim(Primitive::url())))),
       "array",
       "string",
       {},
       "uri"},
      {"nullable list of nulls", optional(array(kNullOnly)), "array", "null", {}, {}},
      {"list of lists of any", array(array(prim(Primitive::any()))), "array", {}, {}, {}},
      {"map of urls",
       PropertyType::dictionary(prim(Primitive::url())),
       "object",
       "object",
       {},
       "uri"},
  };
  for (const TypeRow& row : rows) {
    EXPECT_EQ(typeName(row.type), row.type_) << row.what;
    EXPECT_EQ(elementTypeName(row.type), row.element) << row.what;
    EXPECT_EQ(formatName(row.type), row.format) << row.what;
    EXPECT_EQ(itemsFormatName(row.type), row.itemsFormat) << row.what;
  }
}

TEST(SchemaTypeNamesDeathTest, AnEnumerationIsAProgrammingError) {
  const PropertyType e = PropertyType::enum_(Enum{{"M", "e"}, Enum::RawType::string, {}});
  EXPECT_DEATH((void)typeName(e), "enumeration");
}

TEST(SchemaRenderer, AlphabetSortsByJsonKeyInCanonicalCompositionAndKeepsTiesInOrder) {
  const Style style{"", PropertySortMethod::alphabet};
  auto p = [](std::string key, Primitive type) { return Property{{"M", key}, prim(type)}; };
  // "e\u0301" composes to U+00E9, after "z"; the two "b" properties (hand-made, as inference
  // never repeats a key) keep their order.
  const std::vector<Property> properties = {
      p("z", Primitive::int_()), p("e\u0301", Primitive::int_()), p("b", Primitive::bool_()),
      p("B", Primitive::int_()), p("b", Primitive::string()),     p("_", Primitive::int_())};
  const auto parsed = nlohmann::ordered_json::parse(objectSchema(properties, 0, style));
  std::vector<std::string> keys;
  for (const auto& entry : parsed["required"]) keys.push_back(entry.get<std::string>());
  EXPECT_EQ(keys, (std::vector<std::string>{"B", "_", "b", "b", "z", "e\u0301"}));
  const std::string text = objectSchema(properties, 0, style);
  EXPECT_LT(text.find("\"boolean\""), text.find("\"string\""));
}

// Nesting as deep as the grammar allows, objects and lists alternating, renders without
// recursion: a small stack is enough.
TEST(SchemaRenderer, DeepCodeRendersOnASmallStack) {
  static const ValueMeta kNoOptions;
  for (const std::string& sample :
       {testing::nestedJson(kMaxJsonDepth), testing::nestedJson(kMaxJsonDepth - 1)}) {
    const Value value = detected(testing::parsed(sample), kNoOptions, {}, {"M"});
    const Code code(value);
    ASSERT_TRUE(code.is(Code::Kind::object));
    std::string text;
    ASSERT_TRUE(testing::runOnSmallStack(
        64 * 1024, [&] { text = objectSchema(code.objectValue().properties, 0, Style{}); }));
    const auto schema = nlohmann::json::parse(text);
    int depth = 0;
    for (const auto* node = &schema; node->contains("properties"); ++depth) {
      const auto& a = (*node)["properties"]["a"];
      node = a.contains("items") ? &a["items"] : &a;
    }
    EXPECT_EQ(depth, (kMaxJsonDepth - 1) / 2 + 1);
  }
}

}  // namespace
}  // namespace telvar::generate::schema
