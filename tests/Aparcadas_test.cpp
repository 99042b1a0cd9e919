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

// The rule's reading of the table as the search hands it over; `fuerte`, every card laid
// and the piles' room counted too.
bool SinSitio(TMesa& m, bool fuerte, std::uint64_t* estados = nullptr, TCadenaSitio* cadena = nullptr) {
  const TSinSalida s = PrepararSinSalida(m, LeerReglas(m), nullptr);
  EXPECT_TRUE(s.Posible);
  std::uint64_t enCasa = 0;
  std::vector<std::vector<std::uint8_t>> cartas = PilasYCasa(m, enCasa);
  std::vector<TPilaVista> vistas;
  for (const auto& c : cartas)
    vistas.push_back(TPilaVista{c.data(), static_cast<std::uint8_t>(c.size()), 3});
  return FaltaSitio(s, vistas.data(), vistas.size(), enCasa, fuerte, ~std::uint64_t{0}, estados, cadena);
}

// The same reading done plainly: every set H reachable through sets with room, breadth
// first, each with a matching found afresh (one augmenting path per card, recursive).
bool SinSitioALaLlana(TMesa& m, bool fuerte) {
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
    // Every card not home off the bottom lies on one card: one that takes it among the
    // places, or, where it need not have moved, the card under it.
    std::vector<std::pair<std::uint8_t, int>> arriba;  // card, the card under it or -1
    for (const auto& p : pilas)
      for (std::size_t j = 1; j < p.size(); ++j) {
        if (enCasa(k, p[j])) continue;
        const bool movida = std::count(movidas.begin(), movidas.end(), p[j]) > 0;
        if (movida || fuerte) arriba.emplace_back(p[j], movida ? -1 : p[j - 1]);
      }
    std::vector<int> ocupa(40, -1);
    std::function<bool(std::size_t, std::vector<bool>&)> aumentar =
        [&](std::size_t i, std::vector<bool>& visto) {
          const auto [x, bajo] = arriba[i];
          for (int z = 0; z < 40; ++z) {
            const bool lugar = std::count(lugares.begin(), lugares.end(), z) > 0 &&
                               z != x && (s.Toman[x] >> z & 1);
            if (!(lugar || z == bajo) || visto[static_cast<std::size_t>(z)]) continue;
            visto[static_cast<std::size_t>(z)] = true;
            const int otra = ocupa[static_cast<std::size_t>(z)];
            if (otra < 0 || aumentar(static_cast<std::size_t>(otra), visto)) {
              ocupa[static_cast<std::size_t>(z)] = static_cast<int>(i);
              return true;
            }
          }
          return false;
        };
    for (std::size_t i = 0; i < arriba.size(); ++i) {
      std::vector<bool> visto(40, false);
      if (!aumentar(i, visto)) return false;
    }
    if (!fuerte) return true;
    // And each lies in the pile of a bottom card not home, two at most on each: its own
    // where it need not have moved, else one it could lie on or on a card lying on it.
    auto toma = [&](std::uint8_t abajo, std::uint8_t encima) { return (s.Toman[encima] >> abajo & 1) != 0; };
    std::vector<std::vector<std::size_t>> raices(arriba.size());
    for (std::size_t i = 0; i < arriba.size(); ++i) {
      const std::uint8_t x = arriba[i].first;
      for (const auto& q : pilas) {
        if (enCasa(k, q[0])) continue;
        bool cabe = toma(q[0], x);
        for (const auto& r : pilas)
          for (const std::uint8_t y : r)
            cabe |= y != q[0] && y != x && (toma(q[0], y) || (q.size() > 1 && q[1] == y)) && toma(y, x);
        const bool suya = arriba[i].second >= 0 && std::count(q.begin(), q.end(), x) > 0;
        if (cabe || suya) raices[i].push_back(q[0]);
      }
    }
    std::vector<std::vector<std::size_t>> en(40);
    std::function<bool(std::size_t, std::vector<bool>&)> arraigar = [&](std::size_t i, std::vector<bool>& visto) {
      for (const std::size_t r : raices[i]) {
        if (visto[r]) continue;
        visto[r] = true;
        if (en[r].size() < 2) {
          en[r].push_back(i);
          return true;
        }
        for (std::size_t& otra : en[r])
          if (arraigar(otra, visto)) {
            otra = i;
            return true;
          }
      }
      return false;
    };
    for (std::size_t i = 0; i < arriba.size(); ++i) {
      std::vector<bool> visto(40, false);
      if (!arraigar(i, visto)) return false;
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
  int Vistas = 0;   // lost by the reading that lays only the cards that must have moved
  int Fuertes = 0;  // lost by the one that lays every card and counts the piles' room
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
    const bool gana = GanableCartaACarta(preparar, numero);
    for (const bool fuerte : {false, true}) {
      const bool sinSitio = SinSitio(m, fuerte);
      EXPECT_EQ(SinSitio(m, fuerte, nullptr, &cadena), sinSitio) << "número " << numero;
      EXPECT_EQ(SinSitioALaLlana(m, fuerte), sinSitio) << "número " << numero;
      if (sinSitio) {
        EXPECT_FALSE(gana) << "número " << numero;
      }
      (fuerte ? c.Fuertes : c.Vistas) += sinSitio;
    }
    c.Perdidas += !gana;
    c.Ganables += gana;
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
    // Laying every card and counting the piles' room finds more, still not all.
    EXPECT_GT(c.Fuertes, c.Vistas);
    EXPECT_LT(c.Fuertes, c.Perdidas);
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
    if (SinSitio(m, true, &primera, &cadena)) continue;
    ASSERT_TRUE(cadena.Hay) << "número " << numero;
    std::uint64_t segunda = 0;
    EXPECT_FALSE(SinSitio(m, true, &segunda, &cadena));
    std::uint64_t fuera = 0;
    for (const std::uint8_t p : cadena.Puesto) fuera += p != 0;
    EXPECT_EQ(segunda, fuera) << "número " << numero;
    ++releidas;
    conVueltas += primera > segunda;
  }
  EXPECT_GE(releidas, 40);
  EXPECT_GE(conVueltas, 1);
}
