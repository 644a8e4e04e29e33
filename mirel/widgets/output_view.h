#pragma once

#include <QPlainTextEdit>

#include "mirel/highlight/attributed_text.h"
#include "mirel/highlight/colour.h"

namespace mirel {

class OutputHighlighter;

/// The generated output: read-only, selectable text on its own background. It shows the run's
/// highlighted code, the lint message or nothing; colours are light/dark pairs resolved from the
/// widget's palette whenever it paints, so a change of appearance recolours it without a new run.
class OutputView : public QPlainTextEdit {
  Q_OBJECT

 public:
  /// The background: a faint blue-white in light appearance, a dark grey in dark appearance.
  static constexpr ColourPair background{{249, 249, 255}, {42, 42, 48}};

  explicit OutputView(QWidget* parent = nullptr);
  ~OutputView() override;

  /// Shows `output` with its own font and colours.
  void setOutput(const AttributedText& output);
  [[nodiscard]] const AttributedText& output() const { return m_output; }

  /// The system's fixed-pitch font at `pointSize` points, for an output that brings no font.
  void setFontSize(double pointSize);

  /// The background colour for the current palette.
  [[nodiscard]] QColor backgroundColour() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  AttributedText m_output;
  OutputHighlighter* m_highlighter;
};

}  // namespace mirel
