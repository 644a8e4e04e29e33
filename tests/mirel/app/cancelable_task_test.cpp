#include "mirel/app/cancelable_task.h"

#include <cmath>
#include <limits>
#include <memory>

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

using mirel::CancelableTask;

class CancelableTaskTest : public QObject {
  Q_OBJECT

 private slots:
  void aZeroDelayRunsOnALaterTurnOfTheLoop() {
    int runs = 0;
    QObject owner;
    CancelableTask task(0, &owner, [&] { ++runs; });
    QCOMPARE(runs, 0);
    QVERIFY(task.workItem);
    QTRY_COMPARE(runs, 1);
    QVERIFY(!task.workItem);  // spent
    QTest::qWait(20);
    QCOMPARE(runs, 1);
  }

  void workWaitsForItsDelay() {
    QObject owner;
    QElapsedTimer clock;
    qint64 ranAfter = -1;
    clock.start();
    CancelableTask task(0.1, &owner, [&] { ranAfter = clock.elapsed(); });
    QTRY_VERIFY(ranAfter >= 0);
    QVERIFY2(ranAfter >= 95, qPrintable(QString::number(ranAfter)));
  }

  void cancelledWorkNeverRuns() {
    QObject owner;
    bool ran = false;
    CancelableTask task(0.02, &owner, [&] { ran = true; });
    task.workItem->cancel();
    task.workItem.reset();
    QTest::qWait(80);
    QVERIFY(!ran);
  }

  void cancellingSpentWorkDoesNothing() {
    QObject owner;
    int runs = 0;
    CancelableTask task(0, &owner, [&] { ++runs; });
    QTRY_COMPARE(runs, 1);
    if (task.workItem) task.workItem->cancel();
    task.workItem.reset();
    QTest::qWait(20);
    QCOMPARE(runs, 1);
  }

  void releasingTheTaskDoesNotCancelItsWork() {
    QObject owner;
    int runs = 0;
    auto task = std::make_unique<CancelableTask>(0.02, &owner, [&] { ++runs; });
    task.reset();
    QTRY_COMPARE(runs, 1);
  }

  void aReplacedTaskGivesOneRunOfTheNewWork() {
    QObject owner;
    QStringList ran;
    auto task = std::make_unique<CancelableTask>(0.03, &owner, [&] { ran << "first"; });
    task->workItem->cancel();
    task->workItem.reset();
    task = std::make_unique<CancelableTask>(0.03, &owner, [&] { ran << "second"; });
    QTRY_COMPARE(ran, QStringList{"second"});
    QTest::qWait(50);
    QCOMPARE(ran, QStringList{"second"});
  }

  void workOfADestroyedOwnerNeverRuns() {
    bool ran = false;
    auto owner = std::make_unique<QObject>();
    auto* raw = owner.get();
    CancelableTask task(0, raw, [&ran, raw] {
      raw->setObjectName("touched");  // would be a use after free
      ran = true;
    });
    owner.reset();
    QTest::qWait(30);
    QVERIFY(!ran);
  }

  void theWorkMayReleaseItsOwnTask() {
    QObject owner;
    std::unique_ptr<CancelableTask> task;
    bool ran = false;
    task = std::make_unique<CancelableTask>(0, &owner, [&] {
      task.reset();
      ran = true;
    });
    QTRY_VERIFY(ran);
    QVERIFY(!task);
  }

  void aHugeDelayIsAcceptedAndWaits() {
    QObject owner;
    bool ran = false;
    CancelableTask task(std::numeric_limits<double>::infinity(), &owner, [&] { ran = true; });
    QTest::qWait(20);
    QVERIFY(!ran);
    QVERIFY(task.workItem);
  }

  void aDelayInThePastStopsTheProgram_data() {
    QTest::addColumn<QString>("delay");
    QTest::newRow("negative") << "-0.5";
    QTest::newRow("not a number") << "nan";
    QTest::newRow("minus infinity") << "-inf";
  }
  void aDelayInThePastStopsTheProgram() {
    QFETCH(QString, delay);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("MIREL_TASK_DELAY", delay);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"createTaskWithDelayFromEnvironment"});
    QVERIFY(child.waitForFinished(60000));
    QVERIFY(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0);
    const QByteArray output = child.readAllStandardError() + child.readAllStandardOutput();
    QVERIFY2(output.contains("Only delay to the future!"), output.constData());
  }

  // The child side of the test above; does nothing in an ordinary run.
  void createTaskWithDelayFromEnvironment() {
    const QByteArray text = qgetenv("MIREL_TASK_DELAY");
    if (text.isEmpty()) QSKIP("runs only as the child of aDelayInThePastStopsTheProgram");
    const double delay = text == "nan"    ? std::nan("")
                         : text == "-inf" ? -std::numeric_limits<double>::infinity()
                                          : text.toDouble();
    QObject owner;
    CancelableTask task(delay, &owner, [] {});
    QFAIL("the task was created");
  }
};

QTEST_MAIN(CancelableTaskTest)
#include "cancelable_task_test.moc"
