#include "solver/Encalladas.h"

namespace {

constexpr std::uint64_t kCuarenta = (std::uint64_t{1} << 40) - 1;

std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

std::uint64_t DelPalo(std::size_t id) { return std::uint64_t{0x3FF} << (id - id % 10); }

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

// The cards are dropped one at a time, and only those a drop could let go are looked at
// again: the card it uncovers, the cards that it or that card could take, those a card on
// two others could take once a bottom card comes free, and the next card of its suit.
std::uint64_t Encalladas(const TReglasEncalladas& r, const TPilaVista* pilas, std::size_t n,
                         std::uint64_t enCasa) {
  if (!r.Posible) return 0;
  std::array<std::uint8_t, 40> debajo{};  // the card under each card not at the bottom
  std::uint64_t fondos = 0;    // bottom cards
  std::uint64_t terceras = 0;  // cards on top of two others
  std::uint64_t asientos = 0;  // the cards only their rank takes that could take one yet
  std::uint64_t cubiertas = 0; // covered by a card of e
  for (std::size_t i = 0; i < n; ++i) {
    const TPilaVista& p = pilas[i];
    if (p.Cuenta > 3) return 0;
    for (std::size_t j = 0; j < p.Cuenta; ++j) {
      const std::uint8_t id = p.Cartas[j] & 0x3F;
      if (id >= 40) return 0;
      if (j == 0) fondos |= Bit(id);
      if (j == 2) terceras |= Bit(id);
      if (j > 0) {
        const std::uint8_t bajo = p.Cartas[j - 1] & 0x3F;
        debajo[id] = bajo;
        cubiertas |= Bit(bajo);
      }
      // A card only its rank takes takes one only alone or over a card of another rank:
      // once moved, it lies on one of its rank for good, and a pile of two takes no third.
      if (j == 0 || (j == 1 && !(r.Pareja >> (p.Cartas[0] & 0x3F) & 1))) asientos |= Bit(id);
    }
  }
  asientos &= r.Pareja;
  std::uint64_t e = kCuarenta & ~enCasa;
  std::uint64_t fondosAbiertos = fondos & ~cubiertas & ~enCasa;  // not covered by e
  // A place open while e stays: not covered by a card of e nor on two cards of e; on two
  // cards, where not in e, only if a bottom card left open could take it (a card lies on
  // one card only where it lies on a bottom card, and bottom cards stay).
  const auto abierto = [&](std::size_t t) {
    if (e >> t & 1) return !((cubiertas | terceras) >> t & 1);
    return !(terceras >> t & 1) || (r.Toman[t] & fondosAbiertos) != 0;
  };
  // Covered cards are looked at once uncovered.
  for (std::uint64_t pendientes = e & ~cubiertas; pendientes;) {
    const auto c = static_cast<std::size_t>(__builtin_ctzll(pendientes));
    pendientes &= pendientes - 1;
    if (!(e >> c & 1)) continue;
    const std::uint64_t antes = (Bit(c) - 1) & DelPalo(c);
    bool suelta = !(antes & e);  // it may go home
    if (!suelta && !(fondos >> c & 1)) {
      std::uint64_t sitios = r.Toman[c] & ~enCasa;
      if (r.Pareja >> c & 1) sitios &= asientos;
      for (; !suelta && sitios; sitios &= sitios - 1)
        suelta = abierto(static_cast<std::size_t>(__builtin_ctzll(sitios)));
    }
    if (!suelta) continue;
    e &= ~Bit(c);
    std::uint64_t mira = 0;
    // Out of e, a card on two others opens as a place where a bottom card could take it
    // (uncovered and not on two, it was open already).
    if ((terceras >> c & 1) && (r.Toman[c] & fondosAbiertos)) mira |= r.Toma[c];
    if (!(fondos >> c & 1)) {
      const std::size_t d = debajo[c];  // in e: it was covered
      cubiertas &= ~Bit(d);
      mira |= Bit(d) | r.Toma[d];
      if (fondos >> d & 1) {
        fondosAbiertos |= Bit(d);
        for (std::uint64_t t = terceras & ~e & r.Toma[d]; t; t &= t - 1)
          mira |= r.Toma[static_cast<std::size_t>(__builtin_ctzll(t))];
      }
    }
    // The next card of its suit in e may now go home, where none lies below.
    if (!(antes & e)) {
      const std::uint64_t despues = e & DelPalo(c) & ~(Bit(c + 1) - 1);
      mira |= despues & -despues;
    }
    pendientes |= mira & e & ~cubiertas;
  }
  return e;
}
