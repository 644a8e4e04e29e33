#include "mirel/widgets/output_view.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "app/support/dark_palette.h"
#include "app/support/isolated_settings.h"
#include "mirel/app/qt_text.h"

using mirel::AttributedText;
using mirel::OutputView;

namespace {

QPalette lightPalette() {
  QPalette palette;
  palette.setColor(QPalette::Window, QColor(236, 236, 236));
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  return palette;
}

// "let x" with "let" in the keyword colour and the rest in the base colour.
AttributedText code() {
  AttributedText text;
  text.text = u"let x\nvar";
  text.font = mirel::Font::monospacedSystem(20);
  text.runs = {{{0, 3}, mirel::palette::keyword},
               {{3, 3}, mirel::palette::base},
               {{6, 3}, mirel::palette::keyword}};
  return text;
}

QColor colourAt(const OutputView& view, int blockNumber, int position) {
  const QTextBlock block = view.document()->findBlockByNumber(blockNumber);
  for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
    if (position >= range.start && position < range.start + range.length) {
      return range.format.foreground().color();
    }
  }
  return {};
}

}  // namespace

class OutputViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { mirel::testing::isolateSettings(); }

  void isReadOnlyButSelectable() {
    OutputView view;
    view.setOutput(code());
    view.show();
    QVERIFY(view.isReadOnly());
    QVERIFY(view.textInteractionFlags() & Qt::TextSelectableByMouse);
    QVERIFY(view.textInteractionFlags() & Qt::TextSelectableByKeyboard);
    view.setFocus();
    QTest::keyClicks(&view, "zz");
    QCOMPARE(view.toPlainText(), QStringLiteral("let x\nvar"));
    view.selectAll();
    QCOMPARE(view.textCursor().selectedText(), QStringLiteral("let x\u2029var"));
    QVERIFY(view.placeholderText().isEmpty());
  }

  void showsTheRunsColoursAndFont() {
    OutputView view;
    view.setPalette(lightPalette());
    view.setOutput(code());
    QCOMPARE(view.font().pointSizeF(), 20.0);
    QCOMPARE(colourAt(view, 0, 1), QColor(161, 68, 160));
    QCOMPARE(colourAt(view, 0, 4), QColor(39, 38, 39));
    QCOMPARE(colourAt(view, 1, 0), QColor(161, 68, 160));
  }

  void followsAChangeOfAppearanceWithoutANewOutput() {
    OutputView view;
    view.resize(300, 200);
    view.setPalette(lightPalette());
    view.setOutput(code());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.backgroundColour(), QColor(249, 249, 255));
    QCOMPARE(view.viewport()->grab().toImage().pixelColor(250, 150), QColor(249, 249, 255));

    view.setPalette(mirel::testing::darkPalette());
    QCOMPARE(view.backgroundColour(), QColor(42, 42, 48));
    QCOMPARE(colourAt(view, 0, 1), QColor(239, 129, 177));
    QCOMPARE(view.viewport()->grab().toImage().pixelColor(250, 150), QColor(42, 42, 48));
  }

  void theSameTextAgainKeepsTheSelection() {
    OutputView view;
    view.setOutput(code());
    QTextCursor cursor = view.textCursor();
    cursor.setPosition(1);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    view.setTextCursor(cursor);
    AttributedText larger = code();
    larger.font = mirel::Font::monospacedSystem(24);
    view.setOutput(larger);
    QCOMPARE(view.textCursor().selectedText(), QStringLiteral("et"));
    QCOMPARE(view.font().pointSizeF(), 24.0);
  }
};

QTEST_MAIN(OutputViewTest)
#include "output_view_test.moc"
