#include "mirel/app/qt_text.h"

#include <cmath>

#include <QFontDatabase>
#include <QTextCharFormat>

namespace mirel {

QString toQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string toU16(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

QFont toQFont(const Font& font) {
  QFont result;
  if (font.family.empty()) {
    result = QFontDatabase::systemFont(font.monospaced ? QFontDatabase::FixedFont
                                                       : QFontDatabase::GeneralFont);
  } else {
    result = QFont(QString::fromStdString(font.family));
    if (font.monospaced) result.setStyleHint(QFont::Monospace);
  }
  if (std::isfinite(font.pointSize) && font.pointSize > 0) result.setPointSizeF(font.pointSize);
  return result;
}

QColor toQColor(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

Appearance appearanceOf(const QPalette& palette) {
  return palette.color(QPalette::Window).lightness() < 128 ? Appearance::dark : Appearance::light;
}

QList<QTextLayout::FormatRange> formatRanges(const AttributedText& text, Appearance appearance) {
  QList<QTextLayout::FormatRange> ranges;
  ranges.reserve(static_cast<qsizetype>(text.runs.size()));
  const QFont font = toQFont(text.font);
  for (const ColourRun& run : text.runs) {
    QTextLayout::FormatRange range;
    range.start = run.range.location;
    range.length = run.range.length;
    range.format.setFont(font);
    range.format.setForeground(toQColor(dynamicColorProvider(appearance, run.colour)));
    ranges.append(range);
  }
  return ranges;
}

}  // namespace mirel
