#include "play/ventanas/Atajos.h"

#include <QAction>

#include "play/ventanas/Juego.h"
#include "play/ventanas/Principal.h"

void PonerAtajo(QAction* accion, const QKeySequence& teclas) {
  accion->setShortcut(teclas);
  accion->setShortcutContext(Qt::WindowShortcut);
  // The hint text of the form stays the action's text; the keys follow it.
  accion->setToolTip(accion->text() + QStringLiteral(" (") +
                     teclas.toString(QKeySequence::NativeText) + QStringLiteral(")"));
}

void InstalarAtajos(TfrmJuego& juego) {
  PonerAtajo(juego.tbNuevo, QKeySequence(Qt::CTRL | Qt::Key_N));
  PonerAtajo(juego.tbJugarNro, QKeySequence(Qt::CTRL | Qt::Key_J));
  PonerAtajo(juego.tbReiniciar, QKeySequence(Qt::CTRL | Qt::Key_R));
  PonerAtajo(juego.tbReversos, QKeySequence(Qt::CTRL | Qt::Key_E));
  PonerAtajo(juego.tbDeshacer, QKeySequence(Qt::CTRL | Qt::Key_Z));
  PonerAtajo(juego.tbInstantanea, QKeySequence(Qt::CTRL | Qt::Key_T));
  PonerAtajo(juego.tbVolverInstantanea, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  PonerAtajo(juego.tbPuntuacion, QKeySequence(Qt::CTRL | Qt::Key_P));
  PonerAtajo(juego.rbAyudaJuego, QKeySequence(Qt::Key_F1));
  PonerAtajo(juego.rbAyudaGeneral, QKeySequence(Qt::SHIFT | Qt::Key_F1));
}

void InstalarAtajos(TfrmPrincipal& principal) {
  PonerAtajo(principal.tbNuevo, QKeySequence(Qt::CTRL | Qt::Key_N));
  PonerAtajo(principal.tbJugarNro, QKeySequence(Qt::CTRL | Qt::Key_J));
  PonerAtajo(principal.tbPuntuaciones, QKeySequence(Qt::CTRL | Qt::Key_P));
  PonerAtajo(principal.tbReversos, QKeySequence(Qt::CTRL | Qt::Key_E));
  PonerAtajo(principal.tbAyudaJuego, QKeySequence(Qt::Key_F1));
  PonerAtajo(principal.tbAyudaGeneral, QKeySequence(Qt::SHIFT | Qt::Key_F1));
}
