#include "solver/Aparcadas.h"

#include <array>
#include <utility>

namespace {

constexpr std::uint64_t kCuarenta = (std::uint64_t{1} << 40) - 1;
constexpr std::size_t kEstados = 11 * 11 * 11 * 11;

std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

struct TMesaVista {
  const TSinSalida* S = nullptr;
  std::size_t Llena = 0;
  std::uint64_t Fondos = 0;  // the cards at the bottom of their piles
  std::uint64_t Bajas = 0;   // the cards low enough in their piles to take a card
  std::uint64_t Cartas = 0;  // the cards on the piles
  std::array<std::uint64_t, 40> Sobre{};    // per card on a pile, the cards above it now
  std::array<std::uint8_t, 40> Encima{};    // per card on a pile, how many lie above it
  std::array<std::uint64_t, 40> LaToman{};  // per card, the cards on the piles it takes
  std::array<std::uint64_t, 40> Bajo{};     // per card on a pile, the card under it now (as a bit)
  // Piles of three: per card, the bottom card of its pile now, and the bottom cards whose
  // pile it could lie in having moved (on the bottom card, or on a card that lies on it).
  bool Fuerte = false;  // every card laid, not only those that must have moved
  // Filled only where read (ConRaices): most readings are not, and are made at nearly
  // every position of some deals.
  bool ConRaices = false;
  std::array<std::uint64_t, 40> Raiz;
  std::array<std::uint64_t, 40> Raices;
};

// One set H on the walk: the cards home, those that must have left their piles, the
// places they may lie on and a matching of them into those places.
struct TNivel {
  std::array<std::uint8_t, 4> K;  // per suit, the cards home
  std::uint64_t H;
  std::uint64_t Movidas;
  std::uint64_t Apoyos;   // the cards a moved card may lie on a card not home to take
  std::uint64_t Lugares;
  std::uint64_t Puestas;  // the cards the matching lays
  std::array<std::int8_t, 40> Ocupa;  // per place, the card lying on it, or -1
  std::array<std::int8_t, 40> Donde;  // per card laid, its place, or -1
  std::array<std::int8_t, 40> RaizDe;             // per card, the bottom card of its pile, or -1
  std::array<std::array<std::int8_t, 2>, 40> En;  // per bottom card, the cards in its pile
  std::array<std::uint8_t, 4> Orden;
  std::uint8_t Siguiente;
  std::uint16_t Indice;  // of K among the sets, for the sets seen
};

// A card's places: those that take it and, where it need not have moved, the card under it now.
std::uint64_t Destinos(const TMesaVista& v, const TNivel& n, std::size_t x) {
  const std::uint64_t quieta = (n.Movidas >> x & 1) ? 0 : v.Bajo[x];
  return ((v.S->Toman[x] & n.Lugares) | quieta) & ~Bit(x);
}

// Lays x on a free place of `n.Lugares`, moving cards already laid along an augmenting
// path (Kuhn's), one visit per place. False where there is no such path: then no matching
// of every card that must leave exists (a maximum one leaves x out).
bool Aumentar(const TMesaVista& v, TNivel& n, std::size_t x) {
  std::uint64_t vistos = 0;
  std::array<std::int8_t, 41> pila;
  std::array<std::uint64_t, 41> quedan;
  std::array<std::int8_t, 41> donde;
  std::size_t h = 0;
  pila[0] = static_cast<std::int8_t>(x);
  quedan[0] = Destinos(v, n, x);
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
    quedan[h] = Destinos(v, n, y);
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

// On piles of three, every pile keeps the bottom card it has now until that card goes
// home (no empty pile takes a card), and holds at most two cards on it. At the moment H,
// every card not home but those at the bottom now lies in the pile of a bottom card not
// home: its own, where it need not have moved, or one it could lie in having moved. Where
// no assignment gives each such bottom card at most two of them, no line passes through H.
// The assignment is carried along the walk as the matching is.
std::uint64_t Raices(const TMesaVista& v, std::uint64_t h, std::uint64_t movidas, std::size_t x) {
  return (v.Raices[x] & v.Fondos & ~h) | ((movidas >> x & 1) ? 0 : v.Raiz[x]);
}

// Kuhn's augmenting paths, each bottom card taking two.
bool Arraigar(const TMesaVista& v, TNivel& n, std::size_t x, std::uint64_t& vistas) {
  for (std::uint64_t q = Raices(v, n.H, n.Movidas, x) & ~vistas; q; q &= q - 1) {
    const auto r = static_cast<std::size_t>(__builtin_ctzll(q));
    if (vistas >> r & 1) continue;
    vistas |= Bit(r);
    for (std::size_t k = 0; k < 2; ++k) {
      const std::int8_t y = n.En[r][k];
      if (y < 0 || Arraigar(v, n, static_cast<std::size_t>(y), vistas)) {
        n.En[r][k] = static_cast<std::int8_t>(x);
        n.RaizDe[x] = static_cast<std::int8_t>(r);
        return true;
      }
    }
  }
  return false;
}

bool Arraigan(const TMesaVista& v, const TNivel& p, TNivel& n, std::size_t c) {
  n.RaizDe = p.RaizDe;
  n.En = p.En;
  auto soltar = [&n](std::size_t x) {
    auto& en = n.En[static_cast<std::size_t>(n.RaizDe[x])];
    (en[0] == static_cast<std::int8_t>(x) ? en[0] : en[1]) = -1;
    n.RaizDe[x] = -1;
  };
  if (n.RaizDe[c] >= 0) soltar(c);
  for (const std::int8_t y : n.En[c])  // a bottom card gone home leaves its pile's cards
    if (y >= 0) n.RaizDe[static_cast<std::size_t>(y)] = -1;
  n.En[c] = {-1, -1};
  for (std::uint64_t b = n.Movidas & ~p.Movidas; b; b &= b - 1) {
    const auto x = static_cast<std::size_t>(__builtin_ctzll(b));
    if (n.RaizDe[x] >= 0 && !(Raices(v, n.H, n.Movidas, x) >> n.RaizDe[x] & 1)) soltar(x);
  }
  for (std::uint64_t b = v.Cartas & ~v.Fondos & ~n.H; b; b &= b - 1) {
    const auto x = static_cast<std::size_t>(__builtin_ctzll(b));
    if (n.RaizDe[x] >= 0) continue;
    std::uint64_t vistas = 0;
    if (!Arraigar(v, n, x, vistas)) return false;
  }
  return true;
}

// `n` as its parent `p` with card c sent home. The places then: a card not home that has
// not moved and lies below the last place, or one that may lie on a card and take one.
// Read `fuerte`, every card not home but those at the bottom now lies on one card, each
// card under at most one: where it need not have moved, on the card under it now, else on
// a place that takes it; else only those that must have moved. The matching is carried
// over, the pairs whose card went home, whose place is gone, or whose card must now have
// left the card under it dropped, then one augmenting path per card left without a place.
// Whether every card finds room, and, with piles of three read `fuerte`, a pile.
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
  auto soltar = [&n](std::size_t x) {
    n.Ocupa[static_cast<std::size_t>(n.Donde[x])] = -1;
    n.Donde[x] = -1;
    n.Puestas &= ~Bit(x);
  };
  for (std::uint64_t b = p.Lugares & ~n.Lugares; b; b &= b - 1) {
    const std::int8_t x = n.Ocupa[static_cast<std::size_t>(__builtin_ctzll(b))];
    if (x >= 0) soltar(static_cast<std::size_t>(x));
  }
  if (n.Puestas & Bit(c)) soltar(c);  // home now, it leaves its place
  for (std::uint64_t b = n.Movidas & ~p.Movidas & n.Puestas; b; b &= b - 1) {
    const auto x = static_cast<std::size_t>(__builtin_ctzll(b));
    if (!(Destinos(v, n, x) & Bit(static_cast<std::size_t>(n.Donde[x])))) soltar(x);
  }
  for (std::uint64_t b = (v.Fuerte ? fuera & ~v.Fondos : n.Movidas) & ~n.Puestas; b; b &= b - 1)
    if (!Aumentar(v, n, static_cast<std::size_t>(__builtin_ctzll(b)))) return false;
  return !v.ConRaices || Arraigan(v, p, n, c);
}

}  // namespace

bool FaltaSitio(const TSinSalida& s, const TPilaVista* pilas, std::size_t n,
                std::uint64_t enCasa, bool fuerte, std::uint64_t limite, std::uint64_t* estados,
                TCadenaSitio* cadena) {
  if (!s.Posible || n == 0) return false;
  TMesaVista v;
  v.S = &s;
  v.Fuerte = fuerte;
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
      if (j > 0) v.Bajo[id] = Bit(p.Cartas[j - 1] & 0x3F);
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
  for (std::size_t z = 0; z < 40; ++z) v.LaToman[z] = (v.Cartas >> z & 1) ? s.Toma[z] & v.Cartas : 0;
  if (v.Fuerte && v.Llena == 3) {
    v.ConRaices = true;
    v.Raiz.fill(0);
    v.Raices.fill(0);
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t fondo = pilas[i].Cartas[0] & 0x3F;
      // What lies on the bottom card: a card it takes, or the one on it now.
      std::uint64_t primeras = v.LaToman[fondo];
      if (pilas[i].Cuenta > 1) primeras |= Bit(pilas[i].Cartas[1] & 0x3F);
      std::uint64_t segundas = 0;
      for (std::uint64_t b = primeras; b; b &= b - 1)
        segundas |= v.LaToman[static_cast<std::size_t>(__builtin_ctzll(b))];
      for (std::uint64_t b = (primeras | segundas) & v.Cartas & ~Bit(fondo); b; b &= b - 1)
        v.Raices[static_cast<std::size_t>(__builtin_ctzll(b))] |= Bit(fondo);
      for (std::size_t j = 1; j < pilas[i].Cuenta; ++j) v.Raiz[pilas[i].Cartas[j] & 0x3F] = Bit(fondo);
    }
  }
  // Depth first over the sets with room, each looked at once.
  std::array<std::uint64_t, (kEstados + 63) / 64> visto{};
  std::array<TNivel, 41> pila;
  std::size_t h = 0;
  constexpr std::array<std::uint16_t, 4> kPaso{1, 11, 121, 1331};  // a card more of each suit
  // A move adds one card of one suit: first in the order of the last chain found (a
  // position searched next differs little from the last one), then those with fewer cards
  // on them now (a line sends home soonest the cards least covered).
  const bool conCadena = cadena && cadena->Hay;
  std::array<std::uint16_t, 40> pesoDe;  // per card, its place in that order
  for (std::size_t c = 0; c < 40; ++c)
    pesoDe[c] = static_cast<std::uint16_t>((conCadena ? cadena->Puesto[c] : 0) * 64 + v.Encima[c]);
  auto ordenar = [&](TNivel& nv) {
    auto& o = nv.Orden;
    std::array<std::uint16_t, 4> peso{};
    for (std::uint8_t palo = 0; palo < 4; ++palo) {
      o[palo] = palo;
      const std::uint8_t k = nv.K[palo];
      peso[palo] = k == 10 ? 0xFFFF : pesoDe[10u * palo + k];
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
    cero.Lugares = v.Cartas & (v.Bajas | cero.Apoyos);
    cero.Ocupa.fill(-1);
    cero.Donde.fill(-1);
    // Read `fuerte`, every card lies now on the card under it.
    cero.Puestas = v.Fuerte ? v.Cartas & ~v.Fondos : 0;
    for (std::uint64_t b = cero.Puestas; b; b &= b - 1) {
      const auto x = static_cast<std::size_t>(__builtin_ctzll(b));
      const auto z = static_cast<std::size_t>(__builtin_ctzll(v.Bajo[x]));
      cero.Ocupa[z] = static_cast<std::int8_t>(x);
      cero.Donde[x] = static_cast<std::int8_t>(z);
    }
    cero.RaizDe.fill(-1);
    for (auto& en : cero.En) en = {-1, -1};
    if (v.ConRaices)
      for (std::uint64_t b = v.Cartas & ~v.Fondos; b; b &= b - 1) {
        const auto x = static_cast<std::size_t>(__builtin_ctzll(b));
        const auto r = static_cast<std::size_t>(__builtin_ctzll(v.Raiz[x]));
        (cero.En[r][0] < 0 ? cero.En[r][0] : cero.En[r][1]) = static_cast<std::int8_t>(x);
        cero.RaizDe[x] = static_cast<std::int8_t>(r);
      }
    cero.Indice = static_cast<std::uint16_t>(desde[0] + 11 * (desde[1] + 11 * (desde[2] + 11 * desde[3])));
    ordenar(cero);
    visto[cero.Indice / 64] |= Bit(cero.Indice % 64);
  }
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
      const std::size_t i = nv.Indice + kPaso[palo];
      if (visto[i / 64] >> (i % 64) & 1) continue;
      visto[i / 64] |= Bit(i % 64);
      if (++mirados > limite) {
        if (estados) *estados += mirados;
        return false;
      }
      TNivel& hijo = pila[h + 1];
      hijo.K = k;
      ++hijo.K[palo];
      hijo.Indice = static_cast<std::uint16_t>(i);
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
