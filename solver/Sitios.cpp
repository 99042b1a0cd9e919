#include "solver/Sitios.h"

// Why no line wins from such a position. Take the cards of a pile from some card X to its
// top, C, and the cards under X, S, where the card just under X never carries X off (it
// lies face down, or, where runs must be in order, X lies on it out of order), so S stays
// covered until X leaves its place; and of C, R: cards no empty pile takes, each needing
// home first some card of S or of R (X among them). No card of R goes home before X
// leaves its place: the first to go home would need a card of S, still covered, or of R
// home first. So at the moment X leaves, for a card Z it could be laid on, every other
// card of R lies on a card: carried on the card under it (in order, so one it could be
// laid on; where runs leave in any order, a card of C), or laid by a move on one it could
// be laid on. Those cards and Z are all different (a card has one card on it at most, and
// Z none), none is home, and none lies in S. So R needs |R| such cards; with fewer, X
// never leaves, never goes home, and the game is lost. The cards of C outside R may go
// home or onto an empty pile: they need no card, and the count leaves them out.
bool FaltanSitios(const TBloqueos& b, const TMontonBloqueable* montones, std::size_t cuantos,
                  std::uint64_t enCasa, std::uint64_t tramoLibre, std::uint64_t leer,
                  const std::uint64_t* cartasDe) {
  if (!b.Posible) return false;
  for (std::size_t i = 0; i < cuantos; ++i) {
    // Where runs leave in any order, a card of R may be carried on any card of C under it,
    // so C's cards are places too: R, within C, has as many as it has cards, and such a
    // pile is never short.
    if (!(leer >> (i < 64 ? i : 63) & 1) || tramoLibre >> (i < 64 ? i : 63) & 1) continue;
    const TMontonBloqueable& p = montones[i];
    std::uint64_t pila = 0;
    if (cartasDe)
      pila = cartasDe[i];
    else
      for (std::size_t j = 0; j < p.Cuenta; ++j) pila |= std::uint64_t{1} << (p.Cartas[j] & 0x3F);
    // X from the top down: C, the cards from X up, grows by a card; S shrinks by it.
    std::uint64_t sombra = pila;
    std::uint64_t columna = 0;
    // The last set R read on this pile, and the cards C gained since.
    std::uint64_t previo = 0;
    std::uint64_t nuevas = 0;
    for (std::size_t j = p.Cuenta; j-- > 0;) {
      const std::uint8_t x = p.Cartas[j] & 0x3F;
      const std::uint64_t bit = std::uint64_t{1} << x;
      sombra &= ~bit;
      columna |= bit;
      nuevas |= bit;
      if (!(b.Antes[x] & pila) || (b.Vacias & bit)) continue;
      // X must leave its place to move: the card under it, face down or out of order,
      // never carries it off and uncovers S.
      if (j > 0 && j > p.Cubiertas && b.Sobre[x] >> (p.Cartas[j - 1] & 0x3F) & 1) continue;
      // The cards of C that may go home or onto an empty pile need no card to lie on: the
      // rest are those that need a card of S, or of the rest, home first. X's own places
      // are some of theirs: where they are as many as C's cards, nothing is short.
      const std::uint64_t fuera = ~enCasa & ~sombra;
      if (__builtin_popcountll(b.Sobre[x] & fuera) >= __builtin_popcountll(columna & ~b.Vacias))
        continue;
      std::uint64_t resto = (previo | nuevas) & ~b.Vacias;
      for (;;) {
        std::uint64_t quedan = 0;
        for (std::uint64_t r = resto; r; r &= r - 1) {
          const auto c = static_cast<std::size_t>(__builtin_ctzll(r));
          quedan |= static_cast<std::uint64_t>((b.Antes[c] & (sombra | resto)) != 0) << c;
        }
        if (quedan == resto) break;
        resto = quedan;
      }
      previo = resto;
      nuevas = 0;
      if (!(resto & bit)) continue;
      std::uint64_t sitios = 0;
      for (std::uint64_t r = resto; r; r &= r - 1)
        sitios |= b.Sobre[static_cast<std::size_t>(__builtin_ctzll(r))];
      if (__builtin_popcountll(sitios & fuera) < __builtin_popcountll(resto))
        return true;
    }
  }
  return false;
}

namespace {

std::uint64_t Bit(std::size_t i) { return i < 64 ? std::uint64_t{1} << i : 0; }

}  // namespace

std::uint64_t SitiosPorLeerTrasLlegar(const TBloqueos& b, const TMontonBloqueable* montones,
                                      const std::uint64_t* cartasDe, std::size_t llegada,
                                      std::size_t desde, std::size_t salida) {
  // Only the run M is walked; the piles' cards come as sets.
  const TMontonBloqueable& p = montones[llegada];
  std::uint64_t tramo = 0;
  std::uint64_t antes = 0;
  for (std::size_t j = desde; j < p.Cuenta; ++j) {
    const std::size_t x = p.Cartas[j] & 0x3F;
    const std::uint64_t bit = std::uint64_t{1} << x;
    if (b.Vacias & bit) continue;
    tramo |= bit;
    antes |= b.Antes[x];
  }
  std::uint64_t leer = antes & cartasDe[llegada] ? Bit(llegada) : 0;
  if (salida != SIZE_MAX && (antes & (cartasDe[salida] | tramo))) leer |= Bit(salida);
  return leer;
}

std::uint64_t SitiosPorLeerTrasSubir(const TBloqueos& b, const std::uint64_t* cartasDe,
                                     std::size_t cuantos, std::size_t casa,
                                     std::size_t salida) {
  const std::uint64_t lleva = b.Lleva[casa] & ~b.Vacias;
  std::uint64_t leer = 0;
  for (std::size_t i = 0; i < cuantos; ++i) {
    const std::uint64_t pila = cartasDe[i];
    std::uint64_t antes = 0;
    for (std::uint64_t s = pila & lleva; s; s &= s - 1)
      antes |= b.Antes[static_cast<std::size_t>(__builtin_ctzll(s))];
    if (antes & pila) leer |= Bit(i);
  }
  const std::uint64_t bit = std::uint64_t{1} << casa;
  if (salida != SIZE_MAX && !(b.Vacias & bit) && (b.Antes[casa] & (cartasDe[salida] | bit)))
    leer |= Bit(salida);
  return leer;
}
