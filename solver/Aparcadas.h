#pragma once
// Positions lost for want of room, read over time. On a table where only single cards
// move, cards home stay home, each suit goes home in order from its As, no empty pile off
// the foundations takes a card and a pile takes none once it holds `Llena`, a card moved
// off its pile lies on a card that takes it, and no card lies on two. Take the moment a
// line has sent home a set H of cards (the first ones of each suit): every card that lay
// above a card of H and is not home itself has left its pile, so it lies then on a card
// of its own, not home, low enough in its pile to take it. A card that has not moved is
// where it lies now (if a card under it went home, it moved); one that has moved lies on
// a card, so with piles of three it takes a card only lying on a bottom card. Those cards
// must all lie on different places at once: where no matching gives them one each, no
// line passes through H. A line from the position sends home one card at a time, each the
// next of its suit; where every such chain of sets H from the cards home now to all forty
// meets one without room, no line wins.
//
// Read `fuerte`, every card not home but those at the bottom now is laid, not only those
// that must have moved: each lies then on one card, where it need not have moved on the
// card under it now, else on a place that takes it. And with piles of three, each lies in
// the pile of a bottom card not home (no empty pile takes a card, so a pile keeps its
// bottom card until that goes home), at most two on one: its own where it need not have
// moved, else one whose bottom card takes it, or takes a card that takes it. Both must hold
// at every set of the chain. It finds more lost positions (deals whose cards that take
// only one kind of card have too few piles to lie in), at several times the cost.
#include <array>
#include <cstdint>

#include "solver/SinSalida.h"

// The order in which the last chain that reached all forty sent the cards home: a walk
// from a position alike tries it first.
struct TCadenaSitio {
  std::array<std::uint8_t, 40> Puesto{};  // per card, its step in the chain (0: home before)
  bool Hay = false;
};

// `s`, `pilas` and `enCasa` as SinSalida reads them (every pile not empty off the
// foundations, all full at the same count). False where the piles do not read so.
// `fuerte`: the reading that lays every card, above.
// Beyond `limite` sets H looked at, it gives up: false. `estados`, where not null, adds
// the sets looked at.
bool FaltaSitio(const TSinSalida& s, const TPilaVista* pilas, std::size_t n,
                std::uint64_t enCasa, bool fuerte = false, std::uint64_t limite = ~std::uint64_t{0},
                std::uint64_t* estados = nullptr, TCadenaSitio* cadena = nullptr);
