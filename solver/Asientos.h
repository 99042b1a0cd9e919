#pragma once
// Positions lost for want of seats for the cards that only their own kind takes. Where the
// piles off the foundations take a card K (a Rey) only on another card of K's rank, and a
// pile holding two such cards takes none of them, a K card that has left its pile lies on
// one that has not (a moved K card lies on a K card, and its pile then holds two), the
// only one of its kind in its pile, with at most one card under it (a pile of three takes
// nothing). A K card over a card that must be home before it must leave its pile first.
// Take the first such card X to go home: at that moment every such card that lies over a
// card needed home before X has left too, X among them, and they lie on different seats,
// none of them, none over a card X needs home, all unmoved since now. Where, for every X,
// those cards outnumber the seats, none ever goes home and no line wins.
#include <array>
#include <cstdint>

#include "engine/Mesa.h"
#include "solver/Reglas.h"
#include "solver/SinSalida.h"

struct TAsientos {
  bool Posible = false;
  std::uint64_t Clase = 0;             // the cards only cards of their own rank take
  std::array<std::uint64_t, 40> Antes{};  // per card, the cards that must be home first
};

// Read once the table's stacking function is known as data (`s` from it): asks the
// function whether a pile of two cards of the class takes a third. Not possible where
// the foundations do not take all forty in order by suit or any pile holds more than three.
TAsientos LeerAsientos(TMesa& m, const TReglasComoDatos& reglas, const TSinSalida& s);

// Whether the position the piles hold is lost so; `pilas` as FaltaSitio reads them (every
// pile not empty off the foundations, `Llena` 3 on each).
bool FaltanAsientos(const TAsientos& a, const TPilaVista* pilas, std::size_t n);
