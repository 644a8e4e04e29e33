#pragma once

#include <memory>

#include <QMainWindow>
#include <QPointer>

#include "mirel/widgets/settings_dialog.h"

class QAction;
class QDialog;
class QScrollArea;
class QToolButton;

namespace mirel {

class GenerationRun;
class InputEditor;
class MirelApplication;
class MirelDocument;
class OptionsForm;
class OutputView;

/// The window of one document: the JSON input above the generated output, the options form
/// beside them while the window is wide (at least `regularWidth` pixels) or behind the "Options"
/// button while it is narrow, "Format" and "Copy" over the panes while the output is code, and
/// the File, Edit and Help menus. The window owns its document and its generation run; closing
/// it asks before unsaved changes are lost and cancels the pending run.
class EditorWindow : public QMainWindow {
  Q_OBJECT

 public:
  /// From this window width on, the options form stands in a column beside the editor.
  static constexpr int regularWidth = 800;
  /// The width of that column.
  static constexpr int optionsColumnWidth = 375;

  /// `application` serves New, Open and Quit (none: those commands are absent).
  explicit EditorWindow(std::unique_ptr<MirelDocument> document,
                        MirelApplication* application = nullptr);
  ~EditorWindow() override;

  [[nodiscard]] MirelDocument* document() const { return m_document; }
  [[nodiscard]] GenerationRun* generationRun() const { return m_run; }
  [[nodiscard]] InputEditor* inputEditor() const { return m_input; }
  [[nodiscard]] OutputView* outputView() const { return m_output; }
  [[nodiscard]] OptionsForm* optionsForm() const { return m_form; }
  [[nodiscard]] QToolButton* formatButton() const { return m_formatButton; }
  [[nodiscard]] QToolButton* copyButton() const { return m_copyButton; }
  [[nodiscard]] QAction* optionsAction() const { return m_optionsAction; }
  [[nodiscard]] QAction* settingsAction() const { return m_settingsAction; }
  [[nodiscard]] QAction* undoAction() const { return m_undoAction; }
  /// The options column, shown while the window is wide.
  [[nodiscard]] QScrollArea* optionsColumn() const { return m_optionsColumn; }
  /// The options dialog while it is open, else nullptr.
  [[nodiscard]] QDialog* optionsDialog() const { return m_optionsDialog; }
  /// The settings dialog while it is open, else nullptr.
  [[nodiscard]] SettingsDialog* settingsDialog() const { return m_settingsDialog; }
  /// True while the window is wide enough for the options column.
  [[nodiscard]] bool isRegularWidth() const { return m_regular; }

  /// Re-indents the input with the document's indentation.
  void format();
  /// Puts the output's text, without colours, on the clipboard.
  void copyOutput();
  /// Steps the document back one history entry.
  void undo();
  /// Saves to the document's file, or asks for one; false when nothing was saved.
  bool save();
  /// Asks for a file and saves there; false when cancelled or failed.
  bool saveAs();
  /// Saves to `path` (".mirel" added when it has no suffix); shows the error and returns false
  /// when writing fails.
  bool saveTo(const QString& path);
  void showOptions();
  void showSettings();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void buildPanes();
  void buildMenus();
  void modelChanged();
  void outputChanged();
  void updateTitle();
  void updateUndo();
  void updateSizeClass();
  void placeOverlays();
  void styleOverlays();
  [[nodiscard]] bool maybeSave();
  void stopWork();

  MirelApplication* m_application;
  MirelDocument* m_document;
  GenerationRun* m_run = nullptr;
  InputEditor* m_input = nullptr;
  OutputView* m_output = nullptr;
  OptionsForm* m_form = nullptr;
  QScrollArea* m_optionsColumn = nullptr;
  QPointer<QDialog> m_optionsDialog;
  QScrollArea* m_optionsDialogScroll = nullptr;
  QPointer<SettingsDialog> m_settingsDialog;
  QToolButton* m_formatButton = nullptr;
  QToolButton* m_copyButton = nullptr;
  QAction* m_optionsAction = nullptr;
  QAction* m_settingsAction = nullptr;
  QAction* m_undoAction = nullptr;
  bool m_regular = true;
  bool m_shownOnce = false;
  bool m_closing = false;
  bool m_styling = false;
};

}  // namespace mirel
