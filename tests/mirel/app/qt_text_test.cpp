#include "mirel/app/qt_text.h"

#include <cmath>

#include <QFontMetricsF>
#include <QtTest>

#include "mirel/highlight/swift_syntax_highlighter.h"

using namespace mirel;

class QtTextTest : public QObject {
  Q_OBJECT

 private slots:
  void textsCrossTheBoundaryUnitForUnit() {
    // A character outside the basic plane, a lone surrogate and a NUL keep their code units.
    const std::u16string text{u'a', 0xD83D, 0xDE00, 0xDC00, u'\0', u'z'};
    const QString q = toQString(text);
    QCOMPARE(q.size(), 6);
    QCOMPARE(q.at(3).unicode(), char16_t(0xDC00));
    QCOMPARE(toU16(q), text);
    QVERIFY(toQString(u"").isEmpty());
    QVERIFY(toU16(QString()).empty());
  }

  void theSystemFixedFontTakesTheGivenSize() {
    const QFont font = toQFont(Font::monospacedSystem(21));
    QCOMPARE(font.pointSizeF(), 21.0);
    // Measured rather than asked: Qt reports some monospaced families (Noto Sans Mono) as not
    // fixed pitch.
    const QFontMetricsF metrics(font);
    QCOMPARE(metrics.horizontalAdvance(QLatin1Char('i')),
             metrics.horizontalAdvance(QLatin1Char('W')));
  }

  void anUnusableSizeLeavesTheSystemSize() {
    const double systemSize = toQFont(Font::monospacedSystem(12)).pointSizeF();
    QVERIFY(systemSize > 0);
    const double base = QFontDatabase::systemFont(QFontDatabase::FixedFont).pointSizeF();
    QCOMPARE(toQFont(Font::monospacedSystem(0)).pointSizeF(), base);
    QCOMPARE(toQFont(Font::monospacedSystem(-3)).pointSizeF(), base);
    QCOMPARE(toQFont(Font::monospacedSystem(std::nan(""))).pointSizeF(), base);
  }

  void aDarkWindowColourMeansDarkAppearance() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    QPalette light;
    light.setColor(QPalette::Window, QColor(240, 240, 240));
    QCOMPARE(appearanceOf(dark), Appearance::dark);
    QCOMPARE(appearanceOf(light), Appearance::light);
  }

  void rangesFollowTheRunsResolvedForTheAppearance() {
    const AttributedText text = SwiftSyntaxHighlighter::highlight(u"struct Root {\n  let x: Int\n}",
                                                                  Font::monospacedSystem(17));
    QVERIFY(text.runs.size() > 2);
    for (Appearance appearance : {Appearance::light, Appearance::dark}) {
      const QList<QTextLayout::FormatRange> ranges = formatRanges(text, appearance);
      QCOMPARE(ranges.size(), qsizetype(text.runs.size()));
      int end = 0;
      for (qsizetype i = 0; i < ranges.size(); ++i) {
        const ColourRun& run = text.runs[std::size_t(i)];
        QCOMPARE(ranges[i].start, end);
        QCOMPARE(ranges[i].length, run.range.length);
        end += ranges[i].length;
        const Rgb expected = appearance == Appearance::dark ? run.colour.dark : run.colour.light;
        QCOMPARE(ranges[i].format.foreground().color(), toQColor(expected));
        QCOMPARE(ranges[i].format.font().pointSizeF(), 17.0);
      }
      QCOMPARE(end, int(text.text.size()));
    }
  }
};

QTEST_MAIN(QtTextTest)
#include "qt_text_test.moc"
