#pragma once
// Positions no line can win, found without searching them: on a table where only single
// cards move, cards home stay home, each suit goes home in order from its As and no empty
// pile off the foundations takes a card, a card that nothing could ever take again leaves
// its pile only for home; every card under it must wait for that. When those waits and
// the order of each suit go round in a circle, some card can never go home.
#include <array>
#include <cstdint>

#include "engine/Mesa.h"
#include "solver/Reglas.h"

struct TSinSalida {
  bool Posible = false;
  // Per card (IdCarta): the cards that could take it on some pile off the foundations.
  std::array<std::uint64_t, 40> Toman{};
  // The same read the other way: per card, the cards it could take there.
  std::array<std::uint64_t, 40> Toma{};
};

// What the table's rules allow of it, read as data: the groups' rules where the default
// functions decide, the table's own functions where they were read (`ganchos`; null where
// they were not). Not possible where a stock holds cards or deals to piles.
TSinSalida PrepararSinSalida(const TMesa& m, const TReglasComoDatos& reglas,
                             const TGanchosComoDatos* ganchos);

// A pile off the foundations: its cards bottom first (IdCarta in the low six bits) and,
// where a pile of its group that holds that many cards takes nothing, that count (0 where
// it may always take one).
struct TPilaVista {
  const std::uint8_t* Cartas;
  std::uint8_t Cuenta;
  std::uint8_t Llena;
};

// The search reads only `Toman` and the bottom cards (a card on top of a full pile of three
// that no bottom card could take is never moved onto, and goes home safely): read whole
// at every position where a card could go home, the positions this cut in Solitario De
// Los Casi 14 Montones' lost deals, under 1% in most, cost more than they saved. The tests
// check the reading whole against an exhaustive search.
//
// Whether some card out of `enCasa` can never go home from the position the piles hold.
// `nuncaToman`: the cards not home that no line from there ever moves a card onto. Such a
// card that can go home may go at once: a winning line that keeps it back never needs it
// where it lies, and without it every other move of that line is played just the same.
bool SinSalida(const TSinSalida& s, const TPilaVista* pilas, std::size_t n,
               std::uint64_t enCasa, std::uint64_t* nuncaToman = nullptr);
