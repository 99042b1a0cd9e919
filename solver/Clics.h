#pragma once
// Stock clicks joined to the waste's next move. Where the stock deals one card at a time
// to a pile that takes no card by a drag, and the table has no hooks, a click changes
// only the stock and that pile, and no other move reads either: a click followed by a
// drag that neither takes from nor lays on that pile plays as well after the drag, to
// the same position. So in any winning line every click can be put off until just before
// the next drag from the waste, and clicks after the last such drag left out where the
// game is won with every card home (a click then never wins). A position's moves are then its drags and, after each number
// of clicks the stock allows, the waste's top card's drags: the positions reached by
// clicks alone are not searched. Where the stock redeals without end, its own sequence
// key does more (the search's stock that turns round); this is for a stock that redeals a
// few times at most, or never.
#include <cstddef>

#include "engine/Mesa.h"

// The index in the table's piles of the pile the stock deals to where the above holds;
// SIZE_MAX where not. The redeals are at most four, so that the clicks before a drag, through the
// whole stock each time round, stay under 255.
std::size_t DescarteDeClicsJuntos(const TMesa& m);
