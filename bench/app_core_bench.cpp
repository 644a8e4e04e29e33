// The application's core on large samples, without the designed pauses: from a model assignment
// (as a keystroke report makes it) through the document's change handler to the highlighted
// output, and the lint message of an invalid sample. Goals: 1 MB under 50 ms, 10 MB under
// 400 ms; the lint of 10 MB under 1 s.

#include <string>

#include <QGuiApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "corpus.h"
#include "mirel/app/generation_run.h"
#include "mirel/app/json_validator.h"
#include "mirel/app/mirel_document.h"

namespace {

constexpr std::size_t kMegabyte = 1 << 20;

const std::string& sample(std::size_t megabytes) {
  static const std::string one = telvar::bench::recordCorpus(kMegabyte);
  static const std::string ten = telvar::bench::recordCorpus(10 * kMegabyte);
  return megabytes == 1 ? one : ten;
}

// The sample with its last bracket wrong, so the lint script reads all of it.
QString invalidSample(std::size_t megabytes) {
  QString text = QString::fromStdString(sample(megabytes));
  text[text.size() - 1] = QLatin1Char('}');
  return text;
}

void BM_AssignmentToHighlightedOutput(benchmark::State& state) {
  const std::size_t megabytes = static_cast<std::size_t>(state.range(0));
  mirel::MirelDocument document;
  mirel::GenerationRun run(&document);
  // Two texts in turn, so that every assignment is a change (a typed character at the end).
  const std::string texts[] = {sample(megabytes), sample(megabytes) + " "};
  int turn = 0;
  for (auto _ : state) {
    telvar::Model model = document.model();
    model.setInput(texts[turn ^= 1]);
    document.setModel(std::move(model));
    run.infer(15);
    run.cancel();  // the pause the assignment scheduled
    benchmark::DoNotOptimize(run.output().runs.data());
  }
  if (!run.isOutputCode()) state.SkipWithError("the sample generated nothing");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * texts[0].size()));
}
BENCHMARK(BM_AssignmentToHighlightedOutput)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_LintOfInvalidSample(benchmark::State& state) {
  const QString text = invalidSample(static_cast<std::size_t>(state.range(0)));
  mirel::JSONValidator& validator = mirel::JSONValidator::shared();
  (void)validator.validate(QStringLiteral("{"));  // the script is evaluated once per process
  for (auto _ : state) {
    std::optional<QString> message = validator.validate(text);
    if (!message) state.SkipWithError("no lint message");
    benchmark::DoNotOptimize(message);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * text.size());
}
BENCHMARK(BM_LintOfInvalidSample)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  // The stored settings the document writes go to a directory of this run alone.
  QStandardPaths::setTestModeEnabled(true);
  const QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
