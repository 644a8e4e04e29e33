#include "mirel/widgets/symbols.h"

#include <QPainter>
#include <QPixmap>

namespace mirel {

namespace {

[[nodiscard]] QString fallbackCharacter(Symbol symbol) {
  switch (symbol) {
    case Symbol::link:
      return QStringLiteral("\u2197");
    case Symbol::envelope:
      return QStringLiteral("\u2709");
    case Symbol::star:
      return QStringLiteral("\u2605");
    case Symbol::copy:
      return QStringLiteral("\u2750");
    case Symbol::at:
      return QStringLiteral("@");
    case Symbol::paintbrush:
      return QStringLiteral("\u00B6");
    case Symbol::sliders:
      return QStringLiteral("\u2630");
    case Symbol::gear:
      return QStringLiteral("\u2699");
  }
  return {};
}

}  // namespace

QString symbolIconName(Symbol symbol) {
  switch (symbol) {
    case Symbol::link:
      return QStringLiteral("insert-link");
    case Symbol::envelope:
      return QStringLiteral("mail-message-new");
    case Symbol::star:
      return QStringLiteral("starred");
    case Symbol::copy:
      return QStringLiteral("edit-copy");
    case Symbol::at:
      return QStringLiteral("im-user");
    case Symbol::paintbrush:
      return QStringLiteral("format-justify-left");
    case Symbol::sliders:
      return QStringLiteral("configure");
    case Symbol::gear:
      return QStringLiteral("preferences-system");
  }
  return {};
}

bool hasThemeIcon(Symbol symbol) { return QIcon::hasThemeIcon(symbolIconName(symbol)); }

QIcon symbolIcon(Symbol symbol, const QPalette& palette) {
  const QIcon themed = QIcon::fromTheme(symbolIconName(symbol));
  if (!themed.isNull()) return themed;
  QPixmap pixmap(48, 48);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont font = painter.font();
  font.setPixelSize(32);
  painter.setFont(font);
  painter.setPen(symbol == Symbol::star ? QColor(255, 204, 0)
                                        : palette.color(QPalette::ButtonText));
  painter.drawText(pixmap.rect(), Qt::AlignCenter, fallbackCharacter(symbol));
  painter.end();
  return QIcon(pixmap);
}

}  // namespace mirel
