#include "mirel/highlight/dart_syntax_highlighter.h"

#include <gtest/gtest.h>

#include "markup.h"

namespace mirel {
namespace {

std::string marked(std::string_view code) { return testing::highlighted("dart", code); }

TEST(DartSyntaxHighlighter, ColoursListTypesUpToFourLevelsAndNoDeeper) {
  EXPECT_EQ(marked("  List<List<List<List<int>>>> a;"),
            "  «propertyType:List<List<List<List<int>>>>» a;");
  EXPECT_EQ(marked("  List<List<List<List<List<int>>>>> deep;"),
            "  List<List<List<List<List<int>>>>> deep;");
}

TEST(DartSyntaxHighlighter, ColoursTheWholeMapType) {
  EXPECT_EQ(marked("  Map<String, dynamic> extra;"),
            "  «propertyType:Map<String, dynamic>» extra;");
}

TEST(DartSyntaxHighlighter, IncludesBothNullableMarksInTheType) {
  EXPECT_EQ(marked("  List<int?>? xs;\n  List<List<int?>>? ys,"),
            "  «propertyType:List<int?>?» xs;\n  «propertyType:List<List<int?>>?» ys,");
}

TEST(DartSyntaxHighlighter, ColoursNoMethodOrCallWithoutConversionMembers) {
  EXPECT_EQ(marked("class A {\n  int a;\n\n  A({\n    required this.a,\n  });\n}"),
            "«keyword:class» «type:A» {\n  «propertyType:int» a;\n\n  «propertyType:A»({\n"
            "    «keyword:required» «keyword:this».a,\n  });\n}");
}

TEST(DartSyntaxHighlighter, ColoursASingleQuotedTextOnlyBeforeASemicolon) {
  EXPECT_EQ(marked("import 'dart:convert';\nf('x');"),
            "«keyword:import» «string:'dart:convert'»;\nf('x');");
}

}  // namespace
}  // namespace mirel
