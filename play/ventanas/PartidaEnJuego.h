#pragma once
// What a game window keeps of the player's deals beyond the table: the game in progress,
// saved when the window closes and continued when the game is opened again, and the
// statistics of each game. Only game windows the main window opens keep them.
#include <string>

#include "engine/Mesa.h"

class QLabel;
class TAyudas;
class TfrmJuego;

class TPartidaEnJuego {
 public:
  explicit TPartidaEnJuego(TfrmJuego& juego);

  bool Activa = false;

  // The game's saved game, rebuilt from its number and steps with its minutes; false
  // (nothing dealt) when there is none or it does not replay.
  bool Continuar(TPrepararJuego preparar);
  // Before another deal of the game `clave`: a played deal that was not won, or a saved
  // one that is now replaced, ends the streak; the saved game goes.
  void Abandonar(const std::string& clave);
  // After every event: the deal counts as played at its first move.
  void Actualizar();
  void Reiniciado();
  void Ganado();
  // The window closes on a deal in play: keep it.
  void Cerrando();
  // The verdicts the window shows: one on the deal itself, before any move or undone back
  // to it, tells whether the deal is ganable.
  void SeguirVeredictos(TAyudas& ayudas);

  QLabel* Aviso = nullptr;  // "Juego continuado" in the status bar

 private:
  TfrmJuego& juego_;
  void veredictoMostrado(const TAyudas& ayudas);

  bool contado_ = false;  // the running deal counts as played
  bool ganable_ = false;  // the solver proved the running deal ganable from the deal
};

// The key of a setup procedure's game; empty when it is not registered.
std::string ClaveDeJuego(TPrepararJuego preparar);
