// The table widget on the offscreen platform, fitted to 3840 x 2160 and to 1920 x 1080 as
// in the game window: a whole frame of a dealt Solitario De Los Siete Montones, and one
// frame of a drag (pointer move, drag-over decision, repaint of what changed). Beside
// them, measured in the same run, a bare widget that only fills its area: the least any
// full frame of that size costs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <memory>
#include <utility>

#include "games/Juegos.h"
#include "play/Generador.h"
#include "play/ventanas/Cargando.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"
#include "resources/Dibujos.h"
#include "tests/ventanas/ContarPintados.h"

namespace {

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

// A dealt table shown as its own window of the given size, fitted as in the game window
// (or at its own size for "Tamaño original", laid out for that width).
struct TEscena {
  TMesa mesa;
  TTapete tapete{mesa};
  TContadorPintado contador;

  TEscena(QSize tam, bool original)
      : mesa(original ? tam.width() : kPantallaMesa.width(),
             original ? tam.height() : kPantallaMesa.height()) {
    PrepararSolitarioDeLosSieteMontones(mesa, 1);
    tapete.PonerFondo(ImagenVentana(QStringLiteral("Fondo")));
    tapete.PonerPosicionFondo(QPoint(tam.width() / 2 - 572 / 2, tam.height() / 2 - 346 / 2));
    tapete.setFixedSize(tam);
    tapete.Encuadrar(original ? QRect() : kZonaMesa, 48);
    tapete.show();
    QCoreApplication::processEvents();
    // The pictures are drawn once, on the first frame; the benchmarks measure frames after it.
    tapete.repaint();
    tapete.installEventFilter(&contador);
  }
};

// The yardstick: a widget of the same size that fills itself with the table's colour.
class TLiso : public QWidget {
 protected:
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    p.fillRect(e->rect(), QColor(0, 91, 0));
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

QSize Tamanno(const benchmark::State& state) {
  return {static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
}

}  // namespace

static void BM_PintarFondoLiso(benchmark::State& state) {
  TLiso liso;
  liso.setFixedSize(Tamanno(state));
  liso.show();
  QCoreApplication::processEvents();
  for (auto _ : state) liso.repaint();
}

static void BM_PintarMesaSieteMontones(benchmark::State& state) {
  TEscena escena(Tamanno(state), false);
  for (auto _ : state) escena.tapete.repaint();
  Informar(state, escena.contador);
}

static void BM_PintarMesaTamannoOriginal(benchmark::State& state) {
  TEscena escena(Tamanno(state), true);
  for (auto _ : state) escena.tapete.repaint();
  Informar(state, escena.contador);
}

// The pointer carries the top card of the last column round the table in steps of 2% of
// its width; every frame is the move event and everything it posted, the repaint included.
static void BM_CuadroDeArrastre(benchmark::State& state) {
  const QSize tam = Tamanno(state);
  TEscena escena(tam, false);
  TCarta* carta = nullptr;
  for (const auto& p : escena.mesa.Pilas)
    if (p->Tope && p->Tope->BocaArriba && p.get() != escena.mesa.Mazo->Descarte) carta = p->Tope;
  if (!carta) {
    state.SkipWithError("no face-up card on the table");
    return;
  }
  const QPoint inicio = escena.tapete.Rectangulo(*carta).center();
  Raton(escena.tapete, QEvent::MouseButtonPress, inicio, Qt::LeftButton);
  QCoreApplication::sendPostedEvents();
  if (escena.tapete.Arrastrada() != carta) {
    state.SkipWithError("the press did not start a drag");
    return;
  }
  escena.contador.Pintados = 0;
  escena.contador.Pixeles = 0;
  const QPoint centro(tam.width() / 2, tam.height() / 2);
  int paso = 0;
  for (auto _ : state) {
    const double angulo = 0.05 * paso++;
    const QPoint punto =
        centro + QPoint(static_cast<int>(tam.width() * 0.36 * std::cos(angulo)),
                        static_cast<int>(tam.height() * 0.37 * std::sin(angulo)));
    Raton(escena.tapete, QEvent::MouseMove, punto, Qt::LeftButton);
    // Every posted event, not only the repaint: what piles up otherwise slows later frames.
    QCoreApplication::sendPostedEvents();
  }
  Informar(state, escena.contador);
  Raton(escena.tapete, QEvent::MouseButtonRelease, inicio, Qt::NoButton);
}

// Medians of 15 runs each, at 4K and at the 1920 x 1080 of a common screen.
#define CARTOVAL_TAMANNOS(bm, unidad)                                                  \
  BENCHMARK(bm)->Args({3840, 2160})->Args({1920, 1080})->Unit(unidad)->Repetitions(15) \
      ->ReportAggregatesOnly(true)
CARTOVAL_TAMANNOS(BM_PintarFondoLiso, benchmark::kMillisecond);
CARTOVAL_TAMANNOS(BM_PintarMesaSieteMontones, benchmark::kMillisecond);
CARTOVAL_TAMANNOS(BM_PintarMesaTamannoOriginal, benchmark::kMillisecond);
CARTOVAL_TAMANNOS(BM_CuadroDeArrastre, benchmark::kMicrosecond);

// --- The game window as the player meets it, on a 1920 x 1080 screen ------------------

namespace {

// Delivers events until the table has painted once more.
void EsperarPintado(TContarPintados& espera) {
  const int antes = espera.Pintados;
  while (espera.Pintados == antes) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// The player's files go to a folder of their own while a benchmark runs.
struct TCarpetaTemporal {
  QTemporaryDir carpeta;
  TCarpetaTemporal() { Programa().Carpeta = carpeta.path().toStdString(); }
  ~TCarpetaTemporal() { Programa().Carpeta.clear(); }
};

// The splash every deal shows and hides, as the program creates it at start.
struct TSplash {
  TfrmCargando splash;
  TSplash() { Programa().frmCargando = &splash; }
  ~TSplash() { Programa().frmCargando = nullptr; }
};

}  // namespace

// The yardstick of the game window: a bare maximised window with one label, from its
// creation to its first paint.
static void BM_VentanaLisaMaximizada(benchmark::State& state) {
  for (auto _ : state) {
    auto ventana = std::make_unique<QWidget>();
    auto* etiqueta = new QLabel(QStringLiteral("Juego"), ventana.get());
    TContarPintados espera;
    etiqueta->installEventFilter(&espera);
    ventana->setWindowState(Qt::WindowMaximized);
    ventana->show();
    EsperarPintado(espera);
    state.PauseTiming();
    ventana.reset();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}

// From Enter on, with the window at hand: the splash, the deal, the maximised show and
// the first frame of the table. The window's closing is not timed.
static void AbrirYCerrar(benchmark::State& state, TSplash& splash,
                         std::unique_ptr<TfrmJuego> juego, std::int32_t numero) {
  splash.splash.Mostrar();
  TContarPintados espera;
  juego->Tapete->installEventFilter(&espera);
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, numero);
  juego->setWindowState(Qt::WindowMaximized);
  juego->show();
  EsperarPintado(espera);
  state.PauseTiming();
  state.counters["ancho"] = juego->width();
  juego->mesa.JuegoTerminado = true;
  juego.reset();
  QCoreApplication::processEvents();
  state.ResumeTiming();
}

// From Enter in the main window to the game window painted, the window and its bars built
// on the way.
static void BM_AbrirVentanaDeJuego(benchmark::State& state) {
  TCarpetaTemporal carpeta;
  TSplash splash;
  std::int32_t numero = 1;
  for (auto _ : state) AbrirYCerrar(state, splash, std::make_unique<TfrmJuego>(), numero++);
}

// The same as the program opens it: the window built and made ready to show maximised
// while the main window waits for the player (untimed), then from Enter on.
static void BM_AbrirVentanaHechaDeAntemano(benchmark::State& state) {
  TCarpetaTemporal carpeta;
  TSplash splash;
  std::int32_t numero = 1;
  for (auto _ : state) {
    state.PauseTiming();
    auto juego = std::make_unique<TfrmJuego>();
    juego->PrepararMaximizada();
    QCoreApplication::processEvents();
    state.ResumeTiming();
    AbrirYCerrar(state, splash, std::move(juego), numero++);
  }
}

// "Nuevo Juego" answered Yes: from the click to the new deal painted. The number the clock
// gives repeats within a millisecond, and the same deal again leaves the table as it is,
// with nothing to paint: each deal waits for the clock to give another number (untimed).
static void BM_NuevoRepartoEnVentana(benchmark::State& state) {
  TCarpetaTemporal carpeta;
  TSplash splash;
  TfrmJuego juego;
  TContarPintados espera;
  juego.Tapete->installEventFilter(&espera);
  juego.Preguntar = [](const QString&) { return true; };
  juego.Jugar(PrepararSolitarioDeLosSieteMontones, 1);
  juego.setWindowState(Qt::WindowMaximized);
  juego.show();
  EsperarPintado(espera);
  TGenerador reloj;
  for (auto _ : state) {
    state.PauseTiming();
    do reloj.SembrarConReloj();
    while (static_cast<std::int32_t>(reloj.Semilla) == juego.mesa.NumeroJuego);
    state.ResumeTiming();
    juego.tbNuevoClick();
    EsperarPintado(espera);
  }
  juego.mesa.JuegoTerminado = true;
}

BENCHMARK(BM_VentanaLisaMaximizada)->Unit(benchmark::kMillisecond)->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_AbrirVentanaDeJuego)->Unit(benchmark::kMillisecond)->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_AbrirVentanaHechaDeAntemano)->Unit(benchmark::kMillisecond)->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_NuevoRepartoEnVentana)->Unit(benchmark::kMillisecond)->Repetitions(15)
    ->ReportAggregatesOnly(true);
