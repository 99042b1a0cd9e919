#pragma once
// The move history: a stack of actions, each a list of steps.
#include <cstdint>
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
};
