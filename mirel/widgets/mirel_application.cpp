#include "mirel/widgets/mirel_application.h"

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include "mirel/app/mirel_document.h"
#include "mirel/widgets/editor_window.h"

namespace mirel {

MirelApplication::MirelApplication(QObject* parent) : QObject(parent) {
  onError = [](const QString& message) {
    QMessageBox::warning(QApplication::activeWindow(), tr("Mirel"), message);
  };
}

MirelApplication::~MirelApplication() {
  for (const QPointer<EditorWindow>& window : std::as_const(m_windows)) delete window.data();
}

bool MirelApplication::start(const QStringList& paths) {
  if (paths.isEmpty()) return newDocument() != nullptr;
  bool opened = false;
  for (const QString& path : paths) opened = openFile(path) != nullptr || opened;
  return opened;
}

EditorWindow* MirelApplication::newDocument() {
  return show(new EditorWindow(std::make_unique<MirelDocument>(), this));
}

EditorWindow* MirelApplication::openFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  for (EditorWindow* window : windows()) {
    if (QFileInfo(window->document()->filePath()).absoluteFilePath() == absolute) {
      window->raise();
      window->activateWindow();
      return window;
    }
  }
  MirelDocument::OpenResult result = MirelDocument::open(absolute);
  if (!result.document) {
    const QString message = tr("The document \u201C%1\u201D could not be opened.\n%2")
                                .arg(QDir::toNativeSeparators(path), result.error);
    std::fprintf(stderr, "mirel: %s: %s\n", qPrintable(path), qPrintable(result.error));
    if (onError) onError(message);
    return nullptr;
  }
  return show(new EditorWindow(std::move(result.document), this));
}

void MirelApplication::openWithDialog(QWidget* parent) {
  const QStringList paths = QFileDialog::getOpenFileNames(
      parent, tr("Open"), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
      tr("Mirel documents (*.mirel);;All files (*)"));
  for (const QString& path : paths) openFile(path);
}

void MirelApplication::quit() {
  for (EditorWindow* window : windows()) {
    if (!window->close()) return;
  }
}

QList<EditorWindow*> MirelApplication::windows() const {
  QList<EditorWindow*> open;
  for (const QPointer<EditorWindow>& window : m_windows) {
    if (window != nullptr) open.append(window.data());
  }
  return open;
}

EditorWindow* MirelApplication::show(EditorWindow* window) {
  m_windows.removeAll(nullptr);
  // Each new window steps down and right from the last, so none hides another completely.
  if (!m_windows.isEmpty() && m_windows.last() != nullptr) {
    window->move(m_windows.last()->pos() + QPoint(28, 28));
  }
  m_windows.append(window);
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

}  // namespace mirel
