// The corners of each language's rules that the golden files do not reach.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "markup.h"
#include "mirel/highlight/capture_ranges.h"
#include "mirel/highlight/kotlin_syntax_highlighter.h"
#include "mirel/highlight/swift_syntax_highlighter.h"

namespace mirel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct MarkupCase {
  const char* language;
  const char* code;
  const char* expected;
};

TEST(SyntaxHighlighters, ColourEachCornerOfTheirRules) {
  const MarkupCase cases[] = {
      // Dart: list types up to four levels, whole map types, both nullable marks, constructors
      // that are no methods, a single-quoted text only before a semicolon.
      {"dart", "  List<List<List<List<int>>>> a;",
       "  «propertyType:List<List<List<List<int>>>>» a;"},
      {"dart", "  List<List<List<List<List<int>>>>> deep;",
       "  List<List<List<List<List<int>>>>> deep;"},
      {"dart", "  Map<String, dynamic> extra;", "  «propertyType:Map<String, dynamic>» extra;"},
      {"dart", "  List<int?>? xs;\n  List<List<int?>>? ys,",
       "  «propertyType:List<int?>?» xs;\n  «propertyType:List<List<int?>>?» ys,"},
      {"dart", "class A {\n  int a;\n\n  A({\n    required this.a,\n  });\n}",
       "«keyword:class» «type:A» {\n  «propertyType:int» a;\n\n  «propertyType:A»({\n"
       "    «keyword:required» «keyword:this».a,\n  });\n}"},
      {"dart", "import 'dart:convert';\nf('x');",
       "«keyword:import» «string:'dart:convert'»;\nf('x');"},
      // Go: a pointer type whose bracket group took no part, slices of slices, a type more than
      // one blank before its tag, inline and declared structs.
      {"go", "  Count *int `json:\"count,omitempty\"`",
       "  Count «propertyType:*int» `«string:json:\"count,omitempty\"»`"},
      {"go", "  G [][]int `json:\"g\"`", "  G «propertyType:[][]int» `«string:json:\"g\"»`"},
      {"go", "  A int  `json:\"a\"`", "  A int  `«string:json:\"a\"»`"},
      {"go", "type A struct {\n  B struct {\n  } `json:\"b\"`\n}",
       "«keyword:type» «type:A» «keyword:struct» {\n  B «propertyType:struct» {\n  } "
       "`«string:json:\"b\"»`\n}"},
      // Kotlin: "data class" with one blank only, a lone "data", array brackets, annotations.
      {"kotlin", "data  class X (\n)\ndata\nclass Y ()", "data  class X (\n)\ndata\nclass Y ()"},
      {"kotlin", "data class X ()", "«keyword:data class» «type:X» ()"},
      {"kotlin", "package dev.data\nclass Z", "«keyword:package» dev.data\nclass Z"},
      {"kotlin", "val xs: [Item]\n// Item",
       "«keyword:val» xs: [«propertyType:Item»]\n// «type:Item»"},
      {"kotlin", "@SerialName(\"a_b\")", "@«propertyType:SerialName»(«string:\"a_b\"»)"},
      // Proto: a message name needs a blank, enumeration values, import, qualified types.
      {"proto", "message Foo{\n}", "«keyword:message» Foo{\n}"},
      {"proto", "enum Kind {\n  KIND_A = 0;\n}",
       "«keyword:enum» Kind {\n  KIND_A = «number:0»;\n}"},
      {"proto", "syntax = \"proto3\";\nimport \"a/b.proto\";",
       "«keyword:syntax» = «string:\"proto3\"»;\nimport «string:\"a/b.proto\"»;"},
      {"proto", "  optional google.protobuf.Value v = 2;",
       "  «keyword:optional» google.protobuf.«valueType:Value» v = «number:2»;"},
      // Schema: keys named like keywords or types, whole quoted words only, escaped quotes,
      // literals in the base colour.
      {"schema", R"({"required": {"type": "string"}})",
       R"({«keyword:"required"»: {«keyword:"type"»: «type:"string"»}})"},
      {"schema", R"({"uri": 1, "object": 2})", R"({«type:"uri"»: 1, «type:"object"»: 2})"},
      {"schema", R"({"types": "date-time", "format": "strings"})",
       R"({«key:"types"»: «string:"date-time"», «keyword:"format"»: «string:"strings"»})"},
      {"schema", R"({"a\"b": "c"})", R"({«string:"a\»«key:"b"»«string:: "»c"})"},
      {"schema", R"({"a": [1, -2.5e3, true, false, null]})",
       R"({«key:"a"»: [1, -2.5e3, true, false, null]})"},
      // Swift: no declarations, backquoted names, raw-value cases, type names inside longer
      // words, quoted texts, words after a dot, emoji before the coloured words.
      {"swift", "let x = Int(1)", "«keyword:let» «member:x» = Int(1)"},
      {"swift", "enum `Type`: String {}\nlet t: `Type`",
       "«keyword:enum» `«type:Type»`: «propertyType:String» {}\n«keyword:let» t: `«type:Type»`"},
      {"swift", R"(case createdAt = "created_at")",
       R"(«keyword:case» «member:createdAt» = «string:"created_at"»)"},
      {"swift", "struct Tag {\n  let kind = TagKind.a\n}",
       "«keyword:struct» «type:Tag» {\n  «keyword:let» «member:kind» = TagKind.«member:a»\n}"},
      {"swift", R"(struct A: Codable { let a = "struct A: Codable self.x = 1" })",
       R"(«keyword:struct» «type:A»: «propertyType:Codable» { «keyword:let» «member:a» = )"
       R"(«string:"struct A: Codable self.x = 1"» })"},
      {"swift", "a = b.self\nc = json.isEmpty",
       "a = b.«member:self»\nc = json.«propertyType:isEmpty»"},
      {"swift", "case smile = \"\U0001F600\"\nlet face: String",
       "«keyword:case» «member:smile» = «string:\"\U0001F600\"»\n«keyword:let» face: "
       "«propertyType:String»"},
  };
  for (const MarkupCase& c : cases) {
    EXPECT_EQ(testing::highlighted(c.language, c.code), c.expected) << c.language << ": " << c.code;
  }
}

TEST(SyntaxHighlighters, DeclaredTypeNamesOfKotlinAndSwift) {
  EXPECT_THAT(KotlinSyntaxHighlighter::typeNames(u"data  class X (\n)\ndata\nclass Y ()"),
              IsEmpty());
  EXPECT_THAT(KotlinSyntaxHighlighter::typeNames(u"val xs: [Item]"), ElementsAre(u"Item"));
  EXPECT_THAT(SwiftSyntaxHighlighter::typeNames(u"let x = Int(1)"), IsEmpty());
  EXPECT_THAT(SwiftSyntaxHighlighter::typeNames(u"enum `Type`: String {\n  case a\n}"),
              ElementsAre(u"String", u"Type"));
  // Go's slice of slices: the whole type, then its last bracket pair as a second range.
  EXPECT_THAT(captureRanges(uR"re((\*?(\[?\])*\w+) `json)re", u"  G [][]int `json:\"g\"`"),
              ElementsAre(TextRange{4, 7}, TextRange{6, 2}));
}

}  // namespace
}  // namespace mirel
