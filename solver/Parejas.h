#pragma once
// Cards a table's own stacking function lays on a card of their own rank where its groups'
// rules do not (a lone Rey on a lone Rey). The rules as data never count such a card as
// lying in order, so a position's value gave the move that pairs them nothing, while every
// other card laid on a pile gains: the search tried it last among the moves that keep
// the cards home as they are.
#include <array>
#include <cstdint>
#include <vector>

#include "engine/Mesa.h"
#include "solver/Reglas.h"

// Per group, in the table's order of groups: per card, the cards of its rank the stacking
// function lays on it (each alone, from a pile of any group, onto a pile of the group
// holding that card alone) and the group's rules do not; as Apila in TReglasComoDatos.
// Empty (no group) on a table whose stacking decision is the engine's default, or that has
// callbacks.
std::vector<std::array<std::uint64_t, 40>> LeerParejas(TMesa& m, const TReglasComoDatos& reglas);
