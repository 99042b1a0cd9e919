#pragma once
// Free cells: piles off the foundations that hold one card and, empty, take any card.
#include "engine/Mesa.h"

// Whether the table has a free cell, by its groups' rules where the engine's default rule
// for empty piles decides (a table's own rule could say anything: then none is known).
bool TieneCeldas(TMesa& m);
