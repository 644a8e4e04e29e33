#include "mirel/app/app_settings.h"

#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include <nlohmann/json.hpp>

#include "app/support/isolated_settings.h"

using mirel::AppSettings;
using telvar::OutputType;

class AppSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { mirel::testing::isolateSettings(); }
  void init() { QSettings("Mirel", "Mirel").clear(); }

  void aFreshInstallationReadsTheDefaultsWithoutWritingThem() {
    const AppSettings& settings = AppSettings::shared();
    QCOMPARE(settings.fontSize(), 15.0);
    QCOMPARE(settings.defaultIndentationUnit(), QStringLiteral("  "));
    QCOMPARE(settings.defaultOutputType(), OutputType::swift);
    QCOMPARE(settings.inferCount(), 0);
    for (OutputType type :
         {OutputType::kotlin, OutputType::dart, OutputType::go, OutputType::proto}) {
      QVERIFY(settings.optionsData(type).isEmpty());
    }
    QVERIFY(QSettings("Mirel", "Mirel").allKeys().isEmpty());
  }

  void schemaAndSwiftStartWithOptionsThatDetectUrlsAndDates() {
    const nlohmann::json expected = nlohmann::json::parse(
        R"({"_valueMeta":{"_needsDetectURL":true,"_needsDetectISO8601Date":true,)"
        R"("_needsDetectTimeIntervalDate":true}})");
    for (OutputType type : {OutputType::schema, OutputType::swift}) {
      const QByteArray data = AppSettings::shared().optionsData(type);
      QCOMPARE(nlohmann::json::parse(data.toStdString()), expected);
      // Compact, as the document file is written.
      QVERIFY(!data.contains(' ') && !data.contains('\n'));
    }
  }

  void theKeysAreTheStoredNames() {
    AppSettings& settings = AppSettings::shared();
    settings.setFontSize(21);
    settings.setDefaultIndentationUnit("    ");
    settings.setDefaultOutputType(OutputType::proto);
    settings.setInferCount(7);
    settings.setOptionsData(OutputType::dart, "{}");
    settings.setOptionsData(OutputType::schema, "{\"_schemaMeta\":{}}");

    QSettings store("Mirel", "Mirel");
    QCOMPARE(store.value("fontSize").toDouble(), 21.0);
    QCOMPARE(store.value("defaultIndentationUnit").toString(), QStringLiteral("    "));
    QCOMPARE(store.value("defaultOutputType").toString(), QStringLiteral("proto"));
    QCOMPARE(store.value("inferCount").toLongLong(), 7);
    QCOMPARE(store.value("previousDartOptionsData").toByteArray(), QByteArray("{}"));
    QCOMPARE(settings.optionsData(OutputType::schema), QByteArray("{\"_schemaMeta\":{}}"));
    QVERIFY(!store.contains("previousSwiftOptionsData"));
  }

  void sharedValuesSignalChangesOnly() {
    AppSettings& settings = AppSettings::shared();
    QSignalSpy font(&settings, &AppSettings::fontSizeChanged);
    QSignalSpy unit(&settings, &AppSettings::defaultIndentationUnitChanged);
    QSignalSpy type(&settings, &AppSettings::defaultOutputTypeChanged);

    settings.setFontSize(15);  // the default: no change
    settings.setFontSize(18);
    settings.setFontSize(18);
    settings.setDefaultIndentationUnit("    ");
    settings.setDefaultOutputType(OutputType::go);
    settings.setDefaultOutputType(OutputType::go);

    QCOMPARE(font.count(), 1);
    QCOMPARE(font.at(0).at(0).toDouble(), 18.0);
    QCOMPARE(unit.count(), 1);
    QCOMPARE(unit.at(0).at(0).toString(), QStringLiteral("    "));
    QCOMPARE(type.count(), 1);
    QCOMPARE(type.at(0).at(0).value<OutputType>(), OutputType::go);
  }

  void unusableStoredValuesReadAsTheirDefaults() {
    QSettings store("Mirel", "Mirel");
    store.setValue("fontSize", "large");
    store.setValue("defaultOutputType", "cobol");
    store.setValue("inferCount", "many");
    const AppSettings& settings = AppSettings::shared();
    QCOMPARE(settings.fontSize(), 15.0);
    QCOMPARE(settings.defaultOutputType(), OutputType::swift);
    QCOMPARE(settings.inferCount(), 0);
    // Left as stored, to be overwritten by the next write.
    QCOMPARE(store.value("defaultOutputType").toString(), QStringLiteral("cobol"));
  }
};

QTEST_MAIN(AppSettingsTest)
#include "app_settings_test.moc"
