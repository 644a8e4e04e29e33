#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QStyleFactory>
#include <QTest>

#include "app/support/dark_palette.h"
#include "mirel/app/mirel_document.h"
#include "mirel/widgets/editor_window.h"
#include "mirel/widgets/input_editor.h"
#include "mirel/widgets/output_view.h"
#include "mirel/widgets/settings_dialog.h"
#include "widgets/support/window_driver.h"

using namespace mirel;
using namespace mirel::testing;

namespace {

std::unique_ptr<MirelDocument> sampleDocument() {
  MirelDocument::OpenResult opened =
      MirelDocument::open(QStringLiteral(MIREL_EXAMPLES_DIR "/sample.mirel"));
  return std::move(opened.document);
}

void save(QWidget* widget, const QString& name) {
  QDir().mkpath(QStringLiteral(MIREL_SCREENSHOT_DIR));
  const QString path = QStringLiteral(MIREL_SCREENSHOT_DIR "/") + name + QStringLiteral(".png");
  QVERIFY2(widget->grab().save(path), qPrintable(path));
}

}  // namespace

// Pictures of each state of the windows, for people to look at.
class ScreenshotTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    resetSettings();
  }
  void cleanup() { QApplication::setPalette(QApplication::style()->standardPalette()); }

  void window_data() {
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("compact");
    QTest::addColumn<bool>("lint");
    QTest::newRow("regular-light-code") << false << false << false;
    QTest::newRow("regular-dark-code") << true << false << false;
    QTest::newRow("compact-light-lint") << false << true << true;
    QTest::newRow("compact-dark-lint") << true << true << true;
    QTest::newRow("regular-light-lint") << false << false << true;
    QTest::newRow("compact-dark-code") << true << true << false;
  }

  void window() {
    QFETCH(bool, dark);
    QFETCH(bool, compact);
    QFETCH(bool, lint);
    if (dark) QApplication::setPalette(mirel::testing::darkPalette());
    QPointer<EditorWindow> window =
        openWindow(sampleDocument(), compact ? QSize(600, 760) : QSize(1180, 760));
    QVERIFY(waitForCode(window, "struct"));
    if (lint) {
      QTextCursor cursor = window->inputEditor()->textCursor();
      cursor.movePosition(QTextCursor::Start);
      window->inputEditor()->setTextCursor(cursor);
      type(window, "{\"broken\" ");
      QTRY_VERIFY(!window->generationRun()->isOutputCode());
      QTRY_VERIFY(!window->outputView()->toPlainText().isEmpty());
    }
    QTest::qWait(50);
    save(window, QStringLiteral("window-") + QTest::currentDataTag());
    if (compact && !lint) {
      window->showOptions();
      QVERIFY(QTest::qWaitForWindowExposed(window->optionsDialog()));
      save(window->optionsDialog(), QStringLiteral("options-dialog-") + (dark ? "dark" : "light"));
    }
    delete window.data();
  }

  void emptyWindowAndKeyRow() {
    QPointer<EditorWindow> window = openWindow(std::make_unique<MirelDocument>(), {420, 640});
    window->inputEditor()->setPhoneIdiom(true);
    QTRY_VERIFY(window->inputEditor()->keyRow() != nullptr);
    QTest::qWait(50);
    save(window, "window-phone-empty-key-row");
    delete window.data();
  }

  void settingsDialog_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
  }

  void settingsDialog() {
    QFETCH(bool, dark);
    if (dark) QApplication::setPalette(mirel::testing::darkPalette());
    SettingsDialog dialog;
    dialog.resize(440, 1000);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    save(&dialog, QStringLiteral("settings-dialog-") + QTest::currentDataTag());
  }
};

QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
