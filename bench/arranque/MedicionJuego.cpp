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

// Posted at low priority after a command: the repaints it asked for are posted at the
// same priority before it, so it arrives once they have been painted and flushed.
const auto kTrasElPintado = static_cast<QEvent::Type>(QEvent::User + 14);

class TMedicionJuego : public QObject {
 public:
  explicit TMedicionJuego(int repartos) : repartos_(repartos) {}

  void PulsarEnter() {
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
  bool eventFilter(QObject* objeto, QEvent* e) override {
    if (e->type() != QEvent::Paint) return false;
    if (!juego_) {
      // The game window's first frame comes with its exposure: every widget in it is
      // painted and then the whole is flushed.
      auto* w = qobject_cast<QWidget*>(objeto);
      if (auto* j = w ? qobject_cast<TfrmJuego*>(w->window()) : nullptr) {
        juego_ = j;
        QCoreApplication::postEvent(this, new QEvent(kTrasElPintado), Qt::LowEventPriority);
      }
    } else if (objeto == juego_->Tapete && repartiendo_) {
      ++pintadosTapete_;
    }
    return false;
  }

  void customEvent(QEvent* e) override {
    if (e->type() != kTrasElPintado) return;
    EsperarAlServidor();
    const long long fin = AhoraNs();
    if (repartiendo_) {
      if (!repartos_ns_.empty()) repartos_ns_ += ',';
      repartos_ns_ += std::to_string(fin - inicio_);
      repartiendo_ = false;
      // A deal the table never painted after the command is no figure.
      if (pintadosTapete_ == 0) sinPintar_ = true;
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
      Anotar("repartos_sin_pintar", sinPintar_ ? "1" : "0");
      TerminarMedicion();
    }
  }

 private:
  void Repartir() {
    ++hechos_;
    repartiendo_ = true;
    pintadosTapete_ = 0;
    inicio_ = AhoraNs();
    juego_->tbNuevo->trigger();
    QCoreApplication::postEvent(this, new QEvent(kTrasElPintado), Qt::LowEventPriority);
  }

  int repartos_;
  int hechos_ = 0;
  long long inicio_ = 0;
  TfrmJuego* juego_ = nullptr;
  bool repartiendo_ = false;
  int pintadosTapete_ = 0;
  bool sinPintar_ = false;
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
