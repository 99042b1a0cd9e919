// The table widget at 1920 x 1080 on the offscreen platform: a whole frame of a dealt
// Solitario De Los Siete Montones, and one frame of a drag (pointer move, drag-over
// decision, repaint of what changed).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>

#include <cmath>
#include <memory>

#include "games/Juegos.h"
#include "play/ventanas/Tapete.h"
#include "resources/Dibujos.h"

namespace {

constexpr int kAncho = 1920;
constexpr int kAlto = 1080;

void Aplicacion() {
  // Widgets need an application; the figures are for the offscreen platform always.
  static int argc = 1;
  static char nombre[] = "cartoval_bench";
  static char* argv[] = {nombre, nullptr};
  static std::unique_ptr<QApplication> app;
  if (app || QCoreApplication::instance()) return;  // another benchmark may have made it
  qputenv("QT_QPA_PLATFORM", "offscreen");
  app = std::make_unique<QApplication>(argc, argv);
}

// Counts the paint events of the table and the pixels they covered.
class TContadorPintado : public QObject {
 public:
  int Pintados = 0;
  long long Pixeles = 0;

 protected:
  bool eventFilter(QObject* objeto, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      ++Pintados;
      for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
        Pixeles += static_cast<long long>(r.width()) * r.height();
    }
    return QObject::eventFilter(objeto, e);
  }
};

// A dealt table shown as its own window the size of the screen, as in the game window.
struct TConAplicacion {
  TConAplicacion() { Aplicacion(); }
};

struct TEscena : TConAplicacion {
  TMesa mesa{kAncho, kAlto};
  TTapete tapete{mesa};
  TContadorPintado contador;

  TEscena() {
    PrepararSolitarioDeLosSieteMontones(mesa, 1);
    tapete.PonerFondo(ImagenVentana(QStringLiteral("Fondo")));
    tapete.PonerPosicionFondo(QPoint(kAncho / 2 - 572 / 2, kAlto / 2 - 346 / 2));
    tapete.setFixedSize(kAncho, kAlto);
    tapete.show();
    QCoreApplication::processEvents();
    // The pictures are drawn once, on the first frame; the benchmarks measure frames after it.
    tapete.repaint();
    tapete.installEventFilter(&contador);
  }
};

void Raton(QWidget& w, QEvent::Type tipo, QPoint punto, Qt::MouseButtons botones) {
  QMouseEvent e(tipo, QPointF(punto), w.mapToGlobal(QPointF(punto)), Qt::LeftButton, botones,
                Qt::NoModifier);
  QApplication::sendEvent(&w, &e);
}

void Informar(benchmark::State& state, const TContadorPintado& c) {
  const double cuadros = static_cast<double>(state.iterations());
  state.counters["pintados_por_cuadro"] = c.Pintados / cuadros;
  state.counters["pixeles_por_cuadro"] = static_cast<double>(c.Pixeles) / cuadros;
}

}  // namespace

static void BM_PintarMesaSieteMontones(benchmark::State& state) {
  TEscena escena;
  for (auto _ : state) escena.tapete.repaint();
  Informar(state, escena.contador);
}
BENCHMARK(BM_PintarMesaSieteMontones)->Unit(benchmark::kMillisecond);

// The pointer carries the top card of the last column round the table in 40-pixel steps;
// every frame is the move event and the repaint the table asked for.
static void BM_CuadroDeArrastre(benchmark::State& state) {
  TEscena escena;
  TCarta* carta = nullptr;
  for (const auto& p : escena.mesa.Pilas)
    if (p->Tope && p->Tope->BocaArriba && p.get() != escena.mesa.Mazo->Descarte) carta = p->Tope;
  if (!carta) {
    state.SkipWithError("no face-up card on the table");
    return;
  }
  const QPoint inicio = TTapete::Rectangulo(*carta).center();
  Raton(escena.tapete, QEvent::MouseButtonPress, inicio, Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  if (escena.tapete.Arrastrada() != carta) {
    state.SkipWithError("the press did not start a drag");
    return;
  }
  escena.contador.Pintados = 0;
  escena.contador.Pixeles = 0;
  const QPoint centro(kAncho / 2, kAlto / 2);
  int paso = 0;
  for (auto _ : state) {
    const double angulo = 0.05 * paso++;
    const QPoint punto = centro + QPoint(static_cast<int>(700 * std::cos(angulo)),
                                         static_cast<int>(400 * std::sin(angulo)));
    Raton(escena.tapete, QEvent::MouseMove, punto, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  }
  Informar(state, escena.contador);
  Raton(escena.tapete, QEvent::MouseButtonRelease, inicio, Qt::NoButton);
}
BENCHMARK(BM_CuadroDeArrastre)->Unit(benchmark::kMicrosecond);
