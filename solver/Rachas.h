#pragma once
// Positions lost for want of room, on a table whose one home pile takes the forty cards by
// rank in turn, whatever the suit, and whose other piles either take nothing (a reserve, a
// waste) or build down one rank at a time from any card on an empty pile. Such a pile is
// always a run of ranks one below the other, so the cards on those piles together split
// into at most as many runs as there are piles.
//
// While no card of the rank the home pile wants lies on top of a pile, nothing goes home,
// so no card leaves the piles that build: their cards only grow in number. A card of that
// rank in a pile that takes nothing comes to its top only once every card above it lies
// on the piles that build, beside those there now; till the first does, no card of that
// rank lies there, nor any card still under one. Where, for the highest such card of
// every such pile, no choice of the cards left that holds those splits into few enough
// runs, no card of that rank ever goes home, and the game is lost. A card of that rank on
// a pile that builds, still in the stock, or in a waste the stock comes round to again,
// spares the position.
//
// The other piles that take nothing give their cards in order: the cards of one that
// have left it by then are some from its top, each gone to the piles that build or home,
// and the rest are still there. A waste the stock comes round to no more is such a pile
// too: what the stock deals later lies above its cards, which keep their order.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/Mesa.h"
#include "solver/Reglas.h"
#include "solver/Respuestas.h"

struct TRachas {
  enum TClase : std::uint8_t { Cerrada, Casa, Monton };
  bool Posible = false;
  std::vector<TClase> Clase;  // per pile
  std::size_t Montones = 0;   // piles that build
  std::size_t Descarte = SIZE_MAX;  // the stock's waste, which it takes back to deal again
  bool UnaALaVez = true;  // the piles that build give one card at a time
};

// Posible only without hooks, and where the game is taken to be won with the forty cards
// on the one home pile: it takes them all, by rank in turn from the As, and none leaves.
TRachas PrepararRachas(const TMesa& m, const TReglasComoDatos& reglas);

// The same read of each rank the home pile takes next, and of the ranks after it: before
// the first card of a later rank comes free, the home pile takes at most one card of each
// rank before it, so all but those still only go to the piles that build. Each is a
// reading of its own; any one that sees no room proves the position lost. Every rank is
// read: a rank whose cards all lie deep in the piles that take nothing proves lost, from
// the deal on, what the nearer ranks leave to the search.
inline constexpr std::size_t kRangosAdelante = 10;

// `cuentas`: per pile, its cards' count; `cartas`: per pile in turn, from the bottom, the
// cards (IdCarta in the low six bits), then the stock's; `vueltas`: whether the stock may
// still take its waste back.
// `rangos`: how many ranks are read, from the one the home pile takes.
// `desdeArriba`: whether the other piles that take nothing (the waste too, once the stock
// takes it back no more) give their cards from the top only, each with every card above
// it: for one of them, every depth it could give must leave too many runs. Without it,
// their cards are read as free to take or leave.
// `cadaSalida`: whether the cards above the wanted one are also read at every moment one
// of them leaves (with those above it gone, those under it still there), not only once
// all have left: fewer cards may make more runs, where the card that joins two lies
// deeper than one of them.
bool SinSitio(const TRachas& r, const std::uint8_t* cuentas, const std::uint8_t* cartas,
              std::size_t enMazo, bool vueltas, std::size_t rangos = kRangosAdelante,
              bool desdeArriba = true, bool cadaSalida = true);

// The reading above, its answers kept by what it reads: the home pile's count, the cards
// of the piles that take nothing and of the stock, by rank, in their order, and whether the
// stock turns round. The piles that build hold every other card, and the reading reads of
// them only how many of each rank they hold, so positions that differ only in how those
// piles hold their cards are read once. A fixed table of the last answers, one per slot;
// where what it reads does not fit in a slot's key, it reads every time.
class TRachasRecordadas {
 public:
  static constexpr std::size_t kEntradas = std::size_t{1} << 15;
  // The table takes at most `bytes`, in as many slots as fit, up to kEntradas; with none,
  // every position is read.
  void Limitar(std::size_t bytes);
  bool SinSitio(const TRachas& r, const std::uint8_t* cuentas, const std::uint8_t* cartas,
                std::size_t enMazo, bool vueltas);
  std::size_t Bytes() const { return respuestas_.Bytes(); }

 private:
  TRespuestas respuestas_{kEntradas};
};

// Whether a drag from pile `desde` to pile `hacia`, with no stock click before it, leaves
// the reading above as it was: where both piles build. Such a drag only moves cards from
// one pile that builds to another: the piles that take nothing, the home pile, the stock
// and whether it turns round are as they were, and so is the count of each rank on the
// piles that build. Those counts, the home pile's top and the other piles' cards are all
// the reading reads of those piles: a rank on a top of theirs has a card on them, which
// spares it already. So a position reached by such a drag from one read with room has
// room, and is not read again.
bool RachasIgualesTras(const TRachas& r, std::size_t desde, std::size_t hacia);

// The fewest runs of ranks one below the other that hold, for each rank (index 0 the As),
// at least `minimo` and at most `maximo` cards of it, all of them split into runs.
std::size_t MenosRachas(const std::uint8_t* minimo, const std::uint8_t* maximo);
