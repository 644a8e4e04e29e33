#include "mirel/widgets/output_view.h"

#include <algorithm>

#include <QEvent>
#include <QFontDatabase>
#include <QPainter>
#include <QSyntaxHighlighter>
#include <QTextBlock>

#include "mirel/app/qt_text.h"

namespace mirel {

/// Colours each block of the view from the output's runs, resolved for the view's palette.
class OutputHighlighter : public QSyntaxHighlighter {
 public:
  OutputHighlighter(OutputView* view) : QSyntaxHighlighter(view->document()), m_view(view) {}

 protected:
  void highlightBlock(const QString& text) override {
    const AttributedText& output = m_view->output();
    if (output.runs.empty() || text.isEmpty()) return;
    const Appearance appearance = appearanceOf(m_view->palette());
    const int blockStart = currentBlock().position();
    const int blockEnd = blockStart + static_cast<int>(text.size());
    // The first run that ends after the block starts.
    auto run = std::upper_bound(output.runs.begin(), output.runs.end(), blockStart,
                                [](int position, const ColourRun& r) {
                                  return position < r.range.location + r.range.length;
                                });
    for (; run != output.runs.end() && run->range.location < blockEnd; ++run) {
      const int from = std::max(blockStart, run->range.location);
      const int to = std::min(blockEnd, run->range.location + run->range.length);
      if (to > from) {
        setFormat(from - blockStart, to - from,
                  toQColor(dynamicColorProvider(appearance, run->colour)));
      }
    }
  }

 private:
  OutputView* m_view;
};

OutputView::OutputView(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setUndoRedoEnabled(false);
  setFrameShape(QFrame::NoFrame);
  document()->setDocumentMargin(8);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFontSize(15);
  m_highlighter = new OutputHighlighter(this);
}

OutputView::~OutputView() = default;

void OutputView::setFontSize(double pointSize) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(pointSize > 0 ? pointSize : 15);
  setFont(font);
}

void OutputView::setOutput(const AttributedText& output) {
  m_output = output;
  if (output.font.pointSize > 0) setFont(toQFont(output.font));
  const QString text = toQString(output.text);
  // The same text again (a new size, say) keeps the reader's place and selection.
  if (text == document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'))) {
    m_highlighter->rehighlight();
  } else {
    setPlainText(text);
  }
  viewport()->update();
}

QColor OutputView::backgroundColour() const {
  return toQColor(dynamicColorProvider(appearanceOf(palette()), background));
}

void OutputView::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), backgroundColour());
  }
  QPlainTextEdit::paintEvent(event);
}

void OutputView::changeEvent(QEvent* event) {
  QPlainTextEdit::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) {
    m_highlighter->rehighlight();
    viewport()->update();
  }
}

}  // namespace mirel
