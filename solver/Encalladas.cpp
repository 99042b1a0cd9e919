#include "solver/Encalladas.h"

namespace {

constexpr std::uint64_t kCuarenta = (std::uint64_t{1} << 40) - 1;

std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

// The lowest card of each suit in `s` (a suit's ten cards a field of ten bits): each field
// negated on its own, the suits taken two at a time, a field apart, so that the carry out
// of an empty one falls in a field masked off.
std::uint64_t Primeras(std::uint64_t s) {
  constexpr std::uint64_t kPares = 0x3FFu | (std::uint64_t{0x3FF} << 20);
  constexpr std::uint64_t kImpares = kPares << 10;
  constexpr std::uint64_t kUnoPares = 1u | (std::uint64_t{1} << 20);
  constexpr std::uint64_t kUnoImpares = kUnoPares << 10;
  const std::uint64_t pares = s & kPares;
  const std::uint64_t impares = s & kImpares;
  return (pares & ((~pares & kPares) + kUnoPares)) |
         (impares & ((~impares & kImpares) + kUnoImpares));
}

}  // namespace

TReglasEncalladas LeerEncalladas(const TAltas& a) {
  TReglasEncalladas r;
  if (!a.Posible) return r;
  r.Posible = true;
  r.Toman = a.Toman;
  r.Pareja = a.Pareja;
  for (std::size_t id = 0; id < 40; ++id)
    for (std::uint64_t t = a.Toman[id]; t; t &= t - 1)
      r.Toma[static_cast<std::size_t>(__builtin_ctzll(t))] |= Bit(id);
  return r;
}

// The set is read in rounds, every card that may leave dropped at once. Places only open as
// cards drop (a card leaving the set, uncovered, or a bottom card left alone), so each card
// is added to the open places once, with the cards it could take, and a round costs a few
// masks and a look at the cards it drops. Nearly every set empties, so dropping one card at
// a time and asking each of its places in turn cost far more. Dropping a card that may leave
// never keeps another in, so the order of the drops leaves the same largest set.
std::uint64_t Encalladas(const TReglasEncalladas& r, const TPilaVista* pilas, std::size_t n,
                         std::uint64_t enCasa) {
  if (!r.Posible) return 0;
  // The card under each card not at the bottom, indexed by any six-bit id so that a card
  // past the deck is caught once, after the pass. Cleared: a card off the piles that drops
  // (one in a stock) reads 0 here, as it always has.
  std::array<std::uint8_t, 64> debajo{};
  std::uint64_t fondos = 0;    // bottom cards
  std::uint64_t terceras = 0;  // cards on top of two others
  std::uint64_t cubiertas = 0; // covered by a card of e
  std::uint64_t segundas = 0;  // cards lying on a bottom card
  std::uint64_t sobrePareja = 0;  // those of them on a card only its rank takes
  for (std::size_t i = 0; i < n; ++i) {
    const TPilaVista& p = pilas[i];
    const std::size_t c0 = p.Cartas[0] & 0x3F;
    fondos |= Bit(c0);
    if (p.Cuenta < 2) continue;
    if (p.Cuenta > 3) return 0;
    const std::size_t c1 = p.Cartas[1] & 0x3F;
    debajo[c1] = static_cast<std::uint8_t>(c0);
    cubiertas |= Bit(c0);
    // A card only its rank takes takes one only alone or over a card of another rank:
    // once moved, it lies on one of its rank for good, and a pile of two takes no third.
    segundas |= Bit(c1);
    if (r.Pareja >> c0 & 1) sobrePareja |= Bit(c1);
    if (p.Cuenta < 3) continue;
    const std::size_t c2 = p.Cartas[2] & 0x3F;
    debajo[c2] = static_cast<std::uint8_t>(c1);
    cubiertas |= Bit(c1);
    terceras |= Bit(c2);
  }
  if ((fondos | cubiertas | terceras | segundas) & ~kCuarenta) return 0;
  // The cards only their rank takes that could take one yet.
  const std::uint64_t asientos = (fondos | (segundas & ~sobrePareja)) & r.Pareja;
  const std::uint64_t fuera = kCuarenta & ~enCasa;
  std::uint64_t e = fuera;
  // The cards that a bottom card not covered by e could take: on two cards, out of e, a card
  // is a place only if such a bottom card could take it (a card lies on one card only where
  // it lies on a bottom card, and bottom cards stay).
  std::uint64_t alcance = 0;
  for (std::uint64_t f = fondos & ~cubiertas & fuera; f; f &= f - 1)
    alcance |= r.Toma[static_cast<std::size_t>(__builtin_ctzll(f))];
  std::uint64_t abiertos = 0;  // places open while e stays, those known
  std::uint64_t conSitio = 0;  // cards that one of them could take
  for (;;) {
    // A place: in e, neither covered by a card of e nor on two cards; out of e, not on two
    // cards or within a bottom card's reach.
    const std::uint64_t o =
        fuera & ((e & ~cubiertas & ~terceras) | (~e & (~terceras | alcance)));
    // Split by whether the place could take a card only its rank takes, so that neither
    // loop branches on it.
    const std::uint64_t nuevos = o & ~abiertos;
    std::uint64_t sinPareja = 0;
    for (std::uint64_t t = nuevos & ~asientos; t; t &= t - 1)
      sinPareja |= r.Toma[static_cast<std::size_t>(__builtin_ctzll(t))];
    for (std::uint64_t t = nuevos & asientos; t; t &= t - 1)
      conSitio |= r.Toma[static_cast<std::size_t>(__builtin_ctzll(t))];
    conSitio |= sinPareja & ~r.Pareja;
    abiertos = o;
    // The lowest card of each suit in e may go home.
    const std::uint64_t primeras = Primeras(e);
    const std::uint64_t sueltas = e & ~cubiertas & (primeras | (conSitio & ~fondos));
    if (!sueltas) return e;
    e &= ~sueltas;
    for (std::uint64_t s = sueltas & ~fondos; s; s &= s - 1) {
      const std::size_t d = debajo[static_cast<std::size_t>(__builtin_ctzll(s))];
      cubiertas &= ~Bit(d);
      alcance |= r.Toma[d] & (std::uint64_t{0} - (fondos >> d & 1));  // d a bottom card
    }
    // With no card of e covered by one of e, every round drops at least the lowest card of
    // each suit left, and covers none: e empties. Most readings end so, their last cards
    // bottom cards that leave for home one a suit a round.
    if (!(e & cubiertas)) return 0;
  }
}

bool SinEncalladasTrasSubir(const TReglasEncalladas& r, std::size_t x, std::size_t altura,
                            const TPilaVista* pilas, std::size_t n, std::uint64_t enCasa) {
  if (!r.Posible || x >= 40 || altura > 2 || !(enCasa >> x & 1)) return false;
  if ((r.Toma[x] & kCuarenta & ~enCasa) == 0) return true;
  if (altura != 2) return false;
  std::uint64_t fondos = 0;
  for (std::size_t i = 0; i < n; ++i) fondos |= Bit(pilas[i].Cartas[0] & 0x3F);
  return (r.Toman[x] & fondos) == 0;
}
