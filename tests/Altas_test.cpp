// The high cards' game alone, on small tables of piles of three: a table it calls lost is
// lost for a plain exhaustive search of every reachable position.
#include "solver/Altas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <set>
#include <vector>

#include "engine/Mesa.h"
#include "games/Registro.h"
#include "tests/MesasConstruidas.h"
#include "tools/Pasos.h"

namespace {


void PrepararAltas(TMesa& m, std::int32_t n) { kPilasAltas.Preparar(m, n); }

// Tables lost, and those called lost by the game above the Tres and above the Siete.
struct TCuenta {
  int Perdidas = 0;
  int SobreTres = 0;
  int SobreSiete = 0;
};

TCuenta Comprobar(TPrepararJuego preparar, std::int32_t cuantas) {
  TCuenta c;
  for (std::int32_t numero = 1; numero <= cuantas; ++numero) {
    TMesa m;
    preparar(m, numero);
    const TAltas a = LeerAltasDe(m);
    EXPECT_TRUE(a.Posible);
    std::uint64_t enCasa = 0;
    const auto pilas = PilasYCasa(m, enCasa);
    const bool gana = GanableCartaACarta(preparar, numero);
    // A lower bound frees fewer cards, so where a higher one is lost it is too.
    bool antes = false;
    for (std::size_t hasta = 8; hasta >= 2; --hasta) {
      std::size_t vistas = 0;
      const bool sin = AltasSinSalida(a, pilas, enCasa, hasta, 1000000, vistas);
      if (sin) {
        EXPECT_FALSE(gana) << "número " << numero << ", hasta " << hasta;
      }
      EXPECT_TRUE(sin || !antes) << "número " << numero << ", hasta " << hasta;
      antes = sin;
      if (hasta == 6) c.SobreSiete += sin;
      if (hasta == 2) c.SobreTres += sin;
    }
    c.Perdidas += !gana;
  }
  return c;
}

// The high cards' game walked plainly: each position its piles sorted, settled whole after
// every move, kept in a set. The positions it reaches and whether one has every card home.
struct TRecorrido {
  std::size_t Posiciones = 0;
  bool Gana = false;
};

TRecorrido RecorrerLlano(const TAltas& a, const std::vector<std::vector<std::uint8_t>>& pilas,
                         std::uint64_t enCasa, std::size_t hasta) {
  using TPos = std::pair<std::vector<std::vector<std::uint8_t>>, std::array<std::uint8_t, 4>>;
  const auto asentar = [hasta](TPos& p) {
    std::uint64_t enPilas = 0;
    for (auto& q : p.first) {
      while (!q.empty() && q.back() % 10 <= hasta) q.pop_back();
      for (const std::uint8_t c : q) enPilas |= std::uint64_t{1} << c;
    }
    for (std::size_t palo = 0; palo < 4; ++palo)
      while (p.second[palo] < 10 && !(enPilas >> (palo * 10 + p.second[palo]) & 1)) ++p.second[palo];
    std::sort(p.first.begin(), p.first.end());
  };
  TPos raiz;
  for (const auto& q : pilas) {
    raiz.first.emplace_back();
    for (const std::uint8_t c : q) raiz.first.back().push_back(c & 0x3F);
  }
  raiz.second = {};
  for (std::size_t palo = 0; palo < 4; ++palo)
    while (raiz.second[palo] < 10 && (enCasa >> (palo * 10 + raiz.second[palo]) & 1)) ++raiz.second[palo];
  asentar(raiz);
  std::set<TPos> vistas{raiz};
  std::vector<TPos> porVer{raiz};
  TRecorrido r;
  const auto ver = [&](TPos h) {
    asentar(h);
    if (vistas.insert(h).second) porVer.push_back(h);
  };
  while (!porVer.empty()) {
    const TPos p = porVer.back();
    porVer.pop_back();
    if (p.second == std::array<std::uint8_t, 4>{10, 10, 10, 10}) r.Gana = true;
    for (std::size_t i = 0; i < p.first.size(); ++i) {
      if (p.first[i].empty()) continue;
      const std::uint8_t x = p.first[i].back();
      for (std::size_t d = 0; d < p.first.size(); ++d) {
        const auto& q = p.first[d];
        if (d == i || q.empty() || q.size() == 3 || !(a.Toman[x] >> q.back() & 1)) continue;
        if ((a.Pareja >> x & 1) && q.size() == 2 && (a.Pareja >> q[0] & 1) && (a.Pareja >> q[1] & 1))
          continue;
        TPos h = p;
        h.first[i].pop_back();
        h.first[d].push_back(x);
        ver(h);
      }
      if (p.second[x / 10] == x % 10) {
        TPos h = p;
        h.first[i].pop_back();
        ++h.second[x / 10];
        ver(h);
      }
    }
  }
  r.Posiciones = vistas.size();
  return r;
}

}  // namespace

// The game's positions told apart by their keys, each child's worked out from its parent's:
// walked to the end, it looks at every position a plain walk reaches, once, and wins where
// that walk wins.
TEST(Altas, CadaPosicionUnaVezComoElRecorridoLlano) {
  int perdidas = 0;
  int ganadas = 0;
  for (const auto preparar : {PrepararPilasDeTres, PrepararApretadas, PrepararAltasConReyes}) {
    for (std::int32_t numero = 1; numero <= 40; ++numero) {
      TMesa m;
      preparar(m, numero);
      const TAltas a = LeerAltasDe(m);
      ASSERT_TRUE(a.Posible);
      std::uint64_t enCasa = 0;
      const auto pilas = PilasYCasa(m, enCasa);
      for (std::size_t hasta = 2; hasta <= 8; hasta += 2) {
        TJuegoDeAltas juego(a, pilas, enCasa, hasta);
        const TJuegoDeAltas::TFin fin = juego.Seguir(1000000);
        const TRecorrido llano = RecorrerLlano(a, pilas, enCasa, hasta);
        ASSERT_NE(fin, TJuegoDeAltas::TFin::Sigue);
        EXPECT_EQ(fin == TJuegoDeAltas::TFin::Ganable, llano.Gana) << numero << ", hasta " << hasta;
        if (fin == TJuegoDeAltas::TFin::SinSalida) {
          EXPECT_EQ(juego.Vistas(), llano.Posiciones) << numero << ", hasta " << hasta;
          ++perdidas;
        } else {
          ++ganadas;
        }
      }
    }
  }
  EXPECT_GT(perdidas, 20);
  EXPECT_GT(ganadas, 20);
}

// On tables built at random, many of them lost, no bound calls a won one lost; with few
// cards below the Tres nearly every lost one is found, and above the Siete some, not all
// (the lower cards are given free room).
TEST(Altas, NuncaLlamaPerdidaUnaPosicionGanable) {
  for (const auto preparar : {PrepararPilasDeTres, PrepararApretadas, PrepararAltas}) {
    const TCuenta c = Comprobar(preparar, 200);
    EXPECT_GE(c.SobreTres, c.Perdidas / 2);
    EXPECT_GE(c.SobreSiete, 1);
    EXPECT_LT(c.SobreSiete, c.Perdidas);
  }
}

// Where a lone Rey also goes on a lone Rey, the Reyes that take only one another are read
// from the table's function, a pile with two of them taking none; the tables it calls lost
// are still lost.
TEST(Altas, ReyesQueSoloTomanReyes) {
  TMesa m;
  PrepararAltasConReyes(m, 1);
  const TAltas a = LeerAltasDe(m);
  ASSERT_TRUE(a.Posible);
  for (std::size_t id = 0; id < 40; ++id)
    EXPECT_EQ(a.Pareja >> id & 1, id % 10 == 9 ? 1u : 0u) << id;
  const TCuenta c = Comprobar(PrepararAltasConReyes, 200);
  EXPECT_GE(c.SobreTres, c.Perdidas / 2);
  EXPECT_LT(c.SobreSiete, c.Perdidas);
}

// Without a Rey on a Rey, a Rey takes nothing and nothing is read as a pair.
TEST(Altas, SinReyEnReyNoHayPareja) {
  TMesa m;
  PrepararAltas(m, 1);
  EXPECT_EQ(LeerAltasDe(m).Pareja, 0u);
}

// A deal of the real game whose high cards alone are lost: the Reyes' pair rule is what
// closes it (with any Rey on any Rey the high cards' game above the Siete is won).
TEST(Altas, UnRepartoPerdidoPorSusReyes) {
  const TJuegoRegistrado& juego = *BuscarRegistro("SolitarioDeLosCasi14Montones");
  TMesa m;
  juego.Preparar(m, 198);
  TAltas a = LeerAltasDe(m);
  ASSERT_TRUE(a.Posible);
  std::uint64_t enCasa = 0;
  const auto pilas = PilasYCasa(m, enCasa);
  std::size_t vistas = 0;
  EXPECT_TRUE(AltasSinSalida(a, pilas, enCasa, 6, 100000, vistas));
  a.Pareja = 0;
  EXPECT_FALSE(AltasSinSalida(a, pilas, enCasa, 6, 100000, vistas));
}

// Read a stretch at a time, the game walks the same positions as in one go and settles the
// same way: the lost one above the Cinco of Casi 14's 229, a won one above the Siete.
TEST(Altas, PorTramosComoDeUnaVez) {
  const TJuegoRegistrado& juego = *BuscarRegistro("SolitarioDeLosCasi14Montones");
  TMesa m;
  juego.Preparar(m, 229);
  const TAltas a = LeerAltasDe(m);
  ASSERT_TRUE(a.Posible);
  std::uint64_t enCasa = 0;
  const auto pilas = PilasYCasa(m, enCasa);
  for (const auto& [hasta, fin] : {std::pair{std::size_t{4}, TJuegoDeAltas::TFin::SinSalida},
                                   std::pair{std::size_t{6}, TJuegoDeAltas::TFin::Ganable}}) {
    TJuegoDeAltas entero(a, pilas, enCasa, hasta);
    EXPECT_EQ(entero.Seguir(1000000), fin) << hasta;
    TJuegoDeAltas porTramos(a, pilas, enCasa, hasta);
    std::size_t limite = 0;
    TJuegoDeAltas::TFin f = TJuegoDeAltas::TFin::Sigue;
    while (f == TJuegoDeAltas::TFin::Sigue) f = porTramos.Seguir(limite += 997);
    EXPECT_EQ(f, fin) << hasta;
    EXPECT_EQ(porTramos.Vistas(), entero.Vistas()) << hasta;
    // Settled, it stays so.
    EXPECT_EQ(porTramos.Seguir(limite + 997), fin) << hasta;
  }
}

namespace {

// What the readings of one deal's positions found, as the search reads them.
struct TLecturas {
  int Leidas = 0;
  int Perdidas = 0;
  int Nuevas = 0;  // lost where the position before was not
};

// Along two random lines of up to twelve moves from each table, the game read at every
// position by one reader per bound, its answers kept from position to position as in a
// search, against a game walked afresh from that position alone: the same answer each
// time, and where it is lost no line of the real game wins. A reader that gives up after
// a few positions calls no position lost that the fresh game wins.
TLecturas LeerAlPaso(TPrepararJuego preparar, std::int32_t cuantas, std::uint32_t semilla) {
  TLecturas c;
  std::mt19937 azar(semilla);
  constexpr std::array<std::size_t, 3> kCotas{2, 4, 6};
  for (std::int32_t numero = 1; numero <= cuantas; ++numero) {
    TMesa inicial;
    preparar(inicial, numero);
    const TAltas a = LeerAltasDe(inicial);
    std::vector<std::unique_ptr<TAltasPorPosicion>> lectores, cortos;
    std::array<std::size_t, kCotas.size()> perdidasCortas{};
    for (const std::size_t hasta : kCotas) {
      lectores.push_back(std::make_unique<TAltasPorPosicion>(a, hasta, 1000000));
      cortos.push_back(std::make_unique<TAltasPorPosicion>(a, hasta, 5));
      EXPECT_TRUE(lectores.back()->Posible());
      if (!lectores.back()->Posible()) return c;
    }
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
      TMesa m;
      preparar(m, numero);
      std::vector<TPaso> linea;
      bool antes = false;
      for (int paso = 0; paso < 12 && !m.VentanaPropia.Ganado; ++paso) {
        std::uint64_t enCasa = 0;
        const auto pilas = PilasYCasa(m, enCasa);
        std::vector<TPilaVista> v;
        for (const auto& q : pilas) v.push_back({q.data(), static_cast<std::uint8_t>(q.size()), 3});
        bool ahora = false;
        for (std::size_t k = 0; k < kCotas.size(); ++k) {
          std::size_t vistas = 0;
          const bool fresco = AltasSinSalida(a, pilas, enCasa, kCotas[k], 1000000, vistas);
          const std::size_t vistasAntes = lectores[k]->Vistas();
          const std::size_t enBaldeAntes = lectores[k]->VistasEnBalde();
          const std::size_t perdidasAntes = lectores[k]->Perdidas();
          const bool sabido = lectores[k]->SinSalida(v.data(), v.size(), enCasa);
          // A game that found a win proved nothing: its positions count as spent in vain.
          EXPECT_EQ(lectores[k]->VistasEnBalde() - enBaldeAntes,
                    sabido ? 0 : lectores[k]->Vistas() - vistasAntes);
          EXPECT_EQ(lectores[k]->Perdidas() - perdidasAntes, sabido ? 1u : 0u);
          EXPECT_EQ(sabido, fresco) << "número " << numero << " tras " << linea.size()
                                    << " pasos, hasta " << kCotas[k];
          // Asked again without a game, the position is found under the key its own game
          // kept it by: the reading's key is the game's.
          EXPECT_EQ(lectores[k]->SinSalida(v.data(), v.size(), enCasa, false), sabido)
              << "número " << numero << " tras " << linea.size() << " pasos, hasta "
              << kCotas[k];
          if (cortos[k]->SinSalida(v.data(), v.size(), enCasa)) {
            EXPECT_TRUE(fresco) << "número " << numero << ", hasta " << kCotas[k];
            ++perdidasCortas[k];
          }
          ahora = ahora || sabido;
        }
        ++c.Leidas;
        if (ahora) {
          ++c.Perdidas;
          c.Nuevas += paso > 0 && !antes;
          EXPECT_FALSE(GanableCartaACarta(preparar, numero, linea))
              << "número " << numero << " tras " << linea.size() << " pasos";
        }
        antes = ahora;
        const std::vector<TPaso> pasos = ArrastresDeUnaCarta(m);
        if (pasos.empty()) break;
        linea.push_back(pasos[azar() % pasos.size()]);
        EXPECT_TRUE(AplicarPaso(m, linea.back()));
      }
    }
    // What the search's schedule reads of a reader: the answers that cut, and the games'
    // positions that proved nothing, among all they looked at.
    for (std::size_t k = 0; k < kCotas.size(); ++k) {
      EXPECT_EQ(cortos[k]->Perdidas(), perdidasCortas[k]) << "número " << numero;
      EXPECT_LE(cortos[k]->VistasEnBalde(), cortos[k]->Vistas());
    }
  }
  return c;
}

}  // namespace

// The game read at the positions of random lines, each reader keeping what it found: it
// answers as a game walked afresh would, and finds lost positions, some only after a move
// made them so (a table whose game from the deal is won).
TEST(Altas, LeidoEnCadaPosicionComoDeNuevo) {
  int nuevas = 0;
  for (const auto& [preparar, semilla] :
       {std::pair{&PrepararPilasDeTres, 21u}, std::pair{&PrepararApretadas, 22u},
        std::pair{&PrepararAltasConReyes, 23u}}) {
    const TLecturas c = LeerAlPaso(preparar, 60, semilla);
    EXPECT_GE(c.Perdidas, 1);
    EXPECT_LT(c.Perdidas, c.Leidas);
    nuevas += c.Nuevas;
  }
  EXPECT_GE(nuevas, 3);
}
