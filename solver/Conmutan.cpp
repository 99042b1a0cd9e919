#include "solver/Conmutan.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kFuera = 0xFF;

}  // namespace

TConmutan PrepararConmutan(const TSinSalida& s, std::uint8_t llena) {
  TConmutan c;
  c.Posible = s.Posible && llena > 0;
  c.Toman = s.Toman;
  c.Llena = llena;
  for (std::size_t x = 0; x < 40; ++x)
    for (std::size_t y = 0; y < 40; ++y)
      if (s.Toman[x] >> y & 1) c.Tomadas[y] |= std::uint64_t{1} << x;
  return c;
}

std::uint64_t PilasAparte(const TConmutan& c, const std::uint8_t* cuentas,
                          const std::uint8_t* cartas, const std::uint8_t* fundacion,
                          std::size_t n, const TParDePilas* jugadas, std::size_t nj) {
  const std::uint64_t todas = n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
  if (!c.Posible || n > 64 || nj < 2) return todas;
  std::array<std::uint8_t, 40> pilaDe;
  pilaDe.fill(kFuera);
  std::array<std::uint8_t, 40> posicion;
  std::array<std::uint8_t, 64> tope;
  std::array<std::uint64_t, 64> cartasDe;  // the cards of each pile off the foundations
  std::fill_n(cartasDe.begin(), n, 0);
  std::uint64_t enCasa = 0;
  std::uint64_t fondos = 0;  // the bottom cards off the foundations
  std::size_t k = 0;
  for (std::size_t p = 0; p < n; ++p) {
    for (std::size_t i = 0; i < cuentas[p]; ++i, ++k) {
      // A face-down card turns over by itself: a move would change more than its piles.
      if (!(cartas[k] & 0x40)) return todas;
      const std::uint8_t id = cartas[k] & 0x3F;
      if (fundacion[p]) {
        enCasa |= std::uint64_t{1} << id;
      } else {
        pilaDe[id] = static_cast<std::uint8_t>(p);
        posicion[id] = static_cast<std::uint8_t>(i);
        if (i == 0) fondos |= std::uint64_t{1} << id;
        cartasDe[p] |= std::uint64_t{1} << id;
      }
      tope[p] = id;
    }
  }
  const std::size_t llena = c.Llena;
  // A card lands on a pile holding one card or more, so it never lies lower than second,
  // and a pile takes a card only on a top card below the last place: a card can come to
  // take one where it lies low enough now, or where it could be laid on a card that lies
  // low enough (with room for three, only bottom cards, which never change).
  auto puedeTomar = [&](std::size_t id) {
    if (static_cast<std::size_t>(posicion[id]) + 2 <= llena) return true;
    const std::uint64_t sobre = c.Toman[id] & ~enCasa;
    return llena > 3 ? sobre != 0 : (llena == 3 && (sobre & fondos) != 0);
  };
  auto pilasDe = [&](std::uint64_t ids, bool soloTomadoras) {
    std::uint64_t r = 0;
    for (ids &= ~enCasa; ids; ids &= ids - 1) {
      const auto id = static_cast<std::size_t>(__builtin_ctzll(ids));
      if (pilaDe[id] == kFuera || (soloTomadoras && !puedeTomar(id))) continue;
      r |= std::uint64_t{1} << pilaDe[id];
    }
    return r;
  };
  // Per pile: the piles a set holding it must hold too.
  std::array<std::uint64_t, 64> pide;
  std::array<std::uint8_t, 64> salen;  // moves leaving each pile
  std::fill_n(pide.begin(), n, 0);
  std::fill_n(salen.begin(), n, 0);
  for (std::size_t j = 0; j < nj; ++j) {
    const TParDePilas& jg = jugadas[j];
    if (fundacion[jg.Desde]) return todas;  // a card home could come back
    ++salen[jg.Desde];
    if (!fundacion[jg.Hacia]) {
      pide[jg.Desde] |= std::uint64_t{1} << jg.Hacia;
      pide[jg.Hacia] |= std::uint64_t{1} << jg.Desde;
    }
  }
  // Per pile: the cards of its top card's suit below it not home, one of which the set
  // must hold (none where the top card may go home now).
  std::array<std::uint64_t, 64> antes;
  std::fill_n(antes.begin(), n, 0);
  for (std::size_t p = 0; p < n; ++p) {
    if (fundacion[p] || cuentas[p] == 0) continue;
    const std::uint8_t t = tope[p];
    // A bottom card never leaves for another pile, so never comes to a pile apart.
    if (cuentas[p] < llena) pide[p] |= pilasDe(c.Tomadas[t] & ~fondos, false);
    if (cuentas[p] >= 2) pide[p] |= pilasDe(c.Toman[t], true);
    const std::uint64_t palo = ((std::uint64_t{1} << t) - 1) & ~((std::uint64_t{1} << (t / 10 * 10)) - 1);
    antes[p] = palo & ~enCasa;
  }
  std::uint64_t mejor = todas;
  std::size_t menos = nj;
  std::uint64_t semillas = 0;  // the piles grown from so far
  for (std::size_t s = 0; s < n; ++s) {
    if (salen[s] == 0) continue;
    std::uint64_t q = std::uint64_t{1} << s;
    std::uint64_t nuevas = q;
    std::uint64_t cartasQ = 0;
    std::size_t cuantas = 0;
    // A set that takes in a pile grown from before holds about what that pile's did: the
    // smaller of the two was counted then.
    bool otra = false;
    while (nuevas && !otra) {
      while (nuevas) {
        const auto p = static_cast<std::size_t>(__builtin_ctzll(nuevas));
        nuevas &= nuevas - 1;
        cartasQ |= cartasDe[p];
        cuantas += salen[p];
        const std::uint64_t mas = pide[p] & ~q;
        q |= mas;
        nuevas |= mas;
      }
      if (cuantas >= menos || (q & semillas)) {
        otra = true;
        break;
      }
      // A top card that may not go home yet keeps a lower card of its suit in the set:
      // where none is there yet, the highest of them.
      for (std::uint64_t b = q; b; b &= b - 1) {
        const auto p = static_cast<std::size_t>(__builtin_ctzll(b));
        if (antes[p] == 0 || (antes[p] & cartasQ)) continue;
        const std::uint8_t r = pilaDe[static_cast<std::size_t>(63 - __builtin_clzll(antes[p]))];
        if (r == kFuera || (q >> r & 1)) continue;
        q |= std::uint64_t{1} << r;
        nuevas |= std::uint64_t{1} << r;
        cartasQ |= cartasDe[r];
      }
    }
    semillas |= std::uint64_t{1} << s;
    if (!otra) {
      menos = cuantas;
      mejor = q;
    }
  }
  return mejor;
}
