#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/support/test_files.h"
#include "mirel/app/app_settings.h"
#include "mirel/app/qt_text.h"
#include "mirel/options/options_form.h"
#include "mirel/widgets/input_editor.h"
#include "mirel/widgets/mirel_application.h"
#include "mirel/widgets/output_view.h"
#include "mirel/widgets/settings_dialog.h"
#include "telvar/value/printer.h"
#include "widgets/support/window_driver.h"

using namespace mirel;
using namespace mirel::testing;

namespace {

std::unique_ptr<MirelDocument> documentWithInput(const std::string& input,
                                                 const std::string& unit = "  ") {
  auto document = std::make_unique<MirelDocument>();
  telvar::Model model = document->model();
  model.setInput(input);
  model.setIndentation({0, unit});
  document->setModel(std::move(model));
  return document;
}

std::string savedInput(const QString& path) {
  MirelDocument::OpenResult reopened = MirelDocument::open(path);
  return reopened.document ? reopened.document->model().input() : "<does not open>";
}

void caretToEnd(InputEditor* editor) {
  QTextCursor cursor = editor->textCursor();
  cursor.movePosition(QTextCursor::End);
  editor->setTextCursor(cursor);
}

}  // namespace

class EditorWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { resetSettings(); }
  void cleanup() {
    // Windows left open are dropped without their close prompt.
    QList<QPointer<EditorWindow>> open;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* window = qobject_cast<EditorWindow*>(widget)) open.append(window);
    }
    for (const QPointer<EditorWindow>& window : open) delete window.data();
  }

  void typedJsonShowsHighlightedSwiftAfterThePauses() {
    QPointer<EditorWindow> window = openWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Untitled[*] \u2014 Mirel"));
    QVERIFY(window->inputEditor()->hasFocus());
    QVERIFY(!window->formatButton()->isVisible());
    type(window, "{\"name\": \"Ada\", \"age\": 36}");
    QVERIFY(waitForCode(window, "struct Unknown"));
    QVERIFY(outputText(window).contains("let name: String"));
    QVERIFY(window->formatButton()->isVisible());
    QVERIFY(window->copyButton()->isVisible());
    const AttributedText& output = window->outputView()->output();
    QVERIFY(std::any_of(output.runs.begin(), output.runs.end(),
                        [](const ColourRun& run) { return run.colour == palette::keyword; }));
    QVERIFY(window->isWindowModified());
  }

  void invalidJsonShowsTheRedMessageAndHidesFormatAndCopy() {
    QPointer<EditorWindow> window = openWindow();
    type(window, "{\"a\": 1}");
    QVERIFY(waitForCode(window, "Int"));
    QTest::keyClick(window->inputEditor(), Qt::Key_Backspace);  // "{"a": 1"
    QTRY_VERIFY(!window->generationRun()->isOutputCode());
    QVERIFY(!window->formatButton()->isVisible());
    QVERIFY(!window->copyButton()->isVisible());
    const AttributedText& output = window->outputView()->output();
    QVERIFY(!output.text.empty());
    for (const ColourRun& run : output.runs) QVERIFY(run.colour == palette::systemRed);
    // Emptying the input shows nothing at all.
    window->inputEditor()->selectAll();
    QTest::keyClick(window->inputEditor(), Qt::Key_Backspace);
    QTRY_VERIFY(outputText(window).isEmpty());
    QVERIFY(!window->formatButton()->isVisible());
  }

  void formatReindentsWithTheDocumentsUnit() {
    const std::string input = "{\"a\":[1,2],\"b\":{\"c\":true}}";
    QPointer<EditorWindow> window = openWindow(documentWithInput(input, "    "));
    QVERIFY(waitForCode(window, "struct"));
    const int history = window->document()->historySize();
    QTest::mouseClick(window->formatButton(), Qt::LeftButton);
    const std::string formatted = telvar::Formatter::format(input, {0, "    "});
    QVERIFY(formatted != input);
    QVERIFY(formatted.find("\n    \"a\"") != std::string::npos);
    QCOMPARE(window->document()->model().input(), formatted);
    QCOMPARE(window->inputEditor()->inputText(), QString::fromStdString(formatted));
    QCOMPARE(window->document()->historySize(), history + 1);
  }

  void copyPutsThePlainOutputOnTheClipboard() {
    QPointer<EditorWindow> window = openWindow(documentWithInput("{\"id\": 7}"));
    QVERIFY(waitForCode(window, "let id: Int"));
    QApplication::clipboard()->clear();
    QTest::mouseClick(window->copyButton(), Qt::LeftButton);
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    QCOMPARE(copied->text(), toQString(window->generationRun()->output().text));
    QVERIFY(!copied->hasHtml());
  }

  void undoWalksTheHistoryBackOneStepAtATime() {
    QPointer<EditorWindow> window = openWindow();
    for (const char* key : {"1", "2", "3"}) {
      type(window, key);
      QTRY_VERIFY(!window->inputEditor()->hasPendingReport());
    }
    QCOMPARE(window->document()->historySize(), 4);
    const QStringList expected{"12", "1", "", ""};
    for (const QString& text : expected) {
      QTest::keyClick(window->inputEditor(), Qt::Key_Z, Qt::ControlModifier);
      QCOMPARE(window->inputEditor()->inputText(), text);
      QCOMPARE(QString::fromStdString(window->document()->model().input()), text);
    }
    QCOMPARE(window->document()->historySize(), 1);
    QVERIFY(!window->undoAction()->isEnabled());
  }

  void undoKeepsTheCaretWhereItWas() {
    QPointer<EditorWindow> window = openWindow(documentWithInput("[1, 2, 3]"));
    caretToEnd(window->inputEditor());
    type(window, " ");
    QTRY_VERIFY(!window->inputEditor()->hasPendingReport());
    QTextCursor cursor = window->inputEditor()->textCursor();
    cursor.setPosition(4);
    window->inputEditor()->setTextCursor(cursor);
    window->undo();
    QCOMPARE(window->inputEditor()->inputText(), QStringLiteral("[1, 2, 3]"));
    QCOMPARE(window->inputEditor()->textCursor().position(), 4);
  }

  void undoRightAfterTypingKeepsTheEarlierKeystrokes() {
    // A long text waits a quarter second before it is reported; undo must not lose or revive it.
    QPointer<EditorWindow> window = openWindow(documentWithInput(std::string(1200, ' ')));
    caretToEnd(window->inputEditor());
    type(window, "a");
    QTRY_VERIFY(!window->inputEditor()->hasPendingReport());
    type(window, "b");
    QVERIFY(window->inputEditor()->hasPendingReport());
    QVERIFY(window->undoAction()->isEnabled());
    QTest::keyClick(window->inputEditor(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(window->inputEditor()->inputText().endsWith(" a"));
    QTest::qWait(400);
    QVERIFY(window->inputEditor()->inputText().endsWith(" a"));
  }

  void typingThenSavingAtOnceKeepsEveryKeystroke() {
    QTemporaryDir dir;
    const QString path = dir.filePath("typed.mirel");
    QPointer<EditorWindow> window = openWindow(documentWithInput(std::string(1500, ' ')));
    QVERIFY(window->saveTo(path));
    QCOMPARE(window->windowTitle(), QStringLiteral("typed.mirel[*] \u2014 Mirel"));
    QVERIFY(!window->isWindowModified());
    caretToEnd(window->inputEditor());
    type(window, "[true]");
    QVERIFY(window->inputEditor()->hasPendingReport());
    QTest::keyClick(window->inputEditor(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(savedInput(path), std::string(1500, ' ') + "[true]");
    QVERIFY(!window->isWindowModified());
  }

  void typingInTheFormRightAfterTheInputKeepsTheFieldsCaret() {
    QPointer<EditorWindow> window = openWindow(documentWithInput(std::string(1500, ' ')));
    caretToEnd(window->inputEditor());
    type(window, "[true]");
    QVERIFY(window->inputEditor()->hasPendingReport());
    QLineEdit* name = nullptr;
    for (QLineEdit* field : window->optionsForm()->findChildren<QLineEdit*>()) {
      if (field->placeholderText() == QStringLiteral("Model Name")) name = field;
    }
    QVERIFY(name != nullptr);
    name->setFocus();
    name->setCursorPosition(2);
    QTest::keyClicks(name, "XY");
    QCOMPARE(name->text(), QStringLiteral("UnXYknown"));
    QCOMPARE(window->document()->model().modelName(), "UnXYknown");
    QCOMPARE(window->document()->model().input(), std::string(1500, ' ') + "[true]");
  }

  void aFailedSaveSaysWhyAndKeepsTheDocumentModified() {
    QTemporaryDir dir;
    QPointer<EditorWindow> window = openWindow(documentWithInput("[]"));
    const QString path = dir.filePath("missing-folder/x.mirel");
    QString message;
    answerNextMessageBox(QMessageBox::Ok, &message);
    QVERIFY(!window->saveTo(path));
    QVERIFY(message.contains("x.mirel"));
    QVERIFY(window->isWindowModified());
    QCOMPARE(window->windowTitle(), QStringLiteral("Untitled[*] \u2014 Mirel"));
  }

  void aNewLineThenSaveKeepsTheNewLineAndItsIndentation() {
    QTemporaryDir dir;
    const QString path = dir.filePath("newline.mirel");
    QPointer<EditorWindow> window = openWindow(documentWithInput("{\n    \"a\": 1,"));
    QVERIFY(window->saveTo(path));
    caretToEnd(window->inputEditor());
    QTest::keyClick(window->inputEditor(), Qt::Key_Return);
    QTest::keyClick(window->inputEditor(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(savedInput(path), std::string("{\n    \"a\": 1,\n    "));
  }

  void aDropReplacesTheInputAndUndoBringsItBack() {
    QPointer<EditorWindow> window = openWindow(documentWithInput("[1]"));
    QMimeData data;
    data.setText("{\"dropped\": true}");
    const QPoint at(20, 20);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->inputEditor()->viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->inputEditor()->viewport(), &drop);
    QCOMPARE(window->document()->model().input(), std::string("{\"dropped\": true}"));
    QVERIFY(waitForCode(window, "let dropped: Bool"));
    window->undo();
    QCOMPARE(window->inputEditor()->inputText(), QStringLiteral("[1]"));
  }

  void closingWithARunPendingTouchesNothingAfterwards() {
    QPointer<EditorWindow> window = openWindow(documentWithInput("{\"a\": 1}"));
    AppSettings::shared().setFontSize(18);  // schedules a run at once
    answerNextMessageBox(QMessageBox::Discard);
    QVERIFY(window->close());
    QTRY_VERIFY(window.isNull());
    QTest::qWait(300);  // the pauses of every run pass with the window gone
    AppSettings::shared().setFontSize(15);
    QTest::qWait(50);
  }

  void theFontSizeFromTheSettingsDialogRegeneratesEveryWindow() {
    QPointer<EditorWindow> first = openWindow(documentWithInput("{\"a\": 1}"));
    QPointer<EditorWindow> second = openWindow(documentWithInput("[{\"s\": \"x\"}]"));
    QVERIFY(waitForCode(first, "struct"));
    QVERIFY(waitForCode(second, "String"));
    QCOMPARE(first->outputView()->output().font.pointSize, 15.0);
    first->showSettings();
    SettingsDialog* dialog = first->settingsDialog();
    QVERIFY(dialog != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    dialog->fontSizeSlider()->setFocus();
    QTest::keyClick(dialog->fontSizeSlider(), Qt::Key_Right);
    for (EditorWindow* window : {first.data(), second.data()}) {
      QTRY_COMPARE(window->outputView()->output().font.pointSize, 16.0);
      QCOMPARE(window->outputView()->font().pointSizeF(), 16.0);
      QCOMPARE(window->inputEditor()->font().pointSizeF(), 16.0);
    }
    QVERIFY(dialog->isVisible());  // the change shows while the dialog is still open
    QTest::mouseClick(dialog->doneButton(), Qt::LeftButton);
    QTRY_VERIFY(first->settingsDialog() == nullptr);
  }

  void resizingAcross800PixelsMovesTheFormBetweenColumnAndDialog() {
    QPointer<EditorWindow> window = openWindow();
    QVERIFY(window->isRegularWidth());
    QVERIFY(window->optionsColumn()->isVisible());
    QCOMPARE(window->optionsColumn()->width(), 375);
    QVERIFY(!window->optionsAction()->isVisible());
    // Format and Copy stay in the top trailing corner of their panes across the change.
    const auto inTheirCorners = [&window] {
      for (auto [button, pane] : {std::pair<QWidget*, QAbstractScrollArea*>{window->formatButton(),
                                                                            window->inputEditor()},
                                  {window->copyButton(), window->outputView()}}) {
        const int gap = pane->viewport()->geometry().right() - button->geometry().right();
        if (gap < 0 || gap > 12) return false;
      }
      return true;
    };
    QVERIFY(inTheirCorners());
    window->resize(799, 700);
    QTRY_VERIFY(!window->isRegularWidth());
    QVERIFY(inTheirCorners());
    QVERIFY(!window->optionsColumn()->isVisible());
    QVERIFY(window->optionsAction()->isVisible());
    window->optionsAction()->trigger();
    QDialog* dialog = window->optionsDialog();
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Options"));
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QVERIFY(window->optionsForm()->isVisible());
    QVERIFY(dialog->isAncestorOf(window->optionsForm()));
    window->resize(800, 700);
    QTRY_VERIFY(window->optionsDialog() == nullptr);
    QVERIFY(inTheirCorners());
    QVERIFY(window->optionsColumn()->isVisible());
    QCOMPARE(window->optionsColumn()->widget(), window->optionsForm());
  }

  void sheetsReopenedAtOnceAfterDoneShowAgain() {
    QPointer<EditorWindow> window = openWindow();
    window->resize(700, 700);
    QTRY_VERIFY(!window->isRegularWidth());
    for (int round = 0; round < 2; ++round) {
      window->optionsAction()->trigger();
      QPointer<QDialog> options = window->optionsDialog();
      QVERIFY(options != nullptr);
      QVERIFY(QTest::qWaitForWindowExposed(options));
      QVERIFY(options->isAncestorOf(window->optionsForm()));
      options->accept();  // "Done", then Options again before the loop turns
    }
    QVERIFY(window->optionsDialog() == nullptr);
    QCOMPARE(window->optionsColumn()->widget(), window->optionsForm());

    window->settingsAction()->trigger();
    QPointer<SettingsDialog> first = window->settingsDialog();
    QVERIFY(QTest::qWaitForWindowExposed(first));
    QTest::mouseClick(first->doneButton(), Qt::LeftButton);
    window->settingsAction()->trigger();
    QPointer<SettingsDialog> second = window->settingsDialog();
    QVERIFY(second != nullptr && second != first);
    QTRY_VERIFY(first == nullptr);
    QVERIFY(second != nullptr);
    QVERIFY(second->isVisible());
  }

  void aModifiedDocumentAsksBeforeClosing() {
    QPointer<EditorWindow> window = openWindow();
    type(window, "[]");
    QString question;
    answerNextMessageBox(QMessageBox::Cancel, &question);
    QVERIFY(!window->close());
    QVERIFY(question.contains("modified"));
    QVERIFY(window->isVisible());
    answerNextMessageBox(QMessageBox::Discard);
    QVERIFY(window->close());
    QTRY_VERIFY(window.isNull());
  }

  void aSavedClosedAndReopenedDocumentIsByteIdentical() {
    QTemporaryDir dir;
    const QString path = dir.filePath("round.mirel");
    QPointer<EditorWindow> window =
        openWindow(documentWithInput("{\"caf\xC3\xA9\u00A0\": [1.5, null]}\r\n"));
    QVERIFY(window->saveTo(path));
    const QByteArray saved = readFile(path);
    QVERIFY(!saved.isEmpty());
    QVERIFY(window->close());
    QTRY_VERIFY(window.isNull());

    MirelApplication application;
    QStringList errors;
    application.onError = [&](const QString& message) { errors.append(message); };
    QVERIFY(application.start({path}));
    QCOMPARE(application.windows().size(), 1);
    EditorWindow* reopened = application.windows().first();
    QVERIFY(waitForCode(reopened, "struct"));
    QVERIFY(!reopened->isWindowModified());
    QVERIFY(reopened->save());
    QCOMPARE(readFile(path), saved);
    QVERIFY(errors.isEmpty());
  }
};

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"
