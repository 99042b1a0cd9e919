#pragma once
// Positions that can no longer be won because some cards can never leave their places,
// read where the foundations give their top cards back to the piles (where they keep
// them, Bloqueos.h reads more). A card home is then no card gone for good: it may come
// back and take a card. What stays is what lies under a card that stays, and a card that
// cannot be the bottom of any run that moves.
//
// The reading: a set of cards on the piles, each of which "stays": it lies on the card it
// lies on now (or at its pile's bottom) and is not home. The card just under a card of the
// set is covered while the set stays (its shadow). A card of the set stays when either
//  - the card on it is of the set and lies on it out of the order a run is carried in (by
//    the rules of its pile's group), or is of the set and cannot be carried either: then
//    it is the bottom of no run that may move and never the top of its pile; or
//  - it cannot go home (some card its foundation needs first lies in the shadow, or a
//    card of the set lies on it), every card it could be laid on lies in the shadow, and
//    no empty pile takes it.
// The set starts with every card on the piles and loses those that break this until none
// does. A set left holding cards stays for good: take the first move of any line from
// here that moves a card of the set from its place. Before it every card of the set lies
// where it lay. The move cannot take that card home: foundations take single cards, by
// suit, each on the one before it, so the card would be on top, with every card its
// foundation needs first home, and neither holds. It cannot carry it to a pile as the
// bottom of a run: the run would hold the card of the set on it and every card of the set
// above that one, and a pair of them out of order; a card alone, or at a run's bottom,
// goes only on a card the rules lay it on, which lies on no pile's top while it is in the
// shadow, or on an empty pile that takes it. A move that carries it on the card under it
// leaves it on that card. Cards home or in a stock are all counted as places a card could
// go to, so nothing they may do later is left out. The game is won only with every card
// home, which the set's cards never are.
#include <array>
#include <cstdint>
#include <vector>

#include "engine/Mesa.h"
#include "solver/Reglas.h"

struct TTrabadas {
  // False where the reading does not hold, or where Bloqueos.h reads these tables: hooks,
  // foundations that are not one per suit building from the As, that take runs, that
  // take from each other or keep their cards, or that cannot take all forty.
  bool Posible = false;
  // Per card (IdCarta): the cards that must be home before it goes home.
  std::array<std::uint64_t, 40> Antes{};
  // Per card: the cards any pile off the foundations could lay it on.
  std::array<std::uint64_t, 40> Sobre{};
  // The cards some empty pile off the foundations takes.
  std::uint64_t Vacias = 0;
  // Per group, per card: the cards that may lie on it in a run a pile of the group lets
  // go of with it (none where no pile takes runs, any where the group moves any run).
  std::vector<std::array<std::uint64_t, 40>> Lleva;
};

TTrabadas CalcularTrabadas(const TMesa& m, const TReglasComoDatos& reglas);

// A pile off the foundations, its cards from the bottom (IdCarta in the low six bits) and
// the index of its group. Piles that a stock deals to, and its waste, are left out: the
// stock gathers or covers them.
struct TMontonTrabado {
  const std::uint8_t* Cartas;
  std::uint8_t Cuenta;
  std::uint8_t Grupo;
};

// Whether some card of those piles can never leave its place (above).
bool HayTrabada(const TTrabadas& t, const TMontonTrabado* montones, std::size_t cuantos);
