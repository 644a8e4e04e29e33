// The desktop program: `mirel [FILE...]` opens each document file, or a new one without files.
#include <QApplication>
#include <QCommandLineParser>

#include "common/allocator_settings.h"
#include "mirel/widgets/mirel_application.h"
#include "mirel/widgets/version.h"

int main(int argc, char* argv[]) {
  // Large samples make millions of small allocations; the engine's driver sets the allocator the
  // same way.
  telvar::tools::applyAllocatorSettings();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Mirel"));
  QApplication::setApplicationVersion(mirel::appVersion());
  QApplication::setDesktopFileName(QStringLiteral("dev.veltro.Mirel"));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Infers data models from a JSON sample and writes their source code."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Mirel documents to open."),
                               QStringLiteral("[FILE...]"));
  parser.process(app);

  mirel::MirelApplication mirel;
  if (!mirel.start(parser.positionalArguments())) return 1;
  return QApplication::exec();
}
