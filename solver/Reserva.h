#pragma once
// The game of the reserve and the stock, with the piles that build read as a count of
// ranks: on a table where the runs reading applies (Rachas.h) and the stock deals one card
// at a time to its waste, a game whose position is only how many cards are home, how many
// have left each pile that takes nothing and which of the stock's sequence (the waste from
// its bottom, then the stock from its top) are gone, with how far it has been dealt and
// the redeals left, and the piles' bottom cards. The piles that build hold what is left:
// every card not home, not still in a pile that takes nothing and not still in the
// stock's sequence; they split into runs down from their bottom cards, one each.
//
// A move of the real game is a move of this one or leaves its position as it is: a card
// laid on a pile that builds comes from a pile's top or the waste's top, and the piles
// hold one more card of its rank, still split into as many runs as there are piles at
// most (each pile that builds is a run of ranks one below the other); a card sent home
// is the rank the home pile wants, off such a top or off a pile that builds, which then
// still splits so; a drag between piles that build changes none of the counts, only
// the bottom cards where it empties a pile or fills an empty one; a stock
// click deals its next card, or takes the waste back while a redeal is left, keeping
// the sequence's order. This game allows each of those wherever the counts do, whatever
// the piles' order, so every line of the real game is a line of this one, and where this
// one, searched to the end, has no win, the real one has none.
#include <cstddef>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Mesa.h"
#include "solver/Rachas.h"

// Whether the game may be read on the table: the runs reading applies and the stock, if
// any, deals one card at a time to the waste it takes back.
bool ReservaPosible(const TMesa& m, const TRachas& r);

struct TPosReserva;
struct TTablasReserva;

// The sets of the piles' bottom cards that one position stands for, each as a word.
struct TClaseBases {
  std::array<std::uint32_t, 48> Miembros;
  std::size_t Cuantos = 0;
};

// The game from one position (the root), read at positions that descend from it: each maps
// to a position of this game by what has left the root's piles that take nothing and its
// stock's sequence. The game never comes back to a position (every move deals on, takes
// a redeal, or takes a card from where it lay for good), so a position is settled once,
// won or lost, and kept for every later reading.
class TJuegoDeReserva {
 public:
  TJuegoDeReserva(const TRachas& r, const std::uint8_t* cuentas, const std::uint8_t* cartas,
                  std::size_t enMazo, std::size_t vueltas, std::size_t tope);
  // Whether the game can be read from this root at all.
  bool Leible() const { return leible_; }
  // Whether the position, one that descends from the root, has no win in the game. Once
  // `tope` positions are settled it only reads those; a position it cannot map (not from
  // the root) proves nothing.
  bool SinSalida(const std::uint8_t* cuentas, const std::uint8_t* cartas, std::size_t enMazo,
                 std::size_t vueltas);
  std::size_t Vistas() const { return vistas_; }
  std::size_t Bytes() const;  // held now
  ~TJuegoDeReserva();
  TJuegoDeReserva(const TJuegoDeReserva&) = delete;
  TJuegoDeReserva& operator=(const TJuegoDeReserva&) = delete;

 private:
  bool Mapear(const std::uint8_t* cuentas, const std::uint8_t* cartas, std::size_t enMazo,
              std::size_t vueltas, TPosReserva& p) const;
  std::size_t Clase(const TPosReserva& p, TClaseBases& clase) const;  // 0: too many
  std::uint64_t Clave(TPosReserva& p, std::uint32_t bases) const;
  int Leer(TPosReserva& p, TClaseBases& clase, std::uint64_t& clave);  // -1: not read
  std::size_t Tope(const TPosReserva& p) const;
  bool Hija(const TPosReserva& p, std::size_t mov, TPosReserva& h) const;

  TRachas r_;
  bool leible_ = false;
  std::size_t tope_;
  std::size_t casa_ = SIZE_MAX;
  std::size_t descarte_ = SIZE_MAX;
  std::array<std::size_t, 4> reservas_{};  // the piles that take nothing but the waste
  std::array<std::uint8_t, 4> enReserva_{};  // their cards at the root
  std::array<std::array<std::uint8_t, 40>, 4> reserva_{};  // their ranks, from the top
  std::size_t nReservas_ = 0;
  std::array<std::uint8_t, 40> secuencia_{};  // ranks of the stock's sequence at the root
  std::array<std::uint8_t, 64> indice_{};  // per card, its place in that sequence, or 255
  std::size_t largo_ = 0;
  std::array<std::uint8_t, 10> montones_{};  // per rank, on the piles that build at the root
  std::uint8_t casaRaiz_ = 0;
  std::unique_ptr<TTablasReserva> tablas_;
  std::size_t vistas_ = 0;
};

// Whether the game from this position has no win. The position as the runs reading takes
// it (`cuentas`, `cartas`, `enMazo`), and `vueltas`, the redeals left (-1 as a byte: no
// end, which is not read). False too where it looks at more than `limite` positions, or
// cannot key a position in 64 bits; it adds those it looked at to `vistas`.
bool ReservaSinSalida(const TRachas& r, const std::uint8_t* cuentas, const std::uint8_t* cartas,
                      std::size_t enMazo, std::size_t vueltas, std::size_t limite,
                      std::size_t& vistas);
