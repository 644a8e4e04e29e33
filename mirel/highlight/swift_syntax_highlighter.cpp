#include "mirel/highlight/swift_syntax_highlighter.h"

namespace mirel {

namespace {

constexpr ColourPair caseColour{{64, 128, 175}, {95, 153, 177}};
constexpr ColourPair memberColour{{81, 127, 135}, {138, 192, 180}};
constexpr ColourPair macroColour{{78, 138, 145}, {119, 193, 179}};
constexpr ColourPair braceWordColour{{59, 128, 135}, {117, 193, 179}};

const WordList& keywords() {
  static const WordList words{u"import",  u"extension", u"public", u"internal", u"fileprivate",
                              u"private", u"struct",    u"class",  u"enum",     u"case",
                              u"let",     u"var",       u"init",   u"self"};
  return words;
}

const WordList& protocolWords() {
  static const WordList words{u"Codable",      u"Decodable", u"Encodable",
                              u"Identifiable", u"CodingKey", u"isEmpty"};
  return words;
}

}  // namespace

WordList SwiftSyntaxHighlighter::typeNames(std::u16string_view code) {
  // The last pattern takes every type written after a colon, so the standard types of
  // properties ("String", "Int") count as names too.
  return declaredTypeNames({uR"re(struct (\w+))re", uR"re(class (\w+))re", uR"re(enum `?(\w+))re",
                            uR"re(: \[?(\w+)\]?)re"},
                           code);
}

AttributedText SwiftSyntaxHighlighter::highlight(std::u16string_view code, const Font& font) {
  Highlighting h(code, font, "SwiftSyntaxHighlighter");
  h.highlightKeywords(keywords(), palette::keyword);
  h.highlightKeywords(typeNames(code), palette::type);
  h.colourCaptures(uR"re(case (\w+))re", caseColour);
  h.colourCaptures(uR"re( (\w+) =)re", memberColour);
  h.colourCaptures(uR"re(self\.(\w+) =)re", memberColour);
  h.colourCaptures(uR"re(\.(\w+))re", memberColour);
  h.colourCaptures(uR"re(: \[?(\w+)\]?)re", palette::propertyType);
  // Gives "json" back its base colour after the member rules took it.
  h.colourCaptures(uR"re( (json)[\.\[])re", palette::base);
  h.highlightKeywords(protocolWords(), palette::propertyType);
  h.colourCaptures(uR"re((\@Sorbel\w+))re", macroColour);
  h.colourCaptures(uR"re(("[^"]*"))re", palette::string);
  h.colourCaptures(uR"re(\{ (\w+) \})re", braceWordColour);
  return std::move(h).attributedText();
}

}  // namespace mirel
