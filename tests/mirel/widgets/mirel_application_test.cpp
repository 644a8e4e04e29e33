#include "mirel/widgets/mirel_application.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/support/test_files.h"
#include "mirel/app/mirel_document.h"
#include "mirel/widgets/editor_window.h"
#include "mirel/widgets/input_editor.h"
#include "widgets/support/url_catcher.h"
#include "widgets/support/window_driver.h"

using namespace mirel;
using namespace mirel::testing;

// The application: its windows, its menus and the files it cannot open.
class MirelApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { resetSettings(); }

  void startsWithAnUntitledDocumentOrTheGivenFiles() {
    MirelApplication application;
    QVERIFY(application.start({}));
    QCOMPARE(application.windows().size(), 1);
    QCOMPARE(application.windows().first()->document()->filePath(), QString());
    EditorWindow* second = application.newDocument();
    QCOMPARE(application.windows().size(), 2);
    QVERIFY(second->pos() != application.windows().first()->pos());
  }

  void filesThatDoNotOpenShowTheReasonAndOpenNoWindow() {
    QTemporaryDir dir;
    const QString broken = dir.filePath("broken.mirel");
    QVERIFY(writeFile(broken, "{\"id\": 3}"));
    MirelApplication application;
    QStringList errors;
    application.onError = [&](const QString& message) { errors.append(message); };
    QVERIFY(!application.start({broken, dir.filePath("missing.mirel"), dir.path()}));
    QCOMPARE(errors.size(), 3);
    QVERIFY(errors.first().contains("broken.mirel"));
    QVERIFY(application.windows().isEmpty());
  }

  void openingAnOpenFileRaisesItsWindow() {
    QTemporaryDir dir;
    const QString path = dir.filePath("once.mirel");
    MirelDocument document;
    QVERIFY(!document.saveTo(path));
    MirelApplication application;
    EditorWindow* first = application.openFile(path);
    QVERIFY(first != nullptr);
    QCOMPARE(application.openFile(path), first);
    QCOMPARE(application.windows().size(), 1);
  }

  void theMenusHoldTheDesktopCommands() {
    MirelApplication application;
    QVERIFY(application.start({}));
    EditorWindow* window = application.windows().first();
    QStringList menus;
    QMap<QString, QStringList> items;
    for (QAction* menu : window->menuBar()->actions()) {
      menus.append(menu->text().remove('&'));
      for (QAction* item : menu->menu()->actions()) {
        if (!item->isSeparator()) {
          items[menus.last()].append(item->text().remove('&') + " " +
                                     item->shortcut().toString(QKeySequence::PortableText));
        }
      }
    }
    QCOMPARE(menus, (QStringList{"File", "Edit", "Help"}));
    QCOMPARE(items["File"],
             (QStringList{"New Ctrl+N", "Open... Ctrl+O", "Save Ctrl+S", "Save As... Ctrl+Shift+S",
                          "Close Ctrl+W", "Quit Ctrl+Q"}));
    QCOMPARE(items["Edit"], (QStringList{"Undo Ctrl+Z", "Cut Ctrl+X", "Copy Ctrl+C", "Paste Ctrl+V",
                                         "Select All Ctrl+A"}));
    QCOMPARE(items["Help"], QStringList{"Introducing Mirel Ctrl+?"});
  }

  void helpOpensTheIntroductionPage() {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    MirelApplication application;
    QVERIFY(application.start({}));
    EditorWindow* window = application.windows().first();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->inputEditor(), Qt::Key_Question,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QDesktopServices::unsetUrlHandler("https");
    QCOMPARE(catcher.opened.size(), 1);
    QCOMPARE(catcher.opened.first().host(), QStringLiteral("veltro.dev"));
  }

  void newAndQuitFollowTheShortcuts() {
    MirelApplication application;
    QVERIFY(application.start({}));
    EditorWindow* window = application.windows().first();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->inputEditor(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(application.windows().size(), 2);
    application.quit();  // nothing modified: nothing to ask
    QTRY_VERIFY(application.windows().isEmpty());
  }
};

QTEST_MAIN(MirelApplicationTest)
#include "mirel_application_test.moc"
