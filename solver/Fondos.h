#pragma once
// A pile's lone card laid on another pile of its group: on a table where only single
// cards move and an empty pile of the group takes nothing, that move never helps. Before
// it, the card's own pile [X] holds it as the other pile [.., Y, X] would after it, with
// fewer cards under it: a pile that decides by its top card and its count takes onto X
// all the other would take, and X leaves from there for every place it could leave the
// other for. So every line after the move is played as well without it, one move
// shorter, X staying on its own pile until it leaves (the other pile keeps Y on top,
// untouched while X lay on it): a shortest winning line never makes it.
#include <cstdint>
#include <vector>

#include "engine/Mesa.h"
#include "solver/Reglas.h"

// Per group of the table, in its order: whether a pile of it holding one card need not
// lay that card on another pile of the same group. `ganchos`: the table's own rule
// functions as read (null where not read); where a group's stacking is decided by such a
// function, it is asked once more here whether the cards under a pile's top card, and the
// card under the one dragged, ever make it take a card it refused without them.
std::vector<std::uint8_t> FondosQuietos(TMesa& m, const TReglasComoDatos& reglas,
                                        const TGanchosComoDatos* ganchos);

// Whether every pile off the foundations is of one group whose lone cards, by `quietos`
// (FondosQuietos), need not be laid on another of its piles. Then in a winning line as
// short as any a pile's bottom card leaves it only for home: alone it would be laid on a
// pile of its group, which such a line never does, and with cards on it, it cannot move;
// empty piles take nothing, so no card becomes a bottom one later. A card that only
// bottom cards, cards home and free cards could lie on is never laid upon in such a line,
// and goes home safely: a winning line that keeps it back plays every other move just the
// same without it.
bool FondosSoloACasa(const TMesa& m, const std::vector<std::uint8_t>& quietos);
