#pragma once
// Cards that go home the moment they are free: the next card of their suit, with every
// card that could lie on them home already. Laid on another card by a winning line, such
// a card could go home instead, and nothing is ever laid on it; so the card under it need
// not wait for it to be safe.
#include <array>
#include <cstdint>

#include "engine/Mesa.h"
#include "solver/Reglas.h"

// Whether the table allows that reading: no hooks; each foundation's rules take one card
// at most on each top card and on its empty pile; and every foundation takes cards from
// every group any pile takes cards from, so a card going somewhere could go home instead.
bool LibresPosibles(const TMesa& m, const TReglasComoDatos& reglas);
// The same where the table's own stacking function, and only that, decides beyond the
// engine's defaults and was read (LeerGanchos): the foundations' rules are still data, and
// the cards that could lie on a card are those the function accepted there.
bool LibresPosiblesLeidas(const TMesa& m, const TReglasComoDatos& reglas);

// `siguientes`: the cards the foundations would take now; `fuera`: those not home;
// `necesita`: per card, the cards that could lie on it off the foundations.
// `nuncaEncima`: cards not home that no winning line as short as any lays on a card (a
// pile's bottom cards, where FondosSoloACasa holds).
std::uint64_t CartasLibres(std::uint64_t siguientes, std::uint64_t fuera,
                           const std::array<std::uint64_t, 40>& necesita,
                           std::uint64_t nuncaEncima = 0);
