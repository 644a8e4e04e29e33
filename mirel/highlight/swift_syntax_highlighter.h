#pragma once

#include <string_view>

#include "mirel/highlight/attributed_text.h"
#include "mirel/highlight/font.h"
#include "mirel/highlight/highlighting.h"

namespace mirel {

/// Colours a generated Swift file: keywords, declared and used type names, cases, members,
/// conformances, macros and quoted texts.
struct SwiftSyntaxHighlighter {
  /// A new attributed text holding `code` in `font`, coloured by this output type's rules.
  /// Never fails: text that is not such code merely comes out less coloured.
  [[nodiscard]] static AttributedText highlight(std::u16string_view code, const Font& font);

  /// The distinct names that Swift code declares or uses as types: the names after "struct ",
  /// "class " and "enum " (without backquotes) and the type after a colon (without brackets).
  [[nodiscard]] static WordList typeNames(std::u16string_view code);
};

}  // namespace mirel
