#pragma once
// Whether a position can still be won, and how: a search, best-first and then depth-first,
// in up to three tries (short, depth-first from the start, to the end), over the moves the
// table's own rules accept, on a private table built from game, number and steps. Each
// call owns everything it touches, so several may run at once on different threads.
#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <vector>

#include "engine/Mesa.h"
#include "tools/Pasos.h"

enum class TVeredicto : std::uint8_t { Ganable, SinSolucion, NoSeSabe };

// "ganable", "sin solución", "no se sabe".
const char* TextoVeredicto(TVeredicto v);

// Times are the processor time of the searching thread.
struct TLimites {
  std::int64_t Milisegundos = 10000;
  std::size_t MemoriaMiB = 512;
  std::uint64_t Posiciones = 0;  // none when 0; unlike time, the same on every machine
  // For tests: every drag is played through the table, even to a child whose key the
  // search foresaw as seen, and each child's key compared with the foreseen one; every
  // drag the rules read as data ruled out is asked of the table all the same; every
  // position is put back whole, not only what differs from the table's.
  bool Comprobar = false;
  // Where the stock's clicks may be joined to the waste's next drag, the positions the
  // tries spend clicking one card at a time before a last stretch joins them; with none,
  // every try joins them.
  std::uint64_t ClicsSueltosHasta = 1000000;
};

struct TResultado {
  TVeredicto Veredicto = TVeredicto::NoSeSabe;
  // The winning line from the position, only drags `P.K>Q` and stock clicks `m`.
  std::vector<TPaso> Pasos;
  std::uint64_t Posiciones = 0;
  std::int64_t Milisegundos = 0;
  std::size_t MemoriaPico = 0;  // bytes the search held at most
  std::int32_t Numero = 0;      // the deal's number; 0 asks for one from the clock
  // Children the table played otherwise than the search foresaw (then it searched again
  // without foreseeing, and the rest of the result is that second search's), and, when
  // checking, drags ruled out that the table accepts.
  std::uint64_t Desajustes = 0;
};

// Solves the position reached by playing the steps on the deal as the table tool plays
// them. A stop request ends the search with "no se sabe".
TResultado Resolver(TPrepararJuego preparar, std::int32_t numero,
                    const std::vector<TPaso>& pasos, const TLimites& limites = {},
                    std::stop_token parar = {});

// Plays the steps and then the line on a fresh deal, as `cartoval-mesa jugar` would:
// true when every step of the line is done and the game is won at its end.
bool LineaGana(TPrepararJuego preparar, std::int32_t numero, const std::vector<TPaso>& pasos,
               const std::vector<TPaso>& linea);
