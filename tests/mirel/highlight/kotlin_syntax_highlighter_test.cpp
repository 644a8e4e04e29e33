#include "mirel/highlight/kotlin_syntax_highlighter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "markup.h"

namespace mirel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string marked(std::string_view code) { return testing::highlighted("kotlin", code); }

TEST(KotlinSyntaxHighlighter, NeedsDataClassWithOneBlankForAKeywordAndADeclaredClass) {
  EXPECT_THAT(KotlinSyntaxHighlighter::typeNames(u"data  class X (\n)\ndata\nclass Y ()"),
              IsEmpty());
  EXPECT_EQ(marked("data  class X (\n)\ndata\nclass Y ()"), "data  class X (\n)\ndata\nclass Y ()");
  EXPECT_EQ(marked("data class X ()"), "«keyword:data class» «type:X» ()");
}

TEST(KotlinSyntaxHighlighter, LeavesALoneDataOrClassUncoloured) {
  EXPECT_EQ(marked("package dev.data\nclass Z"), "«keyword:package» dev.data\nclass Z");
}

TEST(KotlinSyntaxHighlighter, TakesATypeInsideArrayBracketsAfterAColon) {
  EXPECT_THAT(KotlinSyntaxHighlighter::typeNames(u"val xs: [Item]"), ElementsAre(u"Item"));
  EXPECT_EQ(marked("val xs: [Item]\n// Item"),
            "«keyword:val» xs: [«propertyType:Item»]\n// «type:Item»");
}

TEST(KotlinSyntaxHighlighter, LeavesTheAtSignOfAnAnnotationInTheBaseColour) {
  EXPECT_EQ(marked("@SerialName(\"a_b\")"), "@«propertyType:SerialName»(«string:\"a_b\"»)");
}

}  // namespace
}  // namespace mirel
