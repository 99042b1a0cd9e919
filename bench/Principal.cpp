// The benchmarks' own entry point: the application object lives on this stack, so it is
// destroyed before Qt's own globals, as in the program.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryFile>

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // The figures are for the offscreen platform always, on one 1920 x 1080 screen: the
  // game window opens maximised on it.
  QTemporaryFile pantalla;
  if (pantalla.open()) {
    pantalla.write(R"({"screens": [{"name": "Pantalla", "x": 0, "y": 0, "width": 1920,
                   "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    pantalla.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + pantalla.fileName().toLocal8Bit());
  } else {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  int argcQt = 1;
  QApplication app(argcQt, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
