#include "mirel/highlight/schema_syntax_highlighter.h"

#include <gtest/gtest.h>

#include "markup.h"

namespace mirel {
namespace {

std::string marked(std::string_view code) { return testing::highlighted("schema", code); }

TEST(SchemaSyntaxHighlighter, ShowsAKeyNamedLikeAKeywordInTheKeywordColour) {
  EXPECT_EQ(marked(R"({"required": {"type": "string"}})"),
            R"({«keyword:"required"»: {«keyword:"type"»: «type:"string"»}})");
}

TEST(SchemaSyntaxHighlighter, ShowsAKeyNamedLikeATypeInTheTypeColour) {
  EXPECT_EQ(marked(R"({"uri": 1, "object": 2})"), R"({«type:"uri"»: 1, «type:"object"»: 2})");
}

TEST(SchemaSyntaxHighlighter, ColoursAWordOnlyWhenItFillsTheWholeQuotedText) {
  EXPECT_EQ(marked(R"({"types": "date-time", "format": "strings"})"),
            R"({«key:"types"»: «string:"date-time"», «keyword:"format"»: «string:"strings"»})");
}

TEST(SchemaSyntaxHighlighter, EndsAQuotedTextAtAnEscapedQuote) {
  EXPECT_EQ(marked(R"({"a\"b": "c"})"), R"({«string:"a\»«key:"b"»«string:: "»c"})");
}

TEST(SchemaSyntaxHighlighter, LeavesNumbersLiteralsAndPunctuationInTheBaseColour) {
  EXPECT_EQ(marked(R"({"a": [1, -2.5e3, true, false, null]})"),
            R"({«key:"a"»: [1, -2.5e3, true, false, null]})");
}

}  // namespace
}  // namespace mirel
