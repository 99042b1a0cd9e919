#include "solver/Sitio.h"

#include <array>
#include <bitset>
#include <utility>

namespace {

constexpr std::uint64_t kCuarenta = (std::uint64_t{1} << 40) - 1;
constexpr std::size_t kEstados = 11 * 11 * 11 * 11;

std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

struct TMesaVista {
  const TSinSalida* S;
  const TPilaVista* Pilas;
  std::size_t N;
  std::size_t Llena;
  std::uint64_t Fondos;  // the cards at the bottom of their piles
  std::array<std::uint8_t, 40> Lugar{};  // per card on a pile, its place from the bottom
  std::array<std::uint8_t, 40> Encima{};  // per card on a pile, the cards above it now
  std::uint64_t Cartas = 0;  // the cards on the piles
};

// Whether every card in `m` can lie on its own card of `lugares`: Kuhn's augmenting paths.
bool Colocar(const TSinSalida& s, std::uint64_t m, std::uint64_t lugares) {
  std::array<std::int8_t, 40> ocupa;  // per place, the card lying on it, or -1
  ocupa.fill(-1);
  for (std::uint64_t b = m; b; b &= b - 1) {
    const auto x = static_cast<std::size_t>(__builtin_ctzll(b));
    // Depth-first search for a path that frees a place for x, one visit per place.
    std::uint64_t vistos = 0;
    std::array<std::int8_t, 41> pila;
    std::array<std::uint64_t, 41> quedan;
    std::array<std::int8_t, 41> donde;
    std::size_t h = 0;
    pila[0] = static_cast<std::int8_t>(x);
    quedan[0] = s.Toman[x] & lugares & ~Bit(x);
    bool hallado = false;
    while (true) {
      const std::uint64_t q = quedan[h] & ~vistos;
      if (!q) {
        if (h == 0) break;
        --h;
        continue;
      }
      const auto z = static_cast<std::size_t>(__builtin_ctzll(q));
      vistos |= Bit(z);
      quedan[h] &= ~Bit(z);
      donde[h] = static_cast<std::int8_t>(z);
      if (ocupa[z] < 0) {
        for (std::size_t i = 0; i <= h; ++i) ocupa[static_cast<std::size_t>(donde[i])] = pila[i];
        hallado = true;
        break;
      }
      const auto y = static_cast<std::size_t>(ocupa[z]);
      ++h;
      pila[h] = static_cast<std::int8_t>(y);
      quedan[h] = s.Toman[y] & lugares & ~Bit(y);
    }
    if (!hallado) return false;
  }
  return true;
}

// Whether the cards that must have left their piles once `h` is home find room at once.
bool HaySitio(const TMesaVista& v, std::uint64_t h) {
  std::uint64_t movidas = 0;
  for (std::size_t i = 0; i < v.N; ++i) {
    const TPilaVista& p = v.Pilas[i];
    bool bajo = false;
    for (std::size_t j = 0; j < p.Cuenta; ++j) {
      const std::uint64_t c = Bit(p.Cartas[j] & 0x3F);
      if (c & h)
        bajo = true;
      else if (bajo)
        movidas |= c;
    }
  }
  if (!movidas) return true;
  const TSinSalida& s = *v.S;
  const std::uint64_t fuera = v.Cartas & ~h;
  std::uint64_t lugares = 0;
  for (std::uint64_t b = fuera; b; b &= b - 1) {
    const auto z = static_cast<std::size_t>(__builtin_ctzll(b));
    const bool quieta = !(movidas & Bit(z)) && v.Lugar[z] + 2u <= v.Llena;
    // Moved, it lies on a card: with piles of three, on a bottom card not home.
    const bool movida = v.Llena > 3 ? (s.Toman[z] & fuera) != 0
                                    : v.Llena == 3 && (s.Toman[z] & v.Fondos & fuera) != 0;
    if (quieta || movida) lugares |= Bit(z);
  }
  return Colocar(s, movidas, lugares);
}

}  // namespace

bool FaltaSitio(const TSinSalida& s, const TPilaVista* pilas, std::size_t n,
                std::uint64_t enCasa, std::uint64_t limite, std::uint64_t* estados) {
  if (!s.Posible || n == 0) return false;
  TMesaVista v{&s, pilas, n, 0, 0};
  for (std::size_t i = 0; i < n; ++i) {
    const TPilaVista& p = pilas[i];
    if (p.Llena < 2 || (v.Llena && p.Llena != v.Llena) || p.Cuenta == 0 || p.Cuenta > p.Llena)
      return false;
    v.Llena = p.Llena;
    for (std::size_t j = 0; j < p.Cuenta; ++j) {
      const std::size_t id = p.Cartas[j] & 0x3F;
      if (id >= 40) return false;
      v.Lugar[id] = static_cast<std::uint8_t>(j);
      v.Encima[id] = static_cast<std::uint8_t>(p.Cuenta - 1 - j);
      v.Cartas |= Bit(id);
      if (j == 0) v.Fondos |= Bit(id);
    }
  }
  // Each suit home from its As: a set H is how many of each suit are home.
  std::array<std::uint8_t, 4> desde{};
  for (std::size_t palo = 0; palo < 4; ++palo) {
    const std::uint64_t delPalo = enCasa >> (10 * palo) & 0x3FF;
    if (delPalo & (delPalo + 1)) return false;  // not a run from the As
    desde[palo] = static_cast<std::uint8_t>(__builtin_popcountll(delPalo));
  }
  if ((v.Cartas | (enCasa & kCuarenta)) != kCuarenta || (v.Cartas & enCasa)) return false;
  // Depth first over the sets with room, each looked at once.
  std::bitset<kEstados> visto;
  std::array<std::array<std::uint8_t, 4>, 41> pila;
  std::size_t h = 0;
  pila[0] = desde;
  auto indice = [](const std::array<std::uint8_t, 4>& k) {
    return static_cast<std::size_t>(k[0] + 11 * (k[1] + 11 * (k[2] + 11 * k[3])));
  };
  visto.set(indice(desde));
  std::uint64_t mirados = 0;
  bool llega = false;
  // Every set on the stack had room; a move adds one card of one suit, those with fewer
  // cards on them now first (a line sends home soonest the cards least covered).
  std::array<std::uint8_t, 41> siguiente{};
  std::array<std::array<std::uint8_t, 4>, 41> orden;
  auto ordenar = [&](std::size_t nivel) {
    auto& o = orden[nivel];
    std::array<std::uint8_t, 4> peso{};
    for (std::uint8_t palo = 0; palo < 4; ++palo) {
      o[palo] = palo;
      const std::uint8_t k = pila[nivel][palo];
      peso[palo] = k == 10 ? 255 : v.Encima[10 * palo + k];
    }
    for (std::size_t i = 1; i < 4; ++i)
      for (std::size_t j = i; j > 0 && peso[o[j]] < peso[o[j - 1]]; --j) std::swap(o[j], o[j - 1]);
  };
  ordenar(0);
  while (true) {
    const auto& k = pila[h];
    if (k[0] == 10 && k[1] == 10 && k[2] == 10 && k[3] == 10) {
      llega = true;
      break;
    }
    bool baja = false;
    while (siguiente[h] < 4) {
      const std::size_t palo = orden[h][siguiente[h]++];
      if (k[palo] == 10) continue;
      std::array<std::uint8_t, 4> otro = k;
      ++otro[palo];
      const std::size_t i = indice(otro);
      if (visto[i]) continue;
      visto.set(i);
      std::uint64_t hm = 0;
      for (std::size_t p = 0; p < 4; ++p)
        hm |= ((std::uint64_t{1} << otro[p]) - 1) << (10 * p);
      if (++mirados > limite) {
        if (estados) *estados += mirados;
        return false;
      }
      if (!HaySitio(v, hm)) continue;
      ++h;
      pila[h] = otro;
      siguiente[h] = 0;
      ordenar(h);
      baja = true;
      break;
    }
    if (baja) continue;
    if (h == 0) break;
    --h;
  }
  if (estados) *estados += mirados;
  return !llega;
}
