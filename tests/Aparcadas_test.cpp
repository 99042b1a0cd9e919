// Positions lost for want of room over time, on small tables of piles of three: checked
// against a plain exhaustive search of every reachable position.
#include "solver/Aparcadas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <set>
#include <vector>

#include "games/Registro.h"
#include "solver/Solucionador.h"
#include "tests/MesasConstruidas.h"

namespace {

// Eight to eleven cards off the foundations, about half of them of one suit, on as many
// piles as they need or up to two more; empty piles take nothing.
constexpr TPilasDeTres kPilasDeTres{"Pilas De Tres", 1u, 8, true, 3, false};
// Tighter: more cards, no piles beyond those they need.
constexpr TPilasDeTres kApretadas{"Pilas Apretadas", 7u, 11, false, 1, false};

void PrepararPilasDeTres(TMesa& m, std::int32_t numero) { kPilasDeTres.Preparar(m, numero); }
void PrepararApretadas(TMesa& m, std::int32_t numero) { kApretadas.Preparar(m, numero); }

// The rule's reading of the table as the search hands it over.
bool SinSitio(TMesa& m, std::uint64_t* estados = nullptr, TCadenaSitio* cadena = nullptr) {
  const TSinSalida s = PrepararSinSalida(m, LeerReglas(m), nullptr);
  EXPECT_TRUE(s.Posible);
  std::vector<std::vector<std::uint8_t>> cartas;
  std::uint64_t enCasa = 0;
  for (const auto& p : m.Pilas) {
    std::vector<std::uint8_t> ids = IdsDesdeAbajo(*p);
    if (p->Grupo->EsFundacion) {
      for (const std::uint8_t id : ids) enCasa |= std::uint64_t{1} << id;
    } else if (!ids.empty()) {
      cartas.push_back(std::move(ids));
    }
  }
  std::vector<TPilaVista> vistas;
  for (const auto& c : cartas)
    vistas.push_back(TPilaVista{c.data(), static_cast<std::uint8_t>(c.size()), 3});
  return FaltaSitio(s, vistas.data(), vistas.size(), enCasa, ~std::uint64_t{0}, estados, cadena);
}

// The same reading done plainly: every set H reachable through sets with room, breadth
// first, each with a matching found afresh (one augmenting path per card, recursive).
bool SinSitioALaLlana(TMesa& m) {
  const TSinSalida s = PrepararSinSalida(m, LeerReglas(m), nullptr);
  std::vector<std::vector<std::uint8_t>> pilas;
  std::array<int, 4> desde{};
  for (const auto& p : m.Pilas) {
    std::vector<std::uint8_t> ids = IdsDesdeAbajo(*p);
    if (p->Grupo->EsFundacion) {
      for (const std::uint8_t id : ids) ++desde[id / 10];
    } else if (!ids.empty()) {
      pilas.push_back(std::move(ids));
    }
  }
  auto enCasa = [](const std::array<int, 4>& k, std::uint8_t id) { return id % 10 < k[id / 10]; };
  auto hayLugar = [&](const std::array<int, 4>& k) {
    std::vector<std::uint8_t> movidas;
    std::vector<std::uint8_t> lugares;
    for (const auto& p : pilas) {
      bool bajo = false;
      for (std::size_t j = 0; j < p.size(); ++j) {
        if (enCasa(k, p[j])) {
          bajo = true;
        } else if (bajo) {
          movidas.push_back(p[j]);
        }
      }
    }
    for (const auto& p : pilas) {
      for (std::size_t j = 0; j < p.size(); ++j) {
        if (enCasa(k, p[j])) continue;
        const bool movida = std::count(movidas.begin(), movidas.end(), p[j]) > 0;
        bool sobreFondo = false;
        for (const auto& q : pilas)
          sobreFondo |= !enCasa(k, q[0]) && (s.Toman[p[j]] >> q[0] & 1);
        if ((!movida && j + 2 <= 3) || sobreFondo) lugares.push_back(p[j]);
      }
    }
    std::vector<int> ocupa(40, -1);
    std::function<bool(std::uint8_t, std::vector<bool>&)> aumentar =
        [&](std::uint8_t x, std::vector<bool>& visto) {
          for (const std::uint8_t z : lugares) {
            if (z == x || !(s.Toman[x] >> z & 1) || visto[z]) continue;
            visto[z] = true;
            if (ocupa[z] < 0 || aumentar(static_cast<std::uint8_t>(ocupa[z]), visto)) {
              ocupa[z] = x;
              return true;
            }
          }
          return false;
        };
    for (const std::uint8_t x : movidas) {
      std::vector<bool> visto(40, false);
      if (!aumentar(x, visto)) return false;
    }
    return true;
  };
  std::set<std::array<int, 4>> vistos{desde};
  std::deque<std::array<int, 4>> cola{desde};
  while (!cola.empty()) {
    const auto k = cola.front();
    cola.pop_front();
    if (k == std::array<int, 4>{10, 10, 10, 10}) return false;
    for (int palo = 0; palo < 4; ++palo) {
      if (k[palo] == 10) continue;
      auto otro = k;
      ++otro[palo];
      if (vistos.insert(otro).second && hayLugar(otro)) cola.push_back(otro);
    }
  }
  return true;
}

struct TCuenta {
  int Perdidas = 0;
  int Vistas = 0;
  int Ganables = 0;
};

// The chain kept from one table to the next only orders the walk: with it, from tables
// unlike the one that left it, the rule reads each table the same. The matching carried
// along the walk finds what a matching found afresh for each set finds.
TCuenta Comprobar(TPrepararJuego preparar, std::int32_t cuantas) {
  TCuenta c;
  TCadenaSitio cadena;
  for (std::int32_t numero = 1; numero <= cuantas; ++numero) {
    TMesa m;
    preparar(m, numero);
    const bool sinSitio = SinSitio(m);
    EXPECT_EQ(SinSitio(m, nullptr, &cadena), sinSitio) << "número " << numero;
    EXPECT_EQ(SinSitioALaLlana(m), sinSitio) << "número " << numero;
    const bool gana = GanableCartaACarta(preparar, numero);
    if (sinSitio) {
      EXPECT_FALSE(gana) << "número " << numero;
    }
    c.Perdidas += !gana;
    c.Ganables += gana;
    c.Vistas += sinSitio;
  }
  return c;
}

}  // namespace

// On positions built at random, many of them lost and some only just, the rule calls none
// lost that a line wins, and finds some of the lost ones, not all (it reads no order
// within a pile beyond the cards that must leave it).
TEST(Aparcadas, NuncaLlamaPerdidaUnaPosicionGanable) {
  for (const auto preparar : {PrepararPilasDeTres, PrepararApretadas}) {
    const TCuenta c = Comprobar(preparar, 400);
    EXPECT_GE(c.Ganables, 40);
    EXPECT_GE(c.Vistas, 20);
    EXPECT_LT(c.Vistas, c.Perdidas);
  }
}

// A table with room, read again with the chain its first reading found, walks straight
// down that chain: one set per card not home, where the first reading backed up.
TEST(Aparcadas, LaCadenaHalladaSeRecorreSinVolverAtras) {
  int releidas = 0;
  int conVueltas = 0;
  for (std::int32_t numero = 1; numero <= 400; ++numero) {
    TMesa m;
    PrepararApretadas(m, numero);
    TCadenaSitio cadena;
    std::uint64_t primera = 0;
    if (SinSitio(m, &primera, &cadena)) continue;
    ASSERT_TRUE(cadena.Hay) << "número " << numero;
    std::uint64_t segunda = 0;
    EXPECT_FALSE(SinSitio(m, &segunda, &cadena));
    std::uint64_t fuera = 0;
    for (const std::uint8_t p : cadena.Puesto) fuera += p != 0;
    EXPECT_EQ(segunda, fuera) << "número " << numero;
    ++releidas;
    conVueltas += primera > segunda;
  }
  EXPECT_GE(releidas, 40);
  EXPECT_GE(conVueltas, 1);
}
