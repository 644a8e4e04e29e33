#pragma once

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace mirel {

/// The application's settings: the text size of every window, the indent width and output type
/// that new documents take, a column of links (help, libraries, feedback, review, share, news),
/// and the version. Every control writes the shared settings at once; the dialog keeps no state.
class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  /// The text "Copy to Share" puts on the clipboard: a sentence, a line feed, the store address.
  [[nodiscard]] static QString shareText();
  /// The title of the text-size box for `fontSize`: "Font Size (15)".
  [[nodiscard]] static QString fontSizeTitle(double fontSize);

  explicit SettingsDialog(QWidget* parent = nullptr);

  [[nodiscard]] QSlider* fontSizeSlider() const { return m_fontSize; }
  [[nodiscard]] QLabel* fontSizeLabel() const { return m_fontSizeTitle; }
  [[nodiscard]] QButtonGroup* indentWidthButtons() const { return m_indentWidth; }
  [[nodiscard]] QComboBox* outputTypePicker() const { return m_outputType; }
  [[nodiscard]] QPushButton* doneButton() const { return m_done; }
  /// The link row with `text` ("Copy to Share"), or nullptr.
  [[nodiscard]] QPushButton* linkButton(const QString& text) const;

 private:
  QWidget* textSizeBox();
  QWidget* defaultsBox();
  QWidget* linksBox();
  void readSettings();

  QLabel* m_fontSizeTitle = nullptr;
  QSlider* m_fontSize = nullptr;
  QButtonGroup* m_indentWidth = nullptr;
  QComboBox* m_outputType = nullptr;
  QPushButton* m_done = nullptr;
  QList<QPushButton*> m_links;
};

}  // namespace mirel
