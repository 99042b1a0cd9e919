#pragma once
// Positions lost because no card of some rank the home pile is still to take can ever
// reach a top, on the tables the reading of runs takes (Rachas.h) whose piles that build
// move one card at a time. Where the runs reading counts the cards, this one plays them:
// the piles that build exactly as they lie (by rank), the piles that take nothing in
// their order, and the stock's cards, with those of a waste the stock takes back, as
// cards to take in any order at any time.
//
// Why a position this game cannot win is lost. Say the home pile wants rank q, and no
// card of rank o (q itself or a later one, not all of its cards home) lies on a top, in
// the stock or in a waste the stock takes back. The game is won only with every card home,
// and the home pile takes the ranks in turn, so some card of rank o must first lie on a
// top. Till the first does, the home pile takes at most one card of each rank from q up
// to the one below o, each from a top or from the stock, and every other move is a click
// or moves a card (not of rank o) from a top to a pile that builds: from a pile that
// takes nothing, whose cards of now leave it from the top down (a click only lays the
// stock's cards on them), or a stock's card dealt onto one, or a card from a pile that
// builds. Each of those is a move of this game, where a pile that builds takes a card
// one rank below its top, any card when empty, and the stock's cards come in any order:
// it allows every such move and more. So a line of the real game that brings rank o to a
// top is, up to that moment, a line of this one to the same piles, and where this one has
// none, the position is lost.
//
// A drag between two piles that build is undone by the drag back in this game, so the
// position it leads to has the answer its parent had. Each game looks at a bounded
// number of states and spares the position when it runs out of them, so the answer is
// always the same for the same cards.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "solver/Rachas.h"
#include "solver/Respuestas.h"

class TDesentierro {
 public:
  // States one game looks at before it gives up and spares the position, and ranks read
  // from the one the home pile wants: at the position searched, every rank and more
  // states; at the positions made from it, a few.
  static constexpr std::size_t kEstadosRaiz = 8192;
  static constexpr std::size_t kEstados = 512;
  static constexpr std::size_t kRangos = 2;
  // As TRachasRecordadas: a fixed table of the last answers, and the game's slots, in at
  // most `bytes`; with too few, nothing is read.
  void Limitar(std::size_t bytes);
  // `cuentas`, `cartas`, `enMazo`, `vueltas` as SinSitio (Rachas.h) reads them. Where
  // `UnaALaVez` is false in `r`, nothing is read. `raiz`: the position searched.
  bool SinSalida(const TRachas& r, const std::uint8_t* cuentas, const std::uint8_t* cartas,
                 std::size_t enMazo, bool vueltas, bool raiz = false);
  std::size_t Bytes() const {
    return respuestas_.Bytes() + vistos_.capacity() * sizeof(TVisto) +
           pila_.capacity() * sizeof(TEstado);
  }
  // Games played, the table's answers aside.
  std::uint64_t Lecturas() const { return lecturas_; }

  // The game's state: per pile that builds its bottom and top rank, one more than the
  // rank (0 for an empty pile), and per pile that takes nothing how many of its cards of
  // now are still there; the stock's cards left, per rank.
  static constexpr std::size_t kMontones = 8;
  static constexpr std::size_t kCerradas = 4;
  struct TEstado {
    std::array<std::uint8_t, kMontones> Fondo{};
    std::array<std::uint8_t, kMontones> Tope{};
    std::array<std::uint8_t, kCerradas> Quedan{};
    std::array<std::uint8_t, 10> Sueltas{};
    std::uint8_t Casa = 0;  // the rank the home pile takes next
  };

  // The game's states seen in the reading under way, stamped with its number.
  struct TVisto {
    std::uint64_t Montones = 0;
    std::uint32_t Quedan = 0;
    std::uint8_t Casa = 0;
    std::uint16_t Sello = 0;
  };

 private:
  std::vector<TVisto> vistos_;
  std::uint16_t sello_ = 0;
  std::vector<TEstado> pila_;
  TRespuestas respuestas_;  // the last positions read: lost or not
  std::size_t estadosRaiz_ = 0;  // what the limit leaves of kEstadosRaiz and kEstados
  std::size_t estados_ = 0;
  std::uint64_t lecturas_ = 0;
};

// The reading without its table, for tests: `rangos` ranks, each game up to `estados`.
bool SinSalidaParaElRango(const TRachas& r, const std::uint8_t* cuentas,
                          const std::uint8_t* cartas, std::size_t enMazo, bool vueltas,
                          std::size_t rangos = 10,
                          std::size_t estados = TDesentierro::kEstadosRaiz);
