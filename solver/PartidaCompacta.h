#pragma once
// The whole game played in a few dozen bits, on the tables the reading of runs takes
// (Rachas.h) whose piles that build move one card at a time and whose stock deals one card
// onto the waste it takes back to deal again: every round, the stock in its order, from
// one position, depth-first, with a table of its own of the states seen. Where every line
// is played out with no win, the position is lost. On Solitario De Las Cinco Casillas' lost
// deals that takes millions of states from the deal (Mediciones.md), more time than the
// search spends, so the search does not call it yet.
//
// What a position is there. No rule of such a table reads a suit, so a card is its rank. A
// pile that builds holds a run, one rank under the other from its bottom, so its bottom
// and top ranks say what it holds. A pile that takes nothing gives its cards from the top
// down, so how many of its cards are left says which. The stock and the waste hold, in the
// order the stock deals them, the waste's cards from its bottom and then the stock's from
// its top: the stock deals them in that order, each onto the waste, whose top alone leaves
// it, and takes the waste back, the first card dealt to come first again, only once
// empty. So which of those cards have left for good, how far the stock has dealt and the
// redeals left say where each one lies. The home pile holds every other card.
//
// Why "no win here" means lost. The game is won only with the forty cards home (Rachas.h).
// Every move of the table is one of this game's: a drag of a top card (every pile that
// builds gives one card at a time, and the piles that take nothing their top only) to the
// home pile where it takes the rank it wants next, or to a pile that builds, where this
// game lets any card one rank below its top, or any card when empty, lie there, whatever
// the table's own rules refuse and whichever pile it comes from; a click, which deals the
// stock's next card or takes the waste back as above. A card the table turns face up
// changes nothing here. The piles that build are told apart by nothing but their cards,
// so they are kept in one order, and a drag of a pile's lone card to an empty pile changes
// nothing. Every line of the table is then a line of this game to the same positions, and
// where this one wins nowhere, the table wins nowhere either.
//
// The states seen are kept in a table of their own that grows up to the bytes allowed; the
// game gives up where it would outgrow them, or where the caller says stop. The answer is
// always the same for the same cards and bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/Mesa.h"

class TPartidaCompacta {
 public:
  static constexpr std::size_t kMontones = 8;
  static constexpr std::size_t kCerradas = 4;
  static constexpr std::size_t kEnMazo = 40;

  // The game of the table's position; Posible() is false where the table is not of the
  // shape above or its position does not fit in 64 bits.
  explicit TPartidaCompacta(TMesa& m);
  bool Posible() const { return posible_; }

  // A position of the game: one state's fields, unpacked.
  struct TPosicion {
    std::array<std::uint8_t, kMontones> Fondo{};  // rank 1 to 10; 0 for an empty pile
    std::array<std::uint8_t, kMontones> Tope{};
    std::array<std::uint8_t, kCerradas> Quedan{};  // cards left in each pile that takes nothing
    std::uint64_t Idos = 0;      // the stock's and waste's cards gone for good, by their order
    std::uint8_t Siguiente = 0;  // the stock's next card in that order; the count when empty
    std::uint8_t Vueltas = 0;    // redeals left
  };
  std::uint64_t Empaquetar(TPosicion p) const;  // sorts the piles that build
  TPosicion Desempaquetar(std::uint64_t e) const;

  // The table's position as a state of this game (the same cards as when it was built, in
  // other places).
  std::uint64_t Estado(const TMesa& m) const;
  std::uint64_t Raiz() const { return raiz_; }
  // The cards home in a state.
  std::size_t EnCasa(std::uint64_t e) const;
  // The states one move leads to.
  void Movimientos(std::uint64_t e, std::vector<std::uint64_t>& hijos) const;

  enum class TFin : std::uint8_t { Ganada, Agotada, SinAcabar };
  // Plays every line from `e` depth-first, the states seen kept in at most `bytes`;
  // `parar` is asked every few thousand states.
  TFin Buscar(std::uint64_t e, std::size_t bytes, const std::function<bool()>& parar = {});
  std::uint64_t Estados() const { return estados_; }  // states seen by the last Buscar
  std::size_t Bytes() const { return bytes_; }        // what it held at most

 private:
  bool posible_ = false;
  std::size_t montones_ = 0;
  std::size_t cerradas_ = 0;
  // Per pile of the table: which pile that builds, pile that takes nothing or waste it is.
  std::vector<std::int8_t> monton_, cerrada_;
  std::size_t descarte_ = SIZE_MAX;
  // The ranks of the piles that take nothing, from the bottom, and of the stock's and waste's
  // cards in their order; the cards (IdCarta) of those, to read a later position.
  std::array<std::vector<std::uint8_t>, kCerradas> rangosCerrada_;
  std::vector<std::uint8_t> rangosMazo_, cartasMazo_;
  bool vueltasSinFin_ = false;
  // Bits of each field and where it starts, from the top down: the piles, the piles that
  // take nothing, the cards gone, the next card, the redeals.
  std::array<std::uint8_t, kCerradas> bitsCerrada_{};
  std::uint8_t desdeIdos_ = 0, bitsSiguiente_ = 0, desdeSiguiente_ = 0, bitsVueltas_ = 0,
               desdeVueltas_ = 0;
  std::uint64_t raiz_ = 0;
  std::uint64_t estados_ = 0;
  std::size_t bytes_ = 0;
};
