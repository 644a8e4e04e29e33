// The benchmark programs' entry: the same allocator settings as telvar-gen, so that the figures
// are those of the tool (every parser compared runs under them alike).
#include <benchmark/benchmark.h>

#include "common/allocator_settings.h"

int main(int argc, char** argv) {
  telvar::tools::applyAllocatorSettings();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
