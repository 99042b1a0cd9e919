#pragma once
// The program's own drag cursors, "DRAG" where the drop would be taken and "NODROP"
// where it would not. They are program-wide: while a card is carried the cursor says
// the same over the toolbar, the status bar or any other window of the run.
#include <QCursor>

// Draws the two cursors once; the game window does it when it is activated, so that the
// main window's start does not pay for them.
void InstalarCursoresArrastre();
const QCursor& CursorArrastreInstalado();
const QCursor& CursorNoSoltarInstalado();

// Shows the drag cursor for the whole program (the answer of the place under the
// pointer), or changes it when it is already shown.
void MostrarCursorArrastre(bool acepta);
// Gives the pointer back its usual shapes; nothing when no drag cursor is shown.
void QuitarCursorArrastre();
bool CursorArrastreMostrado();
