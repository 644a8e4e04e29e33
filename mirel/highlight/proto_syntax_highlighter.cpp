#include "mirel/highlight/proto_syntax_highlighter.h"

#include "mirel/highlight/highlighting.h"

namespace mirel {

namespace {

constexpr ColourPair valueTypeColour{{236, 79, 58}, {245, 83, 61}};
constexpr ColourPair numberColour{{233, 116, 49}, {215, 201, 134}};

const WordList& keywords() {
  static const WordList words{u"syntax",   u"package",  u"message", u"enum",
                              u"required", u"optional", u"repeated"};
  return words;
}

}  // namespace

AttributedText ProtoSyntaxHighlighter::highlight(std::u16string_view code, const Font& font) {
  Highlighting h(code, font, "ProtoSyntaxHighlighter");
  h.highlightKeywords(keywords(), palette::keyword);
  // Quoted texts come first here, so later rules may colour inside them.
  h.colourCaptures(uR"re(("[^"]*"))re", palette::string);
  h.colourCaptures(uR"re(message (\w+) )re", palette::type);
  h.colourCaptures(uR"re((\w+) \w+ =)re", palette::propertyType);
  h.colourCaptures(uR"re((Value) \w+ =)re", valueTypeColour);
  h.colourCaptures(uR"re(= (\w+);)re", numberColour);
  return std::move(h).attributedText();
}

}  // namespace mirel
