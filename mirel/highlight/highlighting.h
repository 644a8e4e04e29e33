#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mirel/highlight/attributed_text.h"
#include "mirel/highlight/colour.h"
#include "mirel/highlight/font.h"

namespace mirel {

/// A list of keywords or type names. Words hold no character with a meaning in regular
/// expressions, so they go into patterns unescaped.
using WordList = std::vector<std::u16string>;

/// The ranges of every whole-word occurrence in `code` of any word of `words`, in text order:
/// the matches of the pattern "\bw1\b|\bw2\b|..." (ICU word boundaries, UTF-16 code units). A
/// word never matches part of a longer word, and the order of the words does not matter. An
/// empty list gives nothing. `owner` names the highlighter in the message with which the program
/// stops if the pattern does not compile (a programming error: the words of this system always
/// compile).
[[nodiscard]] std::vector<TextRange> keywordRanges(const WordList& words, std::u16string_view code,
                                                   std::string_view owner);

/// The distinct texts that group 1 of `patterns` captures in `code`, sorted: the type names a
/// declared-type pass colours.
[[nodiscard]] WordList declaredTypeNames(const std::vector<std::u16string_view>& patterns,
                                         std::u16string_view code);

/// The common frame of every highlighter: the text starts in the base colour with the font over
/// all of it, and each step sets the foreground colour on the code units it touches, replacing
/// what an earlier step set there (the later rule wins).
///
///   Highlighting h(u"let x", font, "SwiftSyntaxHighlighter");
///   h.highlightKeywords({u"let"}, palette::keyword);
///   h.colourCaptures(uR"(\s(\w+))", palette::type);
///   AttributedText text = std::move(h).attributedText();
class Highlighting {
 public:
  /// `code` must outlive this object; `owner` names the highlighter in fatal messages.
  Highlighting(std::u16string_view code, Font font, std::string_view owner);

  /// The keyword pass: colours every whole-word occurrence of any of `words` over the whole text.
  void highlightKeywords(const WordList& words, const ColourPair& colour);

  /// A capture rule: colours every range that `captureRanges` gives for `pattern`, in order.
  void colourCaptures(std::u16string_view pattern, const ColourPair& colour);

  /// Colours the given ranges, in order.
  void colourRanges(const std::vector<TextRange>& ranges, const ColourPair& colour);

  /// The finished text with its runs.
  [[nodiscard]] AttributedText attributedText() &&;

 private:
  [[nodiscard]] std::uint8_t indexOf(const ColourPair& colour);

  std::u16string_view m_code;
  Font m_font;
  std::string_view m_owner;
  std::vector<ColourPair> m_colours;        // index 0 is the base colour
  std::vector<std::uint8_t> m_colourIndex;  // one entry per UTF-16 code unit
};

namespace detail {

/// The keyword pass as one compiled alternation of the words; serves any word list.
[[nodiscard]] std::vector<TextRange> keywordRangesByAlternation(const WordList& words,
                                                                std::u16string_view code,
                                                                std::string_view owner);

/// The same result for words made of word characters only, found by looking each word of the
/// text up in a set; its cost does not grow with the number of words. `keywordRanges` takes it
/// whenever it can.
[[nodiscard]] std::vector<TextRange> keywordRangesByLookup(const WordList& words,
                                                           std::u16string_view code);

}  // namespace detail

}  // namespace mirel
