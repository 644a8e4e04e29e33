#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "mirel/highlight/attributed_text.h"
#include "mirel/highlight/colour.h"

namespace mirel {

/// Readable test failures.
void PrintTo(const TextRange& range, std::ostream* out);
void PrintTo(const ColourPair& colour, std::ostream* out);

}  // namespace mirel

namespace mirel::testing {

/// A colour pair with the name it has in the markup of golden files.
struct NamedColour {
  std::string name;
  ColourPair colour;
};

/// The colours of one output type's highlighter, named as its rules name them (the base colour
/// is left out: base text is written plain).
[[nodiscard]] std::vector<NamedColour> coloursOf(std::string_view language);

/// The text as UTF-8 with every run that is not in the base colour written as «name:text»,
/// runs split at line feeds so that each line reads on its own. A pair without a name shows as
/// «?r,g,b/r,g,b:text».
[[nodiscard]] std::string markup(const AttributedText& text, const std::vector<NamedColour>& names);

/// `code` (UTF-8) highlighted by the highlighter of `language` ("schema", "swift", "kotlin",
/// "dart", "go" or "proto") and written as markup.
[[nodiscard]] std::string highlighted(std::string_view language, std::string_view code);

/// UTF-8 to UTF-16 and back.
[[nodiscard]] std::u16string utf16(std::string_view utf8);
[[nodiscard]] std::string utf8(std::u16string_view utf16);

/// A line diff of two texts ("-" expected, "+" actual), empty when they are equal.
[[nodiscard]] std::string lineDiff(std::string_view expected, std::string_view actual);

}  // namespace mirel::testing
