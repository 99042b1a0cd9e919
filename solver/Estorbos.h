#pragma once
// Cards in the way: where every suit goes home in one fixed order, a card lying above an
// earlier card of its own suit must leave its pile for somewhere other than home before
// that card can go home. Counting such cards tells how much a pile still has to be
// undone, which plain order between neighbours does not.
#include <array>
#include <cstdint>

#include "engine/Mesa.h"
#include "solver/Reglas.h"

// Per card (IdCarta): its place in its suit's way home, 0 for the first card; -1 for
// every card where the table's foundations do not give each suit one way home (no
// foundation of some suit, two of one suit, a base that does not lead to all ten cards).
std::array<std::int8_t, 40> OrdenEnCasa(const TMesa& m, const TReglasComoDatos& reglas);

// The cards of a pile, bottom first (IdCarta, any other bits above 0x3F ignored), that lie
// above an earlier card of their suit by `orden`; none where `orden` holds -1.
int Estorbos(const std::array<std::int8_t, 40>& orden, const std::uint8_t* cartas,
             std::size_t cuenta);
