#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QString>

#include "telvar/model/model.h"

namespace mirel {

/// One open document: its `Model`, a short history for undo, and its file.
///
/// Every assignment of the model runs the change handler: the model joins the history unless it
/// equals the last entry (at most 11 entries, the oldest dropped first), the options of its output
/// type become the stored defaults for new documents, the modified flag follows, and
/// `modelChanged` tells the views to re-read. Copies of the model in the history share the input
/// text, so a large sample is held once while only settings change. Main thread only.
class MirelDocument : public QObject {
  Q_OBJECT

 public:
  /// The most models the history keeps.
  static constexpr int kHistoryLimit = 11;

  /// A new untitled document made from the stored defaults: an empty input, level 0 with the
  /// stored indentation unit, the stored output type, and each output type's stored options
  /// (options data that does not decode leaves that record unset).
  explicit MirelDocument(QObject* parent = nullptr);

  /// What opening a file gives: a document, or no document and a one-line error.
  struct OpenResult {
    std::unique_ptr<MirelDocument> document;
    QString error;
  };
  /// Reads the document file at `path`. A folder, an unreadable file, a text that is not JSON or
  /// JSON that is not a model gives no document and the reason in one line (naming the key
  /// where the decoder names one).
  [[nodiscard]] static OpenResult open(const QString& path);

  /// Writes the compact JSON of the model to `path` atomically (the old file stays whole when
  /// writing fails), after delivering pending input. On success the document takes `path` as
  /// its file and is no longer modified; otherwise the text of the error is returned and the
  /// document is unchanged.
  [[nodiscard]] std::optional<QString> saveTo(const QString& path);

  /// The current model. Callers that act on the user's latest text deliver pending input first.
  [[nodiscard]] const telvar::Model& model() const noexcept { return m_model; }
  /// Assigns the model and runs the change handler, also when it equals the current one.
  void setModel(telvar::Model model);

  /// Steps back one history entry after delivering pending input; with fewer than two entries
  /// nothing happens. There is no redo.
  void undo();

  [[nodiscard]] int historySize() const noexcept { return static_cast<int>(m_history.size()); }
  /// The history, oldest first; the last entry equals the current model.
  [[nodiscard]] const std::vector<telvar::Model>& historyModels() const noexcept {
    return m_history;
  }

  /// The file the document was read from or last saved to; empty while untitled.
  [[nodiscard]] QString filePath() const { return m_filePath; }
  /// True when the model changed since it was read or saved (a new document: made), and no step
  /// back has returned to that very model since.
  [[nodiscard]] bool isModified() const noexcept { return m_modified; }

  /// Registers the input editor's not yet delivered report of typed text (an empty function:
  /// nothing pending). Whoever reads the model for Format, Undo, Save, Close, a form edit or a
  /// drop calls `deliverPendingInput()` first, so no keystroke is lost or brought back.
  void setPendingInputReport(std::function<void()> deliver);
  /// Runs and clears the pending report, if any.
  void deliverPendingInput();

 signals:
  /// After every assignment of the model, once the change handler ran.
  void modelChanged();
  void modifiedChanged(bool modified);
  void filePathChanged(const QString& path);

 private:
  MirelDocument(telvar::Model model, QString filePath);

  void recordHistory();
  void storeOptionsAsDefaults() const;
  void updateModified();

  telvar::Model m_model;
  telvar::Model m_savedModel;
  std::vector<telvar::Model> m_history;
  QString m_filePath;
  bool m_modified = false;
  std::function<void()> m_pendingInput;
};

}  // namespace mirel
