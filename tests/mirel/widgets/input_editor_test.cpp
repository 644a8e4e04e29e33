#include "mirel/widgets/input_editor.h"

#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "app/support/isolated_settings.h"
#include "app/support/test_files.h"
#include "mirel/app/file_reading.h"
#include "mirel/widgets/key_row.h"
#include <sys/stat.h>

using mirel::InputEditor;

namespace {

// An editor on screen with its reports collected.
struct Fixture {
  InputEditor editor;
  QStringList reports;

  Fixture() {
    editor.onUpdatedText = [this](const QString& text) { reports.append(text); };
    editor.resize(400, 300);
    editor.show();
    editor.activateWindow();
    editor.setFocus();
  }
  void caretToEnd() {
    QTextCursor cursor = editor.textCursor();
    cursor.movePosition(QTextCursor::End);
    editor.setTextCursor(cursor);
  }
  // A drag that enters the editor and is released over it.
  void drop(QMimeData* data, QPoint at = {5, 5}) {
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor.viewport(), &enter);
    QDropEvent event(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor.viewport(), &event);
  }
};

}  // namespace

class InputEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { mirel::testing::isolateSettings(); }

  void reportsAShortTextOnTheNextTurnOfTheLoop() {
    Fixture f;
    QCOMPARE(f.editor.placeholderText(), QStringLiteral("Enter or drag JSON here..."));
    QVERIFY(!f.editor.isUndoRedoEnabled());
    QTest::keyClicks(&f.editor, "{\"a\"");
    QVERIFY(f.reports.isEmpty());  // never inside the keystroke itself
    QVERIFY(f.editor.hasPendingReport());
    QTRY_COMPARE(f.reports, QStringList{"{\"a\""});
    QVERIFY(!f.editor.hasPendingReport());
  }

  void waitsAQuarterSecondFromAThousandCharactersAndReportsABurstOnce() {
    QCOMPARE(InputEditor::reportDelayMs(999), 0);
    QCOMPARE(InputEditor::reportDelayMs(1000), 250);
    Fixture f;
    f.editor.setInputText(QString(998, QLatin1Char(' ')));
    f.caretToEnd();
    QTest::keyClick(&f.editor, Qt::Key_A);  // 999 characters
    QTRY_COMPARE(f.reports.size(), 1);
    QTest::keyClick(&f.editor, Qt::Key_B);  // 1,000 characters
    QTest::qWait(50);
    QTest::keyClick(&f.editor, Qt::Key_C);
    QTest::qWait(50);
    QTest::keyClick(&f.editor, Qt::Key_D);
    QTest::qWait(50);
    QCOMPARE(f.reports.size(), 1);  // each key restarted the pause
    QTRY_COMPARE(f.reports.size(), 2);
    QVERIFY(f.reports.last().endsWith("abcd"));
    QTest::qWait(300);
    QCOMPARE(f.reports.size(), 2);
  }

  void reportsNothingWhileAnInputMethodComposes() {
    Fixture f;
    QTest::keyClick(&f.editor, Qt::Key_X);
    QInputMethodEvent composing(QStringLiteral("ka"), {});
    QApplication::sendEvent(&f.editor, &composing);
    QTest::qWait(50);
    QVERIFY(f.reports.isEmpty());
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("\u304B"));
    QApplication::sendEvent(&f.editor, &commit);
    QTRY_COMPARE(f.reports, QStringList{QStringLiteral("x\u304B")});
  }

  void deliversAPendingReportOnRequest() {
    Fixture f;
    f.editor.setInputText(QString(2000, QLatin1Char(' ')));
    f.caretToEnd();
    QTest::keyClick(&f.editor, Qt::Key_1);
    QVERIFY(f.reports.isEmpty());
    f.editor.deliverPendingReport();
    QCOMPARE(f.reports.size(), 1);
    QVERIFY(f.reports.first().endsWith('1'));
    QTest::qWait(300);
    QCOMPARE(f.reports.size(), 1);  // delivered once, not again when the pause ends
  }

  void aNewLineCarriesTheLinesLeadingWhitespaceAndIsReported() {
    struct Case {
      QString line;
      QString expected;
    };
    const QList<Case> cases{{"    \"a\": 1,", "    \"a\": 1,\n    "},
                            {"\t  x", "\t  x\n\t  "},
                            {"{", "{\n"},
                            {QStringLiteral("\u00A0 y"), QStringLiteral("\u00A0 y\n\u00A0 ")}};
    for (const Case& c : cases) {
      Fixture f;
      f.editor.setInputText(c.line);
      f.caretToEnd();
      QTest::keyClick(&f.editor, Qt::Key_Return);
      QCOMPARE(f.editor.inputText(), c.expected);
      QCOMPARE(f.editor.textCursor().position(), c.expected.size());
      QTRY_COMPARE(f.reports, QStringList{c.expected});
    }
  }

  void aNewLineReplacesTheSelection() {
    Fixture f;
    f.editor.setInputText("  abcd");
    QTextCursor cursor = f.editor.textCursor();
    cursor.setPosition(3);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    f.editor.setTextCursor(cursor);
    QTest::keyClick(&f.editor, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(f.editor.inputText(), QStringLiteral("  a\n  d"));
  }

  void keepsNoBreakSpacesAndLineSeparators() {
    Fixture f;
    const QString text = QStringLiteral("{\"a\u00A0b\": \"x\u2028y\"}");
    f.editor.setInputText(text);
    QCOMPARE(f.editor.inputText(), text);
    f.caretToEnd();
    QTest::keyClick(&f.editor, Qt::Key_Space);
    QTRY_COMPARE(f.reports, QStringList{text + ' '});
  }

  void undoKeysLeaveTheTextToTheDocument() {
    Fixture f;
    QTest::keyClicks(&f.editor, "ab");
    QTest::keyClick(&f.editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.editor.inputText(), QStringLiteral("ab"));
  }

  void showingTheSameTextAgainKeepsTheCaret() {
    Fixture f;
    f.editor.setInputText("[1, 2]");
    QTextCursor cursor = f.editor.textCursor();
    cursor.setPosition(3);
    f.editor.setTextCursor(cursor);
    f.editor.setInputText("[1, 2]");
    QCOMPARE(f.editor.textCursor().position(), 3);
    QTest::qWait(10);
    QVERIFY(f.reports.isEmpty());  // text set by the program is not an edit
  }

  void dropsFromOutsideReplaceTheWholeInput() {
    Fixture f;
    f.editor.setInputText("old text");
    auto* text = new QMimeData;
    text->setText("[true]");
    f.drop(text);
    QCOMPARE(f.editor.inputText(), QStringLiteral("[true]"));
    QCOMPARE(f.reports, QStringList{"[true]"});
    delete text;

    QTemporaryDir dir;
    const QString path = dir.filePath("sample.json");
    QVERIFY(mirel::testing::writeFile(path, "{\"caf\xC3\xA9\": 1}"));
    auto* fileDrop = new QMimeData;
    fileDrop->setUrls({QUrl::fromLocalFile(path)});
    f.drop(fileDrop);
    QCOMPARE(f.editor.inputText(), QStringLiteral("{\"caf\u00E9\": 1}"));
    QCOMPARE(f.reports.size(), 2);
    delete fileDrop;
  }

  void emptyNonUtf8EndlessOrHugeDropsChangeNothing() {
    Fixture f;
    f.editor.setInputText("kept");
    QTemporaryDir dir;
    const QString latin1 = dir.filePath("latin1.json");
    QVERIFY(mirel::testing::writeFile(latin1, "{\"caf\xE9\": 1}"));
    const QString empty = dir.filePath("empty.json");
    QVERIFY(mirel::testing::writeFile(empty, QByteArray()));

    QList<QMimeData*> drops;
    drops.append(new QMimeData);
    drops.last()->setText("");
    drops.append(new QMimeData);
    drops.last()->setData("text/plain", "\xFF\xFE[1]");
    drops.append(new QMimeData);
    drops.last()->setUrls({QUrl::fromLocalFile(latin1)});
    drops.append(new QMimeData);
    drops.last()->setUrls({QUrl::fromLocalFile(empty)});
    drops.append(new QMimeData);
    drops.last()->setUrls({QUrl::fromLocalFile(dir.path())});
    // Devices and pipes are not read: one would never end, the other never begin.
    const QString pipe = dir.filePath("pipe.json");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    drops.append(new QMimeData);
    drops.last()->setUrls({QUrl::fromLocalFile(pipe)});
    drops.append(new QMimeData);
    drops.last()->setUrls({QUrl::fromLocalFile("/dev/zero")});
    const QString huge = dir.filePath("huge.json");  // sparse: no disk space taken
    QVERIFY(mirel::testing::writeFile(huge, QByteArray()));
    QVERIFY(QFile::resize(huge, mirel::kFileSizeLimit + 1));
    drops.append(new QMimeData);
    drops.last()->setUrls({QUrl::fromLocalFile(huge)});
    for (QMimeData* data : drops) {
      f.drop(data);
      QCOMPARE(f.editor.inputText(), QStringLiteral("kept"));
      delete data;
    }
    QVERIFY(f.reports.isEmpty());
  }

  void aDragInsideMovesTheSelectedText() {
    Fixture f;
    f.editor.setInputText("abc def");
    QTextCursor cursor = f.editor.textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);  // "abc"
    f.editor.setTextCursor(cursor);
    // The drag's data is what the editor itself makes for its selection.
    struct Probe : InputEditor {
      using InputEditor::createMimeDataFromSelection;
    };
    QMimeData* data = static_cast<Probe&>(f.editor).createMimeDataFromSelection();
    QTextCursor end = f.editor.textCursor();
    end.movePosition(QTextCursor::End);
    const QPoint atEnd = f.editor.cursorRect(end).center() + QPoint(2, 0);
    f.drop(data, atEnd);
    QCOMPARE(f.editor.inputText(), QStringLiteral(" defabc"));
    QCOMPARE(f.editor.textCursor().selectedText(), QStringLiteral("abc"));
    QTRY_COMPARE(f.reports, QStringList{" defabc"});
    delete data;
  }

  void theKeyRowIsOfferedOnlyOnAPhone() {
    Fixture f;
    f.editor.setPhoneIdiom(false);
    QVERIFY(f.editor.keyRow() == nullptr);
    f.editor.setPhoneIdiom(true);
    QVERIFY(f.editor.keyRow() != nullptr);
    QStringList titles;
    for (const QPushButton* button : f.editor.keyRow()->buttons()) titles.append(button->text());
    QCOMPARE(titles, (QStringList{"{", "}", "[", "]", "\"", ":", ","}));
    QTRY_VERIFY(f.editor.hasFocus());
    QTRY_VERIFY(f.editor.keyRow()->isVisible());
    QTest::mouseClick(f.editor.keyRow()->buttons().at(0), Qt::LeftButton);
    QTest::mouseClick(f.editor.keyRow()->buttons().at(4), Qt::LeftButton);
    QCOMPARE(f.editor.inputText(), QStringLiteral("{\""));
    QTRY_COMPARE(f.reports.size(), 1);
    f.editor.setPhoneIdiom(false);
    QVERIFY(f.editor.keyRow() == nullptr);
  }
};

QTEST_MAIN(InputEditorTest)
#include "input_editor_test.moc"
