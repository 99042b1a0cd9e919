#pragma once
// The move history: a stack of actions, each a list of steps.
#include <cstdint>
#include <string>
#include <vector>

struct TCarta;
struct TPila;

// A move step has all three set; a face turn only Carta; a redeal marker none.
struct TTraslado {
  TCarta* Carta;
  TPila* Desde;
  TPila* Hacia;
};

struct TJugada {
  std::vector<TTraslado> Traslados;  // oldest first; walked from the back
  TJugada* Anterior = nullptr;
  TJugada* Posterior = nullptr;
  int Profundidad = 1;  // actions in the history with this one as the newest
  // The player's step that made it, and the history's depth before that step: a stock
  // click that deals to several piles makes several actions of one step.
  std::string Paso;
  int ProfundidadPaso = 0;
  // Undone together with the action before it: the cards of one automatic drop home.
  bool ConAnterior = false;
};
