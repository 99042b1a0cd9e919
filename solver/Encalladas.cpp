#include "solver/Encalladas.h"

#include <array>

namespace {

constexpr std::uint64_t kCuarenta = (std::uint64_t{1} << 40) - 1;

std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

// The cards of each suit above its lowest card in `e`: those that cannot go home while
// `e` stays.
std::uint64_t TrasLaPrimera(std::uint64_t e) {
  std::uint64_t r = 0;
  for (std::size_t palo = 0; palo < 4; ++palo) {
    const std::uint64_t delPalo = std::uint64_t{0x3FF} << (10 * palo);
    const std::uint64_t en = e & delPalo;
    if (en) r |= delPalo & ~(((en & -en) << 1) - 1);
  }
  return r;
}

}  // namespace

std::uint64_t Encalladas(const TAltas& a, const TPilaVista* pilas, std::size_t n,
                         std::uint64_t enCasa) {
  if (!a.Posible) return 0;
  std::array<std::uint8_t, 40> debajo{};  // the card under each card not at the bottom
  std::uint64_t fondos = 0;   // bottom cards
  std::uint64_t terceras = 0; // cards on top of two others
  std::uint64_t asientos = 0; // the cards only their rank takes that could take one yet
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
      }
      // A card only its rank takes takes one only alone or over a card of another rank:
      // once moved, it lies on one of its rank for good, and a pile of two takes no third.
      if (j == 0 || (j == 1 && !(a.Pareja >> (p.Cartas[0] & 0x3F) & 1))) asientos |= Bit(id);
    }
  }
  asientos &= a.Pareja;
  const std::uint64_t encima = kCuarenta & ~enCasa & ~fondos;  // cards lying on another
  std::uint64_t e = kCuarenta & ~enCasa;
  for (;;) {
    std::uint64_t cubiertas = 0;  // covered by a card of e
    for (std::uint64_t b = e & encima; b; b &= b - 1)
      cubiertas |= Bit(debajo[static_cast<std::size_t>(__builtin_ctzll(b))]);
    const std::uint64_t atadas = TrasLaPrimera(e);
    // Places closed while e stays: covered by a card of it, or on two cards of it, or on
    // two cards with no bottom card left open to take it (a card lies on one card only
    // where it lies on a bottom card, and bottom cards stay).
    std::uint64_t cerrados = e & (cubiertas | terceras);
    const std::uint64_t fondosAbiertos = fondos & ~cubiertas & ~enCasa;
    for (std::uint64_t b = terceras & ~e; b; b &= b - 1) {
      const auto t = static_cast<std::size_t>(__builtin_ctzll(b));
      if (!(a.Toman[t] & fondosAbiertos)) cerrados |= Bit(t);
    }
    const std::uint64_t abiertos = ~enCasa & ~cerrados;
    std::uint64_t quedan = e & (cubiertas | (atadas & fondos));
    for (std::uint64_t b = e & atadas & ~quedan; b; b &= b - 1) {
      const auto c = static_cast<std::size_t>(__builtin_ctzll(b));
      const std::uint64_t sitios =
          a.Toman[c] & abiertos & ((a.Pareja >> c & 1) ? asientos : ~std::uint64_t{0});
      if (!sitios) quedan |= Bit(c);
    }
    if (quedan == e) return e;
    e = quedan;
  }
}
