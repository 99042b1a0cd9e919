#pragma once
// The stacking rules stated a second time, apart from the engine: from each group's data
// (suit relation, step, wrap, origins, capacity, runs, foundation mark) and, for the four
// games with rule hooks of their own, from the extra conditions their rules give. The
// engine-play fuzzer asks both for every move it tries; any disagreement is a fault.
#include "engine/Mesa.h"

// Whether the card, with every card lying on it, may be put on the pile by a drag.
bool MovimientoPermitido(const TMesa& m, const TCarta& carta, const TPila& destino);

// The pile an automatic move of the card goes to: the first that permits it, groups and
// their piles newest first, the card's own pile left out; none when no pile does.
const TPila* DestinoAutomatico(const TMesa& m, const TCarta& carta);
