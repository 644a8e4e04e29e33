#include "mirel/highlight/proto_syntax_highlighter.h"

#include <gtest/gtest.h>

#include "markup.h"

namespace mirel {
namespace {

std::string marked(std::string_view code) { return testing::highlighted("proto", code); }

TEST(ProtoSyntaxHighlighter, NeedsABlankAfterAMessageName) {
  EXPECT_EQ(marked("message Foo{\n}"), "«keyword:message» Foo{\n}");
}

TEST(ProtoSyntaxHighlighter, ColoursOnlyTheNumberOfAnEnumerationValue) {
  EXPECT_EQ(marked("enum Kind {\n  KIND_A = 0;\n}"),
            "«keyword:enum» Kind {\n  KIND_A = «number:0»;\n}");
}

TEST(ProtoSyntaxHighlighter, LeavesImportAndTheSyntaxValueToTheirOwnColours) {
  EXPECT_EQ(marked("syntax = \"proto3\";\nimport \"a/b.proto\";"),
            "«keyword:syntax» = «string:\"proto3\"»;\nimport «string:\"a/b.proto\"»;");
}

TEST(ProtoSyntaxHighlighter, ColoursOnlyTheLastWordOfAQualifiedType) {
  EXPECT_EQ(marked("  optional google.protobuf.Value v = 2;"),
            "  «keyword:optional» google.protobuf.«valueType:Value» v = «number:2»;");
}

}  // namespace
}  // namespace mirel
