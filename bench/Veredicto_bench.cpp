// From an action in the game window to its verdict shown beside the status bar, over a
// played game of three kinds: random legal steps with an undo and a redo now and then,
// each waited for until the verdict shows. Median and 99th percentile in milliseconds.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>

#include "games/Juegos.h"
#include "play/ventanas/Ayudas.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"
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

void Raton(QWidget& w, QEvent::Type tipo, QPoint punto, Qt::MouseButtons botones) {
  QMouseEvent e(tipo, QPointF(punto), w.mapToGlobal(QPointF(punto)), Qt::LeftButton, botones,
                Qt::NoModifier);
  QApplication::sendEvent(&w, &e);
}

// One drag frame in the game window (pointer move, drag-over decision, repaint), with
// (1) or without (0) a search of the same kind as the verdict's running on another thread
// all the while.
void BM_CuadroDeArrastreConBusqueda(benchmark::State& state) {
  Aplicacion();
  QTemporaryDir carpeta;
  Programa().Carpeta = std::filesystem::path(carpeta.path().toStdString());
  {
    TfrmJuego juego;
    juego.show();
    juego.Jugar(PrepararSolitarioDeLosSieteMontones, 1);
    QEventLoop bucle;
    QObject::connect(juego.Ayudas, &TAyudas::VeredictoMostrado, &bucle, &QEventLoop::quit);
    if (juego.Ayudas->lbVeredicto->text() == QStringLiteral("Calculando…")) bucle.exec();
    std::jthread busqueda;
    if (state.range(0) == 1)
      busqueda = std::jthread([](std::stop_token parar) {
        for (std::int32_t n = 1; !parar.stop_requested(); ++n)
          Resolver(PrepararYukonEspannol, n, {}, {.Milisegundos = 2000, .MemoriaMiB = 128},
                   parar);
      });
    TMesa& m = juego.mesa;
    TCarta* carta = nullptr;
    for (const auto& p : m.Pilas)
      if (p->Tope && p->Tope->BocaArriba && p.get() != m.Mazo->Descarte) carta = p->Tope;
    const QPoint inicio = carta ? juego.Tapete->Rectangulo(*carta).center() : QPoint();
    Raton(*juego.Tapete, QEvent::MouseButtonPress, inicio, Qt::LeftButton);
    if (!carta || juego.Tapete->Arrastrada() != carta) {
      state.SkipWithError("the press did not start a drag");
    } else {
      const QPoint centro(juego.Tapete->width() / 2, juego.Tapete->height() / 2);
      int paso = 0;
      // Each frame's own time, for the median: a busy machine's outliers leave it alone.
      std::vector<double> cuadros;
      QElapsedTimer reloj;
      for (auto _ : state) {
        reloj.start();
        const double angulo = 0.05 * paso++;
        const QPoint punto =
            centro + QPoint(static_cast<int>(centro.x() * 0.7 * std::cos(angulo)),
                            static_cast<int>(centro.y() * 0.7 * std::sin(angulo)));
        Raton(*juego.Tapete, QEvent::MouseMove, punto, Qt::LeftButton);
        juego.Tapete->repaint();
        cuadros.push_back(static_cast<double>(reloj.nsecsElapsed()) / 1e3);
      }
      state.counters["mediana_us"] = Percentil(cuadros, 0.5);
      Raton(*juego.Tapete, QEvent::MouseButtonRelease, inicio, Qt::NoButton);
    }
    juego.mesa.JuegoTerminado = true;
  }
  Programa().Carpeta.clear();
}

}  // namespace

BENCHMARK(BM_CuadroDeArrastreConBusqueda)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VeredictoSieteMontones)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_VeredictoCuatroReyes)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_VeredictoYukon)->Unit(benchmark::kMillisecond)->Iterations(1);
