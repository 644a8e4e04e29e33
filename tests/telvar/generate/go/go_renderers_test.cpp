#include "telvar/generate/go/go_renderers.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "../../support/small_stack.h"
#include "../../support/values.h"
#include "telvar/generate/generate.h"
#include "telvar/parse/json_grammar.h"

namespace telvar::generate {
namespace {

using PT = PropertyType;

PT prim(Primitive p) { return PT::primitive(p); }
PT intType() { return prim(Primitive::int_()); }
PT stringType() { return prim(Primitive::string()); }
PT optional(PT t) { return PT::optional(std::move(t)); }
PT nothing() { return PT::optional(std::nullopt); }
PT array(PT t) { return PT::array(std::move(t)); }
PT object(std::string key, std::vector<Property> properties = {}) {
  return PT::object(Object{{"Unknown", std::move(key)}, std::move(properties)});
}
Property property(std::string key, PT type) {
  return {{"Unknown", std::move(key)}, std::move(type)};
}

struct TypeCase {
  PT type;
  std::string named;
  std::string inlined;
  bool omitEmpty;
};

// The common field types: named and inline texts and whether the tag takes ",omitempty".
TEST(GoTypes, CommonFieldTypes) {
  const std::vector<TypeCase> cases{
      {intType(), "int", "int", false},
      {optional(intType()), "*int", "*int", true},
      {nothing(), "interface{}", "interface{}", false},
      {array(stringType()), "[]string", "[]string", false},
      {array(optional(stringType())), "[]*string", "[]*string", true},
      {optional(array(stringType())), "[]string", "[]string", true},
      {array(array(intType())), "[][]int", "[][]int", false},
      {object("owner"), "Owner", "struct {\n}", false},
      {optional(object("owner")), "*Owner", "*struct {\n}", true},
      {array(object("owners")), "[]Owner", "[]struct {\n}", false},
      {array(optional(object("owners"))), "[]*Owner", "[]*struct {\n}", true},
      {prim(Primitive::date(Value::DateKind::iso8601)), "Date", "Date", false},
      {prim(Primitive::date(Value::DateKind::timeIntervalSince1970)), "Date", "Date", false},
      {prim(Primitive::url()), "URL", "URL", false},
      // Go has no Any: what nothing is known of is an empty interface.
      {prim(Primitive::any()), "interface{}", "interface{}", false},
      {array(prim(Primitive::any())), "[]interface{}", "[]interface{}", false},
      {array(nothing()), "[]interface{}", "[]interface{}", true},
      {prim(Primitive::double_()), "float64", "float64", false},
      {prim(Primitive::bool_()), "bool", "bool", false},
      // The inline texts keep every list level and pointer of the named ones, so that the
      // sample unmarshals: {"m":[[1],null]}, {"m":[[1,null]]}, {"a":[[{"x":1}],null]}.
      {optional(array(array(intType()))), "[][]int", "[][]int", true},
      {array(optional(array(intType()))), "[][]int", "[][]int", true},
      {array(array(optional(intType()))), "[][]*int", "[][]*int", false},
      {array(optional(array(object("as")))), "[][]A", "[][]struct {\n}", true},
      {array(array(array(object("cubes")))), "[][][]Cube", "[][][]struct {\n}", false},
  };
  const GoMeta meta;
  const Indentation indentation;
  for (const auto& c : cases) {
    const Property p = property("x", c.type);
    const std::string named = goType(p, meta);
    EXPECT_EQ(named, c.named);
    EXPECT_EQ(goInlineFieldType(p, meta, indentation, 0), c.inlined) << c.named;
    EXPECT_EQ(goOmitsEmpty(c.type, named), c.omitEmpty) << c.named;
  }
}

TEST(GoTypes, TypeNameMapShapesTheNamedTextAndOnlyPlainPrimitivesInline) {
  GoMeta meta;
  meta.setTypeNameMaps({TypeNameMap(Uuid(), "x", "M")});
  const Indentation indentation;
  const std::vector<std::pair<PT, std::string>> named{
      {intType(), "M"},
      {object("x"), "M"},
      {array(intType()), "[]M"},
      {array(optional(intType())), "[]*M"},
      {array(array(intType())), "[][]M"},
      {array(array(optional(intType()))), "[][]*M"},
      {optional(array(intType())), "[]M"},
      {optional(intType()), "*M"},
      {nothing(), "*M"},
  };
  for (const auto& [type, text] : named) EXPECT_EQ(goType(property("x", type), meta), text);
  EXPECT_EQ(goInlineFieldType(property("x", intType()), meta, indentation, 0), "M");
  EXPECT_EQ(goInlineFieldType(property("x", optional(intType())), meta, indentation, 0), "*int");
  EXPECT_EQ(goInlineFieldType(property("x", array(intType())), meta, indentation, 0), "[]int");
  // A mapped null of nothing is a pointer, so it takes ",omitempty".
  EXPECT_TRUE(goOmitsEmpty(nothing(), goType(property("x", nothing()), meta)));
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The code of {"a": {"a": ... {"a": 1}}}, `depth` objects with the root, named as the detection
// walk names them.
Code deepObjects(int depth) {
  Names names{"Unknown"};
  for (int i = 0; i < depth; ++i) names.push_back("a");
  PT type = intType();
  for (int i = depth; i > 0; --i) {
    Names objectNames(names.begin(), names.begin() + i);
    Names propertyNames(names.begin(), names.begin() + i + 1);
    type = PT::object(Object{std::move(objectNames), {{std::move(propertyNames), type}}});
  }
  return Code::object(type.objectValue());
}

TEST(GoInline, NestedObjectsFiveHundredDeepNeedNoCallStack) {
  const Code code = deepObjects(512);
  const GoMeta meta;
  const Indentation indentation;
  std::string text;
  ASSERT_TRUE(testing::runOnSmallStack(
      64 * 1024, [&] { text = goInlineStruct(code.objectValue(), meta, indentation, 0); }));
  EXPECT_EQ(text.substr(0, 22), "struct {\n  A struct {\n");
  EXPECT_TRUE(endsWith(text, "\n  } `json:\"a\"`\n}"));
}

// Written through a printer, the inline type continues the line that declares it: its fields
// stand one level below the printer's level, its closing brace at it, and the next line starts
// fresh at the printer's level.
TEST(GoInline, ContinuesTheDeclaringLineAtThePrintersLevel) {
  const Property count = property("count", optional(intType()));
  const Property child = property("child", object("child", {count}));
  const Object root{{"Unknown"}, {property("name", stringType()), child}};
  const GoMeta meta;
  std::string text;
  CodePrinter printer(text, "\t", 1);
  printer.line("type Root ");
  writeGoInlineStruct(printer, root, meta);
  printer.line("type Child ");
  writeGoInlineFieldType(printer, property("child", array(object("child", {count}))), meta);
  printer.line("type N ");
  writeGoInlineBaseType(printer, optional(intType()), meta);
  EXPECT_EQ(text,
            "\ttype Root struct {\n"
            "\t\tName string `json:\"name\"`\n"
            "\t\tChild struct {\n"
            "\t\t\tCount *int `json:\"count,omitempty\"`\n"
            "\t\t} `json:\"child\"`\n"
            "\t}\n"
            "\ttype Child []struct {\n"
            "\t\tCount *int `json:\"count,omitempty\"`\n"
            "\t}\n"
            "\ttype N int");
}

}  // namespace
}  // namespace telvar::generate
