#include "mirel/widgets/settings_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QUrlQuery>

#include "app/support/isolated_settings.h"
#include "mirel/app/app_settings.h"
#include "mirel/widgets/feedback_mail.h"
#include "mirel/widgets/links.h"
#include "mirel/widgets/version.h"
#include "widgets/support/url_catcher.h"

using mirel::AppSettings;
using mirel::SettingsDialog;
using mirel::testing::UrlCatcher;

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    mirel::testing::isolateSettings();
    QSettings("Mirel", "Mirel").clear();
    for (const char* scheme : {"https", "mailto"}) {
      QDesktopServices::setUrlHandler(scheme, &m_catcher, "open");
    }
  }

  void cleanupTestCase() {
    for (const char* scheme : {"https", "mailto"}) QDesktopServices::unsetUrlHandler(scheme);
  }

  void showsAndMovesTheFontSizeInWholeSteps() {
    SettingsDialog dialog;
    QCOMPARE(dialog.fontSizeLabel()->text(), QStringLiteral("Font Size (15)"));
    QCOMPARE(dialog.fontSizeSlider()->minimum(), 8);
    QCOMPARE(dialog.fontSizeSlider()->maximum(), 32);
    QSignalSpy changes(&AppSettings::shared(), &AppSettings::fontSizeChanged);
    dialog.show();
    dialog.fontSizeSlider()->setFocus();
    QTest::keyClick(dialog.fontSizeSlider(), Qt::Key_Right);
    QCOMPARE(AppSettings::shared().fontSize(), 16.0);
    QCOMPARE(dialog.fontSizeLabel()->text(), QStringLiteral("Font Size (16)"));
    QCOMPARE(changes.size(), 1);
    QTest::keyClick(dialog.fontSizeSlider(), Qt::Key_End);
    QCOMPARE(AppSettings::shared().fontSize(), 32.0);
    AppSettings::shared().setFontSize(15);  // from elsewhere: the dialog follows
    QCOMPARE(dialog.fontSizeSlider()->value(), 15);
    QCOMPARE(dialog.fontSizeLabel()->text(), QStringLiteral("Font Size (15)"));
  }

  void setsTheDefaultsOfNewDocuments() {
    SettingsDialog dialog;
    dialog.show();
    QAbstractButton* four = dialog.indentWidthButtons()->buttons().at(1);
    QCOMPARE(four->text(), QStringLiteral("4 Spaces"));
    QVERIFY(dialog.indentWidthButtons()->buttons().at(0)->isChecked());
    QTest::mouseClick(four, Qt::LeftButton);
    QCOMPARE(AppSettings::shared().defaultIndentationUnit(), QStringLiteral("    "));

    QComboBox* types = dialog.outputTypePicker();
    QStringList labels;
    for (int i = 0; i < types->count(); ++i) labels.append(types->itemText(i));
    QCOMPARE(labels, (QStringList{"JSON Schema", "Swift", "Kotlin", "Dart", "Go", "Proto"}));
    QCOMPARE(types->currentText(), QStringLiteral("Swift"));
    types->setFocus();
    QTest::keyClick(types, Qt::Key_Down);
    QCOMPARE(AppSettings::shared().defaultOutputType(), telvar::OutputType::kotlin);
    AppSettings::shared().setDefaultIndentationUnit("  ");
    AppSettings::shared().setDefaultOutputType(telvar::OutputType::swift);
    QVERIFY(dialog.indentWidthButtons()->buttons().at(0)->isChecked());
  }

  void copyToSharePutsTwoLinesOnTheClipboard() {
    SettingsDialog dialog;
    QTest::mouseClick(dialog.linkButton("Copy to Share"), Qt::LeftButton);
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0), QStringLiteral("Mirel helps you infer models from JSON."));
    QCOMPARE(QUrl(lines.at(1)), mirel::linkUrl(mirel::Link::storePage));
  }

  void feedbackOpensAMailWithTheSubject() {
    SettingsDialog dialog;
    m_catcher.opened.clear();
    QTest::mouseClick(dialog.linkButton("Feedback"), Qt::LeftButton);
    QCOMPARE(m_catcher.opened.size(), 1);
    const QUrl mail = m_catcher.opened.first();
    QCOMPARE(mail.scheme(), QStringLiteral("mailto"));
    QCOMPARE(mail.path(), mirel::feedbackAddress());
    QCOMPARE(QUrlQuery(mail).queryItemValue("subject", QUrl::FullyDecoded),
             QStringLiteral("[Mirel] Feedback"));
    QVERIFY(QUrlQuery(mail).queryItemValue("body").isEmpty());
  }

  void doneClosesTheDialogAndShowsTheVersion() {
    QCOMPARE(mirel::versionText("1.0.0", "100"), QStringLiteral("Version 1.0.0 (100)"));
    SettingsDialog dialog;
    QVERIFY(!dialog.findChildren<QLabel*>().isEmpty());
    bool hasFooter = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->text() == mirel::versionText(mirel::appVersion(), mirel::appBuild())) {
        hasFooter = true;
      }
    }
    QVERIFY(hasFooter);
    dialog.show();
    QSignalSpy finished(&dialog, &QDialog::finished);
    QTest::mouseClick(dialog.doneButton(), Qt::LeftButton);
    QCOMPARE(finished.size(), 1);
    QVERIFY(!dialog.isVisible());
  }

 private:
  UrlCatcher m_catcher;
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
