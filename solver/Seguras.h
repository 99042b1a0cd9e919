#pragma once
// Cards that can go home for good: on a table whose rules are plain data, a card whose
// every possible follower is home already serves no purpose off its foundation. The
// search plays such a move alone; the window's automatic drop plays them all.
#include <array>
#include <cstdint>

#include "engine/Mesa.h"
#include "solver/Reglas.h"

struct TSeguras {
  // False where the table's rules cannot prove any card safe: hooks, foundations that
  // give cards back or build freely, two foundations of one suit.
  bool Posible = false;
  // Per card (IdCarta): the cards any pile off the foundations could lay on it.
  std::array<std::uint64_t, 40> Necesita{};

  // `fuera`: the cards not home, as bits by IdCarta.
  bool EsSegura(std::uint8_t id, std::uint64_t fuera) const {
    return Posible && (Necesita[id] & fuera & ~(std::uint64_t{1} << id)) == 0;
  }
};

// Counts each suit's foundations into `porPalo`; false where some foundation takes any
// suit or builds freely.
bool FundacionesPorPalo(const TMesa& m, std::array<int, 4>& porPalo);

TSeguras CalcularSeguras(const TMesa& m, const TReglasComoDatos& reglas);
// The same on a table whose own stacking function was read as data (LeerGanchos), where no
// pile moves more than one card and foundations follow their groups' rules: the cards that
// function accepted on each card count as the ones that could lie on it.
TSeguras CalcularSeguras(const TMesa& m, const TReglasComoDatos& reglas,
                         const TGanchosComoDatos& ganchos);

// The automatic drop: sends home, one by one through the table's own drag, every top
// card that is safe and that a foundation accepts, until none is left. Each is an
// ordinary step of the log; from the second on, each action is joined to the one before,
// so that one undo takes the whole drop back. Returns the cards sent.
int EnviarSeguras(TMesa& m);
