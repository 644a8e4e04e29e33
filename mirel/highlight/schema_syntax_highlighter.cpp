#include "mirel/highlight/schema_syntax_highlighter.h"

#include "mirel/highlight/highlighting.h"

namespace mirel {

namespace {

constexpr ColourPair keyColour{{66, 130, 137}, {121, 193, 179}};

}  // namespace

AttributedText SchemaSyntaxHighlighter::highlight(std::u16string_view code, const Font& font) {
  Highlighting h(code, font, "SchemaSyntaxHighlighter");
  // Every quoted text, then the keys among them, then whole-text keywords and type names,
  // whether they stand as keys or as values.
  h.colourCaptures(uR"re(("[^"]*"))re", palette::string);
  h.colourCaptures(uR"re(("[^"]*"):)re", keyColour);
  h.colourCaptures(uR"re(("(type|format|properties|items|required)"))re", palette::keyword);
  h.colourCaptures(uR"re(("(object|array|string|number|integer|boolean|uri|date)"))re",
                   palette::type);
  return std::move(h).attributedText();
}

}  // namespace mirel
