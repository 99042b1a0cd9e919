#pragma once
// Moves on piles apart from the rest. On a table where only single cards move, no empty
// pile off the foundations takes a card, a pile decides what it takes by its top card and
// its count, cards home stay home and each suit goes home in order from its As, a move
// reads and changes only its two piles (and, going home, its suit's foundation). Take a
// set Q of piles closed so that, from the position, no sequence of moves that touch no
// pile of Q can make a move that touches Q possible or impossible:
// - every move possible now from or onto a pile of Q has its other pile in Q;
// - every card that a pile of Q could take (not full, its top card among those that take
//   the card) lies in Q or home: outside moves never bring it to the top of a pile apart;
// - every card that could take the top card of a pile of Q (of two or more cards: a lone
//   card leaves only for home) lies in Q or home: no pile apart ever comes to take it;
// - a top card of Q that cannot go home yet has a lower card of its suit not home in Q:
//   outside moves never send that suit home up to it.
// Then a move of Q possible after outside moves was possible before them and is played as
// well first (the piles it touches are the outside moves' own only where both are in Q),
// and outside moves leave every move of Q possible. A line to the won position, which
// allows no move, either plays a move of Q, and playing the first such move first reaches
// the win in as many moves, or it plays none and a move of Q would still be possible at
// the end. So expanding only the moves of Q keeps a shortest winning line one move
// shorter from a child, and no won deal is lost; positions reached only by interleaving
// independent moves in all orders are left out.
#include <array>
#include <cstddef>
#include <cstdint>

#include "solver/SinSalida.h"

struct TConmutan {
  bool Posible = false;
  std::array<std::uint64_t, 40> Toman{};    // per card: the cards that could take it
  std::array<std::uint64_t, 40> Tomadas{};  // per card: the cards it could take
  std::uint8_t Llena = 0;                   // the count at which a pile takes nothing
};

// From the table's reading (SinSalida.h) and the count at which every pile off the
// foundations takes nothing.
TConmutan PrepararConmutan(const TSinSalida& s, std::uint8_t llena);

struct TParDePilas {
  std::uint8_t Desde;
  std::uint8_t Hacia;
};

// The piles whose moves are enough to expand, as bits by pile (at most 64 piles), the
// fewest moves such a set Q holds among those grown from each pile a move leaves; all
// piles where no set leaves a move out. `cuentas`: each pile's count; `cartas`: their
// cards, pile after pile, bottom first (IdCarta in the low six bits, 0x40 face up);
// `fundacion`: per pile, whether it is a foundation; `jugadas`: every move possible.
std::uint64_t PilasAparte(const TConmutan& c, const std::uint8_t* cuentas,
                          const std::uint8_t* cartas, const std::uint8_t* fundacion,
                          std::size_t n, const TParDePilas* jugadas, std::size_t nj);
