#pragma once

#include <string>
#include <string_view>

#include <QColor>
#include <QFont>
#include <QList>
#include <QPalette>
#include <QString>
#include <QTextLayout>

#include "mirel/highlight/attributed_text.h"
#include "mirel/highlight/colour.h"
#include "mirel/highlight/font.h"

// The boundary between the highlighters' toolkit-free texts and Qt: UTF-16 texts, fonts,
// colours and coloured runs. Both sides count in UTF-16 code units, so positions carry over.

namespace mirel {

namespace palette {
/// The system's red, in which the lint message is shown.
inline constexpr ColourPair systemRed{{255, 59, 48}, {255, 69, 58}};
}  // namespace palette

/// The same UTF-16 text as a QString.
[[nodiscard]] QString toQString(std::u16string_view text);
/// The same UTF-16 text as a std::u16string.
[[nodiscard]] std::u16string toU16(const QString& text);

/// The Qt font for `font`: an empty family means the system's fixed-pitch (or general) font;
/// the size is set in points when it is a positive number and left at the system's otherwise.
[[nodiscard]] QFont toQFont(const Font& font);
/// The opaque Qt colour of `rgb`.
[[nodiscard]] QColor toQColor(Rgb rgb);

/// Dark when the palette's window colour is dark, light otherwise.
[[nodiscard]] Appearance appearanceOf(const QPalette& palette);

/// One format range per colour run of `text`, each with the text's font and the run's colour
/// resolved for `appearance`; resolved at paint time so a palette change needs no new run.
[[nodiscard]] QList<QTextLayout::FormatRange> formatRanges(const AttributedText& text,
                                                           Appearance appearance);

}  // namespace mirel
