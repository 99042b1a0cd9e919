#include "play/ventanas/Cursores.h"

#include <QGuiApplication>

#include <optional>

#include "resources/Dibujos.h"

namespace {

struct TCursores {
  QCursor Arrastre;
  QCursor NoSoltar;
};

std::optional<TCursores>& Cursores() {
  static std::optional<TCursores> cursores;
  return cursores;
}

// Only the override this module pushed is ever taken off again: a wait cursor someone
// else set stays theirs.
bool mostrado = false;
// The answer shown: the pointer moves far more often than the answer changes, and every
// change goes out to each window of the program.
bool aceptaMostrado = false;

}  // namespace

void InstalarCursoresArrastre() {
  if (!Cursores()) Cursores() = TCursores{CursorArrastre(), CursorNoSoltar()};
}

const QCursor& CursorArrastreInstalado() {
  InstalarCursoresArrastre();
  return Cursores()->Arrastre;
}

const QCursor& CursorNoSoltarInstalado() {
  InstalarCursoresArrastre();
  return Cursores()->NoSoltar;
}

void MostrarCursorArrastre(bool acepta) {
  const QCursor& cursor = acepta ? CursorArrastreInstalado() : CursorNoSoltarInstalado();
  if (!mostrado) {
    QGuiApplication::setOverrideCursor(cursor);
    mostrado = true;
  } else if (acepta != aceptaMostrado) {
    QGuiApplication::changeOverrideCursor(cursor);
  }
  aceptaMostrado = acepta;
}

void QuitarCursorArrastre() {
  if (!mostrado) return;
  mostrado = false;
  QGuiApplication::restoreOverrideCursor();
}

bool CursorArrastreMostrado() { return mostrado; }
