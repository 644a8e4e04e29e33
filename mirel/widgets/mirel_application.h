#pragma once

#include <functional>

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include "mirel/widgets/editor_window.h"

class QWidget;

namespace mirel {

/// The application: one editor window per open document, New, Open and Quit, and the errors of
/// files that do not open. It keeps nothing else; each window owns its document.
class MirelApplication : public QObject {
  Q_OBJECT

 public:
  explicit MirelApplication(QObject* parent = nullptr);
  ~MirelApplication() override;

  /// Shows why a file did not open; a message box unless replaced (tests collect the texts).
  std::function<void(const QString& message)> onError;

  /// Opens every file of `paths`, or a new untitled document when `paths` is empty. Returns
  /// false when no window could be opened (every file failed).
  bool start(const QStringList& paths);

  /// A new untitled document from the stored defaults, in a new window.
  EditorWindow* newDocument();
  /// The window of the document at `path`: the one already open, or a new one. When the file
  /// does not open, the error is shown and nothing is returned.
  EditorWindow* openFile(const QString& path);
  /// Asks for files to open.
  void openWithDialog(QWidget* parent);
  /// Closes every window, each asking about unsaved changes; stops at the first that is kept.
  void quit();

  /// The open windows, oldest first.
  [[nodiscard]] QList<EditorWindow*> windows() const;

 private:
  EditorWindow* show(EditorWindow* window);

  QList<QPointer<EditorWindow>> m_windows;
};

}  // namespace mirel
