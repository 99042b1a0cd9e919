#pragma once
// Tables where no rule reads a card's suit: every group's rules relate ranks alone, no
// group is a foundation of one suit, and the engine's default rule functions decide. Two
// cards of one rank are then interchangeable: a position with them swapped plays as the
// first does, its lines the same drags, so the search remembers positions by ranks.
#include <cstdint>

#include "engine/Mesa.h"

bool PalosIndiferentes(const TMesa& m);

// A card of the search's snapshot (IdCarta, face-up bit 0x40) as its rank and face.
constexpr std::uint8_t SinPalo(std::uint8_t carta) {
  return static_cast<std::uint8_t>((carta & 0x40) | ((carta & 0x3F) % 10));
}
