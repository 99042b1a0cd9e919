// The benchmarks' own entry point: the application object lives on this stack, so it is
// destroyed before Qt's own globals, as in the program.
#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char** argv) {
  // The figures are for the offscreen platform always.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  int argcQt = 1;
  QApplication app(argcQt, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
