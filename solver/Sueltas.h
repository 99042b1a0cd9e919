#pragma once
// The high cards' game with the low cards' want of room (Altas.h for the plain one). The
// plain game lets a low card on a pile's top leave the table at once; here the low cards
// stay on their piles until a move takes them off, and a low card taken off lies loose,
// apart from the cards home, until it goes home. A loose card lies on the real table, so
// the piles must hold it: the loose cards are no more than the piles' room, and they can
// be laid as the piles would hold them, each on its own card that takes it, either the top
// of a pile holding one or two cards of this game, or a loose card laid so on a pile of
// one (a third card above that one would make four). A position where they cannot be so
// laid is no position of the real game, and is not walked.
//
// Every line of the real game plays in this one. Take the game's pile i to be the line's
// pile i less its moved low cards and those this game sent home early (below): the moved
// low cards not home are the loose ones, and each lies in the line above the game's part
// of its pile. A high card moves onto a high card, the top of the line's pile and so of
// the game's, on a pile holding no more cards here than there; a low card that has not
// moved yet, on its pile's top in the line, is on the game's top too, and its move makes
// it loose (or sends it home); a loose card's moves from pile to pile change nothing here;
// a card goes home from a top or from the loose ones, its turn having come here no later
// than in the line, since every card the line has home is home here. In the line each
// loose card lies directly on a card that took it, one card on each: the game's top of its
// pile, whose cards with the loose ones on it are at most three, or a loose card lying so
// on a pile of one card of the game's. So every position the line reaches is laid out as
// this game asks, and a game with no win proves the position it started from lost.
//
// A card whose turn home has come and which could take no card not home goes home at
// once: nothing will lie on it again, so in the line it only holds room, which this game
// then leaves free (it lies above the game's part of its pile, and no loose card on it).
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

// Whether the loose low cards `sueltas` can be laid as this game asks on the tops of piles of
// one card (`deUna`) and of two (`deDos`) of the game above `hasta`: tried card by card,
// with the tries' bound, or, with `porCuentas`, read from each rank's counts where every
// low card's takers are the four cards a rank above it, which gives the same answer.
bool SueltasColocadas(const TAltas& a, std::size_t hasta, std::uint64_t sueltas,
                      std::uint64_t deUna, std::uint64_t deDos, bool porCuentas);

// The same game searched a stretch at a time, for a search that spends on it a share of
// its own positions as it goes (as TJuegoDeAltas, Altas.h).
class TJuegoConSueltas {
 public:
  enum class TFin { Sigue, SinSalida, Ganable };
  // `colocadas`: slots (a power of two) of the answers the laying keeps, which many
  // positions share, its tops and room carried from parent to child, the laying read from
  // each rank's counts where it can be; with none, all it reads is read afresh from each
  // position and the laying tried card by card. Which positions are walked is the same.
  TJuegoConSueltas(const TAltas& a, const std::vector<std::vector<std::uint8_t>>& pilas,
                   std::uint64_t enCasa, std::size_t hasta, std::size_t colocadas = 1u << 13);
  ~TJuegoConSueltas();
  TJuegoConSueltas(const TJuegoConSueltas&) = delete;
  TJuegoConSueltas& operator=(const TJuegoConSueltas&) = delete;
  // Looks on until it has seen more than `limite` positions in all (Sigue) or settles:
  // SinSalida, where no line wins the game; Ganable, where one does or the game cannot be
  // read here (too many piles, a high card taken by a low one), which proves nothing.
  TFin Seguir(std::size_t limite);
  std::size_t Vistas() const { return vistas_; }
  std::size_t Bytes() const;  // held now

 private:
  struct TDatos;
  std::unique_ptr<TDatos> datos_;
  TFin fin_ = TFin::Ganable;
  std::size_t vistas_ = 0;
};
