#include "mirel/options/form_blocks.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace mirel {

namespace {

// One segment of a segmented picker: the selected one is filled with the accent colour, so the
// choice reads at a glance in light and dark palettes alike.
class SegmentButton : public QPushButton {
 public:
  SegmentButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setCheckable(true);
    setAutoDefault(false);
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (isChecked()) {
      const QColor accent = accentColour(palette());
      option.palette.setColor(QPalette::Button, accent);
      option.palette.setColor(QPalette::ButtonText, palette().color(QPalette::HighlightedText));
      option.state &= ~QStyle::State_Sunken;
      option.state &= ~QStyle::State_On;
      option.state |= QStyle::State_Raised;
    }
    painter.drawControl(QStyle::CE_PushButton, option);
  }
};

bool isDark(const QPalette& palette) { return palette.color(QPalette::Window).lightness() < 128; }

QColor blend(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - t) + b.redF() * t),
                          static_cast<float>(a.greenF() * (1 - t) + b.greenF() * t),
                          static_cast<float>(a.blueF() * (1 - t) + b.blueF() * t));
}

}  // namespace

QColor accentColour(const QPalette& palette) { return palette.color(QPalette::Highlight); }

QColor removeRed(const QPalette& palette) {
  return isDark(palette) ? QColor(255, 69, 58) : QColor(255, 59, 48);
}

QColor boxFill(const QPalette& palette) {
  return blend(palette.color(QPalette::Window), palette.color(QPalette::WindowText),
               isDark(palette) ? 0.09 : 0.045);
}

QLabel* sectionTitle(const QString& title, QWidget* parent) {
  auto* label = new QLabel(title, parent);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QVBoxLayout* makeStack(QWidget* owner, int spacing) {
  auto* stack = new QVBoxLayout(owner);
  stack->setContentsMargins(0, 0, 0, 0);
  stack->setSpacing(spacing);
  return stack;
}

Box::Box(int spacing, QWidget* parent) : QFrame(parent) {
  m_stack = new QVBoxLayout(this);
  m_stack->setSpacing(spacing);
  m_stack->setContentsMargins(12, 12, 12, 12);
}

void Box::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(boxFill(palette()));
  painter.drawRoundedRect(QRectF(rect()), 8, 8);
}

BlockStack::BlockStack(QWidget* parent) : QWidget(parent) {
  m_stack = makeStack(this, kDefaultSpacing);
}

BoundLineEdit::BoundLineEdit(const QString& placeholder, TextFieldKind kind, QWidget* parent)
    : QLineEdit(parent) {
  setPlaceholderText(placeholder);
  setAccessibleName(placeholder);
  applyTextFieldKind(*this, kind);
}

void BoundLineEdit::showText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  if (this->text() == shown) return;
  QSignalBlocker blocker(this);
  setText(shown);
}

void BoundLineEdit::onEdited(std::function<void(std::string)> write) {
  connect(this, &QLineEdit::textEdited, this,
          [write = std::move(write)](const QString& text) { write(text.toStdString()); });
}

TextFieldBlock::TextFieldBlock(const QString& title, Binding<std::string> binding,
                               TextFieldKind kind, QWidget* parent)
    : QWidget(parent), m_binding(std::move(binding)) {
  QVBoxLayout* stack = makeStack(this, kDefaultSpacing);
  stack->addWidget(sectionTitle(title, this));
  m_field = new BoundLineEdit(title, kind, this);
  stack->addWidget(m_field);
  m_field->onEdited([binding = m_binding](std::string text) { binding.set(std::move(text)); });
  reload();
}

void TextFieldBlock::reload() { m_field->showText(m_binding.get()); }

ChoicePicker::ChoicePicker(const QString& label, const QStringList& choices, PickerStyle style,
                           std::function<std::optional<int>()> current,
                           std::function<void(int)> choose, QWidget* parent)
    : QWidget(parent), m_current(std::move(current)), m_choose(std::move(choose)) {
  setAccessibleName(label);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  if (style == PickerStyle::menu) {
    m_combo = new QComboBox(this);
    m_combo->addItems(choices);
    m_combo->setAccessibleName(label);
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    row->addWidget(m_combo);
    row->addStretch(1);
    connect(m_combo, &QComboBox::activated, this, &ChoicePicker::userChose);
  } else {
    row->setSpacing(0);
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    for (int i = 0; i < choices.size(); ++i) {
      auto* segment = new SegmentButton(choices[i], this);
      segment->setFocusPolicy(Qt::TabFocus);
      segment->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
      segment->setMinimumWidth(segment->fontMetrics().horizontalAdvance(choices[i]) + 12);
      m_group->addButton(segment, i);
      m_segments.push_back(segment);
      row->addWidget(segment, 1);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &ChoicePicker::userChose);
  }
  reload();
}

void ChoicePicker::userChose(int index) {
  // Choosing the case already shown stores nothing, as a picker whose selection did not change.
  if (m_current() == index) return;
  m_choose(index);
}

std::optional<int> ChoicePicker::selectedIndex() const {
  if (m_combo) {
    int index = m_combo->currentIndex();
    return index < 0 ? std::nullopt : std::optional<int>(index);
  }
  int id = m_group->checkedId();
  return id < 0 ? std::nullopt : std::optional<int>(id);
}

void ChoicePicker::reload() {
  std::optional<int> index = m_current();
  if (m_combo) {
    QSignalBlocker blocker(m_combo);
    m_combo->setCurrentIndex(index.value_or(-1));
    return;
  }
  if (index && *index >= 0 && static_cast<std::size_t>(*index) < m_segments.size()) {
    QAbstractButton* segment = m_segments[static_cast<std::size_t>(*index)];
    if (!segment->isChecked()) segment->setChecked(true);
  } else if (m_group->checkedButton()) {
    // An exclusive group keeps one button checked; a case without a button shows none.
    m_group->setExclusive(false);
    m_group->checkedButton()->setChecked(false);
    m_group->setExclusive(true);
  }
}

PickerBlock::PickerBlock(const QString& title, ChoicePicker* picker, QWidget* parent)
    : QWidget(parent), m_picker(picker) {
  QVBoxLayout* stack = makeStack(this, kDefaultSpacing);
  stack->addWidget(sectionTitle(title, this));
  picker->setParent(this);
  stack->addWidget(picker);
}

ToggleBlock::ToggleBlock(const QString& title, Binding<bool> binding, QWidget* parent)
    : QWidget(parent), m_binding(std::move(binding)) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  QLabel* label = sectionTitle(title, this);
  row->addWidget(label, 1);
  m_switch = new QCheckBox(this);
  m_switch->setAccessibleName(title);
  label->setBuddy(m_switch);
  row->addWidget(m_switch);
  connect(m_switch, &QCheckBox::clicked, this,
          [binding = m_binding](bool checked) { binding.set(checked); });
  reload();
}

void ToggleBlock::reload() {
  bool on = m_binding.get();
  if (m_switch->isChecked() != on) {
    QSignalBlocker blocker(m_switch);
    m_switch->setChecked(on);
  }
}

void ToggleBlock::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    event->accept();
    return;
  }
  QWidget::mousePressEvent(event);
}

void ToggleBlock::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    m_switch->click();
    event->accept();
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

AccentTextButton::AccentTextButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent) {
  setFlat(true);
  setAutoDefault(false);
  setCursor(Qt::PointingHandCursor);
  ButtonCustomModifier::apply(*this);
}

void AccentTextButton::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.palette.setColor(QPalette::ButtonText, accentColour(palette()));
  painter.drawControl(QStyle::CE_PushButton, option);
}

SymbolButton::SymbolButton(Symbol symbol, const QString& help, QWidget* parent)
    : QToolButton(parent), m_symbol(symbol) {
  setAutoRaise(true);
  setToolTip(help);
  setAccessibleName(help);
  setText(symbol == Symbol::plusCircle ? QStringLiteral("+") : QStringLiteral("-"));
  setToolButtonStyle(Qt::ToolButtonIconOnly);
  setFocusPolicy(Qt::TabFocus);
  setIconSize(QSize(20, 20));
  ButtonCustomModifier::apply(*this);
  paintSymbol();
}

void SymbolButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
    paintSymbol();
  }
  QToolButton::changeEvent(event);
}

void SymbolButton::paintSymbol() {
  const qreal ratio = devicePixelRatioF() > 1 ? devicePixelRatioF() : 2.0;
  const QSize size = iconSize();
  QPixmap pixmap(size * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QColor colour = m_symbol == Symbol::plusCircle ? accentColour(palette()) : removeRed(palette());
  QPen pen(colour, 1.6);
  pen.setCapStyle(Qt::RoundCap);
  painter.setPen(pen);
  const QRectF box(1.5, 1.5, size.width() - 3.0, size.height() - 3.0);
  painter.drawEllipse(box);
  const QPointF centre = box.center();
  const qreal arm = box.width() * 0.26;
  painter.drawLine(QPointF(centre.x() - arm, centre.y()), QPointF(centre.x() + arm, centre.y()));
  if (m_symbol == Symbol::plusCircle) {
    painter.drawLine(QPointF(centre.x(), centre.y() - arm), QPointF(centre.x(), centre.y() + arm));
  }
  painter.end();
  setIcon(QIcon(pixmap));
}

}  // namespace mirel
