#pragma once
// A table's rules read as data: which cards its groups' rules could ever lay on a card or
// put on an empty pile. On a table without hooks the drag-over decisions accept no more
// than this, so the search asks them only about these cards.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Mesa.h"

// 0 to 39: suit by ten plus rank less one.
inline std::uint8_t IdCarta(const TCarta& c) {
  return static_cast<std::uint8_t>(c.Palo * 10 + c.Numero - 1);
}

struct TReglasComoDatos {
  // Per group, in the table's order of groups: per card, the cards the group's stacking
  // rules lay on it, as bits by IdCarta.
  std::vector<std::array<std::uint64_t, 40>> Apila;
  // Per group: the cards an empty pile of it may take (a foundation: its base card).
  std::vector<std::uint64_t> Vacia;
};

// Hooks beyond the engine's defaults: rule functions, a pile's or a card's own callbacks
// (the waste's panel text aside). Then only the engine's decisions tell what is allowed.
bool TieneGanchos(const TMesa& m);
// The callbacks of piles and cards alone, which may change more than the cards they move.
bool TieneLlamadas(const TMesa& m);

// The table must hold the forty cards.
TReglasComoDatos LeerReglas(TMesa& m);
// Only the empty piles' part of it (Vacia), for what needs no more: a fortieth of the
// questions.
std::vector<std::uint64_t> LeerVacias(TMesa& m);

// The order the foundations take the cards in, from their rules as data.
struct TOrdenEnCasa {
  // Per card, the cards that must be home before it: the one card a foundation lays it on
  // and all that one needs (a foundation gives back only its top cards, so it holds a
  // chain from its base); none for a card an empty foundation takes or that several could
  // carry.
  std::array<std::uint64_t, 40> Antes{};
  // Whether the foundations, built up from the cards their empty piles take, can take all
  // forty: the readings that rest on a game won only with every card home hold there.
  bool TodasCaben = false;
};
TOrdenEnCasa LeerOrdenEnCasa(const TMesa& m, const TReglasComoDatos& reglas);

// A table's own rule functions, where it has them and no callbacks, read by asking them:
// per group, the cards they accepted on each top card, or on an empty pile, from a pile
// of any group, the card alone or with one card under it, on a pile holding only the top
// card or one more under it, single cards and runs of two. Unlike the group's rules this
// rests on the functions reading no more of the table than those piles: the search asks
// them still about every card read here, and its check mode about every other card.
struct TGanchosComoDatos {
  bool Apila = false;  // whether the stacking decision was read
  bool Vacia = false;  // whether the empty piles' decisions were
  // Per group: per top card, and for an empty pile, the cards accepted as bits by IdCarta.
  std::vector<std::array<std::uint64_t, 40>> ApilaGanchos;
  std::vector<std::uint64_t> VaciaGanchos;
  // Per group: whether they accepted some card with a card on it, on a top card and on an
  // empty pile; where they did not, cards with cards on them are not asked of them.
  std::vector<bool> ApilaTramos;
  std::vector<bool> VaciaTramos;
  // Per group whose capacity the cards can fill: whether the stacking function accepted
  // any card, alone or with a card on it, from a pile of any group, on a pile of the
  // group holding as many cards as it may, topped by each card in turn. Where it did
  // not, a full pile of the group is not asked. True where not read.
  std::vector<bool> LlenaToma;
};

// Nothing is read on a table with callbacks, nor where the engine's defaults decide.
TGanchosComoDatos LeerGanchos(TMesa& m, const TReglasComoDatos& reglas);
// The same reading on a table with callbacks, where they change no more than which groups
// take from which (what the search reads as the table's structure at every position): asked
// with every group taking from every group, as the functions read those lists only to turn
// a card down, what they take then holds all they take under any lists. The empty piles are
// read at once, a top card of a group when first asked for (most of a group's forty never
// come up in a deal, and the whole reading costs more than a small deal's search); full
// piles are not read (LlenaToma stays true). Nothing is read where a pile or a card has a
// drag-over callback, which may accept what the functions refuse.
struct TProbador;
class TGanchosPorTope {
 public:
  // Fills `r` with what is read at once: nothing, with Apila and Vacia false, where
  // nothing can be.
  TGanchosPorTope(TMesa& m, const TReglasComoDatos& reglas, TGanchosComoDatos& r);
  ~TGanchosPorTope();
  TGanchosPorTope(const TGanchosPorTope&) = delete;
  TGanchosPorTope& operator=(const TGanchosPorTope&) = delete;
  // Reads into `r`, once, what the functions lay on card `t` on a pile of group `g`
  // (ApilaGanchos[g][t], and ApilaTramos[g] where they take a card with one on it there).
  void LeerTope(TGanchosComoDatos& r, std::size_t g, std::uint8_t t) {
    if (!(leidos_[g] >> t & 1)) LeerTopeDeVeras(r, g, t);
  }

 private:
  void LeerTopeDeVeras(TGanchosComoDatos& r, std::size_t g, std::uint8_t t);
  TMesa& m_;
  std::unique_ptr<TProbador> probador_;
  std::vector<std::uint64_t> leidos_;  // per group, the top cards read, as bits
};
