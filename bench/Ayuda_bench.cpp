// Reading the help file: a hostile file of topic headers that never close must cost time
// in proportion to its size, not to its square.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "play/ventanas/Ayuda.h"

static void BM_LeerAyudaSeccionesSinCerrar(benchmark::State& state) {
  QTemporaryDir carpeta;
  const QString ruta = carpeta.filePath(QStringLiteral("ZARP(Esp).hlp"));
  const QByteArray cabecera("<section id=\"x\" title=\"y\">");
  QByteArray texto;
  while (texto.size() < state.range(0)) texto += cabecera;
  QFile f(ruta);
  if (!f.open(QIODevice::WriteOnly)) state.SkipWithError("no se pudo escribir");
  f.write(texto);
  f.close();
  for (auto _ : state) benchmark::DoNotOptimize(LeerTemasAyuda(ruta).size());
  state.SetBytesProcessed(state.iterations() * texto.size());
}
BENCHMARK(BM_LeerAyudaSeccionesSinCerrar)
    ->Arg(256 << 10)->Arg(1 << 20)->Arg(2 << 20)
    ->Unit(benchmark::kMillisecond)->Iterations(1);
