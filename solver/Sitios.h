#pragma once
// Positions lost for want of places: a card X with cards on it, on a card that never
// carries it off, where neither X nor any of the cards on it can go home while the cards
// under X stay covered, and no empty pile takes any of them (those that can are left out).
// X leaves its place only laid on a card, and by then every card that lay on it has
// left too, each lying on a card of its own; so they need as many cards to lie on as they
// are, among the cards they could be laid on that are neither home nor under X. Two
// Cuatros of one pair, the lower over its Tres and the upper's Tres under both, with one
// Cinco of the other pair free, are such a pile: the upper takes the Cinco, the lower has
// nowhere to go, and neither ever goes home.
#include <cstddef>
#include <cstdint>

#include "solver/Bloqueos.h"

// Whether some pile of `montones` holds such cards; `enCasa`: the cards home. `tramoLibre`,
// by their index, the piles whose cards leave as runs in any order (where a run must be
// in order, a card carried on another lies on a card it could be laid on).
bool FaltanSitios(const TBloqueos& b, const TMontonBloqueable* montones, std::size_t cuantos,
                  std::uint64_t enCasa, std::uint64_t tramoLibre = 0);
