#include "mirel/highlight/go_syntax_highlighter.h"

#include "mirel/highlight/highlighting.h"

namespace mirel {

AttributedText GoSyntaxHighlighter::highlight(std::u16string_view code, const Font& font) {
  Highlighting h(code, font, "GoSyntaxHighlighter");
  h.highlightKeywords({u"package", u"type"}, palette::keyword);
  h.colourCaptures(uR"re(type (\w+) struct)re", palette::type);
  // Group 2 (the last "[]") takes no part when a type has no brackets; the capture routine
  // leaves it out.
  h.colourCaptures(uR"re((\*?(\[?\])*\w+) `json)re", palette::propertyType);
  h.colourCaptures(uR"re( ((\[?\])*\w+) \{)re", palette::propertyType);
  h.colourCaptures(uR"re( (interface\{\}) )re", palette::propertyType);
  // The "struct" of a declared type goes back to the keyword colour; that of an inline struct
  // field keeps the type colour.
  h.colourCaptures(uR"re(type \w+ (struct) \{)re", palette::keyword);
  h.colourCaptures(uR"re((json:"[^"]+"))re", palette::string);
  h.colourCaptures(uR"re((json:"[^"]+,omitempty"))re", palette::string);
  return std::move(h).attributedText();
}

}  // namespace mirel
