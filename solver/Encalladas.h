#pragma once
// Cards that never leave where they lie, read where the high cards' game reads the table
// (Altas.h: only single cards move, no empty pile takes a card, a pile holding three takes
// nothing, each suit goes home in order from its As) and a pile's bottom card leaves only
// for home in a shortest winning line (Fondos.h). Take a set E of cards not home, each of
// them lying under another card of E, or unable to go home while E stays (a lower card of
// its suit is in E) and with nowhere else to go: it is a bottom card, or no card that could
// take it is ever a top card with room while E stays. A card of E covered by a card of E,
// or lying on two cards, is never one; nor is a card lying on two cards that no bottom card
// still uncovered by E could take (to have room it must move onto a bottom card left
// alone, and bottom cards stay); nor, for a card only its own rank takes (a Rey, where a
// pile holding two takes no third), one lying on two cards or on one of its rank (moved,
// such a card lies on one of its rank for good). In a shortest winning line, the first card
// of E to leave would leave from where it lies now with all of E in place, which none can:
// so where such an E is not empty, no line wins.
//
// The largest such E is found by starting with every card not home and dropping, until
// none is dropped, each card that could go home or move while the rest stays. What this
// reads that the high cards' game does not is the low cards' own want of places: a Rey
// laid on the one Rey left that could take it, over a low card of its own suit, stays
// there once the places of the cards over the other Reyes are gone.
#include <array>
#include <cstddef>
#include <cstdint>

#include "solver/Altas.h"
#include "solver/SinSalida.h"

// The piles' rules as the reading asks them, worked out once from the high cards' game's.
struct TReglasEncalladas {
  bool Posible = false;
  std::array<std::uint64_t, 40> Toman{};  // per card, the cards that could take it
  std::array<std::uint64_t, 40> Toma{};   // per card, the cards it could take
  std::uint64_t Pareja = 0;               // as in TAltas
};
TReglasEncalladas LeerEncalladas(const TAltas& a);

// `pilas` the piles off the foundations not empty (cards bottom first, IdCarta in the low
// six bits), `enCasa` the cards home. The cards that never leave (0 where none is found,
// or where the rules were not read so).
std::uint64_t Encalladas(const TReglasEncalladas& r, const TPilaVista* pilas, std::size_t n,
                         std::uint64_t enCasa);

// Whether the reading still finds nothing after one move, where it found nothing before:
// the move sent card `x` home from the top of a pile where it lay at `altura` (0 the
// bottom). `pilas` and `enCasa` as above, after the move. The two positions differ only by
// x, home now: any set the reading keeps after it (x out of it) would have been kept
// before, x one more card out of the set on its pile, unless x was a place that a card of
// the set needed. It was none where every card x could take is home (a place only ever
// takes cards not home), or where x lay on two cards and no bottom card could take it (such
// a card is a place only within a bottom card's reach, and bottom cards stay). The card
// under x lay under a card out of the set either way. The pile held at most three cards
// with x (at most two now), as the reading before read it.
bool SinEncalladasTrasSubir(const TReglasEncalladas& r, std::size_t x, std::size_t altura,
                            const TPilaVista* pilas, std::size_t n, std::uint64_t enCasa);
