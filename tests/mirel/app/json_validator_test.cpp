#include "mirel/app/json_validator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "app/support/test_files.h"
#include "mirel/app/qt_text.h"
#include "telvar/generate/generate.h"

using mirel::JSONValidator;

namespace {

QString nested(int levels, const QString& open, const QString& close, const QString& inner) {
  return open.repeated(levels) + inner + close.repeated(levels);
}

// The engine's verdict on a sample: does it generate anything?
bool generates(const QString& input) {
  const telvar::Model model(telvar::Uuid::random(), input.toStdString(), std::nullopt, std::nullopt,
                            std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                            std::nullopt, std::nullopt);
  return telvar::swiftOutput(model).has_value();
}

}  // namespace

class JSONValidatorTest : public QObject {
  Q_OBJECT

 private slots:
  void theWrapperIsNineLinesWithoutAFinalLineFeed() {
    const QString wrapper = QString::fromLatin1(JSONValidator::kWrapperScript);
    QCOMPARE(wrapper.size(), 155);
    QCOMPARE(wrapper.split('\n').size(), 9);
    QVERIFY(wrapper.endsWith('}'));
  }

  void validJsonGivesNothing_data() {
    QTest::addColumn<QString>("json");
    QTest::newRow("object") << R"({"a": [1, -2.5e+3, true, false, null, "x\u00e9\n"], "b": {}})";
    QTest::newRow("scalar") << "  42 ";
    QTest::newRow("raw control characters in a string") << QString("[\"a\tb\x01\"]");
    QTest::newRow("NUL as whitespace") << QString("[1,") + QChar(0) + "2]";
    QTest::newRow("one comma ending an array") << "[1, 2,]";
    QTest::newRow("a lone surrogate in a string") << QString("\"") + QChar(0xD800) + "\"";
    QTest::newRow("escaped surrogates") << R"(["\uD83D\uDE00", "\udc00"])";
    QTest::newRow("512 levels") << nested(512, "[", "]", "1");
  }
  void validJsonGivesNothing() {
    QFETCH(QString, json);
    QCOMPARE(JSONValidator::shared().validate(json), std::nullopt);
  }

  void messagesPointAtTheFirstFault_data() {
    QTest::addColumn<QString>("json");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("expectedAndFound");
    QTest::newRow("empty") << "" << 1 << 1
                           << "Expected a value (an object, array, string, number, true, false "
                              "or null), found the end of the input.";
    QTest::newRow("whitespace only") << "  \n   " << 2 << 4 << "found the end of the input.";
    QTest::newRow("misspelt word") << R"({"a": tru})" << 1 << 7 << "Expected 'true', found 'tru'.";
    QTest::newRow("missing colon")
        << "{\"a\" 1}" << 1 << 6 << "Expected ':' after the member name, found '1'.";
    QTest::newRow("comma ending an object")
        << "{\"a\": 1,\n}" << 2 << 1 << "Expected a string (a member name), found '}'.";
    QTest::newRow("missing comma") << "[1 2]" << 1 << 4 << "Expected ',' or ']', found '2'.";
    QTest::newRow("two commas") << "[1,,]" << 1 << 4 << "found ','.";
    QTest::newRow("backspace escape") << R"(["\b"])" << 1 << 3 << "found '\\b'.";
    QTest::newRow("short unicode escape") << R"("\u12G4")" << 1 << 6 << "hexadecimal digit";
    QTest::newRow("unterminated string")
        << "{\"a\":\n\"abc" << 2 << 5 << "'\"' to end the string that starts on line 2";
    QTest::newRow("leading zero") << "01" << 1 << 2 << "Expected the end of the input, found '1'.";
    QTest::newRow("bare minus") << "[-]" << 1 << 3 << "a digit after '-', found ']'.";
    QTest::newRow("point without digits") << "[1.]" << 1 << 3 << "Expected ',' or ']', found '.'.";
    QTest::newRow("carriage return and line feed") << "[1,\r\n2\r\n}" << 3 << 1 << "found '}'.";
    QTest::newRow("single quotes") << "{'a': 1}" << 1 << 2 << "found \"'\".";
    QTest::newRow("a lone surrogate outside strings")
        << QString("[") + QChar(0xDC00) + "]" << 1 << 2 << "found the character U+DC00.";
    QTest::newRow("a control character") << QString("[\x01]") << 1 << 2 << "U+0001";
    QTest::newRow("513 levels") << nested(513, "[", "]", "") << 1 << 513
                                << "Expected at most 512 nested arrays and objects, found '[' "
                                   "opening level 513.";
  }
  void messagesPointAtTheFirstFault() {
    QFETCH(QString, json);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, expectedAndFound);
    const std::optional<QString> message = JSONValidator::shared().validate(json);
    QVERIFY(message);
    const QStringList lines = message->split('\n');
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QString("Parse error on line %1, column %2:").arg(line).arg(column));
    QVERIFY2(lines[3].contains(expectedAndFound), qPrintable(lines[3]));
    // The caret stands under the fault: for short lines, at its column.
    QVERIFY(lines[2].endsWith('^'));
    if (!lines[1].startsWith("...")) QCOMPARE(lines[2].size(), column);
  }

  void aLongLineIsShownAroundTheFault() {
    const QString json = "[" + QString("1, ").repeated(1'000'000) + "x]";
    const std::optional<QString> message = JSONValidator::shared().validate(json);
    QVERIFY(message);
    QVERIFY(message->size() < 400);
    const QStringList lines = message->split('\n');
    QCOMPARE(lines[0], QString("Parse error on line 1, column 3000002:"));
    QVERIFY(lines[1].startsWith("...") && lines[1].endsWith("x]"));
    QCOMPARE(lines[1].at(lines[2].size() - 1), QChar('x'));
  }

  void noInputCrashesOrHangsIt() {
    JSONValidator& validator = JSONValidator::shared();
    for (const QString& deep : {nested(100'000, "[", "]", ""), nested(100'000, "{\"a\":", "}", "1"),
                                QString("[").repeated(100'000)}) {
      const std::optional<QString> message = validator.validate(deep);
      QVERIFY(message && message->contains("at most 512"));
    }
    // 50 MB of records with the fault at the very end, over many lines.
    const QString big =
        "[" +
        QString("{\"name\": \"a\\\"b\", \"n\": [1.5e3, null]},\n").repeated(50 * 1024 * 1024 / 40) +
        "}";
    const std::optional<QString> message = validator.validate(big);
    QVERIFY(message);
    QVERIFY2(message->contains("Expected a value"), qPrintable(*message));
    // Runs of invalid surrogates, inside and outside strings.
    QString surrogates = "[\"";
    for (int i = 0; i < 1000; ++i) surrogates += QChar(0xD800 + i % 0x800);
    QCOMPARE(validator.validate(surrogates + "\"]"), std::nullopt);
    QVERIFY(validator.validate(surrogates.mid(2)));
  }

  void everyInputTheEngineRejectsGetsAMessage_data() {
    QTest::addColumn<QString>("json");
    QTest::newRow("whitespace") << " \n\t";
    QTest::newRow("form feed escape") << R"({"a": "\f"})";
    QTest::newRow("trailing comma in an object") << R"({"a": 1,})";
    QTest::newRow("513 levels") << nested(513, "{\"k\":", "}", "0");
    QTest::newRow("plus sign") << "[+1]";
    QTest::newRow("unclosed") << "[{\"a\": 1}";
  }
  void everyInputTheEngineRejectsGetsAMessage() {
    QFETCH(QString, json);
    QVERIFY(!generates(json));
    QVERIFY(JSONValidator::shared().validate(json).has_value());
  }

  void aMissingScriptGivesNothingAndIsNotTriedAgain() {
    QTemporaryDir dir;
    const QString path = dir.filePath("jsonlint.js");
    JSONValidator validator(path);
    QCOMPARE(validator.validate("{"), std::nullopt);
    QVERIFY(QFile::copy(":/jsonlint.js", path));
    QCOMPARE(validator.validate("{"), std::nullopt);
    // The same script found at its place on the first use works.
    QVERIFY(JSONValidator(path).validate("{").has_value());
  }

  void aScriptWithoutTheLinterGivesTheEnginesMessage() {
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.js");
    QVERIFY(mirel::testing::writeFile(path, "var unrelated = 1;"));
    const std::optional<QString> message = JSONValidator(path).validate("{}");
    QVERIFY(message);
    QVERIFY2(message->contains("jsonlint"), qPrintable(*message));
  }
};

QTEST_MAIN(JSONValidatorTest)
#include "json_validator_test.moc"
