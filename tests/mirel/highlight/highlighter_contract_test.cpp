// What every highlighter promises, whatever text it is given.

#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "mirel/highlight/dart_syntax_highlighter.h"
#include "mirel/highlight/go_syntax_highlighter.h"
#include "mirel/highlight/kotlin_syntax_highlighter.h"
#include "mirel/highlight/proto_syntax_highlighter.h"
#include "mirel/highlight/schema_syntax_highlighter.h"
#include "mirel/highlight/swift_syntax_highlighter.h"

namespace mirel {
namespace {

using Highlighter = std::function<AttributedText(std::u16string_view, const Font&)>;

const std::vector<Highlighter>& highlighters() {
  static const std::vector<Highlighter> all{
      SchemaSyntaxHighlighter::highlight, SwiftSyntaxHighlighter::highlight,
      KotlinSyntaxHighlighter::highlight, DartSyntaxHighlighter::highlight,
      GoSyntaxHighlighter::highlight,     ProtoSyntaxHighlighter::highlight};
  return all;
}

void expectRunsCoverTheText(const AttributedText& text) {
  std::int32_t next = 0;
  for (std::size_t i = 0; i < text.runs.size(); ++i) {
    ASSERT_EQ(text.runs[i].range.location, next);
    ASSERT_GT(text.runs[i].range.length, 0);
    if (i > 0) {
      ASSERT_NE(text.runs[i].colour, text.runs[i - 1].colour);
    }
    next += text.runs[i].range.length;
  }
  ASSERT_EQ(static_cast<std::size_t>(next), text.text.size());
}

TEST(Highlighters, TurnEmptyTextIntoEmptyTextWithTheFont) {
  const Font font{"Menlo", 11, true};
  for (const Highlighter& highlight : highlighters()) {
    const AttributedText text = highlight(u"", font);
    EXPECT_TRUE(text.text.empty());
    EXPECT_TRUE(text.runs.empty());
    EXPECT_EQ(text.font, font);
  }
}

// Unbalanced quotes and brackets, lone surrogates, control characters: the text comes back
// unchanged, fully covered by runs.
TEST(Highlighters, KeepAnyTextAndCoverItWithRuns) {
  const std::u16string alphabet =
      u"abcXYZ_09 \n\t\"'`{}[]<>()?*:;,.=@$\\/-\u00E9\u0301\u200D\xD800\xDC00\xDFFF\U0001F600";
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::u16string code;
    const std::size_t size = random() % 200;
    for (std::size_t i = 0; i < size; ++i) code += alphabet[random() % alphabet.size()];
    for (const Highlighter& highlight : highlighters()) {
      const AttributedText text = highlight(code, Font{});
      ASSERT_EQ(text.text, code);
      expectRunsCoverTheText(text);
    }
  }
}

// Some rules backtrack quadratically or worse before a long word; a sample key of many thousands
// of characters must not stall the program. The work of each search is bounded instead, so such
// a text comes back (perhaps less coloured) in bounded time.
TEST(Highlighters, FinishOnWordsOfManyThousandCharacters) {
  const std::u16string word(50000, u'a');
  for (const std::u16string& code :
       {u"  " + word + u" x;\n", u"  " + word + u" " + word + u" = 1;\n",
        u"  " + word + u" `json:\"a\"`\n", u"  " + word + u" {\n"}) {
    for (const Highlighter& highlight : highlighters()) {
      const AttributedText text = highlight(code, Font{});
      ASSERT_EQ(text.text, code);
      expectRunsCoverTheText(text);
    }
  }
}

}  // namespace
}  // namespace mirel
