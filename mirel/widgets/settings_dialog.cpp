#include "mirel/widgets/settings_dialog.h"

#include <cmath>
#include <functional>

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

#include "mirel/app/app_settings.h"
#include "mirel/widgets/feedback_mail.h"
#include "mirel/widgets/links.h"
#include "mirel/widgets/symbols.h"
#include "mirel/widgets/version.h"

namespace mirel {

namespace {

[[nodiscard]] QLabel* boldTitle(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

}  // namespace

QString SettingsDialog::shareText() {
  return QStringLiteral("Mirel helps you infer models from JSON.\n") +
         linkUrl(Link::storePage).toString();
}

QString SettingsDialog::fontSizeTitle(double fontSize) {
  return tr("Font Size (%1)").arg(QString::number(fontSize, 'f', 0));
}

SettingsDialog::SettingsDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Settings"));
  setWindowModality(Qt::WindowModal);

  auto* content = new QWidget;
  auto* column = new QVBoxLayout(content);
  column->setSpacing(16);
  column->addWidget(textSizeBox());
  column->addWidget(defaultsBox());
  column->addWidget(linksBox());
  auto* version = new QLabel(versionText(appVersion(), appBuild()), content);
  version->setAlignment(Qt::AlignCenter);
  version->setForegroundRole(QPalette::PlaceholderText);
  QFont footnote = version->font();
  footnote.setPointSizeF(footnote.pointSizeF() * 0.85);
  version->setFont(footnote);
  column->addWidget(version);
  column->addStretch();

  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidget(content);

  auto* buttons = new QDialogButtonBox(this);
  m_done = buttons->addButton(tr("Done"), QDialogButtonBox::AcceptRole);
  m_done->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scroll);
  layout->addWidget(buttons);

  AppSettings& settings = AppSettings::shared();
  connect(&settings, &AppSettings::fontSizeChanged, this, &SettingsDialog::readSettings);
  connect(&settings, &AppSettings::defaultIndentationUnitChanged, this,
          &SettingsDialog::readSettings);
  connect(&settings, &AppSettings::defaultOutputTypeChanged, this, &SettingsDialog::readSettings);
  readSettings();
  resize(420, 640);
}

QWidget* SettingsDialog::textSizeBox() {
  auto* box = new QGroupBox;
  auto* layout = new QVBoxLayout(box);
  m_fontSizeTitle = boldTitle({}, box);
  m_fontSize = new QSlider(Qt::Horizontal, box);
  m_fontSize->setRange(8, 32);
  m_fontSize->setSingleStep(1);
  m_fontSize->setPageStep(1);
  m_fontSize->setAccessibleName(tr("Font Size"));
  connect(m_fontSize, &QSlider::valueChanged, this, [](int value) {
    if (AppSettings::shared().fontSize() != value) AppSettings::shared().setFontSize(value);
  });
  layout->addWidget(m_fontSizeTitle);
  layout->addWidget(m_fontSize);
  return box;
}

QWidget* SettingsDialog::defaultsBox() {
  auto* box = new QGroupBox;
  auto* layout = new QVBoxLayout(box);
  layout->setSpacing(16);

  auto* indentBlock = new QVBoxLayout;
  indentBlock->addWidget(boldTitle(tr("Default Indent Width"), box));
  auto* segments = new QHBoxLayout;
  segments->setSpacing(0);
  m_indentWidth = new QButtonGroup(box);
  m_indentWidth->setExclusive(true);
  const QList<std::pair<QString, QString>> units{{tr("2 Spaces"), QStringLiteral("  ")},
                                                 {tr("4 Spaces"), QStringLiteral("    ")}};
  for (const auto& [label, unit] : units) {
    auto* button = new QPushButton(label, box);
    button->setCheckable(true);
    // The chosen segment in the accent colour, plainly told apart in light and dark alike.
    button->setStyleSheet(QStringLiteral(
        "QPushButton { padding: 4px; border: 1px solid palette(mid); background: palette(button);"
        " color: palette(button-text); }"
        " QPushButton:checked { background: palette(highlight); color: palette(highlighted-text);"
        " }"));
    button->setAccessibleName(label);
    button->setProperty("unit", unit);
    m_indentWidth->addButton(button);
    segments->addWidget(button);
  }
  connect(m_indentWidth, &QButtonGroup::buttonClicked, this, [](QAbstractButton* button) {
    AppSettings::shared().setDefaultIndentationUnit(button->property("unit").toString());
  });
  indentBlock->addLayout(segments);
  layout->addLayout(indentBlock);

  auto* typeBlock = new QVBoxLayout;
  typeBlock->addWidget(boldTitle(tr("Default Output Type"), box));
  m_outputType = new QComboBox(box);
  m_outputType->setAccessibleName(tr("Default Output Type"));
  const QList<std::pair<QString, telvar::OutputType>> types{
      {tr("JSON Schema"), telvar::OutputType::schema},
      {tr("Swift"), telvar::OutputType::swift},
      {tr("Kotlin"), telvar::OutputType::kotlin},
      {tr("Dart"), telvar::OutputType::dart},
      {tr("Go"), telvar::OutputType::go},
      {tr("Proto"), telvar::OutputType::proto}};
  for (const auto& [label, type] : types) m_outputType->addItem(label, static_cast<int>(type));
  connect(m_outputType, &QComboBox::activated, this, [this](int index) {
    AppSettings::shared().setDefaultOutputType(
        static_cast<telvar::OutputType>(m_outputType->itemData(index).toInt()));
  });
  typeBlock->addWidget(m_outputType);
  layout->addLayout(typeBlock);
  return box;
}

QWidget* SettingsDialog::linksBox() {
  auto* box = new QGroupBox;
  auto* row = new QHBoxLayout(box);
  auto* column = new QVBoxLayout;
  column->setSpacing(16);

  struct Row {
    Symbol symbol;
    QString text;
    std::function<void()> action;
  };
  struct Section {
    QString title;
    QList<Row> rows;
  };
  const auto open = [](Link link) { return [link] { openLink(link); }; };
  const QList<Section> sections{
      {tr("Need help?"), {{Symbol::link, tr("Introducing Mirel"), open(Link::introduction)}}},
      {tr("About Sorbel"),
       {{Symbol::link, tr("Sorbel on GitHub"), open(Link::sorbelGitHub)},
        {Symbol::link, tr("SorbelMacros on GitHub"), open(Link::sorbelMacrosGitHub)}}},
      {tr("Any questions or suggestions?"),
       {{Symbol::envelope, tr("Feedback"), [] { openFeedbackMail(); }}}},
      {tr("Do you like Mirel?"), {{Symbol::star, tr("Rate or Review"), open(Link::storeReview)}}},
      {tr("Recommend Mirel to others"),
       {{Symbol::copy, tr("Copy to Share"),
         [] { QApplication::clipboard()->setText(shareText()); }}}},
      {tr("Get news about Mirel"),
       {{Symbol::at, tr("Follow `mirel` on Mastodon"), open(Link::mirelMastodon)}}},
      {tr("Learn more about the developer"),
       {{Symbol::at, tr("Follow `veltro` on X/Twitter"), open(Link::developerX)},
        {Symbol::at, tr("Follow `veltro` on Mastodon"), open(Link::developerMastodon)},
        {Symbol::at, tr("Follow `veltro` on Bluesky"), open(Link::developerBluesky)}}},
  };
  for (const Section& section : sections) {
    auto* block = new QVBoxLayout;
    block->setSpacing(8);
    block->addWidget(boldTitle(section.title, box));
    for (const Row& link : section.rows) {
      auto* button = new QPushButton(symbolIcon(link.symbol, palette()), link.text, box);
      button->setFlat(true);
      button->setIconSize(QSize(24, 24));
      button->setCursor(Qt::PointingHandCursor);
      button->setStyleSheet(QStringLiteral("text-align: left; padding: 2px;"));
      button->setAccessibleName(link.text);
      connect(button, &QPushButton::clicked, this, link.action);
      block->addWidget(button);
      m_links.append(button);
    }
    column->addLayout(block);
  }
  row->addLayout(column);
  row->addStretch();
  return box;
}

QPushButton* SettingsDialog::linkButton(const QString& text) const {
  for (QPushButton* button : m_links) {
    if (button->text() == text) return button;
  }
  return nullptr;
}

void SettingsDialog::readSettings() {
  const AppSettings& settings = AppSettings::shared();
  const double fontSize = settings.fontSize();
  m_fontSizeTitle->setText(fontSizeTitle(fontSize));
  {
    const QSignalBlocker blocker(m_fontSize);
    m_fontSize->setValue(static_cast<int>(std::lround(fontSize)));
  }
  const QString unit = settings.defaultIndentationUnit();
  for (QAbstractButton* button : m_indentWidth->buttons()) {
    button->setChecked(button->property("unit").toString() == unit);
  }
  const int index = m_outputType->findData(static_cast<int>(settings.defaultOutputType()));
  m_outputType->setCurrentIndex(index);
}

}  // namespace mirel
