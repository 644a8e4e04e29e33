#include "mirel/highlight/dart_syntax_highlighter.h"

#include "mirel/highlight/highlighting.h"

namespace mirel {

namespace {

constexpr ColourPair methodColour{{55, 122, 172}, {105, 174, 210}};
constexpr ColourPair callColour{{123, 83, 179}, {171, 131, 229}};

const WordList& keywords() {
  static const WordList words{u"import", u"class", u"required", u"optional",
                              u"this",   u"final", u"factory",  u"null"};
  return words;
}

}  // namespace

AttributedText DartSyntaxHighlighter::highlight(std::u16string_view code, const Font& font) {
  Highlighting h(code, font, "DartSyntaxHighlighter");
  h.highlightKeywords(keywords(), palette::keyword);
  h.colourCaptures(uR"re(class (\w+))re", palette::type);

  // Types: before a field or parameter name (one generic level, then nested lists up to four
  // levels), constructors, list conversions, and the map type.
  h.colourCaptures(uR"re((\w+\<?\w+\??\>?\??) \w+[;,])re", palette::propertyType);
  h.colourCaptures(uR"re((List\<List\<\w+\??\>\>\??) \w+[;,])re", palette::propertyType);
  h.colourCaptures(uR"re((List\<List\<List\<\w+\??\>\>\>\??) \w+[;,])re", palette::propertyType);
  h.colourCaptures(uR"re((List\<List\<List\<List\<\w+\??\>\>\>\>\??) \w+[;,])re",
                   palette::propertyType);
  h.colourCaptures(uR"re((\w+)\(\{)re", palette::propertyType);
  h.colourCaptures(uR"re((List\<\w+\??\>)\.from)re", palette::propertyType);
  h.colourCaptures(uR"re((List\<List\<\w+\??\>\>)\.from)re", palette::propertyType);
  h.colourCaptures(uR"re((List\<List\<List\<\w+\??\>\>\>)\.from)re", palette::propertyType);
  h.colourCaptures(uR"re((List\<List\<List\<List\<\w+\??\>\>\>\>)\.from)re", palette::propertyType);
  h.colourCaptures(uR"re((\w+) copyWith\(\{)re", palette::propertyType);
  h.colourCaptures(uR"re((\w+)\.fromJSON)re", palette::propertyType);
  h.colourCaptures(uR"re(=\> (\w+)\()re", palette::propertyType);
  h.colourCaptures(uR"re((Map\<String, dynamic\>))re", palette::propertyType);

  // Declared conversion members.
  h.colourCaptures(uR"re( (copyWith)\(\{)re", methodColour);
  h.colourCaptures(uR"re(\w+\.(fromJSON)\(Map)re", methodColour);
  h.colourCaptures(uR"re( (toJSON)\(\) =\> \{)re", methodColour);

  // Called conversions.
  h.colourCaptures(uR"re(\w+\.(fromJSON)\(json)re", callColour);
  h.colourCaptures(uR"re(\w+\.(fromJSON)\(x\))re", callColour);
  h.colourCaptures(uR"re(\.(toJSON)\(\),)re", callColour);
  h.colourCaptures(uR"re( x\.(toJSON)\(\))re", callColour);
  h.colourCaptures(uR"re(\.(from)\()re", callColour);
  h.colourCaptures(uR"re(\.(map)\(\()re", callColour);

  // Quoted texts; a single-quoted one only before ");".
  h.colourCaptures(uR"re(("[^"]*"))re", palette::string);
  h.colourCaptures(uR"re(('[^']*');)re", palette::string);
  return std::move(h).attributedText();
}

}  // namespace mirel
