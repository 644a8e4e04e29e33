#include "mirel/app/generation_run.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QWindow>
#include <QtTest>

#include "app/support/isolated_settings.h"
#include "mirel/app/app_settings.h"
#include "mirel/app/mirel_document.h"
#include "mirel/app/qt_text.h"
#include "mirel/app/review_requester.h"

using namespace mirel;
using telvar::Model;
using telvar::OutputType;

namespace {

class CountingRequester : public ReviewRequester {
 public:
  void requestReview(QWindow* window) override { windows.append(window); }
  QList<QWindow*> windows;
};

void setInput(MirelDocument& document, const std::string& input) {
  Model model = document.model();
  model.setInput(input);
  document.setModel(model);
}

QString outputText(const GenerationRun& run) { return toQString(run.output().text); }

bool allRed(const AttributedText& text) {
  for (const ColourRun& run : text.runs) {
    if (!(run.colour == palette::systemRed)) return false;
  }
  return !text.runs.empty();
}

}  // namespace

class GenerationRunTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { mirel::testing::isolateSettings(); }
  void init() { QSettings("Mirel", "Mirel").clear(); }

  void twoChangesATenthApartGiveOneRunAfterTheSecond() {
    MirelDocument document;
    GenerationRun run(&document);
    QSignalSpy ran(&run, &GenerationRun::outputChanged);
    QElapsedTimer clock;
    setInput(document, "{\"a\": 1}");
    QTest::qWait(100);
    clock.start();
    setInput(document, "{\"a\": 1, \"b\": true}");
    QVERIFY(ran.wait(2000));
    QVERIFY2(clock.elapsed() >= 140, qPrintable(QString::number(clock.elapsed())));
    QTest::qWait(250);
    QCOMPARE(ran.count(), 1);
    QVERIFY(run.isOutputCode());
    QVERIFY(outputText(run).contains("let b: Bool"));
    QCOMPARE(AppSettings::shared().inferCount(), 1);
  }

  void everyModelChangeSchedulesARun() {
    MirelDocument document;
    setInput(document, "{\"a\": 1}");
    GenerationRun run(&document);
    QVERIFY(!run.isPending());
    Model model = document.model();
    model.setModelName("Shop");  // a form setting, whether or not the form is shown
    document.setModel(model);
    QVERIFY(run.isPending());
    QSignalSpy ran(&run, &GenerationRun::outputChanged);
    QVERIFY(ran.wait(2000));
    QVERIFY(outputText(run).contains("struct Shop"));
  }

  void aTextSizeChangeRerunsAtOnceWithTheNewSize() {
    MirelDocument document;
    setInput(document, "[1]");
    GenerationRun run(&document);
    QSignalSpy ran(&run, &GenerationRun::outputChanged);
    AppSettings::shared().setFontSize(24);
    QCOMPARE(ran.count(), 0);  // dispatched, not run inside the change
    QVERIFY(ran.wait(100));
    QCOMPARE(run.output().font, Font::monospacedSystem(24));
  }

  void eachOutputTypeGeneratesItsOwnCode_data() {
    QTest::addColumn<std::optional<OutputType>>("type");
    QTest::addColumn<QString>("start");
    QTest::newRow("unset") << std::optional<OutputType>() << "import Foundation";
    QTest::newRow("schema") << std::optional(OutputType::schema) << "{";
    QTest::newRow("swift") << std::optional(OutputType::swift) << "import Foundation";
    QTest::newRow("kotlin") << std::optional(OutputType::kotlin) << "package mirel";
    QTest::newRow("dart") << std::optional(OutputType::dart) << "import 'package:meta/meta.dart';";
    QTest::newRow("go") << std::optional(OutputType::go) << "package main";
    QTest::newRow("proto") << std::optional(OutputType::proto) << "syntax = \"proto3\";";
  }
  void eachOutputTypeGeneratesItsOwnCode() {
    QFETCH(std::optional<OutputType>, type);
    QFETCH(QString, start);
    MirelDocument document;
    Model model = document.model();
    model.setInput("{\"name\": \"x\", \"tags\": [\"a\"]}");
    model._outputType = type;
    document.setModel(model);
    GenerationRun run(&document);
    run.infer(13);
    QVERIFY(run.isOutputCode());
    QVERIFY2(outputText(run).startsWith(start), qPrintable(outputText(run).left(80)));
    QCOMPARE(run.output().font, Font::monospacedSystem(13));
    QVERIFY(run.output().runs.size() > 1);  // coloured, not one plain run
  }

  void anEmptyInputShowsNothingWithoutTheLintScript() {
    MirelDocument document;
    GenerationRun run(&document);
    int lints = 0;
    run.setValidator([&](const QString&) -> std::optional<QString> {
      ++lints;
      return QString("never shown");
    });
    run.infer(15);
    QVERIFY(run.output().text.empty());
    QVERIFY(run.output().runs.empty());
    QVERIFY(!run.isOutputCode());
    QCOMPARE(lints, 0);
  }

  void inputThatGeneratesNothingShowsTheLintMessageInRed_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("whitespace only") << " \n "
                                     << "found the end of the input";
    QTest::newRow("syntax error") << "{\"a\": }"
                                  << "line 1, column 7";
    QTest::newRow("deeper than 512 levels")
        << QString("[").repeated(600) + QString("]").repeated(600) << "at most 512";
  }
  void inputThatGeneratesNothingShowsTheLintMessageInRed() {
    QFETCH(QString, input);
    QFETCH(QString, mentions);
    MirelDocument document;
    setInput(document, input.toStdString());
    GenerationRun run(&document);
    run.infer(15);
    QVERIFY(!run.isOutputCode());
    QVERIFY2(outputText(run).contains(mentions), qPrintable(outputText(run)));
    QVERIFY(allRed(run.output()));
  }

  void noLintMessageShowsAnEmptyText() {
    MirelDocument document;
    setInput(document, "{");
    GenerationRun run(&document);
    run.setValidator([](const QString&) { return std::optional<QString>(); });
    run.infer(15);
    QVERIFY(run.output().text.empty());
    QVERIFY(!run.isOutputCode());
  }

  void everyHundredthRunAsksForAReviewInTheActiveWindow() {
    MirelDocument document;
    GenerationRun run(&document);
    CountingRequester requester;
    run.setReviewRequester(&requester);

    // Without an active window the request is skipped; the counter still advances.
    QVERIFY(!QGuiApplication::focusWindow());
    AppSettings::shared().setInferCount(199);
    run.infer(15);
    QVERIFY(requester.windows.isEmpty());
    QCOMPARE(AppSettings::shared().inferCount(), 200);

    QWindow window;
    window.show();
    window.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    AppSettings::shared().setInferCount(98);
    run.infer(15);  // 99
    QVERIFY(requester.windows.isEmpty());
    run.infer(15);  // 100
    QCOMPARE(requester.windows, QList<QWindow*>{&window});
    run.infer(15);  // 101
    QCOMPARE(requester.windows.size(), 1);
  }

  void theCountStopsAtTheTopOfItsRange() {
    MirelDocument document;
    GenerationRun run(&document);
    AppSettings::shared().setInferCount(std::numeric_limits<qint64>::max());
    run.infer(15);
    QCOMPARE(AppSettings::shared().inferCount(), std::numeric_limits<qint64>::max());
  }

  void aPendingRunOfAClosedWindowNeverRuns() {
    MirelDocument document;
    setInput(document, "{\"a\": 1}");
    auto* window = new QObject;
    auto* run = new GenerationRun(&document, window);
    run->scheduleInfer(0, 15);
    delete window;
    QTest::qWait(50);
    QCOMPARE(AppSettings::shared().inferCount(), 0);

    // The document going first is as harmless.
    auto document2 = std::make_unique<MirelDocument>();
    GenerationRun run2(document2.get());
    run2.scheduleInfer(0, 15);
    document2.reset();
    QTest::qWait(50);
    QCOMPARE(AppSettings::shared().inferCount(), 0);
  }

  void aCancelledRunNeverFires() {
    MirelDocument document;
    GenerationRun run(&document);
    QSignalSpy ran(&run, &GenerationRun::outputChanged);
    run.scheduleInfer(0, 15);
    run.cancel();
    QVERIFY(!run.isPending());
    QTest::qWait(50);
    QCOMPARE(ran.count(), 0);
  }

  void theModelIsReadWhenTheRunFires() {
    MirelDocument document;
    GenerationRun run(&document);
    QSignalSpy ran(&run, &GenerationRun::outputChanged);
    run.scheduleInfer(0.05, 15);
    {
      // Changed without going through the run's own trigger.
      const QSignalBlocker blocker(&document);
      setInput(document, "{\"late\": true}");
    }
    QVERIFY(ran.wait(1000));
    QVERIFY(outputText(run).contains("late"));
  }
};

QTEST_MAIN(GenerationRunTest)
#include "generation_run_test.moc"
