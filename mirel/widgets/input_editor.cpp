#include "mirel/widgets/input_editor.h"

#include <cmath>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QInputDevice>
#include <QKeyEvent>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QUrl>

#include "mirel/app/file_reading.h"
#include "mirel/widgets/key_row.h"

namespace mirel {

namespace {

// Marks the data of a drag that starts in an input editor, with the editor's address, so that a
// drop back into the same editor moves the text instead of replacing the input.
constexpr auto ownDragFormat = "application/x-mirel-input-drag";

constexpr double phoneDiagonalMm = 7 * 25.4;

[[nodiscard]] QString withLineFeeds(QString text) {
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  return text;
}

[[nodiscard]] std::optional<QString> strictUtf8(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;
  return text;
}

[[nodiscard]] bool isNewlineKey(const QKeyEvent* event) {
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
  const auto modifiers = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
  return modifiers == Qt::NoModifier;
}

[[nodiscard]] bool isUndoOrRedo(const QKeyEvent* event) {
  return event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo);
}

}  // namespace

InputEditor::InputEditor(QWidget* parent) : QPlainTextEdit(parent) {
  setPlaceholderText(tr(placeholder));
  // The document keeps the one undo history; a second one in the editor would disagree with it.
  setUndoRedoEnabled(false);
  setTabChangesFocus(false);
  document()->setDocumentMargin(8);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setInputMethodHints(Qt::ImhNoAutoUppercase | Qt::ImhNoPredictiveText);
  setAcceptDrops(true);
  setFontSize(15);

  m_reportTimer.setSingleShot(true);
  connect(&m_reportTimer, &QTimer::timeout, this, &InputEditor::report);
  connect(this, &QPlainTextEdit::textChanged, this, &InputEditor::textEdited);
  updateKeyRow();
}

InputEditor::~InputEditor() { m_reportTimer.stop(); }

QString InputEditor::inputText() const {
  // toPlainText() would turn no-break spaces into spaces; the raw text keeps every character and
  // only marks line ends as paragraph separators.
  return withLineFeeds(document()->toRawText());
}

void InputEditor::setInputText(const QString& text) {
  if (text == m_shownSource || text == inputText()) {
    m_shownSource = text;
    return;
  }
  // An undo or a format replaces the text; the caret and the view stay where they were, as far
  // as the new text reaches.
  const int caret = textCursor().position();
  const int scroll = verticalScrollBar()->value();
  m_settingText = true;
  m_reportTimer.stop();
  setPending(false);
  setPlainText(text);
  QTextCursor cursor = textCursor();
  cursor.setPosition(std::min(caret, document()->characterCount() - 1));
  setTextCursor(cursor);
  verticalScrollBar()->setValue(scroll);
  m_settingText = false;
  m_shownSource = text;
}

void InputEditor::setFontSize(double pointSize) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(pointSize > 0 ? pointSize : 15);
  setFont(font);
}

void InputEditor::textEdited() {
  if (m_settingText) return;
  // The count is the editor's characters; the last block's closing separator is not one.
  const qsizetype length = std::max(0, document()->characterCount() - 1);
  m_reportTimer.start(reportDelayMs(length));
  setPending(true);
}

void InputEditor::report() {
  setPending(false);
  // While an input method composes, the text is not final; its commit is another edit.
  if (m_composing) return;
  const QString text = inputText();
  m_shownSource = text;
  if (onUpdatedText) onUpdatedText(text);
}

void InputEditor::deliverPendingReport() {
  if (!m_reportTimer.isActive()) return;
  m_reportTimer.stop();
  setPending(false);
  const QString text = inputText();
  m_shownSource = text;
  if (onUpdatedText) onUpdatedText(text);
}

void InputEditor::setPending(bool pending) {
  if (pending == m_pending) return;
  m_pending = pending;
  if (onPendingChanged) onPendingChanged(pending);
}

QString InputEditor::leadingWhitespace(const QString& line) {
  qsizetype end = 0;
  while (end < line.size() && (line.at(end).isSpace() || line.at(end) == QChar::LineSeparator)) {
    ++end;
  }
  return line.left(end);
}

void InputEditor::insertNewline() {
  QTextCursor cursor = textCursor();
  const QTextBlock line = document()->findBlock(cursor.selectionStart());
  // Inserting through the cursor makes this an edit like any other, so it is reported too.
  cursor.insertText(QLatin1Char('\n') + leadingWhitespace(line.text()));
  setTextCursor(cursor);
  ensureCursorVisible();
}

void InputEditor::keyPressEvent(QKeyEvent* event) {
  if (isUndoOrRedo(event)) {
    event->ignore();  // the window's Undo steps the document back
    return;
  }
  if (isNewlineKey(event) && !m_composing && !isReadOnly()) {
    insertNewline();
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

bool InputEditor::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride && isUndoOrRedo(static_cast<QKeyEvent*>(event))) {
    event->ignore();  // let the window's Undo shortcut have it
    return true;
  }
  return QPlainTextEdit::event(event);
}

void InputEditor::inputMethodEvent(QInputMethodEvent* event) {
  m_composing = !event->preeditString().isEmpty();
  QPlainTextEdit::inputMethodEvent(event);
}

void InputEditor::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  updateKeyRow();
}

void InputEditor::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  // What was typed reaches the model before another control edits it; delivered in the middle
  // of that edit, it would reload the control under the user's caret.
  if (!m_composing) deliverPendingReport();
  updateKeyRow();
}

void InputEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  updateKeyRow();
}

bool InputEditor::isPhoneIdiom() const {
  if (m_phoneIdiom) return *m_phoneIdiom;
  bool touch = false;
  for (const QInputDevice* device : QInputDevice::devices()) {
    if (device->type() == QInputDevice::DeviceType::TouchScreen) touch = true;
  }
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!touch || screen == nullptr) return false;
  const QSizeF size = screen->physicalSize();
  const double diagonal = std::hypot(size.width(), size.height());
  return diagonal > 0 && diagonal < phoneDiagonalMm;
}

void InputEditor::setPhoneIdiom(std::optional<bool> phone) {
  m_phoneIdiom = phone;
  updateKeyRow();
}

void InputEditor::updateKeyRow() {
  if (!isPhoneIdiom()) {
    delete m_keyRow;
    setViewportMargins(0, 0, 0, 0);
    return;
  }
  if (m_keyRow == nullptr) {
    m_keyRow = new KeyRow(this);
    QPointer<InputEditor> editor(this);
    m_keyRow->onInsertText = [editor](const QString& key) {
      if (editor) editor->insertPlainText(key);  // as if typed, at the caret
    };
  }
  // The row is docked under the text while the editor has the focus, as a keyboard's row is.
  const bool shown = hasFocus();
  setViewportMargins(0, 0, 0, shown ? KeyRow::rowHeight : 0);
  const QRect area = contentsRect();
  m_keyRow->setGeometry(area.left(), area.bottom() + 1 - KeyRow::rowHeight, area.width(),
                        KeyRow::rowHeight);
  m_keyRow->setVisible(shown);
}

QMimeData* InputEditor::createMimeDataFromSelection() const {
  QMimeData* data = QPlainTextEdit::createMimeDataFromSelection();
  data->setData(ownDragFormat, QByteArray::number(reinterpret_cast<quintptr>(this)));
  return data;
}

bool InputEditor::canInsertFromMimeData(const QMimeData* source) const {
  return source->hasUrls() || QPlainTextEdit::canInsertFromMimeData(source);
}

bool InputEditor::isOwnDrag(const QMimeData* data) const {
  return data->data(ownDragFormat) == QByteArray::number(reinterpret_cast<quintptr>(this)) &&
         textCursor().hasSelection();
}

std::optional<QString> InputEditor::droppedText(const QMimeData* data) {
  std::optional<QString> text;
  const QList<QUrl> urls = data->hasUrls() ? data->urls() : QList<QUrl>{};
  if (!urls.isEmpty() && urls.first().isLocalFile()) {
    const FileContents contents = readRegularFile(urls.first().toLocalFile());
    if (contents.error == FileReadError::none) text = strictUtf8(contents.data);
  } else if (data->hasFormat("text/plain;charset=utf-8")) {
    text = strictUtf8(data->data("text/plain;charset=utf-8"));
  } else if (data->hasFormat("text/plain")) {
    text = strictUtf8(data->data("text/plain"));
  } else if (data->hasText()) {
    text = data->text();
  }
  if (!text || text->isEmpty()) return std::nullopt;
  return text;
}

void InputEditor::moveSelectionTo(int position) {
  QTextCursor selection = textCursor();
  const int start = selection.selectionStart();
  const int end = selection.selectionEnd();
  if (position >= start && position <= end) return;  // dropped onto itself
  const QString moved = withLineFeeds(selection.selectedText());
  const int target = position > end ? position - (end - start) : position;
  selection.beginEditBlock();
  selection.removeSelectedText();
  selection.setPosition(target);
  selection.insertText(moved);
  selection.endEditBlock();
  selection.setPosition(target);
  selection.setPosition(target + static_cast<int>(moved.size()), QTextCursor::KeepAnchor);
  setTextCursor(selection);
}

void InputEditor::dropEvent(QDropEvent* event) {
  const QMimeData* data = event->mimeData();
  if (data == nullptr || isReadOnly()) {
    event->ignore();
    return;
  }
  if (isOwnDrag(data)) {
    moveSelectionTo(cursorForPosition(event->position().toPoint()).position());
    // The move is done here; a copy action keeps the drag's source from removing text again.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return;
  }
  // A drop from outside replaces the whole input; anything typed before it is reported first so
  // that undo returns to it.
  event->setDropAction(Qt::CopyAction);
  event->accept();
  const std::optional<QString> text = droppedText(data);
  if (!text) return;
  deliverPendingReport();
  setInputText(*text);
  if (onUpdatedText) onUpdatedText(*text);
}

}  // namespace mirel
