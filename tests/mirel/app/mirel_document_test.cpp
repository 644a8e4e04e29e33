#include "mirel/app/mirel_document.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <nlohmann/json.hpp>

#include "app/support/isolated_settings.h"
#include "app/support/test_files.h"
#include "mirel/app/app_settings.h"
#include "mirel/app/file_reading.h"

using mirel::AppSettings;
using mirel::MirelDocument;
using mirel::testing::readFile;
using mirel::testing::writeFile;
using telvar::Model;
using telvar::OutputType;

namespace {

Model withName(const Model& model, const std::string& name) {
  Model changed = model;
  changed.setModelName(name);
  return changed;
}

Model withInput(const Model& model, const std::string& input) {
  Model changed = model;
  changed.setInput(input);
  return changed;
}

nlohmann::json storedOptions(OutputType type) {
  return nlohmann::json::parse(AppSettings::shared().optionsData(type).toStdString());
}

// Written without "_outputType".
const QByteArray kDocument =
    "{\"id\":\"0F6A1E2C-3B8D-4E57-9A41-7C2D5B9E8F10\",\"input\":\"{\\\"a\\\": 1}\","
    "\"_modelName\":\"Shop\"}";

}  // namespace

class MirelDocumentTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { mirel::testing::isolateSettings(); }
  void init() { QSettings("Mirel", "Mirel").clear(); }

  void aNewDocumentOnAFreshInstallation() {
    MirelDocument document;
    const Model& model = document.model();
    QCOMPARE(model.input(), std::string());
    QCOMPARE(model.indentation(), (telvar::Indentation{0, "  "}));
    QVERIFY(model._indentation.has_value());
    QVERIFY(!model._modelName.has_value());
    QCOMPARE(model.modelName(), std::string("Unknown"));
    QCOMPARE(model._outputType, std::optional(OutputType::swift));
    const telvar::ValueMeta detecting(true, true, true);
    QCOMPARE(model._schemaOptions, std::optional(telvar::SchemaOptions(detecting)));
    QCOMPARE(model._swiftOptions, std::optional(telvar::SwiftOptions(detecting)));
    QVERIFY(!model._kotlinOptions && !model._dartOptions && !model._goOptions &&
            !model._protoOptions);
    QCOMPARE(document.historySize(), 1);
    QVERIFY(!document.isModified());
    QVERIFY(document.filePath().isEmpty());
    // Two new documents are two documents.
    QVERIFY(!(MirelDocument().model().id() == model.id()));
  }

  void aNewDocumentTakesTheStoredUnitAndOutputType() {
    AppSettings::shared().setDefaultIndentationUnit("    ");
    AppSettings::shared().setDefaultOutputType(OutputType::go);
    MirelDocument document;
    QCOMPARE(document.model().indentation(), (telvar::Indentation{0, "    "}));
    QCOMPARE(document.model()._outputType, std::optional(OutputType::go));
  }

  void storedOptionsThatDoNotDecodeLeaveTheRecordUnset() {
    QSettings store("Mirel", "Mirel");
    store.setValue("previousSwiftOptionsData", QByteArray("{\"_valueMeta\":"));
    store.setValue("previousKotlinOptionsData",
                   QByteArray("{\"_kotlinMeta\":{\"_structureStyle\":7}}"));
    store.setValue("previousGoOptionsData", QByteArray("[]"));
    MirelDocument document;
    QVERIFY(!document.model()._swiftOptions);
    QVERIFY(!document.model()._kotlinOptions);
    QVERIFY(!document.model()._goOptions);
    QVERIFY(document.model()._schemaOptions);
    // Left for the next change to overwrite.
    QCOMPARE(store.value("previousGoOptionsData").toByteArray(), QByteArray("[]"));
  }

  void eachDistinctChangeAddsOneHistoryEntry() {
    MirelDocument document;
    QSignalSpy changed(&document, &MirelDocument::modelChanged);
    document.setModel(withInput(document.model(), "{}"));
    QCOMPARE(document.historySize(), 2);
    document.setModel(document.model());  // the same text written again
    QCOMPARE(document.historySize(), 2);
    QCOMPARE(changed.count(), 2);  // announced all the same
  }

  void fifteenChangesKeepTheLastElevenStatesOldestFirst() {
    MirelDocument document;
    for (int i = 1; i <= 15; ++i) document.setModel(withName(document.model(), std::to_string(i)));
    QCOMPARE(document.historySize(), 11);
    for (int i = 0; i < 11; ++i) {
      QCOMPARE(document.historyModels()[std::size_t(i)].modelName(), std::to_string(i + 5));
    }
    QVERIFY(document.historyModels().back() == document.model());
  }

  void undoStepsBackOneEntry() {
    MirelDocument document;
    const Model first = document.model();
    document.setModel(withName(first, "second"));
    const Model second = document.model();
    document.setModel(withName(second, "third"));
    QSignalSpy changed(&document, &MirelDocument::modelChanged);

    document.undo();  // 3 entries
    QCOMPARE(document.historySize(), 2);
    QVERIFY(document.model() == second);
    document.undo();  // 2 entries
    QCOMPARE(document.historySize(), 1);
    QVERIFY(document.model() == first);
    QVERIFY(!document.isModified());
    QCOMPARE(changed.count(), 2);
    document.undo();  // 1 entry: nothing happens
    QCOMPARE(document.historySize(), 1);
    QVERIFY(document.model() == first);
    QCOMPARE(changed.count(), 2);
  }

  void theHistorySharesTheInputText() {
    MirelDocument document;
    document.setModel(withInput(document.model(), std::string(10 << 20, ' ') + "{}"));
    const std::string* text = &document.model().input();
    for (int i = 0; i < 15; ++i) document.setModel(withName(document.model(), std::to_string(i)));
    for (const Model& model : document.historyModels()) QCOMPARE(&model.input(), text);

    // A new text does not change what the older entries hold.
    document.setModel(withInput(document.model(), "[]"));
    QCOMPARE(document.historyModels().front().input().size(), std::size_t((10 << 20) + 2));
    document.undo();
    QCOMPARE(&document.model().input(), text);
  }

  void optionsOfTheCurrentOutputTypeBecomeTheDefaults() {
    MirelDocument document;
    Model model = document.model();
    model.setOutputType(OutputType::dart);
    document.setModel(model);  // Dart options unset
    QCOMPARE(AppSettings::shared().optionsData(OutputType::dart), QByteArray("{}"));
    QVERIFY(MirelDocument().model()._dartOptions == std::optional(telvar::DartOptions()));

    model.setOutputType(OutputType::kotlin);
    model.editKotlinOptions([](telvar::KotlinOptions& options) {
      options.editKotlinMeta([](telvar::KotlinMeta& meta) { meta.setPackageName("shop"); });
    });
    document.setModel(model);
    QCOMPARE(storedOptions(OutputType::kotlin),
             nlohmann::json::parse(R"({"_kotlinMeta":{"_packageName":"shop"}})"));

    MirelDocument next;
    QCOMPARE(next.model().kotlinOptions().kotlinMeta().packageName(), std::string("shop"));
    // The other output types still start from their own keys.
    QCOMPARE(next.model()._swiftOptions,
             std::optional(telvar::SwiftOptions(telvar::ValueMeta(true, true, true))));
    QVERIFY(!QSettings("Mirel", "Mirel").contains("previousSwiftOptionsData"));
  }

  void aFileWithoutOutputTypeIsSavedWithoutIt() {
    QTemporaryDir dir;
    const QString path = dir.filePath("plain.mirel");
    QVERIFY(writeFile(path, kDocument));
    auto opened = MirelDocument::open(path);
    QVERIFY2(opened.document, qPrintable(opened.error));
    MirelDocument& document = *opened.document;
    QVERIFY(!document.model()._outputType);
    QCOMPARE(document.model().outputType(), OutputType::swift);
    QCOMPARE(document.filePath(), QFileInfo(path).absoluteFilePath());
    QCOMPARE(document.historySize(), 1);

    const QString copy = dir.filePath("copy.mirel");
    QCOMPARE(document.saveTo(copy), std::nullopt);
    const auto written = nlohmann::json::parse(readFile(copy).toStdString());
    QVERIFY(!written.contains("_outputType"));
    QCOMPARE(written, nlohmann::json::parse(kDocument.toStdString()));

    // A change stores its options as Swift's.
    document.setModel(withName(document.model(), "Other"));
    QCOMPARE(storedOptions(OutputType::swift), nlohmann::json::object());
  }

  void savingWritesCompactJsonAndClearsTheModifiedFlag() {
    QTemporaryDir dir;
    MirelDocument document;
    QSignalSpy modified(&document, &MirelDocument::modifiedChanged);
    QSignalSpy path(&document, &MirelDocument::filePathChanged);
    document.setModel(withInput(document.model(), "{\"a\": [1, 2]}"));
    QVERIFY(document.isModified());

    const QString file = dir.filePath("a.mirel");
    QCOMPARE(document.saveTo(file), std::nullopt);
    QVERIFY(!document.isModified());
    QCOMPARE(modified.count(), 2);
    QCOMPARE(path.count(), 1);
    const QByteArray text = readFile(file);
    QVERIFY(!text.contains('\n'));
    QVERIFY(text.startsWith("{\""));

    auto reopened = MirelDocument::open(file);
    QVERIFY(reopened.document);
    QVERIFY(reopened.document->model() == document.model());
  }

  void aFailedSaveLeavesTheDocumentAsItWas() {
    QTemporaryDir dir;
    MirelDocument document;
    document.setModel(withName(document.model(), "Kept"));
    const std::optional<QString> error = document.saveTo(dir.filePath("missing/folder/a.mirel"));
    QVERIFY(error && !error->isEmpty());
    QVERIFY(document.isModified());
    QVERIFY(document.filePath().isEmpty());

    // Text that JSON cannot hold is refused before the file is touched.
    const QString file = dir.filePath("kept.mirel");
    QCOMPARE(document.saveTo(file), std::nullopt);
    document.setModel(withInput(document.model(), "\"\xff\xfe\""));
    QVERIFY(document.saveTo(file).has_value());
    QVERIFY(document.isModified());
    const auto kept = MirelDocument::open(file);
    QVERIFY(kept.document);
    QCOMPARE(kept.document->model().input(), std::string());
    QCOMPARE(kept.document->model().modelName(), std::string("Kept"));
  }

  void textThatJsonCannotHoldStoresNoOptions() {
    MirelDocument document;
    Model model = document.model();
    model.editSwiftOptions([](telvar::SwiftOptions& options) {
      options.editSwiftMeta([](telvar::SwiftMeta& meta) { meta.setModelPrefix("\xc3"); });
    });
    document.setModel(model);
    QVERIFY(!QSettings("Mirel", "Mirel").contains("previousSwiftOptionsData"));
    QCOMPARE(document.historySize(), 2);
  }

  void badFilesOpenNoDocument_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("not JSON") << QByteArray("{\"id\": ") << "data corrupted";
    QTest::newRow("empty") << QByteArray() << "data corrupted";
    QTest::newRow("not an object") << QByteArray("[1, 2]") << "type mismatch";
    QTest::newRow("no id") << QByteArray(R"({"input": ""})") << "\"id\"";
    QTest::newRow("no input") << QByteArray(R"({"id": "0F6A1E2C-3B8D-4E57-9A41-7C2D5B9E8F10"})")
                              << "\"input\"";
    QTest::newRow("input of the wrong type")
        << QByteArray(R"({"id": "0F6A1E2C-3B8D-4E57-9A41-7C2D5B9E8F10", "input": 5})")
        << "\"input\"";
    QTest::newRow("an output type that names no case")
        << QByteArray(R"({"id": "0F6A1E2C-3B8D-4E57-9A41-7C2D5B9E8F10", "input": "",)"
                      R"( "_outputType": "cobol\nline two"})")
        << "\"_outputType\"";
    QTest::newRow("a malformed id") << QByteArray(R"({"id": "seven", "input": ""})") << "\"id\"";
    QTest::newRow("invalid UTF-8") << QByteArray("{\"id\": \"\xff\"}") << "data corrupted";
  }
  void badFilesOpenNoDocument() {
    QFETCH(QByteArray, contents);
    QFETCH(QString, mentions);
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.mirel");
    QVERIFY(writeFile(path, contents));
    const MirelDocument::OpenResult result = MirelDocument::open(path);
    QVERIFY(!result.document);
    QVERIFY2(result.error.contains(mentions), qPrintable(result.error));
    QVERIFY(!result.error.contains('\n'));
  }

  void aFolderADeviceAHugeOrAMissingFileOpensNoDocument() {
    QTemporaryDir dir;
    const auto folder = MirelDocument::open(dir.path());
    QVERIFY(!folder.document);
    QVERIFY(!folder.error.isEmpty());
    const auto device = MirelDocument::open("/dev/zero");  // would never end
    QVERIFY(!device.document);
    QVERIFY(!device.error.isEmpty());
    const auto missing = MirelDocument::open(dir.filePath("nothing.mirel"));
    QVERIFY(!missing.document);
    QVERIFY(!missing.error.isEmpty());
    // Refused by its size, before a byte is read (the file is sparse: it takes no disk space).
    const QString huge = dir.filePath("huge.mirel");
    QVERIFY(writeFile(huge, QByteArray()));
    QVERIFY(QFile::resize(huge, mirel::kFileSizeLimit + 1));
    const auto tooLarge = MirelDocument::open(huge);
    QVERIFY(!tooLarge.document);
    QVERIFY2(tooLarge.error.contains("too large"), qPrintable(tooLarge.error));
  }

  void pendingInputIsDeliveredBeforeSaveAndUndo() {
    QTemporaryDir dir;
    MirelDocument document;
    int deliveries = 0;
    auto typed = [&](std::string text) {
      return [&document, &deliveries, text] {
        ++deliveries;
        document.setModel(withInput(document.model(), text));
      };
    };

    document.setPendingInputReport(typed("{\"typed\": true}"));
    const QString file = dir.filePath("t.mirel");
    QCOMPARE(document.saveTo(file), std::nullopt);
    QCOMPARE(deliveries, 1);
    QVERIFY(readFile(file).contains("typed"));
    QVERIFY(!document.isModified());

    // Undo takes back the keystrokes that were still pending, not the step before them.
    document.setPendingInputReport(typed("{\"typed\": false}"));
    document.undo();
    QCOMPARE(deliveries, 2);
    QCOMPARE(document.model().input(), std::string("{\"typed\": true}"));

    document.deliverPendingInput();  // nothing pending any more
    QCOMPARE(deliveries, 2);
  }
};

QTEST_MAIN(MirelDocumentTest)
#include "mirel_document_test.moc"
