#include "mirel/widgets/key_row.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>

#include "mirel/app/qt_text.h"

namespace mirel {

namespace {

// The keys' colours: white keys on a light keyboard, grey ones on a dark keyboard, each with a
// hard one-pixel shadow under it.
constexpr ColourPair keyBackground{{255, 255, 255}, {99, 99, 102}};
constexpr ColourPair keyTitle{{0, 0, 0}, {255, 255, 255}};
constexpr ColourPair keyShadow{{142, 142, 147}, {0, 0, 0}};

}  // namespace

const QList<QString>& KeyRow::keys() {
  static const QList<QString> characters{"{", "}", "[", "]", "\"", ":", ","};
  return characters;
}

KeyRow::KeyRow(QWidget* parent) : QWidget(parent) {
  setFixedHeight(rowHeight);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(16, 7, 16, 1);
  layout->setSpacing(8);
  layout->addStretch();
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(24);
  for (const QString& key : keys()) {
    auto* button = new QPushButton(key, this);
    button->setFont(font);
    button->setFixedSize(32, 40);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAccessibleName(key);
    connect(button, &QPushButton::clicked, this, [this, key] {
      if (onInsertText) onInsertText(key);
    });
    auto* shadow = new QGraphicsDropShadowEffect(button);
    shadow->setOffset(0, 1);
    shadow->setBlurRadius(0);
    button->setGraphicsEffect(shadow);
    layout->addWidget(button);
    m_buttons.append(button);
  }
  layout->addStretch();
  applyColours();
}

void KeyRow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
    applyColours();
  }
}

void KeyRow::applyColours() {
  if (m_applying) return;  // setting a style sheet sends another palette change
  m_applying = true;
  const Appearance appearance = appearanceOf(palette());
  const QColor background = toQColor(dynamicColorProvider(appearance, keyBackground));
  const QColor title = toQColor(dynamicColorProvider(appearance, keyTitle));
  const QColor shadow = toQColor(dynamicColorProvider(appearance, keyShadow));
  const QString style = QStringLiteral(
                            "QPushButton { background-color: %1; color: %2; border: none;"
                            " border-radius: 8px; }")
                            .arg(background.name(), title.name());
  for (QPushButton* button : std::as_const(m_buttons)) {
    button->setStyleSheet(style);
    if (auto* effect = qobject_cast<QGraphicsDropShadowEffect*>(button->graphicsEffect())) {
      effect->setColor(shadow);
    }
  }
  m_applying = false;
}

}  // namespace mirel
