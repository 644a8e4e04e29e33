#pragma once

#include <QIcon>
#include <QPalette>

namespace mirel {

/// The small pictures on buttons.
enum class Symbol { link, envelope, star, copy, at, paintbrush, sliders, gear };

/// The freedesktop icon name of `symbol`.
[[nodiscard]] QString symbolIconName(Symbol symbol);

/// Whether the icon theme has a picture of `symbol`.
[[nodiscard]] bool hasThemeIcon(Symbol symbol);

/// The icon theme's picture of `symbol`, or, where the theme has none, a character drawn in the
/// palette's text colour (the star in yellow) so that every row still has its mark.
[[nodiscard]] QIcon symbolIcon(Symbol symbol, const QPalette& palette);

}  // namespace mirel
