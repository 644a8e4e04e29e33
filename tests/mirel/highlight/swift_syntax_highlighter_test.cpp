#include "mirel/highlight/swift_syntax_highlighter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "markup.h"

namespace mirel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string marked(std::string_view code) { return testing::highlighted("swift", code); }

TEST(SwiftSyntaxHighlighter, DeclaresNoTypesWithoutDeclarationsOrColons) {
  EXPECT_THAT(SwiftSyntaxHighlighter::typeNames(u"let x = Int(1)"), IsEmpty());
  EXPECT_EQ(marked("let x = Int(1)"), "«keyword:let» «member:x» = Int(1)");
}

TEST(SwiftSyntaxHighlighter, TakesABackquotedEnumerationNameWithoutItsBackquotes) {
  EXPECT_THAT(SwiftSyntaxHighlighter::typeNames(u"enum `Type`: String {\n  case a\n}"),
              ElementsAre(u"String", u"Type"));
  EXPECT_EQ(
      marked("enum `Type`: String {}\nlet t: `Type`"),
      "«keyword:enum» `«type:Type»`: «propertyType:String» {}\n«keyword:let» t: `«type:Type»`");
}

TEST(SwiftSyntaxHighlighter, ShowsARawValueCaseNameAsAMemberAndItsValueAsAString) {
  EXPECT_EQ(marked(R"(case createdAt = "created_at")"),
            R"(«keyword:case» «member:createdAt» = «string:"created_at"»)");
}

TEST(SwiftSyntaxHighlighter, NeverColoursATypeNameInsideALongerWord) {
  EXPECT_EQ(marked("struct Tag {\n  let kind = TagKind.a\n}"),
            "«keyword:struct» «type:Tag» {\n  «keyword:let» «member:kind» = TagKind.«member:a»\n}");
}

TEST(SwiftSyntaxHighlighter, ShowsAQuotedTextWhollyInTheStringColour) {
  EXPECT_EQ(marked(R"(struct A: Codable { let a = "struct A: Codable self.x = 1" })"),
            R"(«keyword:struct» «type:A»: «propertyType:Codable» { «keyword:let» «member:a» = )"
            R"(«string:"struct A: Codable self.x = 1"» })");
}

TEST(SwiftSyntaxHighlighter, ShowsAnyWordAfterADotAsAMemberButProtocolWordsAsTypes) {
  EXPECT_EQ(marked("a = b.self\nc = json.isEmpty"),
            "a = b.«member:self»\nc = json.«propertyType:isEmpty»");
}

TEST(SwiftSyntaxHighlighter, ColoursTheRightWordsAfterAnEmoji) {
  EXPECT_EQ(marked("case smile = \"\U0001F600\"\nlet face: String"),
            "«keyword:case» «member:smile» = «string:\"\U0001F600\"»\n«keyword:let» face: "
            "«propertyType:String»");
}

}  // namespace
}  // namespace mirel
