// Moves on piles apart from the rest: on small tables of piles of three built at random
// (a card goes home in its suit's order or on a card one rank higher of any suit, on a
// pile of fewer than three; a pile's lone card only goes home; an empty pile takes
// nothing), every position reached is checked against the moves a set of piles apart
// claims: whatever moves that touch none of its piles are played from there, the moves
// that touch them stay exactly the same; and the search that plays only those moves wins
// exactly the tables the plain search wins.
#include "solver/Conmutan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <vector>

namespace {

constexpr std::size_t kFundaciones = 4;  // piles 0 to 3, one per suit; the rest are the table's

struct TPosicion {
  std::vector<std::vector<std::uint8_t>> Pilas;  // the table's piles, bottom first
  std::uint64_t EnCasa = 0;
  bool operator<(const TPosicion& o) const {
    return EnCasa != o.EnCasa ? EnCasa < o.EnCasa : Pilas < o.Pilas;
  }
};

struct TMov {
  std::uint8_t Carta;
  std::uint8_t Desde;  // table pile index, counting the foundations first
  std::uint8_t Hacia;
  bool operator<(const TMov& o) const {
    return std::tie(Carta, Desde, Hacia) < std::tie(o.Carta, o.Desde, o.Hacia);
  }
  bool operator==(const TMov& o) const = default;
};

bool PuedeIrACasa(std::uint8_t c, std::uint64_t enCasa) {
  return c % 10 == 0 || (enCasa >> (c - 1) & 1);
}

std::vector<TMov> Movimientos(const TPosicion& s) {
  std::vector<TMov> r;
  for (std::size_t p = 0; p < s.Pilas.size(); ++p) {
    const auto& de = s.Pilas[p];
    if (de.empty()) continue;
    const std::uint8_t c = de.back();
    const auto desde = static_cast<std::uint8_t>(p + kFundaciones);
    if (PuedeIrACasa(c, s.EnCasa)) r.push_back({c, desde, static_cast<std::uint8_t>(c / 10)});
    if (de.size() < 2) continue;
    for (std::size_t q = 0; q < s.Pilas.size(); ++q) {
      const auto& a = s.Pilas[q];
      if (q == p || a.empty() || a.size() >= 3 || a.back() % 10 != c % 10 + 1) continue;
      r.push_back({c, desde, static_cast<std::uint8_t>(q + kFundaciones)});
    }
  }
  return r;
}

TPosicion Jugar(TPosicion s, const TMov& m) {
  s.Pilas[m.Desde - kFundaciones].pop_back();
  if (m.Hacia < kFundaciones)
    s.EnCasa |= std::uint64_t{1} << m.Carta;
  else
    s.Pilas[m.Hacia - kFundaciones].push_back(m.Carta);
  return s;
}

TConmutan Reglas() {
  TSinSalida s;
  s.Posible = true;
  for (std::uint8_t c = 0; c < 40; ++c)
    for (std::uint8_t d = 0; d < 40; ++d)
      if (d % 10 == c % 10 + 1) s.Toman[c] |= std::uint64_t{1} << d;
  return PrepararConmutan(s, 3);
}

// The piles apart PilasAparte gives for the position, as bits by pile.
std::uint64_t Aparte(const TConmutan& c, const TPosicion& s, const std::vector<TMov>& movs) {
  std::vector<std::uint8_t> cuentas, cartas, fundacion;
  for (std::uint8_t palo = 0; palo < kFundaciones; ++palo) {
    std::uint8_t k = 0;
    for (auto id = static_cast<std::uint8_t>(palo * 10); id < palo * 10 + 10 && (s.EnCasa >> id & 1); ++id, ++k)
      cartas.push_back(static_cast<std::uint8_t>(id | 0x40));
    cuentas.push_back(k);
    fundacion.push_back(1);
  }
  for (const auto& p : s.Pilas) {
    cuentas.push_back(static_cast<std::uint8_t>(p.size()));
    for (std::uint8_t id : p) cartas.push_back(static_cast<std::uint8_t>(id | 0x40));
    fundacion.push_back(0);
  }
  std::vector<TParDePilas> pares;
  for (const TMov& m : movs) pares.push_back({m.Desde, m.Hacia});
  return PilasAparte(c, cuentas.data(), cartas.data(), fundacion.data(), cuentas.size(),
                     pares.data(), pares.size());
}

bool Toca(const TMov& m, std::uint64_t q) { return (q >> m.Desde & 1) || (q >> m.Hacia & 1); }

// Six piles of up to three cards: per suit, its lowest cards home and the next few dealt,
// as many cards as leave room for only a few moves.
TPosicion Repartir(std::uint32_t semilla) {
  std::mt19937 azar(semilla);
  TPosicion s;
  std::vector<std::uint8_t> mazo;
  for (std::uint8_t palo = 0; palo < 4; ++palo) {
    const auto casa = static_cast<std::uint8_t>(azar() % 5);
    for (std::uint8_t r = 0; r < casa; ++r) s.EnCasa |= std::uint64_t{1} << (palo * 10 + r);
    const auto cuantas = static_cast<std::uint8_t>(2 + azar() % 3);
    for (std::uint8_t r = casa; r < casa + cuantas; ++r)
      mazo.push_back(static_cast<std::uint8_t>(palo * 10 + r));
  }
  std::shuffle(mazo.begin(), mazo.end(), azar);
  mazo.resize(std::min<std::size_t>(mazo.size(), 13));
  // A card left out is nowhere: the cards above it in its suit never go home, and such a
  // table is lost unless none of them was dealt.
  s.Pilas.resize(6);
  std::size_t p = 0;
  for (std::uint8_t c : mazo) {
    while (s.Pilas[p % 6].size() >= 3) ++p;
    s.Pilas[p % 6].push_back(c);
    p += 1 + azar() % 2;
  }
  return s;
}

bool Ganada(const TPosicion& s) {
  return std::all_of(s.Pilas.begin(), s.Pilas.end(), [](const auto& p) { return p.empty(); });
}

// Every position the plain search reaches, or only those the moves of the piles apart
// reach; whether the table is won.
bool Buscar(const TConmutan& c, const TPosicion& inicio, bool aparte, std::size_t* vistas) {
  std::set<TPosicion> visto{inicio};
  std::vector<TPosicion> pendientes{inicio};
  bool gana = false;
  while (!pendientes.empty()) {
    const TPosicion s = pendientes.back();
    pendientes.pop_back();
    if (Ganada(s)) gana = true;
    const std::vector<TMov> movs = Movimientos(s);
    const std::uint64_t q = aparte ? Aparte(c, s, movs) : ~std::uint64_t{0};
    for (const TMov& m : movs)
      if (q >> m.Desde & 1) {
        TPosicion h = Jugar(s, m);
        if (visto.insert(h).second) pendientes.push_back(std::move(h));
      }
  }
  *vistas = visto.size();
  return gana;
}

}  // namespace

// From every position of every table, the moves that touch the piles apart are the same
// after any moves that touch none of them: none of those is made possible, none is made
// impossible, and the outside moves touch none of those piles.
TEST(Conmutan, LasJugadasApartadasNoCambianConLasDeFuera) {
  const TConmutan c = Reglas();
  std::size_t posiciones = 0, apartadas = 0, dejadas = 0;
  for (std::uint32_t semilla = 1; semilla <= 150; ++semilla) {
    const TPosicion inicio = Repartir(semilla);
    std::set<TPosicion> visto{inicio};
    std::vector<TPosicion> pendientes{inicio};
    while (!pendientes.empty()) {
      const TPosicion s = pendientes.back();
      pendientes.pop_back();
      ++posiciones;
      const std::vector<TMov> movs = Movimientos(s);
      for (const TMov& m : movs) {
        TPosicion h = Jugar(s, m);
        if (visto.insert(h).second) pendientes.push_back(std::move(h));
      }
      const std::uint64_t q = Aparte(c, s, movs);
      std::set<TMov> dentro;
      for (const TMov& m : movs)
        if (q >> m.Desde & 1) dentro.insert(m);
      if (dentro.size() == movs.size()) continue;
      ASSERT_FALSE(dentro.empty()) << "semilla " << semilla;
      ++apartadas;
      dejadas += movs.size() - dentro.size();
      // Every position the moves outside reach from here.
      std::set<TPosicion> fuera{s};
      std::vector<TPosicion> porVer{s};
      while (!porVer.empty()) {
        const TPosicion f = porVer.back();
        porVer.pop_back();
        std::set<TMov> tocan;
        for (const TMov& m : Movimientos(f)) {
          if (Toca(m, q)) {
            tocan.insert(m);
            continue;
          }
          TPosicion h = Jugar(f, m);
          if (fuera.insert(h).second) porVer.push_back(std::move(h));
        }
        ASSERT_EQ(tocan, dentro) << "semilla " << semilla;
      }
    }
  }
  // The rule must have something to say on these tables for the check to mean anything.
  EXPECT_GT(apartadas, posiciones / 20);
  EXPECT_GT(dejadas, apartadas);
}

// Playing only the moves of the piles apart wins the tables the plain search wins, loses
// the others, and on these tables reaches fewer positions.
TEST(Conmutan, SoloLasApartadasGananLoMismo) {
  const TConmutan c = Reglas();
  int ganadas = 0, perdidas = 0;
  std::size_t todas = 0, menos = 0;
  for (std::uint32_t semilla = 1; semilla <= 400; ++semilla) {
    const TPosicion inicio = Repartir(semilla);
    std::size_t a = 0, b = 0;
    const bool gana = Buscar(c, inicio, false, &a);
    EXPECT_EQ(Buscar(c, inicio, true, &b), gana) << "semilla " << semilla;
    EXPECT_LE(b, a) << "semilla " << semilla;
    ++(gana ? ganadas : perdidas);
    todas += a;
    menos += b;
  }
  EXPECT_GE(ganadas, 40);
  EXPECT_GE(perdidas, 40);
  EXPECT_LT(menos, todas);
}
