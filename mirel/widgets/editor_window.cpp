#include "mirel/widgets/editor_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "mirel/app/app_settings.h"
#include "mirel/app/generation_run.h"
#include "mirel/app/mirel_document.h"
#include "mirel/app/qt_text.h"
#include "mirel/options/options_form.h"
#include "mirel/widgets/input_editor.h"
#include "mirel/widgets/links.h"
#include "mirel/widgets/mirel_application.h"
#include "mirel/widgets/output_view.h"
#include "mirel/widgets/settings_dialog.h"
#include "mirel/widgets/symbols.h"
#include "telvar/value/printer.h"

namespace mirel {

namespace {

// The pause before a run after the window appears or the model changes.
constexpr double runPause = 0.15;

[[nodiscard]] QToolButton* overlayButton(Symbol symbol, const QString& help, QWidget* parent) {
  auto* button = new QToolButton(parent);
  // The picture where the icon theme has one, the help text where it has not.
  if (hasThemeIcon(symbol)) {
    button->setIcon(symbolIcon(symbol, parent->palette()));
    button->setIconSize(QSize(22, 22));
  }
  button->setText(help);
  button->setToolTip(help);
  button->setAccessibleName(help);
  button->setAutoRaise(true);
  button->setCursor(Qt::ArrowCursor);
  button->setFocusPolicy(Qt::NoFocus);
  button->hide();
  return button;
}

[[nodiscard]] QScrollArea* formScrollArea(QWidget* parent) {
  auto* scroll = new QScrollArea(parent);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return scroll;
}

}  // namespace

EditorWindow::EditorWindow(std::unique_ptr<MirelDocument> document, MirelApplication* application)
    : m_application(application), m_document(document.release()) {
  setAttribute(Qt::WA_DeleteOnClose);
  m_document->setParent(this);
  m_run = new GenerationRun(m_document, this);

  buildPanes();
  buildMenus();

  connect(m_document, &MirelDocument::modelChanged, this, &EditorWindow::modelChanged);
  connect(m_document, &MirelDocument::modifiedChanged, this, &EditorWindow::updateTitle);
  connect(m_document, &MirelDocument::filePathChanged, this, &EditorWindow::updateTitle);
  connect(m_run, &GenerationRun::outputChanged, this, &EditorWindow::outputChanged);
  connect(&AppSettings::shared(), &AppSettings::fontSizeChanged, this, [this](double size) {
    m_input->setFontSize(size);
    m_output->setFontSize(size);
  });

  m_input->setInputText(QString::fromStdString(m_document->model().input()));
  updateTitle();
  updateUndo();
  resize(1100, 720);
  updateSizeClass();
  m_input->setFocus();
}

EditorWindow::~EditorWindow() { stopWork(); }

void EditorWindow::buildPanes() {
  auto* central = new QWidget(this);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  auto* column = new QVBoxLayout;
  column->setSpacing(0);
  m_input = new InputEditor(central);
  m_input->setFrameShape(QFrame::NoFrame);
  m_input->setFontSize(AppSettings::shared().fontSize());
  m_input->onUpdatedText = [this](const QString& text) {
    telvar::Model model = m_document->model();
    model.setInput(text.toStdString());
    m_document->setModel(std::move(model));
  };
  m_input->onPendingChanged = [this](bool pending) {
    if (pending) {
      m_document->setPendingInputReport([input = m_input] { input->deliverPendingReport(); });
    } else {
      m_document->setPendingInputReport({});
    }
    updateUndo();
  };
  auto* divider = new QFrame(central);
  divider->setFrameShape(QFrame::HLine);
  divider->setFrameShadow(QFrame::Plain);
  divider->setForegroundRole(QPalette::Mid);
  m_output = new OutputView(central);
  m_output->setFontSize(AppSettings::shared().fontSize());
  column->addWidget(m_input, 1);
  column->addWidget(divider);
  column->addWidget(m_output, 1);
  row->addLayout(column, 1);

  m_formatButton = overlayButton(Symbol::paintbrush, tr("Format"), m_input);
  connect(m_formatButton, &QToolButton::clicked, this, &EditorWindow::format);
  m_copyButton = overlayButton(Symbol::copy, tr("Copy"), m_output);
  connect(m_copyButton, &QToolButton::clicked, this, &EditorWindow::copyOutput);
  // The viewports, not the panes: a pane's resize is seen before its viewport follows it.
  for (QWidget* watched : {static_cast<QWidget*>(m_input), m_input->viewport(),
                           static_cast<QWidget*>(m_output), m_output->viewport()}) {
    watched->installEventFilter(this);
  }
  styleOverlays();

  // The form reads the latest model (typed text delivered first) and writes whole models back.
  MirelDocument* document = m_document;
  Binding<telvar::Model> model(
      [document] {
        document->deliverPendingInput();
        return document->model();
      },
      [document](telvar::Model changed) { document->setModel(std::move(changed)); });
  m_form = new OptionsForm(model);
  m_optionsColumn = formScrollArea(central);
  m_optionsColumn->setFixedWidth(optionsColumnWidth);
  m_optionsColumn->setWidget(m_form);
  row->addWidget(m_optionsColumn);
  setCentralWidget(central);
}

void EditorWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  if (m_application != nullptr) {
    file->addAction(tr("&New"), QKeySequence::New, m_application, &MirelApplication::newDocument);
    file->addAction(tr("&Open..."), QKeySequence::Open, m_application,
                    [this] { m_application->openWithDialog(this); });
  }
  file->addAction(tr("&Save"), QKeySequence::Save, this, &EditorWindow::save);
  file->addAction(tr("Save &As..."), QKeySequence(tr("Ctrl+Shift+S")), this, &EditorWindow::saveAs);
  file->addAction(tr("&Close"), QKeySequence(tr("Ctrl+W")), this, &QWidget::close);
  if (m_application != nullptr) {
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence(tr("Ctrl+Q")), m_application,
                    &MirelApplication::quit);
  }

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  m_undoAction = edit->addAction(tr("&Undo"), QKeySequence::Undo, this, &EditorWindow::undo);
  edit->addSeparator();
  // The text commands act on whichever text has the focus: the input, the output or a field of
  // the options form.
  const auto onText = [](auto plainText, auto lineEdit) {
    return [plainText, lineEdit] {
      QWidget* focus = QApplication::focusWidget();
      if (auto* text = qobject_cast<QPlainTextEdit*>(focus)) {
        (text->*plainText)();
      } else if (auto* field = qobject_cast<QLineEdit*>(focus)) {
        (field->*lineEdit)();
      }
    };
  };
  edit->addAction(tr("Cu&t"), QKeySequence::Cut, this,
                  onText(&QPlainTextEdit::cut, &QLineEdit::cut));
  edit->addAction(tr("&Copy"), QKeySequence::Copy, this,
                  onText(&QPlainTextEdit::copy, &QLineEdit::copy));
  edit->addAction(tr("&Paste"), QKeySequence::Paste, this,
                  onText(&QPlainTextEdit::paste, &QLineEdit::paste));
  edit->addAction(tr("Select &All"), QKeySequence::SelectAll, this,
                  onText(&QPlainTextEdit::selectAll, &QLineEdit::selectAll));
  for (QAction* action : edit->actions()) action->setShortcutContext(Qt::WindowShortcut);

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  QAction* introduction =
      help->addAction(tr("Introducing Mirel"), this, [] { openLink(Link::introduction); });
  introduction->setShortcuts({QKeySequence(tr("Ctrl+?")), QKeySequence(tr("Ctrl+Shift+?"))});

  QToolBar* toolbar = addToolBar(tr("Editor"));
  toolbar->setObjectName("editorToolbar");
  toolbar->setMovable(false);
  toolbar->setFloatable(false);
  toolbar->setToolButtonStyle(hasThemeIcon(Symbol::gear) ? Qt::ToolButtonIconOnly
                                                         : Qt::ToolButtonTextOnly);
  toolbar->setContextMenuPolicy(Qt::PreventContextMenu);
  auto* spacer = new QWidget(toolbar);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  toolbar->addWidget(spacer);
  m_optionsAction = toolbar->addAction(QIcon::fromTheme(symbolIconName(Symbol::sliders)),
                                       tr("Options"), this, &EditorWindow::showOptions);
  m_settingsAction = toolbar->addAction(QIcon::fromTheme(symbolIconName(Symbol::gear)),
                                        tr("Settings"), this, &EditorWindow::showSettings);
}

void EditorWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!m_shownOnce) {
    m_shownOnce = true;
    m_run->scheduleInfer(runPause, AppSettings::shared().fontSize());
  }
  placeOverlays();
}

void EditorWindow::modelChanged() {
  m_input->setInputText(QString::fromStdString(m_document->model().input()));
  m_form->reload();
  updateUndo();
}

void EditorWindow::outputChanged() {
  m_output->setOutput(m_run->output());
  const bool code = m_run->isOutputCode();
  m_formatButton->setVisible(code);
  m_copyButton->setVisible(code);
  placeOverlays();
}

void EditorWindow::format() {
  m_document->deliverPendingInput();
  telvar::Model model = m_document->model();
  // Running out of memory on a huge sample leaves the input as it is, like a text that does not
  // parse, rather than ending the program with the user's work unsaved.
  telvar::Outcome formatted = telvar::Formatter::checkedFormat(model.input(), model.indentation());
  if (!formatted.text) return;
  model.setInput(std::move(*formatted.text));
  // Assigned even when nothing changed, as any edit is.
  m_document->setModel(std::move(model));
}

void EditorWindow::copyOutput() {
  QApplication::clipboard()->setText(toQString(m_run->output().text));
}

void EditorWindow::undo() {
  m_document->undo();  // delivers typed text first, so undo never brings it back
  updateUndo();
}

void EditorWindow::updateUndo() {
  if (m_undoAction == nullptr) return;
  m_undoAction->setEnabled(m_document->historySize() > 1 || m_input->hasPendingReport());
}

void EditorWindow::updateTitle() {
  const QString path = m_document->filePath();
  const QString name = path.isEmpty() ? tr("Untitled") : QFileInfo(path).fileName();
  setWindowTitle(name + QStringLiteral("[*] \u2014 Mirel"));
  setWindowModified(m_document->isModified());
}

bool EditorWindow::save() {
  const QString path = m_document->filePath();
  return path.isEmpty() ? saveAs() : saveTo(path);
}

bool EditorWindow::saveAs() {
  m_document->deliverPendingInput();
  QString start = m_document->filePath();
  if (start.isEmpty()) {
    start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
            QStringLiteral("/Untitled.mirel");
  }
  const QString path =
      QFileDialog::getSaveFileName(this, tr("Save As"), start, tr("Mirel documents (*.mirel)"));
  if (path.isEmpty()) return false;
  return saveTo(path);
}

bool EditorWindow::saveTo(const QString& path) {
  QString target = path;
  if (QFileInfo(target).suffix().isEmpty()) target += QStringLiteral(".mirel");
  if (const std::optional<QString> error = m_document->saveTo(target)) {
    QMessageBox::warning(this, tr("Mirel"),
                         tr("The document could not be saved to %1.\n%2")
                             .arg(QDir::toNativeSeparators(target), *error));
    return false;
  }
  updateTitle();
  return true;
}

bool EditorWindow::maybeSave() {
  m_document->deliverPendingInput();
  if (!m_document->isModified()) return true;
  const QMessageBox::StandardButton answer = QMessageBox::warning(
      this, tr("Mirel"), tr("The document has been modified.\nDo you want to save your changes?"),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Save) return save();
  return answer == QMessageBox::Discard;
}

void EditorWindow::closeEvent(QCloseEvent* event) {
  if (!m_closing && !maybeSave()) {
    event->ignore();
    return;
  }
  m_closing = true;
  stopWork();
  event->accept();
}

void EditorWindow::stopWork() {
  // Delayed work must never reach a closed window.
  if (m_run != nullptr) m_run->cancel();
  if (m_input != nullptr) {
    m_input->onUpdatedText = nullptr;
    m_input->onPendingChanged = nullptr;
  }
  if (m_document != nullptr) m_document->setPendingInputReport({});
}

void EditorWindow::showOptions() {
  if (m_regular) return;  // the form is in the column already
  if (m_optionsDialog == nullptr) {
    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Options"));
    dialog->setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(dialog);
    m_optionsDialogScroll = formScrollArea(dialog);
    m_optionsDialogScroll->setWidget(m_optionsColumn->takeWidget());
    layout->addWidget(m_optionsDialogScroll);
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* done = buttons->addButton(tr("Done"), QDialogButtonBox::AcceptRole);
    done->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    layout->addWidget(buttons);
    // The form goes back to the column when the dialog closes, whichever way it closes.
    connect(dialog, &QDialog::finished, this, [this] {
      if (m_optionsDialogScroll != nullptr && m_optionsDialogScroll->widget() == m_form) {
        m_optionsColumn->setWidget(m_optionsDialogScroll->takeWidget());
      }
      m_optionsDialogScroll = nullptr;
      // Closed is gone: the dialog is deleted later, and Options must not show it again meanwhile.
      m_optionsDialog = nullptr;
    });
    dialog->resize(optionsColumnWidth + 40, std::max(420, height() - 80));
    m_optionsDialog = dialog;
  }
  m_form->reload();
  m_optionsDialog->show();
  m_optionsDialog->raise();
}

void EditorWindow::showSettings() {
  if (m_settingsDialog == nullptr) {
    m_settingsDialog = new SettingsDialog(this);
    m_settingsDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_settingsDialog, &QDialog::finished, this, [this] { m_settingsDialog = nullptr; });
  }
  m_settingsDialog->show();
  m_settingsDialog->raise();
}

void EditorWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  updateSizeClass();
}

void EditorWindow::updateSizeClass() {
  const bool regular = width() >= regularWidth;
  m_regular = regular;
  if (regular && m_optionsDialog != nullptr) m_optionsDialog->close();
  m_optionsColumn->setVisible(regular);
  m_optionsAction->setVisible(!regular);
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == m_input->viewport() || watched == m_output->viewport()) &&
      event->type() == QEvent::Resize) {
    placeOverlays();
  } else if ((watched == m_input || watched == m_output) && event->type() == QEvent::Show) {
    placeOverlays();
  }
  return QMainWindow::eventFilter(watched, event);
}

void EditorWindow::styleOverlays() {
  // Accent-coloured, on a backing of the pane's own colour so that text beneath does not show
  // through; the output's background is its own colour pair, resolved for the current palette.
  const auto style = [](const QColor& backing) {
    return QStringLiteral(
               "QToolButton { color: palette(highlight); background: %1; border-radius: 6px;"
               " padding: 3px 6px; font-weight: bold; }"
               " QToolButton:hover { background: palette(alternate-base); }")
        .arg(backing.name());
  };
  m_formatButton->setStyleSheet(style(m_input->palette().color(QPalette::Base)));
  m_copyButton->setStyleSheet(style(m_output->backgroundColour()));
}

void EditorWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::PaletteChange && !m_styling) {
    m_styling = true;  // the style sheets send palette changes of their own
    styleOverlays();
    m_styling = false;
  }
}

void EditorWindow::placeOverlays() {
  // Top trailing corner of each pane, clear of its scroll bar.
  for (auto [button, pane] : {std::pair<QToolButton*, QPlainTextEdit*>{m_formatButton, m_input},
                              {m_copyButton, m_output}}) {
    button->adjustSize();
    const QRect area = pane->viewport()->geometry();
    button->move(area.right() - button->width() - 6, area.top() + 6);
    button->raise();
  }
}

}  // namespace mirel
