// Bench only, the game's side of the start-up measurement. Read from the environment,
// which the game itself never reads:
//   CARTOVAL_MEDIR_CARPETA   the folder of the player's files for this run;
//   CARTOVAL_MEDIR_REPARTOS  when set, after the main window is on the display: Enter in
//     the list of games, timed from the key event to the game window painted on the
//     display, then that many new deals, each timed from the "Nuevo Juego" command to
//     the table painted on the display (the confirmation is answered yes, untimed).
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTimer>

#include <cstdlib>
#include <string>

#include "bench/arranque/Medicion.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Principal.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"

namespace {

// Posted at the lowest priority once the table shows a step's result (eventFilter).
const auto kTrasElPintado = static_cast<QEvent::Type>(QEvent::User + 14);

class TMedicionJuego : public QObject {
 public:
  explicit TMedicionJuego(int repartos) : repartos_(repartos) {}

  void PulsarEnter() {
    // A step that never shows its result ends the run without its figure.
    QTimer::singleShot(20000, this, [] { TerminarMedicion(); });
    TfrmPrincipal* principal = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* p = qobject_cast<TfrmPrincipal*>(w)) principal = p;
    if (!principal) return TerminarMedicion();
    qApp->installEventFilter(this);
    inicio_ = AhoraNs();
    QCoreApplication::postEvent(principal->lbJuegos,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
  }

 protected:
  // The end of a step is the first paint of the table that shows its result (the game
  // dealt, or a deal of another number), however the window gets there: the table's
  // widget is painted with the rest of its frame, and the frame flushed, before the event
  // posted here at the lowest priority arrives.
  bool eventFilter(QObject* objeto, QEvent* e) override {
    if (e->type() != QEvent::Paint || finPedido_) return false;
    if (!juego_) {
      auto* w = qobject_cast<QWidget*>(objeto);
      auto* j = w ? qobject_cast<TfrmJuego*>(w->window()) : nullptr;
      if (!j || objeto != j->Tapete || j->mesa.Cartas.empty()) return false;
      juego_ = j;
    } else if (!repartiendo_ || objeto != juego_->Tapete || juego_->mesa.Cartas.empty() ||
               juego_->mesa.NumeroJuego == numeroAntes_) {
      return false;
    }
    finPedido_ = true;
    QCoreApplication::postEvent(this, new QEvent(kTrasElPintado), Qt::LowEventPriority);
    return false;
  }

  void customEvent(QEvent* e) override {
    if (e->type() != kTrasElPintado) return;
    EsperarAlServidor();
    const long long fin = AhoraNs();
    finPedido_ = false;
    if (repartiendo_) {
      if (!repartos_ns_.empty()) repartos_ns_ += ',';
      repartos_ns_ += std::to_string(fin - inicio_);
      repartiendo_ = false;
    } else {
      Anotar("juego_ns", std::to_string(fin - inicio_));
      Anotar("juego_ancho", std::to_string(juego_->width()));
      Anotar("juego_alto", std::to_string(juego_->height()));
      juego_->Preguntar = [](const QString&) { return true; };
    }
    if (hechos_ < repartos_) {
      // A pause as a player's, so the server is idle when the command comes.
      QTimer::singleShot(30, this, &TMedicionJuego::Repartir);
    } else {
      Anotar("repartos_ns", repartos_ns_.empty() ? "-" : repartos_ns_);
      TerminarMedicion();
    }
  }

 private:
  void Repartir() {
    ++hechos_;
    repartiendo_ = true;
    numeroAntes_ = juego_->mesa.NumeroJuego;
    inicio_ = AhoraNs();
    juego_->tbNuevo->trigger();
  }

  int repartos_;
  int hechos_ = 0;
  long long inicio_ = 0;
  TfrmJuego* juego_ = nullptr;
  bool repartiendo_ = false;
  bool finPedido_ = false;
  std::int32_t numeroAntes_ = 0;
  std::string repartos_ns_;
};

TMedicionJuego* medicion = nullptr;

void SeguirConElJuego() {
  // A moment as a player's between seeing the window and pressing the key.
  QTimer::singleShot(50, medicion, &TMedicionJuego::PulsarEnter);
}

void Instalar() {
  if (const char* carpeta = std::getenv("CARTOVAL_MEDIR_CARPETA")) Programa().Carpeta = carpeta;
  if (const char* repartos = std::getenv("CARTOVAL_MEDIR_REPARTOS")) {
    medicion = new TMedicionJuego(std::atoi(repartos));
    medicion->setParent(qApp);
    SeguirMidiendo = SeguirConElJuego;
  }
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Instalar)
