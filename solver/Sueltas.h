#pragma once
// The high cards' game with the low cards' want of room (Altas.h for the plain one). The
// plain game lets a low card on a pile's top leave the table at once; here the low cards
// stay on their piles until a move takes them off, and a low card taken off lies loose,
// apart from the cards home, until it goes home. A loose card lies on the real table, so
// the piles must hold it: each lies on a card that takes it, either the top of a pile that
// holds at most two cards of this game or another loose card, no card holding two; the
// loose cards are no more than the piles' room; and a loose card lies on another only on a
// pile of one card of this game, one such a pile. A position where the loose cards cannot
// be so laid is no position of the real game, and is not walked.
//
// Every line of the real game plays in this one. Take the game's pile i to be the line's
// pile i less its moved low cards and those this game sent home early (below): the moved
// low cards not home are the loose ones, and each lies in the line above the game's part
// of its pile. A high card moves onto a high card, the top of the line's pile and so of
// the game's, on a pile holding no more cards here than there; a low card that has not
// moved yet, on its pile's top in the line, is on the game's top too, and its move makes
// it loose (or sends it home); a loose card's moves from pile to pile change nothing here;
// a card goes home from a top or from the loose ones, its turn having come here no later
// than in the line, since every card the line has home is home here. In the line, each
// loose card lies directly on a card that took it: a loose one or the game's top of that
// pile, which then holds at most two of the game's cards; one card on another loose one
// needs a pile of one card of the game's. So every position the line reaches satisfies
// what this game asks, and a game with no win proves the position it started from lost.
//
// A card whose turn home has come and which could take no card not home goes home at
// once: nothing will lie on it again, so in the line it only holds room, which this game
// then leaves free (it lies above the game's part of its pile, taking no loose card).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "solver/Altas.h"

// Whether the game of the cards whose index in their suit (As 0) is above `hasta`, the
// lower ones kept as above, from the piles off the foundations (bottom first, IdCarta in
// the low six bits) and the cards home, has no win. False too where it looks at more than
// `limite` positions; it adds those it looked at to `vistas`.
bool SueltasSinSalida(const TAltas& a, const std::vector<std::vector<std::uint8_t>>& pilas,
                      std::uint64_t enCasa, std::size_t hasta, std::size_t limite,
                      std::size_t& vistas);

// The same game read at many positions of one search, what each reading found kept for
// the next, as TAltasPorPosicion keeps the plain game's (Altas.h): a game with no win
// proves every position it reached lost; a game given up at `limite` new positions proves
// nothing, and its position is not read again.
class TSueltasPorPosicion {
 public:
  TSueltasPorPosicion(const TAltas& a, std::size_t hasta, std::size_t limite);
  ~TSueltasPorPosicion();
  TSueltasPorPosicion(const TSueltasPorPosicion&) = delete;
  TSueltasPorPosicion& operator=(const TSueltasPorPosicion&) = delete;
  bool Posible() const { return datos_ != nullptr; }
  // Whether the game from this position has no win (`pilas` as TAltasPorPosicion reads
  // them). Without `jugar`, only what earlier readings found is asked.
  bool SinSalida(const TPilaVista* pilas, std::size_t n, std::uint64_t enCasa, bool jugar = true);
  std::size_t Vistas() const { return vistas_; }
  std::size_t Juegos() const { return juegos_; }
  std::size_t Bytes() const;

 private:
  struct TDatos;
  std::unique_ptr<TDatos> datos_;
  std::size_t limite_;
  std::size_t vistas_ = 0;
  std::size_t juegos_ = 0;
};
