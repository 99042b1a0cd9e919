#pragma once
// Cards that may go home at once where foundations give their top cards back to the
// tableau. There nothing home is home for good, so the reading of Seguras.h does not hold
// as it stands; but a card X on top of a pile, lying where its pile's rules would lay it
// again (or alone, where an empty pile of its group takes it), whose every possible
// follower is home, may still go first. Take a winning line that keeps X back and play it
// with X home. As long as X lies on its card in that line, nothing lies on X, its card
// stays covered, and X's foundation holds what it held (the next card of X's suit cannot go
// home before X). So every move of the line is played as it was, but: X's own move home is
// left out, and before any other move that touches X's pile or X's foundation (X leaving
// for a pile, a card or a run laid on X, a run carried with X, the card under X taken from
// its foundation), X is taken back to the card it lay on, which its pile's group allows
// (it takes cards from the foundations, and its rules take X there); from then on the two
// lines meet the same table. Without hooks a move's legality reads only the cards and
// piles it touches. Those take-backs are ordinary moves, so a try that leaves take-backs
// out (Solucionador's short tries) may miss the line, and proves nothing lost after one.
#include <array>
#include <cstdint>

#include "engine/Mesa.h"
#include "solver/Reglas.h"

struct TSegurasConVuelta {
  // False where the reading does not hold: hooks, foundations that build freely or take
  // cards of other suits, two of one suit, or none that gives cards back (Seguras.h then).
  bool Posible = false;
  // Per card (IdCarta): the cards any pile off the foundations could lay on it.
  std::array<std::uint64_t, 40> Necesita{};
  // Per group, whether it takes cards from every foundation.
  std::vector<bool> TomaDeCasa;
};

TSegurasConVuelta CalcularSegurasConVuelta(const TMesa& m, const TReglasComoDatos& reglas);

// Whether card `id`, the top card of a pile of group `g` that lies on `debajo` (IdCarta;
// negative where it is the pile's only card), goes home safely with `fuera` the cards not
// home.
bool SeguraConVuelta(const TSegurasConVuelta& s, const TReglasComoDatos& reglas, std::size_t g,
                     std::uint8_t id, int debajo, std::uint64_t fuera);
