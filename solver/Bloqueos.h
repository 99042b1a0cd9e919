#pragma once
// Positions that can no longer be won because some cards can never leave their piles: a
// card covering a lower card of its own suit cannot go home before that card, and once
// every card it could be laid on is home or buried under such cards, and no empty pile
// takes it, it stays where it is for good, and so does the card under it. The same holds
// of a face-up card on another: it stays on that card, which stays covered, and goes home
// in no line while it does; once every card that one could be laid on is home or covered
// for good, it stays too, and so do the cards under it.
#include <array>
#include <cstdint>

#include "engine/Mesa.h"
#include "solver/Reglas.h"
#include "solver/Seguras.h"

struct TBloqueos {
  // False where the reading does not hold: hooks, foundations that give cards back or
  // build freely.
  bool Posible = false;
  // Per card (IdCarta): the cards that must be home before it can go home.
  std::array<std::uint64_t, 40> Antes{};
  // Per card: the cards any pile off the foundations could lay it on.
  std::array<std::uint64_t, 40> Sobre{};
  // The cards some empty pile off the foundations takes.
  std::uint64_t Vacias = 0;
  // The cards that need some card home first (Antes not empty).
  std::uint64_t ConAntes = 0;
};

TBloqueos CalcularBloqueos(const TMesa& m, const TReglasComoDatos& reglas);
// The same, where the table's safe moves home were read already (their reading rests on
// the same foundations): `seguras` as CalcularSeguras(m, reglas) gave them.
TBloqueos CalcularBloqueos(const TMesa& m, const TReglasComoDatos& reglas,
                           const TSeguras& seguras);

// A pile whose cards leave only from its top, with the cards on them: its cards from the
// bottom (IdCarta in the low six bits) and how many of them lie face down at its bottom.
// Left without defaults, so that an array of them for every pile costs nothing to declare.
struct TMontonBloqueable {
  const std::uint8_t* Cartas;
  std::uint8_t Cuenta;
  std::uint8_t Cubiertas;
};

// Whether some card of those piles can never leave its pile; `enCasa`: the cards home.
// `enMazo`: the cards of a stock and its waste that reach those piles only laid on a card
// there or on an empty one (a stock that deals to its waste alone); 0 where that is not so.
// Such a card whose every place is home, covered for good or another of them never comes
// out, and is no place for a card of the piles either. `hayVacia`: whether some pile that
// could take a card when empty is empty now or left out of `montones`; `tomanVacias`, by
// their index, the piles of `montones` that could. Where none is empty and empty piles take
// only some cards, those cards are read as any other while each of those piles keeps a card
// that stays.
bool HayBloqueo(const TBloqueos& b, const TMontonBloqueable* montones, std::size_t cuantos,
                std::uint64_t enCasa, std::uint64_t enMazo = 0, bool hayVacia = true,
                std::uint64_t tomanVacias = ~std::uint64_t{0});
