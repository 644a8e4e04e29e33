#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mirel/highlight/colour.h"
#include "mirel/highlight/font.h"

namespace mirel {

/// A stretch of text in UTF-16 code units, the measure of the application's text widgets.
struct TextRange {
  std::int32_t location = 0;
  std::int32_t length = 0;

  friend bool operator==(const TextRange&, const TextRange&) = default;
};

/// A stretch of text shown in one colour pair.
struct ColourRun {
  TextRange range;
  ColourPair colour;

  friend bool operator==(const ColourRun&, const ColourRun&) = default;
};

/// Highlighted code: the text, the font set once over all of it, and its foreground colours as
/// runs that cover the whole text in order, without gaps, adjacent runs differing in colour.
/// An empty text has no runs.
struct AttributedText {
  std::u16string text;
  Font font;
  std::vector<ColourRun> runs;

  /// The colour pair of the code unit at `index` (which must lie inside the text).
  [[nodiscard]] ColourPair colourAt(std::int32_t index) const;
};

}  // namespace mirel
