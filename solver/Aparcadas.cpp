#include "solver/Aparcadas.h"

#include <array>
#include <bitset>
#include <utility>

namespace {

constexpr std::uint64_t kCuarenta = (std::uint64_t{1} << 40) - 1;
constexpr std::size_t kEstados = 11 * 11 * 11 * 11;

std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

struct TMesaVista {
  const TSinSalida* S;
  std::size_t Llena = 0;
  std::uint64_t Fondos = 0;  // the cards at the bottom of their piles
  std::uint64_t Bajas = 0;   // the cards low enough in their piles to take a card
  std::uint64_t Cartas = 0;  // the cards on the piles
  std::array<std::uint64_t, 40> Sobre{};    // per card on a pile, the cards above it now
  std::array<std::uint8_t, 40> Encima{};    // per card on a pile, how many lie above it
  std::array<std::uint64_t, 40> LaToman{};  // per card, the cards on the piles it takes
};

// One set H on the walk: the cards home, those that must have left their piles, the
// places they may lie on and a matching of them into those places.
struct TNivel {
  std::array<std::uint8_t, 4> K;  // per suit, the cards home
  std::uint64_t H;
  std::uint64_t Movidas;
  std::uint64_t Apoyos;   // the cards a moved card may lie on a card not home to take
  std::uint64_t Lugares;
  std::uint64_t Puestas;  // the cards of `Movidas` the matching lays
  std::array<std::int8_t, 40> Ocupa;  // per place, the card lying on it, or -1
  std::array<std::int8_t, 40> Donde;  // per card laid, its place, or -1
  std::array<std::uint8_t, 4> Orden;
  std::uint8_t Siguiente;
};

// Lays x on a free place of `n.Lugares`, moving cards already laid along an augmenting
// path (Kuhn's), one visit per place. False where there is no such path: then no matching
// of every card that must leave exists (a maximum one leaves x out).
bool Aumentar(const TSinSalida& s, TNivel& n, std::size_t x) {
  std::uint64_t vistos = 0;
  std::array<std::int8_t, 41> pila;
  std::array<std::uint64_t, 41> quedan;
  std::array<std::int8_t, 41> donde;
  std::size_t h = 0;
  pila[0] = static_cast<std::int8_t>(x);
  quedan[0] = s.Toman[x] & n.Lugares & ~Bit(x);
  while (true) {
    const std::uint64_t q = quedan[h] & ~vistos;
    if (!q) {
      if (h == 0) return false;
      --h;
      continue;
    }
    const auto z = static_cast<std::size_t>(__builtin_ctzll(q));
    vistos |= Bit(z);
    quedan[h] &= ~Bit(z);
    donde[h] = static_cast<std::int8_t>(z);
    if (n.Ocupa[z] < 0) {
      for (std::size_t i = 0; i <= h; ++i) {
        n.Ocupa[static_cast<std::size_t>(donde[i])] = pila[i];
        n.Donde[static_cast<std::size_t>(pila[i])] = donde[i];
      }
      n.Puestas |= Bit(x);
      return true;
    }
    const auto y = static_cast<std::size_t>(n.Ocupa[z]);
    ++h;
    pila[h] = static_cast<std::int8_t>(y);
    quedan[h] = s.Toman[y] & n.Lugares & ~Bit(y);
  }
}

// The cards a card that has moved may lie on once `h` is home: it lies on a card not home
// (with piles of three, on a bottom card not home), so it takes a card only where one of
// those takes it.
std::uint64_t Apoyos(const TMesaVista& v, std::uint64_t h) {
  std::uint64_t apoyos = 0;
  if (v.Llena >= 3) {
    const std::uint64_t fuera = v.Cartas & ~h;
    const std::uint64_t bases = v.Llena > 3 ? fuera : v.Fondos & fuera;
    for (std::uint64_t b = bases; b; b &= b - 1)
      apoyos |= v.LaToman[static_cast<std::size_t>(__builtin_ctzll(b))];
  }
  return apoyos;
}

// `n` as its parent `p` with card c sent home. The places then: a card not home that has
// not moved and lies below the last place, or one that may lie on a card and take one.
// The matching is carried over, the pairs whose card went home or whose place is gone
// dropped, then one augmenting path per card left without a place. Whether every card
// that must leave finds room.
bool Paso(const TMesaVista& v, const TNivel& p, TNivel& n, std::size_t c) {
  n.H = p.H | Bit(c);
  n.Movidas = (p.Movidas | v.Sobre[c]) & ~n.H;
  // Only a bottom card sent home (or, on deeper piles, any card) takes places away.
  n.Apoyos = v.Llena > 3 || (v.Fondos & Bit(c)) ? Apoyos(v, n.H) : p.Apoyos;
  const std::uint64_t fuera = v.Cartas & ~n.H;
  n.Lugares = fuera & ((v.Bajas & ~n.Movidas) | n.Apoyos);
  n.Ocupa = p.Ocupa;
  n.Donde = p.Donde;
  n.Puestas = p.Puestas;
  for (std::uint64_t b = p.Lugares & ~n.Lugares; b; b &= b - 1) {
    const auto z = static_cast<std::size_t>(__builtin_ctzll(b));
    const std::int8_t x = n.Ocupa[z];
    if (x < 0) continue;
    n.Ocupa[z] = -1;
    n.Donde[static_cast<std::size_t>(x)] = -1;
    n.Puestas &= ~Bit(static_cast<std::size_t>(x));
  }
  if (n.Puestas & Bit(c)) {  // home now, it leaves its place
    n.Ocupa[static_cast<std::size_t>(n.Donde[c])] = -1;
    n.Donde[c] = -1;
    n.Puestas &= ~Bit(c);
  }
  for (std::uint64_t b = n.Movidas & ~n.Puestas; b; b &= b - 1)
    if (!Aumentar(*v.S, n, static_cast<std::size_t>(__builtin_ctzll(b)))) return false;
  return true;
}

}  // namespace

bool FaltaSitio(const TSinSalida& s, const TPilaVista* pilas, std::size_t n,
                std::uint64_t enCasa, std::uint64_t limite, std::uint64_t* estados,
                TCadenaSitio* cadena) {
  if (!s.Posible || n == 0) return false;
  TMesaVista v{&s};
  for (std::size_t i = 0; i < n; ++i) {
    const TPilaVista& p = pilas[i];
    if (p.Llena < 2 || (v.Llena && p.Llena != v.Llena) || p.Cuenta == 0 || p.Cuenta > p.Llena)
      return false;
    v.Llena = p.Llena;
    std::uint64_t encima = 0;
    for (std::size_t j = p.Cuenta; j-- > 0;) {
      const std::size_t id = p.Cartas[j] & 0x3F;
      if (id >= 40) return false;
      v.Sobre[id] = encima;
      v.Encima[id] = static_cast<std::uint8_t>(p.Cuenta - 1 - j);
      encima |= Bit(id);
      if (j + 2 <= p.Llena) v.Bajas |= Bit(id);
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
  for (std::uint64_t b = v.Cartas; b; b &= b - 1) {
    const auto z = static_cast<std::size_t>(__builtin_ctzll(b));
    for (std::uint64_t t = s.Toman[z] & v.Cartas; t; t &= t - 1)
      v.LaToman[static_cast<std::size_t>(__builtin_ctzll(t))] |= Bit(z);
  }
  // Depth first over the sets with room, each looked at once.
  std::bitset<kEstados> visto;
  std::array<TNivel, 41> pila;
  std::size_t h = 0;
  auto indice = [](const std::array<std::uint8_t, 4>& k) {
    return static_cast<std::size_t>(k[0] + 11 * (k[1] + 11 * (k[2] + 11 * k[3])));
  };
  // A move adds one card of one suit: first in the order of the last chain found (a
  // position searched next differs little from the last one), then those with fewer cards
  // on them now (a line sends home soonest the cards least covered).
  const bool conCadena = cadena && cadena->Hay;
  auto ordenar = [&](TNivel& nv) {
    auto& o = nv.Orden;
    std::array<std::uint16_t, 4> peso{};
    for (std::uint8_t palo = 0; palo < 4; ++palo) {
      o[palo] = palo;
      const std::uint8_t k = nv.K[palo];
      const std::size_t c = 10u * palo + k;
      peso[palo] = k == 10 ? 0xFFFF
                           : static_cast<std::uint16_t>((conCadena ? cadena->Puesto[c] : 0) * 64 +
                                                        v.Encima[c]);
    }
    for (std::size_t i = 1; i < 4; ++i)
      for (std::size_t j = i; j > 0 && peso[o[j]] < peso[o[j - 1]]; --j) std::swap(o[j], o[j - 1]);
    nv.Siguiente = 0;
  };
  {
    TNivel& cero = pila[0];
    cero.K = desde;
    cero.H = enCasa & kCuarenta;
    cero.Movidas = 0;  // the cards home now lie on no pile
    cero.Apoyos = Apoyos(v, cero.H);
    cero.Lugares = 0;
    cero.Puestas = 0;
    cero.Ocupa.fill(-1);
    cero.Donde.fill(-1);
    ordenar(cero);
  }
  visto.set(indice(desde));
  std::uint64_t mirados = 0;
  bool llega = false;
  while (true) {
    TNivel& nv = pila[h];
    const auto& k = nv.K;
    if (k[0] == 10 && k[1] == 10 && k[2] == 10 && k[3] == 10) {
      llega = true;
      break;
    }
    bool baja = false;
    while (nv.Siguiente < 4) {
      const std::size_t palo = nv.Orden[nv.Siguiente++];
      if (k[palo] == 10) continue;
      std::array<std::uint8_t, 4> otro = k;
      ++otro[palo];
      const std::size_t i = indice(otro);
      if (visto[i]) continue;
      visto.set(i);
      if (++mirados > limite) {
        if (estados) *estados += mirados;
        return false;
      }
      TNivel& hijo = pila[h + 1];
      hijo.K = otro;
      if (!Paso(v, nv, hijo, 10 * palo + k[palo])) continue;
      ++h;
      ordenar(hijo);
      baja = true;
      break;
    }
    if (baja) continue;
    if (h == 0) break;
    --h;
  }
  if (estados) *estados += mirados;
  if (llega && cadena) {
    // The chain found: per card, the step that sent it home.
    cadena->Puesto.fill(0);
    for (std::size_t j = 1; j <= h; ++j) {
      const std::uint64_t nueva = pila[j].H & ~pila[j - 1].H;
      cadena->Puesto[static_cast<std::size_t>(__builtin_ctzll(nueva))] = static_cast<std::uint8_t>(j);
    }
    cadena->Hay = true;
  }
  return !llega;
}
