#pragma once
// The high cards' game alone: a position no line wins because the cards above some rank,
// played by themselves, cannot all go home. Where only single cards move, no empty pile
// takes a card, a pile holding three takes nothing and each suit goes home in order, take
// the game where the cards ranked at most T leave their piles whenever they lie on top and
// wait off the table until their turn home. A line of the real game plays in it too: a low
// card leaves when the line moves it and is never laid anywhere, so every pile holds the
// cards it holds in the line less some low ones that were laid there, in the same order.
// A high card moves only onto a high card (what takes a card above T lies above T), so
// the card it is laid on is the same top card in both games, on a pile that holds no more
// cards; a card goes home from its pile's top or from off the table. So where the high
// cards' game, searched to the end, has no win, the real one has none.
//
// A card that takes only cards of its own rank (a Rey on a lone Rey) is laid so only
// where the pile holds no second one of them: read from the table's stacking function.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Mesa.h"
#include "solver/ClavesVistas.h"
#include "solver/Reglas.h"
#include "solver/SinSalida.h"

struct TAltas {
  bool Posible = false;
  std::array<std::uint64_t, 40> Toman{};  // per card, the cards that could take it on a pile
  std::uint64_t Pareja = 0;  // the cards only their own rank takes, none on a pile with two of them
};

// Read once the piles' rules are known as data (`s`). Not possible where the foundations do
// not take the forty by suit from the As, or a pile off them may hold more than three.
TAltas LeerAltas(TMesa& m, const TReglasComoDatos& reglas, const TSinSalida& s);

// Whether the game of the cards whose index in their suit (As 0) is above `hasta`, from
// the piles off the foundations (cards bottom first, IdCarta in the low six bits) and the
// cards home, has no win. False too where it looks at more than `limite` positions; it
// adds those it looked at to `vistas`.
bool AltasSinSalida(const TAltas& a, const std::vector<std::vector<std::uint8_t>>& pilas,
                    std::uint64_t enCasa, std::size_t hasta, std::size_t limite,
                    std::size_t& vistas);

// The piles as the high cards' games hold them: at most kPilasDeAltas, each its cards bottom
// first (IdCarta + 1, 0 past its count).
constexpr std::size_t kPilasDeAltas = 16;
using TPilaAltas = std::array<std::uint8_t, 3>;

inline std::size_t CuentaDePila(const TPilaAltas& q) {
  return q[0] == 0 ? 0 : q[1] == 0 ? 1 : q[2] == 0 ? 2 : 3;
}

// One pile's share of a position's key: summed, piles in any order give one key.
inline TClave128 ParteDePila(const TPilaAltas& q) {
  const std::uint64_t v = std::uint64_t{q[0]} | std::uint64_t{q[1]} << 8 |
                          std::uint64_t{q[2]} << 16 | std::uint64_t{1} << 32;
  return {MezclarClave(v), MezclarClave(v ^ 0xD6E8FEB86659FD93ULL)};
}

// An empty pile's share of a key, the same for every empty pile.
inline const TClave128 kParteVacia = ParteDePila(TPilaAltas{});

// The tops of the piles that may take a card, and each one's pile: a card's destinations
// are read from its takers among them, in the piles' order.
struct TTopesAbiertos {
  std::uint64_t Topes = 0;
  std::array<std::uint8_t, 40> Pila;

  void Anotar(std::size_t tope, std::size_t pila) {
    Topes |= std::uint64_t{1} << tope;
    Pila[tope] = static_cast<std::uint8_t>(pila);
  }
  // Calls `poner(d, m)` for each pile d, of m cards, whose top takes card x, in the piles'
  // order: none where x is its own pile's top, and none of two of `a.Pareja`'s cards where x
  // is one too.
  template <typename F>
  void ParaCadaDestino(const TAltas& a, const std::array<TPilaAltas, kPilasDeAltas>& pilas,
                       const std::array<std::uint8_t, kPilasDeAltas>& cuentas, std::size_t x,
                       F&& poner) const {
    std::uint64_t destinos = 0;
    for (std::uint64_t t = a.Toman[x] & Topes & ~(std::uint64_t{1} << x); t; t &= t - 1)
      destinos |= std::uint64_t{1} << Pila[static_cast<std::size_t>(__builtin_ctzll(t))];
    for (; destinos; destinos &= destinos - 1) {
      const std::size_t d = static_cast<std::size_t>(__builtin_ctzll(destinos));
      const std::size_t m = cuentas[d];
      if ((a.Pareja >> x & 1) && m == 2 && (a.Pareja >> (pilas[d][0] - 1u) & 1) &&
          (a.Pareja >> (pilas[d][1] - 1u) & 1))
        continue;
      poner(d, m);
    }
  }
};

// The start of the game above `hasta`, its piles and cards home per suit read from the
// table's (as AltasSinSalida takes them). False where the game cannot be read there: no
// game read, a bound past the Caballo, a high card a low one takes, too many piles or one
// of more than three cards.
bool RaizDeAltas(const TAltas& a, const std::vector<std::vector<std::uint8_t>>& pilas,
                 std::uint64_t enCasa, std::size_t hasta,
                 std::array<TPilaAltas, kPilasDeAltas>& raiz, std::array<std::uint8_t, 4>& casa);

struct TPosAltas;
class TVistasAltas;
class TSabidasAltas;

// The same game searched a stretch at a time, for a search that spends on it a share of
// its own positions as it goes: where the stretch before ran out of positions, the next
// goes on from where it stopped.
class TJuegoDeAltas {
 public:
  enum class TFin { Sigue, SinSalida, Ganable };
  TJuegoDeAltas(const TAltas& a, const std::vector<std::vector<std::uint8_t>>& pilas,
                std::uint64_t enCasa, std::size_t hasta);
  ~TJuegoDeAltas();
  TJuegoDeAltas(const TJuegoDeAltas&) = delete;
  TJuegoDeAltas& operator=(const TJuegoDeAltas&) = delete;
  // Looks on until it has seen more than `limite` positions in all (Sigue) or settles:
  // SinSalida, where no line wins the game; Ganable, where one does or the game cannot be
  // read here (too many piles, a high card taken by a low one), which proves nothing.
  TFin Seguir(std::size_t limite);
  std::size_t Vistas() const { return vistas_; }
  std::size_t Bytes() const;  // held now

 private:
  friend class TAltasPorPosicion;
  // From a settled position, with what earlier games found (`sabidas`, may be null).
  TJuegoDeAltas(const TAltas& a, const TPosAltas& raiz, std::size_t hasta,
                TSabidasAltas* sabidas);
  TAltas a_;
  std::size_t hasta_;
  TFin fin_ = TFin::Ganable;
  std::unique_ptr<TVistasAltas> vistos_;
  std::vector<TPosAltas> porVer_;
  std::size_t vistas_ = 0;
  TSabidasAltas* sabidas_ = nullptr;
  // With `sabidas_`: each position to look at's key and depth, and the keys of the line
  // from the root to the position looked at, so that a win marks its whole line won.
  std::vector<std::pair<TClave128, std::uint32_t>> porVerClaves_;
  std::vector<TClave128> camino_;
};

// The same game read at many positions of one search, what each reading found kept for
// the next. The game from a position of the search holds every line of the real game from
// it (above), so where it has no win the position is lost, whatever line led there. A game
// walked to the end without a win proves every position it reached lost as well (what one
// of them reaches, the game reached): all are kept as lost. A later game does not walk them
// again, which loses no win, as a line to a win passes only positions that have one; and a
// game that meets a position known won is won. A game won keeps every position of the line
// that won it as won too (the rest of that line wins from each). A game given up at its
// limit proves nothing: its position is kept as not known, and not read again. Positions
// are told apart by 128-bit keys, as the search's own table of keys tells its own.
class TAltasPorPosicion {
 public:
  // `limite`: the new positions one reading may look at; past it the position's game is
  // kept as not known, and not read again.
  TAltasPorPosicion(const TAltas& a, std::size_t hasta, std::size_t limite);
  ~TAltasPorPosicion();
  TAltasPorPosicion(const TAltasPorPosicion&) = delete;
  TAltasPorPosicion& operator=(const TAltasPorPosicion&) = delete;
  bool Posible() const { return posible_; }
  // Whether the game from this position has no win: `pilas` the piles off the foundations
  // that hold cards (bottom first, IdCarta in the low six bits), `enCasa` the cards home.
  // Without `jugar`, only what earlier readings found is asked.
  bool SinSalida(const TPilaVista* pilas, std::size_t n, std::uint64_t enCasa, bool jugar = true);
  std::size_t Vistas() const { return vistas_; }  // the games' positions looked at in all
  std::size_t Juegos() const { return juegos_; }  // readings that walked a game
  // The positions of the games that proved nothing: won, or given up at their limit.
  std::size_t VistasEnBalde() const { return enBalde_; }
  std::size_t Perdidas() const { return perdidas_; }  // readings that found no win
  std::size_t Bytes() const;

 private:
  TAltas a_;
  std::size_t hasta_;
  std::size_t limite_;
  bool posible_ = false;
  std::uint64_t bajas_ = 0;  // the cards at or below `hasta_`
  std::unique_ptr<TSabidasAltas> sabidas_;
  std::size_t vistas_ = 0;
  std::size_t enBalde_ = 0;
  std::size_t perdidas_ = 0;
  std::size_t juegos_ = 0;
};
