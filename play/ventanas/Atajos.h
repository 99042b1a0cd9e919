#pragma once
// The program's keyboard shortcuts. Each toolbar button gets its keys, and its hint names
// them, so the player learns the keys from the buttons.
#include <QKeySequence>

class QAction;
class TfrmJuego;
class TfrmPrincipal;

// The keys of an action, while its window is the active one; the hint becomes the
// action's text followed by the keys in parentheses, as the system names them.
void PonerAtajo(QAction* accion, const QKeySequence& teclas);

// Ctrl+N new deal, Ctrl+J a chosen number, Ctrl+R restart, Ctrl+E card backs, Ctrl+Z undo,
// Ctrl+T snapshot, Ctrl+Shift+T back to it, Ctrl+P scores, F1 help on the game, Shift+F1
// the contents.
void InstalarAtajos(TfrmJuego& juego);
// Ctrl+N the selected game, Ctrl+J by number, Ctrl+P scores, Ctrl+E card backs, F1 help on
// the selected game, Shift+F1 the contents.
void InstalarAtajos(TfrmPrincipal& principal);
