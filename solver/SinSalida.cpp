#include "solver/SinSalida.h"

#include <algorithm>

namespace {

constexpr std::uint64_t kCuarenta = (std::uint64_t{1} << 40) - 1;
constexpr std::uint64_t kAses = 1 | (1 << 10) | (std::uint64_t{1} << 20) | (std::uint64_t{1} << 30);

std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

}  // namespace

TSinSalida PrepararSinSalida(const TMesa& m, const TReglasComoDatos& reglas,
                             const TGanchosComoDatos* ganchos) {
  TSinSalida s;
  if (TieneLlamadas(m)) return s;
  if (m.Mazo && (m.Mazo->CartasMazo > 0 || !m.Mazo->Destinos.empty())) return s;
  const bool apilaPorDatos = m.PuedeApilar == ApilarPorReglas;
  const bool vaciaPorDatos = m.PuedeOcuparVacia == OcuparPorReglas && m.PuedeFundar == FundarPorReglas;
  if ((!apilaPorDatos && !(ganchos && ganchos->Apila)) ||
      (!vaciaPorDatos && !(ganchos && ganchos->Vacia)))
    return s;
  const std::size_t grupos = m.Grupos.size();
  auto apila = [&](std::size_t g, std::size_t x) {
    return apilaPorDatos ? reglas.Apila[g][x] : ganchos->ApilaGanchos[g][x];
  };
  auto vacia = [&](std::size_t g) { return vaciaPorDatos ? reglas.Vacia[g] : ganchos->VaciaGanchos[g]; };
  std::uint64_t bases = 0;
  for (std::size_t g = 0; g < grupos; ++g) {
    const TGrupo& grupo = *m.Grupos[g];
    // Only single cards move.
    if (apilaPorDatos ? grupo.VariasCartas : ganchos->ApilaTramos[g]) return s;
    if (vaciaPorDatos ? grupo.VariasCartas : ganchos->VaciaTramos[g]) return s;
    // Nothing leaves a foundation.
    for (const TGrupo* o : grupo.Origenes)
      if (o->EsFundacion) return s;
    if (!grupo.EsFundacion) {
      // An empty pile off the foundations takes nothing.
      if (vacia(g) & kCuarenta) return s;
      continue;
    }
    // A foundation holds its suit from the As up, one card on the next: empty it takes an
    // As; on each card but the Rey, at most the next of its suit; full with the ten, nothing.
    const std::uint64_t base = vacia(g) & kCuarenta;
    if (base & ~kAses) return s;
    bases |= base;
    if (grupo.Capacidad != 10) return s;
    const bool llenaNada = apilaPorDatos || !ganchos->LlenaToma[g];
    for (std::size_t x = 0; x < 40; ++x) {
      const std::uint64_t sobre = apila(g, x) & kCuarenta;
      if (x % 10 == 9 ? sobre && !llenaNada : (sobre & ~Bit(x + 1)) != 0) return s;
    }
  }
  // Each suit can go home: a win is the forty cards home.
  if (bases != kAses) return s;
  for (std::size_t g = 0; g < grupos; ++g) {
    if (m.Grupos[g]->EsFundacion) continue;
    for (std::size_t x = 0; x < 40; ++x) {
      s.Toma[x] |= apila(g, x) & kCuarenta;
      for (std::uint64_t b = apila(g, x) & kCuarenta; b; b &= b - 1)
        s.Toman[static_cast<std::size_t>(__builtin_ctzll(b))] |= Bit(x);
    }
  }
  s.Posible = true;
  return s;
}

namespace {

// What a position's piles tell: per card on a pile, the cards under it; per place from
// the bottom, the cards there; and the cards that may ever take a card, with those that
// may ever be moved onto another pile.
struct TLugares {
  std::array<std::uint64_t, 40> Debajo{};
  std::uint64_t Tapan = 0;   // cards with a card under them
  std::uint64_t Toman = 0;
  std::uint64_t Mueven = 0;
};

// False where the piles' counts at which they take nothing differ, or some pile has none.
bool Leer(const TSinSalida& s, const TPilaVista* pilas, std::size_t n, std::uint64_t fuera,
          TLugares& l) {
  // Empty piles take nothing, so a pile's bottom card stays until it leaves for good,
  // and a card takes another only in a place below the last of a pile that full takes
  // nothing: on the bottom card, or on a card that lies on one, and so on. Those places
  // are all any card can ever be taken in.
  std::size_t llena = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (pilas[i].Llena < 2 || (llena && pilas[i].Llena != llena) || pilas[i].Cuenta > pilas[i].Llena)
      return false;
    llena = pilas[i].Llena;
  }
  std::array<std::uint64_t, 256> enLugar;
  std::fill_n(enLugar.begin(), llena, 0);
  for (std::size_t i = 0; i < n; ++i) {
    const TPilaVista& p = pilas[i];
    std::uint64_t bajo = 0;
    for (std::size_t j = 0; j < p.Cuenta; ++j) {
      const std::size_t id = p.Cartas[j] & 0x3F;
      l.Debajo[id] = bajo;
      if (bajo) l.Tapan |= Bit(id);
      enLugar[j] |= Bit(id);
      bajo |= Bit(id);
    }
  }
  // The cards that may ever be moved onto another pile, fewest first: a card is moved
  // onto one that lies, then, in a place that takes cards, and was there from now on or
  // was moved there before. By induction on the moves of any line, each card it moves
  // off the foundations is among them, and each card that takes one among `Toman`.
  for (bool cambio = true; cambio;) {
    cambio = false;
    std::uint64_t toman = 0;
    std::uint64_t nivel = enLugar[0];
    for (std::size_t j = 0; j + 2 <= llena; ++j) {
      toman |= nivel;
      std::uint64_t llegan = 0;  // moved there onto a card of the place below
      if (j + 2 < llena)
        for (std::uint64_t b = l.Mueven; b; b &= b - 1) {
          const auto z = static_cast<std::size_t>(__builtin_ctzll(b));
          if (s.Toman[z] & nivel & fuera) llegan |= Bit(z);
        }
      nivel = enLugar[j + 1] | llegan;
    }
    l.Toman = toman & fuera;
    for (std::uint64_t b = fuera & ~l.Mueven; b; b &= b - 1) {
      const auto y = static_cast<std::size_t>(__builtin_ctzll(b));
      if (s.Toman[y] & l.Toman & ~l.Debajo[y]) {
        l.Mueven |= Bit(y);
        cambio = true;
      }
    }
  }
  return true;
}

}  // namespace

bool SinSalida(const TSinSalida& s, const TPilaVista* pilas, std::size_t n, std::uint64_t enCasa,
               std::uint64_t* nuncaToman) {
  const std::uint64_t fuera = kCuarenta & ~enCasa;
  TLugares l;
  if (nuncaToman) *nuncaToman = 0;
  if (!Leer(s, pilas, n, fuera, l)) return false;
  if (nuncaToman) *nuncaToman = fuera & ~l.Toman;
  const auto& debajo = l.Debajo;
  const std::uint64_t mueven = l.Mueven;
  const std::uint64_t tapan = l.Tapan;
  // Cards with cards under them that only ever leave for home.
  const std::uint64_t quietas = fuera & tapan & ~mueven;
  if (!quietas) return false;
  // A card under one of those goes home after it; each suit goes home in order. The
  // cards are sent home in an order that keeps both, the lowest of each suit only when no
  // such card still lies on it: where none can go, those orders go round in a circle.
  std::array<std::uint64_t, 40> encima{};  // per card, those of them above it
  for (std::uint64_t b = quietas; b; b &= b - 1) {
    const auto y = static_cast<std::size_t>(__builtin_ctzll(b));
    for (std::uint64_t d = debajo[y] & fuera; d; d &= d - 1)
      encima[static_cast<std::size_t>(__builtin_ctzll(d))] |= Bit(y);
  }
  std::uint64_t quedan = fuera;
  while (quedan) {
    bool avanza = false;
    for (std::size_t palo = 0; palo < 4; ++palo) {
      for (;;) {
        const std::uint64_t delPalo = quedan & (std::uint64_t{0x3FF} << (10 * palo));
        if (!delPalo) break;
        const auto c = static_cast<std::size_t>(__builtin_ctzll(delPalo));
        if (encima[c] & quedan) break;
        quedan &= ~Bit(c);
        avanza = true;
      }
    }
    if (!avanza) return true;
  }
  return false;
}
