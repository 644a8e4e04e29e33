#pragma once

#include <string_view>

#include "mirel/highlight/attributed_text.h"
#include "mirel/highlight/font.h"

namespace mirel {

/// Colours a generated JSON Schema: quoted texts, object keys, schema keywords and type names.
struct SchemaSyntaxHighlighter {
  /// A new attributed text holding `code` in `font`, coloured by this output type's rules.
  /// Never fails: text that is not such code merely comes out less coloured.
  [[nodiscard]] static AttributedText highlight(std::u16string_view code, const Font& font);
};

}  // namespace mirel
