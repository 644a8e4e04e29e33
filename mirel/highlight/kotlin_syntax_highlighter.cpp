#include "mirel/highlight/kotlin_syntax_highlighter.h"

namespace mirel {

namespace {

const WordList& keywords() {
  // "data class" is one entry: the two words with exactly one blank between them.
  static const WordList words{u"package", u"import", u"data class", u"val", u"var", u"null"};
  return words;
}

}  // namespace

WordList KotlinSyntaxHighlighter::typeNames(std::u16string_view code) {
  return declaredTypeNames({uR"re(data class (\w+))re", uR"re(: \[?(\w+)\]?)re"}, code);
}

AttributedText KotlinSyntaxHighlighter::highlight(std::u16string_view code, const Font& font) {
  Highlighting h(code, font, "KotlinSyntaxHighlighter");
  h.highlightKeywords(keywords(), palette::keyword);
  h.highlightKeywords(typeNames(code), palette::type);
  h.colourCaptures(uR"re(: \[?(\w+)\]?)re", palette::propertyType);
  h.colourCaptures(uR"re(@(Serializable))re", palette::propertyType);
  h.colourCaptures(uR"re(@(SerialName))re", palette::propertyType);
  h.colourCaptures(uR"re(("[^"]*"))re", palette::string);
  return std::move(h).attributedText();
}

}  // namespace mirel
