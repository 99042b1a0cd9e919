#include "solver/Asientos.h"

#include "solver/Sonda.h"

namespace {

std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

// The cards of one rank, as bits by IdCarta.
std::uint64_t DelNumero(std::size_t id) {
  std::uint64_t r = 0;
  for (std::size_t palo = 0; palo < 4; ++palo) r |= Bit(palo * 10 + id % 10);
  return r;
}

}  // namespace

TAsientos LeerAsientos(TMesa& m, const TReglasComoDatos& reglas, const TSinSalida& s) {
  TAsientos a;
  if (!s.Posible) return a;
  const TOrdenEnCasa orden = LeerOrdenEnCasa(m, reglas);
  if (!orden.TodasCaben) return a;
  // Every suit goes home in order from its As: the reading counts on the first card of
  // the class home needing its suit's lower cards home first.
  for (std::size_t id = 0; id < 40; ++id)
    if (orden.Antes[id] != ((Bit(id) - 1) & ~(Bit(id - id % 10) - 1))) return a;
  std::uint64_t clase = 0;
  for (std::size_t id = 0; id < 40; ++id)
    if (s.Toman[id] && (s.Toman[id] & ~DelNumero(id)) == 0) clase |= Bit(id);
  if (!clase) return a;
  // Every pile off the foundations holds three at most, and one holding two cards of the
  // class, from any group, takes no third.
  TSonda sonda(m);
  for (TGrupo* g : m.Grupos) {
    if (g->EsFundacion) continue;
    if (g->Capacidad > 3) return a;
    sonda.Destino.Grupo = g;
    for (std::uint64_t b = clase; b; b &= b - 1)
      for (std::uint64_t t = clase & ~(b & -b); t; t &= t - 1)
        for (std::uint64_t c = clase & ~(b & -b) & ~(t & -t); c; c &= c - 1) {
          TCarta* carta = sonda.Cartas[static_cast<std::size_t>(__builtin_ctzll(c))].get();
          TSonda::Poner(sonda.Destino,
                        {sonda.Cartas[static_cast<std::size_t>(__builtin_ctzll(b))].get(),
                         sonda.Cartas[static_cast<std::size_t>(__builtin_ctzll(t))].get()});
          for (TGrupo* o : m.Grupos) {
            sonda.Origen.Grupo = o;
            TSonda::Poner(sonda.Origen, {carta});
            if (m.PuedeApilar(*carta, sonda.Destino)) return a;
          }
        }
  }
  a.Posible = true;
  a.Clase = clase;
  a.Antes = orden.Antes;
  return a;
}

bool FaltanAsientos(const TAsientos& a, const TPilaVista* pilas, std::size_t n) {
  std::array<std::uint64_t, 40> bajo{};  // per card of the class on a pile, the cards under it
  std::uint64_t deben = 0;     // those over a card they need home first
  std::uint64_t asientos = 0;  // those that could take one: at most one card under, none of the class
  for (std::size_t i = 0; i < n; ++i) {
    const TPilaVista& p = pilas[i];
    if (p.Llena != 3) return false;
    std::uint64_t debajo = 0;
    for (std::size_t j = 0; j < p.Cuenta; ++j) {
      const std::size_t id = p.Cartas[j] & 0x3F;
      if (a.Clase >> id & 1) {
        bajo[id] = debajo;
        if (debajo & a.Antes[id]) deben |= Bit(id);
        if (j <= 1 && !(debajo & a.Clase)) asientos |= Bit(id);
      }
      debajo |= Bit(id);
    }
  }
  if (!deben) return false;
  for (std::uint64_t b = deben; b; b &= b - 1) {
    const auto x = static_cast<std::size_t>(__builtin_ctzll(b));
    // The cards that must have left by the time x goes home, and the seats left for them.
    std::uint64_t idas = Bit(x);
    for (std::uint64_t z = deben; z; z &= z - 1) {
      const auto id = static_cast<std::size_t>(__builtin_ctzll(z));
      if (bajo[id] & a.Antes[x]) idas |= Bit(id);
    }
    std::uint64_t libres = asientos & ~idas;
    for (std::uint64_t y = libres; y; y &= y - 1) {
      const auto id = static_cast<std::size_t>(__builtin_ctzll(y));
      if (bajo[id] & a.Antes[x]) libres &= ~Bit(id);
    }
    if (__builtin_popcountll(idas) <= __builtin_popcountll(libres)) return false;
  }
  return true;
}
