#include "mirel/highlight/go_syntax_highlighter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "markup.h"
#include "mirel/highlight/capture_ranges.h"

namespace mirel {
namespace {

using ::testing::ElementsAre;

std::string marked(std::string_view code) { return testing::highlighted("go", code); }

TEST(GoSyntaxHighlighter, ColoursAPointerTypeWhoseBracketGroupTookNoPart) {
  EXPECT_EQ(marked("  Count *int `json:\"count,omitempty\"`"),
            "  Count «propertyType:*int» `«string:json:\"count,omitempty\"»`");
}

TEST(GoSyntaxHighlighter, ColoursASliceOfSlicesWholeWithItsLastBracketPairAsASecondRange) {
  EXPECT_THAT(captureRanges(uR"re((\*?(\[?\])*\w+) `json)re", u"  G [][]int `json:\"g\"`"),
              ElementsAre(TextRange{4, 7}, TextRange{6, 2}));
  EXPECT_EQ(marked("  G [][]int `json:\"g\"`"), "  G «propertyType:[][]int» `«string:json:\"g\"»`");
}

TEST(GoSyntaxHighlighter, LeavesATypeMoreThanOneBlankBeforeItsTagUncoloured) {
  EXPECT_EQ(marked("  A int  `json:\"a\"`"), "  A int  `«string:json:\"a\"»`");
}

TEST(GoSyntaxHighlighter, ShowsInlineStructAsATypeAndDeclaredStructAsAKeyword) {
  EXPECT_EQ(marked("type A struct {\n  B struct {\n  } `json:\"b\"`\n}"),
            "«keyword:type» «type:A» «keyword:struct» {\n  B «propertyType:struct» {\n  } "
            "`«string:json:\"b\"»`\n}");
}

}  // namespace
}  // namespace mirel
