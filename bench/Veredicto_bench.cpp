// From an action in the game window to its verdict shown beside the status bar, over a
// played game of three kinds: random legal steps with an undo and a redo now and then,
// each waited for until the verdict shows. Median and 99th percentile in milliseconds.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>

#include "games/Juegos.h"
#include "play/ventanas/Ayudas.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Programa.h"
#include "tools/Pasos.h"

namespace {

void Aplicacion() {
  static int argc = 1;
  static char nombre[] = "cartoval_bench";
  static char* argv[] = {nombre, nullptr};
  static std::unique_ptr<QApplication> app;
  if (app || QCoreApplication::instance()) return;  // another benchmark may have made it
  qputenv("QT_QPA_PLATFORM", "offscreen");
  app = std::make_unique<QApplication>(argc, argv);
}

std::vector<TPaso> PasosLegales(TMesa& m) {
  std::vector<TPaso> r;
  if (m.Mazo && m.Mazo->EnMesa) r.push_back(TPaso{TPaso::TTipo::Mazo});
  for (const auto& p : m.Pilas) {
    int pos = p->Cantidad - 1;
    for (TCarta* c = p->Tope; c && c->BocaArriba; c = c->Debajo, --pos)
      for (const auto& hacia : m.Pilas) {
        if (hacia.get() == p.get()) continue;
        const bool acepta = hacia->Tope ? m.ArrastrarSobreCarta(*hacia->Tope, *c, 1, 1)
                                        : m.ArrastrarSobrePila(*hacia, *c, 1, 1);
        if (acepta) r.push_back(TPaso{TPaso::TTipo::Arrastre, p->Numero, pos, hacia->Numero});
      }
  }
  return r;
}

double Percentil(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1))];
}

void EsperaDelVeredicto(benchmark::State& state, TPrepararJuego preparar) {
  Aplicacion();
  // Saved games and statistics go to a scratch folder.
  QTemporaryDir carpeta;
  Programa().Carpeta = std::filesystem::path(carpeta.path().toStdString());
  std::vector<double> esperas;
  for (auto _ : state) {
    TfrmJuego juego;
    juego.show();
    TAyudas& ayudas = *juego.Ayudas;
    std::mt19937 azar(7);
    QEventLoop bucle;
    QObject::connect(&ayudas, &TAyudas::VeredictoMostrado, &bucle, &QEventLoop::quit);
    QElapsedTimer reloj;
    const auto esperar = [&] {
      if (ayudas.lbVeredicto->text() == QStringLiteral("Calculando…")) bucle.exec();
      esperas.push_back(static_cast<double>(reloj.nsecsElapsed()) / 1e6);
    };
    reloj.start();
    juego.Jugar(preparar, 5);
    esperar();
    for (int k = 0; k < 60 && !juego.mesa.JuegoTerminado; ++k) {
      TMesa& m = juego.mesa;
      const auto legales = PasosLegales(m);
      TPaso paso{TPaso::TTipo::Deshacer};
      if (k % 6 != 5 && !legales.empty()) paso = legales[azar() % legales.size()];
      reloj.start();
      const bool hecho = paso.Tipo == TPaso::TTipo::Deshacer && k % 2 == 0 && m.PuedeRehacer()
                             ? Rehacer(m)
                             : HacerPaso(m, paso);
      juego.Actualizar();
      // Only actions that changed the table ask for a verdict.
      if (hecho) esperar();
    }
    juego.mesa.JuegoTerminado = true;
  }
  Programa().Carpeta.clear();
  state.counters["mediana_ms"] = Percentil(esperas, 0.5);
  state.counters["p99_ms"] = Percentil(esperas, 0.99);
  state.counters["acciones"] = static_cast<double>(esperas.size());
}

void BM_VeredictoSieteMontones(benchmark::State& s) {
  EsperaDelVeredicto(s, PrepararSolitarioDeLosSieteMontones);
}
void BM_VeredictoCuatroReyes(benchmark::State& s) { EsperaDelVeredicto(s, PrepararCuatroReyes); }
void BM_VeredictoYukon(benchmark::State& s) { EsperaDelVeredicto(s, PrepararYukonEspannol); }

}  // namespace

BENCHMARK(BM_VeredictoSieteMontones)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_VeredictoCuatroReyes)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_VeredictoYukon)->Unit(benchmark::kMillisecond)->Iterations(1);
