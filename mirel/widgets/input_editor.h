#pragma once

#include <functional>
#include <optional>

#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>

#include "mirel/widgets/key_row.h"

class QMimeData;

namespace mirel {

/// The JSON input: a plain-text editor that reports the user's edits after a short pause, carries
/// a line's indentation onto a new line, and replaces the whole input with text dropped on it from
/// outside. It keeps no undo history of its own; the document's history is the only one.
///
///   InputEditor editor;
///   editor.onUpdatedText = [&](const QString& text) { document.setInput(text); };
///   editor.setInputText(document.input());   // whenever the model changes
class InputEditor : public QPlainTextEdit {
  Q_OBJECT

 public:
  /// The placeholder shown while the editor is empty.
  static constexpr const char* placeholder = "Enter or drag JSON here...";
  /// Texts of at least this many characters wait `longPause` before they are reported.
  static constexpr int longTextLength = 1000;
  static constexpr int longPauseMs = 250;

  explicit InputEditor(QWidget* parent = nullptr);
  ~InputEditor() override;

  /// Called with the editor's whole text once an edit has been reported (see `reportDelayMs`).
  std::function<void(const QString&)> onUpdatedText;
  /// Called when a report becomes pending and again when it is gone (delivered or dropped), so
  /// that readers of the model can ask for it first.
  std::function<void(bool pending)> onPendingChanged;

  /// The editor's text exactly as typed: no-break spaces and line separators stay as they are.
  [[nodiscard]] QString inputText() const;
  /// Shows `text`, unless the editor already shows exactly that (the caret then stays put). No
  /// report follows.
  void setInputText(const QString& text);

  /// The system's fixed-pitch font at `pointSize` points, for the text and the placeholder.
  void setFontSize(double pointSize);

  /// Whether an edit waits to be reported.
  [[nodiscard]] bool hasPendingReport() const { return m_reportTimer.isActive(); }
  /// Reports a waiting edit now (nothing when none waits).
  void deliverPendingReport();

  /// The pause before an edit of a text of `length` characters is reported.
  [[nodiscard]] static int reportDelayMs(qsizetype length) {
    return length < longTextLength ? 0 : longPauseMs;
  }

  /// Whether the key row of JSON punctuation is offered: only on a phone (a touch screen and a
  /// primary screen under 7 inches across), unless `setPhoneIdiom` decided otherwise.
  [[nodiscard]] bool isPhoneIdiom() const;
  /// Forces the idiom (tests, or a user's choice); nullopt asks the hardware again.
  void setPhoneIdiom(std::optional<bool> phone);
  /// The key row, or nullptr when this is not a phone.
  [[nodiscard]] KeyRow* keyRow() const { return m_keyRow; }

  /// The leading whitespace of `line`: its characters from the start up to the first one that is
  /// not white space or a line break.
  [[nodiscard]] static QString leadingWhitespace(const QString& line);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  [[nodiscard]] QMimeData* createMimeDataFromSelection() const override;
  [[nodiscard]] bool canInsertFromMimeData(const QMimeData* source) const override;
  bool event(QEvent* event) override;

 private:
  void textEdited();
  void report();
  void setPending(bool pending);
  void insertNewline();
  void updateKeyRow();
  [[nodiscard]] bool isOwnDrag(const QMimeData* data) const;
  void moveSelectionTo(int position);

 public:
  /// The text that a drop from outside brings: a dropped local file's contents, else the dropped
  /// text; nothing when that is empty or not UTF-8.
  [[nodiscard]] static std::optional<QString> droppedText(const QMimeData* data);

 private:
  QTimer m_reportTimer;
  QString m_shownSource;       // the text last given to setInputText
  bool m_settingText = false;  // programmatic changes are not edits
  bool m_composing = false;    // an input method holds uncommitted text
  bool m_pending = false;
  std::optional<bool> m_phoneIdiom;
  QPointer<KeyRow> m_keyRow;
};

}  // namespace mirel
