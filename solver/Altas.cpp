#include "solver/Altas.h"

#include <algorithm>
#include <unordered_set>

#include "solver/Sonda.h"

namespace {

std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

std::uint64_t DelNumero(std::size_t id) {
  std::uint64_t r = 0;
  for (std::size_t palo = 0; palo < 4; ++palo) r |= Bit(palo * 10 + id % 10);
  return r;
}

constexpr std::size_t kPilas = 16;  // piles off the foundations read at most

// A position of the high cards' game: each pile's cards bottom first (IdCarta + 1, 0 past
// its count) and the cards home per suit. The piles kept sorted: they are interchangeable.
struct TPos {
  std::array<std::array<std::uint8_t, 3>, kPilas> P{};
  std::array<std::uint8_t, 4> K{};
  bool operator==(const TPos&) const = default;
};

struct THash {
  std::size_t operator()(const TPos& p) const {
    std::uint64_t h = 1469598103934665603ULL;
    for (const auto& q : p.P)
      for (const std::uint8_t c : q) h = (h ^ c) * 1099511628211ULL;
    for (const std::uint8_t k : p.K) h = (h ^ k) * 1099511628211ULL;
    return static_cast<std::size_t>(h);
  }
};

std::size_t Cuenta(const std::array<std::uint8_t, 3>& q) {
  return q[0] == 0 ? 0 : q[1] == 0 ? 1 : q[2] == 0 ? 2 : 3;
}

// The low cards on top leave; every card off the table whose turn it is goes home.
void Asentar(TPos& p, std::size_t hasta) {
  std::uint64_t enPilas = 0;
  for (auto& q : p.P) {
    std::size_t n = Cuenta(q);
    while (n > 0 && static_cast<std::size_t>(q[n - 1] - 1) % 10 <= hasta) q[--n] = 0;
    for (std::size_t j = 0; j < n; ++j) enPilas |= Bit(q[j] - 1u);
  }
  for (std::size_t palo = 0; palo < 4; ++palo)
    while (p.K[palo] < 10 && !(enPilas >> (palo * 10 + p.K[palo]) & 1)) ++p.K[palo];
  std::sort(p.P.begin(), p.P.end(), std::greater<>());
}

}  // namespace

TAltas LeerAltas(TMesa& m, const TReglasComoDatos& reglas, const TSinSalida& s) {
  TAltas a;
  if (!s.Posible) return a;
  const TOrdenEnCasa orden = LeerOrdenEnCasa(m, reglas);
  if (!orden.TodasCaben) return a;
  for (std::size_t id = 0; id < 40; ++id)
    if (orden.Antes[id] != ((Bit(id) - 1) & ~(Bit(id - id % 10) - 1))) return a;
  std::uint64_t pareja = 0;
  for (std::size_t id = 0; id < 40; ++id)
    if (s.Toman[id] && (s.Toman[id] & ~DelNumero(id)) == 0) pareja |= Bit(id);
  TSonda sonda(m);
  for (TGrupo* g : m.Grupos) {
    if (g->EsFundacion) continue;
    if (g->Capacidad > 3) return a;
    // Two cards of one rank that only their rank takes, and a third asked of them.
    sonda.Destino.Grupo = g;
    for (std::uint64_t b = pareja; b; b &= b - 1)
      for (std::uint64_t t = pareja & ~(b & -b); t; t &= t - 1)
        for (std::uint64_t c = pareja & ~(b & -b) & ~(t & -t); c; c &= c - 1) {
          TCarta* carta = sonda.Cartas[static_cast<std::size_t>(__builtin_ctzll(c))].get();
          for (TGrupo* o : m.Grupos) {
            TSonda::Poner(sonda.Destino,
                          {sonda.Cartas[static_cast<std::size_t>(__builtin_ctzll(b))].get(),
                           sonda.Cartas[static_cast<std::size_t>(__builtin_ctzll(t))].get()});
            sonda.Origen.Grupo = o;
            TSonda::Poner(sonda.Origen, {carta});
            if (m.PuedeApilar(*carta, sonda.Destino)) pareja &= ~DelNumero(IdCarta(*carta));
          }
        }
  }
  a.Posible = true;
  a.Toman = s.Toman;
  a.Pareja = pareja;
  return a;
}

bool AltasSinSalida(const TAltas& a, const std::vector<std::vector<std::uint8_t>>& pilas,
                    std::uint64_t enCasa, std::size_t hasta, std::size_t limite,
                    std::size_t& vistas) {
  if (!a.Posible || pilas.size() > kPilas || hasta >= 9) return false;
  // What takes a high card must be high too.
  for (std::size_t id = 0; id < 40; ++id)
    for (std::uint64_t t = a.Toman[id]; id % 10 > hasta && t; t &= t - 1)
      if (static_cast<std::size_t>(__builtin_ctzll(t)) % 10 <= hasta) return false;
  TPos raiz;
  for (std::size_t i = 0; i < pilas.size(); ++i) {
    if (pilas[i].size() > 3) return false;
    for (std::size_t j = 0; j < pilas[i].size(); ++j)
      raiz.P[i][j] = static_cast<std::uint8_t>((pilas[i][j] & 0x3F) + 1);
  }
  for (std::size_t palo = 0; palo < 4; ++palo)
    while (raiz.K[palo] < 10 && (enCasa >> (palo * 10 + raiz.K[palo]) & 1)) ++raiz.K[palo];
  Asentar(raiz, hasta);
  std::unordered_set<TPos, THash> vistos{raiz};
  std::vector<TPos> porVer{raiz};
  auto ver = [&](TPos p) {
    Asentar(p, hasta);
    if (vistos.insert(p).second) porVer.push_back(p);
  };
  while (!porVer.empty()) {
    const TPos p = porVer.back();
    porVer.pop_back();
    ++vistas;
    if (vistos.size() > limite) return false;
    if (p.K == std::array<std::uint8_t, 4>{10, 10, 10, 10}) return false;
    for (std::size_t i = 0; i < kPilas; ++i) {
      const std::size_t n = Cuenta(p.P[i]);
      if (n == 0) continue;
      const std::size_t x = p.P[i][n - 1] - 1u;
      if (p.K[x / 10] == x % 10) {
        TPos h = p;
        h.P[i][n - 1] = 0;
        ++h.K[x / 10];
        ver(h);
      }
      for (std::size_t d = 0; d < kPilas; ++d) {
        const std::size_t m = Cuenta(p.P[d]);
        if (d == i || m == 0 || m == 3 || !(a.Toman[x] >> (p.P[d][m - 1] - 1u) & 1)) continue;
        if ((a.Pareja >> x & 1) && m == 2 && (a.Pareja >> (p.P[d][0] - 1u) & 1) &&
            (a.Pareja >> (p.P[d][1] - 1u) & 1))
          continue;
        TPos h = p;
        h.P[i][n - 1] = 0;
        h.P[d][m] = static_cast<std::uint8_t>(x + 1);
        ver(h);
      }
    }
  }
  return true;
}
