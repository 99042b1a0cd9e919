// The player's backs in the windows: start-up and the chooser's first opening with 200
// photographs, and the chooser's memory with 20,000 pictures scrolled from top to bottom.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QAbstractScrollArea>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "backs/Reversos.h"
#include "bench/CarpetaBench.h"
#include "backs/ventanas/ImagenesReversos.h"
#include "backs/ventanas/Reversos.h"
#include "play/ventanas/Cargando.h"
#include "play/ventanas/Principal.h"
#include "play/ventanas/Programa.h"

namespace fs = std::filesystem;

namespace {

double MemoriaMb() {
  std::ifstream status("/proc/self/status");
  std::string linea;
  while (std::getline(status, linea))
    if (linea.rfind("VmRSS:", 0) == 0) return std::stod(linea.substr(6)) / 1024.0;
  return -1;
}

double Ms(std::chrono::steady_clock::time_point desde) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - desde).count();
}

void PonerCarpeta(const fs::path& carpeta) {
  Programa().Carpeta = carpeta;
  Programa().Configuracion = {};
  Programa().ReversosUsuario.clear();
}

// The chooser shown and painted, as its first opening leaves it.
void MostrarElegidor(TfrmReversos& d) {
  d.show();
  QCoreApplication::processEvents();
  d.grab();
}

// What the program does from the application object to the painted main window.
struct TArranque {
  std::unique_ptr<TfrmPrincipal> Principal;
  std::unique_ptr<TfrmCargando> Cargando;
  explicit TArranque(const fs::path& carpeta) {
    PonerCarpeta(carpeta);
    Principal = std::make_unique<TfrmPrincipal>();
    Cargando = std::make_unique<TfrmCargando>(Principal.get());
    Principal->show();
    QCoreApplication::processEvents();
    Principal->grab();
  }
};

// The start with
// 200 photographs of 1600 x 1200 in Reversos/.
void BM_ArranqueConReversos200(benchmark::State& estado) {
  static const TCarpetaBench carpeta("cartoval-bench-elegidor", 200, {1600, 1200});
  for (auto _ : estado) {
    const TArranque arranque(carpeta.Ruta);
    benchmark::DoNotOptimize(Programa().ReversosUsuario.data());
  }
  PonerCarpeta({});
}
BENCHMARK(BM_ArranqueConReversos200)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same start with 100,000 files in Reversos/ (empty: only their number counts until
// the chooser shows some of them).
void BM_ArranqueConCienMilArchivos(benchmark::State& estado) {
  static const TCarpetaBench carpeta("cartoval-bench-elegidor");
  carpeta.LlenarReversosVacios(100000);
  for (auto _ : estado) {
    const TArranque arranque(carpeta.Ruta);
    if (Programa().ReversosUsuario.size() != 100000) estado.SkipWithError("the listing lost files");
    // Not part of the start: the chooser's first opening over the whole list.
    estado.PauseTiming();
    const auto inicio = std::chrono::steady_clock::now();
    MostrarElegidor(FormReversos(arranque.Principal.get()));
    estado.counters["ms_abrir_elegidor"] = Ms(inicio);
    ImagenesReversos().Esperar(60000);
    estado.ResumeTiming();
  }
  PonerCarpeta({});
}
BENCHMARK(BM_ArranqueConCienMilArchivos)->Unit(benchmark::kMillisecond)->Iterations(3);

// The chooser's first opening with the same 200: shown and painted (the pictures in view
// follow from the worker), and how long until those are there too.
void BM_AbrirElegidorConReversos200(benchmark::State& estado) {
  static const TCarpetaBench carpeta("cartoval-bench-elegidor", 200, {1600, 1200});
  double hastaLasVisibles = 0;
  for (auto _ : estado) {
    PonerCarpeta(carpeta.Ruta);
    Programa().ReversosUsuario = CargarReversosUsuario(carpeta.Ruta);
    const auto inicio = std::chrono::steady_clock::now();
    {
      TfrmReversos d;
      MostrarElegidor(d);
      estado.PauseTiming();
      ImagenesReversos().Esperar(60000);
      d.grab();
      hastaLasVisibles += Ms(inicio);
      estado.ResumeTiming();
    }
    // A fresh cache for the next round, as at a fresh start.
    delete &ImagenesReversos();
  }
  estado.counters["ms_con_las_visibles"] = hastaLasVisibles / static_cast<double>(estado.iterations());
  PonerCarpeta({});
}
BENCHMARK(BM_AbrirElegidorConReversos200)->Unit(benchmark::kMillisecond)->Iterations(3);

// 20,000 small pictures: the memory the chooser takes when opened and after the player
// has scrolled through all of them, page by page.
void BM_ElegidorVeinteMil(benchmark::State& estado) {
  static const TCarpetaBench carpeta("cartoval-bench-elegidor", 20000, {160, 120});
  for (auto _ : estado) {
    PonerCarpeta(carpeta.Ruta);
    Programa().ReversosUsuario = CargarReversosUsuario(carpeta.Ruta);
    const double antes = MemoriaMb();
    const auto inicio = std::chrono::steady_clock::now();
    TfrmReversos d;
    MostrarElegidor(d);
    estado.counters["ms_abrir"] = Ms(inicio);
    estado.counters["mb_abierto"] = MemoriaMb() - antes;
    auto* lista = d.findChild<QAbstractScrollArea*>();
    QScrollBar* barra = lista->verticalScrollBar();
    for (int v = 0; v <= barra->maximum(); v += barra->pageStep()) {
      barra->setValue(v);
      lista->viewport()->grab();
      ImagenesReversos().Esperar(60000);
    }
    estado.counters["mb_recorrido"] = MemoriaMb() - antes;
    estado.counters["ms_recorrido"] = Ms(inicio);
  }
  PonerCarpeta({});
}
BENCHMARK(BM_ElegidorVeinteMil)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
