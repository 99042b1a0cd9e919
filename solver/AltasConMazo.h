#pragma once
// The high cards' game where runs move, cards lie face down and the stock turns round
// without end: a position no line wins because the cards above some rank T, played by
// themselves, cannot all go home.
//
// Where the foundations keep their cards and take the forty by suit from the As (Bloqueos.h
// reads such tables), every card a pile could lay a card above T on is above T too, and
// on each pile the face-up cards lying on face-up cards above T lie on cards above T, take
// the game where:
// - a card ranked at most T leaves its pile whenever it lies on top (turned face up first)
//   and waits off the table until its turn home; it is never laid anywhere;
// - a face-down card turns up once it lies on top;
// - the cards above T in the stock and its waste may come out at any time, laid as a pile
//   could lay them or home; those at most T wait off the table from the start;
// - a face-up card above T moves, with every card on it, onto a top card its rules could
//   lay it on or onto an empty pile that could take it, or home alone from a top;
// - a suit goes home by itself while its next card is neither on a pile nor a stock card
//   above T.
// A line of the real game plays in it too. Each pile holds there the cards it holds in the
// line less some low ones, in the same order, every card face up in the line face up there;
// each suit is home at least as far, and the cards above T home are the same. A run the
// line moves from a low card holds only low cards (what lies on a low face-up card is low),
// all gone there already; from a high card X, its cards above T are what lies on X there
// (low ones on top are gone), and the card the line lays X on is high, so on the pile there
// and on top, or the pile is empty in both. A card above T the line sends home lies on top
// there too, or in the stock, and every card of its suit below it is home or off the table;
// a low card the line moves or sends home is off the table there already. A stock's clicks
// change nothing there. So where that game, searched to the end, has no win, the real one
// has none.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "solver/Bloqueos.h"

struct TPosConMazo;
class TVistasConMazo;

class TJuegoDeAltasConMazo {
 public:
  enum class TFin { Sigue, SinSalida, Ganable };
  // `montones`: the piles off the foundations and the stock (cards bottom first, IdCarta in
  // the low six bits, how many lie face down at the bottom); `vacias`: how many more piles
  // off them are empty and could take a card; `enMazo`: the stock's and its waste's cards,
  // for a stock that deals one card to its waste alone and turns round without end, whose
  // waste takes nothing (so each of its cards may come out at any time, and only there);
  // `enCasa`: the cards home; `hasta`: T, as an index in its suit (As 0). Where the game
  // cannot be read so (rules or piles as above not met, too many piles or cards on one),
  // it settles at once as Ganable, which proves nothing.
  TJuegoDeAltasConMazo(const TBloqueos& b, const TMontonBloqueable* montones,
                       std::size_t cuantos, std::size_t vacias, std::uint64_t enMazo,
                       std::uint64_t enCasa, std::size_t hasta);
  ~TJuegoDeAltasConMazo();
  TJuegoDeAltasConMazo(const TJuegoDeAltasConMazo&) = delete;
  TJuegoDeAltasConMazo& operator=(const TJuegoDeAltasConMazo&) = delete;
  // Looks on until it has seen more than `limite` positions in all (Sigue) or settles:
  // SinSalida, where no line wins the game; Ganable, where one does.
  TFin Seguir(std::size_t limite);
  std::size_t Vistas() const { return vistas_; }
  std::size_t Bytes() const;

 private:
  std::array<std::uint64_t, 40> sobre_{};
  std::array<std::uint64_t, 40> lleva_{};
  std::uint64_t vaciasToman_ = 0;
  std::uint64_t bajas_ = 0;  // the cards at most T
  std::size_t pilas_ = 0;    // piles read, the empty ones among them
  TFin fin_ = TFin::Ganable;
  std::unique_ptr<TVistasConMazo> vistos_;
  std::vector<TPosConMazo> porVer_;
  std::size_t vistas_ = 0;
};
